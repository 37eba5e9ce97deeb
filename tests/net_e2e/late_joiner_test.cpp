// A player who joins while two games fight: the relay brings its greeting into the match, which
// ends it for both with the forced end; the newcomer never fights, and once the two are back in
// the lobby all three tables show the three players connected.
#include "match_scripts.h"

#include <gtest/gtest.h>

namespace {

// Everybody, once back in the lobby: the tables recorded, then leave when the test says so.
const std::string kLate = U8(u8R"(
wait 30
record
mark done
until file ../leave
quit
)");

// The two who fight: start, fight until the match is over, come back and wait for the third.
const std::string kFighter =
    kHostStart + U8(u8"until over 1\nuntil state メインメニュー\nuntil players 3 メインメニュー\n") + kLate;

TEST(NetPlay, LateJoinerEndsTheMatchAndNeverFights) {
    E2eWorld world;
    ASSERT_TRUE(world.Start());
    E2eProcess host("HOST"), one("ONE"), late("LATE");
    // The host's partner goes to team B, so two fighters make two even teams, and says so.
    ASSERT_TRUE(StartNetPeer(host, world, JoinScript(kConnectAsHost, 2) + U8(u8"until chat ONE:ready\n") + kFighter));
    ASSERT_TRUE(WaitForLineWithinFrames(host, " id 0", kJoinFrames)) << PeerReport(host) << world.Relay().Output();
    ASSERT_TRUE(StartNetPeer(one, world, JoinScript(kConnectByAddress, 2) + kTakeTeamB + SayScript("ready") + kFighter));

    // The newcomer comes in at step 200 of the host's match.
    ASSERT_TRUE(WaitForLineWithinFrames(host, "step 200 ", kPartFrames)) << PeerReport(host) << PeerReport(one);
    ASSERT_TRUE(StartNetPeer(late, world, JoinScript(kConnectByAddress, 3) + kLate));

    E2eProcess* peers[] = {&host, &one, &late};
    EXPECT_TRUE(WaitForLinesWithinFrames({&host, &one, &late}, " mark done", kPartFrames));
    host.WriteFile("leave", "");  // the games' folders are "game" below each of these
    one.WriteFile("leave", "");
    late.WriteFile("leave", "");
    for (E2eProcess* p : peers) EXPECT_EQ(WaitForPeerExit(*p), 0) << PeerReport(*p);

    for (E2eProcess* p : {&host, &one}) {
        const std::vector<std::string> out = PeerOutput(*p);
        const int greeting = FindLine(out, " chat LATE:hi from LATE");
        const int result = FindLine(out, " result 99 ");
        ASSERT_GE(result, 0) << PeerReport(*p);
        EXPECT_GE(FindLine(out, U8(u8" chat 強制終了")), 0) << PeerReport(*p);
        if (greeting >= 0 && greeting < result) {
            EXPECT_LE(LineFrame(out[result]) - LineFrame(out[greeting]), 40) << PeerReport(*p);
        }
    }
    EXPECT_LT(FindLine(PeerOutput(late), U8(u8" state 戦闘中")), 0) << PeerReport(late);
    for (E2eProcess* p : peers) {
        const std::vector<std::string> out = PeerOutput(*p);
        const int done = FindLine(out, " mark done");
        ASSERT_GT(done, 0) << PeerReport(*p);
        for (int slot = 0; slot < 3; ++slot) {
            const std::vector<std::string> rows = LinesWith(std::vector<std::string>(out.begin(), out.begin() + done),
                                                            " slot " + std::to_string(slot) + " ");
            ASSERT_FALSE(rows.empty()) << p->Name();
            EXPECT_NE(rows.back().find(U8(u8"conn=接続 ")), std::string::npos) << p->Name() << ": " << rows.back();
        }
    }
}

}  // namespace
