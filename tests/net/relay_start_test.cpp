// Starting the relay as a hosting game does: a real Vashtelo in a private folder with its own
// port and lock namespace, with no desktop, so it runs detached. It must listen, outlive the
// process that started it, stay single, and end on SIGTERM by the id it was started with. On a
// desktop, the options a terminal is given.
#include "relay_harness.h"
#include "test_folder.h"

#include "sys_process.h"

#include <gtest/gtest.h>

#include <limits.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <string>

namespace {

// A backstop for a relay that makes no progress at all; a busy machine starts and ends it slowly.
constexpr int kRelayStuckMs = 60000;

bool Alive(int pid) { return pid > 0 && kill(pid, 0) == 0; }

// A process that is not ours is reaped by the system, so it is gone once kill finds nothing.
bool WaitGone(int pid, int timeoutMs) {
    for (long long end = MonotonicMs() + timeoutMs; MonotonicMs() < end; usleep(20000)) {
        if (!Alive(pid)) return true;
    }
    return !Alive(pid);
}

bool ConnectsWithin(int port, int timeoutMs) {
    for (long long end = MonotonicMs() + timeoutMs; MonotonicMs() < end; usleep(50000)) {
        RelayClient client(port);
        if (client.Connected()) return true;
    }
    return false;
}

int ParentOf(int pid) {
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string line;
    std::getline(stat, line);
    const size_t close = line.rfind(')');
    if (close == std::string::npos) return -1;
    char state = 0;
    int parent = -1;
    if (sscanf(line.c_str() + close + 1, " %c %d", &state, &parent) != 2) return -1;
    return parent;
}

class RelayStartTest : public ::testing::Test {
protected:
    CTestFolder folder;
    int port = 0;

    void SetUp() override {
        unsetenv("DISPLAY");
        unsetenv("WAYLAND_DISPLAY");
        setenv("ZAUMOLTA_LOCK_NS", UniqueLockNamespace().c_str(), 1);
        ASSERT_EQ(symlink(VashteloPath(), "Vashtelo"), 0);
        port = FreeTcpPort();
        WriteWholeFile("ap.ini", "[NET]\r\nHostPort=" + std::to_string(port) + "\r\n");
    }
};

TEST_F(RelayStartTest, RelayListensOutlivesItsStarterStaysSingleAndEndsOnSigterm) {
    // The starter is a process of its own that ends at once, as a game that quits.
    int ids[2];
    ASSERT_EQ(pipe(ids), 0);
    const pid_t starter = fork();
    ASSERT_GE(starter, 0);
    if (starter == 0) {
        const int pid = SysStartProgram("./Vashtelo");
        (void)!write(ids[1], &pid, sizeof pid);
        _exit(0);
    }
    close(ids[1]);
    int relay = 0;
    ASSERT_EQ(read(ids[0], &relay, sizeof relay), (ssize_t)sizeof relay);
    close(ids[0]);
    int status = 0;
    ASSERT_EQ(waitpid(starter, &status, 0), starter);
    ASSERT_GT(relay, 0);

    EXPECT_TRUE(ConnectsWithin(port, kRelayStuckMs));
    EXPECT_TRUE(Alive(relay));
    EXPECT_NE(ParentOf(relay), getpid());
    EXPECT_NE(ParentOf(relay), (int)starter);

    // A second host's start: that copy finds the mark and ends; the first one keeps serving.
    const int second = SysStartProgram("./Vashtelo");
    ASSERT_GT(second, 0);
    EXPECT_NE(second, relay);
    EXPECT_TRUE(WaitGone(second, kRelayStuckMs));
    EXPECT_TRUE(Alive(relay));
    EXPECT_TRUE(ConnectsWithin(port, 1000));

    ASSERT_EQ(kill(relay, SIGTERM), 0);
    EXPECT_TRUE(WaitGone(relay, kRelayStuckMs));
    if (Alive(relay)) kill(relay, SIGKILL);
}

// On a desktop the program runs in x-terminal-emulator, a link to the terminal the system chose.
// "-iconic" goes only to the terminals that know it, by the name of the program the link
// resolves to: lxterminal, whose name holds "xterm", prints its usage for it and starts nothing.
// Each stand-in terminal writes down the arguments it got. A detached start passes the terminal
// by, on a desktop too.
TEST_F(RelayStartTest, TerminalGetsIconicOnlyByItsOwnNameAndDetachedStartsNeedNone) {
    const struct {
        const char* name;
        bool iconic;
    } terminals[] = {{"xterm", true}, {"urxvt", true}, {"lxterminal", false}, {"mate-terminal", false}};
    char real[PATH_MAX];
    ASSERT_NE(realpath("Vashtelo", real), nullptr);
    const std::string path = getenv("PATH") ? getenv("PATH") : "";
    setenv("PATH", (folder.File("bin") + ":" + path).c_str(), 1);
    setenv("DISPLAY", ":97", 1);
    ASSERT_EQ(mkdir("bin", 0755), 0);
    for (const auto& t : terminals) {
        SCOPED_TRACE(t.name);
        const std::string terminal = std::string("bin/") + t.name;
        WriteWholeFile(terminal, "#!/bin/sh\nprintf '%s\\n' \"$@\" > args.tmp\nmv args.tmp args\n");
        ASSERT_EQ(chmod(terminal.c_str(), 0755), 0);
        unlink("bin/x-terminal-emulator");
        ASSERT_EQ(symlink(t.name, "bin/x-terminal-emulator"), 0);
        unlink("args");
        std::string name;
        EXPECT_GT(SysStartProgram("./Vashtelo", &name), 0);
        EXPECT_EQ(name, t.name);
        for (long long end = MonotonicMs() + kRelayStuckMs; access("args", F_OK) != 0 && MonotonicMs() < end;)
            usleep(10000);
        EXPECT_EQ(ReadWholeFile("args"), std::string(t.iconic ? "-iconic\n" : "") + "-e\n" + real + "\n");
    }
    unlink("args");
    const int relay = SysStartProgramDetached("./Vashtelo");
    ASSERT_GT(relay, 0);
    EXPECT_TRUE(ConnectsWithin(port, kRelayStuckMs));
    EXPECT_NE(access("args", F_OK), 0);
    ASSERT_EQ(kill(relay, SIGTERM), 0);
    EXPECT_TRUE(WaitGone(relay, kRelayStuckMs));
    unsetenv("DISPLAY");
    setenv("PATH", path.c_str(), 1);
}

TEST_F(RelayStartTest, MissingOrUnrunnableProgramGivesNoProcess) {
    EXPECT_EQ(SysStartProgram("./NoSuchRelay"), 0);
    WriteWholeFile("NotAProgram", "plain text");
    EXPECT_EQ(SysStartProgram("./NotAProgram"), 0);  // not executable
    WriteWholeFile("Broken", "#!/no/such/interpreter\n");
    chmod("Broken", 0755);
    EXPECT_EQ(SysStartProgram("./Broken"), 0);  // executable, but its exec fails
    EXPECT_EQ(SysStartProgram(nullptr), 0);
    EXPECT_EQ(SysStartProgramDetached("./NoSuchRelay"), 0);
}

}  // namespace
