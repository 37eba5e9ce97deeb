// The victory and defeat performances at a battle's end: key poses by step, the last held until
// the scene ends, the robot stopped for the first five steps. Only type 31's ninja leap moves,
// landing softly so that no hard landing interrupts it.
#include "action_helpers.h"
#include "action_tables.h"
#include "move_blocks.h"
#include "robot.h"

namespace {

constexpr int kStopSteps = 5;
constexpr int kMaxFinaleKeys = 8;

struct SFinale {
    const char* name;
    SPoseKey keys[kMaxFinaleKeys];  // in step order; a null pose ends the list
};

constexpr SFinale kFinales[] = {
    {"勝利１",
     {{1, "勝利１_00", 10}, {11, "勝利１_10", 10}, {21, "勝利１_30", 20}, {41, "勝利１_40", 10}, {51, "勝利１_50", 10},
      {61, "勝利１_60", 10}}},
    {"勝利サイレン", {{1, "勝利サイレン_10", 10}, {16, "勝利サイレン_40", 10}, {26, "勝利サイレン_50", 5}}},
    {"勝利ジャスティス",
     {{1, "勝利ジャスティス_10", 5}, {11, "勝利ジャスティス_20", 5}, {16, "勝利ジャスティス_30", 5},
      {26, "勝利ジャスティス_40", 5}}},
    {"勝利忍者ジャンプ",
     {{1, "勝利忍者_10", 5}, {6, "勝利忍者_20", 5}, {11, "勝利忍者_30", 5}, {16, "勝利忍者_40", 5}, {30, "勝利忍者_50", 5}}},
    {"勝利フラット", {{1, "勝利フラット_10", 5}, {11, "勝利フラット_20", 5}, {21, "勝利フラット_30", 5}}},
    {"h32b_勝利2(2)",
     {{1, "h32b_勝利2(2)_16", 8}, {9, "h32b_勝利2(2)_18", 1}, {10, "h32b_勝利2(2)_30", 6}, {16, "h32b_勝利2(2)_32", 1},
      {17, "h32b_勝利2(2)_50", 9}, {26, "h32b_勝利2(2)_52", 1}, {27, "h32b_勝利2(2)_60", 4}, {31, "h32b_勝利2(2)_62", 1}}},
    {"h32b_勝利", {{1, "h32b_勝利_10", 5}, {6, "h32b_勝利_30", 10}, {16, "h32b_勝利_50", 10}, {26, "h32b_勝利_60", 5}}},
    {"h32b_敗北",
     {{1, "h32b_敗北_10", 5}, {6, "h32b_敗北_20", 5}, {11, "h32b_敗北_25", 2}, {13, "h32b_敗北_30", 3},
      {16, "h32b_敗北_41", 5}, {21, "h32b_敗北_50", 5}, {26, "h32b_敗北_60", 5}, {31, "h32b_敗北_63", 1}}},
    {"敗北１",
     {{1, "敗北１_20", 20}, {11, "敗北１_20", 5}, {16, "敗北１_10", 20}, {21, "敗北１_20", 5}, {26, "敗北１_30", 10}}},
    {"敗北２", {{1, "敗北２_10", 10}, {16, "敗北２_35", 15}, {31, "敗北２_50", 15}}},
};
constexpr int kFinaleCount = static_cast<int>(sizeof kFinales / sizeof kFinales[0]);

// The ninja's leap: up at step 6, backwards for steps 7 to 21, and caught just above the
// ground so that the dispatcher sees no hard landing.
constexpr double kLeapRise = 0.2f;
constexpr double kLeapBackSpeed = 0.2f;
constexpr double kSoftLanding = -0.1f;

void Leap(CRobot& r) {
    const int step = r.m_actionFrame;
    double& vy = r.m_velocity[1];
    if (step == 6) {
        r.m_moveState = 1;
        vy = kLeapRise;
    }
    if (step >= 7 && step <= 21) r.m_moveSpeed[0] = kLeapBackSpeed;
    if (step >= 6 && r.m_groundHeight + r.m_gravity + vy < kOffGround && vy + r.m_gravity < -0.15) vy = kSoftLanding;
}

void StepFinale(CRobot& r, const SFinale& f) {
    UseKeyPoses(r);
    for (const SPoseKey& k : f.keys)
        if (k.pose) PoseAt(r, r.m_actionFrame, k.frame, k.pose, k.frames);
    if (r.m_actionFrame >= 1 && r.m_actionFrame <= kStopSteps) {
        r.ClearVelocity();
        r.ClearTurnRate();
    }
    EndStep(r);
}

template <int I>
void StepFinaleAt(CRobot& r) {
    StepFinale(r, kFinales[I]);
}

void StepNinjaLeap(CRobot& r) {
    UseKeyPoses(r);
    Leap(r);
    StepFinale(r, kFinales[3]);
}

const SActionScript kRows[] = {
    {kFinales[0].name, kGroupFlight, StepFinaleAt<0>}, {kFinales[1].name, kGroupFlight, StepFinaleAt<1>},
    {kFinales[2].name, kGroupFlight, StepFinaleAt<2>}, {kFinales[3].name, kGroupFlight, StepNinjaLeap},
    {kFinales[4].name, kGroupFlight, StepFinaleAt<4>}, {kFinales[5].name, kGroupFlight, StepFinaleAt<5>},
    {kFinales[6].name, kGroupFlight, StepFinaleAt<6>}, {kFinales[7].name, kGroupFlight, StepFinaleAt<7>},
    {kFinales[8].name, kGroupFlight, StepFinaleAt<8>}, {kFinales[9].name, kGroupFlight, StepFinaleAt<9>},
};
static_assert(sizeof kRows / sizeof kRows[0] == kFinaleCount, "one row per finale");

}  // namespace

SActionTable GetFinaleActionTable() { return {kRows, static_cast<int>(sizeof kRows / sizeof kRows[0])}; }
