// The lobby's own traffic on joining and leaving, byte for byte, and a match built from the
// tables and run by the lobby's match loop on a link the test holds.
#include "lobby_fixture.h"

#include "lobby_flow.h"
#include "net_battle.h"
#include "robot_presets.h"

#include "engine.h"

#include "sys_rand.h"

#include <algorithm>

namespace {

struct GreetingRow {
    unsigned seed;
    const char* line4;   // opener, NAME, verb (draws % 6 then % 5)
    const char* remark;  // third draw % 10
};

TEST_F(LobbyTest, JoinGreetingBytes) {
    WriteWholeFile("ap.ini", "[NET]\r\nNAME=A>B\r\n[QM]\r\nIN=yo>tb-end\r\n");
    const GreetingRow rows[] = {
        {3, "その時突然A＞Bが現れた", "メンツを見てガッカリしている"},
        {5, "その時突然A＞Bが出現", "気不味いフインキだ(←何故か変換出来ない)"},
        {6, "脅威の新人A＞Bが出現", "空気が全く読めていない"},
        {7, "噂をすればA＞Bが登場", "気不味いフインキだ(←何故か変換出来ない)"},
    };
    for (const GreetingRow& r : rows) {
        CTestLink link;
        link.m_connected = 0;  // queued only
        CLobby lobby(&link);
        GameSrand(r.seed);
        lobby.PostJoinGreeting();
        const std::string expected = std::string(">tb-end>tp-new>mVer0.18.5>m") + r.line4 + ">mA＞B:yo＞tb-end>m" + r.remark;
        EXPECT_EQ(lobby.m_sendQueue, expected) << "seed " << r.seed;
    }
}

// Leaving: the notice goes out with the queue in the same send; a client posts no announcement.
TEST_F(LobbyTest, LeavingSendsTheNoticeAtOnce) {
    CTestLink link;
    CLobby lobby(&link);
    lobby.m_ownId = 1;
    lobby.QueueMessage(">mbye");
    lobby.QueueLeaving();
    ASSERT_EQ(link.m_sent.size(), 1u);
    EXPECT_EQ(link.m_sent[0], ">mbye>tp-dell");
    EXPECT_TRUE(lobby.m_sendQueue.empty());

    CTestLink down;
    down.m_connected = 0;
    CLobby offline(&down);
    offline.QueueLeaving();
    EXPECT_TRUE(down.m_sent.empty());
}

// Only a valid build becomes the own robot: eight blanks (the robot menu on quit) and an unsaved
// build (eight 0x80 bytes, type 0) leave it as it was.
TEST_F(LobbyTest, OwnRobotCodeTakesOnlyValidCodes) {
    CTestLink link;
    CLobby lobby(&link);
    const std::string before = lobby.m_ownCode;
    const std::string good = "\xA4\x80\x82\x80\x80\x80\x80\x80";
    struct Row {
        std::string code;
        int taken;
    } rows[] = {{"        ", 0}, {std::string(8, '\x80'), 0}, {good.substr(0, 7), 0}, {"", 0}, {good, 1}};
    for (const Row& r : rows) {
        lobby.m_ownCode = before;
        EXPECT_EQ(lobby.TakeOwnRobotCode(r.code), r.taken) << EscapeForLog(r.code, 16);
        EXPECT_EQ(lobby.m_ownCode, r.taken ? r.code : before);
    }
}

// What the match hook sees of the battle the lobby built, and of it once over.
struct MatchSeen {
    int calls = 0;
    int over = 0, result = 0;
    int robotCount = 0, clock = 0, localId = -1, ownIndex = -1, ownType = -1;
    int owners[kLobbySlots] = {};
    std::string names[kLobbySlots], teams[kLobbySlots];
    std::string mission;
};

void SeeMatch(CNetBattle* b, void* context) {
    MatchSeen& m = *static_cast<MatchSeen*>(context);
    if (++m.calls > 1) {  // the loop has ended
        m.over = b->IsOver();
        m.result = b->m_result;
        return;
    }
    m.robotCount = b->m_robotCount;
    m.clock = b->m_clock;
    m.localId = b->m_localId;
    m.ownIndex = b->m_ownIndex;
    m.ownType = b->m_cpu[b->m_ownIndex].m_type;
    m.mission = b->m_mission;
    for (int i = 0; i < kLobbySlots; ++i) {
        m.owners[i] = b->m_owner[i];
        m.names[i] = b->m_robots[i].m_actionNames[kActName];
        m.teams[i] = b->m_robots[i].m_teamCode;
    }
}

// A client in slot 1 of a 4-robot team match; the relay never answers, so the battle waits for
// keys, until the connection goes: the match loop ends the battle itself and the lobby is back.
// The host's key record and tick, from a match that began first, reach the battle.
TEST_F(LobbyTest, MatchIsBuiltFromTheTablesAndEndsWhenTheConnectionGoes) {
    CTestLink link;
    CLobby lobby(&link);
    lobby.m_ownId = 1;
    lobby.m_ownState = kStateInBattle;
    const char* connections[kLobbySlots] = {"接続", "接続", "待ち", "未接続", "未接続", "未接続"};
    for (int i = 0; i < kLobbySlots; ++i) {
        lobby.m_slotConnections[i] = connections[i];
        lobby.m_slotNames[i] = std::string("N") + std::to_string(i);
    }
    lobby.m_mode = 3;
    lobby.m_timeLimit = 90;
    lobby.m_fighters = 4;
    lobby.m_stage = 1;
    MatchSeen seen;
    lobby.m_onMatch = SeeMatch;
    lobby.m_onMatchContext = &seen;
    lobby.m_battleInbox = ">c0000000000009>tc7";
    bool sawBattle = false;
    int lostAt = 0;
    std::string hostKeys;
    int hostTick = 0;
    driver.OnEachPump([&] {
        if (lobby.m_battle) sawBattle = true;
        if (driver.Pumps() == 150) {
            if (lobby.m_battle) {
                hostKeys = lobby.m_battle->m_exchange.m_keyBuffers[0];
                hostTick = lobby.m_battle->m_exchange.m_hostTick;
            }
            link.m_connected = 0;
            lostAt = driver.Pumps();
        }
    });
    driver.SetPumpLimit(400);
    lobby.RunNetBattle();
    EXPECT_FALSE(driver.LimitReached());
    EXPECT_EQ(g_quit, 0);
    EXPECT_TRUE(sawBattle);
    EXPECT_EQ(lobby.m_battle, nullptr);
    EXPECT_GT(lostAt, 0);
    EXPECT_LE(driver.Pumps(), lostAt + 35) << "forced end: 31 frames";
    EXPECT_NE(driver.Log().find("lobby: connection lost in the match"), std::string::npos);
    EXPECT_EQ(hostKeys, "000000000009");
    EXPECT_EQ(hostTick, 7);

    ASSERT_EQ(seen.calls, 2);
    EXPECT_TRUE(seen.over);
    EXPECT_EQ(seen.result, kResultForcedEnd);
    EXPECT_EQ(seen.robotCount, 4);
    EXPECT_EQ(seen.clock, 2700);
    EXPECT_EQ(seen.localId, 1);
    EXPECT_EQ(seen.ownIndex, 1);
    EXPECT_EQ(seen.ownType, 0);
    EXPECT_EQ(seen.mission, "敵勢力撃滅");
    const int owners[kLobbySlots] = {0, 1, 2, 0, 0, 0};
    const char* names[kLobbySlots] = {"N0", "N1", "N2", "CPU3", "CPU4", "CPU5"};
    for (int i = 0; i < kLobbySlots; ++i) {
        EXPECT_EQ(seen.owners[i], owners[i]) << i;
        EXPECT_EQ(seen.names[i], names[i]) << i;
        EXPECT_EQ(lobby.m_slotNames[i], names[i]) << i;
        EXPECT_EQ(seen.teams[i], lobby.m_slotTeams[i]) << i;
    }
    // The battle's own traffic went out through the lobby: the preset keys of robot 1.
    std::string sent;
    for (const std::string& chunk : link.m_sent) sent += chunk;
    EXPECT_NE(sent.find(">c1000000000000>c1000000000000"), std::string::npos);
    EXPECT_EQ(sent.find(">c0"), std::string::npos) << "a client sends only its own robot's keys";
}

// After a battle: empty slots among the fighters get a model's robot and a "CPU" name; players,
// slots still waiting for a ">l" and slots beyond the fighter count keep theirs.
TEST_F(LobbyTest, NewCpuRobotsOnlyForEmptyFighterSlots) {
    CTestLink link;
    CLobby lobby(&link);
    const char* connections[kLobbySlots] = {"接続", "未接続", "待ち", "未接続", "未接続", "未接続"};
    const std::string old = lobby.m_slotCodes[0];
    for (int i = 0; i < kLobbySlots; ++i) {
        lobby.m_slotConnections[i] = connections[i];
        lobby.m_slotNames[i] = std::string("N") + std::to_string(i);
    }
    lobby.m_fighters = 4;
    std::vector<std::string> models;
    for (const char* m : kSelectableModels) models.push_back(GetRobotConfigCode(m));
    for (unsigned seed : {1u, 2u, 3u}) {
        GameSrand(seed);
        lobby.RandomizeCpuSlots();
        for (int i = 0; i < kLobbySlots; ++i) {
            const bool renewed = i == 1 || i == 3;
            EXPECT_EQ(lobby.m_slotNames[i], renewed ? std::string("CPU") + std::to_string(i) : std::string("N") + std::to_string(i));
            if (renewed)
                EXPECT_NE(std::find(models.begin(), models.end(), lobby.m_slotCodes[i]), models.end()) << i;
            else
                EXPECT_EQ(lobby.m_slotCodes[i], old) << i;
        }
    }
}

}  // namespace
