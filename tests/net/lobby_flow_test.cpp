// The lobby flow's screens in one process, on a link the test holds: the start wait of a client
// that cancels and of a host that starts everybody, the connection check, the wait after a
// battle (each saved as a picture), and "start" refused before the lobby knows its own id.
#include "lobby_fixture.h"

#include "lobby_flow.h"
#include "player_data.h"
#include "robot_presets.h"

#include "engine.h"
#include "input.h"

namespace {

int Count(const std::vector<std::string>& chunks, const std::string& text) {
    int n = 0;
    for (const std::string& c : chunks) n += CountOf(c, text);
    return n;
}

std::string Joined(const std::vector<std::string>& chunks) {
    std::string all;
    for (const std::string& c : chunks) all += c;
    return all;
}

void SavePicture(const ScreenImage& image, const char* name) {
    ASSERT_EQ(image.width, 640);
    ASSERT_EQ(image.SavePng(std::string(SCREENSHOT_DIR) + "/" + name), 1);
}

// A client of two waits; its cancel goes out, and it leaves once the host's broadcast brings
// the refusal back to its slot.
TEST_F(LobbyTest, StartWaitCancelLeavesOnceTheRefusalComesBack) {
    CTestLink link;
    CLobby lobby(&link);
    lobby.m_ownId = 1;
    lobby.m_name = "AMY";
    lobby.m_ownState = kStateWaiting;
    for (int i = 0; i < 2; ++i) {
        lobby.m_slotConnections[i] = kSlotConnected;
        lobby.m_slotStates[i] = i == 0 ? kStateMainMenu : kStateWaiting;
    }
    lobby.m_battleInbox = ">c0000000000000";
    ScreenImage picture;
    int refusedAt = 0;
    driver.Wait(20).Capture(&picture).Press(kKeyEnter).Wait(6).Do([&] {
        refusedAt = driver.Pumps();
        link.m_inbound += ">g01s" + std::string(kStateRefused) + ">";
    });
    driver.SetPumpLimit(200);
    EXPECT_EQ(lobby.StartWait(), 0);
    EXPECT_FALSE(driver.LimitReached());
    EXPECT_EQ(lobby.m_ownState, kStateRefused);
    EXPECT_TRUE(lobby.m_battleInbox.empty());
    EXPECT_LE(driver.Pumps(), refusedAt + 1);
    const std::string sent = Joined(link.m_sent);
    EXPECT_NE(sent.find(">g11s" + std::string(kStateRefused)), std::string::npos);
    EXPECT_EQ(sent.find(">tb-start"), std::string::npos) << "only the host starts";
    // A report every fifth frame, and one more for the refusal.
    std::vector<std::string> all = link.m_sent;
    all.push_back(lobby.m_sendQueue);
    EXPECT_EQ(Count(all, ">g11s"), driver.Pumps() / 5 + 1);
    SavePicture(picture, "lobby_start_wait.png");
}

// The host of two: ">tb-start" every frame while both wait; the start notice turns its own
// state into "戦闘中", and once both reports show it, the broadcast goes out and the wait ends.
TEST_F(LobbyTest, StartWaitHostStartsEverybody) {
    CTestLink link;
    CLobby lobby(&link);
    lobby.m_ownId = 0;
    lobby.m_ownState = kStateWaiting;
    for (int i = 0; i < 2; ++i) {
        lobby.m_slotConnections[i] = kSlotConnected;
        lobby.m_slotStates[i] = kStateWaiting;
    }
    const std::string inBattle = kStateInBattle;
    driver.Wait(10).Do([&] { link.m_inbound += ">tb-start>mgo"; }).Wait(3).Do([&] {
        link.m_inbound += ">g00s" + inBattle + ">g11s" + inBattle + ">";
    });
    driver.SetPumpLimit(200);
    EXPECT_EQ(lobby.StartWait(), 1);
    EXPECT_EQ(lobby.m_ownState, kStateInBattle);
    const int starts = Count(link.m_sent, ">tb-start");
    EXPECT_GE(starts, 10);
    EXPECT_LE(starts, driver.Pumps());
    // The last frame's broadcast is queued after the frame's send.
    EXPECT_NE(lobby.m_sendQueue.find(">g01s" + inBattle), std::string::npos);
}

// A slow client already "戦闘中" while its table still shows a slot that is not: an end request
// and a key record kept then belong to a round that falls back to "開始待ち" before any match
// is built, so they must not reach the match of the next start. What comes after that start
// is kept as before.
TEST_F(LobbyTest, StartWaitFallBackDropsWhatWasKeptForThatRound) {
    const std::string waiting = kStateWaiting, inBattle = kStateInBattle;
    const struct {
        const char* what;
        std::string fallBack;  // arrives in one frame, while this game is "戦闘中"
    } orders[] = {
        {"a join right after the start notice", ">tb-end>c1000000000000>ltttt>g03s" + std::string(kStateMainMenu)},
        {"a fast peer's F4, then its 終了待ち", ">c1000000000000>tb-end>g01s" + std::string(kStateAfterBattle)},
    };
    for (const auto& order : orders) {
        CTestLink link;
        CLobby lobby(&link);
        lobby.m_ownId = 2;
        lobby.m_ownState = kStateWaiting;
        for (int i = 0; i < 4; ++i) {
            lobby.m_slotConnections[i] = i < 3 ? kSlotConnected : kSlotEmpty;
            lobby.m_slotStates[i] = i < 3 ? kStateWaiting : "";
        }
        const auto table = [&](const std::string& s0, const std::string& s1, const std::string& s2,
                               const std::string& s3) {
            return ">g00s" + s0 + ">g01s" + s1 + ">g02s" + s2 + ">g03s" + s3;
        };
        // Each arrival ends its last message: the mark that opens the next one comes with it.
        bool opened = false;
        const auto arrive = [&](const std::string& messages) {
            link.m_inbound += (opened ? messages.substr(1) : messages) + ">";
            opened = true;
        };
        bool fellBack = false;
        driver.ResetPumps();
        driver.Wait(5).Do([&] { arrive(">tb-start>g00s" + inBattle + ">g01s" + inBattle); });
        driver.Wait(3).Do([&] {
            EXPECT_EQ(lobby.m_ownState, kStateInBattle) << order.what;
            arrive(order.fallBack);
        });
        driver.Wait(3).Do([&] {
            fellBack = lobby.m_ownState == kStateWaiting;
            arrive(">ltttt" + table(waiting, waiting, waiting, waiting));
        });
        driver.Wait(3).Do([&] { arrive(">tb-start>c3000000000000"); });
        driver.Wait(3).Do([&] { arrive(table(inBattle, inBattle, inBattle, inBattle)); });
        driver.SetPumpLimit(driver.Pumps() + 200);
        EXPECT_EQ(lobby.StartWait(), 1) << order.what;
        EXPECT_FALSE(driver.LimitReached()) << order.what;
        EXPECT_TRUE(fellBack) << order.what;
        EXPECT_EQ(lobby.m_battleInbox, ">c3000000000000") << order.what;
    }
}

// Thirty frames, a status update every fifth, whatever arrives applied.
TEST_F(LobbyTest, ConnectionCheckServesThirtyFrames) {
    CTestLink link;
    CLobby lobby(&link);
    lobby.m_ownId = 2;
    lobby.m_ownState = kStateInBattle;
    lobby.m_slotConnections[2] = kSlotConnected;
    ScreenImage picture;
    driver.Wait(12).Capture(&picture).Do([&] { link.m_inbound += ">mHOST:go>"; });
    lobby.CheckConnection();
    EXPECT_EQ(driver.Pumps(), 30);
    EXPECT_EQ(Count(link.m_sent, ">g22s"), 6);
    EXPECT_EQ(lobby.m_chat.m_lines[lobby.m_chat.m_currentLine - 1], "HOST:go");
    SavePicture(picture, "lobby_connection_check.png");
}

// The closing greeting first, then ">tb-end" with a status update at frames 25 and 28.
TEST_F(LobbyTest, WaitAfterBattleEndsStragglers) {
    WriteWholeFile("ap.ini", "[NET]\r\nNAME=AMY\r\n[QM]\r\nEND=gg\r\n");
    CTestLink link;
    CLobby lobby(&link);
    lobby.m_ownId = 1;
    lobby.m_ownState = kStateAfterBattle;
    ScreenImage picture;
    std::vector<int> endFrames;
    driver.Wait(20).Capture(&picture);
    int ends = 0;
    driver.OnEachPump([&] {
        const int n = Count(link.m_sent, ">tb-end");
        if (n > ends) endFrames.push_back(driver.Pumps() - 1);  // sent in the frame before this pump
        ends = n;
    });
    lobby.WaitBattleEnd();
    EXPECT_EQ(driver.Pumps(), 30);
    const std::string sent = Joined(link.m_sent);
    EXPECT_EQ(sent.find(">mAMY:gg"), 0u);
    EXPECT_EQ(Count(link.m_sent, ">tb-end"), 2);
    EXPECT_EQ(Count(link.m_sent, ">g11s"), 2);
    ASSERT_EQ(endFrames.size(), 2u);
    EXPECT_EQ(endFrames[0], 25);
    EXPECT_EQ(endFrames[1], 28);
    SavePicture(picture, "lobby_after_battle.png");
}

// The whole flow by address on a link that never connects: the greeting waits in the queue,
// and "start" is refused at once (no own id); the menu it returns to shows "メインメニュー" again,
// not "戦闘失敗".
TEST_F(LobbyTest, StartWithoutIdIsRefusedAtOnce) {
    CTestLink link;
    link.m_connected = 0;
    CLobby lobby(&link);
    std::vector<std::string> states;
    driver.OnEachPump([&] {
        if (states.empty() || states.back() != lobby.m_ownState) states.push_back(lobby.m_ownState);
    });
    driver.Wait(3).Press(kKeyEnter);                                  // the name as it is
    driver.Press(kKeyDown).Press(kKeyDown).Press(kKeyEnter);          // by address
    driver.Press(kKeyEnter);                                          // the address as it is
    driver.WaitFor([&] { return lobby.m_ownState == kStateMainMenu; }).Wait(3).Press(kKeyDown).Press(kKeyEnter);
    const auto refused = [&] { return driver.Log().find("lobby: start refused") != std::string::npos; };
    driver.WaitFor(refused).Wait(3).Do([&] { EXPECT_EQ(lobby.m_ownState, kStateMainMenu); }).Quit();
    driver.SetPumpLimit(400);
    lobby.Run();
    EXPECT_FALSE(driver.LimitReached());
    EXPECT_TRUE(driver.ScriptDone());
    EXPECT_NE(driver.Log().find("lobby: start refused: no own id"), std::string::npos);
    const std::vector<std::string> expected = {"", kStateMainMenu};
    EXPECT_EQ(states, expected);
    EXPECT_NE(lobby.m_sendQueue.find(">tb-end>tp-new>mVer0.18.5>"), std::string::npos) << "nothing was sent";
    EXPECT_NE(lobby.m_sendQueue.find(">tp-dell"), std::string::npos);
    EXPECT_TRUE(link.m_sent.empty());
}

// The garage inside the lobby: the connection is served while it runs, its stat sheet sits at
// y 290, and on leaving the saved build becomes the own robot, unless nothing valid was saved.
TEST_F(LobbyTest, GarageVisitServesTheLobbyAndTakesTheSavedBuild) {
    const std::string saved = GetRobotConfigCode("DID-03");
    for (bool withSave : {false, true}) {
        if (withSave) {
            CPlayerData data;
            data.m_roboData = saved;
            ASSERT_EQ(data.Save(), 1);
        }
        CTestLink link;
        CLobby lobby(&link);
        lobby.m_ownId = 1;
        const std::string before = lobby.m_ownCode;
        link.m_inbound = ">mHOST:hi>";
        driver.ResetPumps();
        driver.Wait(25).Press(kKeyUp).Press(kKeyEnter);  // "Cancel" of the garage's top menu
        driver.SetPumpLimit(driver.Pumps() + 300);
        lobby.EnterGarage();
        EXPECT_FALSE(driver.LimitReached());
        EXPECT_EQ(lobby.m_ownCode, withSave ? saved : before);
        EXPECT_EQ(lobby.m_chat.m_lines[0], "HOST:hi") << "served while the garage ran";
        EXPECT_GE(Count(link.m_sent, ">g11r"), 2) << "a status update every 10 frames";
        const size_t report = lobby.m_sendQueue.rfind(">g11r");  // queued on leaving, not yet sent
        ASSERT_NE(report, std::string::npos);
        EXPECT_EQ(lobby.m_sendQueue.substr(report + 5, 8), lobby.m_ownCode);
    }
}

}  // namespace
