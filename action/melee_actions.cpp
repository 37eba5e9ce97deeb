// The fists, kicks and shoulder weapons: the melee selector and its three attacks, the
// shoulder lasers (one, both, side to side, alternating), the spread beam, the cross-gun
// selector with its grenade, and the satellite shot.
#include "action_helpers.h"
#include "action_tables.h"
#include "robot.h"
#include "weapon_step.h"

namespace {

const char* const kPunch = "格闘パンチ";

int Frame(const CRobot& r) { return r.m_actionFrame; }

// ---- Selectors ----

void StepMeleeSelector(CRobot& r) {
    const char* next = "格闘＿突R";
    if (CameFromDash(r)) next = "ブレード＿ダッシュ右";
    else if (IsHeld(r, kInBoost)) next = "格闘＿ダッシュブローパンチL";
    else if (IsHeld(r, kInBack) && IsAloft(r)) next = "ブレード（ジャンプ切下R";
    Select(r, next, 1);
}

void StepCrossGunSelector(CRobot& r) {
    const char* next = !CameFromDash(r) && IsHeld(r, kInBoost) ? "ショット＿グレネードY" : "ショット＿マシンガン４";
    Select(r, next, 1);
}

void StepShoulderLaserSelector(CRobot& r) {
    const char* next = "ショット＿肩レーザー";
    if (CameFromDash(r)) next = "ショット＿肩レーザーＤ";
    else if (IsHeld(r, kInBoost)) next = "ショット＿肩レーザーLR2";
    else if (IsHeld(r, kInRight) || IsHeld(r, kInLeft)) next = "ショット＿肩レーザーLR";
    Select(r, next, 0);
}

// ---- Shoulder weapons ----

const SPoseKey kGrenadeKeys[] = {
    {1, "ショット(汎用R)_10", 10}, {11, "ショット(汎用R)_15", 5}, {16, "ショット(汎用R)_10", 10}};
void StepGrenade(CRobot& r) {
    UseKeyPoses(r);
    Poses(r, kGrenadeKeys);
    AttackTurn(r, 0.8f);
    r.m_moveState = 3;
    PerStepCost(r);
    if (Frame(r) == 10) AimedMountRequest(r, "グレネード１", 1, 1);
    EndAt(r, 21);
    EndStep(r);
}

// The shoulder guns plant a robot on the ground; aloft it drifts on.
void PlantOnFirstFrame(CRobot& r) {
    if (Frame(r) != 1) return;
    if (IsAloft(r)) {
        r.m_moveState = 3;
        return;
    }
    r.ClearVelocity();
    r.ClearTurnRate();
}

const SPoseKey kSpreadKeys[] = {{1, "硬直_00", 10}};
void StepSpreadBeam(CRobot& r) {
    UseKeyPoses(r);
    Poses(r, kSpreadKeys);
    PlantOnFirstFrame(r);
    PerStepCost(r);
    if (Frame(r) == 10) SpreadVolley(r, 1, 1);
    EndAt(r, 16, 0);
    EndStep(r);
}

const SPoseKey kShoulderKeys[] = {{1, "肩レーザ_30", 10}, {11, "肩レーザ_40", 5}};

void BothArms(CRobot& r, const char* kind) {
    LaserRequest(r, kind, kPartUpperArmL);
    LaserRequest(r, kind, kPartUpperArmR);
}

void StepShoulderLaser(CRobot& r) {
    UseKeyPoses(r);
    Poses(r, kShoulderKeys);
    PlantOnFirstFrame(r);
    PerStepCost(r);
    if (InFrames(r, 16, 27)) BothArms(r, "レーザー");
    EndAt(r, 32, 0);
    EndStep(r);
}

void StepShoulderLaserSide(CRobot& r) {
    UseKeyPoses(r);
    Poses(r, kShoulderKeys);
    AttackTurn(r, 0);
    r.m_moveState = 0;
    PerStepCost(r);
    const int f = Frame(r);
    if (f == 16 || f == 18 || f == 20) {
        if (IsHeld(r, kInRight)) LaserRequest(r, "レーザーslow", kPartUpperArmR);
        else if (IsHeld(r, kInLeft)) LaserRequest(r, "レーザーslow", kPartUpperArmL);
        else QueueSlot(r, kActStance);
    }
    EndAt(r, 32, 0);
    EndStep(r);
}

// Four shots an arm, a slow one leading, sixteen steps a side.
void StepShoulderLaserAlternate(CRobot& r) {
    UseKeyPoses(r);
    Poses(r, kShoulderKeys);
    AttackTurn(r, 0);
    r.m_moveState = 0;
    PerStepCost(r);
    const int f = Frame(r);
    if (InFrames(r, 16, 76)) {
        const int beat = f % 16;
        const int arm = (f / 16) % 2 ? kPartUpperArmR : kPartUpperArmL;
        if (beat == 1) LaserRequest(r, "レーザーslow", arm);
        else if (beat == 5 || beat == 9 || beat == 13) LaserRequest(r, "レーザー", arm);
    }
    EndAt(r, 82, 0);
    EndStep(r);
}

void StepShoulderLaserDash(CRobot& r) {
    UseKeyPoses(r);
    Poses(r, kShoulderKeys);
    AttackTurn(r, 0.8f);
    r.m_moveState = 3;
    PerStepCost(r);
    if (InFrames(r, 16, 17) || InFrames(r, 26, 27)) BothArms(r, "レーザーslow");
    EndAt(r, 32, 0);
    EndStep(r);
}

// ---- Melee ----

const SPoseKey kBlowKeys[] = {{1, "ダッシュブロー(L)_10", 10}, {11, "ダッシュブロー(L)_30", 3}};
void StepDashBlow(CRobot& r) {
    UseKeyPoses(r);
    Poses(r, kBlowKeys);
    r.m_moveState = 1;
    if (InFrames(r, 5, 10)) {
        r.m_moveSpeed[0] = -0.4f;
        r.m_moveSpeed[1] = 0;
    } else {
        r.m_moveSpeed[0] = 0;
    }
    PerStepCost(r);
    LumpAt(r, 10, 200);
    if (InFrames(r, 10, 13)) MountRequest(r, kPunch, 4);
    EndAt(r, 24);
    EndStep(r);
}

const SPoseKey kStraightKeys[] = {{1, "突き（R_10", 5}, {15, "突き（R_20", 5}};
void StepStraight(CRobot& r) {
    UseKeyPoses(r);
    Poses(r, kStraightKeys);
    r.m_moveState = 1;
    if (InFrames(r, 0, 5)) {
        r.m_moveSpeed[0] = -0.13f;
        AttackTurn(r, 1.5f);
    } else if (InFrames(r, 6, 15)) {
        r.m_moveSpeed[0] = 0;
        r.m_moveSpeed[1] = 0;
        AttackTurn(r, 1.5f);
    } else if (InFrames(r, 20, 25)) {
        r.m_moveSpeed[0] = 0;
    } else {
        r.m_moveSpeed[0] = -0.09f;
    }
    PerStepCost(r);
    LumpAt(r, 15, 300);
    if (InFrames(r, 15, 20)) MountRequest(r, kPunch, 3);
    EndAt(r, 26);
    EndStep(r);
}

constexpr int kJumpCutHold = 19;  // the frame the cut waits on while high
const SPoseKey kSirenKeys[] = {{1, "ジャンプ振り下ろし２（サイレンR_05", 5},
                               {6, "ジャンプ振り下ろし２（サイレンR_10", 5},
                               {21, "ジャンプ振り下ろし２（サイレンR_30", 5},
                               {26, "ジャンプ振り下ろし２（サイレンR_40", 5}};
void StepSirenCut(CRobot& r) {
    UseKeyPoses(r);
    Poses(r, kSirenKeys);
    AttackTurn(r, 0.9f);
    if (r.m_groundHeight > 1.5 && Frame(r) == kJumpCutHold + 1) r.m_actionFrame = kJumpCutHold;
    PerStepCost(r);
    LumpAt(r, 21, 300);
    if (InFrames(r, 21, 36)) MountRequest(r, kPunch, 3);
    EndAt(r, 41);
    EndStep(r);
}

const SPoseKey kRollKickKeys[] = {{1, "キック前転_10", 10}, {11, "キック前転_30", 10}, {21, "キック前転_50", 10}};
void StepRollKick(CRobot& r) {
    UseKeyPoses(r);
    Poses(r, kRollKickKeys);
    AttackTurn(r, 1.0f);
    r.m_moveState = 1;
    if (Frame(r) == 2) r.m_velocity[1] = 0.5f;
    const int kicking = InFrames(r, 31, 60);
    if (kicking) {
        r.m_moveSpeed[0] = -0.4f;
        // Touching down ends the kick where it is.
        if (!IsAloft(r)) {
            r.ClearVelocity();
            r.ClearTurnRate();
            r.m_moveState = 1;
            QueueSlot(r, kActStagger);
        }
    }
    PerStepCost(r);
    LumpAt(r, 1, 900);
    if (kicking) FootTipRequest(r, "格闘", 1);
    EndAt(r, 61);
    EndStep(r);
}

void StepSatellite(CRobot& r) {
    if (Frame(r) == 1) r.SetAnimation("ショット");
    if (Frame(r) == 10) MuzzleRequest(r, "サテライト３", kPartForearmR, 1);
    EndAt(r, 21);
    EndStep(r);
}

constexpr int Chain(int k) { return kGroupMeleeFirst + k - 1; }

const SActionScript kRows[] = {
    {"c21格闘", Chain(1), StepMeleeSelector},
    {"ショット_クロスG", Chain(2), StepCrossGunSelector},
    {"ショット＿グレネードY", Chain(2), StepGrenade},
    {"c21ショット_肩レーザー", Chain(3), StepShoulderLaserSelector},
    {"ショット＿拡散ビーム１", Chain(3), StepSpreadBeam},
    {"ショット＿肩レーザー", Chain(3), StepShoulderLaser},
    {"ショット＿肩レーザーLR", Chain(3), StepShoulderLaserSide},
    {"ショット＿肩レーザーLR2", Chain(3), StepShoulderLaserAlternate},
    {"ショット＿肩レーザーＤ", Chain(3), StepShoulderLaserDash},
    {"格闘＿ダッシュブローパンチL", Chain(4), StepDashBlow},
    {"格闘＿突R", Chain(4), StepStraight},
    {"ブレード（ジャンプ切下R", Chain(4), StepSirenCut},
    {"格闘＿キック前転", Chain(4), StepRollKick},
    {"ショット＿サテライト３", Chain(5), StepSatellite},
};

}  // namespace

SActionTable GetMeleeActionTable() { return {kRows, static_cast<int>(sizeof kRows / sizeof kRows[0])}; }
