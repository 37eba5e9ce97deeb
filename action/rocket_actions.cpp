// The racket, the heavy missile launcher and the cluster bombs: a kick, four racket shots, four
// missile shots and four bomb drops, each family behind its selector. None of the three weapons
// can be started while the robot is still rising: the selector waits for the top of the jump.
#include "action_helpers.h"
#include "action_tables.h"
#include "robot.h"
#include "weapon_step.h"

namespace {

const char* const kGrenade = "グレネード１";
const char* const kMissile = "ミサイル１";
constexpr int kRightMount = 1, kRightMountLow = 3, kLeftMount = 2;
constexpr int kHopEnergy = 300;  // the fourth racket shot hops only above this

int Frame(const CRobot& r) { return r.m_actionFrame; }

// A selector that queues nothing leaves itself current, to choose again on the next step.
void SelectUnlessRising(CRobot& r, const char* next) { Select(r, r.m_velocity[1] > 0 ? "" : next, 1); }

// Dropped from the left item, `height` above the facing.
void BombDrop(CRobot& r, const char* kind, float height) {
    Vec3 at = Facing(r);
    at.y += height;
    r.FireWeapon(kind, kLeftMount, at, Vec3(1, 1, 1));
}

// ---- Selectors ----

void StepRacketSelector(CRobot& r) {
    const char* next = "ショット＿h32b_ﾗｹｯﾄ1";
    if (CameFromDash(r)) next = "ショット＿h32b_ﾗｹｯﾄ1";
    else if (IsHeld(r, kInBoost)) next = "ショット＿h32b_ﾗｹｯﾄ4";
    else if (IsHeld(r, kInRight)) next = "ショット＿h32b_ﾗｹｯﾄ3";
    else if (IsHeld(r, kInLeft)) next = "ショット＿h32b_ﾗｹｯﾄ2";
    SelectUnlessRising(r, next);
}

void StepHeavyMissileSelector(CRobot& r) {
    const char* next = "ショット＿MML1";
    if (CameFromDash(r)) next = "ショット＿MML2";
    else if (IsHeld(r, kInBoost)) next = "ショット＿MML3";
    else if (IsHeld(r, kInBack)) next = "ショット＿MML4";
    SelectUnlessRising(r, next);
}

void StepClusterSelector(CRobot& r) {
    const char* next = "ショット＿CLL1";
    if (CameFromDash(r)) next = "ショット＿CLL2";
    else if (IsHeld(r, kInBoost)) next = "ショット＿CLL3";
    else if (IsHeld(r, kInBack)) next = "ショット＿CLL4";
    SelectUnlessRising(r, next);
}

// ---- The kick and the racket ----

const SPoseKey kKickKeys[] = {{1, "h32b_ｹﾘL1_10", 5}, {6, "h32b_ｹﾘL1_20", 5}};
void StepKick(CRobot& r) {
    UseKeyPoses(r);
    Poses(r, kKickKeys);
    if (!InFrames(r, 10, 16)) AttackTurn(r, 0.5f);
    r.m_moveState = 3;
    const int kicking = InFrames(r, 11, 16);
    if (kicking) {
        r.m_moveState = 0;
        r.m_moveSpeed[0] = -0.3;  // a double constant
    }
    PerStepCost(r);
    LumpAt(r, 10, 200);
    if (kicking) FootTipRequest(r, "刀_1", 1);
    EndAt(r, 18);
    EndStep(r);
}

// A racket shot that stands and swings: poses, one request from the right hand, the end.
struct SRacket {
    const SPoseKey* keys;
    int keyCount;
    int fire;
    int end;
};

void StepRacket(CRobot& r, const SRacket& s) {
    UseKeyPoses(r);
    PoseKeys(r, Frame(r), s.keys, s.keyCount);
    AttackTurn(r, 0.0f);
    r.m_moveState = 3;
    PerStepCost(r);
    if (Frame(r) == s.fire) MountRequest(r, kGrenade, kRightMount);
    EndAt(r, s.end);
    EndStep(r);
}

const SPoseKey kRacket1Keys[] = {
    {1, "h32b_ﾗｹｯﾄ1_20", 10}, {11, "h32b_ﾗｹｯﾄ1_30", 5}, {16, "h32b_ﾗｹｯﾄ1_40", 5}};
const SPoseKey kRacket2Keys[] = {{1, "h32b_ﾗｹｯﾄ2_20", 10}, {11, "h32b_ﾗｹｯﾄ2_34", 7}};
const SPoseKey kRacket3Keys[] = {{1, "h32b_ﾗｹｯﾄ3_22", 11}, {12, "h32b_ﾗｹｯﾄ3_34", 6}};
const SRacket kRacket1 = {kRacket1Keys, CountOf(kRacket1Keys), 16, 22};
const SRacket kRacket2 = {kRacket2Keys, CountOf(kRacket2Keys), 12, 19};
const SRacket kRacket3 = {kRacket3Keys, CountOf(kRacket3Keys), 12, 19};
void StepRacket1(CRobot& r) { StepRacket(r, kRacket1); }
void StepRacket2(CRobot& r) { StepRacket(r, kRacket2); }
void StepRacket3(CRobot& r) { StepRacket(r, kRacket3); }

// The jumping serve: a free hop when the gauge can afford the serve, turning in the air, then
// the shot led onto a moving target.
const SPoseKey kRacket4Keys[] = {{1, "h32b_ﾗｹｯﾄ4_18", 9},  {10, "h32b_ﾗｹｯﾄ4_20", 1}, {11, "h32b_ﾗｹｯﾄ4_28", 4},
                                 {15, "h32b_ﾗｹｯﾄ4_30", 1}, {16, "h32b_ﾗｹｯﾄ4_38", 4}, {20, "h32b_ﾗｹｯﾄ4_40", 1},
                                 {21, "h32b_ﾗｹｯﾄ4_48", 4}, {25, "h32b_ﾗｹｯﾄ4_50", 1}};
void StepRacket4(CRobot& r) {
    UseKeyPoses(r);
    Poses(r, kRacket4Keys);
    r.m_moveState = 3;
    PerStepCost(r);
    if (Frame(r) == 9) {
        if (r.m_ep > kHopEnergy) {
            r.m_moveState = 0;
            r.m_moveSpeed[0] = -0.1;  // a double constant
            r.m_velocity[1] = 0.3f;
        }
    } else if (InFrames(r, 10, 22)) {
        AttackTurn(r, 0.9f);
    } else if (Frame(r) == 23) {
        AimedMountRequest(r, kGrenade, kRightMount, 1);
    }
    EndAt(r, 27);
    EndStep(r);
}

// ---- Heavy missiles ----

const SPoseKey kMissile1Keys[] = {{1, "ショット(汎用L)_10", 5}, {6, "ショット(汎用L)_15", 3}};
void StepMissile1(CRobot& r) {
    UseKeyPoses(r);
    Poses(r, kMissile1Keys);
    AttackTurn(r, 0.5f);
    r.m_moveState = 1;
    PerStepCost(r);
    if (Frame(r) == 6) MountRequest(r, kMissile, kRightMount);
    EndAt(r, 10);
    EndStep(r);
}

// Three missiles on the move, nine steps apart.
const SPoseKey kMissile2Keys[] = {{1, "ショット(汎用L)_10", 6},  {7, "ショット(汎用L)_15", 3},
                                  {10, "ショット(汎用L)_10", 6}, {16, "ショット(汎用L)_15", 3},
                                  {19, "ショット(汎用L)_10", 6}, {25, "ショット(汎用L)_15", 3},
                                  {28, "ショット(汎用L)_10", 6}};
void StepMissile2(CRobot& r) {
    UseKeyPoses(r);
    Poses(r, kMissile2Keys);
    AttackTurn(r, 0.3f);
    r.m_moveState = 3;
    PerStepCost(r);
    const int f = Frame(r);
    if (f == 7 || f == 16 || f == 25) MountRequest(r, kMissile, kRightMount);
    EndAt(r, 41);
    EndStep(r);
}

// The nuclear missile: the robot plants itself, fires and is pushed back by it.
const SPoseKey kMissile3Keys[] = {
    {1, "射撃４（バスター_10", 10}, {15, "射撃４（バスター_20", 5}, {36, "射撃４（バスター_50", 5}};
void StepMissile3(CRobot& r) {
    UseKeyPoses(r);
    Poses(r, kMissile3Keys);
    AttackTurn(r, 0.0f);
    if (Frame(r) == 10) {
        r.ClearVelocity();
        r.ClearTurnRate();
    }
    if (InFrames(r, 11, 13)) {
        r.m_moveState = 1;
        r.m_moveSpeed[0] = 0.2f;
    } else {
        r.m_moveState = Frame(r) >= 36 ? 1 : 3;
    }
    PerStepCost(r);
    if (Frame(r) == 10) MountRequest(r, "核ミサイル", kRightMount);
    EndAt(r, 46);
    EndStep(r);
}

// The split warhead from a crouch, stopped where it stands.
const SPoseKey kMissile4Keys[] = {{1, "射撃５（しゃがみ滞空_10", 10}, {11, "射撃５（しゃがみ滞空_15", 5}};
void StepMissile4(CRobot& r) {
    UseKeyPoses(r);
    Poses(r, kMissile4Keys);
    AttackTurn(r, 0.0f);
    if (InFrames(r, 11, 13)) {
        r.m_moveState = 1;
        r.m_moveSpeed[0] = 0.2f;
    } else if (Frame(r) == 1) {
        r.m_moveState = 3;
        r.ClearVelocity();
        r.ClearTurnRate();
    } else {
        r.m_moveState = Frame(r) >= 36 ? 1 : 3;
    }
    PerStepCost(r);
    if (Frame(r) == 16) MountRequest(r, "多弾頭ミサイル", kRightMountLow);
    EndAt(r, 26);
    EndStep(r);
}

// ---- Cluster bombs ----

struct SDrop {
    int frame;
    const char* kind;
    float height;
};

struct SCluster {
    const SPoseKey* keys;
    int keyCount;
    int turns;  // 0: no turning call
    float turn;
    int moveState;
    const SDrop* drops;
    int dropCount;
};

void StepCluster(CRobot& r, const SCluster& s) {
    UseKeyPoses(r);
    PoseKeys(r, Frame(r), s.keys, s.keyCount);
    if (s.turns) AttackTurn(r, s.turn);
    r.m_moveState = s.moveState;
    PerStepCost(r);
    for (int i = 0; i < s.dropCount; ++i)
        if (s.drops[i].frame == Frame(r)) BombDrop(r, s.drops[i].kind, s.drops[i].height);
    EndAt(r, 31);
    EndStep(r);
}

const SPoseKey kClusterKeys[] = {{1, "ショット(汎用L)_10", 5}, {6, "ショット(汎用L)_15", 3}};
const SPoseKey kQuickDropKeys[] = {{1, "ショット(汎用L)_10", 3}, {4, "ショット(汎用L)_15", 2}};
const SPoseKey kScatterKeys[] = {{1, "ショット(汎用L)_10", 5},  {6, "ショット(汎用L)_15", 2},
                                 {8, "ショット(汎用L)_10", 3},  {11, "ショット(汎用L)_15", 2},
                                 {13, "ショット(汎用L)_10", 3}, {16, "ショット(汎用L)_15", 2},
                                 {18, "ショット(汎用L)_10", 3}, {21, "ショット(汎用L)_15", 2}};
const SDrop kDashDrops[] = {{16, "ボム", 0.6f}};
// Four kinds at once; the weapon list charges each and the free slots bound how many leave.
const SDrop kAllDrops[] = {{16, "ボム", 0.2f}, {16, "ボム_H", 0.2f}, {16, "ボム_L", 0.2f}, {16, "ボム_短時限", 0.2f}};
const SDrop kScatterDrops[] = {{6, "ボム_短時限", 0.5f}, {11, "ボム_L", 0.6f}, {16, "ボム", 0.4f}, {21, "ボム_H", 0.7f}};

template <int N>
constexpr int Count(const SDrop (&)[N]) { return N; }

const SCluster kCluster2 = {kClusterKeys, CountOf(kClusterKeys), 1, 1.0f, 3, kDashDrops, Count(kDashDrops)};
const SCluster kCluster3 = {kClusterKeys, CountOf(kClusterKeys), 0, 0.0f, 1, kAllDrops, Count(kAllDrops)};
const SCluster kCluster4 = {kScatterKeys, CountOf(kScatterKeys), 1, 1.0f, 3, kScatterDrops, Count(kScatterDrops)};

// The quick drop ends long before the others.
void StepCluster1(CRobot& r) {
    UseKeyPoses(r);
    Poses(r, kQuickDropKeys);
    AttackTurn(r, 0.0f);
    r.m_moveState = 3;
    PerStepCost(r);
    if (Frame(r) == 4) BombDrop(r, "ボム", 0.6f);
    EndAt(r, 7);
    EndStep(r);
}
void StepCluster2(CRobot& r) { StepCluster(r, kCluster2); }
void StepCluster3(CRobot& r) { StepCluster(r, kCluster3); }
void StepCluster4(CRobot& r) { StepCluster(r, kCluster4); }

constexpr int Chain(int k) { return kGroupRocketFirst + k - 1; }

const SActionScript kRows[] = {
    {"ショット＿バケッシュー", Chain(1), StepRacketSelector},
    {"格闘＿h32b_ｹﾘL1", Chain(2), StepKick},
    {"ショット＿h32b_ﾗｹｯﾄ1", Chain(2), StepRacket1},
    {"ショット＿h32b_ﾗｹｯﾄ2", Chain(2), StepRacket2},
    {"ショット＿h32b_ﾗｹｯﾄ3", Chain(2), StepRacket3},
    {"ショット＿h32b_ﾗｹｯﾄ4", Chain(2), StepRacket4},
    {"ショット＿ミサイル重", Chain(3), StepHeavyMissileSelector},
    {"ショット＿MML1", Chain(4), StepMissile1},
    {"ショット＿MML2", Chain(4), StepMissile2},
    {"ショット＿MML3", Chain(4), StepMissile3},
    {"ショット＿MML4", Chain(4), StepMissile4},
    {"ショット＿クラスター", Chain(5), StepClusterSelector},
    {"ショット＿CLL1", Chain(6), StepCluster1},
    {"ショット＿CLL2", Chain(6), StepCluster2},
    {"ショット＿CLL3", Chain(6), StepCluster3},
    {"ショット＿CLL4", Chain(6), StepCluster4},
};

}  // namespace

SActionTable GetRocketActionTable() { return {kRows, static_cast<int>(sizeof kRows / sizeof kRows[0])}; }
