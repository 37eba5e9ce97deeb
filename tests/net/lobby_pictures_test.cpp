// Pictures of the lobby's screens, saved to the screenshot folder to look at: the host's main
// menu with three players in both panel layouts and the notice frame on, every setting menu,
// the chat field, and the screens before the connection.
#include "lobby_fixture.h"

#include "engine.h"
#include "input.h"

#include "sys_text_input.h"

#include <functional>

namespace {

constexpr int kSettleFrames = 25;  // menu strips slide into place first

class LobbyPictures : public LobbyTest {
protected:
    // A host with two clients, a CPU slot list and a few chat lines.
    void Populate(CLobby& lobby) {
        lobby.m_ownId = 0;
        lobby.m_ownState = "メインメニュー";
        lobby.m_fighters = 4;
        lobby.m_timeLimit = 90;
        lobby.m_stage = 2;
        const char* names[] = {"TESTER", "ALICE", "BOB", "CPU", "CPU", "CPU"};
        const char* states[] = {"メインメニュー", "チャット入力中", "ロボ選択中", "", "", ""};
        for (int i = 0; i < kLobbySlots; ++i) {
            lobby.m_slotConnections[i] = i < 3 ? "接続" : "未接続";
            lobby.m_slotNames[i] = names[i];
            lobby.m_slotStates[i] = states[i];
        }
        lobby.m_chat.AddLine("Ver0.18.5", 0x99ffff55);
        lobby.m_chat.AddLine("ALICE:こんにちは", 0x99ddddff);
        lobby.m_chat.AddLine("BOB:よろしく", 0x99ddddff);
    }

    // Runs the screen until the script has captured it, and saves the picture.
    void Shoot(const char* file, const std::function<void()>& screen, int endKey = kKeyEnter,
               const std::function<void()>& beforeCapture = {}) {
        ScreenImage image;
        driver.Wait(kSettleFrames);
        if (beforeCapture) driver.Do(beforeCapture).Wait(1);
        driver.Capture(&image).Press(endKey);
        screen();
        g_quit = 0;
        ASSERT_EQ(image.width, 640) << file;
        bool lit = false;
        for (uint32_t p : image.argb) lit = lit || (p & 0xffffff) != 0;
        EXPECT_TRUE(lit) << file;
        EXPECT_EQ(image.SavePng(std::string(SCREENSHOT_DIR) + "/" + file), 1) << file;
    }
};

TEST_F(LobbyPictures, MainMenuInBothPanelModes) {
    CTestLink link;
    CLobby lobby(&link);
    Populate(lobby);
    for (int mode : {0, 1}) {
        lobby.m_panelMode = mode;
        Shoot(mode == 0 ? "lobby_main_menu.png" : "lobby_main_menu_small_chat.png", [&] { lobby.MainMenu(); },
              kKeyEnter, [&] { lobby.m_noticeTimer = 150; });
    }
}

TEST_F(LobbyPictures, SettingMenusAndChat) {
    CTestLink link;
    CLobby lobby(&link);
    Populate(lobby);
    Shoot("lobby_robot_menu.png", [&] { lobby.RobotSelectMenu(lobby.m_ownCode); });
    Shoot("lobby_map_menu.png", [&] { lobby.MapSelectMenu(); });
    Shoot("lobby_team_menu.png", [&] { lobby.TeamSelectMenu(); });
    Shoot("lobby_time_menu.png", [&] { lobby.TimeSelectMenu(); });
    Shoot("lobby_number_menu.png", [&] { lobby.NumberSelectMenu(); });
    driver.Do([] { SysInjectText("h"); }).Press(30);
    Shoot("lobby_chat_input.png", [&] { lobby.ChatInput(); }, kKeyEscape);
}

TEST_F(LobbyPictures, ScreensBeforeTheConnection) {
    CTestLink link;
    link.m_connected = 0;
    CLobby lobby(&link);
    Shoot("lobby_connect_type.png", [&] { lobby.ConnectTypeMenu(); });
    Shoot("lobby_name_input.png", [&] { lobby.InputName(); }, kKeyEscape);
    lobby.LaunchRelayServer();  // no relay program here: only its frame
    const ScreenImage relay = driver.ReadFrame();
    EXPECT_EQ(relay.SavePng(std::string(SCREENSHOT_DIR) + "/lobby_relay_start.png"), 1);
}

}  // namespace
