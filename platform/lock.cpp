// Named locks as abstract Unix sockets: the kernel frees the name when the process dies,
// so a crashed game never leaves a stale lock behind.
#include "sys_lock.h"

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstddef>
#include <cstring>
#include <string>

namespace {
std::string g_namespace;
}

void SysSetLockNamespace(const char* ns) { g_namespace = ns ? ns : ""; }

int SysAcquireNamedLock(const char* name) {
    int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return -1;
    std::string full = "zaumolta-lock:" + g_namespace + ":" + (name ? name : "");
    sockaddr_un addr;
    memset(&addr, 0, sizeof addr);
    addr.sun_family = AF_UNIX;
    size_t n = full.size();
    if (n > sizeof addr.sun_path - 1) n = sizeof addr.sun_path - 1;
    memcpy(addr.sun_path + 1, full.data(), n);  // leading NUL: abstract name
    socklen_t len = (socklen_t)(offsetof(sockaddr_un, sun_path) + 1 + n);
    if (bind(fd, (sockaddr*)&addr, len) != 0) {
        close(fd);
        return -1;
    }
    return fd;
}

void SysReleaseNamedLock(int handle) {
    if (handle >= 0) close(handle);
}
