// Lockstep: the simulation step is a pure function of the battle's set-up and the pads. A
// battle whose pads are recorded step by step is replayed from the recording alone, with a
// different random seed and no CPU opponents thinking, and must hash alike after every step.
#include "battle_fixture.h"

#include "battle_runner.h"
#include "camera.h"
#include "sys_rand.h"

#include <algorithm>

#include <vector>

namespace {

constexpr int kRobots = 4;
constexpr int kSteps = 300;

struct Record {
    int values[kMaxRobots][kPadSlots];
    uint64_t hash;
};

std::unique_ptr<CBattle> MakeFight() {
    auto b = std::make_unique<CBattle>();
    b->m_drawEnabled = 0;
    b->m_robotCount = kRobots;
    b->m_clock = -1;
    const char* builds[kRobots] = {"36,1,2", "29,0,1", "9,2,3", "21,1,0"};
    for (int i = 0; i < kRobots; ++i) b->BuildRobot(i, i == 0 ? 0 : -1, ParseBuildCode(builds[i]));
    b->LoadStage(1);
    while (b->m_phase == kPhaseIntro) b->Run();
    return b;
}

// Buttons that make robots walk, turn, boost and fire, changing every few steps; each value
// goes through its four states as a player's would.
int ScriptedButton(int step, int slot, int button) {
    int period = 7 + 3 * slot + button;
    bool down = ((step + slot * 5) / period + button) % 3 == 0;
    bool before = ((step - 1 + slot * 5) / period + button) % 3 == 0;
    return (down ? 2 : 0) + (before ? 1 : 0);
}

TEST_F(BattleTest, RecordedPadsReplayToTheSameHashes) {
    m_battle.reset();
    std::vector<Record> records;
    int busiest = 0;
    Vec3 start, end;
    {
        GameSrand(11);
        std::unique_ptr<CBattle> live = MakeFight();
        start = live->m_robots[0].m_frames[kRootFrame].GetWorldPosition();
        for (int s = 1; s <= kSteps && live->m_phase == kPhaseFight; ++s) {
            live->GatherPads();
            for (int i = 0; i < 2; ++i)
                for (int k = 0; k < kPadSlots; ++k) live->m_slotPads[i].m_values[k] = ScriptedButton(s, i, k);
            Record r;
            for (int i = 0; i < kMaxRobots; ++i)
                for (int k = 0; k < kPadSlots; ++k) r.values[i][k] = live->m_slotPads[i].m_values[k];
            live->SimulateStep();
            r.hash = live->HashState();
            records.push_back(r);
            busiest = std::max(busiest, live->m_projectiles.CountBusy());
        }
        end = live->m_robots[0].m_frames[kRootFrame].GetWorldPosition();
    }
    ASSERT_GT(records.size(), 100u);
    EXPECT_NE(records.front().hash, records.back().hash);
    // The recording is worth replaying: the scripted robot moved and something was launched.
    EXPECT_GT(GetDistanceVec(start, end), 1.0f);
    EXPECT_GT(busiest, 0);

    // The last intro frame already runs one fight step, CPU opponents thinking, so the replay's
    // set-up starts from the same seed; only then does the generator change.
    GameSrand(11);
    std::unique_ptr<CBattle> replay = MakeFight();
    GameSrand(12345);  // nothing in the simulation may draw from the generator
    for (size_t s = 0; s < records.size(); ++s) {
        for (int i = 0; i < kMaxRobots; ++i)
            for (int k = 0; k < kPadSlots; ++k) replay->m_slotPads[i].m_values[k] = records[s].values[i][k];
        replay->SimulateStep();
        ASSERT_EQ(replay->HashState(), records[s].hash) << "step " << s + 1;
    }
}

}  // namespace
