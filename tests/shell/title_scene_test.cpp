// The logo, the title's intro and menu, the loading screen and GameMain, driven headless:
// frame counts, the intro's fade, menu choices, "Cancel", "EXIT" and a closed window.
#include "game_main.h"
#include "loading_screen.h"
#include "logo.h"
#include "scene_fixture.h"
#include "scenes.h"
#include "title.h"

#include "fake_clock.h"
#include "sys_rand.h"

#include <string>

#ifndef SCREENSHOT_DIR
#error "SCREENSHOT_DIR names the folder for saved frames"
#endif

namespace {

using LogoTest = SceneTest;
using TitleTest = SceneTest;
using GameMainTest = SceneTest;
using LoadingScreenTest = SceneTest;

TEST_F(LogoTest, StandsForThirtyOneFramesOnTheClock) {
    LogoScene();
    EXPECT_EQ(driver.Pumps(), 31);
    EXPECT_EQ(g_quit, 0);
    EXPECT_EQ(driver.Log().find("load("), std::string::npos);  // no file: the word is rendered text
    EXPECT_GE(FakeClock::slept, 31u * 33u);   // the frames were paced, not rushed
    // The brand word stands in the middle of a black screen.
    ScreenImage frame = driver.ReadFrame();
    int ink = 0;
    for (int y = 232; y < 250; ++y)
        for (int x = 288; x < 340; ++x) ink += frame.Pixel(x, y) != 0xff000000u;
    EXPECT_GT(ink, 20);
    EXPECT_EQ(frame.Pixel(10, 10), 0xff000000u);
}

TEST_F(LogoTest, ConfirmOnTheFirstFrameEndsItAfterThatFrame) {
    driver.Press(kKeyEnter);
    LogoScene();
    EXPECT_EQ(driver.Pumps(), 1);
}

TEST_F(LogoTest, DoesNothingWhenTheQuitFlagIsSet) {
    g_quit = 1;
    LogoScene();
    EXPECT_EQ(driver.Pumps(), 0);
}

TEST(TitleOverlay, OpaqueUntilFrameThirtyGoneByFrameSixty) {
    EXPECT_EQ(TitleOverlayColor(1), 0xffffffffu);
    EXPECT_EQ(TitleOverlayColor(30), 0xffffffffu);
    EXPECT_EQ(TitleOverlayColor(31), 0xeeffffffu);
    EXPECT_EQ(TitleOverlayColor(33), 0xddffffffu);
    EXPECT_EQ(TitleOverlayColor(59), 0x00ffffffu);
    EXPECT_EQ(TitleOverlayColor(60), 0x00ffffffu);
    EXPECT_EQ(TitleOverlayColor(500), 0x00ffffffu);
}

TEST_F(TitleTest, IntroSplashFadesIntoTheBackground) {
    for (int i = 0; i < kProbeCount; ++i) ASSERT_FALSE(Near(introLook.texel[i], splashLook.texel[i], 20)) << i;
    ScreenImage f2, f29, f45, f61;
    // A capture at pump n reads frame n - 1.
    driver.Wait(3).Capture(&f2).Wait(27).Capture(&f29).Wait(16).Capture(&f45).Wait(16).Capture(&f61);
    driver.Press(kKeyEnter).WaitFor(WhenShowing(menuLook)).Quit();
    EXPECT_EQ(TitleScene(), kSceneQuit);
    EXPECT_FALSE(driver.LimitReached());
    EXPECT_TRUE(Shows(f2, splashLook));
    EXPECT_TRUE(Shows(f29, splashLook));
    EXPECT_TRUE(Shows(f61, introLook));
    EXPECT_EQ(f61.SavePng(std::string(SCREENSHOT_DIR) + "/title_intro.png"), 1);
    // Frame 45: alpha 0x77 of the splash over the background.
    for (int i = 0; i < kProbeCount; ++i) {
        uint32_t mid = f45.Pixel(kProbes[i].x, kProbes[i].y);
        for (int shift = 0; shift < 24; shift += 8) {
            int s = (splashLook.texel[i] >> shift) & 0xff, b = (introLook.texel[i] >> shift) & 0xff;
            EXPECT_NEAR((int)((mid >> shift) & 0xff), (s * 0x77 + b * (255 - 0x77)) / 255, 4) << i << " " << shift;
        }
    }
}

TEST_F(TitleTest, DownDownEnterChoosesTheNetScene) {
    int confirmPump = 0, menuPump = 0;
    driver.Wait(5).Do([&] { confirmPump = driver.Pumps(); }).Press(57);
    driver.WaitFor(WhenShowing(menuLook)).Do([&] { menuPump = driver.Pumps(); });
    driver.Press(kKeyDown).Press(kKeyDown).Press(kKeyEnter);
    EXPECT_EQ(TitleScene(), kSceneNet);
    EXPECT_TRUE(driver.ScriptDone());
    EXPECT_NE(driver.Log().find("load(wave\\se_menu01.wav) ... ok."), std::string::npos) << driver.Log();
    // The confirm sound plays out before the menu comes.
    EXPECT_GT(menuPump - confirmPump, 2);
}

TEST_F(TitleTest, UpOnTheFirstItemSelectsCancel) {
    driver.Press(kKeyEnter).WaitFor(WhenShowing(menuLook)).Press(kKeyUp).Press(kKeyUp).Press(kKeyEnter);
    EXPECT_EQ(TitleScene(), kSceneCancel);
}

TEST_F(TitleTest, ScreenshotOfTheTitleMenu) {
    ScreenImage shot;
    driver.Press(kKeyEnter).WaitFor(WhenShowing(menuLook)).Press(kKeyDown).Wait(40).Capture(&shot).Quit();
    EXPECT_EQ(TitleScene(), kSceneQuit);
    ASSERT_EQ(shot.width, 640);
    std::string path = std::string(SCREENSHOT_DIR) + "/title_menu.png";
    ASSERT_EQ(shot.SavePng(path), 1);
    SysImage back;
    ASSERT_EQ(SysLoadImageFile(path.c_str(), &back), 1);
    EXPECT_EQ(back.width, 640);
    EXPECT_EQ(back.height, 480);
    // The six items' strips stand at x 10..210 in rows of 24 from y 39, over the picture.
    for (int row = 1; row <= 6; ++row) {
        const int y = 15 + row * 24 + 2;
        EXPECT_FALSE(Near(shot.Pixel(190, y), AssetPixel("bmp\\titol03.png", 190 * 256 / 640, y * 256 / 480), 10)) << row;
    }
}

TEST_F(TitleTest, CancelIsDrawnOnlyWhileSelectedHalfALineAboveTheFirstItem) {
    ScreenImage before, onCancel;
    driver.Press(kKeyEnter).WaitFor(WhenShowing(menuLook)).Wait(40).Capture(&before);
    driver.Press(kKeyUp).Wait(40).Capture(&onCancel).Quit();
    EXPECT_EQ(TitleScene(), kSceneQuit);
    ASSERT_EQ(onCancel.SavePng(std::string(SCREENSHOT_DIR) + "/title_menu_cancel.png"), 1);
    // "Cancel"'s strip spans x 5..205, y 27..47: its top rows, above item 1's strip (from y 39)
    // and right of the title text, show the menu picture until the cursor reaches it.
    uint32_t backdrop = before.Pixel(190, 31);
    EXPECT_TRUE(Near(backdrop, onCancel.Pixel(190, 24), 4));  // above the strip: unchanged
    EXPECT_FALSE(Near(backdrop, onCancel.Pixel(190, 31), 10));
    EXPECT_FALSE(Near(before.Pixel(190, 41), before.Pixel(190, 31), 10));  // item 1 was drawn
    // Its text starts at x 15, in the menu's blue.
    int blue = 0;
    for (int y = 30; y < 45; ++y)
        for (int x = 15; x < 60; ++x) {
            uint32_t c = onCancel.Pixel(x, y);
            blue += (c & 0xff) > 0xa0 && ((c >> 16) & 0xff) < 0x60;
        }
    EXPECT_GT(blue, 10);
}

TEST_F(TitleTest, ClosedWindowEndsTheIntroAndTheMenuYieldsMinusOne) {
    driver.Wait(4).Quit();
    EXPECT_EQ(TitleScene(), kSceneQuit);
    EXPECT_EQ(g_quit, 1);
    int pumps = driver.Pumps();
    EXPECT_LE(pumps, 6);
    EXPECT_EQ(TitleMenu(), kSceneQuit);  // with the flag set nothing more runs
    EXPECT_EQ(driver.Pumps(), pumps);
}

TEST_F(GameMainTest, CancelReplaysTheIntroAndExitEndsWithoutAnotherFrame) {
    int introAgain = 0, exitPump = 0;
    driver.Press(kKeyEnter);                                      // logo
    driver.Press(kKeyEnter).WaitFor(WhenShowing(menuLook));      // intro
    driver.Press(kKeyUp).Press(kKeyEnter);                        // "Cancel"
    driver.WaitFor(WhenShowing(splashLook)).Do([&] { introAgain = 1; });
    driver.Press(kKeyEnter).WaitFor(WhenShowing(menuLook));
    for (int i = 0; i < 5; ++i) driver.Press(kKeyDown);
    driver.Do([&] { exitPump = driver.Pumps(); }).Press(kKeyEnter);  // "EXIT"
    EXPECT_EQ(GameMain(), 1);
    EXPECT_EQ(introAgain, 1);
    EXPECT_FALSE(driver.LimitReached());
    // "EXIT" was pressed at one pump: nothing pumped after it.
    EXPECT_EQ(driver.Pumps(), exitPump);
    EXPECT_EQ(g_quit, 1);
}

TEST_F(GameMainTest, EveryOtherSceneReturnsToTheTitle) {
    driver.SetPumpLimit(2000);
    for (int scene = kSceneSingleCampaign; scene <= kSceneOption; ++scene) {
        if (scene == kSceneSingleCampaign) driver.Press(kKeyEnter);  // logo
        // The intro has to be on screen before its confirm counts ("NET" shows its loading
        // picture first).
        driver.WaitFor(WhenShowing(splashLook)).Press(kKeyEnter).WaitFor(WhenShowing(menuLook));
        for (int i = 1; i < scene; ++i) driver.Press(kKeyDown);
        driver.Press(kKeyEnter);
        if (scene == kSceneOption) driver.Wait(2).Press(kKeyUp).Press(kKeyEnter);  // its "Cancel"
        if (scene == kSceneGarage) driver.Wait(2).Press(kKeyUp).Press(kKeyEnter);  // its top menu's "Cancel"
        // The lobby: its loading picture, the name as it is, then the connection menu's "Cancel".
        if (scene == kSceneNet) driver.Wait(4).Press(kKeyEnter).Wait(2).Press(kKeyUp).Press(kKeyEnter);
        if (scene == kSceneSingleCampaign || scene == kSceneTeamCampaign)
            driver.Wait(4).Press(kKeyUp).Press(kKeyEnter);  // "Cancel" in the robot select after the loading picture
    }
    driver.WaitFor(WhenShowing(splashLook)).Quit();
    EXPECT_EQ(GameMain(), 1);
    EXPECT_TRUE(driver.ScriptDone());
    EXPECT_FALSE(driver.LimitReached());
    EXPECT_NE(driver.Log().find("load(bmp\\load0"), std::string::npos);  // "NET" showed its loading picture
}

TEST_F(TitleTest, QuitKeyInTheMenuEndsItWithTheQuitFlag) {
    driver.Press(kKeyEnter).WaitFor(WhenShowing(menuLook)).Press(kKeyEscape);
    EXPECT_EQ(TitleScene(), kSceneQuit);
    EXPECT_EQ(g_quit, 1);
    EXPECT_FALSE(driver.LimitReached());
}

TEST_F(GameMainTest, ClosedWindowDuringTheLogoEndsTheProgram) {
    driver.Wait(3).Quit();
    EXPECT_EQ(GameMain(), 1);
    EXPECT_LE(driver.Pumps(), 5);
}

TEST_F(LoadingScreenTest, EveryPictureLoadsAndShowsForTwoFrames) {
    for (unsigned seed = 0; seed < 64; ++seed) {
        GameSrand(seed);
        driver.ResetPumps();
        ShowLoadingScreen();
        EXPECT_EQ(driver.Pumps(), 2);
    }
    for (const char* name : {"load00.png", "load01.png", "load02.jpg", "load03.jpg", "load04.jpg", "load05.jpg",
                             "load06.png", "load07.png"})
        EXPECT_NE(driver.Log().find(std::string("load(bmp\\") + name + ") ... ok."), std::string::npos) << name;
    EXPECT_EQ(driver.Log().find("failed."), std::string::npos);
}

TEST_F(LoadingScreenTest, ClosedWindowEndsIt) {
    driver.Quit();
    ShowLoadingScreen();
    EXPECT_EQ(g_quit, 1);
    EXPECT_EQ(driver.Pumps(), 1);
}

}  // namespace
