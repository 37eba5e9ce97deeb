// CCpuAi: the CPU opponent of one robot slot. It presses virtual buttons on its robot and
// leaves twelve button values there, which the battle carries into the slot's pad; it never
// moves, aims or fires a robot directly. Every chance it takes is drawn through CpuRand.
#pragma once

#include "sys_math.h"

#include <string>

class C3DObject;
class CRobot;

// ---- Draws ----------------------------------------------------------------------------------
// Every draw of a CPU opponent goes through here: the game's 15-bit generator, unless a test
// has put a script in its place (null hook puts the generator back).
using CpuRandHook = int (*)(void* context);
int CpuRand();
void SetCpuRandHook(CpuRandHook hook, void* context);
int CpuRoll(int n);     // rand() mod n + 1: one draw, 1 to n
bool CpuChance(int n);  // 1 in n: one draw, true when it comes up 1

// Length of the difference of two points, as the opponents measure range.
float Distance3(float ax, float ay, float az, float bx, float by, float bz);

// What a hunter or duellist sees of its target in one step.
struct CCpuSight {
    Vec3 a;                // the target seen from the own robot (a.z < 0: ahead)
    Vec3 b;                // the own robot seen from the target
    bool facing = false;   // the target lies in the own robot's front cone
    bool watched = false;  // the own robot lies in the target's front cone
    float dist = 0;        // between the two root positions
};

class CCpuAi {
public:
    CCpuAi() = default;

    // ---- Every step ----
    // One decision for the robot: buttons into robot->m_input, button values into
    // robot->m_padState. Without a target, only type 1 (which never looks at one) still acts.
    void Think(CRobot* robot, CRobot* target, C3DObject* ground);
    static void ConvertButtons(CRobot* robot);  // input flags into four-state button values

    // ---- Ground probes (false / 9000 when the ray meets nothing) ----
    static bool IsGroundBelow(float x, float y, float z, C3DObject* ground);
    static float GroundDistance(float ox, float oy, float oz, float dx, float dy, float dz, C3DObject* ground);

    // ---- Pursuers and auto-pilot: no state of their own ----
    void RunTypeMinus3(CRobot* robot, CRobot* target);
    void RunDefault(CRobot* robot, CRobot* target);
    void RunType20(CRobot* robot, CRobot* target);

    // ---- Wanderers ----
    void RunType1(CRobot* robot, CRobot* target, C3DObject* ground);
    void RunType2(CRobot* robot, CRobot* target, C3DObject* ground);

    // ---- Hunters and duellists ----
    void RunType3(CRobot* robot, CRobot* target, C3DObject* ground);
    void RunType4(CRobot* robot, CRobot* target, C3DObject* ground);
    void RunType5(CRobot* robot, CRobot* target, C3DObject* ground);
    void RunType6(CRobot* robot, CRobot* target, C3DObject* ground);
    void RunType7(CRobot* robot, CRobot* target, C3DObject* ground);
    void PressFireButtons(CRobot* robot, int attackType);

    // ---- Fields ----
    int m_type = 0;          // 0: played from the pad; else the personality
    std::string m_state;     // current state of the personality's state machine
    int m_stateFrames = 0;   // steps since the state was entered (types 2 to 7)
    Vec3 m_move;             // movement intent: x sideways, z forward (+1) or back (-1)

private:
    // Shared pieces of the state machines.
    void SetState(const char* state);  // and the frame count back to 0
    void DrawNewDirection();           // one of the four diagonals, two draws
    void PressMove(CRobot* robot) const;
    void ProbeGround(CRobot* robot, C3DObject* ground, bool* ahead, float* drop) const;
    bool EnterFallAvoidance(bool ahead, float drop);  // types 2 to 5
    bool RunFallAvoidance(CRobot* robot, bool ahead, float drop);  // false when not avoiding a fall
    void RunLookElsewhere(CRobot* robot);                          // "違う敵を見る" of types 3 and 4
    static CCpuSight Look(CRobot* robot, CRobot* target);
    static void PressArmourWeapon(CRobot* robot, CRobot* target);
    bool RunAttackState(CRobot* robot, bool swapWeapons);  // false when not an attack state
    void RunChooseAttack(const CCpuSight& s, const char* farState);  // "Ａ攻撃"
    void RunRandomAttack();                                          // "Ｒ攻撃"
    void RunDashAttackStep(CRobot* robot, const CCpuSight& s);       // "Ｄ攻撃" of types 3 and 6
    void RunDashDraw(int frames);                                    // "ダッシュ" end draw of 5
    void RunDuelCommon(CRobot* robot, const CCpuSight& s);           // types 6 and 7 off the walk
};
