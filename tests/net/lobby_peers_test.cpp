// Three games as separate processes on the real relay, each a zau_netpeer in its own folder
// with a script: they join (one as host, two by address), fail to start with too few fighters,
// see a cancelled start hold the others back, and fight a match that F4 on the host ends; all
// come back to the main menu with the same tables.
#include "relay_harness.h"
#include "test_folder.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

extern char** environ;

#ifndef ZAU_NETPEER_PATH
#error "ZAU_NETPEER_PATH must name the peer program"
#endif

namespace {

constexpr long long kTestLimitMs = 120000;

std::vector<std::string> Lines(const std::string& path) {
    std::vector<std::string> out;
    std::ifstream in(path);
    std::string line;
    while (std::getline(in, line)) out.push_back(line);
    return out;
}

// Index of the first line at or after `from` holding the text, or -1.
int Find(const std::vector<std::string>& lines, const std::string& text, int from = 0) {
    for (int i = from < 0 ? 0 : from; i < (int)lines.size(); ++i)
        if (lines[i].find(text) != std::string::npos) return i;
    return -1;
}

// Lines holding the text, in order.
std::vector<std::string> All(const std::vector<std::string>& lines, const std::string& text) {
    std::vector<std::string> out;
    for (const std::string& l : lines)
        if (l.find(text) != std::string::npos) out.push_back(l);
    return out;
}

// The part of a line after its frame number.
std::string Body(const std::string& line) {
    const size_t space = line.find(' ');
    return space == std::string::npos ? line : line.substr(space + 1);
}

class Peer {
public:
    Peer(const std::string& name, const std::string& script) : m_name(name) {
        m_folder.WriteFile("script.txt", script);
    }
    ~Peer() {
        if (m_pid > 0) {
            kill(m_pid, SIGKILL);
            waitpid(m_pid, nullptr, 0);
        }
    }

    std::string Dir() const { return m_folder.Path() + "/game"; }
    std::string OutPath() const { return m_folder.Path() + "/out.txt"; }

    bool Start(int port, const std::string& lockNamespace, int deadPort, bool withRelay) {
        if (withRelay) {
            mkdir(Dir().c_str(), 0755);
            if (symlink(VashteloPath(), (Dir() + "/Vashtelo").c_str()) != 0) return false;
        }
        const std::string p = std::to_string(port);
        std::vector<std::string> args = {ZAU_NETPEER_PATH, "--dir", Dir(), "--script", m_folder.Path() + "/script.txt",
                                         "--out", OutPath(), "--frames", "30000", "--no-battle-draw", "--paced"};
        for (const std::string& entry : std::vector<std::string>{"NET.NAME=" + m_name, "NET.MSG=peers", "NET.IP=127.0.0.1", "NET.HostPort=" + p, "NET.GestPort=" + p,
              "NET.ChatURL=http://127.0.0.1:" + std::to_string(deadPort) + "/chat",
              "QM.IN=hi from " + m_name, "QM.END=bye from " + m_name}) {
            args.push_back("--ini");
            args.push_back(entry);
        }
        std::vector<char*> argv;
        for (std::string& a : args) argv.push_back(a.data());
        argv.push_back(nullptr);
        // The relay the host starts must meet the test's relay in one lock namespace; no desktop.
        std::string ns = "ZAUMOLTA_LOCK_NS=" + lockNamespace;
        std::vector<char*> env;
        for (char** e = environ; *e; ++e) {
            if (!strncmp(*e, "ZAUMOLTA_LOCK_NS=", 17) || !strncmp(*e, "DISPLAY=", 8) || !strncmp(*e, "WAYLAND_DISPLAY=", 16))
                continue;
            env.push_back(*e);
        }
        env.push_back(ns.data());
        env.push_back(nullptr);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        const std::string err = m_folder.Path() + "/stderr.txt";
        posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
        const int rc = posix_spawn(&m_pid, ZAU_NETPEER_PATH, &actions, nullptr, argv.data(), env.data());
        posix_spawn_file_actions_destroy(&actions);
        if (rc != 0) m_pid = -1;
        return rc == 0;
    }

    // The exit code once it ended, -1 while it runs.
    int Poll() {
        if (m_pid <= 0) return m_exit;
        int status = 0;
        if (waitpid(m_pid, &status, WNOHANG) == m_pid) {
            m_pid = -1;
            m_exit = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        }
        return m_exit;
    }

    bool WaitForLine(const std::string& text, long long deadline) {
        while (MonotonicMs() < deadline) {
            if (Find(Lines(OutPath()), text) >= 0) return true;
            if (Poll() >= 0) return false;
            usleep(20000);
        }
        return false;
    }

    std::string Report() const {
        return m_name + " output:\n" + m_folder.ReadFile("out.txt") + "\nstderr:\n" + m_folder.ReadFile("stderr.txt") +
               "\nlog:\n" + m_folder.ReadFile("game/peer.log");
    }

    std::string m_name;
    TempFolder m_folder;
    pid_t m_pid = -1;
    int m_exit = -1;
};

// Every game: name and connection screens, then the phases, kept in step by what each lobby
// shows and by chat lines, never by frame counts (the games run at their own speeds). The main
// menu opens on "message", so "start" is one line down; the host's " set number" eight.
const std::string kJoin = U8(u8R"(
wait 3
key Enter
key Down
%CONNECT%
key Enter
until players 3 メインメニュー
record
mark joined
)");

// A client: says it is ready, starts once the host waits, and gets past a start wait that the
// host's failure report reached before its "戦闘中" did (the wait then lasts until a cancel).
const std::string kClientFailedStart = U8(u8R"(
key Enter
until state チャット入力中
wait 3
type ready
wait 3
key Enter
until state メインメニュー
until slot 0 開始待ち
key Down
key Enter
until chat ERR03
wait 30
keyif 開始待ち Enter
until state 戦闘失敗|メインメニュー
mark failed
key Enter
until state チャット入力中
wait 3
type back
wait 3
key Enter
until state メインメニュー
)");

const std::string kClientMatch = U8(u8R"(
until fighters 6
until slot 0 開始待ち
key Down
key Enter
until state 戦闘中
until state 終了待ち
until state メインメニュー
record
mark done
until chat HOST:done
quit
)");

const std::string kHostScript = U8(u8R"(
until chat ONE:ready
until chat TWO:ready
key Down
key Enter
until state 戦闘失敗
until chat ERR03
mark failed
until chat ONE:back
until chat TWO:cancelled
key Down
key Enter
until state 開始待ち
wait 30
mark held
key Enter
until state メインメニュー
key Down
key Down
key Down
key Down
key Down
key Down
key Down
key Down
key Enter
until state 人数選択中
key Down
key Down
key Enter
until state メインメニュー
mark six
key Down
key Enter
until state 戦闘中
until step 100
down F4
wait 4
up F4
until state 終了待ち
until state メインメニュー
record
mark done
key Enter
until state チャット入力中
wait 3
type done
wait 3
key Enter
until state メインメニュー
wait 30
quit
)");

const std::string kTwoCancels = U8(u8R"(
key Down
key Enter
until state 開始待ち
wait 10
key Enter
until state メインメニュー
mark cancelled
key Enter
until state チャット入力中
wait 3
type cancelled
wait 3
key Enter
until state メインメニュー
)");

std::string Script(const char* connect, const std::string& rest) {
    std::string join = kJoin;
    join.replace(join.find("%CONNECT%"), 9, connect);
    return join + rest;
}

TEST(LobbyPeers, ThreeGamesJoinFailCancelFightAndComeBack) {
    const long long deadline = MonotonicMs() + kTestLimitMs;
    TempFolder relayFolder;
    RelayProcess relay;
    const std::string ns = UniqueLockNamespace();
    ASSERT_TRUE(relay.StartListening(relayFolder.Path(), ns));
    const int deadPort = FreeTcpPort();

    // The host: "ホスト" and the message; the clients: "ＩＰ指定" and the address 127.0.0.1.
    Peer host("HOST", Script("key Enter", kHostScript));
    Peer one("ONE", Script("key Down\nkey Enter", kClientFailedStart + kClientMatch));
    Peer two("TWO", Script("key Down\nkey Enter", kClientFailedStart + kTwoCancels + kClientMatch));
    ASSERT_TRUE(host.Start(relay.Port(), ns, deadPort, true));
    ASSERT_TRUE(host.WaitForLine(" id 0", deadline)) << host.Report() << relay.Output();
    ASSERT_TRUE(one.Start(relay.Port(), ns, deadPort, false));
    ASSERT_TRUE(one.WaitForLine(" id 1", deadline)) << one.Report() << relay.Output();
    ASSERT_TRUE(two.Start(relay.Port(), ns, deadPort, false));

    Peer* peers[3] = {&host, &one, &two};
    bool running = true;
    while (running && MonotonicMs() < deadline) {
        running = false;
        for (Peer* p : peers) running = running || p->Poll() < 0;
        usleep(50000);
    }
    bool allDone = true;
    for (Peer* p : peers) {
        EXPECT_EQ(p->Poll(), 0) << p->Report();
        allDone = allDone && p->Poll() == 0;
    }
    ASSERT_TRUE(allDone) << "relay:\n" << relay.Output();

    std::vector<std::string> out[3];
    for (int i = 0; i < 3; ++i) out[i] = Lines(peers[i]->OutPath());

    // Joined: ids 0, 1, 2, every table equal to the host's, the greetings of everyone who came
    // later in each chat.
    std::string joinedDigest[3];
    for (int i = 0; i < 3; ++i) {
        EXPECT_GE(Find(out[i], " id " + std::to_string(i)), 0) << peers[i]->Report();
        const int mark = Find(out[i], " mark joined");
        ASSERT_GT(mark, 0);
        const std::vector<std::string> before(out[i].begin(), out[i].begin() + mark);
        const std::vector<std::string> digests = All(before, " digest ");
        ASSERT_FALSE(digests.empty());
        joinedDigest[i] = Body(digests.back());
        for (int j = i; j < 3; ++j)
            EXPECT_GE(Find(out[i], " chat " + peers[j]->m_name + ":hi from " + peers[j]->m_name), 0)
                << peers[i]->m_name << " lacks the greeting of " << peers[j]->m_name;
        EXPECT_GE(Find(out[i], " chat Ver0.18.5"), 0);
    }
    EXPECT_EQ(joinedDigest[1], joinedDigest[0]) << one.Report() << host.Report();
    EXPECT_EQ(joinedDigest[2], joinedDigest[0]) << two.Report() << host.Report();
    // The host's own relay copy met the running one and ended without a word.
    EXPECT_EQ(relay.CountInOutput("client[0]"), 1) << relay.Output();

    // Two fighters for three players: the host's errors in every chat and its failed start. A
    // client whose start wait saw the host's failure before everybody's "戦闘中" waits on until
    // its player cancels, as the lobby's rules have it; otherwise it failed the same way.
    for (int i = 0; i < 3; ++i) {
        const int joined = Find(out[i], " mark joined");
        const int err10 = Find(out[i], " chat ERR10", joined), err03 = Find(out[i], " chat ERR03", joined);
        EXPECT_GT(err10, joined) << peers[i]->m_name;
        EXPECT_GT(err03, err10) << peers[i]->m_name;
        const int failed = Find(out[i], U8(u8" state 戦闘失敗"), joined);
        const int cancelled = Find(out[i], U8(u8" state 戦闘拒否"), joined);
        const int mark = Find(out[i], " mark failed");
        EXPECT_TRUE((failed > joined && failed < mark) || (i > 0 && cancelled > joined && cancelled < mark))
            << peers[i]->Report();
    }
    EXPECT_GT(Find(out[0], U8(u8" state 戦闘失敗")), Find(out[0], " mark joined"));

    // A cancelled start: TWO went back to its menu, and the host, alone in its wait, never
    // started until the six-fighter match.
    const int twoFailed = Find(out[2], " chat TWO:back");
    const int refused = Find(out[2], U8(u8" state 戦闘拒否"), twoFailed);
    EXPECT_GT(refused, twoFailed);
    EXPECT_GT(Find(out[2], " mark cancelled", refused), refused);
    const int held = Find(out[0], " mark held");
    EXPECT_GT(held, 0);
    const int hostBattle = Find(out[0], U8(u8" state 戦闘中"), Find(out[0], " mark failed"));
    EXPECT_GT(hostBattle, Find(out[0], " mark six")) << host.Report();

    // The match: six robots, the same world step after step, ended by F4 with result 99, then
    // the wait after the battle and the main menu, with the CPU slots renamed.
    std::vector<std::string> steps[3];
    for (int i = 0; i < 3; ++i) {
        EXPECT_GE(Find(out[i], " match robots=6 own=" + std::to_string(i) + " local=" + std::to_string(i)), 0)
            << peers[i]->Report();
        const int result = Find(out[i], " result 99 ");
        EXPECT_GT(result, 0) << peers[i]->Report();
        const int after = Find(out[i], U8(u8" state 終了待ち"), result);
        EXPECT_GT(after, result);
        EXPECT_GT(Find(out[i], U8(u8" state メインメニュー"), after), after);
        const int done = Find(out[i], " mark done");
        ASSERT_GT(done, 0);
        for (int s = 3; s < 6; ++s)
            EXPECT_GE(Find(out[i], " slot " + std::to_string(s) + " name=CPU" + std::to_string(s), after), after)
                << peers[i]->m_name << " slot " << s;
        for (const std::string& l : out[i])
            if (l.rfind("step ", 0) == 0) steps[i].push_back(l);
        EXPECT_GE(steps[i].size(), 100u) << peers[i]->m_name;
    }
    for (int i = 1; i < 3; ++i) {
        const size_t n = std::min(steps[i].size(), steps[0].size());
        for (size_t s = 0; s < n; ++s) ASSERT_EQ(steps[i][s], steps[0][s]) << peers[i]->m_name;
    }
}

}  // namespace
