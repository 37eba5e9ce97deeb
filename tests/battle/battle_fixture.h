// A battle on a running headless engine, in a private folder that sees the game's assets.
#pragma once

#include "battle.h"
#include "scene_driver.h"
#include "test_folder.h"

#include <gtest/gtest.h>

#include <memory>

class BattleTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(m_driver.Start(), 1);
        ASSERT_EQ(m_driver.UseGameAssets(), 1);
        m_battle = std::make_unique<CBattle>();
        m_battle->LoadStage(1);
        Hover(*m_battle);
    }
    // The rule and timeline tests are about the battle, not about falling: robots that stay
    // where they are put, whatever lies under them, keep their HP.
    static void Hover(CBattle& b) {
        for (CRobot& r : b.m_robots) r.m_gravity = 0;
    }
    void TearDown() override { m_battle.reset(); }

    // Robot i alive or not, with a team code.
    void SetRobot(int i, const char* team, int hp) {
        m_battle->m_robots[i].m_teamCode = team;
        m_battle->m_robots[i].m_hp = hp;
    }
    void PlaceRoot(int i, float x, float z) { m_battle->m_robots[i].m_frames[kRootFrame].SetPosition(x, 2.0f, z); }
    int TargetOf(int i) const { return m_battle->SlotOf(m_battle->m_robots[i].m_target); }

    CTestFolder m_folder;
    CSceneDriver m_driver;
    std::unique_ptr<CBattle> m_battle;
};
