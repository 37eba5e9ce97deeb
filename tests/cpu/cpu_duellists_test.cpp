// The duellists (types 5, 6 and 7): each state's step by geometry, EP and draw, the attack
// states' twenty steps, type 5's weave, and type 7's absent walk and look for another enemy.
#include "cpu_rig.h"

namespace {

const Vec3 kAhead5(0, 0, -5), kAhead12(0, 0, -12), kClose(0, 0, -2), kAbove(0, 1, -2);

TEST(CpuDuellists, TypeFiveSteps) {
    const SStateCase cases[] = {
        {"closes in", "移動", 5, kAhead5, false, 100, {}, "移動", 6, {0, 2}},
        {"close: close attack", "移動", 5, Vec3(0, 0, -1.5f), false, 100, {}, "Ｋ攻撃", 0, {1, 2}},
        {"close and watched: dash", "移動", 5, Vec3(0, 0, -2.5f), true, 100, {}, "ダッシュ", 0, {0, 2}},
        {"behind and far: stands", "移動", 5, Vec3(0, 0, 5), false, 100, {}, "移動", 6, {}},
        {"25 steps, draw 1", "移動", 24, kAhead5, false, 100, {0}, "射撃戦闘", 0, {0, 2}},
        {"25 steps, draw 3", "移動", 24, kAhead5, false, 100, {2}, "射撃戦闘", 0, {0, 2}},
        {"draw 4", "移動", 30, kAhead5, false, 100, {3}, "ダッシュ", 0, {0, 2}},
        {"draw 5", "移動", 30, kAhead5, false, 100, {4}, "敵捕捉", 0, {0, 2}},
        {"draw 6", "移動", 30, kAhead5, false, 100, {5}, "接近戦闘", 0, {0, 2}},
        {"draw 7", "移動", 30, kAhead5, false, 100, {6}, "Ｋ攻撃", 0, {0, 2}},
        {"draw 8", "移動", 30, kAhead5, false, 100, {7}, "Ｒ攻撃", 0, {0, 2}},
        {"shooting, watched with EP: dash", "射撃戦闘", 3, kAhead5, true, 601, {}, "ダッシュ", 0, {0, 2}},
        {"shooting, watched without", "射撃戦闘", 3, kAhead5, true, 600, {}, "射撃戦闘", 4, {0, 2}},
        {"shooting, close and above", "射撃戦闘", 3, kAbove, false, 400, {}, "攻撃_3taiuu", 0, {0, 2}},
        {"shooting, close", "射撃戦闘", 3, kClose, false, 400, {}, "攻撃_3", 0, {0, 2}},
        {"shooting, lined up", "射撃戦闘", 3, Vec3(1, 0, -5), false, 400, {}, "攻撃_1", 0, {0, 2}},
        {"shooting, far", "射撃戦闘", 3, kAhead12, false, 400, {}, "攻撃_1s", 0, {0, 2}},
        {"shooting, between", "射撃戦闘", 3, Vec3(0, 0, -10), false, 400, {}, "射撃戦闘", 4, {0, 2}},
        {"shooting, EP 300 and unseen: walks on", "射撃戦闘", 3, kAhead12, false, 300, {}, "射撃戦闘", 4, {0, 2}},
        {"dash boosts", "ダッシュ", 0, kAhead5, false, 100, {}, "ダッシュ", 1, {0, 2, 11}},
        {"dash draw 1", "ダッシュ", 9, kAhead5, false, 100, {0}, "Ａ攻撃", 0, {0, 2}},
        {"dash draw 2", "ダッシュ", 9, kAhead5, false, 100, {1}, "Ｒ攻撃", 0, {0, 2}},
        {"dash draw 3", "ダッシュ", 9, kAhead5, false, 100, {2}, "敵捕捉", 0, {0, 2}},
        {"dash draw 4 stops", "ダッシュ", 9, kAhead5, false, 100, {3}, "移動", 0, {}},
        {"dash draw 5", "ダッシュ", 9, kAhead5, false, 100, {4}, "Ｄ攻撃", 0, {0, 2}},
        {"dash draw 11", "ダッシュ", 9, kAhead5, false, 100, {10}, "Ｄ攻撃", 0, {0, 2}},
        {"dash attack in reach", "Ｄ攻撃", 3, kClose, false, 100, {}, "Ｄ攻撃", 4, {6}},
        {"dash attack out of reach", "Ｄ攻撃", 3, kAhead5, false, 100, {}, "攻撃_1", 0, {0, 2}},
        {"close attack, above", "Ｋ攻撃", 0, kAbove, false, 100, {}, "攻撃_3taiuu", 0, {}},
        {"close attack, not yet facing: waits", "Ｋ攻撃", 0, Vec3(1.9f, 0, -1), false, 100, {}, "Ｋ攻撃", 1, {}},
        {"close attack, steps in", "Ｋ攻撃", 0, kClose, false, 100, {}, "攻撃_3", 0, {0}},
        {"close attack, right there", "Ｋ攻撃", 0, Vec3(0, 0, -0.3f), false, 100, {}, "攻撃_3", 0, {}},
        {"close attack, out of reach", "Ｋ攻撃", 0, kAhead5, false, 100, {}, "移動", 0, {}},
        {"choice, far", "Ａ攻撃", 0, kAhead12, false, 100, {}, "攻撃_1s", 0, {0, 2}},
        {"attack 1 swapped", "攻撃_1", 2, kAhead5, false, 100, {}, "攻撃_1", 3, {0, 2, 6}},
        {"attack 2s swapped", "攻撃_2s", 2, kAhead5, false, 100, {}, "攻撃_2s", 3, {0, 2, 8, 11}},
        {"backing-off attack", "攻撃_3taiuu", 2, kAhead5, false, 100, {}, "攻撃_3taiuu", 3, {1, 2, 7}},
        {"facing found", "敵捕捉", 5, kAhead5, false, 100, {0, 1}, "移動", 0, {0, 3}},
        {"still turning: no turn buttons", "敵捕捉", 5, Vec3(3, 0, -5), false, 100, {}, "敵捕捉", 6, {}},
        {"off the edge's way", "落下回避", 2, kAhead5, false, 100, {}, "移動", 0, {0, 2}},
        {"another type's state", "ボーっとする", 2, kAhead5, false, 100, {}, "移動", 0, {0, 2}},
    };
    RunStateCases(5, cases, std::size(cases));
}

TEST(CpuDuellists, TypeSixSteps) {
    const SStateCase cases[] = {
        {"facing, close", "移動", 5, kClose, false, 400, {0}, "移動", 6, {1, 2, 7, 11}},
        {"facing, lined up, turning", "移動", 5, Vec3(1, 0, -5), false, 400, {0}, "移動", 6, {0, 3, 5, 8}},
        {"facing, lined up the other side", "移動", 5, Vec3(-1, 0, -5), false, 400, {0}, "移動", 6, {0, 2, 4, 8}},
        {"facing, far", "移動", 5, kAhead12, false, 400, {0}, "移動", 6, {0, 2, 8, 11}},
        {"facing, no EP to fire", "移動", 5, kAhead12, false, 300, {0}, "移動", 6, {0, 2}},
        {"not facing: locking dash", "移動", 5, Vec3(8, 0, -5), false, 401, {0}, "ダッシュ(捕捉", 0, {0, 3, 5}},
        {"draw 4", "移動", 5, kAhead12, false, 300, {3}, "ダッシュ", 0, {0, 2}},
        {"draw 5", "移動", 5, kAhead12, false, 300, {4}, "敵捕捉", 0, {0, 2}},
        {"draw 6", "移動", 5, kAhead12, false, 300, {5}, "ダッシュ(捕捉", 0, {0, 2}},
        {"draw 7: nothing", "移動", 5, kAhead12, false, 300, {6}, "移動", 6, {0, 2}},
        {"draw 8", "移動", 5, kAhead12, false, 300, {7}, "Ｋ攻撃", 0, {0, 2}},
        {"locking dash lasts a step", "ダッシュ(捕捉", 0, kAhead5, false, 100, {}, "移動", 0, {0, 2}},
        {"dash boosts", "ダッシュ", 0, kAhead5, false, 100, {}, "ダッシュ", 1, {0, 2, 11}},
        {"dash draw 1", "ダッシュ", 19, kAhead5, false, 100, {0}, "Ａ攻撃", 0, {0, 2}},
        {"dash draw 3", "ダッシュ", 19, kAhead5, false, 100, {2}, "移動", 0, {}},
        {"dash draw 4", "ダッシュ", 19, kAhead5, false, 100, {3}, "Ｄ攻撃", 0, {0, 2}},
        {"dash attack", "Ｄ攻撃", 0, kAhead5, false, 100, {}, "移動", 0, {6}},
        {"close attack above", "Ｋ攻撃", 0, kAbove, false, 100, {}, "攻撃_3taiuu", 0, {0, 2}},
        {"close attack", "Ｋ攻撃", 0, kClose, false, 100, {}, "攻撃_3", 0, {0, 2}},
        {"close attack out of reach", "Ｋ攻撃", 0, kAhead5, false, 100, {}, "移動", 0, {0, 2}},
        {"choice, far", "Ａ攻撃", 0, kAhead12, false, 100, {}, "攻撃_2s", 0, {0, 2}},
        {"burst", "Ｒ攻撃", 0, kAhead12, false, 100, {1}, "攻撃_2s", 0, {0, 2}},
        {"attack 1", "攻撃_1", 2, kAhead5, false, 100, {}, "攻撃_1", 3, {0, 2, 8}},
        {"facing found", "敵捕捉", 2, kAhead5, false, 100, {}, "移動", 0, {}},
        {"still turning", "敵捕捉", 2, Vec3(8, 0, -2), false, 100, {}, "敵捕捉", 3, {5}},
        {"another type's state", "落下回避", 2, kAhead5, false, 100, {}, "移動", 0, {0, 2}},
    };
    RunStateCases(6, cases, std::size(cases));
}

TEST(CpuDuellists, TypeSevenSteps) {
    const SStateCase cases[] = {
        {"early walk holds both turns", "移動", 5, Vec3(1, 0, -5), false, 100, {0}, "移動", 6, {0, 3, 4, 5}},
        {"early walk, straight ahead: no turn", "移動", 5, kAhead5, false, 100, {0}, "移動", 6, {0, 2}},
        {"after 15 steps one turn", "移動", 15, Vec3(1, 0, -5), false, 100, {0}, "移動", 16, {0, 3, 5}},
        {"no weapons in the walk", "移動", 20, kClose, false, 1000, {0}, "移動", 21, {1, 2}},
        {"not facing: locking dash", "移動", 20, Vec3(8, 0, -5), false, 401, {0}, "ダッシュ(捕捉", 0, {0, 3, 5}},
        {"draw 3", "移動", 20, kAhead5, false, 100, {2}, "ボーっとする", 0, {0, 2}},
        {"draw 4", "移動", 20, kAhead5, false, 100, {3}, "ダッシュ", 0, {0, 2}},
        {"draw 5", "移動", 20, kAhead5, false, 100, {4}, "敵捕捉", 0, {0, 2}},
        {"draw 6", "移動", 20, kAhead5, false, 100, {5}, "ダッシュ(捕捉", 0, {0, 2}},
        {"draw 7", "移動", 20, kAhead5, false, 100, {6}, "違う敵を見る", 0, {0, 2}},
        {"draw 8", "移動", 20, kAhead5, false, 100, {7}, "Ｋ攻撃", 0, {0, 2}},
        {"draw 9: nothing", "移動", 20, kAhead5, false, 100, {8}, "移動", 21, {0, 2}},
        {"absent: straight ahead, no turning", "ボーっとする", 3, Vec3(1, 0, -5), false, 100, {}, "ボーっとする", 4, {0}},
        {"absent ends", "ボーっとする", 89, Vec3(1, 0, -5), false, 100, {}, "移動", 0, {0}},
        {"dash draw 2", "ダッシュ", 19, kAhead5, false, 100, {1}, "Ｒ攻撃", 0, {0, 2}},
        {"close attack", "Ｋ攻撃", 0, kClose, false, 100, {}, "攻撃_3", 0, {0, 2}},
        {"attack 2", "攻撃_2", 2, kAhead5, false, 100, {}, "攻撃_2", 3, {0, 2, 6}},
    };
    RunStateCases(7, cases, std::size(cases));
}

// Each attack state presses its buttons on each of its twenty steps, then walks.
TEST(CpuDuellists, AttackStatesLastTwentySteps) {
    struct SAttack {
        const char* state;
        std::set<int> plain;    // types 3, 6 and 7
        std::set<int> swapped;  // type 5
    };
    const SAttack attacks[] = {
        {"攻撃_1", {8}, {6}},         {"攻撃_2", {6}, {8}},         {"攻撃_3", {7}, {7}},
        {"攻撃_1s", {8, 11}, {6, 11}}, {"攻撃_2s", {6, 11}, {8, 11}}, {"攻撃_3s", {7, 11}, {7, 11}},
        {"攻撃_3taiuu", {1, 7}, {1, 7}},
    };
    for (int type : {3, 5, 6, 7}) {
        for (const SAttack& a : attacks) {
            SCpuRig rig;
            rig.PlaceTarget(kAhead5);  // straight ahead: no turn buttons
            rig.ai.m_state = a.state;
            rig.ai.m_move = Vec3(0, 0, 0);
            CScriptedDraws draws;
            std::set<int> expected = type == 5 ? a.swapped : a.plain;
            int steps = 0;
            while (rig.ai.m_state == a.state && steps < 50) {
                rig.Think(type);
                ++steps;
                EXPECT_EQ(rig.Pressed(), expected) << type << " " << a.state << " step " << steps;
            }
            EXPECT_EQ(steps, 20) << type << " " << a.state;
            EXPECT_EQ(rig.ai.m_state, "移動") << type << " " << a.state;
            EXPECT_EQ(draws.Used(), 0) << type << " " << a.state;
        }
    }
}

TEST(CpuDuellists, TypeFiveWeavesInCloseCombat) {
    SCpuRig rig;
    rig.PlaceTarget(Vec3(0, 0, -8));
    rig.ai.m_state = "接近戦闘";
    CScriptedDraws draws;
    int step = 0;
    while (rig.ai.m_state == "接近戦闘" && step < 200) {
        rig.Think(5);
        ++step;
        const bool boost = step == 1 || step % 15 == 0;
        const int side = (step / 15) % 2 == 1 ? 3 : 2;
        std::set<int> expected = {0, side};
        if (boost) expected.insert(11);
        EXPECT_EQ(rig.Pressed(), expected) << step;
    }
    EXPECT_EQ(step, 90);
    EXPECT_EQ(rig.ai.m_state, "Ｋ攻撃");

    // A target no longer ahead by more than 0.5 ends it at once.
    rig.PlaceTarget(Vec3(0, 0, -0.4f));
    rig.ai.m_state = "接近戦闘";
    rig.ai.m_stateFrames = 20;
    rig.Think(5);
    EXPECT_EQ(rig.ai.m_state, "Ｋ攻撃");
    EXPECT_EQ(rig.ai.m_move.z, -1.0f);
}

TEST(CpuDuellists, TypeFiveKeepsFiringInReachAndWalksOnShortOfEnergy) {
    SCpuRig rig;
    rig.PlaceTarget(kClose);
    rig.ai.m_state = "Ｄ攻撃";
    CScriptedDraws draws;
    for (int step = 1; step <= 12; ++step) {
        rig.Think(5);
        EXPECT_EQ(rig.Pressed(), std::set<int>({6})) << step;
        EXPECT_EQ(rig.ai.m_state, "Ｄ攻撃") << step;
    }
    // Shooting combat with 300 EP, unseen: it stays and walks its last intent step after step.
    rig.PlaceTarget(kAhead12);
    rig.robot->m_ep = 300;
    rig.ai.m_state = "射撃戦闘";
    rig.ai.m_move = Vec3(-1, 0, -1);
    for (int step = 1; step <= 40; ++step) {
        rig.Think(5);
        EXPECT_EQ(rig.ai.m_state, "射撃戦闘");
        EXPECT_EQ(rig.Pressed(), std::set<int>({1, 3})) << step;
    }
    EXPECT_EQ(draws.Used(), 0);
}

TEST(CpuDuellists, TypeSevenLooksForAnotherEnemyFourTimesAndWandersOffNinetySteps) {
    SCpuRig rig;
    rig.PlaceTarget(Vec3(1, 0, -5));
    rig.ai.m_state = "違う敵を見る";
    CScriptedDraws draws;
    int presses = 0, steps = 0;
    while (rig.ai.m_state == "違う敵を見る" && steps < 100) {
        rig.Think(7);
        ++steps;
        presses += rig.robot->m_padState[9] == 2;
        EXPECT_FALSE(rig.robot->m_input[4] || rig.robot->m_input[5]) << steps;
    }
    EXPECT_EQ(presses, 4);
    EXPECT_EQ(steps, 45);

    rig.ai.m_state = "ボーっとする";
    rig.ai.m_stateFrames = 0;
    steps = 0;
    while (rig.ai.m_state == "ボーっとする" && steps < 200) {
        rig.Think(7);
        ++steps;
        EXPECT_EQ(rig.Pressed(), std::set<int>({0})) << steps;
    }
    EXPECT_EQ(steps, 90);
    EXPECT_EQ(draws.Used(), 0);
}

}  // namespace
