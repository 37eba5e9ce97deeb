// Runs every registered generator for the game folder given on the command line. They write
// into a folder of their own; from there each stand-in goes into the game folder unless a user's
// file is in its place (stand_in_folder.h), and files already right are not touched.
#include "generator.h"
#include "old_test_data.h"
#include "stand_in_folder.h"

#include <cstdio>
#include <filesystem>
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
    const std::string staging = dir + "/" + kStandInStaging;
    std::error_code ec;
    std::filesystem::remove_all(staging, ec);  // what a stopped build left
    if (ec || !MakeDirs(staging)) {
        fprintf(stderr, "make_assets: cannot create %s\n", staging.c_str());
        return 1;
    }
    int generated = 1;
    for (const Entry& e : Registry()) {
        if (!e.fn(staging)) {
            fprintf(stderr, "make_assets: generator %s failed\n", e.name);
            generated = 0;
        }
    }
    // A failed generator may have left a file half written: nothing then reaches the game folder.
    if (!generated || !PlaceStandIns(staging, dir)) failed = 1;
    std::filesystem::remove_all(staging, ec);
    return failed;
}
