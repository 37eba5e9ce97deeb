// A chat line edited with the cursor keys in the fight, on a game catching up with the host: TWO
// is stopped for a few seconds, and once it runs again it sends and polls two key frames a frame
// until it has caught up. Meanwhile it types "c1 midXdle", moves three to the left, takes the X
// out with Backspace, and within one frame commits 本日 from its input method, moves one to the
// left, takes 本 out and sends: the others read the line as edited. Three paced games on a real
// relay; TWO draws its battle, as the chat line is run where it is drawn.
#include "match_scripts.h"

#include <gtest/gtest.h>

#include <signal.h>

#include <chrono>
#include <thread>

namespace {

constexpr int kStopStep = 150;
constexpr int kStopMs = 3000;      // some 180 key frames to catch up: far more than the typing takes
constexpr int kBehindToType = 60;  // TWO starts typing only this far behind, and ends still behind

// The host ends the match once the line has come, whatever it reads.
const std::string kHostFight = U8(u8"until chat TWO:c1\nwait 30\ndown F4\nuntil phase 99\nup F4\n");

// Every key pressed and let go a frame later, as the scene driver presses them.
const std::string kTwoFight = "until step " + std::to_string(kStopStep) + U8(u8R"(
mark stop-me
until file ../resumed
)") + "until behind " + std::to_string(kBehindToType) + U8(u8R"(
behind
key F2
wait 3
type c1 midXdle
key Left
key Left
key Left
key Backspace
compose 本日
commit 本日 Left Backspace Enter
behind
)");

int Behind(const std::string& line) { return atoi(line.c_str() + line.find(" behind ") + 8); }

TEST(ChatEdit, ALineEditedWithTheCursorKeysOnAGameCatchingUpArrivesAsEdited) {
    E2eWorld world;
    ASSERT_TRUE(world.Start());
    E2eProcess host("HOST"), one("ONE"), two("TWO");
    SPeerOptions paced, drawn;
    drawn.draw = true;
    ASSERT_NO_FATAL_FAILURE(
        StartTwoASideMatch(world, host, one, two, {kHostFight + kAfterMatch, kAfterMatch, kTwoFight + kAfterMatch}, paced, drawn));
    ASSERT_TRUE(WaitForLineWithinFrames(two, " mark stop-me", kPartFrames))
        << PeerReport(host) << PeerReport(one) << PeerReport(two) << world.Relay().Output();
    ASSERT_EQ(kill(two.Pid(), SIGSTOP), 0);
    std::this_thread::sleep_for(std::chrono::milliseconds(kStopMs));
    two.WriteFile("resumed", "");
    ASSERT_EQ(kill(two.Pid(), SIGCONT), 0);

    E2eProcess* peers[] = {&host, &one, &two};
    for (E2eProcess* p : peers)
        ASSERT_TRUE(WaitForLineWithinFrames(*p, " mark back", kPartFrames)) << PeerReport(*p) << world.Relay().Output();

    // TWO was sending two key frames a frame from before the chat line opened until after it
    // went: it catches up by one a frame, so it was never nearer than at the end.
    const std::vector<std::string> typed = PeerOutput(two);
    const int first = FindLine(typed, " behind "), last = FindLine(typed, " behind ", first + 1);
    ASSERT_GT(last, first) << PeerReport(two);
    printf("TWO was %d key frames behind the host when it opened the chat line, %d when it sent it\n",
           Behind(typed[first]), Behind(typed[last]));
    EXPECT_GT(Behind(typed[last]), 2) << PeerReport(two);

    for (E2eProcess* p : peers) {
        const std::vector<std::string> out = PeerOutput(*p);
        const int line = FindLine(out, " chat TWO:c1");
        ASSERT_GE(line, 0) << PeerReport(*p);
        printf("%s read \"%s\"\n", p->Name().c_str(), out[line].substr(out[line].find("TWO:")).c_str());
        EXPECT_EQ(out[line].substr(out[line].find(" chat ")), U8(u8" chat TWO:c1 mid日dle")) << p->Name();
    }
    for (E2eProcess* p : peers) p->WriteFile("leave", "");
    for (E2eProcess* p : peers) EXPECT_EQ(WaitForPeerExit(*p), 0) << PeerReport(*p);
}

}  // namespace
