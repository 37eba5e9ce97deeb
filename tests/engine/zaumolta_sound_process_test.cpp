// The real program on a machine without a sound card: it starts, logs the sound and music
// start-up and shut-down, and ends normally.
#include "test_folder.h"

#include <gtest/gtest.h>

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

extern char** environ;

TEST(ZaumoltaSound, RunsWithoutASoundCard) {
    CTestFolder folder;
    std::string program = folder.File("zaumolta");
    std::filesystem::copy_file(ZAUMOLTA_PATH, program);

    // An audio driver that does not exist stands for a machine with no sound card.
    // A lock namespace of its own, so suites running side by side never meet.
    std::vector<std::string> env;
    for (char** e = environ; *e; ++e)
        if (strncmp(*e, "SDL_AUDIODRIVER=", 16) != 0 && strncmp(*e, "ZAUMOLTA_LOCK_NS=", 17) != 0) env.emplace_back(*e);
    env.emplace_back("SDL_AUDIODRIVER=no-such-driver");
    env.emplace_back("ZAUMOLTA_LOCK_NS=sound-process-test-" + std::to_string(getpid()));
    std::vector<char*> envp;
    for (std::string& e : env) envp.push_back(e.data());
    envp.push_back(nullptr);
    char* argv[] = {program.data(), const_cast<char*>("-dbf"), nullptr};
    pid_t pid = -1;
    ASSERT_EQ(posix_spawn(&pid, program.c_str(), nullptr, nullptr, argv, envp.data()), 0);

    // Backstops for a process that makes no progress at all: a busy machine starts it slowly.
    constexpr int kProcessStuckMs = 120000;
    std::string log;
    for (int waited = 0; waited < kProcessStuckMs && log.find("InitDirectMusic\n") == std::string::npos; waited += 50) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        log = ReadWholeFile(folder.File("debug.txt"));
    }
    kill(pid, SIGTERM);
    int status = 0, reaped = 0;
    for (int waited = 0; waited < kProcessStuckMs && !(reaped = waitpid(pid, &status, WNOHANG) == pid); waited += 20)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    if (!reaped) {
        kill(pid, SIGKILL);
        waitpid(pid, nullptr, 0);
    }
    ASSERT_TRUE(reaped && WIFEXITED(status)) << "did not end by itself";
    EXPECT_EQ(WEXITSTATUS(status), 0);

    log = ReadWholeFile(folder.File("debug.txt"));
    const char* lines[] = {"InitDirectSound\n", "InitDirectMusic\n", "FreeDirectMusic\n", "FreeDirectSound\n"};
    size_t at = 0;
    for (const char* line : lines) {
        at = log.find(std::string("----------------------------------------\n") + line, at);
        EXPECT_NE(at, std::string::npos) << line << log;
    }
}
