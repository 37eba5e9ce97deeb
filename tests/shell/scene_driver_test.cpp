// The scene driver itself: mouse and typed text reach the engine's input, conditions hold the
// script back, and the pump limit ends a loop that would never end.
#include "frame_loop.h"

#include "input.h"
#include "scene_driver.h"
#include "test_folder.h"

#include <gtest/gtest.h>

namespace {

class SceneDriverTest : public ::testing::Test {
protected:
    CTestFolder folder;
    CSceneDriver driver;
    void SetUp() override { ASSERT_EQ(driver.Start(), 1) << driver.Log(); }
};

TEST_F(SceneDriverTest, MouseAndTypedTextReachTheFramesInput) {
    driver.MouseMove(100, 200).Click(0).Type("a");
    std::vector<int> buttons, xs;
    int typed = 0, frames = 0;
    RunFrameLoop([&] { return frames >= 5; },
                 [&] {
                     buttons.push_back(GetMouseButton(0));
                     xs.push_back(GetMouseX());
                     if (int c = GetTypedChar()) typed = c;
                     ++frames;
                     return 1;
                 });
    EXPECT_EQ(xs[0], 100);
    EXPECT_EQ(buttons[1], kButtonPressed);
    EXPECT_EQ(buttons[2], kButtonReleased);
    EXPECT_EQ(typed, 'a');
}

TEST_F(SceneDriverTest, ConditionsHoldTheScriptAndTheLimitEndsAStuckLoop) {
    int seen = 0, pressedAt = 0, frames = 0;
    driver.WaitFor([&] { return frames >= 7; }).Do([&] { pressedAt = driver.Pumps(); }).Press(kKeyEnter);
    driver.SetPumpLimit(40);
    RunFrameLoop([] { return false; },
                 [&] {
                     ++frames;
                     if (GetKeyStatus(kKeyEnter) == kButtonPressed) seen = frames;
                     return 1;
                 });
    EXPECT_EQ(pressedAt, 8);
    EXPECT_EQ(seen, 8);
    EXPECT_TRUE(driver.LimitReached());
    EXPECT_EQ(g_quit, 1);
    EXPECT_TRUE(driver.ScriptDone());
}

}  // namespace
