// Pictures of the head-up display on a battle on stage 1, for people to look at: the default
// layout locked on a target ahead, manual lock with the direction arrow, graphics level 1, the
// debug, sight and line layouts, and the time-up panel. The fight is held still while the
// pictures are drawn, so each shows one arranged moment.
#include "battle.h"
#include "four_robot_battle.h"
#include "battle_runner.h"
#include "scene_driver.h"
#include "sys_rand.h"
#include "test_folder.h"

#include "graphics.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace {

class HudPictures : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(m_driver.Start(), 1);
        ASSERT_EQ(m_driver.UseGameAssets(), 1);
        m_battle = std::make_unique<CBattle>();
        CBattle& b = *m_battle;
        StartFourRobotBattle(b);
        for (int f = 0; f < 180 && !b.IsOver(); ++f) b.Run();
        ASSERT_EQ(b.m_phase, kPhaseFight);
    }
    void TearDown() override { m_battle.reset(); }

    CRobot& R(int i) { return m_battle->m_robots[i]; }
    // Robot 1 put `ahead` units in front of robot 0 and `left` to its left, on its level.
    void PlaceTarget(float ahead, float left) {
        const C3DObject& root = R(0).m_frames[kRootFrame];
        const Vec3 p = root.GetLocalPosition() - root.GetLocalAxisZ() * ahead + root.GetLocalAxisX() * left;
        R(1).m_frames[kRootFrame].SetLocalPosition(p.x, p.y, p.z);
        R(1).m_shadow.SetLocalPosition(p.x, R(1).m_shadow.GetLocalPosition().y, p.z);
        R(0).m_target = &R(1);
    }
    // The frame drawn `frames` times without a simulation step between, so the camera, the
    // markers and the tags settle.
    void Show(int frames) {
        CBattle& b = *m_battle;
        for (int f = 0; f < frames; ++f) {
            b.m_view.Update(&R(0));
            BeginFrame(b.m_clearColor);
            b.Draw(1);
            EndFrame();
        }
    }
    // Saves the frame; 1 when the head-up display's corners hold more than the scene's fill.
    int Save(const std::string& name) {
        return SaveBattleFrame(m_driver, name);
    }

    CTestFolder m_folder;
    CSceneDriver m_driver;
    std::unique_ptr<CBattle> m_battle;
};

TEST_F(HudPictures, EachLayout) {
    CBattle& b = *m_battle;
    CBattleView& v = b.m_view;
    // A fight in progress: robot 0 has just landed a hit and taken one, its target is guarding.
    R(0).m_hp = R(0).m_maxHp * 7 / 10;
    R(0).m_comboDamage = R(0).m_maxHp / 10;
    R(0).m_lastDamage = 123;
    R(0).m_framesSinceDamage = 10;
    R(0).m_stepCounter = 5;
    R(1).m_hp = R(1).m_maxHp / 2;
    R(1).m_currentAction = R(1).m_actionNames[9];

    struct Scene {
        const char* name;
        int mode, level, automatic;
        float ahead, left;
    } scenes[] = {
        {"hud_view9_locked", 9, 3, 1, 8, 0},  {"hud_view9_manual_arrow", 9, 3, 0, 2, 12},
        {"hud_level1", 9, 1, 1, 8, 0},        {"hud_view1", 1, 3, 1, 8, 0},
        {"hud_view3", 3, 3, 1, 8, 0},         {"hud_view5", 5, 3, 1, 8, 0},
        {"hud_view6", 6, 3, 1, 8, 0},
    };
    for (const Scene& s : scenes) {
        SCOPED_TRACE(s.name);
        v.m_viewMode = s.mode;
        v.m_graphicsLevel = s.level;
        R(0).m_lockOn = s.automatic != 0;
        PlaceTarget(s.ahead, s.left);
        R(0).m_framesSinceDamage = 10;
        R(0).m_stepCounter = 5;
        Show(30);
        ASSERT_EQ(v.m_viewMode, s.mode);
        EXPECT_TRUE(Save(s.name));
        if (s.mode == 9) {
            EXPECT_EQ(v.m_sightFlag, s.automatic ? 1 : 0);
        }
    }
    // Time ran out: each side's HP, summed.
    v.SetViewMode(kTimeUpViewMode);
    R(2).m_hp = R(2).m_maxHp / 4;
    Show(60);
    ASSERT_EQ(v.m_viewMode, kTimeUpViewMode);
    EXPECT_TRUE(Save("hud_time_up"));
}

}  // namespace
