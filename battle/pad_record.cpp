// The pad record's set-up capture and rebuild, its steps, and its text file: a header line,
// the set-up, one line per step, the end and a checksum line over everything before it.
#include "pad_record.h"

#include "battle.h"
#include "state_hash.h"

#include <cinttypes>
#include <cstdio>
#include <cstring>
#include <initializer_list>
#include <vector>

namespace {

const char kMagic[] = "zaumolta pad record";

// ---- Writing ----

std::string Hex(const std::string& bytes) {
    if (bytes.empty()) return "-";
    static const char digits[] = "0123456789abcdef";
    std::string s;
    for (unsigned char c : bytes) {
        s += digits[c >> 4];
        s += digits[c & 15];
    }
    return s;
}

std::string Hex64(uint64_t v) {
    char s[24];
    snprintf(s, sizeof s, "%016" PRIx64, v);
    return s;
}

std::string BitsOfFloat(float v) {
    uint32_t bits;
    memcpy(&bits, &v, sizeof bits);
    char s[16];
    snprintf(s, sizeof s, "%08" PRIx32, bits);
    return s;
}

std::string BitsOfDouble(double v) {
    uint64_t bits;
    memcpy(&bits, &v, sizeof bits);
    return Hex64(bits);
}

// Words separated by blanks, then a newline; values of a list separated by commas.
void AddLine(std::string* t, std::initializer_list<std::string> words) {
    bool first = true;
    for (const std::string& w : words) {
        if (!first) *t += ' ';
        *t += w;
        first = false;
    }
    *t += '\n';
}

void Join(std::string* list, const std::string& value) {
    if (!list->empty()) *list += ',';
    *list += value;
}

uint64_t Checksum(const char* data, size_t size) {
    CStateHash h;
    h.AddBytes(data, size);
    return h.Value();
}

// ---- Reading ----

std::vector<std::string> Split(const std::string& s, char sep) {
    std::vector<std::string> parts;
    size_t pos = 0;
    for (;;) {
        size_t end = s.find(sep, pos);
        parts.push_back(s.substr(pos, end == std::string::npos ? std::string::npos : end - pos));
        if (end == std::string::npos) return parts;
        pos = end + 1;
    }
}

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

bool ParseHexBytes(const std::string& s, std::string* out) {
    out->clear();
    if (s == "-") return true;
    if (s.empty() || s.size() % 2) return false;
    for (size_t i = 0; i < s.size(); i += 2) {
        int hi = HexValue(s[i]), lo = HexValue(s[i + 1]);
        if (hi < 0 || lo < 0) return false;
        *out += char(hi * 16 + lo);
    }
    return true;
}

bool ParseHex64(const std::string& s, int digits, uint64_t* out) {
    if (int(s.size()) != digits) return false;
    uint64_t v = 0;
    for (char c : s) {
        int d = HexValue(c);
        if (d < 0) return false;
        v = v * 16 + uint64_t(d);
    }
    *out = v;
    return true;
}

bool ParseBitsOfFloat(const std::string& s, float* out) {
    uint64_t bits;
    if (!ParseHex64(s, 8, &bits)) return false;
    uint32_t b32 = uint32_t(bits);
    memcpy(out, &b32, sizeof *out);
    return true;
}

bool ParseBitsOfDouble(const std::string& s, double* out) {
    uint64_t bits;
    if (!ParseHex64(s, 16, &bits)) return false;
    memcpy(out, &bits, sizeof *out);
    return true;
}

// A decimal int with an optional minus, no blanks, inside the int range.
bool ParseInt(const std::string& s, int* out) {
    size_t i = s.size() > 0 && s[0] == '-' ? 1 : 0;
    if (i == s.size() || s.size() - i > 10) return false;
    long long v = 0;
    for (; i < s.size(); ++i) {
        if (s[i] < '0' || s[i] > '9') return false;
        v = v * 10 + (s[i] - '0');
    }
    if (s[0] == '-') v = -v;
    if (v < -2147483648LL || v > 2147483647LL) return false;
    *out = int(v);
    return true;
}

// A key text as the record keeps it: exactly twelve of "0" to "3".
bool IsKeyText(const std::string& s) {
    if (s.size() != size_t(kPadSlots)) return false;
    for (char c : s)
        if (c < '0' || c > '3') return false;
    return true;
}

class CLineReader {
public:
    explicit CLineReader(const std::string& text) : m_text(text) {}
    bool Next(std::string* line) {
        if (m_pos >= m_text.size()) return false;
        size_t end = m_text.find('\n', m_pos);
        if (end == std::string::npos) end = m_text.size();  // the caller has checked the checksum line
        *line = m_text.substr(m_pos, end - m_pos);
        m_pos = end + 1;
        ++m_number;
        return true;
    }
    int Number() const { return m_number; }

private:
    const std::string& m_text;
    size_t m_pos = 0;
    int m_number = 0;
};

}  // namespace

// ---- Set-up ---------------------------------------------------------------------------------------

void CPadRecord::CaptureSetup(const CBattle& battle, int stage, const std::string codes[kMaxRobots]) {
    m_stage = stage;
    m_mission = battle.m_mission;
    m_clock = battle.m_clock;
    m_robotCount = battle.m_robotCount < kMaxRobots ? battle.m_robotCount : kMaxRobots;
    m_ownIndex = battle.m_ownIndex;
    for (int i = 0; i < kMaxRobots; ++i) {
        SRecordSlot& s = m_slots[i];
        const CRobot& r = battle.m_robots[i];
        s = SRecordSlot();
        if (i >= m_robotCount) continue;
        s.code = codes[i];
        s.team = r.m_teamCode;
        s.root = r.m_frames[kRootFrame].m_matrix;
        s.target = battle.SlotOf(r.m_target);
        s.hp = r.m_hp, s.maxHp = r.m_maxHp, s.ap = r.m_ap, s.maxAp = r.m_maxAp;
        s.vp = r.m_vp, s.maxVp = r.m_maxVp, s.ep = r.m_ep, s.maxEp = r.m_maxEp;
        s.epPerStep = r.m_epPerStep, s.dashStartEnergy = r.m_dashStartEnergy, s.dashStepEnergy = r.m_dashStepEnergy;
        s.walkSpeed = r.m_walkSpeed, s.dashSpeed = r.m_dashSpeed, s.turnSpeed = r.m_turnSpeed;
    }
    m_setupHash = battle.HashState();
    m_keys.clear();
    m_endSteps = -1;
    m_endResult = 0;
    m_endHash = 0;
}

int CPadRecord::ApplySetup(CBattle* battle, std::string* error) const {
    CBattle& b = *battle;
    b.m_robotCount = m_robotCount;
    b.m_ownIndex = m_ownIndex;
    b.m_mission = m_mission;
    b.m_clock = m_clock;
    for (int i = 0; i < m_robotCount; ++i) {
        const SRecordSlot& s = m_slots[i];
        CRobot& r = b.m_robots[i];
        // No slot thinks: every robot moves by the recorded keys alone.
        if (!s.code.empty()) b.BuildRobot(i, -2, s.code);
        b.m_cpu[i].m_type = -2;
        r.m_teamCode = s.team;
        r.m_frames[kRootFrame].m_matrix = s.root;
        r.m_target = s.target >= 0 && s.target < kMaxRobots ? &b.m_robots[s.target] : nullptr;
        r.m_hp = s.hp, r.m_maxHp = s.maxHp, r.m_ap = s.ap, r.m_maxAp = s.maxAp;
        r.m_vp = s.vp, r.m_maxVp = s.maxVp, r.m_ep = s.ep, r.m_maxEp = s.maxEp;
        r.m_epPerStep = s.epPerStep, r.m_dashStartEnergy = s.dashStartEnergy, r.m_dashStepEnergy = s.dashStepEnergy;
        r.m_walkSpeed = s.walkSpeed, r.m_dashSpeed = s.dashSpeed, r.m_turnSpeed = s.turnSpeed;
    }
    b.LoadStage(m_stage);
    const uint64_t hash = b.HashState();
    if (hash != m_setupHash) {
        *error = "the record's set-up builds another battle here (set-up hash " + Hex64(hash) + ", recorded " +
                 Hex64(m_setupHash) + "): other robot or stage files, or a robot value the record does not keep";
        return 0;
    }
    return 1;
}

// ---- Steps ----------------------------------------------------------------------------------------

void CPadRecord::AddStep(CPad pads[kMaxRobots]) {
    for (int i = 0; i < m_robotCount; ++i) m_keys += pads[i].ToKeyString();
}

int CPadRecord::StepCount() const {
    const size_t perStep = size_t(m_robotCount) * kPadSlots;
    return perStep ? int(m_keys.size() / perStep) : 0;
}

void CPadRecord::LoadStep(int step, CPad pads[kMaxRobots]) const {
    const size_t perStep = size_t(m_robotCount) * kPadSlots;
    for (int i = 0; i < m_robotCount; ++i)
        pads[i].FromKeyString(m_keys.substr(size_t(step) * perStep + size_t(i) * kPadSlots, kPadSlots));
}

void CPadRecord::SetEnd(int steps, int result, uint64_t lastHash) {
    m_endSteps = steps;
    m_endResult = result;
    m_endHash = lastHash;
}

// ---- File -----------------------------------------------------------------------------------------

std::string CPadRecord::ToText() const {
    std::string t;
    AddLine(&t, {kMagic, std::to_string(kPadRecordVersion)});
    AddLine(&t, {"stage", std::to_string(m_stage)});
    AddLine(&t, {"mission", Hex(m_mission)});
    AddLine(&t, {"clock", std::to_string(m_clock)});
    AddLine(&t, {"robots", std::to_string(m_robotCount)});
    AddLine(&t, {"own", std::to_string(m_ownIndex)});
    AddLine(&t, {"setup", Hex64(m_setupHash)});
    for (int i = 0; i < m_robotCount; ++i) {
        const SRecordSlot& s = m_slots[i];
        std::string root, ints, doubles;
        for (int k = 0; k < 16; ++k) Join(&root, BitsOfFloat(s.root.m[k / 4][k % 4]));
        for (int v : {s.hp, s.maxHp, s.ap, s.maxAp, s.vp, s.maxVp, s.ep, s.maxEp, s.epPerStep, s.dashStartEnergy,
                      s.dashStepEnergy})
            Join(&ints, std::to_string(v));
        for (double v : {s.walkSpeed, s.dashSpeed, s.turnSpeed}) Join(&doubles, BitsOfDouble(v));
        AddLine(&t, {"slot", std::to_string(i), Hex(s.code), Hex(s.team), std::to_string(s.target), root, ints, doubles});
    }
    const int steps = StepCount();
    const size_t perStep = size_t(m_robotCount) * kPadSlots;
    for (int n = 0; n < steps; ++n) {
        t += "step";
        for (int i = 0; i < m_robotCount; ++i) {
            t += ' ';
            t.append(m_keys, size_t(n) * perStep + size_t(i) * kPadSlots, kPadSlots);
        }
        t += '\n';
    }
    if (m_endSteps >= 0)
        AddLine(&t, {"end", std::to_string(m_endSteps), std::to_string(m_endResult), Hex64(m_endHash)});
    AddLine(&t, {"check", Hex64(Checksum(t.data(), t.size()))});
    return t;
}

int CPadRecord::FromText(const std::string& text, std::string* error) {
    // The checksum first: a damaged or cut file is refused before any of it is believed.
    const std::string checkTag = "check ";
    if (text.empty()) {
        *error = "the record is empty";
        return 0;
    }
    if (text.back() != '\n') {
        *error = "the record is cut short (its last line is unfinished)";
        return 0;
    }
    size_t lastLine = text.rfind('\n', text.size() - 2);
    lastLine = lastLine == std::string::npos ? 0 : lastLine + 1;
    if (text.compare(lastLine, checkTag.size(), checkTag) != 0) {
        *error = text.find("\ncheck ") != std::string::npos
                     ? "the record has lines after its checksum line"
                     : "the record is cut short (no checksum line at its end)";
        return 0;
    }
    uint64_t stored = 0;
    if (!ParseHex64(text.substr(lastLine + checkTag.size(), text.size() - 1 - lastLine - checkTag.size()), 16, &stored)) {
        *error = "the record's checksum line is damaged";
        return 0;
    }
    if (stored != Checksum(text.data(), lastLine)) {
        *error = "the record is damaged (its checksum does not match)";
        return 0;
    }

    CPadRecord r;
    const std::string body = text.substr(0, lastLine);
    CLineReader lines(body);
    std::string line;
    auto fail = [&](const std::string& what) {
        *error = "line " + std::to_string(lines.Number()) + ": " + what;
        return 0;
    };
    auto field = [&](const char* name, std::string* value) {
        if (!lines.Next(&line)) return false;
        const std::string tag = std::string(name) + " ";
        if (line.compare(0, tag.size(), tag) != 0) return false;
        *value = line.substr(tag.size());
        return true;
    };
    std::string value;
    if (!lines.Next(&line) || line.compare(0, sizeof kMagic - 1, kMagic) != 0)
        return fail("not a pad record (it must begin with \"" + std::string(kMagic) + "\")");
    std::string header = kMagic;
    header += ' ';
    header += std::to_string(kPadRecordVersion);
    if (line != header)
        return fail("a pad record of another version (this program reads version " + std::to_string(kPadRecordVersion) + ")");
    if (!field("stage", &value) || !ParseInt(value, &r.m_stage)) return fail("expected \"stage N\"");
    if (!field("mission", &value) || !ParseHexBytes(value, &r.m_mission)) return fail("expected \"mission HEX\"");
    if (!field("clock", &value) || !ParseInt(value, &r.m_clock)) return fail("expected \"clock N\"");
    if (!field("robots", &value) || !ParseInt(value, &r.m_robotCount) || r.m_robotCount < 1 || r.m_robotCount > kMaxRobots)
        return fail("expected \"robots N\" with N from 1 to 6");
    if (!field("own", &value) || !ParseInt(value, &r.m_ownIndex) || r.m_ownIndex < 0 || r.m_ownIndex >= r.m_robotCount)
        return fail("expected \"own N\" with N a robot of the battle");
    if (!field("setup", &value) || !ParseHex64(value, 16, &r.m_setupHash)) return fail("expected \"setup HASH\"");
    for (int i = 0; i < r.m_robotCount; ++i) {
        std::vector<std::string> p;
        if (!field("slot", &value) || (p = Split(value, ' ')).size() != 7 || p[0] != std::to_string(i))
            return fail("expected \"slot " + std::to_string(i) + " CODE TEAM TARGET ROOT INTS DOUBLES\"");
        SRecordSlot& s = r.m_slots[i];
        if (!ParseHexBytes(p[1], &s.code) || !ParseHexBytes(p[2], &s.team)) return fail("slot code or team is not hex");
        // Any slot of the battle's six: the last robot of an odd count starts aimed at its
        // partner's empty slot, and the replay must aim it there too.
        if (!ParseInt(p[3], &s.target) || s.target < -1 || s.target >= kMaxRobots) return fail("slot target out of range");
        std::vector<std::string> root = Split(p[4], ','), ints = Split(p[5], ','), doubles = Split(p[6], ',');
        if (root.size() != 16 || ints.size() != 11 || doubles.size() != 3) return fail("slot values are incomplete");
        for (int k = 0; k < 16; ++k)
            if (!ParseBitsOfFloat(root[k], &s.root.m[k / 4][k % 4])) return fail("slot root matrix is damaged");
        int* intFields[] = {&s.hp, &s.maxHp, &s.ap, &s.maxAp, &s.vp, &s.maxVp, &s.ep, &s.maxEp,
                            &s.epPerStep, &s.dashStartEnergy, &s.dashStepEnergy};
        for (int k = 0; k < 11; ++k)
            if (!ParseInt(ints[k], intFields[k])) return fail("slot stats are damaged");
        double* doubleFields[] = {&s.walkSpeed, &s.dashSpeed, &s.turnSpeed};
        for (int k = 0; k < 3; ++k)
            if (!ParseBitsOfDouble(doubles[k], doubleFields[k])) return fail("slot speeds are damaged");
    }
    bool ended = false;
    while (lines.Next(&line)) {
        if (ended) return fail("nothing may follow the \"end\" line");
        std::vector<std::string> p = Split(line, ' ');
        if (p[0] == "step") {
            if (int(p.size()) != 1 + r.m_robotCount) return fail("a step needs one key text per robot");
            for (int i = 1; i <= r.m_robotCount; ++i) {
                if (!IsKeyText(p[i])) return fail("a key text is twelve of the digits 0 to 3");
                r.m_keys += p[i];
            }
        } else if (p[0] == "end") {
            uint64_t hash = 0;
            if (p.size() != 4 || !ParseInt(p[1], &r.m_endSteps) || !ParseInt(p[2], &r.m_endResult) ||
                !ParseHex64(p[3], 16, &hash) || r.m_endSteps != r.StepCount())
                return fail("expected \"end STEPS RESULT HASH\" with STEPS the number of steps");
            r.m_endHash = hash;
            ended = true;
        } else {
            return fail("expected a \"step\" or \"end\" line");
        }
    }
    *this = r;
    return 1;
}

int CPadRecord::Save(const std::string& path, std::string* error) const {
    const std::string text = ToText();
    FILE* f = fopen(path.c_str(), "wb");
    if (!f) {
        *error = "cannot write " + path;
        return 0;
    }
    const bool written = fwrite(text.data(), 1, text.size(), f) == text.size();
    if (fclose(f) != 0 || !written) {
        *error = "cannot write all of " + path;
        return 0;
    }
    return 1;
}

int CPadRecord::Load(const std::string& path, std::string* error) {
    FILE* f = fopen(path.c_str(), "rb");
    if (!f) {
        *error = "cannot open " + path;
        return 0;
    }
    std::string text;
    char buffer[65536];
    size_t n;
    while ((n = fread(buffer, 1, sizeof buffer, f)) > 0) {
        text.append(buffer, n);
        if (long(text.size()) > kPadRecordMaxBytes) {
            fclose(f);
            *error = path + ": larger than any pad record";
            return 0;
        }
    }
    const bool failed = ferror(f) != 0;
    fclose(f);
    if (failed) {
        *error = "cannot read " + path;
        return 0;
    }
    if (!FromText(text, error)) {
        *error = path + ": " + *error;
        return 0;
    }
    return 1;
}
