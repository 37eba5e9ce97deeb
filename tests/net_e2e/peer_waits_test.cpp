// The waits on games: they count the game's own frames, so a game that is slow but goes on is
// waited for however long it takes, and give up, saying why, naming the game, how it stands and
// its last line, once it has run past the frames, ended, or its frames have stood still for the
// stuck time, whatever lines without a frame it goes on writing. Stand-ins written by the shell
// play the games in their folders (the output file is ../out.txt), each line but the per-step ones
// opening with its frame number.
#include "netpeer_runner.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(PeerWaits, CountTheGamesFramesAndSayWhyAndWhereAGameStoodWhenTheyGiveUp) {
    E2eWorld world;
    // Each cause that ends a wait is the only one that can end it first: every other one would
    // end it later with another message (a stand-in that goes on is killed with the case).
    const struct {
        const char* what;
        const char* game;
        int frames, stuckMs;
        const char* said;  // the whole message, or its start up to a last line that varies
    } lines[] = {
        // Some 3 s for 30 frames: slower than any clock limit of its frames would allow.
        {"slow, going on", "for f in $(seq 1 30); do echo \"$f beat\" >> ../out.txt; sleep 0.1; done; echo '31 mark go' >> ../out.txt; exec sleep 60",
         40, 2000, ""},
        {"past its frames", "echo '1 beat' >> ../out.txt; sleep 1; for f in $(seq 2 60); do echo \"$f beat\" >> ../out.txt; done; exec sleep 60",
         40, 20000, "\" mark go\" awaited: not within 40 frames; GAME still running, last line \"60 beat\""},
        {"ended", "echo '5 beat' >> ../out.txt; exit 3", 40, 20000,
         "\" mark go\" awaited: GAME ended with exit code 3, last line \"5 beat\""},
        {"silent while running", "echo '5 beat' >> ../out.txt; exec sleep 60", 40, 1000,
         "\" mark go\" awaited: GAME stood at frame 5 for 1 s; GAME still running, last line \"5 beat\""},
        {"never started its output", "exec sleep 60", 40, 1000,
         "\" mark go\" awaited: GAME showed no frame for 1 s; GAME still running, no line yet"},
        // A battle stuck stepping within one frame: ten hash lines a second, for longer than the
        // case's stuck time and then some.
        {"stuck in a frame, stepping", "echo '5 beat' >> ../out.txt; for s in $(seq 1 600); do echo \"step $s 00ff\" >> ../out.txt; sleep 0.1; done",
         40, 3000, "\" mark go\" awaited: GAME stood at frame 5 for 3 s; GAME still running, last line \"step "},
    };
    for (const auto& c : lines) {
        E2eProcess game("GAME");
        ASSERT_TRUE(game.Start("/bin/sh", {"-c", c.game}, world)) << c.what;
        const testing::AssertionResult waited = WaitForLineWithinFrames(game, " mark go", c.frames, c.stuckMs);
        EXPECT_EQ((bool)waited, !*c.said) << c.what << ": " << waited.message();
        EXPECT_TRUE(std::string(waited.message()).rfind(c.said, 0) == 0)
            << c.what << "\n  said: " << waited.message() << "\n  not:  " << c.said;
    }

    // The wait for a game's end: its exit code, or -1 once it gave up, the game having run past
    // the frames or its frames having stood still.
    const struct {
        const char* what;
        const char* game;
        int frames, stuckMs, exit;
    } ends[] = {
        {"ends", "echo '5 beat' >> ../out.txt; sleep 1; echo '6 end' >> ../out.txt; exit 3", 40, 30000, 3},
        // Beats on, twenty frames a second, for long past the case's frames.
        {"never ends", "for f in $(seq 1 1200); do echo \"$f beat\" >> ../out.txt; sleep 0.05; done", 40, 30000, -1},
        {"stands still", "echo '5 beat' >> ../out.txt; exec sleep 60", 40, 1000, -1},
    };
    for (const auto& c : ends) {
        E2eProcess game("GAME");
        ASSERT_TRUE(game.Start("/bin/sh", {"-c", c.game}, world)) << c.what;
        EXPECT_EQ(WaitForPeerExit(game, c.frames, c.stuckMs), c.exit) << c.what << ": " << PeerWhere(game);
    }
}

}  // namespace
