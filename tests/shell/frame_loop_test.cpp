// The shell's two loop shapes: scene loops block while inactive, battle loops keep running
// their battle and pace themselves by its frame skip; a closed window ends both.
#include "frame_loop.h"

#include "fake_clock.h"
#include "input.h"
#include "scene_driver.h"
#include "test_folder.h"

#include <gtest/gtest.h>

namespace {

class FrameLoopTest : public ::testing::Test {
protected:
    CTestFolder folder;
    CSceneDriver driver;
    void SetUp() override { ASSERT_EQ(driver.Start(), 1) << driver.Log(); }
};

TEST_F(FrameLoopTest, ClosedWindowEndsTheLoopWithTheQuitFlag) {
    driver.Wait(3).Quit();
    int frames = 0;
    RunFrameLoop([] { return false; }, [&] { return ++frames, 1; });
    EXPECT_EQ(g_quit, 1);
    EXPECT_FALSE(driver.LimitReached());
    EXPECT_LE(frames, 5);
}

TEST_F(FrameLoopTest, InactiveWindowBlocksFramesUntilTheFocusReturns) {
    driver.Wait(2).Focus(0).Wait(10).Focus(1);
    int frames = 0;
    RunFrameLoop([&] { return frames >= 10; }, [&] { return ++frames, 1; });
    // Ten pumps passed without a frame while the window had no focus.
    EXPECT_EQ(driver.Pumps(), 10 + 11);
}

TEST_F(FrameLoopTest, BattleLoopRunsWhileInactiveWithoutReadingInput) {
    driver.Wait(2).Focus(0).Press(kKeyEnter).Wait(3).Focus(1).Wait(2).Quit();
    int frames = 0, pressed = 0;
    unsigned sleptBefore = FakeClock::slept;
    RunBattleLoop([] { return false; },
                  [&] {
                      ++frames;
                      pressed += GetKeyStatus(kKeyEnter) == kButtonPressed;
                      return 1;
                  },
                  [] { return 1; });  // skipping every frame: a 1 ms yield per pass
    EXPECT_EQ(g_quit, 1);
    EXPECT_EQ(frames, driver.Pumps());  // every pass ran the battle, focus or not
    EXPECT_EQ(pressed, 0);              // the key came and went while inactive
    EXPECT_EQ(FakeClock::slept - sleptBefore, (unsigned)frames);
}

TEST_F(FrameLoopTest, BattleLoopEndsWhenTheBattleIsOver) {
    int frames = 0;
    RunBattleLoop([&] { return frames >= 4; }, [&] { return ++frames; }, [] { return 0; });
    EXPECT_EQ(frames, 4);
    EXPECT_EQ(g_quit, 0);
    EXPECT_GE(FakeClock::slept, 3u * 33u);  // no skipping: paced at full periods
}

}  // namespace
