// Named locks standing in for named mutexes (the single-instance mark): one holder per name and
// user on the machine, as a named mutex lives in its user's session.
#pragma once

// Takes the lock of this name; returns a handle >= 0, or -1 when another process of the same
// user holds it.
int SysAcquireNamedLock(const char* name);
void SysReleaseNamedLock(int handle);
// Tests give their locks a private namespace so parallel runs never meet; without a call the
// namespace comes from the environment variable ZAUMOLTA_LOCK_NS (empty when unset).
void SysSetLockNamespace(const char* ns);
