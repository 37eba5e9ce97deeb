// The relay's console: single keys from a terminal, plain bytes from a pipe, and the signals
// that end the relay just as the quit key does (closing the terminal ends it the same way).
#pragma once

// Returned by the key readers when SIGINT, SIGTERM, SIGHUP or SIGQUIT asks the relay to end.
constexpr int kConsoleQuit = -1;
// Returned by ConsoleWaitKey when standard input has ended.
constexpr int kConsoleEnd = -2;

// Call before any thread starts: the ending signals are blocked in every thread and read here.
// Also ignores SIGPIPE, SIGTTIN and SIGTTOU (a relay in the background must never stop) and
// switches a terminal to single keys without echo while the relay is its foreground job.
void ConsoleOpen();
// Puts a terminal back as it was; safe to call more than once.
void ConsoleClose();
// The next key byte, or kConsoleQuit. After end of input it only waits for a signal: the
// game starts the relay with no console at all.
int ConsoleReadKey();
// One key for a failure line to be read: a key byte, kConsoleEnd (no input can come now) or
// kConsoleQuit.
int ConsoleWaitKey();
