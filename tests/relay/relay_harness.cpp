// Processes are started with posix_spawn into their own folder; output goes to a file, so a
// relay that prints thousands of lines never blocks on a pipe nobody reads.
#include "relay_harness.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <ftw.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <vector>

extern char** environ;

namespace {

int RemoveEntry(const char* path, const struct stat*, int, struct FTW*) { return remove(path); }

}  // namespace

long long MonotonicMs() {
    timespec ts;
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return (long long)ts.tv_sec * 1000 + ts.tv_nsec / 1000000;
}

TempFolder::TempFolder() {
    const char* base = getenv("TMPDIR");
    std::string pattern = std::string(base && *base ? base : "/tmp") + "/relay-test-XXXXXX";
    std::vector<char> buf(pattern.begin(), pattern.end());
    buf.push_back(0);
    if (mkdtemp(buf.data())) path_ = buf.data();
}

TempFolder::~TempFolder() {
    if (!path_.empty()) nftw(path_.c_str(), RemoveEntry, 16, FTW_DEPTH | FTW_PHYS);
}

void TempFolder::WriteFile(const std::string& name, const std::string& content) const {
    std::ofstream(path_ + "/" + name, std::ios::binary) << content;
}

std::string TempFolder::ReadFile(const std::string& name) const {
    std::ifstream in(path_ + "/" + name, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

const char* VashteloPath() { return VASHTELO_PATH; }

int FreeTcpPort() {
    int fd = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in addr = {};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t len = sizeof addr;
    int port = 0;
    if (bind(fd, (sockaddr*)&addr, sizeof addr) == 0 && getsockname(fd, (sockaddr*)&addr, &len) == 0)
        port = ntohs(addr.sin_port);
    close(fd);
    return port;
}

std::string UniqueLockNamespace() {
    static std::atomic<int> counter{0};
    return "relay-test-" + std::to_string(getpid()) + "-" + std::to_string(counter++);
}

RelayProcess::~RelayProcess() {
    if (pid_ > 0) {
        kill(pid_, SIGKILL);
        waitpid(pid_, nullptr, 0);
    }
    if (input_ >= 0) close(input_);
}

bool RelayProcess::Spawn(const std::string& folder, const std::string& lockNamespace,
                         const std::string& outputFile) {
    int pipeFds[2];
    if (pipe2(pipeFds, O_CLOEXEC) != 0) return false;
    outputPath_ = folder + "/" + outputFile;

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeFds[0], STDIN_FILENO);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, outputPath_.c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_adddup2(&actions, STDOUT_FILENO, STDERR_FILENO);
    posix_spawn_file_actions_addchdir_np(&actions, folder.c_str());

    std::string nsEntry = "ZAUMOLTA_LOCK_NS=" + lockNamespace;
    std::vector<char*> env;
    for (char** e = environ; *e; ++e)
        if (strncmp(*e, "ZAUMOLTA_LOCK_NS=", 17) != 0) env.push_back(*e);
    env.push_back(nsEntry.data());
    env.push_back(nullptr);

    char* argv[] = {(char*)VASHTELO_PATH, nullptr};
    int rc = posix_spawn(&pid_, VASHTELO_PATH, &actions, nullptr, argv, env.data());
    posix_spawn_file_actions_destroy(&actions);
    close(pipeFds[0]);
    if (rc != 0) {
        pid_ = -1;
        close(pipeFds[1]);
        return false;
    }
    input_ = pipeFds[1];
    return true;
}

bool RelayProcess::StartListening(const std::string& folder, const std::string& lockNamespace) {
    for (int attempt = 0; attempt < 5; ++attempt) {
        port_ = FreeTcpPort();
        std::ofstream(folder + "/ap.ini") << "[NET]\nHostPort= " << port_ << "\n";
        if (!Spawn(folder, lockNamespace)) return false;
        long long deadline = MonotonicMs() + 10000;
        while (MonotonicMs() < deadline) {
            std::string out = Output();
            if (out.find("q : quit\nl : list\n") != std::string::npos) return true;
            if (out.find(" : bind\n") != std::string::npos) break;
            usleep(5000);
        }
        kill(pid_, SIGKILL);
        waitpid(pid_, nullptr, 0);
        pid_ = -1;
        close(input_);
        input_ = -1;
    }
    return false;
}

std::string RelayProcess::Output() const {
    std::ifstream in(outputPath_, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

int RelayProcess::CountInOutput(const std::string& text) const {
    std::string out = Output();
    int count = 0;
    for (size_t at = out.find(text); at != std::string::npos; at = out.find(text, at + text.size())) ++count;
    return count;
}

bool RelayProcess::WaitForOutput(const std::string& text, int count, int timeoutMs) const {
    long long deadline = MonotonicMs() + timeoutMs;
    for (;;) {
        if (CountInOutput(text) >= count) return true;
        if (MonotonicMs() >= deadline) return false;
        usleep(5000);
    }
}

void RelayProcess::Type(const std::string& keys) {
    if (input_ >= 0 && write(input_, keys.data(), keys.size()) < 0) {
        // the relay has gone; the test notices through its output or exit code
    }
}

void RelayProcess::CloseInput() {
    if (input_ >= 0) close(input_);
    input_ = -1;
}

void RelayProcess::Signal(int sig) {
    if (pid_ > 0) kill(pid_, sig);
}

int RelayProcess::WaitExit(int timeoutMs) {
    if (pid_ <= 0) return -1;
    long long deadline = MonotonicMs() + timeoutMs;
    for (;;) {
        int status = 0;
        pid_t r = waitpid(pid_, &status, WNOHANG);
        if (r == pid_) {
            pid_ = -1;
            if (WIFEXITED(status)) return WEXITSTATUS(status);
            return 128 + WTERMSIG(status);
        }
        if (MonotonicMs() >= deadline) return -1;
        usleep(5000);
    }
}

RelayClient::RelayClient(int port, int receiveBuffer) {
    int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return;
    if (receiveBuffer > 0) setsockopt(fd, SOL_SOCKET, SO_RCVBUF, &receiveBuffer, sizeof receiveBuffer);
    int one = 1;
    setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
    sockaddr_in addr = {};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    addr.sin_port = htons((unsigned short)port);
    if (connect(fd, (sockaddr*)&addr, sizeof addr) != 0) {
        close(fd);
        return;
    }
    fd_ = fd;
}

RelayClient::~RelayClient() { Close(); }

void RelayClient::Close() {
    if (fd_ >= 0) close(fd_);
    fd_ = -1;
}

bool RelayClient::Send(const std::string& bytes) { return Send(bytes.data(), bytes.size()); }

bool RelayClient::Send(const void* data, size_t n) {
    const char* p = (const char*)data;
    while (n > 0) {
        ssize_t r = send(fd_, p, n, MSG_NOSIGNAL);
        if (r < 0 && errno == EINTR) continue;
        if (r <= 0) return false;
        p += r;
        n -= (size_t)r;
    }
    return true;
}

std::string RelayClient::Receive(size_t n, int timeoutMs) {
    std::string got;
    long long deadline = MonotonicMs() + timeoutMs;
    char buf[4096];
    while (got.size() < n) {
        long long left = deadline - MonotonicMs();
        if (left <= 0) break;
        pollfd p = {fd_, POLLIN, 0};
        if (poll(&p, 1, (int)left) <= 0) continue;
        size_t want = n - got.size() < sizeof buf ? n - got.size() : sizeof buf;
        ssize_t r = recv(fd_, buf, want, 0);
        if (r < 0 && errno == EINTR) continue;
        if (r <= 0) break;
        got.append(buf, (size_t)r);
    }
    return got;
}

std::string RelayClient::ReceiveUntilQuiet(int quietMs) {
    std::string got;
    char buf[4096];
    for (;;) {
        pollfd p = {fd_, POLLIN, 0};
        if (poll(&p, 1, quietMs) <= 0) return got;
        ssize_t r = recv(fd_, buf, sizeof buf, 0);
        if (r <= 0) return got;
        got.append(buf, (size_t)r);
    }
}

bool RelayClient::WaitClosed(int timeoutMs) {
    long long deadline = MonotonicMs() + timeoutMs;
    char buf[4096];
    for (;;) {
        long long left = deadline - MonotonicMs();
        if (left <= 0) return false;
        pollfd p = {fd_, POLLIN, 0};
        if (poll(&p, 1, (int)left) <= 0) continue;
        ssize_t r = recv(fd_, buf, sizeof buf, 0);
        if (r == 0 || (r < 0 && errno != EINTR && errno != EAGAIN)) return true;
    }
}
