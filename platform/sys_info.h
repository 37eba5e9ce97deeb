// Facts about the machine and process, the debugger output channel and the FPU mode.
#pragma once

struct SysOsVersion {
    int platformId;  // 0: this system has no Windows platform id
    int major, minor, build;
};
SysOsVersion SysGetOsVersion();
void SysGetMemoryMB(int* availableMB, int* totalMB);

// The debugger output: Shift-JIS text shown as UTF-8 on standard error.
// Tests install a sink to read what was written.
void SysDebugOutput(const char* sjis);
void SysSetDebugOutputSink(void (*sink)(const char* sjis));

// Round to nearest (and 64-bit precision where the FPU has a precision control).
void SysSetFpuRoundNearest();
