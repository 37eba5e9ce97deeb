// Pad record files: what is written reads back whole; a file cut short, with a flipped bit, or
// well formed but wrong in its contents is refused with a message saying why; and a set-up that
// would build another battle is refused before a step runs.
#include "lockstep_fixture.h"

#include "state_hash.h"
#include "test_folder.h"

#include <unistd.h>

#include <cinttypes>
#include <cstdio>

namespace {

// The text with its checksum line made right again: contents a hand could have edited.
std::string Rechecked(std::string text) {
    size_t check = text.rfind("check ");
    text.resize(check);
    CStateHash h;
    h.AddBytes(text.data(), text.size());
    char line[40];
    snprintf(line, sizeof line, "check %016" PRIx64 "\n", h.Value());
    return text + line;
}

std::string Replace(std::string text, const std::string& from, const std::string& to) {
    size_t at = text.find(from);
    if (at != std::string::npos) text.replace(at, from.size(), to);
    return text;
}

class PadRecordTest : public LockstepTest {
protected:
    void SetUp() override {
        LockstepTest::SetUp();
        const int cpu[kMaxRobots] = {0, -1, 0, 0, 0, 0};
        RecordBattle(Setup(1, 2, cpu, 30), &m_record);
        m_text = m_record.ToText();
    }
    CPadRecord m_record;
    std::string m_text;
};

TEST_F(PadRecordTest, WrittenRecordReadsBackWhole) {
    ASSERT_EQ(m_record.StepCount(), 30);
    ASSERT_EQ(m_record.m_endSteps, 30);
    CPadRecord back;
    std::string error;
    ASSERT_EQ(back.FromText(m_text, &error), 1) << error;
    EXPECT_EQ(back.ToText(), m_text);
    EXPECT_EQ(back.m_keys, m_record.m_keys);
    EXPECT_EQ(back.m_mission, m_record.m_mission);
    EXPECT_EQ(back.m_setupHash, m_record.m_setupHash);
    EXPECT_EQ(back.m_endHash, m_record.m_endHash);
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(back.m_slots[i].code, m_record.m_slots[i].code);
        EXPECT_EQ(memcmp(&back.m_slots[i].root, &m_record.m_slots[i].root, sizeof(Mat4)), 0);
        EXPECT_EQ(back.m_slots[i].turnSpeed, m_record.m_slots[i].turnSpeed);
    }
    // Three robots: the third starts aimed at its partner's empty slot 3, and reads back so.
    const int cpu3[kMaxRobots] = {0, -1, -1, 0, 0, 0};
    CPadRecord three;
    RecordBattle(Setup(1, 3, cpu3, 30), &three, 1);
    ASSERT_EQ(three.m_slots[2].target, 3);
    ASSERT_EQ(back.FromText(three.ToText(), &error), 1) << error;
    EXPECT_EQ(back.m_slots[2].target, 3);

    // And through a file.
    CTestFolder folder;
    ASSERT_EQ(m_record.Save(folder.File("a.pads"), &error), 1) << error;
    ASSERT_EQ(back.Load(folder.File("a.pads"), &error), 1) << error;
    EXPECT_EQ(back.ToText(), m_text);
}

TEST_F(PadRecordTest, DamagedOrWrongRecordsAreRefusedWithAMessage) {
    const std::string& t = m_text;
    const size_t firstStep = t.find("\nstep ") + 6;
    std::string flipped = t;
    flipped[firstStep + 3] ^= 0x01;  // a key digit: "0" becomes "1"
    std::string flippedSetup = t;
    flippedSetup[t.find("setup ") + 8] ^= 0x04;
    std::string flippedCheck = t;
    flippedCheck[t.size() - 3] ^= 0x02;
    struct Row {
        const char* what;
        std::string text;
        const char* message;  // part of the error
    };
    const Row rows[] = {
        {"empty", "", "empty"},
        {"cut in half", t.substr(0, t.size() / 2), "cut short"},
        {"cut inside a line", t.substr(0, firstStep + 5), "cut short"},
        {"last byte missing", t.substr(0, t.size() - 1), "cut short"},
        {"checksum line missing", t.substr(0, t.rfind("check ")), "cut short"},
        {"a bit flipped in a key", flipped, "damaged"},
        {"a bit flipped in the set-up", flippedSetup, "damaged"},
        {"a bit flipped in the checksum", flippedCheck, "damaged"},
        {"checksum not hex", Replace(t, "check ", "check z"), "checksum line is damaged"},
        {"text after the checksum", t + "step 000000000000 000000000000\n", "lines after its checksum"},
        {"another file", Rechecked("P3\n1 1\ncheck 0\n"), "not a pad record"},
        {"another version", Rechecked(Replace(t, "pad record 1", "pad record 2")), "another version"},
        {"key digit 4", Rechecked(Replace(t, "\nstep 0", "\nstep 4")), "twelve of the digits 0 to 3"},
        {"Shift-JIS in a key", Rechecked(Replace(t, "\nstep 00", "\nstep \x82\x4f")), "twelve of the digits"},
        {"key text too short", Rechecked(Replace(t, "\nstep 0", "\nstep ")), "twelve of the digits"},
        {"one key text missing", Rechecked(Replace(t, "\nstep 000000000000 ", "\nstep ")), "one key text per robot"},
        {"seven robots", Rechecked(Replace(t, "robots 2", "robots 7")), "robots N"},
        {"own robot outside", Rechecked(Replace(t, "own 0", "own 2")), "own N"},
        {"stage not a number", Rechecked(Replace(t, "stage 1", "stage x")), "stage N"},
        {"clock overflows", Rechecked(Replace(t, "clock 30", "clock 99999999999")), "clock N"},
        {"target outside", Rechecked(Replace(t, "slot 1 ", "slot 1 x")), "slot"},
        {"end count wrong", Rechecked(Replace(t, "end 30 ", "end 31 ")), "STEPS the number of steps"},
        {"a step after the end", Rechecked(Replace(t, "\ncheck ", "\nstep 000000000000 000000000000\ncheck ")),
         "nothing may follow"},
        {"an unknown line", Rechecked(Replace(t, "\nend ", "\nhello\nend ")), "expected a \"step\""},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        CPadRecord back = m_record;
        back.m_keys = "kept";
        std::string error;
        EXPECT_EQ(back.FromText(r.text, &error), 0);
        EXPECT_NE(error.find(r.message), std::string::npos) << error;
        EXPECT_EQ(back.m_keys, "kept") << "a refused text changes nothing";
    }
}

TEST_F(PadRecordTest, DamagedFilesOnDiskNameTheFile) {
    CTestFolder folder;
    std::string error;
    CPadRecord back;
    EXPECT_EQ(back.Load(folder.File("missing.pads"), &error), 0);
    EXPECT_NE(error.find("missing.pads"), std::string::npos) << error;
    ASSERT_EQ(m_record.Save(folder.File("cut.pads"), &error), 1);
    FILE* f = fopen(folder.File("cut.pads").c_str(), "r+b");
    ASSERT_NE(f, nullptr);
    ASSERT_EQ(ftruncate(fileno(f), long(m_text.size() / 3)), 0);
    fclose(f);
    EXPECT_EQ(back.Load(folder.File("cut.pads"), &error), 0);
    EXPECT_NE(error.find("cut.pads"), std::string::npos) << error;
    EXPECT_NE(error.find("cut short"), std::string::npos) << error;
}

TEST_F(PadRecordTest, SetupThatBuildsAnotherBattleIsRefused) {
    // Each row is a well-formed record whose set-up no longer matches its set-up hash.
    struct Row {
        const char* what;
        std::function<void(CPadRecord&)> change;
    };
    const Row rows[] = {
        {"another build", [](CPadRecord& r) { r.m_slots[1].code = ParseBuildCode("9,2,3"); }},
        {"another start", [](CPadRecord& r) { r.m_slots[0].root.m[3][0] += 1.0f; }},
        {"another team", [](CPadRecord& r) { r.m_slots[1].team = "AM"; }},
        {"other stats", [](CPadRecord& r) { r.m_slots[0].maxEp += 1; }},
        {"another clock", [](CPadRecord& r) { ++r.m_clock; }},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        CPadRecord r;
        std::string error;
        ASSERT_EQ(r.FromText(m_text, &error), 1);
        row.change(r);
        auto b = std::make_unique<CBattle>();
        EXPECT_EQ(r.ApplySetup(b.get(), &error), 0);
        EXPECT_NE(error.find("set-up"), std::string::npos) << error;
    }
    CPadRecord same;
    std::string error;
    ASSERT_EQ(same.FromText(m_text, &error), 1);
    auto b = std::make_unique<CBattle>();
    EXPECT_EQ(same.ApplySetup(b.get(), &error), 1) << error;
}

}  // namespace
