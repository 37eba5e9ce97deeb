// Keyboard, mouse and up to eight joysticks, polled once a frame. Every key, mouse button and
// joystick entry reads in one four-state code, so game code can tell a press in this frame from
// a held key. Arguments out of range (they come from the settings file) read as up.
#pragma once

#include <string>

constexpr int kKeyCount = 256;            // DirectInput key codes
constexpr int kMouseButtonCount = 4;
constexpr int kMaxJoysticks = 8;
constexpr int kJoystickEntryCount = 14;   // 0-5 axis directions, 6-13 buttons 0-7
constexpr int kJoystickThreshold = 500;   // half deflection of the -1000..1000 range
// Entries typed between two frames of a text field: far beyond what a person types while a
// busy machine holds a frame up, and every field takes them all each frame.
constexpr int kTypedCharQueue = 256;

// Four-state button code: (down now) * 2 + (down at the previous poll).
enum { kButtonUp = 0, kButtonReleased = 1, kButtonPressed = 2, kButtonHeld = 3 };

// DirectInput key codes the engine itself names.
enum {
    kKeyEscape = 1,
    kKeyBackspace = 14,
    kKeyTab = 15,
    kKeyEnter = 28,
    kKeyF1 = 59,
    kKeyPad7 = 71,
    kKeyPad8 = 72,
    kKeyPad9 = 73,
    kKeyPad4 = 75,
    kKeyPad5 = 76,
    kKeyPad0 = 82,
    kKeyF12 = 88,  // closes the program while Escape ends a text field
    kKeyHome = 199,
    kKeyUp = 200,
    kKeyPageUp = 201,
    kKeyLeft = 203,
    kKeyRight = 205,
    kKeyEnd = 207,
    kKeyDown = 208,
    kKeyPageDown = 209,
    kKeyInsert = 210,
    kKeyDelete = 211,
};

// Start-up, shut-down and the per-frame poll
int InitDirectInput();   // 1 when keyboard and mouse are up; joystick trouble is only logged
int InitKeyboard();
int InitMouse();
int InitJoysticks();
void FreeInput();
void UpdateInput();      // keyboard, mouse, joysticks, then the quit key
void UpdateKeyboard();
void UpdateMouse();
void UpdateJoysticks();
void ClearInputState();  // every key, button and joystick entry up, now and before

// Keyboard
int GetKeyStatus(int key);
int GetPressedKey();     // lowest key pressed this frame, or -1
void ClearKeyboardState();
void SetQuitKey(int key);  // 0: no quit key; a key given while down closes after it went up
int GetQuitKey();

// Typed input, kept in order until taken however many polls run in between: every single-byte
// character typed (Enter, Backspace, Tab and Escape as 0x0D, 0x08, 0x09 and 0x1B), the keys that
// edit a text field (Left, Right, Delete) and input-method text as it was committed, so a field
// sees "a", Left, 日, Backspace exactly as they came. What comes while the queue is full is
// dropped, a committed text whole.
// GetTypedChar gives the oldest entry: a character sign-extended, an editing key as kTypedKey
// plus its code, a byte of committed text as kTypedText plus the byte; 0 when none waits.
constexpr int kTypedKey = 0x100;
constexpr int kTypedText = 0x200;
int GetTypedChar();
void SetTypedChar(int c);  // queues the byte; 0 is no character
void SetTypedKey(int key);
void SetTypedText(const char* sjis, int length);  // all of it, or none when it does not fit
int HasTypedChar();
void GetTypedText(std::string& out);  // the committed text waiting, without taking it
void ClearTypedChars();    // what was typed before a field opened is not the field's

// Mouse: position in the 640 x 480 frame, clamped to it.
int GetMouseButton(int button);
int GetMouseX();
int GetMouseY();
int GetMouseWheel();     // wheel movement reported by the last poll, 120 per notch
void GetMousePos(int* x, int* y);
void SetMousePos(int x, int y);

// Joysticks: read only after EnableJoysticks(1).
void EnableJoysticks(int on);
int GetJoystickCount();
int GetJoystickButton(int joystick, int entry);

// Message boxes that reset the input afterwards, so the key that answered is not seen again.
void ShowMessageBox(const char* text);
int AskYesNo(const char* text);  // 1 for Yes
