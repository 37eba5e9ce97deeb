// The line file: whole-file reads and writes through the game's path mapping.
#include "string_list_file.h"

#include "sys_path.h"

#include <cstdio>

void CStringListFile::SetFileName(const std::string& name) { m_fileName = name; }

void CStringListFile::GetFileName(std::string& name) const { name = m_fileName; }

bool CStringListFile::Load() {
    m_lines.clear();
    FILE* f = SysOpenFile(m_fileName.c_str(), "rb");
    if (!f) return false;
    // Every read yields a line, up to a newline or the end: the end right after a newline gives
    // one more, empty, line, and an empty file a single empty line.
    std::string line;
    for (;;) {
        int c = getc(f);
        if (c == EOF || c == '\n') {
            if (!line.empty() && line.back() == '\r') line.pop_back();
            m_lines.push_back(line);
            line.clear();
            if (c == EOF) break;
            continue;
        }
        line.push_back((char)c);
    }
    fclose(f);
    return true;
}

bool CStringListFile::Write(const char* mode) const {
    FILE* f = SysOpenFile(m_fileName.c_str(), mode);
    if (!f) return false;
    bool ok = true;
    for (size_t i = 0; i < m_lines.size() && ok; ++i) {
        if (i > 0 && fputc('\n', f) == EOF) ok = false;
        if (ok && !m_lines[i].empty() && fwrite(m_lines[i].data(), 1, m_lines[i].size(), f) != m_lines[i].size())
            ok = false;
    }
    if (fclose(f) != 0) ok = false;
    return ok;
}

bool CStringListFile::Save() { return Write("wb"); }

bool CStringListFile::Append() { return Write("ab"); }

void CStringListFile::AddItem(const std::string& line) { m_lines.push_back(line); }

void CStringListFile::Clear() { m_lines.clear(); }

bool CStringListFile::SetCursor(int index) {
    m_cursor = index;
    return !IsOutOfRange();
}

bool CStringListFile::GetCursor(int& index) const {
    index = m_cursor;
    return !IsOutOfRange();
}

bool CStringListFile::Next() {
    ++m_cursor;
    return !IsOutOfRange();
}

bool CStringListFile::Prev() {
    --m_cursor;
    return !IsOutOfRange();
}

bool CStringListFile::IsOutOfRange() const { return m_cursor < 0 || (size_t)m_cursor >= m_lines.size(); }

bool CStringListFile::GetItem(std::string& line) const {
    if (IsOutOfRange()) return false;
    line = m_lines[(size_t)m_cursor];
    return true;
}

bool CStringListFile::SetItem(const std::string& line) {
    if (IsOutOfRange()) return false;
    m_lines[(size_t)m_cursor] = line;
    return true;
}
