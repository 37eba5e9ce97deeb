// Every weapon whose actions are blade, melee or shot scripts, its button held for a thousand
// steps of a real battle on stage 1 and then let go: ammunition only falls, an empty weapon
// sends no more shots and gives the stagger, the counters stay in range, and the robot is back
// in its stance soon after the button comes up.
#include "stage_duel.h"

#include "action_helpers.h"
#include "scene_driver.h"
#include "sys_text.h"
#include "test_folder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct SHeldWeapon {
    const char* what;   // ASCII, for the failure text
    const char* build;  // type, left item, right weapon, variants
    int pad;            // the button held
    bool runsDry;       // its magazines empty while held (others are unlimited or have none)
};

// Right-hand weapons on the right button, left items on the left one, back weapons on the
// back button (a type and its variant choose them).
const SHeldWeapon kRightWeapons[] = {
    {"right 0 beam launcher 1", "29,0,0", kPadRightWeapon, true},
    {"right 1 beam launcher 2", "29,0,1", kPadRightWeapon, true},
    {"right 2 rifle", "29,0,2", kPadRightWeapon, true},
    {"right 3 machine gun", "29,0,3", kPadRightWeapon, true},
    {"right 5 rifle (33)", "29,0,5", kPadRightWeapon, true},
    {"right 6 grenade gun", "29,0,6", kPadRightWeapon, true},
    {"right 7 long rifle", "29,0,7", kPadRightWeapon, true},
    {"right 11 light machine gun", "29,0,11", kPadRightWeapon, true},
    {"right 12 beam rifle", "29,0,12", kPadRightWeapon, true},
    {"right 50 beam rifle (CPU)", "29,0,50", kPadRightWeapon, true},
};

const SHeldWeapon kLeftItems[] = {
    {"left 0 blade", "29,0,2", kPadLeftWeapon, false},
    {"left 1 bombs", "29,1,2", kPadLeftWeapon, true},
    {"left 2 missile launcher", "29,2,2", kPadLeftWeapon, true},
    {"left 3 shield", "29,3,2", kPadLeftWeapon, true},
    {"left 5 blade 2", "29,5,2", kPadLeftWeapon, false},
    {"left 6 light missiles", "29,6,2", kPadLeftWeapon, true},
    {"left 7 left machine gun", "29,7,2", kPadLeftWeapon, true},
};

const SHeldWeapon kBackWeapons[] = {
    {"back 29 satellite", "29,0,2,0,0", kPadBackWeapon, true},
    {"back 29 shoulder missiles", "29,0,2,0,2", kPadBackWeapon, true},
    {"back 29 boost dash", "29,0,2,0,3", kPadBackWeapon, false},
    {"back 9 fixed missiles", "9,0,2,0,1", kPadBackWeapon, true},
    {"back 21 melee", "21,0,2", kPadBackWeapon, false},
    {"back 21 spread beam", "21,0,2,0,1", kPadBackWeapon, false},
    {"back 21 shoulder lasers", "21,0,2,0,2", kPadBackWeapon, false},
};

constexpr int kHeldSteps = 1000;
constexpr int kSettleSteps = 300;
constexpr int kMagazine = 12;  // every magazine cut to this, so each runs dry while held

class WeaponHoldRun : public ::testing::Test {
protected:
    CTestFolder folder;
    CSceneDriver driver;

    void SetUp() override {
        ASSERT_EQ(driver.UseGameAssets(), 1);
        ASSERT_EQ(driver.Start(), 1);
    }
};

// The weapon entry that pays for a shot of `kind` (its code is part of the kind), -1 for a
// kind no entry pays for (effects, blades, fists).
int PayingEntry(const CRobot& r, const std::string& kind) {
    for (int i = 0; i < r.m_weapons.count; ++i)
        if (NameContains(kind, r.m_weapons.slots[i].code.c_str())) return i;
    return -1;
}

// Holds the weapon's button a thousand steps, then lets go.
void HoldAndRelease(const SHeldWeapon& w) {
    SCOPED_TRACE(w.what);
    CStageDuel duel;
    duel.m_pinTarget = true;
    ASSERT_EQ(duel.Setup(w.build, "29,0,2", 14.0f, true), 1);
    CRobot& r = duel.Attacker();
    ASSERT_EQ(r.m_currentAction, r.m_actionNames[kActStance]);
    std::vector<int> start, last;
    for (int i = 0; i < r.m_weapons.count; ++i) {
        int& ammo = r.m_weapons.slots[i].ammo;
        if (ammo > kMagazine) ammo = kMagazine;
        start.push_back(ammo);
    }
    last = start;
    int emptyAt = -1, staggerAfterEmpty = 0, paidAfterEmpty = 0, paid = 0, actions = 0;
    std::string previous = r.m_currentAction;
    for (int step = 1; step <= kHeldSteps; ++step) {
        duel.Step({w.pad});
        // Every paid shot takes one round from its entry (unless that one is unlimited).
        std::vector<int> rounds(r.m_weapons.count, 0);
        for (const std::string& kind : duel.Raised()) {
            const int e = PayingEntry(r, kind);
            if (e < 0) continue;
            ++paid;
            paidAfterEmpty += emptyAt >= 0;
            if (last[e] != -1) ++rounds[e];
        }
        // Ammunition only falls; an entry that fell and reached 0 is empty.
        bool used = false, allEmpty = true;
        for (int i = 0; i < r.m_weapons.count; ++i) {
            const int ammo = r.m_weapons.slots[i].ammo;
            ASSERT_EQ(ammo, last[i] == -1 ? -1 : last[i] - rounds[i]) << "step " << step << " entry " << i;
            ASSERT_GE(ammo, -1) << "step " << step << " entry " << i;
            last[i] = ammo;
            if (ammo < start[i]) {
                used = true;
                allEmpty = allEmpty && ammo == 0;
            }
        }
        if (used && allEmpty && emptyAt < 0) emptyAt = step;
        if (emptyAt >= 0 && step > emptyAt) staggerAfterEmpty += r.m_currentAction == r.m_actionNames[kActStagger];
        ASSERT_GE(r.m_ep, 0) << step;
        ASSERT_LE(r.m_ep, r.m_maxEp) << step;
        ASSERT_GE(r.m_actionFrame, 0) << step;
        ASSERT_LT(r.m_actionFrame, kHeldSteps) << step << " " << SjisToUtf8(r.m_currentAction);
        actions += r.m_currentAction != previous;
        previous = r.m_currentAction;
    }
    EXPECT_GT(actions, 0) << "the button started nothing";
    EXPECT_GT(r.m_hp, 0);
    EXPECT_EQ(emptyAt >= 0, w.runsDry) << "empty at step " << emptyAt;
    if (emptyAt >= 0) {
        EXPECT_EQ(paidAfterEmpty, 0) << "empty at step " << emptyAt;
        EXPECT_GT(staggerAfterEmpty, 0) << "empty at step " << emptyAt;
    }
    int settled = -1;
    for (int step = 1; step <= kSettleSteps && settled < 0; ++step) {
        duel.Step({});
        if (r.m_currentAction == r.m_actionNames[kActStance]) settled = step;
    }
    EXPECT_GE(settled, 1) << "still in " << SjisToUtf8(r.m_currentAction);
}

TEST_F(WeaponHoldRun, RightHandWeaponsHeldThenReleased) {
    for (const SHeldWeapon& w : kRightWeapons) HoldAndRelease(w);
}

TEST_F(WeaponHoldRun, LeftHandItemsHeldThenReleased) {
    for (const SHeldWeapon& w : kLeftItems) HoldAndRelease(w);
}

TEST_F(WeaponHoldRun, BackWeaponsHeldThenReleased) {
    for (const SHeldWeapon& w : kBackWeapons) HoldAndRelease(w);
}

}  // namespace
