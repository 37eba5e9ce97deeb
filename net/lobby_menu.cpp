// The lobby menu loop and the menus built on it: the main menu (with the chat-log and panel
// keys), the robot and team menus, and the host's stage, time and number menus.
#include "lobby_menu.h"

#include "engine.h"
#include "frame_loop.h"
#include "graphics.h"
#include "input.h"
#include "robot_presets.h"

namespace {

constexpr uint32_t kBlack = 0xff000000;
constexpr int kKeyS = 31;         // Control+S saves the chat log
constexpr int kKeyLControl = 29;

int RunListMenu(CLobby& lobby, const char* title, std::initializer_list<const char*> lines) {
    if (g_quit) return -1;
    CMenu menu;
    menu.SetTitle(title);
    for (const char* line : lines) menu.AddItem(line);
    return RunLobbyMenu(lobby, menu);
}

}  // namespace

void PumpLobbyPass() {
    if (!PumpMessages()) g_quit = 1;
    if (IsAppActive()) UpdateInput();
}

// The requests go in front of the queue: the relay rewrites them only at a chunk's start.
void QueueCycleRequests(CLobby& lobby, int frame) {
    const int at = frame % kMenuCycleFrames;
    if (at == kMenuIdRequestFrame) lobby.QueueRequest(kRequestId);
    if (at == kMenuListRequestFrame) lobby.QueueRequest(kRequestList);
}

void StepMenuCycle(CLobby& lobby, int* counter) {
    ++*counter;
    QueueCycleRequests(lobby, *counter);
    if (*counter >= kMenuCycleFrames) {
        *counter = 0;
        lobby.QueueOwnStatus();
        lobby.BroadcastSettings();
    }
}

int RunLobbyMenu(CLobby& lobby, CMenu& menu, const CLobbyMenuHooks& hooks) {
    CMenuInput keys;
    int counter = 0;
    int frame = 0;
    while (!g_quit) {
        PumpLobbyPass();
        if (g_quit) break;
        keys.Update();
        ++frame;
        if (hooks.status) {
            QueueCycleRequests(lobby, frame);
            hooks.status(frame);
        } else {
            StepMenuCycle(lobby, &counter);
        }
        if (keys.m_up == 2) menu.CursorPrev();
        if (keys.m_down == 2) menu.CursorNext();
        int result = 0;
        if (keys.m_confirm == 2) {
            if (!hooks.confirm) return menu.m_cursor;
            if (hooks.confirm(&result)) return result;
        }
        if (hooks.beforeServe && hooks.beforeServe(keys, &result)) return result;
        lobby.ServeNet();
        if (hooks.afterServe && hooks.afterServe(&result)) return result;
        if (BeginFrame(kBlack)) {
            if (hooks.draw) hooks.draw();
            menu.Draw();
            lobby.DrawStatusPanel();
            EndFrame();
        }
        g_frameTimer.Wait();
    }
    return -1;
}

void CLobby::ServeNet() {
    ReceiveNet();
    SendNet();
    DispatchNet();
}

// ---- Menus ---------------------------------------------------------------------------------------

namespace {

constexpr int kMainMenuPlayerLines = 6;  // "message" to "quit"; the host's three follow them

// The host's lines follow the own id: the menu is often built before the relay's ">i" answer
// names this game the host, and must not wait for the next menu to offer them. The cursor
// stays where it is, or on the last line when its own went away.
void ShowHostLines(CMenu& menu, bool host) {
    const bool shown = menu.m_count > kMainMenuPlayerLines;
    if (host == shown) return;
    if (host) {
        for (const char* line : {" set stage", " set time", " set number"}) menu.AddItem(line);
    } else {
        menu.m_count = kMainMenuPlayerLines;
        if (menu.m_cursor > menu.m_count) menu.m_cursor = menu.m_count;
    }
}

}  // namespace

int CLobby::MainMenu() {
    if (g_quit) return -1;
    CMenu menu;
    for (const char* line : {"message", "start", "robo select", "team select", "ｶﾞﾚｰｼﾞ", "quit"}) menu.AddItem(line);
    ShowHostLines(menu, m_ownId == 0);
    CLobbyMenuHooks hooks;
    hooks.beforeServe = [this](CMenuInput&, int*) {
        const int control = GetKeyStatus(kKeyLControl);
        if (GetKeyStatus(kKeyS) == kButtonPressed && (control == kButtonPressed || control == kButtonHeld))
            WriteChatLog();
        if (GetKeyStatus(kKeyTab) == kButtonPressed) m_panelMode = m_panelMode ? 0 : 1;
        return 0;
    };
    hooks.afterServe = [this, &menu](int*) {
        ShowHostLines(menu, m_ownId == 0);
        return 0;
    };
    return RunLobbyMenu(*this, menu, hooks);
}

// The saved build comes first, then the models; Cancel keeps the robot. A quit gives eight
// blanks, which the flow never uses: it leaves the lobby.
std::string CLobby::RobotSelectMenu(const std::string& current) {
    const std::string blanks(8, ' ');
    if (g_quit) return blanks;
    CMenu menu;
    AddLoadItem(&menu);
    FillRobotSelectMenu(&menu);
    const int line = RunLobbyMenu(*this, menu);
    if (line < 0 || g_quit) return blanks;
    const std::string model = menu.GetSelectedText();
    return model.empty() ? current : GetRobotConfigCode(model);
}

int CLobby::MapSelectMenu() {
    const int line = RunListMenu(*this, "Map Select",
                                 {"バトルドーム", "廃棄都市ブロック", "草原", "テスト", "森テスト", "ビル屋上", "簡易ステージ", "交差点2"});
    return StageForMapLine(line);
}

int CLobby::TeamSelectMenu() { return RunListMenu(*this, "Team Select", {"A Team", "B Team"}); }

int CLobby::TimeSelectMenu() { return RunListMenu(*this, "Time Select", {"無制限", "60", "90", "120"}); }

int CLobby::NumberSelectMenu() {
    return RunListMenu(*this, "Number Select", {"2 Single", "4 Doubles", "6 3on3", "All Survival"});
}

// ---- Menu results --------------------------------------------------------------------------------

std::string TeamTagForChoice(int choice, const std::string& current) {
    if (choice == 1) return "AM";
    if (choice == 2) return "BM";
    return current;
}

int TimeLimitForChoice(int choice, int current) {
    switch (choice) {
        case 1: return -1;
        case 2: return 60;
        case 3: return 90;
        case 4: return 120;
        default: return current;
    }
}

int SurvivalFighterCount(const std::string* connections, int slotCount) {
    int count = 0;
    for (int i = 0; i < slotCount && i < kLobbySlots; ++i) {
        if (connections[i] == kSlotConnected) count = i + 1;
    }
    return count < 3 ? 3 : count;
}

int ApplyNumberChoice(int choice, const std::string* connections, int slotCount, int* fighters, int* mode) {
    switch (choice) {
        case 1: *fighters = 2; *mode = 3; return 1;
        case 2: *fighters = 4; *mode = 3; return 1;
        case 3: *fighters = 6; *mode = 3; return 1;
        case 4: *fighters = SurvivalFighterCount(connections, slotCount); *mode = 4; return 1;
        default: return 0;
    }
}

int StageForMapLine(int line) {
    if (line < 1 || line > kMenuStageCount) return -1;
    return kMenuStages[line - 1];
}

int OwnStageAfterMenu(int menuResult, int current) { return menuResult == -1 ? current : menuResult; }
