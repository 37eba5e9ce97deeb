// The flow's decisions from the slot tables: whether "start" may begin, one frame of the start
// wait, and the values a match is built with. Pure functions, so every case can be checked
// without a connection or a battle.
#include "lobby_flow.h"

#include "lobby_menu.h"
#include "status_record.h"

#include <algorithm>

namespace {

constexpr int kSurvivalMode = 4;
constexpr int kUnlimitedTime = -1;
constexpr int kFallbackStage = 1;
constexpr int kFramesPerSecond = 30;
constexpr float kSecondsPerAmmoUnit = 60.0f;  // a 60-second match carries the robot's own load
constexpr float kUnlimitedAmmoFactor = 10.0f;

const char* MissionOf(int mode) {
    switch (mode) {
        case 2: return "敵リーダー撃破";
        case 3: return "敵勢力撃滅";
        case 4: return "サバイブ";
        default: return "";
    }
}

}  // namespace

std::string CpuSlotName(int slot) { return "CPU" + std::to_string(slot); }

const char* StartRefusal(const CLobby& lobby, int connected) {
    if (lobby.m_ownId < 0 || lobby.m_ownId >= lobby.m_slotCount || lobby.m_ownId >= kLobbySlots)
        return "no own id";
    if (!connected) return "not connected";
    if (lobby.m_slotConnections[lobby.m_ownId] != kSlotConnected) return "own slot not connected";
    return nullptr;
}

CStartWaitFrame DecideStartWait(const std::string (&connections)[kLobbySlots],
                                const std::string (&states)[kLobbySlots], int slotCount, int ownId,
                                const std::string& ownState, bool confirm, bool connected) {
    CStartWaitFrame f{ownState, false, false, false, false};
    const int count = slotCount < kLobbySlots ? slotCount : kLobbySlots;
    if (confirm && f.ownState == kStateWaiting) {
        f.ownState = kStateRefused;
        f.statusUpdate = true;
    }
    const bool ownSlot = ownId >= 0 && ownId < count;
    if ((ownSlot && states[ownId] == kStateRefused) || (!connected && f.ownState == kStateRefused)) {
        f.leaveRefused = true;
        return f;
    }
    bool allInBattle = true, allWaiting = true, someInBattle = false, someElsewhere = false;
    for (int i = 0; i < count; ++i) {
        if (connections[i] != kSlotConnected) continue;
        const bool inBattle = states[i] == kStateInBattle, waiting = states[i] == kStateWaiting;
        allInBattle = allInBattle && inBattle;
        allWaiting = allWaiting && waiting;
        someInBattle = someInBattle || inBattle;
        someElsewhere = someElsewhere || (!inBattle && !waiting);
    }
    // A player who left the wait while others were already starting holds everybody back.
    // A refusal made this frame stands: setting the state back would swallow the cancel.
    if (someElsewhere && someInBattle && f.ownState != kStateRefused) {
        f.ownState = kStateWaiting;
        f.statusUpdate = true;
    }
    f.sendStart = ownId == 0 && allWaiting;
    f.leaveBattle = allInBattle;
    return f;
}

// The tables arrive checked, but the set-up clamps again: a value out of range here would index
// past the robots or build a battle on a stage that does not exist.
CMatchSetup MakeMatchSetup(const CLobby& lobby) {
    CMatchSetup s;
    s.stage = IsMenuStage(lobby.m_stage) ? lobby.m_stage : kFallbackStage;
    s.mission = MissionOf(lobby.m_mode);
    s.fighters = lobby.m_mode == kSurvivalMode ? SurvivalFighterCount(lobby.m_slotConnections, lobby.m_slotCount) : lobby.m_fighters;
    s.robotCount = std::clamp(s.fighters, 1, kLobbySlots);
    int time = lobby.m_timeLimit;
    if (time != kUnlimitedTime) time = std::clamp(time, 1, kMaxTimeLimit);
    s.clock = time * kFramesPerSecond;
    s.ammoFactor = time == kUnlimitedTime ? kUnlimitedAmmoFactor : (float)time / kSecondsPerAmmoUnit;
    for (int i = 0; i < kLobbySlots; ++i) {
        s.battleIndex[i] = std::clamp(lobby.m_slotBattleIndex[i], 0, kLobbySlots - 1);
        s.teams[i].clear();
        s.owners[i] = 0;
        s.names[i].clear();
    }
    for (int j = 0; j < kLobbySlots; ++j) s.teams[s.battleIndex[j]] = lobby.m_slotTeams[j];
    // All Survival: a side of its own for every robot.
    if (lobby.m_mode == kSurvivalMode)
        for (int l = 0; l < kLobbySlots; ++l) s.teams[s.battleIndex[l]] = std::to_string(l) + "X";
    const int own = lobby.m_ownId >= 0 && lobby.m_ownId < kLobbySlots ? lobby.m_ownId : 0;
    s.ownIndex = s.battleIndex[own];
    // A slot still "待ち" (a player arrived or left since the last ">l") counts as a player's.
    for (int o = 0; o < kLobbySlots; ++o) {
        const int robot = s.battleIndex[o];
        s.slotNames[o] = lobby.m_slotNames[o];
        if (lobby.m_slotConnections[o] == kSlotEmpty) {
            s.owners[robot] = 0;
            s.slotNames[o] = CpuSlotName(o);
        } else {
            s.owners[robot] = o;
        }
        s.names[robot] = s.slotNames[o];
    }
    return s;
}

