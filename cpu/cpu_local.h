// Internals shared by the CPU opponents' source files: the roles of the robot's input flags as
// the opponents press them, and the little arithmetic they repeat.
#pragma once

#include "robot.h"

enum {
    kBtnForward = 0,
    kBtnBack = 1,
    kBtnRight = 2,
    kBtnLeft = 3,
    kBtnTurnRight = 4,
    kBtnTurnLeft = 5,
    kBtnRightWeapon = 6,
    kBtnLeftWeapon = 7,
    kBtnBackWeapon = 8,
    kBtnChangeTarget = 9,
    kBtnUnused = 10,
    kBtnBoost = 11,
};

inline float CpuAbs(float v) { return v < 0 ? -v : v; }

inline void Press(CRobot* robot, int button) { robot->m_input[button] = true; }
inline void Release(CRobot* robot, int button) { robot->m_input[button] = false; }
