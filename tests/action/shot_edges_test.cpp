// Shot scripts at their edges: every repeating gun meeting an empty magazine on its first shot,
// and the jump shot's hover and muzzle shot.
#include "weapon_rig.h"

#include <gtest/gtest.h>

namespace {

struct SEmptyGun {
    const char* gun;
    const char* side;  // of the mount the gun fires from
    int button;
};

TEST(ShotEdges, EveryRepeatingGunStaggersAtItsFirstShotWhenEmpty) {
    const SEmptyGun guns[] = {
        {"ショット＿マシンガン４", "R", kInRightWeapon},
        {"ショット＿マシンガン４Y", "R", kInRightWeapon},
        {"ショット＿マシンガン４D", "R", kInRightWeapon},
        {"ショット＿マシンガン６", "L", kInLeftWeapon},
    };
    for (const SEmptyGun& g : guns) {
        SCOPED_TRACE(g.gun);
        auto r = MakeArmedRobot();
        r->ClearWeapons();
        r->AddWeapon("マシンガン", "MG1", 0, 0, g.side);
        r->m_actionNames[g.button == kInRightWeapon ? kActRightHand : kActLeftHand] = g.gun;
        SetInput(*r, g.button, kPadHeld);
        r->SetAction(g.gun);
        int staggeredAt = 0, raised = 0;
        for (int step = 1; step <= 20 && !staggeredAt; ++step) {
            SWeaponStep s = WeaponStep(*r);
            raised += s.count("マシンガン");
            if (s.action == r->m_actionNames[kActStagger]) staggeredAt = step;
        }
        EXPECT_EQ(staggeredAt, 11);
        EXPECT_EQ(raised, 0);
        EXPECT_EQ(r->m_weapons.slots[0].ammo, 0);
    }
}

TEST(ShotEdges, JumpShotHoversThenFiresFromTheRightHand) {
    auto r = MakeArmedRobot();
    r->m_groundHeight = 3.0;
    r->m_velocity[1] = -0.3;
    r->SetAction("ジャンプショット");
    std::vector<int> shots;
    int end = 0;
    for (int f = 1; f <= 30 && !end; ++f) {
        const Vec3 muzzle = r->m_frames[6].GetWorldPosition() - r->m_frames[kRootFrame].GetLocalAxisZ() * 0.5f;
        SWeaponStep s = WeaponStep(*r);
        // Held level up to frame 9, then it drifts up by 0.007 a step (no motion runs here).
        const double vy = f < 10 ? double(0.007f) : double(0.007f) * (f - 8);
        if (s.action == "ジャンプショット") {
            EXPECT_NEAR(r->m_velocity[1], vy, 1e-9) << f;
        }
        for (const SRaised& q : s.raised) {
            EXPECT_EQ(q.kind, "ショット１");
            EXPECT_EQ(q.mount, 0);
            EXPECT_NEAR(q.at.x, muzzle.x, 1e-5);
            EXPECT_NEAR(q.at.y, muzzle.y, 1e-5);
            EXPECT_NEAR(q.at.z, muzzle.z, 1e-5);
            shots.push_back(f);
        }
        if (s.action != "ジャンプショット") end = f;
    }
    EXPECT_EQ(shots, std::vector<int>{10});
    EXPECT_EQ(end, 16);
}

}  // namespace
