// Typed characters and the desktop's input method, standing in for WM_CHAR and the IME. Text
// arrives as UTF-8 and is handed on as Shift-JIS. The input method is one per window, shared by
// every text field, as the window's IME context was.
#pragma once

#include <string>

// Typed characters: each single-byte character typed outside a composition goes to the handler
// (the engine's typed-character latch), and so do 0x0D, 0x08, 0x09 and 0x1B for Enter, Backspace,
// Tab and Escape, as the desktop typed them. Double-byte text is input-method text (below).
void SysSetCharHandler(void (*onChar)(int byte));

// Input method
void SysImeSetOpen(int open);      // the game's wish; a desktop input method switches itself
int SysImeIsOpen();                // opened by the game, or composing now
std::string SysImeComposition();   // the text being composed; "" when none
int SysImeIsConverted();           // the composition has a clause under conversion
std::string SysImeResult();        // committed text not yet taken
void SysImeClearResult();
int SysImeChanged();               // composition or result changed since the last call
void SysImeSetCaret(int x, int y, int height);  // where the candidate window goes (frame coordinates)

// Injection (tests, headless driver): what the desktop sends while a person types.
void SysInjectText(const char* sjis);                      // typed or committed text
void SysInjectComposition(const char* sjis, int converted);  // "" ends the composition
