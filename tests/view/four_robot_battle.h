// The four-robot CPU battle on stage 1 that the view's picture tests look at: two teams of two,
// started and seeded alike so every picture test sees the same fight.
#pragma once

#include "battle.h"
#include "battle_runner.h"
#include "scene_driver.h"
#include "sys_rand.h"

#include <gtest/gtest.h>

#include <string>

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

// The frame as drawn, saved for people; 1 when it shows more than a plain fill.
inline int SaveBattleFrame(CSceneDriver& driver, const std::string& name) {
    ScreenImage shot = driver.ReadFrame();
    EXPECT_EQ(shot.SavePng(std::string(SCREENSHOT_DIR) + "/" + name + ".png"), 1);
    int distinct = 0;
    for (size_t i = 1; i < shot.argb.size() && distinct < 1000; ++i) distinct += shot.argb[i] != shot.argb[i - 1];
    return distinct >= 1000;
}
