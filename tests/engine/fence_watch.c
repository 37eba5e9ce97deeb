/* Preloaded into a program that draws through Mesa's software renderer (llvmpipe), it catches a
 * rasteriser thread unlocking a fence's mutex after the drawing thread has freed the fence: glibc's
 * unlock then writes into freed memory, which corrupts the heap. The rasteriser raises the fence's
 * count under the lock and wakes the waiters before it unlocks; the watch sleeps there on threads
 * named llvmpipe* (FENCE_WATCH_DELAY_US, default 3000), so a drawing thread that reads the count
 * without the lock and frees the fence does so inside the widened gap. Every unlock of a mutex
 * already destroyed counts as one write into a freed fence; fence_watch_counts() hands the counts
 * to the test that drew the frames. Fences live on the heap: a destroyed mutex inside a library's
 * own storage is not one (the EGL loader destroys one at a device's end and uses it again, without
 * a new init, for the next device). */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <pthread.h>
#include <stdatomic.h>
#include <stdlib.h>
#include <string.h>
#include <time.h>

enum { kRemembered = 4096 };
static void* g_destroyed[kRemembered];
static unsigned g_next;
static atomic_flag g_spin = ATOMIC_FLAG_INIT;
static atomic_long g_widened, g_writes;

static int (*real_init)(pthread_mutex_t*, const pthread_mutexattr_t*);
static int (*real_destroy)(pthread_mutex_t*);
static int (*real_unlock)(pthread_mutex_t*);
static int (*real_broadcast)(pthread_cond_t*);

static void Hold(void) { while (atomic_flag_test_and_set(&g_spin)) { } }
static void Release(void) { atomic_flag_clear(&g_spin); }

/* Forgets m (when reborn) or reports whether it was destroyed. */
static int Destroyed(void* m, int forget) {
    int found = 0;
    Hold();
    for (int i = 0; i < kRemembered; ++i)
        if (g_destroyed[i] == m) {
            found = 1;
            if (forget) g_destroyed[i] = 0;
        }
    Release();
    return found;
}

static int OnRasteriser(void) {
    char name[32] = "";
    pthread_getname_np(pthread_self(), name, sizeof name);
    return strncmp(name, "llvmpipe", 8) == 0;
}

int pthread_mutex_init(pthread_mutex_t* m, const pthread_mutexattr_t* a) {
    if (!real_init) real_init = dlsym(RTLD_NEXT, "pthread_mutex_init");
    Destroyed(m, 1);
    return real_init(m, a);
}

int pthread_mutex_destroy(pthread_mutex_t* m) {
    if (!real_destroy) real_destroy = dlsym(RTLD_NEXT, "pthread_mutex_destroy");
    Hold();
    g_destroyed[g_next++ % kRemembered] = m;
    Release();
    return real_destroy(m);
}

int pthread_cond_broadcast(pthread_cond_t* c) {
    /* The versioned symbol: the unversioned one is the old condition variable. */
    if (!real_broadcast) real_broadcast = dlvsym(RTLD_NEXT, "pthread_cond_broadcast", "GLIBC_2.3.2");
    static long delayUs = -1;
    if (delayUs < 0) {
        const char* e = getenv("FENCE_WATCH_DELAY_US");
        delayUs = e ? atol(e) : 3000;
    }
    if (delayUs > 0 && OnRasteriser()) {
        struct timespec t = {delayUs / 1000000, (delayUs % 1000000) * 1000};
        nanosleep(&t, 0);
        ++g_widened;
    }
    return real_broadcast(c);
}

int pthread_mutex_unlock(pthread_mutex_t* m) {
    if (!real_unlock) real_unlock = dlsym(RTLD_NEXT, "pthread_mutex_unlock");
    Dl_info in;
    if (Destroyed(m, 0) && !dladdr(m, &in)) ++g_writes;
    return real_unlock(m);
}

/* Rasteriser wake-ups widened so far, and unlocks of freed mutexes. */
void fence_watch_counts(long* widened, long* writes) {
    *widened = g_widened;
    *writes = g_writes;
}
