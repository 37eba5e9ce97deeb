// The blade cuts, the boost dashes and the selectors that turn one weapon button into one of
// several attacks. Each script is the common weapon step with its own frames: poses, turning,
// motion, costs, requests, then the end and "deff".
#include "action_helpers.h"
#include "action_tables.h"
#include "robot.h"
#include "weapon_step.h"

namespace {

constexpr int kBladeChain = kGroupBladeFirst;  // chain 1; chain k is kBladeChain + k - 1
constexpr int kLeftHandMount = 4, kRootMount = 10;
const char* const kBlade = "ブレード";
const char* const kBladeHard = "ブレード_硬直";

int Frame(const CRobot& r) { return r.m_actionFrame; }

// ---- Selectors ----

void StepBladeSelector1(CRobot& r) {
    const char* next = "ブレード(切下L";
    if (CameFromDash(r)) next = "h29_ブレード左滑り振りL";
    else if (IsHeld(r, kInBoost)) next = "ブレード(突L";
    else if (IsHeld(r, kInBack)) next = IsAloft(r) ? "ブレード(ジャンプ切下L" : "ブレード(ジャンプ切上L";
    else if (IsHeld(r, kInForward)) next = "ブレード(切下L";
    else if (IsHeld(r, kInRight) || IsHeld(r, kInLeft)) next = "ブレード(スライド突L";
    Select(r, next, 1);
}

void StepBladeSelector2(CRobot& r) {
    const char* next;
    if (CameFromDash(r)) next = IsAloft(r) && IsHeld(r, kInBoost) ? "c29ブレード2(SJ1" : "c29ブレード2(D1";
    else if (IsHeld(r, kInBoost)) next = "c29ブレード2(1";
    else if (IsAloft(r)) next = "c29ブレード2(J1";
    else if (IsHeld(r, kInBack)) next = "c29ブレード2(1";
    else next = "c29ブレード2(2";
    Select(r, next, 1);
}

void StepShoulderSelector(CRobot& r) {
    const char* next = CameFromDash(r) ? "ショット＿ミサイルBL2"
                       : IsHeld(r, kInBoost) ? "ショット＿ライフルBR" : "ショット＿ミサイルBL";
    Select(r, next, 1);
}

void StepShoulderSelector2(CRobot& r) {
    const char* next = CameFromDash(r) ? "c29ショット_AT2_ミサイルBL2"
                       : IsHeld(r, kInBoost) ? "c29ショット_AT2_ライフル3ren" : "c29ショット_AT2_ミサイルBL";
    Select(r, next, 1);
}

void StepBoostDashSelector(CRobot& r) {
    if (!AnyDirectionHeld(r)) r.SetNextAction(IsAloft(r) ? "c29空中ダッシュ４_急降下" : "c29空中ダッシュ４_急上昇");
    else if (!IsAloft(r)) r.SetNextAction("c29空中ダッシュ４_地上");
    else if (r.m_velocity[1] > -0.022f) r.SetNextAction("c29空中ダッシュ４_空中");
    else QueueSlot(r, kActStance);
    EndStep(r);
}

// ---- Cuts from the left hand ----

void StepBlade1(CRobot& r) {
    if (Frame(r) == 1) r.SetAnimation("ブレード１");
    r.m_moveState = 1;
    if (Frame(r) == 10) r.m_moveSpeed[0] = -0.4f;
    if (Frame(r) == 20) r.m_moveSpeed[0] = 0;
    PerStepCost(r);
    LumpAt(r, 10, 500);
    if (InFrames(r, 11, 18)) ArmTurnedMountRequest(r, kBlade, kLeftHandMount);
    EndAt(r, 31);
    EndStep(r);
}

void StepBlade2(CRobot& r) {
    if (Frame(r) == 1) r.SetAnimation("ブレード１");
    AttackTurnIn(r, 1, 18, 1.7f);
    r.m_moveState = 3;
    PerStepCost(r);
    LumpAt(r, 10, 500);
    if (InFrames(r, 11, 18)) ArmTurnedMountRequest(r, kBlade, kLeftHandMount);
    EndAt(r, 31);
    EndStep(r);
}

const SPoseKey kCutDownKeys[] = {{1, "ブレード(切下L_10", 10}, {11, "ブレード(切下L_20", 7}};
void StepCutDown(CRobot& r) {
    UseKeyPoses(r);
    Poses(r, kCutDownKeys);
    AttackTurn(r, 0.9f);
    r.m_moveState = 3;
    if (InFrames(r, 11, 18)) {
        r.m_moveState = 0;
        r.m_moveSpeed[0] = -r.m_walkSpeed;
    }
    PerStepCost(r);
    LumpAt(r, 10, 300);
    if (InFrames(r, 11, 18)) ArmTurnedMountRequest(r, kBlade, kLeftHandMount);
    EndAt(r, 21);
    EndStep(r);
}

const SPoseKey kThrustKeys[] = {{1, "ブレード(突L_10", 10}, {16, "ブレード(突L_20", 5}};
void StepThrust(CRobot& r) {
    UseKeyPoses(r);
    Poses(r, kThrustKeys);
    AttackTurn(r, 1.0f);
    if (InFrames(r, 15, 23)) {
        r.m_moveState = 0;
        r.m_moveSpeed[0] = -0.4f;
    }
    PerStepCost(r);
    LumpAt(r, 10, 400);
    if (InFrames(r, 15, 23)) ArmTurnedMountRequest(r, kBlade, kLeftHandMount);
    EndAt(r, 24);
    EndStep(r);
}

const SPoseKey kSlideSwingKeys[] = {{1, "h29_ブレード左滑り振り_10", 5},
                                    {6, "h29_ブレード左滑り振り_20", 5},
                                    {11, "h29_ブレード左滑り振り_40", 5}};
void StepSlideSwing(CRobot& r) {
    UseKeyPoses(r);
    Poses(r, kSlideSwingKeys);
    AttackTurn(r, 0);
    r.m_moveState = 3;
    if (InFrames(r, 11, 18)) r.m_moveSpeed[0] = -r.m_walkSpeed;
    PerStepCost(r);
    LumpAt(r, 10, 100);
    if (InFrames(r, 11, 18)) MountRequest(r, kBlade, kLeftHandMount);
    EndAt(r, 21);
    EndStep(r);
}

// ---- Lunges with the right-hand blade tip ----

struct SLunge {
    const SPoseKey* keys;
    int keyCount;
    int tipFirst, tipLast, end;
    int lumpFromEp;  // the lump is what the gauge holds (else the full gauge) less a step and 1
};

const SPoseKey kFangKeys[] = {{1, "牙突_10", 5}, {6, "牙突_30", 10}, {16, "牙突_40", 5}, {28, "牙突_30", 50}};
const SPoseKey kDashThrustKeys[] = {{1, "牙突_10", 5}, {6, "牙突_30", 10}, {23, "牙突_40", 5}, {28, "牙突_30", 20}};
const SLunge kFang = {kFangKeys, CountOf(kFangKeys), 11, 28, 49, 0};
const SLunge kDashThrust = {kDashThrustKeys, CountOf(kDashThrustKeys), 26, 28, 36, 1};

void StepLunge(CRobot& r, const SLunge& l) {
    const int f = Frame(r);
    UseKeyPoses(r);
    PoseKeys(r, f, l.keys, l.keyCount);
    if (InFrames(r, 1, 11)) AttackTurn(r, 1.0f);
    else if (f > 11) AttackTurn(r, 0.3f);
    if (InFrames(r, 1, 8)) r.m_moveState = 3;
    else if (InFrames(r, 9, 28)) {
        r.m_moveState = 1;
        r.m_moveSpeed[0] = -0.3f;
    } else if (f > 28) r.m_moveState = 1;
    PerStepCost(r);
    if (f == 10) {
        const int amount = (l.lumpFromEp ? r.m_ep : r.m_maxEp) - r.m_epPerStep - 1;
        // A gauge already lower than that pays nothing rather than being refilled.
        if (amount >= 0) r.UseEnergy(amount);
    }
    if (f == 9) FireTurnedEffect(r, "ダッシュ２", r.m_twistTarget, 0);
    if (InFrames(r, l.tipFirst, l.tipLast)) BladeTipRequest(r, "ブレード２", kPartForearmR);
    EndAt(r, l.end);
    EndStep(r);
}

void StepFang(CRobot& r) { StepLunge(r, kFang); }
void StepDashThrust(CRobot& r) { StepLunge(r, kDashThrust); }

const SPoseKey kDashRightKeys[] = {
    {1, "ブレード(ダッシュ右_10", 7}, {8, "ブレード(ダッシュ右_30", 4}, {12, "ブレード(ダッシュ右_40", 2}};
void StepDashRight(CRobot& r) {
    UseKeyPoses(r);
    Poses(r, kDashRightKeys);
    r.m_moveState = 3;
    PerStepCost(r);
    LumpAt(r, 7, 200);
    if (InFrames(r, 8, 14)) BladeTipRequest(r, "ブレード２", kPartForearmR);
    EndAt(r, 16);
    EndStep(r);
}

// ---- Jumping cuts ----

constexpr int kJumpCutStart = 610;  // the frame the cut jumps to once the ground is near
const SPoseKey kJumpCutDownKeys[] = {{1, "ブレード(ジャンプ切下L_10", 10}, {611, "ブレード(ジャンプ切下L_20", 5}};
void StepJumpCutDown(CRobot& r) {
    UseKeyPoses(r);
    Poses(r, kJumpCutDownKeys);
    AttackTurn(r, 0.9f);
    r.m_moveSpeed[0] = -r.m_dashSpeed;
    PerStepCost(r);
    double& vy = r.m_velocity[1];
    if (Frame(r) < kJumpCutStart) {
        if (r.m_groundHeight < 1.2 && vy < 0) {
            vy = -0.14f;
            r.m_actionFrame = kJumpCutStart;
            r.UseEnergy(300);
        }
    } else if (InFrames(r, 611, 616)) {
        vy = -0.14f;
    }
    if (InFrames(r, 611, 616)) MountRequest(r, kBlade, kLeftHandMount);
    EndAt(r, 619);
    EndStep(r);
}

const SPoseKey kJumpCutUpKeys[] = {
    {1, "ブレード(ジャンプ切上L_10", 10}, {11, "ブレード(ジャンプ切上L_25", 5}, {16, "ブレード(ジャンプ切上L_40", 5}};
void StepJumpCutUp(CRobot& r) {
    UseKeyPoses(r);
    Poses(r, kJumpCutUpKeys);
    AttackTurn(r, 0.9f);
    r.m_moveSpeed[0] = -r.m_dashSpeed;
    if (Frame(r) == 10) r.m_velocity[1] = 0.3f;
    PerStepCost(r);
    LumpAt(r, 10, 300);
    if (InFrames(r, 11, 21)) MountRequest(r, kBlade, kLeftHandMount);
    EndAt(r, 25);
    EndStep(r);
}

const SPoseKey kSlideThrustKeys[] = {{1, "ブレード(突L_10", 5}, {16, "ブレード(突L_20", 5}};
void StepSlideThrust(CRobot& r) {
    UseKeyPoses(r);
    Poses(r, kSlideThrustKeys);
    AttackTurnIn(r, 1, 15, 1.9f);
    if (Frame(r) == 1) r.m_heldTwist = IsHeld(r, kInRight) ? 1.57f : IsHeld(r, kInLeft) ? -1.57f : 0.0f;
    if (InFrames(r, 1, 15)) {
        r.m_moveState = 0;
        r.m_moveSpeed[0] = -0.1f;
        r.m_velocity[1] = -0.2f;
        const float side = r.m_heldTwist;
        r.m_moveSpeed[1] = side == 1.57f ? -r.m_walkSpeed : side == -1.57f ? r.m_walkSpeed : 0.0;
    } else if (InFrames(r, 16, 21)) {
        r.m_moveState = 1;
        r.m_moveSpeed[0] = -0.2f;
        r.m_moveSpeed[1] = 0;
    }
    PerStepCost(r);
    LumpAt(r, 15, 200);
    if (InFrames(r, 16, 21)) MountRequest(r, kBlade, kLeftHandMount);
    EndAt(r, 25);
    EndStep(r);
}

// ---- The second blade set ----

struct SStab {
    const SPoseKey* keys;
    int keyCount;
    const char* kind;
};
const SPoseKey kStabKeys[] = {{1, "ブレード(突L_10", 10}, {6, "ブレード(突L_20", 5}};
const SStab kStabStrong = {kStabKeys, CountOf(kStabKeys), "ブレード_強"};
const SStab kStabDash = {kStabKeys, CountOf(kStabKeys), kBladeHard};

void StepStab(CRobot& r, const SStab& s) {
    UseKeyPoses(r);
    PoseKeys(r, Frame(r), s.keys, s.keyCount);
    AttackTurnIn(r, 1, 9, 1.0f);
    if (Frame(r) == 11) {
        r.m_moveState = 0;
        r.m_moveSpeed[0] = -0.4f;
    } else if (Frame(r) >= 12) {
        r.m_moveState = 3;
    }
    PerStepCost(r);
    LumpAt(r, 10, 200);
    if (Frame(r) == 11) ArmTurnedMountRequest(r, s.kind, kLeftHandMount);
    EndAt(r, 16);
    EndStep(r);
}

void StepStab1(CRobot& r) { StepStab(r, kStabStrong); }
void StepStabD1(CRobot& r) { StepStab(r, kStabDash); }

const SPoseKey kLongStabKeys[] = {{1, "ブレード(突L_10", 10}, {21, "ブレード(突L_20", 5}};
void StepLongStab(CRobot& r) {
    UseKeyPoses(r);
    Poses(r, kLongStabKeys);
    AttackTurnIn(r, 1, 24, 1.0f);
    if (InFrames(r, 1, 24)) {
        r.m_moveState = 0;
        r.m_moveSpeed[0] = -0.25f;
    } else if (Frame(r) == 26) {
        r.m_moveState = 0;
        r.m_moveSpeed[0] = -0.2f;
    } else if (Frame(r) >= 27) {
        r.m_moveState = 3;
    }
    PerStepCost(r);
    LumpAt(r, 25, 200);
    if (Frame(r) == 26) ArmTurnedMountRequest(r, kBladeHard, kLeftHandMount);
    EndAt(r, 31);
    EndStep(r);
}

constexpr int kDiveEnd = 15;
constexpr float kDiveContact = 2.0f;

// Without a target there is nothing to touch: the dive runs its whole course.
int TouchesTarget(const CRobot& r) {
    if (!r.m_target) return 0;
    const Vec3 a = r.m_frames[kRootFrame].GetWorldPosition();
    const Vec3 b = r.m_target->m_frames[kRootFrame].GetWorldPosition();
    return CRobot::Distance(a.x, a.y, a.z, b.x, b.y, b.z) < kDiveContact;
}

const SPoseKey kDiveKeys[] = {{1, "ブレード(ジャンプ切下L_10", 10}, {16, "ブレード(ジャンプ切下L_20", 3}};
void StepDiveCut(CRobot& r) {
    UseKeyPoses(r);
    Poses(r, kDiveKeys);
    AttackTurnIn(r, 2, 14, 0.9f);
    const int f = Frame(r);
    int lump = 0;
    if (f == 1) {
        r.m_moveSpeed[0] = -0.3f;
        r.m_velocity[1] = -0.05f;
        r.m_moveState = 0;
    } else if (InFrames(r, 2, 14)) {
        r.m_moveSpeed[0] = -0.3f;
        r.m_moveState = 0;
        if (TouchesTarget(r)) {
            r.m_velocity[1] = 0;
            lump = 1;
            r.m_actionFrame = kDiveEnd;
        }
    } else if (f == 19) {
        r.m_moveState = 0;
        r.m_moveSpeed[0] = -0.4f;
    } else if (f >= 15) {
        r.m_moveState = 3;
    }
    PerStepCost(r);
    if (lump) r.UseEnergy(200);
    if (f == 19) ArmTurnedMountRequest(r, kBladeHard, kLeftHandMount);
    EndAt(r, 26);
    EndStep(r);
}

const SPoseKey kSkyCutKeys[] = {{1, "ブレード(ジャンプ切下L_10", 10}, {10, "ブレード(ジャンプ切下L_20", 5}};
void StepSkyCut(CRobot& r) {
    UseKeyPoses(r);
    Poses(r, kSkyCutKeys);
    AttackTurnIn(r, 1, 14, 0.9f);
    AttackTurnIn(r, 16, 34, 0.1f);
    if (InFrames(r, 1, 14)) {
        r.m_moveSpeed[0] = 0;
        r.m_velocity[1] = 0;
        r.m_moveState = 0;
    } else if (InFrames(r, 16, 34)) {
        r.m_moveSpeed[0] = -0.4f;
        r.m_velocity[1] = 0;
        r.m_moveState = 0;
    } else if (Frame(r) >= 35) {
        r.m_moveState = 3;
    }
    PerStepCost(r);
    LumpAt(r, 1, 900);
    if (Frame(r) == 15) {
        PlaySound(r, 0);
        MountRequest(r, "ダッシュ２", kRootMount);
    }
    if (InFrames(r, 16, 34)) {
        FireTurnedEffect(r, "ブースト", r.m_twist, 1);
        ArmTurnedMountRequest(r, kBlade, kLeftHandMount);
    }
    EndAt(r, 41);
    EndStep(r);
}

// ---- Boost dashes ----

void BoostFlames(CRobot& r, float kick) {
    r.KickAuxPart(kAuxFrame0, kick);
    r.KickAuxPart(kAuxFrame1, kick);
    MountRequest(r, "ブーストB", kAuxFrame0);
    MountRequest(r, "ブーストB", kAuxFrame1);
}

void StepBoostVertical(CRobot& r, const char* pose, float vy, float kick) {
    UseKeyPoses(r);
    if (Frame(r) == 1) r.SetPose(pose, 10);
    r.m_velocity[1] = vy;
    BoostFlames(r, kick);
    EndAt(r, 10);
    EndStep(r);
}

void StepBoostUp(CRobot& r) { StepBoostVertical(r, "h29_ブーストジャンプ_20", 0.3f, 1.5f); }
void StepBoostDown(CRobot& r) { StepBoostVertical(r, "h29_ブーストジャンプ_40", -0.3f, 0); }

// A weapon button hands over to its action; otherwise a dash lets go after 10 steps without
// a direction, or after 20 in any case.
void BoostDashEnd(CRobot& r) {
    if (IsHeld(r, kInRightWeapon)) QueueSlot(r, kActRightHand);
    else if (IsHeld(r, kInLeftWeapon)) QueueSlot(r, kActLeftHand);
    else if ((Frame(r) >= 10 && !AnyDirectionHeld(r)) || Frame(r) >= 20) {
        if (IsAloft(r)) QueueSlot(r, kActStance);
        else r.SetNextAction("h29_ブレーキ");
    }
    EndStepState1(r);
}

const SPoseKey kGroundDashKeys[] = {{1, "h29_ダッシュ2_4", 2},  {3, "h29_ダッシュ2_8", 2},  {5, "h29_ダッシュ2_12", 2},
                                    {7, "h29_ダッシュ2_16", 2}, {9, "h29_ダッシュ2_20", 2}, {11, "h29_ダッシュ2_24", 2}};
void StepBoostGround(CRobot& r) {
    UseKeyPoses(r);
    PoseKeys(r, Frame(r) % 12, kGroundDashKeys, CountOf(kGroundDashKeys));
    AttackTurnIn(r, 1, 10, 0);
    if (Frame(r) > 10) AttackTurn(r, 0.5f);
    EightWayDash(r, 0.3f);
    r.m_moveState = Frame(r) <= 10 ? 1 : 3;
    if (Frame(r) == 1) {
        PlaySound(r, 0);
        MountRequest(r, "ダッシュ２", kRootMount);
    }
    BoostFlames(r, 0.7f);
    BoostDashEnd(r);
}

void StepBoostAloft(CRobot& r) {
    UseKeyPoses(r);
    if (Frame(r) == 1) r.SetPose("ダッシュ(空中", 5);
    AttackTurn(r, 0);
    EightWayDash(r, 0.27f);
    r.m_velocity[1] = 0;
    r.m_moveState = 2;
    PerStepCost(r);
    if (Frame(r) == 1) {
        PlaySound(r, 0);
        MountRequest(r, "ダッシュ２", kRootMount);
    }
    BoostFlames(r, 0.7f);
    BoostDashEnd(r);
}

constexpr int Chain(int k) { return kBladeChain + k - 1; }

const SActionScript kRows[] = {
    {"ブレード１", Chain(1), StepBlade1},
    {"ブレード２", Chain(1), StepBlade2},
    {"ブレード(切下L", Chain(1), StepCutDown},
    {"ブレード(突L", Chain(1), StepThrust},
    {"h29_ブレード左滑り振りL", Chain(1), StepSlideSwing},
    {"ブレード＿牙突", Chain(1), StepFang},
    {"ブレード＿ダッシュ突", Chain(1), StepDashThrust},
    {"ブレード＿ダッシュ右", Chain(1), StepDashRight},
    {"ブレード(ジャンプ切下L", Chain(1), StepJumpCutDown},
    {"ブレード(ジャンプ切上L", Chain(1), StepJumpCutUp},
    {"ブレード(スライド突L", Chain(1), StepSlideThrust},
    {"c29ブレード1", Chain(1), StepBladeSelector1},
    {"c29ブレード2", Chain(2), StepBladeSelector2},
    {"c29ブレード2(1", Chain(2), StepStab1},
    {"c29ブレード2(2", Chain(2), StepLongStab},
    {"c29ブレード2(D1", Chain(2), StepStabD1},
    {"c29ブレード2(J1", Chain(2), StepDiveCut},
    {"c29ブレード2(SJ1", Chain(2), StepSkyCut},
    {"c29ショット_AT", Chain(3), StepShoulderSelector},
    {"c29ショット_AT2", Chain(5), StepShoulderSelector2},
    {"c29空中ダッシュ４", Chain(7), StepBoostDashSelector},
    {"c29空中ダッシュ４_急上昇", Chain(8), StepBoostUp},
    {"c29空中ダッシュ４_急降下", Chain(8), StepBoostDown},
    {"c29空中ダッシュ４_地上", Chain(8), StepBoostGround},
    {"c29空中ダッシュ４_空中", Chain(8), StepBoostAloft},
};

}  // namespace

SActionTable GetBladeActionTable() { return {kRows, static_cast<int>(sizeof kRows / sizeof kRows[0])}; }
