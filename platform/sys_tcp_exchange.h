// Blocking TCP for short request-and-reply exchanges (the chat page's HTTP client), on
// descriptors of their own that the message pump never watches. Every wait has a limit, so a
// silent or vanished server costs the caller a bounded time, never the whole game.
#pragma once

// Results of SysTcpReceive besides a byte count, and of SysTcpResolve besides 1 and 0.
enum {
    kSysTcpClosed = 0,     // the peer ended the connection
    kSysTcpFailed = -1,
    kSysTcpTimedOut = -2,  // nothing arrived within the wait
    kSysTcpBusy = -3,      // not looked up: too many earlier look-ups still wait for their answer
};

int SysTcpOpen();                                                          // IPv4 stream; -1 on failure
// Dotted text directly, else the first IPv4 address of a name look-up, in network order; 1 found,
// 0 when the resolver knows no address. The look-up runs beside the caller and is given up at
// waitMs (kSysTcpTimedOut), so a slow resolver costs no more than the wait; while
// kSysTcpMaxLookups look-ups still run, the next is refused at once (kSysTcpBusy); kSysTcpFailed
// when no look-up could be started.
constexpr int kSysTcpMaxLookups = 4;
int SysTcpResolve(const char* host, unsigned int* address, int waitMs);
int SysTcpConnect(int fd, unsigned int address, int port, int waitMs);    // address in network order; 1 connected
int SysTcpSendAll(int fd, const char* data, int length, int waitMs);      // 1 when every byte went
int SysTcpReceive(int fd, char* buffer, int size, int waitMs);            // bytes, or one of the results above
void SysTcpShutdown(int fd);                                               // both directions
void SysTcpClose(int fd);
// Milliseconds on the real monotonic clock: peers keep real time, also under a test clock.
long long SysTcpClockMs();
