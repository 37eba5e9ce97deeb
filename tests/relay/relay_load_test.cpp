// Six games sending thousands of chunks at once: every game gets every byte of every stream,
// each stream in order, nothing lost or doubled; a game that stops reading is dropped within
// the relay's bounded send time and costs the others nothing.
#include <poll.h>
#include <sys/socket.h>

#include <atomic>
#include <cerrno>
#include <cstdint>
#include <string>
#include <thread>
#include <vector>

#include "relay_fixture.h"

namespace {

constexpr int kGames = 6;
constexpr int kMaxChunk = 1024;

// Byte k of game s's stream: the sender in the top three bits and a hash of the position in
// the low five, so a receiver can split the merged streams and check each one's order with
// no framing. The message mark is left out, so no framing rule of the relay applies.
unsigned char StreamByte(int sender, uint64_t k) {
    const unsigned char b = (unsigned char)((sender << 5) | (((k * 2654435761u) >> 11) & 31));
    return b == '>' ? '?' : b;  // the same sender's bits
}

struct Traffic {
    std::atomic<uint64_t> sent[kGames] = {};
    std::atomic<int> sendersDone{0};
    std::atomic<bool> stopSending{false};
};

// Sends chunks of varying size, at least `minChunks`, then until told to stop (or maxChunks).
void SendStream(RelayClient& game, int sender, int minChunks, int maxChunks, Traffic& traffic) {
    uint32_t seed = 12345u + (uint32_t)sender * 7919u;
    uint64_t position = 0;
    unsigned char chunk[kMaxChunk];
    for (int c = 0; c < maxChunks; ++c) {
        if (c >= minChunks && traffic.stopSending) break;
        seed = seed * 1103515245u + 12345u;
        int size = 1 + (int)((seed >> 8) % kMaxChunk);
        for (int i = 0; i < size; ++i) chunk[i] = StreamByte(sender, position + i);
        if (!game.Send(chunk, (size_t)size)) break;
        position += (uint64_t)size;
        traffic.sent[sender] = position;
    }
    ++traffic.sendersDone;
}

struct StreamCheck {
    uint64_t received[kGames] = {};
    std::string fault;
};

// Reads until every sender has finished and all their bytes have arrived, checking each byte.
void ReceiveStreams(RelayClient& game, int senders, Traffic& traffic, StreamCheck& check, long long deadline) {
    std::vector<unsigned char> buffer(1 << 16);
    for (;;) {
        uint64_t total = 0, expected = 0;
        for (int s = 0; s < kGames; ++s) total += check.received[s];
        bool allDone = traffic.sendersDone == senders;
        for (int s = 0; s < kGames; ++s) expected += traffic.sent[s];
        if (allDone && total == expected) return;
        if (!check.fault.empty()) return;
        if (MonotonicMs() > deadline) {
            check.fault = "timed out with " + std::to_string(total) + " of " + std::to_string(expected) + " bytes";
            return;
        }
        pollfd p = {game.Fd(), POLLIN, 0};
        if (poll(&p, 1, 100) <= 0) continue;
        ssize_t n = recv(game.Fd(), buffer.data(), buffer.size(), 0);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            check.fault = "connection ended";
            return;
        }
        for (ssize_t i = 0; i < n; ++i) {
            int sender = buffer[i] >> 5;
            if (sender >= kGames || buffer[i] != StreamByte(sender, check.received[sender])) {
                check.fault = "stream " + std::to_string(sender) + " broken at byte " +
                              std::to_string(check.received[sender < kGames ? sender : 0]);
                return;
            }
            ++check.received[sender];
        }
    }
}

using RelayLoadTest = RelayTest;

TEST_F(RelayLoadTest, SixGamesEachReceiveEveryStreamInOrder) {
    std::vector<std::unique_ptr<RelayClient>> games;
    for (int slot = 0; slot < kGames; ++slot) games.push_back(Join(slot));

    Traffic traffic;
    StreamCheck checks[kGames];
    long long deadline = MonotonicMs() + 120000;
    std::vector<std::thread> threads;
    for (int s = 0; s < kGames; ++s) {
        threads.emplace_back(SendStream, std::ref(*games[s]), s, 2000, 2000, std::ref(traffic));
        threads.emplace_back(ReceiveStreams, std::ref(*games[s]), kGames, std::ref(traffic), std::ref(checks[s]),
                             deadline);
    }
    for (auto& t : threads) t.join();

    for (int r = 0; r < kGames; ++r) {
        EXPECT_EQ(checks[r].fault, "") << "game " << r;
        for (int s = 0; s < kGames; ++s) EXPECT_EQ(checks[r].received[s], traffic.sent[s]) << r << " from " << s;
        EXPECT_EQ(games[r]->ReceiveUntilQuiet(200), "") << "game " << r << " got more than was sent";
    }
    EXPECT_EQ(relay.CountInOutput("< send\n"), 0) << "no send failed";
}

TEST_F(RelayLoadTest, GameThatNeverReadsIsDroppedAndTheOthersLoseNothing) {
    constexpr int kSilent = 2;
    std::vector<std::unique_ptr<RelayClient>> games;
    for (int slot = 0; slot < kGames; ++slot) {
        if (slot != kSilent) {
            games.push_back(Join(slot));
            continue;
        }
        // A tiny receive window, so the relay's side fills up soon.
        std::string line = "client[2] : 127.0.0.1\n";
        games.push_back(std::make_unique<RelayClient>(relay.Port(), 2048));
        ASSERT_TRUE(relay.WaitForOutput(line));
    }

    Traffic traffic;
    StreamCheck checks[kGames];
    long long deadline = MonotonicMs() + 120000;
    std::vector<std::thread> threads;
    for (int s = 0; s < kGames; ++s) {
        if (s == kSilent) continue;
        threads.emplace_back(SendStream, std::ref(*games[s]), s, 1000, 40000, std::ref(traffic));
        threads.emplace_back(ReceiveStreams, std::ref(*games[s]), kGames - 1, std::ref(traffic), std::ref(checks[s]),
                             deadline);
    }
    std::string timeoutLine = "error(" + std::to_string(ETIMEDOUT) + ") : 2 < send\n";
    bool dropped = relay.WaitForOutput(timeoutLine, 1, 60000);
    traffic.stopSending = true;
    for (auto& t : threads) t.join();

    EXPECT_TRUE(dropped);
    EXPECT_TRUE(relay.WaitForOutput("2(127.0.0.1) > disconnect\n"));
    for (int r = 0; r < kGames; ++r) {
        if (r == kSilent) continue;
        EXPECT_EQ(checks[r].fault, "") << "game " << r;
        for (int s = 0; s < kGames; ++s) EXPECT_EQ(checks[r].received[s], traffic.sent[s]) << r << " from " << s;
    }
    EXPECT_EQ(relay.CountInOutput("< send\n"), 1) << "only the silent game failed";

    // Its slot is free again.
    games[kSilent] = Join(kSilent);
    ASSERT_TRUE(games[kSilent]->Send(">I-"));
    EXPECT_EQ(games[kSilent]->Receive(3), ">i2");
}

}  // namespace
