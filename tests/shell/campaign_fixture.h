// Offline battles under the scene driver with the battle hook installed: every battle a scene
// builds is recorded as it stands after its set-up and answered with a scripted result
// instead of being played (unless the script says to play it).
#pragma once

#include "battle.h"
#include "offline_battle.h"
#include "scene_fixture.h"

#include <string>
#include <vector>

// What a test checks of a battle once it is set up.
struct SBattleRecord {
    int robotCount = 0;
    int clock = 0;
    std::string mission;
    std::string stageMeshes[kStageMeshCount];
    int cpu[kMaxRobots] = {};
    std::string team[kMaxRobots];
    int target[kMaxRobots] = {};  // slot, -1 for none
    Vec3 position[kMaxRobots];
    std::string parts[kMaxRobots];  // the body part files, joined
    Color4 mainPaint[kMaxRobots], subPaint[kMaxRobots];
    int maxEp[kMaxRobots] = {}, epPerStep[kMaxRobots] = {};
    int dashStartEnergy[kMaxRobots] = {}, dashStepEnergy[kMaxRobots] = {};
    double walkSpeed[kMaxRobots] = {}, dashSpeed[kMaxRobots] = {}, turnSpeed[kMaxRobots] = {};
};

inline std::string PartFiles(const CRobot& robot) {
    std::string names;
    for (int i = 0; i < kRobotPartCount; ++i) names += robot.m_meshes[i].GetName() + ";";
    return names;
}

inline SBattleRecord RecordBattle(CBattle* b) {
    SBattleRecord r;
    r.robotCount = b->m_robotCount;
    r.clock = b->m_clock;
    r.mission = b->m_mission;
    for (int k = 0; k < kStageMeshCount; ++k) r.stageMeshes[k] = b->m_stageMeshes[k].GetName();
    for (int i = 0; i < kMaxRobots; ++i) {
        const CRobot& robot = b->m_robots[i];
        r.cpu[i] = b->m_cpu[i].m_type;
        r.team[i] = robot.m_teamCode;
        r.target[i] = b->SlotOf(robot.m_target);
        r.position[i] = robot.m_frames[kRootFrame].GetLocalPosition();
        r.parts[i] = PartFiles(robot);
        if (robot.m_meshes[0].GetSubsetCount() > 1) {
            r.mainPaint[i] = robot.m_meshes[0].GetMaterial(robot.m_paintSlots[0]).diffuse;
            r.subPaint[i] = robot.m_meshes[0].GetMaterial(robot.m_paintSlots[1]).diffuse;
        }
        r.maxEp[i] = robot.m_maxEp;
        r.epPerStep[i] = robot.m_epPerStep;
        r.dashStartEnergy[i] = robot.m_dashStartEnergy;
        r.dashStepEnergy[i] = robot.m_dashStepEnergy;
        r.walkSpeed[i] = robot.m_walkSpeed;
        r.dashSpeed[i] = robot.m_dashSpeed;
        r.turnSpeed[i] = robot.m_turnSpeed;
    }
    return r;
}

class OfflineBattleTest : public SceneTest {
protected:
    std::vector<SBattleRecord> battles;
    std::vector<int> results;  // scripted result of each battle in turn; won once they run out
    std::function<void(CBattle*)> onBattle;  // anything more to do with a battle before its result

    void SetUp() override {
        SceneTest::SetUp();
        SetOfflineBattleHook([this](CBattle* b) {
            battles.push_back(RecordBattle(b));
            if (onBattle) onBattle(b);
            size_t n = battles.size() - 1;
            return n < results.size() ? results[n] : (int)kResultWon;
        });
    }
    void TearDown() override { SetOfflineBattleHook(nullptr); }
};
