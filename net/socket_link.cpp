// The engine socket behind the lobby's link. The socket's receive terminates the text it
// returns, so the count is the text's length.
#include "socket_link.h"

#include <string>

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

int CSocketLink::Send(const char* data, int length) {
    std::string text(data, (size_t)length);  // the socket sends a terminated text
    return m_socket.Send(text.c_str());
}
