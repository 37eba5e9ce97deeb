// A player who quits while the others wait to start does not hold the start: four paced games
// on the real relay set up "4 Doubles", and the fourth closes its game once the host and the
// other two wait. The three left start with its robot run by the host, and the match runs in
// step on all three until the host's F4, the slot lists of the wait ending nothing.
#include "match_scripts.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

constexpr int kJoinMs = 60000;
// From the quit to the host's start: the slot list comes within a 10-frame request cycle and the
// start a few frames after it; the rest is room for a busy machine.
constexpr int kStartFrames = 300;
constexpr int kF4Step = 200;  // well past the stand-still a match needs before it asks the relay
constexpr int kEndFrames = 3000;
const SPeerOptions kPaced{true, false, 30000};

const std::string kAfter = U8(u8"until over 1\nuntil state メインメニュー\nrecord\nmark back\nuntil file ../leave\nquit\n");
// F4 held until the forced end it asks for has begun.
const std::string kHostEnds = "until step " + std::to_string(kF4Step) + "\ndown F4\nuntil phase 99\nup F4\n";
// Closes the game (the desktop's close) once the other three wait to start: none of them is in
// a menu then, whose requests would show the freed slot.
const std::string kQuitAtTheStart =
    U8(u8"until fighters 4\nuntil slot 0 開始待ち\nuntil slot 1 開始待ち\nuntil slot 2 開始待ち\nmark quitting\nquit\n");

TEST(StartWait, APlayerWhoQuitsAsTheHostStartsDoesNotHoldTheMatch) {
    E2eWorld world;
    ASSERT_TRUE(world.Start());
    E2eProcess host("HOST"), one("ONE"), two("TWO"), three("THREE");
    ASSERT_TRUE(StartNetPeer(host, world,
                             JoinScript(kConnectAsHost, 4) +
                                 U8(u8"until chat ONE:ready\nuntil chat TWO:ready\nuntil chat THREE:ready\n") +
                                 SayScript("go") + SetNumberScript(2) + kHostStart + kHostEnds + kAfter,
                             kPaced));
    ASSERT_TRUE(host.WaitForLine("out.txt", " id 0", kJoinMs)) << PeerReport(host) << world.Relay().Output();
    ASSERT_TRUE(StartNetPeer(one, world, JoinScript(kConnectByAddress, 4) + SayScript("ready") + ClientStartScript(4) + kAfter,
                             kPaced));
    ASSERT_TRUE(one.WaitForLine("out.txt", " id 1", kJoinMs)) << PeerReport(one);
    ASSERT_TRUE(StartNetPeer(two, world,
                             JoinScript(kConnectByAddress, 4) + kTakeTeamB + SayScript("ready") + ClientStartScript(4) + kAfter,
                             kPaced));
    ASSERT_TRUE(two.WaitForLine("out.txt", " id 2", kJoinMs)) << PeerReport(two);
    ASSERT_TRUE(StartNetPeer(three, world, JoinScript(kConnectByAddress, 4) + kTakeTeamB + SayScript("ready") + kQuitAtTheStart,
                             kPaced));

    ASSERT_TRUE(three.WaitForLine("out.txt", " mark quitting", kJoinMs * 2))
        << PeerReport(three) << PeerReport(host) << world.Relay().Output();
    EXPECT_EQ(three.WaitExit(20000), 0) << PeerReport(three);
    const std::vector<E2eProcess*> players = {&host, &one, &two};
    for (E2eProcess* p : players)
        ASSERT_TRUE(WaitForLineWithinFrames(*p, " mark fighting", kStartFrames))
            << p->Name() << " still waits for the player who quit\n"
            << PeerReport(*p) << PeerReport(host) << world.Relay().Output();
    for (E2eProcess* p : players) ASSERT_TRUE(WaitForLineWithinFrames(*p, " mark back", kEndFrames)) << PeerReport(*p);

    // Four robots, THREE's run by the host under its CPU name; the match ran to the host's F4
    // and no game took a slot list of the wait for a fighter gone.
    std::vector<std::string> out[3], steps[3];
    for (int i = 0; i < 3; ++i) {
        E2eProcess& p = *players[i];
        out[i] = PeerOutput(p);
        const int fighting = FindLine(out[i], " mark fighting");
        EXPECT_GT(FindLine(out[i], " match robots=4 own=" + std::to_string(i) + " local=" + std::to_string(i)), 0)
            << PeerReport(p);
        const int result = FindLine(out[i], " result ", fighting);
        ASSERT_GT(result, fighting) << PeerReport(p);
        EXPECT_NE(out[i][result].find(" result 99 "), std::string::npos) << out[i][result];
        EXPECT_GE(ResultSteps(out[i][result]), kF4Step - 9) << out[i][result];
        const int request = FindLine(out[i], U8(u8":ｺﾏﾝﾄﾞ:終了申請"), fighting);
        ASSERT_GT(request, fighting) << PeerReport(p);
        EXPECT_NE(out[i][request].find(U8(u8" chat HOST:ｺﾏﾝﾄﾞ:終了申請")), std::string::npos) << PeerReport(p);
        EXPECT_EQ(p.ReadFile("game/peer.log").find("battle: the relay shows slot"), std::string::npos) << PeerReport(p);
        const int slot3 = FindLine(out[i], " slot 3 ", result);
        ASSERT_GT(slot3, result) << PeerReport(p);
        EXPECT_NE(out[i][slot3].find(U8(u8" conn=未接続 ")), std::string::npos) << out[i][slot3];
        steps[i] = StepLines(out[i]);
        EXPECT_GE(steps[i].size(), (size_t)kF4Step - 9) << p.Name();
    }
    for (int i = 1; i < 3; ++i) {
        const size_t n = std::min(steps[i].size(), steps[0].size());
        for (size_t s = 0; s < n; ++s) ASSERT_EQ(steps[i][s], steps[0][s]) << players[i]->Name();
    }
    // How long the host waited, in its own frames, from its start to everybody's "戦闘中".
    const int waited = FindLine(out[0], U8(u8" state 開始待ち")), started = FindLine(out[0], U8(u8" state 戦闘中"));
    if (waited >= 0 && started > waited)
        printf("the host waited %d frames for the three left\n", LineFrame(out[0][started]) - LineFrame(out[0][waited]));

    for (E2eProcess* p : players) p->WriteFile("leave", "");
    for (E2eProcess* p : players) EXPECT_EQ(p->WaitExit(20000), 0) << PeerReport(*p);
}

}  // namespace
