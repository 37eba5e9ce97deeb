// The engine under the scene driver, in a private folder that sees the game's generated assets,
// with helpers that tell the title's screens apart by the flat block each picture carries at
// its bottom-right corner.
#pragma once

#include "scene_driver.h"
#include "test_folder.h"

#include "engine.h"
#include "input.h"

#include "sys_image.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

// A point inside every full-screen picture's flat corner block (texel 248, 245).
constexpr int kBlockX = 620, kBlockY = 460;

inline uint32_t AssetPixel(const char* gamePath, int x, int y) {
    SysImage image;
    if (!SysLoadImageFile(gamePath, &image) || x >= image.width || y >= image.height) return 0;
    return image.argb[(size_t)y * image.width + x];
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
    uint32_t introBlock = 0, splashBlock = 0, menuBlock = 0;

    void SetUp() override {
        ASSERT_EQ(driver.UseGameAssets(), 1);
        ASSERT_EQ(driver.Start(), 1) << driver.Log();
        introBlock = AssetPixel("bmp\\titol01.png", 248, 245);
        splashBlock = AssetPixel("bmp\\titol02.png", 248, 245);
        menuBlock = AssetPixel("bmp\\titol03.png", 248, 245);
        ASSERT_NE(menuBlock, 0u);
    }

    // The last drawn frame shows this picture's corner block.
    bool Showing(uint32_t block) const { return Near(driver.ReadFrame().Pixel(kBlockX, kBlockY), block); }
    std::function<bool()> WhenShowing(uint32_t block) const {
        return [this, block] { return Showing(block); };
    }
};
