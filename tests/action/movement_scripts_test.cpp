// The walking, dashing, braking and jumping scripts: speeds and twists from the held
// directions, the latched dash direction and its energy, when each movement ends and what
// follows, effects, the jumps' take-off and landing frames, and the aerial dashes.
#include "action_helpers.h"
#include "action_registry.h"
#include "action_rig.h"
#include "angle_sequences.h"
#include "key_pose_tables.h"
#include "projectile_kinds.h"
#include "robot.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace {

// A robot of the common type with the dash costs the type tables give such types.
std::unique_ptr<CRobot> MakeMover() {
    auto r = std::make_unique<CRobot>();
    r->m_actionNames[kActWalk] = "歩行６";
    r->m_actionNames[kActDash] = "ダッシュ2005a";
    r->m_actionNames[kActJump] = "ジャンプ２";
    r->m_actionNames[kActAerialJump] = "ジャンプ２ＡＦＤ";
    r->m_dashStartEnergy = 100;
    r->m_dashStepEnergy = 15;
    r->m_ep = r->m_maxEp;
    return r;
}

void Hold(CRobot& r, std::initializer_list<int> inputs, int code = kPadHeld) {
    for (int k : inputs) SetInput(r, k, code);
}

int RaisedCount(const CRobot& r, const char* kind) {
    int n = 0;
    for (const CShotSlot& s : r.m_shotSlots.slots) n += s.inUse && s.name == kind;
    return n;
}

// What the battle's spawn step does with the raised requests; every kind must be one it knows.
void LaunchAll(CRobot& r) {
    for (CShotSlot& s : r.m_shotSlots.slots) {
        if (s.inUse) {
            EXPECT_GE(FindKindRow(s.name.c_str()), 0) << "unknown kind";
        }
        s.inUse = false;
    }
}

// A speed that the step leaves as it was: the axis starts at kEarlier and is only scaled.
constexpr double kEarlier = 0.09;

struct SSpeedCase {
    const char* action;
    int frame;  // of the step that runs
    int held[3];
    double forward, side;  // in units of the stat (walk, or dash for "ダッシュ４"), or kept
    bool keptForward, keptSide;
    double scale;  // applied after the speeds (the turn halving, the gait's factor)
    float twist;
};

TEST(MovementScripts, SpeedsAndTwistFromTheHeldDirections) {
    const double d7 = 0.7f;
    const SSpeedCase cases[] = {
        {"歩行４", 5, {kInForward, kInRight, -1}, -d7, -d7, false, false, 1, 0.785f},
        {"歩行４", 5, {kInBack, kInLeft, -1}, d7, d7, false, false, 1, -2.356f},
        {"歩行４", 5, {kInRight, -1, -1}, 0, -1, true, false, 1, 1.57f},
        {"歩行４", 5, {kInForward, kInTurnLeft, -1}, -1, 0, false, true, 0.5, 0.0f},  // turning: half
        {"歩行６", 5, {kInBack, -1, -1}, 1, 0, false, true, 1, 3.14f},
        {"h32_歩行2", 3, {kInLeft, kInForward, -1}, -d7, d7, false, false, 1, -0.785f},
        {"h35_歩行", 3, {kInBack, kInRight, -1}, d7, -d7, false, false, 1, 2.356f},
        {"h21_歩行", 13, {kInForward, -1, -1}, -1, 0, false, true, 2.0f, 0.0f},  // the gait's 2.0 key
        {"ダッシュ４", 5, {kInForward, kInRight, -1}, -1, -1, false, false, 1, 0.785f},
        {"ダッシュ４", 5, {kInForward, kInBack, kInLeft}, 1, 1, false, false, 1, -0.785f},
    };
    for (const SSpeedCase& c : cases) {
        SCOPED_TRACE(std::string(c.action) + " frame " + std::to_string(c.frame));
        auto r = MakeMover();
        r->SetAction(c.action);
        r->m_actionFrame = c.frame - 1;
        r->m_moveSpeed[0] = r->m_moveSpeed[1] = kEarlier;
        for (int k : c.held)
            if (k >= 0) SetInput(*r, k, kPadHeld);
        r->UpdateAction();
        EXPECT_EQ(r->m_currentAction, c.action);
        const double stat = std::string(c.action) == "ダッシュ４" ? r->m_dashSpeed : r->m_walkSpeed;
        EXPECT_DOUBLE_EQ(r->m_moveSpeed[0], (c.keptForward ? kEarlier : c.forward * stat) * c.scale);
        EXPECT_DOUBLE_EQ(r->m_moveSpeed[1], (c.keptSide ? kEarlier : c.side * stat) * c.scale);
        EXPECT_EQ(r->m_twistTarget, c.twist);
        EXPECT_EQ(r->m_moveState, 1);
    }
}

TEST(MovementScripts, WalkFollowUpsAndItsLoop) {
    auto r = MakeMover();
    r->SetAction("歩行４");
    Hold(*r, {kInForward});
    for (int i = 0; i < 25; ++i) r->UpdateAction();
    EXPECT_EQ(r->m_actionFrame, 5);  // reset at 20, so the loop runs 1 .. 19, 0
    Hold(*r, {kInBoost, kInRightWeapon});
    r->UpdateAction();
    EXPECT_EQ(r->m_currentAction, "ダッシュ2005a");  // the boost comes before the weapon
    EXPECT_EQ(r->m_actionFrame, 0);                 // same group: it runs next step
    auto s = MakeMover();
    s->SetAction("歩行６");
    s->UpdateAction();  // no direction: the stance
    EXPECT_EQ(s->m_currentAction, "構え");
    EXPECT_EQ(s->m_moveState, 1);
}

TEST(MovementScripts, WalkingAndDashingOnTheStageMoveAtTheirSpeeds) {
    CMesh mesh;
    C3DObject ground;
    BuildArena(&mesh, &ground);
    auto r = MakeMover();
    RigLegs(*r);
    PlaceAt(*r, 0, 0, 8);
    ASSERT_TRUE(r->PlaceOnGround(&ground));
    r->SetAction("構え");
    Hold(*r, {kInForward});
    float z = RootPosition(*r).z;
    for (int step = 1; step <= 20; ++step) {
        StepRobot(*r, &ground);
        const float nz = RootPosition(*r).z;
        if (step > 8) {
            EXPECT_NEAR(z - nz, r->m_walkSpeed, 1e-5) << step;  // ahead is -Z
        }
        z = nz;
    }
    EXPECT_EQ(r->m_currentAction, "歩行６");
    EXPECT_EQ(r->m_ep, r->m_maxEp);  // walking is free

    // The boosted dash: a lump of energy at its first step, a cost per step after the 15th.
    r->m_ep = 500;
    Hold(*r, {kInBoost});
    StepRobot(*r, &ground);  // the walk queues the dash
    ASSERT_EQ(r->m_currentAction, "ダッシュ2005a");
    EXPECT_EQ(r->m_ep, 510);
    z = RootPosition(*r).z;
    for (int frame = 1; frame <= 20; ++frame) {
        StepRobot(*r, &ground);
        const float nz = RootPosition(*r).z;
        if (frame >= 3 && frame <= 14) {
            EXPECT_NEAR(z - nz, r->m_dashSpeed, 2e-3) << frame;
        }
        z = nz;
    }
    EXPECT_EQ(r->m_currentAction, "ダッシュ2005a");
    EXPECT_EQ(r->m_ep, 510 + 20 * 10 - 100 - 5 * 15);
}

struct SDashEndCase {
    const char* dash;
    const char* end;
};

TEST(MovementScripts, BoostedDashesHoldTheirDirectionAndEndWhenReleasedFrom15) {
    const SDashEndCase cases[] = {{"ダッシュ2005a", "h29_ブレーキ"},
                                  {"ダッシュ2005_h32", "構え"},
                                  {"ダッシュ2005_h21", "h21_ブレーキ"},
                                  {"ダッシュ2005_h35", "構え"}};
    for (const SDashEndCase& c : cases) {
        SCOPED_TRACE(c.dash);
        auto r = MakeMover();
        r->SetAction(c.dash);
        Hold(*r, {kInForward, kInBoost});
        r->UpdateAction();  // frame 1 latches "ahead"
        EXPECT_EQ(r->m_heldTwist, 0.0f);
        EXPECT_EQ(r->m_moveState, 0);
        ClearInputs(*r);
        Hold(*r, {kInRight});  // released boost, another direction
        for (int frame = 2; frame <= 14; ++frame) {
            r->UpdateAction();
            ASSERT_EQ(r->m_currentAction, c.dash) << frame;
            EXPECT_EQ(r->m_twistTarget, 0.0f);
            EXPECT_DOUBLE_EQ(r->m_moveSpeed[0], -r->m_dashSpeed);
            EXPECT_EQ(r->m_moveState, frame <= 5 ? 0 : 2);
        }
        // From frame 15 the boost held with a direction re-aims the dash.
        Hold(*r, {kInBoost});
        r->UpdateAction();
        EXPECT_EQ(r->m_heldTwist, 1.57f);
        EXPECT_DOUBLE_EQ(r->m_moveSpeed[1], -r->m_dashSpeed);
        SetInput(*r, kInBoost, kPadReleased);
        r->UpdateAction();
        EXPECT_EQ(r->m_currentAction, c.end);
        EXPECT_EQ(r->m_moveState, 1);  // set on the switch
    }
}

TEST(MovementScripts, DashJumpEffectsAndShortEnergy) {
    auto r = MakeMover();
    r->SetAction("ダッシュ2005a");
    Hold(*r, {kInForward, kInBoost});
    r->UpdateAction();  // frame 1: the puff and a flame
    EXPECT_EQ(RaisedCount(*r, "ダッシュ２"), 1);
    EXPECT_EQ(RaisedCount(*r, "ブースト"), 1);
    EXPECT_EQ(r->m_ep, r->m_maxEp - 100);
    LaunchAll(*r);
    SetInput(*r, kInBoost, kPadPressed);  // a fresh press on frame 2 is ignored
    r->UpdateAction();
    EXPECT_EQ(RaisedCount(*r, "ブースト") + RaisedCount(*r, "ダッシュ２"), 0);
    EXPECT_EQ(r->m_currentAction, "ダッシュ2005a");
    Hold(*r, {kInBoost, kInRightWeapon}, kPadPressed);  // on frame 3 the jump wins over the weapon
    r->UpdateAction();
    EXPECT_EQ(RaisedCount(*r, "ブースト"), 1);
    EXPECT_EQ(r->m_currentAction, "ジャンプ２");

    // Too little energy for the lump: kept, and the stagger follows at the end of the step.
    auto poor = MakeMover();
    poor->m_ep = 99;
    poor->SetAction("ダッシュ2005a");
    Hold(*poor, {kInForward, kInBoost});
    poor->UpdateAction();
    EXPECT_EQ(poor->m_ep, 99);
    EXPECT_EQ(poor->m_currentAction, "硬直２");
}

TEST(MovementScripts, BrakeSlidesThenSettles) {
    auto r = MakeMover();
    r->SetAction("h29_ブレーキ");
    r->m_heldTwist = -1.57f;
    for (int frame = 1; frame <= 9; ++frame) {
        r->UpdateAction();
        ASSERT_EQ(r->m_currentAction, "h29_ブレーキ");
        EXPECT_EQ(r->m_moveState, 3);
        EXPECT_EQ(r->m_twistTarget, frame >= 9 ? 0.0f : -1.57f);
    }
    r->UpdateAction();
    EXPECT_EQ(r->m_currentAction, "構え");
    auto j = MakeMover();
    j->SetAction("h21_ブレーキ");
    SetInput(*j, kInBoost, kPadPressed);
    j->UpdateAction();
    EXPECT_EQ(j->m_currentAction, "ジャンプ２");
}

TEST(MovementScripts, StandingJumpRisesAndLandsWhenTheScriptsImply) {
    CMesh mesh;
    C3DObject ground;
    BuildArena(&mesh, &ground);
    auto r = MakeMover();
    RigLegs(*r);
    ASSERT_TRUE(r->PlaceOnGround(&ground));
    r->SetAction("ジャンプ");
    Hold(*r, {kInForward});
    int takeOff = -1, landed = -1;
    float top = 0;
    for (int frame = 1; frame <= 60 && landed < 0; ++frame) {
        StepRobot(*r, &ground);
        if (takeOff < 0 && r->m_velocity[1] > 0) takeOff = frame;
        if (RootPosition(*r).y > top) top = RootPosition(*r).y;
        if (r->m_currentAction == "硬直２") landed = frame;
    }
    // Take-off at frame 10 with the jump speed 0.2; gravity -0.02 turns it round at frame 20,
    // 1.1 up, and at frame 30 its landing check finds it 0.2 above the ground and falling.
    EXPECT_EQ(takeOff, 10);
    EXPECT_EQ(landed, 30);
    EXPECT_NEAR(top, 1.1f, 1e-4f);
    StepRobot(*r, &ground);
    EXPECT_EQ(r->m_moveSpeed[0], 0.0);  // stopped by the stagger
    EXPECT_LE(RootPosition(*r).y, 0.0100001f);
    EXPECT_GE(RootPosition(*r).y, 0.0f);
}

TEST(MovementScripts, StandingJumpLandsOnlyAfterFrame12) {
    for (int frame : {12, 13}) {
        auto r = MakeMover();
        r->SetAction("ジャンプ");
        r->m_actionFrame = frame - 1;
        r->m_groundHeight = 0.1;
        r->m_velocity[1] = -0.05;
        r->m_moveSpeed[1] = 0.2;
        r->UpdateAction();
        EXPECT_EQ(r->m_currentAction, frame == 13 ? "硬直２" : "ジャンプ") << frame;
        EXPECT_EQ(r->m_moveSpeed[1] == 0.0, frame == 13) << frame;
    }
}

TEST(MovementScripts, CrouchJumpTakesOffOnReleaseOrAtFrame10) {
    auto r = MakeMover();
    r->SetAction("ジャンプ２");
    Hold(*r, {kInBoost});
    for (int frame = 1; frame <= 3; ++frame) r->UpdateAction();
    EXPECT_EQ(r->m_velocity[1], 0.0);
    SetInput(*r, kInBoost, kPadReleased);
    r->UpdateAction();
    EXPECT_EQ(r->m_velocity[1], r->m_jumpSpeed);
    EXPECT_EQ(r->m_currentAction, "ジャンプ２ＡＦＤ");

    auto held = MakeMover();
    held->SetAction("ジャンプ２");
    Hold(*held, {kInBoost});
    for (int frame = 1; frame <= 9; ++frame) held->UpdateAction();
    EXPECT_EQ(held->m_currentAction, "ジャンプ２");
    Hold(*held, {kInRightWeapon});  // a weapon on the take-off step wins over the aerial jump
    held->UpdateAction();
    EXPECT_EQ(held->m_velocity[1], held->m_jumpSpeed);
    EXPECT_EQ(held->m_currentAction, "ショット");

    auto dash = MakeMover();
    dash->SetAction("ジャンプ２");
    Hold(*dash, {kInBoost});
    SetInput(*dash, kInLeft, kPadPressed);  // a fresh direction: the dash
    dash->UpdateAction();
    EXPECT_EQ(dash->m_currentAction, "ダッシュ2005a");
}

struct SAirDashStartCase {
    double vy;
    int boost;
    bool direction;
    bool starts;
};

TEST(MovementScripts, AerialJumpStartsTheAirDashOnlyOnAFreshPressWhileRising) {
    const SAirDashStartCase cases[] = {
        {0.1, kPadPressed, true, true},   {0.1, kPadHeld, true, false},
        {-0.1, kPadPressed, true, false}, {0.1, kPadPressed, false, false},
    };
    for (const char* jump : {"ジャンプ２ＡＦＤ", "h21_ジャンプ２ＡＦＤ"}) {
        for (const SAirDashStartCase& c : cases) {
            auto r = MakeMover();
            r->SetAction(jump);
            r->m_groundHeight = 2.0;
            r->m_velocity[1] = c.vy;
            SetInput(*r, kInBoost, c.boost);
            if (c.direction) SetInput(*r, kInForward, kPadHeld);
            r->UpdateAction();
            const bool started = r->m_previousAction == jump;
            EXPECT_EQ(started, c.starts) << jump << " vy " << c.vy << " boost " << c.boost;
            if (started) {
                EXPECT_EQ(r->m_currentAction,
                          std::string(jump) == "ジャンプ２ＡＦＤ" ? "空中ダッシュ" : "h21_空中ダッシュ");
            }
        }
    }
}

TEST(MovementScripts, AirDashesHoverSinkAndEnd) {
    auto r = MakeMover();
    r->SetAction("空中ダッシュ");
    Hold(*r, {kInLeft});
    for (int frame = 1; frame <= 29; ++frame) {
        r->m_groundHeight = 2.0;
        r->m_velocity[1] = -0.1;
        r->UpdateAction();
        ASSERT_EQ(r->m_currentAction, "空中ダッシュ") << frame;
        EXPECT_EQ(r->m_velocity[1], 0.0);
        EXPECT_DOUBLE_EQ(r->m_moveSpeed[1], r->m_dashSpeed);
        LaunchAll(*r);
    }
    r->UpdateAction();
    EXPECT_EQ(r->m_currentAction, "構え");

    auto low = MakeMover();
    low->SetAction("空中ダッシュ");
    Hold(*low, {kInLeft});
    low->m_groundHeight = 0.3;
    low->m_velocity[1] = -0.1;
    low->UpdateAction();
    EXPECT_EQ(low->m_velocity[1], -0.1);  // not held at 0.3 and below

    auto h21 = MakeMover();
    h21->SetAction("h21_空中ダッシュ");
    Hold(*h21, {kInBack});
    for (int frame = 1; frame <= 19; ++frame) {
        h21->m_groundHeight = 2.0;
        h21->UpdateAction();
        EXPECT_DOUBLE_EQ(h21->m_velocity[1], -0.02f);
        LaunchAll(*h21);
    }
    h21->UpdateAction();
    EXPECT_EQ(h21->m_currentAction, "構え");
}

TEST(MovementScripts, RisingAirDashPaysEveryStep) {
    auto r = MakeMover();
    r->SetAction("空中ダッシュ３");
    r->m_ep = 250;
    Hold(*r, {kInForward});
    r->UpdateAction();
    EXPECT_EQ(r->m_ep, 150);
    EXPECT_DOUBLE_EQ(r->m_velocity[1], 0.015f);
    EXPECT_DOUBLE_EQ(r->m_moveSpeed[0], -0.4f);
    EXPECT_EQ(RaisedCount(*r, "ダッシュ２"), 1);
    EXPECT_EQ(RaisedCount(*r, "ブースト（左"), 1);
    LaunchAll(*r);
    r->UpdateAction();
    EXPECT_EQ(RaisedCount(*r, "ブースト（右"), 1);
    EXPECT_EQ(r->m_ep, 50);
    r->UpdateAction();  // short: the stagger ends the dash at the end of this step
    EXPECT_EQ(r->m_ep, 50);
    EXPECT_EQ(r->m_currentAction, "硬直２");
}

// Every registered action, under each input pattern, on the ground and aloft: every key pose it
// sets is in the pose tables, every animation in the sequence table, every effect a kind.
TEST(MovementScripts, EveryPoseAnimationAndKindTheScriptsNameIsKnown) {
    const int patterns[][2] = {{-1, -1},      {kInForward, -1}, {kInForward, kInRight}, {kInBack, kInLeft},
                               {kInBoost, -1}, {kInBoost, kInLeft}, {kInTurnRight, -1}};
    for (int i = 0; i < GetActionScriptCount(); ++i) {
        const std::string name = GetActionScript(i)->name;
        for (const auto& pattern : patterns) {
            for (double height : {0.0, 2.0}) {
                auto r = MakeMover();
                r->SetAction(name);
                r->m_heldTwist = height > 0 ? -1.57f : 0.785f;
                for (int k : pattern)
                    if (k >= 0) SetInput(*r, k, kPadPressed);
                for (int step = 0; step < 40 && r->m_currentAction == name; ++step) {
                    r->m_groundHeight = height;
                    r->m_poseName.clear();
                    r->m_animName.clear();
                    r->UpdateAction();
                    if (!r->m_poseName.empty()) {
                        EXPECT_NE(FindAnyKeyPose(r->m_poseName), nullptr) << name;
                    }
                    if (!r->m_animName.empty()) {
                        EXPECT_GE(FindAngleSequence(r->m_animName), 0) << name;
                    }
                    LaunchAll(*r);
                    for (int k : pattern)
                        if (k >= 0) SetInput(*r, k, kPadHeld);
                }
            }
        }
    }
}

}  // namespace
