// Online battle figures: the relay and three games, each its own process, on one machine; six
// robots (three players, three CPU robots of the first game) in a 60-second match. Unpaced,
// every game runs flat out to the end; paced, each keeps to 30 frames a second for 20 seconds.
// It prints figures beside the machine's processor and core count; nothing here is timed.
//
//   net_battle_bench                       the whole run
//   net_battle_bench --game I --port P --out FILE [--paced]   one game (started by the run)
#include "battle_runner.h"
#include "e2e_driver.h"
#include "net_battle.h"
#include "net_link.h"

#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace {

constexpr int kGames = 3;
constexpr int kMatchSeconds = 60;
constexpr int kPacedSeconds = 20;
constexpr int kUnpacedLimitMs = 120000;  // a stalled game gives up and reports what it did
constexpr double kFrameMs = 1000.0 / 30.0;
// Unpaced, a frame that ran no step waits up to a couple of milliseconds for the relay before the
// next: the first game sends its tick every frame, and one spinning on frames that cannot step
// floods the relay and runs the others' key buffers to their cap. A wait always ends in a frame,
// so no game can stall another.
constexpr int kUnpacedWaitMs = 2;
const char* const kBuilds[kMaxRobots] = {"36,1,2", "29,0,1", "9,2,3", "21,1,0", "31,3,4", "32,0,2"};
const char* const kNames[kMaxRobots] = {"ALPHA", "BRAVO", "CHARLIE", "CPU3", "CPU4", "CPU5"};

// The game's link to the relay, over a plain client socket.
class CBenchLink : public CNetLink {
public:
    explicit CBenchLink(int port) : m_client(port) {}
    int IsConnected() override { return m_client.Connected() ? 1 : 0; }
    int IsReadable() override {
        pollfd p = {m_client.Fd(), POLLIN, 0};
        return poll(&p, 1, 0) > 0 ? 1 : 0;
    }
    int IsWritable() override { return 1; }
    void WaitReadable(int ms) {
        pollfd p = {m_client.Fd(), POLLIN, 0};
        poll(&p, 1, ms);
    }
    int Receive(char* buffer, int size) override {
        const ssize_t n = recv(m_client.Fd(), buffer, (size_t)size - 1, 0);
        if (n < 0) return -1;
        buffer[n] = 0;
        return (int)n;
    }
    int Send(const char* data, int length) override { return m_client.Send(data, (size_t)length) ? 1 : 0; }

private:
    RelayClient m_client;
};

struct SGameFigures {
    long long frames = 0, steppedFrames = 0, wallMs = 0;
    int steps = 0, result = -1;
    double dMinMean = 0, dMaxMean = 0;
    unsigned dMinTop = 0, dMaxTop = 0, lag = 0;
    long long held = 0;   // unpaced: frames that first waited for the relay
};

void CountStep(void* context, int step) { *static_cast<int*>(context) = step; }

std::unique_ptr<CNetBattle> MakeBattle(int local) {
    auto b = std::make_unique<CNetBattle>();
    for (int i = 0; i < kMaxRobots; ++i) b->BuildRobot(i, -1, ParseBuildCode(kBuilds[i]));
    b->LoadStage(1);
    b->m_clock = kMatchSeconds * 30;
    b->m_robotCount = kMaxRobots;
    b->PlaceRobots();
    b->m_localId = local;
    b->m_ownIndex = local;
    b->m_cpu[local].m_type = 0;
    for (int i = 0; i < kMaxRobots; ++i) {
        b->m_owner[i] = i < kGames ? i : 0;
        b->m_robots[i].m_actionNames[kActName] = kNames[i];
    }
    b->m_drawEnabled = 0;
    b->Start();
    return b;
}

// What the lobby does with a frame's text: whole messages, sends of at most 1024 characters.
void SendAll(CNetLink& link, std::string& out) {
    while (!out.empty()) {
        size_t n = out.size();
        if (n > 1024) {
            n = out.rfind('>', 1024);
            if (n == 0 || n == std::string::npos) n = 1024;
        }
        link.Send(out.data(), (int)n);
        out.erase(0, n);
    }
}

int RunGame(int local, int port, const std::string& outPath, bool paced) {
    if (chdir(GAME_DIR) != 0 || !StartHeadlessEngine()) {
        fprintf(stderr, "net_battle_bench: no game folder or no engine\n");
        return 1;
    }
    CBenchLink link(port);
    if (!link.IsConnected()) return 1;
    std::ofstream(outPath) << "connected\n";
    // The run says go once all three are on the relay: a game that joined late would miss the
    // first frames of the others.
    const std::string go = outPath + ".go";
    if (!WaitUntil([&] { return access(go.c_str(), F_OK) == 0; }, 30000, 5)) return 1;

    std::unique_ptr<CNetBattle> b = MakeBattle(local);
    int step = 0;
    b->SetStepObserver(CountStep, &step);
    SGameFigures f;
    const long long start = MonotonicMs();
    const long long limit = paced ? kPacedSeconds * 1000 : kUnpacedLimitMs;
    char buffer[4096];
    while (!b->IsOver() && MonotonicMs() - start < limit) {
        while (link.IsReadable()) {
            const int n = link.Receive(buffer, sizeof buffer);
            if (n <= 0) break;
            b->Incoming().append(buffer, (size_t)n);
        }
        const int before = step;
        b->Run();
        SendAll(link, b->Outgoing());
        ++f.frames;
        f.steppedFrames += step != before;
        if (!paced && step == before) {
            ++f.held;
            link.WaitReadable(kUnpacedWaitMs);
        }
        f.dMinMean += b->m_exchange.m_minLen;
        f.dMaxMean += b->m_exchange.m_maxLen;
        f.dMinTop = std::max(f.dMinTop, b->m_exchange.m_minLen);
        f.dMaxTop = std::max(f.dMaxTop, b->m_exchange.m_maxLen);
        if (paced) {
            const long long due = start + (long long)(f.frames * kFrameMs);
            const long long wait = due - MonotonicMs();
            if (wait > 0) usleep((useconds_t)wait * 1000);
        }
    }
    f.wallMs = MonotonicMs() - start;
    f.steps = step;
    f.result = b->m_result;
    f.lag = b->m_exchange.m_latency.AverageLatency();
    std::ofstream out(outPath, std::ios::app);
    out << "frames " << f.frames << " stepped " << f.steppedFrames << " steps " << f.steps << " wall " << f.wallMs
        << " dmin " << (f.frames ? f.dMinMean / (double)f.frames : 0) << " dmax "
        << (f.frames ? f.dMaxMean / (double)f.frames : 0) << " dmintop " << f.dMinTop << " dmaxtop " << f.dMaxTop
        << " lag " << f.lag << " held " << f.held << " result " << f.result << "\n";
    b.reset();
    StopHeadlessEngine();
    return 0;
}

bool ReadFigures(const std::string& path, SGameFigures& f) {
    std::ifstream in(path);
    std::string word;
    double dmin = 0, dmax = 0;
    while (in >> word) {
        if (word == "frames") in >> f.frames;
        else if (word == "stepped") in >> f.steppedFrames;
        else if (word == "steps") in >> f.steps;
        else if (word == "wall") in >> f.wallMs;
        else if (word == "dmin") in >> dmin;
        else if (word == "dmax") in >> dmax;
        else if (word == "dmintop") in >> f.dMinTop;
        else if (word == "dmaxtop") in >> f.dMaxTop;
        else if (word == "lag") in >> f.lag;
        else if (word == "held") in >> f.held;
        else if (word == "result") in >> f.result;
    }
    f.dMinMean = dmin;
    f.dMaxMean = dmax;
    return f.frames > 0;
}

std::string Processor() {
    std::ifstream in("/proc/cpuinfo");
    std::string line;
    while (std::getline(in, line))
        if (line.rfind("model name", 0) == 0) {
            const size_t colon = line.find(':');
            return colon == std::string::npos ? line : line.substr(colon + 2);
        }
    return "unknown";
}

// One run: the relay, three games started together, their figures and the relay's chunks.
int RunMatch(const char* self, bool paced) {
    E2eWorld world;
    if (!world.Start()) {
        fprintf(stderr, "net_battle_bench: the relay did not start\n");
        return 1;
    }
    std::vector<std::unique_ptr<E2eProcess>> games;
    for (int i = 0; i < kGames; ++i) {
        games.push_back(std::make_unique<E2eProcess>("game" + std::to_string(i)));
        E2eProcess& g = *games.back();
        std::vector<std::string> args = {"--game", std::to_string(i), "--port", std::to_string(world.Port()), "--out",
                                         g.FilePath("figures.txt")};
        if (paced) args.push_back("--paced");
        if (!g.Start(self, args, world)) return 1;
    }
    for (auto& g : games)
        if (!g->WaitForLine("figures.txt", "connected", 30000)) {
            fprintf(stderr, "net_battle_bench: %s did not connect\n%s", g->Name().c_str(), g->ReadFile("stderr.txt").c_str());
            return 1;
        }
    usleep(300000);  // the relay takes each connection a moment after it was made
    const int chunksBefore = world.Relay().CountInOutput(" > recv(");
    const long long start = MonotonicMs();
    for (auto& g : games) std::ofstream(g->FilePath("figures.txt.go")) << "go\n";
    for (auto& g : games) g->WaitExit(kUnpacedLimitMs + 30000);
    const long long wall = MonotonicMs() - start;
    const int chunks = world.Relay().CountInOutput(" > recv(") - chunksBefore;

    printf("%s (%d-s match%s)\n", paced ? "Paced, real clock, 30 frames a second" : "Unpaced, no frame timer",
           kMatchSeconds, paced ? ", first 20 s" : "");
    for (int i = 0; i < kGames; ++i) {
        SGameFigures f;
        if (games[i]->Poll() != 0 || !ReadFigures(games[i]->FilePath("figures.txt"), f)) {
            printf("  game %d: no figures (exit %d)\n%s", i, games[i]->Poll(), games[i]->ReadFile("stderr.txt").c_str());
            continue;
        }
        const double s = f.wallMs / 1000.0;
        if (paced)
            printf("  game %d: %6.1f frames/s, %5.1f%% of frames stepped, D MIN %.1f (top %u), D MAX %.1f (top %u), "
                   "LAG %u ms\n",
                   i, f.frames / s, 100.0 * f.steppedFrames / (double)f.frames, f.dMinMean, f.dMinTop, f.dMaxMean,
                   f.dMaxTop, f.lag);
        else
            printf("  game %d: %8.1f frames/s, %6.1f steps/s, %d steps, result %d, %.2f s, %lld waits\n", i,
                   f.frames / s, f.steps / s, f.steps, f.result, s, f.held);
    }
    printf("  wall %.2f s, relay %d chunks in, %.1f chunks/s\n", wall / 1000.0, chunks, chunks * 1000.0 / (double)wall);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    int game = -1, port = 0;
    bool paced = false;
    std::string out;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        const bool more = i + 1 < argc;
        if (a == "--game" && more) game = atoi(argv[++i]);
        else if (a == "--port" && more) port = atoi(argv[++i]);
        else if (a == "--out" && more) out = argv[++i];
        else if (a == "--paced") paced = true;
        else {
            fprintf(stderr, "usage: net_battle_bench [--game I --port P --out FILE [--paced]]\n");
            return 2;
        }
    }
    if (game >= 0) return RunGame(game, port, out, paced);

    char self[4096];
    const ssize_t n = readlink("/proc/self/exe", self, sizeof self - 1);
    if (n <= 0) return 1;
    self[n] = 0;
    printf("Online battle: relay and %d games on one machine, %d robots\n", kGames, kMaxRobots);
    printf("Processor: %s, %u cores\n", Processor().c_str(), std::thread::hardware_concurrency());
    const int unpaced = RunMatch(self, false);
    const int pacedRun = RunMatch(self, true);
    return unpaced || pacedRun;
}
