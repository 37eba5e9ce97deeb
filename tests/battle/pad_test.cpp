// Pads through the whole road: bindings from ".\ap.ini", keys and a joystick injected as window
// events, the frame's poll, and the samplers' mapping of setting indexes onto pad slots.
#include "pad.h"

#include "battle.h"
#include "robot.h"

#include "engine.h"
#include "input.h"
#include "test_folder.h"

#include "sys_info.h"
#include "sys_input.h"
#include "sys_lock.h"
#include "sys_window.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <string>

namespace {

void Quiet(const char*) {}
void QuietBox(const char*, const char*) {}

// Distinct keys per setting index, none of them the second pad's fixed keys.
constexpr int kBoundKeys[kPadSlots] = {16, 17, 18, 19, 20, 21, 22, 23, 24, 25, 30, 31};

class PadTest : public ::testing::Test {
protected:
    void SetUp() override {
        SysSetLockNamespace(("pad-test-" + std::to_string(getpid())).c_str());
        SysSetDebugOutputSink(Quiet);
        SysSetMessageBoxSink(QuietBox);
        const char* argv[] = {"zaumolta"};
        SetCommandLine(1, argv);
    }
    void TearDown() override {
        EnableJoysticks(0);
        g_engine.Free();
        SysSetMessageBoxSink(nullptr);
        SysSetDebugOutputSink(nullptr);
    }
    // Section KEY with the given keys; joystick entries 6 + i (button i), Joy8+ past the buttons.
    void WriteBindings(const int keys[kPadSlots], const int joys[kPadSlots]) {
        std::string ini = "[KEY]\r\n";
        for (int i = 0; i < kPadSlots; ++i) {
            ini += "Key" + std::to_string(i) + "=" + std::to_string(keys[i]) + "\r\n";
            ini += "Joy" + std::to_string(i) + "=" + std::to_string(joys[i]) + "\r\n";
        }
        WriteWholeFile(m_folder.File("ap.ini"), ini);
    }
    void Start() { ASSERT_EQ(g_engine.Init(), 1); }
    void Frame() {
        PumpMessages();
        UpdateInput();
    }
    CTestFolder m_folder;
};

constexpr int kNoJoy[kPadSlots] = {-1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1};

TEST_F(PadTest, EverySettingIndexLandsOnItsPadSlot) {
    WriteBindings(kBoundKeys, kNoJoy);
    Start();
    CPad pad;
    // Setting index -> pad slot, as the option menu's labels are laid onto the pad.
    const int expected[kPadSlots] = {0, 1, 3, 2, 5, 4, 6, 8, 7, 9, 10, 11};
    for (int i = 0; i < kPadSlots; ++i) {
        EXPECT_EQ(pad.m_keyCodes[i], kBoundKeys[i]);
        SysInjectKey(kBoundKeys[i], 1);
        Frame();
        pad.SampleConfigured();
        for (int s = 0; s < kPadSlots; ++s)
            EXPECT_EQ(pad.m_values[s], s == expected[i] ? kButtonPressed : kButtonUp) << "index " << i << " slot " << s;
        Frame();
        pad.SampleConfigured();
        EXPECT_EQ(pad.m_values[expected[i]], kButtonHeld) << i;
        SysInjectKey(kBoundKeys[i], 0);
        Frame();
        pad.SampleConfigured();
        EXPECT_EQ(pad.m_values[expected[i]], kButtonReleased) << i;
        Frame();
    }
}

TEST_F(PadTest, BindingsOutOfRangeReadAsUp) {
    int keys[kPadSlots];
    for (int i = 0; i < kPadSlots; ++i) keys[i] = kBoundKeys[i];
    keys[0] = 256 + 44;  // as a byte it would be key 44
    keys[1] = -1;
    int joys[kPadSlots];
    for (int i = 0; i < kPadSlots; ++i) joys[i] = 99;
    joys[2] = -5;
    WriteBindings(keys, joys);
    Start();
    int id = SysAttachVirtualJoystick();
    ASSERT_GE(id, 0);
    EnableJoysticks(1);
    Frame();
    CPad pad;
    EXPECT_EQ(pad.m_keyCodes[0], 0);
    EXPECT_EQ(pad.m_keyCodes[1], 0);
    SysInjectKey(44, 1);
    SysInjectKey(255, 1);
    int axes[3] = {-1000, -1000, -1000};
    unsigned char buttons[8] = {0x80, 0x80, 0x80, 0x80, 0x80, 0x80, 0x80, 0x80};
    SysSetVirtualJoystick(id, axes, buttons);
    Frame();
    pad.SampleConfigured();
    for (int s = 0; s < kPadSlots; ++s) EXPECT_EQ(pad.m_values[s], kButtonUp) << s;
    SysDetachVirtualJoystick(id);
    Frame();
}

TEST_F(PadTest, JoystickOverridesTheKeyOfItsSlotUnlessUp) {
    int joys[kPadSlots];
    for (int i = 0; i < kPadSlots; ++i) joys[i] = i < 8 ? 6 + i : -1;  // buttons 0..7 on indexes 0..7
    WriteBindings(kBoundKeys, joys);
    Start();
    int id = SysAttachVirtualJoystick();
    ASSERT_GE(id, 0);
    EnableJoysticks(1);
    Frame();
    CPad pad;
    int axes[3] = {};
    unsigned char down[8] = {0x80, 0, 0, 0, 0, 0, 0, 0};
    unsigned char none[8] = {};
    // Joystick button 0 (index 0, slot 0) down; key of index 2 (slot 3) down.
    SysSetVirtualJoystick(id, axes, down);
    SysInjectKey(kBoundKeys[2], 1);
    Frame();
    Frame();
    pad.SampleConfigured();
    EXPECT_EQ(pad.m_values[0], kButtonHeld);
    EXPECT_EQ(pad.m_values[3], kButtonHeld);
    // Key of index 0 held while the joystick button of the same slot is just released: released wins.
    SysInjectKey(kBoundKeys[0], 1);
    Frame();
    SysSetVirtualJoystick(id, axes, none);
    Frame();
    pad.SampleConfigured();
    EXPECT_EQ(GetKeyStatus(kBoundKeys[0]), kButtonHeld);
    EXPECT_EQ(pad.m_values[0], kButtonReleased);
    Frame();
    pad.SampleConfigured();
    EXPECT_EQ(pad.m_values[0], kButtonHeld);  // the joystick is up again: the key shows
    SysDetachVirtualJoystick(id);
    Frame();
}

TEST_F(PadTest, SecondPadReadsFixedKeysAndNeverHoldsReleased) {
    WriteBindings(kBoundKeys, kNoJoy);
    Start();
    struct Row {
        int key, slot;
    };
    const Row rows[] = {{199, 0}, {207, 1}, {211, 3}, {209, 2}, {210, 5}, {201, 4},
                        {75, 6},  {72, 8},  {73, 7},  {82, 10}, {71, 9},  {76, 11}};
    CPad pad;
    for (const Row& r : rows) {
        SysInjectKey(r.key, 1);
        Frame();
        pad.SampleSecondPad();
        for (int s = 0; s < kPadSlots; ++s)
            EXPECT_EQ(pad.m_values[s], s == r.slot ? kButtonPressed : kButtonUp) << r.key << " slot " << s;
        SysInjectKey(r.key, 0);
        Frame();
        pad.SampleSecondPad();
        EXPECT_EQ(pad.m_values[r.slot], kButtonUp) << "released reads up: " << r.key;
    }
    // The configured keys do not reach the second pad.
    SysInjectKey(kBoundKeys[0], 1);
    Frame();
    pad.SampleSecondPad();
    for (int s = 0; s < kPadSlots; ++s) EXPECT_EQ(pad.m_values[s], kButtonUp);
}

TEST_F(PadTest, SecondPadJoystickOne) {
    WriteBindings(kBoundKeys, kNoJoy);
    Start();
    int first = SysAttachVirtualJoystick(), second = SysAttachVirtualJoystick();
    ASSERT_GE(first, 0);
    ASSERT_GE(second, 0);
    EnableJoysticks(1);
    Frame();
    CPad pad;
    int axes[3] = {0, -1000, 0};  // entry 0: up
    unsigned char buttons[8] = {0, 0, 0x80, 0, 0, 0, 0, 0x80};  // entries 8 and 13
    SysSetVirtualJoystick(second, axes, buttons);
    Frame();
    pad.SampleSecondPad();
    EXPECT_EQ(pad.m_values[0], kButtonPressed);
    EXPECT_EQ(pad.m_values[10], kButtonPressed);
    EXPECT_EQ(pad.m_values[11], kButtonPressed);
    // Entry 4 (the third axis) is not read by the second pad.
    int third[3] = {0, 0, -1000};
    unsigned char none[8] = {};
    SysSetVirtualJoystick(second, third, none);
    Frame();
    Frame();
    pad.SampleSecondPad();
    for (int s = 0; s < kPadSlots; ++s) EXPECT_EQ(pad.m_values[s], kButtonUp) << s;
    SysDetachVirtualJoystick(second);
    SysDetachVirtualJoystick(first);
    Frame();
}

TEST_F(PadTest, CopiesKeepBindingsAndSaveWritesThemBack) {
    WriteBindings(kBoundKeys, kNoJoy);
    CPad pad;
    pad.m_values[4] = kButtonHeld;
    pad.m_keyText = "000030000000";
    // A copy made after the file changed still carries the first bindings: it never rereads.
    int other[kPadSlots] = {2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13};
    WriteBindings(other, kNoJoy);
    CPad copy = pad;
    CPad assigned;
    EXPECT_EQ(assigned.m_keyCodes[0], 2);
    assigned.Assign(pad);
    for (const CPad* p : {&copy, &assigned}) {
        for (int i = 0; i < kPadSlots; ++i) EXPECT_EQ(p->m_keyCodes[i], kBoundKeys[i]);
        EXPECT_EQ(p->m_values[4], kButtonHeld);
        EXPECT_EQ(p->m_keyText, "000030000000");
    }
    pad.Reset(2);
    for (int s = 0; s < kPadSlots; ++s) EXPECT_EQ(pad.m_values[s], 2);
    EXPECT_EQ(pad.m_keyText, "");

    pad.m_keyCodes[5] = 200;
    pad.m_joyEntries[7] = 13;
    ASSERT_EQ(pad.SaveBindings(), 1);
    CPad reread;
    for (int i = 0; i < kPadSlots; ++i) {
        EXPECT_EQ(reread.m_keyCodes[i], i == 5 ? 200 : kBoundKeys[i]) << i;
        EXPECT_EQ(reread.m_joyEntries[i], i == 7 ? 13 : -1) << i;
    }
}

TEST(PadIntoRobot, SlotsBecomeFlagsWithBoostCrossed) {
    // Pad slot -> robot flag: straight through except the boost button and "5 null".
    const int flagOf[kPadSlots] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 11, 10};
    for (int s = 0; s < kPadSlots; ++s) {
        for (int value : {kButtonUp, kButtonReleased, kButtonPressed, kButtonHeld}) {
            CPad pad;
            pad.Reset(0);
            pad.m_values[s] = value;
            CRobot robot;
            robot.m_input[flagOf[s] == 0 ? 1 : 0] = true;  // stale flags are cleared
            robot.ApplyPad(pad);
            for (int f = 0; f < kPadSlots; ++f) {
                bool down = f == flagOf[s] && value > kButtonReleased;
                EXPECT_EQ(robot.m_input[f], down) << "slot " << s << " value " << value << " flag " << f;
                EXPECT_EQ(robot.m_padState[f], f == flagOf[s] ? value : 0) << s << " " << f;
            }
        }
    }
}

TEST(PadIntoRobot, CpuButtonValueKArrivesAsFlagK) {
    for (int k = 0; k < kPadSlots; ++k) {
        CRobot robot;
        robot.m_padState[k] = kButtonPressed;
        CPad pad;
        pad.m_keyText = "stale";
        CBattle::PadFromAi(robot, &pad);
        EXPECT_EQ(pad.m_keyText, "");
        robot.ClearVirtualButtons();
        robot.ApplyPad(pad);
        for (int f = 0; f < kPadSlots; ++f) EXPECT_EQ(robot.m_input[f], f == k) << k << " " << f;
        EXPECT_EQ(robot.m_padState[k], kButtonPressed);
    }
}

}  // namespace
