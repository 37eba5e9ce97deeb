// Script pieces the play tests share: joining the lobby, a client taking team B and saying it is
// ready, the host choosing its settings, and everybody starting a match.
#pragma once

#include "netpeer_runner.h"
#include "test_folder.h"

#include <gtest/gtest.h>

#include <string>

// The name field as stored, then "クライアント", "ホスト" or "ＩＰ指定" with what each asks next.
const std::string kConnectAsHost = "key Down\nkey Enter\nkey Enter\n";              // the message as stored
const std::string kConnectByAddress = "key Down\nkey Down\nkey Enter\nkey Enter\n";  // 127.0.0.1 as stored
const std::string kConnectFromList = "key Enter\nwait 5\nkey Enter\n";               // the first host listed

// Into the lobby; done once slots 0 to players-1 are connected and in their main menus.
inline std::string JoinScript(const std::string& connect, int players) {
    return Fill(Fill(U8(u8R"(
wait 3
key Enter
%CONNECT%until players %PLAYERS% メインメニュー
mark joined
)"),
                     "CONNECT", connect),
                "PLAYERS", std::to_string(players));
}

// A chat line typed and sent from the main menu.
inline std::string SayScript(const std::string& text) {
    return U8(u8R"(
key Enter
until state チャット入力中
wait 3
)") + "type " + text + "\n" +
           U8(u8R"(wait 3
key Enter
until state メインメニュー
)");
}

// "team select", then "B Team".
const std::string kTakeTeamB = U8(u8R"(
key Down
key Down
key Down
key Enter
until state チーム選択中
key Down
key Enter
until state メインメニュー
)");

// The host's menu shows its own lines only once rebuilt after the host learnt its id: a chat
// line first does that. Then one of its settings: main menu line 7 "set stage", 8 "set time" or
// 9 "set number", and a line of the menu that opens.
// A line of the menu on screen, the cursor starting on line 1: "message" in the main menu, 6 is
// "quit" there.
inline std::string ChooseLineScript(int line) {
    std::string s;
    for (int i = 1; i < line; ++i) s += "key Down\n";
    return s + "key Enter\n";
}
inline std::string HostSettingScript(int mainLine, const std::string& menuState, int line) {
    std::string s = ChooseLineScript(mainLine) + "until state " + menuState + "\n";
    return s + ChooseLineScript(line) + U8(u8"until state メインメニュー\n");
}
inline std::string SetStageScript(int line) { return HostSettingScript(7, U8(u8"ステージ選択中"), line); }
inline std::string SetTimeScript(int line) { return HostSettingScript(8, U8(u8"時間選択中"), line); }
inline std::string SetNumberScript(int line) { return HostSettingScript(9, U8(u8"人数選択中"), line); }

// "start": the host first, the clients once the host waits for them.
const std::string kHostStart = U8(u8R"(
key Down
key Enter
until state 戦闘中
mark fighting
)");
inline std::string ClientStartScript(int fighters) {
    return "until fighters " + std::to_string(fighters) + U8(u8R"(
until slot 0 開始待ち
key Down
key Enter
until state 戦闘中
mark fighting
)");
}

// After a match: back in the main menu, then waiting for the test's "leave" file before closing.
const std::string kAfterMatch = U8(u8"until over 1\nuntil state メインメニュー\nmark back\nuntil file ../leave\nquit\n");

// HOST hosts, ONE and TWO join by address (TWO on team B), everybody says ready and the host
// starts a two-a-side match, each team's second robot a CPU run by the host. Each game's script
// goes on with its own part: what it does in the fight and after it. Returns once all three run.
struct STwoASideScripts {
    std::string host, one, two;
};
inline void StartTwoASideMatch(E2eWorld& world, E2eProcess& host, E2eProcess& one, E2eProcess& two,
                               const STwoASideScripts& then, const SPeerOptions& options,
                               const SPeerOptions& twoOptions) {
    ASSERT_TRUE(StartNetPeer(host, world,
                             JoinScript(kConnectAsHost, 3) + U8(u8"until chat ONE:ready\nuntil chat TWO:ready\n") +
                                 SayScript("go") + SetNumberScript(2) + kHostStart + then.host,
                             options));
    ASSERT_TRUE(WaitForLineWithinFrames(host, " id 0", kJoinFrames)) << PeerReport(host) << world.Relay().Output();
    ASSERT_TRUE(StartNetPeer(one, world, JoinScript(kConnectByAddress, 3) + SayScript("ready") + ClientStartScript(4) + then.one,
                             options));
    ASSERT_TRUE(WaitForLineWithinFrames(one, " id 1", kJoinFrames)) << PeerReport(one);
    ASSERT_TRUE(StartNetPeer(two, world,
                             JoinScript(kConnectByAddress, 3) + kTakeTeamB + SayScript("ready") + ClientStartScript(4) + then.two,
                             twoOptions));
}
