// The fuzz targets' shared set-up.
#include "fuzz_support.h"

#include "battle_runner.h"
#include "sys_info.h"

#include <dlfcn.h>
#include <link.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>

namespace {

const char* const kAssetFolders[] = {"bmp", "wave", "midi", "x", "map", "obj", "res"};
std::string g_folder;
std::string g_outside;  // where the fuzzer was started

void RemoveFolder() {
    if (g_folder.empty()) return;
    std::error_code ignored;
    std::filesystem::remove_all(g_folder, ignored);
}

// Every shared library loaded so far gets one more reference, so none is unloaded before the
// leak check at exit: a leak inside a driver the engine opened and closed again is then named
// by its library (and can be suppressed) instead of showing as an unknown module.
int HoldLibrary(dl_phdr_info* info, size_t, void*) {
    if (info->dlpi_name && *info->dlpi_name) dlopen(info->dlpi_name, RTLD_LAZY | RTLD_NOLOAD);
    return 0;
}

}  // namespace

void QuietGameLog() {
    SysSetDebugOutputSink([](const char*) {});
}

void FuzzFail(const char* what, const std::string& detail) {
    fprintf(stderr, "fuzz invariant broken: %s\n%s\n", what, detail.c_str());
    abort();
}

int MakeFuzzFolder(const std::string& apIni) {
    QuietGameLog();
    const char* tmp = getenv("TMPDIR");
    std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/zaumolta-fuzz-XXXXXX";
    if (!mkdtemp(pattern.data())) return 0;
    g_folder = pattern;
    atexit(RemoveFolder);
    for (const char* folder : kAssetFolders) {
        const std::string from = std::string(GAME_DIR) + "/" + folder;
        if (access(from.c_str(), F_OK) != 0) continue;
        if (symlink(from.c_str(), (g_folder + "/" + folder).c_str()) != 0) return 0;
    }
    g_outside = std::filesystem::current_path().string();
    std::filesystem::create_directory(g_folder + "/data");
    FILE* f = fopen((g_folder + "/ap.ini").c_str(), "wb");
    if (!f) return 0;
    fwrite(apIni.data(), 1, apIni.size(), f);
    return fclose(f) == 0;
}

CInFuzzFolder::CInFuzzFolder() {
    if (chdir(g_folder.c_str()) != 0) FuzzFail("cannot enter the fuzz folder", g_folder);
}

CInFuzzFolder::~CInFuzzFolder() {
    if (chdir(g_outside.c_str()) != 0) FuzzFail("cannot leave the fuzz folder", g_outside);
}

// Down before the platform's own tables are destroyed at exit, as the game's main stops it.
int StartFuzzEngine() {
    CInFuzzFolder here;
    if (!StartHeadlessEngine()) return 0;
    dl_iterate_phdr(HoldLibrary, nullptr);
    atexit(StopHeadlessEngine);
    return 1;
}
