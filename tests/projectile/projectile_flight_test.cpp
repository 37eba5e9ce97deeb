// Flight by kind label: walls stop shots on their surface, bombs bounce or burst, homing turns
// only toward a target ahead unless it may steer behind, and the effects that hover, sit or
// split do so on the frames their kinds give.
#include "projectile_fixture.h"

#include "camera.h"

namespace {

TEST_F(ProjectileWorld, AShotThatCrossesAWallStopsOnItsSurface) {
    struct Case {
        const char* kind;
        float start;  // distance before the wall
        int steps;    // updates until it meets the wall
    };
    for (const Case& c : {Case{"ライフル１", 0.7f, 2}, Case{"レーザー", 3.1f, 2}, Case{"マシンガン", 0.2f, 1}}) {
        SCOPED_TRACE(c.kind);
        int i = Fire(c.kind, Vec3(0, 1, kWallZ - c.start), Vec3(0, 0, 1), 0, false);
        CProjectile& p = Record(i);
        Steps(c.steps - 1, &ground);
        EXPECT_EQ(p.m_state, "飛行中");
        Steps(1, &ground);
        ASSERT_EQ(p.m_state, "地形");
        EXPECT_NEAR(p.GetPosition().z, kWallZ, 1e-4);
        EXPECT_NEAR(p.m_terrain.GetLocalPosition().z, kWallZ, 1e-4);
        p.Free();
    }
}

TEST_F(ProjectileWorld, ABombBouncesOffTheFloorAndBurstsAgainstAWall) {
    int i = Fire("ボム", Vec3(0, 0.5f, 0), Vec3(0, 0, 1), 0, false);
    CProjectile& p = Record(i);
    bool bounced = false;
    for (int step = 0; step < 40 && !bounced; ++step) {
        Vec3 h = p.GetHeading();
        Vec3 lowered = Vec3Normalize(Vec3(h.x, h.y - 0.04f, h.z));
        Steps(1, &ground);
        ASSERT_EQ(p.m_state, "飛行中");
        if (p.GetPosition().y < 1e-4f) {
            bounced = true;
            Vec3 expect = Vec3Normalize(Vec3(lowered.x, -0.7f * lowered.y, lowered.z));
            EXPECT_NEAR(p.GetHeading().y, expect.y, 1e-4);
            EXPECT_NEAR(p.GetHeading().z, expect.z, 1e-4);
        }
    }
    EXPECT_TRUE(bounced);

    // Rising into the wall: the heading turns back and the bomb detonates.
    int j = Fire("ボム", Vec3(0, 5, kWallZ - 0.1f), Vec3(0, 0.5f, 1), 0, false);
    Steps(1, &ground);
    EXPECT_EQ(Record(j).m_state, "命中");
    EXPECT_LT(Record(j).m_hit.GetLocalAxisZ().z, 0);
}

TEST_F(ProjectileWorld, HomingTurnsBehindOnlyWhenItMaySteerBehind) {
    // The target (robot 1 at z 10) lies behind and to the side of shots flying on along +z.
    struct Case {
        const char* kind;
        bool turns;
    };
    for (const Case& c : {Case{"ショット１M", false}, Case{"ショット３", true}}) {
        int i = Fire(c.kind, Vec3(3, 0, 12), Vec3(0, 0, 1));
        Steps(5);
        EXPECT_EQ(Record(i).GetHeading().x != 0, c.turns) << c.kind;
        Record(i).Free();
    }
    // Ahead of it, the shot without steer-behind turns toward the target.
    int k = Fire("ショット１M", Vec3(3, 0, 0), Vec3(0, 0, 1));
    Steps(5);
    EXPECT_LT(Record(k).GetHeading().x, 0);
}

TEST_F(ProjectileWorld, EffectsThatSitOrHoverStayPut) {
    // "ブーストB" has no flight of its own: it sits for its three frames.
    int b = Fire("ブーストB", Vec3(1, 2, 3), Vec3(0, 0, 1));
    Steps(2);
    EXPECT_EQ(Record(b).m_state, "飛行中");
    EXPECT_FLOAT_EQ(Record(b).GetPosition().x, 1);
    EXPECT_FLOAT_EQ(Record(b).GetPosition().z, 3);
    Record(b).Free();

    // Satellite 1 has step 0 and rises for its first 14 frames; satellite 2 hovers from 15 on.
    robots[0].m_target = nullptr;
    int s1 = Fire("サテライト１", Vec3(0, 2, 0), Vec3(1, 0, 0), 0, false);
    int s2 = Fire("サテライト２", Vec3(0, 2, 0), Vec3(1, 0, 0), 0, false);
    Steps(14);
    Vec3 p1 = Record(s1).GetPosition(), p2 = Record(s2).GetPosition();
    EXPECT_NEAR(p1.y, 2 + 14 * 0.06f, 1e-4);
    EXPECT_FLOAT_EQ(p1.x, 0);
    EXPECT_NEAR(p2.x, 14 * 0.5f, 1e-4);
    Steps(20);
    EXPECT_EQ(Record(s1).GetPosition(), p1);
    EXPECT_EQ(Record(s2).GetPosition(), p2);
}

TEST_F(ProjectileWorld, TheSparkFollowsItsOwnerWhateverTheCamera) {
    // The camera is each player's own: the step must come out alike under any of them.
    Mat4 seen[2];
    for (int run = 0; run < 2; ++run) {
        SetViewLookAt(Vec3(0, 5, -20), run ? Vec3(40, 0, 0) : Vec3(0, 0, 0), Vec3(0, 1, 0));
        int i = Fire("被弾", Vec3(0, 9, 9), Vec3(0.6f, 0, 0.8f));
        robots[0].m_frames[kRootFrame].SetLocalPosition(1, 0, 2);
        Steps(3);
        const CProjectile& p = Record(i);
        EXPECT_EQ(p.GetPosition(), robots[0].m_frames[1].GetWorldPosition());
        EXPECT_FLOAT_EQ(p.m_flight.m_scale, 1.5f);
        seen[run] = p.m_flight.m_matrix;
        Record(i).Free();
    }
    EXPECT_TRUE(MatrixEqual(seen[0], seen[1]));
}

TEST_F(ProjectileWorld, TheHelpFieldWaitsForItsDownedOwner) {
    robots[0].m_hp = 0;
    int f = Fire("ＨＥＬＰフィールド", Vec3(0, 3, 0), Vec3(1, 0, 0), 0, false);
    CProjectile& p = Record(f);
    Steps(1, &ground);
    EXPECT_NEAR(p.GetPosition().y, 0, 1e-4);  // on the ground
    Steps(4000, &ground);
    EXPECT_EQ(p.m_state, "飛行中");
    // Touched by another robot it shows its hit, and the owner gets up.
    p.Detonate();
    Steps(1, &ground);
    EXPECT_EQ(robots[0].m_hp, 10);
    EXPECT_EQ(robots[0].m_invincible, 50);
    Steps(5, &ground);
    EXPECT_TRUE(p.IsFree());
    // With its owner standing, a field ends on its first step.
    int g = Fire("ＨＥＬＰフィールド", Vec3(0, 3, 0), Vec3(1, 0, 0), 0, false);
    Steps(1, &ground);
    EXPECT_EQ(Record(g).m_state, "地形");
}

TEST_F(ProjectileWorld, TheCarrierSplitsIntoFourOnItsLastFrames) {
    if (!FireRequestsWork()) GTEST_SKIP() << "fire requests are not built yet";
    robots[1].m_frames[kRootFrame].SetLocalPosition(0, 0, 500);  // far: no early split
    int c = Fire("多弾頭ミサイル", Vec3(0, 5, 0), Vec3(0, 0, 1));
    const int lifetime = Record(c).m_lifetime;
    for (int frame = 1; frame <= lifetime; ++frame) {
        for (CShotSlot& s : robots[0].m_shotSlots.slots) s.inUse = false;
        Steps(1);
        EXPECT_EQ(CountRequests(robots[0], "子ミサイル"), frame >= lifetime - 4 && frame < lifetime ? 1 : 0)
            << frame;
        EXPECT_EQ(CountRequests(robots[0], "ダッシュ２"), frame == 16 ? 1 : 0) << frame;
    }
    EXPECT_EQ(Record(c).m_state, "地形");

    // Within 10 units of its target after frame 30 it splits at once.
    robots[1].m_frames[kRootFrame].SetLocalPosition(0, 5, 20);
    int d = Fire("多弾頭ミサイル", Vec3(0, 5, 0), Vec3(0, 0, 1));
    int first = 0;
    for (int frame = 1; frame <= 60 && !first; ++frame) {
        for (CShotSlot& s : robots[0].m_shotSlots.slots) s.inUse = false;
        Steps(1);
        if (CountRequests(robots[0], "子ミサイル")) first = frame;
    }
    EXPECT_GT(first, 30);
    EXPECT_LT(first, 60);
    EXPECT_EQ(Record(d).m_frame, Record(d).m_lifetime - 4);
}

}  // namespace
