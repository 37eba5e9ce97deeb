// CLobby: the network lobby. It owns the game's one connection to the relay, the text queues
// on both sides of it, and six slot tables (name, robot, team, connection, state, battle index)
// with the host's settings for the next battle, which the status records keep alike on every
// game. One lives on the network scene's stack while the lobby runs.
#pragma once

#include "digit_font.h"
#include "menu.h"
#include "net_link.h"
#include "robot_catalog.h"
#include "sound.h"
#include "stage.h"
#include "text_list.h"
#include "title.h"  // kGameVersion: the version the lobby greets with and announces

#include "sys_time.h"

#include <cstdint>
#include <memory>
#include <string>

class CHostList;
class CNetBattle;
class CSocketLink;

// ---- Limits --------------------------------------------------------------------------------------
constexpr int kLobbySlots = 6;              // the relay's six client slots
constexpr int kLobbyReceiveSize = 1024;     // one receive: at most 1023 bytes and a terminator
constexpr int kLobbySendChunk = 1024;       // one send a frame of at most this many characters
// Every text store the network fills: a relay anyone can connect to must not grow them for ever.
constexpr size_t kNetTextCap = 64 * 1024;
constexpr size_t kSlotTextMax = 64;         // slot names and state texts as received
constexpr size_t kChatLineMax = 256;        // chat lines as shown
constexpr int kLobbyStatusPeriod = 10;      // frames between status updates of UpdateNet
constexpr int kNoticeFrames = 150;          // the status panel blinks this long after a notice
constexpr unsigned kAnnounceGapMs = 5000;   // a host's count goes to the chat page at most this often
// A post the page did not take is tried again after the gap, doubled for every failure in a row
// up to this many times (about five minutes): a page that is down for good must not hold up the
// lobby's frames every few seconds.
constexpr int kAnnounceBackOffSteps = 7;

// ---- Wire texts ----------------------------------------------------------------------------------
constexpr const char* kRequestId = ">I-";         // the relay answers ">i" + the slot
constexpr const char* kRequestList = ">L------";  // the relay answers ">l" + six t/f flags

// ---- Slot connection texts (m_slotConnections), from the relay's ">l" flags -------------------------
constexpr const char* kSlotConnected = "接続";
constexpr const char* kSlotEmpty = "未接続";

class CLobby {
public:
    CLobby();                         // the game's lobby, on the engine's socket
    explicit CLobby(CNetLink* link);  // a lobby on a link of the caller's, which outlives it
    ~CLobby();                        // writes the connection settings back to ".\ap.ini"
    CLobby(const CLobby&) = delete;
    CLobby& operator=(const CLobby&) = delete;

    // ---- Network service -------------------------------------------------------------------------
    void UpdateNet();      // the garage's frame: status update every 10th frame, then the service
    void ReceiveNet();     // at most 1023 bytes onto the receive buffer
    void SendNet();        // at most one chunk off the send queue, cut before a ">"
    void DispatchNet();    // applies every complete message of the receive buffer

    // ---- Writers ---------------------------------------------------------------------------------
    void QueueMessage(const std::string& message);  // appends one complete message
    void QueueRequest(const char* request);         // puts a relay request in front of the queue
    void QueueOwnStatus();
    void BroadcastSettings();                       // host only
    void AppendBattleInbox(const std::string& message);

    // ---- Slot tables -----------------------------------------------------------------------------
    int CountConnected();
    void BalanceTeams();
    int TeamImbalance();

    // ---- Sounds ------------------------------------------------------------------------------------
    void PlayCue(int cue);

    // ---- Host directory (the chat page) ----------------------------------------------------------
    void AnnounceHost(int count);  // a host posts its player count; -1 counts the connected slots
    void FetchHostList();          // the page into ".\data\dl_file.txt"
    bool ChooseHost();             // true when a host was chosen: IP and GestPort set
    // The chosen line (1 the first), or -1 for none, Cancel or quit; lineEntries[line] is the
    // list entry shown on that line.
    int HostChoiceMenu(const CHostList& list, int (&lineEntries)[kMenuItemCount]);

    // ---- Lobby flow, start handshake and match ---------------------------------------------------
    void Run();                // the whole lobby, from the name to leaving
    void ConnectToHost();      // starts the connection to IP, GestPort
    void PostJoinGreeting();
    void QueueLeaving();       // ">tp-dell", sent at once; a host withdraws its announcement
    int PlayMatch();           // "start" from the main menu: 0 when the start failed
    int StartWait();           // 1 when every connected player is in battle
    void CheckConnection();
    void RunNetBattle();
    void WaitBattleEnd();
    void RandomizeCpuSlots();
    void EnterGarage();
    int TakeOwnRobotCode(const std::string& code);  // 1 when it was a valid code and taken
    // Tools and tests: called with each match's battle once it is set up, before its first frame,
    // and again when its loop has ended, before it is destroyed.
    void (*m_onMatch)(CNetBattle* battle, void* context) = nullptr;
    void* m_onMatchContext = nullptr;
    CNetBattle* m_battle = nullptr;  // the running match's battle; null outside a match

    // ---- Lobby menus, chat and status panel (lobby_menu.h holds the shared menu loop) ---------
    int MainMenu();                                        // 1-9 the line, 0 Cancel, -1 quit
    std::string RobotSelectMenu(const std::string& current);  // eight blanks on quit
    int MapSelectMenu();                                   // stage number, or -1
    int TeamSelectMenu();
    int TimeSelectMenu();
    int NumberSelectMenu();
    void ChatInput();
    bool CheckBattleStart();
    void AutoReply();
    void WriteChatLog();
    void WriteChatLogAt(const SysLocalTime& time);         // the file name from this time
    void ServeNet();                                       // receive, send, dispatch
    void DrawStatus();
    void DrawStatusPanel();

    // ---- Connection set-up screens (before the connection: no service, no panel) ------------
    int ConnectTypeMenu();                                 // 1 client, 2 host, 3 address, 0, -1
    void InputName();
    void InputMessage();
    void InputIp();
    void LaunchRelayServer();
    // A host's connect to its relay, tried again while the relay may still start: 1 once connected.
    int AwaitRelay(uint32_t address);
    int m_relayPid = 0;          // the started relay's (or its terminal's) process id; tests end it
    std::string m_relayTerminal; // the terminal it was started in, "" when detached

    // ---- Fields ----------------------------------------------------------------------------------
    CRobotCatalog m_catalog;   // decodes robot build codes for display and for record checks
    CStage m_stageInfo;        // beside GetStageInfo, which names the stages the panel shows
    std::unique_ptr<CSocketLink> m_socketLink;  // the game's own link; empty with an outside one
    CNetLink* m_link;
    std::string m_recvBuffer;
    std::string m_sendQueue;
    std::string m_ip;
    std::string m_battleInbox;
    int m_statusCounter;
    int m_statusPeriod;
    CTextList m_chat;

    int m_slotCount;
    std::string m_slotNames[kLobbySlots];
    std::string m_slotCodes[kLobbySlots];
    int m_slotBattleIndex[kLobbySlots];
    std::string m_slotTeams[kLobbySlots];
    std::string m_slotConnections[kLobbySlots];
    std::string m_slotStates[kLobbySlots];

    int m_stage;      // stage of the next battle ("m")
    int m_mode;       // 3 team battle, 4 All Survival ("g")
    int m_timeLimit;  // seconds, -1 unlimited ("l")
    int m_fighters;   // robots in the battle ("b")

    int m_ownId;      // the relay slot from ">i"; 0 hosts; -1 until the first reply
    std::string m_name;
    std::string m_ownCode;
    int m_ownStage;
    int m_ownBattleIndex;
    std::string m_ownTeam;
    std::string m_ownState;
    unsigned char m_announce;  // set once this game hosts
    std::string m_msg;
    int m_hostPort;
    int m_gestPort;
    std::string m_chatUrl;  // the chat page's base address, from the settings

    CDigitFont m_fonts[2];  // status panel text and its top line
    CSound m_cue1;          // chat line
    CSound m_cue2;          // a player's arrival or leaving
    int m_noticeTimer;
    int m_panelMode;
    // One receive may hold a hundred arrival and leaving notices: each frame restarts the tune
    // once. Each post blocks the frame, and any program on the relay can send notices, so the
    // count goes to the chat page at most every 5 seconds, and only a count that differs from
    // the last one posted; a change inside that time waits for it, the latest count once. The
    // relay's flags correct what a notice's count got wrong, and notice a game that died.
    const char* m_noticeTune;  // the tune of the frame's last notice; null when none came
    bool m_noticeCounted;      // a host counted the players on a notice this frame
    int m_noticeCount;         // the latest count, of a notice or of the relay's flags, to be posted
    bool m_countDue;           // m_noticeCount waits to be posted
    int m_postedCount;         // the count the chat page last took; -1 before the first
    unsigned m_postedAt;       // ms: when the last post was tried
    bool m_postTried;          // m_postedAt holds a time
    int m_postFailures;        // posts in a row the page did not take
    // For each slot, how many of the relay's slot lists showed it free. A match that stands still
    // reads them to tell a game gone from one paused; counts, so that a free slot shown by one
    // list is not lost behind a newcomer shown by the next in the same frame.
    unsigned m_slotListsShowingFree[kLobbySlots] = {};

private:
    void Construct();
    void ApplyMessage(const std::string& tag, const std::string& body);
    void ApplyStatusRecord(const std::string& body);
    void ApplyNotice(const std::string& body);
    void ApplyConnectionFlags(const std::string& body);
    void NoteSlotList(const std::string& body);
    void ApplyChatLine(const std::string& body);
    void PlayNoticeTune(const char* path, int countChange);
    unsigned AnnounceGap() const;  // the time the next post waits after the last one tried
    void FinishNotices();  // the frame's notices: the tune, the announcement and the cue, once
    void TakeFreshCount();  // a host: the count of fresh ">l" flags is due when not the one posted
};

// The robot build code of the lobby's defaults (type 29 in its first colours).
std::string DefaultBuildCode();
