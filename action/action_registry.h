// The registry of robot action scripts: every named action is one row {name, group, step}.
// The dispatcher runs the groups in a fixed order each step, and each group looks the current
// action up again, so an action switched to by an earlier group runs at frame 0 in a later one.
#pragma once

#include <string>

class CRobot;

// One step of one action; it ends the step itself with SetAction("deff").
using ActionStep = void (*)(CRobot& robot);

// ---- Groups, in the order the dispatcher runs them every step ----
// The weapon chains come first (eleven blade and shot chains, then the melee, sword and rocket
// chains), then ground movement and jumps, then flight and the reactions. An action belongs
// to exactly one group; a group runs at most one step, that of the action current when the
// group's turn comes.
enum EActionGroup {
    kGroupBladeFirst = 0,   // blade and shot chains 0 .. 10
    kGroupBladeLast = 10,
    kGroupMeleeFirst = 11,  // melee and shoulder-weapon chains 11 .. 15
    kGroupMeleeLast = 15,
    kGroupSwordFirst = 16,  // sword chains 16 .. 19
    kGroupSwordLast = 19,
    kGroupRocketFirst = 20, // rocket and bomb chains 20 .. 25
    kGroupRocketLast = 25,
    kGroupMove = 26,        // walks, dashes, brakes, jumps, aerial dashes
    kGroupFlight = 27,      // transformation, flight, hit reactions, destruction, victory, defeat
    kActionGroupCount = 28,
    // The dispatcher's own actions (stagger and stances): run before the groups, not by them.
    kGroupDispatcher = 28,
};

struct SActionScript {
    const char* name;  // Shift-JIS, compared whole
    int group;         // EActionGroup
    ActionStep step;
};

// One file's rows.
struct SActionTable {
    const SActionScript* rows;
    int count;
};

// Room for every action of the game with margin; the registry refuses nothing, but an index
// past this size is never built (see CheckActionRegistry).
constexpr int kMaxActionScripts = 256;

// ---- Looking actions up ----
const SActionScript* FindActionScript(const std::string& name);  // null for an unknown name
int GetActionScriptCount();
const SActionScript* GetActionScript(int index);  // in registration order; null out of range

// Runs groups first .. last for the robot, each on the action current at its turn.
void RunActionGroups(CRobot& robot, int first, int last);

// 1 when every row has a name, a step and a group in range and no name appears twice;
// otherwise 0 with *error naming the first fault. GameMain runs it once, before the first
// battle, and logs the fault.
int CheckActionRegistry(std::string* error);
