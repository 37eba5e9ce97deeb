// The one offline battle path: the sortie's set-up, the frame loop with its per-frame call, the
// quit flag, and real battles of the first stage and the sortie played with keys until the
// window closes.
#include "campaign.h"
#include "campaign_fixture.h"
#include "robot_presets.h"

#include "engine.h"

namespace {

using OfflineBattleSetupTest = OfflineBattleTest;
using OfflineBattlePlayTest = SceneTest;

// The default bindings of the pad: W forward, F the right-hand weapon, Q and E turn.
constexpr int kKeyForward = 17, kKeyFire = 33, kKeyTurnLeft = 16;

TEST_F(OfflineBattleSetupTest, TheSortieIsTheBuildAgainstItsOwnCopyOnTheClock) {
    std::string code = GetRobotConfigCode("VNA-3");
    SOfflineBattle sortie = SortieBattle(code);
    EXPECT_EQ(RunOfflineBattle(sortie), kResultWon);  // the hook's answer
    ASSERT_EQ(battles.size(), 1u);
    const SBattleRecord& b = battles[0];
    EXPECT_EQ(b.robotCount, 2);
    EXPECT_EQ(b.clock, 1800);
    EXPECT_EQ(b.mission, "敵勢力撃滅");
    EXPECT_EQ(b.stageMeshes[0], "map05-1.x");  // stage 1
    EXPECT_EQ(b.cpu[0], 0);
    EXPECT_EQ(b.cpu[1], 5);
    EXPECT_EQ(b.team[0], "AL");
    EXPECT_EQ(b.team[1], "BL");
    EXPECT_EQ(b.target[0], 1);
    EXPECT_EQ(b.target[1], 0);
    EXPECT_EQ(b.parts[0], b.parts[1]);
    EXPECT_NE(b.parts[0].find(".x;"), std::string::npos);  // built, both from the same code
    // The copy in dark red over bright red; the player's robot in its own paint (channel 7 is 1.0).
    EXPECT_FLOAT_EQ(b.mainPaint[1].r, 1 / 16.0f);
    EXPECT_FLOAT_EQ(b.mainPaint[1].g, 0);
    EXPECT_FLOAT_EQ(b.subPaint[1].r, 15 / 16.0f);
    EXPECT_FLOAT_EQ(b.subPaint[1].b, 0);
    EXPECT_FLOAT_EQ(b.mainPaint[0].r, 1.0f);
    EXPECT_FLOAT_EQ(b.subPaint[0].g, 0.5f);  // VNA-3's sub colour 7 3 3
}

TEST_F(OfflineBattleSetupTest, EveryBattleShowsTheLoadingPictureFirst) {
    RunOfflineBattle(SortieBattle(GetRobotConfigCode("DID-03")));
    EXPECT_EQ(driver.Pumps(), 2);
    EXPECT_NE(driver.Log().find("load(bmp\\load0"), std::string::npos);
}

TEST_F(OfflineBattleSetupTest, SlotsOutsideTheBattleAreNeitherPlacedNorAimedNorOverwritten) {
    SOfflineBattle setup = SortieBattle(GetRobotConfigCode("DID-03"));
    setup.placedSlot = 2;  // only two robots in play
    setup.placedAt = Vec3(9, 9, 9);
    setup.slots[0].target = 4;
    setup.overrideSlot = 3;
    setup.stats.maxEp = 1;
    RunOfflineBattle(setup);
    ASSERT_EQ(battles.size(), 1u);
    EXPECT_FLOAT_EQ(battles[0].position[2].x, 1.0f);  // still at its start
    EXPECT_EQ(battles[0].target[0], 1);
    EXPECT_NE(battles[0].maxEp[3], 1);
}

TEST_F(OfflineBattleSetupTest, AfterFrameRunsOnceForEveryBattleFrame) {
    int frames = 0, calls = 0;
    bool inBattle = false;
    onBattle = [&](CBattle*) { inBattle = true; };
    results = {kPlayBattle};
    driver.OnEachPump([&] { frames += inBattle; });
    SOfflineBattle sortie = SortieBattle(GetRobotConfigCode("DID-03"));
    sortie.afterFrame = [&] { ++calls; };
    driver.Wait(40).Quit();
    EXPECT_EQ(RunOfflineBattle(sortie), kResultNone);  // undecided when the window closed
    EXPECT_EQ(g_quit, 1);
    EXPECT_GT(frames, 30);
    EXPECT_EQ(calls, frames);
}

TEST_F(OfflineBattleSetupTest, NothingIsBuiltOnceTheQuitFlagIsSet) {
    g_quit = 1;
    EXPECT_EQ(RunOfflineBattle(SortieBattle(GetRobotConfigCode("DID-03"))), kResultNone);
    EXPECT_TRUE(battles.empty());
    EXPECT_EQ(driver.Pumps(), 0);
}

// A few hundred frames of a real battle: the intro, then walking, turning and firing.
void PlayAndClose(CSceneDriver* driver) {
    driver->Wait(100).KeyDown(kKeyForward).Wait(60).KeyDown(kKeyTurnLeft).Wait(20).KeyUp(kKeyTurnLeft);
    for (int i = 0; i < 8; ++i) driver->Press(kKeyFire).Wait(8);
    driver->KeyUp(kKeyForward).Wait(60).Quit();
}

TEST_F(OfflineBattlePlayTest, TheFirstSingleStagePlaysUntilTheWindowCloses) {
    PlayAndClose(&driver);
    CCampaign c;
    SetupSingleStage(&c, 0);
    EXPECT_TRUE(driver.ScriptDone());
    EXPECT_FALSE(driver.LimitReached());
    EXPECT_EQ(g_quit, 1);
    EXPECT_EQ(c.m_result, kResultNone);
    EXPECT_GT(driver.Pumps(), 300);
}

TEST_F(OfflineBattlePlayTest, TheSortiePlaysUntilTheWindowCloses) {
    PlayAndClose(&driver);
    int calls = 0;
    SOfflineBattle sortie = SortieBattle(GetRobotConfigCode("FART-AB"));
    sortie.afterFrame = [&] { ++calls; };
    RunOfflineBattle(sortie);
    EXPECT_TRUE(driver.ScriptDone());
    EXPECT_EQ(g_quit, 1);
    EXPECT_EQ(calls, driver.Pumps() - 2);  // every pass but the loading picture's two
}

}  // namespace
