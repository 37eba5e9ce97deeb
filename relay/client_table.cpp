// The table is fixed at six slots; a slot's socket belongs to its own thread, which alone
// frees it, so a relay in another thread never sends on a closed descriptor.
#include "client_table.h"

#include <poll.h>
#include <pthread.h>
#include <sys/socket.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "chunk_rewrite.h"
#include "host_info.h"

namespace {

struct ClientSlot {
    int inUse;        // 1 from the accept until the game leaves or its receive fails
    int sock;
    sockaddr_in addr;
    int dropped;      // sending to it timed out: it gets nothing more and is on its way out
    long long stalledSinceMs;  // when its socket first had no room, 0 while it takes chunks at once
    // Slots whose game left since this game's last slot list. Such a slot reads as free in its
    // next list even when a newcomer has taken it meanwhile: a game in a match must learn that
    // a fighter's game is gone, and the newcomer's connection is not the fighter's.
    unsigned leftSinceList;
};

pthread_mutex_t g_tableLock = PTHREAD_MUTEX_INITIALIZER;
ClientSlot g_slots[kMaxClients];

long long NowMs() {
    timespec ts;
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return (long long)ts.tv_sec * 1000 + ts.tv_nsec / 1000000;
}

// Sends all n bytes. A game whose socket is full counts as stalled from the first send that
// had to wait until a send goes through without waiting; once stalled for the whole bounded
// time it is given up, so one that takes a few bytes now and then cannot slow the relay for long.
// 0 on success, else the error code (ETIMEDOUT when the time ran out).
int SendWithin(ClientSlot& slot, const char* data, int n) {
    int sent = 0;
    int waited = 0;
    while (sent < n) {
        ssize_t r = send(slot.sock, data + sent, n - sent, MSG_NOSIGNAL | MSG_DONTWAIT);
        if (r > 0) {
            sent += (int)r;
            continue;
        }
        if (r < 0 && errno == EINTR) continue;
        if (r < 0 && errno != EAGAIN && errno != EWOULDBLOCK) return errno;
        long long now = NowMs();
        if (!slot.stalledSinceMs) slot.stalledSinceMs = now;
        waited = 1;
        long long left = slot.stalledSinceMs + kSendTimeoutMs - now;
        if (left <= 0) return ETIMEDOUT;
        pollfd p = {slot.sock, POLLOUT, 0};
        poll(&p, 1, (int)left);
    }
    if (!waited) slot.stalledSinceMs = 0;
    return 0;
}

}  // namespace

int TakeSlot(int sock, const sockaddr_in& addr) {
    pthread_mutex_lock(&g_tableLock);
    int slot = -1;
    for (int i = 0; i < kMaxClients; ++i) {
        if (!g_slots[i].inUse) {
            slot = i;
            break;
        }
    }
    if (slot >= 0) {
        g_slots[slot] = {1, sock, addr, 0, 0, 0};
        // Printed under the lock, so the line comes before any chunk sent to the new game.
        char dotted[kDottedSize];
        DottedAddress(addr, dotted);
        printf("client[%d] : %s\n", slot, dotted);
    }
    pthread_mutex_unlock(&g_tableLock);
    return slot;
}

void FreeSlot(int slot) {
    pthread_mutex_lock(&g_tableLock);
    for (ClientSlot& other : g_slots) other.leftSinceList |= 1u << slot;
    close(g_slots[slot].sock);
    g_slots[slot] = {};
    g_slots[slot].sock = -1;
    pthread_mutex_unlock(&g_tableLock);
}

int SlotSocket(int slot, sockaddr_in* addr) {
    pthread_mutex_lock(&g_tableLock);
    int sock = g_slots[slot].sock;
    *addr = g_slots[slot].addr;
    pthread_mutex_unlock(&g_tableLock);
    return sock;
}

int SlotDropped(int slot) {
    pthread_mutex_lock(&g_tableLock);
    int dropped = g_slots[slot].dropped;
    pthread_mutex_unlock(&g_tableLock);
    return dropped;
}

void RelayToClients(const char* chunk, int n) {
    // One copy of the chunk; each recipient's rewrite starts from the chunk's own front bytes.
    char msg[kChunkSize];
    memcpy(msg, chunk, n);
    const int front = n < kRewrittenFront ? n : kRewrittenFront;
    pthread_mutex_lock(&g_tableLock);
    for (int i = 0; i < kMaxClients; ++i) {
        if (!g_slots[i].inUse || g_slots[i].dropped) continue;
        // The flags are taken at the moment of each send: a dropped game counts as gone, and so
        // does one that left since this recipient's last list.
        int inUse[kMaxClients];
        for (int j = 0; j < kMaxClients; ++j)
            inUse[j] = g_slots[j].inUse && !g_slots[j].dropped && !(g_slots[i].leftSinceList & (1u << j));
        memcpy(msg, chunk, front);
        const int listed = RewriteChunkFront(msg, n, i, inUse);
        int err = SendWithin(g_slots[i], msg, n);
        if (err == 0) {
            if (listed) g_slots[i].leftSinceList = 0;
            printf("%d < send(%d)\n", i, n);
            continue;
        }
        printf("error(%d) : %d < send\n", err, i);
        if (err == ETIMEDOUT) {
            // Its own thread wakes from its receive, prints the disconnect and frees the slot.
            g_slots[i].dropped = 1;
            shutdown(g_slots[i].sock, SHUT_RDWR);
        }
    }
    pthread_mutex_unlock(&g_tableLock);
}

void ListClients() {
    // Copied out first: name look-ups may take long and must not hold up the relay.
    int count = 0;
    int slots[kMaxClients];
    sockaddr_in addrs[kMaxClients];
    pthread_mutex_lock(&g_tableLock);
    for (int i = 0; i < kMaxClients; ++i) {
        if (!g_slots[i].inUse) continue;
        slots[count] = i;
        addrs[count] = g_slots[i].addr;
        ++count;
    }
    pthread_mutex_unlock(&g_tableLock);

    printf("list\n");
    for (int k = 0; k < count; ++k) {
        char name[kHostNameSize];
        char dotted[kDottedSize];
        ClientHostName(addrs[k], name, sizeof name);
        DottedAddress(addrs[k], dotted);
        printf("client[%d] : %s(%s)\n", slots[k], name, dotted);
    }
    printf("%d clients.\n", count);
}
