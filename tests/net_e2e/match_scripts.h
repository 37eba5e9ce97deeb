// Script pieces the play tests share: joining the lobby, a client taking team B and saying it is
// ready, the host choosing its settings, and everybody starting a match.
#pragma once

#include "netpeer_runner.h"
#include "test_folder.h"

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
