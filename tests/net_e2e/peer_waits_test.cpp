// The waits on games: they count the game's own frames, so a game that is slow but goes on is
// waited for however long it takes, and give up, naming the game, how it stands and its last
// line, once it has run past the frames, ended, or written nothing for the stuck time. Stand-ins
// written by the shell play the games, each line opening with its frame number.
#include "netpeer_runner.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(PeerWaits, CountTheGamesFramesAndSayWhereAGameStoodWhenTheyGiveUp) {
    E2eWorld world;
    const struct {
        const char* what;
        const char* game;  // run in the game's folder; its output file is ../out.txt
        int frames, stuckMs;
        bool found;
        const char* said;  // in the failure
    } cases[] = {
        // Some 3 s for 30 frames: slower than any clock limit of its frames would allow.
        {"slow, going on", "for f in $(seq 1 30); do echo \"$f beat\" >> ../out.txt; sleep 0.1; done; echo '31 mark go' >> ../out.txt; sleep 30",
         40, 2000, true, ""},
        {"past its frames", "echo '1 beat' >> ../out.txt; sleep 1; for f in $(seq 2 60); do echo \"$f beat\" >> ../out.txt; done; sleep 30",
         40, 20000, false,
         "GAME still running, last line \"60 beat\""},
        {"ended", "echo '5 beat' >> ../out.txt; exit 3", 40, 20000, false, "GAME ended with exit code 3, last line \"5 beat\""},
        {"silent while running", "echo '5 beat' >> ../out.txt; sleep 30", 40, 1000, false, "wrote no line for 1 s"},
        {"never started its output", "sleep 30", 40, 1000, false, "GAME still running, no line yet"},
    };
    for (const auto& c : cases) {
        E2eProcess game("GAME");
        ASSERT_TRUE(game.Start("/bin/sh", {"-c", c.game}, world)) << c.what;
        const testing::AssertionResult waited = WaitForLineWithinFrames(game, " mark go", c.frames, c.stuckMs);
        EXPECT_EQ((bool)waited, c.found) << c.what << ": " << waited.message();
        EXPECT_NE(std::string(waited.message()).find(c.said), std::string::npos) << c.what << ": " << waited.message();
    }
}

}  // namespace
