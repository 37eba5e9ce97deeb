// A relay inside the test process: links in six slots, each chunk a link sent copied to every
// linked game in slot order, the sender included, with the relay's own front rewrite. TCP's
// freedom to split and join is played from a seed: chunks are cut and sends joined at random,
// and a game's receive takes a random part of what waits for it.
#pragma once

#include "net_link.h"

#include <memory>
#include <random>
#include <string>
#include <vector>

constexpr int kFakeRelaySlots = 6;
constexpr int kFakeRelayChunk = 1024;  // the relay's one receive

class CFakeRelay {
public:
    explicit CFakeRelay(unsigned seed);
    ~CFakeRelay();
    CFakeRelay(const CFakeRelay&) = delete;
    CFakeRelay& operator=(const CFakeRelay&) = delete;

    // A game connects: the lowest free slot, or nullptr when six are in. The link stays valid
    // for the relay's lifetime, also after it left.
    CNetLink* Join();
    void Leave(CNetLink* link);  // the game's connection ends; its slot is free again
    int SlotOf(const CNetLink* link) const;  // -1 when not in a slot

    // One pass of the relay: for each slot in order, some of what its game sent goes out as
    // chunks of random size (never more than 1024 bytes), or waits to be joined with more.
    void Pump();
    // Everything this link sent goes out now, before any other game's text: a burst that the
    // relay's thread for that game reads while the others wait.
    void Drain(const CNetLink* link);
    // Whether the relay's reads cut a game's sends apart (on by default). A cut chunk may have
    // another game's chunk relayed between its halves, which garbles the messages at the seam.
    void SetSplits(bool on) { m_splits = on; }
    // Bytes sent and not yet relayed, plus bytes relayed and not yet received.
    size_t Backlog() const;
    // Every chunk relayed so far, as received from its sender (before the rewrite).
    const std::vector<std::string>& Chunks() const { return m_chunks; }
    void KeepChunks(bool keep) { m_keepChunks = keep; }

    // Random numbers for the links' receives.
    unsigned Draw(unsigned bound);

private:
    class Link;
    void Relay(const std::string& chunk);
    void RelayFrom(Link* link, bool all);

    std::mt19937 m_random;
    std::vector<std::unique_ptr<Link>> m_links;  // every link ever joined
    Link* m_slots[kFakeRelaySlots] = {};
    std::vector<std::string> m_chunks;
    bool m_keepChunks = false;
    bool m_splits = true;
};
