// Private test folders.
#include "test_folder.h"

#include <unistd.h>

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

CTestFolder::CTestFolder() {
    char buf[PATH_MAX];
    if (getcwd(buf, sizeof buf)) m_previous = buf;
    char tmpl[] = "/tmp/zaumolta-test-XXXXXX";
    if (mkdtemp(tmpl)) m_path = tmpl;
    if (!m_path.empty() && chdir(m_path.c_str()) != 0) m_path.clear();
}

CTestFolder::~CTestFolder() {
    if (!m_previous.empty() && chdir(m_previous.c_str()) != 0) {
    }
    std::error_code ec;
    if (!m_path.empty()) std::filesystem::remove_all(m_path, ec);
}

std::string ReadWholeFile(const std::string& path) {
    FILE* f = fopen(path.c_str(), "rb");
    if (!f) return std::string();
    std::string out;
    char buf[4096];
    size_t n;
    while ((n = fread(buf, 1, sizeof buf, f)) > 0) out.append(buf, n);
    fclose(f);
    return out;
}

void WriteWholeFile(const std::string& path, const std::string& bytes) {
    FILE* f = fopen(path.c_str(), "wb");
    if (!f) return;
    fwrite(bytes.data(), 1, bytes.size(), f);
    fclose(f);
}

int CountOf(const std::string& text, const std::string& part) {
    if (part.empty()) return 0;  // found at every position without moving on: it would never end
    int n = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + part.size())) ++n;
    return n;
}
