// Blocking TCP for short request-and-reply exchanges (the chat page's HTTP client), on
// descriptors of their own that the message pump never watches. Every wait has a limit, so a
// silent or vanished server costs the caller a bounded time, never the whole game.
#pragma once

// Results of SysTcpReceive besides a byte count.
enum {
    kSysTcpClosed = 0,     // the peer ended the connection
    kSysTcpFailed = -1,
    kSysTcpTimedOut = -2,  // nothing arrived within the wait
};

int SysTcpOpen();                                                          // IPv4 stream; -1 on failure
// Dotted text directly, else the first IPv4 address of a name look-up, in network order; 1 found.
// The look-up runs beside the caller and is given up at waitMs (0 then), so a slow resolver
// costs no more than the wait.
int SysTcpResolve(const char* host, unsigned int* address, int waitMs);
int SysTcpConnect(int fd, unsigned int address, int port, int waitMs);    // address in network order; 1 connected
int SysTcpSendAll(int fd, const char* data, int length, int waitMs);      // 1 when every byte went
int SysTcpReceive(int fd, char* buffer, int size, int waitMs);            // bytes, or one of the results above
void SysTcpShutdown(int fd);                                               // both directions
void SysTcpClose(int fd);
// Milliseconds on the real monotonic clock: peers keep real time, also under a test clock.
long long SysTcpClockMs();
