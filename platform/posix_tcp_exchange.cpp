// The blocking exchange over POSIX sockets: non-blocking descriptors waited on with poll, so
// each step ends at its limit; sends never raise SIGPIPE.
#include "sys_tcp_exchange.h"

#include "sys_socket.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <pthread.h>
#include <sys/socket.h>
#include <time.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>

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

// A name look-up that cannot be interrupted runs on a thread of its own; a caller that stops
// waiting leaves the record to the thread, which ends with the look-up.
struct NameLookup {
    std::string host;
    std::mutex lock;
    std::condition_variable done;
    bool finished = false;
    int found = 0;
    unsigned int address = 0;
};

// Look-up threads alive at once. A stuck resolver keeps each one until it gives up by itself;
// past kSysTcpMaxLookups a request fails at once instead of leaving yet another thread behind.
std::atomic<int> g_lookupThreads{0};

void* RunLookup(void* arg) {
    std::shared_ptr<NameLookup>* held = static_cast<std::shared_ptr<NameLookup>*>(arg);
    std::shared_ptr<NameLookup> job = *held;
    delete held;
    unsigned int address = 0;
    const int found = SysLookUpName(job->host.c_str(), &address);
    {
        std::lock_guard<std::mutex> hold(job->lock);
        job->found = found;
        job->address = address;
        job->finished = true;
    }
    job->done.notify_all();
    --g_lookupThreads;
    return nullptr;
}

}  // namespace

int SysTcpResolve(const char* host, unsigned int* address, int waitMs) {
    if (!host || !address) return 0;
    in_addr a;
    // All ones is the failure value of the old conversion, so it goes to the name look-up.
    if (inet_aton(host, &a) && a.s_addr != INADDR_NONE) {
        *address = a.s_addr;
        return 1;
    }
    if (waitMs <= 0) return kSysTcpTimedOut;
    if (g_lookupThreads.fetch_add(1) >= kSysTcpMaxLookups) {
        --g_lookupThreads;
        return kSysTcpBusy;
    }
    auto job = std::make_shared<NameLookup>();
    job->host = host;
    auto* held = new std::shared_ptr<NameLookup>(job);
    pthread_attr_t attr;
    pthread_attr_init(&attr);
    pthread_attr_setdetachstate(&attr, PTHREAD_CREATE_DETACHED);
    pthread_t thread;
    const int started = pthread_create(&thread, &attr, RunLookup, held) == 0;
    pthread_attr_destroy(&attr);
    if (!started) {
        delete held;
        --g_lookupThreads;
        return kSysTcpFailed;
    }
    std::unique_lock<std::mutex> hold(job->lock);
    if (!job->done.wait_for(hold, std::chrono::milliseconds(waitMs), [&] { return job->finished; }))
        return kSysTcpTimedOut;
    if (!job->found) return 0;
    *address = job->address;
    return 1;
}

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
