// The single-instance mark: only one relay per user serves a machine.
#pragma once

// The mark's name; the game looks for no other.
constexpr const char* kInstanceMarkName = "ZAUMOLTA_NET_S";
// NOTE: tests set this environment variable to give their marks a private namespace, so
// relays of parallel tests never meet. Names are built as the game builds its own locks.
constexpr const char* kLockNamespaceVariable = "ZAUMOLTA_LOCK_NS";

// Takes the mark; 0 when another relay of this user on this machine already holds it.
int AcquireInstanceMark();
void ReleaseInstanceMark();
