// One thread waits in accept at any time and one thread per game receives and relays. The
// accepting thread goes on after a refused seventh game or a failed accept, so a game can
// still join once a slot is free.
#include "client_thread.h"

#include <netinet/in.h>
#include <netinet/tcp.h>
#include <pthread.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "answer_filter.h"
#include "client_table.h"
#include "host_info.h"

namespace {

// After a failure that may last (no descriptors, no memory), wait before accepting again
// rather than spin on it.
constexpr int kAcceptRetryUs = 100 * 1000;

// Small chunks (one pad record a frame) must not wait for acknowledgements. A game whose machine
// lost power, left the network or went to sleep sends no close; the kernel would retransmit to
// it for about 15 minutes while the others' match stood still. Its own probes and time-out give
// up on such a game within kLivenessTimeoutMs, while a game whose process is only stopped still
// answers them from its kernel.
void SetConnectionOptions(int sock) {
    int one = 1;
    setsockopt(sock, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
    setsockopt(sock, SOL_SOCKET, SO_KEEPALIVE, &one, sizeof one);
    int idle = kKeepAliveIdleS, interval = kKeepAliveIntervalS, probes = kKeepAliveProbes;
    setsockopt(sock, IPPROTO_TCP, TCP_KEEPIDLE, &idle, sizeof idle);
    setsockopt(sock, IPPROTO_TCP, TCP_KEEPINTVL, &interval, sizeof interval);
    setsockopt(sock, IPPROTO_TCP, TCP_KEEPCNT, &probes, sizeof probes);
    unsigned timeout = kLivenessTimeoutMs;
    setsockopt(sock, IPPROTO_TCP, TCP_USER_TIMEOUT, &timeout, sizeof timeout);
}

int StartDetached(void* (*body)(void*), void* arg) {
    pthread_attr_t attr;
    pthread_attr_init(&attr);
    pthread_attr_setdetachstate(&attr, PTHREAD_CREATE_DETACHED);
    pthread_t thread;
    int rc = pthread_create(&thread, &attr, body, arg);
    pthread_attr_destroy(&attr);
    return rc == 0;
}

// Where a receive is cut before sending it on. Games send whole messages, each beginning with
// ">", but a receive can end inside one: the buffer filled, or the game's send went out in
// parts. When more is already waiting, the part of the last message here waits for the rest,
// or another game's chunk relayed in between would split it at every receiver. When nothing
// waits the game has stopped sending, so all of it goes on at once; a buffer that is one
// message alone goes as it is. A mark at the very end always waits for its type letter, which
// decides whether the message may go on at all.
int WholeMessagesEnd(int sock, const char* buffer, int n) {
    char more;
    if (recv(sock, &more, 1, MSG_PEEK | MSG_DONTWAIT) > 0) {
        for (int i = n - 1; i > 0; --i)
            if (buffer[i] == kMessageMark) return i;
    }
    return n > 0 && buffer[n - 1] == kMessageMark ? n - 1 : n;
}

// Relays a part of the game's stream without the answers it may not give.
void RelayPart(char* part, int n, AnswerFilter* filter) {
    const int kept = DropForgedAnswers(part, n, filter);
    if (kept > 0) RelayToClients(part, kept);
}

// Receives and relays for the game in one slot until it leaves.
void* ClientThread(void* arg) {
    int slot = (int)(intptr_t)arg;
    sockaddr_in addr;
    int sock = SlotSocket(slot, &addr);
    char dotted[kDottedSize];
    DottedAddress(addr, dotted);
    char buffer[kChunkSize];
    int held = 0;  // the start of a message kept from the last receive
    AnswerFilter filter;
    for (;;) {
        ssize_t n = recv(sock, buffer + held, sizeof buffer - held, 0);
        const int error = errno;  // before the table lock is taken
        if (n < 0 && error == EINTR) continue;
        if (n <= 0 && held > 0 && !SlotDropped(slot)) RelayPart(buffer, held, &filter);  // nothing follows it
        if (n < 0 && !SlotDropped(slot)) {
            printf("error(%d) : %d > recv\n", error, slot);
            break;
        }
        if (n <= 0 || SlotDropped(slot)) {
            printf("%d(%s) > disconnect\n", slot, dotted);
            break;
        }
        printf("%d > recv(%d)\n", slot, (int)n);
        const int total = held + (int)n;
        const int whole = WholeMessagesEnd(sock, buffer, total);
        RelayPart(buffer, whole, &filter);
        held = total - whole;
        memmove(buffer, buffer + whole, (size_t)held);
    }
    FreeSlot(slot);
    return nullptr;
}

void* AcceptClients(void* arg) {
    int listenSock = (int)(intptr_t)arg;
    for (;;) {
        sockaddr_in addr;
        socklen_t len = sizeof addr;
        int sock = accept4(listenSock, (sockaddr*)&addr, &len, SOCK_CLOEXEC);
        if (sock < 0) {
            if (errno == EINTR) continue;
            printf("error(%d) : accept\n", errno);
            if (errno == EBADF || errno == EINVAL || errno == ENOTSOCK) return nullptr;  // no listener left
            usleep(kAcceptRetryUs);
            continue;
        }
        SetConnectionOptions(sock);
        int slot = TakeSlot(sock, addr);
        if (slot < 0) {
            printf("error : max client\n");
            close(sock);
            continue;
        }
        if (!StartDetached(ClientThread, (void*)(intptr_t)slot)) {
            char dotted[kDottedSize];
            DottedAddress(addr, dotted);
            printf("%d(%s) > disconnect\n", slot, dotted);
            FreeSlot(slot);
        }
    }
}

}  // namespace

int StartAccepting(int listenSock) { return StartDetached(AcceptClients, (void*)(intptr_t)listenSock); }
