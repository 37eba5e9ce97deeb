// A game that dies in the middle of a match (paced, as players play): the relay notes the lost
// connection, the others' simulation stops in step while their frames go on, and once the relay's
// slot list, asked for while they stand still, shows the slot empty they send the end request
// themselves, nobody pressing F4: every remaining battle ends with result 99, and back in the
// lobby the relay's list shows the slot empty and a surviving host's count on the chat page drops.
// A game that is only paused, in the free camera or stopped, ends nothing: the others wait for
// it, and F4 still ends the match.
#include "match_scripts.h"

#include <gtest/gtest.h>

#include <signal.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <thread>

namespace {

constexpr int kRelayMs = 60000;  // the relay, which runs no frames of its own
constexpr int kKillStep = 300;
// The survivors ask the relay after 2 s standing still, which a victim that sent a little ahead
// before its death may bring forward; a busy machine only makes it later, but well within 20 s.
constexpr long long kEarliestEndMs = 1000;
constexpr long long kLatestEndMs = 20000;

// After the match the survivors come back to the main menu by themselves, then wait for the
// list to show the dead slot empty.
const std::string kBackInLobby = U8(u8"until over 1\nuntil state メインメニュー\nmark back\n");
const std::string kListed = U8(u8R"(
until conn %SLOT% 未接続
mark listed
until file ../leave
quit
)");

struct SKillCase {
    const char* name;
    int victim;  // 0 HOST, 1 ONE, 2 TWO
};

void PrintTo(const SKillCase& c, std::ostream* os) { *os << c.name; }

class KilledPeer : public ::testing::TestWithParam<SKillCase> {};

TEST_P(KilledPeer, SurvivorsStopInStepAndEndTheirBattlesOnceTheRelayListsTheSlotEmpty) {
    const SKillCase c = GetParam();
    E2eWorld world;
    ASSERT_TRUE(world.Start());
    E2eProcess host("HOST"), one("ONE"), two("TWO");
    E2eProcess* peers[] = {&host, &one, &two};
    const std::string after = kBackInLobby + Fill(kListed, "SLOT", std::to_string(c.victim));
    // Paced: without the clock, frames that wait run free, and 9,000 of them fill the key
    // buffers of the games still sending, which ends the match with "Err KeyBuff-over".
    const SPeerOptions paced{true, false, 30000};

    ASSERT_NO_FATAL_FAILURE(StartTwoASideMatch(world, host, one, two, {after, after, after}, paced, paced));

    E2eProcess& victim = *peers[c.victim];
    ASSERT_TRUE(WaitForLineWithinFrames(victim, "step " + std::to_string(kKillStep) + " ", kPartFrames))
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
        kRelayMs))
        << world.Relay().Output();

    std::vector<E2eProcess*> survivors;
    for (E2eProcess* p : peers)
        if (p != &victim) survivors.push_back(p);
    // Each survivor's battle ends by itself; when, counted from the kill.
    long long endedMs[2] = {-1, -1};
    EXPECT_TRUE(WaitWhilePeersRun(
        survivors,
        [&] {
            for (int i = 0; i < 2; ++i)
                if (endedMs[i] < 0 && FindLine(PeerOutput(*survivors[i]), " result ") >= 0)
                    endedMs[i] = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - killed)
                                     .count();
            return endedMs[0] >= 0 && endedMs[1] >= 0;
        },
        kPartFrames, "each survivor's result"));
    for (int i = 0; i < 2; ++i) {
        ASSERT_GE(endedMs[i], 0) << PeerReport(*survivors[i]);
        EXPECT_GE(endedMs[i], kEarliestEndMs) << PeerReport(*survivors[i]);
        EXPECT_LE(endedMs[i], kLatestEndMs) << PeerReport(*survivors[i]);
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
        // Stopped in step: frames went on with the last step standing, in the fight (the game
        // asked the relay) or in the forced end. The stand-still is too short to be sure of a
        // heartbeat in it.
        bool stood = p.ReadFile("game/peer.log").find("battle: no step for 2 s, asking the relay") != std::string::npos;
        for (int k = fighting; k < result; ++k)
            for (const char* phase : {" phase=2", " phase=99"})
                stood = stood || out[k].find(" beat step=" + std::to_string(steps[i]) + phase) != std::string::npos;
        EXPECT_TRUE(stood) << PeerReport(p);
        // The end request of a game that waited, as F4 would have sent it, then the forced end.
        const int request = FindLine(out, U8(u8":ｺﾏﾝﾄﾞ:終了申請"), fighting);
        EXPECT_GT(request, fighting) << PeerReport(p);
        EXPECT_GT(FindLine(out, U8(u8" chat 強制終了"), request), request) << PeerReport(p);
    }
    EXPECT_LE(std::abs(steps[0] - steps[1]), 3) << steps[0] << " / " << steps[1];
    EXPECT_GE(std::min(steps[0], steps[1]), kKillStep - 3);
    EXPECT_NE((survivors[0]->ReadFile("game/peer.log") + survivors[1]->ReadFile("game/peer.log")).find("battle: the relay shows slot " + slot + " gone"),
              std::string::npos);

    for (E2eProcess* p : survivors)
        EXPECT_TRUE(WaitForLineWithinFrames(*p, " mark listed", kPartFrames)) << PeerReport(*p) << world.Relay().Output();
    // The killed game sent no leaving notice: a surviving host's chat-page count still drops.
    if (c.victim != 0) {
        EXPECT_TRUE(WaitWhilePeersRun(
            {&host},
            [&] {
                const std::vector<std::string> posts = world.ChatPage().Posts();
                return !posts.empty() && posts.back().rfind("2:HOST[", 0) == 0;
            },
            kPartFrames, "HOST's count of two on the chat page"))
            << world.ChatPage().Page();
    }
    for (E2eProcess* p : survivors) {
        const std::vector<std::string> out = PeerOutput(*p);
        const int back = FindLine(out, " mark back"), listedAt = FindLine(out, " mark listed", back);
        ASSERT_GT(listedAt, back) << PeerReport(*p);
        EXPECT_LE(LineFrame(out[listedAt]) - LineFrame(out[back]), 30) << PeerReport(*p);
        p->WriteFile("leave", "");
    }
    for (E2eProcess* p : survivors) EXPECT_EQ(WaitForPeerExit(*p), 0) << PeerReport(*p);
}

// The longest runs of heartbeats in the fight that show the same step: frames a game stood still.
std::vector<int> StandStills(const std::vector<std::string>& out, int from, int to) {
    std::vector<int> runs;
    int step = -1, first = -1, last = -1;
    for (int k = from; k < to && k < (int)out.size(); ++k) {
        const size_t at = out[k].find(" beat step=");
        if (at == std::string::npos || out[k].find(" phase=2") == std::string::npos) continue;
        const int s = atoi(out[k].c_str() + at + 11);
        if (s != step) {
            if (last > first) runs.push_back(last - first);
            step = s;
            first = LineFrame(out[k]);
        }
        last = LineFrame(out[k]);
    }
    if (last > first) runs.push_back(last - first);
    return runs;
}

// A game stopped for 20 s as the fight begins, then another in the free camera for 30 s: the
// others stand still far longer than a departure takes to end a match, and wait; each time the
// match goes on in step, and F4 still ends it.
TEST(PausedPeer, AStoppedGameAndTheFreeCameraEndNothingAndF4StillEndsTheMatch) {
    E2eWorld world;
    ASSERT_TRUE(world.Start());
    E2eProcess host("HOST"), one("ONE"), two("TWO");
    E2eProcess* peers[] = {&host, &one, &two};
    const std::string after = kBackInLobby + "until file ../leave\nquit\n";
    const SPeerOptions paced{true, false, 30000};
    constexpr int kCameraStep = 150, kF4Step = 450, kStopMs = 20000, kCameraFrames = 900;
    // Keys held until what they start has begun: F1 is read at the start of a frame from the
    // last poll, and a frame that polls twice (a game catching up) lets a press go by, so it is
    // pressed again until the free camera runs; F4 is held until the forced end.
    const std::string camera = "until step " + std::to_string(kCameraStep) + "\npress F1 until phase 5\n" +
                               "mark camera\nwait " + std::to_string(kCameraFrames) +
                               "\npress F1 until phase 2\nmark camera-off\n";
    const std::string f4 = "until step " + std::to_string(kF4Step) + "\nmark f4\ndown F4\nuntil phase 99\nup F4\n";

    ASSERT_NO_FATAL_FAILURE(StartTwoASideMatch(world, host, one, two, {f4 + after, after, camera + after}, paced, paced));

    // Stopped once its match is set up, before its first frame: the others wait at the start.
    ASSERT_TRUE(WaitForLineWithinFrames(one, " match robots=", kPartFrames)) << PeerReport(host) << PeerReport(one) << PeerReport(two);
    ASSERT_EQ(kill(one.Pid(), SIGSTOP), 0);
    std::this_thread::sleep_for(std::chrono::milliseconds(kStopMs));
    ASSERT_EQ(kill(one.Pid(), SIGCONT), 0);

    for (E2eProcess* p : peers)
        EXPECT_TRUE(WaitForLineWithinFrames(*p, " mark back", 3 * kCameraFrames)) << PeerReport(*p) << world.Relay().Output();
    int steps[3];
    std::vector<std::string> hashes[3];  // "step N HASH" after every step
    for (int i = 0; i < 3; ++i) {
        E2eProcess& p = *peers[i];
        const std::vector<std::string> out = PeerOutput(p);
        const int fighting = FindLine(out, " mark fighting"), result = FindLine(out, " result ", fighting);
        ASSERT_GT(result, fighting) << PeerReport(p);
        EXPECT_NE(out[result].find(" result 99 "), std::string::npos) << out[result];
        steps[i] = ResultSteps(out[result]);
        // The only end request is the host's F4, and it ended the match.
        const int request = FindLine(out, U8(u8":ｺﾏﾝﾄﾞ:終了申請"), fighting);
        ASSERT_GT(request, fighting) << PeerReport(p);
        EXPECT_NE(out[request].find(U8(u8" chat HOST:ｺﾏﾝﾄﾞ:終了申請")), std::string::npos) << PeerReport(p);
        EXPECT_GT(result, request) << PeerReport(p);
        hashes[i] = StepLines(out);
        const std::string log = p.ReadFile("game/peer.log");
        EXPECT_EQ(log.find("battle: the relay shows slot"), std::string::npos) << PeerReport(p);
        if (i == 0) {
            EXPECT_NE(log.find("asking the relay which games are connected"), std::string::npos) << PeerReport(p);
        }
        // Each pause held the others up 10 s and more, far longer than a departure takes to end
        // the match: the host both, each client the other's.
        int held = 0;
        for (int frames : StandStills(out, fighting, result)) held += frames >= 300;
        EXPECT_GE(held, i == 0 ? 2 : 1) << PeerReport(p);
    }
    // Each game ends on the step it stands at when the request reaches it. After the pauses the
    // games catch up, each sending its keys as far ahead as the host's tick, so a game the busy
    // machine holds back can stand many steps behind the others then: no number of steps bounds
    // the spread. What must hold is the lockstep: every step two games ran is the same world.
    EXPECT_GE(std::min({steps[0], steps[1], steps[2]}), kCameraStep);
    for (int i = 1; i < 3; ++i) {
        const size_t n = std::min(hashes[i].size(), hashes[0].size());
        EXPECT_GE(n, (size_t)std::min(steps[0], steps[i])) << peers[i]->Name();
        for (size_t k = 0; k < n; ++k) ASSERT_EQ(hashes[i][k], hashes[0][k]) << peers[i]->Name();
    }
    const std::vector<std::string> hostOut = PeerOutput(host);
    EXPECT_GT(FindLine(hostOut, U8(u8":ｺﾏﾝﾄﾞ:終了申請")), FindLine(hostOut, " mark f4"));

    for (E2eProcess* p : peers) p->WriteFile("leave", "");
    for (E2eProcess* p : peers) EXPECT_EQ(WaitForPeerExit(*p), 0) << PeerReport(*p);
}

INSTANTIATE_TEST_SUITE_P(E2e, KilledPeer, ::testing::Values(SKillCase{"ClientKilled", 2}, SKillCase{"HostKilled", 0}),
                         [](const ::testing::TestParamInfo<SKillCase>& info) { return std::string(info.param.name); });

}  // namespace
