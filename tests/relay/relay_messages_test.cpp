// Games send whole messages, each beginning with ">", in chunks of at most the relay's chunk
// size. When a fast sender gets ahead, one receive can fill the relay's buffer and end inside a
// message; if that part went out alone, another game's chunk could land between the two halves
// at every receiver and both messages would be corrupt. Every message must arrive whole.
#include <poll.h>
#include <linux/sockios.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdint>
#include <string>
#include <thread>
#include <vector>

#include "relay_fixture.h"

namespace {

constexpr int kSenders = 2;
constexpr int kGames = 3;  // the third only listens
constexpr int kChunks = 3000;
constexpr int kMaxChunk = 1024;

// ">m", the sender's letter, three digits of the message's whole length, then the letter again.
std::string Message(int sender, int length) {
    char head[8];
    snprintf(head, sizeof head, ">m%c%03d", 'A' + sender, length);
    return head + std::string((size_t)length - 6, (char)('A' + sender));
}

struct Sent {
    std::atomic<int> messages[kSenders] = {};
    std::atomic<int> sendersDone{0};
};

// Chunks of whole messages of 10 to 200 bytes, as a game cuts its send queue. Each goes out only
// while the system can take it whole, so the relay meets a chunk cut only where its own receive
// ends, however far it has fallen behind.
void WaitForRoom(int fd) {
    int queued = 0;
    while (ioctl(fd, SIOCOUTQ, &queued) == 0 && queued > 16384) usleep(200);
}

void SendMessages(RelayClient& game, int sender, Sent& sent) {
    uint32_t seed = 777u + (uint32_t)sender * 31u;
    for (int c = 0; c < kChunks; ++c) {
        std::string chunk;
        int count = 0;
        for (;;) {
            seed = seed * 1103515245u + 12345u;
            std::string m = Message(sender, 10 + (int)((seed >> 8) % 191));
            if (chunk.size() + m.size() > (size_t)kMaxChunk) break;
            chunk += m;
            ++count;
            if ((seed >> 20) % 4 == 0) break;  // some chunks short, some nearly full
        }
        WaitForRoom(game.Fd());
        if (!game.Send(chunk)) break;
        sent.messages[sender] += count;
    }
    ++sent.sendersDone;
}

struct Received {
    int messages[kSenders] = {};
    std::string fault;
};

bool Whole(const std::string& m, int* sender) {
    if (m.size() < 6 || m[0] != '>' || m[1] != 'm') return false;
    const int s = m[2] - 'A';
    if (s < 0 || s >= kSenders || atoi(m.substr(3, 3).c_str()) != (int)m.size()) return false;
    for (size_t i = 6; i < m.size(); ++i)
        if (m[i] != m[2]) return false;
    *sender = s;
    return true;
}

void ReceiveMessages(RelayClient& game, Sent& sent, Received& got, long long deadline) {
    std::string pending;
    std::vector<char> buffer(1 << 16);
    for (;;) {
        const bool done = sent.sendersDone == kSenders;
        if (done && got.messages[0] == sent.messages[0] && got.messages[1] == sent.messages[1]) return;
        if (MonotonicMs() > deadline) {
            got.fault = "timed out";
            return;
        }
        pollfd p = {game.Fd(), POLLIN, 0};
        if (poll(&p, 1, 100) <= 0) {
            // Nothing more is coming: the last message is complete.
            if (!done || pending.empty()) continue;
            int s = 0;
            if (!Whole(pending, &s)) got.fault = "broken message " + pending.substr(0, 40);
            else ++got.messages[s];
            pending.clear();
            continue;
        }
        const ssize_t n = recv(game.Fd(), buffer.data(), buffer.size(), 0);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            got.fault = "connection ended";
            return;
        }
        pending.append(buffer.data(), (size_t)n);
        size_t start = 0, next;
        while ((next = pending.find('>', start + 1)) != std::string::npos) {
            int s = 0;
            const std::string m = pending.substr(start, next - start);
            if (!Whole(m, &s)) {
                got.fault = "broken message " + m.substr(0, 40);
                return;
            }
            ++got.messages[s];
            start = next;
        }
        pending.erase(0, start);
    }
}

using RelayMessagesTest = RelayTest;

TEST_F(RelayMessagesTest, FastSendersMessagesArriveWholeAtEveryGame) {
    std::vector<std::unique_ptr<RelayClient>> games;
    for (int slot = 0; slot < kGames; ++slot) games.push_back(Join(slot));
    Sent sent;
    Received got[kGames];
    const long long deadline = MonotonicMs() + 120000;
    std::vector<std::thread> threads;
    for (int g = 0; g < kGames; ++g) {
        if (g < kSenders) threads.emplace_back(SendMessages, std::ref(*games[g]), g, std::ref(sent));
        threads.emplace_back(ReceiveMessages, std::ref(*games[g]), std::ref(sent), std::ref(got[g]), deadline);
    }
    for (auto& t : threads) t.join();
    for (int g = 0; g < kGames; ++g) {
        EXPECT_EQ(got[g].fault, "") << "game " << g;
        for (int s = 0; s < kSenders; ++s) EXPECT_EQ(got[g].messages[s], sent.messages[s]) << g << " from " << s;
    }
}

}  // namespace
