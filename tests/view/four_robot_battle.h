// The four-robot CPU battle on stage 1 that the view's picture tests look at: two teams of two,
// started and seeded alike so every picture test sees the same fight.
#pragma once

#include "battle.h"
#include "battle_runner.h"
#include "sys_rand.h"

inline void StartFourRobotBattle(CBattle& b) {
    b.m_robotCount = 4;
    const char* builds[] = {"36,1,2", "29,0,1", "9,2,3", "21,1,0"};
    const char* teams[] = {"AL", "BL", "AM", "BM"};
    for (int i = 0; i < 4; ++i) {
        b.m_robots[i].m_teamCode = teams[i];
        b.BuildRobot(i, -1, ParseBuildCode(builds[i]));
    }
    b.LoadStage(1);
    b.Start();
    GameSrand(3);
}
