// Robot select under the scene driver: what it returns for a model, "_LOAD_", "Cancel" and
// quit; the preview is rebuilt only once the cursor has rested for twenty frames; a picture of
// the screen resting on a model.
#include "robot_presets.h"

#include "scene_fixture.h"

#include "player_data.h"

#include <string>

#ifndef SCREENSHOT_DIR
#error "SCREENSHOT_DIR names the folder for saved frames"
#endif

namespace {

// Every robot build loads the shadow once.
int Builds(const std::string& log) { return CountOf(log, "load(Shadow.x)"); }

class RobotSelect : public SceneTest {
protected:
    void Down(int n) {
        for (int i = 0; i < n; ++i) driver.Press(kKeyDown);
    }
};

TEST_F(RobotSelect, ReturnsTheCodeUnderTheCursor) {
    CPlayerData saved;
    saved.m_roboData = GetRobotConfigCode("VNA-3");
    ASSERT_EQ(saved.Save(), 1);
    struct Case {
        int downs;  // -1: up onto "Cancel"
        std::string expected;
    };
    const Case cases[] = {
        {0, GetRobotConfigCode("DID-03")},
        {8, GetRobotConfigCode("FART-AB")},
        {11, GetRobotConfigCode("RODUDED")},
        {12, saved.m_roboData},  // "_LOAD_"
        {20, saved.m_roboData},  // the cursor stops on the last item
        {-1, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.downs);
        if (c.downs < 0) driver.Press(kKeyUp);
        Down(c.downs);
        driver.Press(kKeyEnter);
        EXPECT_EQ(RobotSelectScene(), c.expected);
        EXPECT_TRUE(driver.ScriptDone());
    }
}

TEST_F(RobotSelect, QuitReturnsNothing) {
    driver.Wait(5).Quit();
    EXPECT_EQ(RobotSelectScene(), "");
    EXPECT_NE(g_quit, 0);
    // Entered with the quit flag set, it builds nothing.
    const int before = Builds(driver.Log());
    EXPECT_EQ(RobotSelectScene(), "");
    EXPECT_EQ(Builds(driver.Log()), before);
}

TEST_F(RobotSelect, ThePreviewFollowsOnlyARestingCursor) {
    // One build on entry. Then scrolling with 10 frames between presses never rests 20.
    std::vector<int> builds;
    int lastPress = 0;
    driver.OnEachPump([&] { builds.push_back(Builds(driver.Log())); });
    for (int i = 0; i < 8; ++i) driver.Wait(9).Do([&] { lastPress = driver.Pumps(); }).Press(kKeyDown);
    driver.Wait(40);
    ScreenImage shot;
    driver.Capture(&shot).Press(kKeyEnter);
    EXPECT_EQ(RobotSelectScene(), GetRobotConfigCode("FART-AB"));
    ASSERT_GT((int)builds.size(), lastPress + 30);
    // The sample at pump n shows the builds of the frames before it. The frame of the last
    // press counts 1, so the 20th frame is the one at pump lastPress + 19.
    for (int pump = 1; pump <= (int)builds.size(); ++pump) {
        const int expected = pump <= lastPress + 19 ? 1 : 2;
        ASSERT_EQ(builds[pump - 1], expected) << "pump " << pump << ", last press at pump " << lastPress;
    }
    ASSERT_EQ(shot.SavePng(SCREENSHOT_DIR "/robot_select_fart_ab.png"), 1);
}

}  // namespace
