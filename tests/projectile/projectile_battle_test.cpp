// A whole minute of a two-robot CPU battle, every projectile pass in battle order: it runs clean
// (also under the sanitizers) and two runs give the same state hash after every frame.
#include "battle_runner.h"
#include "scene_driver.h"
#include "test_folder.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

TEST(ProjectileBattle, TwoCpuRobotsFightAMinuteAlikeTwice) {
    CTestFolder folder;  // the asset links and anything the battle writes stay private
    CSceneDriver driver;
    ASSERT_EQ(driver.Start(), 1);
    ASSERT_EQ(driver.UseGameAssets(), 1);
    SBattleSetup s;
    s.stage = 1;
    s.robotCount = 2;
    s.codes[0] = ParseBuildCode("36,1,2");
    s.codes[1] = ParseBuildCode("9,2,3");
    s.cpuTypes[0] = s.cpuTypes[1] = -1;
    s.clock = -1;  // untimed: the whole minute is fought
    s.stepLimit = 1800;
    s.seed = 11;
    std::vector<uint64_t> runs[2];
    for (std::vector<uint64_t>& hashes : runs) {
        SBattleOutcome out;
        ASSERT_EQ(RunHeadlessBattle(s, &out, [&](int, uint64_t h) { hashes.push_back(h); }), 1);
    }
    ASSERT_EQ(runs[0].size(), runs[1].size());
    ASSERT_FALSE(runs[0].empty());
    for (size_t i = 0; i < runs[0].size(); ++i) ASSERT_EQ(runs[0][i], runs[1][i]) << "frame " << i + 1;
}

}  // namespace
