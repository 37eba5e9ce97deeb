// Whole battles: six CPU robots of every family (pursuers, wanderers, hunters, duellists) on two
// stages, recorded with their opponents thinking inside the step and replayed from the keys
// alone, three steps or a seeded mix a frame: the same hash after every tick, the same result
// on the same step.
#include "lockstep_fixture.h"

namespace {

struct BattleRow {
    int stage;
    int cpuTypes[kMaxRobots];
    const char* schedule;
};

TEST_F(LockstepTest, WholeBattlesOfEveryCpuFamilyReplayToTheSameResult) {
    const BattleRow rows[] = {
        {1, {-3, 1, 3, 5, 7, 20}, "mix:21"},
        {2, {-1, 2, 4, 6, 5, 3}, "3"},
    };
    for (const BattleRow& row : rows) {
        SCOPED_TRACE("stage " + std::to_string(row.stage));
        CPadRecord record;
        const SRunStream live = RecordBattle(Setup(row.stage, kMaxRobots, row.cpuTypes, 450), &record);
        ASSERT_TRUE(live.result == kResultWon || live.result == kResultLost) << live.result;
        ASSERT_EQ(record.m_endSteps, live.steps);
        CStepSchedule s;
        ASSERT_EQ(s.Parse(row.schedule), 1);
        const SRunStream replay = Replay(record, s);
        ExpectSameStream(live, replay);
        EXPECT_EQ(LastStepHash(replay), record.m_endHash);
        // The battle was worth replaying: robots fought (someone lost HP) and fired.
        int hit = 0;
        Replay(record, CStepSchedule(3), nullptr, nullptr, [&](const STick& t, CBattle& b) {
            if (t.kind != kTickStep || t.number != live.steps) return;
            for (int i = 0; i < kMaxRobots; ++i) hit += b.m_robots[i].m_hp < b.m_robots[i].m_maxHp;
        });
        EXPECT_GT(hit, 0);
    }
}

}  // namespace
