// Victory rules by mission, the time-up sums, and the phases from the fight to the result.
#include "battle_fixture.h"

namespace {

TEST_F(BattleTest, MissionRulesEndTheBattleAndPickTheWinner) {
    struct Row {
        const char* what;
        const char* mission;
        int count;
        const char* teams[6];
        int hp[6];
        bool over, win;
    };
    const Row rows[] = {
        {"leader: enemy leader down", "敵リーダー撃破", 4, {"AL", "BL", "AM", "BM"}, {50, 0, 50, 50}, true, true},
        {"leader: own leader down", "敵リーダー撃破", 4, {"AM", "BL", "AL", "BM"}, {50, 50, 0, 50}, true, false},
        {"leader: both leaders down is a loss", "敵リーダー撃破", 2, {"AL", "BL"}, {0, 0}, true, false},
        {"leader: members down only", "敵リーダー撃破", 4, {"AL", "BL", "AM", "BM"}, {50, 50, 0, 0}, false, false},
        {"leader: side B player", "敵リーダー撃破", 2, {"BL", "AL"}, {10, 0}, true, true},
        {"wipe: side B gone", "敵勢力撃滅", 4, {"AL", "BL", "AM", "BM"}, {0, 0, 5, 0}, true, true},
        {"wipe: own side gone", "敵勢力撃滅", 4, {"AL", "BL", "AM", "BM"}, {0, 5, 0, 0}, true, false},
        {"wipe: both standing", "敵勢力撃滅", 4, {"AL", "BL", "AM", "BM"}, {0, 5, 5, 0}, false, true},
        {"survive: two of three left", "サバイブ", 3, {"CL", "DL", "EL"}, {5, 5, 0}, false, true},
        {"survive: own robot last", "サバイブ", 3, {"CL", "DL", "EL"}, {5, 0, 0}, true, true},
        {"survive: another robot last", "サバイブ", 3, {"CL", "DL", "EL"}, {0, 5, 0}, true, false},
        {"other mission: never over", "練習", 2, {"AL", "BL"}, {0, 0}, false, false},
        // An unbuilt slot never keeps a side alive: slot 3 lies beyond the robot count.
        {"unbuilt slot does not count", "敵勢力撃滅", 3, {"AL", "BL", "AM", "BM"}, {5, 0, 5, 100}, true, true},
        {"unbuilt leader does not count", "敵リーダー撃破", 2, {"AL", "BM", "AM", "BL"}, {5, 5, 5, 100}, false, false},
    };
    for (const Row& r : rows) {
        CBattle& b = *m_battle;
        b.m_mission = r.mission;
        b.m_robotCount = r.count;
        b.m_clock = 500;
        for (int i = 0; i < kMaxRobots; ++i) SetRobot(i, r.teams[i] ? r.teams[i] : "AM", r.hp[i]);
        if (r.count == 3 && std::string(r.mission) == "サバイブ") SetRobot(3, "FL", 100);
        EXPECT_EQ(b.IsBattleOver(), r.over) << r.what;
        EXPECT_EQ(b.IsPlayerWinner(), r.win) << r.what;
    }
}

TEST_F(BattleTest, TimeUpGoesToTheLargerShareAndTiesToSideB) {
    struct Row {
        const char* what;
        const char* teams[4];
        int hp[4], maxHp[4];
        bool win;
    };
    const Row rows[] = {
        {"equal shares", {"AL", "BL", "AM", "BM"}, {50, 100, 50, 50}, {100, 200, 100, 100}, false},
        {"A ahead by a point", {"AL", "BL", "AM", "BM"}, {51, 50, 50, 50}, {100, 100, 100, 100}, true},
        {"shares, not HP", {"AL", "BL", "AM", "BM"}, {90, 500, 0, 0}, {100, 1000, 100, 100}, true},
        {"a robot without maximum HP shares nothing", {"AL", "BL", "AM", "BM"}, {10, 0, 0, 5}, {100, 100, 100, 0}, true},
        {"player on side B wins ties", {"BL", "AL", "BM", "AM"}, {50, 50, 0, 0}, {100, 100, 100, 100}, true},
    };
    for (const Row& r : rows) {
        CBattle& b = *m_battle;
        b.m_robotCount = 4;
        b.m_clock = 0;
        for (int i = 0; i < 4; ++i) {
            SetRobot(i, r.teams[i], r.hp[i]);
            b.m_robots[i].m_maxHp = r.maxHp[i];
        }
        SetRobot(4, "AL", 100);  // beyond the robot count: shares nothing
        EXPECT_TRUE(b.IsBattleOver()) << r.what;
        EXPECT_EQ(b.IsPlayerWinner(), r.win) << r.what;
    }
}

TEST_F(BattleTest, AllyJustDownOnlyOnItsSecondStep) {
    CBattle& b = *m_battle;
    b.m_robotCount = 3;
    SetRobot(2, "AM", 0);
    b.m_robots[2].m_framesSinceDamage = 2;
    EXPECT_TRUE(b.IsAllyJustDown(0));
    EXPECT_FALSE(b.IsAllyJustDown(2));  // the robot itself is not its ally
    b.m_robots[2].m_framesSinceDamage = 3;
    EXPECT_FALSE(b.IsAllyJustDown(0));
    SetRobot(1, "BL", 0);  // an enemy down is no ally
    b.m_robots[1].m_framesSinceDamage = 2;
    EXPECT_FALSE(b.IsAllyJustDown(0));
}

TEST_F(BattleTest, TheStepThatEndsTheFightStartsTheFinish) {
    CBattle& b = *m_battle;
    b.m_robotCount = 2;
    b.m_phase = kPhaseFight;
    b.m_phaseFrames = 5;
    b.m_clock = 2;
    b.Run();
    EXPECT_EQ(b.m_phase, kPhaseFight);
    b.Run();  // the clock reaches 0 in this step: the finish starts at once, before another step
    EXPECT_EQ(b.m_clock, 0);
    EXPECT_EQ(b.m_phase, kPhaseFinish);
    EXPECT_EQ(b.m_phaseFrames, 0);
    b.Run();
    EXPECT_EQ(b.m_clock, 0) << "a timed battle passes 0 only once";
    EXPECT_EQ(b.m_banner2.m_text, "Ｆｉｎｓｈ");
    EXPECT_EQ(b.m_banner2.m_countdown, 89);        // shown once since
    EXPECT_EQ(b.m_view.m_viewMode, 230);           // time ran out: the time-up orbit
    EXPECT_EQ(b.m_resultText, "LOSE");  // time up, equal shares: side B

    // A change of fortune after the first finish frame changes the ending, not the text.
    b.m_robots[1].m_hp = 10;
    for (int f = 2; f <= 120; ++f) b.Run();
    EXPECT_EQ(b.m_phase, kPhaseFinish);
    b.Run();
    EXPECT_EQ(b.m_phase, kPhaseWon);
    EXPECT_EQ(b.m_resultText, "LOSE");
    b.Run();
    EXPECT_EQ(b.m_banner2.m_text, "ＷＩＮ！");
    EXPECT_EQ(b.m_banner1.m_text, "作戦目標クリアー");
    for (int f = 2; f <= 150; ++f) b.Run();
    EXPECT_EQ(b.IsOver(), 0);
    b.Run();
    EXPECT_EQ(b.IsOver(), 1);
    EXPECT_EQ(b.GetResult(), kResultWon);
}

TEST_F(BattleTest, ClockBannersOfAnUntimedBattle) {
    CBattle& b = *m_battle;
    b.m_robotCount = 2;
    b.m_phase = kPhaseFight;
    b.m_phaseFrames = 5;
    struct Row {
        int clockBefore;
        const char* banner1;
        const char* banner2;
    };
    const Row rows[] = {
        {301, "Last10sec!", ""}, {-2999, "ﾛｯｸｵﾝ警告!", ""}, {-3059, "", "Warning!"}, {-3089, "巡航ミサイル接近", ""}};
    for (const Row& r : rows) {
        b.m_banner1.m_text = b.m_banner2.m_text = "";
        b.m_clock = r.clockBefore;
        b.Run();  // the step moves the clock onto the event
        b.Run();  // the next frame announces it
        EXPECT_EQ(b.m_banner1.m_text, r.banner1) << r.clockBefore;
        EXPECT_EQ(b.m_banner2.m_text, r.banner2) << r.clockBefore;
    }
    EXPECT_EQ(b.m_phase, kPhaseFight);
}

}  // namespace
