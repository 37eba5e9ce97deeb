// The namespace comes from unshare(2), which moves only the calling thread; the loopback set-up
// runs the system's `ip` program, which inherits that thread's namespace.
#include "private_network.h"

#include <fcntl.h>
#include <sched.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace {

bool RunIp(const std::string& arguments) {
    const std::string command = "ip " + arguments + " >/dev/null 2>&1";
    const int status = system(command.c_str());
    return status != -1 && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

}  // namespace

CPrivateNetwork::~CPrivateNetwork() {
    if (m_home < 0) return;
    setns(m_home, CLONE_NEWNET);
    close(m_home);
}

bool CPrivateNetwork::Enter(const std::string& address, std::string* whyNot) {
    if (m_home >= 0) return false;
    const std::string own = "/proc/self/task/" + std::to_string((long)syscall(SYS_gettid)) + "/ns/net";
    m_home = open(own.c_str(), O_RDONLY | O_CLOEXEC);
    if (m_home < 0) {
        *whyNot = "cannot open " + own + ": " + strerror(errno);
        return false;
    }
    if (unshare(CLONE_NEWNET) != 0) {
        *whyNot = std::string("no private network namespace (unshare: ") + strerror(errno) + ")";
        close(m_home);
        m_home = -1;
        return false;
    }
    if (!RunIp("link set lo up") || !RunIp("addr add " + address + "/32 dev lo")) {
        *whyNot = "the `ip` program could not set up the loopback device";
        return false;
    }
    m_address = address;
    return true;
}

bool CPrivateNetwork::CutAddress() { return !m_address.empty() && RunIp("addr del " + m_address + "/32 dev lo"); }
