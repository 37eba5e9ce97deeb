// The headless battle: a battle of CPU robots on a stage run frame after frame as fast as the
// CPU allows, with or without drawing (on the offscreen renderer), hashing its simulation after
// every frame. Tests, the benchmark and the tuning program battle_run stand on it.
#pragma once

#include "robot.h"

#include <cstdint>
#include <functional>
#include <string>

struct SBattleSetup {
    int stage = 1;
    int robotCount = 2;
    std::string codes[kMaxRobots];    // build codes; "" keeps the slot's robot unbuilt
    int cpuTypes[kMaxRobots] = {-1, -1, -1, -1, -1, -1};
    std::string teams[kMaxRobots];    // team codes; "" keeps the battle's default for the slot
    std::string mission;              // "" keeps "敵リーダー撃破"
    int clock = 1800;                 // steps; -1 untimed as in the campaigns
    unsigned seed = 1;                // the 15-bit generator's seed
    int stepLimit = 20000;            // frames at most; the result stays 0 when reached
    int draw = 0;                     // camera and drawing on (needs the graphics device)
};

struct SBattleOutcome {
    int result = 0;  // 3 won, 4 lost (for slot 0), 0 when the step limit came first
    int steps = 0;   // frames run
    uint64_t hash = 0;
};

// Called after every frame with its number (from 1) and the state hash.
using BattleStepHook = std::function<void(int step, uint64_t hash)>;

// The engine as the game starts it, with no screen or sound card needed: offscreen video,
// silent audio, a lock of its own so it runs beside the game. 1 on success.
int StartHeadlessEngine();
void StopHeadlessEngine();

class CBattle;

// A fresh battle set up as described (robots built, stage loaded), before its first frame.
void SetUpBattle(CBattle* battle, const SBattleSetup& setup);

// Builds and runs one battle in the current folder (the game folder, for the assets).
// The engine must be up. 1 when the battle was set up and ran.
int RunHeadlessBattle(const SBattleSetup& setup, SBattleOutcome* outcome, const BattleStepHook& hook = nullptr);

// A build code from up to fifteen configuration numbers ("36,2,3,..."; missing ones 0) or
// from sixteen hex digits, the code's bytes; "" when the text is neither.
std::string ParseBuildCode(const std::string& text);
