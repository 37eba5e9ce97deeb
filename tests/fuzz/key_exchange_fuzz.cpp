// The online battle's key exchange fed what the relay may bring: key texts of any slot and
// length, the host's ticks, end requests and anything else, in receives of a size the first
// bytes choose, one frame each on a world that only counts its steps. The key buffers must stay
// within their cap and every step must read only complete key texts.
#include "fuzz_support.h"

#include "input.h"
#include "key_exchange.h"
#include "text_list.h"

namespace {

class CCountingWorld : public CKeyWorld {
public:
    CCountingWorld() : m_exchange(this, m_pads) {}
    void FillOutgoingFrame() override {
        ++m_gathers;
        for (CPad& pad : m_pads)
            for (int k = 0; k < kPadSlots; ++k) pad.m_values[k] = (m_gathers + k) % 4;
    }
    void IdleKeys() override {}
    bool StepFromKeys() override {
        ++m_steps;
        for (int i = 0; i < m_exchange.m_robotCount; ++i)
            for (int v : m_pads[i].m_values) FUZZ_CHECK(v == kButtonUp || (v >= 0 && v <= 3), std::to_string(v));
        return false;
    }
    void ForceEnd() override { ++m_forced; }

    CPad m_pads[kExchangeRobots];
    CKeyExchange m_exchange;
    int m_gathers = 0, m_steps = 0, m_forced = 0;
};

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    QuietGameLog();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 3) return 0;
    // One world for every input (its pads read ap.ini when built), set back to its start.
    static CCountingWorld world;
    CKeyExchange& ex = world.m_exchange;
    ex.Reset();
    for (CPad& pad : world.m_pads) pad.Reset(0);
    world.m_gathers = world.m_steps = world.m_forced = 0;
    ex.m_robotCount = 1 + data[0] % kExchangeRobots;
    ex.m_localId = data[1] % ex.m_robotCount;
    for (int i = 0; i < kExchangeRobots; ++i) ex.m_owner[i] = i;
    ex.m_ownName = {'P', char('0' + ex.m_localId)};
    ex.m_wholeMessages = data[2] & 1;
    const size_t chunk = 1 + (size_t)(data[2] >> 1) * 8;
    std::string stream = Bytes(data + 3, size - 3);
    while (!stream.empty()) {
        const size_t n = stream.size() < chunk ? stream.size() : chunk;
        ex.m_incoming.append(stream, 0, n);
        stream.erase(0, n);
        ex.ParseInput();
        ex.RunFrame();
        ex.m_outgoing.clear();
        for (const std::string& buffer : ex.m_keyBuffers) FUZZ_CHECK(buffer.size() <= kKeyBufferCap, "");
        FUZZ_CHECK(ex.m_pendingChat.size() <= kPendingChatCap, ex.m_pendingChat);
        FUZZ_CHECK(ex.m_hostTick >= 0, std::to_string(ex.m_hostTick));
    }
    return 0;
}
