// The fake relay's links are plain byte queues: what a game sends waits in its outbound queue
// for the relay's next pass, what the relay copies waits in each inbound queue for a receive.
#include "fake_relay.h"

#include "chunk_rewrite.h"

#include <cstring>

class CFakeRelay::Link : public CNetLink {
public:
    explicit Link(CFakeRelay* relay) : m_relay(relay) {}
    int IsConnected() override { return m_connected; }
    int IsReadable() override { return m_connected && !m_inbound.empty(); }
    int IsWritable() override { return m_connected; }
    int Receive(char* buffer, int size) override {
        if (!buffer || size <= 0) return -1;
        size_t n = m_inbound.size();
        if (n > (size_t)size - 1) n = (size_t)size - 1;
        // A third of the receives find only part of what waits, as TCP may deliver it.
        if (n > 1 && m_relay->Draw(3) == 0) n = 1 + m_relay->Draw((unsigned)n - 1);
        memcpy(buffer, m_inbound.data(), n);
        buffer[n] = '\0';
        m_inbound.erase(0, n);
        return (int)n;
    }
    int Send(const char* data, int length) override {
        if (!m_connected) return 0;
        if (length > 0) m_outbound.append(data, (size_t)length);
        return 1;
    }

    CFakeRelay* m_relay;
    int m_connected = 1;
    std::string m_outbound;
    std::string m_inbound;
};

CFakeRelay::CFakeRelay(unsigned seed) : m_random(seed) {}
CFakeRelay::~CFakeRelay() = default;

unsigned CFakeRelay::Draw(unsigned bound) {
    if (bound == 0) return 0;
    return (unsigned)(m_random() % bound);
}

CNetLink* CFakeRelay::Join() {
    for (int i = 0; i < kFakeRelaySlots; ++i) {
        if (m_slots[i]) continue;
        m_links.push_back(std::make_unique<Link>(this));
        m_slots[i] = m_links.back().get();
        return m_slots[i];
    }
    return nullptr;
}

void CFakeRelay::Leave(CNetLink* link) {
    for (auto*& slot : m_slots)
        if (slot == link) {
            slot->m_connected = 0;
            slot->m_inbound.clear();
            slot->m_outbound.clear();
            slot = nullptr;
        }
}

int CFakeRelay::SlotOf(const CNetLink* link) const {
    for (int i = 0; i < kFakeRelaySlots; ++i)
        if (m_slots[i] && m_slots[i] == link) return i;
    return -1;
}

void CFakeRelay::Pump() {
    for (Link* link : m_slots)
        if (link) RelayFrom(link, false);
}

void CFakeRelay::Drain(const CNetLink* link) {
    for (Link* l : m_slots)
        if (l && l == link) RelayFrom(l, true);
}

// A quarter of the time the relay is late for a game, so its sends join up with later ones.
void CFakeRelay::RelayFrom(Link* link, bool all) {
    while (!link->m_outbound.empty() && (all || Draw(4) != 0)) {
        std::string& out = link->m_outbound;
        size_t n = out.size() < (size_t)kFakeRelayChunk ? out.size() : (size_t)kFakeRelayChunk;
        if (m_splits && n > 1 && Draw(4) == 0) n = 1 + Draw((unsigned)n - 1);
        std::string chunk = out.substr(0, n);
        out.erase(0, n);
        Relay(chunk);
    }
}

void CFakeRelay::Relay(const std::string& chunk) {
    if (m_keepChunks) m_chunks.push_back(chunk);
    int inUse[kMaxClients];
    for (int j = 0; j < kMaxClients; ++j) inUse[j] = m_slots[j] ? 1 : 0;
    for (int i = 0; i < kFakeRelaySlots; ++i) {
        if (!m_slots[i]) continue;
        std::string copy = chunk;
        RewriteChunkFront(copy.data(), (int)copy.size(), i, inUse);
        m_slots[i]->m_inbound += copy;
    }
}

size_t CFakeRelay::Backlog() const {
    size_t n = 0;
    for (const Link* link : m_slots)
        if (link) n += link->m_outbound.size() + link->m_inbound.size();
    return n;
}
