// Robots of a frame type set up from its type row without meshes, and a record of what the
// scripts asked for in each step (key poses, raised requests, action switches), so the flight,
// reaction and finale tests can check sequences. Header only, like the rig.
#pragma once

#include "action_helpers.h"
#include "action_rig.h"
#include "key_pose_tables.h"
#include "projectile_kinds.h"
#include "robot.h"
#include "robot_catalog.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

// A robot of `type` with its type row and hand weapons (rifle right, nothing left), legs
// rigged, full EP.
inline std::unique_ptr<CRobot> MakeTypedRobot(int type) {
    auto r = std::make_unique<CRobot>();
    CRobotCatalog c;
    c.SetConfig(type, 0, 0, 3, 3, 7, 3, 3, 7, 0, 0, 0, 7, 7, 7);
    c.SetupRobotType(r.get());
    RigLegs(*r);
    r->m_ep = r->m_maxEp;
    return r;
}

inline void HoldInputs(CRobot& r, std::initializer_list<int> inputs, int code = kPadHeld) {
    for (int k : inputs) SetInput(r, k, code);
}

// What one step asked for.
struct SStepRecord {
    int frame = 0;           // the action's step counter after the step
    std::string action;      // current action after the step
    std::string pose;        // key pose requested in the step, "" for none
    int poseFrames = 0;
    std::vector<std::string> raised;  // kinds raised in the shot slots
};

// Runs one step (the action alone, or the robot's routines on a ground) and records it; the
// raised requests are then dropped as the battle's spawn step would launch them. Every pose
// and kind asked for must be one the tables hold.
inline SStepRecord RecordStep(CRobot& r, C3DObject* ground = nullptr) {
    r.m_poseName.clear();
    if (ground) StepRobot(r, ground);
    else r.UpdateAction();
    SStepRecord s;
    s.frame = r.m_actionFrame;
    s.action = r.m_currentAction;
    s.pose = r.m_poseName;
    s.poseFrames = r.m_poseDuration;
    if (!s.pose.empty()) {
        EXPECT_NE(FindAnyKeyPose(s.pose), nullptr) << "pose not in the tables";
    }
    for (CShotSlot& slot : r.m_shotSlots.slots) {
        if (!slot.inUse) continue;
        EXPECT_GE(FindKindRow(slot.name.c_str()), 0) << "unknown kind";
        s.raised.push_back(slot.name);
        slot.inUse = false;
    }
    return s;
}

inline int CountRaised(const SStepRecord& s, const char* kind) {
    int n = 0;
    for (const std::string& k : s.raised) n += k == kind;
    return n;
}

// A wide floor at 0 without walls: long flights and slides never meet one.
inline void BuildOpenFloor(CMesh* mesh, C3DObject* ground) {
    BuildGround(mesh, ground, {Floor(0, -400, -400, 400, 400)});
}
