// The engine socket behind the lobby's link. The socket's receive terminates the text it
// returns, so the count is the text's length.
#include "socket_link.h"

#include <cstring>
#include <string>

namespace {
constexpr int kWinsockVersion = 0x0101;  // 1.1, as the lobby always asked
}

CSocketLink::CSocketLink() { m_socket.Init(kWinsockVersion); }

int CSocketLink::IsConnected() { return IsSocketConnected(); }
int CSocketLink::IsReadable() { return IsSocketReadable(); }
int CSocketLink::IsWritable() { return IsSocketWritable(); }

int CSocketLink::Receive(char* buffer, int size) {
    if (!m_socket.Receive(buffer, size)) return -1;
    return (int)strlen(buffer);
}

int CSocketLink::Send(const char* data, int length) {
    std::string text(data, (size_t)length);  // the socket sends a terminated text
    return m_socket.Send(text.c_str());
}
