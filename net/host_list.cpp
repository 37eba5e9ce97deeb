// Reading the chat page: the posted text is cut into its bracketed fields from the front;
// a separator that is missing counts as found at the end, so a field takes the rest and
// nothing is removed. Entries whose port cannot be connected to are skipped.
#include "host_list.h"

#include "lobby.h"
#include "wire.h"

#include <cstdio>

namespace {

// The text up to the first sep (all of it when there is none), removed with sep when found.
std::string TakeField(std::string& body, const std::string& sep) {
    size_t at = body.find(sep);
    if (at == std::string::npos) return body;
    std::string field = body.substr(0, at);
    body.erase(0, at + sep.size());
    return field;
}

std::string UpTo(const std::string& text, size_t from, const char* end) {
    if (from >= text.size()) return std::string();
    size_t at = text.find(end, from);
    return text.substr(from, at == std::string::npos ? std::string::npos : at - from);
}

int StartsWith(const std::string& text, const char* prefix) { return text.rfind(prefix, 0) == 0; }

}  // namespace

CHostList::CHostList() : m_capacity(kHostListCapacity), m_lastIndex(-1) {
    for (int i = 0; i < kHostListCapacity; ++i) m_ports[i] = kHostFreePort;
}

void CHostList::Parse(const std::string& fileName) {
    CStringListFile page;
    page.SetFileName(fileName);
    page.Load();
    page.SetCursor(0);
    std::string address;
    std::string line;
    while (page.GetItem(line)) {
        page.Next();
        if (StartsWith(line, "<b>")) address = UpTo(line, 3, "</b>");
        if (!StartsWith(line, " > ")) continue;
        std::string body = UpTo(line, 3, " <font");
        const std::string count = body.substr(0, 1);
        body.erase(0, body.size() < 2 ? body.size() : 2);
        std::string name = TakeField(body, "[");
        const std::string tag = TakeField(body, "-");
        const std::string version = TakeField(body, "-");
        const int port = ReadWireInt(TakeField(body, "-").c_str());
        TakeField(body, "]");  // the time of the announcement is not shown
        const std::string message = CutAtCharStart(EucToSjis(body), kHostTextMax);
        name = CutAtCharStart(EucToSjis(name), kHostTextMax);
        if (tag != kGameTag || version != m_versionFilter) continue;
        if (port < 1 || port > 65535) continue;
        Add(address, port, count + "/6:" + name + message);
    }
}

// The first announcement of an address on the page wins; past thirty addresses the last
// entry is overwritten.
void CHostList::Add(const std::string& address, int port, const std::string& text) {
    for (int i = 0; i < m_capacity; ++i)
        if (m_addresses[i] == address) return;
    if (++m_lastIndex >= m_capacity) m_lastIndex = m_capacity - 1;
    m_addresses[m_lastIndex] = address;
    m_ports[m_lastIndex] = port;
    m_texts[m_lastIndex] = text;
}

std::string EucToSjis(const std::string& euc) {
    std::string out;
    const size_t n = euc.size();
    for (size_t i = 0; i < n;) {
        const unsigned b1 = (unsigned char)euc[i];
        if (b1 < 0x80) {
            out += (char)b1;
            ++i;
            continue;
        }
        if (i + 1 >= n) break;  // a lead byte at the very end has nothing to pair with
        const unsigned b2 = (unsigned char)euc[i + 1];
        i += 2;
        if (b1 == 0x8E) {  // half-width katakana: the second byte alone
            out += (char)b2;
            continue;
        }
        const unsigned base = b1 >= 0xDF ? 112 : 48;
        const unsigned lead = b1 / 2 + base + (b1 & 1);
        int trail;
        if (b1 & 1) {
            trail = (int)b2 - 0x61;
            if (trail > 0x7E) trail = (int)b2 - 0x60;
        } else {
            trail = (int)b2 - 2;
        }
        out += (char)(lead & 0xFF);
        out += (char)(trail & 0xFF);
    }
    return out;
}

std::string BuildHostAnnouncement(int count, const std::string& name, int hostPort, const SysLocalTime& time,
                                  const std::string& msg) {
    char fields[96];
    snprintf(fields, sizeof fields, "[%s-%s-%d-%d-%d:%d]", kGameTag, kGameVersion, hostPort, time.day, time.hour,
             time.minute);
    return std::to_string(count) + ":" + name + fields + msg;
}

std::string PercentEncode(const std::string& text) {
    static const char kHex[] = "0123456789ABCDEF";
    std::string out;
    for (unsigned char c : text) {
        if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '.' ||
            c == '_' || c == '~') {
            out += (char)c;
        } else {
            out += '%';
            out += kHex[c >> 4];
            out += kHex[c & 15];
        }
    }
    return out;
}
