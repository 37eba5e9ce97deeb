// The start wait among four paced games on the real relay, "4 Doubles". A player who quits while
// the others wait does not hold the start: the three left start with its robot run by the host.
// A player who joins while two wait ends no match with its greeting: once all four wait, the
// match runs its fight. Either way the match runs in step on every game until the host's F4. A
// player who joins once the matches began ends them all, a game's still being set up included;
// one who joins right after the start notice, before any match is built, ends none.
#include "match_scripts.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

// From the quit to the host's start: the slot list comes within a 10-frame request cycle and the
// start a few frames after it; the rest is room for a busy machine.
constexpr int kStartFrames = 300;
constexpr int kF4Step = 200;  // well past the stand-still a match needs before it asks the relay
constexpr int kEndFrames = 3000;
// From the join to the match: the name screen, the connection, the team menu and two starts.
constexpr int kJoinToMatchFrames = 1500;
const SPeerOptions kPaced{true, false, 30000};

const std::string kAfter = U8(u8"until over 1\nuntil state メインメニュー\nrecord\nmark back\nuntil file ../leave\nquit\n");
// F4 held until the forced end it asks for has begun.
const std::string kHostEnds = "until step " + std::to_string(kF4Step) + "\ndown F4\nuntil phase 99\nup F4\n";
// Closes the game (the desktop's close) once the other three wait to start: none of them is in
// a menu then, whose requests would show the freed slot.
const std::string kQuitAtTheStart =
    U8(u8"until fighters 4\nuntil slot 0 開始待ち\nuntil slot 1 開始待ち\nuntil slot 2 開始待ち\nmark quitting\nquit\n");

// Once every game is back in the lobby: the match had four robots, each game its own, and ran
// in step on every game until the host's F4, whose request was the first and was followed by
// the forced end. Each game's output, in the order of players.
std::vector<std::vector<std::string>> ExpectAMatchToTheHostsF4(const std::vector<E2eProcess*>& players) {
    std::vector<std::vector<std::string>> out(players.size());
    std::vector<std::string> steps0;
    for (size_t i = 0; i < players.size(); ++i) {
        E2eProcess& p = *players[i];
        out[i] = PeerOutput(p);
        const int fighting = FindLine(out[i], " mark fighting");
        EXPECT_GT(FindLine(out[i], " match robots=4 own=" + std::to_string(i) + " local=" + std::to_string(i)), 0)
            << PeerReport(p);
        const int result = FindLine(out[i], " result ", fighting);
        EXPECT_GT(result, fighting) << PeerReport(p);
        if (result <= fighting) continue;
        EXPECT_NE(out[i][result].find(" result 99 "), std::string::npos) << out[i][result];
        EXPECT_GE(ResultSteps(out[i][result]), kF4Step - 9) << p.Name() << " ended its match early: " << out[i][result];
        const int request = FindLine(out[i], U8(u8":ｺﾏﾝﾄﾞ:終了申請"), fighting);
        EXPECT_GT(request, fighting) << PeerReport(p);
        if (request <= fighting) continue;
        EXPECT_NE(out[i][request].find(U8(u8" chat HOST:ｺﾏﾝﾄﾞ:終了申請")), std::string::npos) << PeerReport(p);
        EXPECT_GT(FindLine(out[i], U8(u8" chat 強制終了"), fighting), request) << PeerReport(p);
        const std::vector<std::string> steps = StepLines(out[i]);
        EXPECT_GE(steps.size(), (size_t)kF4Step - 9) << p.Name();
        if (i == 0) steps0 = steps;
        for (size_t s = 0; s < std::min(steps.size(), steps0.size()); ++s)
            if (steps[s] != steps0[s]) {
                ADD_FAILURE() << p.Name() << " left the host's step at " << s << ": " << steps[s];
                break;
            }
    }
    return out;
}

TEST(StartWait, APlayerWhoQuitsAsTheHostStartsDoesNotHoldTheMatch) {
    E2eWorld world;
    ASSERT_TRUE(world.Start());
    E2eProcess host("HOST"), one("ONE"), two("TWO"), three("THREE");
    ASSERT_TRUE(StartNetPeer(host, world,
                             JoinScript(kConnectAsHost, 4) +
                                 U8(u8"until chat ONE:ready\nuntil chat TWO:ready\nuntil chat THREE:ready\n") +
                                 SayScript("go") + SetNumberScript(2) + kHostStart + kHostEnds + kAfter,
                             kPaced));
    ASSERT_TRUE(WaitForLineWithinFrames(host, " id 0", kJoinFrames)) << PeerReport(host) << world.Relay().Output();
    ASSERT_TRUE(StartNetPeer(one, world, JoinScript(kConnectByAddress, 4) + SayScript("ready") + ClientStartScript(4) + kAfter,
                             kPaced));
    ASSERT_TRUE(WaitForLineWithinFrames(one, " id 1", kJoinFrames)) << PeerReport(one);
    ASSERT_TRUE(StartNetPeer(two, world,
                             JoinScript(kConnectByAddress, 4) + kTakeTeamB + SayScript("ready") + ClientStartScript(4) + kAfter,
                             kPaced));
    ASSERT_TRUE(WaitForLineWithinFrames(two, " id 2", kJoinFrames)) << PeerReport(two);
    ASSERT_TRUE(StartNetPeer(three, world, JoinScript(kConnectByAddress, 4) + kTakeTeamB + SayScript("ready") + kQuitAtTheStart,
                             kPaced));

    ASSERT_TRUE(WaitForLineWithinFrames(three, " mark quitting", kPartFrames))
        << PeerReport(three) << PeerReport(host) << world.Relay().Output();
    EXPECT_EQ(WaitForPeerExit(three), 0) << PeerReport(three);
    const std::vector<E2eProcess*> players = {&host, &one, &two};
    for (E2eProcess* p : players)
        ASSERT_TRUE(WaitForLineWithinFrames(*p, " mark fighting", kStartFrames))
            << p->Name() << " still waits for the player who quit\n"
            << PeerReport(*p) << PeerReport(host) << world.Relay().Output();
    for (E2eProcess* p : players) ASSERT_TRUE(WaitForLineWithinFrames(*p, " mark back", kEndFrames)) << PeerReport(*p);

    // THREE's robot run by the host under its CPU name; no game took a slot list of the wait for
    // a fighter gone.
    const std::vector<std::vector<std::string>> out = ExpectAMatchToTheHostsF4(players);
    for (int i = 0; i < 3; ++i) {
        E2eProcess& p = *players[i];
        EXPECT_EQ(p.ReadFile("game/peer.log").find("battle: the relay shows slot"), std::string::npos) << PeerReport(p);
        const int result = FindLine(out[i], " result ", FindLine(out[i], " mark fighting"));
        ASSERT_GT(result, 0) << PeerReport(p);
        const int slot3 = FindLine(out[i], " slot 3 ", result);
        ASSERT_GT(slot3, result) << PeerReport(p);
        EXPECT_NE(out[i][slot3].find(U8(u8" conn=未接続 ")), std::string::npos) << out[i][slot3];
    }
    // How long the host waited, in its own frames, from its start to everybody's "戦闘中".
    const int waited = FindLine(out[0], U8(u8" state 開始待ち")), started = FindLine(out[0], U8(u8" state 戦闘中"));
    if (waited >= 0 && started > waited)
        printf("the host waited %d frames for the three left\n", LineFrame(out[0][started]) - LineFrame(out[0][waited]));

    for (E2eProcess* p : players) p->WriteFile("leave", "");
    for (E2eProcess* p : players) EXPECT_EQ(WaitForPeerExit(*p), 0) << PeerReport(*p);
}

// Into the lobby while HOST and ONE wait to start: no "until players", which needs everybody in
// the main menu.
const std::string kJoinWhileTheyWait =
    U8(u8"wait 3\nkey Enter\n") + kConnectByAddress + U8(u8"until id 3\nuntil state メインメニュー\nmark joined\n");

// HOST and ONE wait while THREE stays in its main menu; TWO joins then, its greeting's end
// request reaching the two who wait, takes team B and starts, and THREE starts last. The
// request came before any match began: the match runs its fight and ends on the host's F4.
TEST(StartWait, APlayerWhoJoinsWhileOthersWaitEndsNoMatch) {
    E2eWorld world;
    ASSERT_TRUE(world.Start());
    E2eProcess host("HOST"), one("ONE"), three("THREE"), two("TWO");
    ASSERT_TRUE(StartNetPeer(host, world,
                             JoinScript(kConnectAsHost, 3) + U8(u8"until chat ONE:ready\nuntil chat THREE:ready\n") +
                                 SayScript("go") + SetNumberScript(2) + kHostStart + kHostEnds + kAfter,
                             kPaced));
    ASSERT_TRUE(WaitForLineWithinFrames(host, " id 0", kJoinFrames)) << PeerReport(host) << world.Relay().Output();
    ASSERT_TRUE(StartNetPeer(one, world, JoinScript(kConnectByAddress, 3) + SayScript("ready") + ClientStartScript(4) + kAfter,
                             kPaced));
    ASSERT_TRUE(WaitForLineWithinFrames(one, " id 1", kJoinFrames)) << PeerReport(one);
    ASSERT_TRUE(StartNetPeer(three, world,
                             JoinScript(kConnectByAddress, 3) + kTakeTeamB + SayScript("ready") +
                                 U8(u8"until slot 3 開始待ち\n") + ClientStartScript(4) + kAfter,
                             kPaced));
    ASSERT_TRUE(WaitForLineWithinFrames(three, " id 2", kJoinFrames)) << PeerReport(three);
    for (E2eProcess* p : {&host, &one})
        ASSERT_TRUE(WaitForLineWithinFrames(*p, U8(u8" state 開始待ち"), kPartFrames)) << PeerReport(*p) << PeerReport(three);
    ASSERT_TRUE(StartNetPeer(two, world, kJoinWhileTheyWait + kTakeTeamB + ClientStartScript(4) + kAfter, kPaced));

    // In id order: robot i is slot i's.
    const std::vector<E2eProcess*> players = {&host, &one, &three, &two};
    for (E2eProcess* p : players)
        ASSERT_TRUE(WaitForLineWithinFrames(*p, " mark fighting", kJoinToMatchFrames)) << p->Name() << PeerReport(*p);
    for (E2eProcess* p : players) ASSERT_TRUE(WaitForLineWithinFrames(*p, " mark back", kEndFrames)) << PeerReport(*p);
    const std::vector<std::vector<std::string>> out = ExpectAMatchToTheHostsF4(players);
    // The greeting came while HOST and ONE waited.
    for (int i = 0; i < 2; ++i) {
        const int waited = FindLine(out[i], U8(u8" state 開始待ち")), greeted = FindLine(out[i], " chat TWO:hi from TWO");
        EXPECT_GT(greeted, waited) << PeerReport(*players[i]);
        EXPECT_LT(greeted, FindLine(out[i], " mark fighting")) << PeerReport(*players[i]);
    }

    for (E2eProcess* p : players) p->WriteFile("leave", "");
    for (E2eProcess* p : players) EXPECT_EQ(WaitForPeerExit(*p), 0) << PeerReport(*p);
}

// Into the lobby while the others are in a match; the game closes once the test says.
const std::string kJoinDuringTheMatch = kJoinWhileTheyWait + "until file ../leave\nquit\n";
// Stalls once the host's tables show TWO "戦闘中": the others then build their matches.
const std::string kStallOnceReported = U8(u8"until slot 2 戦闘中\nstall until file ../go\n");
// From the stalled game's release to the end of its match: the rest of its check, the loading
// screen and the forced end, with room for a busy machine.
constexpr int kReleaseToEndFrames = 900;

// HOST, ONE and TWO start; TWO stalls in its start, its own state "戦闘中" but its match not yet
// built, as a game the machine leaves behind does. THREE joins meanwhile: its greeting ends HOST's
// and ONE's matches, and their after-battle requests follow. Once released, TWO finds them
// waiting: its match ends as soon as it begins, on its own frames.
TEST(StartWait, APlayerWhoJoinsWhileAGameIsStillStartingEndsThatGamesMatchToo) {
    E2eWorld world;
    ASSERT_TRUE(world.Start());
    E2eProcess host("HOST"), one("ONE"), two("TWO"), three("THREE");
    ASSERT_NO_FATAL_FAILURE(StartTwoASideMatch(world, host, one, two, {kAfter, kAfter, kStallOnceReported + kAfter},
                                               kPaced, kPaced));
    ASSERT_TRUE(WaitForLineWithinFrames(two, " mark fighting", kPartFrames)) << PeerReport(two) << PeerReport(host);
    ASSERT_TRUE(WaitForLineWithinFrames(host, " match robots=", kPartFrames)) << PeerReport(host);
    ASSERT_TRUE(StartNetPeer(three, world, kJoinDuringTheMatch, kPaced));
    ASSERT_TRUE(WaitForLineWithinFrames(three, " mark joined", kJoinToMatchFrames)) << PeerReport(three);
    for (E2eProcess* p : {&host, &one}) ASSERT_TRUE(WaitForLineWithinFrames(*p, " mark back", kPartFrames)) << PeerReport(*p);
    // TWO is still stalled where it marked its start.
    const std::vector<std::string> stalled = PeerOutput(two);
    ASSERT_EQ(FindLine(stalled, " match robots="), -1) << PeerReport(two);
    two.WriteFile("go", "");

    ASSERT_TRUE(WaitForLineWithinFrames(two, " result ", kReleaseToEndFrames))
        << "TWO's match did not end\n" << PeerReport(two) << PeerReport(host);
    ASSERT_TRUE(WaitForLineWithinFrames(two, " mark back", kPartFrames)) << PeerReport(two);
    const std::vector<std::string> out = PeerOutput(two);
    const int fighting = FindLine(out, " mark fighting"), greeted = FindLine(out, " chat THREE:", fighting);
    const int match = FindLine(out, " match robots=", fighting), result = FindLine(out, " result ", match);
    EXPECT_GT(greeted, fighting) << PeerReport(two);
    EXPECT_GT(match, greeted) << PeerReport(two);
    ASSERT_GT(result, match) << PeerReport(two);
    EXPECT_NE(out[result].find(" result 99 "), std::string::npos) << out[result];
    EXPECT_GT(FindLine(out, U8(u8" chat 強制終了"), match), match) << PeerReport(two);

    for (E2eProcess* p : {&host, &one, &two, &three}) p->WriteFile("leave", "");
    for (E2eProcess* p : {&host, &one, &two, &three}) EXPECT_EQ(WaitForPeerExit(*p), 0) << PeerReport(*p);
}

// Back to "開始待ち" after the start notice, once a newcomer's slot shows in the tables.
const std::string kFallBack = U8(u8"until state 開始待ち\nmark fell back\n");
// Stalls as its own state turns "戦闘中", before its report of it goes out: the others then wait
// for it in their start waits, "戦闘中" themselves.
const std::string kStallAtItsStart = "stall until file ../go\n";

// HOST, ONE and TWO start; TWO stalls at once, so that HOST and ONE are still in their start
// waits, "戦闘中", when THREE joins: the greeting's end request reaches them there, and THREE's
// slot in its main menu puts them back to "開始待ち". TWO, released, goes back too. Once THREE
// starts, the match of that next start runs on every game to the host's F4: nothing kept for
// the round that fell back ends it.
TEST(StartWait, APlayerWhoJoinsRightAfterTheStartNoticeEndsNoMatch) {
    E2eWorld world;
    ASSERT_TRUE(world.Start());
    E2eProcess host("HOST"), one("ONE"), two("TWO"), three("THREE");
    ASSERT_NO_FATAL_FAILURE(StartTwoASideMatch(world, host, one, two,
                                               {kFallBack + kHostEnds + kAfter, kFallBack + kAfter,
                                                kStallAtItsStart + kFallBack + kAfter},
                                               kPaced, kPaced));
    for (E2eProcess* p : {&host, &one, &two})
        ASSERT_TRUE(WaitForLineWithinFrames(*p, " mark fighting", kPartFrames)) << PeerReport(*p) << PeerReport(two);
    ASSERT_TRUE(StartNetPeer(three, world, kJoinWhileTheyWait + kTakeTeamB + "until file ../go\n" + ClientStartScript(4) + kAfter,
                             kPaced));
    ASSERT_TRUE(WaitForLineWithinFrames(three, " mark joined", kJoinToMatchFrames)) << PeerReport(three);
    for (E2eProcess* p : {&host, &one})
        ASSERT_TRUE(WaitForLineWithinFrames(*p, " mark fell back", kPartFrames)) << PeerReport(*p) << PeerReport(three);
    // No game built a match of that round.
    for (E2eProcess* p : {&host, &one, &two}) ASSERT_EQ(FindLine(PeerOutput(*p), " match robots="), -1) << PeerReport(*p);
    two.WriteFile("go", "");
    ASSERT_TRUE(WaitForLineWithinFrames(two, " mark fell back", kPartFrames)) << PeerReport(two) << PeerReport(host);
    three.WriteFile("go", "");

    const std::vector<E2eProcess*> players = {&host, &one, &two, &three};
    for (E2eProcess* p : players) ASSERT_TRUE(WaitForLineWithinFrames(*p, " mark back", kEndFrames)) << PeerReport(*p);
    ExpectAMatchToTheHostsF4(players);

    for (E2eProcess* p : players) p->WriteFile("leave", "");
    for (E2eProcess* p : players) EXPECT_EQ(WaitForPeerExit(*p), 0) << PeerReport(*p);
}

}  // namespace
