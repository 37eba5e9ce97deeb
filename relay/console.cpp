// Console keys and ending signals through one poll, so "q", a signal and a failure all leave
// through the same exit path in main, with the terminal restored.
#include "console.h"

#include <poll.h>
#include <signal.h>
#include <sys/signalfd.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

namespace {

// How often a relay that is not its terminal's foreground job looks whether it has become it:
// `fg` of a running job sends no signal.
constexpr int kForegroundCheckMs = 500;

int g_signalFd = -1;
int g_inputEnded = 0;
// The terminal refused a read (the relay runs in the background): keys wait for the front.
int g_inputPaused = 0;
int g_terminalSaved = 0;
termios g_savedTerminal;
termios g_rawTerminal;

int OwnsTerminal() { return tcgetpgrp(STDIN_FILENO) == getpgrp(); }

// 1 while the terminal holds exactly the mode the relay set, so nobody else changed it since.
int HoldsRawMode() {
    termios now;
    if (tcgetattr(STDIN_FILENO, &now) != 0) return 0;
    return now.c_iflag == g_rawTerminal.c_iflag && now.c_oflag == g_rawTerminal.c_oflag &&
           now.c_cflag == g_rawTerminal.c_cflag && now.c_lflag == g_rawTerminal.c_lflag &&
           now.c_cc[VMIN] == g_rawTerminal.c_cc[VMIN] && now.c_cc[VTIME] == g_rawTerminal.c_cc[VTIME];
}

// Single keys without echo, only while the relay is the terminal's foreground job: from the
// background the change would disturb the job in front.
void TakeTerminal() {
    if (!g_terminalSaved || !OwnsTerminal()) return;
    g_inputPaused = 0;
    if (!HoldsRawMode()) tcsetattr(STDIN_FILENO, TCSANOW, &g_rawTerminal);
}

// Waits for a key byte, the end of input or a signal.
int NextEvent() {
    for (;;) {
        pollfd fds[2];
        int count = 0;
        if (g_signalFd >= 0) fds[count++] = {g_signalFd, POLLIN, 0};
        const int watchInput = !g_inputEnded && !g_inputPaused;
        if (watchInput) fds[count++] = {STDIN_FILENO, POLLIN, 0};
        const int timeout = g_terminalSaved && !g_inputEnded ? kForegroundCheckMs : -1;
        if (count == 0 && timeout < 0) {
            pause();  // only a signal's default action can end this wait
            continue;
        }
        int ready = poll(fds, count, timeout);
        if (ready < 0) {
            if (errno == EINTR) continue;
            return kConsoleQuit;
        }
        if (ready == 0) {
            TakeTerminal();
            continue;
        }
        if (g_signalFd >= 0 && fds[0].revents) {
            signalfd_siginfo info;
            if (read(g_signalFd, &info, sizeof info) > 0) {
                if (info.ssi_signo != SIGCONT) return kConsoleQuit;
                TakeTerminal();  // back from a stop: the shell has put its own mode back
                continue;
            }
        }
        if (watchInput && fds[count - 1].revents) {
            unsigned char key;
            ssize_t n = read(STDIN_FILENO, &key, 1);
            if (n == 1) return key;
            if (n < 0 && (errno == EINTR || errno == EAGAIN)) continue;
            if (n < 0 && errno == EIO && g_terminalSaved && !OwnsTerminal()) {
                g_inputPaused = 1;
                return kConsoleEnd;
            }
            g_inputEnded = 1;  // end of input must not spin the poll
            return kConsoleEnd;
        }
    }
}

}  // namespace

void ConsoleOpen() {
    signal(SIGPIPE, SIG_IGN);
    // A relay in the background uses its terminal without being stopped for it: a stopped
    // relay would stop the match. Its reads then fail until it is in front again.
    signal(SIGTTIN, SIG_IGN);
    signal(SIGTTOU, SIG_IGN);
    sigset_t watched;
    sigemptyset(&watched);
    sigaddset(&watched, SIGINT);
    sigaddset(&watched, SIGTERM);
    sigaddset(&watched, SIGHUP);
    sigaddset(&watched, SIGQUIT);  // Ctrl-\ too must not leave the terminal raw
    sigaddset(&watched, SIGCONT);  // blocked, it still continues the process
    sigprocmask(SIG_BLOCK, &watched, nullptr);
    g_signalFd = signalfd(-1, &watched, SFD_CLOEXEC);
    // Without the descriptor the signals keep their default action rather than being lost.
    if (g_signalFd < 0) sigprocmask(SIG_UNBLOCK, &watched, nullptr);

    if (isatty(STDIN_FILENO) && tcgetattr(STDIN_FILENO, &g_savedTerminal) == 0) {
        g_terminalSaved = 1;
        atexit(ConsoleClose);
        g_rawTerminal = g_savedTerminal;
        g_rawTerminal.c_lflag &= ~(ICANON | ECHO);  // ISIG stays: Ctrl-C still ends the relay
        g_rawTerminal.c_cc[VMIN] = 1;
        g_rawTerminal.c_cc[VTIME] = 0;
        TakeTerminal();
    }
}

void ConsoleClose() {
    // Put back only the relay's own change: a job in front may have set a mode of its own.
    if (g_terminalSaved && HoldsRawMode()) tcsetattr(STDIN_FILENO, TCSANOW, &g_savedTerminal);
    g_terminalSaved = 0;
}

int ConsoleReadKey() {
    for (;;) {
        int event = NextEvent();
        if (event != kConsoleEnd) return event;
    }
}

int ConsoleWaitKey() { return g_inputEnded || g_inputPaused ? kConsoleEnd : NextEvent(); }
