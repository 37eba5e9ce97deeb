// The text protocol every game speaks through the relay: a stream of messages, each ">", a
// type letter and a body running to the next ">". The lobby and the online battle both split
// their incoming text here, and every user or ini text goes through ToWireText on its way out.
#pragma once

#include <string>

// ---- Framing -------------------------------------------------------------------------------------
constexpr char kWireMark = '>';
constexpr int kWireTagLength = 2;  // the mark and the type letter
constexpr const char* kEndRequest = ">tb-end";  // ends the battle on every game that receives it

// Takes the first complete message off the front of the buffer: its first two characters as
// the tag (whether or not the first is ">"), the text up to the next ">" as the body. A message
// is complete only once the next one has begun, so 0 (buffer untouched) while the buffer holds
// no ">", is two characters or shorter, or holds no ">" behind its tag.
int SplitNextMessage(std::string& buffer, std::string& tag, std::string& body);

// The text with every ">" turned into the full-width "＞", so a typed or configured text can
// never start a message of its own. ">" is never a Shift-JIS second byte, so bytes are safe.
std::string ToWireText(const std::string& text);

// ---- Values ------------------------------------------------------------------------------------
// The usual text-to-integer rule (leading blanks, an optional sign, the leading digits; no
// digits read 0), except that a value beyond the int range reads as that bound instead of
// overflowing.
int ReadWireInt(const char* text);
// The decimal value of one character; a character that is not a digit reads 0.
int ReadWireDigit(char c);
// The text cut to at most maxBytes, never inside a two-byte character.
std::string CutAtCharStart(const std::string& text, size_t maxBytes);
// 1 when the text holds a byte below 0x20 (a zero byte among them). No Shift-JIS second byte is
// that low, so a byte search is exact. Texts a peer sets that reach a screen, a file or the wire
// are refused whole with such a byte: a zero would cut every later send or file line there.
int HasControlByte(const std::string& text);
