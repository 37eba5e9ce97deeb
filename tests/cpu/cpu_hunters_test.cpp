// The hunters (types 3 and 4) and the fire-button choice: each state's step by geometry, EP and
// draw, with the draws it takes; the locking dash at close range; type 4's distance keeping.
#include "cpu_rig.h"

namespace {

const Vec3 kAhead5(0, 0, -5), kAhead12(0, 0, -12), kAside(8, 0, -5), kOnWay(8, 0, -8);

TEST(CpuHunters, TypeThreeSteps) {
    const SStateCase cases[] = {
        // the walk: dashes when watched, fires when facing, locks on when neither
        {"watched with EP over 600 dashes", "移動", 5, kAhead5, true, 700, {0}, "ダッシュ", 0, {1, 2}},
        {"watched without the EP walks", "移動", 5, kAhead5, true, 600, {0}, "移動", 6, {1, 2}},
        {"facing, close: left hand and boost", "移動", 5, Vec3(0, 0, -2), false, 400, {0}, "移動", 6, {1, 2, 7, 11}},
        {"facing, mid range: the armour weapon", "移動", 5, Vec3(1, 0, -5), false, 400, {0}, "移動", 6, {1, 3, 8}},
        {"facing, far: back weapon and boost", "移動", 5, kAhead12, false, 400, {0}, "移動", 6, {0, 2, 8, 11}},
        {"facing without EP to fire", "移動", 5, kAhead12, false, 300, {0}, "移動", 6, {0, 2}},
        {"facing between the ranges", "移動", 5, Vec3(0, 0, -10), false, 400, {0}, "移動", 6, {1, 2}},
        {"neither: the locking dash", "移動", 5, kAside, false, 401, {0}, "ダッシュ(捕捉", 0, {1, 3}},
        {"neither, EP 400: walks", "移動", 5, kAside, false, 400, {0}, "移動", 6, {1, 3}},
        {"behind and far: stands", "移動", 5, Vec3(0, 0, 5), false, 100, {0}, "移動", 6, {}},
        {"behind and close: backs off", "移動", 5, Vec3(0, 0, 2), false, 100, {0}, "移動", 6, {1, 2}},
        {"draw 3 with EP over 500: burst", "移動", 5, kAside, false, 501, {2}, "Ｒ攻撃", 0, {1, 3}},
        {"draw 3 without", "移動", 5, kAside, false, 300, {2}, "移動", 6, {1, 3}},
        {"draw 4: dash", "移動", 5, kAside, false, 300, {3}, "ダッシュ", 0, {1, 3}},
        {"draw 5: nothing", "移動", 5, kAside, false, 300, {4}, "移動", 6, {1, 3}},
        {"draw 6: locking dash", "移動", 5, kAside, false, 300, {5}, "ダッシュ(捕捉", 0, {1, 3}},
        {"draw 7 with EP over 500: an attack", "移動", 5, kAside, false, 600, {6}, "Ａ攻撃", 0, {1, 3}},
        {"draw 7 without keeps the locking dash", "移動", 5, kAside, false, 500, {6}, "ダッシュ(捕捉", 0, {1, 3}},
        {"draw 8: another enemy", "移動", 5, kAside, false, 300, {7}, "違う敵を見る", 0, {1, 3}},
        // the locking dash
        {"locking dash boosts toward the stand-off", "ダッシュ(捕捉", 0, kAside, false, 100, {}, "ダッシュ(捕捉", 1, {1, 3, 11}},
        {"locking dash at a far target", "ダッシュ(捕捉", 0, Vec3(-8, 0, -9), false, 100, {}, "ダッシュ(捕捉", 1, {0, 2, 11}},
        {"25th step: the armour weapon", "ダッシュ(捕捉", 24, kOnWay, false, 100, {}, "移動", 0, {0, 2, 8}},
        {"25th step, target behind", "ダッシュ(捕捉", 24, Vec3(8, 0, 8), false, 100, {}, "移動", 0, {0, 2, 6, 11}},
        {"close: fire buttons, stays", "ダッシュ(捕捉", 5, Vec3(0, 0, -2), false, 100, {}, "ダッシュ(捕捉", 6, {6}},
        {"lined up: fires and walks", "ダッシュ(捕捉", 5, Vec3(1, 0, -8), false, 100, {}, "移動", 0, {0, 2, 8}},
        {"at the stand-off depth", "ダッシュ(捕捉", 5, Vec3(8, 0, -5.2f), false, 100, {}, "移動", 0, {0, 2, 8}},
        {"on its way", "ダッシュ(捕捉", 5, kOnWay, false, 100, {}, "ダッシュ(捕捉", 6, {0, 2}},
        // the dash and its end draw
        {"dash boosts on its first step", "ダッシュ", 0, kOnWay, false, 100, {}, "ダッシュ", 1, {0, 2, 11}},
        {"dash runs", "ダッシュ", 10, kOnWay, false, 100, {}, "ダッシュ", 11, {0, 2}},
        {"dash draw 1", "ダッシュ", 19, kOnWay, false, 100, {0}, "Ａ攻撃", 0, {0, 2}},
        {"dash draw 2", "ダッシュ", 19, kOnWay, false, 100, {1}, "Ｒ攻撃", 0, {0, 2}},
        {"dash draw 3 stops", "ダッシュ", 19, kOnWay, false, 100, {2}, "移動", 0, {}},
        {"dash draw 4", "ダッシュ", 19, kOnWay, false, 100, {3}, "Ｄ攻撃", 0, {0, 2}},
        {"dash draw 5", "ダッシュ", 19, kOnWay, false, 100, {4}, "Ｄ攻撃", 0, {0, 2}},
        {"dash attack without a weapon id", "Ｄ攻撃", 0, Vec3(0, 0, -20), false, 100, {}, "移動", 0, {6}},
        // the choice of attack
        {"close behind", "Ａ攻撃", 0, Vec3(0, 0, 2), false, 100, {}, "攻撃_3s", 0, {0, 2}},
        {"close ahead", "Ａ攻撃", 0, Vec3(0, 0, -2), false, 100, {}, "攻撃_3", 0, {0, 2}},
        {"mid behind", "Ａ攻撃", 0, Vec3(0, 0, 5), false, 100, {}, "攻撃_1", 0, {0, 2}},
        {"mid ahead", "Ａ攻撃", 0, kAhead5, false, 100, {}, "攻撃_1s", 0, {0, 2}},
        {"far", "Ａ攻撃", 0, kAhead12, false, 100, {}, "攻撃_2s", 0, {0, 2}},
        {"burst 1", "Ｒ攻撃", 0, kAhead5, false, 100, {0}, "攻撃_1s", 0, {0, 2}},
        {"burst 2", "Ｒ攻撃", 0, kAhead5, false, 100, {1}, "攻撃_2s", 0, {0, 2}},
        {"attack 1", "攻撃_1", 3, kAhead5, false, 100, {}, "攻撃_1", 4, {0, 2, 8}},
        {"attack 2s", "攻撃_2s", 3, kAhead5, false, 100, {}, "攻撃_2s", 4, {0, 2, 6, 11}},
        {"attack 3 ends on its 20th step", "攻撃_3", 19, kAhead5, false, 100, {}, "移動", 0, {0, 2, 7}},
        {"off the edge's way", "落下回避", 3, kAhead5, false, 100, {}, "移動", 0, {0, 2}},
        {"another enemy", "違う敵を見る", 0, kAhead5, false, 100, {}, "移動", 0, {9}},
        {"a new record", "", 0, kAhead5, false, 100, {}, "移動", 0, {0, 2}},
        {"another type's state", "ボーっとする", 7, kAhead5, false, 100, {}, "移動", 0, {0, 2}},
    };
    RunStateCases(3, cases, std::size(cases));

    // With a weapon id in range the dash attack chooses by range and side.
    const SStateCase dashAttacks[] = {
        {"close ahead", "Ｄ攻撃", 0, Vec3(0, 0, -2), false, 100, {}, "移動", 0, {0, 2, 7, 11}},
        {"close behind", "Ｄ攻撃", 0, Vec3(0, 0, 2), false, 100, {}, "移動", 0, {0, 2, 7}},
        {"mid ahead", "Ｄ攻撃", 0, kAhead5, false, 100, {}, "移動", 0, {0, 2, 6, 11}},
        {"mid behind stops", "Ｄ攻撃", 0, Vec3(0, 0, 5), false, 100, {}, "移動", 0, {6}},
        {"far", "Ｄ攻撃", 0, kAhead12, false, 100, {}, "移動", 0, {0, 2, 8, 11}},
    };
    RunStateCases(3, dashAttacks, std::size(dashAttacks), 1650);

    // Armour nearly gone: the right hand instead of the back weapon.
    const SStateCase bare[] = {
        {"mid range, bare target", "移動", 5, Vec3(1, 0, -5), false, 400, {0}, "移動", 6, {1, 3, 6}},
        {"25th step, bare target", "ダッシュ(捕捉", 24, kOnWay, false, 100, {}, "移動", 0, {0, 2, 6}},
    };
    RunStateCases(3, bare, std::size(bare), -1, 10);
}

TEST(CpuHunters, TypeThreeLockingDashHoldsAtCloseRangeToItsEnd) {
    SCpuRig rig;
    rig.PlaceTarget(Vec3(0, 0, -2));
    rig.ai.m_state = "ダッシュ(捕捉";
    CScriptedDraws draws;
    int steps = 0;
    while (rig.ai.m_state == "ダッシュ(捕捉" && steps < 100) {
        rig.Think(3);
        ++steps;
        if (steps > 1 && steps < 25) {
            EXPECT_EQ(rig.Pressed(), std::set<int>({6})) << steps;
        }
    }
    EXPECT_EQ(steps, 25);
    EXPECT_EQ(rig.ai.m_state, "移動");
    EXPECT_EQ(draws.Used(), 0);
}

TEST(CpuHunters, TypeThreeWithoutATargetOnlyClears) {
    SCpuRig rig;
    DirtyButtons(*rig.robot);
    rig.ai.m_state = "移動";
    CScriptedDraws draws;
    rig.ai.RunType3(rig.robot.get(), nullptr, &rig.ground);
    EXPECT_TRUE(rig.Pressed().empty());
    EXPECT_EQ(rig.ai.m_stateFrames, 0);
    EXPECT_EQ(draws.Used(), 0);
}

TEST(CpuHunters, TypeFourSteps) {
    const SStateCase cases[] = {
        // the walk keeps 5 to 10 ahead, both turn buttons always held
        {"far: closes in", "移動", 5, kAhead12, false, 100, {}, "移動", 6, {0, 2, 4, 5}},
        {"10 ahead: holds", "移動", 5, Vec3(0, 0, -10), false, 100, {}, "移動", 6, {2, 4, 5}},
        {"7 ahead: holds", "移動", 5, Vec3(0, 0, -7), false, 100, {}, "移動", 6, {2, 4, 5}},
        {"5 ahead: holds", "移動", 5, kAhead5, false, 100, {}, "移動", 6, {2, 4, 5}},
        {"4 ahead: backs off", "移動", 5, Vec3(0, 0, -4), false, 100, {}, "移動", 6, {1, 2, 4, 5}},
        {"behind and far: turns to it", "移動", 5, Vec3(0, 0, 5), false, 100, {}, "敵捕捉", 0, {1, 2, 4, 5}},
        {"behind and close: backs off", "移動", 5, Vec3(0, 0, 2), false, 100, {}, "移動", 6, {1, 2, 4, 5}},
        {"watched with EP: dash", "移動", 5, Vec3(0, 0, -7), true, 501, {}, "ダッシュ", 0, {2, 4, 5}},
        {"watched without, draw 3", "移動", 5, Vec3(0, 0, -7), true, 500, {2}, "違う敵を見る", 0, {2, 4, 5}},
        {"watched without, other draw", "移動", 5, Vec3(0, 0, -7), true, 500, {0}, "移動", 6, {2, 4, 5}},
        // the dash
        {"dash boosts", "ダッシュ", 0, Vec3(0, 0, -7), false, 100, {}, "ダッシュ", 1, {0, 2, 4, 5, 11}},
        {"20th step facing: dash attack", "ダッシュ", 19, Vec3(0, 0, -7), false, 100, {}, "Ｄ攻撃", 0, {0, 2, 4, 5}},
        {"20th step not facing", "ダッシュ", 19, Vec3(8, 0, -2), false, 100, {}, "ダッシュ", 20, {0, 2, 4, 5}},
        {"25th step: stops", "ダッシュ", 24, Vec3(8, 0, -2), false, 100, {}, "移動", 0, {4, 5}},
        // the dash attack, five steps
        {"in reach on the right", "Ｄ攻撃", 0, Vec3(-1.5f, 0, -2), false, 100, {}, "Ｄ攻撃", 1, {0, 2, 4, 5, 7}},
        {"in reach on the left", "Ｄ攻撃", 0, Vec3(1.5f, 0, -2), false, 100, {}, "Ｄ攻撃", 1, {0, 3, 4, 5, 7}},
        {"in reach ahead", "Ｄ攻撃", 0, Vec3(0.5f, 0, -2), false, 100, {}, "Ｄ攻撃", 1, {0, 4, 5, 7}},
        {"in reach behind", "Ｄ攻撃", 0, Vec3(0, 0, 2), false, 100, {}, "Ｄ攻撃", 1, {0, 2, 4, 5, 7, 11}},
        {"behind", "Ｄ攻撃", 0, Vec3(0, 0, 5), false, 100, {}, "Ｄ攻撃", 1, {0, 2, 4, 5, 6, 11}},
        {"under 10", "Ｄ攻撃", 0, Vec3(0, 0, -8), false, 100, {}, "Ｄ攻撃", 1, {0, 2, 4, 5, 8}},
        {"under 30", "Ｄ攻撃", 0, Vec3(0, 0, -20), false, 100, {}, "Ｄ攻撃", 1, {0, 2, 4, 5, 6}},
        {"farther", "Ｄ攻撃", 0, Vec3(0, 0, -40), false, 100, {}, "Ｄ攻撃", 1, {0, 2, 4, 5, 8, 11}},
        {"fifth step ends it", "Ｄ攻撃", 4, Vec3(0, 0, -20), false, 100, {}, "移動", 0, {4, 5, 6}},
        // facing the target
        {"facing found", "敵捕捉", 5, Vec3(0, 0, -7), false, 100, {0, 0}, "移動", 0, {0, 2, 4, 5}},
        {"still turning", "敵捕捉", 5, Vec3(3, 0, -7), false, 100, {}, "敵捕捉", 6, {4, 5}},
        {"gives up after 30", "敵捕捉", 30, Vec3(3, 0, -7), false, 100, {1, 1}, "移動", 0, {1, 3, 4, 5}},
        {"another enemy: no turning", "違う敵を見る", 0, kAhead5, false, 100, {}, "移動", 0, {9}},
        {"off the edge's way", "落下回避", 2, kAhead5, false, 100, {}, "移動", 0, {0, 2, 4, 5}},
        {"no choice of attack", "Ａ攻撃", 0, kAhead5, false, 100, {}, "移動", 0, {0, 2, 4, 5}},
        {"no locking dash", "ダッシュ(捕捉", 3, kAhead5, false, 100, {}, "移動", 0, {0, 2, 4, 5}},
    };
    RunStateCases(4, cases, std::size(cases));
}

TEST(CpuFireButtons, ByAttackTypeWithAWeaponIdElseStopAndRightHand) {
    struct SCase {
        int attack;
        std::set<int> pressed;
        bool stops;
    };
    const SCase table[] = {
        {0, {6}, true},      {1, {6}, false},     {2, {6, 11}, false}, {3, {8, 11}, false}, {10, {7}, false},
        {11, {7, 11}, false}, {20, {6}, false},    {21, {8}, false},    {22, {6, 11}, false},
        {4, {6}, false},     {-1, {6}, false},    {99, {6}, false},  // no weapon pressed: 6 all the same
    };
    for (int id : {1600, 1699, -1, 1599, 1700}) {
        const bool inRange = id >= 1600 && id <= 1699;
        for (const SCase& c : table) {
            SCpuRig rig;
            rig.robot->m_weaponId = id;
            rig.robot->m_input[6] = rig.robot->m_input[7] = rig.robot->m_input[8] = rig.robot->m_input[11] = true;
            rig.robot->m_input[4] = true;  // other buttons are left alone
            rig.ai.m_move = Vec3(1, 1, -1);
            rig.ai.PressFireButtons(rig.robot.get(), c.attack);
            std::set<int> expected = inRange ? c.pressed : std::set<int>({6});
            expected.insert(4);
            EXPECT_EQ(rig.Pressed(), expected) << id << " attack " << c.attack;
            const bool stops = inRange ? c.stops : true;
            EXPECT_EQ(rig.ai.m_move, stops ? Vec3(0, 1, 0) : Vec3(1, 1, -1)) << id << " attack " << c.attack;
        }
    }
}

}  // namespace
