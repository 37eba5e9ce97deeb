// The lobby's own data and writers: construction defaults and teardown, the exact bytes of its
// status records, how the send queue leaves in chunks, team balancing, the connected count and
// the sound cues.
#include "lobby_fixture.h"

#include "fake_clock.h"
#include "settings.h"

namespace {

// Type 29, no weapons or variants, main colour 7/7/7, sub colour 5/5/7.
const std::string kDefaultCode = "\x9D\x80\x80\x80\x80\xAF\xAF\xBF";

TEST_F(LobbyTest, ConstructionDefaults) {
    CTestLink link;
    CLobby lobby(&link);
    EXPECT_EQ(DefaultBuildCode(), kDefaultCode);
    EXPECT_EQ(lobby.m_ip, "10.0.0.7");
    EXPECT_EQ(lobby.m_name, "TESTER");
    EXPECT_EQ(lobby.m_msg, "hello");
    EXPECT_EQ(lobby.m_hostPort, 6001);
    EXPECT_EQ(lobby.m_gestPort, 6002);
    EXPECT_EQ(lobby.m_slotCount, 6);
    const char* teams[] = {"AL", "BL", "AM", "BM", "AM", "BM"};
    for (int i = 0; i < kLobbySlots; ++i) {
        EXPECT_EQ(lobby.m_slotCodes[i], kDefaultCode);
        EXPECT_EQ(lobby.m_slotBattleIndex[i], i);
        EXPECT_EQ(lobby.m_slotNames[i], "CPU");
        EXPECT_EQ(lobby.m_slotConnections[i], "待ち");
        EXPECT_EQ(lobby.m_slotStates[i], "");
        EXPECT_EQ(lobby.m_slotTeams[i], teams[i]);
    }
    EXPECT_EQ(lobby.m_stage, 1);
    EXPECT_EQ(lobby.m_mode, 3);
    EXPECT_EQ(lobby.m_timeLimit, 60);
    EXPECT_EQ(lobby.m_fighters, 2);
    EXPECT_EQ(lobby.m_ownId, -1);
    EXPECT_EQ(lobby.m_ownCode, kDefaultCode);
    EXPECT_EQ(lobby.m_ownStage, 14);
    EXPECT_EQ(lobby.m_ownBattleIndex, 0);
    EXPECT_EQ(lobby.m_ownTeam, "AM");
    EXPECT_EQ(lobby.m_ownState, "");
    EXPECT_EQ(lobby.m_statusPeriod, 10);
    EXPECT_EQ(lobby.m_announce, 0);
    EXPECT_TRUE(lobby.m_cue1.IsLoaded());
    EXPECT_TRUE(lobby.m_cue2.IsLoaded());
}

TEST_F(LobbyTest, TeardownWritesTheConnectionSettingsOnly) {
    WriteWholeFile("ap.ini", "[NET]\r\nNAME=OLD\r\nPlayBuff=7\r\n[QM]\r\nIN=hi all\r\n");
    {
        CTestLink link;
        CLobby lobby(&link);
        lobby.m_ip = "127.0.0.1";
        lobby.m_name = "NEWNAME";
        lobby.m_msg = "come in";
        lobby.m_hostPort = 7000;
        lobby.m_gestPort = 7001;
    }
    CSettings after;
    EXPECT_EQ(after.m_ip, "127.0.0.1");
    EXPECT_EQ(after.m_name, "NEWNAME");
    EXPECT_EQ(after.m_msg, "come in");
    EXPECT_EQ(after.m_hostPort, 7000);
    EXPECT_EQ(after.m_gestPort, 7001);
    EXPECT_EQ(after.m_quickChat[kQuickIn], "hi all");
    EXPECT_EQ(after.m_values[kValuePlayBuff], 7);
}

TEST_F(LobbyTest, OwnStatusOfClientTwoGoldenBytes) {
    CTestLink link;
    CLobby lobby(&link);
    lobby.m_ownId = 2;
    lobby.m_name = "B>B";  // a typed mark must not start a message
    lobby.m_ownState = "メインメニュー";
    lobby.m_ownTeam = "BM";
    lobby.QueueOwnStatus();
    EXPECT_EQ(lobby.m_sendQueue, ">g22r" + kDefaultCode + ">g22m14>g22p0>g22nB＞B>g22sメインメニュー>g22tBM");
}

TEST_F(LobbyTest, OwnStatusBeforeTheIdIsKnownIsDroppedEverywhere) {
    CTestLink link;
    CLobby early(&link);
    early.m_name = "EARLY";
    early.QueueOwnStatus();
    EXPECT_EQ(early.m_sendQueue.substr(0, 6), ">g-1-1");
    for (int own : {0, 1}) {
        CLobby receiver(&link);
        receiver.m_ownId = own;
        Feed(receiver, early.m_sendQueue);
        EXPECT_EQ(receiver.m_slotNames[0], "CPU") << own;
        EXPECT_EQ(receiver.m_slotNames[1], "CPU") << own;
        EXPECT_EQ(receiver.m_stage, 1) << own;
        EXPECT_EQ(receiver.m_slotTeams[1], "BL") << own;
    }
}

TEST_F(LobbyTest, HostBroadcastWithConstructionDefaults) {
    CTestLink link;
    CLobby lobby(&link);
    lobby.m_ownId = 0;
    lobby.BroadcastSettings();
    std::string expected;
    const char* teams[] = {"AL", "BL", "AM", "BM", "AM", "BM"};
    for (int k = 1; k <= 5; ++k) {
        const std::string h = ">g0" + std::to_string(k);
        expected += h + "r" + kDefaultCode + h + "m1" + h + "g3" + h + "l60" + h + "b2" + h + "p" + std::to_string(k) +
                    h + "nCPU" + h + "s" + h + "t" + teams[k];
    }
    EXPECT_EQ(lobby.m_sendQueue, expected);
    EXPECT_EQ(Messages(lobby.m_sendQueue).size(), 45u);
}

TEST_F(LobbyTest, OnlyTheHostBroadcasts) {
    CTestLink link;
    CLobby lobby(&link);
    for (int id : {-1, 1, 2, 3, 4, 5}) {
        lobby.m_ownId = id;
        lobby.m_sendQueue.clear();
        lobby.BroadcastSettings();
        EXPECT_EQ(lobby.m_sendQueue, "") << id;
    }
    lobby.m_ownId = 0;
    lobby.BroadcastSettings();
    EXPECT_EQ(Messages(lobby.m_sendQueue).size(), 45u);
}

// The host's own broadcast comes back through the relay and must not undo what it stored since.
TEST_F(LobbyTest, HostIgnoresItsOwnBroadcastEcho) {
    CTestLink link;
    CLobby host(&link);
    host.m_ownId = 0;
    host.BroadcastSettings();
    const std::string echo = host.m_sendQueue;
    host.m_slotNames[1] = "AMY";
    host.m_slotTeams[2] = "BM";
    host.m_stage = 5;
    Feed(host, echo);
    EXPECT_EQ(host.m_slotNames[1], "AMY");
    EXPECT_EQ(host.m_slotTeams[2], "BM");
    EXPECT_EQ(host.m_stage, 5);
    // A client takes every field of the same broadcast.
    CLobby client(&link);
    client.m_ownId = 1;
    client.m_slotNames[1] = "ME";
    client.m_stage = 6;
    Feed(client, echo);
    EXPECT_EQ(client.m_slotNames[1], "CPU");
    EXPECT_EQ(client.m_stage, 1);
}

struct SendCase {
    const char* name;
    std::string queue;
    std::vector<size_t> chunks;  // lengths of the chunks of successive frames
};

std::string Filler(size_t n) { return std::string(n, 'x'); }

TEST_F(LobbyTest, SendNetCutsBeforeAMark) {
    const std::string longMessage = ">m" + Filler(2000);
    const std::vector<SendCase> cases = {
        {"1500 with the last mark of the first 1024 at 1000", ">m" + Filler(998) + ">m" + Filler(498), {1000, 500}},
        {"exactly 1024 is cut like a longer queue", ">m" + Filler(598) + ">m" + Filler(422), {600, 424}},
        {"1023 goes out whole", ">m" + Filler(1021), {1023}},
        {"no mark in the first 1024", Filler(1500) + ">m1", {1024, 479}},
        {"a first message too long for a chunk goes whole", longMessage + ">i-", {2002, 3}},
        {"a long message alone", longMessage, {2002}},
        {"empty queue sends nothing", "", {}},
    };
    for (const SendCase& c : cases) {
        CTestLink link;
        CLobby lobby(&link);
        lobby.m_sendQueue = c.queue;
        for (size_t i = 0; i < c.chunks.size() + 2; ++i) lobby.SendNet();
        std::vector<size_t> lengths;
        std::string joined;
        for (const std::string& s : link.m_sent) {
            lengths.push_back(s.size());
            joined += s;
        }
        EXPECT_EQ(lengths, c.chunks) << c.name;
        EXPECT_EQ(joined, c.queue) << c.name;
        EXPECT_EQ(lobby.m_sendQueue, "") << c.name;
    }
}

TEST_F(LobbyTest, SendNetWaitsForTheConnectionAndPutsRequestsInFront) {
    CTestLink link;
    link.m_connected = 0;
    CLobby lobby(&link);
    lobby.m_ownId = 0;
    for (int i = 0; i < 10; ++i) {
        lobby.QueueOwnStatus();
        lobby.BroadcastSettings();
        lobby.SendNet();
    }
    EXPECT_TRUE(link.m_sent.empty());
    const std::string queued = lobby.m_sendQueue;
    ASSERT_GT(queued.size(), 3000u);
    link.m_connected = 1;
    link.m_writable = 0;
    lobby.SendNet();
    EXPECT_TRUE(link.m_sent.empty());
    link.m_writable = 1;
    lobby.QueueRequest(kRequestList);
    lobby.QueueRequest(kRequestId);
    for (int i = 0; i < 10; ++i) lobby.SendNet();
    std::string joined;
    for (const std::string& s : link.m_sent) {
        EXPECT_LE(s.size(), 1024u);
        EXPECT_EQ(s[0], '>');  // every chunk starts a message
        joined += s;
    }
    EXPECT_EQ(link.m_sent[0].substr(0, 11), ">I->L------");
    EXPECT_EQ(joined, std::string(kRequestId) + kRequestList + queued);
}

TEST_F(LobbyTest, SendQueueCapHoldsOnlyWhileUnconnected) {
    CTestLink link;
    link.m_connected = 0;
    CLobby lobby(&link);
    const std::string message = ">m" + Filler(998);
    for (int i = 0; i < 100; ++i) lobby.QueueMessage(message);
    EXPECT_EQ(lobby.m_sendQueue.size(), 65000u);  // 65 whole messages fit in 64 KiB
    lobby.QueueRequest(kRequestList);
    EXPECT_EQ(lobby.m_sendQueue.size(), 65008u);
    lobby.QueueMessage(message);
    EXPECT_EQ(lobby.m_sendQueue.size(), 65008u);
    EXPECT_NE(driver.Log().find("net: dropped send queue full: >mxxxx"), std::string::npos) << driver.Log();
    link.m_connected = 1;
    link.m_writable = 0;
    lobby.QueueMessage(message);
    EXPECT_EQ(lobby.m_sendQueue.size(), 66008u);
}

TEST_F(LobbyTest, BattleInboxDropsItsOldestWholeMessages) {
    CTestLink link;
    CLobby lobby(&link);
    const std::string key = ">c1" + std::string(12, '3');  // 15 bytes
    for (int i = 0; i < 5000; ++i) lobby.AppendBattleInbox(key.substr(0, 2) + std::to_string(i % 6) + key.substr(3));
    EXPECT_LE(lobby.m_battleInbox.size(), kNetTextCap);
    EXPECT_GT(lobby.m_battleInbox.size(), kNetTextCap - 15);
    EXPECT_EQ(lobby.m_battleInbox[0], '>');
    EXPECT_EQ(lobby.m_battleInbox.size() % 15, 0u);
    EXPECT_EQ(lobby.m_battleInbox.substr(lobby.m_battleInbox.size() - 15), ">c1" + std::string(12, '3'));
    EXPECT_NE(driver.Log().find("net: dropped battle inbox full: "), std::string::npos);
}

struct BalanceCase {
    const char* name;
    int fighters, mode;
    std::vector<std::string> teams, connections, expected;
};

TEST_F(LobbyTest, BalanceTeamsRetagsOnlyEmptyCpuSlots) {
    const std::string on = "接続", off = "未接続", wait = "待ち";
    const std::vector<BalanceCase> cases = {
        {"one empty slot evens four", 4, 3, {"AL", "BL", "AM", "AM", "AM", "BM"}, {on, on, on, off, off, off},
         {"AL", "BL", "AM", "BM", "AM", "BM"}},
        {"All Survival never retags", 4, 4, {"AL", "AM", "AM", "AM", "AM", "BM"}, {on, off, off, off, off, off},
         {"AL", "AM", "AM", "AM", "AM", "BM"}},
        {"players keep their team", 4, 3, {"AL", "AM", "AM", "AM", "AM", "BM"}, {on, on, on, on, off, off},
         {"AL", "AM", "AM", "AM", "AM", "BM"}},
        {"waiting slots are not retagged", 4, 3, {"AL", "AM", "AM", "AM", "AM", "BM"}, {on, wait, wait, off, off, off},
         {"AL", "AM", "AM", "BM", "AM", "BM"}},
        {"B heavy: empty slots join A until level", 6, 3, {"BL", "BM", "BM", "BM", "AM", "BM"},
         {on, off, off, off, off, off}, {"BL", "AM", "AM", "BM", "AM", "BM"}},
        {"already level stays", 2, 3, {"AL", "BL", "AM", "BM", "AM", "BM"}, {off, off, off, off, off, off},
         {"AL", "BL", "AM", "BM", "AM", "BM"}},
        {"only the fighters count", 4, 3, {"AL", "AM", "AM", "AM", "AM", "AM"}, {on, off, off, off, off, off},
         {"AL", "BM", "BM", "AM", "AM", "AM"}},
        {"an odd count cannot level: the last empty slot flips over", 3, 3, {"AL", "AM", "AM", "BM", "BM", "BM"},
         {on, off, off, off, off, off}, {"AL", "BM", "BM", "BM", "BM", "BM"}},
    };
    for (const BalanceCase& c : cases) {
        CTestLink link;
        CLobby lobby(&link);
        lobby.m_fighters = c.fighters;
        lobby.m_mode = c.mode;
        for (int i = 0; i < kLobbySlots; ++i) {
            lobby.m_slotTeams[i] = c.teams[i];
            lobby.m_slotConnections[i] = c.connections[i];
        }
        lobby.BalanceTeams();
        for (int i = 0; i < kLobbySlots; ++i) EXPECT_EQ(lobby.m_slotTeams[i], c.expected[i]) << c.name << " slot " << i;
    }
}

TEST_F(LobbyTest, CountConnectedResetsTheOtherSlots) {
    CTestLink link;
    CLobby lobby(&link);
    const std::string states[] = {"接続", "未接続", "接続", "待ち", "未接続", "接続"};
    for (int i = 0; i < kLobbySlots; ++i) {
        lobby.m_slotConnections[i] = states[i];
        lobby.m_slotNames[i] = std::string(1, 'P').append(std::to_string(i));
    }
    EXPECT_EQ(lobby.CountConnected(), 3);
    const char* names[] = {"P0", "CPU", "P2", "CPU", "CPU", "P5"};
    const std::string after[] = {"接続", "待ち", "接続", "待ち", "待ち", "接続"};
    for (int i = 0; i < kLobbySlots; ++i) {
        EXPECT_EQ(lobby.m_slotNames[i], names[i]) << i;
        EXPECT_EQ(lobby.m_slotConnections[i], after[i]) << i;
    }
}

TEST_F(LobbyTest, PlayCueBlocksOnlyForTheTripleCue) {
    CTestLink link;
    CLobby lobby(&link);
    const struct {
        int cue;
        unsigned sleptMs;
        bool plays1, plays2;
    } cases[] = {{0, 0, false, false}, {1, 0, true, false}, {2, 0, false, true}, {3, 200, true, false}, {4, 0, false, false}};
    for (const auto& c : cases) {
        lobby.m_cue1.Stop();
        lobby.m_cue2.Stop();
        unsigned before = FakeClock::slept;
        lobby.PlayCue(c.cue);
        EXPECT_EQ(FakeClock::slept - before, c.sleptMs) << c.cue;
        EXPECT_EQ(lobby.m_cue1.IsPlaying() != 0, c.plays1) << c.cue;
        EXPECT_EQ(lobby.m_cue2.IsPlaying() != 0, c.plays2) << c.cue;
    }
}

TEST_F(LobbyTest, UpdateNetQueuesAStatusUpdateEveryTenthFrame) {
    CTestLink link;
    link.m_connected = 0;
    CLobby lobby(&link);
    lobby.m_ownId = 0;
    for (int frame = 1; frame <= 9; ++frame) lobby.UpdateNet();
    EXPECT_EQ(lobby.m_sendQueue, "");
    lobby.UpdateNet();
    EXPECT_EQ(Messages(lobby.m_sendQueue).size(), 6u + 45u);
    EXPECT_EQ(lobby.m_statusCounter, 0);
}

}  // namespace

namespace {

// A flood of bad records must not flood the log: one line per reason a second, and the next
// line says how many were left out meanwhile.
TEST_F(LobbyTest, DropLinesAreLimitedPerReasonAndSecond) {
    auto count = [&](const std::string& text) { return (size_t)CountOf(driver.Log(), text); };
    for (int i = 0; i < 5; ++i) LogNetDrop("stage", ">g01m" + std::to_string(90 + i));
    LogNetDrop("mode", ">g01g9");
    EXPECT_EQ(count("net: dropped stage: "), 1u);
    EXPECT_EQ(count("net: dropped stage: >g01m90\n"), 1u);
    EXPECT_EQ(count("net: dropped mode: >g01g9\n"), 1u);
    FakeClock::Advance(999);
    LogNetDrop("stage", ">g01m95");
    EXPECT_EQ(count("net: dropped stage: "), 1u);
    FakeClock::Advance(1);
    LogNetDrop("stage", std::string(">g01n") + std::string(60, 'q') + "\x82\xa0\n");
    EXPECT_EQ(count("net: dropped stage: "), 2u);
    // Forty bytes at most, escaped, and the five held back.
    EXPECT_EQ(count("net: dropped stage: >g01n" + std::string(35, 'q') + " (5 left out)\n"), 1u);
    EXPECT_EQ(EscapeForLog(std::string("a\\b\x82\xa0\n\0", 7), 40), "a\\x5Cb\\x82\\xA0\\x0A\\x00");
}

}  // namespace
