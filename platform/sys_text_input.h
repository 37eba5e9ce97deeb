// Typed characters and the desktop's input method. Text arrives as UTF-8 and is handed on as
// Shift-JIS. The input method is one per window, shared by every text field.
#pragma once

#include <string>

// Typing, each piece handed on in the order typed: every single-byte character typed outside a
// composition, with 0x0D, 0x08, 0x09 and 0x1B for Enter, Backspace, Tab and Escape; the keys
// that edit a text field (Left, Right, Delete, as the engine's key codes), held ones repeating
// as the desktop repeats them; and input-method text when committed, whole, as Shift-JIS.
void SysSetTypingHandlers(void (*onChar)(int byte), void (*onKey)(int key),
                          void (*onText)(const char* sjis, int length));

// Text input: on only while a text field is open for typing. While it is on, the desktop's input
// method sees the keys and may keep some for itself; while it is off, every key reaches the game
// and a key-down types its character, with Shift and Caps Lock, as the layout prints it.
void SysTextInputSetActive(int on);
int SysTextInputIsActive();

// Input method
void SysImeSetOpen(int open);      // the game's wish; a desktop input method switches itself
int SysImeIsOpen();                // opened by the game, or composing now
std::string SysImeComposition();   // the text being composed; "" when none
int SysImeIsConverted();           // the composition has a clause under conversion
int SysImeChanged();               // composition changed or text committed since the last call
void SysImeSetCaret(int x, int y, int height);  // where the candidate window goes (frame coordinates)

// Injection (tests, headless driver): what the desktop sends while a person types. With text
// input off the desktop sends keys, not text: ASCII becomes the key presses that type it (Shift
// included), and anything else is dropped.
void SysInjectText(const char* sjis);                      // typed or committed text
void SysInjectComposition(const char* sjis, int converted);  // "" ends the composition
