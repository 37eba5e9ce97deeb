// Windows-style game paths onto the native file system.
#include "sys_path.h"
#include "sys_text.h"

#include <dirent.h>
#include <strings.h>
#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <cstring>

namespace {

bool Exists(const std::string& p) {
    struct stat st;
    return stat(p.c_str(), &st) == 0;
}

// Finds a directory entry matching name without regard to ASCII case; "" when none.
std::string FindInsensitive(const std::string& dir, const std::string& name) {
    DIR* d = opendir(dir.empty() ? "." : dir.c_str());
    if (!d) return std::string();
    std::string found;
    while (dirent* e = readdir(d)) {
        if (strcasecmp(e->d_name, name.c_str()) == 0) {
            found = e->d_name;
            break;
        }
    }
    closedir(d);
    return found;
}

}  // namespace

std::string SysMapPath(const char* gamePath) {
    if (!gamePath) return std::string();
    const size_t len = strlen(gamePath);
    // Separators only at character starts: a second byte 0x5C belongs to its character.
    std::string sjis;
    sjis.reserve(len);
    for (size_t i = 0; i < len;) {
        size_t n = SjisCharLength(gamePath, len, i);
        if (n == 1 && gamePath[i] == '\\')
            sjis += '/';
        else
            sjis.append(gamePath + i, n);
        i += n;
    }
    std::string native = SjisToUtf8(sjis);
    if (native.empty() || Exists(native)) return native;

    // Resolve component by component, fixing case where the name as written is absent.
    std::string out;
    size_t pos = 0;
    if (native[0] == '/') {
        out = "/";
        pos = 1;
    }
    while (pos <= native.size()) {
        size_t slash = native.find('/', pos);
        if (slash == std::string::npos) slash = native.size();
        std::string comp = native.substr(pos, slash - pos);
        if (!comp.empty()) {
            std::string candidate = out + comp;
            if (!Exists(candidate) && comp != "." && comp != "..") {
                std::string match = FindInsensitive(out, comp);
                if (!match.empty()) candidate = out + match;
            }
            out = candidate;
        }
        if (slash < native.size()) out += '/';
        pos = slash + 1;
    }
    return out;
}

FILE* SysOpenFile(const char* gamePath, const char* mode) {
    std::string p = SysMapPath(gamePath);
    if (p.empty()) return nullptr;
    return fopen(p.c_str(), mode);
}

int SysReadFile(const char* gamePath, std::vector<unsigned char>* bytes) {
    bytes->clear();
    FILE* f = SysOpenFile(gamePath, "rb");
    if (!f) return 0;
    unsigned char chunk[65536];
    size_t n;
    while ((n = fread(chunk, 1, sizeof chunk, f)) > 0) bytes->insert(bytes->end(), chunk, chunk + n);
    const bool failed = ferror(f) != 0;
    fclose(f);
    if (failed) bytes->clear();
    return failed ? 0 : 1;
}

int SysFileExists(const char* gamePath) {
    std::string p = SysMapPath(gamePath);
    return !p.empty() && Exists(p) ? 1 : 0;
}

int SysChangeDir(const char* gamePath) {
    std::string p = SysMapPath(gamePath);
    return !p.empty() && chdir(p.c_str()) == 0 ? 1 : 0;
}

int SysMakeDir(const char* gamePath) {
    std::string p = SysMapPath(gamePath);
    if (p.empty()) return 0;
    struct stat st;
    if (stat(p.c_str(), &st) == 0) return S_ISDIR(st.st_mode) ? 1 : 0;
    return mkdir(p.c_str(), 0777) == 0 ? 1 : 0;
}

int SysRemoveFile(const char* gamePath) {
    std::string p = SysMapPath(gamePath);
    return !p.empty() && unlink(p.c_str()) == 0 ? 1 : 0;
}

int SysReplaceFile(const char* fromGamePath, const char* toGamePath) {
    std::string from = SysMapPath(fromGamePath), to = SysMapPath(toGamePath);
    return !from.empty() && !to.empty() && rename(from.c_str(), to.c_str()) == 0 ? 1 : 0;
}

std::string SysGetCurrentDir() {
    char buf[PATH_MAX];
    return getcwd(buf, sizeof buf) ? std::string(buf) : std::string();
}

std::string SysGetExeDirectory() {
    char buf[PATH_MAX];
    ssize_t n = readlink("/proc/self/exe", buf, sizeof buf - 1);
    if (n <= 0) return std::string("./");
    buf[n] = 0;
    std::string p(buf);
    size_t slash = p.rfind('/');
    return slash == std::string::npos ? std::string("./") : p.substr(0, slash + 1);
}

CFolderGuard::CFolderGuard() : m_saved(SysGetCurrentDir()) {}

CFolderGuard::CFolderGuard(const char* gamePath) : m_saved(SysGetCurrentDir()) { Enter(gamePath); }

CFolderGuard::~CFolderGuard() {
    if (!m_saved.empty() && chdir(m_saved.c_str()) != 0) {
        // The saved folder vanished; nothing sensible is left to return to.
    }
}

int CFolderGuard::Enter(const char* gamePath) {
    m_entered = SysChangeDir(gamePath);
    return m_entered;
}
