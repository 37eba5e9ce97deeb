// Battle events that reach into the robots: the untimed battle's cruise-missile volley, fired
// inside the simulation step, and the victory and defeat actions of the ending.
#include "battle_fixture.h"

namespace {

int CountRequests(const CRobot& r, const char* kind) {
    int n = 0;
    for (const CShotSlot& s : r.m_shotSlots.slots) n += s.inUse && s.name == kind;
    return n;
}

TEST_F(BattleTest, CruiseMissileFallsOnEveryLivingRobotOnce) {
    CBattle& b = *m_battle;
    b.m_robotCount = 3;
    b.m_phase = kPhaseFight;
    b.m_phaseFrames = 5;
    SetRobot(2, "AM", 0);
    SetRobot(4, "AM", 100);  // beyond the robot count: not in the battle
    PlaceRoot(0, 3, 4);
    b.m_clock = -3088;
    b.SimulateStep();
    for (int i = 0; i < kMaxRobots; ++i) EXPECT_EQ(CountRequests(b.m_robots[i], "巡航ミサイル"), 0) << i;
    // Two steps in one frame, as online play runs them: the volley belongs to the step that
    // brings the clock to -3090, whichever frame that is.
    b.SimulateStep();
    EXPECT_EQ(b.m_clock, -3090);
    EXPECT_EQ(CountRequests(b.m_robots[0], "巡航ミサイル"), 1);
    EXPECT_EQ(CountRequests(b.m_robots[1], "巡航ミサイル"), 1);
    EXPECT_EQ(CountRequests(b.m_robots[2], "巡航ミサイル"), 0) << "a destroyed robot is spared";
    EXPECT_EQ(CountRequests(b.m_robots[4], "巡航ミサイル"), 0);
    for (const CShotSlot& s : b.m_robots[0].m_shotSlots.slots) {
        if (!s.inUse) continue;
        Vec3 root = b.m_robots[0].m_frames[kRootFrame].GetWorldPosition();
        EXPECT_FLOAT_EQ(s.offset.x, root.x);
        EXPECT_FLOAT_EQ(s.offset.y, root.y + 15.0f);
        EXPECT_FLOAT_EQ(s.offset.z, root.z);
        EXPECT_EQ(s.direction, Vec3(0, -1.0f, 0.01f));
    }
    // The announcement frame only shows it.
    b.Run();
    EXPECT_EQ(b.m_banner1.m_text, "巡航ミサイル接近");
}

TEST_F(BattleTest, EndingQueuesVictoryAndDefeatBySide) {
    for (int won : {1, 0}) {
        CBattle b;
        b.LoadStage(1);
        Hover(b);
        b.m_robotCount = 4;
        const char* teams[] = {"AL", "BL", "AM", "BM"};
        for (int i = 0; i < 4; ++i) {
            b.m_robots[i].m_teamCode = teams[i];
            b.m_robots[i].m_nextAction = "";
        }
        b.m_robots[5].m_nextAction = "";
        b.m_robots[2].m_currentAction = b.m_robots[2].m_actionNames[won ? kActVictory : kActDefeat];
        b.m_phase = won ? kPhaseWon : kPhaseLost;
        b.m_phaseFrames = 0;
        for (int f = 1; f <= 29; ++f) b.Run();
        const char* mine = won ? "勝利１" : "敗北１";
        const char* theirs = won ? "敗北１" : "勝利１";
        EXPECT_NE(b.m_robots[0].m_currentAction, mine);
        b.Run();
        // Queued on frame 30, and started by the robots' own step of the same frame.
        EXPECT_EQ(b.m_robots[0].m_currentAction, mine) << won;
        EXPECT_EQ(b.m_robots[1].m_currentAction, theirs) << won;
        EXPECT_EQ(b.m_robots[3].m_currentAction, theirs) << won;
        EXPECT_EQ(b.m_robots[5].m_nextAction, "") << "beyond the robot count";
        EXPECT_EQ(b.m_banner2.m_text, won ? "ＷＩＮ！" : "ＬＯＯＳ");
        EXPECT_EQ(b.m_banner1.m_text, won ? "作戦目標クリアー" : "作戦失敗");
    }
}

}  // namespace
