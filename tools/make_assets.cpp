// Runs every registered generator for the game folder given on the command line. They write
// into this build's own folder; from there each stand-in goes into the game folder unless a
// user's file is in its place (stand_in_folder.h), and files already right are not touched.
#include "generator.h"
#include "old_test_data.h"
#include "stand_in_folder.h"

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
    CStandInBuild build(dir);
    if (build.StagingDir().empty()) return 1;
    int generated = 1;
    for (const Entry& e : Registry()) {
        if (!e.fn(build.StagingDir())) {
            fprintf(stderr, "make_assets: generator %s failed\n", e.name);
            generated = 0;
        }
    }
    // A failed generator may have left a file half written: nothing then reaches the game folder.
    if (!generated || !build.Place()) failed = 1;
    return failed;
}
