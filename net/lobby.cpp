// The lobby's construction and teardown and its per-frame network service: one bounded
// receive, one chunk sent, every complete message applied. The queues are capped so that a
// flood on the relay cannot grow them without end.
#include "lobby.h"

#include "net_log.h"
#include "settings.h"
#include "socket_link.h"
#include "wire.h"

#include "sys_time.h"

namespace {

// Team codes of the slots at construction: the two leaders, then members alternating.
const char* const kInitialTeams[kLobbySlots] = {"AL", "BL", "AM", "BM", "AM", "BM"};

constexpr int kDefaultStage = 1;
constexpr int kDefaultMode = 3;
constexpr int kDefaultTimeLimit = 60;
constexpr int kDefaultFighters = 2;
constexpr int kDefaultOwnStage = 14;
constexpr unsigned kCueGapMs = 100;  // the triple cue's pause between plays

}  // namespace

std::string DefaultBuildCode() {
    // Type 29, no weapons or variants, main colour 7/7/7, sub colour 5/5/7.
    CRobotCatalog catalog;
    catalog.SetConfig(29, 0, 0, 0, 0, 0, 0, 0, 0, 7, 7, 7, 5, 5, 7);
    return catalog.EncodeConfig();
}

CLobby::CLobby() : m_link(nullptr) { Construct(); }

CLobby::CLobby(CNetLink* link) : m_link(link) { Construct(); }

void CLobby::Construct() {
    m_cue1.Load("wave\\cursor15_a.wav");
    m_cue2.Load("wave\\cursor14.wav");
    m_fonts[0].Load("bmp\\suuji2.png");
    m_fonts[1].Load("bmp\\suuji3.png");

    CSettings settings;
    m_slotCount = kLobbySlots;
    m_ip = "127.0.0.1";
    m_ip = settings.m_ip;
    // The game's own socket; a failed start leaves a lobby that never connects.
    if (!m_link) {
        m_socketLink = std::make_unique<CSocketLink>();
        m_link = m_socketLink.get();
    }

    m_recvBuffer.clear();
    m_sendQueue.clear();
    m_battleInbox.clear();
    m_statusCounter = 0;
    m_statusPeriod = kLobbyStatusPeriod;
    m_msg = settings.m_msg;
    m_hostPort = settings.m_hostPort;
    m_gestPort = settings.m_gestPort;
    m_chatUrl = settings.m_chatUrl;

    const std::string code = DefaultBuildCode();
    for (int i = 0; i < kLobbySlots; ++i) {
        m_slotCodes[i] = code;
        m_slotBattleIndex[i] = i;
        m_slotNames[i] = "CPU";
        m_slotConnections[i] = "待ち";
        m_slotStates[i].clear();
        m_slotTeams[i] = kInitialTeams[i];
    }
    m_stage = kDefaultStage;
    m_mode = kDefaultMode;
    m_timeLimit = kDefaultTimeLimit;
    m_fighters = kDefaultFighters;
    m_ownId = -1;
    m_name = settings.m_name;
    m_ownCode = code;
    m_ownBattleIndex = 0;
    m_ownStage = kDefaultOwnStage;
    m_ownState.clear();
    m_ownTeam = "AM";
    m_announce = 0;
    m_noticeTimer = 0;
    m_panelMode = 0;
    m_noticeTune = nullptr;
    m_noticeCounted = false;
    m_noticeCount = 0;
    m_countDue = false;
    m_postedCount = -1;
    m_postedAt = 0;
    m_postTried = false;
    m_postFailures = 0;
}

// A host saves IP "127.0.0.1": that is where its own relay runs. The other keys the settings
// write keep the values just read.
CLobby::~CLobby() {
    CSettings settings;
    settings.m_ip = m_ip;
    settings.m_name = m_name;
    settings.m_msg = m_msg;
    settings.m_hostPort = m_hostPort;
    settings.m_gestPort = m_gestPort;
    settings.Save();
}

void CLobby::UpdateNet() {
    if (++m_statusCounter >= m_statusPeriod) {
        m_statusCounter = 0;
        QueueOwnStatus();
        BroadcastSettings();
    }
    ReceiveNet();
    SendNet();
    DispatchNet();
}

void CLobby::ReceiveNet() {
    if (!m_link->IsConnected() || !m_link->IsReadable()) return;
    char buffer[kLobbyReceiveSize];
    int n = m_link->Receive(buffer, kLobbyReceiveSize);
    if (n > 0) m_recvBuffer.append(buffer, (size_t)(n < kLobbyReceiveSize ? n : kLobbyReceiveSize - 1));
}

// A chunk ends just before a message's ">", so no message is cut between chunks; a first
// message that alone fills the chunk goes out whole rather than never.
void CLobby::SendNet() {
    if (!m_link->IsConnected() || !m_link->IsWritable()) return;
    if (m_sendQueue.empty()) return;
    size_t take = m_sendQueue.size();
    if (take >= (size_t)kLobbySendChunk) {
        size_t p = m_sendQueue.rfind(kWireMark, kLobbySendChunk - 1);
        if (p == std::string::npos) {
            take = kLobbySendChunk;
        } else if (p > 0) {
            take = p;
        } else {
            size_t next = m_sendQueue.find(kWireMark, 1);
            take = next == std::string::npos ? m_sendQueue.size() : next;
        }
    }
    std::string chunk = m_sendQueue.substr(0, take);
    m_sendQueue.erase(0, take);
    m_link->Send(chunk.data(), (int)chunk.size());
}

void CLobby::QueueMessage(const std::string& message) {
    if (!m_link->IsConnected() && m_sendQueue.size() + message.size() > kNetTextCap) {
        LogNetDrop("send queue full", message);
        return;
    }
    m_sendQueue += message;
}

// The relay rewrites a request only at the very start of a chunk.
void CLobby::QueueRequest(const char* request) {
    std::string text = request;
    if (!m_link->IsConnected() && m_sendQueue.size() + text.size() > kNetTextCap) {
        LogNetDrop("send queue full", text);
        return;
    }
    m_sendQueue.insert(0, text);
}

// The oldest whole messages make room, so what the battle reads next stays well formed.
void CLobby::AppendBattleInbox(const std::string& message) {
    m_battleInbox += message;
    if (m_battleInbox.size() <= kNetTextCap) return;
    LogNetDrop("battle inbox full", m_battleInbox);
    while (m_battleInbox.size() > kNetTextCap) {
        size_t next = m_battleInbox.find(kWireMark, 1);
        if (next == std::string::npos) {
            m_battleInbox.clear();
            break;
        }
        m_battleInbox.erase(0, next);
    }
}

void CLobby::PlayCue(int cue) {
    switch (cue) {
        case 1:
            m_cue1.Play(0);
            break;
        case 2:
            m_cue2.Play(0);
            break;
        case 3:
            m_cue1.Play(0);
            SysSleep(kCueGapMs);
            m_cue1.Play(0);
            SysSleep(kCueGapMs);
            m_cue1.Play(0);
            break;
        default:
            break;
    }
}
