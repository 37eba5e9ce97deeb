// CMenu: item limit, cursor rules, the slide-in of its strips and what a frame of it shows.
#include "menu.h"
#include "scene_fixture.h"

#include "graphics.h"

namespace {

using MenuTest = SceneTest;

void DrawFrames(CMenu* menu, int frames) {
    for (int i = 0; i < frames; ++i) {
        ASSERT_EQ(BeginFrame(0xff000000), 1);
        menu->Draw();
        EndFrame();
    }
}

TEST_F(MenuTest, HoldsNineteenItemsBesideCancel) {
    CMenu menu;
    EXPECT_EQ(menu.m_cursor, 1);
    EXPECT_EQ(menu.m_count, 0);
    EXPECT_EQ(menu.m_items[0].m_text, "Cancel");
    for (int i = 1; i <= 25; ++i) menu.AddItem("item" + std::to_string(i));
    EXPECT_EQ(menu.m_count, 19);
    EXPECT_EQ(menu.m_items[19].m_text, "item19");
    for (int i = 0; i < 30; ++i) menu.CursorNext();
    EXPECT_EQ(menu.m_cursor, 19);
    EXPECT_EQ(menu.GetSelectedText(), "item19");
}

TEST_F(MenuTest, CursorClampsAtBothEndsWithoutWrapping) {
    CMenu menu;
    menu.CursorNext();  // no items: the cursor stays beyond the count
    EXPECT_EQ(menu.m_cursor, 1);
    for (const char* t : {"A", "B", "C"}) menu.AddItem(t);
    menu.CursorNext();
    menu.CursorNext();
    menu.CursorNext();
    EXPECT_EQ(menu.m_cursor, 3);
    EXPECT_EQ(menu.GetSelectedText(), "C");
    for (int i = 0; i < 5; ++i) menu.CursorPrev();
    EXPECT_EQ(menu.m_cursor, 0);
    EXPECT_EQ(menu.GetSelectedText(), "");  // item 0 shows "Cancel" but selects nothing
    EXPECT_EQ(menu.m_items[0].m_text, "Cancel");

    menu.SetTitle("T");
    menu.Reset();
    EXPECT_EQ(menu.m_cursor, 1);
    EXPECT_EQ(menu.m_count, 0);
    EXPECT_EQ(menu.m_title, "");
    EXPECT_EQ(menu.m_items[2].m_x, -200);
    EXPECT_EQ(menu.m_items[0].m_text, "Cancel");
}

TEST_F(MenuTest, StylesAndFontsReachEveryItem) {
    CMenu menu;
    menu.SetStyle(1);
    menu.SetFont("ＭＳ ゴシック", 0xff00ff00, 12);
    for (const CMenuItem& item : menu.m_items) {
        EXPECT_EQ(item.m_style, 1);
        EXPECT_EQ(item.m_textColor, 0xff00ff00u);
        EXPECT_EQ(item.m_fontSize, 12);
    }
}

TEST_F(MenuTest, ItemsDropToTheirRowThenSlideInFromTheLeft) {
    CMenu menu;
    menu.AddItem("first");
    menu.AddItem("second");
    CMenuItem& item = menu.m_items[2];  // row at y = 15 + 2 x 24 = 63, x = 10
    DrawFrames(&menu, 3);
    EXPECT_EQ(item.m_y, 30);
    EXPECT_EQ(item.m_x, -200);  // off screen until it has reached its row
    DrawFrames(&menu, 3);       // y 40, 50, then 60 lands on 63 (within a step)
    EXPECT_EQ(item.m_y, 63);
    EXPECT_EQ(item.m_x, 0);     // the first step in is clamped to the left edge
    DrawFrames(&menu, 1);
    EXPECT_EQ(item.m_x, 10);
    EXPECT_EQ(item.m_targetX, 10);
    EXPECT_EQ(item.m_targetY, 63);
}

TEST_F(MenuTest, RowsBelowTheScreenStopAtItsLastLineAndStillSlideIn) {
    CMenu menu;
    for (int i = 1; i <= 19; ++i) menu.AddItem("row" + std::to_string(i));
    DrawFrames(&menu, 60);
    EXPECT_EQ(menu.m_items[19].m_targetY, 15 + 19 * 24);
    EXPECT_EQ(menu.m_items[19].m_y, 461);
    EXPECT_EQ(menu.m_items[19].m_x, 10);
}

TEST_F(MenuTest, CancelShowsOnlyWhileSelectedAndThePulseRestartsOnSelection) {
    CMenu menu;
    menu.AddItem("one");
    DrawFrames(&menu, 10);
    EXPECT_EQ(menu.m_items[0].m_x, -200);  // never animated while not selected
    EXPECT_EQ(menu.m_items[1].m_state, 0);
    EXPECT_NEAR(menu.m_items[1].m_pulse, 0.45f, 1e-4);
    menu.CursorPrev();
    DrawFrames(&menu, 1);
    EXPECT_EQ(menu.m_items[1].m_state, -1);
    EXPECT_EQ(menu.m_items[1].m_pulse, 0.0f);
    EXPECT_EQ(menu.m_items[0].m_state, 0);
    EXPECT_EQ(menu.m_items[0].m_targetY, 15 + 12);
}

TEST_F(MenuTest, HighlightColoursOfBothStylesFollowThePulse) {
    CMenu menu;
    menu.AddItem("one");
    CMenuItem& item = menu.m_items[1];
    item.m_x = 30, item.m_y = 40;
    struct Case {
        int style, state;
        float pulse;      // v = |(int)(pulse x 20) mod 20 - 10|
        uint32_t frame, text;
    };
    const Case cases[] = {
        {0, -1, 0.0f, 0x40ffffff, 0xffffffff},  // not selected: faint frame
        {0, 0, 0.0f, 0xfaffffff, 0xffffffff},   // v 10: alpha 100 + 150
        {0, 0, 0.25f, 0xafffffff, 0xffffffff},  // v 5
        {0, 0, 0.5f, 0x64ffffff, 0xffffffff},   // v 0: alpha 100
        {1, -1, 0.0f, 0xffffffff, 0xff323232},  // not selected: dark grey text
        {1, 0, 0.0f, 0xffffffff, 0xfffafafa},   // grey 250
        {1, 0, 0.75f, 0xffffffff, 0xffafafaf},  // v 5: grey 175
    };
    ASSERT_EQ(BeginFrame(0xff000000), 1);
    for (const Case& c : cases) {
        menu.SetStyle(c.style);
        item.m_state = c.state;
        item.m_pulse = c.pulse;
        item.Draw();
        EXPECT_EQ(item.m_frame.m_color, c.frame) << c.style << " " << c.pulse;
        EXPECT_EQ(item.m_textSprite.m_color, c.text) << c.style << " " << c.pulse;
        EXPECT_EQ(item.m_frame.m_x, 30.0f);
        EXPECT_EQ(item.m_frame.m_y, 40.0f);
        EXPECT_EQ(item.m_textSprite.m_x, 40.0f);
        EXPECT_EQ(item.m_textSprite.m_y, 43.0f);
    }
    EndFrame();
}

TEST_F(MenuTest, FrameShowsTheSelectedStripBrighterThanTheOthersAndTheTitle) {
    CMenu menu;
    DrawFrames(&menu, 1);
    // Without items nothing is drawn, not even the title.
    ScreenImage empty = driver.ReadFrame();
    EXPECT_EQ(empty.Pixel(20, 25), 0xff000000u);

    menu.SetTitle("MENU TITLE");
    menu.AddItem("alpha");
    menu.AddItem("beta");
    DrawFrames(&menu, 20);
    ScreenImage frame = driver.ReadFrame();
    // Strip pixels away from the text: item 1 (selected) at y 39, item 2 at y 63, x from 10.
    uint32_t selected = frame.Pixel(180, 41), other = frame.Pixel(180, 65);
    EXPECT_NE(other, 0xff000000u);
    EXPECT_GT((selected >> 8) & 0xff, (other >> 8) & 0xff);
    // Some title ink in the first rows above the items.
    int ink = 0;
    for (int y = 20; y < 36; ++y)
        for (int x = 0; x < 100; ++x) ink += frame.Pixel(x, y) != 0xff000000u;
    EXPECT_GT(ink, 10);
}

}  // namespace
