// TCP client sockets over POSIX. Sockets are non-blocking and never raise SIGPIPE; the message
// pump polls them and reports connect, read, write and close events, so the game sees the network
// change only between frames. Nothing handed to a send is lost while the connection lasts: what
// the system cannot take at once waits, in order, and goes out when it can write.
#pragma once

// Event bits, as the notification message carried them.
enum {
    kSysSocketRead = 0x01,
    kSysSocketWrite = 0x02,
    kSysSocketConnect = 0x10,
    kSysSocketClose = 0x20,
};

int SysSocketStartup(int version);   // 1 when the requested version is served
void SysSocketCleanup();

// IPv4 TCP, non-blocking, no Nagle delay; a peer that stops answering the kernel (its machine
// gone) reads as closed within about 20 s. -1 on failure.
int SysSocketCreate();
// Dotted text directly, else the first IPv4 address of a name look-up; address in network order.
// Waits as long as the resolver takes.
int SysSocketResolve(const char* host, unsigned int* address);
// The name look-up itself, which every resolve of a name goes through: 1 and the first IPv4
// address in network order. Tests may put in their own (nullptr puts the system's back), e.g.
// one that never answers; it is called on whatever thread resolves.
using SysNameLookup = int (*)(const char* host, unsigned int* address);
void SysSetNameLookup(SysNameLookup lookUp);
int SysLookUpName(const char* host, unsigned int* address);
int SysSocketConnect(int s, unsigned int address, int port);  // 1 connected or under way
int SysSocketSend(int s, const char* data, int length);       // 1 sent or queued; 0 failed
int SysSocketPending(int s);                                  // bytes queued, not yet sent
int SysSocketRecv(int s, char* buffer, int size);  // bytes; 0 at the peer's close; -2 nothing yet; -1 failed
void SysSocketShutdown(int s);       // hands the system what it takes now, drops the rest; both ways
void SysSocketClose(int s);
int SysSocketLastError();            // the system's error number of the last failure

// Events of socket s go to notify(context, s, event, error) from the message pump; error is the
// system's error number, 0 when none.
int SysSocketSelect(int s, void (*notify)(int context, int s, int event, int error), int context);
