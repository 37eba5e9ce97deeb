// The one system name look-up behind both kinds of socket. It is replaceable at run time, so
// tests can stand in a resolver that never answers and see what waits on it.
#include "sys_socket.h"

#include <netdb.h>
#include <netinet/in.h>
#include <sys/socket.h>

#include <atomic>

namespace {

int SystemLookUp(const char* host, unsigned int* address) {
    addrinfo hints = {};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    if (getaddrinfo(host, nullptr, &hints, &found) != 0 || !found) return 0;
    *address = reinterpret_cast<sockaddr_in*>(found->ai_addr)->sin_addr.s_addr;
    freeaddrinfo(found);
    return 1;
}

// Read by look-up threads while a test may be putting another in.
std::atomic<SysNameLookup> g_lookUp{SystemLookUp};

}  // namespace

void SysSetNameLookup(SysNameLookup lookUp) { g_lookUp = lookUp ? lookUp : SystemLookUp; }

int SysLookUpName(const char* host, unsigned int* address) {
    if (!host || !address) return 0;
    return g_lookUp.load()(host, address);
}
