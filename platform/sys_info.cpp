// Machine facts over uname and sysinfo; debugger output on stderr.
#include "sys_info.h"
#include "sys_text.h"

#include <sys/sysinfo.h>
#include <sys/utsname.h>

#include <cfenv>
#include <cstdio>
#include <cstdlib>

#if defined(__i386__) || defined(__x86_64__)
#include <fpu_control.h>
#endif

namespace {
void (*g_debugSink)(const char*) = nullptr;
}

SysOsVersion SysGetOsVersion() {
    SysOsVersion v = {0, 0, 0, 0};
    utsname u;
    if (uname(&u) == 0) sscanf(u.release, "%d.%d.%d", &v.major, &v.minor, &v.build);
    return v;
}

void SysGetMemoryMB(int* availableMB, int* totalMB) {
    struct sysinfo si;
    long long avail = 0, total = 0;
    if (sysinfo(&si) == 0) {
        avail = (long long)si.freeram * si.mem_unit;
        total = (long long)si.totalram * si.mem_unit;
    }
    if (availableMB) *availableMB = (int)(avail >> 20);
    if (totalMB) *totalMB = (int)(total >> 20);
}

void SysDebugOutput(const char* sjis) {
    if (!sjis) return;
    if (g_debugSink) {
        g_debugSink(sjis);
        return;
    }
    std::string u = SjisToUtf8(sjis);
    fputs(u.c_str(), stderr);
}

void SysSetDebugOutputSink(void (*sink)(const char*)) { g_debugSink = sink; }

void SysSetFpuRoundNearest() {
    feclearexcept(FE_ALL_EXCEPT);
    fesetround(FE_TONEAREST);
#if defined(__i386__) || defined(__x86_64__)
    // x87 precision control to 64-bit mantissa; SSE arithmetic is unaffected and already exact.
    fpu_control_t cw;
    _FPU_GETCW(cw);
    cw = (fpu_control_t)((cw & ~_FPU_EXTENDED) | _FPU_EXTENDED);
    cw = (fpu_control_t)(cw & ~(_FPU_RC_DOWN | _FPU_RC_UP | _FPU_RC_ZERO));
    _FPU_SETCW(cw);
#endif
}
