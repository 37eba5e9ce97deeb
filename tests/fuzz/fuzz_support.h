// What the fuzz targets share: a failed invariant that stops the run with its reason, and a
// private game folder with the generated assets linked in, for targets that start the engine.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// A broken invariant is a crash to libFuzzer: the input is kept and the reason printed.
[[noreturn]] void FuzzFail(const char* what, const std::string& detail = std::string());
#define FUZZ_CHECK(cond, detail) \
    do {                         \
        if (!(cond)) FuzzFail(#cond, (detail)); \
    } while (0)

// The game's debug log goes nowhere: a line per dropped record would slow the run down.
void QuietGameLog();
// Creates a folder under $TMPDIR (removed at exit), links the game folder's asset folders into
// it and writes the given ap.ini. 1 on success.
int MakeFuzzFolder(const std::string& apIni);
// The game reads and writes beside itself, so each input runs inside the folder; libFuzzer's
// own files (corpus, crash inputs) stay where its command line named them.
class CInFuzzFolder {
public:
    CInFuzzFolder();
    ~CInFuzzFolder();
    CInFuzzFolder(const CInFuzzFolder&) = delete;
    CInFuzzFolder& operator=(const CInFuzzFolder&) = delete;
};
// The engine without a screen or sound, as the headless battle runs it, started inside the
// folder. 1 on success.
int StartFuzzEngine();

inline std::string Bytes(const uint8_t* data, size_t size) { return std::string(reinterpret_cast<const char*>(data), size); }
