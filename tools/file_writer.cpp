// Folders and whole files for the generators (and the tests that write pictures).
#include "generator.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdio>

int MakeDirs(const std::string& path) {
    for (size_t i = 1; i <= path.size(); ++i) {
        if (i == path.size() || path[i] == '/') {
            std::string part = path.substr(0, i);
            struct stat st;
            // Another build may make it between the look and the mkdir.
            if (stat(part.c_str(), &st) != 0 && mkdir(part.c_str(), 0777) != 0 && errno != EEXIST) return 0;
        }
    }
    return 1;
}

int WriteFileBytes(const std::string& path, const void* data, size_t size) {
    size_t slash = path.rfind('/');
    if (slash != std::string::npos && !MakeDirs(path.substr(0, slash))) return 0;
    FILE* f = fopen(path.c_str(), "wb");
    if (!f) return 0;
    size_t n = size ? fwrite(data, 1, size, f) : 0;
    return fclose(f) == 0 && n == size ? 1 : 0;
}
