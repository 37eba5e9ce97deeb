// The game's one TCP client connection. It never blocks: connect, read, write and close events
// arrive through the message pump at a hidden notification window, whose procedure only sets
// three flags that game code polls once a frame. Failures go to "socket.err" as one-word lines.
#pragma once

#include <cstdint>

constexpr unsigned kSocketMessage = 0x402;  // the notification window's socket event message
constexpr unsigned kWindowClose = 0x0010;   // WM_CLOSE
constexpr int kSocketEventMask = 0x33;      // read, write, connect, close

class CSocket {
public:
    CSocket();                    // no socket, flags clear, "socket.err" emptied
    ~CSocket();                   // Close; the notification window goes with its owner

    int Init(int version);        // the lobby asks for 0x0101 (version 1.1)
    int SelectAsync();
    int CreateNotifyWindow();     // window handle (> 0), or 0
    void DestroyNotifyWindow();   // sends WM_CLOSE

    int ResolveHost(const char* host, uint32_t* address);  // address in network order
    int Connect(uint32_t address, int port);
    // All `length` bytes, zeros included: a game's text may hold any byte. Nothing handed over is
    // lost: what cannot go now goes later.
    int Send(const char* data, int length);
    // At most size - 1 bytes and a terminator; `received` (if given) gets the count, since a
    // peer's bytes may hold a zero of their own.
    int Receive(char* buffer, int size, int* received = nullptr);
    void Shutdown();
    void Close();

    static void ResetErrorLog();

    CSocket(const CSocket&) = delete;
    CSocket& operator=(const CSocket&) = delete;

private:
    int m_window = 0;
};

// The connection's flags: connected after the connect event, readable after a read event until
// the next Receive, writable from the write event until the connection ends.
int IsSocketConnected();
int IsSocketReadable();
int IsSocketWritable();
// A socket exists: none after Close, nor after an error event (a refused connect) or the peer's
// close, which close it. Only a new Init can connect again then.
int IsSocketOpen();

// The hidden window's procedure: events as message 0x402, (error << 16) | event in lParam.
long SocketWindowProc(int window, unsigned message, uintptr_t wParam, intptr_t lParam);
void LogSocketError(const char* text);
