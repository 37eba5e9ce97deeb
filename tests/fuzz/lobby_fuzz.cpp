// The lobby's receive path fed what any program on the relay may send: the first three bytes
// choose the role (no id yet, host, client), the own state and the receive size; the rest
// arrives in receives of that size, each followed by a frame's send and dispatch. After every
// receive the slot tables must still hold only values the menus could have produced, and no
// stored text a byte below 0x20.
#include "fuzz_support.h"

#include "lobby.h"
#include "status_record.h"
#include "wire.h"

#include <cstring>

namespace {

// A connected link: receives hand out what the input holds, sends are forgotten.
class CFuzzLink : public CNetLink {
public:
    int IsConnected() override { return 1; }
    int IsReadable() override { return !m_inbound.empty(); }
    int IsWritable() override { return 1; }
    int Receive(char* buffer, int size) override {
        size_t n = m_inbound.size() < (size_t)size - 1 ? m_inbound.size() : (size_t)size - 1;
        if (n > m_chunk) n = m_chunk;
        memcpy(buffer, m_inbound.data(), n);
        buffer[n] = '\0';
        m_inbound.erase(0, n);
        return (int)n;
    }
    int Send(const char*, int length) override { return length >= 0; }

    std::string m_inbound;
    size_t m_chunk = kLobbyReceiveSize - 1;
};

bool IsTeam(const std::string& t) { return t == "AL" || t == "BL" || t == "AM" || t == "BM"; }
bool IsConnection(const std::string& c) { return c == "待ち" || c == "接続" || c == "未接続"; }
// No control byte either: the texts reach the screen, the chat log and every settings broadcast.
bool IsSlotText(const std::string& t) {
    return t.size() <= kSlotTextMax && CutAtCharStart(t, kSlotTextMax) == t && !HasControlByte(t);
}

void CheckTables(CLobby& lobby) {
    FUZZ_CHECK(lobby.m_ownId >= -1 && lobby.m_ownId < kLobbySlots, std::to_string(lobby.m_ownId));
    for (int i = 0; i < kLobbySlots; ++i) {
        FUZZ_CHECK(IsKnownBuildCode(lobby.m_catalog, lobby.m_slotCodes[i]), lobby.m_slotCodes[i]);
        FUZZ_CHECK(lobby.m_slotBattleIndex[i] >= 0 && lobby.m_slotBattleIndex[i] < kLobbySlots,
                   std::to_string(lobby.m_slotBattleIndex[i]));
        FUZZ_CHECK(IsSlotText(lobby.m_slotNames[i]), lobby.m_slotNames[i]);
        FUZZ_CHECK(IsSlotText(lobby.m_slotStates[i]), lobby.m_slotStates[i]);
        FUZZ_CHECK(IsTeam(lobby.m_slotTeams[i]), lobby.m_slotTeams[i]);
        FUZZ_CHECK(IsConnection(lobby.m_slotConnections[i]), lobby.m_slotConnections[i]);
    }
    FUZZ_CHECK(IsMenuStage(lobby.m_stage), std::to_string(lobby.m_stage));
    FUZZ_CHECK(lobby.m_mode >= 1 && lobby.m_mode <= 4, std::to_string(lobby.m_mode));
    FUZZ_CHECK(lobby.m_timeLimit == -1 || (lobby.m_timeLimit >= 1 && lobby.m_timeLimit <= 999),
               std::to_string(lobby.m_timeLimit));
    FUZZ_CHECK(lobby.m_fighters >= 1 && lobby.m_fighters <= kLobbySlots, std::to_string(lobby.m_fighters));
    FUZZ_CHECK(lobby.m_recvBuffer.size() <= kNetTextCap, std::to_string(lobby.m_recvBuffer.size()));
    FUZZ_CHECK(lobby.m_battleInbox.size() <= kNetTextCap, std::to_string(lobby.m_battleInbox.size()));
    for (const std::string& line : lobby.m_chat.m_lines)
        FUZZ_CHECK(line.size() <= kChatLineMax && !HasControlByte(line), line);
}

// Building a lobby loads its pictures and sounds, which would cost more than the input itself:
// one lobby serves every input and is set back to a fresh lobby's state before each.
CFuzzLink* g_link;
CLobby* g_fresh;
CLobby* g_lobby;

void ResetLobby(CLobby& lobby, const CLobby& fresh) {
    lobby.m_recvBuffer.clear();
    lobby.m_sendQueue.clear();
    lobby.m_battleInbox.clear();
    lobby.m_statusCounter = fresh.m_statusCounter;
    // As Clear() leaves the pane, without drawing twenty empty lines.
    CTextList& chat = lobby.m_chat;
    chat.m_serial = chat.m_currentLine = 0;
    for (int i = 0; i < kTextListLines; ++i) {
        chat.m_lines[i].clear();
        chat.m_colors[i] = chat.m_defaultColor;
    }
    for (int i = 0; i < kLobbySlots; ++i) {
        lobby.m_slotNames[i] = fresh.m_slotNames[i];
        lobby.m_slotCodes[i] = fresh.m_slotCodes[i];
        lobby.m_slotBattleIndex[i] = fresh.m_slotBattleIndex[i];
        lobby.m_slotTeams[i] = fresh.m_slotTeams[i];
        lobby.m_slotConnections[i] = fresh.m_slotConnections[i];
        lobby.m_slotStates[i] = fresh.m_slotStates[i];
    }
    lobby.m_stage = fresh.m_stage;
    lobby.m_mode = fresh.m_mode;
    lobby.m_timeLimit = fresh.m_timeLimit;
    lobby.m_fighters = fresh.m_fighters;
    lobby.m_ownId = fresh.m_ownId;
    lobby.m_ownState = fresh.m_ownState;
    lobby.m_ownCode = fresh.m_ownCode;
    lobby.m_ownTeam = fresh.m_ownTeam;
    lobby.m_ownBattleIndex = fresh.m_ownBattleIndex;
    lobby.m_ownStage = fresh.m_ownStage;
    lobby.m_name = fresh.m_name;
    lobby.m_announce = fresh.m_announce;
    lobby.m_noticeTimer = fresh.m_noticeTimer;
    lobby.m_noticeCount = fresh.m_noticeCount;
    lobby.m_countDue = fresh.m_countDue;
    lobby.m_postedCount = fresh.m_postedCount;
    lobby.m_postedAt = fresh.m_postedAt;
    lobby.m_panelMode = fresh.m_panelMode;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    if (!MakeFuzzFolder("[NET]\r\nNAME=FUZZ\r\nMSG=hello\r\nHostPort=6001\r\nGestPort=6002\r\nIP=10.0.0.7\r\n") ||
        !StartFuzzEngine())
        FuzzFail("the lobby's engine did not start");
    CInFuzzFolder here;
    g_link = new CFuzzLink;
    g_fresh = new CLobby(g_link);
    g_lobby = new CLobby(g_link);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    CInFuzzFolder here;
    if (size < 3) return 0;
    static const int kIds[] = {-1, 0, 2};
    static const char* const kStates[] = {"", "開始待ち", "戦闘中"};
    CFuzzLink& link = *g_link;
    CLobby& lobby = *g_lobby;
    ResetLobby(lobby, *g_fresh);
    lobby.m_ownId = kIds[data[0] % 3];
    lobby.m_ownState = kStates[data[1] % 3];
    link.m_chunk = 1 + (size_t)data[2] * 4;
    link.m_inbound = Bytes(data + 3, size - 3);
    while (!link.m_inbound.empty()) {
        lobby.UpdateNet();
        CheckTables(lobby);
    }
    return 0;
}
