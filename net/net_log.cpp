// Rate-limited drop lines, keyed by reason text. Reasons are a handful of literals, so a small
// fixed table is enough; a reason beyond it shares the last entry.
#include "net_log.h"

#include "debug_log.h"
#include "sys_time.h"

#include <cstdio>
#include <cstring>

namespace {

constexpr int kMaxReasons = 32;

struct DropReason {
    char name[48];
    unsigned lastMs;
    int logged;  // a line went out at lastMs
    int heldBack;
};
DropReason g_reasons[kMaxReasons];
int g_reasonCount = 0;

DropReason& FindReason(const char* reason) {
    for (int i = 0; i < g_reasonCount; ++i)
        if (strcmp(g_reasons[i].name, reason) == 0) return g_reasons[i];
    if (g_reasonCount == kMaxReasons) return g_reasons[kMaxReasons - 1];
    DropReason& r = g_reasons[g_reasonCount++];
    snprintf(r.name, sizeof r.name, "%s", reason);
    r.logged = 0;
    r.heldBack = 0;
    return r;
}

}  // namespace

std::string EscapeForLog(const std::string& text, size_t maxBytes) {
    std::string out;
    size_t n = text.size() < maxBytes ? text.size() : maxBytes;
    for (size_t i = 0; i < n; ++i) {
        unsigned char c = (unsigned char)text[i];
        if (c >= 0x20 && c < 0x7f && c != '\\') {
            out += (char)c;
        } else {
            char hex[8];
            snprintf(hex, sizeof hex, "\\x%02X", c);
            out += hex;
        }
    }
    return out;
}

void LogNetDrop(const char* reason, const std::string& text) {
    DropReason& r = FindReason(reason);
    unsigned now = SysGetTicks();
    if (r.logged && now - r.lastMs < kDropLogPeriodMs) {
        ++r.heldBack;
        return;
    }
    std::string shown = EscapeForLog(text, kDropLogBytes);
    if (r.heldBack > 0)
        LogPrintf("net: dropped %s: %s (%d left out)\n", reason, shown.c_str(), r.heldBack);
    else
        LogPrintf("net: dropped %s: %s\n", reason, shown.c_str());
    r.logged = 1;
    r.lastMs = now;
    r.heldBack = 0;
}

void ResetNetDropLog() { g_reasonCount = 0; }
