// The lobby menus under the scene driver: the 10-frame request cycle as it reaches the link,
// the main menu's lines, keys and results, and the rules that turn menu results into values.
#include "lobby_fixture.h"
#include "lobby_menu.h"

#include "engine.h"
#include "input.h"
#include "robot_presets.h"

#include <dirent.h>

namespace {

constexpr int kKeyS = 31;
constexpr int kKeyLControl = 29;

// A link that notes the driver's pump (the menu's frame) of every send.
class CFrameLink : public CTestLink {
public:
    explicit CFrameLink(const CSceneDriver& driver) : m_driver(driver) {}
    int Send(const char* data, int length) override {
        m_frames.push_back(m_driver.Pumps());
        return CTestLink::Send(data, length);
    }
    const CSceneDriver& m_driver;
    std::vector<int> m_frames;
};

std::vector<std::string> FilesStartingWith(const std::string& prefix) {
    std::vector<std::string> out;
    if (DIR* d = opendir(".")) {
        while (dirent* e = readdir(d)) {
            std::string name = e->d_name;
            if (name.compare(0, prefix.size(), prefix) == 0) out.push_back(name);
        }
        closedir(d);
    }
    return out;
}

TEST_F(LobbyTest, MenuCycleSendsRequestsAndStatusOnItsFrames) {
    struct Case {
        int ownId;
        bool broadcast;
    } cases[] = {{0, true}, {2, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.ownId);
        CFrameLink link(driver);
        CLobby lobby(&link);
        lobby.m_ownId = c.ownId;
        driver.ResetPumps();
        driver.WaitFor([&] { return driver.Pumps() >= 31; }).Do([] { g_quit = 1; });
        EXPECT_EQ(lobby.MainMenu(), -1);
        g_quit = 0;
        ASSERT_EQ(link.m_sent.size(), link.m_frames.size());
        std::vector<int> frames;
        for (size_t i = 0; i < link.m_sent.size(); ++i) {
            const int frame = link.m_frames[i];
            if (frame > 30) continue;
            frames.push_back(frame);
            const std::string& chunk = link.m_sent[i];
            const std::string id = std::to_string(c.ownId);
            if (frame % 10 == 6) {
                EXPECT_EQ(chunk, ">I-") << frame;
            } else if (frame % 10 == 8) {
                EXPECT_EQ(chunk, ">L------") << frame;
            } else {
                EXPECT_EQ(chunk.compare(0, 5, ">g" + id + id + "r"), 0) << frame;
                EXPECT_EQ(chunk.find(">g01r") != std::string::npos, c.broadcast) << frame;
            }
        }
        EXPECT_EQ(frames, (std::vector<int>{6, 8, 10, 16, 18, 20, 26, 28, 30}));
    }
}

// The cursor stops at the last line, so going far down and confirming reads the line count.
TEST_F(LobbyTest, MainMenuHasSixLinesForClientsAndNineForTheHost) {
    struct Case {
        int ownId;
        int lines;
    } cases[] = {{-1, 6}, {1, 6}, {0, 9}};
    for (const Case& c : cases) {
        CTestLink link;
        CLobby lobby(&link);
        lobby.m_ownId = c.ownId;
        driver.Wait(2);
        for (int i = 0; i < 12; ++i) driver.Press(kKeyDown);
        driver.Press(kKeyEnter);
        EXPECT_EQ(lobby.MainMenu(), c.lines) << c.ownId;
    }
    // The relay's ">i" answer mostly comes while the first menu is open: the host's lines follow
    // it at once, and the cursor stays on its line.
    struct Answer {
        int ownId;
        int downsBefore;  // before the answer
        const char* answer;
        int downsAfter;
        int result;
    } answers[] = {
        {-1, 2, ">i0>", 0, 3},   // the cursor is kept
        {-1, 0, ">i0>", 12, 9},  // the host's lines are there
        {0, 12, ">i1>", 0, 6},   // gone again, the cursor on the last line left
        {-1, 12, ">i2>", 12, 6},
    };
    for (const Answer& a : answers) {
        CTestLink link;
        CLobby lobby(&link);
        lobby.m_ownId = a.ownId;
        driver.Wait(2);
        for (int i = 0; i < a.downsBefore; ++i) driver.Press(kKeyDown);
        driver.Do([&] { link.m_inbound += a.answer; }).Wait(3);
        for (int i = 0; i < a.downsAfter; ++i) driver.Press(kKeyDown);
        driver.Press(kKeyEnter);
        EXPECT_EQ(lobby.MainMenu(), a.result) << a.answer;
    }
    CTestLink link;
    CLobby lobby(&link);
    driver.Wait(2).Press(kKeyUp).Press(kKeyEnter);
    EXPECT_EQ(lobby.MainMenu(), 0);  // Cancel
    g_quit = 1;
    EXPECT_EQ(lobby.MainMenu(), -1);
    EXPECT_EQ(lobby.TeamSelectMenu(), -1);
    EXPECT_EQ(lobby.MapSelectMenu(), -1);
    g_quit = 0;
}

TEST_F(LobbyTest, MainMenuTabTogglesThePanelAndControlSSavesTheLog) {
    CTestLink link;
    link.m_connected = 0;
    CLobby lobby(&link);
    lobby.m_chat.AddLine("line one", 0x99ddddff);
    driver.Wait(2).Press(kKeyTab).Wait(2);
    driver.Do([&] { EXPECT_EQ(lobby.m_panelMode, 1); });
    driver.Press(kKeyTab).Wait(2);
    driver.Do([&] { EXPECT_EQ(lobby.m_panelMode, 0); });
    driver.Press(kKeyS).Wait(2);  // S alone saves nothing
    driver.Do([&] { EXPECT_TRUE(FilesStartingWith("ChatLog").empty()); });
    driver.KeyDown(kKeyLControl).Wait(2).Press(kKeyS).KeyUp(kKeyLControl).Wait(2).Press(kKeyEnter);
    EXPECT_EQ(lobby.MainMenu(), 3);  // S is also a menu key: two lines down
    const std::vector<std::string> logs = FilesStartingWith("ChatLog");
    ASSERT_EQ(logs.size(), 1u);
    EXPECT_EQ(ReadWholeFile(logs[0]), "ZAU_MOLTA Ver0.18.5\nline one");
}

TEST_F(LobbyTest, SettingMenusReturnTheirLines) {
    struct Case {
        int (CLobby::*menu)();
        int downs;
        int result;
    } cases[] = {
        {&CLobby::TeamSelectMenu, 1, 2},     {&CLobby::TimeSelectMenu, 3, 4},  {&CLobby::NumberSelectMenu, 3, 4},
        {&CLobby::MapSelectMenu, 0, 1},      {&CLobby::MapSelectMenu, 6, 14},  {&CLobby::MapSelectMenu, 9, 17},
        {&CLobby::MapSelectMenu, -1, -1},    {&CLobby::TeamSelectMenu, -1, 0},
    };
    for (const Case& c : cases) {
        CTestLink link;
        CLobby lobby(&link);
        driver.Wait(2);
        if (c.downs < 0) driver.Press(kKeyUp);
        for (int i = 0; i < c.downs; ++i) driver.Press(kKeyDown);
        driver.Press(kKeyEnter);
        EXPECT_EQ((lobby.*c.menu)(), c.result) << c.downs;
    }
}

TEST_F(LobbyTest, RobotMenuGivesTheChosenModelsCode) {
    struct Case {
        int downs;        // from the first line, "_LOAD_"; -1 goes up to Cancel
        bool cancelled;
    } cases[] = {{1, false}, {3, false}, {-1, true}};
    for (const Case& c : cases) {
        CTestLink link;
        CLobby lobby(&link);
        CMenu models;
        AddLoadItem(&models);
        FillRobotSelectMenu(&models);
        driver.Wait(2);
        if (c.downs < 0) driver.Press(kKeyUp);
        for (int i = 0; i < c.downs; ++i) driver.Press(kKeyDown);
        driver.Press(kKeyEnter);
        const std::string code = lobby.RobotSelectMenu("CURRENT!");
        if (c.cancelled) {
            EXPECT_EQ(code, "CURRENT!");
        } else {
            EXPECT_EQ(code, GetRobotConfigCode(models.m_items[1 + c.downs].m_text)) << c.downs;
            EXPECT_NE(code, "CURRENT!");
        }
    }
    CTestLink link;
    CLobby lobby(&link);
    g_quit = 1;
    EXPECT_EQ(lobby.RobotSelectMenu("CURRENT!"), "        ");
    g_quit = 0;
    driver.Wait(3).Quit();  // a quit during the menu
    EXPECT_EQ(lobby.RobotSelectMenu("CURRENT!"), "        ");
    g_quit = 0;
}

TEST(LobbyMenuResults, ChoicesBecomeTheLobbysValues) {
    struct TeamCase {
        int choice;
        const char* current;
        const char* tag;
    } teams[] = {{1, "BM", "AM"}, {2, "AM", "BM"}, {0, "BL", "BL"}, {-1, "AM", "AM"}, {3, "AL", "AL"}};
    for (const TeamCase& c : teams) EXPECT_EQ(TeamTagForChoice(c.choice, c.current), c.tag) << c.choice;

    const int times[][3] = {{1, 60, -1}, {2, 90, 60}, {3, 60, 90}, {4, 60, 120}, {0, 90, 90}, {-1, -1, -1}, {5, 120, 120}};
    for (const auto& t : times) EXPECT_EQ(TimeLimitForChoice(t[0], t[1]), t[2]) << t[0];

    const int stages[][2] = {{1, 1}, {2, 2}, {6, 6}, {7, 14}, {8, 17}, {0, -1}, {-1, -1}, {9, -1}};
    for (const auto& s : stages) EXPECT_EQ(StageForMapLine(s[0]), s[1]) << s[0];
    EXPECT_EQ(OwnStageAfterMenu(-1, 14), 14);  // Cancel keeps the stage
    EXPECT_EQ(OwnStageAfterMenu(17, 14), 17);
}

TEST(LobbyMenuResults, NumberChoiceSetsFightersAndMode) {
    const std::string on = "接続", off = "未接続", wait = "待ち";
    struct Case {
        int choice;
        std::string slots[kLobbySlots];
        int fighters, mode, changed;
    } cases[] = {
        {1, {on, on, off, off, off, off}, 2, 3, 1},
        {2, {on, on, off, off, off, off}, 4, 3, 1},
        {3, {on, on, off, off, off, off}, 6, 3, 1},
        {4, {on, on, off, off, off, off}, 3, 4, 1},     // raised to three
        {4, {on, on, off, off, on, off}, 5, 4, 1},      // the highest connected slot counts
        {4, {on, on, on, on, on, on}, 6, 4, 1},
        {4, {wait, wait, wait, wait, wait, wait}, 3, 4, 1},
        {4, {off, off, off, off, off, on}, 6, 4, 1},
        {0, {on, on, off, off, off, off}, 7, 9, 0},     // Cancel changes nothing
        {-1, {on, on, off, off, off, off}, 7, 9, 0},
    };
    for (const Case& c : cases) {
        int fighters = 7, mode = 9;
        EXPECT_EQ(ApplyNumberChoice(c.choice, c.slots, kLobbySlots, &fighters, &mode), c.changed);
        EXPECT_EQ(fighters, c.fighters) << c.choice;
        EXPECT_EQ(mode, c.mode) << c.choice;
    }
    const std::string slots[kLobbySlots] = {on, on, on, on, on, on};
    EXPECT_EQ(SurvivalFighterCount(slots, 4), 4);  // only slots below the slot count
}

}  // namespace
