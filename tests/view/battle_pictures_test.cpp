// A battle on stage 1 drawn headless: a picture of each view type and of the finish shot for
// people to look at, the drawing leaving every robot and projectile exactly as it found them,
// and the same state hashes with drawing on and off.
#include "battle.h"
#include "four_robot_battle.h"
#include "battle_runner.h"
#include "scene_driver.h"
#include "sys_rand.h"
#include "test_folder.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <vector>

namespace {

class BattlePictures : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(m_driver.Start(), 1);
        ASSERT_EQ(m_driver.UseGameAssets(), 1);
        m_battle = std::make_unique<CBattle>();
        StartFourRobotBattle(*m_battle);
    }
    void TearDown() override { m_battle.reset(); }

    void Run(int frames) {
        for (int f = 0; f < frames && !m_battle->IsOver(); ++f) m_battle->Run();
    }
    // The frame as drawn, saved for people; 1 when it shows more than a plain fill.
    int Save(const std::string& name) {
        return SaveBattleFrame(m_driver, name);
    }

    CTestFolder m_folder;
    CSceneDriver m_driver;
    std::unique_ptr<CBattle> m_battle;
};

TEST_F(BattlePictures, EachViewTypeAndTheFinishShot) {
    CBattle& b = *m_battle;
    Run(30);
    EXPECT_EQ(b.m_view.m_viewMode, 100);
    EXPECT_TRUE(Save("view_start"));
    Run(150);  // into the fight
    ASSERT_EQ(b.m_phase, kPhaseFight);
    for (int type = 1; type <= 12; ++type) {
        SCOPED_TRACE(type);
        b.m_view.m_viewMode = type;
        Run(25);
        ASSERT_EQ(b.m_view.m_viewMode, type);
        if (type != 8) {
            EXPECT_TRUE(Save("view_type_" + std::to_string(type)));
        }
    }
    // A finishing hit: the finish shot swings from the shooter to the robot it downed.
    b.m_view.m_viewMode = 9;
    b.m_view.m_finisher = &b.m_robots[0];
    b.m_view.m_defeated = &b.m_robots[1];
    b.m_robots[1].m_hp = 0;
    b.m_robots[3].m_hp = 0;
    Run(3);
    EXPECT_EQ(b.m_view.m_viewMode, 220);
    Run(30);
    EXPECT_TRUE(Save("view_finish"));
    Run(60);
    EXPECT_TRUE(Save("view_finish_end"));
}

// Everything the simulation reads of a robot's and a projectile's nodes.
struct NodeState {
    std::vector<char> bytes;
    void Add(const C3DObject& n) {
        const char* m = reinterpret_cast<const char*>(&n.m_matrix);
        bytes.insert(bytes.end(), m, m + sizeof n.m_matrix);
        const char* s = reinterpret_cast<const char*>(&n.m_scale);
        bytes.insert(bytes.end(), s, s + sizeof n.m_scale);
        const char* a = reinterpret_cast<const char*>(&n.m_alpha);
        bytes.insert(bytes.end(), a, a + sizeof n.m_alpha);
    }
};

NodeState Snapshot(CBattle& b) {
    NodeState s;
    for (CRobot& r : b.m_robots) {
        for (const C3DObject& f : r.m_frames) s.Add(f);
        s.Add(r.m_shadow);
    }
    for (int i = 0; i < b.m_projectiles.GetCount(); ++i) {
        CProjectile& p = b.m_projectiles.GetRecord(i);
        for (const C3DObject* n : {&p.m_flight, &p.m_trail, &p.m_hit, &p.m_terrain}) s.Add(*n);
    }
    return s;
}

TEST_F(BattlePictures, DrawingLeavesRobotsAndProjectilesExactlyAsTheyWere) {
    CBattle& b = *m_battle;
    Run(200);
    // Key-pose mode, turned and invincible, with shots of every state and look about.
    b.m_robots[0].m_animMode = "クオータニオン";
    b.m_robots[0].m_twist = 0.7f;
    b.m_robots[0].m_bank = -0.3f;
    b.m_robots[0].m_invincible = 5;
    const char* kinds[] = {"ショット１", "ビーム", "撃破", "ブースト", "ダッシュ２"};
    for (int k = 0; k < 5; ++k) {
        int i = b.m_projectiles.Launch(Vec3(float(k), 2, 0), Vec3(0, 0, 1), nullptr, kinds[k], &b.m_robots[0]);
        ASSERT_GE(i, 0);
    }
    for (int pass = 0; pass < 12; ++pass) {
        SCOPED_TRACE(pass);
        for (int i = 0; i < b.m_projectiles.GetCount(); ++i) {
            CProjectile& p = b.m_projectiles.GetRecord(i);
            if (p.IsFree()) continue;
            p.m_frame = pass;
            p.m_hitMode = pass % 6;
            p.m_trailMode = 1 + pass % 4;
            p.m_drawMode = pass % 2;
        }
        NodeState before = Snapshot(b);
        BeginFrame(0xFF000000);
        b.Draw(1);
        EndFrame();
        NodeState after = Snapshot(b);
        ASSERT_EQ(before.bytes.size(), after.bytes.size());
        EXPECT_EQ(std::memcmp(before.bytes.data(), after.bytes.data(), before.bytes.size()), 0);
        if (pass == 5) b.m_robots[0].m_animMode = "角度";
    }
}

TEST_F(BattlePictures, HashesAreTheSameWithDrawingOnAndOff) {
    SBattleSetup s;
    s.robotCount = 4;
    const char* builds[] = {"36,1,2", "29,0,1", "9,2,3", "21,1,0"};
    for (int i = 0; i < 4; ++i) s.codes[i] = ParseBuildCode(builds[i]);
    s.clock = 300;
    s.seed = 11;
    std::vector<uint64_t> off, on;
    SBattleOutcome a, c;
    ASSERT_EQ(RunHeadlessBattle(s, &a, [&](int, uint64_t h) { off.push_back(h); }), 1);
    s.draw = 1;
    ASSERT_EQ(RunHeadlessBattle(s, &c, [&](int, uint64_t h) { on.push_back(h); }), 1);
    ASSERT_EQ(off.size(), on.size());
    for (size_t i = 0; i < on.size(); ++i) ASSERT_EQ(off[i], on[i]) << "frame " << i + 1;
    EXPECT_EQ(a.result, c.result);
}

}  // namespace
