// The CPU opponent framework: buttons become pad values the way the pad path expects, the
// dispatcher picks each type's routine, a robot without a target stands idle, and the two
// ground probes answer against a box ground.
#include "cpu_rig.h"
#include "sys_rand.h"

namespace {

TEST(CpuButtons, PressedFlagsBecomeHeldAndTheTargetChangeAFreshPress) {
    struct SCase {
        const char* what;
        std::vector<int> pressed;
        int values[kInputCount];
    };
    const SCase cases[] = {
        {"nothing", {}, {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
        {"walk and turn", {0, 3, 4}, {3, 0, 0, 3, 3, 0, 0, 0, 0, 0, 0, 0}},
        {"change target is pressed, not held", {9}, {0, 0, 0, 0, 0, 0, 0, 0, 0, 2, 0, 0}},
        {"weapons and boost", {6, 7, 8, 11}, {0, 0, 0, 0, 0, 0, 3, 3, 3, 0, 0, 3}},
    };
    for (const SCase& c : cases) {
        std::unique_ptr<CRobot> r = std::make_unique<CRobot>();
        DirtyButtons(*r);
        r->ClearVirtualButtons();
        for (int k : c.pressed) r->m_input[k] = true;
        CCpuAi::ConvertButtons(r.get());
        for (int k = 0; k < kInputCount; ++k) EXPECT_EQ(r->m_padState[k], c.values[k]) << c.what << " value " << k;
    }
    // A released button is 0, never 1; value 10 is left as it stood.
    std::unique_ptr<CRobot> r = std::make_unique<CRobot>();
    DirtyButtons(*r);
    for (bool& f : r->m_input) f = false;
    CCpuAi::ConvertButtons(r.get());
    for (int k = 0; k < kInputCount; ++k) EXPECT_EQ(r->m_padState[k], k == 10 ? 1 : 0) << k;
}

TEST(CpuDispatch, TypesWithoutRoutinesAndTheIdleType) {
    SCpuRig rig;
    rig.PlaceTarget(Vec3(3, 0, -8));
    CScriptedDraws draws;
    // -2 stands idle every step, value 10 included; 0 only converts what the pad left.
    DirtyButtons(*rig.robot);
    rig.Think(-2);
    for (int k = 0; k < kInputCount; ++k) EXPECT_EQ(rig.robot->m_padState[k], 0) << k;
    EXPECT_EQ(draws.Used(), 0);
    rig.robot->ClearVirtualButtons();
    rig.robot->m_input[2] = true;
    rig.Think(0);
    EXPECT_EQ(rig.robot->m_padState[2], 3);
    EXPECT_EQ(rig.Pressed(), std::set<int>({2}));

    // A type not in the table behaves as -1, draw for draw.
    const std::vector<int> script = {5, 5, 5, 5, 0, 1, 0, 1, 1};
    for (int type : {8, 19, 21, -4, 1000}) {
        draws.Reset(script);
        rig.Think(-1);
        std::set<int> expected = rig.Pressed();
        int used = draws.Used();
        draws.Reset(script);
        rig.Think(type);
        EXPECT_EQ(rig.Pressed(), expected) << type;
        EXPECT_EQ(draws.Used(), used) << type;
    }
}

TEST(CpuDispatch, NoTargetLeavesEveryButtonUpAndDrawsNothing) {
    for (int type : {-3, -1, 2, 3, 4, 5, 6, 7, 20}) {
        SCpuRig rig;
        CScriptedDraws draws;
        DirtyButtons(*rig.robot);
        rig.ai.m_type = type;
        rig.ai.Think(rig.robot.get(), nullptr, &rig.ground);
        for (int k = 0; k < kInputCount; ++k) EXPECT_EQ(rig.robot->m_padState[k], 0) << type << " value " << k;
        EXPECT_TRUE(rig.Pressed().empty()) << type;
        EXPECT_EQ(draws.Used(), 0) << type;
    }
    // Type 1 never looks at a target, so it wanders on without one.
    SCpuRig rig;
    CScriptedDraws draws({0, 0, 0});
    rig.ai.m_type = 1;
    rig.ai.m_state = "移動";
    rig.ai.Think(rig.robot.get(), nullptr, &rig.ground);
    EXPECT_EQ(rig.Pressed(), std::set<int>({0, 2}));
}

TEST(CpuProbes, GroundBelowAndAlongARay) {
    SCpuRig rig;
    C3DObject* g = &rig.ground;
    struct SBelow {
        Vec3 at;
        bool ground;
    };
    const SBelow below[] = {
        {Vec3(0, 0, 0), true}, {Vec3(19, 5, -19), true}, {Vec3(21, 0, 0), false},
        {Vec3(0, 0, -25), false}, {Vec3(0, -2, 0), false},  // under the floor: nothing below
    };
    for (const SBelow& c : below)
        EXPECT_EQ(CCpuAi::IsGroundBelow(c.at.x, c.at.y, c.at.z, g), c.ground) << c.at.x << "," << c.at.y << "," << c.at.z;

    struct SRay {
        Vec3 origin, dir;
        float distance;
    };
    const SRay rays[] = {
        {Vec3(0, 4, 0), Vec3(0, -1, 0), 5.0f},
        {Vec3(0, 4, 0), Vec3(0, -0.01f, 0), 5.0f},   // the direction is not normalised
        {Vec3(0, 2, 0), Vec3(3, -3, 0), 4.2426405f},  // slanted: (3, -3, 0) to the floor
        {Vec3(0, 4, 0), Vec3(0, 1, 0), 9000.0f},     // away from the floor
        {Vec3(0, 4, 0), Vec3(0, 0, 0), 9000.0f},     // a robot standing still
        {Vec3(18, 0, 0), Vec3(1, 0, 0), 9000.0f},    // level, off the edge
    };
    for (const SRay& c : rays)
        EXPECT_NEAR(CCpuAi::GroundDistance(c.origin.x, c.origin.y, c.origin.z, c.dir.x, c.dir.y, c.dir.z, g), c.distance,
                    1e-4f);

    // No ground at all: nothing below, nothing along.
    EXPECT_FALSE(CCpuAi::IsGroundBelow(0, 0, 0, nullptr));
    EXPECT_EQ(CCpuAi::GroundDistance(0, 4, 0, 0, -1, 0, nullptr), 9000.0f);

    // A ground node placed away from the origin is probed where it stands.
    rig.ground.SetLocalPosition(100, 0, 0);
    EXPECT_TRUE(CCpuAi::IsGroundBelow(100, 0, 0, g));
    EXPECT_FALSE(CCpuAi::IsGroundBelow(0, 0, 0, g));
    EXPECT_NEAR(CCpuAi::GroundDistance(100, 4, 0, 0, -1, 0, g), 5.0f, 1e-4f);
}

TEST(CpuDraws, RollsAndChancesTakeOneDrawEach) {
    CScriptedDraws draws({0, 98, 99, 32767, 1});
    EXPECT_EQ(CpuRoll(99), 1);
    EXPECT_EQ(CpuRoll(99), 99);
    EXPECT_EQ(CpuRoll(99), 1);        // 99 mod 99
    EXPECT_EQ(CpuRoll(2999), 2778);   // the top of the 15-bit range
    EXPECT_FALSE(CpuChance(2));
    EXPECT_EQ(draws.Used(), 5);
}

TEST(CpuDraws, WithoutAScriptTheGameGeneratorDraws) {
    GameSrand(77);
    const int a = GameRand(), b = GameRand();
    GameSrand(77);
    EXPECT_EQ(CpuRand(), a);
    EXPECT_EQ(CpuRand(), b);
}

}  // namespace
