// The real program, started headless: it logs its start-up, runs frames, and ends cleanly
// on SIGTERM; a second copy of the same user ends at once, saying so and with a failure status.
#include "test_folder.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <thread>

extern char** environ;

namespace {

// errors: a file for the program's standard error, or "" to keep the test's.
pid_t Spawn(const std::string& program, const char* option, const std::string& errors = "") {
    pid_t pid = -1;
    char* argv[] = {const_cast<char*>(program.c_str()), const_cast<char*>(option), nullptr};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (!errors.empty())
        posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, errors.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    int rc = posix_spawn(&pid, program.c_str(), &actions, nullptr, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    return rc == 0 ? pid : -1;
}

// The limits here are backstops for a process that makes no progress at all: a busy machine only
// makes the wait longer, and it ends as soon as the process has done what is awaited.
constexpr int kProcessStuckMs = 120000;

int WaitExit(pid_t pid, int timeoutMs) {
    for (int waited = 0; waited < timeoutMs; waited += 20) {
        int status = 0;
        if (waitpid(pid, &status, WNOHANG) == pid) return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
    return -1;
}

}  // namespace

TEST(ZaumoltaProcess, LogsStartupRunsAndEndsOnSigterm) {
    CTestFolder folder;
    // A private copy of the program, so "debug.txt" beside it is this test's alone.
    std::string program = folder.File("zaumolta");
    std::filesystem::copy_file(ZAUMOLTA_PATH, program);
    // A lock namespace of its own, so suites running side by side never meet.
    setenv("ZAUMOLTA_LOCK_NS", ("process-test-" + std::to_string(getpid())).c_str(), 1);
    pid_t first = Spawn(program, "-dbf");
    ASSERT_GT(first, 0);
    // Wait for the end of start-up (the last device's line), not a fixed time: a loaded
    // machine or a sanitizer build starts slowly.
    for (int waited = 0; waited < kProcessStuckMs; waited += 50) {
        if (ReadWholeFile(folder.File("debug.txt")).find("InitDirectMusic\n") != std::string::npos) break;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(300));  // a few frames run

    pid_t second = Spawn(program, "-dbf", folder.File("second.err"));
    ASSERT_GT(second, 0);
    EXPECT_EQ(WaitExit(second, kProcessStuckMs), 1);  // refused: ends by itself, and not as a success
    EXPECT_NE(ReadWholeFile(folder.File("second.err")).find("多重起動を禁止します.\n"), std::string::npos);

    kill(first, SIGTERM);
    EXPECT_EQ(WaitExit(first, kProcessStuckMs), 0);
    std::string log = ReadWholeFile(folder.File("debug.txt"));
    EXPECT_NE(log.find("InitDebugStream\n"), std::string::npos) << log;
    EXPECT_NE(log.find("InitDirect3D\n"), std::string::npos);
    EXPECT_NE(log.find("FreeDirect3D\n"), std::string::npos);
    // The refused copy never reached its log file: one start-up block only.
    EXPECT_EQ(log.find("InitDebugStream\n"), log.rfind("InitDebugStream\n"));
}
