// Shift-JIS character scanning and conversion to and from UTF-8.
#include "sys_text.h"

#include <iconv.h>

#include <cerrno>

size_t SjisCharLength(const char* s, size_t len, size_t i) {
    if (i >= len) return 0;
    if (SjisIsLeadByte((unsigned char)s[i]) && i + 1 < len) return 2;
    return 1;
}

size_t SjisPrevCharStart(const char* s, size_t len, size_t pos) {
    if (pos > len) pos = len;
    size_t i = 0, prev = 0;
    while (i < pos) {
        prev = i;
        i += SjisCharLength(s, len, i);
    }
    return prev;
}

bool SjisIsCharStart(const char* s, size_t len, size_t pos) {
    size_t i = 0;
    while (i < pos && i < len) i += SjisCharLength(s, len, i);
    return i == pos;
}

size_t SjisClampLength(const char* s, size_t len, size_t maxBytes) {
    if (len <= maxBytes) return len;
    size_t i = 0;
    while (i < len) {
        size_t n = SjisCharLength(s, len, i);
        if (i + n > maxBytes) break;
        i += n;
    }
    return i;
}

namespace {

std::string Convert(const char* to, const char* from, const std::string& in) {
    iconv_t cd = iconv_open(to, from);
    if (cd == (iconv_t)-1) return std::string();
    std::string out;
    out.resize(in.size() * 4 + 16);
    char* src = const_cast<char*>(in.data());
    size_t srcLeft = in.size();
    char* dst = out.data();
    size_t dstLeft = out.size();
    while (srcLeft > 0) {
        if (iconv(cd, &src, &srcLeft, &dst, &dstLeft) != (size_t)-1) break;
        if (errno == E2BIG) break;  // cannot happen with 4x room; stop rather than loop
        // Invalid or incomplete sequence: drop one byte and carry on.
        ++src;
        --srcLeft;
    }
    out.resize(out.size() - dstLeft);
    iconv_close(cd);
    return out;
}

}  // namespace

std::string SjisToUtf8(const std::string& sjis) { return Convert("UTF-8", "CP932", sjis); }
std::string Utf8ToSjis(const std::string& utf8) { return Convert("CP932", "UTF-8", utf8); }
