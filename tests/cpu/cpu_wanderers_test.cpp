// The wanderers: states and their frame counts, the draws each state takes, the diagonal
// directions, the turn back before an edge, and the change of target when the target is down.
#include "cpu_rig.h"

namespace {

struct SStepCase {
    const char* what;
    int type;
    const char* state;
    int frames;
    std::vector<int> draws;
    const char* nextState;
    int nextFrames;
    std::set<int> pressed;
};

// One step from a set state with the intent (x, z) = (1, 1) on a robot standing on the floor.
void RunCases(const SStepCase* cases, size_t count) {
    for (size_t i = 0; i < count; ++i) {
        const SStepCase& c = cases[i];
        SCpuRig rig;
        rig.PlaceTarget(Vec3(0, 0, -5));
        rig.ai.m_state = c.state;
        rig.ai.m_stateFrames = c.frames;
        rig.ai.m_move = Vec3(1, 0, 1);
        CScriptedDraws draws(c.draws);
        rig.Think(c.type);
        EXPECT_EQ(rig.ai.m_state, c.nextState) << c.what;
        EXPECT_EQ(rig.ai.m_stateFrames, c.nextFrames) << c.what;
        EXPECT_EQ(rig.Pressed(), c.pressed) << c.what;
        EXPECT_EQ(draws.Used(), int(c.draws.size())) << c.what;
    }
}

TEST(CpuWanderers, TypeOneSteps) {
    const SStepCase cases[] = {
        {"a new record walks nowhere yet", 1, "", 0, {}, "移動", 0, {0, 2}},
        {"unknown state", 1, "ダッシュ", 0, {}, "移動", 0, {0, 2}},
        {"new direction back and left", 1, "移動", 0, {0, 1, 1}, "移動", 0, {1, 3}},
        {"new direction forward and right", 1, "移動", 0, {0, 0, 0}, "移動", 0, {0, 2}},
        {"to facing the target", 1, "移動", 0, {1, 0}, "敵捕捉", 0, {0, 2}},
        {"walks on", 1, "移動", 0, {1, 1}, "移動", 0, {0, 2}},
        {"facing: turns, stands", 1, "敵捕捉", 0, {1}, "敵捕捉", 0, {4, 5}},
        {"facing ends with a direction", 1, "敵捕捉", 0, {0, 1, 0}, "移動", 0, {1, 2, 4, 5}},
        // on ground again: leaves and walks the same step
        {"leaves the edge and draws at once", 1, "落下回避", 0, {1, 1}, "移動", 0, {0, 2}},
    };
    RunCases(cases, std::size(cases));
}

TEST(CpuWanderers, TypeTwoSteps) {
    const SStepCase cases[] = {
        {"a new record", 2, "", 7, {}, "移動", 0, {0, 2}},
        {"roll 1: new direction, frames go on", 2, "移動", 7, {0, 1, 1}, "移動", 8, {1, 3}},
        {"roll 2: new direction", 2, "移動", 7, {1, 0, 1}, "移動", 8, {0, 3}},
        {"roll 3: burst", 2, "移動", 7, {2}, "Ｒ攻撃", 0, {0, 2}},
        {"roll 4: dash", 2, "移動", 7, {3}, "ダッシュ", 0, {0, 2}},
        {"roll 5: face", 2, "移動", 7, {4}, "敵捕捉", 0, {0, 2}},
        {"roll 6: nothing", 2, "移動", 7, {5}, "移動", 8, {0, 2}},
        {"roll 99: nothing", 2, "移動", 7, {98}, "移動", 8, {0, 2}},
        {"dash boosts on its first step", 2, "ダッシュ", 0, {}, "ダッシュ", 1, {0, 2, 11}},
        {"dash walks on", 2, "ダッシュ", 1, {}, "ダッシュ", 2, {0, 2}},
        {"dash ends in a burst", 2, "ダッシュ", 29, {}, "Ｒ攻撃", 0, {0, 2}},
        {"burst with the back weapon", 2, "Ｒ攻撃", 0, {0}, "Ｒ攻撃", 1, {0, 2, 8, 11}},
        {"burst with the right hand", 2, "Ｒ攻撃", 4, {1}, "Ｒ攻撃", 5, {0, 2, 6, 11}},
        {"burst ends on its tenth step", 2, "Ｒ攻撃", 9, {1}, "移動", 0, {0, 2, 6, 11}},
        {"on ground again: leaves, no draw", 2, "落下回避", 3, {}, "移動", 0, {0, 2}},
        {"facing stays", 2, "敵捕捉", 3, {1}, "敵捕捉", 4, {4, 5}},
        {"facing ends, turning still this step", 2, "敵捕捉", 3, {0, 0, 1}, "移動", 0, {0, 3, 4, 5}},
    };
    RunCases(cases, std::size(cases));
}

TEST(CpuWanderers, TypeTwoDashBoostsOnceAndBurstsTenSteps) {
    SCpuRig rig;
    rig.PlaceTarget(Vec3(0, 0, -5));
    rig.ai.m_state = "ダッシュ";
    CScriptedDraws draws;
    int boosts = 0;
    for (int step = 1; step <= 30; ++step) {
        rig.Think(2);
        boosts += rig.robot->m_input[11];
    }
    EXPECT_EQ(boosts, 1);
    EXPECT_EQ(rig.ai.m_state, "Ｒ攻撃");
    int bursts = 0;
    while (rig.ai.m_state == "Ｒ攻撃" && bursts < 50) {
        rig.Think(2);
        ++bursts;
    }
    EXPECT_EQ(bursts, 10);
}

TEST(CpuWanderers, TypeTwoAsksForANewTargetWhileItsTargetIsDown) {
    SCpuRig rig;
    rig.PlaceTarget(Vec3(0, 0, -5));
    rig.ai.m_state = "移動";
    CScriptedDraws draws(std::vector<int>(20, 50));
    for (int hp : {0, -5, 0}) {
        rig.target->m_hp = hp;
        rig.Think(2);
        EXPECT_EQ(rig.robot->m_padState[9], 2) << hp;  // a fresh press every step
    }
    rig.target->m_hp = 1;
    rig.Think(2);
    EXPECT_EQ(rig.robot->m_padState[9], 0);
}

TEST(CpuWanderers, MovementIntentPressesOnlyOnExactUnits) {
    struct SCase {
        Vec3 move;
        std::set<int> pressed;
    };
    const SCase cases[] = {
        {Vec3(1, 0, 1), {0, 2}},       {Vec3(-1, 0, -1), {1, 3}},  {Vec3(0, 0, 0), {}},
        {Vec3(0.999f, 0, -0.999f), {}}, {Vec3(-1, 1, 0), {3}},      {Vec3(2, 0, -2), {}},
    };
    for (const SCase& c : cases) {
        SCpuRig rig;
        rig.ai.m_state = "落下回避";  // type 1 walks its intent there and draws nothing
        rig.ai.m_move = c.move;
        // Keep it in the state: no ground ahead, ground far along the way.
        rig.ground.SetLocalPosition(0, -100, 0);
        rig.robot->m_velocity[1] = -0.5;
        rig.robot->m_velocity[0] = 10;
        CScriptedDraws draws;
        rig.Think(1);
        ASSERT_EQ(rig.ai.m_state, "落下回避");
        EXPECT_EQ(rig.Pressed(), c.pressed) << c.move.x << "," << c.move.z;
    }
}

TEST(CpuWanderers, TurnBackBeforeAnEdge) {
    // Near the floor's end at x = 20, walking toward it: ten steps ahead there is no floor.
    for (int type : {1, 2}) {
        SCpuRig rig;
        rig.PlaceTarget(Vec3(0, 0, -5));
        rig.robot->m_frames[kRootFrame].SetLocalPosition(17, 0, 0);
        rig.robot->m_velocity[0] = 0.4;  // level: no floor along the way either
        rig.ai.m_state = "移動";
        rig.ai.m_move = Vec3(1, 0.5f, -1);
        CScriptedDraws draws(std::vector<int>(10, 50));
        rig.Think(type);
        EXPECT_EQ(rig.ai.m_state, "落下回避") << type;
        EXPECT_EQ(rig.ai.m_stateFrames, type == 1 ? 0 : 1) << type;
        EXPECT_EQ(rig.ai.m_move, Vec3(-1, -0.5f, 1)) << type;
        EXPECT_EQ(rig.Pressed(), std::set<int>({0, 3})) << type;
        EXPECT_EQ(draws.Used(), 0) << type;

        // Ground ahead again ends it.
        rig.robot->m_velocity[0] = -0.4;
        rig.Think(type);
        EXPECT_EQ(rig.ai.m_state, "移動") << type;

        // So does ground within 1.0 along the way, with none below the point ahead.
        rig.ai.m_state = "落下回避";
        rig.robot->m_frames[kRootFrame].SetLocalPosition(17, -0.5f, 0);
        rig.robot->m_velocity[0] = 0.1;
        rig.robot->m_velocity[1] = -1.0;
        rig.Think(type);
        EXPECT_EQ(rig.ai.m_state, "移動") << type;
    }
    // Standing still at the very edge never turns back: the probe point is its own position.
    for (int type : {1, 2}) {
        SCpuRig rig;
        rig.PlaceTarget(Vec3(0, 0, -5));
        rig.robot->m_frames[kRootFrame].SetLocalPosition(19.9f, 0, 0);
        rig.ai.m_state = "移動";
        CScriptedDraws draws(std::vector<int>(10, 50));
        for (int step = 0; step < 5; ++step) rig.Think(type);
        EXPECT_EQ(rig.ai.m_state, "移動") << type;
    }
    // Level off the edge: nothing along the way either (9000), still more than 3.0.
    SCpuRig rig;
    rig.robot->m_frames[kRootFrame].SetLocalPosition(19, 0, 0);
    rig.robot->m_velocity[0] = 0.5;
    rig.ai.m_state = "移動";
    CScriptedDraws draws(std::vector<int>(10, 50));
    rig.Think(1);
    EXPECT_EQ(rig.ai.m_state, "落下回避");
}

}  // namespace
