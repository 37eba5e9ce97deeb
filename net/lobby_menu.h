// The loop every lobby menu runs (main menu, robot, stage, team, time and number menus, and
// the start wait's menu): it keeps the connection served and the status panel drawn while it
// waits for the player, and puts the relay requests and the status update on a 10-frame cycle.
// Also the small rules that turn menu results into the lobby's values.
#pragma once

#include "lobby.h"
#include "menu.h"
#include "menu_input.h"

#include <functional>
#include <string>

// ---- The request cycle ---------------------------------------------------------------------------
constexpr int kMenuCycleFrames = 10;   // ">I-", ">L------" and the status update once per cycle
constexpr int kMenuIdRequestFrame = 6;
constexpr int kMenuListRequestFrame = 8;

// What a lobby loop adds to the shared frame. Every hook may be left empty.
struct CLobbyMenuHooks {
    // Replaces the cycle's status update: called each frame with the frame count since the loop
    // began (1 on the first frame). The start wait queues its status update every 5th frame here.
    // The relay requests go out on their frames either way: only the relay's slot list tells a
    // player who left, and a wait that never asks waits for that player for ever.
    std::function<void(int frame)> status;
    // Replaces "confirm leaves with the cursor": return 1 to leave with *result.
    std::function<int(int* result)> confirm;
    // After the cursor moves, before the network is served: return 1 to leave with *result.
    std::function<int(CMenuInput& keys, int* result)> beforeServe;
    // After the network is served, before drawing: return 1 to leave with *result.
    std::function<int(int* result)> afterServe;
    // Drawn first on the black screen, under the menu and the status panel.
    std::function<void()> draw;
};

// One pass's pump of a lobby loop: the messages (a quit message sets the quit flag), then input
// while the application is active. Unlike the shell's menus a lobby keeps serving while it is
// inactive, so the other players never wait on a minimised game.
void PumpLobbyPass();

// The request cycle of the lobby menus: frame counter + 1; ">I-" in front of the send queue at
// 6, ">L------" at 8, and at 10 the counter restarts and the status update goes out.
void StepMenuCycle(CLobby& lobby, int* counter);
// The cycle's relay requests alone, for the frame count since a loop began (1 on its first
// frame): ">I-" at frame 6 and ">L------" at frame 8 of every 10.
void QueueCycleRequests(CLobby& lobby, int frame);

// The lobby menu loop on a menu the caller built: the cursor on confirm (0 for Cancel), a
// hook's result, or -1 once the quit flag is set (at once when it already is).
int RunLobbyMenu(CLobby& lobby, CMenu& menu, const CLobbyMenuHooks& hooks = {});

// ---- Menu results ------------------------------------------------------------------------------
// Team menu: 1 "AM", 2 "BM", anything else keeps the current tag.
std::string TeamTagForChoice(int choice, const std::string& current);
// Time menu: 1 unlimited (-1), 2 60, 3 90, 4 120 seconds; anything else keeps the current limit.
int TimeLimitForChoice(int choice, int current);
// All Survival's fighter count: 1 + the highest slot shown "接続", at least 3.
int SurvivalFighterCount(const std::string* connections, int slotCount);
// Number menu: 1, 2, 3 give 2, 4, 6 fighters in mode 3; 4 All Survival in mode 4; anything else
// changes nothing. 1 when it changed the values.
int ApplyNumberChoice(int choice, const std::string* connections, int slotCount, int* fighters, int* mode);
// Stage numbers of the stage menu's lines 1 to 8: six arenas, then the simple stage and the crossing.
constexpr int kMenuStages[] = {1, 2, 3, 4, 5, 6, 14, 17};
constexpr int kMenuStageCount = sizeof kMenuStages / sizeof kMenuStages[0];
constexpr int kMaxTimeLimit = 999;  // seconds: the panel shows three digits
// Stage menu line to stage number: lines 1 to 6 stages 1 to 6, 7 stage 14, 8 stage 17; -1 else.
int StageForMapLine(int line);
// The own stage choice after the stage menu: its stage, or the current one on -1.
int OwnStageAfterMenu(int menuResult, int current);
