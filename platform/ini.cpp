// Reader and writer of the Windows ini format with the profile functions' semantics.
#include "sys_ini.h"
#include "sys_path.h"
#include "sys_text.h"

#include <unistd.h>

#include <cstdio>
#include <cstring>

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// Blanks, quotes, '=', ';', CR and LF never occur as Shift-JIS second bytes, so trimming and
// splitting on them byte by byte is safe; ']' can, so the header scan goes by characters.
std::string TrimBlanks(const std::string& s) {
    size_t b = 0, e = s.size();
    while (b < e && IsBlank(s[b])) ++b;
    while (e > b && IsBlank(s[e - 1])) --e;
    return s.substr(b, e - b);
}

char AsciiLower(char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; }

// Case folds only one-byte characters: second bytes in 'A'..'Z' belong to other characters.
bool NamesEqual(const std::string& a, const char* b) {
    const size_t bl = strlen(b);
    if (a.size() != bl) return false;
    for (size_t i = 0; i < bl;) {
        size_t n = SjisCharLength(b, bl, i);
        if (SjisCharLength(a.data(), a.size(), i) != n) return false;
        if (n == 1) {
            if (AsciiLower(a[i]) != AsciiLower(b[i])) return false;
        } else if (memcmp(a.data() + i, b + i, n) != 0) {
            return false;
        }
        i += n;
    }
    return true;
}

// "[name]" after optional blanks; the name runs to the first ']' that starts a character.
bool ParseHeader(const std::string& line, std::string* name) {
    size_t i = 0;
    while (i < line.size() && IsBlank(line[i])) ++i;
    if (i >= line.size() || line[i] != '[') return false;
    size_t start = ++i;
    while (i < line.size() && line[i] != ']') i += SjisCharLength(line.data(), line.size(), i);
    *name = TrimBlanks(line.substr(start, i - start));
    return true;
}

// "key=value"; comments (';') and lines without '=' are not keys.
bool ParseKey(const std::string& line, std::string* key, std::string* rawValue) {
    std::string t = TrimBlanks(line);
    if (t.empty() || t[0] == ';' || t[0] == '[') return false;
    size_t eq = t.find('=');
    if (eq == std::string::npos) return false;
    *key = TrimBlanks(t.substr(0, eq));
    *rawValue = t.substr(eq + 1);
    return true;
}

std::string CleanValue(const std::string& raw) {
    std::string v = TrimBlanks(raw);
    if (v.size() >= 2 && (v[0] == '"' || v[0] == '\'') && v.back() == v[0]) v = v.substr(1, v.size() - 2);
    return v;
}

int CopyOut(const char* src, size_t len, char* out, int outSize) {
    if (!out || outSize <= 0) return 0;
    size_t n = SjisClampLength(src, len, size_t(outSize - 1));
    memcpy(out, src, n);
    out[n] = 0;
    return int(n);
}

// A line break inside a value would split the file's line in two.
std::string WithoutLineBreaks(const char* s) {
    std::string out;
    for (; s && *s; ++s)
        if (*s != '\r' && *s != '\n') out += *s;
    return out;
}

}  // namespace

int CProfileFile::Load(const char* gamePath) {
    m_lines.clear();
    m_newline = "\r\n";
    m_unreadable = 0;
    if (!SysFileExists(gamePath)) return 1;
    std::vector<unsigned char> raw;
    if (!SysReadFile(gamePath, &raw)) {
        m_unreadable = 1;
        return 0;
    }
    const std::string bytes(raw.begin(), raw.end());
    size_t firstLf = bytes.find('\n');
    if (firstLf != std::string::npos) m_newline = firstLf > 0 && bytes[firstLf - 1] == '\r' ? "\r\n" : "\n";
    for (size_t pos = 0; pos < bytes.size();) {
        size_t lf = bytes.find('\n', pos);
        Line line;
        if (lf == std::string::npos) {
            line.text = bytes.substr(pos);
            pos = bytes.size();
        } else {
            size_t end = lf > pos && bytes[lf - 1] == '\r' ? lf - 1 : lf;
            line.text = bytes.substr(pos, end - pos);
            line.ending = bytes.substr(end, lf + 1 - end);
            pos = lf + 1;
        }
        m_lines.push_back(std::move(line));
    }
    return 1;
}

int CProfileFile::FindSection(const char* section) const {
    std::string name;
    for (size_t i = 0; i < m_lines.size(); ++i)
        if (ParseHeader(m_lines[i].text, &name) && NamesEqual(name, section)) return int(i);
    return -1;
}

int CProfileFile::SectionEnd(int header) const {
    std::string name;
    size_t i = size_t(header) + 1;
    while (i < m_lines.size() && !ParseHeader(m_lines[i].text, &name)) ++i;
    return int(i);
}

int CProfileFile::FindKey(int header, const char* key) const {
    std::string name, raw;
    const int end = SectionEnd(header);
    for (int i = header + 1; i < end; ++i)
        if (ParseKey(m_lines[i].text, &name, &raw) && NamesEqual(name, key)) return i;
    return -1;
}

int CProfileFile::GetString(const char* section, const char* key, const char* def, char* out, int outSize) const {
    if (!def) def = "";
    if (section && key) {
        int header = FindSection(section);
        int at = header < 0 ? -1 : FindKey(header, key);
        if (at >= 0) {
            std::string name, raw;
            ParseKey(m_lines[at].text, &name, &raw);
            std::string value = CleanValue(raw);
            return CopyOut(value.data(), value.size(), out, outSize);
        }
    }
    return CopyOut(def, strlen(def), out, outSize);
}

void CProfileFile::SetString(const char* section, const char* key, const char* value) {
    if (!section || !key) return;
    const std::string sec = WithoutLineBreaks(section), name = WithoutLineBreaks(key);
    const std::string text = name + "=" + WithoutLineBreaks(value);
    int header = FindSection(sec.c_str());
    if (header < 0) {
        EndLastLine();
        m_lines.push_back({"[" + sec + "]", m_newline});
        m_lines.push_back({text, m_newline});
        return;
    }
    int at = FindKey(header, name.c_str());
    if (at >= 0) {
        // Replaced in place under the spelling the file already uses.
        std::string old, raw;
        ParseKey(m_lines[at].text, &old, &raw);
        m_lines[at].text = old + "=" + WithoutLineBreaks(value);
        return;
    }
    // New keys go after the section's last non-blank line, before any blank separator lines.
    int last = header;
    const int end = SectionEnd(header);
    for (int i = header + 1; i < end; ++i)
        if (!TrimBlanks(m_lines[i].text).empty()) last = i;
    if (size_t(last) + 1 == m_lines.size()) EndLastLine();
    m_lines.insert(m_lines.begin() + last + 1, Line{text, m_newline});
}

// The last line may lack its ending; a line added after it needs one.
void CProfileFile::EndLastLine() {
    if (!m_lines.empty() && m_lines.back().ending.empty()) m_lines.back().ending = m_newline;
}

std::string CProfileFile::Text() const {
    std::string out;
    for (const Line& l : m_lines) out += l.text + l.ending;
    return out;
}

int CProfileFile::Save(const char* gamePath) const {
    if (m_unreadable || !gamePath || !*gamePath) return 0;
    const std::string temp = std::string(gamePath) + ".tmp";
    FILE* f = SysOpenFile(temp.c_str(), "wb");
    if (!f) return 0;
    const std::string bytes = Text();
    bool ok = fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    ok = fflush(f) == 0 && ok;
    ok = fsync(fileno(f)) == 0 && ok;  // the rename must not land before the data
    ok = fclose(f) == 0 && ok;
    if (ok && SysReplaceFile(temp.c_str(), gamePath)) return 1;
    SysRemoveFile(temp.c_str());
    return 0;
}

int SysGetProfileString(const char* section, const char* key, const char* def, char* out, int outSize,
                        const char* gamePath) {
    CProfileFile file;
    file.Load(gamePath);  // an unreadable file reads like a missing one
    return file.GetString(section, key, def, out, outSize);
}

int SysWriteProfileString(const char* section, const char* key, const char* value, const char* gamePath) {
    CProfileFile file;
    if (!section || !key || !file.Load(gamePath)) return 0;
    file.SetString(section, key, value);
    return file.Save(gamePath);
}
