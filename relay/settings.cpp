// A minimal profile-string reader: the relay must find the port the game wrote into ap.ini
// without sharing the game's settings code.
#include "settings.h"

#include <dirent.h>
#include <strings.h>

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

// Profile lines and values longer than this are cut, as a fixed profile buffer would cut them.
constexpr int kLineSize = 1024;
constexpr int kValueSize = 256;
constexpr const char* kSettingsFile = "ap.ini";

char* Trim(char* s) {
    while (*s == ' ' || *s == '\t') ++s;
    char* end = s + strlen(s);
    while (end > s && (end[-1] == ' ' || end[-1] == '\t' || end[-1] == '\r' || end[-1] == '\n')) --end;
    *end = 0;
    return s;
}

// Windows finds ".\ap.ini" whatever the case of the name on disk.
FILE* OpenSettingsFile() {
    FILE* f = fopen(kSettingsFile, "rb");
    if (f) return f;
    DIR* dir = opendir(".");
    if (!dir) return nullptr;
    while (dirent* e = readdir(dir)) {
        if (strcasecmp(e->d_name, kSettingsFile) == 0) {
            f = fopen(e->d_name, "rb");
            break;
        }
    }
    closedir(dir);
    return f;
}

// Copies the value of [section] key into out, or fallback when the file, section or key is missing.
void ReadProfileString(const char* section, const char* key, const char* fallback, char* out, int outSize) {
    snprintf(out, outSize, "%s", fallback);
    FILE* f = OpenSettingsFile();
    if (!f) return;
    char line[kLineSize];
    bool inSection = false;
    bool sectionSeen = false;
    while (fgets(line, sizeof line, f)) {
        char* s = Trim(line);
        if (*s == '[') {
            // Only the first section of a name counts.
            if (sectionSeen && inSection) break;
            char* close = strchr(s, ']');
            if (close) *close = 0;
            inSection = !sectionSeen && strcasecmp(Trim(s + 1), section) == 0;
            if (inSection) sectionSeen = true;
            continue;
        }
        if (!inSection) continue;
        char* eq = strchr(s, '=');
        if (!eq) continue;
        *eq = 0;
        if (strcasecmp(Trim(s), key) != 0) continue;
        char* value = Trim(eq + 1);
        size_t n = strlen(value);
        if (n >= 2 && (value[0] == '"' || value[0] == '\'') && value[n - 1] == value[0]) {
            value[n - 1] = 0;
            ++value;
        }
        snprintf(out, outSize, "%s", value);
        break;
    }
    fclose(f);
}

}  // namespace

unsigned short ReadHostPort() {
    char value[kValueSize];
    ReadProfileString("NET", "HostPort", kDefaultHostPort, value, sizeof value);
    return (unsigned short)atol(value);
}
