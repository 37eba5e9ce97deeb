// The driver itself: what a started game sees of its environment and folder, waits that end by
// their deadline or as soon as the process is gone, the kill, and raw clients that keep reading
// while the relay's console is read beside them.
#include "e2e_driver.h"

#include <gtest/gtest.h>

#include <limits.h>
#include <stdlib.h>
#include <unistd.h>

#include <string>

namespace {

const char* const kShell = "/bin/sh";

// A stand-in game: a shell line run in the game folder.
bool StartShell(E2eProcess& p, const E2eWorld& world, const std::string& line) {
    return p.Start(kShell, {"-c", line}, world);
}

TEST(E2eDriver, GameRunsHeadlessInItsOwnFolderWithTheRelayLinkedIn) {
    setenv("DISPLAY", ":99", 1);
    setenv("WAYLAND_DISPLAY", "wayland-9", 1);
    setenv("SDL_VIDEODRIVER", "x11", 1);
    setenv("ZAUMOLTA_LOCK_NS", "someone-else", 1);
    E2eWorld world;
    ASSERT_TRUE(world.Start());
    E2eProcess game("ONE");
    ASSERT_TRUE(StartShell(game, world, "env > ../env.txt; pwd -P > ../pwd.txt; readlink Vashtelo > ../link.txt"));
    ASSERT_EQ(game.WaitExit(10000), 0) << game.ReadFile("stderr.txt");

    const std::vector<std::string> env = game.Lines("env.txt");
    const struct {
        std::string entry;
        bool present;
    } cases[] = {
        {"DISPLAY=", false},
        {"WAYLAND_DISPLAY=", false},
        {"ZAUMOLTA_LOCK_NS=someone-else", false},
        {"ZAUMOLTA_LOCK_NS=" + world.LockNamespace(), true},
        {"SDL_VIDEODRIVER=offscreen", true},
        {"SDL_VIDEODRIVER=x11", false},
        {"SDL_AUDIODRIVER=dummy", true},
    };
    for (const auto& c : cases) {
        bool found = false;
        for (const std::string& line : env) found = found || line.rfind(c.entry, 0) == 0;
        EXPECT_EQ(found, c.present) << c.entry;
    }
    char real[PATH_MAX];
    ASSERT_NE(realpath(game.GameDir().c_str(), real), nullptr);
    EXPECT_EQ(game.Lines("pwd.txt"), std::vector<std::string>{real});
    EXPECT_EQ(game.Lines("link.txt"), std::vector<std::string>{VashteloPath()});
    unsetenv("DISPLAY");
    unsetenv("WAYLAND_DISPLAY");
    unsetenv("SDL_VIDEODRIVER");
    unsetenv("ZAUMOLTA_LOCK_NS");
}

TEST(E2eDriver, WaitsEndByDeadlineOrWhenTheGameIsGoneAndKillIsFinal) {
    E2eWorld world;
    ASSERT_TRUE(world.Start());
    const struct {
        const char* what;
        const char* line;
        int waitMs;
        bool found;
        int maxMs;      // the wait's bound: a wait must never run on past it
        bool kill;
        int exitCode;
    } cases[] = {
        {"written, then running on", "echo 'ready 7' > ../out.txt; exec sleep 30", 10000, true, 5000, true, 128 + 9},
        {"never written, ended", "exit 3", 10000, false, 5000, false, 3},
        {"never written, running", "exec sleep 30", 300, false, 3000, true, 128 + 9},
        {"written last, then ended", "sleep 0.2; echo 'ready 7' > ../out.txt", 10000, true, 5000, false, 0},
    };
    for (const auto& c : cases) {
        E2eProcess game(c.what);
        ASSERT_TRUE(StartShell(game, world, c.line)) << c.what;
        const long long start = MonotonicMs();
        EXPECT_EQ(game.WaitForLine("out.txt", "ready 7", c.waitMs), c.found) << c.what;
        EXPECT_LT(MonotonicMs() - start, c.maxMs) << c.what;
        if (c.kill) {
            EXPECT_TRUE(game.Running()) << c.what;
            game.Kill();
        }
        EXPECT_EQ(game.WaitExit(5000), c.exitCode) << c.what;
        EXPECT_FALSE(game.Running()) << c.what;
    }
}

constexpr int kEventWaitMs = 60000;

TEST(E2eDriver, ReadingClientsHoldTheirSlotsWhileTheConsoleIsRead) {
    E2eWorld world;
    ASSERT_TRUE(world.Start());
    std::vector<std::unique_ptr<E2eReadingClient>> clients;
    for (int i = 0; i < 6; ++i) {
        clients.push_back(std::make_unique<E2eReadingClient>(world.Port()));
        ASSERT_TRUE(clients.back()->Connected());
    }
    // A connection is taken by the relay a moment after it is made: send until all have it. The
    // bounds only end a wait for what never comes; a busy machine can hold the relay's threads
    // back for seconds.
    auto allHeard = [&] {
        for (int i = 1; i < 6; ++i)
            if (clients[i]->Received().find("hello from the first") == std::string::npos) return false;
        return true;
    };
    EXPECT_TRUE(WaitUntil([&] { return clients[0]->Send(">m0 ---------- hello from the first") && allHeard(); }, kEventWaitMs, 100));

    E2eReadingClient seventh(world.Port());
    EXPECT_TRUE(world.Relay().WaitForOutput("error : max client", 1, kEventWaitMs));
    EXPECT_TRUE(WaitUntil([&] { return seventh.Closed(); }, kEventWaitMs));

    clients[2]->Close();
    EXPECT_TRUE(world.Relay().WaitForOutput("(127.0.0.1) > disconnect", 1, kEventWaitMs));
    for (int i : {0, 1, 3, 4, 5}) EXPECT_FALSE(clients[i]->Closed()) << "client " << i;

    // The chat page the games are pointed at is up and keeps what is posted to it.
    EXPECT_EQ(world.ChatUrl().rfind("http://127.0.0.1:", 0), 0u);
    EXPECT_TRUE(world.ChatPage().Posts().empty());
}

}  // namespace
