// The engine's debug log: "debug.txt" beside the program with "-dbf", else the debugger output.
#pragma once

#define VAV_PRINTF(fmt, args) __attribute__((format(printf, fmt, args)))

constexpr int kLogLineSize = 256;   // one formatted line; longer output is cut
constexpr int kMaxPathSize = 260;   // the log file name buffer

int InitDebugStream();                                    // always 1
void GetExeDirectory(char* buffer);                       // kMaxPathSize bytes, trailing slash
void LogPrintf(const char* format, ...) VAV_PRINTF(1, 2);
void DebugSeparator();                                    // 40 dashes
void LogSystemInfo();

// The log file name in use ("" when logging goes to the debugger output).
const char* GetLogFileName();
void ResetLogFileName();  // tests: back to the debugger output
