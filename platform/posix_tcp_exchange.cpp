// The blocking exchange over POSIX sockets: non-blocking descriptors waited on with poll, so
// each step ends at its limit; sends never raise SIGPIPE.
#include "sys_tcp_exchange.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>

namespace {

// Waits for the events within the time left; 1 ready, 0 timed out, -1 failed.
int WaitFor(int fd, short events, long long deadline) {
    for (;;) {
        long long left = deadline - SysTcpClockMs();
        if (left < 0) left = 0;
        pollfd p = {fd, events, 0};
        int r = poll(&p, 1, (int)left);
        if (r > 0) return 1;
        if (r == 0) return 0;
        if (errno != EINTR) return -1;
    }
}

}  // namespace

long long SysTcpClockMs() {
    timespec t;
    clock_gettime(CLOCK_MONOTONIC, &t);
    return (long long)t.tv_sec * 1000 + t.tv_nsec / 1000000;
}

int SysTcpOpen() {
    int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return -1;
    int flags = fcntl(fd, F_GETFL, 0);
    if (flags < 0 || fcntl(fd, F_SETFL, flags | O_NONBLOCK) < 0) {
        close(fd);
        return -1;
    }
    return fd;
}

int SysTcpConnect(int fd, unsigned int address, int port, int waitMs) {
    sockaddr_in to = {};
    to.sin_family = AF_INET;
    to.sin_addr.s_addr = address;
    to.sin_port = htons((unsigned short)port);
    if (connect(fd, reinterpret_cast<sockaddr*>(&to), sizeof to) == 0) return 1;
    if (errno != EINPROGRESS && errno != EINTR) return 0;
    if (WaitFor(fd, POLLOUT, SysTcpClockMs() + waitMs) != 1) return 0;
    int error = 0;
    socklen_t len = sizeof error;
    if (getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &len) != 0 || error != 0) return 0;
    return 1;
}

int SysTcpSendAll(int fd, const char* data, int length, int waitMs) {
    const long long deadline = SysTcpClockMs() + waitMs;
    int done = 0;
    while (done < length) {
        ssize_t n = send(fd, data + done, (size_t)(length - done), MSG_NOSIGNAL);
        if (n > 0) {
            done += (int)n;
            continue;
        }
        if (n < 0 && errno == EINTR) continue;
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            if (WaitFor(fd, POLLOUT, deadline) != 1) return 0;
            continue;
        }
        return 0;
    }
    return 1;
}

int SysTcpReceive(int fd, char* buffer, int size, int waitMs) {
    if (!buffer || size <= 0) return kSysTcpFailed;
    const long long deadline = SysTcpClockMs() + waitMs;
    for (;;) {
        ssize_t n = recv(fd, buffer, (size_t)size, 0);
        if (n > 0) return (int)n;
        if (n == 0) return kSysTcpClosed;
        if (errno == EINTR) continue;
        if (errno != EAGAIN && errno != EWOULDBLOCK) return kSysTcpFailed;
        int r = WaitFor(fd, POLLIN, deadline);
        if (r == 0) return kSysTcpTimedOut;
        if (r < 0) return kSysTcpFailed;
    }
}

void SysTcpShutdown(int fd) {
    if (fd >= 0) shutdown(fd, SHUT_RDWR);
}

void SysTcpClose(int fd) {
    if (fd >= 0) close(fd);
}
