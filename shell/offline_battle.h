// One offline battle (a campaign stage or the garage's test sortie): the loading picture, the
// battle built in the order the battle object expects, its frame loop and its result. Every
// offline scene describes its battle here and runs it through RunOfflineBattle.
#pragma once

#include "robot.h"

#include <functional>
#include <string>

class CBattle;

constexpr int kUntimedClock = -1;  // the campaigns' clock: no time limit
constexpr int kNoPaint = -1;       // a slot whose robot keeps its build's own paint
constexpr int kKeepSetting = -1;   // a target or slot left as the battle set it up

struct SOfflineSlot {
    std::string code;           // robot build code
    int cpuType = 0;            // 0: played from the local pad
    const char* team = nullptr; // team code; nullptr keeps the battle's default for the slot
    int target = kKeepSetting;  // slot of the robot it aims at
    int mainColor = kNoPaint;   // paint as two 12-bit colour words 0xRGB
    int subColor = kNoPaint;
};

// Stats a scene writes over a built robot (the team final's boss).
struct SStatOverride {
    int maxEp = 0;
    int epPerStep = 0;
    int dashStartEnergy = 0;
    int dashStepEnergy = 0;
    double walkSpeed = 0;
    double dashSpeed = 0;
    double turnSpeed = 0;
};

struct SOfflineBattle {
    int robotCount = 2;
    int stage = 1;
    int clock = kUntimedClock;
    SOfflineSlot slots[kMaxRobots];
    int placedSlot = kKeepSetting;  // a slot moved off its start position, to placedAt
    Vec3 placedAt;
    int overrideSlot = kKeepSetting;  // a slot whose stats are overwritten by `stats`
    SStatOverride stats;
    std::function<void()> afterFrame;  // run after every battle frame (the garage serves its lobby)
};

// The mission of every offline battle: wipe out the enemy.
extern const char kOfflineMission[];

// The garage's test sortie: the build against a CPU copy of itself in its own paint, on the
// clock; the one timed offline battle.
constexpr int kSortieStage = 1;
constexpr int kSortieClock = 1800;  // one minute
constexpr int kSortieAiType = 5;
constexpr int kSortiePaint[2] = {0x100, 0xF00};
SOfflineBattle SortieBattle(const std::string& code);

// Builds the described battle (the quit flag set: nothing at all), runs it until it is over or
// the quit flag is set, and returns its result: 3 won, 4 lost, 0 undecided.
int RunOfflineBattle(const SOfflineBattle& setup);
// The set-up alone, on a constructed battle: robots, stage, clock, teams, placement, targets,
// stats and paint, in that order.
void SetupOfflineBattle(CBattle* battle, const SOfflineBattle& setup);

// ---- Run-time hook for tests ----------------------------------------------------------------------
// With a hook installed, every offline battle is handed to it once set up: the hook may look at
// it, run frames of it, and returns the result to report, or kPlayBattle to play it as usual.
constexpr int kPlayBattle = -1;
using OfflineBattleHook = std::function<int(CBattle* battle)>;
void SetOfflineBattleHook(OfflineBattleHook hook);  // nullptr removes it
