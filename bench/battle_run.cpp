// battle_run: one headless battle from the command line, for people who tune the game and for
// the lockstep checks. Runs a battle of CPU robots (optionally recording its pads to a file) or
// replays a pad record, with 0 to 3 steps a frame by a schedule, drawing or not. Prints one
// state hash per tick with --hashes and a tick's whole state with --dump; the same arguments
// print the same lines on every run and on every build. --time times the steps alone, so the
// figure is the step's: a state is hashed only for --hashes or a record's end.
#include "battle.h"
#include "bench_clock.h"
#include "battle_runner.h"
#include "lockstep_runner.h"
#include "pad_record.h"
#include "state_dump.h"
#include "engine.h"
#include "sys_rand.h"
#include "sys_text.h"

#include <unistd.h>

#include <cinttypes>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

namespace {

void Usage() {
    fprintf(stderr,
            "usage: battle_run [options] SLOT [SLOT ...]     a battle of CPU robots\n"
            "       battle_run [options] --play FILE         a recorded battle replayed from its pads\n"
            "  SLOT  BUILD[:CPU[:TEAM]]  one robot per slot, slot 0 first (its side is the one that wins or loses)\n"
            "  BUILD up to fifteen numbers \"type,left,right,g0..g5,r,g,b,r,g,b\" or sixteen hex digits (the code's bytes)\n"
            "  CPU   CPU opponent type (default -1); TEAM  team code such as AL, BM (default by slot)\n"
            "options:\n"
            "  --stage N  --seed N  --mission leader|wipe|survive|TEXT  (set-up of a CPU battle)\n"
            "  --clock N       battle time in steps, -1 untimed (default 1800)\n"
            "  --steps N       frame limit (default 20000)\n"
            "  --schedule S    steps per fight frame: 1, 2, 3 or mix:SEED (0 to 3 by a seeded draw); default 1\n"
            "  --record FILE   write the CPU battle's pads to FILE\n"
            "  --draw          camera and drawing on (offscreen)\n"
            "  --hashes        one line per tick: \"tick N KIND K HASH\" (KIND intro, step, finish or ending)\n"
            "  --dump N        print tick N's whole state and stop there\n"
            "  --time          on stderr: the time of a step (gathering the pads and the step) over the steps\n"
            "                  timed, and of a frame over the whole run\n"
            "  --plant N       test switch: flip the lowest bit of robot 0's body twist at tick N\n"
            "  --game DIR      the game folder (assets, ap.ini); default the build's\n");
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

struct SOptions {
    SBattleSetup setup;
    std::string gameDir = GAME_DIR;
    std::string recordPath, playPath;
    CStepSchedule schedule;
    int hashes = 0, time = 0;
    long long dumpTick = -1, plantTick = -1;
};

// BUILD[:CPU[:TEAM]] into the next slot; 0 with a message when it is no slot.
int ParseSlot(const std::string& a, SBattleSetup* setup) {
    const int slot = setup->robotCount;
    size_t c1 = a.find(':');
    std::string build = a.substr(0, c1);
    setup->codes[slot] = ParseBuildCode(build);
    if (setup->codes[slot].empty()) {
        fprintf(stderr, "battle_run: \"%s\" is no build\n", build.c_str());
        return 0;
    }
    if (c1 != std::string::npos) {
        size_t c2 = a.find(':', c1 + 1);
        std::string cpu = a.substr(c1 + 1, c2 == std::string::npos ? std::string::npos : c2 - c1 - 1);
        long long v = 0;
        if (!ParseInt(cpu.c_str(), &v)) {
            fprintf(stderr, "battle_run: \"%s\" is no CPU type\n", cpu.c_str());
            return 0;
        }
        setup->cpuTypes[slot] = int(v);
        if (c2 != std::string::npos) setup->teams[slot] = a.substr(c2 + 1);
    }
    ++setup->robotCount;
    return 1;
}

// 0 to run, else the exit code.
int ParseOptions(int argc, char** argv, SOptions* o) {
    o->setup.robotCount = 0;
    for (int i = 1; i < argc; ++i) {
        std::string a = argv[i];
        long long v = 0;
        bool text = a == "--mission" || a == "--game" || a == "--record" || a == "--play" || a == "--schedule";
        bool number = a == "--stage" || a == "--seed" || a == "--steps" || a == "--clock" || a == "--dump" ||
                      a == "--plant";
        if ((text || number) && i + 1 >= argc) {
            Usage();
            return 2;
        }
        if (a == "--draw") o->setup.draw = 1;
        else if (a == "--hashes") o->hashes = 1;
        else if (a == "--time") o->time = 1;
        else if (a == "--mission") o->setup.mission = MissionText(argv[++i]);
        else if (a == "--game") o->gameDir = argv[++i];
        else if (a == "--record") o->recordPath = argv[++i];
        else if (a == "--play") o->playPath = argv[++i];
        else if (a == "--schedule") {
            if (!o->schedule.Parse(argv[++i])) {
                fprintf(stderr, "battle_run: --schedule takes 1, 2, 3 or mix:SEED\n");
                return 2;
            }
        } else if (number) {
            if (!ParseInt(argv[++i], &v)) {
                fprintf(stderr, "battle_run: %s needs a number\n", a.c_str());
                return 2;
            }
            if (a == "--stage") o->setup.stage = int(v);
            else if (a == "--seed") o->setup.seed = unsigned(v);
            else if (a == "--steps") o->setup.stepLimit = int(v);
            else if (a == "--clock") o->setup.clock = int(v);
            else if (a == "--dump") o->dumpTick = v;
            else o->plantTick = v;
        } else if (a.rfind("--", 0) == 0 || o->setup.robotCount >= kMaxRobots) {
            Usage();
            return 2;
        } else if (!ParseSlot(a, &o->setup)) {
            return 2;
        }
    }
    const bool play = !o->playPath.empty();
    if (play == (o->setup.robotCount > 0) || (play && !o->recordPath.empty())) {
        Usage();
        return 2;
    }
    return 0;
}

// The replay ended where and how the recording did, or the first way it did not.
int CheckRecordEnd(const CPadRecord& record, const CLockstepRunner& runner, const CBattle& b, uint64_t lastStepHash) {
    if (record.m_endSteps < 0) return 1;
    if (runner.Steps() != record.m_endSteps)
        fprintf(stderr, "battle_run: the replay ran %d steps, the recording %d\n", runner.Steps(), record.m_endSteps);
    else if (lastStepHash != record.m_endHash)
        fprintf(stderr, "battle_run: the last step's hash %016" PRIx64 " differs from the recording's %016" PRIx64 "\n",
                lastStepHash, record.m_endHash);
    else if (b.IsOver() && b.GetResult() != record.m_endResult)
        fprintf(stderr, "battle_run: result %d, the recording's %d\n", b.GetResult(), record.m_endResult);
    else
        return 1;
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    SOptions o;
    if (int code = ParseOptions(argc, argv, &o)) return code;
    // The record is read before the folder changes, so a relative path means what it says.
    CPadRecord record;
    std::string error;
    if (!o.playPath.empty() && !record.Load(o.playPath, &error)) {
        fprintf(stderr, "battle_run: %s\n", error.c_str());
        return 1;
    }
    char cwd[4096];
    const std::string here = getcwd(cwd, sizeof cwd) ? cwd : ".";
    std::string recordPath = o.recordPath;
    if (!recordPath.empty() && recordPath[0] != '/') recordPath = here + "/" + recordPath;
    if (chdir(o.gameDir.c_str()) != 0) {
        fprintf(stderr, "battle_run: cannot enter the game folder %s\n", o.gameDir.c_str());
        return 1;
    }
    if (!StartHeadlessEngine()) {
        fprintf(stderr, "battle_run: the engine did not start\n");
        return 1;
    }
    int status = 0;
    {
        // Six robots and a hundred projectiles: too large for the stack.
        auto battle = std::make_unique<CBattle>();
        CLockstepRunner runner(battle.get());
        runner.SetSchedule(o.schedule);
        if (!o.playPath.empty()) {
            battle->m_drawEnabled = o.setup.draw;
            if (!record.ApplySetup(battle.get(), &error)) {
                fprintf(stderr, "battle_run: %s: %s\n", o.playPath.c_str(), error.c_str());
                StopHeadlessEngine();
                return 1;
            }
            runner.Play(&record);
        } else {
            SetUpBattle(battle.get(), o.setup);
            if (!recordPath.empty()) {
                record.CaptureSetup(*battle, o.setup.stage, o.setup.codes);
                runner.Record(&record);
            }
            GameSrand(o.setup.seed);
        }
        uint64_t lastStepHash = 0;
        bool dumped = false;
        // A record's end holds the last step's hash, and which step is the last shows only after it.
        const bool hashSteps = !o.playPath.empty() || !recordPath.empty();
        // A step's time runs from the end of what came before it in its frame (the frame's start
        // or the previous step's tick) to its own tick: no hashing, drawing or other phase in it.
        double stepMs = 0, mark = 0;
        if (o.time) runner.SetFrameHook([&](int) { mark = NowMs(); });
        runner.SetTickHook([&](const STick& t, CBattle& b) {
            if (o.time && t.kind == kTickStep) stepMs += NowMs() - mark;
            if (t.index == o.plantTick && b.m_robotCount > 0) {
                uint32_t bits;
                memcpy(&bits, &b.m_robots[0].m_twist, sizeof bits);
                bits ^= 1;
                memcpy(&b.m_robots[0].m_twist, &bits, sizeof bits);
                fprintf(stderr, "battle_run: planted a one-bit change in robot[0].twist at tick %d\n", t.index);
            }
            if (o.hashes || (hashSteps && t.kind == kTickStep)) {
                const uint64_t h = b.HashState();
                if (t.kind == kTickStep) lastStepHash = h;
                if (o.hashes) printf("tick %d %s %016" PRIx64 "\n", t.index, TickName(t).c_str(), h);
            }
            if (t.index == o.dumpTick) {
                printf("dump tick %d %s\n%send of dump\n", t.index, TickName(t).c_str(), DumpState(b).c_str());
                dumped = true;
            }
            if (o.time) mark = NowMs();
        });
        const double start = NowMs();
        while (!runner.IsDone() && runner.Frames() < o.setup.stepLimit && !g_quit && !dumped) runner.RunFrame();
        const double runMs = NowMs() - start;
        if (o.time) {
            if (runner.Steps() > 0)
                fprintf(stderr, "battle_run: %.4f ms a step over the %d steps timed (gathering the pads and the step)\n",
                        stepMs / runner.Steps(), runner.Steps());
            else
                fprintf(stderr, "battle_run: no step ran, none timed\n");
            if (runner.Frames() > 0)
                fprintf(stderr, "battle_run: %.4f ms a frame over the whole run of %d frames (%d ticks)%s\n",
                        runMs / runner.Frames(), runner.Frames(), runner.Ticks(),
                        o.hashes ? ", hashing every tick" : "");
        }
        if (o.dumpTick >= 0 && !dumped) {
            fprintf(stderr, "battle_run: the battle ended before tick %lld\n", o.dumpTick);
            status = 1;
        }
        if (!o.playPath.empty() && !dumped) {
            if (runner.RecordRanOut())
                fprintf(stderr, "battle_run: the record's %d steps ran out before the battle's end\n", record.StepCount());
            else if (runner.IsDone() && !CheckRecordEnd(record, runner, *battle, lastStepHash))
                status = 3;
        }
        if (!recordPath.empty()) {
            if (battle->IsOver()) record.SetEnd(runner.Steps(), battle->GetResult(), lastStepHash);
            if (!record.Save(recordPath, &error)) {
                fprintf(stderr, "battle_run: %s\n", error.c_str());
                status = 1;
            }
        }
        printf("result=%d frames=%d steps=%d ticks=%d hash=%016" PRIx64 "\n", battle->GetResult(), runner.Frames(),
               runner.Steps(), runner.Ticks(), battle->HashState());
    }
    StopHeadlessEngine();
    return status;
}
