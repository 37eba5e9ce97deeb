// The console on a terminal: single keys without echo while the relay is the terminal's
// foreground job, the terminal put back on every way out, and a relay started in the
// background neither stopped by its terminal nor changing it.
#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "relay_harness.h"

#include <gtest/gtest.h>

namespace {

// A relay whose standard input is the slave of a fresh pseudo-terminal, in a session of its
// own: as the session's foreground job, or in a background process group of that session.
class TerminalRelay {
public:
    static constexpr const char* kOutputFile = "console.txt";

    ~TerminalRelay() {
        if (relay_ > 0) kill(relay_, SIGKILL);
        if (session_ > 0) waitpid(session_, nullptr, 0);
        if (master_ >= 0) close(master_);
        if (slave_ >= 0) close(slave_);
    }

    bool Start(const TempFolder& folder, bool background) {
        port_ = FreeTcpPort();
        folder.WriteFile("ap.ini", "[NET]\nHostPort=" + std::to_string(port_) + "\n");
        folder_ = &folder;
        const std::string outputPath = folder.Path() + "/" + kOutputFile;
        master_ = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
        if (master_ < 0 || grantpt(master_) != 0 || unlockpt(master_) != 0) return false;
        std::string slavePath = ptsname(master_);
        slave_ = open(slavePath.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);  // the test's view of the modes
        if (slave_ < 0 || tcgetattr(slave_, &initial_) != 0) return false;

        std::string ns = "ZAUMOLTA_LOCK_NS=" + UniqueLockNamespace();
        std::vector<char*> env;
        for (char** e = environ; *e; ++e)
            if (strncmp(*e, "ZAUMOLTA_LOCK_NS=", 17) != 0) env.push_back(*e);
        env.push_back(ns.data());
        env.push_back(nullptr);
        char* argv[] = {(char*)VashteloPath(), nullptr};
        int pidPipe[2];
        if (pipe2(pidPipe, O_CLOEXEC) != 0) return false;

        // Only async-signal-safe calls between fork and exec.
        session_ = fork();
        if (session_ == 0) {
            setsid();
            int tty = open(slavePath.c_str(), O_RDWR);  // the session's controlling terminal
            int out = open(outputPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
            if (tty < 0 || out < 0 || chdir(folder.Path().c_str()) != 0) _exit(120);
            pid_t relay = background ? fork() : 0;
            if (relay == 0) {
                if (background) setpgid(0, 0);
                dup2(tty, STDIN_FILENO);
                dup2(out, STDOUT_FILENO);
                dup2(out, STDERR_FILENO);
                execve(argv[0], argv, env.data());
                _exit(121);
            }
            if (write(pidPipe[1], &relay, sizeof relay) != sizeof relay) _exit(122);
            int status = 0;
            waitpid(relay, &status, 0);
            _exit(WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status));
        }
        close(pidPipe[1]);
        if (session_ < 0) return false;
        relay_ = session_;
        if (background && read(pidPipe[0], &relay_, sizeof relay_) != sizeof relay_) relay_ = -1;
        close(pidPipe[0]);
        return relay_ > 0;
    }

    // What the relay printed: the terminal only carries its input here.
    bool WaitForOutput(const std::string& text, int timeoutMs = 10000) const {
        long long deadline = MonotonicMs() + timeoutMs;
        for (;;) {
            if (Output().find(text) != std::string::npos) return true;
            if (MonotonicMs() >= deadline) return false;
            usleep(5000);
        }
    }
    std::string Output() const { return folder_ ? folder_->ReadFile(kOutputFile) : std::string(); }
    tcflag_t LocalModes() const {
        termios now;
        return tcgetattr(slave_, &now) == 0 ? now.c_lflag : 0;
    }
    tcflag_t InitialLocalModes() const { return initial_.c_lflag; }
    void Type(const char* keys) { ASSERT_EQ(write(master_, keys, strlen(keys)), (ssize_t)strlen(keys)); }
    void Signal(int sig) { kill(relay_, sig); }
    // The relay's exit code (128 + signal when killed), or -1 while it still runs.
    int WaitExit(int timeoutMs) {
        long long deadline = MonotonicMs() + timeoutMs;
        for (;;) {
            int status = 0;
            if (waitpid(session_, &status, WNOHANG) == session_) {
                session_ = relay_ = -1;
                return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
            }
            if (MonotonicMs() >= deadline) return -1;
            usleep(5000);
        }
    }
    int Port() const { return port_; }

private:
    int master_ = -1, slave_ = -1, port_ = 0;
    pid_t session_ = -1, relay_ = -1;
    termios initial_ = {};
    const TempFolder* folder_ = nullptr;
};

constexpr tcflag_t kLineModes = ICANON | ECHO;

class RelayTerminalExitTest : public ::testing::TestWithParam<const char*> {};

// "q", Ctrl-C and Ctrl-\ typed on the terminal: each ends the relay like "q", terminal restored.
TEST_P(RelayTerminalExitTest, SingleKeysWithoutEchoAndTheTerminalPutBack) {
    TempFolder folder;
    TerminalRelay relay;
    ASSERT_TRUE(relay.Start(folder, false));
    ASSERT_TRUE(relay.WaitForOutput("q : quit\nl : list\n")) << relay.Output();
    ASSERT_EQ(relay.InitialLocalModes() & kLineModes, kLineModes);
    EXPECT_EQ(relay.LocalModes() & kLineModes, 0u);
    EXPECT_EQ(relay.LocalModes() & ISIG, ISIG);

    relay.Type("l");  // no Enter
    EXPECT_TRUE(relay.WaitForOutput("list\n0 clients.\n")) << relay.Output();

    relay.Type(GetParam());
    EXPECT_EQ(relay.WaitExit(5000), 0);
    EXPECT_TRUE(relay.WaitForOutput("shutdown...\n", 0));
    EXPECT_EQ(relay.LocalModes(), relay.InitialLocalModes());
}

INSTANTIATE_TEST_SUITE_P(WaysOut, RelayTerminalExitTest, ::testing::Values("q", "\x03", "\x1c"));

TEST(RelayTerminalTest, RelayInTheBackgroundKeepsRelayingAndLeavesTheTerminalAlone) {
    TempFolder folder;
    TerminalRelay relay;
    ASSERT_TRUE(relay.Start(folder, true));
    ASSERT_TRUE(relay.WaitForOutput("q : quit\nl : list\n")) << "stopped by its terminal? " << relay.Output();
    EXPECT_EQ(relay.LocalModes(), relay.InitialLocalModes());

    relay.Type("l\n");  // meant for the job in front: the relay's read fails, it does not stop
    usleep(100 * 1000);
    RelayClient game(relay.Port());
    ASSERT_TRUE(game.Connected());
    ASSERT_TRUE(relay.WaitForOutput("client[0] : 127.0.0.1\n"));
    ASSERT_TRUE(game.Send(">I-"));
    EXPECT_EQ(game.Receive(3), ">i0");
    EXPECT_EQ(relay.Output().find(" clients.\n"), std::string::npos);

    relay.Signal(SIGTERM);
    EXPECT_EQ(relay.WaitExit(5000), 0);
    EXPECT_TRUE(relay.WaitForOutput("shutdown...\n", 0));
    EXPECT_EQ(relay.LocalModes(), relay.InitialLocalModes());
}

}  // namespace
