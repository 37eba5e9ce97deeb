// The headless battle runner: engine start without a screen, battle set-up from a plain
// description, and the frame loop with its per-frame state hash.
#include "battle_runner.h"

#include "battle.h"
#include "engine.h"
#include "sys_info.h"
#include "sys_lock.h"
#include "sys_rand.h"

#include <unistd.h>

#include <cstdlib>
#include <memory>

namespace {
void QuietLog(const char*) {}
}  // namespace

int StartHeadlessEngine() {
    SysSetDebugOutputSink(QuietLog);  // the figures and results are the output; the log would bury them
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    // A lock of its own: a headless battle may run beside the game and beside other runs.
    SysSetLockNamespace(("battle-run-" + std::to_string(getpid())).c_str());
    const char* argv[] = {"zaumolta"};
    SetCommandLine(1, argv);
    return g_engine.Init();
}

void StopHeadlessEngine() { g_engine.Free(); }

void SetUpBattle(CBattle* battle, const SBattleSetup& setup) {
    battle->m_drawEnabled = setup.draw;
    battle->m_robotCount = setup.robotCount;
    if (!setup.mission.empty()) battle->m_mission = setup.mission;
    battle->m_clock = setup.clock;
    for (int i = 0; i < setup.robotCount && i < kMaxRobots; ++i) {
        if (!setup.teams[i].empty()) battle->m_robots[i].m_teamCode = setup.teams[i];
        if (!setup.codes[i].empty()) battle->BuildRobot(i, setup.cpuTypes[i], setup.codes[i]);
        else battle->m_cpu[i].m_type = setup.cpuTypes[i];
    }
    battle->LoadStage(setup.stage);
    battle->Start();
}

int RunHeadlessBattle(const SBattleSetup& setup, SBattleOutcome* outcome, const BattleStepHook& hook) {
    *outcome = SBattleOutcome();
    if (setup.robotCount < 1 || setup.robotCount > kMaxRobots) return 0;
    // The battle holds six robots and a hundred projectiles: too large for a stack frame.
    auto battle = std::make_unique<CBattle>();
    SetUpBattle(battle.get(), setup);
    GameSrand(setup.seed);
    while (!battle->IsOver() && outcome->steps < setup.stepLimit && !g_quit) {
        battle->Run();
        ++outcome->steps;
        if (hook) hook(outcome->steps, battle->HashState());
    }
    outcome->result = battle->GetResult();
    outcome->hash = battle->HashState();
    return 1;
}

namespace {

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

}  // namespace

std::string ParseBuildCode(const std::string& text) {
    if (text.size() == 2 * kBuildCodeBytes && text.find(',') == std::string::npos) {
        std::string code;
        for (int i = 0; i < kBuildCodeBytes; ++i) {
            int hi = HexDigit(text[2 * i]), lo = HexDigit(text[2 * i + 1]);
            if (hi < 0 || lo < 0) return "";
            code += char(hi * 16 + lo);
        }
        return code;
    }
    int v[kConfigCount] = {};
    size_t pos = 0;
    for (int n = 0; n < kConfigCount && pos <= text.size(); ++n) {
        size_t end = text.find(',', pos);
        std::string field = text.substr(pos, end == std::string::npos ? std::string::npos : end - pos);
        char* stop = nullptr;
        long value = strtol(field.c_str(), &stop, 10);
        if (field.empty() || *stop != '\0') return "";
        v[n] = int(value);
        if (end == std::string::npos) break;
        pos = end + 1;
        if (n == kConfigCount - 1) return "";  // more than fifteen numbers
    }
    CRobotCatalog catalog;
    catalog.SetConfig(v[0], v[1], v[2], v[3], v[4], v[5], v[6], v[7], v[8], v[9], v[10], v[11], v[12], v[13], v[14]);
    return catalog.EncodeConfig();
}
