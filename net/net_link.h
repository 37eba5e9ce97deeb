// The lobby's view of its connection to the relay: three flags, a bounded receive and a send.
// The game's link is the engine's one TCP socket; tests give each lobby a link of their own,
// so several lobbies can meet in one process.
#pragma once

class CNetLink {
public:
    virtual ~CNetLink() = default;
    virtual int IsConnected() = 0;
    virtual int IsReadable() = 0;   // something may be waiting to be received
    virtual int IsWritable() = 0;
    // Receives at most size - 1 bytes and terminates them; the byte count, or -1 on failure.
    virtual int Receive(char* buffer, int size) = 0;
    virtual int Send(const char* data, int length) = 0;  // 1 sent or taken in hand, 0 failed
};
