// The hit reactions, destruction and the battle's closing performances: when a knocked-down
// robot lies, gets up and on which side it falls, how long a stagger lasts, when a guard ends
// or counters, the wreck's one help field and its revival, and the victory and defeat poses.
#include "script_record.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

namespace {

// A type-29 robot standing on `ground`.
std::unique_ptr<CRobot> Standing(C3DObject* ground) {
    auto r = MakeTypedRobot(29);
    PlaceAt(*r, 0, 0, 0);
    EXPECT_TRUE(r->PlaceOnGround(ground));
    r->GroundContact(ground);
    return r;
}

TEST(ReactionScripts, KnockDownEnteredStillLiesAtOnceAndGetsUpAfterStep230) {
    CMesh mesh;
    C3DObject ground;
    BuildOpenFloor(&mesh, &ground);
    auto r = Standing(&ground);
    r->m_vp = 0;
    r->m_invincible = 0;
    r->SetAction("h29_被弾硬直");
    SStepRecord s = RecordStep(*r, &ground);
    EXPECT_EQ(s.frame, 101);  // no tumble: the lying phase ran in this first step
    EXPECT_DOUBLE_EQ(r->m_velocity[1], -5 * r->m_gravity);  // the bounce (no gravity on the ground)
    EXPECT_EQ(r->m_moveState, 3);
    int steps = 1, lastFrame = s.frame;
    bool rested = false;
    while (s.action == "h29_被弾硬直" && steps < 400) {
        lastFrame = s.frame;
        s = RecordStep(*r, &ground);
        ++steps;
        rested = rested || s.frame == 200;
    }
    EXPECT_TRUE(rested);
    EXPECT_EQ(lastFrame, 230);  // the step after it (231) ends the knock-down
    EXPECT_EQ(s.action, "構え");
    EXPECT_EQ(r->m_vp, r->m_maxVp);
    EXPECT_EQ(r->m_invincible, 25);
    EXPECT_EQ(r->m_moveState, 1);
}

struct SSideCase {
    float vz;  // along the root's Z axis; the robot faces -Z
    const char* tumbleFirst;
    const char* lyingPart;  // every lying pose holds this text
    const char* otherPart;  // and none this one
};

TEST(ReactionScripts, KnockDownFallsOnTheSideItWasPushedTo) {
    const SSideCase cases[] = {
        {0.3f, "h29_吹っ飛び_10", "仰向け", "うつ伏せ"},   // pushed back: on its back
        {-0.3f, "h29_吹っ飛び_30", "うつ伏せ", "仰向け"},  // pushed forward: on its face
    };
    CMesh mesh;
    C3DObject ground;
    BuildOpenFloor(&mesh, &ground);
    for (const SSideCase& c : cases) {
        SCOPED_TRACE(c.tumbleFirst);
        auto r = Standing(&ground);
        r->m_frames[kRootFrame].RotateY(0.7f);  // sides follow the root, not the world
        const Vec3 z = r->m_frames[kRootFrame].GetLocalAxisZ();
        r->m_velocity[0] = z.x * c.vz;
        r->m_velocity[2] = z.z * c.vz;
        r->SetAction("h29_被弾硬直");
        SStepRecord s = RecordStep(*r, &ground);
        EXPECT_EQ(s.pose, c.tumbleFirst);
        EXPECT_EQ(s.poseFrames, 3);
        EXPECT_GT(r->m_velocity[1], 0.1);  // the hop
        std::set<std::string> lying;
        bool downPose = false;
        for (int i = 0; i < 300 && s.action == "h29_被弾硬直"; ++i) {
            s = RecordStep(*r, &ground);
            if (s.pose == "ダウン_00") downPose = true;
            if (s.frame > 100 && s.frame < 200 && !s.pose.empty()) lying.insert(s.pose);
        }
        EXPECT_TRUE(downPose);
        EXPECT_FALSE(lying.empty());
        for (const std::string& p : lying) {
            EXPECT_TRUE(NameContains(p, c.lyingPart)) << p.size();
            EXPECT_FALSE(NameContains(p, c.otherPart));
        }
        EXPECT_EQ(s.action, "構え");
    }
}

TEST(ReactionScripts, GetUpTurnsTheRootUnderABodyThatKeepsItsFacing) {
    auto r = MakeTypedRobot(29);
    r->SetAction("h29_被弾硬直");
    r->m_actionFrame = 200;
    r->m_heldTwist = 1.0f;
    r->m_vp = 0;
    HoldInputs(*r, {kInTurnRight});
    r->UpdateAction();
    const double yaw = r->m_turnRate[1];
    EXPECT_DOUBLE_EQ(yaw, 2.0f * r->m_turnSpeed);
    EXPECT_EQ(r->m_heldTwist, static_cast<float>(0.0f - static_cast<float>(yaw)));  // cleared at 201
    EXPECT_EQ(r->m_twistTarget, r->m_heldTwist);
    EXPECT_EQ(r->m_vp, r->m_vpRegen + 30);
}

struct SStunCase {
    int vp;
    int lastStep;  // the step that ends the stagger
};

TEST(ReactionScripts, HitStunEndsAtOnceWithFullBalanceOtherwiseAfterStep20) {
    const SStunCase cases[] = {{1000, 1}, {1500, 1}, {999, 21}, {0, 21}};
    for (const SStunCase& c : cases) {
        SCOPED_TRACE(c.vp);
        auto r = MakeTypedRobot(29);
        r->SetAction("被弾硬直２");
        r->m_vp = c.vp;
        int step = 0;
        SStepRecord s;
        do {
            s = RecordStep(*r);
            ++step;
            if (step == 1) {
                EXPECT_EQ(s.pose, "硬直_00");
            }
            if (s.action == "被弾硬直２") {
                EXPECT_EQ(r->m_moveState, step < 10 ? 3 : 2) << step;
            }
        } while (s.action == "被弾硬直２" && step < 100);
        EXPECT_EQ(step, c.lastStep);
        EXPECT_EQ(s.action, "構え");
        EXPECT_EQ(r->m_moveState, 1);
    }
}

struct SGuardCase {
    const char* what;
    std::initializer_list<int> held;
    int lastStep;
    const char* next;
};

TEST(ReactionScripts, GuardEndsOnInputsCountersAfterTwoQuietStepsOrTimesOut) {
    const SGuardCase cases[] = {
        {"weapon from the hit step", {kInRightWeapon}, 2, "h29_ガード反撃"},
        {"back weapon", {kInBackWeapon}, 2, "h29_ガード反撃"},
        {"direction with weapon", {kInForward, kInLeftWeapon}, 1, "構え"},
        {"boost", {kInBoost}, 1, "構え"},
        {"nothing", {}, 16, "構え"},
    };
    for (const SGuardCase& c : cases) {
        SCOPED_TRACE(c.what);
        auto r = MakeTypedRobot(29);
        r->SetAction("h29_ガード");  // as the hit starts it, with the damage of that step
        r->m_framesSinceDamage = 0;
        HoldInputs(*r, c.held);
        int step = 0;
        SStepRecord s;
        do {
            ++r->m_framesSinceDamage;  // the robot's counters run before its action
            s = RecordStep(*r);
            ++step;
        } while (s.action == "h29_ガード" && step < 100);
        EXPECT_EQ(step, c.lastStep);
        EXPECT_EQ(s.action, c.next);
    }
}

TEST(ReactionScripts, GuardCounterLungesAndReturnsToTheStance) {
    auto r = MakeTypedRobot(29);
    r->SetAction("h29_ガード反撃");
    for (int step = 1; step <= 6; ++step) {
        const SStepRecord s = RecordStep(*r);
        EXPECT_EQ(s.action, step < 6 ? "h29_ガード反撃" : "構え");
        EXPECT_DOUBLE_EQ(r->m_moveSpeed[0], double(-0.4f));
        if (step < 6) {
            EXPECT_EQ(r->m_moveState, 0);
        }
    }
}

TEST(ReactionScripts, WreckLeavesOneHelpFieldWaitsWhileDeadAndGetsUpWhenRevived) {
    CMesh mesh;
    C3DObject ground;
    BuildOpenFloor(&mesh, &ground);
    auto r = Standing(&ground);
    r->SetAction("構え");
    r->m_hp = 0;
    int fields = 0, dust = 0;
    for (int step = 0; step < 300; ++step) {
        if (step == 50) r->SetNextAction(r->m_actionNames[kActVictory]);  // the battle ends meanwhile
        const SStepRecord s = RecordStep(*r, &ground);
        ASSERT_EQ(s.action, "撃破２") << step;
        fields += CountRaised(s, "ＨＥＬＰフィールド");
        dust += CountRaised(s, "ダッシュ");
    }
    EXPECT_EQ(fields, 1);
    EXPECT_EQ(dust, 1);  // once, on the first grounded step
    EXPECT_EQ(r->m_nextAction, r->m_actionNames[kActVictory]);
    EXPECT_LT(r->m_groundHeight, 0.1);
    r->m_nextAction.clear();
    r->m_hp = 10;  // what the help field gives back
    EXPECT_EQ(RecordStep(*r, &ground).action, "構え");
}

// The performances as step:pose/steps lists.
struct SFinaleCase {
    const char* action;
    const char* poses;
};

std::string PosesOf(CRobot& r, int steps) {
    std::string out;
    for (int step = 1; step <= steps; ++step) {
        const SStepRecord s = RecordStep(r);
        if (!s.pose.empty()) out += std::to_string(step) + ":" + s.pose + "/" + std::to_string(s.poseFrames) + " ";
    }
    return out;
}

TEST(ReactionScripts, VictoriesAndDefeatsPoseByStepAndNeverEnd) {
    const SFinaleCase cases[] = {
        {"勝利１", "1:勝利１_00/10 11:勝利１_10/10 21:勝利１_30/20 41:勝利１_40/10 51:勝利１_50/10 61:勝利１_60/10 "},
        {"勝利サイレン", "1:勝利サイレン_10/10 16:勝利サイレン_40/10 26:勝利サイレン_50/5 "},
        {"勝利ジャスティス",
         "1:勝利ジャスティス_10/5 11:勝利ジャスティス_20/5 16:勝利ジャスティス_30/5 26:勝利ジャスティス_40/5 "},
        {"勝利忍者ジャンプ", "1:勝利忍者_10/5 6:勝利忍者_20/5 11:勝利忍者_30/5 16:勝利忍者_40/5 30:勝利忍者_50/5 "},
        {"勝利フラット", "1:勝利フラット_10/5 11:勝利フラット_20/5 21:勝利フラット_30/5 "},
        {"h32b_勝利2(2)",
         "1:h32b_勝利2(2)_16/8 9:h32b_勝利2(2)_18/1 10:h32b_勝利2(2)_30/6 16:h32b_勝利2(2)_32/1 "
         "17:h32b_勝利2(2)_50/9 26:h32b_勝利2(2)_52/1 27:h32b_勝利2(2)_60/4 31:h32b_勝利2(2)_62/1 "},
        {"h32b_勝利", "1:h32b_勝利_10/5 6:h32b_勝利_30/10 16:h32b_勝利_50/10 26:h32b_勝利_60/5 "},
        {"h32b_敗北",
         "1:h32b_敗北_10/5 6:h32b_敗北_20/5 11:h32b_敗北_25/2 13:h32b_敗北_30/3 16:h32b_敗北_41/5 "
         "21:h32b_敗北_50/5 26:h32b_敗北_60/5 31:h32b_敗北_63/1 "},
        {"敗北１", "1:敗北１_20/20 11:敗北１_20/5 16:敗北１_10/20 21:敗北１_20/5 26:敗北１_30/10 "},
        {"敗北２", "1:敗北２_10/10 16:敗北２_35/15 31:敗北２_50/15 "},
    };
    for (const SFinaleCase& c : cases) {
        SCOPED_TRACE(c.action);
        auto r = MakeTypedRobot(29);
        r->SetAction(c.action);
        r->m_velocity[0] = 0.2;
        r->m_moveSpeed[1] = 0.1;
        r->m_turnRate[1] = 0.1;
        RecordStep(*r);
        EXPECT_EQ(r->m_velocity[0], 0.0);  // stopped in the first five steps
        EXPECT_EQ(r->m_moveSpeed[1], 0.0);
        EXPECT_EQ(r->m_turnRate[1], 0.0);
        r->SetAction(c.action);
        EXPECT_EQ(PosesOf(*r, 300), c.poses);
        EXPECT_EQ(r->m_currentAction, c.action);
        EXPECT_TRUE(r->m_nextAction.empty());
        EXPECT_EQ(r->m_animMode, kAnimModeKeyPose);
    }
}

TEST(ReactionScripts, NinjaLeapLandsSoftlyWithoutTheHardLandingStagger) {
    CMesh mesh;
    C3DObject ground;
    BuildOpenFloor(&mesh, &ground);
    auto r = MakeTypedRobot(31);
    PlaceAt(*r, 0, 0, 0);
    ASSERT_TRUE(r->PlaceOnGround(&ground));
    const float floorY = RootPosition(*r).y;
    ASSERT_EQ(r->m_actionNames[kActVictory], "勝利忍者ジャンプ");
    r->SetAction("勝利忍者ジャンプ");
    float top = floorY;
    for (int step = 1; step <= 120; ++step) {
        const SStepRecord s = RecordStep(*r, &ground);
        ASSERT_EQ(s.action, "勝利忍者ジャンプ") << step;
        top = std::max(top, RootPosition(*r).y);
    }
    EXPECT_GT(top - floorY, 0.5f);
    EXPECT_GT(RootPosition(*r).z, 1.0f);  // a leap backwards
    EXPECT_LT(r->m_groundHeight, 0.02);
}

}  // namespace
