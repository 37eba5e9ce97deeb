// The shell's "open" of a program on Linux: a double fork, so the program belongs to no process
// of the game and outlives it, with a pipe back for its process id and for a failed exec. The
// game is multi-threaded, so between fork and exec only async-signal-safe calls are made.
#include "sys_process.h"

#include <errno.h>
#include <fcntl.h>
#include <limits.h>
#include <signal.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>
#include <vector>

namespace {

constexpr const char* kTerminal = "x-terminal-emulator";

bool HasDesktop() {
    const char* x = getenv("DISPLAY");
    const char* wayland = getenv("WAYLAND_DISPLAY");
    return (x && *x) || (wayland && *wayland);
}

std::string FindOnPath(const char* name) {
    const char* path = getenv("PATH");
    if (!path) return "";
    std::string dirs = path;
    size_t start = 0;
    while (start <= dirs.size()) {
        size_t end = dirs.find(':', start);
        if (end == std::string::npos) end = dirs.size();
        // An empty entry means the current folder.
        std::string candidate = end > start ? dirs.substr(start, end - start) : std::string(1, '.');
        candidate.append("/").append(name);
        if (access(candidate.c_str(), X_OK) == 0) return candidate;
        start = end + 1;
    }
    return "";
}

// x-terminal-emulator is a link to whichever terminal the system chose, known by the name of
// the program it resolves to. Only the xterm family knows "-iconic"; others (lxterminal among
// them, whose name holds "xterm") print their usage for it and start nothing.
std::string TerminalName(const std::string& terminal) {
    char real[PATH_MAX];
    if (!realpath(terminal.c_str(), real)) return "";
    const char* base = strrchr(real, '/');
    return base ? base + 1 : real;
}

bool KnowsIconic(const std::string& name) {
    for (const char* known : {"xterm", "uxterm", "lxterm", "koi8rxvt", "rxvt", "urxvt", "urxvtc", "rxvt-unicode",
                              "rxvt-xterm", "rxvt-xpm"}) {
        if (name == known) return true;
    }
    return false;
}

ssize_t ReadFull(int fd, void* buffer, size_t size) {
    size_t done = 0;
    while (done < size) {
        const ssize_t n = read(fd, (char*)buffer + done, size - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        done += (size_t)n;
    }
    return (ssize_t)done;
}

void WriteFull(int fd, const void* data, size_t size) {
    while (write(fd, data, size) < 0 && errno == EINTR) {
    }
}

// The program's side, after the second fork: a clean signal state, /dev/null for the standard
// streams, none of the game's descriptors, then the program. A failed exec reports its errno.
[[noreturn]] void ExecProgram(char* const* argv, int reportFd) {
    sigset_t none;
    sigemptyset(&none);
    sigprocmask(SIG_SETMASK, &none, nullptr);
    for (int sig : {SIGPIPE, SIGINT, SIGTERM, SIGHUP, SIGCHLD, SIGTTIN, SIGTTOU}) signal(sig, SIG_DFL);
    const int null = open("/dev/null", O_RDWR);
    if (null >= 0) {
        dup2(null, STDIN_FILENO);
        dup2(null, STDOUT_FILENO);
        dup2(null, STDERR_FILENO);
    }
    if (reportFd > 3) close_range(3, (unsigned)reportFd - 1, 0);
    close_range((unsigned)reportFd + 1, ~0U, 0);
    execv(argv[0], argv);
    const int error = errno;
    WriteFull(reportFd, &error, sizeof error);
    _exit(127);
}

// The double fork of a started program, by its whole argument list: its process id, or 0.
int StartArguments(std::vector<std::string>& args) {
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);

    int result[2];
    if (pipe2(result, O_CLOEXEC) != 0) return 0;
    const pid_t child = fork();
    if (child < 0) {
        close(result[0]);
        close(result[1]);
        return 0;
    }
    if (child == 0) {
        // The middle process: a new session, the program's process, and its id sent back once
        // its exec is known to have worked (the report pipe closes on exec).
        setsid();
        int pid = 0;
        int report[2];
        if (pipe2(report, O_CLOEXEC) == 0) {
            const pid_t grandchild = fork();
            if (grandchild == 0) {
                close(report[0]);
                close(result[1]);
                ExecProgram(argv.data(), report[1]);
            }
            close(report[1]);
            int error = 0;
            if (grandchild > 0 && ReadFull(report[0], &error, sizeof error) == 0) pid = grandchild;
            close(report[0]);
        }
        WriteFull(result[1], &pid, sizeof pid);
        _exit(0);
    }
    close(result[1]);
    int pid = 0;
    if (ReadFull(result[0], &pid, sizeof pid) != (ssize_t)sizeof pid) pid = 0;
    close(result[0]);
    while (waitpid(child, nullptr, 0) < 0 && errno == EINTR) {
    }
    return pid;
}

}  // namespace

int SysStartProgram(const char* program, std::string* terminalName) {
    if (terminalName) terminalName->clear();
    if (!program || access(program, X_OK) != 0) return 0;
    // Everything the children need is built before the fork.
    const std::string terminal = HasDesktop() ? FindOnPath(kTerminal) : "";
    if (terminal.empty()) return SysStartProgramDetached(program);
    const std::string name = TerminalName(terminal);
    if (terminalName) *terminalName = name.empty() ? kTerminal : name;
    char real[PATH_MAX];
    std::vector<std::string> args;
    args.push_back(terminal);
    if (KnowsIconic(name)) args.push_back("-iconic");
    args.push_back("-e");
    args.push_back(realpath(program, real) ? real : program);
    return StartArguments(args);
}

int SysStartProgramDetached(const char* program) {
    if (!program || access(program, X_OK) != 0) return 0;
    std::vector<std::string> args{program};
    return StartArguments(args);
}

// Signal 0 only asks whether the process is there; EPERM means it is, run by another user. An
// ended one stays there until its reaper collects it, which some init processes do only every
// few seconds: its state in /proc tells it apart.
int SysProgramRunning(int pid) {
    if (pid <= 0 || (kill(pid, 0) != 0 && errno != EPERM)) return 0;
    char path[32];
    snprintf(path, sizeof path, "/proc/%d/stat", pid);
    FILE* f = fopen(path, "r");
    if (!f) return 1;
    char line[512];
    const bool read = fgets(line, sizeof line, f) != nullptr;
    fclose(f);
    const char* close = read ? strrchr(line, ')') : nullptr;
    return !(close && close[1] == ' ' && (close[2] == 'Z' || close[2] == 'X'));
}
