// The six-slot client table that every relay thread shares, and the relay of a chunk to all.
// One lock covers the table and every relay, so a claim or a release is never lost or doubled
// and no two chunks ever mix on one game's socket.
#pragma once

#include <netinet/in.h>

#include "relay_limits.h"

// Claims the first free slot for an accepted connection and prints its "client" line; -1 when
// all six slots are taken.
int TakeSlot(int sock, const sockaddr_in& addr);
// By the slot's own thread only: frees the slot and closes its socket.
void FreeSlot(int slot);
// The socket and address of a slot; stable while its own thread runs.
int SlotSocket(int slot, sockaddr_in* addr);
// 1 once the relay gave up on the slot's game; its own thread then ends the connection.
int SlotDropped(int slot);

// Sends a chunk to every game in slot order, the sender included, each with its own rewrite.
void RelayToClients(const char* chunk, int n);
// The console's "l": every client with host name and address, then their count.
void ListClients();
