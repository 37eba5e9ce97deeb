// The state hash must see every group of values the step reads or writes: a group it misses is
// a divergence between two games that no comparison of hashes would report.
#include "battle_fixture.h"

#include "battle_runner.h"

#include <functional>

namespace {

struct Mutator {
    const char* group;
    std::function<void(CBattle&)> change;
};

TEST_F(BattleTest, EveryFieldGroupChangesTheHash) {
    CBattle& b = *m_battle;
    b.m_robotCount = 2;
    b.BuildRobot(0, 0, ParseBuildCode("36,1,2"));
    b.BuildRobot(1, -1, ParseBuildCode("29,0,1"));
    b.m_projectiles.Launch(Vec3(0, 2, 0), Vec3(0, 0, 1), nullptr, "ショット１", &b.m_robots[0]);
    const Mutator table[] = {
        {"phase", [](CBattle& x) { x.m_phase = kPhaseFight + 1; }},
        {"phase frames", [](CBattle& x) { ++x.m_phaseFrames; }},
        {"over", [](CBattle& x) { x.m_over = 1; }},
        {"result", [](CBattle& x) { x.m_result = 1; }},
        {"clock", [](CBattle& x) { --x.m_clock; }},
        {"frame matrix", [](CBattle& x) { x.m_robots[1].m_frames[kRootFrame].SetPosition(3, 4, 5); }},
        {"target", [](CBattle& x) { x.m_robots[0].m_target = &x.m_robots[0]; }},
        {"aux parts", [](CBattle& x) { x.m_robots[0].m_auxSpeed[1] += 0.5f; }},
        {"twist", [](CBattle& x) { x.m_robots[0].m_twist += 0.25f; }},
        {"pose twist", [](CBattle& x) { x.m_robots[0].m_poseTwist += 0.25f; }},
        {"bank", [](CBattle& x) { x.m_robots[0].m_bank += 0.25f; }},
        {"joint angles", [](CBattle& x) { x.m_robots[0].m_angles[3][1] += 0.25f; }},
        {"joint targets", [](CBattle& x) { x.m_robots[0].m_targetAngles[4][2] += 0.25f; }},
        {"motion", [](CBattle& x) { x.m_robots[1].m_velocity[1] += 0.01; }},
        {"ground", [](CBattle& x) { x.m_robots[1].m_groundHeight += 1; }},
        {"gauges", [](CBattle& x) { x.m_robots[1].m_ep -= 15; }},
        {"counters", [](CBattle& x) { x.m_robots[1].m_invincible = 4; }},
        {"shot slots", [](CBattle& x) { x.m_robots[0].m_shotSlots.slots[1].inUse = true; }},
        {"weapon slots", [](CBattle& x) { x.m_robots[0].m_weapons.slots[0].cost += 5; }},
        {"inputs", [](CBattle& x) { x.m_robots[1].m_padState[3] = 2; }},
        {"action", [](CBattle& x) { x.m_robots[1].m_nextAction = "ジャンプ"; }},
        {"animation", [](CBattle& x) { ++x.m_robots[1].m_animFrame; }},
        {"pose", [](CBattle& x) { ++x.m_robots[1].m_poseFrame; }},
        {"key frames", [](CBattle& x) { ++x.m_robots[1].m_animKeyFrames; }},
        {"rotation order", [](CBattle& x) { x.m_robots[1].m_rotationOrder[2] = 3; }},
        {"mount points", [](CBattle& x) { x.m_robots[1].m_mountPoints[2].x += 0.5f; }},
        {"stats", [](CBattle& x) { x.m_robots[1].m_armour += 1; }},
        {"speeds", [](CBattle& x) { x.m_robots[1].m_jumpSpeed += 0.01; }},
        {"turn sub-mode", [](CBattle& x) { x.m_robots[1].m_turnSubMode[0] = 1; }},
        {"action names", [](CBattle& x) { x.m_robots[1].m_actionNames[9] = "ダッシュ４"; }},
        {"projectile motion", [](CBattle& x) { x.m_projectiles.GetRecord(0).m_flight.SetPosition(9, 9, 9); }},
        {"projectile life", [](CBattle& x) { ++x.m_projectiles.GetRecord(0).m_frame; }},
        {"projectile owner", [](CBattle& x) { x.m_projectiles.GetRecord(0).m_owner = &x.m_robots[1]; }},
        {"projectile state", [](CBattle& x) { x.m_projectiles.GetRecord(0).m_state += "x"; }},
        {"projectile kind", [](CBattle& x) { x.m_projectiles.GetRecord(0).m_homingRange += 1; }},
        {"projectile target", [](CBattle& x) { x.m_projectiles.GetRecord(0).m_targetFrame = &x.m_robots[1].m_frames[0]; }},
        {"slot counts", [](CBattle& x) { x.m_robots[0].m_weapons.capacity -= 1; }},
    };
    ASSERT_FALSE(b.m_projectiles.GetRecord(0).IsFree());
    for (const Mutator& m : table) {
        SCOPED_TRACE(m.group);
        uint64_t before = b.HashState();
        EXPECT_EQ(b.HashState(), before);  // reading the hash changes nothing
        m.change(b);
        EXPECT_NE(b.HashState(), before);
    }
}

}  // namespace
