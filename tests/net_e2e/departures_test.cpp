// Every departure of a fighter ends the match for the others, however it goes: a machine that
// vanishes without a word (power, Wi-Fi, sleep), and a game killed whose relay slot another
// connection takes at once. A game that is only stopped, its machine still answering, is waited
// for. Three paced games on a real relay: HOST and ONE fight, TWO is the one that goes.
#include "match_scripts.h"
#include "private_network.h"

#include <gtest/gtest.h>

#include <signal.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <memory>
#include <thread>

namespace {

constexpr int kGoStep = 150;  // TWO goes once its simulation has run this far
constexpr int kRelayGivesUpMs = 90000;
const SPeerOptions kPaced{true, false, 30000};

long long MsSince(std::chrono::steady_clock::time_point from) {
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - from).count();
}

// The two-a-side match with `hostFight` in HOST's fight; done once TWO's simulation has reached
// kGoStep.
void StartMatch(E2eWorld& world, E2eProcess& host, E2eProcess& one, E2eProcess& two, const std::string& hostFight,
                const SPeerOptions& twoOptions) {
    ASSERT_NO_FATAL_FAILURE(
        StartTwoASideMatch(world, host, one, two, {hostFight + kAfterMatch, kAfterMatch, kAfterMatch}, kPaced, twoOptions));
    ASSERT_TRUE(WaitForLineWithinFrames(two, "step " + std::to_string(kGoStep) + " ", kPartFrames))
        << PeerReport(host) << PeerReport(one) << PeerReport(two) << world.Relay().Output();
}

// How long after `gone` each survivor's battle ended, -1 for one that did not within the wait.
std::vector<long long> EndTimes(const std::vector<E2eProcess*>& survivors, std::chrono::steady_clock::time_point gone) {
    std::vector<long long> ended(survivors.size(), -1);
    EXPECT_TRUE(WaitWhilePeersRun(
        survivors,
        [&] {
            bool all = true;
            for (size_t i = 0; i < survivors.size(); ++i) {
                if (ended[i] < 0 && FindLine(PeerOutput(*survivors[i]), " result ") >= 0) ended[i] = MsSince(gone);
                all = all && ended[i] >= 0;
            }
            return all;
        },
        kPartFrames, "each survivor's result"));
    return ended;
}

// Each survivor's match was ended by a game that asked for it once the relay showed TWO's slot
// free: the request, as F4 sends it, then the forced end, result 99.
void ExpectEndedForTheDeparture(const std::vector<E2eProcess*>& survivors) {
    std::string logs;
    for (E2eProcess* p : survivors) {
        const std::vector<std::string> out = PeerOutput(*p);
        const int fighting = FindLine(out, " mark fighting"), result = FindLine(out, " result ", fighting);
        ASSERT_GT(result, fighting) << PeerReport(*p);
        EXPECT_NE(out[result].find(" result 99 "), std::string::npos) << out[result];
        EXPECT_GE(ResultSteps(out[result]), kGoStep - 3) << out[result];
        const int request = FindLine(out, U8(u8":ｺﾏﾝﾄﾞ:終了申請"), fighting);
        EXPECT_GT(request, fighting) << PeerReport(*p);
        EXPECT_GT(FindLine(out, U8(u8" chat 強制終了"), request), request) << PeerReport(*p);
        logs += p->ReadFile("game/peer.log");
    }
    EXPECT_NE(logs.find("battle: the relay shows slot 2 gone"), std::string::npos) << logs;
}

void Leave(const std::vector<E2eProcess*>& survivors) {
    for (E2eProcess* p : survivors) EXPECT_TRUE(WaitForLineWithinFrames(*p, " mark back", kPartFrames)) << PeerReport(*p);
    for (E2eProcess* p : survivors) p->WriteFile("leave", "");
    for (E2eProcess* p : survivors) EXPECT_EQ(WaitForPeerExit(*p), 0) << PeerReport(*p);
}

// How it runs: the test moves itself into a network namespace of its own (unshare, as root or
// with the privilege to), where lo also carries 10.77.0.2. The relay, the chat page and the games
// all live there; TWO reaches the relay through 10.77.0.2. Mid-match TWO is stopped and the
// address deleted: from then on nothing of TWO's connection is answered, as when its machine
// loses power. Without a namespace the test is skipped.
TEST(Departures, AFighterWhoseMachineVanishesEndsTheOthersMatchWithinAMinute) {
    CPrivateNetwork network;
    std::string whyNot;
    if (!network.Enter("10.77.0.2", &whyNot)) GTEST_SKIP() << whyNot;
    E2eWorld world;
    ASSERT_TRUE(world.Start());
    E2eProcess host("HOST"), one("ONE"), two("TWO");
    SPeerOptions viaSecondAddress = kPaced;
    viaSecondAddress.address = "10.77.0.2";
    StartMatch(world, host, one, two, "", viaSecondAddress);
    if (HasFatalFailure()) return;
    ASSERT_EQ(world.Relay().CountInOutput("client[2] : 10.77.0.2\n"), 1) << world.Relay().Output();

    ASSERT_EQ(kill(two.Pid(), SIGSTOP), 0);
    ASSERT_TRUE(network.CutAddress());
    const auto cut = std::chrono::steady_clock::now();
    // The relay gives up on the silent connection by itself: no close ever came.
    long long relayGaveUp = -1;
    const std::vector<E2eProcess*> survivors = {&host, &one};
    WaitUntil(
        [&] {
            if (relayGaveUp < 0 && world.Relay().CountInOutput(") : 2 > recv\n") + world.Relay().CountInOutput("2(10.77.0.2) > disconnect\n") > 0)
                relayGaveUp = MsSince(cut);
            return relayGaveUp >= 0;
        },
        kRelayGivesUpMs);
    ASSERT_GE(relayGaveUp, 0) << world.Relay().Output();
    const std::vector<long long> ended = EndTimes(survivors, cut);
    printf("the relay gave up on TWO %.1f s after its address was cut\n", relayGaveUp / 1000.0);
    for (size_t i = 0; i < survivors.size(); ++i) {
        ASSERT_GE(ended[i], 0) << PeerReport(*survivors[i]);
        EXPECT_LE(ended[i], 60000) << PeerReport(*survivors[i]);
        printf("%s: battle over %.1f s after the cut\n", survivors[i]->Name().c_str(), ended[i] / 1000.0);
    }
    ExpectEndedForTheDeparture(survivors);
    Leave(survivors);
}

// TWO is killed and a raw connection takes its relay slot at once, before anybody has asked the
// relay who is connected; it stays, reading everything. The relay's next list still shows the
// slot free to each survivor, so the match ends as for any killed game.
TEST(Departures, AKilledFighterWhoseSlotIsTakenAtOnceStillEndsTheMatch) {
    E2eWorld world;
    ASSERT_TRUE(world.Start());
    E2eProcess host("HOST"), one("ONE"), two("TWO");
    StartMatch(world, host, one, two, "", kPaced);
    if (HasFatalFailure()) return;

    two.Kill();
    const auto killed = std::chrono::steady_clock::now();
    ASSERT_TRUE(WaitUntil(
        [&] {
            return world.Relay().CountInOutput("2(127.0.0.1) > disconnect\n") + world.Relay().CountInOutput(") : 2 > recv\n") > 0;
        },
        kRelayGivesUpMs, 1))
        << world.Relay().Output();
    // The relay prints the line just before it frees the slot: a newcomer that came in between
    // got the next slot, and makes way for another.
    std::unique_ptr<E2eReadingClient> newcomer;
    for (int attempt = 0; attempt < 3 && world.Relay().CountInOutput("client[2] : 127.0.0.1\n") < 2; ++attempt) {
        const int joined = world.Relay().CountInOutput("client[");
        newcomer = std::make_unique<E2eReadingClient>(world.Port());
        ASSERT_TRUE(newcomer->Connected());
        ASSERT_TRUE(world.Relay().WaitForOutput("client[", joined + 1)) << world.Relay().Output();
    }
    ASSERT_EQ(world.Relay().CountInOutput("client[2] : 127.0.0.1\n"), 2) << world.Relay().Output();
    const long long takenMs = MsSince(killed);

    const std::vector<E2eProcess*> survivors = {&host, &one};
    const std::vector<long long> ended = EndTimes(survivors, killed);
    printf("slot 2 taken %.0f ms after the kill\n", (double)takenMs);
    for (size_t i = 0; i < survivors.size(); ++i) {
        ASSERT_GE(ended[i], 0) << PeerReport(*survivors[i]);
        EXPECT_LE(ended[i], 20000) << PeerReport(*survivors[i]);
        printf("%s: battle over %.1f s after the kill\n", survivors[i]->Name().c_str(), ended[i] / 1000.0);
    }
    EXPECT_FALSE(newcomer->Closed()) << "the newcomer held the slot all along";
    ExpectEndedForTheDeparture(survivors);
    Leave(survivors);
}

// TWO is stopped for 40 s in the fight, its machine answering all along: the others stand still
// and wait, nobody asks to end, and once it runs again the match goes on in step until the host's
// F4 ends it.
TEST(Departures, AGameStoppedFortySecondsIsWaitedForAndTheMatchGoesOn) {
    constexpr int kStopMs = 40000, kF4Step = kGoStep + 300;
    E2eWorld world;
    ASSERT_TRUE(world.Start());
    E2eProcess host("HOST"), one("ONE"), two("TWO");
    // F4 held until the forced end it asks for has begun.
    const std::string f4 = "until step " + std::to_string(kF4Step) + "\nmark f4\ndown F4\nuntil phase 99\nup F4\n";
    StartMatch(world, host, one, two, f4, kPaced);
    if (HasFatalFailure()) return;

    ASSERT_EQ(kill(two.Pid(), SIGSTOP), 0);
    std::this_thread::sleep_for(std::chrono::milliseconds(kStopMs));
    const std::vector<E2eProcess*> peers = {&host, &one, &two};
    for (E2eProcess* p : {&host, &one})
        EXPECT_EQ(FindLine(PeerOutput(*p), " result "), -1) << "ended while TWO was stopped\n" << PeerReport(*p);
    ASSERT_EQ(kill(two.Pid(), SIGCONT), 0);

    for (E2eProcess* p : peers) ASSERT_TRUE(WaitForLineWithinFrames(*p, " mark back", kPartFrames)) << PeerReport(*p) << world.Relay().Output();
    for (E2eProcess* p : peers) {
        const std::vector<std::string> out = PeerOutput(*p);
        const int fighting = FindLine(out, " mark fighting"), result = FindLine(out, " result ", fighting);
        ASSERT_GT(result, fighting) << PeerReport(*p);
        // The others could step past TWO's stop only with TWO's keys. The host's F4 comes at its
        // own step; every other game applies the forced end where it arrives, a few steps behind
        // the host or, TWO reading the backlog of its stop, many.
        printf("%s: the match ended at step %d\n", p->Name().c_str(), ResultSteps(out[result]));
        EXPECT_GE(ResultSteps(out[result]), p == &host ? kF4Step : kGoStep + 30) << p->Name() << ": " << out[result];
        const int request = FindLine(out, U8(u8":ｺﾏﾝﾄﾞ:終了申請"), fighting);
        ASSERT_GT(request, fighting) << PeerReport(*p);
        EXPECT_NE(out[request].find(U8(u8" chat HOST:ｺﾏﾝﾄﾞ:終了申請")), std::string::npos) << "only the host's F4\n" << PeerReport(*p);
        const std::string log = p->ReadFile("game/peer.log");
        EXPECT_EQ(log.find("battle: the relay shows slot"), std::string::npos) << PeerReport(*p);
        EXPECT_EQ(FindLine(out, "KeyBuff-over"), -1) << PeerReport(*p);
    }
    // The survivors stood still through the stop, asking the relay while they did.
    for (E2eProcess* p : {&host, &one}) {
        const std::vector<std::string> out = PeerOutput(*p);
        int longest = 0, step = -1, from = -1;
        for (const std::string& line : out) {
            const size_t at = line.find(" beat step=");
            if (at == std::string::npos || line.find(" phase=2") == std::string::npos) continue;
            const int s = atoi(line.c_str() + at + 11);
            if (s != step) {
                step = s;
                from = LineFrame(line);
            }
            longest = std::max(longest, LineFrame(line) - from);
        }
        EXPECT_GE(longest, 300) << PeerReport(*p);
        EXPECT_NE(p->ReadFile("game/peer.log").find("asking the relay which games are connected"), std::string::npos);
    }
    EXPECT_EQ(world.Relay().CountInOutput("2(127.0.0.1) > disconnect\n") + world.Relay().CountInOutput(") : 2 > recv\n"), 0)
        << world.Relay().Output();
    Leave(peers);
}

}  // namespace
