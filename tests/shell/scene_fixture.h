// The engine under the scene driver, in a private folder that sees the game's generated assets,
// with helpers that tell the title's screens apart by each picture's own texels at a few points.
#pragma once

#include "scene_driver.h"
#include "test_folder.h"

#include "engine.h"
#include "input.h"

#include "sys_image.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

inline uint32_t AssetPixel(const char* gamePath, int x, int y) {
    SysImage image;
    if (!SysLoadImageFile(gamePath, &image) || x >= image.width || y >= image.height) return 0;
    return image.argb[(size_t)y * image.width + x];
}

// Points at the screen's right edge, clear of the menus, texts and robots drawn on the
// full-screen pictures: halfway down (where the splash is not black, unlike other scenes'
// screens) and near the bottom.
struct ScreenPoint {
    int x, y;
};
constexpr ScreenPoint kProbes[] = {{625, 240}, {620, 460}};
constexpr int kProbeCount = sizeof kProbes / sizeof kProbes[0];

// A full-screen picture's texels under the probes (256 x 256 stretched over 640 x 480).
struct PictureLook {
    uint32_t texel[kProbeCount] = {};
};
inline PictureLook LookOf(const char* gamePath) {
    PictureLook look;
    for (int i = 0; i < kProbeCount; ++i)
        look.texel[i] = AssetPixel(gamePath, kProbes[i].x * 256 / 640, kProbes[i].y * 256 / 480);
    return look;
}

// Colours equal within a small tolerance per channel (filtering and blending round).
inline bool Near(uint32_t a, uint32_t b, int tolerance = 3) {
    for (int shift = 0; shift < 24; shift += 8)
        if (std::abs((int)((a >> shift) & 0xff) - (int)((b >> shift) & 0xff)) > tolerance) return false;
    return true;
}

class SceneTest : public ::testing::Test {
protected:
    CTestFolder folder;
    CSceneDriver driver;
    PictureLook introLook, splashLook, menuLook;

    void SetUp() override {
        ASSERT_EQ(driver.UseGameAssets(), 1);
        ASSERT_EQ(driver.Start(), 1) << driver.Log();
        introLook = LookOf("bmp\\titol01.png");
        splashLook = LookOf("bmp\\titol02.png");
        menuLook = LookOf("bmp\\titol03.png");
        ASSERT_NE(menuLook.texel[0], 0u);
    }

    // The frame shows this picture at every probe.
    static bool Shows(const ScreenImage& frame, const PictureLook& look) {
        for (int i = 0; i < kProbeCount; ++i)
            if (!Near(frame.Pixel(kProbes[i].x, kProbes[i].y), look.texel[i])) return false;
        return true;
    }
    // The last drawn frame shows this picture.
    bool Showing(const PictureLook& look) const { return Shows(driver.ReadFrame(), look); }
    std::function<bool()> WhenShowing(const PictureLook& look) const {
        return [this, look] { return Showing(look); };
    }
};
