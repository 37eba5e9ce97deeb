// The lobby flow's decisions as pure functions of the slot tables, so they can be checked row by
// row: whether "start" may begin, what one frame of the start wait does, and the values a match
// is set up with. The frame loops that act on them are members of CLobby.
#pragma once

#include "lobby.h"

#include <string>

// ---- Own state texts of the flow -----------------------------------------------------------------
constexpr const char* kStateMainMenu = "メインメニュー";
constexpr const char* kStateWaiting = "開始待ち";
constexpr const char* kStateRefused = "戦闘拒否";
constexpr const char* kStateInBattle = "戦闘中";
constexpr const char* kStateAfterBattle = "終了待ち";
constexpr const char* kStateStartFailed = "戦闘失敗";

// ---- Frame counts ----------------------------------------------------------------------------------
constexpr int kStartWaitStatusPeriod = 5;   // start wait and connection check: status every 5th frame
constexpr int kCheckConnectionFrames = 30;
constexpr int kMatchStatusPeriod = 15;
constexpr int kAfterBattleFrames = 30;
constexpr int kAfterBattleEndFrames[2] = {25, 28};  // ">tb-end" and a status update go out here

// ---- Start --------------------------------------------------------------------------------------------
// Why "start" cannot begin (no own id yet, no connection, the own slot not reported connected),
// or nullptr when it can. Without these the wait ended at once and built a battle that could
// never advance.
const char* StartRefusal(const CLobby& lobby, int connected);

// One frame of the start wait, decided from the tables as they stand before the frame's
// network service.
struct CStartWaitFrame {
    std::string ownState;  // the own state text after the frame
    bool statusUpdate;     // the own state changed or was set again: a status update follows
    bool leaveRefused;     // the refusal is through: leave before the service
    bool sendStart;        // host, everybody waits: ">tb-start" after the service
    bool leaveBattle;      // every connected slot is in battle: broadcast and leave after the service
};
// Unconnected, a refusal can never come back through the relay, so it is taken as through.
CStartWaitFrame DecideStartWait(const std::string (&connections)[kLobbySlots],
                                const std::string (&states)[kLobbySlots], int slotCount, int ownId,
                                const std::string& ownState, bool confirm, bool connected);

// ---- Match set-up ----------------------------------------------------------------------------------
// Everything a match is built with, from the lobby's tables and settings. Robots are indexed by
// robot slot (a lobby slot's battle index), slots by lobby slot.
struct CMatchSetup {
    int stage;
    std::string mission;           // the rule text; empty keeps the battle's own
    int fighters;                  // the fighter-count setting (All Survival recounts it)
    int robotCount;                // 1 to 6
    int clock;                     // time limit x 30 frames; -30 when unlimited
    float ammoFactor;              // time limit / 60; 10 when unlimited
    int battleIndex[kLobbySlots];  // 0 to 5
    std::string slotNames[kLobbySlots];  // empty slots are renamed "CPU" + digit
    std::string teams[kLobbySlots];      // team code per robot
    int owners[kLobbySlots];             // the relay slot that runs each robot
    std::string names[kLobbySlots];      // display name per robot
    int ownIndex;                  // the robot this game's player runs
};
CMatchSetup MakeMatchSetup(const CLobby& lobby);
// "CPU" and the slot digit: the name of an empty slot's robot.
std::string CpuSlotName(int slot);

// ---- The status update of the flow's loops ------------------------------------------------------
inline void QueueStatusUpdate(CLobby& lobby) {
    lobby.QueueOwnStatus();
    lobby.BroadcastSettings();
}
