// How the scripts aim bursts, root muzzle shots and aimed shots, and the flying robots' hover.
#include "request_forms.h"

#include "robot.h"

namespace {

constexpr double kHoverDecay = 0.95f;
constexpr double kHoverFloor = 1.0;  // below this height a sinking flyer stops sinking
constexpr float kLeadSpeed = 0.5f;

}  // namespace

void FireBurst(CRobot& r, const char* kind, int frame) {
    const C3DObject& f = r.m_frames[frame];
    r.FireWeaponAt(kind, f.GetWorldPosition(), -f.GetWorldAxisZ());
}

void FireRootMuzzleShot(CRobot& r, const char* kind) {
    const C3DObject& root = r.m_frames[kRootFrame];
    const Vec3 z = root.GetLocalAxisZ();
    r.FireWeaponAt(kind, root.GetWorldPosition() - z * kMuzzleAhead, -z);
}

Vec3 Facing(const CRobot& r) { return -r.m_frames[kRootFrame].GetLocalAxisZ(); }

Vec3 AimedAt(CRobot& r, int leading) {
    if (!r.IsTargetInFront()) return Facing(r);
    return leading ? r.DirectionToTargetLeading(kLeadSpeed) : r.DirectionToTarget();
}

void HoverStep(CRobot& r) {
    double& vy = r.m_velocity[1];
    vy *= kHoverDecay;
    if (r.m_groundHeight < kHoverFloor && vy < 0) vy = 0;
    vy -= r.m_gravity;
}
