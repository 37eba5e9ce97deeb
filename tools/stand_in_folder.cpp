// A user's own mesh, picture or sound in the game folder outlives every rebuild: the build
// overwrites only a file it can tell is its stand-in, unchanged since it wrote it, so that a
// changed generator still reaches its own files. The record keeps a hash and a size per
// stand-in. A record that is missing or damaged only makes the placing more careful: a file
// without a line is kept unless it already is the new stand-in.
#include "stand_in_folder.h"
#include "generator.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <limits>
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

// The one reader of files in the game folder: a plain file of at most limit bytes, whole. A fifo
// or a device there (a record a user replaced, a link to /dev/zero) is refused, never waited on
// nor read without end.
int ReadPlainFile(const std::string& path, uint64_t limit, std::string* out) {
    struct stat st;
    if (stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode) || (uint64_t)st.st_size > limit) return 0;
    // Not blocking, and looked at again once open: the name may have changed hands since.
    const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return 0;
    int ok = fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
    out->clear();
    char buf[65536];
    while (ok) {
        const ssize_t n = read(fd, buf, sizeof buf);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0 || out->size() + (uint64_t)n > limit) {
            ok = n == 0;
            break;
        }
        out->append(buf, (size_t)n);
    }
    close(fd);
    return ok;
}

constexpr uint64_t kAnySize = std::numeric_limits<uint64_t>::max();

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
    std::string text;
    if (!ReadPlainFile(file, kMaxRecordBytes, &text)) return record;
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

int WriteAll(int fd, const std::string& bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return 0;
        done += (size_t)n;
    }
    return 1;
}

// Through a new file beside it and a rename: a stopped build leaves the old file or the new one
// whole, and a folder a user linked to another disk is written where it lies. The new file is
// made anew, so a link found under its name is replaced, never written through.
int WriteInPlace(const std::string& path, const std::string& bytes) {
    const std::string fresh = path + ".stand-in.new";
    if (unlink(fresh.c_str()) != 0 && errno != ENOENT) return 0;
    const int fd = open(fresh.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (fd < 0) return 0;
    int ok = WriteAll(fd, bytes);
    ok = close(fd) == 0 && ok;
    if (ok && rename(fresh.c_str(), path.c_str()) == 0) return 1;
    const int cause = errno;
    unlink(fresh.c_str());
    errno = cause;
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
    // A rebuild that changed nothing writes nothing.
    if (ReadPlainFile(file, kMaxRecordBytes, &present) && present == text) return 1;
    return WriteInPlace(file, text);
}

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
        if (!ReadPlainFile(staged, kAnySize, &bytes)) {
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
            if ((size == fresh.size || mayBeOurs) && !ReadPlainFile(target, size, &present)) {
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

// flock, asked again when a signal cuts the wait short.
int Lock(int fd, int how) {
    int r;
    while ((r = flock(fd, how)) != 0 && errno == EINTR) {
    }
    return r == 0;
}

// With the game folder held exclusively, so no build is between making its folder and locking
// it: a folder under the staging name that is not locked was left by a stopped build. What
// cannot be locked at all is spared.
void RemoveStoppedStagings(const std::string& gameDir, const std::string& own) {
    namespace fs = std::filesystem;
    const std::string prefix = kStandInStaging;
    std::vector<std::string> stopped;
    std::error_code ec;
    for (fs::directory_iterator it(gameDir, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string(), path = gameDir + "/" + name;
        const int ours = name.compare(0, prefix.size(), prefix) == 0 &&
                         (name.size() == prefix.size() || name[prefix.size()] == '.');
        if (!ours || path == own) continue;
        const int fd = open(path.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        if (fd < 0) {
            if (errno == ENOTDIR || errno == ELOOP) stopped.push_back(path);  // a file or a link: no build's
            continue;
        }
        if (flock(fd, LOCK_EX | LOCK_NB) == 0) stopped.push_back(path);
        close(fd);
    }
    for (const std::string& path : stopped) fs::remove_all(path, ec);
}

}  // namespace

CStandInBuild::CStandInBuild(const std::string& gameDir) : m_gameDir(gameDir) {
    m_gameFd = open(gameDir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    // A folder that cannot be locked still builds, as one build at a time always did.
    if (m_gameFd < 0 || !Lock(m_gameFd, LOCK_SH))
        fprintf(stderr, "make_assets: cannot lock %s: %s\n", gameDir.c_str(), strerror(errno));
    std::string name = gameDir + "/" + kStandInStaging + ".XXXXXX";
    if (!mkdtemp(name.data())) {
        fprintf(stderr, "make_assets: cannot create a folder for the stand-ins in %s: %s\n", gameDir.c_str(),
                strerror(errno));
        return;
    }
    m_staging = name;
    m_stagingFd = open(name.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (m_stagingFd >= 0) Lock(m_stagingFd, LOCK_EX);
}

CStandInBuild::~CStandInBuild() {
    std::error_code ec;
    if (!m_staging.empty()) std::filesystem::remove_all(m_staging, ec);
    if (m_stagingFd >= 0) close(m_stagingFd);
    if (m_gameFd >= 0) close(m_gameFd);
}

int CStandInBuild::Place() {
    if (m_staging.empty()) return 0;
    if (m_gameFd >= 0) Lock(m_gameFd, LOCK_EX);
    RemoveStoppedStagings(m_gameDir, m_staging);
    const int ok = PlaceStandIns(m_staging, m_gameDir);
    if (m_gameFd >= 0) Lock(m_gameFd, LOCK_UN);
    return ok;
}
