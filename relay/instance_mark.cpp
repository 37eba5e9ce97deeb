// The mark is an abstract Unix socket name: the kernel frees it when the process dies, so a
// relay that crashed never blocks the next one. Abstract names are shared by the whole machine:
// the user id in the name keeps one user's relay from refusing another's.
#include "instance_mark.h"

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {
int g_markSocket = -1;
}

int AcquireInstanceMark() {
    const char* ns = getenv(kLockNamespaceVariable);
    char name[sizeof(sockaddr_un::sun_path)];
    int n = snprintf(name, sizeof name, "zaumolta-lock:%lu:%s:%s", (unsigned long)getuid(), ns ? ns : "",
                     kInstanceMarkName);
    if (n < 0) return 1;
    if (n > (int)sizeof name - 2) n = (int)sizeof name - 2;

    // Only a name already taken means another relay; any other failure runs without the mark.
    int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return 1;
    sockaddr_un addr;
    memset(&addr, 0, sizeof addr);
    addr.sun_family = AF_UNIX;
    memcpy(addr.sun_path + 1, name, n);  // leading NUL: an abstract name, no file on disk
    socklen_t len = (socklen_t)(offsetof(sockaddr_un, sun_path) + 1 + n);
    if (bind(fd, (sockaddr*)&addr, len) != 0) {
        int taken = errno == EADDRINUSE;
        close(fd);
        return !taken;
    }
    g_markSocket = fd;
    return 1;
}

void ReleaseInstanceMark() {
    if (g_markSocket >= 0) close(g_markSocket);
    g_markSocket = -1;
}
