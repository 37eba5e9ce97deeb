// Runs every registered generator against the game folder given on the command line.
#include "generator.h"

#include <sys/stat.h>

#include <cstdio>
#include <vector>

namespace {
struct Entry {
    const char* name;
    GeneratorFn fn;
};
std::vector<Entry>& Registry() {
    static std::vector<Entry> list;
    return list;
}
}  // namespace

GeneratorRegistration::GeneratorRegistration(const char* name, GeneratorFn fn) { Registry().push_back({name, fn}); }

int MakeDirs(const std::string& path) {
    for (size_t i = 1; i <= path.size(); ++i) {
        if (i == path.size() || path[i] == '/') {
            std::string part = path.substr(0, i);
            struct stat st;
            if (stat(part.c_str(), &st) != 0 && mkdir(part.c_str(), 0777) != 0) return 0;
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

int main(int argc, char** argv) {
    if (argc < 2) {
        fprintf(stderr, "usage: make_assets GAME_DIR\n");
        return 2;
    }
    std::string dir = argv[1];
    if (!MakeDirs(dir + "/data")) {
        fprintf(stderr, "make_assets: cannot create %s/data\n", dir.c_str());
        return 1;
    }
    int failed = 0;
    for (const Entry& e : Registry()) {
        if (!e.fn(dir)) {
            fprintf(stderr, "make_assets: generator %s failed\n", e.name);
            failed = 1;
        }
    }
    return failed;
}
