// The state dump, written by the same field walk as the state hash, so every value the hash
// sees has a line, and the first differing line of two dumps.
#include "state_dump.h"

#include "battle.h"
#include "state_fields.h"

#include <cinttypes>
#include <cstdio>
#include <cstring>
#include <vector>

namespace {

class CDumpVisitor {
public:
    explicit CDumpVisitor(std::string* out) : m_out(out) {}

    void Enter(const char* name, int index) {
        m_groups.push_back(m_prefix.size());
        m_prefix += name;
        if (index >= 0) AppendIndex(&m_prefix, index);
        m_prefix += ".";
    }
    void Leave() {
        m_prefix.resize(m_groups.back());
        m_groups.pop_back();
    }
    template <class T>
    void Field(const char* name, const T& value) {
        Line(m_prefix + name, value);
    }
    template <class T>
    void Item(const char* name, int index, const T& value) {
        std::string path = m_prefix + name;
        AppendIndex(&path, index);
        Line(path, value);
    }

private:
    static void AppendIndex(std::string* s, int index) {
        *s += '[';
        *s += std::to_string(index);
        *s += ']';
    }
    void Write(const std::string& name, const std::string& value) {
        *m_out += name;
        *m_out += " = ";
        *m_out += value;
        *m_out += '\n';
    }
    static std::string Text(int v) { return std::to_string(v); }
    static std::string Text(bool v) { return v ? "1" : "0"; }
    static std::string Text(float v) {
        uint32_t bits;
        memcpy(&bits, &v, sizeof bits);
        char s[48];
        snprintf(s, sizeof s, "%.9g (%08" PRIx32 ")", double(v), bits);
        return s;
    }
    static std::string Text(double v) {
        uint64_t bits;
        memcpy(&bits, &v, sizeof bits);
        char s[64];
        snprintf(s, sizeof s, "%.17g (%016" PRIx64 ")", v, bits);
        return s;
    }
    static std::string Text(const Vec3& v) { return Text(v.x) + " " + Text(v.y) + " " + Text(v.z); }
    // Shift-JIS and control bytes as \xNN: the dump stays plain ASCII and one line per field.
    static std::string Text(const std::string& v) {
        std::string s = "\"";
        for (unsigned char c : v) {
            if (c >= 0x20 && c < 0x7F && c != '\\' && c != '"') {
                s += char(c);
            } else {
                char hex[8];
                snprintf(hex, sizeof hex, "\\x%02x", c);
                s += hex;
            }
        }
        return s + "\"";
    }
    template <class T>
    void Line(const std::string& name, const T& value) {
        Write(name, Text(value));
    }
    // A matrix as its four rows, so a difference names the row.
    void Line(const std::string& name, const Mat4& m) {
        for (int row = 0; row < 4; ++row)
            Write(name + ".row" + std::to_string(row),
                  Text(m.m[row][0]) + " " + Text(m.m[row][1]) + " " + Text(m.m[row][2]) + " " + Text(m.m[row][3]));
    }

    std::string* m_out;
    std::string m_prefix;
    std::vector<size_t> m_groups;
};

// Line n of a text (from 0), without its newline; false past the end.
bool NextLine(const std::string& text, size_t* pos, std::string* line) {
    if (*pos >= text.size()) return false;
    size_t end = text.find('\n', *pos);
    if (end == std::string::npos) end = text.size();
    *line = text.substr(*pos, end - *pos);
    *pos = end + 1;
    return true;
}

void SplitLine(const std::string& line, std::string* name, std::string* value) {
    size_t eq = line.find(" = ");
    *name = line.substr(0, eq);
    *value = eq == std::string::npos ? "" : line.substr(eq + 3);
}

}  // namespace

std::string DumpState(const CBattle& battle) {
    std::string out;
    CDumpVisitor v(&out);
    state_fields::VisitBattle(v, battle);
    return out;
}

int FindFirstDifference(const std::string& first, const std::string& second, SDumpDifference* out) {
    size_t p1 = 0, p2 = 0;
    std::string l1, l2;
    for (;;) {
        bool has1 = NextLine(first, &p1, &l1), has2 = NextLine(second, &p2, &l2);
        if (!has1 && !has2) return 0;
        if (has1 && has2 && l1 == l2) continue;
        std::string n1, v1, n2, v2;
        if (has1) SplitLine(l1, &n1, &v1);
        if (has2) SplitLine(l2, &n2, &v2);
        out->field = has1 ? n1 : n2;
        out->first = has1 ? v1 : "(none)";
        out->second = has2 ? v2 : "(none)";
        // Two different names at one line: the dumps walked different groups (another robot
        // count, a projectile busy in one game only); the first game's name is reported.
        if (has1 && has2 && n1 != n2) out->second = n2 + " = " + v2;
        return 1;
    }
}
