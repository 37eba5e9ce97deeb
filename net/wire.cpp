// Framing and value reading of the relay protocol. Bodies are never escaped: the mark alone
// separates messages, so splitting is a byte search for it.
#include "wire.h"

#include "sys_text.h"

#include <climits>

int SplitNextMessage(std::string& buffer, std::string& tag, std::string& body) {
    if (buffer.size() <= (size_t)kWireTagLength) return 0;
    if (buffer.find(kWireMark) == std::string::npos) return 0;
    size_t end = buffer.find(kWireMark, kWireTagLength);
    if (end == std::string::npos) return 0;  // the last message waits for the next receive
    tag.assign(buffer, 0, kWireTagLength);
    body.assign(buffer, kWireTagLength, end - kWireTagLength);
    buffer.erase(0, end);
    return 1;
}

std::string ToWireText(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        if (c == kWireMark)
            out += "＞";
        else
            out += c;
    }
    return out;
}

int ReadWireInt(const char* text) {
    if (!text) return 0;
    const char* p = text;
    while (*p == ' ' || (*p >= '\t' && *p <= '\r')) ++p;
    int negative = 0;
    if (*p == '+' || *p == '-') negative = (*p++ == '-');
    long long value = 0;
    for (; *p >= '0' && *p <= '9'; ++p) {
        value = value * 10 + (*p - '0');
        if (value > (long long)INT_MAX + 1) value = (long long)INT_MAX + 1;  // saturate, keep reading
    }
    if (negative) return (int)-value;
    return value > INT_MAX ? INT_MAX : (int)value;
}

int ReadWireDigit(char c) { return (c >= '0' && c <= '9') ? c - '0' : 0; }

std::string CutAtCharStart(const std::string& text, size_t maxBytes) {
    return text.substr(0, SjisClampLength(text.data(), text.size(), maxBytes));
}

int HasControlByte(const std::string& text) {
    for (char c : text)
        if ((unsigned char)c < 0x20) return 1;
    return 0;
}
