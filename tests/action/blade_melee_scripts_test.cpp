// The blade, boost-dash, melee and shoulder-weapon scripts: which frames raise which kinds from
// which mounts, where each ends, how the selectors hand over (in the same step or the next),
// the held direction of a boost dash, and the parts put back exactly after each turned request.
#include "weapon_rig.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

bool SameMatrix(const Mat4& a, const Mat4& b) { return std::memcmp(&a, &b, sizeof a) == 0; }

TEST(BladeScripts, FirstCutRaisesEightBladesMovesFromTenToNineteenAndIgnoresTurning) {
    auto r = MakeArmedRobot();
    const Mat4 forearm = r->m_frames[4].m_matrix;
    HoldInputs(*r, {kInTurnRight});
    r->SetAction("ブレード１");
    std::vector<int> cuts;
    int end = 0;
    for (int f = 1; f <= 40 && !end; ++f) {
        SWeaponStep s = WeaponStep(*r);
        EXPECT_TRUE(SameMatrix(r->m_frames[4].m_matrix, forearm)) << f;
        EXPECT_EQ(r->m_turnRate[1], 0.0) << f;
        for (const SRaised& q : s.raised) {
            EXPECT_EQ(q.kind, "ブレード");
            EXPECT_EQ(q.mount, 4);
            cuts.push_back(f);
        }
        const double ahead = (f >= 10 && f < 20) ? double(-0.4f) : 0.0;
        if (s.action == "ブレード１") {
            EXPECT_EQ(r->m_moveSpeed[0], ahead) << f;
        }
        if (s.action != "ブレード１") end = f;
    }
    EXPECT_EQ(cuts, Frames(11, 18));
    EXPECT_EQ(end, 31);
    EXPECT_EQ(r->m_moveState, 1);
}

TEST(BladeScripts, LungeLumpsFollowTheGauge) {
    struct SCase {
        const char* action;
        int epBefore;     // before frame 10's step
        int epAfter;      // -1: the stagger was queued instead
        bool staggered;
    };
    auto probe = MakeArmedRobot();
    const int step = probe->m_epPerStep, full = probe->m_maxEp;
    const SCase cases[] = {
        {"ブレード＿ダッシュ突", full / 2, step + 1, false},  // per-step + 1 left
        {"ブレード＿ダッシュ突", step / 2, -1, true},                // too low even for the step: no refill
        {"ブレード＿牙突", full, 1, false},
        {"ブレード＿牙突", full - 2 * step, -1, true},
    };
    for (const SCase& c : cases) {
        SCOPED_TRACE(c.action);
        auto r = MakeArmedRobot();
        r->SetAction(c.action);
        for (int f = 1; f < 10; ++f) WeaponStep(*r);
        r->m_ep = c.epBefore;
        WeaponStep(*r, 0);
        if (c.staggered) {
            EXPECT_EQ(r->m_currentAction, r->m_actionNames[kActStagger]);
            EXPECT_GE(r->m_ep, 0);
            EXPECT_LE(r->m_ep, c.epBefore);  // never refilled
        } else {
            EXPECT_EQ(r->m_currentAction, c.action);
            EXPECT_EQ(r->m_ep, c.epAfter);
        }
    }
}

struct SHandover {
    const char* selector;
    std::vector<int> inputs;
    bool aloft;
    bool afterDash;
    const char* queued;
    bool sameStep;  // the new action's frame-0 step ran in the selector's step
};

TEST(WeaponSelectors, HandOverByInputsGroundAndDash) {
    const SHandover cases[] = {
        {"c29ブレード1", {}, false, false, "ブレード(切下L", false},
        {"c29ブレード1", {kInForward}, false, false, "ブレード(切下L", false},
        {"c29ブレード1", {kInBack}, false, false, "ブレード(ジャンプ切上L", false},
        {"c29ブレード1", {kInBack}, true, false, "ブレード(ジャンプ切下L", false},
        {"c29ブレード1", {kInRight}, false, false, "ブレード(スライド突L", false},
        {"c29ブレード1", {kInLeft}, false, false, "ブレード(スライド突L", false},
        {"c29ブレード1", {kInBoost}, false, false, "ブレード(突L", false},
        {"c29ブレード1", {kInBoost, kInBack}, false, false, "ブレード(突L", false},
        {"c29ブレード1", {kInBack}, false, true, "h29_ブレード左滑り振りL", false},
        {"c29ブレード2", {}, false, false, "c29ブレード2(2", false},
        {"c29ブレード2", {kInBack}, false, false, "c29ブレード2(1", false},
        {"c29ブレード2", {kInBoost}, false, false, "c29ブレード2(1", false},
        {"c29ブレード2", {}, true, false, "c29ブレード2(J1", false},
        {"c29ブレード2", {}, false, true, "c29ブレード2(D1", false},
        {"c29ブレード2", {kInBoost}, true, true, "c29ブレード2(SJ1", false},
        {"c29空中ダッシュ４", {}, false, false, "c29空中ダッシュ４_急上昇", true},
        {"c29空中ダッシュ４", {}, true, false, "c29空中ダッシュ４_急降下", true},
        {"c29空中ダッシュ４", {kInForward}, false, false, "c29空中ダッシュ４_地上", true},
        {"c29空中ダッシュ４", {kInLeft}, true, false, "c29空中ダッシュ４_空中", true},
        {"c21格闘", {}, false, false, "格闘＿突R", true},
        {"c21格闘", {kInBoost}, false, false, "格闘＿ダッシュブローパンチL", true},
        {"c21格闘", {kInBack}, true, false, "ブレード（ジャンプ切下R", true},
        {"c21格闘", {kInBack}, false, false, "格闘＿突R", true},
        {"c21格闘", {}, false, true, "ブレード＿ダッシュ右", false},
        {"c21ショット_肩レーザー", {}, false, false, "ショット＿肩レーザー", false},
        {"c21ショット_肩レーザー", {kInRight}, false, false, "ショット＿肩レーザーLR", false},
        {"c21ショット_肩レーザー", {kInBoost, kInLeft}, false, false, "ショット＿肩レーザーLR2", false},
        {"c21ショット_肩レーザー", {kInBoost}, false, true, "ショット＿肩レーザーＤ", false},
        {"ショット_クロスG", {kInBoost}, false, false, "ショット＿グレネードY", false},
    };
    for (const SHandover& c : cases) {
        SCOPED_TRACE(std::string(c.selector) + " -> " + c.queued);
        auto r = MakeArmedRobot();
        r->SetAction(c.selector);
        r->m_previousAction = c.afterDash ? "h29_ダッシュ" : "構え";
        r->m_groundHeight = c.aloft ? 3.0 : 0.0;
        for (int k : c.inputs) SetInput(*r, k, kPadHeld);
        const int ep = r->m_ep = r->m_maxEp / 2;
        SWeaponStep s = WeaponStep(*r, 0);
        EXPECT_EQ(s.action, c.queued);
        EXPECT_EQ(s.frame, 0);
        const bool ran = r->m_ep != ep || !s.raised.empty();
        EXPECT_EQ(ran, c.sameStep);
    }
}

TEST(WeaponSelectors, BoostDashAloftAndFallingFastGivesTheStance) {
    auto r = MakeArmedRobot();
    r->SetAction("c29空中ダッシュ４");
    r->m_groundHeight = 3.0;
    r->m_velocity[1] = -0.05;
    SetInput(*r, kInForward, kPadHeld);
    EXPECT_EQ(WeaponStep(*r).action, r->m_actionNames[kActStance]);
}

TEST(BoostDash, EveryDirectionKeepsItsSpeedsToTheEnd) {
    struct SCase {
        std::vector<int> inputs;
        double forward, side;  // in units of the base speed
    };
    const SCase cases[] = {
        {{kInForward, kInRight}, -0.7, -0.7}, {{kInForward, kInLeft}, -0.7, 0.7},
        {{kInBack, kInRight}, 0.7, -0.7},     {{kInBack, kInLeft}, 0.7, 0.7},
        {{kInForward}, -1, 0},                {{kInBack}, 1, 0},
        {{kInRight}, 0, -1},                  {{kInLeft}, 0, 1},
    };
    const struct {
        const char* action;
        float s;
        double height;
    } dashes[] = {{"c29空中ダッシュ４_地上", 0.3f, 0.0}, {"c29空中ダッシュ４_空中", 0.27f, 3.0}};
    for (const auto& d : dashes) {
        for (const SCase& c : cases) {
            SCOPED_TRACE(d.action);
            auto r = MakeArmedRobot();
            r->m_groundHeight = d.height;
            r->SetAction(d.action);
            for (int k : c.inputs) SetInput(*r, k, kPadHeld);
            const double s = d.s;
            const float k7 = 0.7f;
            const double fwd = c.forward == 0 ? 0.0 : (c.forward > 0 ? 1 : -1) * (c.forward * c.forward < 1 ? k7 * s : s);
            const double side = c.side == 0 ? 0.0 : (c.side > 0 ? 1 : -1) * (c.side * c.side < 1 ? k7 * s : s);
            WeaponStep(*r);
            // A change of heart after the first step changes nothing.
            ClearInputs(*r);
            SetInput(*r, c.inputs[0] == kInForward ? kInBack : kInForward, kPadHeld);
            for (int f = 2; f <= 8; ++f) {
                SWeaponStep s8 = WeaponStep(*r);
                ASSERT_EQ(s8.action, d.action);
                EXPECT_EQ(r->m_moveSpeed[0], fwd) << f;
                EXPECT_EQ(r->m_moveSpeed[1], side) << f;
                EXPECT_EQ(s8.count("ブーストB"), 2);
            }
        }
    }
}

TEST(BoostDash, LetsGoIntoTheBrakeWithoutADirectionAndToTheHandWeapons) {
    auto r = MakeArmedRobot();
    r->SetAction("c29空中ダッシュ４_地上");
    SetInput(*r, kInForward, kPadHeld);
    for (int f = 1; f <= 3; ++f) WeaponStep(*r);
    ClearInputs(*r);
    SWeaponStep s;
    for (int f = 4; f <= 10; ++f) s = WeaponStep(*r);
    EXPECT_EQ(s.action, "h29_ブレーキ");

    auto w = MakeArmedRobot();
    w->SetAction("c29空中ダッシュ４_地上");
    SetInput(*w, kInLeftWeapon, kPadHeld);
    EXPECT_EQ(WeaponStep(*w).action, w->m_actionNames[kActLeftHand]);
}

TEST(MeleeScripts, StraightPunchSpeedWindows) {
    auto r = MakeArmedRobot();
    r->SetAction("格闘＿突R");
    for (int f = 1; f <= 25; ++f) {
        WeaponStep(*r);
        double want = double(-0.09f);
        if (f <= 5) want = double(-0.13f);
        else if (f <= 15 || f >= 20) want = 0;
        EXPECT_EQ(r->m_moveSpeed[0], want) << f;
    }
}

TEST(MeleeScripts, AlternatingShoulderLasersFireSideBySide) {
    auto r = MakeArmedRobot();
    r->SetAction("ショット＿肩レーザーLR2");
    std::vector<int> frames;
    std::vector<char> sides;
    std::vector<std::string> kinds;
    int end = 0;
    for (int f = 1; f <= 90 && !end; ++f) {
        SWeaponStep s = WeaponStep(*r);
        for (const SRaised& q : s.raised) {
            frames.push_back(f);
            sides.push_back(q.at.x < 0 ? 'R' : 'L');
            kinds.push_back(q.kind);
        }
        if (s.action != "ショット＿肩レーザーLR2") end = f;
    }
    EXPECT_EQ(frames, (std::vector<int>{17, 21, 25, 29, 33, 37, 41, 45, 49, 53, 57, 61, 65, 69, 73}));
    EXPECT_EQ(std::string(sides.begin(), sides.end()), "RRRRLLLLRRRRLLL");
    for (size_t i = 0; i < kinds.size(); ++i) EXPECT_EQ(kinds[i], i % 4 ? "レーザー" : "レーザーslow") << i;
    EXPECT_EQ(end, 82);
}

TEST(MeleeScripts, SideLaserEndsWhenNoSideIsHeld) {
    auto r = MakeArmedRobot();
    SActionRun run = RunAction(*r, "ショット＿肩レーザーLR", "レーザーslow");
    EXPECT_TRUE(run.frames.empty());
    EXPECT_EQ(run.end, 16);
    auto h = MakeArmedRobot();
    SetInput(*h, kInRight, kPadHeld);
    run = RunAction(*h, "ショット＿肩レーザーLR", "レーザーslow");
    EXPECT_EQ(run.frames, (std::vector<int>{16, 18, 20}));
    EXPECT_EQ(run.end, 32);
}

TEST(MeleeScripts, JumpCutWaitsAtNineteenWhileHigh) {
    auto r = MakeArmedRobot();
    r->SetAction("ブレード（ジャンプ切下R");
    r->m_groundHeight = 4.0;
    for (int i = 0; i < 40; ++i) WeaponStep(*r);
    EXPECT_EQ(r->m_actionFrame, 19);
    r->m_groundHeight = 1.0;
    SActionRun run;
    for (int i = 0; i < 30; ++i) {
        SWeaponStep s = WeaponStep(*r);
        if (s.count("格闘パンチ")) run.frames.push_back(s.frame);
    }
    ASSERT_FALSE(run.frames.empty());
    EXPECT_EQ(run.frames.front(), 21);
}

TEST(MeleeScripts, RollKickTouchingDownStopsWithItsFootRequest) {
    auto r = MakeArmedRobot();
    RigLegs(*r);
    r->SetAction("格闘＿キック前転");
    r->m_groundHeight = 2.0;
    for (int f = 1; f <= 34; ++f) WeaponStep(*r);
    r->m_groundHeight = 0.1;
    SWeaponStep s = WeaponStep(*r);
    EXPECT_EQ(s.count("格闘"), 1);
    EXPECT_EQ(s.action, r->m_actionNames[kActStagger]);
    EXPECT_EQ(r->m_moveSpeed[0], 0.0);
}

TEST(MeleeScripts, SpreadBeamVolleyNeedsFreeSlots) {
    for (int busy : {0, 4}) {
        auto r = MakeArmedRobot();
        const Mat4 left = r->m_frames[3].m_matrix, right = r->m_frames[5].m_matrix;
        r->SetAction("ショット＿拡散ビーム１");
        for (int f = 1; f < 10; ++f) WeaponStep(*r);
        for (int i = 0; i < busy; ++i) r->m_shotSlots.slots[i].inUse = true;
        r->m_ep = r->m_maxEp;
        r->UpdateAction();
        int raised = 0;
        for (const CShotSlot& slot : r->m_shotSlots.slots) raised += slot.inUse && slot.name == "ショット３M";
        EXPECT_EQ(raised, busy ? 1 : 4);
        EXPECT_TRUE(SameMatrix(r->m_frames[3].m_matrix, left));
        EXPECT_TRUE(SameMatrix(r->m_frames[5].m_matrix, right));
    }
}

// Request frames, kind, mount (0 for a point request) and end frame of every row, with energy
// to spare, a robot on the ground and no target.
struct SRow {
    const char* action;
    const char* kind;
    std::vector<int> frames;  // steps that raise it
    int perStep;              // how many each such step raises
    int mount;                // 0: a point request; 14 stands for both back mounts
    int end;
    bool aloft = false;  // actions that sink fast run high above the ground
};

TEST(WeaponScriptRows, RequestFramesKindsMountsAndEnds) {
    const SRow rows[] = {
        {"ブレード２", "ブレード", Frames(11, 18), 1, 4, 31},
        {"ブレード(切下L", "ブレード", Frames(11, 18), 1, 4, 21},
        {"ブレード(突L", "ブレード", Frames(15, 23), 1, 4, 24},
        {"h29_ブレード左滑り振りL", "ブレード", Frames(11, 18), 1, 4, 21},
        {"ブレード＿牙突", "ブレード２", Frames(11, 28), 1, 0, 49},
        {"ブレード＿牙突", "ダッシュ２", {9}, 1, 0, 49},
        {"ブレード＿ダッシュ突", "ブレード２", Frames(26, 28), 1, 0, 36},
        {"ブレード＿ダッシュ右", "ブレード２", Frames(8, 14), 1, 0, 16},
        {"ブレード(ジャンプ切上L", "ブレード", Frames(11, 21), 1, 4, 25},
        {"ブレード(スライド突L", "ブレード", Frames(16, 21), 1, 4, 25, true},
        {"c29ブレード2(1", "ブレード_強", {11}, 1, 4, 16},
        {"c29ブレード2(D1", "ブレード_硬直", {11}, 1, 4, 16},
        {"c29ブレード2(2", "ブレード_硬直", {26}, 1, 4, 31},
        {"c29ブレード2(J1", "ブレード_硬直", {19}, 1, 4, 26},
        {"c29ブレード2(SJ1", "ブレード", Frames(16, 34), 1, 4, 41},
        {"c29ブレード2(SJ1", "ダッシュ２", {15}, 1, 10, 41},
        {"c29ブレード2(SJ1", "ブースト", Frames(16, 34), 1, 0, 41},
        {"c29空中ダッシュ４_急上昇", "ブーストB", Frames(1, 10), 2, 14, 10},
        {"c29空中ダッシュ４_急降下", "ブーストB", Frames(1, 10), 2, 14, 10, true},
        {"ショット＿グレネードY", "グレネード１", {10}, 1, 1, 21},
        {"ショット＿拡散ビーム１", "ショット３M", {10}, 4, 0, 16},
        {"ショット＿肩レーザー", "レーザー", Frames(16, 27), 2, 0, 32},
        {"ショット＿肩レーザーＤ", "レーザーslow", {16, 17, 26, 27}, 2, 0, 32},
        {"格闘＿ダッシュブローパンチL", "格闘パンチ", Frames(10, 13), 1, 4, 24},
        {"格闘＿突R", "格闘パンチ", Frames(15, 20), 1, 3, 26},
        {"ブレード（ジャンプ切下R", "格闘パンチ", Frames(21, 36), 1, 3, 41},
        {"ショット＿サテライト３", "サテライト３", {10}, 1, 0, 21},
    };
    for (const SRow& row : rows) {
        SCOPED_TRACE(std::string(row.action) + " " + row.kind);
        auto r = MakeArmedRobot();
        r->m_groundHeight = row.aloft ? 50.0 : 0.0;
        SActionRun run = RunAction(*r, row.action, row.kind);
        std::vector<int> frames;
        for (size_t i = 0; i < run.frames.size(); ++i) {
            if (frames.empty() || frames.back() != run.frames[i]) frames.push_back(run.frames[i]);
            const int m = run.mounts[i];
            EXPECT_TRUE(m == row.mount || (row.mount == 14 && m == 15)) << m;
        }
        EXPECT_EQ(frames, row.frames);
        EXPECT_EQ(run.frames.size(), row.frames.size() * row.perStep);
        EXPECT_EQ(run.end, row.end);
    }
}

}  // namespace
