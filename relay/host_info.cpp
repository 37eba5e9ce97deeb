// Name look-ups feed only printouts, so none of them may end or stall the relay's work.
#include "host_info.h"

#include <arpa/inet.h>
#include <netdb.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace {
// Room for the machine name, with space to spare beyond the usual host name limit.
constexpr int kMachineNameSize = 256;
}

int PrintServerAddresses() {
    char name[kMachineNameSize];
    if (gethostname(name, sizeof name) != 0) {
        printf("error(%d) : gethostname\n", errno);
        return 0;
    }
    name[sizeof name - 1] = 0;

    addrinfo hints;
    memset(&hints, 0, sizeof hints);
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;  // one entry per address, not one per socket type
    addrinfo* list = nullptr;
    int rc = getaddrinfo(name, nullptr, &hints, &list);
    if (rc != 0 || !list) {
        printf("gethostbyname(%d)\n", rc);
        return 1;
    }
    char dotted[kDottedSize];
    DottedAddress(*(const sockaddr_in*)list->ai_addr, dotted);
    printf("server : %s(%s)\n", name, dotted);
    printf("ip address =");
    for (addrinfo* a = list; a; a = a->ai_next) {
        DottedAddress(*(const sockaddr_in*)a->ai_addr, dotted);
        printf(" %s\n", dotted);
    }
    freeaddrinfo(list);
    return 1;
}

void DottedAddress(const sockaddr_in& addr, char (&out)[kDottedSize]) {
    if (!inet_ntop(AF_INET, &addr.sin_addr, out, kDottedSize)) snprintf(out, kDottedSize, "?");
}

void ClientHostName(const sockaddr_in& addr, char* out, int outSize) {
    if (getnameinfo((const sockaddr*)&addr, sizeof addr, out, outSize, nullptr, 0, NI_NAMEREQD) == 0) return;
    char dotted[kDottedSize];
    DottedAddress(addr, dotted);
    snprintf(out, outSize, "%s", dotted);
}
