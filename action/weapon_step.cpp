// The pieces every weapon script is built from. A part turned for a request is restored from
// its saved matrix rather than turned back, so no rounding drift gathers over a long battle.
#include "weapon_step.h"

#include "action_helpers.h"
#include "robot.h"

#include "node.h"

namespace {

constexpr float kQuarterTurn = 1.57f;      // forearm raised for a cut or a blade tip
constexpr float kArmSideways = 1.570795f;  // shoulder guns and shins
constexpr float kVolleyTilt = 0.628318f;

// Holds a part's matrix and puts it back when the request is made.
class CPartRestore {
public:
    explicit CPartRestore(C3DObject& part) : m_part(part), m_saved(part.m_matrix) {}
    ~CPartRestore() { m_part.m_matrix = m_saved; }
    CPartRestore(const CPartRestore&) = delete;
    CPartRestore& operator=(const CPartRestore&) = delete;

private:
    C3DObject& m_part;
    Mat4 m_saved;
};

const Vec3 kNoOffset(0, 0, 0);
const Vec3 kFacingDirection(1, 1, 1);  // the weapon list reads it as the robot's facing

void VolleyArm(CRobot& r, int part, float sideways, int level, int tilted) {
    C3DObject& arm = r.m_frames[part];
    CPartRestore keep(arm);
    arm.RotateY(sideways);
    if (level) r.FireWeaponAt("ショット３M", arm.GetWorldPosition(), -arm.GetWorldAxisZ());
    if (!tilted) return;
    arm.RotateX(kVolleyTilt);
    r.FireWeaponAt("ショット３M", arm.GetWorldPosition(), -arm.GetWorldAxisZ());
}

void OneWarhead(CRobot& r, const char* kind, float side) {
    C3DObject& root = r.m_frames[kRootFrame];
    Vec3 at, dir;
    {
        CPartRestore keep(root);
        root.Translate(Vec3(0.9f * side, 0.3f, 0));
        root.RotateY(-0.8f * side);
        root.RotateX(0.8f);
        at = root.GetWorldPosition() + root.GetWorldAxisZ() * 0.1f;
        dir = -root.GetLocalAxisZ();
    }
    r.FireWeaponAt(kind, at, dir);
}

}  // namespace

int IsAloft(const CRobot& r) { return r.m_groundHeight > kOffGround; }
int CameFromDash(const CRobot& r) { return NameContains(r.m_previousAction, "ダッシュ"); }

void Select(CRobot& r, const char* name, int moveState3) {
    UseKeyPoses(r);
    if (moveState3) r.m_moveState = 3;
    r.SetNextAction(name);
    EndStep(r);
}

void AttackTurn(CRobot& r, float factor) { r.ApplyTurnInput(static_cast<float>(r.m_attackTurnScale * factor)); }

void AttackTurnIn(CRobot& r, int first, int last, float factor) {
    if (InFrames(r, first, last)) AttackTurn(r, factor);
}

void PerStepCost(CRobot& r) { r.UseEnergy(r.m_epPerStep); }

void LumpAt(CRobot& r, int frame, int amount) {
    if (r.m_actionFrame == frame) r.UseEnergy(amount);
}

void EndAt(CRobot& r, int end, int state1) {
    if (r.m_actionFrame < end) return;
    if (state1) r.m_moveState = 1;
    QueueSlot(r, kActStance);
}

int InFrames(const CRobot& r, int first, int last) { return r.m_actionFrame >= first && r.m_actionFrame <= last; }

void MountRequest(CRobot& r, const char* kind, int mount) { r.FireWeapon(kind, mount, kNoOffset, kFacingDirection); }

void ArmTurnedMountRequest(CRobot& r, const char* kind, int mount) {
    C3DObject& arm = r.m_frames[kPartForearmL];
    CPartRestore keep(arm);
    arm.RotateX(kQuarterTurn);
    MountRequest(r, kind, mount);
}

void AimedMountRequest(CRobot& r, const char* kind, int mount, int leading) {
    r.FireWeapon(kind, mount, kNoOffset, AimedAt(r, leading));
}

void BladeTipRequest(CRobot& r, const char* kind, int part) {
    C3DObject& arm = r.m_frames[part];
    Vec3 at, dir;
    {
        CPartRestore keep(arm);
        arm.RotateX(kQuarterTurn);
        dir = arm.GetWorldAxisZ();
        at = arm.GetWorldPosition() + dir;
    }
    r.FireWeaponAt(kind, at, dir);
}

void LaserRequest(CRobot& r, const char* kind, int upperArm) {
    r.FireWeaponAt(kind, r.m_frames[upperArm].GetWorldPosition(), -r.m_frames[kRootFrame].GetWorldAxisZ());
}

void SpreadVolley(CRobot& r, int level, int tilted) {
    VolleyArm(r, kPartUpperArmL, -kArmSideways, level, tilted);
    VolleyArm(r, kPartUpperArmR, kArmSideways, level, tilted);
}

void FootTipRequest(CRobot& r, const char* kind, int leftFoot) {
    Vec3 tip[2], axis[2];
    {
        CPartRestore keepLeft(r.m_frames[kPartShinL]);
        CPartRestore keepRight(r.m_frames[kPartShinR]);
        const int shins[2] = {kPartShinL, kPartShinR};
        for (int i = 0; i < 2; ++i) r.m_frames[shins[i]].RotateX(-kArmSideways);
        for (int i = 0; i < 2; ++i) {
            const C3DObject& shin = r.m_frames[shins[i]];
            axis[i] = shin.GetWorldAxisZ();
            tip[i] = shin.GetWorldPosition() + axis[i] * static_cast<float>(r.m_legLength);
        }
    }
    const int i = leftFoot ? 0 : 1;
    r.FireWeaponAt(kind, tip[i], -axis[i]);
}

void MuzzleRequest(CRobot& r, const char* kind, int part, int aim) {
    const Vec3 at = r.m_frames[part].GetWorldPosition() - r.m_frames[kRootFrame].GetLocalAxisZ() * kMuzzleAhead;
    const Vec3 dir = aim ? AimedAt(r, aim == 2) : Facing(r);
    r.FireWeaponAt(kind, at, dir);
}

void HandRelease(CRobot& r, const char* kind) {
    r.FireWeaponAt(kind, r.m_frames[kPartForearmL].GetWorldPosition(), Facing(r));
}

void SplitWarhead(CRobot& r, const char* kind) {
    OneWarhead(r, kind, 1.0f);
    OneWarhead(r, kind, -1.0f);
}

int HoldsButtonOf(const CRobot& r, const char* action) {
    if (IsHeld(r, kInRightWeapon) && r.m_actionNames[kActRightHand] == action) return 1;
    if (IsHeld(r, kInBackWeapon) && r.m_actionNames[kActBack] == action) return 1;
    if (IsHeld(r, kInLeftWeapon) && r.m_actionNames[kActLeftHand] == action) return 1;
    return 0;
}

void EightWayDash(CRobot& r, double s) {
    if (r.m_actionFrame == 1) TwistFromDirections(r);
    LatchTwist(r, r.m_actionFrame == 1);
    LatchedSpeed(r, s);
}
