// The debug-log line for text the network code throws away: a record that fails its checks, a
// buffer over its cap. Any program may connect to the relay, so such text is expected and must
// neither flood the log nor be applied.
#pragma once

#include <string>

constexpr int kDropLogBytes = 40;          // bytes of the dropped text shown in the line
constexpr unsigned kDropLogPeriodMs = 1000;  // at most one line per reason in this time

// Writes "net: dropped <reason>: <first 40 bytes, escaped>" unless a line of the same reason
// went out less than a second ago; lines held back that way are counted and the count is
// given, as " (N left out)", with the next line of that reason.
void LogNetDrop(const char* reason, const std::string& text);
// Printable ASCII as it is, every other byte (and "\") as \xNN.
std::string EscapeForLog(const std::string& text, size_t maxBytes);
// Tests: forget the times and counts of earlier lines.
void ResetNetDropLog();
