// Debug log: opened and closed for every line, so a crash never loses what came before.
#include "debug_log.h"
#include "engine.h"

#include "sys_info.h"
#include "sys_path.h"
#include "sys_time.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <string>

namespace {

char g_logFileName[kMaxPathSize] = "";

void WriteLine(const char* text) {
    if (g_logFileName[0] == 0) {
        SysDebugOutput(text);
        return;
    }
    // The log name is a native path (the program's folder), not a game path.
    FILE* f = fopen(g_logFileName, "ab");
    if (!f) return;  // the line is lost, nothing else happens
    fputs(text, f);
    fclose(f);
}

}  // namespace

void GetExeDirectory(char* buffer) {
    std::string dir = SysGetExeDirectory();
    snprintf(buffer, kMaxPathSize, "%s", dir.c_str());
}

int InitDebugStream() {
    if (HasCommandLineOption("-dbf")) {
        char dir[kMaxPathSize];
        GetExeDirectory(dir);
        // A folder too long for the name buffer leaves logging on the debugger output.
        std::string name = std::string(dir) + "debug.txt";
        if (name.size() < sizeof g_logFileName) memcpy(g_logFileName, name.c_str(), name.size() + 1);
    }
    DebugSeparator();
    LogPrintf("InitDebugStream\n");
    LogSystemInfo();
    return 1;
}

void LogPrintf(const char* format, ...) {
    char line[kLogLineSize];
    va_list ap;
    va_start(ap, format);
    vsnprintf(line, sizeof line, format, ap);  // cuts at 255 bytes
    va_end(ap);
    WriteLine(line);
}

void DebugSeparator() { WriteLine("----------------------------------------\n"); }

void LogSystemInfo() {
    SysLocalTime t = SysGetLocalTime();
    LogPrintf("%4d/%02d/%02d  %02d:%02d\n", t.year, t.month, t.day, t.hour, t.minute);
    SysOsVersion v = SysGetOsVersion();
    LogPrintf("OS = ID %d ver,%d.%d build %d\n", v.platformId, v.major, v.minor, v.build);
    int avail = 0, total = 0;
    SysGetMemoryMB(&avail, &total);
    LogPrintf("利用可能／搭載メモリ = %d/%d MB\n", avail, total);
}

const char* GetLogFileName() { return g_logFileName; }
void ResetLogFileName() { g_logFileName[0] = 0; }
