// Lock-on targets: automatic cycling through the living enemies, and the manual choice of the
// most frontal enemy refined over the following steps.
#include "battle_fixture.h"

namespace {

class LockOnTest : public BattleTest {
protected:
    // Four robots: 0 and 2 on side A, 1 and 3 on side B; robot 0 at the centre looking to +z.
    void SetUpFour() {
        CBattle& b = *m_battle;
        b.m_robotCount = 4;
        const char* teams[] = {"AL", "BL", "AM", "BM"};
        for (int i = 0; i < 4; ++i) SetRobot(i, teams[i], 100);
        for (int i = 0; i < 4; ++i) b.m_robots[i].m_nextTargetRequest = false;
        PlaceRoot(0, 0, 0);
    }
    void Request(int i) { m_battle->m_robots[i].m_nextTargetRequest = true; }
};

TEST_F(LockOnTest, AutomaticModeCyclesLivingEnemies) {
    SetUpFour();
    CBattle& b = *m_battle;
    b.m_robots[0].m_target = &b.m_robots[1];
    Request(0);
    b.UpdateTargets();
    EXPECT_EQ(TargetOf(0), 3);
    EXPECT_TRUE(b.m_robots[0].m_nextTargetRequest) << "the tracking clears the request, not the battle";
    b.UpdateTargets();
    EXPECT_EQ(TargetOf(0), 1);
    // A destroyed enemy is skipped; with no other living enemy the target stays.
    b.m_robots[3].m_hp = 0;
    b.UpdateTargets();
    EXPECT_EQ(TargetOf(0), 1);
    b.m_robots[1].m_hp = 0;
    b.UpdateTargets();
    EXPECT_EQ(TargetOf(0), 1);
    // No target yet: the first living enemy from slot 0; team-mates and itself never.
    b.m_robots[1].m_hp = 100;
    b.m_robots[0].m_target = nullptr;
    b.UpdateTargets();
    EXPECT_EQ(TargetOf(0), 1);
    b.m_robots[2].m_target = nullptr;
    Request(2);
    b.UpdateTargets();
    EXPECT_EQ(TargetOf(2), 1);
    // Without a request nothing changes.
    b.m_robots[0].m_nextTargetRequest = false;
    b.m_robots[3].m_hp = 100;
    b.UpdateTargets();
    EXPECT_EQ(TargetOf(0), 1);
}

TEST_F(LockOnTest, NoRobotEverTargetsItself) {
    CBattle& b = *m_battle;
    b.m_robotCount = 3;
    SetRobot(0, "AL", 100);
    SetRobot(1, "AM", 100);
    SetRobot(2, "AM", 100);
    for (int i = 0; i < 3; ++i) {
        b.m_robots[i].m_target = nullptr;
        for (bool lockOn : {true, false}) {
            b.m_robots[i].m_lockOn = lockOn;
            Request(i);
            b.UpdateTargets();
            EXPECT_EQ(TargetOf(i), -1) << i << (lockOn ? " auto" : " manual");
        }
    }
}

TEST_F(LockOnTest, ManualModePrefersTheMostFrontalEnemy) {
    SetUpFour();
    CBattle& b = *m_battle;
    CRobot& me = b.m_robots[0];
    me.m_lockOn = false;
    PlaceRoot(1, 0, -5);   // straight behind
    PlaceRoot(3, 3, 5);    // ahead, off to the side
    me.m_target = &b.m_robots[3];
    // An enemy behind is never taken while the current target lives.
    Request(0);
    b.UpdateTargets();
    EXPECT_EQ(TargetOf(0), 3);
    EXPECT_FALSE(me.m_nextTargetRequest);
    // A more frontal enemy is taken, and the request stands for one refinement step.
    PlaceRoot(1, 0.5f, 5);
    Request(0);
    b.UpdateTargets();
    EXPECT_EQ(TargetOf(0), 1);
    EXPECT_TRUE(me.m_nextTargetRequest);
    b.UpdateTargets();
    EXPECT_EQ(TargetOf(0), 1);
    EXPECT_FALSE(me.m_nextTargetRequest);
    // Without a request nothing is chosen.
    PlaceRoot(3, 0, 8);
    b.UpdateTargets();
    EXPECT_EQ(TargetOf(0), 1);
}

TEST_F(LockOnTest, ManualModeReplacesADestroyedTargetThenRefines) {
    SetUpFour();
    CBattle& b = *m_battle;
    b.m_robotCount = 6;
    SetRobot(4, "AM", 100);
    SetRobot(5, "BM", 100);
    CRobot& me = b.m_robots[0];
    me.m_lockOn = false;
    PlaceRoot(1, 0, 5);
    PlaceRoot(3, 0, -5);  // behind
    PlaceRoot(5, 1, 6);   // ahead, nearly straight
    me.m_target = &b.m_robots[1];
    b.m_robots[1].m_hp = 0;
    Request(0);
    b.UpdateTargets();
    // The destroyed target loses to the first living enemy in slot order; the behind one
    // (slot 3) is then compared against it and stays out.
    EXPECT_EQ(TargetOf(0), 5) << "slot 3 taken first, then slot 5 is more frontal than 3";
    EXPECT_TRUE(me.m_nextTargetRequest);
    b.UpdateTargets();
    EXPECT_EQ(TargetOf(0), 5);
    EXPECT_FALSE(me.m_nextTargetRequest);
}

TEST_F(LockOnTest, ManualModeWithoutATargetTakesTheFirstEnemy) {
    SetUpFour();
    CBattle& b = *m_battle;
    CRobot& me = b.m_robots[0];
    me.m_lockOn = false;
    me.m_target = nullptr;
    PlaceRoot(1, 0, -5);  // behind
    PlaceRoot(3, 0, 5);   // ahead
    Request(0);
    b.UpdateTargets();
    // Slot 1 first (no target to compare with), then slot 3 beats it by being ahead.
    EXPECT_EQ(TargetOf(0), 3);
    EXPECT_TRUE(me.m_nextTargetRequest);
    // A target that is not one of the battle's robots counts as none.
    CRobot stranger;
    me.m_target = &stranger;
    PlaceRoot(1, 0, 5);
    PlaceRoot(3, 4, 5);
    b.UpdateTargets();
    EXPECT_EQ(TargetOf(0), 1);
}

}  // namespace
