// battle_run: one headless battle of CPU robots from the command line, for people who tune the
// game. Prints one line: the result, the frames run and the final state hash (and with --hashes
// one hash per frame before it). The same arguments print the same lines on every run.
#include "battle.h"
#include "battle_runner.h"
#include "sys_text.h"

#include <unistd.h>

#include <cinttypes>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

void Usage() {
    fprintf(stderr,
            "usage: battle_run [--stage N] [--seed N] [--steps N] [--clock N] [--mission leader|wipe|survive|TEXT]\n"
            "                  [--draw] [--hashes] [--game DIR] SLOT [SLOT ...]\n"
            "  SLOT  BUILD[:CPU[:TEAM]]  one robot per slot, slot 0 first (its side is the one that wins or loses)\n"
            "  BUILD up to fifteen numbers \"type,left,right,g0..g5,r,g,b,r,g,b\" or sixteen hex digits (the code's bytes)\n"
            "  CPU   CPU opponent type (default -1); TEAM  team code such as AL, BM (default by slot)\n"
            "  --clock N  battle time in frames, -1 untimed (default 1800); --steps N  frame limit (default 20000)\n");
}

bool ParseInt(const char* text, long long* out) {
    char* end = nullptr;
    long long v = strtoll(text, &end, 10);
    if (!*text || *end) return false;
    *out = v;
    return true;
}

std::string MissionText(const std::string& arg) {
    if (arg == "leader") return "敵リーダー撃破";
    if (arg == "wipe") return "敵勢力撃滅";
    if (arg == "survive") return "サバイブ";
    return Utf8ToSjis(arg);
}

}  // namespace

int main(int argc, char** argv) {
    SBattleSetup setup;
    setup.robotCount = 0;
    std::string gameDir = GAME_DIR;
    int hashes = 0;
    for (int i = 1; i < argc; ++i) {
        std::string a = argv[i];
        long long v = 0;
        bool needsValue = a == "--stage" || a == "--seed" || a == "--steps" || a == "--clock" || a == "--mission" ||
                          a == "--game";
        if (needsValue && i + 1 >= argc) {
            Usage();
            return 2;
        }
        if (a == "--draw") setup.draw = 1;
        else if (a == "--hashes") hashes = 1;
        else if (a == "--mission") setup.mission = MissionText(argv[++i]);
        else if (a == "--game") gameDir = argv[++i];
        else if (needsValue) {
            if (!ParseInt(argv[++i], &v)) {
                fprintf(stderr, "battle_run: %s needs a number\n", a.c_str());
                return 2;
            }
            if (a == "--stage") setup.stage = int(v);
            else if (a == "--seed") setup.seed = unsigned(v);
            else if (a == "--steps") setup.stepLimit = int(v);
            else setup.clock = int(v);
        } else if (a.rfind("--", 0) == 0 || setup.robotCount >= kMaxRobots) {
            Usage();
            return 2;
        } else {
            // BUILD[:CPU[:TEAM]]
            int slot = setup.robotCount;
            size_t c1 = a.find(':');
            std::string build = a.substr(0, c1);
            setup.codes[slot] = ParseBuildCode(build);
            if (setup.codes[slot].empty()) {
                fprintf(stderr, "battle_run: \"%s\" is no build\n", build.c_str());
                return 2;
            }
            if (c1 != std::string::npos) {
                size_t c2 = a.find(':', c1 + 1);
                std::string cpu = a.substr(c1 + 1, c2 == std::string::npos ? std::string::npos : c2 - c1 - 1);
                if (!ParseInt(cpu.c_str(), &v)) {
                    fprintf(stderr, "battle_run: \"%s\" is no CPU type\n", cpu.c_str());
                    return 2;
                }
                setup.cpuTypes[slot] = int(v);
                if (c2 != std::string::npos) setup.teams[slot] = a.substr(c2 + 1);
            }
            ++setup.robotCount;
        }
    }
    if (setup.robotCount == 0) {
        Usage();
        return 2;
    }
    if (chdir(gameDir.c_str()) != 0) {
        fprintf(stderr, "battle_run: cannot enter the game folder %s\n", gameDir.c_str());
        return 1;
    }
    if (!StartHeadlessEngine()) {
        fprintf(stderr, "battle_run: the engine did not start\n");
        return 1;
    }
    SBattleOutcome outcome;
    BattleStepHook hook = nullptr;
    if (hashes) hook = [](int step, uint64_t h) { printf("step %d %016" PRIx64 "\n", step, h); };
    int ran = RunHeadlessBattle(setup, &outcome, hook);
    StopHeadlessEngine();
    if (!ran) return 1;
    printf("result=%d steps=%d hash=%016" PRIx64 "\n", outcome.result, outcome.steps, outcome.hash);
    return 0;
}
