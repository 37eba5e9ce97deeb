// Two robots on stage 1 inside a real battle, for the weapon runs and their pictures: slot 0
// is driven by pad slots written here, slot 1 stands still some way ahead as its target.
// Every step is the battle's own simulation step (scripts, motion on the stage mesh,
// projectiles and hits). Needs the engine started in a folder that sees the game's assets.
#pragma once

#include "battle.h"
#include "battle_runner.h"

#include <memory>
#include <string>
#include <vector>

// Pad slots (slot 10 becomes the boost input, slot 11 input 10).
constexpr int kPadRightStep = 2, kPadRightWeapon = 6, kPadLeftWeapon = 7, kPadBackWeapon = 8, kPadBoost = 10;

class CStageDuel {
public:
    // The attacker (build code text, "29,0,12" and the like) on the floor facing +Z, and the
    // target `ahead` units in front of it, facing back; both settled into their stances.
    // With `lockOn` the attacker keeps turning to its target, as a player's robot does;
    // without, only the pad turns it. 1 when both stand on the ground.
    int Setup(const char* build, const char* targetBuild, float ahead, bool lockOn = false) {
        m_battle = std::make_unique<CBattle>();
        CBattle& b = *m_battle;
        b.LoadStage(1);
        b.m_robotCount = 2;
        b.BuildRobot(0, 0, ParseBuildCode(build));
        b.BuildRobot(1, 0, ParseBuildCode(targetBuild));
        b.m_robots[0].m_teamCode = "AL";
        b.m_robots[1].m_teamCode = "BL";
        b.PlaceRobots();
        // Beside the raised centre, so rushes and slides stay on the open floor.
        b.m_robots[0].m_frames[kRootFrame].SetPosition(kX, 5.0f, kZ);
        b.m_robots[1].m_frames[kRootFrame].SetPosition(kX, 5.0f, kZ + ahead);
        for (int k = 0; k < 2; ++k) {
            CRobot& r = b.m_robots[k];
            if (!r.PlaceOnGround(&b.m_stageObjects[0])) return 0;
            r.m_lockOn = k == 0 && lockOn;
        }
        b.m_phase = kPhaseFight;
        b.m_phaseFrames = 5;
        for (int k = 0; k < 3; ++k) Step({});
        m_targetSpot = Target().m_frames[kRootFrame].m_matrix;
        return 1;
    }

    // One simulation step with the attacker's pad holding the given pad slots (pressed on the
    // step they go down); the target's pad is all up.
    void Step(const std::vector<int>& held) {
        CBattle& b = *m_battle;
        CPad& pad = b.m_slotPads[0];
        int now[kPadSlots] = {};
        for (int s : held) now[s] = 1;
        for (int s = 0; s < kPadSlots; ++s) {
            const bool before = pad.m_values[s] >= 2;
            pad.m_values[s] = now[s] ? (before ? 3 : 2) : (before ? 1 : 0);
        }
        for (int k = 1; k < kMaxRobots; ++k) b.m_slotPads[k].Reset(0);
        // A raised request writes its kind into a free shot slot, and the launch leaves the name
        // there: names cleared before the step tell which requests the step raised.
        CShotSlots& shots = Attacker().m_shotSlots;
        for (CShotSlot& slot : shots.slots)
            if (!slot.inUse) slot.name.clear();
        b.SimulateStep();
        if (m_pinTarget) {
            // Blows would carry it away, and the attacker after it, off the stage's edge.
            Target().m_frames[kRootFrame].m_matrix = m_targetSpot;
            Target().ClearVelocity();
        }
        m_raised.clear();
        for (const CShotSlot& slot : shots.slots)
            if (!slot.name.empty()) m_raised.push_back(slot.name);
    }
    // The kinds the attacker's requests raised in the last step (refused ones are not there).
    const std::vector<std::string>& Raised() const { return m_raised; }

    // Lifts the attacker `height` above where it stands (for the actions that start aloft).
    void Lift(float height) {
        C3DObject& root = Attacker().m_frames[kRootFrame];
        const Vec3 p = root.GetLocalPosition();
        root.SetPosition(p.x, p.y + height, p.z);
        Attacker().m_groundHeight += height;
    }

    // The battle's own drawing of the world, without the head-up display.
    void Draw() { m_battle->Draw(0); }

    CBattle& Battle() { return *m_battle; }
    CRobot& Attacker() { return m_battle->m_robots[0]; }
    CRobot& Target() { return m_battle->m_robots[1]; }
    int FlyingShots() {
        int n = 0;
        const CProjectilePool& pool = m_battle->m_projectiles;
        for (int i = 0; i < pool.GetCount(); ++i) {
            const CProjectile& p = pool.GetRecord(i);
            n += p.m_owner == &Attacker() && p.GetStateCode() == kStateFlying;
        }
        return n;
    }

    static constexpr float kX = 7.0f, kZ = -6.0f;
    bool m_pinTarget = false;  // the target kept where it was set up after every step

private:
    std::unique_ptr<CBattle> m_battle;
    std::vector<std::string> m_raised;
    Mat4 m_targetSpot = Mat4::Identity();
};
