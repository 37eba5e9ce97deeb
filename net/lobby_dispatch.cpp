// Applying the messages a lobby receives: relay replies, status records, notices, chat and the
// battle messages it sets aside for the online battle. A record that fails its checks is
// dropped whole and logged: only the relay holds connections, so nobody can be cut off.
#include "lobby.h"

#include "music.h"
#include "net_log.h"
#include "status_record.h"
#include "wire.h"

#include "sys_time.h"

namespace {

constexpr uint32_t kChatSpeakerColor = 0x99ddddff;  // "NAME:text"
constexpr uint32_t kChatNoticeColor = 0x99ffff55;   // lines without a speaker

}  // namespace

void CLobby::DispatchNet() {
    std::string tag, body;
    while (SplitNextMessage(m_recvBuffer, tag, body)) ApplyMessage(tag, body);
    FinishNotices();
    if (m_recvBuffer.size() > kNetTextCap) {
        LogNetDrop("unfinished text over 64 KiB", m_recvBuffer);
        m_recvBuffer.clear();
    }
}

void CLobby::ApplyMessage(const std::string& tag, const std::string& body) {
    if (tag == ">i") {
        int id = ReadWireInt(body.c_str());
        if (id >= 0 && id < kLobbySlots)
            m_ownId = id;
        else
            LogNetDrop("own id", tag + body);
    } else if (tag == ">g") {
        ApplyStatusRecord(body);
    } else if (tag == ">t") {
        ApplyNotice(body);
    } else if (tag == ">c") {
        if (m_ownState == "戦闘中") AppendBattleInbox(tag + body);
    } else if (tag == ">l") {
        ApplyConnectionFlags(body);
        NoteSlotList(body);
        TakeFreshCount();
    } else if (tag == ">m") {
        ApplyChatLine(body);
    }
    // Any other tag (an unreplaced request, a stray text) has no effect.
}

// Sender id, slot and letter, one character each, then the value. The host's tables are the
// reference: clients take what the host writes, the host takes its own report and what each
// client reports about itself.
void CLobby::ApplyStatusRecord(const std::string& body) {
    if (body.size() < 3) {
        LogNetDrop("short status record", ">g" + body);
        return;
    }
    // A game that has not learnt its id yet reports as "-1": every receiver drops that, but under
    // a reason of its own, since each reason logs once a second and these come from every game
    // that joins: a bad record right behind one would otherwise go unlogged.
    if (body.compare(0, 4, "-1-1") == 0) {
        LogNetDrop("report before own id", ">g" + body);
        return;
    }
    const int sender = ReadWireDigit(body[0]);
    const char slotChar = body[1];
    const char letter = body[2];
    if (!IsStatusLetter(letter)) {
        LogNetDrop("status letter", ">g" + body);
        return;
    }
    if (slotChar >= '0' + kLobbySlots && slotChar <= '9') {
        LogNetDrop("status slot", ">g" + body);
        return;
    }
    const int slot = ReadWireDigit(slotChar);
    if (sender == 0) {
        if (m_ownId == 0 && slot != 0) return;  // the host's own broadcast, echoed
    } else {
        if (m_ownId != 0) return;
        if (letter != 'r' && letter != 'n' && letter != 's' && letter != 't') return;
    }
    std::string value = body.substr(3);
    const char* reason = nullptr;
    if (!CheckStatusValue(m_catalog, letter, value, &reason)) {
        LogNetDrop(reason, ">g" + body);
        return;
    }
    const int number = ReadWireInt(value.c_str());
    switch (letter) {
        case 'r': m_slotCodes[slot] = value; break;
        case 'm': m_stage = number; break;
        case 'p': m_slotBattleIndex[slot] = number; break;
        case 'n': m_slotNames[slot] = value; break;
        case 's': m_slotStates[slot] = value; break;
        case 'g': m_mode = number; break;
        case 't': m_slotTeams[slot] = value; break;
        case 'l': m_timeLimit = number; break;
        case 'b': m_fighters = number; break;
        default: break;
    }
}

void CLobby::ApplyNotice(const std::string& body) {
    if (body == "b-start") {
        if (m_ownState == "開始待ち") m_ownState = "戦闘中";
    } else if (body == "b-end") {
        // Only a request that came after this game's own start belongs to this round: no game
        // builds its match before every game has reported "戦闘中", so the greetings of the
        // wait and the last match's after-battle requests all came before it, and each request
        // after it (a join's greeting, a peer's F4, the after-battle requests of a game whose
        // match ended first) must end this game's match, even one not built yet.
        if (m_ownState == "戦闘中") AppendBattleInbox(kEndRequest);
    } else if (body == "p-new") {
        PlayNoticeTune("midi\\qelvo\\j1_intro.mid", +1);
    } else if (body == "p-dell") {
        PlayNoticeTune("midi\\qelvo\\j2_end.mid", -1);
    } else if (!body.empty() && body[0] == 'c') {
        AppendBattleInbox(">tc" + body.substr(1));
    }
}

// Each announcement is a blocking HTTP request: anybody on the relay can send notices, so they
// are gathered and acted on once at the end of the frame's dispatch.
void CLobby::PlayNoticeTune(const char* path, int countChange) {
    m_noticeTune = path;
    m_noticeTimer = kNoticeFrames;
    if (m_ownId != 0) return;
    m_noticeCount = CountConnected() + countChange;
    m_noticeCounted = true;
}

void CLobby::FinishNotices() {
    if (m_noticeTune) {
        StopMusic();
        LoadMidi(m_noticeTune);
        PlayMusic(0);
        m_noticeTune = nullptr;
        if (m_noticeCounted) {
            m_noticeCounted = false;
            m_countDue = m_noticeCount != m_postedCount;
            PlayCue(2);
        }
    }
    if (m_countDue && (!m_postTried || SysGetTicks() - m_postedAt >= AnnounceGap())) AnnounceHost(m_noticeCount);
}

// Slots the reply does not reach (a short body) read as not connected.
void CLobby::ApplyConnectionFlags(const std::string& body) {
    for (int i = 0; i < m_slotCount; ++i)
        m_slotConnections[i] = ((size_t)i < body.size() && body[i] == 't') ? kSlotConnected : kSlotEmpty;
}

// Kept apart from the tables, which CountConnected turns back to waiting: a match needs the
// relay's own answer as it came.
void CLobby::NoteSlotList(const std::string& body) {
    // Compared for change only, so the counts may wrap.
    for (int i = 0; i < kLobbySlots; ++i)
        if ((size_t)i >= body.size() || body[i] != 't') ++m_slotListsShowingFree[i];
}

void CLobby::ApplyChatLine(const std::string& body) {
    if (HasControlByte(body)) {
        LogNetDrop("control byte in chat line", ">m" + body);
        return;
    }
    const bool speaker = body.find(':') != std::string::npos;  // ":" is never a second byte
    if (body.size() > kChatLineMax) LogNetDrop("chat line over 256 bytes", body.substr(kChatLineMax));
    m_chat.AddLine(CutAtCharStart(body, kChatLineMax), speaker ? kChatSpeakerColor : kChatNoticeColor);
    PlayCue(1);
}
