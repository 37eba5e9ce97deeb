// The battle object's set-up and frame machinery: construction, the sides and start positions,
// the team test, the frame-skip governor, the clock floor and the frame dispatch by phase.
#include "battle_fixture.h"

#include "engine.h"
#include "input.h"
#include "sys_input.h"

#include <cmath>

namespace {

void ExpectNear(const Vec3& got, const Vec3& want, const char* what) {
    EXPECT_NEAR(got.x, want.x, 1e-5) << what;
    EXPECT_NEAR(got.y, want.y, 1e-5) << what;
    EXPECT_NEAR(got.z, want.z, 1e-5) << what;
}

TEST_F(BattleTest, ConstructionSetsUpBothSides) {
    CBattle& b = *m_battle;
    EXPECT_EQ(b.m_phase, kPhaseIntro);
    EXPECT_EQ(b.m_phaseFrames, 0);
    EXPECT_EQ(b.m_clock, 1800);
    EXPECT_EQ(b.m_robotCount, 6);
    EXPECT_EQ(b.m_ownIndex, 0);
    EXPECT_EQ(b.m_mission, "敵リーダー撃破");
    EXPECT_EQ(b.m_resultText, "");
    EXPECT_EQ(b.IsOver(), 0);
    EXPECT_EQ(b.GetResult(), 0);
    EXPECT_EQ(b.m_skipCount, 0);
    EXPECT_EQ(b.m_maxSkip, 10);
    EXPECT_EQ(b.m_projectiles.GetCount(), 100);
    EXPECT_EQ(b.m_projectiles.GetCursor(), 1);
    EXPECT_EQ(b.m_banner2.m_y, 250);
    struct Row {
        const char* team;
        const char* name;
        Vec3 position;
        float facingZ;  // z of the direction the robot looks along (its negated Z axis)
        int target;
        int cpu;
    };
    const Row rows[kMaxRobots] = {
        {"AL", "P0", Vec3(0, 2, -6), 1, 1, 0},   {"BL", "P1", Vec3(0, 2, 6), -1, 0, -3},
        {"AM", "P2", Vec3(1, 2, -6), 1, 3, -3},  {"BM", "P3", Vec3(1, 2, 6), -1, 2, -3},
        {"AM", "P4", Vec3(-1, 2, -6), 1, 5, -3}, {"BM", "P5", Vec3(-1, 2, 6), -1, 4, -3},
    };
    for (int i = 0; i < kMaxRobots; ++i) {
        const CRobot& r = b.m_robots[i];
        EXPECT_EQ(r.m_teamCode, rows[i].team) << i;
        EXPECT_EQ(r.m_actionNames[kActName], rows[i].name) << i;
        ExpectNear(r.m_frames[kRootFrame].GetWorldPosition(), rows[i].position, rows[i].name);
        ExpectNear(-r.m_frames[kRootFrame].GetWorldAxisZ(), Vec3(0, 0, rows[i].facingZ), rows[i].name);
        EXPECT_EQ(TargetOf(i), rows[i].target) << i;
        EXPECT_EQ(b.m_cpu[i].m_type, rows[i].cpu) << i;
    }
}

TEST_F(BattleTest, PlaceRobotsLinesUpSidesAndChainsTargetsRoundARing) {
    CBattle& b = *m_battle;
    b.m_robotCount = 4;
    const char* teams[] = {"AL", "BL", "AM", "BM"};
    for (int i = 0; i < 4; ++i) b.m_robots[i].m_teamCode = teams[i];
    b.PlaceRobots();
    ExpectNear(b.m_robots[0].m_frames[kRootFrame].GetWorldPosition(), Vec3(0, 2, -6), "first A");
    ExpectNear(b.m_robots[2].m_frames[kRootFrame].GetWorldPosition(), Vec3(1, 2, -6), "second A");
    ExpectNear(b.m_robots[1].m_frames[kRootFrame].GetWorldPosition(), Vec3(0, 2, 6), "first B");
    ExpectNear(b.m_robots[3].m_frames[kRootFrame].GetWorldPosition(), Vec3(1, 2, 6), "second B");
    ExpectNear(-b.m_robots[2].m_frames[kRootFrame].GetWorldAxisZ(), Vec3(0, 0, 1), "A looks to +z");
    ExpectNear(-b.m_robots[3].m_frames[kRootFrame].GetWorldAxisZ(), Vec3(0, 0, -1), "B looks to -z");
    // Each aims at the enemy placed last before it; the first of all at the line's last enemy.
    EXPECT_EQ(TargetOf(0), 3);
    EXPECT_EQ(TargetOf(1), 0);
    EXPECT_EQ(TargetOf(2), 1);
    EXPECT_EQ(TargetOf(3), 2);

    // Six robots: one ring through every slot, each enemy aimed at by exactly one robot.
    b.m_robotCount = 6;
    const char* six[] = {"AL", "BL", "AM", "BM", "AM", "BM"};
    for (int i = 0; i < 6; ++i) b.m_robots[i].m_teamCode = six[i];
    b.PlaceRobots();
    const int ring[] = {5, 0, 1, 2, 3, 4};
    for (int i = 0; i < 6; ++i) EXPECT_EQ(TargetOf(i), ring[i]) << i;

    // One side alone has nobody to aim at.
    b.m_robotCount = 2;
    b.m_robots[1].m_teamCode = "AM";
    b.PlaceRobots();
    EXPECT_EQ(TargetOf(0), -1);
    EXPECT_EQ(TargetOf(1), -1);
}

TEST_F(BattleTest, SurvivalPlacesRobotsRoundACircle) {
    CBattle& b = *m_battle;
    b.m_robotCount = 4;
    const char* teams[] = {"CL", "DL", "EL", "CM"};  // slot 3 shares slot 0's letter
    for (int i = 0; i < 4; ++i) b.m_robots[i].m_teamCode = teams[i];
    b.PlaceRobots();
    for (int i = 0; i < 4; ++i) {
        Vec3 p = b.m_robots[i].m_frames[kRootFrame].GetWorldPosition();
        EXPECT_NEAR(p.y, 2.0, 1e-5) << i;
        EXPECT_NEAR(std::sqrt(p.x * p.x + p.z * p.z), 6.0, 1e-4) << i;
        // A quarter turn apart: each one's position is the previous one's turned by 90 degrees.
        Vec3 q = b.m_robots[(i + 1) % 4].m_frames[kRootFrame].GetWorldPosition();
        EXPECT_NEAR(p.x * q.x + p.z * q.z, 0.0, 1e-3) << i;
    }
    ExpectNear(b.m_robots[0].m_frames[kRootFrame].GetWorldPosition(), Vec3(0, 2, 6), "slot 0 on +z");
    // The last non-team-mate scanning the later slots, then the earlier ones.
    EXPECT_EQ(TargetOf(0), 2);  // after: 1, 2 (3 is a mate); nothing before
    EXPECT_EQ(TargetOf(1), 0);  // after: 2, 3; before: 0
    EXPECT_EQ(TargetOf(2), 1);  // after: 3; before: 0, 1
    EXPECT_EQ(TargetOf(3), 2);  // before: 1, 2 (0 is a mate)
}

TEST_F(BattleTest, SameTeamByTheFirstLetter) {
    CBattle& b = *m_battle;
    struct Row {
        int a, b;
        bool same;
    };
    const Row rows[] = {{0, 2, true}, {0, 1, false}, {1, 3, true}, {3, 3, true}, {2, -1, true},
                        {1, -1, false}, {0, 7, false}, {-4, 1, false}};
    for (const Row& r : rows) EXPECT_EQ(b.IsSameTeam(r.a, r.b), r.same) << r.a << "," << r.b;
    b.m_robots[2].m_teamCode = "";
    EXPECT_FALSE(b.IsSameTeam(0, 2));
}

TEST_F(BattleTest, GovernorSkipsBetweenDrawnFrames) {
    CBattle& b = *m_battle;
    g_frameTimer.m_fps = 30.0f;
    b.m_skipCount = 2;
    std::string pattern;
    for (int i = 0; i < 9; ++i) pattern += b.ShouldSkipDraw() ? 's' : 'D';
    EXPECT_EQ(pattern, "ssDssDssD");

    // A slow machine raises the skip count one at a time up to the maximum, a fast one lowers it.
    b.m_skipCount = 0;
    g_frameTimer.m_fps = 5.0f;
    for (int i = 0; i < 2000; ++i) b.ShouldSkipDraw();
    EXPECT_EQ(b.m_skipCount, 10);
    g_frameTimer.m_fps = 60.0f;
    for (int i = 0; i < 2000; ++i) b.ShouldSkipDraw();
    EXPECT_EQ(b.m_skipCount, 0);
    g_frameTimer.m_fps = 30.0f;
    b.m_smoothedRate = 30.0f;
    for (int i = 0; i < 5; ++i) EXPECT_FALSE(b.ShouldSkipDraw());
}

TEST_F(BattleTest, ClockCountsDownToItsFloor) {
    CBattle& b = *m_battle;
    b.m_robotCount = 2;
    b.m_phase = kPhasePlain;
    b.m_clock = -17998;
    for (int i = 0; i < 5; ++i) b.SimulateStep();
    EXPECT_EQ(b.m_clock, kClockFloor);
    b.m_clock = 2;
    b.SimulateStep();
    b.SimulateStep();
    EXPECT_EQ(b.m_clock, 0);
    EXPECT_EQ(b.m_phase, kPhasePlain);  // the plain step has no rules
}

TEST_F(BattleTest, AnOverBattleOnlyTicksItsAnnouncements) {
    CBattle& b = *m_battle;
    b.m_phase = kPhaseFight;
    b.m_phaseFrames = 10;
    b.m_over = 1;
    int clock = b.m_clock;
    b.Run();
    EXPECT_EQ(b.m_phaseFrames, 11);
    EXPECT_EQ(b.m_clock, clock);
}

TEST_F(BattleTest, IntroTimelineThenTheFight) {
    CBattle& b = *m_battle;
    b.m_robotCount = 2;
    b.Run();
    EXPECT_EQ(b.m_banner1.m_text, "Ａチームリーダーです");
    EXPECT_EQ(b.m_banner2.m_text, "ＲＥＤＹ");
    EXPECT_EQ(b.m_banner2.m_countdown, 89);  // drawn once since
    EXPECT_EQ(b.m_view.m_viewMode, 100);
    for (int f = 2; f <= 45; ++f) b.Run();
    EXPECT_EQ(b.m_banner1.m_text, "目標：敵リーダー撃破");
    for (int f = 46; f <= 90; ++f) b.Run();
    EXPECT_EQ(b.m_view.m_viewMode, b.m_view.m_savedViewType);
    EXPECT_EQ(b.m_banner2.m_text, "ＧＯ！！");
    EXPECT_EQ(b.m_banner2.m_countdown, 29);
    EXPECT_EQ(b.m_phase, kPhaseIntro);
    EXPECT_EQ(b.m_clock, 1800);  // the intro does not run the clock
    b.Run();  // frame 91: the fight's first step
    EXPECT_EQ(b.m_phase, kPhaseFight);
    EXPECT_EQ(b.m_clock, 1799);

    // Other team codes, other greetings; an unknown code none.
    const char* codes[] = {"AM", "BL", "BM", "XX"};
    const char* texts[] = {"Ａチームメンバーです", "Ｂチームリーダーです", "Ｂチームメンバーです", ""};
    for (int i = 0; i < 4; ++i) {
        CBattle other;
        other.m_robots[0].m_teamCode = codes[i];
        other.Run();
        EXPECT_EQ(other.m_banner1.m_text, texts[i]) << codes[i];
    }
}

TEST_F(BattleTest, FinishHoldsTheRobotsThenMovesThem) {
    CBattle& b = *m_battle;
    b.m_robotCount = 2;
    b.m_phase = kPhaseFinish;
    b.m_phaseFrames = 0;
    b.m_robots[1].m_stepCounter = 0;
    for (int f = 1; f <= 74; ++f) b.Run();
    EXPECT_EQ(b.m_robots[1].m_stepCounter, 0) << "robots stand still in frames 1 to 74";
    b.Run();
    EXPECT_EQ(b.m_robots[1].m_stepCounter, 1) << "and move from frame 75";
    int clock = b.m_clock;
    b.Run();
    EXPECT_EQ(b.m_clock, clock);
}

}  // namespace

namespace {

void PollWith(int key, int down) {
    SysInjectKey(key, down);
    PumpMessages();
    UpdateInput();
}

TEST_F(BattleTest, F1PausesTheFightForTheFreeCameraAndBack) {
    CBattle& b = *m_battle;
    b.m_robotCount = 2;
    b.m_phase = kPhaseFight;
    b.m_phaseFrames = 5;
    const int clock = b.m_clock;
    PollWith(kKeyF1, 1);
    b.Run();  // the press switches before the frame's dispatch: already a camera frame
    EXPECT_EQ(b.m_phase, kPhaseFreeCamera);
    // The same press is not seen again: the camera frame keeps the battle paused.
    b.Run();
    EXPECT_EQ(b.m_phase, kPhaseFreeCamera);
    PumpMessages();
    UpdateInput();
    b.Run();
    EXPECT_EQ(b.m_phase, kPhaseFreeCamera);
    EXPECT_EQ(b.m_clock, clock) << "the world stands still behind the free camera";
    PollWith(kKeyF1, 0);
    PollWith(kKeyF1, 1);
    b.Run();
    EXPECT_EQ(b.m_phase, kPhaseFight);
    EXPECT_EQ(b.m_clock, clock - 1);
    PollWith(kKeyF1, 0);
}

}  // namespace
