// The state dump names what the state hash sees: each change of one field shows in the hash and
// as the first differing dump line with that field's name; frames in phase count only where
// every game runs the same frames; and the comparison of two dumps reports their first
// difference, or none.
#include "battle_fixture.h"

#include "battle_runner.h"
#include "state_dump.h"

#include <functional>

namespace {

struct Change {
    std::function<void(CBattle&)> apply;
    const char* field;
};

TEST_F(BattleTest, EachChangeShowsInTheHashAndNamesItsField) {
    CBattle& b = *m_battle;
    b.m_robotCount = 2;
    b.BuildRobot(0, 0, ParseBuildCode("36,1,2"));
    b.BuildRobot(1, -1, ParseBuildCode("29,0,1"));
    b.m_projectiles.Launch(Vec3(0, 2, 0), Vec3(0, 0, 1), nullptr, "ショット１", &b.m_robots[0]);
    const int busy = b.m_projectiles.GetCursor();
    std::string p = "projectile[";
    p += std::to_string(busy);
    p += "].";
    const Change changes[] = {
        {[](CBattle& x) { x.m_clock -= 1; }, "clock"},
        {[](CBattle& x) { x.m_result = 3; }, "result"},
        {[](CBattle& x) { x.m_robots[1].m_frames[3].m_matrix.m[2][1] += 0.5f; }, "robot[1].frame[3].row2"},
        {[](CBattle& x) { x.m_robots[0].m_target = nullptr; }, "robot[0].target"},
        {[](CBattle& x) { x.m_robots[1].m_angles[2][2] += 0.5f; }, "robot[1].angles[8]"},
        {[](CBattle& x) { x.m_robots[0].m_velocity[2] += 1e-9; }, "robot[0].velocity[2]"},
        {[](CBattle& x) { x.m_robots[1].m_hp -= 1; }, "robot[1].hp"},
        {[](CBattle& x) { x.m_robots[0].m_shotSlots.slots[2].offset.y += 1; }, "robot[0].shot[2].offset"},
        {[](CBattle& x) { x.m_robots[0].m_shotSlots.count = 3; }, "robot[0].shotSlotCount"},
        {[](CBattle& x) { x.m_robots[0].m_weapons.slots[1].ammo += 1; }, "robot[0].weapon[1].ammo"},
        {[](CBattle& x) { x.m_robots[1].m_weapons.capacity = 4; }, "robot[1].weaponCapacity"},
        {[](CBattle& x) { x.m_robots[1].m_padState[7] = 3; }, "robot[1].padState[7]"},
        {[](CBattle& x) { x.m_robots[0].m_currentAction = "ジャンプ"; }, "robot[0].currentAction"},
        {[](CBattle& x) { x.m_robots[0].m_poseTwist += 0.5f; }, "robot[0].poseTwist"},
        {[](CBattle& x) { x.m_robots[1].m_mountPoints[6].z += 1; }, "robot[1].mountPoint[6]"},
        {[](CBattle& x) { x.m_robots[1].m_actionNames[3] = "歩行４"; }, "robot[1].actionName[3]"},
        {[busy](CBattle& x) { x.m_projectiles.GetRecord(busy).m_frame += 1; }, "frame"},
        {[busy](CBattle& x) { x.m_projectiles.GetRecord(busy).m_owner = &x.m_robots[1]; }, "owner"},
        {[busy](CBattle& x) { x.m_projectiles.GetRecord(busy).m_targetFrame = &x.m_robots[1].m_frames[2]; },
         "targetFrame[0]"},
        // The kind's values, read by flight and hits though set from the label at launch.
        {[busy](CBattle& x) { x.m_projectiles.GetRecord(busy).m_turnRate += 0.01f; }, "turnRate"},
        {[busy](CBattle& x) { x.m_projectiles.GetRecord(busy).m_blastRadius += 1; }, "blastRadius"},
        {[busy](CBattle& x) { x.m_projectiles.GetRecord(busy).m_explosive ^= 1; }, "explosive"},
        {[busy](CBattle& x) { x.m_projectiles.GetRecord(busy).m_hitMode += 1; }, "hitMode"},
    };
    for (const Change& c : changes) {
        std::string field = c.field;
        if (field.find('.') == std::string::npos && field != "clock" && field != "result") field = p + field;
        SCOPED_TRACE(field);
        const uint64_t hash = b.HashState();
        const std::string before = DumpState(b);
        EXPECT_EQ(DumpState(b), before) << "dumping changes nothing";
        c.apply(b);
        EXPECT_NE(b.HashState(), hash);
        SDumpDifference d;
        ASSERT_EQ(FindFirstDifference(before, DumpState(b), &d), 1);
        EXPECT_EQ(d.field, field);
        EXPECT_NE(d.first, d.second);
    }
}

TEST_F(BattleTest, FramesInPhaseCountOnlyWhereEveryGameRunsTheSameFrames) {
    CBattle& b = *m_battle;
    b.m_robotCount = 1;
    const struct {
        int phase;
        bool counts;
    } rows[] = {{kPhaseIntro, true},       {kPhaseFight, false}, {kPhasePlain, false}, {kPhaseFreeCamera, false},
                {kPhaseFinish, true},      {kPhaseWon, true},    {kPhaseLost, true},   {kPhaseHook, true}};
    for (const auto& r : rows) {
        SCOPED_TRACE(r.phase);
        b.m_phase = r.phase;
        b.m_phaseFrames = 4;
        const uint64_t hash = b.HashState();
        b.m_phaseFrames = 5;
        EXPECT_EQ(b.HashState() != hash, r.counts);
    }
}

TEST(StateDumpTest, FirstDifferenceOfTwoDumps) {
    struct Row {
        const char* a;
        const char* b;
        int differs;
        const char* field;
        const char* first;
        const char* second;
    };
    const Row rows[] = {
        {"x = 1\ny = 2\n", "x = 1\ny = 2\n", 0, "", "", ""},
        {"", "", 0, "", "", ""},
        {"x = 1\ny = 2\n", "x = 1\ny = 3\n", 1, "y", "2", "3"},
        {"x = 1\ny = 2\nz = 4\n", "x = 0\ny = 3\n", 1, "x", "1", "0"},
        {"x = 1\ny = 2\n", "x = 1\n", 1, "y", "2", "(none)"},
        {"x = 1\n", "x = 1\ny = 2\n", 1, "y", "(none)", "2"},
        {"x = 1\np[3].s = 0\n", "x = 1\np[4].s = 0\n", 1, "p[3].s", "0", "p[4].s = 0"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(std::string(r.a) + "|" + r.b);
        SDumpDifference d;
        ASSERT_EQ(FindFirstDifference(r.a, r.b, &d), r.differs);
        if (!r.differs) continue;
        EXPECT_EQ(d.field, r.field);
        EXPECT_EQ(d.first, r.first);
        EXPECT_EQ(d.second, r.second);
    }
}

}  // namespace
