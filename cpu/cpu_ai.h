// CCpuAi: the CPU opponent of one robot slot. It presses virtual buttons on its robot and
// leaves twelve button values there, which the battle carries into the slot's pad; it never
// moves, aims or fires a robot directly.
#pragma once

#include "sys_math.h"

#include <string>

class C3DObject;
class CRobot;

class CCpuAi {
public:
    // One decision for the robot: buttons into robot->m_input and robot->m_padState.
    void Think(CRobot* robot, CRobot* target, C3DObject* ground);

    int m_type = 0;          // 0: played from the pad; else the personality
    std::string m_state;     // current state of the personality's state machine
    int m_stateFrames = 0;
    Vec3 m_move;             // movement intent: x sideways, z forward or back
};
