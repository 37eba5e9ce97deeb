// A network namespace of the calling thread's own, for tests whose peer must vanish as a machine
// does: no close, no reset, its packets simply never arrive. The peer's connection goes through a
// second address on the loopback device, and deleting that address cuts it off.
#pragma once

#include <string>

class CPrivateNetwork {
public:
    CPrivateNetwork() = default;
    ~CPrivateNetwork();  // the thread goes back to the network it came from
    CPrivateNetwork(const CPrivateNetwork&) = delete;
    CPrivateNetwork& operator=(const CPrivateNetwork&) = delete;

    // Moves the calling thread, and the threads and processes it starts from now on, into a new
    // network namespace with the loopback device up and `address` (dotted IPv4) added to it.
    // False, with the reason, where no namespace can be made (no privilege, no `ip` program).
    bool Enter(const std::string& address, std::string* whyNot);
    // Deletes the address: what was connected through it gets no answer any more.
    bool CutAddress();

private:
    int m_home = -1;  // the namespace to go back to
    std::string m_address;
};
