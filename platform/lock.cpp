// Named locks as abstract Unix sockets: the kernel frees the name when the process dies,
// so a crashed game never leaves a stale lock behind. Abstract names are shared by the whole
// machine, so each carries the user id: a lock belongs to one user's session, as a named
// mutex does, and another user on the machine takes their own.
#include "sys_lock.h"

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {
std::string g_namespace;
bool g_namespaceSet = false;

// Test runs of the real programs choose their namespace from outside, the same variable the
// relay reads, so whole suites can run side by side on one machine.
const std::string& Namespace() {
    if (!g_namespaceSet) {
        const char* env = getenv("ZAUMOLTA_LOCK_NS");
        g_namespace = env ? env : "";
        g_namespaceSet = true;
    }
    return g_namespace;
}
}  // namespace

void SysSetLockNamespace(const char* ns) {
    g_namespace = ns ? ns : "";
    g_namespaceSet = true;
}

int SysAcquireNamedLock(const char* name) {
    int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return -1;
    std::string full = "zaumolta-lock:" + std::to_string((unsigned long)getuid()) + ":" + Namespace() + ":" +
                       (name ? name : "");
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
