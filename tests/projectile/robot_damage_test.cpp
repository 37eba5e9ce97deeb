// CRobot::ApplyHit: armour divides the HP damage, balance decides the push and the reactions,
// guards and invincibility soften the hit, and the gauges never divide by zero.
#include "projectile_fixture.h"

namespace {

struct DamageCase {
    const char* what;
    // The robot before the hit (defaults: HP, AP, VP 100, maximum AP 100, k 2, threshold 300).
    int ap = 100, maxAp = 100, vp = 100, invincible = 0;
    const char* action = "";
    const char* guardName = "";
    double height = 0, startVz = 0;
    // The hit, along +z.
    int hp = 50, apDamage = 0, impact = 0;
    bool down = false;
    // After it.
    int expectHp = 75, expectAp = 100, expectVp = 100;
    double expectVz = 0;
};

TEST(RobotDamage, GaugesAndPushFollowTheHit) {
    auto c = [](const char* what) {
        DamageCase d;
        d.what = what;
        return d;
    };
    std::vector<DamageCase> cases;
    {
        DamageCase d = c("full armour with k 2 halves the damage");
        cases.push_back(d);
        d = c("no armour left takes it whole");
        d.ap = 0, d.expectHp = 50, d.expectAp = 0;
        cases.push_back(d);
        d = c("armour is spent before HP");
        d.apDamage = 100, d.expectHp = 50, d.expectAp = 0;
        cases.push_back(d);
        d = c("AP never goes below 0");
        d.apDamage = 500, d.expectHp = 50, d.expectAp = 0;
        cases.push_back(d);
        d = c("a maximum AP of 0 counts as no armour");
        d.maxAp = 0, d.expectHp = 50;
        cases.push_back(d);
        d = c("a negative maximum AP too");
        d.maxAp = -5, d.expectHp = 50;
        cases.push_back(d);
        d = c("negative HP damage heals through the armour");
        d.hp = -10, d.expectHp = 105;
        cases.push_back(d);
        d = c("invincible: a tenth of the damage and no reaction");
        d.invincible = 5, d.hp = 100, d.impact = 2000, d.expectHp = 95;
        cases.push_back(d);
        d = c("knocked down: no reaction, no push");
        d.action = "ダウン", d.impact = 2000;
        cases.push_back(d);
        d = c("impact 800 pushes by 0.2");
        d.vp = 1000, d.impact = 800, d.expectVp = 200, d.expectVz = 0.2;
        cases.push_back(d);
        d = c("impact 2000 pushes by the cap of 0.3");
        d.vp = 5000, d.impact = 2000, d.expectVp = 3000, d.expectVz = 0.3;
        cases.push_back(d);
        d = c("an impact equal to the threshold does not push");
        d.vp = 1000, d.impact = 300, d.expectVp = 700;
        cases.push_back(d);
        d = c("off the ground the impact triples");
        d.vp = 1000, d.height = 0.5, d.impact = 100, d.expectVp = 700;
        cases.push_back(d);
        d = c("dashing doubles it");
        d.vp = 1000, d.action = "ダッシュ４", d.impact = 100, d.expectVp = 800;
        cases.push_back(d);
        d = c("shooting adds half, truncated");
        d.vp = 1000, d.action = "ショット", d.impact = 101, d.expectVp = 849;
        cases.push_back(d);
        d = c("a huge impact off the ground neither overflows nor pushes past the cap");
        d.height = 0.5, d.impact = 2000000000, d.expectVp = 0, d.expectVz = 0.3;
        cases.push_back(d);
        d = c("a force-down hit empties VP");
        d.down = true, d.expectVp = 0;
        cases.push_back(d);
        d = c("running out of VP replaces the velocity");
        d.startVz = 1.0, d.impact = 400, d.expectVp = 0, d.expectVz = 0.1;
        cases.push_back(d);
        d = c("an empty guard slot never guards");
        d.impact = 50, d.expectVp = 50;
        cases.push_back(d);
        d = c("guarding keeps VP, halves damage and still pushes");
        d.action = "ガード", d.guardName = "ガード", d.impact = 800, d.expectHp = 88, d.expectVz = 0.2;
        cases.push_back(d);
        d = c("a guard ignores a force-down");
        d.action = "ガード", d.guardName = "ガード", d.down = true, d.expectHp = 88;
        cases.push_back(d);
    }
    for (const DamageCase& d : cases) {
        SCOPED_TRACE(d.what);
        CRobot r;
        r.m_ap = d.ap;
        r.m_maxAp = d.maxAp;
        r.m_vp = d.vp;
        r.m_invincible = d.invincible;
        r.m_currentAction = d.action;
        r.m_actionNames[kActGuard] = d.guardName;
        r.m_actionNames[kActKnockDown] = "ダウン";
        r.m_groundHeight = d.height;
        r.m_velocity[2] = d.startVz;
        r.ApplyHit(d.hp, d.apDamage, d.impact, 0, 0, 1, d.down);
        EXPECT_EQ(r.m_hp, d.expectHp);
        EXPECT_EQ(r.m_ap, d.expectAp);
        EXPECT_EQ(r.m_vp, d.expectVp);
        EXPECT_NEAR(r.m_velocity[2], d.expectVz, 1e-6);
        EXPECT_EQ(r.m_velocity[0], 0);
        EXPECT_EQ(r.m_lastDamage, 100 - d.expectHp);
        EXPECT_EQ(r.m_framesSinceDamage, 0);
    }
}

TEST(RobotDamage, CombosAddUpWithinTenStepsAndHpStopsAtZero) {
    struct Case {
        int gap;
        int combo;
    };
    for (const Case& c : {Case{10, 50}, Case{11, 25}, Case{0, 50}}) {
        CRobot r;
        r.ApplyHit(50, 0, 0, 0, 0, 1, false);
        r.m_framesSinceDamage = c.gap;
        r.ApplyHit(50, 0, 0, 0, 0, 1, false);
        EXPECT_EQ(r.m_comboDamage, c.combo) << c.gap;
        EXPECT_EQ(r.m_lastDamage, 25);
    }
    CRobot r;
    r.m_hp = 10;
    r.ApplyHit(1000, 0, 0, 0, 0, 1, false);
    EXPECT_EQ(r.m_hp, 0);
    EXPECT_EQ(r.m_lastDamage, 500);
}

// The reactions go through the action queue, which the action routines own.
TEST(RobotDamage, HitsStartTheirReactionsAndSparks) {
    if (!FireRequestsWork()) GTEST_SKIP() << "the action queue and fire requests are not built yet";
    struct Case {
        const char* what;
        const char* action;
        bool holdForward;
        int impact;
        const char* expectAction;
        const char* spark;
        int expectHp;
    };
    const Case cases[] = {
        {"a robot standing in its stance guards", "構え", false, 100, "ガード", "ガード", 88},
        {"moving in its stance it does not", "構え", true, 100, "構え", "被弾", 75},
        {"a hard hit stuns", "歩行４", false, 400, "被弾硬直", "被弾", 75},
        {"a hit that empties VP knocks down", "歩行４", false, 5000, "ダウン", "被弾", 75},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CRobot r;
        r.m_vp = 1000;
        r.m_actionNames[kActGuard] = "ガード";
        r.m_actionNames[kActHitStun] = "被弾硬直";
        r.m_actionNames[kActKnockDown] = "ダウン";
        r.m_currentAction = c.action;
        r.m_input[0] = c.holdForward;
        r.ApplyHit(50, 0, c.impact, 0, 0, 1, false);
        EXPECT_EQ(r.m_currentAction, c.expectAction);
        EXPECT_EQ(r.m_hp, c.expectHp);
        EXPECT_EQ(CountRequests(r, c.spark), 1);
    }
}

}  // namespace
