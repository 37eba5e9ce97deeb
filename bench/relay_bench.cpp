// Relay throughput and added latency with six games on loopback: a real Vashtelo process,
// its console output going to a file as it would to a console.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "relay_harness.h"

namespace {

constexpr int kGames = 6;
constexpr int kLatencySamples = 3000;
constexpr int kWarmUpSamples = 500;  // not counted: first trips pay for cold caches and clocks
constexpr int kThroughputMessages = 20000;  // per game
constexpr int kMessageSize = 16;            // about one pad record on the wire

long long NowUs() {
    timespec ts;
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return (long long)ts.tv_sec * 1000000 + ts.tv_nsec / 1000;
}

void PrintPercentiles(const char* what, std::vector<long long> samples) {
    std::sort(samples.begin(), samples.end());
    printf("%-34s median %6lld us   p99 %6lld us\n", what, samples[samples.size() / 2],
           samples[samples.size() * 99 / 100]);
}

// Round trip through a plain echo thread: what loopback TCP costs without the relay.
std::vector<long long> EchoRoundTrips() {
    int listener = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in addr = {};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t len = sizeof addr;
    bind(listener, (sockaddr*)&addr, sizeof addr);
    listen(listener, 1);
    getsockname(listener, (sockaddr*)&addr, &len);
    std::thread echo([listener] {
        int peer = accept(listener, nullptr, nullptr);
        int one = 1;
        setsockopt(peer, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
        char buf[kMessageSize];
        ssize_t n;
        while ((n = recv(peer, buf, sizeof buf, 0)) > 0) send(peer, buf, (size_t)n, MSG_NOSIGNAL);
        close(peer);
    });
    std::vector<long long> samples;
    {
        RelayClient client(ntohs(addr.sin_port));
        std::string message(kMessageSize, 'e');
        for (int i = 0; i < kWarmUpSamples + kLatencySamples; ++i) {
            long long start = NowUs();
            client.Send(message);
            client.Receive(kMessageSize);
            if (i >= kWarmUpSamples) samples.push_back(NowUs() - start);
        }
    }
    echo.join();
    close(listener);
    return samples;
}

// One game at a time sends a chunk and waits for its own copy; the others read theirs.
std::vector<long long> RelayRoundTrips(std::vector<std::unique_ptr<RelayClient>>& games) {
    std::vector<long long> samples;
    std::string message(kMessageSize, 'r');
    for (int i = 0; i < kWarmUpSamples + kLatencySamples; ++i) {
        RelayClient& sender = *games[i % kGames];
        long long start = NowUs();
        sender.Send(message);
        sender.Receive(kMessageSize);
        if (i >= kWarmUpSamples) samples.push_back(NowUs() - start);
        for (auto& game : games)
            if (game.get() != &sender) game->Receive(kMessageSize);
    }
    return samples;
}

// Every game sends its messages as fast as it can while reading everything the relay sends.
double RelayThroughputSeconds(std::vector<std::unique_ptr<RelayClient>>& games) {
    const long long expected = (long long)kGames * kThroughputMessages * kMessageSize;
    std::vector<std::thread> threads;
    long long start = NowUs();
    for (auto& game : games) {
        RelayClient* g = game.get();
        threads.emplace_back([g] {
            std::string message(kMessageSize, 't');
            for (int m = 0; m < kThroughputMessages; ++m) g->Send(message);
        });
        threads.emplace_back([g, expected] {
            std::vector<char> buf(1 << 16);
            long long got = 0;
            while (got < expected) {
                ssize_t n = recv(g->Fd(), buf.data(), buf.size(), 0);
                if (n <= 0) break;
                got += n;
            }
        });
    }
    for (auto& t : threads) t.join();
    return (double)(NowUs() - start) / 1e6;
}

}  // namespace

int main() {
    TempFolder folder;
    RelayProcess relay;
    if (!relay.StartListening(folder.Path(), UniqueLockNamespace())) {
        fprintf(stderr, "relay did not start\n");
        return 1;
    }
    std::vector<std::unique_ptr<RelayClient>> games;
    for (int slot = 0; slot < kGames; ++slot) {
        games.push_back(std::make_unique<RelayClient>(relay.Port()));
        relay.WaitForOutput("client[" + std::to_string(slot) + "] : ");
    }

    printf("relay benchmark: %d games on loopback, %d-byte chunks\n", kGames, kMessageSize);
    PrintPercentiles("round trip, plain loopback echo:", EchoRoundTrips());
    PrintPercentiles("round trip, sender to itself:", RelayRoundTrips(games));

    int chunksBefore = relay.CountInOutput(" > recv(");
    double seconds = RelayThroughputSeconds(games);
    int chunks = relay.CountInOutput(" > recv(") - chunksBefore;
    double messages = (double)kGames * kThroughputMessages;
    printf("throughput: %.0f chunks received a second (%d chunks in %.2f s)\n", chunks / seconds, chunks, seconds);
    printf("            %.0f messages relayed to all six a second, %.1f MB/s delivered in all\n",
           messages / seconds, messages * kGames * kMessageSize / seconds / 1e6);

    relay.Type("q");
    relay.WaitExit(5000);
    return 0;
}
