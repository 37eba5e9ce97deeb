// Both campaigns from the title's point of view, with scripted stage results: the robot select
// (once or twice), the chain up to the first lost stage, the staff roll after a won final, the
// title after everything, and "Cancel" or a closed window on the way.
#include "campaign.h"
#include "campaign_fixture.h"
#include "robot_presets.h"
#include "scenes.h"

#include "engine.h"

#include <string>
#include <vector>

namespace {

using CampaignChainTest = OfflineBattleTest;

constexpr int kChainLength = kCampaignStageCount + 1;  // the stages and the final

// The stage's ground mesh, and whether the staff roll came.
std::string Ground(const SBattleRecord& b) { return b.stageMeshes[0]; }
bool RollShown(const CSceneDriver& driver) { return driver.Log().find("load(bmp\\end2.png)") != std::string::npos; }

// The robot select comes after the scene's loading picture; the first model is "DID-03".
void ChooseFirstRobot(CSceneDriver* driver) { driver->Wait(4).Press(kKeyEnter); }
void CancelRobotSelect(CSceneDriver* driver) { driver->Wait(4).Press(kKeyUp).Press(kKeyEnter); }

TEST_F(CampaignChainTest, ALossEndsEitherCampaignAtThatStage) {
    struct Row {
        int team;
        int lostAt;  // 1 to 9
    } rows[] = {{0, 1}, {0, 5}, {1, 9}};
    for (const Row& r : rows) {
        battles.clear();
        results.assign(r.lostAt - 1, kResultWon);
        results.push_back(kResultLost);
        int logBefore = (int)driver.Log().size();
        ChooseFirstRobot(&driver);
        if (r.team) driver.Wait(3).Press(kKeyEnter);
        r.team ? TeamCampaignScene() : SingleCampaignScene();
        EXPECT_TRUE(driver.ScriptDone());
        ASSERT_EQ((int)battles.size(), r.lostAt) << r.team << " " << r.lostAt;
        EXPECT_EQ(driver.Log().find("load(bmp\\end2.png)", logBefore), std::string::npos);
        EXPECT_EQ(g_quit, 0);
    }
}

TEST_F(CampaignChainTest, TheSingleCampaignWonThroughRollsTheCreditsAndReturns) {
    ChooseFirstRobot(&driver);
    driver.WaitFor([&] { return battles.size() == kChainLength; }).Wait(20).Press(kKeyEnter);
    SingleCampaignScene();
    EXPECT_TRUE(driver.ScriptDone());
    EXPECT_FALSE(driver.LimitReached());
    ASSERT_EQ((int)battles.size(), kChainLength);
    // The chain's stages in order, each untimed, then the final of three robots.
    for (int i = 0; i < kCampaignStageCount; ++i) {
        CStage env;
        CMesh meshes[kStageMeshCount];
        uint32_t clear;
        int weather;
        env.LoadStage(kCampaignChain[i].stage, meshes, &clear, &weather);
        EXPECT_EQ(Ground(battles[i]), meshes[0].GetName()) << i;
        EXPECT_EQ(battles[i].robotCount, 2);
        EXPECT_EQ(battles[i].clock, kUntimedClock);
    }
    EXPECT_EQ(battles[8].robotCount, 3);
    EXPECT_TRUE(RollShown(driver));
    for (const SBattleRecord& b : battles) EXPECT_EQ(b.parts[0], battles[0].parts[0]);  // the choice fights on
}

TEST_F(CampaignChainTest, TheTeamCampaignAsksForTheRobotAndThePartner) {
    ChooseFirstRobot(&driver);
    driver.Wait(3).Press(kKeyDown).Wait(3).Press(kKeyEnter);  // "DID-03A" for the partner
    driver.WaitFor([&] { return battles.size() == kChainLength; }).Wait(20).Press(kKeyEnter);
    TeamCampaignScene();
    EXPECT_TRUE(driver.ScriptDone());
    ASSERT_EQ((int)battles.size(), kChainLength);
    EXPECT_EQ(battles[0].robotCount, 4);
    EXPECT_NE(battles[0].parts[0], battles[0].parts[2]);  // DID-03 and DID-03A
    EXPECT_EQ(battles[0].parts[0], battles[5].parts[0]);
    EXPECT_EQ(battles[0].parts[2], battles[8].parts[2]);  // the partner into the final
    EXPECT_TRUE(RollShown(driver));
}

TEST_F(CampaignChainTest, CancelInARobotSelectPlaysNoStage) {
    struct Row {
        int team;
        int cancelAt;  // which robot select: 1 the player's, 2 the partner's
    } rows[] = {{0, 1}, {1, 1}, {1, 2}};
    for (const Row& r : rows) {
        if (r.cancelAt == 2) ChooseFirstRobot(&driver);
        CancelRobotSelect(&driver);
        r.team ? TeamCampaignScene() : SingleCampaignScene();
        EXPECT_TRUE(driver.ScriptDone()) << r.team << r.cancelAt;
        EXPECT_TRUE(battles.empty()) << r.team << r.cancelAt;
        EXPECT_FALSE(RollShown(driver));
    }
}

TEST_F(CampaignChainTest, AWindowClosedInABattleEndsTheCampaign) {
    // The third battle ends with the window closed: undecided, so the chain goes on, but every
    // later scene returns at once.
    int pumpsAtClose = 0;
    onBattle = [&](CBattle*) {
        if (battles.size() < 3) return;
        g_quit = 1;
        pumpsAtClose = driver.Pumps();
    };
    results = {kResultWon, kResultWon, kResultNone};
    ChooseFirstRobot(&driver);
    SingleCampaignScene();
    EXPECT_EQ(battles.size(), 3u);
    EXPECT_FALSE(RollShown(driver));
    EXPECT_GT(pumpsAtClose, 0);
    EXPECT_EQ(driver.Pumps(), pumpsAtClose);  // not another frame of any scene
}

TEST_F(CampaignChainTest, NothingRunsWhenTheQuitFlagIsSet) {
    g_quit = 1;
    SingleCampaignScene();
    TeamCampaignScene();
    EXPECT_EQ(driver.Pumps(), 0);
    EXPECT_TRUE(battles.empty());
}

}  // namespace
