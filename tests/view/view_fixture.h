// The battle view on a running headless engine in a private folder: a hand-placed scene of
// robots without meshes, so camera goals can be worked out by hand.
#pragma once

#include "battle_view.h"
#include "camera.h"
#include "robot.h"
#include "scene_driver.h"
#include "test_folder.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

class ViewTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(m_driver.Start(), 1);
        ASSERT_EQ(m_driver.UseGameAssets(), 1);
        m_view = std::make_unique<CBattleView>();
        m_robots = std::make_unique<CRobot[]>(kMaxRobots);
        // Robot 0 at (2, 1, 3) facing -Z (the root's Z axis is (0, 0, 1)), its shadow below.
        Place(0, Vec3(2, 1, 3));
        SetViewLookAt(Vec3(0, 5, 20), Vec3(0, 0, 0), Vec3(0, 1, 0));
    }
    void TearDown() override {
        m_view.reset();
        m_robots.reset();
    }
    CRobot& R(int i) { return m_robots[i]; }
    void Place(int i, const Vec3& p) {
        R(i).m_frames[kRootFrame].SetLocalPosition(p.x, p.y, p.z);
        R(i).m_shadow.SetLocalPosition(p.x, 0, p.z);
    }
    void Run(int frames) {
        for (int f = 0; f < frames; ++f) m_view->Update(&R(0));
    }
    static void ExpectNear(const Vec3& a, const Vec3& b, float tolerance) {
        EXPECT_NEAR(a.x, b.x, tolerance);
        EXPECT_NEAR(a.y, b.y, tolerance);
        EXPECT_NEAR(a.z, b.z, tolerance);
    }
    static Vec3 Normal(const Vec3& v) { return v / std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z); }

    CTestFolder m_folder;
    CSceneDriver m_driver;
    std::unique_ptr<CBattleView> m_view;
    std::unique_ptr<CRobot[]> m_robots;
};
