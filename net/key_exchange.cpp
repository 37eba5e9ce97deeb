// The key exchange: the pacing against the host's tick, the key buffers with their parse and
// consumption, and the chat line a frame may send. Every game applies the same stream of key
// messages in the same order, so every game steps its world with the same pads.
#include "key_exchange.h"

#include "debug_log.h"
#include "net_log.h"
#include "text_list.h"
#include "wire.h"

#include "sys_time.h"

#include <climits>
#include <cstdio>

namespace {

constexpr const char* kEndCommandText = "ｺﾏﾝﾄﾞ:終了申請";
constexpr const char* kForcedEndLine = "強制終了";
constexpr const char* kErrKeyId = "Err KeyID-over";
constexpr const char* kErrKeyCode = "Err KeyCode";
constexpr const char* kErrKeyCode2 = "Err KeyCode2";
constexpr const char* kErrKeyBuff = "Err KeyBuff-over";
constexpr int kMaxSlotDigit = 5;
constexpr int kRelaySlots = 6;  // a robot's owner is the relay slot of the game that runs it

}  // namespace

CKeyExchange::CKeyExchange(CKeyWorld* world, CPad* slotPads) : m_world(world), m_pads(slotPads) { Reset(); }

void CKeyExchange::Reset() {
    m_incoming.clear();
    m_outgoing.clear();
    m_started = m_presetSent = false;
    m_localId = 0;
    for (int& o : m_owner) o = 0;
    for (std::string& b : m_keyBuffers) b.clear();
    m_pendingChat.clear();
    m_pendingEnd = false;
    m_minLen = m_maxLen = m_ownLen = 0;
    m_maxSlot = m_minSlot = -1;
    m_ownTick = m_hostTick = 0;
    m_idleFrames = 0;
    m_buffersFull = false;
    m_departure.Reset();
    m_latency.Init();
}

// The robots whose keys travel: never more than the buffers.
static int RobotsOf(int count) { return count < 1 ? 1 : count > kExchangeRobots ? kExchangeRobots : count; }

int CKeyExchange::RunFrame() {
    Exchange();
    int steps = 0;
    const long long threshold = (m_playBuff > 0 ? (long long)m_playBuff : 0) * (kKeyTextLength - 1);
    while (steps < kMaxStepsPerFrame) {
        QueueMinMax();
        const uint32_t shortest = m_minLen;
        if (!ConsumeKeys()) break;
        ++steps;
        bool ended = m_world->StepFromKeys();
        m_latency.SampleReceive();
        if (m_observer) m_observer(m_observerContext, m_latency.m_recvCount);
        // Once the end test holds no further step runs, so every game ends on the same step.
        if (ended) break;
        if (threshold > (long long)shortest) break;
    }
    WatchDeparture(steps);
    return steps;
}

// A game that has left the match sends no keys, and without an end everybody else's battle
// would wait for it for ever. The clock and the relay's answers are read here, after the
// frame's steps, so they decide nothing in the simulation.
void CKeyExchange::WatchDeparture(int steps) {
    const unsigned fighters = FighterSlots();
    if (!m_departure.Frame(steps > 0, SysGetTicks(), m_slotListsShowingFree, fighters)) return;
    // Without the connection the request could not go out; the owner ends the match itself.
    if (!m_connected) return;
    for (int slot = 0; slot < kRelaySlots; ++slot)
        if ((fighters & m_departure.GoneSlots()) & (1u << slot))
            LogPrintf("battle: the relay shows slot %d gone, asking every game to end the match\n", slot);
    RequestEnd();
}

// The relay slots whose games run a robot of the battle.
unsigned CKeyExchange::FighterSlots() const {
    unsigned slots = 0;
    const int count = RobotsOf(m_robotCount);
    for (int i = 0; i < count; ++i)
        if (m_owner[i] >= 0 && m_owner[i] < kRelaySlots) slots |= 1u << m_owner[i];
    return slots;
}

void CKeyExchange::Exchange() {
    if (m_started && m_ownTick < INT_MAX) ++m_ownTick;
    if (m_localId == 0) {
        char tick[16];
        snprintf(tick, sizeof tick, "%4d", m_ownTick);
        m_outgoing += ">tc";
        m_outgoing += tick;
    }
    if (!m_presetSent) {
        m_presetSent = true;
        QueuePresetKeys();
        QueuePresetKeys();
        return;
    }
    QueueMinMax();
    if (!m_started && m_minLen > 0) m_started = true;
    if (!m_started) return;
    const int frames = FramesToSend();
    for (int i = 0; i < frames; ++i) {
        m_world->FillOutgoingFrame();
        QueueLocalKeys();
    }
    if (frames > 0) {
        m_idleFrames = 0;
        return;
    }
    // With the host's game gone its tick stops, and without this nobody could press F4.
    if (m_idleFrames < kIdleKeyFrames) ++m_idleFrames;
    if (m_idleFrames >= kIdleKeyFrames) m_world->IdleKeys();
}

int CKeyExchange::FramesToSend() const {
    const long long sent = m_latency.m_sendCount, host = m_hostTick;
    if (host == sent + 1 || host == sent + 2) return 1;
    if (sent < host) return 2;
    return 0;
}

void CKeyExchange::QueueMinMax() {
    bool none = true;
    m_minLen = m_maxLen = 0;
    m_maxSlot = m_minSlot = -1;
    const int count = RobotsOf(m_robotCount);
    m_ownLen = m_localId >= 0 && m_localId < count ? (uint32_t)m_keyBuffers[m_localId].size() : 0;
    for (int i = 0; i < count; ++i) {
        const uint32_t len = (uint32_t)m_keyBuffers[i].size();
        if (none || len < m_minLen) {
            m_minLen = len;
            m_minSlot = i;
            none = false;
        }
        if (len > m_maxLen) {
            m_maxLen = len;
            m_maxSlot = i;
        }
    }
    if (m_minLen == m_maxLen) m_minSlot = m_maxSlot = -1;
}

bool CKeyExchange::ConsumeKeys() {
    if (m_minLen < (uint32_t)kKeyTextLength) return false;
    const int count = RobotsOf(m_robotCount);
    for (int i = 0; i < count; ++i) {
        std::string& buffer = m_keyBuffers[i];
        if (buffer.size() < (size_t)kKeyTextLength) return false;  // lengths changed since QueueMinMax
    }
    for (int i = 0; i < count; ++i) {
        std::string& buffer = m_keyBuffers[i];
        m_pads[i].FromKeyString(buffer.substr(0, kKeyTextLength));
        buffer.erase(0, kKeyTextLength);
    }
    return true;
}

void CKeyExchange::QueueLocalKeys() {
    m_latency.SampleSend();
    const int count = RobotsOf(m_robotCount);
    for (int i = 0; i < count; ++i) {
        if (!IsOwned(i)) continue;
        m_outgoing += ">c";
        m_outgoing += char('0' + i);
        m_outgoing += m_pads[i].ToKeyString();
    }
}

void CKeyExchange::QueuePresetKeys() {
    const int count = RobotsOf(m_robotCount);
    for (int i = 0; i < count; ++i) {
        if (!IsOwned(i)) continue;
        m_pads[i].Reset(0);
        m_outgoing += ">c";
        m_outgoing += char('0' + i);
        m_outgoing += m_pads[i].ToKeyString();
    }
}

// ---- Incoming ------------------------------------------------------------------------------------

void CKeyExchange::ParseInput() {
    std::string tag, body;
    for (;;) {
        if (!SplitNextMessage(m_incoming, tag, body)) {
            if (!m_wholeMessages || m_incoming.size() <= (size_t)kWireTagLength || m_incoming[0] != kWireMark) break;
            tag.assign(m_incoming, 0, kWireTagLength);
            body.assign(m_incoming, kWireTagLength, std::string::npos);
            m_incoming.clear();
        }
        if (tag == ">c") ApplyKeyMessage(body);
        else if (tag == ">t") ApplyTickOrEnd(body);
    }
    SendPendingChat();
}

void CKeyExchange::ApplyKeyMessage(const std::string& body) {
    const int slot = body.empty() ? 0 : ReadWireDigit(body[0]);
    std::string keys = body.size() > 1 ? body.substr(1) : std::string();
    bool store = true;
    if (slot < 0 || slot > kMaxSlotDigit) {
        Report(kErrKeyId, body);
        store = false;
    }
    if (keys.size() < (size_t)kKeyTextLength) {
        keys += "ffffffffffff";
        keys.resize(kKeyTextLength);
        Report(kErrKeyCode, body);
    } else if (keys.size() > (size_t)kKeyTextLength) {
        Report(kErrKeyCode2, body);
    }
    // Keys of robots beyond the battle's count are checked but have no buffer that is read.
    if (!store || slot >= RobotsOf(m_robotCount)) return;
    std::string& buffer = m_keyBuffers[slot];
    if (buffer.size() + keys.size() > kKeyBufferCap) {
        // Every key message behind the first that overflows overflows too, until the end
        // request has come back: one line and one request say it all. Every game reads the same
        // stream and overflows as well, so each shows the line itself.
        if (!m_buffersFull) {
            m_buffersFull = true;
            ShowError(kErrKeyBuff);
            m_pendingEnd = true;
        }
        LogNetDrop(kErrKeyBuff, ">c" + body);
        return;
    }
    buffer += keys;
}

void CKeyExchange::ApplyTickOrEnd(const std::string& body) {
    if (body == "b-end") {
        if (m_chatWindow) m_chatWindow->AddLine(kForcedEndLine, kChatErrorColor);
        m_world->ForceEnd();
        return;
    }
    if (!body.empty() && body[0] == 'c') {
        const int tick = ReadWireInt(body.c_str() + 1);
        m_hostTick = tick < 0 ? 0 : tick;
    }
}

void CKeyExchange::ShowError(const char* error) {
    if (m_chatWindow) m_chatWindow->AddLine(error, kChatErrorColor);
}

void CKeyExchange::Report(const char* error, const std::string& message) {
    ShowError(error);
    AddChatText(error);
    m_pendingEnd = true;
    LogNetDrop(error, ">c" + message);
}

// ---- The chat line -------------------------------------------------------------------------------

void CKeyExchange::AddChatText(const std::string& text) {
    m_pendingChat = CutAtCharStart(m_pendingChat + ToWireText(text), kPendingChatCap);
}

void CKeyExchange::AddCannedLine(int index) {
    if (index >= 0 && index < 4) AddChatText(m_cannedLines[index]);
}

void CKeyExchange::RequestEnd() {
    AddChatText(kEndCommandText);
    m_pendingEnd = true;
}

void CKeyExchange::SendPendingChat() {
    if (m_pendingChat.empty() && !m_pendingEnd) return;
    // An end request with nothing to say goes alone: an empty chat line would only add noise.
    if (m_pendingChat.empty()) {
        m_outgoing += kEndRequest;
        m_pendingEnd = false;
        return;
    }
    m_outgoing += ">m";
    m_outgoing += ToWireText(m_ownName);
    m_outgoing += ":";
    m_outgoing += m_pendingChat;
    if (m_pendingEnd) m_outgoing += kEndRequest;
    m_pendingChat.clear();
    m_pendingEnd = false;
}
