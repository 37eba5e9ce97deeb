// The weapon viewer: its three meshes turn on screen until the window closes, and the folder
// it changed into for loading is left again, also when that folder is missing.
#include "scene_fixture.h"
#include "scenes.h"

#include "sys_path.h"

#include <unistd.h>

namespace {

using WeaponViewerTest = SceneTest;

int LitPixels(const ScreenImage& frame) {
    int lit = 0;
    for (uint32_t p : frame.argb) lit += p != 0xff000000u;
    return lit;
}

TEST_F(WeaponViewerTest, MeshesTurnOnScreenUntilTheWindowCloses) {
    ScreenImage early, later;
    driver.Wait(2).Capture(&early).Wait(60).Capture(&later).Quit();
    const std::string folderBefore = SysGetCurrentDir();
    WeaponMeshViewerScene();
    EXPECT_EQ(g_quit, 1);
    EXPECT_EQ(SysGetCurrentDir(), folderBefore);
    for (const char* name : {"wR-shuV.x", "wB-Missile1(1)L.x", "wB-Missile1(1)R.x"})
        EXPECT_NE(driver.Log().find(std::string("load(") + name + ") ... ok."), std::string::npos) << driver.Log();
    EXPECT_GT(LitPixels(early), 500);
    EXPECT_NE(early.argb, later.argb);  // they turned
    EXPECT_EQ(later.SavePng(std::string(SCREENSHOT_DIR) + "/weapon_viewer.png"), 1);
}

TEST_F(WeaponViewerTest, MissingMeshFolderLeavesTheGameFolderAsItWas) {
    ASSERT_EQ(unlink((folder.Path() + "/x").c_str()), 0);
    driver.Wait(3).Quit();
    const std::string folderBefore = SysGetCurrentDir();
    WeaponMeshViewerScene();
    EXPECT_EQ(SysGetCurrentDir(), folderBefore);
    EXPECT_EQ(g_quit, 1);
}

}  // namespace
