// Address printouts: the relay machine's own name and addresses, and names of clients.
#pragma once

#include <netinet/in.h>

// Room for a dotted IPv4 address and its terminator.
constexpr int kDottedSize = 16;
// Room for any host name a look-up returns.
constexpr int kHostNameSize = 1025;

// Prints "server : name(first address)" and every address of this machine. A name that does
// not resolve only costs the printout. 0 (after printing the failure) when the machine has
// no name at all.
int PrintServerAddresses();
void DottedAddress(const sockaddr_in& addr, char (&out)[kDottedSize]);
// The host name of a client's address, or its dotted address when it has no name.
void ClientHostName(const sockaddr_in& addr, char* out, int outSize);
