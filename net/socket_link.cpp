// The engine socket behind the lobby's link. Both ways go by byte count, never by a terminator:
// any game on the relay may put a zero byte into the stream.
#include "socket_link.h"

#include "debug_log.h"

#include "sys_tcp_exchange.h"

namespace {
constexpr int kWinsockVersion = 0x0101;  // 1.1, as the lobby always asked
}

CSocketLink::CSocketLink() { m_socket.Init(kWinsockVersion); }

int CSocketLink::IsConnected() { return IsSocketConnected(); }
int CSocketLink::IsReadable() { return IsSocketReadable(); }
int CSocketLink::IsWritable() { return IsSocketWritable(); }

// The count, not the text's length: a zero byte from any game on the relay would otherwise cut
// off everything behind it in the same receive, other games' messages included.
int CSocketLink::Receive(char* buffer, int size) {
    int received = 0;
    if (!m_socket.Receive(buffer, size, &received)) return -1;
    return received;
}

// A failed look-up is the socket's "gethostbyname" failure whatever the reason; the debug log
// says which, since a refused look-up has waited for nothing.
int CSocketLink::ResolveHost(const char* host, uint32_t* address) {
    unsigned int found = 0;
    const int result = SysTcpResolve(host, &found, kHostLookupMs);
    if (result == 1) {
        if (address) *address = found;
        return 1;
    }
    LogSocketError("gethostbyname\n");
    if (result == kSysTcpTimedOut)
        LogPrintf("lobby: no answer for the host name within %d ms\n", kHostLookupMs);
    else if (result == kSysTcpBusy)
        LogPrintf("lobby: host name not looked up: %d earlier look-ups still wait for an answer\n",
                  kSysTcpMaxLookups);
    else if (result == kSysTcpFailed)
        LogPrintf("lobby: host name look-up could not start\n");
    else
        LogPrintf("lobby: no address for the host name\n");
    return 0;
}

int CSocketLink::Connect(uint32_t address, int port) {
    if (!IsSocketOpen()) m_socket.Init(kWinsockVersion);
    return m_socket.Connect(address, port);
}

int CSocketLink::Send(const char* data, int length) { return m_socket.Send(data, length); }
