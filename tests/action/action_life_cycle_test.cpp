// The action life cycle: the one-entry queue and "deff", the dispatcher's automatic
// transitions at their exact boundaries, when a newly started action runs its first step,
// the stances and the stagger, names no script knows, and the twist easing.
#include "action_helpers.h"
#include "action_registry.h"
#include "action_rig.h"
#include "robot.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace {

// A robot of the common type: stance "構え", aerial jump "ジャンプ２ＡＦＤ", reactions set.
std::unique_ptr<CRobot> MakeRobot() {
    auto r = std::make_unique<CRobot>();
    r->m_actionNames[kActJump] = "ジャンプ２";
    r->m_actionNames[kActAerialJump] = "ジャンプ２ＡＦＤ";
    r->m_actionNames[kActGuard] = "h29_ガード";
    r->m_actionNames[kActHitStun] = "被弾硬直２";
    r->m_actionNames[kActKnockDown] = "h29_被弾硬直";
    r->m_actionNames[kActDestroyed] = "撃破２";
    return r;
}

TEST(ActionQueue, DeffStartsOnlyTheFirstRequest) {
    auto r = MakeRobot();
    r->SetAction("構え");
    r->m_actionFrame = 7;
    r->m_actionParam[0] = 2.0;
    EXPECT_FALSE(r->SetAction(kDeff));  // nothing queued: nothing changes
    EXPECT_EQ(r->m_actionFrame, 7);
    EXPECT_EQ(r->m_actionParam[0], 2.0);

    r->SetNextAction("");
    EXPECT_TRUE(r->m_nextAction.empty());
    r->SetNextAction("歩行４");
    r->SetNextAction("ジャンプ");  // dropped: the first request wins
    EXPECT_EQ(r->m_nextAction, "歩行４");
    EXPECT_TRUE(r->SetAction(kDeff));
    EXPECT_EQ(r->m_currentAction, "歩行４");
    EXPECT_EQ(r->m_previousAction, "構え");
    EXPECT_EQ(r->m_actionFrame, 0);
    EXPECT_EQ(r->m_actionParam[0], 0.0);
    EXPECT_TRUE(r->m_nextAction.empty());

    // A direct start leaves the previous name and the queue alone.
    r->SetNextAction("ジャンプ");
    r->m_actionFrame = 3;
    EXPECT_TRUE(r->SetAction("硬直２"));
    EXPECT_EQ(r->m_previousAction, "構え");
    EXPECT_EQ(r->m_nextAction, "ジャンプ");
    EXPECT_EQ(r->m_actionFrame, 0);

    // Queuing the running action restarts it.
    r->SetAction(kDeff);
    r->m_actionFrame = 9;
    r->SetNextAction("ジャンプ");
    EXPECT_TRUE(r->SetAction(kDeff));
    EXPECT_EQ(r->m_currentAction, "ジャンプ");
    EXPECT_EQ(r->m_actionFrame, 0);
}

struct STransitionCase {
    const char* what;
    const char* current;
    int hp;
    double groundHeight;
    double vy;
    const char* after;      // current action after one dispatcher step
    bool keyPoses;          // the step poses by key poses
};

TEST(ActionDispatcher, AutomaticTransitionsAtTheirBoundaries) {
    const STransitionCase cases[] = {
        // The destruction's script runs its frame 0 in the same step, posing by key poses.
        {"no HP on the ground", "構え", 0, 0, 0, "撃破２", true},
        {"no HP aloft: destruction, not the aerial jump", "構え", 0, 1.0, 0, "撃破２", true},
        {"more than 0.5 up in the stance", "構え", 100, 0.5000001, 0, "ジャンプ２ＡＦＤ", true},
        {"exactly 0.5 up stays", "構え", 100, 0.5, 0, "構え", true},
        {"a jump may be aloft", "ジャンプ", 100, 3.0, 0, "ジャンプ", true},
        {"a walk aloft", "歩行４", 100, 0.6, 0, "ジャンプ２ＡＦＤ", true},
        {"the first step starts the stance", "", 100, 0, 0, "構え", true},
        {"the first step aloft starts the aerial jump", "", 100, 2.0, 0, "ジャンプ２ＡＦＤ", true},
        {"hard landing", "歩行４", 100, 0.29, -0.16, "硬直２", true},
        {"-0.15 is no hard landing", "歩行４", 100, 0.29, -0.15, "歩行４", true},
        {"too high for a landing", "歩行４", 100, 0.3, -0.2, "歩行４", true},
        {"the aerial jump lands at any downward speed", "ジャンプ２ＡＦＤ", 100, 0.2, -0.001, "硬直２", true},
        {"no landing while rising", "ジャンプ２ＡＦＤ", 100, 0.2, 0.0, "ジャンプ２ＡＦＤ", true},
        {"the stagger is not restarted", "硬直２", 100, 0.1, -0.3, "硬直２", true},
    };
    for (const STransitionCase& c : cases) {
        SCOPED_TRACE(c.what);
        auto r = MakeRobot();
        r->SetAction(c.current);
        r->m_actionFrame = 3;
        r->m_hp = c.hp;
        r->m_groundHeight = c.groundHeight;
        r->m_velocity[1] = c.vy;
        if (r->m_currentAction == "歩行４") SetInput(*r, kInForward, kPadHeld);  // keeps walking
        r->UpdateAction();
        EXPECT_EQ(r->m_currentAction, c.after);
        EXPECT_EQ(r->m_animMode == kAnimModeKeyPose, c.keyPoses);
    }
}

TEST(ActionDispatcher, DestructionIsNotRestarted) {
    auto r = MakeRobot();
    r->m_actionNames[kActDestroyed] = "ジャンプ";  // a name with a script, so it runs its steps
    r->SetAction("ジャンプ");
    r->m_hp = 0;
    for (int i = 0; i < 3; ++i) r->UpdateAction();
    EXPECT_EQ(r->m_currentAction, "ジャンプ");
    EXPECT_EQ(r->m_actionFrame, 3);
}

TEST(ActionDispatcher, HardLandingInTheStanceWaitsForTheStancesOwnStep) {
    auto r = MakeRobot();
    r->SetAction("構え");
    r->m_moveSpeed[0] = -0.1;
    r->m_groundHeight = 0.1;
    r->m_velocity[1] = -0.3;
    r->UpdateAction();
    EXPECT_EQ(r->m_currentAction, "構え");  // the landing skipped the stance's step
    EXPECT_EQ(r->m_nextAction, "硬直２");
    EXPECT_EQ(r->m_moveSpeed[0], 0.0);
    r->m_velocity[1] = 0;
    r->UpdateAction();
    EXPECT_EQ(r->m_currentAction, "硬直２");
}

TEST(ActionDispatcher, StartedActionsRunInThisStepOnlyFromALaterGroup) {
    // The stance runs before the script groups: the walk it starts runs at frame 0 at once.
    auto r = MakeRobot();
    r->SetAction("構え");
    SetInput(*r, kInForward, kPadPressed);
    SetInput(*r, kInRight, kPadPressed);
    r->UpdateAction();
    EXPECT_EQ(r->m_currentAction, "歩行４");
    EXPECT_EQ(r->m_actionFrame, 0);
    EXPECT_FLOAT_EQ(r->m_twistTarget, 0.785f);  // its step ran ...
    EXPECT_EQ(r->m_moveSpeed[0], 0.0);          // ... but the speeds wait for frame 1
    r->UpdateAction();
    EXPECT_EQ(r->m_actionFrame, 1);
    EXPECT_DOUBLE_EQ(r->m_moveSpeed[0], -0.7f * r->m_walkSpeed);
    EXPECT_DOUBLE_EQ(r->m_moveSpeed[1], -0.7f * r->m_walkSpeed);

    // The crouch jump hands over to the aerial jump of its own group: that starts next step.
    auto j = MakeRobot();
    j->SetAction("ジャンプ２");
    j->UpdateAction();  // frame 1, boost not held: take-off
    EXPECT_EQ(j->m_currentAction, "ジャンプ２ＡＦＤ");
    EXPECT_EQ(j->m_actionFrame, 0);
    EXPECT_EQ(j->m_velocity[1], j->m_jumpSpeed);  // the aerial jump's hover rule has not run
    EXPECT_TRUE(j->m_nextAction.empty());
    j->UpdateAction();
    EXPECT_EQ(j->m_actionFrame, 1);
    EXPECT_DOUBLE_EQ(j->m_velocity[1], j->m_jumpSpeed + 0.005);
}

TEST(ActionDispatcher, NamesWithoutAScriptGoBackToTheStance) {
    for (const char* name : {"存在しない動作", "ショット＿シュバッツァーK2", "x"}) {
        SCOPED_TRACE(name);
        auto r = MakeRobot();
        EXPECT_EQ(FindActionScript(name), nullptr);
        r->SetAction(name);
        r->UpdateAction();
        EXPECT_EQ(r->m_currentAction, "構え");
        EXPECT_EQ(r->m_previousAction, name);
        r->UpdateAction();
        EXPECT_EQ(r->m_currentAction, "構え");
    }
    // Destruction is the one name that is never left for the stance.
    auto r = MakeRobot();
    r->m_actionNames[kActDestroyed] = "倒れたまま";
    r->m_hp = 0;
    for (int i = 0; i < 3; ++i) r->UpdateAction();
    EXPECT_EQ(r->m_currentAction, "倒れたまま");
    EXPECT_EQ(r->m_actionFrame, 2);
}

struct SStanceCase {
    const char* what;
    int held[3];
    const char* started;  // queued by the stance
    const char* after;    // current at the end of the step: a later group may have run it
};

TEST(ActionDispatcher, StanceRequestsInPriorityOrder) {
    const SStanceCase cases[] = {
        // The walk starts, and running at frame 0 in the same step it takes the weapon input.
        {"walk before the weapon", {kInForward, kInRightWeapon, -1}, "歩行４", "ショット"},
        {"right-hand before back weapon", {kInRightWeapon, kInBackWeapon, -1}, "ショット", "ショット"},
        {"back weapon before left-hand", {kInBackWeapon, kInLeftWeapon, kInBoost}, "サブショット", "サブショット"},
        {"left-hand before the jump", {kInLeftWeapon, kInBoost, -1}, "ブレード１", "ブレード１"},
        {"the jump", {kInBoost, -1, -1}, "ジャンプ２", "ジャンプ２"},
        {"turning stays", {kInTurnLeft, -1, -1}, nullptr, nullptr},
    };
    for (const char* stance : {"構え", "構え４", "構え５", "構え６"}) {
        for (const SStanceCase& c : cases) {
            SCOPED_TRACE(std::string(c.what) + " in " + stance);
            auto r = MakeRobot();
            r->m_actionNames[kActStance] = stance;
            r->SetAction(stance);
            for (int k : c.held)
                if (k >= 0) SetInput(*r, k, kPadHeld);
            r->UpdateAction();
            EXPECT_EQ(r->m_currentAction, c.after ? c.after : stance);
            if (c.started && std::string(c.started) != c.after) {
                EXPECT_EQ(r->m_previousAction, c.started);
            }
        }
    }
}

TEST(ActionDispatcher, StanceTurnStateAndTurning) {
    auto r = MakeRobot();
    r->SetAction("構え");
    SetInput(*r, kInTurnRight, kPadHeld);
    r->UpdateAction();
    EXPECT_EQ(r->m_actionParam[0], 1.0);
    EXPECT_DOUBLE_EQ(r->m_turnRate[1], r->m_turnSpeed);
    SetInput(*r, kInTurnLeft, kPadHeld);  // both held counts as none: no turn
    r->ClearTurnRate();
    r->UpdateAction();
    EXPECT_EQ(r->m_actionParam[0], 0.0);
    EXPECT_EQ(r->m_turnRate[1], 0.0);
    SetInput(*r, kInTurnRight, kPadUp);
    r->UpdateAction();
    EXPECT_EQ(r->m_actionParam[0], 2.0);
    EXPECT_DOUBLE_EQ(r->m_turnRate[1], -r->m_turnSpeed);

    // The type stances turn on the spot in every step, without a turn state.
    auto t = MakeRobot();
    t->SetAction("構え５");
    SetInput(*t, kInTurnRight, kPadHeld);
    t->UpdateAction();
    EXPECT_EQ(t->m_actionParam[0], 0.0);
    EXPECT_DOUBLE_EQ(t->m_turnRate[1], t->m_turnSpeed);
    EXPECT_EQ(t->m_moveState, 1);
    EXPECT_EQ(t->m_animMode, kAnimModeKeyPose);
}

TEST(ActionDispatcher, StaggerStopsTheRobotAndEndsAfterTenSteps) {
    auto r = MakeRobot();
    r->SetAction("硬直２");
    r->m_moveSpeed[0] = -0.3;
    r->m_moveSpeed[1] = 0.2;
    r->m_turnRate[1] = 0.1;
    r->m_moveState = 2;
    r->UpdateAction();
    EXPECT_EQ(r->m_moveSpeed[0], 0.0);
    EXPECT_EQ(r->m_moveSpeed[1], 0.0);
    EXPECT_EQ(r->m_turnRate[1], 0.0);
    EXPECT_EQ(r->m_moveState, 1);
    EXPECT_TRUE(r->m_shotSlots.slots[0].inUse);
    EXPECT_EQ(r->m_shotSlots.slots[0].name, "ダッシュ");
    for (int step = 2; step <= 10; ++step) {
        r->UpdateAction();
        EXPECT_EQ(r->m_currentAction, "硬直２") << step;
    }
    r->UpdateAction();  // step 11
    EXPECT_EQ(r->m_currentAction, "構え");
}

TEST(ActionDispatcher, IdleRobotStaysInItsStance) {
    CMesh mesh;
    C3DObject ground;
    BuildArena(&mesh, &ground);
    auto r = MakeRobot();
    RigLegs(*r);
    PlaceAt(*r, 1, 0, 2);
    ASSERT_TRUE(r->PlaceOnGround(&ground));
    const Vec3 start = RootPosition(*r);
    for (int i = 0; i < 300; ++i) {
        StepRobot(*r, &ground);
        ASSERT_EQ(r->m_currentAction, "構え") << i;
    }
    const Vec3 end = RootPosition(*r);
    EXPECT_FLOAT_EQ(end.x, start.x);
    EXPECT_FLOAT_EQ(end.y, start.y);
    EXPECT_FLOAT_EQ(end.z, start.z);
    EXPECT_EQ(r->m_groundHeight, 0.0);
    EXPECT_EQ(r->m_ep, r->m_maxEp);
}

struct STwistCase {
    float from, target;
    float steps[4];
    int count;
};

TEST(ActionDispatcher, TwistEasesTheShorterWay) {
    const STwistCase cases[] = {
        {3.0f, -3.0f, {-3.0f}, 1},
        {0.0f, 1.0f, {0.2f, 0.4f, 0.6f, 1.0f}, 4},
        {0.5f, 0.0f, {0.3f, 0.0f}, 2},
        {-3.0f, 3.0f, {3.0f}, 1},
        {0.1f, 0.1f, {0.1f}, 1},
    };
    for (const STwistCase& c : cases) {
        float t = c.from;
        for (int i = 0; i < c.count; ++i) {
            EaseTwist(&t, c.target);
            EXPECT_FLOAT_EQ(t, c.steps[i]) << c.from << " -> " << c.target << " step " << i;
        }
    }
}

struct SRegistered {
    const char* name;
    int group;
};

TEST(ActionRegistry, EveryRowIsSoundAndFoundInItsGroup) {
    std::string error;
    EXPECT_EQ(CheckActionRegistry(&error), 1) << error;
    const SRegistered rows[] = {
        {"硬直２", kGroupDispatcher}, {"構え", kGroupDispatcher},   {"構え４", kGroupDispatcher},
        {"構え５", kGroupDispatcher}, {"構え６", kGroupDispatcher}, {"歩行４", kGroupMove},
        {"歩行６", kGroupMove},       {"h32_歩行2", kGroupMove},    {"h21_歩行", kGroupMove},
        {"h35_歩行", kGroupMove},     {"ダッシュ４", kGroupMove},   {"ダッシュ2005a", kGroupMove},
        {"ダッシュ2005_h32", kGroupMove}, {"ダッシュ2005_h21", kGroupMove}, {"ダッシュ2005_h35", kGroupMove},
        {"h29_ブレーキ", kGroupMove}, {"h21_ブレーキ", kGroupMove}, {"ジャンプ", kGroupMove},
        {"ジャンプ２", kGroupMove},   {"ジャンプ２ＡＦＤ", kGroupMove}, {"h21_ジャンプ２ＡＦＤ", kGroupMove},
        {"空中ダッシュ", kGroupMove}, {"h21_空中ダッシュ", kGroupMove}, {"空中ダッシュ３", kGroupMove},
    };
    for (const SRegistered& row : rows) {
        const SActionScript* s = FindActionScript(row.name);
        ASSERT_NE(s, nullptr) << row.name;
        EXPECT_EQ(s->group, row.group) << row.name;
    }
    // Every listed row is found by its own name; nothing else is.
    for (int i = 0; i < GetActionScriptCount(); ++i)
        EXPECT_EQ(FindActionScript(GetActionScript(i)->name), GetActionScript(i));
    EXPECT_EQ(GetActionScript(-1), nullptr);
    EXPECT_EQ(GetActionScript(GetActionScriptCount()), nullptr);
    EXPECT_EQ(FindActionScript(""), nullptr);
    EXPECT_EQ(FindActionScript(std::string("構え\0x", 6)), nullptr);
}

}  // namespace
