// Menu keys through the whole road: injected keys and joystick entries, the frame loop's pump
// and poll, and CMenuInput firing once on the frame a key goes down.
#include "frame_loop.h"
#include "menu_input.h"

#include "input.h"
#include "scene_driver.h"
#include "test_folder.h"

#include <gtest/gtest.h>

namespace {

constexpr int kKeyS = 31, kKeyF = 33, kKeySpace = 57, kKeyW = 17, kKeyA = 30, kKeyD = 32;

// Runs the frame loop for `frames` frames, recording each frame's menu keys.
struct KeyLog {
    std::vector<int> up, down, left, right, confirm;
};

KeyLog RunMenuKeys(int frames) {
    KeyLog log;
    CMenuInput input;
    int n = 0;
    RunFrameLoop([&] { return n >= frames; },
                 [&] {
                     input.Update();
                     log.up.push_back(input.m_up);
                     log.down.push_back(input.m_down);
                     log.left.push_back(input.m_left);
                     log.right.push_back(input.m_right);
                     log.confirm.push_back(input.m_confirm);
                     ++n;
                     return 1;
                 });
    return log;
}

int Count(const std::vector<int>& v) {
    int c = 0;
    for (int x : v) c += x == kButtonPressed;
    return c;
}

class MenuInputTest : public ::testing::Test {
protected:
    CTestFolder folder;
    CSceneDriver driver;
    void SetUp() override { ASSERT_EQ(driver.Start(), 1) << driver.Log(); }
};

TEST_F(MenuInputTest, EachKeyFiresOnceOnTheFrameItGoesDown) {
    driver.Press(kKeyDown).Press(kKeyUp).Press(kKeyS).Press(kKeyW).Press(kKeyA).Press(kKeyD);
    driver.Press(kKeyLeft).Press(kKeyRight).Press(kKeyEnter).Press(kKeyF).Press(kKeySpace);
    KeyLog log = RunMenuKeys(24);
    EXPECT_TRUE(driver.ScriptDone());
    EXPECT_EQ(Count(log.down), 2);
    EXPECT_EQ(Count(log.up), 2);
    EXPECT_EQ(Count(log.left), 2);
    EXPECT_EQ(Count(log.right), 2);
    EXPECT_EQ(Count(log.confirm), 3);
    // Frame 1 holds the first press; the release frame after it reads 0.
    EXPECT_EQ(log.down[0], kButtonPressed);
    EXPECT_EQ(log.down[1], 0);
    EXPECT_EQ(log.confirm[16], kButtonPressed);
}

TEST_F(MenuInputTest, AHeldKeyFiresOnceAndAgainAfterRelease) {
    driver.KeyDown(kKeyEnter).Wait(10).KeyUp(kKeyEnter).Wait(2).Press(kKeyEnter);
    KeyLog log = RunMenuKeys(20);
    EXPECT_EQ(Count(log.confirm), 2);
    EXPECT_EQ(log.confirm[0], kButtonPressed);
    EXPECT_EQ(log.confirm[14], kButtonPressed);
}

TEST_F(MenuInputTest, JoystickZeroStickAndFirstFourButtons) {
    driver.AttachJoystick().Wait(1);
    for (int entry : {0, 1, 2, 3, 6, 7, 8, 9, 10}) driver.PressJoystick(entry);
    KeyLog log = RunMenuKeys(24);
    ASSERT_TRUE(driver.ScriptDone());
    EXPECT_EQ(Count(log.up), 1);
    EXPECT_EQ(Count(log.down), 1);
    EXPECT_EQ(Count(log.left), 1);
    EXPECT_EQ(Count(log.right), 1);
    EXPECT_EQ(Count(log.confirm), 4);  // button 4 (entry 10) is not a menu key
}

}  // namespace
