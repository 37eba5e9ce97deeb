// Runs every registered generator against the game folder given on the command line.
#include "generator.h"
#include "old_test_data.h"

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
    int failed = RemoveOldTestData(dir) ? 0 : 1;
    for (const Entry& e : Registry()) {
        if (!e.fn(dir)) {
            fprintf(stderr, "make_assets: generator %s failed\n", e.name);
            failed = 1;
        }
    }
    return failed;
}
