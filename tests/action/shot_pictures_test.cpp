// A contact sheet of the stand-in robots on stage 1 firing each family of shot weapons: the
// machine-gun burst, rifles, hand and shoulder missiles, the split warhead, the nuclear
// missile, the three bombs, the beam shots and the shield, seen over the shooter's shoulder
// with the target down the range and the projectiles in flight. Saved under SCREENSHOT_DIR for
// review by eye; the checks: every moment was reached and drawn with shots of the attacker.
#include "action_pictures.h"

#include "scene_driver.h"
#include "test_folder.h"

#include <gtest/gtest.h>

namespace {

class ShotPictures : public ::testing::Test {
protected:
    CTestFolder folder;
    CSceneDriver driver;

    void SetUp() override {
        ASSERT_EQ(driver.UseGameAssets(), 1);
        ASSERT_EQ(driver.Start(), 1);
    }
};

constexpr float kRange = 12.0f;

TEST_F(ShotPictures, EveryWeaponFamilyWithItsShotsInFlight) {
    WriteActionSheet("shot_weapons", {
        // The held machine gun fires on steps 11, 14, 17 ... of its looping counter.
        {"29,0,3", "ショット＿マシンガン４", 0, kRange, {8, 14, 22}, kViewBehind, {kPadRightWeapon}, true},
        {"29,0,2", "ショット＿Ａライフル２V", 0, kRange, {8, 11, 18}, kViewBehind, {}},
        {"29,0,7", "ショット＿Ａライフル２Y", 0, kRange, {3, 6, 10}, kViewBehind, {}},
        {"29,2,2", "ショット＿ミサイル２", 0, kRange, {5, 17, 30}, kViewBehind, {}},
        {"29,0,2,0,2", "c29ショット_AT2_ミサイルBL", 0, kRange, {3, 7, 18}, kViewBehind, {}},
        {"29,0,2,0,2", "c29ショット_AT2_ライフル3ren", 0, kRange, {10, 18, 24}, kViewBehind, {}},
        {"9,0,2,0,1", "ショット＿垂直ミサイル２", 0, kRange, {8, 12, 22}, kViewBehind, {}},
        {"9,0,2,0,1", "ショット＿多弾頭２", 0, kRange, {8, 12, 28}, kViewBehind, {}},
        {"29,2,2", "ショット＿核ミサイル", 0, kRange, {15, 23, 35}, kViewBehind, {}},
        {"29,1,2", "ショット＿ボム(遠投)", 0, kRange, {12, 16, 21}, kViewBehind, {}},
        {"29,1,2", "ショット＿ボム(ピッチ)", 0, kRange, {22, 28, 36}, kViewBehind, {}},
        {"29,1,2", "ショット＿ボム(転がし)", 0, kRange, {12, 17, 21}, kViewBehind, {}},
        {"29,0,0", "ショット＿ノーマルショット", 0, kRange, {3, 7, 16}, kViewBehind, {}},
        {"29,0,1", "ショット＿強", 0, kRange, {8, 13, 25}, kViewBehind, {}},
        {"29,0,1", "ショット＿バスター", 0, kRange, {8, 11, 16}, kViewBehind, {}},
        {"29,3,2", "ショット＿シールドL", 0, kRange, {3, 8, 17}, kViewBehind, {kPadLeftWeapon}},
    }, kShotMoments);
}

}  // namespace
