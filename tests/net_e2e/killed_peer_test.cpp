// A game that dies in the middle of a match (paced, as players play): the relay notes the lost
// connection, the others' simulation stops in step while their frames go on, and after fifteen
// seconds without a step they send the end request themselves, nobody pressing F4: every
// remaining battle ends with result 99, and back in the lobby the relay's list shows the slot empty
// and a surviving host's count on the chat page drops.
#include "match_scripts.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>

namespace {

constexpr int kJoinMs = 60000;
constexpr int kKillStep = 300;
constexpr long long kStallEndMs = 15000;  // the games' own limit
// The end can come no sooner than the limit after the survivors' last step, which a victim slow
// to send before its death may bring a little forward; a busy machine only makes it later.
constexpr long long kEarliestEndMs = kStallEndMs - 3000;
constexpr int kEndWaitMs = 6 * kStallEndMs;

// After the match the survivors come back to the main menu by themselves, then wait for the
// list to show the dead slot empty.
const std::string kBackInLobby = U8(u8"until over 1\nuntil state メインメニュー\nmark back\n");
const std::string kListed = U8(u8R"(
until conn %SLOT% 未接続
mark listed
until file ../leave
quit
)");

// The step a result line gives ("FRAME result R phase=P steps=N").
int ResultSteps(const std::string& line) {
    const size_t at = line.find("steps=");
    return at == std::string::npos ? -1 : atoi(line.c_str() + at + 6);
}

struct SKillCase {
    const char* name;
    int victim;  // 0 HOST, 1 ONE, 2 TWO
};

void PrintTo(const SKillCase& c, std::ostream* os) { *os << c.name; }

class KilledPeer : public ::testing::TestWithParam<SKillCase> {};

TEST_P(KilledPeer, SurvivorsStopInStepAndEndTheirBattlesAfterFifteenSeconds) {
    const SKillCase c = GetParam();
    E2eWorld world;
    ASSERT_TRUE(world.Start());
    E2eProcess host("HOST"), one("ONE"), two("TWO");
    E2eProcess* peers[] = {&host, &one, &two};
    const std::string after = kBackInLobby + Fill(kListed, "SLOT", std::to_string(c.victim));
    // Paced: without the clock, frames that wait run free, and 9,000 of them fill the key
    // buffers of the games still sending, which ends the match with "Err KeyBuff-over".
    const SPeerOptions paced{true, false, 30000};

    const std::string hostScript = JoinScript(kConnectAsHost, 3) + U8(u8"until chat ONE:ready\nuntil chat TWO:ready\n") +
                                   SayScript("go") + SetNumberScript(2) + kHostStart + after;
    ASSERT_TRUE(StartNetPeer(host, world, hostScript, paced));
    ASSERT_TRUE(host.WaitForLine("out.txt", " id 0", kJoinMs)) << PeerReport(host) << world.Relay().Output();
    ASSERT_TRUE(StartNetPeer(one, world, JoinScript(kConnectByAddress, 3) + SayScript("ready") + ClientStartScript(4) + after,
                             paced));
    ASSERT_TRUE(one.WaitForLine("out.txt", " id 1", kJoinMs)) << PeerReport(one);
    ASSERT_TRUE(StartNetPeer(two, world,
                             JoinScript(kConnectByAddress, 3) + kTakeTeamB + SayScript("ready") + ClientStartScript(4) + after,
                             paced));

    E2eProcess& victim = *peers[c.victim];
    ASSERT_TRUE(victim.WaitForLine("out.txt", "step " + std::to_string(kKillStep) + " ", 120000))
        << PeerReport(host) << PeerReport(one) << PeerReport(two);
    victim.Kill();
    const auto killed = std::chrono::steady_clock::now();
    const std::string slot = std::to_string(c.victim);
    // A killed game's socket closes, or resets when relayed bytes were still unread in it.
    EXPECT_TRUE(WaitUntil(
        [&] {
            return world.Relay().CountInOutput(slot + "(127.0.0.1) > disconnect\n") +
                       world.Relay().CountInOutput(") : " + slot + " > recv\n") > 0;
        },
        kJoinMs))
        << world.Relay().Output();

    std::vector<E2eProcess*> survivors;
    for (E2eProcess* p : peers)
        if (p != &victim) survivors.push_back(p);
    // Each survivor's battle ends by itself; when, counted from the kill.
    long long endedMs[2] = {-1, -1};
    WaitUntil(
        [&] {
            for (int i = 0; i < 2; ++i)
                if (endedMs[i] < 0 && FindLine(PeerOutput(*survivors[i]), " result ") >= 0)
                    endedMs[i] = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - killed)
                                     .count();
            return endedMs[0] >= 0 && endedMs[1] >= 0;
        },
        kEndWaitMs);
    for (int i = 0; i < 2; ++i) {
        ASSERT_GE(endedMs[i], 0) << PeerReport(*survivors[i]);
        EXPECT_GE(endedMs[i], kEarliestEndMs) << PeerReport(*survivors[i]);
        printf("%s: battle over %.1f s after the kill\n", survivors[i]->Name().c_str(), endedMs[i] / 1000.0);
    }

    int steps[2];
    for (int i = 0; i < 2; ++i) {
        E2eProcess& p = *survivors[i];
        const std::vector<std::string> out = PeerOutput(p);
        const int fighting = FindLine(out, " mark fighting"), result = FindLine(out, " result ", fighting);
        ASSERT_GT(result, fighting) << PeerReport(p);
        EXPECT_NE(out[result].find(" result 99 "), std::string::npos) << out[result];
        steps[i] = ResultSteps(out[result]);
        // Stopped in step: frames went on in the fight with the last step standing.
        bool stood = false;
        for (int k = fighting; k < result; ++k)
            stood = stood || out[k].find(" beat step=" + std::to_string(steps[i]) + " phase=2") != std::string::npos;
        EXPECT_TRUE(stood) << PeerReport(p);
        // The end request of a game that waited, as F4 would have sent it, then the forced end.
        const int request = FindLine(out, U8(u8":ｺﾏﾝﾄﾞ:終了申請"), fighting);
        EXPECT_GT(request, fighting) << PeerReport(p);
        EXPECT_GT(FindLine(out, U8(u8" chat 強制終了"), request), request) << PeerReport(p);
    }
    EXPECT_LE(std::abs(steps[0] - steps[1]), 3) << steps[0] << " / " << steps[1];
    EXPECT_GE(std::min(steps[0], steps[1]), kKillStep - 3);
    EXPECT_NE((survivors[0]->ReadFile("game/peer.log") + survivors[1]->ReadFile("game/peer.log")).find("battle: no step for 15 s"),
              std::string::npos);

    for (E2eProcess* p : survivors)
        EXPECT_TRUE(p->WaitForLine("out.txt", " mark listed", kJoinMs)) << PeerReport(*p) << world.Relay().Output();
    // The killed game sent no leaving notice: a surviving host's chat-page count still drops.
    if (c.victim != 0) {
        EXPECT_TRUE(WaitUntil(
            [&] {
                const std::vector<std::string> posts = world.ChatPage().Posts();
                return !posts.empty() && posts.back().rfind("2:HOST[", 0) == 0;
            },
            kJoinMs))
            << world.ChatPage().Page();
    }
    for (E2eProcess* p : survivors) {
        const std::vector<std::string> out = PeerOutput(*p);
        const int back = FindLine(out, " mark back"), listedAt = FindLine(out, " mark listed", back);
        ASSERT_GT(listedAt, back) << PeerReport(*p);
        EXPECT_LE(LineFrame(out[listedAt]) - LineFrame(out[back]), 30) << PeerReport(*p);
        p->WriteFile("leave", "");
    }
    for (E2eProcess* p : survivors) EXPECT_EQ(p->WaitExit(20000), 0) << PeerReport(*p);
}

INSTANTIATE_TEST_SUITE_P(E2e, KilledPeer, ::testing::Values(SKillCase{"ClientKilled", 2}, SKillCase{"HostKilled", 0}),
                         [](const ::testing::TestParamInfo<SKillCase>& info) { return std::string(info.param.name); });

}  // namespace
