// Message banners: how long a text shows, how it slides and fades in and out, and an alpha
// that stays a colour's byte even when a short duration overlaps both ramps.
#include "info_panel.h"
#include "view_fixture.h"

namespace {

using BannerTest = ViewTest;

// Frames drawn that show the banner, for each duration: duration - 1.
TEST_F(BannerTest, ShowsForDurationLessOneFrame) {
    for (int duration : {1, 2, 5, 10, 60, 90}) {
        CInfoPanel panel;
        EXPECT_EQ(panel.m_countdown, 0) << "built hidden";
        panel.SetImage(duration, 0xFFAAAAFF, "bmp\\info_02.png");
        panel.SetText("ＧＯ！！");
        int shown = 0;
        for (int f = 0; f < 200; ++f) {
            panel.Draw();
            shown += panel.m_countdown > 0;
        }
        EXPECT_EQ(shown, duration > 1 ? duration - 1 : 0) << duration;
        EXPECT_EQ(panel.m_countdown, 0);
    }
}

struct Ramp {
    int frame;  // draws since SetText (age after the draw)
    int alpha;
    int slide;  // pixels right of the banner's place
};
// Duration 60: in from 15 pixels right over five frames, out to the left over the last four.
const Ramp kRamps[] = {
    {1, 95, 12}, {2, 135, 9}, {3, 175, 6}, {4, 215, 3}, {5, 255, 0}, {30, 255, 0},
    {55, 255, 0}, {56, 215, -3}, {57, 175, -6}, {58, 135, -9}, {59, 95, -12},
};

TEST_F(BannerTest, SlidesAndFadesInThenOut) {
    CInfoPanel panel;
    panel.SetImage(60, 0xFFFFFFFF, "bmp\\info_01.png");
    panel.SetText("Ｆｉｎｓｈ");
    int frame = 0;
    for (const Ramp& r : kRamps) {
        while (frame < r.frame) {
            panel.Draw();
            ++frame;
        }
        EXPECT_EQ(panel.GetAlpha(), r.alpha) << r.frame;
        EXPECT_EQ(panel.GetSlide(), r.slide) << r.frame;
    }
    // A new text restarts the entrance.
    panel.SetText("ＷＩＮ！");
    panel.Draw();
    EXPECT_EQ(panel.GetAlpha(), 95);
    EXPECT_EQ(panel.m_countdown, 59);
}

TEST_F(BannerTest, OverlappingRampsKeepAlphaWithinAByte) {
    for (int duration : {2, 3, 4, 6, 8}) {
        CInfoPanel panel;
        panel.SetImage(duration, 0xFFFFFFFF, "bmp\\info_01.png");
        panel.SetText("Last10sec!");
        for (int f = 0; f < duration; ++f) {
            panel.Draw();
            EXPECT_GE(panel.GetAlpha(), 0) << duration << " " << f;
            EXPECT_LE(panel.GetAlpha(), 255) << duration << " " << f;
        }
    }
}

}  // namespace
