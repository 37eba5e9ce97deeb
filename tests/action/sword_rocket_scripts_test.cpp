// The sword, curse, racket, heavy-missile and cluster scripts: the selectors' choices and when
// the chosen action first runs, the request and end frames of every row, the lumps, the dash
// cancel windows, the sidestep's kept side, the free hop, the stop of the nuclear shot and the
// four bombs of one step each charged on its own.
#include "robot_catalog.h"
#include "weapon_rig.h"

#include <gtest/gtest.h>

namespace {

// A step on the floor: touching it has stopped the last step's fall, as ground contact would,
// so a cut pressing the robot down does not read as a hard landing.
SWeaponStep FloorStep(CRobot& r, int fullEp = 1) {
    if (r.m_velocity[1] < 0) r.m_velocity[1] = 0;
    return WeaponStep(r, fullEp);
}

struct SChoice {
    const char* selector;
    std::vector<int> inputs;
    bool rising;     // vertical velocity above 0
    bool afterDash;
    const char* chosen;  // nullptr: nothing queued, the selector stays
};

TEST(SwordRocketSelectors, ChooseByRisingDashAndInputsAndRunTheChoiceAtOnce) {
    const SChoice cases[] = {
        {"ブレード_村雨", {}, false, false, "h35_ブレード_切り下ろし1"},
        {"ブレード_村雨", {kInBoost, kInRight}, true, false, "h35_ブレード_対地1"},
        {"ブレード_村雨", {kInForward}, true, true, "h35_ブレード_対地1"},
        {"ブレード_村雨", {kInBoost, kInLeft}, false, false, "h35_ブレード_振り下ろし1"},
        {"ブレード_村雨", {kInBoost}, false, false, "h35_ブレード_振り下ろし1"},
        {"ブレード_村雨", {kInRight, kInForward}, false, false, "h35_ブレード_回り込み切り下ろし1"},
        {"ブレード_村雨", {kInLeft}, false, false, "h35_ブレード_回り込み切り下ろし1"},
        {"ブレード_村雨", {kInForward, kInBack}, false, false, "h35_ブレード_突き1"},
        {"ブレード_村雨", {kInBack}, false, true, "h35_ブレード_対空1"},
        {"ショット_呪文", {kInBoost}, true, true, "h35_ショット_呪い"},
        {"ショット＿バケッシュー", {}, false, false, "ショット＿h32b_ﾗｹｯﾄ1"},
        {"ショット＿バケッシュー", {kInBoost}, false, true, "ショット＿h32b_ﾗｹｯﾄ1"},
        {"ショット＿バケッシュー", {kInBoost, kInRight}, false, false, "ショット＿h32b_ﾗｹｯﾄ4"},
        {"ショット＿バケッシュー", {kInRight, kInLeft}, false, false, "ショット＿h32b_ﾗｹｯﾄ3"},
        {"ショット＿バケッシュー", {kInLeft}, false, false, "ショット＿h32b_ﾗｹｯﾄ2"},
        {"ショット＿バケッシュー", {kInBoost}, true, false, nullptr},
        {"ショット＿ミサイル重", {}, false, false, "ショット＿MML1"},
        {"ショット＿ミサイル重", {kInBoost}, false, true, "ショット＿MML2"},
        {"ショット＿ミサイル重", {kInBoost, kInBack}, false, false, "ショット＿MML3"},
        {"ショット＿ミサイル重", {kInBack}, false, false, "ショット＿MML4"},
        {"ショット＿ミサイル重", {}, true, true, nullptr},
        {"ショット＿クラスター", {}, false, false, "ショット＿CLL1"},
        {"ショット＿クラスター", {kInBack}, false, true, "ショット＿CLL2"},
        {"ショット＿クラスター", {kInBoost, kInBack}, false, false, "ショット＿CLL3"},
        {"ショット＿クラスター", {kInBack}, false, false, "ショット＿CLL4"},
        {"ショット＿クラスター", {kInBack}, true, false, nullptr},
        // The hand missile selector runs before these chains, so its choices start at once too.
        {"ショット_Rミサイル", {}, false, false, "ショット＿MML1"},
        {"ショット_Rミサイル", {}, false, true, "ショット＿MML2"},
        {"ショット_Rミサイル", {kInBoost}, false, false, "ショット＿MML3"},
    };
    for (const SChoice& c : cases) {
        SCOPED_TRACE(std::string(c.selector) + " -> " + (c.chosen ? c.chosen : "nothing"));
        auto r = MakeArmedRobot();
        r->SetAction(c.selector);
        r->m_previousAction = c.afterDash ? "h29_ダッシュ" : "構え";
        r->m_velocity[1] = c.rising ? 0.1 : 0.0;
        r->m_moveState = 2;
        for (int k : c.inputs) SetInput(*r, k, kPadHeld);
        const int ep = r->m_ep = r->m_maxEp / 2;
        SWeaponStep s = WeaponStep(*r, 0);
        if (!c.chosen) {
            EXPECT_EQ(s.action, c.selector);
            EXPECT_EQ(s.frame, 1);
            EXPECT_EQ(r->m_ep, ep);
            EXPECT_EQ(r->m_moveState, 3);
            EXPECT_EQ(r->m_animMode, kAnimModeKeyPose);
            continue;
        }
        EXPECT_EQ(s.action, c.chosen);
        EXPECT_EQ(s.frame, 0);
        // The choice's frame-0 step ran: it paid its step, or (the curse, which pays nothing)
        // overwrote the selector's move state.
        EXPECT_TRUE(r->m_ep != ep || r->m_moveState != 3);
        EXPECT_TRUE(s.raised.empty());
    }
}

TEST(SwordRocketSelectors, RacketWaitsForTheTopOfTheJumpThenServesAtOnce) {
    auto r = MakeArmedRobot();
    r->SetAction("ショット＿バケッシュー");
    const double rise[] = {0.3, 0.2, 0.05, 1e-9};
    for (double vy : rise) {
        r->m_velocity[1] = vy;
        EXPECT_EQ(WeaponStep(*r).action, "ショット＿バケッシュー") << vy;
    }
    r->m_velocity[1] = 0;
    r->m_ep = r->m_maxEp / 2;
    const int ep = r->m_ep;
    SWeaponStep s = WeaponStep(*r, 0);
    EXPECT_EQ(s.action, "ショット＿h32b_ﾗｹｯﾄ1");
    EXPECT_EQ(s.frame, 0);
    EXPECT_EQ(r->m_ep, ep - r->m_epPerStep);
    EXPECT_EQ(WeaponStep(*r).frame, 1);
}

TEST(SwordScripts, ThrustChosenRunsItsFrameZeroStep) {
    auto r = MakeArmedRobot();
    auto probe = MakeArmedRobot();
    for (CRobot* q : {r.get(), probe.get()}) {
        SetInput(*q, kInForward, kPadHeld);
        SetInput(*q, kInTurnLeft, kPadHeld);
        q->m_turnRate[1] = 0.0;
    }
    probe->ApplyTurnInput(static_cast<float>(probe->m_attackTurnScale * 0.5f));
    ASSERT_NE(probe->m_turnRate[1], 0.0);
    r->SetAction("ブレード_村雨");
    r->m_moveSpeed[0] = 0.7;
    const int ep = r->m_ep = r->m_maxEp / 2;
    SWeaponStep s = WeaponStep(*r, 0);
    EXPECT_EQ(s.action, "h35_ブレード_突き1");
    EXPECT_EQ(s.frame, 0);
    EXPECT_EQ(r->m_moveSpeed[0], 0.0);
    EXPECT_EQ(r->m_moveState, 1);
    EXPECT_EQ(r->m_turnRate[1], probe->m_turnRate[1]);
    EXPECT_EQ(r->m_ep, ep - r->m_epPerStep);
    EXPECT_TRUE(r->m_nextAction.empty());
}

// The frame at which boost and a direction go down, and whether that step queues the dash.
TEST(SwordScripts, DashCancelOnlyInsideEachCutsWindow) {
    struct SCase {
        const char* action;
        int frame;
        int direction;
        bool cancels;
    };
    const SCase cases[] = {
        {"h35_ブレード_突き1", 1, kInForward, true},
        {"h35_ブレード_突き1", 11, kInBack, true},
        {"h35_ブレード_突き1", 12, kInForward, false},
        {"h35_ブレード_切り下ろし1", 5, kInLeft, true},
        {"h35_ブレード_切り下ろし1", 25, kInRight, true},
        {"h35_ブレード_回り込み切り下ろし1", 19, kInForward, true},
        {"h35_ブレード_回り込み切り下ろし1", 20, kInForward, false},
        {"h35_ブレード_対空1", 8, kInRight, true},
        {"h35_ブレード_対空1", 9, kInRight, false},
        {"h35_ブレード_振り下ろし1", 5, kInForward, false},
        {"h35_ブレード_対地1", 3, kInForward, false},
        {"h35_ブレード_突き1", 5, -1, false},  // boost alone is no cancel
    };
    for (const SCase& c : cases) {
        SCOPED_TRACE(std::string(c.action) + " at " + std::to_string(c.frame));
        auto r = MakeArmedRobot();
        r->SetAction(c.action);
        for (int f = 1; f < c.frame; ++f) ASSERT_EQ(FloorStep(*r).action, c.action);
        SetInput(*r, kInBoost, kPadPressed);
        if (c.direction >= 0) SetInput(*r, c.direction, kPadHeld);
        SWeaponStep s = FloorStep(*r);
        EXPECT_EQ(s.action, c.cancels ? r->m_actionNames[kActDash] : std::string(c.action));
    }
}

TEST(SwordScripts, SidestepCutKeepsTheSideItStartedWith) {
    struct SCase {
        int first;  // held at frame 1 (-1 none)
        int later;  // held from frame 2 on
        float twist;
        double side;  // in walk speeds
    };
    const SCase cases[] = {
        {kInRight, kInLeft, 1.57f, -1},
        {kInLeft, kInRight, -1.57f, 1},
        {-1, kInRight, 0.0f, 0},
        {kInRight, -1, 1.57f, -1},
    };
    for (const SCase& c : cases) {
        SCOPED_TRACE(c.first);
        auto r = MakeArmedRobot();
        r->SetAction("h35_ブレード_回り込み切り下ろし1");
        if (c.first >= 0) SetInput(*r, c.first, kPadHeld);
        for (int f = 1; f <= 26; ++f) {
            if (f == 2) {
                ClearInputs(*r);
                if (c.later >= 0) SetInput(*r, c.later, kPadHeld);
            }
            SWeaponStep s = FloorStep(*r);
            ASSERT_EQ(s.action, "h35_ブレード_回り込み切り下ろし1");
            EXPECT_EQ(r->m_heldTwist, c.twist);
            if (f <= 19) {
                EXPECT_EQ(r->m_moveSpeed[1], c.side * r->m_walkSpeed) << f;
                EXPECT_EQ(r->m_moveSpeed[0], double(-0.1f)) << f;
                EXPECT_EQ(r->m_velocity[1], double(-0.2f)) << f;
                EXPECT_EQ(r->m_moveState, 0);
                EXPECT_TRUE(s.raised.empty()) << f;
            } else {
                EXPECT_EQ(r->m_moveSpeed[1], 0.0) << f;
                EXPECT_EQ(s.count("刀_1"), 1) << f;
            }
        }
    }
}

TEST(RocketScripts, JumpingServeHopsOnlyAboveThreeHundredAndFree) {
    struct SCase {
        int epAfterStep;  // the gauge once frame 9's step is paid
        bool hops;
    };
    const SCase cases[] = {{301, true}, {300, false}, {5000, true}, {0, false}};
    for (const SCase& c : cases) {
        SCOPED_TRACE(c.epAfterStep);
        auto r = MakeArmedRobot();
        r->SetAction("ショット＿h32b_ﾗｹｯﾄ4");
        for (int f = 1; f < 9; ++f) WeaponStep(*r);
        r->m_maxEp = 10000;
        r->m_ep = c.epAfterStep + r->m_epPerStep;
        r->m_velocity[1] = 0;
        r->m_moveSpeed[0] = 0;
        WeaponStep(*r, 0);
        EXPECT_EQ(r->m_moveState, c.hops ? 0 : 3);
        EXPECT_EQ(r->m_velocity[1], c.hops ? double(0.3f) : 0.0);
        EXPECT_EQ(r->m_moveSpeed[0], c.hops ? -0.1 : 0.0);
        if (c.epAfterStep > 0) {
            EXPECT_EQ(r->m_ep, c.epAfterStep);
        }
    }
}

TEST(RocketScripts, NuclearShotStopsDeadThenBacksAway) {
    auto r = MakeArmedRobot();
    HoldInputs(*r, {kInTurnRight});
    r->SetAction("ショット＿MML3");
    for (int f = 1; f <= 16; ++f) {
        r->m_velocity[0] = r->m_velocity[1] = 0.25;
        r->m_turnRate[1] = 0.05;
        r->m_moveSpeed[0] = -0.3;
        r->m_moveSpeed[1] = 0.1;
        SWeaponStep s = WeaponStep(*r);
        EXPECT_EQ(s.count("核ミサイル"), f == 10 ? 1 : 0) << f;
        if (f == 10) {
            EXPECT_EQ(r->m_velocity[1], 0.0);
            EXPECT_EQ(r->m_moveSpeed[0], 0.0);
            EXPECT_EQ(r->m_moveSpeed[1], 0.0);
            EXPECT_EQ(r->m_turnRate[1], 0.0);
            EXPECT_EQ(r->m_moveState, 3);
        } else if (f >= 11 && f <= 13) {
            EXPECT_EQ(r->m_moveSpeed[0], double(0.2f)) << f;
            EXPECT_EQ(r->m_moveState, 1) << f;
        } else {
            EXPECT_EQ(r->m_moveSpeed[0], -0.3) << f;
            EXPECT_EQ(r->m_moveState, 3) << f;
        }
    }
}

// A robot carrying the cluster launcher (ten bombs, 100 EP each) in its left hand.
std::unique_ptr<CRobot> MakeClusterRobot() {
    auto r = std::make_unique<CRobot>();
    CRobotCatalog c;
    c.SetConfig(32, 4, 10, 0, 0, 0, 0, 0, 0, 7, 7, 7, 7, 7, 7);
    c.SetupRobotType(r.get());
    RigLegs(*r);
    r->m_ep = r->m_maxEp;
    return r;
}

int BombAmmo(const CRobot& r) {
    for (int i = 0; i < r.m_weapons.count; ++i)
        if (r.m_weapons.slots[i].code == "ボム") return r.m_weapons.slots[i].ammo;
    return -2;
}

TEST(RocketScripts, AllFourBombsOfOneStepAreChargedEachWithinTheFreeSlots) {
    struct SCase {
        int busySlots;
        int ammo;
        int dropped;
        bool staggered;
    };
    const SCase cases[] = {{0, 10, 4, false}, {2, 10, 3, false}, {5, 10, 0, false}, {0, 2, 2, true}};
    const char* kinds[] = {"ボム", "ボム_H", "ボム_L", "ボム_短時限"};
    for (const SCase& c : cases) {
        SCOPED_TRACE(std::to_string(c.busySlots) + " busy, ammo " + std::to_string(c.ammo));
        auto r = MakeClusterRobot();
        ASSERT_EQ(BombAmmo(*r), 10);
        for (int i = 0; i < r->m_weapons.count; ++i)
            if (r->m_weapons.slots[i].code == "ボム") r->m_weapons.slots[i].ammo = c.ammo;
        r->SetAction("ショット＿CLL3");
        for (int f = 1; f < 16; ++f) ASSERT_TRUE(WeaponStep(*r).raised.empty());
        for (int i = 0; i < c.busySlots; ++i) r->m_shotSlots.slots[i].inUse = true;
        r->m_ep = 5000;
        SWeaponStep s = WeaponStep(*r, 0);
        const int made = static_cast<int>(s.raised.size()) - c.busySlots;
        EXPECT_EQ(made, c.dropped);
        for (int i = 0; i < made; ++i) {
            const SRaised& q = s.raised[c.busySlots + i];
            EXPECT_EQ(q.kind, kinds[i]);
            EXPECT_EQ(q.mount, 2);
        }
        EXPECT_EQ(BombAmmo(*r), c.ammo - c.dropped);
        EXPECT_EQ(r->m_ep, 5000 - r->m_epPerStep - 100 * c.dropped);
        EXPECT_EQ(s.action, c.staggered ? r->m_actionNames[kActStagger] : std::string("ショット＿CLL3"));
    }
}

TEST(RocketScripts, ScatterDropsTheirHeightsAboveTheFacingFromTheLeftItem) {
    auto r = MakeClusterRobot();
    r->m_frames[kRootFrame].RotateY(0.7f);
    const Vec3 facing = -r->m_frames[kRootFrame].GetLocalAxisZ();
    struct SDrop {
        int frame;
        const char* kind;
        float height;
    };
    const SDrop drops[] = {{6, "ボム_短時限", 0.5f}, {11, "ボム_L", 0.6f}, {16, "ボム", 0.4f}, {21, "ボム_H", 0.7f}};
    r->SetAction("ショット＿CLL4");
    std::vector<SRaised> seen;
    std::vector<int> at;
    for (int f = 1; f <= 31; ++f)
        for (const SRaised& q : WeaponStep(*r).raised) {
            seen.push_back(q);
            at.push_back(f);
        }
    ASSERT_EQ(seen.size(), 4u);
    for (int i = 0; i < 4; ++i) {
        SCOPED_TRACE(drops[i].kind);
        EXPECT_EQ(at[i], drops[i].frame);
        EXPECT_EQ(seen[i].kind, drops[i].kind);
        EXPECT_EQ(seen[i].mount, 2);
        EXPECT_EQ(seen[i].at.x, facing.x);
        EXPECT_EQ(seen[i].at.y, facing.y + drops[i].height);
        EXPECT_EQ(seen[i].at.z, facing.z);
    }
}

TEST(SwordScripts, CurseClimbsThenFallsOntoTheTargetOrNotAtAll) {
    for (bool withTarget : {true, false}) {
        SCOPED_TRACE(withTarget);
        auto r = MakeArmedRobot();
        auto foe = MakeArmedRobot();
        foe->m_frames[kRootFrame].SetLocalPosition(4, 1, -9);
        if (withTarget) r->m_target = foe.get();
        r->SetAction("h35_ショット_呪い");
        std::vector<int> up, down;
        int end = 0;
        for (int f = 1; f <= 70 && !end; ++f) {
            SWeaponStep s = WeaponStep(*r, 0);
            EXPECT_EQ(r->m_ep, r->m_maxEp) << "the curse pays nothing";
            for (const SRaised& q : s.raised) {
                if (q.kind == "レーザー") {
                    up.push_back(f);
                    EXPECT_EQ(q.mount, 1);
                    EXPECT_EQ(q.dir.y, 1.0f);
                } else if (q.kind == "レーザーslow") {
                    down.push_back(f);
                    EXPECT_EQ(q.at.x, 4.0f);
                    EXPECT_EQ(q.at.y, 14.0f);
                    EXPECT_EQ(q.at.z, -9.0f);
                    EXPECT_EQ(q.dir.y, -1.0f);
                }
            }
            if (s.action != "h35_ショット_呪い") end = f;
        }
        EXPECT_EQ(up, Frames(46, 48));
        EXPECT_EQ(down, withTarget ? Frames(58, 61) : std::vector<int>{});
        EXPECT_EQ(end, 62);
        EXPECT_EQ(r->m_moveState, 1);
    }
}

struct SRow {
    const char* action;
    const char* kind;
    std::vector<int> frames;
    int mount;
    int lumpFrame;  // 0: none
    int lump;
    bool perStep;
    int end;
};

TEST(SwordRocketRows, RequestLumpAndEndFrames) {
    const SRow rows[] = {
        {"h35_ブレード_突き1", "刀_1", Frames(16, 27), 1, 10, 500, true, 28},
        {"h35_ブレード_振り下ろし1", "刀_1", Frames(12, 25), 1, 15, 300, true, 41},
        {"h35_ブレード_切り下ろし1", "刀_1", Frames(10, 16), 1, 15, 200, true, 31},
        {"h35_ブレード_回り込み切り下ろし1", "刀_1", Frames(20, 26), 1, 15, 200, true, 41},
        {"h35_ブレード_対空1", "刀_1", Frames(16, 21), 1, 15, 200, true, 26},
        {"h35_ブレード_対地1", "刀_1", Frames(8, 20), 1, 15, 200, true, 26},
        {"h35_ショット_呪い", "レーザー", Frames(46, 48), 1, 0, 0, false, 62},
        {"格闘＿h32b_ｹﾘL1", "刀_1", Frames(11, 16), 0, 10, 200, true, 18},
        {"ショット＿h32b_ﾗｹｯﾄ1", "グレネード１", {16}, 1, 0, 0, true, 22},
        {"ショット＿h32b_ﾗｹｯﾄ2", "グレネード１", {12}, 1, 0, 0, true, 19},
        {"ショット＿h32b_ﾗｹｯﾄ3", "グレネード１", {12}, 1, 0, 0, true, 19},
        {"ショット＿h32b_ﾗｹｯﾄ4", "グレネード１", {23}, 1, 0, 0, true, 27},
        {"ショット＿MML1", "ミサイル１", {6}, 1, 0, 0, true, 10},
        {"ショット＿MML2", "ミサイル１", {7, 16, 25}, 1, 0, 0, true, 41},
        {"ショット＿MML3", "核ミサイル", {10}, 1, 0, 0, true, 46},
        {"ショット＿MML4", "多弾頭ミサイル", {16}, 3, 0, 0, true, 26},
        {"ショット＿CLL1", "ボム", {4}, 2, 0, 0, true, 7},
        {"ショット＿CLL2", "ボム", {16}, 2, 0, 0, true, 31},
        {"ショット＿CLL3", "ボム_短時限", {16}, 2, 0, 0, true, 31},
        {"ショット＿CLL4", "ボム_H", {21}, 2, 0, 0, true, 31},
    };
    for (const SRow& row : rows) {
        SCOPED_TRACE(row.action);
        auto r = MakeArmedRobot();
        r->m_maxEp = 100000;
        r->SetAction(row.action);
        std::vector<int> frames;
        int end = 0;
        for (int f = 1; f <= 100 && !end; ++f) {
            r->m_ep = 50000;
            SWeaponStep s = FloorStep(*r, 0);
            const int paid = 50000 - r->m_ep;
            const int lump = f == row.lumpFrame ? row.lump : 0;
            EXPECT_EQ(paid, (row.perStep ? r->m_epPerStep : 0) + lump) << f;
            for (const SRaised& q : s.raised) {
                if (q.kind != row.kind) continue;
                frames.push_back(f);
                EXPECT_EQ(q.mount, row.mount) << f;
            }
            if (s.action != row.action) end = f;
        }
        EXPECT_EQ(frames, row.frames);
        EXPECT_EQ(end, row.end);
        EXPECT_EQ(r->m_moveState, 1);
        EXPECT_EQ(r->m_currentAction, r->m_actionNames[kActStance]);
    }
}

}  // namespace
