// Keyboard, mouse and joysticks through the whole road: injected window events, the pump, the
// frame's poll and the four-state code.
#include "engine.h"
#include "input.h"

#include "sys_info.h"
#include "sys_input.h"
#include "sys_lock.h"
#include "sys_text_input.h"
#include "sys_window.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <string>

namespace {

std::string g_log;
std::string g_boxes;
void CaptureLog(const char* text) { g_log += text; }
void CaptureBox(const char* title, const char* text) { g_boxes += std::string(title) + "|" + text + "\n"; }

class InputTest : public ::testing::Test {
protected:
    void SetUp() override {
        SysSetLockNamespace(("input-test-" + std::to_string(getpid())).c_str());
        SysSetDebugOutputSink(CaptureLog);
        SysSetMessageBoxSink(CaptureBox);
        g_log.clear();
        g_boxes.clear();
        // An earlier test in this process may have closed the window or set the quit flag.
        SysClearQuit();
        g_quit = 0;
        g_quitSeen = 0;
        const char* argv[] = {"zaumolta"};
        SetCommandLine(1, argv);
    }
    void TearDown() override {
        g_engine.Free();
        SysSetMessageBoxSink(nullptr);
        SysSetDebugOutputSink(nullptr);
    }
    void Start() { ASSERT_EQ(g_engine.Init(), 1); }
    // One frame as the scenes run it: the pump, then the poll.
    int Frame() {
        int alive = PumpMessages();
        UpdateInput();
        return alive;
    }
};

constexpr int kKeySpace = 57, kKeyW = 17;

}  // namespace

TEST_F(InputTest, KeyGoesThroughPressedHeldReleasedUp) {
    Start();
    SysInjectKey(kKeySpace, 1);
    Frame();
    EXPECT_EQ(GetKeyStatus(kKeySpace), kButtonPressed);
    EXPECT_EQ(GetPressedKey(), kKeySpace);
    Frame();
    EXPECT_EQ(GetKeyStatus(kKeySpace), kButtonHeld);
    EXPECT_EQ(GetPressedKey(), -1);
    Frame();
    EXPECT_EQ(GetKeyStatus(kKeySpace), kButtonHeld);
    SysInjectKey(kKeySpace, 0);
    Frame();
    EXPECT_EQ(GetKeyStatus(kKeySpace), kButtonReleased);
    Frame();
    EXPECT_EQ(GetKeyStatus(kKeySpace), kButtonUp);
}

TEST_F(InputTest, TapShorterThanAFrameIsNotLost) {
    Start();
    // Down and up between two polls, as a quick tap or a scripted key press arrives.
    SysInjectKey(kKeySpace, 1);
    SysInjectKey(kKeySpace, 0);
    SysInjectMouseButton(0, 1);
    SysInjectMouseButton(0, 0);
    Frame();
    EXPECT_EQ(GetKeyStatus(kKeySpace), kButtonPressed);
    EXPECT_EQ(GetMouseButton(0), kButtonPressed);
    Frame();
    EXPECT_EQ(GetKeyStatus(kKeySpace), kButtonReleased);
    EXPECT_EQ(GetMouseButton(0), kButtonReleased);
    Frame();
    EXPECT_EQ(GetKeyStatus(kKeySpace), kButtonUp);
    // A press already seen by a poll is not replayed when it ends.
    SysInjectKey(kKeyW, 1);
    Frame();
    SysInjectKey(kKeyW, 0);
    Frame();
    EXPECT_EQ(GetKeyStatus(kKeyW), kButtonReleased);
}

TEST_F(InputTest, PressedKeyIsTheLowestCodeAndArrowsKeepTheirNumbers) {
    Start();
    SysInjectKey(kKeyDown, 1);
    SysInjectKey(kKeyW, 1);
    SysInjectKey(kKeyUp, 1);
    Frame();
    EXPECT_EQ(GetPressedKey(), kKeyW);
    EXPECT_EQ(GetKeyStatus(kKeyUp), kButtonPressed);
    EXPECT_EQ(GetKeyStatus(kKeyDown), kButtonPressed);
    EXPECT_EQ(GetKeyStatus(kKeyLeft), kButtonUp);
}

TEST_F(InputTest, FocusLossReleasesEveryKeyAndButton) {
    Start();
    SysInjectKey(kKeySpace, 1);
    SysInjectMouseButton(0, 1);
    Frame();
    SysInjectFocus(0);
    Frame();
    EXPECT_EQ(IsAppActive(), 0);
    EXPECT_EQ(GetKeyStatus(kKeySpace), kButtonReleased);
    EXPECT_EQ(GetMouseButton(0), kButtonReleased);
    SysInjectFocus(1);
    Frame();
    EXPECT_EQ(IsAppActive(), 1);
    EXPECT_EQ(GetKeyStatus(kKeySpace), kButtonUp);
}

TEST_F(InputTest, QuitKeyClosesTheWindowAndCanBeMovedOrCleared) {
    Start();
    SetQuitKey(0);  // a text field is open: Escape is an ordinary key
    SysInjectKey(kKeyEscape, 1);
    EXPECT_EQ(Frame(), 1);
    EXPECT_EQ(Frame(), 1);
    EXPECT_EQ(GetKeyStatus(kKeyEscape), kButtonHeld);
    SetQuitKey(kKeyF12);
    EXPECT_EQ(Frame(), 1);
    SysInjectKey(kKeyF12, 1);
    EXPECT_EQ(Frame(), 1);  // the poll after this pump closes the window
    EXPECT_EQ(PumpMessages(), 0);
}

// A field ends on Escape and gives Escape back as the quit key on that frame, while a person's
// press still lasts some frames: that press must not close the program, the next one must.
TEST_F(InputTest, QuitKeyGivenBackWhileHeldClosesOnlyOnANewPress) {
    Start();
    SetQuitKey(kKeyF12);
    SysInjectKey(kKeyEscape, 1);
    EXPECT_EQ(Frame(), 1);
    ASSERT_EQ(GetKeyStatus(kKeyEscape), kButtonPressed);  // the field ends here
    SetQuitKey(kKeyEscape);
    for (int frame = 0; frame < 4; ++frame) EXPECT_EQ(Frame(), 1) << frame;
    EXPECT_EQ(GetKeyStatus(kKeyEscape), kButtonHeld);
    SetQuitKey(kKeyEscape);  // given again while still held: still the same press
    EXPECT_EQ(Frame(), 1);
    SysInjectKey(kKeyEscape, 0);
    EXPECT_EQ(Frame(), 1);
    EXPECT_EQ(Frame(), 1);
    SysInjectKey(kKeyEscape, 1);
    EXPECT_EQ(Frame(), 1);  // the poll after this pump closes the window
    EXPECT_EQ(PumpMessages(), 0);
}

TEST_F(InputTest, EscapeIsTheQuitKeyFromStartUp) {
    Start();
    EXPECT_EQ(GetQuitKey(), kKeyEscape);
    SysInjectKey(kKeyEscape, 1);
    Frame();
    EXPECT_EQ(PumpMessages(), 0);
}

TEST_F(InputTest, DesktopQuitStopsThePump) {
    Start();
    SysInjectQuit();
    EXPECT_EQ(Frame(), 0);
}

TEST_F(InputTest, OutOfRangeArgumentsReadAsUp) {
    Start();
    SysInjectKey(kKeySpace, 1);
    SysInjectMouseButton(3, 1);
    Frame();
    for (int k : {-1, 256, 1000, -100000}) EXPECT_EQ(GetKeyStatus(k), kButtonUp) << k;
    for (int b : {-1, 4, 99}) EXPECT_EQ(GetMouseButton(b), kButtonUp) << b;
    EXPECT_EQ(GetMouseButton(3), kButtonPressed);
    EXPECT_EQ(GetJoystickButton(-1, 0), kButtonUp);
    EXPECT_EQ(GetJoystickButton(8, 0), kButtonUp);
    EXPECT_EQ(GetJoystickButton(0, 14), kButtonUp);
    EXPECT_EQ(GetJoystickButton(0, -1), kButtonUp);
    SetQuitKey(300);  // not a key: no quit key rather than some other key
    EXPECT_EQ(GetQuitKey(), 0);
}

TEST_F(InputTest, MouseButtonsCursorAndWheel) {
    Start();
    SysInjectMouseMove(100, 50);
    SysInjectMouseButton(1, 1);  // right
    SysInjectMouseWheel(2);
    Frame();
    EXPECT_EQ(GetMouseX(), 100);
    EXPECT_EQ(GetMouseY(), 50);
    EXPECT_EQ(GetMouseButton(1), kButtonPressed);
    EXPECT_EQ(GetMouseButton(0), kButtonUp);
    EXPECT_EQ(GetMouseWheel(), 2 * 120);
    SysInjectMouseButton(1, 0);
    Frame();
    EXPECT_EQ(GetMouseButton(1), kButtonReleased);
    EXPECT_EQ(GetMouseWheel(), 0);  // the wheel reports the movement since the last poll
    // Far outside the window the cursor still reads inside the frame.
    SysInjectMouseMove(-500, 5000);
    Frame();
    EXPECT_EQ(GetMouseX(), 0);
    EXPECT_EQ(GetMouseY(), 480);
    SysInjectMouseMove(9999, -3);
    Frame();
    EXPECT_EQ(GetMouseX(), 640);
    EXPECT_EQ(GetMouseY(), 0);
    SetMousePos(200, 120);
    Frame();
    int x = 0, y = 0;
    GetMousePos(&x, &y);
    EXPECT_EQ(x, 200);
    EXPECT_EQ(y, 120);
}

TEST_F(InputTest, MessageBoxClearsTheInputUntilTheNextPoll) {
    Start();
    SysInjectKey(kKeySpace, 1);
    SysInjectMouseButton(0, 1);
    Frame();
    Frame();
    ASSERT_EQ(GetKeyStatus(kKeySpace), kButtonHeld);
    ShowMessageBox("テスト");
    EXPECT_EQ(g_boxes, "|テスト\n");
    EXPECT_EQ(GetKeyStatus(kKeySpace), kButtonUp);
    EXPECT_EQ(GetMouseButton(0), kButtonUp);
    Frame();
    EXPECT_EQ(GetKeyStatus(kKeySpace), kButtonPressed);  // still held: seen as new
    EXPECT_EQ(AskYesNo("?"), 0);
    EXPECT_EQ(GetKeyStatus(kKeySpace), kButtonUp);
}

TEST_F(InputTest, TypedCharactersWaitInOrderUntilTaken) {
    Start();
    SysInjectText("a");
    Frame();
    EXPECT_EQ(GetTypedChar(), 'a');
    EXPECT_EQ(GetTypedChar(), 0);
    // Several characters in one frame, and polls that take none, keep every one in order.
    SysInjectText("xy");
    Frame();
    SysInjectText("z");
    Frame();
    Frame();
    EXPECT_EQ(HasTypedChar(), 1);
    EXPECT_EQ(GetTypedChar(), 'x');
    EXPECT_EQ(GetTypedChar(), 'y');
    EXPECT_EQ(GetTypedChar(), 'z');
    EXPECT_EQ(HasTypedChar(), 0);
    // Double-byte text is input-method text, never half a character in the queue.
    SysInjectText("メ");
    Frame();
    EXPECT_EQ(GetTypedChar(), 0);
    SetTypedChar(0xB1);  // half-width katakana: the byte comes back sign-extended
    EXPECT_EQ(GetTypedChar(), -79);
    // Enter, Backspace, Tab and Escape type their control characters, and the editing keys
    // themselves, in their place.
    SetQuitKey(0);
    const int keys[] = {kKeyEnter, kKeyBackspace, 15, kKeyEscape, kKeyLeft, kKeyRight, kKeyDelete};
    const int chars[] = {0x0D, 0x08, 0x09, 0x1B, kTypedKey + kKeyLeft, kTypedKey + kKeyRight, kTypedKey + kKeyDelete};
    for (int i = 0; i < 7; ++i) {
        SysInjectText("q");
        SysInjectKey(keys[i], 1);
        SysInjectText("r");
        Frame();
        EXPECT_EQ(GetTypedChar(), 'q') << i;
        EXPECT_EQ(GetTypedChar(), chars[i]) << i;
        EXPECT_EQ(GetTypedChar(), 'r') << i;
        SysInjectKey(keys[i], 0);
        Frame();
        EXPECT_EQ(GetTypedChar(), 0) << i;  // the key's release types nothing
    }
    // A full queue drops what comes after, never what waits; cleared, it takes characters again.
    for (int i = 0; i < kTypedCharQueue + 5; ++i) SetTypedChar('a' + i % 26);
    int taken = 0;
    for (int c = GetTypedChar(); c != 0; c = GetTypedChar()) EXPECT_EQ(c, 'a' + taken++ % 26);
    EXPECT_EQ(taken, kTypedCharQueue);
    // Committed text that does not fit goes whole, never half a character or half the commit.
    for (int i = 0; i < kTypedCharQueue - 3; ++i) SetTypedChar('a');
    SetTypedText("日本", 4);
    SetTypedText("語", 2);
    std::string kept;
    for (int c = GetTypedChar(); c != 0; c = GetTypedChar())
        if (c >= kTypedText) kept += (char)(c - kTypedText);
    EXPECT_EQ(kept, "語");
    SetTypedChar('s');
    ClearTypedChars();
    EXPECT_EQ(GetTypedChar(), 0);
    SetTypedChar('t');
    EXPECT_EQ(GetTypedChar(), 't');
}

// With no text field open the desktop's input method is off, so a person who keeps it in
// Japanese mode still plays: every key-down reaches the key state, and types its character.
TEST_F(InputTest, WithNoFieldOpenKeyDownsTypeTheirCharacters) {
    Start();
    ASSERT_EQ(SysTextInputIsActive(), 0);
    constexpr int kA = 0x1E, kOne = 0x02, kTwo = 0x03, kMinus = 0x0C, kLeftShift = 0x2A, kRightShift = 0x36,
                  kLeftCtrl = 0x1D, kLeftAlt = 0x38;
    const struct {
        int modifier;  // held around the key; 0 for none
        int key;
        int typed;
    } cases[] = {
        {0, kA, 'a'},           {kLeftShift, kA, 'A'},     {kRightShift, kA, 'A'},  {0, kOne, '1'},
        {kLeftShift, kTwo, '@'}, {kLeftShift, kMinus, '_'}, {0, kKeySpace, ' '},     {0, kKeyEnter, 0x0D},
        {kLeftCtrl, kA, 0},     {kLeftAlt, kA, 0},         {0, kKeyF12, 0},
    };
    for (const auto& c : cases) {
        ClearTypedChars();
        if (c.modifier) SysInjectKey(c.modifier, 1);
        SysInjectKey(c.key, 1);
        Frame();
        EXPECT_EQ(GetKeyStatus(c.key), kButtonPressed) << c.key;
        EXPECT_EQ(GetTypedChar(), c.typed) << c.modifier << " " << c.key;
        SysInjectKey(c.key, 0);
        if (c.modifier) SysInjectKey(c.modifier, 0);
        Frame();
        EXPECT_EQ(GetTypedChar(), 0) << "a release types nothing";
    }
    // A held key repeats its character, as the desktop repeats the key-down.
    SysInjectKey(kKeyW, 1);
    Frame();
    SysInjectKey(kKeyW, 1);
    Frame();
    EXPECT_EQ(GetKeyStatus(kKeyW), kButtonHeld);
    EXPECT_EQ(GetTypedChar(), 'w');
}

TEST_F(InputTest, VirtualJoystickAxesAndButtons) {
    Start();
    int id = SysAttachVirtualJoystick();
    ASSERT_GE(id, 0);
    Frame();  // the hot-plug event opens it
    EXPECT_EQ(GetJoystickCount(), 1);
    int axes[3] = {0, 600, 0};
    unsigned char buttons[8] = {0x80, 0, 0, 0, 0, 0, 0, 0x80};
    SysSetVirtualJoystick(id, axes, buttons);
    Frame();
    for (int e = 0; e < kJoystickEntryCount; ++e) EXPECT_EQ(GetJoystickButton(0, e), kButtonUp) << "disabled";
    EnableJoysticks(1);
    Frame();
    EXPECT_EQ(GetJoystickButton(0, 1), kButtonPressed);  // down
    EXPECT_EQ(GetJoystickButton(0, 0), kButtonUp);
    EXPECT_EQ(GetJoystickButton(0, 6), kButtonPressed);  // button 0
    EXPECT_EQ(GetJoystickButton(0, 13), kButtonPressed); // button 7
    Frame();
    EXPECT_EQ(GetJoystickButton(0, 1), kButtonHeld);
    // Exactly half deflection is not active; one more is.
    int half[3] = {-500, 500, 501};
    unsigned char none[8] = {};
    SysSetVirtualJoystick(id, half, none);
    Frame();
    EXPECT_EQ(GetJoystickButton(0, 1), kButtonReleased);
    EXPECT_EQ(GetJoystickButton(0, 2), kButtonUp);  // left needs more than -500
    EXPECT_EQ(GetJoystickButton(0, 5), kButtonPressed);
    EXPECT_EQ(GetJoystickButton(0, 6), kButtonReleased);
    int full[3] = {-1000, -501, -1000};
    SysSetVirtualJoystick(id, full, none);
    Frame();
    EXPECT_EQ(GetJoystickButton(0, 0), kButtonPressed);  // up
    EXPECT_EQ(GetJoystickButton(0, 2), kButtonPressed);  // left
    EXPECT_EQ(GetJoystickButton(0, 4), kButtonPressed);
    EXPECT_EQ(GetJoystickButton(0, 5), kButtonReleased);
    // Pulled out: everything reads released, then up, and the slot is free again.
    SysDetachVirtualJoystick(id);
    Frame();
    EXPECT_EQ(GetJoystickButton(0, 0), kButtonReleased);
    EXPECT_EQ(GetJoystickCount(), 0);
    EXPECT_NE(g_log.find("ジョイスティック[0]のアクセス権を失いました.\n"), std::string::npos) << g_log;
    Frame();
    EXPECT_EQ(GetJoystickButton(0, 0), kButtonUp);
    EnableJoysticks(0);
}

TEST_F(InputTest, JoysticksPresentAtStartUpAreCountedAndDisablingReleasesThem) {
    SysInputInit(640, 480);  // the joystick subsystem, so a device can exist before the engine
    int a = SysAttachVirtualJoystick(), b = SysAttachVirtualJoystick();
    ASSERT_GE(a, 0);
    ASSERT_GE(b, 0);
    SysInputShutdown();
    Start();
    EXPECT_NE(g_log.find("ジョイスティック数 = 2\n"), std::string::npos) << g_log;
    EXPECT_EQ(GetJoystickCount(), 2);
    EnableJoysticks(1);
    int axes[3] = {0, 0, 0};
    unsigned char buttons[8] = {0, 0x80};
    SysSetVirtualJoystick(b, axes, buttons);
    Frame();
    EXPECT_EQ(GetJoystickButton(1, 7), kButtonPressed);
    EXPECT_EQ(GetJoystickButton(0, 7), kButtonUp);
    EnableJoysticks(0);
    EXPECT_EQ(GetJoystickButton(1, 7), kButtonUp);
    Frame();
    EXPECT_EQ(GetJoystickButton(1, 7), kButtonUp);
    SysDetachVirtualJoystick(a);
    SysDetachVirtualJoystick(b);
}
