// A game that dies in the middle of a match (paced, as players play): the relay notes the lost connection, the others'
// simulation stops in step and waits (there is no time-out), F4 still ends every remaining battle
// with result 99, and back in the lobby the relay's list shows the slot empty.
#include "match_scripts.h"

#include <gtest/gtest.h>

#include <unistd.h>

namespace {

constexpr int kJoinMs = 60000;
constexpr int kKillStep = 300;

// The last simulation step and the last heartbeat's frame an output holds (0 for none).
struct SProgress {
    int step = 0;
    int frame = 0;
};

SProgress Progress(const E2eProcess& peer) {
    SProgress p;
    for (const std::string& line : PeerOutput(peer)) {
        if (line.rfind("step ", 0) == 0) p.step = atoi(line.c_str() + 5);
        else if (line.find(" beat ") != std::string::npos) p.frame = LineFrame(line);
    }
    return p;
}

// After the kill: every survivor marks the moment the test says so, one of them presses F4, and
// both come back to the main menu, then wait for the list to show the dead slot empty.
const std::string kF4Said = "until file ../f4\nmark f4\n";
const std::string kPressF4 = "down F4\nwait 4\nup F4\n";
const std::string kBackInLobby = U8(u8"until over 1\nuntil state メインメニュー\nmark back\n");
const std::string kListed = U8(u8R"(
until conn %SLOT% 未接続
mark listed
until file ../leave
quit
)");

struct SKillCase {
    const char* name;
    int victim;   // 0 HOST, 1 ONE, 2 TWO
    int presser;  // who presses F4 once the others have stopped
};

void PrintTo(const SKillCase& c, std::ostream* os) { *os << c.name; }

class KilledPeer : public ::testing::TestWithParam<SKillCase> {};

TEST_P(KilledPeer, SurvivorsStopInStepAndF4EndsTheirBattles) {
    const SKillCase c = GetParam();
    E2eWorld world;
    ASSERT_TRUE(world.Start());
    E2eProcess host("HOST"), one("ONE"), two("TWO");
    E2eProcess* peers[] = {&host, &one, &two};
    const std::string listed = Fill(kListed, "SLOT", std::to_string(c.victim));
    auto after = [&](int i) { return kF4Said + (i == c.presser ? kPressF4 : "") + kBackInLobby + listed; };
    // Paced: without the clock, frames that wait run free, and 9,000 of them fill the key
    // buffers of the games still sending, which ends the match with "Err KeyBuff-over".
    const SPeerOptions paced{true, false, 30000};

    const std::string hostScript = JoinScript(kConnectAsHost, 3) + U8(u8"until chat ONE:ready\nuntil chat TWO:ready\n") +
                                   SayScript("go") + SetNumberScript(2) + kHostStart + after(0);
    ASSERT_TRUE(StartNetPeer(host, world, hostScript, paced));
    ASSERT_TRUE(host.WaitForLine("out.txt", " id 0", kJoinMs)) << PeerReport(host) << world.Relay().Output();
    ASSERT_TRUE(StartNetPeer(one, world, JoinScript(kConnectByAddress, 3) + SayScript("ready") + ClientStartScript(4) + after(1),
                             paced));
    ASSERT_TRUE(one.WaitForLine("out.txt", " id 1", kJoinMs)) << PeerReport(one);
    ASSERT_TRUE(StartNetPeer(two, world,
                             JoinScript(kConnectByAddress, 3) + kTakeTeamB + SayScript("ready") + ClientStartScript(4) + after(2),
                             paced));

    E2eProcess& victim = *peers[c.victim];
    ASSERT_TRUE(victim.WaitForLine("out.txt", "step " + std::to_string(kKillStep) + " ", 120000))
        << PeerReport(host) << PeerReport(one) << PeerReport(two);
    victim.Kill();
    const std::string slot = std::to_string(c.victim);
    // A killed game's socket closes, or resets when relayed bytes were still unread in it.
    EXPECT_TRUE(WaitUntil(
        [&] {
            return world.Relay().CountInOutput(slot + "(127.0.0.1) > disconnect\n") +
                       world.Relay().CountInOutput(") : " + slot + " > recv\n") > 0;
        },
        10000))
        << world.Relay().Output();

    std::vector<E2eProcess*> survivors;
    for (E2eProcess* p : peers)
        if (p != &victim) survivors.push_back(p);
    // Stopped: no new step on either survivor for a second, then none for four more while
    // their frames go on (a heartbeat comes every 100 frames).
    SProgress before[2];
    ASSERT_TRUE(WaitUntil(
        [&] {
            SProgress now[2] = {Progress(*survivors[0]), Progress(*survivors[1])};
            usleep(1000 * 1000);
            for (int i = 0; i < 2; ++i) {
                before[i] = Progress(*survivors[i]);
                if (before[i].step != now[i].step) return false;
            }
            return true;
        },
        30000, 10))
        << PeerReport(*survivors[0]) << PeerReport(*survivors[1]);
    EXPECT_LE(std::abs(before[0].step - before[1].step), 3) << before[0].step << " / " << before[1].step;
    EXPECT_GE(std::min(before[0].step, before[1].step), kKillStep - 3);
    usleep(4000 * 1000);
    for (int i = 0; i < 2; ++i) {
        const SProgress later = Progress(*survivors[i]);
        EXPECT_EQ(later.step, before[i].step) << survivors[i]->Name();
        EXPECT_GT(later.frame, before[i].frame) << survivors[i]->Name() << ": frames stood still";
        EXPECT_TRUE(survivors[i]->Running()) << PeerReport(*survivors[i]);
    }

    for (E2eProcess* p : survivors) p->WriteFile("f4", "");
    for (E2eProcess* p : survivors)
        EXPECT_TRUE(p->WaitForLine("out.txt", " mark listed", 30000)) << PeerReport(*p) << world.Relay().Output();
    for (E2eProcess* p : survivors) {
        const std::vector<std::string> out = PeerOutput(*p);
        const int f4 = FindLine(out, " mark f4"), result = FindLine(out, " result 99 ", f4);
        const int back = FindLine(out, " mark back", result), listedAt = FindLine(out, " mark listed", back);
        ASSERT_GT(f4, 0) << PeerReport(*p);
        ASSERT_GT(result, f4) << PeerReport(*p);
        ASSERT_GT(listedAt, back) << PeerReport(*p);
        // With the host alive its tick closes the end request at once; without it the request
        // waits for the next status report (every 15 frames), so only then is it bounded so.
        if (p == peers[c.presser] && c.victim != 0) {
            EXPECT_LE(LineFrame(out[result]) - LineFrame(out[f4]), 40) << PeerReport(*p);
        }
        EXPECT_LE(LineFrame(out[listedAt]) - LineFrame(out[back]), 30) << PeerReport(*p);
        p->WriteFile("leave", "");
    }
    for (E2eProcess* p : survivors) EXPECT_EQ(p->WaitExit(20000), 0) << PeerReport(*p);
}

INSTANTIATE_TEST_SUITE_P(E2e, KilledPeer,
                         ::testing::Values(SKillCase{"ClientKilled", 2, 0}, SKillCase{"HostKilled", 0, 1}),
                         [](const ::testing::TestParamInfo<SKillCase>& info) { return std::string(info.param.name); });

}  // namespace
