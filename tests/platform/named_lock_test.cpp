// Named locks: one holder at a time, freed on release; another user on the machine has locks of
// their own.
#include "sys_lock.h"

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <string>

namespace {

// Runs SysAcquireNamedLock(name) in a child process under user id uid; its result, or -2 when
// the child could not become that user.
int AcquireAs(uid_t uid, const char* name) {
    pid_t child = fork();
    if (child == 0) {
        if (uid != getuid() && (setgid(uid) != 0 || setuid(uid) != 0)) _exit(2);
        _exit(SysAcquireNamedLock(name) >= 0 ? 0 : 1);
    }
    int status = 0;
    if (child < 0 || waitpid(child, &status, 0) != child || !WIFEXITED(status)) return -2;
    return WEXITSTATUS(status) == 0 ? 0 : WEXITSTATUS(status) == 1 ? -1 : -2;
}

}  // namespace

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

TEST(NamedLock, EachUserOnTheMachineHasTheirOwn) {
    SysSetLockNamespace(("lock-user-test-" + std::to_string(getpid())).c_str());
    int held = SysAcquireNamedLock("vav mutex");
    ASSERT_GE(held, 0);
    EXPECT_EQ(AcquireAs(getuid(), "vav mutex"), -1);  // the same user's second copy
    if (getuid() != 0) {
        SysReleaseNamedLock(held);
        GTEST_SKIP() << "only root can run a process as another user";
    }
    EXPECT_EQ(AcquireAs(65534, "vav mutex"), 0);  // another user's copy starts
    SysReleaseNamedLock(held);
}
