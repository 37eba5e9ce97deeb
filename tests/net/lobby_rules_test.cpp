// The flow's decisions row by row: the start wait's frame from the tables, the checks before
// "start", and the values a match is built with.
#include "lobby_fixture.h"

#include "lobby_flow.h"
#include "test_folder.h"

namespace {

// ---- Start wait ----------------------------------------------------------------------------------

struct StartWaitRow {
    const char* what;
    const char* connections;  // one letter a slot: c "接続", e "未接続", w "待ち"
    const char* states;       // one letter a slot: w "開始待ち", b "戦闘中", r "戦闘拒否", m "メインメニュー", - empty
    int ownId;
    const char* ownState;     // same letters
    bool confirm;
    bool connected;
    const char* newState;
    bool status, leaveRefused, sendStart, leaveBattle;
};

std::string StateOf(char c) {
    switch (c) {
        case 'w': return kStateWaiting;
        case 'b': return kStateInBattle;
        case 'r': return kStateRefused;
        case 'm': return kStateMainMenu;
        default: return "";
    }
}

std::string ConnectionOf(char c) { return c == 'c' ? kSlotConnected : c == 'e' ? kSlotEmpty : "待ち"; }

TEST(StartWaitRules, EachFrameFromTheTables) {
    const StartWaitRow rows[] = {
        {"host, all waiting: start", "cceeee", "ww----", 0, "w", false, true, "w", false, false, true, false},
        {"client, all waiting: no start of its own", "cceeee", "ww----", 1, "w", false, true, "w", false, false, false, false},
        {"host, one not yet waiting", "cceeee", "wm----", 0, "w", false, true, "w", false, false, false, false},
        {"empty and waiting slots do not count", "ceweee", "wmm---", 0, "w", false, true, "w", false, false, true, false},
        {"all in battle: leave", "cceeee", "bb----", 1, "b", false, true, "b", false, false, false, true},
        {"host in battle, client still waiting", "cceeee", "bw----", 0, "b", false, true, "b", false, false, false, false},
        {"host cancels: its refusal has not come back yet", "cceeee", "ww----", 0, "w", true, true, "r", true, false, true, false},
        {"cancel in battle does nothing", "cceeee", "bb----", 1, "b", true, true, "b", false, false, false, true},
        {"refusal came back: leave at once", "cceeee", "wr----", 1, "r", false, true, "r", false, true, false, false},
        {"someone left while others start: wait again", "ccceee", "bbm---", 2, "b", false, true, "w", true, false, false, false},
        {"a cancel in that frame stands", "ccceee", "bwm---", 1, "w", true, true, "r", true, false, false, false},
        {"unconnected cancel leaves at once", "cceeee", "ww----", 1, "w", true, false, "r", true, true, false, false},
        {"unconnected, refused earlier: leave", "cceeee", "ww----", 1, "r", false, false, "r", false, true, false, false},
    };
    for (const StartWaitRow& r : rows) {
        std::string connections[kLobbySlots], states[kLobbySlots];
        for (int i = 0; i < kLobbySlots; ++i) {
            connections[i] = ConnectionOf(r.connections[i]);
            states[i] = StateOf(r.states[i]);
        }
        const CStartWaitFrame f = DecideStartWait(connections, states, kLobbySlots, r.ownId, StateOf(r.ownState[0]),
                                                  r.confirm, r.connected);
        EXPECT_EQ(f.ownState, StateOf(r.newState[0])) << r.what;
        EXPECT_EQ(f.statusUpdate, r.status) << r.what;
        EXPECT_EQ(f.leaveRefused, r.leaveRefused) << r.what;
        EXPECT_EQ(f.sendStart, r.sendStart) << r.what;
        EXPECT_EQ(f.leaveBattle, r.leaveBattle) << r.what;
    }
}

// ---- Start checks and match set-up (lobbies need the engine for their sounds and fonts) ------------

TEST_F(LobbyTest, StartIsRefusedWithoutIdConnectionOrOwnSlot) {
    CTestLink link;
    CLobby lobby(&link);
    struct Row {
        int ownId;
        int connected;
        const char* ownSlot;
        const char* refusal;
    } rows[] = {
        {-1, 1, "接続", "no own id"},
        {6, 1, "接続", "no own id"},
        {2, 0, "接続", "not connected"},
        {2, 1, "待ち", "own slot not connected"},
        {2, 1, "未接続", "own slot not connected"},
        {2, 1, "接続", nullptr},
        {0, 1, "接続", nullptr},
    };
    for (const Row& r : rows) {
        lobby.m_ownId = r.ownId;
        for (int i = 0; i < kLobbySlots; ++i) lobby.m_slotConnections[i] = "接続";
        if (r.ownId >= 0 && r.ownId < kLobbySlots) lobby.m_slotConnections[r.ownId] = r.ownSlot;
        const char* why = StartRefusal(lobby, r.connected);
        if (r.refusal)
            EXPECT_STREQ(why, r.refusal) << r.ownId << " " << r.connected;
        else
            EXPECT_EQ(why, nullptr) << r.ownId;
    }
}

struct SetupRow {
    const char* what;
    const char* connections;  // c, e, w as above
    int mode, timeLimit, fighters, stage, ownId;
    int clock;
    float ammo;
    int expectFighters, robotCount, expectStage;
    const char* mission;
};

TEST_F(LobbyTest, MatchSetupFromTheTables) {
    const SetupRow rows[] = {
        {"90 seconds", "cceeee", 3, 90, 2, 14, 1, 2700, 1.5f, 2, 2, 14, "敵勢力撃滅"},
        {"unlimited", "cceeee", 3, -1, 4, 2, 0, -30, 10.0f, 4, 4, 2, "敵勢力撃滅"},
        {"60 seconds, leader rule", "cceeee", 2, 60, 6, 17, 0, 1800, 1.0f, 6, 6, 17, "敵リーダー撃破"},
        {"All Survival, slots 0, 1, 4", "cceece", 4, 120, 2, 1, 4, 3600, 2.0f, 5, 5, 1, "サバイブ"},
        {"All Survival, slots 0, 1", "cceeee", 4, 60, 6, 1, 1, 1800, 1.0f, 3, 3, 1, "サバイブ"},
        {"other mode keeps the battle's rule", "cceeee", 1, 60, 2, 1, 0, 1800, 1.0f, 2, 2, 1, ""},
        {"clamped: stage, time, count", "cceeee", 3, 5000, 9, 7, 0, 999 * 30, 999 / 60.0f, 9, 6, 1, "敵勢力撃滅"},
        {"clamped: zero time and count", "cceeee", 3, 0, 0, 3, 0, 30, 1 / 60.0f, 0, 1, 3, "敵勢力撃滅"},
    };
    CTestLink link;
    for (const SetupRow& r : rows) {
        CLobby lobby(&link);
        for (int i = 0; i < kLobbySlots; ++i) {
            lobby.m_slotConnections[i] = ConnectionOf(r.connections[i]);
            lobby.m_slotNames[i] = std::string("P") + std::to_string(i);
        }
        lobby.m_mode = r.mode;
        lobby.m_timeLimit = r.timeLimit;
        lobby.m_fighters = r.fighters;
        lobby.m_stage = r.stage;
        lobby.m_ownId = r.ownId;
        const CMatchSetup s = MakeMatchSetup(lobby);
        EXPECT_EQ(s.clock, r.clock) << r.what;
        EXPECT_FLOAT_EQ(s.ammoFactor, r.ammo) << r.what;
        EXPECT_EQ(s.fighters, r.expectFighters) << r.what;
        EXPECT_EQ(s.robotCount, r.robotCount) << r.what;
        EXPECT_EQ(s.stage, r.expectStage) << r.what;
        EXPECT_EQ(s.mission, r.mission) << r.what;
        EXPECT_EQ(s.ownIndex, r.ownId) << r.what;
        for (int i = 0; i < kLobbySlots; ++i) {
            const bool empty = r.connections[i] == 'e';
            EXPECT_EQ(s.owners[i], empty ? 0 : i) << r.what << " slot " << i;
            EXPECT_EQ(s.slotNames[i], empty ? std::string("CPU") + std::to_string(i) : std::string("P") + std::to_string(i)) << r.what;
            EXPECT_EQ(s.names[i], s.slotNames[i]) << r.what;
            if (r.mode == 4)
                EXPECT_EQ(s.teams[i], std::to_string(i) + "X") << r.what;
            else
                EXPECT_EQ(s.teams[i], lobby.m_slotTeams[i]) << r.what;
        }
    }
}

// Battle indexes place each slot's team, owner and name on its robot, clamped to the six robots.
TEST_F(LobbyTest, MatchSetupFollowsTheBattleIndexes) {
    CTestLink link;
    CLobby lobby(&link);
    const int indexes[kLobbySlots] = {1, 0, 2, 3, 4, 99};
    const char* teams[kLobbySlots] = {"AL", "BL", "AM", "BM", "AM", "BM"};
    for (int i = 0; i < kLobbySlots; ++i) {
        lobby.m_slotBattleIndex[i] = indexes[i];
        lobby.m_slotTeams[i] = teams[i];
        lobby.m_slotConnections[i] = i < 3 ? "接続" : "未接続";
        lobby.m_slotNames[i] = std::string("N") + std::to_string(i);
    }
    lobby.m_ownId = 0;
    const CMatchSetup s = MakeMatchSetup(lobby);
    EXPECT_EQ(s.ownIndex, 1);
    EXPECT_EQ(s.battleIndex[5], 5);
    EXPECT_EQ(s.teams[0], "BL");
    EXPECT_EQ(s.teams[1], "AL");
    EXPECT_EQ(s.owners[0], 1);
    EXPECT_EQ(s.owners[1], 0);
    EXPECT_EQ(s.names[0], "N1");
    EXPECT_EQ(s.names[1], "N0");
    EXPECT_EQ(s.names[5], "CPU5");
}

}  // namespace
