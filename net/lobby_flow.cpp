// The lobby flow: name, connection type, connect and greeting, then the main menu and its nine
// commands until the player leaves, and the leaving notice. "start" runs the handshake, the
// checks, the match and the wait after it.
#include "lobby_flow.h"

#include "lobby_menu.h"

#include "engine.h"

namespace {

enum {
    kChoiceChat = 1,
    kChoiceStart,
    kChoiceRobot,
    kChoiceTeam,
    kChoiceGarage,
    kChoiceLeave,
    kChoiceStage,
    kChoiceTime,
    kChoiceNumber,
    kChoiceCount,
};

// The own state text each main-menu command shows while it runs.
const char* const kCommandStates[kChoiceCount] = {
    "",           "チャット入力中", "開始待ち",     "ロボ選択中", "チーム選択中",
    "ガレージ",   "離脱",           "ステージ選択中", "時間選択中", "人数選択中",
};

enum { kConnectClient = 1, kConnectHost = 2, kConnectAddress = 3 };

}  // namespace

void CLobby::Run() {
    if (g_quit) return;
    InputName();
    switch (ConnectTypeMenu()) {
        case kConnectClient:
            FetchHostList();
            if (!ChooseHost()) return;  // no host: left without greeting or leaving notice
            break;
        case kConnectHost:
            InputMessage();
            LaunchRelayServer();
            m_ip = "127.0.0.1";
            m_gestPort = m_hostPort;
            m_announce = 1;
            AnnounceHost(1);
            break;
        case kConnectAddress:
            InputIp();
            break;
        default:
            return;
    }
    // Whether or not the connection was made: queued messages wait for it.
    ConnectToHost();
    PostJoinGreeting();
    SendNet();

    while (!g_quit) {
        m_ownState = kStateMainMenu;
        const int choice = MainMenu();
        if (choice < kChoiceChat || choice >= kChoiceCount) continue;  // Cancel, quit
        m_ownState = kCommandStates[choice];
        if (choice == kChoiceLeave) break;
        switch (choice) {
            case kChoiceChat:
                ChatInput();
                break;
            case kChoiceStart:
                // A failed start is told in the host's chat lines; the menu it returns to
                // reports the player as in the main menu again.
                if (!PlayMatch()) m_ownState = kStateStartFailed;
                break;
            case kChoiceRobot:
                TakeOwnRobotCode(RobotSelectMenu(m_ownCode));
                QueueOwnStatus();
                break;
            case kChoiceTeam:
                m_ownTeam = TeamTagForChoice(TeamSelectMenu(), m_ownTeam);
                QueueOwnStatus();
                break;
            case kChoiceGarage:
                EnterGarage();
                break;
            case kChoiceStage:
                m_ownStage = OwnStageAfterMenu(MapSelectMenu(), m_ownStage);
                QueueOwnStatus();
                break;
            case kChoiceTime:
                m_timeLimit = TimeLimitForChoice(TimeSelectMenu(), m_timeLimit);
                QueueOwnStatus();
                break;
            case kChoiceNumber:
                ApplyNumberChoice(NumberSelectMenu(), m_slotConnections, m_slotCount, &m_fighters, &m_mode);
                QueueOwnStatus();
                break;
            default:
                break;
        }
    }
    QueueLeaving();
}

// "start": 0 when the start failed (refused, or the checks failed after the handshake), 1
// otherwise (a battle was fought, the player cancelled, or the quit flag ended it).
int CLobby::PlayMatch() {
    if (const char* why = StartRefusal(*this, m_link->IsConnected())) {
        LogPrintf("lobby: start refused: %s\n", why);
        return 0;
    }
    if (!StartWait()) return 1;
    if (!CheckBattleStart()) return 0;
    CheckConnection();
    RunNetBattle();
    m_ownState = kStateAfterBattle;
    WaitBattleEnd();
    RandomizeCpuSlots();
    return 1;
}
