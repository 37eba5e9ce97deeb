// Shift-JIS (code page 932) helpers. Game text stays Shift-JIS everywhere; it is converted
// only where it meets the operating system (file names, captions, fonts, input method).
#pragma once

#include <cstddef>
#include <string>

// True when b can start a two-byte Shift-JIS character.
inline bool SjisIsLeadByte(unsigned char b) { return (b >= 0x81 && b <= 0x9f) || (b >= 0xe0 && b <= 0xfc); }

// Length in bytes of the character starting at s[i] (1 or 2; 1 when a lead byte ends the text).
size_t SjisCharLength(const char* s, size_t len, size_t i);
// Start of the character before position pos, found by scanning from the start of the text:
// a second byte can look like a lead byte, so scanning backwards is unsafe.
size_t SjisPrevCharStart(const char* s, size_t len, size_t pos);
// True when pos is the start of a character (or the end of the text).
bool SjisIsCharStart(const char* s, size_t len, size_t pos);
// Largest cut <= maxBytes that does not split a two-byte character.
size_t SjisClampLength(const char* s, size_t len, size_t maxBytes);

// Conversions through iconv, CP932 variant. Unconvertible input is skipped, never fatal.
std::string SjisToUtf8(const std::string& sjis);
std::string Utf8ToSjis(const std::string& utf8);
