// Type 31's transformation and flight modes: the mode picked, the cruise's hover, landing, laser
// and ram switch, the ram's payment, the boost dash's latch, its weapon requests ahead of its
// payment and its turned bursts, and the wall that ends a flight.
#include "script_record.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

const char* const kTransform = "ショット＿変形31";
const char* const kCruise = "飛行31";
const char* const kRam = "飛行31_特攻";
const char* const kBoostDash = "飛行31_ダッシュ";

// A type-31 robot standing on `ground`, or hovering `height` above it.
std::unique_ptr<CRobot> Flyer(C3DObject* ground, float height = 0) {
    auto r = MakeTypedRobot(31);
    PlaceAt(*r, 0, 0, 0);
    EXPECT_TRUE(r->PlaceOnGround(ground));
    const Vec3 p = RootPosition(*r);
    PlaceAt(*r, p.x, p.y + height, p.z);
    r->GroundContact(ground);
    return r;
}

struct STransformCase {
    const char* previous;
    double height, vy;
    bool boost;
    const char* expected;
};

TEST(FlightScripts, TransformationPicksTheMode) {
    const STransformCase cases[] = {
        {"構え", 0, 0, true, kCruise},
        {"構え", 0, 0, false, kRam},
        {"ジャンプ２", 3, 0.1, true, kCruise},  // aloft but rising
        {"ジャンプ２", 3, 0.1, false, kRam},
        {"ジャンプ２", 3, -0.1, true, "硬直２"},  // aloft and falling: no flight
        {"ジャンプ２", 3, 0, false, "硬直２"},
        // After any dash, whatever the height and the inputs.
        {"ダッシュ2005a", 0, 0, true, kBoostDash},
        {"ダッシュ2005a", 3, -0.1, false, kBoostDash},
        {"空中ダッシュ", 3, -0.1, true, kBoostDash},
        {"ダッシュ４", 0, 0.2, false, kBoostDash},
    };
    for (const STransformCase& c : cases) {
        SCOPED_TRACE(std::string(c.previous) + (c.boost ? " boost" : ""));
        auto r = MakeTypedRobot(31);
        ASSERT_EQ(r->m_actionNames[kActBack], kTransform);
        r->m_currentAction = kTransform;
        r->m_previousAction = c.previous;
        r->m_groundHeight = c.height;
        r->m_velocity[1] = c.vy;
        if (c.boost) HoldInputs(*r, {kInBoost});
        RecordStep(*r);
        EXPECT_EQ(r->m_currentAction, c.expected);
        EXPECT_EQ(r->m_previousAction, kTransform);
        EXPECT_EQ(r->m_actionFrame, 0);
        EXPECT_EQ(r->m_moveState, 3);
        EXPECT_EQ(r->m_animMode, kAnimModeKeyPose);
    }
}

TEST(FlightScripts, StanceWithBackWeaponAndBoostTakesOff) {
    CMesh mesh;
    C3DObject ground;
    BuildOpenFloor(&mesh, &ground);
    auto r = Flyer(&ground);
    r->SetAction("構え");
    HoldInputs(*r, {kInBackWeapon, kInBoost}, kPadPressed);
    RecordStep(*r, &ground);
    // The stance's switch runs the transformation at frame 0 in the same step.
    EXPECT_EQ(r->m_currentAction, kCruise);
    EXPECT_EQ(r->m_previousAction, kTransform);
    EXPECT_EQ(r->m_actionFrame, 0);
    ClearInputs(*r);
    HoldInputs(*r, {kInForward});  // climb
    float top = 0;
    for (int i = 0; i < 40; ++i) {
        StepRobot(*r, &ground);
        top = std::max(top, static_cast<float>(r->m_groundHeight));
    }
    EXPECT_EQ(r->m_currentAction, kCruise);
    EXPECT_GT(top, 1.0f);
}

TEST(FlightScripts, CruiseHoldsItsHeightAndNeverSinksBelowOneUnit) {
    CMesh mesh;
    C3DObject ground;
    BuildOpenFloor(&mesh, &ground);
    struct SCase {
        float height;
        double vy;
    };
    for (const SCase c : {SCase{5.0f, 0.0}, SCase{0.8f, -0.05}, SCase{2.0f, 0.0}}) {
        SCOPED_TRACE(c.height);
        auto r = Flyer(&ground, c.height);
        r->SetAction(kCruise);
        r->m_velocity[1] = c.vy;
        const float start = RootPosition(*r).y;
        float lowest = start, highest = start;
        for (int step = 1; step <= 200; ++step) {
            const SStepRecord s = RecordStep(*r, &ground);
            ASSERT_EQ(s.action, kCruise) << step;
            EXPECT_EQ(CountRaised(s, "ブースト"), 1);  // the booster burns every step
            lowest = std::min(lowest, RootPosition(*r).y);
            highest = std::max(highest, RootPosition(*r).y);
        }
        EXPECT_GE(lowest, start - 0.06f);  // the sinking robot is caught in its first step
        EXPECT_LE(highest, start + 0.01f);
        EXPECT_LT(RootPosition(*r).z, -40.0f);  // cruising ahead at 0.25 a step
    }
}

TEST(FlightScripts, LandingInputPinsTheCounterAndTheEndFollowsTenStepsAfter) {
    auto r = MakeTypedRobot(31);
    r->m_groundHeight = 3;
    r->SetAction(kCruise);
    for (int i = 0; i < 20; ++i) RecordStep(*r);
    HoldInputs(*r, {kInLeftWeapon, kInBoost});  // the landing acts with the boost held too
    for (int i = 0; i < 30; ++i) {
        const SStepRecord s = RecordStep(*r);
        ASSERT_EQ(s.action, kCruise);
        EXPECT_EQ(s.frame, 299);
        if (i > 0) {
            EXPECT_EQ(s.pose, "h31飛行モード_20");  // step 300 every time
        }
    }
    ClearInputs(*r);
    for (int step = 300; step < 310; ++step) {
        const SStepRecord s = RecordStep(*r);
        ASSERT_EQ(s.action, kCruise) << step;
        if (step == 307) {
            EXPECT_EQ(s.pose, "h31飛行モード_10");
        }
    }
    EXPECT_EQ(RecordStep(*r).action, "硬直２");  // step 310
}

struct SWeaponCase {
    std::initializer_list<int> held;
    bool laser;
    const char* after;  // action after the step
    int frameAfter;
};

TEST(FlightScripts, CruiseWeaponsLaserRamAndLanding) {
    const SWeaponCase cases[] = {
        {{kInRightWeapon}, true, kCruise, 21},
        {{kInRightWeapon, kInBoost}, false, kCruise, 21},
        {{kInRightWeapon, kInBackWeapon, kInBoost}, false, kCruise, 21},
        {{kInBackWeapon}, false, kRam, 8},
        {{kInRightWeapon, kInBackWeapon}, true, kCruise, 21},  // the laser comes first
        {{kInBackWeapon, kInLeftWeapon}, false, kRam, 8},
        {{kInBackWeapon, kInLeftWeapon, kInBoost}, false, kCruise, 299},
    };
    for (const SWeaponCase& c : cases) {
        auto r = MakeTypedRobot(31);
        r->m_groundHeight = 3;
        r->SetAction(kCruise);
        r->m_previousAction = "構え";
        for (int i = 0; i < 20; ++i) RecordStep(*r);
        const int ep = r->m_ep;
        HoldInputs(*r, c.held);
        const SStepRecord s = RecordStep(*r);
        SCOPED_TRACE(c.after + std::to_string(c.frameAfter));
        EXPECT_EQ(CountRaised(s, "レーザー"), c.laser ? 1 : 0);
        EXPECT_EQ(r->m_ep, c.laser ? ep - 90 : ep);
        EXPECT_EQ(s.action, c.after);
        EXPECT_EQ(s.frame, c.frameAfter);
        EXPECT_EQ(r->m_previousAction, "構え");  // no switch through the queue
    }
}

TEST(FlightScripts, LaserIsRequestedEvenWhenItsPaymentFails) {
    auto r = MakeTypedRobot(31);
    r->m_groundHeight = 3;
    r->SetAction(kCruise);
    RecordStep(*r);
    r->m_ep = 50;
    HoldInputs(*r, {kInRightWeapon});
    const SStepRecord s = RecordStep(*r);
    EXPECT_EQ(CountRaised(s, "レーザー"), 1);
    EXPECT_EQ(r->m_ep, 50);
    EXPECT_EQ(s.action, "硬直２");
}

TEST(FlightScripts, RamSwitchRunsOnAtStep9AndPays500AtStep10) {
    auto r = MakeTypedRobot(31);
    r->m_groundHeight = 3;
    r->SetAction(kCruise);
    r->m_previousAction = "構え";
    RecordStep(*r);
    HoldInputs(*r, {kInBackWeapon});
    RecordStep(*r);
    ASSERT_EQ(r->m_currentAction, kRam);
    ClearInputs(*r);
    const int ep = r->m_ep;
    RecordStep(*r);
    EXPECT_EQ(r->m_actionFrame, 9);
    EXPECT_EQ(r->m_ep, ep - r->m_epPerStep);  // the regeneration is paid back
    RecordStep(*r);
    EXPECT_EQ(r->m_ep, ep - 2 * r->m_epPerStep - 500);
    EXPECT_EQ(r->m_previousAction, "構え");
    // The charge: a hit box ahead of the root every step from 15 to 40, then the stagger after 50.
    int charges = 0;
    for (int step = 11; step <= 51; ++step) {
        const SStepRecord s = RecordStep(*r);
        charges += CountRaised(s, "格闘_突撃");
        if (step >= 15 && step <= 40) {
            EXPECT_DOUBLE_EQ(r->m_moveSpeed[0], double(-0.4f)) << step;
        }
        if (step <= 50) {
            ASSERT_EQ(s.action, kRam) << step;
        } else {
            EXPECT_EQ(s.action, "硬直２");
        }
    }
    EXPECT_EQ(charges, 26);
}

struct SLatchCase {
    std::initializer_list<int> first;  // held on step 1
    float twist;
    double forward, side;  // in units of 0.4
};

TEST(FlightScripts, BoostDashKeepsTheDirectionOfItsFirstStep) {
    const double d7 = 0.7f;
    const SLatchCase cases[] = {
        {{kInForward, kInBack}, 0.0f, -1, 0},  // forward is tested first
        {{}, 0.0f, -1, 0},                     // no direction: forward too
        {{kInBack, kInLeft}, -2.356f, d7, d7},
        {{kInRight}, 1.57f, 0, -1},
        {{kInForward, kInRight}, 0.785f, -d7, -d7},
    };
    for (const SLatchCase& c : cases) {
        SCOPED_TRACE(c.twist);
        auto r = MakeTypedRobot(31);
        r->m_groundHeight = 3;
        r->SetAction(kBoostDash);
        HoldInputs(*r, c.first);
        RecordStep(*r);
        EXPECT_EQ(r->m_heldTwist, c.twist);
        ClearInputs(*r);
        HoldInputs(*r, {kInLeft});
        for (int step = 2; step <= 20; ++step) {
            const SStepRecord s = RecordStep(*r);
            ASSERT_EQ(s.action, kBoostDash);
            EXPECT_EQ(r->m_twistTarget, c.twist);
            if (step < 15) {
                EXPECT_EQ(r->m_moveSpeed[0], 0.0);
                EXPECT_EQ(r->m_moveState, 2);
            } else {
                EXPECT_DOUBLE_EQ(r->m_moveSpeed[0], c.forward * double(0.4f));
                EXPECT_DOUBLE_EQ(r->m_moveSpeed[1], c.side * double(0.4f));
                EXPECT_EQ(r->m_moveState, step < 20 ? 0 : 2);
            }
        }
    }
}

TEST(FlightScripts, BoostDashQueuesWeaponsBeforeItPays) {
    struct SCase {
        int input;
        int step;
        int slot;  // what follows when the payment fails in that step
    };
    const SCase cases[] = {
        {kInRightWeapon, 20, kActRightHand},
        {kInLeftWeapon, 40, kActLeftHand},
        {kInRightWeapon, 19, kActStagger},  // before its window the payment's stagger wins
        {kInLeftWeapon, 41, kActStagger},
        {-1, 25, kActStagger},
    };
    for (const SCase& c : cases) {
        SCOPED_TRACE(c.step);
        auto r = MakeTypedRobot(31);
        r->m_groundHeight = 3;
        r->SetAction(kBoostDash);
        for (int i = 1; i < c.step; ++i) RecordStep(*r);
        ASSERT_EQ(r->m_currentAction, kBoostDash);
        r->m_ep = 0;
        r->m_moveState = 2;
        if (c.input >= 0) HoldInputs(*r, {c.input});
        RecordStep(*r);
        EXPECT_EQ(r->m_currentAction, r->m_actionNames[c.slot]);
        EXPECT_EQ(r->m_moveState, 1);  // set on the switch
    }
}

TEST(FlightScripts, BoostDashBurstsTurnTheRootAndRestoreItExactly) {
    auto r = MakeTypedRobot(31);
    r->m_groundHeight = 3;
    r->m_frames[kRootFrame].RotateY(0.3f);
    r->m_frames[kRootFrame].SetLocalPosition(1.5f, 2.25f, -3.0f);
    r->SetAction(kBoostDash);
    HoldInputs(*r, {kInBack, kInRight});
    Mat4 before;
    r->m_frames[kRootFrame].GetMatrix(&before);
    int dashPuffs = 0, flames = 0;
    for (int step = 1; step <= 49; ++step) {
        const SStepRecord s = RecordStep(*r);
        Mat4 after;
        r->m_frames[kRootFrame].GetMatrix(&after);
        ASSERT_EQ(std::memcmp(&before, &after, sizeof before), 0) << step;
        dashPuffs += CountRaised(s, "ダッシュ２");
        flames += CountRaised(s, "ブースト");
        EXPECT_EQ(CountRaised(s, "ブースト"), step % 2);
    }
    EXPECT_EQ(dashPuffs, 1);
    EXPECT_EQ(flames, 25);
    EXPECT_EQ(RecordStep(*r).action, "構え");  // step 50
}

TEST(FlightScripts, TheDashPuffLeavesAgainstTheLatchedDirection) {
    auto r = MakeTypedRobot(31);
    r->m_groundHeight = 3;
    r->SetAction(kBoostDash);
    HoldInputs(*r, {kInRight});
    for (int step = 1; step < 15; ++step) RecordStep(*r);
    r->UpdateAction();  // step 15
    const CShotSlot* puff = nullptr;
    for (const CShotSlot& slot : r->m_shotSlots.slots)
        if (slot.inUse && slot.name == "ダッシュ２") puff = &slot;
    ASSERT_NE(puff, nullptr);
    // The root turned by the latch, 1.57: its reversed Z axis is the facing turned a quarter.
    C3DObject turned;
    turned.RotateY(1.57f);
    const Vec3 expected = -turned.GetWorldAxisZ();
    EXPECT_NEAR(puff->direction.x, expected.x, 1e-5f);
    EXPECT_NEAR(puff->direction.z, expected.z, 1e-5f);
    EXPECT_GT(std::abs(expected.x), 0.99f);
}

TEST(FlightScripts, FlyingIntoAWallEndsInTheStagger) {
    CMesh mesh;
    C3DObject ground;
    BuildArena(&mesh, &ground);
    for (const char* mode : {kCruise, kRam}) {
        SCOPED_TRACE(mode);
        auto r = Flyer(&ground, 2.0f);
        const Vec3 p = RootPosition(*r);
        PlaceAt(*r, p.x, p.y, -5.0f);  // the wall 5 units ahead
        r->SetAction(mode);
        std::string ended;
        int step = 0;
        while (ended.empty() && ++step <= 120) {
            const SStepRecord s = RecordStep(*r, &ground);
            if (s.action != mode) ended = s.action;
        }
        EXPECT_EQ(ended, "硬直２");
        EXPECT_LE(step, 40);  // well before the mode's own end
        EXPECT_GT(RootPosition(*r).z, -10.0f);
    }
}

}  // namespace
