// Named locks: one holder at a time, freed on release.
#include "sys_lock.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <string>

TEST(NamedLock, SecondHolderIsRefusedUntilRelease) {
    SysSetLockNamespace(("lock-test-" + std::to_string(getpid())).c_str());
    int a = SysAcquireNamedLock("vav mutex");
    ASSERT_GE(a, 0);
    EXPECT_EQ(SysAcquireNamedLock("vav mutex"), -1);
    int other = SysAcquireNamedLock("another");
    EXPECT_GE(other, 0);
    SysReleaseNamedLock(a);
    int b = SysAcquireNamedLock("vav mutex");
    EXPECT_GE(b, 0);
    SysReleaseNamedLock(b);
    SysReleaseNamedLock(other);
}
