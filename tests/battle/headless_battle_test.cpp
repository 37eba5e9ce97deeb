// Whole battles without a person: CPU robots on stage 1 run to a result, the same battle gives
// the same state hash after every frame, and drawing changes nothing of the simulation.
#include "battle_runner.h"
#include "scene_driver.h"
#include "test_folder.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

class HeadlessBattleTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(m_driver.Start(), 1);
        ASSERT_EQ(m_driver.UseGameAssets(), 1);
    }
    // Two robots of different types, or six, all CPU opponents.
    static SBattleSetup Setup(int robots, int clock) {
        SBattleSetup s;
        s.stage = 1;
        s.robotCount = robots;
        const char* builds[kMaxRobots] = {"36,1,2", "29,0,1", "9,2,3", "21,1,0", "31,3,4", "32,0,2"};
        for (int i = 0; i < robots; ++i) {
            s.codes[i] = ParseBuildCode(builds[i]);
            s.cpuTypes[i] = -1;
        }
        s.clock = clock;
        s.seed = 7;
        return s;
    }
    static std::vector<uint64_t> Hashes(const SBattleSetup& s, SBattleOutcome* out) {
        std::vector<uint64_t> hashes;
        EXPECT_EQ(RunHeadlessBattle(s, out, [&](int, uint64_t h) { hashes.push_back(h); }), 1);
        return hashes;
    }
    CTestFolder m_folder;
    CSceneDriver m_driver;
};

TEST_F(HeadlessBattleTest, CpuBattleOnStageOneReachesAResult) {
    SBattleSetup s = Setup(2, 1800);
    SBattleOutcome out;
    ASSERT_EQ(RunHeadlessBattle(s, &out), 1);
    EXPECT_TRUE(out.result == 3 || out.result == 4) << out.result;
    // Intro, fight, finish and ending each take their frames.
    EXPECT_GT(out.steps, 90 + 120 + 150);
    EXPECT_LT(out.steps, s.stepLimit);
}

TEST_F(HeadlessBattleTest, SameBattleSameHashesEveryFrame) {
    SBattleSetup s = Setup(6, 240);
    SBattleOutcome a, b;
    std::vector<uint64_t> first = Hashes(s, &a), second = Hashes(s, &b);
    ASSERT_EQ(first.size(), second.size());
    for (size_t i = 0; i < first.size(); ++i) ASSERT_EQ(first[i], second[i]) << "frame " << i + 1;
    EXPECT_EQ(a.hash, b.hash);
    EXPECT_EQ(a.result, b.result);
    // The hash follows the world: frames differ from one another.
    EXPECT_NE(first[10], first[200]);
}

TEST_F(HeadlessBattleTest, DrawingLeavesTheSimulationAlone) {
    SBattleSetup s = Setup(6, 150);
    SBattleOutcome plain, drawn;
    std::vector<uint64_t> without = Hashes(s, &plain);
    s.draw = 1;
    std::vector<uint64_t> with = Hashes(s, &drawn);
    ASSERT_EQ(without.size(), with.size());
    for (size_t i = 0; i < with.size(); ++i) ASSERT_EQ(without[i], with[i]) << "frame " << i + 1;
}

TEST_F(HeadlessBattleTest, StepLimitStopsWithoutAResult) {
    SBattleSetup s = Setup(2, -1);
    s.stepLimit = 50;
    SBattleOutcome out;
    ASSERT_EQ(RunHeadlessBattle(s, &out), 1);
    EXPECT_EQ(out.steps, 50);
    EXPECT_EQ(out.result, 0);
    s.robotCount = 0;
    EXPECT_EQ(RunHeadlessBattle(s, &out), 0);
}

TEST(BuildCodeText, NumbersOrHexDigits) {
    std::string fromNumbers = ParseBuildCode("36,1,2");
    ASSERT_EQ(fromNumbers.size(), 8u);
    std::string hex;
    for (unsigned char c : fromNumbers) {
        char buf[3];
        snprintf(buf, sizeof buf, "%02x", c);
        hex += buf;
    }
    EXPECT_EQ(ParseBuildCode(hex), fromNumbers);
    EXPECT_NE(ParseBuildCode("29,1,2"), fromNumbers);
    for (const char* bad : {"", "36,,2", "36,x", "0123456789abcdeg", "1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16"})
        EXPECT_EQ(ParseBuildCode(bad), "") << bad;
}

}  // namespace
