// Weapon list, shot requests and energy: which weapon a request belongs to, what it pays,
// when it is refused (the stagger queued), the five shot slots, and the energy payments.
#include "action_helpers.h"
#include "robot.h"

#include <gtest/gtest.h>

#include <climits>
#include <memory>
#include <string>

namespace {

struct SWeapon {
    const char* code;
    int ammo;
    int cost;
    const char* side;
};

struct SConsumeCase {
    const char* what;
    SWeapon weapons[2];
    int weaponCount;
    int ep;
    const char* kind;
    const char* side;
    bool granted;
    int epAfter;
    int ammoAfter[2];
    bool staggerQueued;
};

TEST(WeaponList, ConsumeShotGrantsPaysAndRefuses) {
    const SConsumeCase cases[] = {
        {"no weapon of the robot: free", {{"ミサイル", 5, 30, "S"}}, 1, 100, "ダッシュ２", "", true, 100, {5}, false},
        {"first match only, even refusing", {{"ミサイル", 0, 10, "S"}, {"ミサイル", 5, 10, "S"}}, 2, 100,
         "ミサイル１", "S", false, 100, {0, 5}, true},
        {"a side that does not match is free", {{"ボム", 3, 50, "S"}}, 1, 100, "ボム_H", "R", true, 100, {3}, false},
        {"no side pays any matching weapon", {{"ボム", 3, 50, "S"}}, 1, 100, "ボム_H", "", true, 50, {2}, false},
        {"energy exactly the cost", {{"レーザー", -1, 50, "R"}}, 1, 50, "レーザー", "R", true, 0, {-1}, false},
        {"energy one below the cost", {{"レーザー", -1, 50, "R"}}, 1, 49, "レーザー", "R", false, 49, {-1}, true},
        {"unlimited ammunition stays", {{"マシンガン", -1, 2, "R"}}, 1, 100, "マシンガン", "R", true, 98, {-1}, false},
        {"last round", {{"ライフル１", 1, 0, "L"}}, 1, 100, "ライフル１", "L", true, 100, {0}, false},
        {"empty", {{"ライフル１", 0, 0, "L"}}, 1, 100, "ライフル１", "L", false, 100, {0}, true},
        {"a count below -1 is empty too", {{"ライフル１", -3, 0, "L"}}, 1, 100, "ライフル１", "L", false, 100, {-3}, true},
        {"a negative cost pays nothing out", {{"ショット２", -1, -40, "R"}}, 1, 10, "ショット２", "R", true, 10, {-1}, false},
        // "ア" is 0x83 0x41: the code "A" only matches at a character start, so not here.
        {"codes match at character starts only", {{"A", 5, 10, "S"}}, 1, 100, "アイ", "", true, 100, {5}, false},
    };
    for (const SConsumeCase& c : cases) {
        SCOPED_TRACE(c.what);
        auto r = std::make_unique<CRobot>();
        r->ClearWeapons();
        for (int i = 0; i < c.weaponCount; ++i)
            r->AddWeapon(c.weapons[i].code, "T", c.weapons[i].ammo, c.weapons[i].cost, c.weapons[i].side);
        r->m_ep = c.ep;
        EXPECT_EQ(r->ConsumeShot(c.kind, c.side), c.granted);
        EXPECT_EQ(r->m_ep, c.epAfter);
        for (int i = 0; i < c.weaponCount; ++i) EXPECT_EQ(r->m_weapons.slots[i].ammo, c.ammoAfter[i]);
        EXPECT_EQ(r->m_nextAction == "硬直２", c.staggerQueued);
    }
}

TEST(WeaponList, LastRoundThenRefused) {
    auto r = std::make_unique<CRobot>();
    r->AddWeapon("ミサイル１", "MM1", 1, 10, "S");
    EXPECT_TRUE(r->ConsumeShot("ミサイル１", "S"));
    EXPECT_FALSE(r->ConsumeShot("ミサイル１", "S"));
    EXPECT_EQ(r->m_ep, 90);
}

TEST(WeaponList, ScaleAmmoTruncatesAndKeepsUnlimited) {
    auto r = std::make_unique<CRobot>();
    r->AddWeapon("a", "A", 35, 0, "S");
    r->AddWeapon("b", "B", -1, 0, "S");
    r->AddWeapon("c", "C", 1, 0, "S");
    r->ScaleAmmo(2.0);
    EXPECT_EQ(r->m_weapons.slots[0].ammo, 70);
    EXPECT_EQ(r->m_weapons.slots[1].ammo, -1);
    EXPECT_EQ(r->m_weapons.slots[2].ammo, 2);
    r->ScaleAmmo(0.25);
    EXPECT_EQ(r->m_weapons.slots[0].ammo, 17);
    EXPECT_EQ(r->m_weapons.slots[2].ammo, 0);
    r->ScaleAmmo(1e12);  // kept within int, never undefined
    EXPECT_EQ(r->m_weapons.slots[0].ammo, INT_MAX);
    EXPECT_EQ(r->m_weapons.slots[1].ammo, -1);
}

TEST(ShotSlots, RequestsTakeTheFirstFreeSlotAndASixthIsDroppedUnpaid) {
    auto r = std::make_unique<CRobot>();
    r->AddWeapon("マシンガン", "MG1", 10, 1, "R");
    for (int i = 0; i < 6; ++i) r->FireWeapon("マシンガン", 1, Vec3(0, 0, 0.5f), Vec3(0, 1, 0));
    EXPECT_EQ(r->m_weapons.slots[0].ammo, 5);
    EXPECT_EQ(r->m_ep, 95);
    for (int i = 0; i < kShotSlotCount; ++i) {
        const CShotSlot& s = r->m_shotSlots.slots[i];
        EXPECT_TRUE(s.inUse);
        EXPECT_EQ(s.name, "マシンガン");
        EXPECT_EQ(s.mount, 1);
        EXPECT_EQ(s.offset, Vec3(0, 0, 0.5f));
        EXPECT_EQ(s.direction, Vec3(0, 1, 0));
    }
    r->m_shotSlots.slots[2].inUse = false;  // the battle launched one
    r->FireWeapon("マシンガン", 1, Vec3(), Vec3(0, 0, 1));
    EXPECT_TRUE(r->m_shotSlots.slots[2].inUse);
    EXPECT_EQ(r->m_weapons.slots[0].ammo, 4);
}

struct SMountCase {
    int mount;
    const char* paidSide;  // the side of the only weapon this request pays
};

TEST(ShotSlots, MountChoosesTheSideThatPays) {
    const SMountCase cases[] = {{1, "R"}, {3, "R"}, {2, "L"}, {4, "L"}, {0, "S"}, {10, "S"}, {14, "S"}};
    for (const SMountCase& c : cases) {
        for (const char* side : {"R", "L", "S"}) {
            auto r = std::make_unique<CRobot>();
            r->AddWeapon("ボム", "B1", 5, 10, side);
            r->FireWeapon("ボム", c.mount, Vec3(), Vec3(0, 0, 1));
            const bool pays = std::string(side) == c.paidSide;
            EXPECT_EQ(r->m_ep, pays ? 90 : 100) << "mount " << c.mount << " side " << side;
            EXPECT_TRUE(r->m_shotSlots.slots[0].inUse);
        }
    }
}

TEST(ShotSlots, FacingDirectionAndRefusals) {
    auto r = std::make_unique<CRobot>();
    r->m_frames[kRootFrame].RotateY(1.5707964f);  // facing -X now
    r->FireWeapon("ダッシュ", 10, Vec3(), Vec3(1, 1, 1));
    const Vec3 d = r->m_shotSlots.slots[0].direction;
    EXPECT_NEAR(d.x, -1.0f, 1e-6f);
    EXPECT_NEAR(d.y, 0.0f, 1e-6f);
    EXPECT_NEAR(d.z, 0.0f, 1e-6f);
    r->FireWeaponAt("ダッシュ", Vec3(4, 5, 6), Vec3(1, 1, 1));  // used unchanged
    EXPECT_EQ(r->m_shotSlots.slots[1].direction, Vec3(1, 1, 1));
    EXPECT_EQ(r->m_shotSlots.slots[1].offset, Vec3(4, 5, 6));
    EXPECT_EQ(r->m_shotSlots.slots[1].mount, 0);

    // A refused request raises nothing and queues the stagger.
    r->AddWeapon("レーザー", "LZ1", -1, 500, "R");
    r->FireWeapon("レーザー", 1, Vec3(), Vec3(0, 0, 1));
    EXPECT_FALSE(r->m_shotSlots.slots[2].inUse);
    EXPECT_EQ(r->m_nextAction, "硬直２");
}

struct SEnergyCase {
    int ep;
    int amount;
    int epAfter;
    bool staggerQueued;
};

TEST(Energy, UseEnergyPaysOrQueuesTheStagger) {
    const SEnergyCase cases[] = {
        {100, 30, 70, false}, {30, 30, 0, true}, {29, 30, 29, true}, {0, 0, 0, true},
        {50, -100, 50, false},  // a negative amount is no payment
    };
    for (const SEnergyCase& c : cases) {
        auto r = std::make_unique<CRobot>();
        r->m_ep = c.ep;
        r->UseEnergy(c.amount);
        EXPECT_EQ(r->m_ep, c.epAfter) << c.ep << " - " << c.amount;
        EXPECT_EQ(r->m_nextAction == "硬直２", c.staggerQueued) << c.ep << " - " << c.amount;
    }
}

TEST(Energy, SmallOperationsResetWhatTheySay) {
    auto r = std::make_unique<CRobot>();
    r->m_velocity[0] = r->m_velocity[1] = r->m_velocity[2] = 0.3;
    r->m_moveSpeed[0] = r->m_moveSpeed[1] = 0.2;
    r->m_turnRate[1] = 0.1;
    r->ClearVelocity();
    EXPECT_EQ(r->m_velocity[1], 0.0);
    EXPECT_EQ(r->m_moveSpeed[0], 0.0);
    EXPECT_EQ(r->m_turnRate[1], 0.1);
    r->ClearTurnRate();
    EXPECT_EQ(r->m_turnRate[1], 0.0);
    r->m_animKey = 3;
    r->m_animFrame = 4;
    r->m_twistTarget = 1.0f;
    r->SetAnimation("ダッシュ４");
    EXPECT_EQ(r->m_animName, "ダッシュ４");
    EXPECT_EQ(r->m_animKey, 0);
    EXPECT_EQ(r->m_animFrame, 0);
    EXPECT_EQ(r->m_twistTarget, 0.0f);
    EXPECT_FLOAT_EQ(CRobot::Distance(1, 2, 3, 4, 6, 3), 5.0f);
}

}  // namespace
