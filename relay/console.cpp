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

int g_signalFd = -1;
int g_inputEnded = 0;
int g_terminalSaved = 0;
termios g_savedTerminal;

// Waits for a key byte, the end of input or a signal.
int NextEvent() {
    for (;;) {
        pollfd fds[2];
        int count = 0;
        if (g_signalFd >= 0) fds[count++] = {g_signalFd, POLLIN, 0};
        if (!g_inputEnded) fds[count++] = {STDIN_FILENO, POLLIN, 0};
        if (count == 0) {
            pause();  // only a signal's default action can end this wait
            continue;
        }
        if (poll(fds, count, -1) < 0) {
            if (errno == EINTR) continue;
            return kConsoleQuit;
        }
        if (g_signalFd >= 0 && fds[0].revents) {
            signalfd_siginfo info;
            if (read(g_signalFd, &info, sizeof info) > 0) return kConsoleQuit;
        }
        if (!g_inputEnded && fds[count - 1].fd == STDIN_FILENO && fds[count - 1].revents) {
            unsigned char key;
            ssize_t n = read(STDIN_FILENO, &key, 1);
            if (n == 1) return key;
            if (n < 0 && (errno == EINTR || errno == EAGAIN)) continue;
            g_inputEnded = 1;  // end of input must not spin the poll
            return kConsoleEnd;
        }
    }
}

}  // namespace

void ConsoleOpen() {
    signal(SIGPIPE, SIG_IGN);
    sigset_t ending;
    sigemptyset(&ending);
    sigaddset(&ending, SIGINT);
    sigaddset(&ending, SIGTERM);
    sigaddset(&ending, SIGHUP);
    sigprocmask(SIG_BLOCK, &ending, nullptr);
    g_signalFd = signalfd(-1, &ending, SFD_CLOEXEC);
    // Without the descriptor the signals keep their default action rather than being lost.
    if (g_signalFd < 0) sigprocmask(SIG_UNBLOCK, &ending, nullptr);

    if (isatty(STDIN_FILENO) && tcgetattr(STDIN_FILENO, &g_savedTerminal) == 0) {
        g_terminalSaved = 1;
        atexit(ConsoleClose);
        termios raw = g_savedTerminal;
        raw.c_lflag &= ~(ICANON | ECHO);  // ISIG stays: Ctrl-C still ends the relay
        raw.c_cc[VMIN] = 1;
        raw.c_cc[VTIME] = 0;
        tcsetattr(STDIN_FILENO, TCSANOW, &raw);
    }
}

void ConsoleClose() {
    if (g_terminalSaved) tcsetattr(STDIN_FILENO, TCSANOW, &g_savedTerminal);
    g_terminalSaved = 0;
}

int ConsoleReadKey() {
    for (;;) {
        int event = NextEvent();
        if (event != kConsoleEnd) return event;
    }
}

int ConsoleWaitKey() { return g_inputEnded ? kConsoleEnd : NextEvent(); }
