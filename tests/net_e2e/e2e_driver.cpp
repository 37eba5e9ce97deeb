// The end-to-end driver's processes, files and raw clients. Games are spawned, never forked
// from the test (a forked test would carry the gtest state and threads into the child).
#include "e2e_driver.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <fstream>

extern char** environ;

bool WaitUntil(const std::function<bool()>& done, int timeoutMs, int pollMs) {
    const long long deadline = MonotonicMs() + timeoutMs;
    for (;;) {
        if (done()) return true;
        if (MonotonicMs() >= deadline) return false;
        usleep((useconds_t)pollMs * 1000);
    }
}

std::vector<std::string> ReadLines(const std::string& path) {
    std::vector<std::string> out;
    std::ifstream in(path, std::ios::binary);
    std::string line;
    while (std::getline(in, line)) out.push_back(line);
    return out;
}

int FindLine(const std::vector<std::string>& lines, const std::string& text, int from) {
    for (int i = from < 0 ? 0 : from; i < (int)lines.size(); ++i)
        if (lines[i].find(text) != std::string::npos) return i;
    return -1;
}

std::vector<std::string> LinesWith(const std::vector<std::string>& lines, const std::string& text) {
    std::vector<std::string> out;
    for (const std::string& l : lines)
        if (l.find(text) != std::string::npos) out.push_back(l);
    return out;
}

bool E2eWorld::Start() {
    return m_chat.Listening() && m_relay.StartListening(m_relayFolder.Path(), m_namespace);
}

E2eProcess::~E2eProcess() {
    if (m_pid > 0) {
        kill(m_pid, SIGKILL);
        waitpid(m_pid, nullptr, 0);
    }
}

namespace {

// Variables a game must not see: a desktop would open real windows, and an inherited lock
// namespace would let the test's relays meet those of other runs.
bool Dropped(const char* entry) {
    static const char* const kNames[] = {"DISPLAY=", "WAYLAND_DISPLAY=", "ZAUMOLTA_LOCK_NS=", "SDL_VIDEODRIVER=",
                                         "SDL_AUDIODRIVER="};
    for (const char* name : kNames)
        if (strncmp(entry, name, strlen(name)) == 0) return true;
    return false;
}

}  // namespace

bool E2eProcess::Start(const std::string& program, const std::vector<std::string>& args, const E2eWorld& world) {
    if (m_pid > 0) return false;
    mkdir(GameDir().c_str(), 0755);
    mkdir((GameDir() + "/data").c_str(), 0755);  // an installation's own folder: saves, the host list
    const std::string relayLink = GameDir() + "/Vashtelo";
    struct stat st;
    if (lstat(relayLink.c_str(), &st) != 0 && symlink(VashteloPath(), relayLink.c_str()) != 0) return false;

    std::vector<std::string> argStore = {program};
    argStore.insert(argStore.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& a : argStore) argv.push_back(a.data());
    argv.push_back(nullptr);

    std::vector<std::string> added = {"ZAUMOLTA_LOCK_NS=" + world.LockNamespace(), "SDL_VIDEODRIVER=offscreen",
                                      "SDL_AUDIODRIVER=dummy"};
    std::vector<char*> env;
    for (char** e = environ; *e; ++e)
        if (!Dropped(*e)) env.push_back(*e);
    for (std::string& a : added) env.push_back(a.data());
    env.push_back(nullptr);

    const std::string outPath = FilePath("stdout.txt"), errPath = FilePath("stderr.txt");
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addchdir_np(&actions, GameDir().c_str());
    const int rc = posix_spawn(&m_pid, program.c_str(), &actions, nullptr, argv.data(), env.data());
    posix_spawn_file_actions_destroy(&actions);
    if (rc != 0) {
        m_pid = -1;
        return false;
    }
    m_exit = -1;
    return true;
}

int E2eProcess::Poll() {
    if (m_pid <= 0) return m_exit;
    int status = 0;
    if (waitpid(m_pid, &status, WNOHANG) == m_pid) {
        m_pid = -1;
        m_exit = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    }
    return m_exit;
}

int E2eProcess::WaitExit(int timeoutMs) {
    WaitUntil([this] { return Poll() >= 0; }, timeoutMs, 10);
    return Poll();
}

std::string E2eProcess::Status() const {
    if (m_pid <= 0) return m_exit < 0 ? "not started" : "ended with exit code " + std::to_string(m_exit);
    siginfo_t info = {};
    if (waitid(P_PID, (id_t)m_pid, &info, WEXITED | WNOHANG | WNOWAIT) != 0 || info.si_pid != m_pid) return "still running";
    if (info.si_code == CLD_EXITED) return "ended with exit code " + std::to_string(info.si_status);
    return "ended by signal " + std::to_string(info.si_status);
}

void E2eProcess::Kill() {
    if (m_pid <= 0) return;
    kill(m_pid, SIGKILL);
    int status = 0;
    if (waitpid(m_pid, &status, 0) == m_pid) m_exit = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    m_pid = -1;
}

bool E2eProcess::WaitForLine(const std::string& file, const std::string& text, int timeoutMs) {
    bool found = false;
    WaitUntil(
        [&] {
            const bool ended = Poll() >= 0;  // read after the exit check, so its last lines count
            found = FindLine(Lines(file), text) >= 0;
            return found || ended;
        },
        timeoutMs);
    return found;
}

E2eReadingClient::E2eReadingClient(int port) : m_client(port) {
    if (m_client.Connected()) m_thread = std::thread([this] { Read(); });
}

E2eReadingClient::~E2eReadingClient() { Close(); }

void E2eReadingClient::Close() {
    m_stop = true;
    if (m_thread.joinable()) m_thread.join();
    m_client.Close();
}

std::string E2eReadingClient::Received() const {
    std::lock_guard<std::mutex> hold(m_lock);
    return m_received;
}

void E2eReadingClient::Read() {
    char buf[16384];
    while (!m_stop) {
        pollfd p = {m_client.Fd(), POLLIN, 0};
        if (poll(&p, 1, 50) <= 0) continue;
        const ssize_t r = recv(m_client.Fd(), buf, sizeof buf, 0);
        if (r < 0 && (errno == EINTR || errno == EAGAIN)) continue;
        if (r <= 0) {
            m_closed = true;
            return;
        }
        std::lock_guard<std::mutex> hold(m_lock);
        // What a test reads is the start of the stream; a reader that runs for minutes keeps
        // counting but stops keeping.
        if (m_received.size() < (1u << 20)) m_received.append(buf, (size_t)r);
        m_bytes += (size_t)r;
    }
}
