// TCP client sockets over POSIX, their connect, read, write and close events raised from the
// message pump. Each socket keeps a queue of bytes the system has not taken yet, so a send never loses
// or reorders data; the pump writes the queue out as the socket drains.
#include "sys_socket.h"
#include "sys_window.h"

#include <arpa/inet.h>
#include <errno.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstring>
#include <string>

namespace {

constexpr int kMaxSockets = 8;           // the game holds one; tests a few

// A relay whose machine lost power, left the network or went to sleep sends no close, and the
// kernel's defaults would retransmit to it for about 15 minutes. The kernel's own probes and
// time-out give up within kLivenessTimeoutMs instead, and the connection reads as closed; a
// relay whose process is only held up still answers them from its kernel.
constexpr unsigned kLivenessTimeoutMs = 20000;  // unacknowledged data, or silence with unanswered probes
constexpr int kKeepAliveIdleS = 10;             // silence before the first probe
constexpr int kKeepAliveIntervalS = 5;
constexpr int kKeepAliveProbes = 3;

enum class State { Idle, Connecting, Connected };

struct Entry {
    int fd = -1;
    State state = State::Idle;
    bool closeReported = false;
    std::string queue;                   // bytes not yet taken by the system
    void (*notify)(int, int, int, int) = nullptr;
    int context = 0;
};

Entry g_entries[kMaxSockets];
int g_lastError = 0;
bool g_hooked = false;

Entry* Find(int fd) {
    if (fd < 0) return nullptr;
    for (Entry& e : g_entries)
        if (e.fd == fd) return &e;
    return nullptr;
}

int Fail() {
    g_lastError = errno;
    return 0;
}

void UpdateWatch(Entry& e) {
    bool active = (e.state == State::Connecting || e.state == State::Connected) && !e.closeReported;
    if (active)
        SysWatchFd(e.fd, e.state == State::Connecting || !e.queue.empty());
    else
        SysUnwatchFd(e.fd);
}

// Sends from the front of the queue; false when the connection failed.
bool Flush(Entry& e) {
    while (!e.queue.empty()) {
        ssize_t n = send(e.fd, e.queue.data(), e.queue.size(), MSG_NOSIGNAL);
        if (n > 0) {
            e.queue.erase(0, (size_t)n);
            continue;
        }
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR)) return true;
        g_lastError = errno;
        return false;
    }
    return true;
}

// Calls the owner; the owner may close the socket, so the entry is looked up again afterwards.
bool Notify(int fd, int event, int error) {
    Entry* e = Find(fd);
    if (!e || !e->notify) return false;
    e->notify(e->context, fd, event, error);
    return Find(fd) == e;
}

void PollOne(int fd) {
    Entry* e = Find(fd);
    if (!e || !e->notify || e->closeReported) return;
    if (e->state != State::Connecting && e->state != State::Connected) return;
    pollfd p = {fd, (short)(POLLIN | (e->state == State::Connecting || !e->queue.empty() ? POLLOUT : 0)), 0};
    if (poll(&p, 1, 0) <= 0) return;

    if (e->state == State::Connecting) {
        if (!(p.revents & (POLLOUT | POLLERR | POLLHUP))) return;
        int err = 0;
        socklen_t len = sizeof err;
        getsockopt(fd, SOL_SOCKET, SO_ERROR, &err, &len);
        if (err) {
            e->closeReported = true;
            UpdateWatch(*e);
            Notify(fd, kSysSocketConnect, err);
            return;
        }
        e->state = State::Connected;
        UpdateWatch(*e);
        if (Notify(fd, kSysSocketConnect, 0)) Notify(fd, kSysSocketWrite, 0);
        return;  // data that came with the connect is reported at the next pump
    }

    if ((p.revents & (POLLOUT | POLLERR | POLLHUP)) && !e->queue.empty()) {
        if (!Flush(*e)) {
            e->queue.clear();
            e->closeReported = true;
            UpdateWatch(*e);
            Notify(fd, kSysSocketClose, g_lastError ? g_lastError : EPIPE);
            return;
        }
        UpdateWatch(*e);
    }

    if (p.revents & (POLLIN | POLLERR | POLLHUP)) {
        // Read events come while data waits; the close comes only once it has all been read.
        char byte;
        ssize_t n = recv(fd, &byte, 1, MSG_PEEK | MSG_DONTWAIT);
        if (n > 0) {
            Notify(fd, kSysSocketRead, 0);
        } else if (n == 0 || (errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR)) {
            int err = n == 0 ? 0 : errno;
            e->closeReported = true;
            UpdateWatch(*e);
            Notify(fd, kSysSocketClose, err);
        }
    }
}

void PumpSockets() {
    int fds[kMaxSockets];
    for (int i = 0; i < kMaxSockets; ++i) fds[i] = g_entries[i].fd;
    for (int fd : fds)
        if (fd >= 0) PollOne(fd);
}

}  // namespace

int SysSocketStartup(int version) {
    int major = version & 0xff;
    return major >= 1 && major <= 2 ? 1 : 0;
}

void SysSocketCleanup() {}

int SysSocketCreate() {
    Entry* slot = nullptr;
    for (Entry& e : g_entries)
        if (e.fd < 0) {
            slot = &e;
            break;
        }
    if (!slot) {
        g_lastError = EMFILE;
        return -1;
    }
    int fd = socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        g_lastError = errno;
        return -1;
    }
    int one = 1;
    setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
    setsockopt(fd, SOL_SOCKET, SO_KEEPALIVE, &one, sizeof one);
    int idle = kKeepAliveIdleS, interval = kKeepAliveIntervalS, probes = kKeepAliveProbes;
    setsockopt(fd, IPPROTO_TCP, TCP_KEEPIDLE, &idle, sizeof idle);
    setsockopt(fd, IPPROTO_TCP, TCP_KEEPINTVL, &interval, sizeof interval);
    setsockopt(fd, IPPROTO_TCP, TCP_KEEPCNT, &probes, sizeof probes);
    unsigned timeout = kLivenessTimeoutMs;
    setsockopt(fd, IPPROTO_TCP, TCP_USER_TIMEOUT, &timeout, sizeof timeout);
    *slot = Entry{};
    slot->fd = fd;
    return fd;
}

int SysSocketResolve(const char* host, unsigned int* address) {
    if (!host) return 0;
    in_addr a;
    // All ones is the failure value of the old conversion, so it goes to the name look-up.
    if (inet_aton(host, &a) && a.s_addr != INADDR_NONE) {
        *address = a.s_addr;
        return 1;
    }
    if (!SysLookUpName(host, address)) {
        g_lastError = EHOSTUNREACH;
        return 0;
    }
    return 1;
}

int SysSocketConnect(int s, unsigned int address, int port) {
    Entry* e = Find(s);
    if (!e) {
        g_lastError = EBADF;
        return 0;
    }
    sockaddr_in to = {};
    to.sin_family = AF_INET;
    to.sin_port = htons((unsigned short)port);
    to.sin_addr.s_addr = address;
    if (connect(s, reinterpret_cast<sockaddr*>(&to), sizeof to) != 0 && errno != EINPROGRESS) return Fail();
    // Even a connect that completed at once is reported by the pump: callers see every socket
    // event between frames, never inside their own call.
    e->state = State::Connecting;
    e->closeReported = false;
    UpdateWatch(*e);
    return 1;
}

int SysSocketSend(int s, const char* data, int length) {
    Entry* e = Find(s);
    if (!e || e->state != State::Connected || e->closeReported) {
        g_lastError = e ? ENOTCONN : EBADF;
        return 0;
    }
    if (length <= 0) return 1;
    e->queue.append(data, (size_t)length);
    if (!Flush(*e)) {
        e->queue.clear();
        return 0;
    }
    UpdateWatch(*e);
    return 1;
}

int SysSocketPending(int s) {
    Entry* e = Find(s);
    return e ? (int)e->queue.size() : 0;
}

int SysSocketRecv(int s, char* buffer, int size) {
    if (size <= 0) return 0;
    ssize_t n = recv(s, buffer, (size_t)size, MSG_DONTWAIT);
    if (n >= 0) return (int)n;
    g_lastError = errno;
    if (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR) return -2;
    return -1;
}

void SysSocketShutdown(int s) {
    Entry* e = Find(s);
    if (!e) return;
    // The frame must not wait on a peer that does not read: the system takes what it can now and
    // sends that before its end-of-stream; the rest of the queue is dropped.
    if (e->state == State::Connected && !e->closeReported) Flush(*e);
    e->queue.clear();
    shutdown(s, SHUT_RDWR);
    // A shut-down socket reports nothing more; its owner closes it next.
    e->state = State::Idle;
    UpdateWatch(*e);
}

void SysSocketClose(int s) {
    Entry* e = Find(s);
    if (!e) return;
    SysUnwatchFd(s);
    close(s);
    *e = Entry{};
}

int SysSocketLastError() { return g_lastError; }

int SysSocketSelect(int s, void (*notify)(int, int, int, int), int context) {
    Entry* e = Find(s);
    if (!e) {
        g_lastError = EBADF;
        return 0;
    }
    e->notify = notify;
    e->context = context;
    if (!g_hooked) {
        SysAddPumpHook(PumpSockets);
        g_hooked = true;
    }
    UpdateWatch(*e);
    return 1;
}
