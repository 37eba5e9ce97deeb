// A robot for the weapon-script tests: arms and shins placed apart so requests show which part
// they left from, and a step that keeps what each step raised (kind, mount, position,
// direction) before the slots are cleared as the battle's spawn step would clear them.
#pragma once

#include "script_record.h"
#include "weapon_step.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

struct SRaised {
    std::string kind;
    int mount = 0;
    Vec3 at;   // offset of a mount request, position of a point request
    Vec3 dir;
};

struct SWeaponStep {
    int frame = 0;  // the action's counter after the step
    std::string action;
    std::vector<SRaised> raised;
    int count(const char* kind) const {
        int n = 0;
        for (const SRaised& s : raised) n += s.kind == kind;
        return n;
    }
};

inline std::unique_ptr<CRobot> MakeArmedRobot(int type = 29) {
    auto r = MakeTypedRobot(type);
    C3DObject* root = &r->m_frames[kRootFrame];
    const int arms[4] = {3, 4, 5, 6};  // left upper, left fore, right upper, right fore
    const float xs[4] = {0.5f, 0.6f, -0.5f, -0.6f};
    for (int i = 0; i < 4; ++i) {
        r->m_frames[arms[i]].m_parent = root;
        r->m_frames[arms[i]].SetLocalPosition(xs[i], 1.2f, 0);
    }
    r->m_groundHeight = 0;
    return r;
}

// One action step alone; `fullEp` tops the gauge up first so costs never refuse.
inline SWeaponStep WeaponStep(CRobot& r, int fullEp = 1) {
    if (fullEp) r.m_ep = r.m_maxEp;
    r.m_poseName.clear();
    r.UpdateAction();
    SWeaponStep s;
    s.frame = r.m_actionFrame;
    s.action = r.m_currentAction;
    for (CShotSlot& slot : r.m_shotSlots.slots) {
        if (!slot.inUse) continue;
        EXPECT_GE(FindKindRow(slot.name.c_str()), 0) << "unknown kind " << slot.name;
        s.raised.push_back({slot.name, slot.mount, slot.offset, slot.direction});
        slot.inUse = false;
    }
    if (!r.m_poseName.empty()) {
        EXPECT_NE(FindAnyKeyPose(r.m_poseName), nullptr) << "pose not in the tables: " << r.m_poseName;
    }
    return s;
}

// Runs `action` from its start until it gives way (at most `limit` steps): the frames at which
// `kind` was raised, with its mount, and the frame of the step that ended it (0: never).
struct SActionRun {
    std::vector<int> frames;
    std::vector<int> mounts;
    int end = 0;
};

inline SActionRun RunAction(CRobot& r, const char* action, const char* kind, int limit = 200) {
    r.SetAction(action);
    SActionRun run;
    for (int i = 0; i < limit; ++i) {
        const int before = r.m_actionFrame;
        SWeaponStep s = WeaponStep(r);
        for (const SRaised& q : s.raised)
            if (q.kind == kind) {
                run.frames.push_back(before + 1);
                run.mounts.push_back(q.mount);
            }
        if (s.action != action) {
            run.end = before + 1;
            break;
        }
    }
    return run;
}

inline std::vector<int> Frames(int first, int last, int step = 1) {
    std::vector<int> v;
    for (int f = first; f <= last; f += step) v.push_back(f);
    return v;
}
