// zau_netpeer: one headless game in the network lobby, for tests that run several games against
// a real relay. The engine starts as the scene driver starts it, in the peer's own folder (game
// assets linked, ap.ini written), and runs the lobby as the network scene does. A script plays
// keys and typed text and waits for lobby conditions; what the lobby does is written to a file.
//
//   zau_netpeer --dir DIR --script FILE --out FILE [--ini SECTION.KEY=VALUE]... [--paced]
//               [--frames N] [--no-battle-draw]
//
// Script lines (UTF-8; "#" starts a comment):
//   key NAME | down NAME | up NAME   press (down now, up at the next frame), hold, release;
//                                    NAME is Enter, Escape, Up, Down, Left, Right, Tab, Space,
//                                    Backspace, F1 to F12 or a key number
//   type TEXT                        text typed within one frame (two-byte text committed whole)
//   compose TEXT                     the input method shows TEXT under conversion
//   commit TEXT [NAME...]            within one frame Enter commits TEXT and the keys NAME... are
//                                    pressed, sent as the input method sends them: the keys
//                                    first (none for the Enter it keeps), then the text and the
//                                    composition's end
//   wait N                           let N frames pass
//   until id N | until slot I TEXT | until conn I TEXT | until chat TEXT | until fighters N
//   until state TEXT[|TEXT...]       wait for the lobby to show it (the own state: any of them)
//   until players N TEXT             slots 0 to N-1 connected and showing TEXT, the rest empty
//   until step N                     wait for the match's simulation to reach step N
//   until behind N | behind          wait until the own game is N key frames behind the host's
//                                    tick (past 2 it sends and polls two a frame), or write it
//   picture-at N FILE                the match's world right after step N, drawn from the own
//                                    robot, as PNG (drawing runs from 60 steps before, for the
//                                    camera to settle)
//   keyif TEXT NAME                  press NAME only if the own state is TEXT
//   press NAME until phase N         press NAME again every few frames until the match's phase
//                                    is N (a frame that reads no key lets a press go by)
//   record                           the tables, settings and their digest into the output
//   until file PATH | stall until file PATH
//                                    wait for the test's signal: the script, or the whole game
//                                    stopped in its frame
//   mark TEXT                        a line of the script's own
//   quit                             the desktop asks the program to close
// Output lines (UTF-8), each "FRAME KIND ...": id, state, chat, mark, behind, slot, settings, digest,
// match, result, end, picture; and "step N HASH" after every simulation step of a match.
#include "fake_clock.h"
#include "lobby.h"
#include "loading_screen.h"
#include "net_battle.h"
#include "peer_watch.h"
#include "scene_driver.h"

#include "engine.h"
#include "graphics.h"

#include "sys_input.h"
#include "sys_text.h"
#include "sys_text_input.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cinttypes>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <map>
#include <string>
#include <vector>

namespace {

CSceneDriver* g_driver = nullptr;
CLobby* g_lobby = nullptr;
FILE* g_out = nullptr;
int g_lastId = -2;
std::string g_lastState = "\x01";
int g_lastSerial = 0;
std::vector<std::string> g_chat;  // every chat line seen, Shift-JIS
int g_step = 0;
bool g_battleDraw = true;
int g_pictureStep = -1;
std::string g_picturePath;
constexpr int kPictureSettleSteps = 60;
CPeerWatch g_watch;

void Out(const char* kind, const std::string& sjisText) {
    fprintf(g_out, "%d %s %s\n", g_driver ? g_driver->Pumps() : 0, kind, SjisToUtf8(sjisText).c_str());
    fflush(g_out);
}

int KeyCode(const std::string& name) {
    static const std::map<std::string, int> keys = {
        {"Escape", 1},  {"Enter", 28},  {"Up", 200}, {"Down", 208}, {"Left", 203},
        {"Right", 205}, {"Tab", 15},    {"Space", 57}, {"Backspace", 14},
    };
    auto it = keys.find(name);
    if (it != keys.end()) return it->second;
    if (name.size() >= 2 && name[0] == 'F') {
        const int n = atoi(name.c_str() + 1);
        if (n >= 1 && n <= 10) return 58 + n;  // F1 59 .. F10 68
        if (n == 11) return 87;
        if (n == 12) return 88;
    }
    return atoi(name.c_str());
}

// FNV-1a over every field the tables replicate.
uint64_t TablesDigest(const CLobby& l) {
    uint64_t h = 1469598103934665603ull;
    auto add = [&](const std::string& s) {
        for (unsigned char c : s) h = (h ^ c) * 1099511628211ull;
        h = (h ^ 0xff) * 1099511628211ull;
    };
    for (int i = 0; i < kLobbySlots; ++i) {
        add(l.m_slotNames[i]);
        add(l.m_slotCodes[i]);
        add(std::to_string(l.m_slotBattleIndex[i]));
        add(l.m_slotTeams[i]);
        add(l.m_slotConnections[i]);
        add(l.m_slotStates[i]);
    }
    for (int v : {l.m_stage, l.m_mode, l.m_timeLimit, l.m_fighters}) add(std::to_string(v));
    return h;
}

std::string Hex(const std::string& bytes) {
    std::string out;
    char b[4];
    for (unsigned char c : bytes) {
        snprintf(b, sizeof b, "%02X", c);
        out += b;
    }
    return out;
}

void Record() {
    if (!g_lobby) return;
    const CLobby& l = *g_lobby;
    for (int i = 0; i < kLobbySlots; ++i) {
        Out("slot", std::to_string(i) + " name=" + l.m_slotNames[i] + " code=" + Hex(l.m_slotCodes[i]) +
                        " index=" + std::to_string(l.m_slotBattleIndex[i]) + " team=" + l.m_slotTeams[i] +
                        " conn=" + l.m_slotConnections[i] + " state=" + l.m_slotStates[i]);
    }
    Out("settings", "stage=" + std::to_string(l.m_stage) + " mode=" + std::to_string(l.m_mode) +
                        " time=" + std::to_string(l.m_timeLimit) + " fighters=" + std::to_string(l.m_fighters));
    char digest[32];
    snprintf(digest, sizeof digest, "%016" PRIx64, TablesDigest(l));
    Out("digest", digest);
}

// The driver's log as it grows, so a peer that is killed still leaves it behind.
void FlushLog() {
    static size_t written = 0;
    const std::string& log = g_driver->Log();
    if (log.size() <= written) return;
    std::ofstream("peer.log", std::ios::binary | std::ios::app) << log.substr(written);
    written = log.size();
}

// Every frame: what changed in the lobby since the last one.
void Observe() {
    FlushLog();
    g_watch.Observe(g_out, g_driver->Pumps(), g_lobby ? g_lobby->m_battle : nullptr, g_step);
    if (!g_lobby) return;
    CLobby& l = *g_lobby;
    if (l.m_ownId != g_lastId) {
        g_lastId = l.m_ownId;
        Out("id", std::to_string(l.m_ownId));
    }
    if (l.m_ownState != g_lastState) {
        g_lastState = l.m_ownState;
        Out("state", l.m_ownState);
    }
    const int added = (l.m_chat.m_serial - g_lastSerial + kTextListSerialWrap) % kTextListSerialWrap;
    g_lastSerial = l.m_chat.m_serial;
    for (int k = added; k > 0; --k) {
        const int line = l.m_chat.m_currentLine - k;
        if (line < 0) continue;
        g_chat.push_back(l.m_chat.m_lines[line]);
        Out("chat", l.m_chat.m_lines[line]);
    }
}

void OnStep(void*, int step) {
    CNetBattle* b = g_lobby ? g_lobby->m_battle : nullptr;
    if (!b) return;
    // Whose robot is the own one and the frames in phase differ between games by design.
    const int own = b->m_ownIndex, frames = b->m_phaseFrames;
    b->m_ownIndex = 0;
    b->m_phaseFrames = 0;
    const uint64_t hash = b->HashState();
    b->m_ownIndex = own;
    b->m_phaseFrames = frames;
    g_step = step;
    fprintf(g_out, "step %d %016" PRIx64 "\n", step, hash);
    fflush(g_out);
    if (step == g_pictureStep - kPictureSettleSteps) b->m_drawEnabled = 1;
    if (step != g_pictureStep) return;
    // Drawn here, between steps, so every game's picture shows the same step whatever number of
    // steps its frame runs.
    if (BeginFrame(b->m_clearColor)) {
        b->Draw(1);
        b->DrawNetStatus();
        EndFrame();
    }
    const int saved = g_driver->ReadFrame().SavePng(g_picturePath);
    Out("picture", std::to_string(step) + " " + g_picturePath + (saved ? "" : " failed"));
    b->m_drawEnabled = g_battleDraw ? 1 : 0;
    // The drawn frames may have raised the frame skip on a busy machine; with drawing off again
    // nothing would lower it, and a skipping game stops pacing its frames.
    if (!g_battleDraw) b->m_skipCount = b->m_skipCounter = 0;
}

// Called once a match is set up and again when its loop has ended.
void OnMatch(CNetBattle* b, void*) {
    static bool inMatch = false;
    inMatch = !inMatch;
    if (inMatch) {
        b->SetStepObserver(OnStep, nullptr);
        b->m_drawEnabled = g_battleDraw ? 1 : 0;  // the simulation is the same either way
        Out("match", "robots=" + std::to_string(b->m_robotCount) + " own=" + std::to_string(b->m_ownIndex) +
                         " local=" + std::to_string(b->m_localId));
        return;
    }
    Out("result", std::to_string(b->m_result) + " phase=" + std::to_string(b->m_phase) + " steps=" + std::to_string(g_step));
    g_step = 0;
}

// "A|B|C": the own state is one of them.
bool StateIsOneOf(const std::string& alternatives) {
    if (!g_lobby) return false;
    size_t from = 0;
    while (true) {
        const size_t bar = alternatives.find('|', from);
        if (g_lobby->m_ownState == alternatives.substr(from, bar - from)) return true;
        if (bar == std::string::npos) return false;
        from = bar + 1;
    }
}

bool PlayersShow(int count, const std::string& state) {
    if (!g_lobby) return false;
    for (int i = 0; i < kLobbySlots; ++i) {
        const bool player = i < count;
        if (g_lobby->m_slotConnections[i] != (player ? "接続" : "未接続")) return false;
        if (player && g_lobby->m_slotStates[i] != state) return false;
    }
    return true;
}

bool ChatHolds(const std::string& text) {
    for (const std::string& line : g_chat)
        if (line.find(text) != std::string::npos) return true;
    return false;
}

// Key frames the own game has still to send to catch up with the host's tick; 0 outside a match.
int KeyFramesBehind() {
    const CNetBattle* b = g_lobby ? g_lobby->m_battle : nullptr;
    return b ? b->m_exchange.m_hostTick - (int)b->m_exchange.m_latency.m_sendCount : 0;
}

// Text as a fast typist on a busy machine types it: all of it within one frame, which the field
// must take whole and in order; two-byte text as the input method commits it.
void AddTyping(CSceneDriver& d, const std::string& sjis) { d.Type(sjis.c_str()).Wait(1); }

void AddCommit(CSceneDriver& d, const std::string& arg) {
    const std::string text = arg.substr(0, arg.find(' '));
    std::vector<int> keys;
    for (size_t at = arg.find(' '); at != std::string::npos; at = arg.find(' ', at + 1))
        keys.push_back(KeyCode(arg.substr(at + 1, arg.find(' ', at + 1) - at - 1)));
    d.Do([text, keys] {
         for (int key : keys) {
             SysInjectKey(key, 1);
             SysInjectKey(key, 0);
         }
         SysInjectText(text.c_str());
         SysInjectComposition("", 0);
     }).Wait(2);
}

// One script line onto the driver; 0 for a line it does not understand.
int AddStep(CSceneDriver& d, const std::string& utf8Line) {
    const std::string line = Utf8ToSjis(utf8Line);
    const size_t space = line.find(' ');
    const std::string cmd = line.substr(0, space);
    const std::string arg = space == std::string::npos ? "" : line.substr(space + 1);
    if (cmd == "key") d.Press(KeyCode(arg));
    else if (cmd == "down") d.KeyDown(KeyCode(arg));
    else if (cmd == "up") d.KeyUp(KeyCode(arg));
    else if (cmd == "type") AddTyping(d, arg);
    else if (cmd == "compose") d.Compose(arg.c_str(), 1).Wait(1);
    else if (cmd == "commit") AddCommit(d, arg);
    else if (cmd == "wait") d.Wait(atoi(arg.c_str()));
    else if (cmd == "record") d.Do(Record);
    else if (cmd == "mark") d.Do([arg] { Out("mark", arg); });
    else if (cmd == "quit") d.Quit();
    else if (cmd == "behind") d.Do([] { Out("behind", std::to_string(KeyFramesBehind())); });
    else if (cmd == "picture-at") {
        const size_t at = arg.find(' ');
        if (at == std::string::npos || atoi(arg.c_str()) <= kPictureSettleSteps) return 0;
        g_pictureStep = atoi(arg.c_str());
        g_picturePath = arg.substr(at + 1);
    }
    else if (cmd == "press") {
        // "press NAME until phase N"
        const size_t at = arg.find(" until phase ");
        if (at == std::string::npos) return 0;
        g_watch.PressUntilPhase(d, KeyCode(arg.substr(0, at)), atoi(arg.c_str() + at + 13));
    }
    else if (cmd == "keyif") {
        const size_t at = arg.rfind(' ');
        if (at == std::string::npos) return 0;
        const std::string state = arg.substr(0, at);
        const int key = KeyCode(arg.substr(at + 1));
        // Down now and up two frames later, so whichever loop runs sees it go down.
        d.Do([state, key] {
            if (g_lobby && g_lobby->m_ownState == state) SysInjectKey(key, 1);
        });
        d.Wait(2).Do([key] { SysInjectKey(key, 0); });
    }
    else if (cmd == "until") {
        const size_t s2 = arg.find(' ');
        const std::string what = arg.substr(0, s2);
        const std::string rest = s2 == std::string::npos ? "" : arg.substr(s2 + 1);
        const int n = atoi(rest.c_str());
        const size_t s3 = rest.find(' ');
        const std::string tail = s3 == std::string::npos ? "" : rest.substr(s3 + 1);
        if ((what == "slot" || what == "conn") && (n < 0 || n >= kLobbySlots)) return 0;
        if (what == "players" && (n < 0 || n > kLobbySlots)) return 0;
        if (what == "id") d.WaitFor([n] { return g_lobby && g_lobby->m_ownId == n; });
        else if (what == "state") d.WaitFor([rest] { return StateIsOneOf(rest); });
        else if (what == "players") d.WaitFor([n, tail] { return PlayersShow(n, tail); });
        else if (what == "slot") d.WaitFor([n, tail] { return g_lobby && g_lobby->m_slotStates[n] == tail; });
        else if (what == "conn") d.WaitFor([n, tail] { return g_lobby && g_lobby->m_slotConnections[n] == tail; });
        else if (what == "chat") d.WaitFor([rest] { return ChatHolds(rest); });
        else if (what == "fighters") d.WaitFor([n] { return g_lobby && g_lobby->m_fighters == n; });
        else if (what == "behind") d.WaitFor([n] { return KeyFramesBehind() >= n; });
        else if (what == "step") {
            const int step = atoi(rest.c_str());
            d.WaitFor([step] { return g_step >= step; });
        } else return g_watch.AddStep(d, cmd, arg);
    } else return g_watch.AddStep(d, cmd, arg);
    return 1;
}

// "SECTION.KEY=VALUE" options, grouped by section in the order first given.
int WriteIni(const std::vector<std::string>& entries) {
    std::vector<std::pair<std::string, std::string>> sections;
    for (const std::string& e : entries) {
        const size_t dot = e.find('.'), eq = e.find('=');
        if (dot == std::string::npos || eq == std::string::npos || eq < dot) return 0;
        const std::string section = e.substr(0, dot);
        const std::string line = e.substr(dot + 1) + "\r\n";
        bool found = false;
        for (auto& s : sections)
            if (s.first == section) {
                s.second += line;
                found = true;
            }
        if (!found) sections.push_back({section, line});
    }
    std::ofstream ini("ap.ini", std::ios::binary | std::ios::trunc);
    for (auto& s : sections) ini << "[" << s.first << "]\r\n" << Utf8ToSjis(s.second);
    return ini.good() ? 1 : 0;
}

}  // namespace

int main(int argc, char** argv) {
    std::string dir, scriptPath, outPath;
    std::vector<std::string> ini;
    bool paced = false;
    int frames = 20000;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        const bool more = i + 1 < argc;
        if (a == "--dir" && more) dir = argv[++i];
        else if (a == "--script" && more) scriptPath = argv[++i];
        else if (a == "--out" && more) outPath = argv[++i];
        else if (a == "--ini" && more) ini.push_back(argv[++i]);
        else if (a == "--frames" && more) frames = atoi(argv[++i]);
        else if (a == "--paced") paced = true;
        else if (a == "--no-battle-draw") g_battleDraw = false;
        else {
            fprintf(stderr, "zau_netpeer: unknown argument %s\n", a.c_str());
            return 2;
        }
    }
    if (dir.empty() || scriptPath.empty() || outPath.empty()) {
        fprintf(stderr, "usage: zau_netpeer --dir DIR --script FILE --out FILE [--ini S.K=V]... [--paced] [--frames N]\n");
        return 2;
    }
    std::ifstream script(scriptPath);
    if (!script) {
        fprintf(stderr, "zau_netpeer: cannot read %s\n", scriptPath.c_str());
        return 2;
    }
    g_out = fopen(outPath.c_str(), "w");
    if (!g_out) {
        fprintf(stderr, "zau_netpeer: cannot write %s\n", outPath.c_str());
        return 2;
    }
    mkdir(dir.c_str(), 0755);
    if (chdir(dir.c_str()) != 0) {
        fprintf(stderr, "zau_netpeer: cannot enter %s\n", dir.c_str());
        return 2;
    }
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    setenv("SDL_AUDIODRIVER", "dummy", 0);

    CSceneDriver driver;
    g_driver = &driver;
    if (paced) FakeClock::Uninstall();
    if (!ini.empty() && !WriteIni(ini)) {
        fprintf(stderr, "zau_netpeer: bad --ini entry\n");
        return 2;
    }
    if (!driver.UseGameAssets()) fprintf(stderr, "zau_netpeer: some asset folders are not linked\n");
    std::string line;
    int number = 0;
    while (std::getline(script, line)) {
        ++number;
        while (!line.empty() && (line.back() == '\r' || line.back() == ' ')) line.pop_back();
        if (line.empty() || line[0] == '#') continue;
        if (!AddStep(driver, line)) {
            fprintf(stderr, "zau_netpeer: %s:%d: cannot read \"%s\"\n", scriptPath.c_str(), number, line.c_str());
            return 2;
        }
    }
    driver.SetPumpLimit(frames);
    driver.OnEachPump(Observe);
    if (!driver.Start()) {
        fprintf(stderr, "zau_netpeer: the engine did not start\n%s", driver.Log().c_str());
        return 2;
    }
    Out("start", paced ? "paced" : "unpaced");

    // As the network scene: the loading picture, then the lobby on the stack until it returns.
    ShowLoadingScreen();
    {
        CLobby lobby;
        lobby.m_onMatch = OnMatch;
        g_lobby = &lobby;
        lobby.Run();
        Observe();
        Record();
        g_lobby = nullptr;
    }
    const int done = driver.ScriptDone();
    Out("end", "script=" + std::to_string(done) + " limit=" + std::to_string(driver.LimitReached()));
    fclose(g_out);
    FlushLog();
    return done && !driver.LimitReached() ? 0 : 1;
}
