// The staff roll: where each line stands and how opaque it is, which lines are drawn, and the
// four ways it ends (a minute, confirm, Space pressed, Space held).
#include "campaign.h"
#include "scene_fixture.h"
#include "staff_roll.h"

#include "frame_loop.h"

namespace {

using StaffRollTest = SceneTest;

constexpr int kKeySpace = 57;

TEST(StaffRollLines, ClimbOnePixelAFrameFromTheBottomEdgeFortyApart) {
    struct Row {
        int line, frame, y;
    } rows[] = {{0, 0, 480}, {0, 1, 479}, {1, 0, 520}, {29, 0, 1640}, {4, 600, 40}, {29, 1800, -160}};
    for (const Row& r : rows) EXPECT_EQ(StaffRollLineY(r.line, r.frame), r.y) << r.line << " " << r.frame;
}

TEST(StaffRollLines, FadeInAtTheBottomAndOutAtTheTop) {
    struct Row {
        int y;
        uint32_t color;
    } rows[] = {
        {20, 0x33ffffff},  {50, 0x88ffffff},  {99, 0xffffffff},  {100, 0xffffffff}, {200, 0xffffffff},
        {380, 0xffffffff}, {381, 0xffffffff}, {430, 0x88ffffff}, {460, 0x33ffffff},
    };
    for (const Row& r : rows) EXPECT_EQ(StaffRollLineColor(r.y), r.color) << r.y;
}

TEST_F(StaffRollTest, OnlyLinesWithTextInsideTheMarginAreDrawn) {
    CStaffRoll roll;
    EXPECT_EQ(roll.m_lines[0], "ZAU_MOLTA");
    EXPECT_EQ(roll.m_lines[25], "最後までプレイありがとう御座いました");
    EXPECT_EQ(roll.m_lines[29], "ＴＨＥ　ＥＮＤ");
    int credits = 0;
    for (int i : {4, 7, 10, 11, 14, 15, 18, 19, 22}) credits += !roll.m_lines[i].empty();
    EXPECT_EQ(credits, 9);
    struct Row {
        int x, y, line, drawn;
    } rows[] = {
        {200, 19, 0, 0}, {200, 20, 0, 1},  {200, 460, 0, 1}, {200, 461, 0, 0}, {19, 100, 0, 0},  {20, 100, 0, 1},
        {620, 100, 0, 1}, {621, 100, 0, 0}, {200, 100, 1, 0}, {200, 100, 25, 1}, {200, 100, -1, 0}, {200, 100, 30, 0},
    };
    for (const Row& r : rows) EXPECT_EQ(roll.DrawLine(r.x, r.y, r.line), r.drawn) << r.x << "," << r.y << " " << r.line;
    // A drawn line takes the colour of its height.
    roll.DrawLine(200, 50, 4);
    EXPECT_EQ(roll.m_sprites[4].m_color, 0x88ffffffu);
}

TEST_F(StaffRollTest, EndsOnItsOwnAfterAMinute) {
    EndingScene();
    EXPECT_EQ(driver.Pumps(), kStaffRollFrames);
    EXPECT_NE(driver.Log().find("load(bmp\\end2.png) ... ok."), std::string::npos) << driver.Log();
}

TEST_F(StaffRollTest, ConfirmOrSpaceEndsItOnThatFrame) {
    for (int key : {(int)kKeyEnter, kKeySpace}) {
        int pressed = 0;
        driver.Wait(9).Do([&] { pressed = driver.Pumps(); }).Press(key);
        TeamEndingScene();
        EXPECT_GT(pressed, 0);
        EXPECT_EQ(driver.Pumps(), pressed) << key;
    }
}

TEST_F(StaffRollTest, SpaceHeldFromBeforeItStartsEndsItOnTheFirstFrame) {
    // Held, not pressed: the menu's confirm does not see it, the roll's own test does.
    driver.Wait(1).KeyDown(kKeySpace);
    int frames = 0;
    RunFrameLoop([&] { return frames == 3; }, [&] { return ++frames; });
    ASSERT_EQ(GetKeyStatus(kKeySpace), kButtonHeld);
    CStaffRoll roll;
    RunFrameLoop([&] { return roll.IsDone() != 0; },
                 [&] {
                     roll.Update();
                     return 1;
                 });
    EXPECT_EQ(roll.m_frameCount, 1);
}

TEST_F(StaffRollTest, NothingRunsOnceTheQuitFlagIsSet) {
    g_quit = 1;
    EndingScene();
    EXPECT_EQ(driver.Pumps(), 0);
}

}  // namespace
