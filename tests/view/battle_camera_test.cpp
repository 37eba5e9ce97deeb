// The battle camera: where each view type settles behind a robot placed by hand, the scripted
// shots, Tab and the modes the phase sequencer switches, and a view matrix that never turns
// non-finite.
#include "view_fixture.h"

namespace {

const Vec3 kP(2, 1, 3);  // robot 0's root; it faces -Z, so its Z axis (0, 0, 1) points behind it

struct Settle {
    int mode;
    bool withTarget;  // robot 1 six units ahead
    int frames;
    Vec3 eye;         // where the camera ends, relative to kP
    Vec3 direction;   // where it looks (normalised)
};

// The smoothed follows settle along the goal direction G. The camera direction read back is
// a unit vector, so the blended d = G a + unit(d) (1 - a) settles at a length of a |G| + 1 - a
// and the eye at P + unit(G) R (a |G| + 1 - a).
Vec3 FollowEye(const Vec3& g, float a, float r) {
    float len = std::sqrt(g.x * g.x + g.y * g.y + g.z * g.z);
    return g / len * (r * (a * len + 1 - a));
}
const Vec3 kBehind(0, 0.25f, 1), kAhead(0, 0.25f, -1);

// View type 9 settles on its eased goals; 12 is placed at once.
const Settle kSettles[] = {
    {1, false, 300, FollowEye(kBehind, 0.1f, 2.5f), -kBehind},
    {3, false, 300, FollowEye(kBehind, 0.1f, 2.5f), -kBehind},
    {5, false, 300, FollowEye(kBehind, 0.1f, 2.5f), -kBehind},
    {11, false, 300, FollowEye(kBehind, 0.1f, 2.5f), -kBehind},
    {4, false, 200, FollowEye(kBehind, 0.3f, 4.5f), -kBehind},
    {6, false, 200, FollowEye(kBehind, 0.3f, 4.5f), -kBehind},
    {10, false, 200, FollowEye(kBehind, 0.3f, 4.5f), -kBehind},
    {100, false, 200, FollowEye(kAhead, 0.3f, 4.5f), -kAhead},
    {200, false, 200, FollowEye(kAhead, 0.3f, 4.5f), -kAhead},
    // Without a target view 9 frames the robot alone: k = 0.5.
    {9, false, 60, Vec3(0, 1.475f, 2.0f), Vec3(0, -1.475f, -2.5f)},
    // A target 6 units away (behind, so the pitch stays level): k = 3 clamped to 2.
    {9, true, 60, Vec3(0, 1.85f, 3.5f), Vec3(0, -1.85f, -5.5f)},
    // Overhead: the distance to the target clamped to [5, 18], eye 5k above, look k ahead.
    {12, false, 1, Vec3(0, 10, 0), Vec3(0, -10, -2)},
    {12, true, 1, Vec3(0, 12, 0), Vec3(0, -12, -2.4f)},
};

TEST_F(ViewTest, EachViewTypeSettlesWhereItsGoalLies) {
    for (const Settle& s : kSettles) {
        SCOPED_TRACE(testing::Message() << "mode " << s.mode << (s.withTarget ? " with target" : ""));
        SetViewLookAt(Vec3(0, 5, 20), Vec3(0, 0, 0), Vec3(0, 1, 0));
        m_view->m_eye = m_view->m_lookAt = Vec3();
        m_view->m_roll = m_view->m_pitch = 0;
        Place(1, kP + Vec3(0, 0, 6));
        R(0).m_target = s.withTarget ? &R(1) : nullptr;
        m_view->SetViewMode(s.mode);
        Run(s.frames);
        ExpectNear(GetCameraPosition(), kP + s.eye, 0.02f);
        ExpectNear(GetCameraDirection(), Normal(s.direction), 0.02f);
    }
}

TEST_F(ViewTest, HeadStillAndFollowCameras) {
    // Head: from the head part, along its -Z.
    R(0).m_frames[0].m_parent = &R(0).m_frames[kRootFrame];
    R(0).m_frames[0].SetLocalPosition(0, 1.5f, 0);
    m_view->SetViewMode(2);
    Run(1);
    ExpectNear(GetCameraPosition(), kP + Vec3(0, 1.5f, 0), 1e-4f);
    ExpectNear(GetCameraDirection(), Vec3(0, 0, -1), 1e-4f);
    // Still: the view matrix as it was.
    SetViewLookAt(Vec3(7, 7, 7), Vec3(0, 0, 0), Vec3(0, 1, 0));
    Mat4 before = g_matView;
    m_view->SetViewMode(8);
    Run(5);
    for (int r = 0; r < 4; ++r) ExpectNear(MatrixRow(g_matView, r), MatrixRow(before, r), 0);
    // Follow keeps its own direction and closes in to 2.5 units.
    Vec3 dir = GetCameraDirection();
    m_view->SetViewMode(7);
    Run(100);
    ExpectNear(GetCameraDirection(), dir, 1e-3f);
    ExpectNear(GetCameraPosition(), kP - dir * 2.5f, 0.02f);
}

TEST_F(ViewTest, ScriptedShotsCircleAndPullAway) {
    // Orbit (201) and time-up (230): 3 units from the robot, looking at it, turning opposite ways.
    float sideOrbit = 0;
    for (int mode : {201, 230}) {
        SCOPED_TRACE(mode);
        m_view->SetViewMode(mode);
        Run(10);
        Vec3 eye = GetCameraPosition();
        EXPECT_NEAR(GetDistanceVec(eye, kP), 3.0f, 1e-3f);
        ExpectNear(eye + GetCameraDirection() * 3.0f, kP, 1e-3f);
        if (mode == 201) sideOrbit = eye.x - kP.x;
        else EXPECT_LT(sideOrbit * (eye.x - kP.x), 0);
    }
    // Three shots: one side, the other, then straight on, pulling away without bound.
    m_view->SetViewMode(202);
    Run(15);
    EXPECT_LT(GetCameraPosition().x, kP.x);
    Run(30);
    EXPECT_GT(GetCameraPosition().x, kP.x);
    Run(30);
    float d1 = GetDistanceVec(GetCameraPosition(), kP);
    Run(100);
    EXPECT_GT(GetDistanceVec(GetCameraPosition(), kP), d1 + 20);
    EXPECT_EQ(m_view->m_shotStage, 2);
}

TEST_F(ViewTest, FinishShotSwingsFromTheFinisherToTheDefeated) {
    m_view->SetViewMode(220);
    Mat4 before = g_matView;
    Run(5);  // nothing until both robots are known
    for (int r = 0; r < 4; ++r) ExpectNear(MatrixRow(g_matView, r), MatrixRow(before, r), 0);
    Place(1, Vec3(-6, 1, -4));
    m_view->m_finisher = &R(0);
    m_view->m_defeated = &R(1);
    auto pivot = [] { return GetCameraPosition() + GetCameraDirection() * 3.0f; };
    Run(20);
    ExpectNear(pivot(), kP, 0.05f);
    Run(40);
    ExpectNear(pivot(), Vec3(-6, 1, -4), 0.05f);
    Run(60);
    ExpectNear(pivot(), Vec3(-6, 1, -4), 0.05f);
}

struct Cycle {
    int from, to;
};
const Cycle kCycles[] = {{9, 10}, {10, 11}, {11, 12}, {12, 9}, {2, 3}, {1, 3}, {5, 6}, {8, 9}, {0, 3}};

TEST_F(ViewTest, TabCyclesTheViewTypesAndEveryPressIsKept) {
    for (const Cycle& c : kCycles) {
        m_view->m_viewMode = c.from;
        m_view->CycleViewType();
        EXPECT_EQ(m_view->m_viewMode, c.to) << c.from;
        EXPECT_EQ(m_view->m_savedViewType, c.to) << c.from;
    }
    // A scripted shot, then back to the last Tab choice.
    m_view->m_viewMode = 9;
    m_view->CycleViewType();
    m_view->SetStartView();
    EXPECT_EQ(m_view->m_viewMode, 100);
    m_view->SetViewMode(-1);
    EXPECT_EQ(m_view->m_viewMode, 10);
    m_view->SetLoseView();
    EXPECT_EQ(m_view->m_viewMode, 200);
    m_view->SetWinView();
    EXPECT_TRUE(m_view->m_viewMode == 201 || m_view->m_viewMode == 202);
    // The choice outlives the battle.
    m_view.reset();
    m_view = std::make_unique<CBattleView>();
    EXPECT_EQ(m_view->m_viewMode, 10);
}

TEST_F(ViewTest, TimeUpOrbitOnlyWhenTheClockRanOut) {
    // The clock in steps; the seconds that the last drawn frame showed play no part (they read
    // 0 through the whole last second, and a skipped frame leaves them stale).
    const struct {
        int steps, seconds, mode;
    } rows[] = {{0, 1, 230}, {15, 0, 220}, {29, 0, 220}, {-1, -1, 220}, {300, 10, 220}, {0, -1, 230}};
    for (const auto& row : rows) {
        m_view->m_clockSeconds = row.seconds;
        m_view->m_shotAngle = 5;
        m_view->SetFinishView(row.steps);
        EXPECT_EQ(m_view->m_viewMode, row.mode) << row.steps;
        EXPECT_EQ(m_view->m_shotAngle, 0) << "every switch restarts the shot";
    }
}

TEST_F(ViewTest, TargetViewRollIsStepwiseClampedWithADeadZone) {
    m_view->SetViewMode(9);
    R(0).m_turnRate[1] = -1.0;  // a hard turn: goal roll 2.5
    float last = 0;
    for (int f = 0; f < 40; ++f) {
        Run(1);
        EXPECT_LE(std::fabs(m_view->m_roll), 0.25f);
        EXPECT_LE(std::fabs(m_view->m_roll - last), 0.0201f);
        last = m_view->m_roll;
    }
    EXPECT_FLOAT_EQ(m_view->m_roll, 0.25f);
    // A roll within the dead zone leaves the camera level.
    R(0).m_turnRate[1] = -0.016;  // goal 0.04
    Run(30);
    EXPECT_NEAR(m_view->m_roll, 0.04f, 1e-6f);
    EXPECT_NEAR(GetCameraRight().y, 0, 1e-5f);
}

TEST_F(ViewTest, PitchFollowsOnlyATargetInFront) {
    m_view->SetViewMode(4);
    m_view->m_pitch = 0.1f;
    R(0).m_target = nullptr;
    Run(5);
    EXPECT_FLOAT_EQ(m_view->m_pitch, 0.1f) << "no target: neither decayed nor applied";
    Place(1, kP + Vec3(0, 0, 6));  // behind: decays only
    R(0).m_target = &R(1);
    Run(1);
    EXPECT_FLOAT_EQ(m_view->m_pitch, 0.1f * 0.95f);
}

TEST_F(ViewTest, ABadRobotPositionNeverSpoilsTheViewMatrix) {
    const float nan = std::nanf("");
    for (int mode : {1, 2, 4, 7, 9, 12, 100, 201, 202, 230}) {
        SCOPED_TRACE(mode);
        SetViewLookAt(Vec3(0, 5, 20), Vec3(0, 0, 0), Vec3(0, 1, 0));
        Place(0, Vec3(nan, 1, 3));
        m_view->m_eye = m_view->m_lookAt = Vec3();
        m_view->SetViewMode(mode);
        Run(3);
        for (int r = 0; r < 4; ++r) {
            Vec3 row = MatrixRow(g_matView, r);
            EXPECT_TRUE(std::isfinite(row.x) && std::isfinite(row.y) && std::isfinite(row.z));
        }
        Place(0, kP);
    }
    // A robot standing exactly on the eye: a zero direction is refused too.
    SetViewLookAt(Vec3(0, 5, 20), Vec3(0, 0, 0), Vec3(0, 1, 0));
    SafeLookAt(Vec3(1, 1, 1), Vec3(1, 1, 1), Vec3(0, 1, 0));
    EXPECT_TRUE(std::isfinite(GetCameraDirection().x));
}

}  // namespace
