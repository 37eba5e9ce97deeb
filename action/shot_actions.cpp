// The shot actions: shoulder missiles and rifles, hand missiles, bombs, rifles, machine guns,
// beams and the shield, with the selectors that turn one button into one of them. Most are
// the common weapon step over a row of data; the few that do more have their own step.
#include "action_helpers.h"
#include "action_tables.h"
#include "robot.h"
#include "weapon_step.h"

#include <climits>

namespace {

constexpr int kNoTurn = INT_MIN;  // a row that makes no turning call
constexpr int kAll = INT_MAX;

int Frame(const CRobot& r) { return r.m_actionFrame; }

// How a row's request leaves the robot.
enum EForm {
    kFormMount,      // mount request along the facing
    kFormAimedMount, // mount request toward a target in front
    kFormLeadMount,  // the same, leading a moving target
    kFormMuzzle,     // half a unit ahead of a forearm, along the facing
    kFormAimedMuzzle,
    kFormLeadMuzzle,
    kFormHand,       // let go from the left hand
    kFormSplit,      // two warheads, one to each side
};

struct SFire {
    int frame;
    int form;
    const char* kind;
    int where;  // mount, or forearm part for muzzles
};

struct SShot {
    const SPoseKey* keys;
    int keyCount;
    int turnFirst, turnLast;  // turnFirst kNoTurn: no turning call
    float turn;
    int moveState;            // -1: not written
    int perStep;
    const SFire* fires;
    int fireCount;
    int end;
    int endState1;
    void (*motion)(CRobot&);  // what a row does beyond the common step, in the motion slot
};

void Fire(CRobot& r, const SFire& f) {
    switch (f.form) {
    case kFormMount: MountRequest(r, f.kind, f.where); break;
    case kFormAimedMount: AimedMountRequest(r, f.kind, f.where, 0); break;
    case kFormLeadMount: AimedMountRequest(r, f.kind, f.where, 1); break;
    case kFormMuzzle: MuzzleRequest(r, f.kind, f.where, 0); break;
    case kFormAimedMuzzle: MuzzleRequest(r, f.kind, f.where, 1); break;
    case kFormLeadMuzzle: MuzzleRequest(r, f.kind, f.where, 2); break;
    case kFormHand: HandRelease(r, f.kind); break;
    case kFormSplit: SplitWarhead(r, f.kind); break;
    default: break;
    }
}

void RunShot(CRobot& r, const SShot& s) {
    UseKeyPoses(r);
    PoseKeys(r, Frame(r), s.keys, s.keyCount);
    if (s.turnFirst != kNoTurn) AttackTurnIn(r, s.turnFirst, s.turnLast, s.turn);
    if (s.moveState >= 0) r.m_moveState = s.moveState;
    if (s.motion) s.motion(r);
    if (s.perStep) PerStepCost(r);
    for (int i = 0; i < s.fireCount; ++i)
        if (s.fires[i].frame == Frame(r)) Fire(r, s.fires[i]);
    EndAt(r, s.end, s.endState1);
    EndStep(r);
}

template <int N>
constexpr int Count(const SFire (&)[N]) { return N; }

#define KEYS(k) k, CountOf(k)
#define FIRES(f) f, Count(f)

// ---- Motion extras ----
void KickLeftAux(CRobot& r) { r.KickAuxPart(kAuxFrame0, 0); }
void KickRightAux(CRobot& r) { r.KickAuxPart(kAuxFrame1, 0); }
void KickLeftAuxHeld(CRobot& r) {
    KickLeftAux(r);
    if (InFrames(r, 1, 20)) r.m_twistTarget = r.m_heldTwist;
}
void KickBothUp(CRobot& r) {
    r.KickAuxPart(kAuxFrame0, 1.5f);
    r.KickAuxPart(kAuxFrame1, 1.5f);
}
void KickBothDown(CRobot& r) {
    r.KickAuxPart(kAuxFrame0, 0);
    r.KickAuxPart(kAuxFrame1, 0);
}
void PitchMotion(CRobot& r) {
    if (InFrames(r, 1, 10)) r.m_moveState = 3;
    else if (InFrames(r, 11, 26)) {
        r.m_moveState = 1;
        r.m_moveSpeed[0] = -0.2f;
    } else if (Frame(r) > 26) r.m_moveState = 1;
}
void FangShotMotion(CRobot& r) {
    if (Frame(r) == 1) {
        r.ClearVelocity();
        r.ClearTurnRate();
    }
    if (InFrames(r, 6, 11)) r.m_moveSpeed[0] = -0.1f;
}
void BusterMotion(CRobot& r) {
    r.m_moveState = (InFrames(r, 11, 13) || Frame(r) >= 36) ? 1 : 3;
    if (InFrames(r, 10, 14)) {
        r.ClearVelocity();
        r.ClearTurnRate();
    }
}

// ---- Shoulder weapons ----
const SPoseKey kShoulderKeys[] = {{1, "h29_肩武器_20", 10}, {11, "h29_肩武器_30", 2}, {13, "h29_肩武器_20", 5}};
const SPoseKey kShoulderRaise[] = {{1, "h29_肩武器_20", 10}};
const SFire kMissileBLFires[] = {{5, kFormMount, "ミサイル１", kAuxFrame0}, {15, kFormMount, "ミサイル１", kAuxFrame0}};
const SFire kMissileBL2Fires[] = {{10, kFormMount, "ミサイル１", kAuxFrame0}};
const SFire kRifleBRFires[] = {{10, kFormMount, "マシンガン", kAuxFrame1},
                               {13, kFormMount, "マシンガン", kAuxFrame1},
                               {16, kFormMount, "マシンガン", kAuxFrame1}};
const SFire kRifle3Fires[] = {{13, kFormMount, "ライフル１", kAuxFrame1},
                              {17, kFormMount, "ライフル１", kAuxFrame1},
                              {21, kFormMount, "ライフル１", kAuxFrame1}};
const SShot kMissileBL = {KEYS(kShoulderKeys), 0, kAll, 0.2f, 3, 1, FIRES(kMissileBLFires), 21, 1, KickLeftAux};
const SShot kMissileBL2 = {KEYS(kShoulderKeys), 0, kAll, 0.5f, 3, 1, FIRES(kMissileBL2Fires), 26, 1, KickLeftAuxHeld};
const SShot kRifleBR = {KEYS(kShoulderKeys), 0, kAll, 0.2f, 2, 1, FIRES(kRifleBRFires), 21, 1, KickRightAux};
const SShot kRifle3 = {KEYS(kShoulderRaise), 0, kAll, 0, 2, 1, FIRES(kRifle3Fires), 26, 1, KickRightAux};

// ---- Hand missiles and bombs ----
const SPoseKey kSubKeys[] = {{1, "ショット(汎用L)_10", 10}, {11, "ショット(汎用L)_15", 5}, {16, "ショット(汎用L)_10", 10}};
const SPoseKey kLauncherKeys[] = {{1, "ショット(汎用L)_10", 5}, {6, "ショット(汎用L)_15", 3}};
const SPoseKey kStiffKeys[] = {{1, "硬直_00", 10}};
const SPoseKey kMissile2Keys[] = {{1, "ショット(汎用L)_10", 6},  {10, "ショット(汎用L)_10", 6}, {19, "ショット(汎用L)_10", 6},
                                  {28, "ショット(汎用L)_10", 6}, {7, "ショット(汎用L)_15", 3},  {16, "ショット(汎用L)_15", 3},
                                  {25, "ショット(汎用L)_15", 3}};
const SPoseKey kNuclearKeys[] = {{1, "ショット(汎用L)_10", 10}, {16, "ショット(汎用L)_15", 5}, {21, "ショット(汎用L)_10", 10}};
const SPoseKey kThrowKeys[] = {{1, "ボム(遠投)_25", 12}, {13, "ボム(遠投)_37", 6}, {19, "ボム(遠投)_41", 2}};
const SPoseKey kPitchKeys[] = {
    {1, "ボム(ピッチ)_10", 10}, {11, "ボム(ピッチ)_30", 10}, {21, "ボム(ピッチ)_40", 5}, {26, "ボム(ピッチ)_50", 5}};
const SPoseKey kRollKeys[] = {{1, "ボム(転がし)_10", 10}, {11, "ボム(転がし)_30", 10}};

const SFire kSubFires[] = {{11, kFormMuzzle, "ミサイル", kPartForearmL}};
const SFire kLauncherFires[] = {{6, kFormMount, "ミサイル１", 2}};
const SFire kVerticalFires[] = {{10, kFormMount, "垂直ミサイル", kAuxFrame0}, {15, kFormMount, "垂直ミサイル", kAuxFrame1}};
const SFire kVertical2Fires[] = {{10, kFormMount, "垂直ミサイル", kAuxFrame0}, {20, kFormMount, "垂直ミサイル", kAuxFrame1}};
const SFire kSplitFires[] = {{10, kFormSplit, "多弾頭ミサイル", 0}};
const SFire kMissile2Fires[] = {
    {7, kFormMount, "ミサイル１", 2}, {16, kFormMount, "ミサイル１", 2}, {25, kFormMount, "ミサイル１", 2}};
const SFire kNuclearFires[] = {{21, kFormMount, "核ミサイル", 2}};
const SFire kThrowFires[] = {{15, kFormHand, "ボム", 0}};
const SFire kPitchFires[] = {{26, kFormHand, "ボム_H", 0}};
const SFire kRollFires[] = {{15, kFormHand, "ボム_L", 0}};

const SShot kSubShot = {KEYS(kSubKeys), kNoTurn, 0, 0, 3, 0, FIRES(kSubFires), 31, 1, nullptr};
const SShot kLauncher = {KEYS(kLauncherKeys), 0, kAll, 0.5f, 1, 1, FIRES(kLauncherFires), 10, 1, nullptr};
const SShot kVertical = {KEYS(kStiffKeys), 0, kAll, 0.9f, 3, 1, FIRES(kVerticalFires), 21, 1, KickBothUp};
const SShot kVertical2 = {KEYS(kStiffKeys), 0, kAll, 0, 0, 1, FIRES(kVertical2Fires), 23, 1, KickBothUp};
const SShot kSplit = {KEYS(kStiffKeys), 0, kAll, 0, 0, 1, FIRES(kSplitFires), 31, 1, KickBothDown};
const SShot kMissile2 = {KEYS(kMissile2Keys), 0, kAll, 1.0f, 3, 1, FIRES(kMissile2Fires), 41, 1, nullptr};
const SShot kNuclear = {KEYS(kNuclearKeys), 0, kAll, 1.0f, 3, 1, FIRES(kNuclearFires), 36, 1, nullptr};
const SShot kThrow = {KEYS(kThrowKeys), 0, kAll, 1.0f, 3, 1, FIRES(kThrowFires), 22, 1, nullptr};
const SShot kPitch = {KEYS(kPitchKeys), 0, kAll, 0.3f, -1, 1, FIRES(kPitchFires), 37, 1, PitchMotion};
const SShot kRoll = {KEYS(kRollKeys), kNoTurn, 0, 0, -1, 1, FIRES(kRollFires), 22, 1, nullptr};

// ---- Rifles and hand shots ----
const SPoseKey kRightShotKeys[] = {{1, "ショット(汎用R)_10", 10}, {11, "ショット(汎用R)_15", 5}, {16, "ショット(汎用R)_10", 10}};
const SPoseKey kRifleDKeys[] = {{1, "FARTマシンガンRダッシュ_10", 10},
                                {14, "FARTマシンガンRダッシュ_10", 5},
                                {22, "FARTマシンガンRダッシュ_10", 5},
                                {11, "FARTマシンガンRダッシュ_20", 3},
                                {19, "FARTマシンガンRダッシュ_20", 3}};
const SPoseKey kRifleVKeys[] = {{1, "ショット(汎用R)_10", 10}, {11, "ショット(汎用R)_15", 1}, {14, "ショット(汎用R)_15", 1},
                                {17, "ショット(汎用R)_15", 1}, {12, "ショット(汎用R)_10", 2}, {15, "ショット(汎用R)_10", 2}};
const SPoseKey kRifleYKeys[] = {{1, "ショット(汎用R)_10", 5}, {6, "ショット(汎用R)_15", 3}, {8, "ショット(汎用R)_10", 5}};
const SPoseKey kNormalKeys[] = {{1, "ショット(汎用R)_10", 5}, {6, "ショット(汎用R)_15", 5}, {11, "ショット(汎用R)_10", 10}};
const SPoseKey kLeanKeys[] = {{1, "ダッシュ１_40", 5},         {5, "射撃２（前傾_10", 5},  {11, "射撃２（前傾_20", 3},
                              {17, "射撃２（前傾_20", 3}, {14, "射撃２（前傾_10", 3}, {30, "射撃２（前傾_10", 3}};
const SPoseKey kNormal2Keys[] = {{1, "ショット(汎用R)_10", 10}, {11, "ショット(汎用R)_15", 5}};
const SPoseKey kNormal2CpuKeys[] = {{1, "ショット(汎用R)_10", 3}, {3, "ショット(汎用R)_15", 2}};
const SPoseKey kFangKeys[] = {{1, "牙突_10", 5}, {6, "牙突_30", 5}, {11, "牙突_40", 5}};
const SPoseKey kMultiKeys[] = {{1, "ショット(ダッシュ-小)_20", 10}, {20, "ショット(ダッシュ-小)_40", 10}};
const SPoseKey kLean3Keys[] = {{1, "ダッシュ１_40", 5},
                               {5, "射撃２（前傾_10", 5},
                               {21, "射撃２（前傾_20", 3},
                               {27, "射撃２（前傾_20", 3},
                               {24, "射撃２（前傾_10", 3}};
const SPoseKey kStrongKeys[] = {{1, "射撃３（強_10", 10}, {11, "射撃３（強_30", 5}, {16, "射撃３（強_10", 5}};
const SPoseKey kBusterKeys[] = {{1, "射撃４（バスター_10", 10}, {15, "射撃４（バスター_20", 5}, {36, "射撃４（バスター_50", 5}};

const SFire kRifleFires[] = {{10, kFormAimedMuzzle, "ライフル１", kPartForearmR}};
const SFire kRifleDFires[] = {{10, kFormAimedMuzzle, "ライフル１", kPartForearmR},
                              {18, kFormAimedMuzzle, "ライフル１", kPartForearmR}};
const SFire kRifleVFires[] = {{10, kFormLeadMuzzle, "ライフル１", kPartForearmR},
                              {13, kFormLeadMuzzle, "ライフル１", kPartForearmR},
                              {16, kFormLeadMuzzle, "ライフル１", kPartForearmR}};
const SFire kRifleYFires[] = {{5, kFormLeadMuzzle, "ライフル１", kPartForearmR}};
const SFire kNormalFires[] = {{5, kFormMount, "ショット２", 1}};
const SFire kLeanFires[] = {{11, kFormMuzzle, "ショット２", kPartForearmR}, {17, kFormMuzzle, "ショット２", kPartForearmR}};
const SFire kLeanCpuFires[] = {{11, kFormMuzzle, "ショット１", kPartForearmR}, {17, kFormMuzzle, "ショット２", kPartForearmR}};
const SFire kNormal2Fires[] = {{10, kFormMount, "ショット２", 1}};
const SFire kNormal2CpuFires[] = {{3, kFormMount, "ショット２", 1}};
const SFire kFangFires[] = {{15, kFormMount, "ショット１", 1}};
const SFire kMultiFires[] = {{5, kFormAimedMount, "ショット３", 1},
                             {10, kFormAimedMount, "ショット３", 1},
                             {15, kFormAimedMount, "ショット３", 1},
                             {20, kFormAimedMount, "ショット３", 1}};
const SFire kLean3Fires[] = {{21, kFormMuzzle, "ショット２", kPartForearmR}, {27, kFormMuzzle, "ショット２", kPartForearmR}};
const SFire kStrongFires[] = {{11, kFormMuzzle, "ショット２", kPartForearmR}};
const SFire kBusterFires[] = {{10, kFormMount, "レーザー", 1},
                              {11, kFormMount, "レーザー", 1},
                              {12, kFormMount, "レーザー", 1},
                              {13, kFormMount, "レーザー", 1},
                              {14, kFormMount, "レーザー", 1}};

const SShot kRifle = {KEYS(kRightShotKeys), 0, kAll, 0.01f, 3, 1, FIRES(kRifleFires), 21, 1, nullptr};
const SShot kRifleD = {KEYS(kRifleDKeys), 0, kAll, 0.8f, 3, 1, FIRES(kRifleDFires), 31, 1, nullptr};
const SShot kRifleV = {KEYS(kRifleVKeys), 0, kAll, 0.01f, 0, 1, FIRES(kRifleVFires), 21, 1, nullptr};
const SShot kRifleY = {KEYS(kRifleYKeys), 0, kAll, 0.01f, 3, 1, FIRES(kRifleYFires), 11, 1, nullptr};
const SShot kNormal = {KEYS(kNormalKeys), 0, kAll, 0.5f, 3, 1, FIRES(kNormalFires), 21, 1, nullptr};
const SShot kLean = {KEYS(kLeanKeys), 0, kAll, 0.75f, 3, 1, FIRES(kLeanFires), 41, 1, nullptr};
const SShot kNormal2 = {KEYS(kNormal2Keys), 0, kAll, 0.9f, 3, 1, FIRES(kNormal2Fires), 16, 1, nullptr};
const SShot kNormal2Cpu = {KEYS(kNormal2CpuKeys), 0, kAll, 0.9f, 3, 1, FIRES(kNormal2CpuFires), 6, 1, nullptr};
const SShot kFangShot = {KEYS(kFangKeys), kNoTurn, 0, 0, -1, 1, FIRES(kFangFires), 21, 1, FangShotMotion};
const SShot kMulti = {KEYS(kMultiKeys), 0, kAll, 0.7f, 3, 1, FIRES(kMultiFires), 31, 0, nullptr};
const SShot kLean3 = {KEYS(kLean3Keys), 0, kAll, 0.6f, 3, 1, FIRES(kLean3Fires), 46, 1, nullptr};
const SShot kStrong = {KEYS(kStrongKeys), 0, kAll, 0.7f, 3, 1, FIRES(kStrongFires), 31, 1, nullptr};
const SShot kBuster = {KEYS(kBusterKeys), kNoTurn, 0, 0, -1, 1, FIRES(kBusterFires), 51, 1, BusterMotion};
const SShot kLeanPlus = {KEYS(kLeanKeys), 0, kAll, 1.2f, 3, 1, FIRES(kLeanFires), 31, 1, nullptr};
const SShot kLeanPlusCpu = {KEYS(kLeanKeys), 0, kAll, 1.2f, 3, 1, FIRES(kLeanCpuFires), 31, 1, nullptr};

// ---- Rows with steps of their own ----

void StepShield(CRobot& r) {
    UseKeyPoses(r);
    PoseAt(r, Frame(r), 1, "ショット(汎用L)_10", 10);
    AttackTurn(r, 0.001f);
    PerStepCost(r);
    if (Frame(r) % 5 == 1) MountRequest(r, "シールド", kPartForearmL);
    if (!IsHeld(r, kInLeftWeapon)) {
        r.m_moveState = 1;
        QueueSlot(r, kActStance);
    }
    EndStep(r);
}

void StepHandShot(CRobot& r) {
    if (Frame(r) == 1) r.SetAnimation("ショット");
    AttackTurnIn(r, 1, 10, 0.7f);
    r.m_moveState = 3;
    if (Frame(r) == 1 && IsAloft(r)) r.SetNextAction("ジャンプショット");
    if (Frame(r) == 10) MuzzleRequest(r, "ショット１", kPartForearmR, 0);
    EndAt(r, 31);
    EndStep(r);
}

void StepJumpShot(CRobot& r) {
    if (Frame(r) == 1) r.SetAnimation("ショット");
    if (Frame(r) < 10) r.m_velocity[1] = 0;
    r.m_velocity[1] += 0.007f;
    PerStepCost(r);
    if (Frame(r) == 10) MuzzleRequest(r, "ショット１", kPartForearmR, 0);
    EndAt(r, 16);
    EndStep(r);
}

// ---- Repeating guns: frames 10 to 12 loop, one shot a pass at frame 11 ----

struct SGun {
    const char* self;
    const char* raise;
    const char* recoil;
    float turn;
    int moveState;  // -1: not written
    int mount;
    int leading;
    int maxShots;   // 0: fires while its own button is held, uncounted
};

constexpr int kLoopBack = 13, kLoopStart = 10, kGunFireFrame = 11, kTapShots = 3;
const char* const kGunSelector = "ショット＿（FARTマシンガンR";

void StepGun(CRobot& r, const SGun& g) {
    if (r.m_actionFrame == kLoopBack) r.m_actionFrame = kLoopStart;
    const int f = Frame(r);
    UseKeyPoses(r);
    if (f == 1) r.SetPose(g.raise, 10);
    if (f == kGunFireFrame) r.SetPose(g.recoil, 1);
    if (f == kGunFireFrame + 1) r.SetPose(g.raise, 2);
    AttackTurn(r, g.turn);
    if (g.moveState >= 0) r.m_moveState = g.moveState;
    PerStepCost(r);
    double& shots = r.m_actionParam[0];
    if (f == kGunFireFrame) {
        if (g.maxShots) shots += 1;  // counted whether or not the weapon list grants it
        AimedMountRequest(r, "マシンガン", g.mount, g.leading);
    }
    int done;
    if (!g.maxShots) done = !HoldsButtonOf(r, g.self);
    else if (shots >= g.maxShots) done = 1;
    else if (HoldsButtonOf(r, g.self) || HoldsButtonOf(r, kGunSelector)) done = 0;
    else done = shots >= kTapShots;
    if (done) {
        r.m_moveState = 1;
        QueueSlot(r, kActStance);
    }
    EndStep(r);
}

const SGun kGun4 = {"ショット＿マシンガン４", "ショット(汎用R)_10", "ショット(汎用R)_15", 0.9f, -1, 1, 1, 5};
const SGun kGun4Y = {"ショット＿マシンガン４Y", "ショット(汎用R)_10", "ショット(汎用R)_15", 0.01f, -1, 1, 1, 7};
const SGun kGun4D = {"ショット＿マシンガン４D", "FARTマシンガンRダッシュ_10", "FARTマシンガンRダッシュ_20", 0.9f, 3, 1, 0, 10};
const SGun kGun6 = {"ショット＿マシンガン６", "ショット(汎用L)_10", "ショット(汎用L)_15", 0.95f, 1, 2, 0, 0};

// ---- Selectors ----

void StepFartMissileSelector(CRobot& r) {
    Select(r, CameFromDash(r) ? "ショット＿ミサイル２" : IsHeld(r, kInBoost) ? "ショット＿核ミサイル" : "ショット＿ミサイルランチャー", 1);
}
void StepRocketSelector(CRobot& r) {
    Select(r, CameFromDash(r) ? "ショット＿MML2" : IsHeld(r, kInBoost) ? "ショット＿MML3" : "ショット＿MML1", 1);
}
void StepFixedSelector(CRobot& r) {
    Select(r, CameFromDash(r) ? "ショット＿垂直ミサイル" : IsHeld(r, kInBoost) ? "ショット＿多弾頭２" : "ショット＿垂直ミサイル２", 1);
}
void StepGunSelector(CRobot& r) {
    Select(r, CameFromDash(r) ? "ショット＿マシンガン４D" : IsHeld(r, kInBoost) ? "ショット＿マシンガン４Y" : "ショット＿マシンガン４", 1);
}
void StepRifleSelector(CRobot& r) {
    const char* next = "ショット＿Ａライフル２Y";
    if (CameFromDash(r)) next = "ショット＿Ａライフル２D";
    else if (IsHeld(r, kInBoost)) next = "ショット＿Ａライフル２V";
    else if (AnyDirectionHeld(r)) next = "ショット＿Ａライフル２";
    Select(r, next, 1);
}
void StepBombSelector(CRobot& r) {
    const char* next = IsHeld(r, kInBoost) ? "ショット＿ボム(ピッチ)" : IsHeld(r, kInBack) ? "ショット＿ボム(転がし)" : "ショット＿ボム(遠投)";
    Select(r, next, 0);
}
void StepSchwaESelector(CRobot& r) {
    Select(r, CameFromDash(r) ? "ショット＿ダッシュ前傾２" : IsHeld(r, kInBoost) ? "ショット＿牙突" : "ショット＿ノーマルショット", 1);
}
void SchwaSelect(CRobot& r, const char* lean, const char* normal) {
    const int dash = CameFromDash(r), boost = IsHeld(r, kInBoost), back = IsHeld(r, kInBack);
    const char* next = normal;
    if (dash && back) next = "ショット＿マルチショット２";
    else if (dash) next = lean;
    else if (boost && back) next = "ブレード＿牙突";
    else if (boost) next = "ブレード＿ダッシュ突";
    Select(r, next, 1);
}
void StepSchwaSelector(CRobot& r) { SchwaSelect(r, "ショット＿ダッシュ前傾２+", "ショット＿ノーマルショット2"); }
void StepSchwaCpuSelector(CRobot& r) { SchwaSelect(r, "ショット＿ダッシュ前傾２+CPU", "ショット＿ノーマルショット2CPU"); }
void StepSchteSelector(CRobot& r) {
    Select(r, CameFromDash(r) ? "ショット＿ダッシュ前傾３" : IsHeld(r, kInBoost) ? "ショット＿バスター" : "ショット＿強", 0);
}

#define SHOT(name, row) \
    void name(CRobot& r) { RunShot(r, row); }
SHOT(StepMissileBL, kMissileBL)
SHOT(StepMissileBL2, kMissileBL2)
SHOT(StepRifleBR, kRifleBR)
SHOT(StepRifle3, kRifle3)
SHOT(StepSubShot, kSubShot)
SHOT(StepLauncher, kLauncher)
SHOT(StepVertical, kVertical)
SHOT(StepVertical2, kVertical2)
SHOT(StepSplit, kSplit)
SHOT(StepMissile2, kMissile2)
SHOT(StepNuclear, kNuclear)
SHOT(StepThrow, kThrow)
SHOT(StepPitch, kPitch)
SHOT(StepRoll, kRoll)
SHOT(StepRifle, kRifle)
SHOT(StepRifleD, kRifleD)
SHOT(StepRifleV, kRifleV)
SHOT(StepRifleY, kRifleY)
SHOT(StepNormal, kNormal)
SHOT(StepLean, kLean)
SHOT(StepNormal2, kNormal2)
SHOT(StepNormal2Cpu, kNormal2Cpu)
SHOT(StepFangShot, kFangShot)
SHOT(StepMulti, kMulti)
SHOT(StepLean3, kLean3)
SHOT(StepStrong, kStrong)
SHOT(StepBuster, kBuster)
SHOT(StepLeanPlus, kLeanPlus)
SHOT(StepLeanPlusCpu, kLeanPlusCpu)
#undef SHOT

void StepGun4(CRobot& r) { StepGun(r, kGun4); }
void StepGun4Y(CRobot& r) { StepGun(r, kGun4Y); }
void StepGun4D(CRobot& r) { StepGun(r, kGun4D); }
void StepGun6(CRobot& r) { StepGun(r, kGun6); }

constexpr int Chain(int k) { return kGroupBladeFirst + k - 1; }

const SActionScript kRows[] = {
    {"ショット＿ミサイルBL", Chain(4), StepMissileBL},
    {"ショット＿ミサイルBL2", Chain(4), StepMissileBL2},
    {"ショット＿ライフルBR", Chain(4), StepRifleBR},
    {"c29ショット_AT2_ミサイルBL", Chain(6), StepMissileBL},
    {"c29ショット_AT2_ミサイルBL2", Chain(6), StepMissileBL2},
    {"c29ショット_AT2_ライフル3ren", Chain(6), StepRifle3},
    {"ショット＿シールドL", Chain(8), StepShield},
    {"サブショット", Chain(8), StepSubShot},
    {"ショット＿（FARTミサイル", Chain(8), StepFartMissileSelector},
    {"ショット_Rミサイル", Chain(8), StepRocketSelector},
    {"ショット＿ミサイルランチャー", Chain(8), StepLauncher},
    {"ショット＿（FARTAB固定", Chain(8), StepFixedSelector},
    {"ショット＿垂直ミサイル", Chain(8), StepVertical},
    {"ショット＿垂直ミサイル２", Chain(8), StepVertical2},
    {"ショット＿多弾頭２", Chain(8), StepSplit},
    {"ショット＿（FARTマシンガンR", Chain(8), StepGunSelector},
    {"ショット_R_ライフル", Chain(8), StepRifleSelector},
    {"ショット＿ミサイル２", Chain(8), StepMissile2},
    {"ショット＿核ミサイル", Chain(8), StepNuclear},
    {"ショット＿ボム＿マルチボム", Chain(8), StepBombSelector},
    {"ショット＿ボム(遠投)", Chain(8), StepThrow},
    {"ショット＿ボム(ピッチ)", Chain(8), StepPitch},
    {"ショット＿ボム(転がし)", Chain(8), StepRoll},
    {"ショット", Chain(8), StepHandShot},
    {"ショット＿マシンガン４", Chain(8), StepGun4},
    {"ショット＿マシンガン４Y", Chain(8), StepGun4Y},
    {"ショット＿マシンガン４D", Chain(8), StepGun4D},
    {"ショット＿マシンガン６", Chain(8), StepGun6},
    {"ショット＿Ａライフル２", Chain(8), StepRifle},
    {"ショット＿Ａライフル２D", Chain(8), StepRifleD},
    {"ショット＿Ａライフル２V", Chain(8), StepRifleV},
    {"ショット＿Ａライフル２Y", Chain(8), StepRifleY},
    {"ジャンプショット", Chain(8), StepJumpShot},
    {"ショット_シュバE", Chain(9), StepSchwaESelector},
    {"ショット＿ノーマルショット", Chain(9), StepNormal},
    {"ショット＿ダッシュ前傾２", Chain(9), StepLean},
    {"ショット_シュバ", Chain(10), StepSchwaSelector},
    {"ショット_シュバCPU", Chain(10), StepSchwaCpuSelector},
    {"ショット＿ノーマルショット2", Chain(10), StepNormal2},
    {"ショット＿ノーマルショット2CPU", Chain(10), StepNormal2Cpu},
    {"ショット＿牙突", Chain(10), StepFangShot},
    {"ショット＿マルチショット２", Chain(10), StepMulti},
    {"ショット_シュテ", Chain(10), StepSchteSelector},
    {"ショット＿ダッシュ前傾３", Chain(10), StepLean3},
    {"ショット＿強", Chain(10), StepStrong},
    {"ショット＿バスター", Chain(10), StepBuster},
    {"ショット＿ダッシュ前傾２+", Chain(11), StepLeanPlus},
    {"ショット＿ダッシュ前傾２+CPU", Chain(11), StepLeanPlusCpu},
};

}  // namespace

SActionTable GetShotActionTable() { return {kRows, static_cast<int>(sizeof kRows / sizeof kRows[0])}; }
