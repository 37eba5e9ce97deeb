// The game's link: the engine's TCP client socket (one connection per process), started for
// Winsock 1.1 as the lobby asks. Its sends keep what the system cannot take yet.
#pragma once

#include "net_link.h"
#include "socket.h"

#include <cstdint>

constexpr int kHostLookupMs = 5000;

class CSocketLink : public CNetLink {
public:
    CSocketLink();  // the socket created; its start-up result is not needed by the lobby
    ~CSocketLink() override = default;
    CSocketLink(const CSocketLink&) = delete;
    CSocketLink& operator=(const CSocketLink&) = delete;

    int IsConnected() override;
    int IsReadable() override;
    int IsWritable() override;
    int Receive(char* buffer, int size) override;
    int Send(const char* data, int length) override;

    // Connecting, for the lobby's connect step: 1 when under way. A typed host name is looked
    // up beside the game and given up after kHostLookupMs, so a resolver that never answers
    // cannot hold the game; dotted text needs no look-up.
    int ResolveHost(const char* host, uint32_t* address);
    // A socket that a refused connect or a close has ended is replaced first, so a connect can
    // be tried again.
    int Connect(uint32_t address, int port);
    // The connect was refused or failed, or the connection has ended: the pump closed the socket.
    int IsClosed() { return !IsSocketOpen(); }

    CSocket m_socket;
};
