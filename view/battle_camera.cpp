// The camera routines of the battle view, one per view mode, each blending from the camera the
// view matrix holds toward its goal, and the sound listener that follows the camera.
#include "battle_view.h"

#include "camera.h"
#include "robot.h"
#include "sys_math.h"

#include <cmath>

namespace {

const Vec3 kUp(0, 1, 0);

bool FiniteView() {
    for (int r = 0; r < 4; ++r)
        if (!Vec3IsFinite(MatrixRow(g_matView, r))) return false;
    return true;
}

const C3DObject& Root(const CRobot* r) { return r->m_frames[kRootFrame]; }

}  // namespace

void SafeLookAt(const Vec3& eye, const Vec3& target, const Vec3& up) {
    Mat4 before = g_matView;
    if (!Vec3IsFinite(eye) || !Vec3IsFinite(target)) return;
    SetViewLookAt(eye, target, up);
    if (!FiniteView()) g_matView = before;
}

void SafeLookAlong(const Vec3& eye, const Vec3& dir, const Vec3& up) {
    Mat4 before = g_matView;
    if (!Vec3IsFinite(eye) || !Vec3IsFinite(dir)) return;
    SetViewLookAlong(eye, dir, up);
    if (!FiniteView()) g_matView = before;
}

void CBattleView::Update(CRobot* robot) {
    switch (m_viewMode) {
    case 1: case 3: case 5: case 11: UpdateChaseCamera(robot); break;
    case 2: UpdateHeadCamera(robot); break;
    case 4: case 6: case 10: UpdateFarChaseCamera(robot); break;
    case 7: UpdateFollowCamera(robot); break;
    case 8: UpdateStillCamera(robot); break;
    case 9: UpdateTargetCamera(robot); break;
    case 12: UpdateOverheadCamera(robot); break;
    case kStartViewMode: case kLoseViewMode: UpdateFrontCamera(robot); break;
    case kWinViewMode: UpdateOrbitCamera(robot); break;
    case kWinViewMode + 1: UpdateThreeShotCamera(robot); break;
    case kFinishViewMode: UpdateFinishCamera(robot); break;
    case kTimeUpViewMode: UpdateTimeUpCamera(robot); break;
    default: break;
    }
    UpdateListener(robot);
}

// Direction blended with weight a, look point with weight b, the eye `distance` behind it.
void CBattleView::SmoothFollow(CRobot* r, const Vec3& goal, float a, float b, float distance) {
    Vec3 e = GetCameraPosition(), dir = GetCameraDirection();
    Vec3 d = goal * a - dir * (1 - a);
    Vec3 look = Root(r).GetLocalPosition() * b + (e - d * distance) * (1 - b);
    SafeLookAlong(look + d * distance, -d, kUp);
}

void CBattleView::BankingRoll(CRobot* r) {
    m_roll = m_roll * 0.9f + float(-r->m_turnRate[1] * 2.5) * 0.1f;
    RotateViewZ(m_roll);
}

// Tilts the view a little while the target ahead sits near the top or bottom edge; without a
// target the pitch is neither decayed nor applied.
void CBattleView::PitchToTarget(CRobot* r) {
    if (!r->m_target) return;
    const C3DObject& target = Root(r->m_target);
    Vec3 rel = GetRelativePosition(Root(r), target);
    if (rel.z < 0) {
        Vec3 s = WorldToScreen(target.GetLocalPosition());
        if (s.x > 0 && s.x < 639) {
            if (s.y < 40) m_pitch -= 0.01f;
            if (s.y > 430) m_pitch += 0.01f;
        }
    }
    m_pitch *= 0.95f;
    RotateViewX(m_pitch);
}

void CBattleView::UpdateChaseCamera(CRobot* r) {
    SmoothFollow(r, Root(r).GetLocalAxisZ() + Vec3(0, 0.25f, 0), 0.1f, 0.2f, 2.5f);
    BankingRoll(r);
}

void CBattleView::UpdateHeadCamera(CRobot* r) {
    const C3DObject& head = r->m_frames[0];
    SafeLookAlong(head.GetWorldPosition(), -head.GetWorldAxisZ(), kUp);
}

void CBattleView::UpdateFarChaseCamera(CRobot* r) {
    SmoothFollow(r, Root(r).GetLocalAxisZ() + Vec3(0, 0.25f, 0), 0.3f, 0.3f, 4.5f);
    PitchToTarget(r);
    m_roll = m_roll * 0.9f + float(-r->m_turnRate[1] * 2.5) * 0.1f;
    if (std::fabs(m_roll) > 0.25f) m_roll = m_roll > 0 ? 0.25f : -0.25f;
    RotateViewZ(m_roll);
}

namespace {

// A robot's position raised to at least one unit above its shadow (the ground under it).
Vec3 Raised(const CRobot* r) {
    Vec3 p = Root(r).GetLocalPosition();
    Vec3 ground = r->m_shadow.GetLocalPosition();
    if (p.y - ground.y < 1.0f) p = ground + Vec3(0, 1, 0);
    return p;
}

}  // namespace

void CBattleView::UpdateTargetCamera(CRobot* r) {
    Vec3 z = Root(r).GetLocalAxisZ();
    Vec3 p = Raised(r);
    // Without a target the robot looks at itself: the nearest framing.
    Vec3 t = r->m_target ? Raised(r->m_target) : p;
    float k = GetDistanceVec(p, t) * 0.5f;
    k = k < 0.5f ? 0.5f : k > 2.0f ? 2.0f : k;
    Vec3 eyeGoal = p + (z + Vec3(0, 0.9f, 0)) * 1.5f + (z + Vec3(0, 0.25f, 0)) * k;
    Vec3 lookGoal = p - z * k;
    m_eye = eyeGoal * 0.7f + m_eye * 0.3f;
    m_lookAt = lookGoal * 0.7f + m_lookAt * 0.3f;
    SafeLookAt(m_eye, m_lookAt, kUp);
    PitchToTarget(r);
    float goal = float(-r->m_turnRate[1] * 2.5);
    if (std::fabs(m_roll - goal) <= 0.021f) m_roll = goal;
    else m_roll += goal > m_roll ? 0.02f : -0.02f;
    if (std::fabs(m_roll) > 0.25f) m_roll = m_roll > 0 ? 0.25f : -0.25f;
    if (std::fabs(m_roll) > 0.05f) RotateViewZ(m_roll > 0 ? m_roll - 0.05f : m_roll + 0.05f);
}

void CBattleView::UpdateOverheadCamera(CRobot* r) {
    Vec3 p = Root(r).GetLocalPosition();
    Vec3 t = r->m_target ? Root(r->m_target).GetLocalPosition() : p;
    float d = GetDistanceVec(p, t);
    d = d < 5 ? 5 : d > 18 ? 18 : d;
    float k = d * 0.4f;
    SafeLookAt(p + Vec3(0, 5 * k, 0), p - Root(r).GetLocalAxisZ() * k, kUp);
}

void CBattleView::UpdateFollowCamera(CRobot* r) {
    Vec3 e = GetCameraPosition();
    Vec3 d = -GetCameraDirection();
    Vec3 look = Root(r).GetLocalPosition() * 0.3f + (e - d * 2.5f) * 0.7f;
    SafeLookAlong(look + d * 2.5f, -d, kUp);
    BankingRoll(r);
}

void CBattleView::UpdateFrontCamera(CRobot* r) {
    SmoothFollow(r, -Root(r).GetLocalAxisZ() + Vec3(0, 0.25f, 0), 0.3f, 0.3f, 4.5f);
    BankingRoll(r);
}

void CBattleView::UpdateOrbitCamera(CRobot* r) {
    SafeLookAlong(Root(r).GetLocalPosition(), Root(r).GetLocalAxisZ(), kUp);
    m_shotAngle += 0.05f;
    RotateViewY(m_shotAngle);
    TranslateView(Vec3(0, 0, -3));
}

void CBattleView::UpdateTimeUpCamera(CRobot* r) {
    SafeLookAlong(Root(r).GetLocalPosition(), Root(r).GetLocalAxisZ(), kUp);
    m_shotAngle -= 0.05f;
    RotateViewY(m_shotAngle);
    TranslateView(Vec3(0, 0, -3));
}

void CBattleView::UpdateThreeShotCamera(CRobot* r) {
    SafeLookAlong(Root(r).GetLocalPosition(), Root(r).GetLocalAxisZ(), kUp);
    m_shotCounter += 1;
    m_shotAngle += 0.15f;
    if (m_shotCounter >= 30 && m_shotStage < 2) {
        m_shotAngle = 0;
        m_shotCounter = 0;
        m_shotStage += 1;
    }
    if (m_shotStage < 1) {
        RotateViewY(1.0f);
        RotateViewX(0.2f);
        TranslateView(Vec3(0, 0, -2 - m_shotAngle));
    } else if (m_shotStage < 2) {
        RotateViewY(-1.0f);
        RotateViewX(0.2f);
        TranslateView(Vec3(0, 0, -2 - m_shotAngle));
    } else {
        RotateViewY(0);
        RotateViewX(0.2f);
        TranslateView(Vec3(0, 0, -1 - 2 * m_shotAngle));
    }
}

// Swings the pivot 3 units ahead of the eye over to the finishing robot, orbits it, swings over
// to the defeated robot, then turns slowly about it and holds.
void CBattleView::UpdateFinishCamera(CRobot*) {
    if (!m_finisher || !m_defeated) return;
    float t = m_shotAngle += 1;
    auto swingTo = [](const CRobot* robot, float u) {
        TranslateView(Vec3(0, 0, 3));
        Vec3 pivot = Root(robot).GetLocalPosition() * (1 - u) + GetCameraPosition() * u;
        SafeLookAlong(pivot, GetCameraDirection(), kUp);
        TranslateView(Vec3(0, 0, -3));
    };
    if (t < 20) {
        swingTo(m_finisher, (20 - t) / 20);
    } else if (t < 40) {
        TranslateView(Vec3(0, 0, 3));
        RotateViewY(-0.2f);
        TranslateView(Vec3(0, 0, -3));
    } else if (t < 60) {
        swingTo(m_defeated, (20 - (t - 40)) / 20);
    } else {
        TranslateView(Vec3(0, 0, 3));
        Vec3 pivot = Root(m_defeated).GetLocalPosition() * 0.2f + GetCameraPosition() * 0.8f;
        SafeLookAlong(pivot, GetCameraDirection(), kUp);
        if (t < 75) RotateViewY(-0.5f);
        else if (t < 90) RotateViewY(-0.1f);
        TranslateView(Vec3(0, 0, -3));
    }
}

void CBattleView::UpdateListener(CRobot* r) {
    Vec3 d = GetCameraDirection();
    Vec3 p = r->m_frames[0].GetWorldPosition() - d;
    SetListenerPosition(p.x, p.y, p.z);
    SetListenerOrientation(d.x, d.y, d.z, 0, 1, 0);
}
