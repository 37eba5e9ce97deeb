// Contact sheets of the stand-in robots on stage 1 at the wind-up, strike and follow-through of
// every blade cut and melee blow (seen from the side, the target ahead), and of the shoulder
// lasers, the spread beam, the grenade and the satellite shot with their projectiles in flight
// (seen from behind). Saved under SCREENSHOT_DIR for review by eye; the checks: every moment
// was reached and drawn, and the strikes show the attacker's projectiles.
#include "action_pictures.h"

#include "scene_driver.h"
#include "test_folder.h"

#include <gtest/gtest.h>

namespace {

class BladeMeleePictures : public ::testing::Test {
protected:
    CTestFolder folder;
    CSceneDriver driver;

    void SetUp() override {
        ASSERT_EQ(driver.UseGameAssets(), 1);
        ASSERT_EQ(driver.Start(), 1);
    }
};

constexpr float kNear = 4.0f;  // a target within reach of the rushes

TEST_F(BladeMeleePictures, BladeCuts) {
    WriteActionSheet("blade_actions", {
        {"29,0,12", "ブレード１", 0, kNear, {8, 14, 24}, kViewSide, {}},
        {"29,0,12", "ブレード２", 0, kNear, {8, 14, 24}, kViewSide, {}},
        {"29,0,12", "ブレード(切下L", 0, kNear, {8, 14, 20}, kViewSide, {}},
        {"29,0,12", "ブレード(突L", 0, kNear, {10, 18, 23}, kViewSide, {}},
        {"29,0,12", "h29_ブレード左滑り振りL", 0, kNear, {8, 14, 20}, kViewSide, {}},
        {"29,0,12", "ブレード＿牙突", 0, kNear, {7, 16, 36}, kViewSide, {}},
        {"29,0,12", "ブレード＿ダッシュ突", 0, kNear, {20, 27, 33}, kViewSide, {}},
        {"29,0,12", "ブレード＿ダッシュ右", 0, kNear, {5, 10, 15}, kViewSide, {}},
        {"29,0,12", "ブレード(ジャンプ切下L", 4.0f, kNear, {5, 612, 615}, kViewSide, {}},
        {"29,0,12", "ブレード(ジャンプ切上L", 0, kNear, {8, 14, 23}, kViewSide, {}},
        {"29,0,12", "ブレード(スライド突L", 0, kNear, {12, 18, 24}, kViewSide, {kPadRightStep}},
        {"29,5,12", "c29ブレード2(1", 0, kNear, {8, 11, 15}, kViewSide, {}},
        {"29,5,12", "c29ブレード2(2", 0, kNear, {20, 26, 30}, kViewSide, {}},
        {"29,5,12", "c29ブレード2(D1", 0, kNear, {8, 11, 15}, kViewSide, {}},
        {"29,5,12", "c29ブレード2(J1", 3.0f, kNear, {3, 19, 24}, kViewSide, {}},
        {"29,5,12", "c29ブレード2(SJ1", 3.0f, kNear, {10, 22, 38}, kViewSide, {}},
    }, kBlowMoments);
}

TEST_F(BladeMeleePictures, MeleeBlows) {
    WriteActionSheet("melee_actions", {
        {"21,0,6", "格闘＿ダッシュブローパンチL", 0, kNear, {7, 11, 20}, kViewSide, {}},
        {"21,0,6", "格闘＿突R", 0, kNear, {10, 17, 24}, kViewSide, {}},
        {"21,0,6", "ブレード（ジャンプ切下R", 6.0f, kNear, {10, 21, 22}, kViewSide, {}},
        {"21,0,6", "格闘＿キック前転", 0, kNear, {20, 40, 47}, kViewSide, {}},
    }, kBlowMoments);
}

TEST_F(BladeMeleePictures, ShoulderWeaponsInFlight) {
    constexpr float kFar = 12.0f;
    WriteActionSheet("shoulder_weapons", {
        {"21,0,6,0,2", "ショット＿肩レーザー", 0, kFar, {12, 20, 30}, kViewBehind, {}},
        {"21,0,6,0,2", "ショット＿肩レーザーLR", 0, kFar, {12, 17, 24}, kViewBehind, {kPadRightStep}},
        {"21,0,6,0,2", "ショット＿肩レーザーLR2", 0, kFar, {12, 23, 50}, kViewBehind, {}},
        {"21,0,6,0,2", "ショット＿肩レーザーＤ", 0, kFar, {12, 18, 29}, kViewBehind, {}},
        {"21,0,6,0,1", "ショット＿拡散ビーム１", 0, kFar, {7, 11, 15}, kViewBehind, {}},
        {"21,0,6", "ショット＿グレネードY", 0, kFar, {7, 11, 17}, kViewBehind, {}},
        {"29,0,12,0,0", "ショット＿サテライト３", 0, kFar, {7, 12, 20}, kViewBehind, {}},
    }, kShotMoments);
}

}  // namespace
