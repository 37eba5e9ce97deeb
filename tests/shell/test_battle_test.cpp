// The garage's test sortie: the build being assembled against its CPU copy, the lobby served
// once a battle frame, and the way back into the garage's menu.
#include "campaign_fixture.h"
#include "garage.h"
#include "garage_lobby.h"
#include "player_data.h"
#include "robot_presets.h"
#include "test_battle.h"

namespace {

using TestBattleTest = OfflineBattleTest;

struct CCountingLobby : CGarageLobby {
    int updates = 0, draws = 0;
    void UpdateNet() override { ++updates; }
    void DrawStatus() override { ++draws; }
};

TEST_F(TestBattleTest, TheBuildFightsItsCopyWithTheLobbyServedEveryFrame) {
    CCountingLobby lobby;
    CGarage garage;
    garage.m_lobby = &lobby;
    garage.TakeBuild(GetRobotConfigCode("FART-AB"));
    garage.Refresh();  // the robot on show follows the build
    int battleFrames = 0, updatesBefore = 0;
    bool inBattle = false;
    onBattle = [&](CBattle*) {
        inBattle = true;
        updatesBefore = lobby.updates;
    };
    results = {kPlayBattle};
    driver.OnEachPump([&] { battleFrames += inBattle; });
    driver.Wait(45).Quit();
    RunTestBattle(&garage);
    ASSERT_EQ(battles.size(), 1u);
    const SBattleRecord& b = battles[0];
    EXPECT_EQ(b.cpu[0], 0);
    EXPECT_EQ(b.cpu[1], 5);
    EXPECT_EQ(b.clock, 1800);
    EXPECT_EQ(b.parts[0], b.parts[1]);
    EXPECT_EQ(b.parts[0], PartFiles(garage.m_showroom.m_robot));  // the build on show
    EXPECT_GT(battleFrames, 40);
    EXPECT_EQ(lobby.updates - updatesBefore, battleFrames);
    EXPECT_EQ(lobby.draws, 0);  // the battle draws its own screen, without the lobby's panel
}

TEST_F(TestBattleTest, TheGaragesTestSortieComesBackToItsMenu) {
    {
        CPlayerData data;
        data.m_roboData = GetRobotConfigCode("VNA-3");
        ASSERT_EQ(data.Save(), 1);
    }
    CGarage garage;
    driver.Wait(2).Press(kKeyDown).Press(kKeyEnter);  // "テスト出撃"
    driver.WaitFor([&] { return battles.size() == 1; }).Wait(3).Press(kKeyUp).Press(kKeyEnter);  // "Cancel"
    garage.Run();
    EXPECT_TRUE(driver.ScriptDone());
    EXPECT_FALSE(driver.LimitReached());
    ASSERT_EQ(battles.size(), 1u);
    EXPECT_EQ(battles[0].cpu[1], 5);
    EXPECT_EQ(battles[0].parts[0], PartFiles(garage.m_showroom.m_robot));  // the saved build fought
    EXPECT_EQ(g_quit, 0);
}

}  // namespace
