// The pursuers and the auto-pilot: each step from scratch, buttons from where the target
// stands and from the draws, which are taken only where the step reaches them.
#include "cpu_rig.h"

namespace {

struct SPursuitCase {
    const char* what;
    int type;
    Vec3 at;             // the target, as the own robot sees it
    double height;       // the target's height above the ground
    std::vector<int> draws;
    std::set<int> pressed;
};

TEST(CpuPursuers, ButtonsByTypeGeometryAndDraw) {
    const SPursuitCase cases[] = {
        // type -1: three 1-in-99 weapon gates, then the ground branches
        {"-1 right weapon", -1, Vec3(0, 0, -5), 0, {0}, {6}},
        {"-1 back weapon", -1, Vec3(0, 0, -5), 0, {1, 99}, {8}},
        {"-1 left weapon", -1, Vec3(0, 0, -5), 0, {1, 1, 198}, {7}},
        {"-1 a weapon skips the walk, not the turn", -1, Vec3(3, 0, -5), 0, {0}, {6, 5}},
        {"-1 dash", -1, Vec3(0, 0, -5), 0, {1, 1, 1, 0}, {11}},
        {"-1 dash forward and left", -1, Vec3(0, 0, -5), 0, {1, 1, 1, 1, 0, 0, 0}, {11, 0, 3}},
        {"-1 dash back and right", -1, Vec3(0, 0, -5), 0, {1, 1, 1, 1, 0, 1, 1}, {11, 1, 2}},
        {"-1 between 6 and 4 ahead: no forward or back, both sideways", -1, Vec3(0, 0, -5), 0, {1, 1, 1, 1, 1}, {2, 3}},
        {"-1 far ahead on the right", -1, Vec3(1, 0, -8), 0, {1, 1, 1, 1, 1}, {0, 2}},
        {"-1 near on the left backs off and turns", -1, Vec3(-2, 0, -3), 0, {1, 1, 1, 1, 1}, {1, 3, 4}},
        {"-1 just outside the turn cone", -1, Vec3(1.01f, 0, -5), 0, {1, 1, 1, 1, 1}, {2, 5}},
        {"-1 on the cone's edge", -1, Vec3(1, 0, -5), 0, {1, 1, 1, 1, 1}, {2}},
        {"-1 target aloft: never backs off", -1, Vec3(0, 3, -3), 0.1, {1, 1, 1}, {2, 3}},
        {"-1 target aloft and far", -1, Vec3(-1, 3, -9), 5, {1, 1, 1}, {0, 3}},
        // type 20: no weapons, four coins for the dash
        {"20 dash", 20, Vec3(0, 0, -5), 0, {0}, {11}},
        {"20 dash, coins forward and right", 20, Vec3(0, 0, -5), 0, {1, 0, 0, 1, 0, 1}, {11, 0, 2}},
        {"20 dash, every coin", 20, Vec3(0, 0, -5), 0, {1, 0, 0, 0, 0, 0}, {11, 0, 1, 2, 3}},
        {"20 dash, no coin", 20, Vec3(0, 0, -5), 0, {1, 0, 1, 1, 1, 1}, {11}},
        {"20 approach", 20, Vec3(0, 0, -5), 0, {1, 1}, {2, 3}},
        {"20 target aloft", 20, Vec3(2, 3, -9), 1, {}, {0, 2, 5}},
        // type -3: 1-in-2999 weapons, no walk toward a target on the ground, half-time turning
        {"-3 right weapon", -3, Vec3(3, 0, -5), 0, {0, 0}, {6, 5}},
        {"-3 left weapon, no turn", -3, Vec3(3, 0, -5), 0, {1, 1, 2999, 1}, {7}},
        {"-3 target on the ground: only a turn", -3, Vec3(3, 0, -5), 0, {1, 1, 1, 0}, {5}},
        {"-3 turn the other way", -3, Vec3(-0.2f, 0, -5), 0, {1, 1, 1, 0}, {4}},
        {"-3 the narrow cone", -3, Vec3(0.05f, 0, -5), 0, {1, 1, 1, 0}, {}},
        {"-3 no turn on a 2", -3, Vec3(3, 0, -5), 0, {1, 1, 1, 1}, {}},
        {"-3 target aloft", -3, Vec3(0, 3, -8), 0.1, {1, 1, 1, 1}, {0, 2, 3}},
    };
    for (const SPursuitCase& c : cases) {
        SCpuRig rig;
        rig.PlaceTarget(c.at);
        rig.target->m_groundHeight = c.height;
        CScriptedDraws draws(c.draws);
        DirtyButtons(*rig.robot);
        rig.Think(c.type);
        EXPECT_EQ(rig.Pressed(), c.pressed) << c.what;
        EXPECT_EQ(draws.Used(), int(c.draws.size())) << c.what;
        // They keep no state of their own.
        EXPECT_EQ(rig.ai.m_state, "") << c.what;
        EXPECT_EQ(rig.ai.m_stateFrames, 0) << c.what;
    }
}

TEST(CpuPursuers, SeeTheTargetFromTheirOwnHeading) {
    // Turned to face +X, a target 8 along +X is straight ahead: forward, both sideways.
    SCpuRig rig;
    rig.robot->m_frames[kRootFrame].SetOrientation(Vec3(-1, 0, 0), Vec3(0, 1, 0));
    rig.robot->m_frames[kRootFrame].SetLocalPosition(2, 0, 2);
    rig.PlaceTarget(Vec3(10, 0, 2));
    CScriptedDraws draws({1, 1, 1, 1, 1});
    rig.Think(-1);
    EXPECT_EQ(rig.Pressed(), std::set<int>({0, 2, 3}));
}

}  // namespace
