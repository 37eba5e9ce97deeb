// The input devices' start-up and shut-down, the per-frame poll of keyboard and mouse, the quit
// key and the queries. Joysticks are in input_joystick.cpp.
#include "input_state.h"

#include "debug_log.h"
#include "engine.h"

#include "sys_input.h"
#include "sys_text_input.h"
#include "sys_window.h"

#include <cstring>

InputState g_input;

namespace {

int g_inputStarted = 0;

void ShowStartupError(const char* text) { SysMessageBox("エラー", text); }

int Clamp(int v, int lo, int hi) { return v < lo ? lo : (v > hi ? hi : v); }

}  // namespace

int InitDirectInput() {
    DebugSeparator();
    LogPrintf("InitDirectInput\n");
    if (!SysInputInit(kScreenWidth, kScreenHeight)) {
        ShowStartupError("DirectInputが初期化できませんでした.");
        return 0;
    }
    g_inputStarted = 1;
    memset(&g_input, 0, sizeof g_input);
    return InitKeyboard() && InitMouse() && InitJoysticks();
}

int InitKeyboard() {
    SysClearKeyboardState();
    SysSetTypingHandlers(SetTypedChar, SetTypedKey, SetTypedText);
    g_input.quitKey = kKeyEscape;
    return 1;
}

int InitMouse() {
    if (!g_windowed) SysShowCursor(0);
    SetMousePos(g_clientWidth / 2, g_clientHeight / 2);
    return 1;
}

void FreeInput() {
    if (!g_inputStarted) return;
    DebugSeparator();
    LogPrintf("FreeInput\n");
    SysSetTypingHandlers(nullptr, nullptr, nullptr);
    SysInputShutdown();
    SysShowCursor(1);
    g_input.joystickCount = 0;
    g_inputStarted = 0;
}

void UpdateInput() {
    UpdateKeyboard();
    UpdateMouse();
    UpdateJoysticks();
    if (!g_input.quitKey) return;
    if (!(g_input.keys[g_input.quitKey] & 0x80))
        g_input.quitKeyHeldOver = 0;
    else if (!g_input.quitKeyHeldOver)
        CloseMainWindow();
}

void UpdateKeyboard() {
    memcpy(g_input.prevKeys, g_input.keys, sizeof g_input.keys);
    SysGetKeyboardState(g_input.keys);
}

void UpdateMouse() {
    int x = 0, y = 0, wheel = 0;
    memcpy(g_input.prevButtons, g_input.buttons, sizeof g_input.buttons);
    SysGetMouseState(&x, &y, g_input.buttons, &wheel);
    // The cursor can be over the bars beside the frame or outside the window: the game only
    // ever sees a point of its own frame.
    g_input.cursorX = Clamp(x, 0, kScreenWidth);
    g_input.cursorY = Clamp(y, 0, kScreenHeight);
    g_input.wheel = wheel;
}

void ClearInputState() {
    memset(g_input.keys, 0, sizeof g_input.keys);
    memset(g_input.prevKeys, 0, sizeof g_input.prevKeys);
    memset(g_input.buttons, 0, sizeof g_input.buttons);
    memset(g_input.prevButtons, 0, sizeof g_input.prevButtons);
    memset(g_input.joy, 0, sizeof g_input.joy);
    memset(g_input.prevJoy, 0, sizeof g_input.prevJoy);
}

int GetKeyStatus(int key) {
    if (key < 0 || key >= kKeyCount) return kButtonUp;
    return FourState(g_input.keys[key], g_input.prevKeys[key]);
}

int GetPressedKey() {
    for (int k = 0; k < kKeyCount; ++k)
        if (GetKeyStatus(k) == kButtonPressed) return k;
    return -1;
}

void ClearKeyboardState() { memset(g_input.keys, 0, sizeof g_input.keys); }

void SetQuitKey(int key) {
    g_input.quitKey = key > 0 && key < kKeyCount ? (unsigned char)key : 0;
    // A text field gives Escape back on the frame that Escape ended it, while the key is still
    // down for some frames more: that press was the field's, and only a new one closes.
    g_input.quitKeyHeldOver = g_input.quitKey && (g_input.keys[g_input.quitKey] & 0x80) ? 1 : 0;
}

int GetQuitKey() { return g_input.quitKey; }

namespace {

// What an entry of the typed queue holds besides its byte.
enum { kEntryChar = 0, kEntryKey = 1, kEntryText = 2 };

int TypedRoom() { return kTypedCharQueue - g_input.typedCount; }

// Nothing is taken out by the platform's handlers, so a fixed ring.
void PushTyped(int kind, unsigned char byte) {
    g_input.typed[(g_input.typedFirst + g_input.typedCount) % kTypedCharQueue] = (unsigned short)(kind << 8 | byte);
    ++g_input.typedCount;
}

}  // namespace

int GetTypedChar() {
    if (g_input.typedCount <= 0) return 0;
    const unsigned short entry = g_input.typed[g_input.typedFirst];
    g_input.typedFirst = (g_input.typedFirst + 1) % kTypedCharQueue;
    --g_input.typedCount;
    const int byte = entry & 0xFF;
    switch (entry >> 8) {
        case kEntryKey: return kTypedKey + byte;
        case kEntryText: return kTypedText + byte;
        default: return (signed char)byte;
    }
}

void SetTypedChar(int c) {
    if ((c & 0xFF) == 0 || TypedRoom() < 1) return;
    PushTyped(kEntryChar, (unsigned char)c);
}

void SetTypedKey(int key) {
    if (key <= 0 || key >= kKeyCount || TypedRoom() < 1) return;
    PushTyped(kEntryKey, (unsigned char)key);
}

// Half a character, or half of what the input method committed, would put into a field text
// the person never chose: a text that does not fit goes whole.
void SetTypedText(const char* sjis, int length) {
    if (!sjis || length <= 0 || length > TypedRoom()) return;
    for (int i = 0; i < length; ++i) PushTyped(kEntryText, (unsigned char)sjis[i]);
}

int HasTypedChar() { return g_input.typedCount > 0 ? 1 : 0; }

void GetTypedText(std::string& out) {
    out.clear();
    for (int i = 0; i < g_input.typedCount; ++i) {
        const unsigned short entry = g_input.typed[(g_input.typedFirst + i) % kTypedCharQueue];
        if (entry >> 8 == kEntryText) out += (char)(entry & 0xFF);
    }
}

void ClearTypedChars() {
    g_input.typedFirst = 0;
    g_input.typedCount = 0;
}

int GetMouseButton(int button) {
    if (button < 0 || button >= kMouseButtonCount) return kButtonUp;
    return FourState(g_input.buttons[button], g_input.prevButtons[button]);
}

int GetMouseX() { return g_input.cursorX; }
int GetMouseY() { return g_input.cursorY; }
int GetMouseWheel() { return g_input.wheel; }

void GetMousePos(int* x, int* y) {
    if (x) *x = g_input.cursorX;
    if (y) *y = g_input.cursorY;
}

void SetMousePos(int x, int y) { SysSetMousePos(x, y); }

void ShowMessageBox(const char* text) {
    SysMessageBox("", text);
    ClearInputState();
}

int AskYesNo(const char* text) {
    int yes = SysAskYesNo("", text);
    ClearInputState();
    return yes;
}
