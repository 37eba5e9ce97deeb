// Lobbies that talk through a relay: three on the in-process relay with a hostile program in a
// further slot, and one on the real relay program with two plain TCP clients. However the relay
// cuts the stream and whatever the hostile program writes, every table ends equal to the host's
// and in range, every buffer within its cap.
#include "lobby_fixture.h"

#include "fake_relay.h"
#include "relay_harness.h"
#include "socket_link.h"
#include "status_record.h"

#include "engine.h"

#include <unistd.h>

#include <memory>

namespace {

const std::string kCodeAmy = "\xA4\x80\x82\x80\x80\x80\x80\x80";
const std::string kCodeBen = "\x89\x87\x8C\xFF\xFF\xFF\xFF\xFF";

// One game in the lobby's menus: the requests at frames 6 and 8 of each 10-frame cycle, the
// status update at frame 10, then the network service.
struct MenuGame {
    std::unique_ptr<CLobby> lobby;
    int counter = 0;

    void Frame() {
        ++counter;
        if (counter == 6) lobby->QueueRequest(kRequestId);
        if (counter == 8) lobby->QueueRequest(kRequestList);
        if (counter == 10) {
            counter = 0;
            lobby->QueueOwnStatus();
            lobby->BroadcastSettings();
        }
        lobby->ReceiveNet();
        lobby->SendNet();
        lobby->DispatchNet();
    }
};

std::unique_ptr<CLobby> MakeLobby(CNetLink* link, const char* name, const std::string& code, const char* team) {
    auto lobby = std::make_unique<CLobby>(link);
    lobby->m_name = name;
    lobby->m_ownCode = code;
    lobby->m_ownTeam = team;
    lobby->m_ownState = "メインメニュー";
    return lobby;
}

void ExpectSameTables(const CLobby& host, const CLobby& client, const char* who) {
    for (int i = 0; i < kLobbySlots; ++i) {
        EXPECT_EQ(client.m_slotNames[i], host.m_slotNames[i]) << who << " slot " << i;
        EXPECT_EQ(client.m_slotCodes[i], host.m_slotCodes[i]) << who << " slot " << i;
        EXPECT_EQ(client.m_slotBattleIndex[i], host.m_slotBattleIndex[i]) << who << " slot " << i;
        EXPECT_EQ(client.m_slotTeams[i], host.m_slotTeams[i]) << who << " slot " << i;
        EXPECT_EQ(client.m_slotStates[i], host.m_slotStates[i]) << who << " slot " << i;
        EXPECT_EQ(client.m_slotConnections[i], host.m_slotConnections[i]) << who << " slot " << i;
    }
    EXPECT_EQ(client.m_stage, host.m_stage) << who;
    EXPECT_EQ(client.m_mode, host.m_mode) << who;
    EXPECT_EQ(client.m_timeLimit, host.m_timeLimit) << who;
    EXPECT_EQ(client.m_fighters, host.m_fighters) << who;
}

void ExpectInRange(CLobby& lobby) {
    for (int i = 0; i < kLobbySlots; ++i) {
        EXPECT_TRUE(IsKnownBuildCode(lobby.m_catalog, lobby.m_slotCodes[i])) << i;
        EXPECT_GE(lobby.m_slotBattleIndex[i], 0);
        EXPECT_LT(lobby.m_slotBattleIndex[i], kLobbySlots);
        EXPECT_LE(lobby.m_slotNames[i].size(), kSlotTextMax);
        EXPECT_LE(lobby.m_slotStates[i].size(), kSlotTextMax);
        std::string team = lobby.m_slotTeams[i];
        const char* reason = nullptr;
        EXPECT_TRUE(CheckStatusValue(lobby.m_catalog, 't', team, &reason)) << team;
    }
    EXPECT_TRUE(IsMenuStage(lobby.m_stage));
    EXPECT_TRUE(lobby.m_mode >= 1 && lobby.m_mode <= 4);
    EXPECT_TRUE(lobby.m_timeLimit == -1 || (lobby.m_timeLimit >= 1 && lobby.m_timeLimit <= 999));
    EXPECT_TRUE(lobby.m_fighters >= 1 && lobby.m_fighters <= 6);
    EXPECT_LE(lobby.m_recvBuffer.size(), kNetTextCap);
    EXPECT_LE(lobby.m_sendQueue.size(), kNetTextCap);
    EXPECT_LE(lobby.m_battleInbox.size(), kNetTextCap);
}

TEST_F(LobbyTest, ThreeLobbiesAndAHostileProgramOnTheRelay) {
    for (unsigned seed : {1u, 7u, 2024u}) {
        ResetNetDropLog();
        CFakeRelay relay(seed);
        MenuGame games[3];
        games[0].lobby = MakeLobby(relay.Join(), "HOST", DefaultBuildCode(), "AM");
        games[1].lobby = MakeLobby(relay.Join(), "AMY", kCodeAmy, "BM");
        games[2].lobby = MakeLobby(relay.Join(), "BEN", kCodeBen, "AM");
        games[2].counter = 3;  // not every game's cycle is in step
        CNetLink* hostile = relay.Join();
        ASSERT_EQ(relay.SlotOf(hostile), 3);

        const std::string flood(1 << 20, 'x');
        int quietFrames = -1;
        for (int frame = 1; frame < 5000 && quietFrames < 100; ++frame) {
            if (frame == 40) {
                const std::string attack = ">i9>g09b99>g01p-5>g00r\x8A\x80\x80\x80\x80\x80\x80\x80>g00n" +
                                           std::string(200, 'n') + ">mhi";
                hostile->Send(attack.data(), (int)attack.size());
            }
            if (frame == 41) {
                hostile->Send(flood.data(), (int)flood.size());
                relay.Drain(hostile);
            }
            relay.Pump();
            for (MenuGame& g : games) g.Frame();
            char sink[kLobbyReceiveSize];
            while (hostile->IsReadable()) hostile->Receive(sink, sizeof sink);
            // Once the flood is through the stream runs clean, so every table can settle.
            if (quietFrames >= 0) {
                ++quietFrames;
            } else if (frame > 41 && relay.Backlog() < 8192) {
                quietFrames = 0;
                relay.SetSplits(false);
            }
        }
        ASSERT_EQ(quietFrames, 100) << "seed " << seed;

        CLobby& host = *games[0].lobby;
        EXPECT_EQ(host.m_ownId, 0) << seed;
        EXPECT_EQ(games[1].lobby->m_ownId, 1) << seed;
        EXPECT_EQ(games[2].lobby->m_ownId, 2) << seed;
        EXPECT_EQ(host.m_slotNames[0], "HOST");
        EXPECT_EQ(host.m_slotNames[1], "AMY");
        EXPECT_EQ(host.m_slotNames[2], "BEN");
        EXPECT_EQ(host.m_slotCodes[1], kCodeAmy);
        EXPECT_EQ(host.m_slotCodes[2], kCodeBen);
        EXPECT_EQ(host.m_slotTeams[1], "BM");
        EXPECT_EQ(host.m_slotStates[2], "メインメニュー");
        EXPECT_EQ(host.m_stage, 14);
        const char* connections[] = {"接続", "接続", "接続", "接続", "未接続", "未接続"};
        for (int i = 0; i < kLobbySlots; ++i) EXPECT_EQ(host.m_slotConnections[i], connections[i]) << i;
        ExpectSameTables(host, *games[1].lobby, "AMY");
        ExpectSameTables(host, *games[2].lobby, "BEN");
        for (MenuGame& g : games) ExpectInRange(*g.lobby);
    }
    const std::string& log = driver.Log();
    for (const char* line : {"net: dropped own id: >i9", "net: dropped status slot: >g09b99",
                             "net: dropped battle index: >g01p-5", "net: dropped robot code: >g00r\\x8A\\x80",
                             "net: dropped unfinished text over 64 KiB: "})
        EXPECT_NE(log.find(line), std::string::npos) << line << "\n" << log;
}

// The relay program itself: the lobby joins first and hosts, two plain clients report their
// players; the lobby learns its id and who is connected, and the clients read the host's tables.
TEST_F(LobbyTest, LobbyOnTheRealRelay) {
    TempFolder relayFolder;
    RelayProcess relay;
    ASSERT_TRUE(relay.StartListening(relayFolder.Path(), UniqueLockNamespace()));

    MenuGame game;
    game.lobby = std::make_unique<CLobby>();
    CLobby& lobby = *game.lobby;
    lobby.m_name = "HOST";
    uint32_t address = 0;
    ASSERT_EQ(lobby.m_socketLink->ResolveHost("127.0.0.1", &address), 1);
    ASSERT_EQ(lobby.m_socketLink->Connect(address, relay.Port()), 1);
    ASSERT_TRUE(relay.WaitForOutput("client[0] : 127.0.0.1\n")) << relay.Output();
    RelayClient raw1(relay.Port());
    ASSERT_TRUE(relay.WaitForOutput("client[1] : 127.0.0.1\n")) << relay.Output();
    RelayClient raw2(relay.Port());
    ASSERT_TRUE(relay.WaitForOutput("client[2] : 127.0.0.1\n")) << relay.Output();

    std::string heard1, heard2;
    // Slot 2 as the host broadcasts it once it has taken the whole report of that client.
    const std::string slot2 = ">g02r" + kCodeBen + ">g02m14>g02g3>g02l60>g02b2>g02p2>g02nRAW2>g02sok>g02tAM";
    auto done = [&] {
        return lobby.m_ownId == 0 && lobby.m_slotNames[1] == "RAW1" && lobby.m_slotNames[2] == "RAW2" &&
               lobby.m_slotConnections[2] == "接続" && lobby.m_slotConnections[3] == "未接続" &&
               heard1.find(">g01nRAW1>") != std::string::npos && heard2.find(slot2) != std::string::npos;
    };
    // Counted in the lobby's frames; the clock only backs them up for a relay that answers nothing.
    const long long deadline = MonotonicMs() + 120000;
    for (int frame = 0; !done() && frame < 5000 && MonotonicMs() < deadline; ++frame) {
        PumpMessages();
        game.Frame();
        if (frame % 20 == 10) {
            raw1.Send(">g11nRAW1>g11tBM>g11s\x8A\x8E>g11r" + kCodeAmy);
            raw2.Send(">g22nRAW2>g22tAM>g22sok>g22r" + kCodeBen + ">g22m3");
        }
        heard1 += raw1.ReceiveUntilQuiet(0);
        heard2 += raw2.ReceiveUntilQuiet(0);
        usleep(2000);
    }
    ASSERT_TRUE(done()) << "own id " << lobby.m_ownId << "\n" << relay.Output();
    const char* connections[] = {"接続", "接続", "接続", "未接続", "未接続", "未接続"};
    for (int i = 0; i < kLobbySlots; ++i) EXPECT_EQ(lobby.m_slotConnections[i], connections[i]) << i;
    EXPECT_NE(heard1.find(">ltttfff"), std::string::npos);
    EXPECT_NE(heard2.find(">i2"), std::string::npos);
    EXPECT_EQ(lobby.m_slotCodes[1], kCodeAmy);
    EXPECT_EQ(lobby.m_slotCodes[2], kCodeBen);
    EXPECT_EQ(lobby.m_slotTeams[1], "BM");
    EXPECT_EQ(lobby.m_slotStates[1], "\x8A\x8E");
    EXPECT_EQ(lobby.m_stage, 14);  // a client's stage is not taken
}

}  // namespace
