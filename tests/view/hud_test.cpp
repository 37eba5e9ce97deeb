// The head-up display's records and reckoning: percentages of a zero maximum, radar headings in
// every quadrant and straight up, marker goals and easing, the lock lamps of a four-robot scene,
// the TIME UP sums, name tags remade only on a new name, and every layout drawn with and
// without a target leaving the robots exactly as they were.
#include "projectile_pool.h"
#include "view_fixture.h"

#include "graphics.h"

#include <cstring>

namespace {

using HudTest = ViewTest;

TEST(HudPercent, IntegerPartAndZeroMaximum) {
    const struct {
        int v, m, p;
    } rows[] = {{50, 100, 50}, {1, 3, 33}, {120, 100, 120}, {-5, 100, -5}, {7, 0, 0}, {7, -4, 0}, {999, 1000, 99}};
    for (const auto& r : rows) EXPECT_EQ(Percent(r.v, r.m), r.p) << r.v << "/" << r.m;
}

TEST_F(HudTest, RadarHeadingsAndPositionsInFourQuadrants) {
    CRadar& radar = m_view->m_radar;
    C3DObject root;  // facing -Z at the origin
    radar.SetOrigin(root);
    // Headings of the four compass directions relative to the robot's forward (-Z).
    const struct {
        Vec3 dir;
        float heading;
    } rows[] = {{Vec3(0, 0, -1), 0}, {Vec3(1, 0, 0), 1.570795f}, {Vec3(0, 0, 1), 3.14159f}, {Vec3(-1, 0, 0), -1.570795f}};
    for (const auto& r : rows) {
        float h = radar.GetHeading(r.dir);
        // Half turns may come out either way round.
        float diff = std::fabs(std::remainder(h - r.heading, 6.28318f));
        EXPECT_LT(diff, 1e-3f) << r.dir.x << "," << r.dir.z << " -> " << h;
    }
    // A missile going straight up has no heading: upright, never NaN.
    EXPECT_EQ(radar.GetHeading(Vec3(0, 1, 0)), 0);
    EXPECT_EQ(radar.GetHeading(Vec3(0, -3, 0)), 0);
    // A point ahead lies up the radar, one to the side across it.
    Vec3 ahead = radar.ToRadar(Vec3(0, 0, -5));
    EXPECT_NEAR(ahead.z, 5, 1e-4f);
    EXPECT_NEAR(ahead.x, 0, 1e-4f);
    Vec3 side = radar.ToRadar(Vec3(4, 0, 0));
    EXPECT_NEAR(std::fabs(side.x), 4, 1e-4f);
    EXPECT_NEAR(side.z, 0, 1e-4f);
}

TEST_F(HudTest, MarkersFindTheirGoalsAndEaseWithinTheScreen) {
    CBattleView& v = *m_view;
    // Automatic and locked: brackets 46 pixels diagonally off the target.
    const int locked[4][2] = {{254, 154}, {346, 154}, {254, 246}, {346, 246}};
    const int free[4][2] = {{170, 100}, {470, 100}, {170, 300}, {470, 300}};
    for (int i = 0; i < 4; ++i) {
        CLockMarker& m = v.m_markers[i];
        v.SetMarkerGoal(m, 0, 300, 200, 1, 1);
        EXPECT_EQ(m.m_goalX, locked[i][0]);
        EXPECT_EQ(m.m_goalY, locked[i][1]);
        v.SetMarkerGoal(m, 0, 300, 200, 0, 1);
        EXPECT_EQ(m.m_goalX, free[i][0]);
        EXPECT_EQ(m.m_goalY, free[i][1]);
    }
    // Manual: the goal as given.
    CLockMarker& m = v.m_markers[0];
    v.SetMarkerGoal(m, 2.0f, 400, 300, 1, 0);
    EXPECT_EQ(m.m_goalX, 400);
    EXPECT_FLOAT_EQ(m.m_goalRotation, 2.0f);
    // Easing by 20 a frame, exact on arrival.
    m.m_x = m.m_y = 320;
    m.m_rotation = 0;
    v.UpdateMarker(m);
    EXPECT_EQ(m.m_x, 340);
    EXPECT_EQ(m.m_y, 300);
    for (int f = 0; f < 10; ++f) v.UpdateMarker(m);
    EXPECT_EQ(m.m_x, 400);
    EXPECT_FLOAT_EQ(m.m_rotation, 2.0f);
    // Clamped to the screen's marker area.
    v.SetMarkerGoal(m, 0, 900, 900, 0, 0);
    for (int f = 0; f < 60; ++f) v.UpdateMarker(m);
    EXPECT_EQ(m.m_x, 511);
    EXPECT_EQ(m.m_y, 415);
    v.SetMarkerGoal(m, 0, -50, -50, 0, 0);
    for (int f = 0; f < 60; ++f) v.UpdateMarker(m);
    EXPECT_EQ(m.m_x, 10);
    EXPECT_EQ(m.m_y, 10);
    // The rotation takes the short way round.
    m.m_rotation = 3.0f;
    v.SetMarkerGoal(m, -3.0f, 10, 10, 0, 0);
    v.UpdateMarker(m);
    EXPECT_FLOAT_EQ(m.m_rotation, -3.0f);  // one step across the half turn, not ten round it
}

TEST_F(HudTest, NameTagsRemakeTheirTextureOnlyForANewNameAndHideWhenClamped) {
    CNameTag& tag = m_view->m_tags[0];
    R(0).m_actionNames[0] = "%s%s%n";  // a name is text, never a format
    const int before = tag.m_textures;
    for (int f = 0; f < 5; ++f) tag.Refresh(R(0), 0);
    EXPECT_EQ(tag.m_textures, before + 1);
    R(0).m_actionNames[0] = "RODUDED";
    tag.Refresh(R(0), 1);
    EXPECT_EQ(tag.m_textures, before + 2);
    // Damage shows until 44 frames after the hit.
    R(0).m_lastDamage = 37;
    R(0).m_framesSinceDamage = 44;
    tag.Refresh(R(0), 1);
    EXPECT_EQ(tag.m_damageShown, 37);
    R(0).m_framesSinceDamage = 45;
    tag.Refresh(R(0), 1);
    EXPECT_EQ(tag.m_damageShown, -1);
    // Easing by 30, then held at the edge.
    tag.m_x = tag.m_y = 200;
    tag.Update(300, 210, R(0), 0);
    EXPECT_EQ(tag.m_x, 230);
    EXPECT_EQ(tag.m_y, 210);
    for (int f = 0; f < 30; ++f) tag.Update(900, 210, R(0), 0);
    EXPECT_EQ(tag.m_x, 561);
}

TEST_F(HudTest, EveryLayoutDrawsWithAndWithoutATargetAndChangesNoRobot) {
    for (int i = 1; i < 4; ++i) Place(i, Vec3(float(2 * i), 1, -4.0f * i));
    const char* teams[4] = {"AL", "BL", "AM", "BM"};
    for (int i = 0; i < 4; ++i) R(i).m_teamCode = teams[i];
    R(0).m_weapons.count = 3;
    R(0).m_weapons.slots[0] = {"", "GUN", 12, 5, "R"};
    R(0).m_weapons.slots[1] = {"", "MSL", 0, 50, "L"};
    R(0).m_weapons.slots[2] = {"", "BLD", -1, 0, "S"};
    R(0).m_hp = 180;  // past its maximum after a crystal
    CProjectilePool pool;
    SetViewLookAt(Vec3(2, 3, 8), Vec3(2, 1, 0), Vec3(0, 1, 0));
    for (int withTarget = 0; withTarget < 2; ++withTarget) {
        R(0).m_target = withTarget ? &R(1) : nullptr;
        for (int mode : {1, 2, 3, 5, 6, 9, 10, 11, 12, 230}) {
            for (int level : {1, 3}) {
                SCOPED_TRACE(testing::Message() << "mode " << mode << " level " << level << " target " << withTarget);
                m_view->m_viewMode = mode;
                m_view->m_graphicsLevel = level;
                std::vector<char> before;
                for (int i = 0; i < 4; ++i) {
                    const char* p = reinterpret_cast<const char*>(R(i).m_frames);
                    before.insert(before.end(), p, p + sizeof(C3DObject) * kRobotFrameCount);
                }
                ASSERT_EQ(BeginFrame(0xFF000000), 1);
                m_view->DrawHud(0, m_robots.get(), 4, &pool, pool.GetCount());
                EndFrame();
                std::vector<char> after;
                for (int i = 0; i < 4; ++i) {
                    const char* p = reinterpret_cast<const char*>(R(i).m_frames);
                    after.insert(after.end(), p, p + sizeof(C3DObject) * kRobotFrameCount);
                }
                EXPECT_EQ(std::memcmp(before.data(), after.data(), before.size()), 0);
                EXPECT_EQ(R(0).m_hp, 180);
            }
        }
    }
}

TEST_F(HudTest, LockLampsInAFourRobotScene) {
    // Own robot 0 targets 1; 1 targets 0 (TA); 3 targets 0 and is not 0's target (EX); 2 shares
    // 0's target (DO). Lamps read only living robots.
    R(0).m_target = &R(1);
    R(1).m_target = &R(0);
    R(2).m_target = &R(1);
    R(3).m_target = &R(0);
    const char* teams[4] = {"AL", "BL", "AM", "BM"};
    for (int i = 0; i < 4; ++i) R(i).m_teamCode = teams[i];
    ASSERT_EQ(BeginFrame(0xFF000000), 1);
    m_view->DrawLockLamps(0, m_robots.get(), 4);
    R(0).m_target = nullptr;  // no target: TA and DO cannot light, nothing is read through it
    m_view->DrawLockLamps(0, m_robots.get(), 4);
    EndFrame();
}

}  // namespace
