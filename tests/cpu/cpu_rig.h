// Two robots on a box ground for the CPU opponent tests, placed by hand, and a script for the
// opponents' draws that counts how many each step took. Header only, shared by the CPU tests.
#pragma once

#include "../action/action_rig.h"
#include "cpu_ai.h"

#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <vector>

// Draws come from the list in order (each the raw value, so k - 1 makes "mod n + 1" give k);
// past its end the script gives 0 and counts the overrun.
struct SDrawScript {
    std::vector<int> values;
    size_t next = 0;
    int overrun = 0;
    static int Draw(void* context) {
        SDrawScript* s = static_cast<SDrawScript*>(context);
        if (s->next < s->values.size()) return s->values[s->next++];
        ++s->overrun;
        return 0;
    }
    int Used() const { return int(next) + overrun; }
};

// Installs a script for the lifetime of the object, then puts the generator back.
class CScriptedDraws {
public:
    explicit CScriptedDraws(std::vector<int> values = {}) {
        m_script.values = std::move(values);
        SetCpuRandHook(&SDrawScript::Draw, &m_script);
    }
    ~CScriptedDraws() { SetCpuRandHook(nullptr, nullptr); }
    CScriptedDraws(const CScriptedDraws&) = delete;
    CScriptedDraws& operator=(const CScriptedDraws&) = delete;
    void Reset(std::vector<int> values) {
        m_script.values = std::move(values);
        m_script.next = 0;
        m_script.overrun = 0;
    }
    int Used() const { return m_script.Used(); }

private:
    SDrawScript m_script;
};

// The own robot at the origin facing -Z; the target at `at`, facing along `facing` (its -Z is
// where it looks, so a target facing (0, 0, 1) looks back at the origin from ahead).
struct SCpuRig {
    std::unique_ptr<CRobot> robot = std::make_unique<CRobot>();
    std::unique_ptr<CRobot> target = std::make_unique<CRobot>();
    CMesh mesh;
    C3DObject ground;
    CCpuAi ai;

    SCpuRig() {
        // A floor from -20 to 20, one unit below the roots.
        BuildGround(&mesh, &ground, {Floor(-1, -20, -20, 20, 20)});
        robot->m_target = target.get();
    }
    void PlaceTarget(const Vec3& at, const Vec3& facing = Vec3(0, 0, -1)) {
        C3DObject& root = target->m_frames[kRootFrame];
        root.SetOrientation(-facing, Vec3(0, 1, 0));
        root.SetLocalPosition(at.x, at.y, at.z);
    }
    void Think(int type) {
        ai.m_type = type;
        ai.Think(robot.get(), target.get(), &ground);
    }
    // The buttons pressed this step, as their input flags.
    std::set<int> Pressed() const {
        std::set<int> out;
        for (int k = 0; k < kInputCount; ++k)
            if (robot->m_input[k]) out.insert(k);
        return out;
    }
};

inline void DirtyButtons(CRobot& r) {
    for (int k = 0; k < kInputCount; ++k) {
        r.m_input[k] = true;
        r.m_padState[k] = 1;
    }
}

// One step of a state machine from a set state, frame count and intent (1, 0, 1): the target
// at `at`, looking back at the own robot or away from it, the own EP given.
struct SStateCase {
    const char* what;
    const char* state;
    int frames;
    Vec3 at;
    bool facesUs;
    int ep;
    std::vector<int> draws;
    const char* next;
    int nextFrames;
    std::set<int> pressed;
};

inline void RunStateCases(int type, const SStateCase* cases, size_t count, int weaponId = -1, int targetAp = 100) {
    for (size_t i = 0; i < count; ++i) {
        const SStateCase& c = cases[i];
        SCpuRig rig;
        rig.PlaceTarget(c.at, c.facesUs ? Vec3(-c.at.x, 0, -c.at.z) : Vec3(0, 0, -1));
        rig.target->m_ap = targetAp;
        rig.robot->m_ep = c.ep;
        rig.robot->m_weaponId = weaponId;
        rig.ai.m_state = c.state;
        rig.ai.m_stateFrames = c.frames;
        rig.ai.m_move = Vec3(1, 0, 1);
        CScriptedDraws draws(c.draws);
        rig.Think(type);
        EXPECT_EQ(rig.ai.m_state, c.next) << type << ": " << c.what;
        EXPECT_EQ(rig.ai.m_stateFrames, c.nextFrames) << type << ": " << c.what;
        EXPECT_EQ(rig.Pressed(), c.pressed) << type << ": " << c.what;
        EXPECT_EQ(draws.Used(), int(c.draws.size())) << type << ": " << c.what;
    }
}
