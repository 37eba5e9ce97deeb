// The lockstep runner: a recorded battle replays to the same hash after every tick whatever the
// steps per frame, the drawing, the view, the pause or the governor; the fight stops on the
// step that ends it; a record that runs out stops the replay; and a one-bit change planted at
// one tick is reported at that tick with the field's name.
#include "lockstep_fixture.h"

#include "engine.h"
#include "frame_timer.h"

#include <cstring>
#include <set>

namespace {

// ---- Schedules ------------------------------------------------------------------------------------

TEST(StepScheduleTest, ParsesFixedCountsAndSeededMixes) {
    struct Row {
        const char* text;
        int ok;
        int first;  // the first count drawn, -1 for a mix
    };
    const Row rows[] = {{"1", 1, 1},    {"2", 1, 2},      {"3", 1, 3},      {"0", 0, 0},       {"4", 0, 0},
                        {"", 0, 0},     {"mix:7", 1, -1}, {"mix:", 0, 0},   {"mix:-1", 0, 0},  {"mix:7x", 0, 0},
                        {"mix:12345678901", 0, 0}, {"MIX:7", 0, 0}, {" 1", 0, 0}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.text);
        CStepSchedule s(2);
        ASSERT_EQ(s.Parse(r.text), r.ok);
        if (r.ok && r.first >= 0) {
            EXPECT_EQ(s.Next(), r.first);
        }
        if (!r.ok) {
            EXPECT_EQ(s.Next(), 2) << "a refused text leaves the schedule as it was";
        }
    }
}

TEST(StepScheduleTest, MixDrawsZeroToThreeFromItsOwnSequence) {
    GameSrand(99);
    const int gameFirst = GameRand();
    GameSrand(99);
    CStepSchedule a = CStepSchedule::Mixed(7), b = CStepSchedule::Mixed(7), c = CStepSchedule::Mixed(8);
    std::set<int> seen;
    int differ = 0;
    for (int i = 0; i < 400; ++i) {
        const int n = a.Next();
        ASSERT_GE(n, 0);
        ASSERT_LE(n, 3);
        seen.insert(n);
        ASSERT_EQ(b.Next(), n);
        differ += c.Next() != n;
    }
    EXPECT_EQ(seen.size(), 4u);
    EXPECT_GT(differ, 100);
    EXPECT_EQ(GameRand(), gameFirst) << "the schedule must not draw from the game's generator";
}

// ---- Replays --------------------------------------------------------------------------------------

const int kFourMixed[kMaxRobots] = {0, -1, 3, 5, 0, 0};  // slot 0 the scripted local pad

TEST_F(LockstepTest, OneStepAFrameIsTheGamesOwnFrame) {
    const int cpu[kMaxRobots] = {-1, 3, 5, 1, 0, 0};
    SBattleSetup s = Setup(1, 4, cpu, 200);
    std::vector<uint64_t> game;
    SBattleOutcome outcome;
    ASSERT_EQ(RunHeadlessBattle(s, &outcome, [&](int, uint64_t h) { game.push_back(h); }), 1);
    CPadRecord record;
    SRunStream live = RecordBattle(s, &record);
    ASSERT_EQ(live.hashes.size(), game.size());
    for (size_t i = 0; i < game.size(); ++i) ASSERT_EQ(live.hashes[i], game[i]) << TickName(live.ticks[i]);
    EXPECT_EQ(live.result, outcome.result);
}

TEST_F(LockstepTest, RecordedBattleReplaysAlikeByAnySchedule) {
    CPadRecord record;
    SRunStream live = RecordBattle(Setup(1, 4, kFourMixed, 240), &record);
    ASSERT_TRUE(live.result == kResultWon || live.result == kResultLost) << live.result;
    ASSERT_EQ(record.m_endSteps, 240);
    ASSERT_EQ(record.StepCount(), 240);
    // Through the file's text as well: what is read back plays the same battle.
    CPadRecord reread;
    std::string error;
    ASSERT_EQ(reread.FromText(record.ToText(), &error), 1) << error;
    for (const char* schedule : {"1", "2", "3", "mix:5", "mix:77"}) {
        SCOPED_TRACE(schedule);
        CStepSchedule s;
        ASSERT_EQ(s.Parse(schedule), 1);
        SRunStream replay = Replay(reread, s);
        ExpectSameStream(live, replay);
        EXPECT_EQ(LastStepHash(replay), record.m_endHash);
        EXPECT_FALSE(replay.ranOut);
        if (std::string(schedule) == "3") {
            EXPECT_LT(replay.frames, live.frames);
        }
    }
}

TEST_F(LockstepTest, FightStopsOnTheStepThatEndsIt) {
    CPadRecord record;
    const int cpu[kMaxRobots] = {-1, -1, 0, 0, 0, 0};
    RecordBattle(Setup(1, 2, cpu, 100), &record);
    ASSERT_EQ(record.m_endSteps, 100);
    // 100 steps at three a frame: the frame of step 100 would run two more.
    for (const char* schedule : {"3", "mix:11"}) {
        SCOPED_TRACE(schedule);
        CStepSchedule s;
        ASSERT_EQ(s.Parse(schedule), 1);
        int endStep = 0, stepsAfter = 0;
        SRunStream replay = Replay(record, s, nullptr, nullptr, [&](const STick& t, CBattle& b) {
            if (t.kind != kTickStep) return;
            if (endStep) ++stepsAfter;
            else if (b.m_phase == kPhaseFinish) endStep = t.number;
        });
        EXPECT_EQ(endStep, 100);
        EXPECT_EQ(stepsAfter, 0);
        EXPECT_EQ(replay.steps, 100);
        EXPECT_EQ(replay.ticks.back().kind, kTickEnding);
    }
}

TEST_F(LockstepTest, RecordThatRunsOutStopsTheReplayThere) {
    CPadRecord record;
    SRunStream live = RecordBattle(Setup(1, 4, kFourMixed, 120), &record);
    CPadRecord cut = record;
    cut.m_keys.resize(size_t(50) * 4 * kPadSlots);
    cut.m_endSteps = -1;
    SRunStream replay = Replay(cut, CStepSchedule(3));
    EXPECT_TRUE(replay.ranOut);
    EXPECT_EQ(replay.steps, 50);
    ASSERT_LE(replay.hashes.size(), live.hashes.size());
    for (size_t i = 0; i < replay.hashes.size(); ++i) ASSERT_EQ(replay.hashes[i], live.hashes[i]) << i;
}

// Drawing, graphics levels, view types, Tab, the free-camera pause and a governor that skips
// draws are the game's own business: none of them may change a tick.
TEST_F(LockstepTest, ViewPauseAndDrawingChangeNoTick) {
    CPadRecord record;
    RecordBattle(Setup(1, 4, kFourMixed, 90), &record);
    const SRunStream reference = Replay(record, CStepSchedule(1));
    struct Row {
        int graphics, viewType;
        const char* schedule;
        float fps;  // the frame timer's rate: 5 makes the governor skip draws
    };
    const Row rows[] = {{1, 0, "1", 30.0f}, {2, 3, "3", 5.0f}, {3, 9, "mix:4", 5.0f}, {3, 6, "2", 60.0f}};
    for (const Row& row : rows) {
        SCOPED_TRACE("graphics " + std::to_string(row.graphics) + " view " + std::to_string(row.viewType) + " schedule " +
                     row.schedule);
        CStepSchedule s;
        ASSERT_EQ(s.Parse(row.schedule), 1);
        int fightFrames = 0, pausedFrames = 0;
        SRunStream run = Replay(
            record, s,
            [&](CBattle& b) {
                b.m_graphics = row.graphics;
                b.m_view.m_graphicsLevel = row.graphics;
                b.m_view.m_savedViewType = row.viewType;
            },
            [&](int, CBattle& b) {
                g_frameTimer.m_fps = row.fps;
                const bool fight = b.m_phase == kPhaseFight || b.m_phase == kPhaseFreeCamera;
                fightFrames += fight;
                pausedFrames += b.m_phase == kPhaseFreeCamera;
                // Drawn through most of the fight; F1 at fight frame 20 and again 12 frames
                // later; Tab every 9th fight frame.
                b.m_drawEnabled = fight && fightFrames < 60;
                SysInjectKey(kKeyF1, fight && (fightFrames == 20 || fightFrames == 32));
                SysInjectKey(kKeyTab, fight && fightFrames % 9 == 0);
                PumpMessages();
                UpdateInput();
            });
        SysInjectKey(kKeyF1, 0);
        SysInjectKey(kKeyTab, 0);
        PumpMessages();
        UpdateInput();
        g_frameTimer.m_fps = 30.0f;
        EXPECT_GT(pausedFrames, 5) << "the pause happened";
        ExpectSameStream(reference, run);
    }
}

// ---- Planted divergence ---------------------------------------------------------------------------

struct Plant {
    const char* what;
    int kind, number;  // the tick it is planted at
    std::function<void(CBattle&)> change;
    const char* field;  // the name the dump must give
};

void FlipLowBit(float* v) {
    uint32_t bits;
    memcpy(&bits, v, sizeof bits);
    bits ^= 1;
    memcpy(v, &bits, sizeof bits);
}

TEST_F(LockstepTest, PlantedOneBitDivergenceIsReportedAtItsTickWithItsField) {
    CPadRecord record;
    const int cpu[kMaxRobots] = {-1, 3, 0, 0, 0, 0};
    RecordBattle(Setup(1, 2, cpu, 60), &record);
    const SRunStream reference = Replay(record, CStepSchedule(1));
    const Plant plants[] = {
        {"intro", kTickIntro, 30, [](CBattle& b) { FlipLowBit(&b.m_robots[1].m_bank); }, "robot[1].bank"},
        {"step", kTickStep, 25, [](CBattle& b) { FlipLowBit(&b.m_robots[0].m_frames[kRootFrame].m_matrix.m[3][2]); },
         "robot[0].frame[11].row3"},
        {"step ep", kTickStep, 40, [](CBattle& b) { b.m_robots[1].m_ep ^= 1; }, "robot[1].ep"},
        {"finish", kTickFinish, 10, [](CBattle& b) { FlipLowBit(&b.m_robots[0].m_angles[4][1]); }, "robot[0].angles[13]"},
        {"ending", kTickEnding, 3, [](CBattle& b) { b.m_robots[1].m_poseFrame ^= 1; }, "robot[1].poseFrame"},
    };
    for (const Plant& p : plants) {
        SCOPED_TRACE(p.what);
        auto plant = [&](const STick& t, CBattle& b) {
            if (t.kind == p.kind && t.number == p.number) p.change(b);
        };
        const SRunStream planted = Replay(record, CStepSchedule::Mixed(3), nullptr, nullptr, plant);
        size_t first = 0;
        while (first < reference.hashes.size() && first < planted.hashes.size() &&
               reference.hashes[first] == planted.hashes[first])
            ++first;
        ASSERT_LT(first, reference.hashes.size()) << "the plant went unnoticed";
        EXPECT_EQ(planted.ticks[first].kind, p.kind);
        EXPECT_EQ(planted.ticks[first].number, p.number);
        SDumpDifference d;
        const int tick = int(first) + 1;
        ASSERT_EQ(FindFirstDifference(DumpAt(record, tick), DumpAt(record, tick, plant), &d), 1);
        EXPECT_EQ(d.field, p.field);
        EXPECT_NE(d.first, d.second);
    }
}

}  // namespace
