// A user's own mesh, picture or sound in the game folder outlives every rebuild: the build
// overwrites only a file it can tell is its stand-in, unchanged since it wrote it, so that a
// changed generator still reaches its own files. The record keeps a hash and a size per
// stand-in. A record that is missing or damaged only makes the placing more careful: a file
// without a line is kept unless it already is the new stand-in.
#include "stand_in_folder.h"
#include "generator.h"

#include <sys/stat.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <vector>

const char* const kStandInStaging = ".stand-ins.new";
const char* const kStandInRecord = "stand-ins.txt";

namespace {

// The record names a few hundred files on short lines; anything far beyond is no record of ours.
constexpr size_t kMaxRecordBytes = 4u << 20;
constexpr size_t kMaxRecordLine = 4096;

struct Stamp {
    uint64_t hash = 0;
    uint64_t size = 0;
    bool operator==(const Stamp&) const = default;
};

// FNV-1a, 64 bits: it tells a user's file from ours, against no adversary.
Stamp StampOf(const std::string& bytes) {
    uint64_t h = 0xcbf29ce484222325ull;
    for (unsigned char c : bytes) h = (h ^ c) * 0x100000001b3ull;
    return {h, (uint64_t)bytes.size()};
}

int ReadWhole(const std::string& path, std::string* out) {
    FILE* f = fopen(path.c_str(), "rb");
    if (!f) return 0;
    out->clear();
    char buf[65536];
    size_t n;
    while ((n = fread(buf, 1, sizeof buf, f)) > 0) out->append(buf, n);
    const int ok = !ferror(f);
    fclose(f);
    return ok;
}

// "<hash in hex> <size> <path>"; 0 for anything else, comments included. A line read wrongly
// can only fail to match its file, which is then kept.
int ParseRecordLine(const std::string& line, std::string* path, Stamp* stamp) {
    if (line.empty() || line.size() > kMaxRecordLine || !isxdigit((unsigned char)line[0])) return 0;
    const char* text = line.c_str();
    char* end = nullptr;
    errno = 0;
    const uint64_t hash = strtoull(text, &end, 16);
    if (*end != ' ' || !isdigit((unsigned char)end[1])) return 0;
    const uint64_t size = strtoull(end + 1, &end, 10);
    if (errno || *end != ' ' || end[1] == '\0') return 0;
    *path = line.substr(end + 1 - text);
    *stamp = {hash, size};
    return 1;
}

// Its names are only looked up, never opened, so a damaged line can at worst spare a file.
std::map<std::string, Stamp> ReadRecord(const std::string& file) {
    std::map<std::string, Stamp> record;
    struct stat st;
    std::string text;
    if (stat(file.c_str(), &st) != 0 || !S_ISREG(st.st_mode) || (uint64_t)st.st_size > kMaxRecordBytes ||
        !ReadWhole(file, &text))
        return record;
    size_t from = 0;
    while (from < text.size()) {
        size_t end = text.find('\n', from);
        if (end == std::string::npos) end = text.size();
        std::string path;
        Stamp stamp;
        if (ParseRecordLine(text.substr(from, end - from), &path, &stamp)) record[path] = stamp;
        from = end + 1;
    }
    return record;
}

// Through a new file beside it and a rename: a stopped build leaves the old file or the new one
// whole, and a folder a user linked to another disk is written where it lies.
int WriteInPlace(const std::string& path, const std::string& bytes) {
    const std::string fresh = path + ".stand-in.new";
    if (WriteFileBytes(fresh, bytes.data(), bytes.size()) && rename(fresh.c_str(), path.c_str()) == 0) return 1;
    remove(fresh.c_str());
    return 0;
}

int WriteRecord(const std::string& file, const std::map<std::string, Stamp>& record) {
    std::string text =
        "# The stand-ins the build wrote into this folder: FNV-1a 64 hash, size, path. A file that no longer\n"
        "# matches its line is kept by the next build; remove a file to have its stand-in written again.\n";
    for (const auto& [path, stamp] : record) {
        if (path.find('\n') != std::string::npos) continue;
        char head[64];
        snprintf(head, sizeof head, "%016llx %llu ", (unsigned long long)stamp.hash, (unsigned long long)stamp.size);
        text += head + path + "\n";
    }
    std::string present;
    if (ReadWhole(file, &present) && present == text) return 1;  // a rebuild that changed nothing writes nothing
    return WriteInPlace(file, text);
}

}  // namespace

int PlaceStandIns(const std::string& stagingDir, const std::string& gameDir) {
    namespace fs = std::filesystem;
    const std::map<std::string, Stamp> record = ReadRecord(gameDir + "/" + kStandInRecord);
    std::map<std::string, Stamp> next;
    std::vector<std::string> folders, files;
    std::error_code ec;
    for (fs::recursive_directory_iterator it(stagingDir, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string rel = it->path().lexically_relative(stagingDir).generic_string();
        if (it->is_directory(ec))
            folders.push_back(rel);
        else if (it->is_regular_file(ec))
            files.push_back(rel);
    }
    if (ec) {
        fprintf(stderr, "make_assets: cannot list %s\n", stagingDir.c_str());
        return 0;
    }
    std::sort(files.begin(), files.end());  // the kept files' lines in one order on every build

    int ok = 1;
    for (const std::string& rel : folders) {
        if (!MakeDirs(gameDir + "/" + rel)) {
            fprintf(stderr, "make_assets: cannot create %s/%s\n", gameDir.c_str(), rel.c_str());
            ok = 0;
        }
    }
    for (const std::string& rel : files) {
        const std::string staged = stagingDir + "/" + rel, target = gameDir + "/" + rel;
        std::string bytes;
        if (!ReadWhole(staged, &bytes)) {
            fprintf(stderr, "make_assets: cannot read %s\n", staged.c_str());
            ok = 0;
            continue;
        }
        const Stamp fresh = StampOf(bytes);
        struct stat st;
        int place = 0;
        if (stat(target.c_str(), &st) != 0) {
            place = errno == ENOENT;
            if (!place) {
                fprintf(stderr, "make_assets: cannot look at %s\n", target.c_str());
                ok = 0;
                continue;
            }
        } else if (S_ISREG(st.st_mode)) {
            const auto line = record.find(rel);
            const uint64_t size = (uint64_t)st.st_size;
            const int mayBeOurs = line != record.end() && line->second.size == size;
            std::string present;
            if ((size == fresh.size || mayBeOurs) && !ReadWhole(target, &present)) {
                fprintf(stderr, "make_assets: cannot read %s\n", target.c_str());
                ok = 0;
                continue;
            }
            if (size == fresh.size && present == bytes) {
                next[rel] = fresh;  // already the stand-in: left alone, its time and all
                continue;
            }
            place = mayBeOurs && StampOf(present) == line->second;
        }
        if (!place) {
            fprintf(stderr,
                    "make_assets: kept %s, which is not the stand-in the build wrote there "
                    "(remove it to have the stand-in again)\n",
                    target.c_str());
            continue;
        }
        if (!WriteInPlace(target, bytes)) {
            fprintf(stderr, "make_assets: cannot write %s\n", target.c_str());
            ok = 0;
            continue;
        }
        next[rel] = fresh;
    }
    if (!WriteRecord(gameDir + "/" + kStandInRecord, next)) {
        fprintf(stderr, "make_assets: cannot write %s/%s\n", gameDir.c_str(), kStandInRecord);
        ok = 0;
    }
    return ok;
}
