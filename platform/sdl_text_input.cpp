// Typed characters and input-method text from SDL's text-input and text-editing events. A text
// event that ends a composition, or that holds double-byte characters, is input-method text; any
// other is typing, handed on one single-byte character at a time as WM_CHAR did, together with
// the control characters of Enter, Backspace, Tab and Escape.
#include "sdl_input_local.h"
#include "sys_text.h"
#include "sys_text_input.h"
#include "sys_window.h"

#include <cstring>

namespace {

bool g_active = false;
void (*g_onChar)(int) = nullptr;
int g_open = 0;
std::string g_composition;  // Shift-JIS
int g_converted = 0;
std::string g_result;       // Shift-JIS, committed and not yet taken
bool g_changed = false;
// A composition was showing at some time during this pump: the desktop may end a composition
// before it sends the committed text.
bool g_composedThisPump = false;
SDL_Rect g_caret = {-1, -1, 0, 0};

void OnPumpStart() { g_composedThisPump = !g_composition.empty(); }

void OnEditing(const char* utf8, int selected) {
    std::string text = Utf8ToSjis(utf8 ? utf8 : "");
    int converted = !text.empty() && selected > 0 ? 1 : 0;
    if (text != g_composition || converted != g_converted) g_changed = true;
    g_composition = text;
    g_converted = converted;
    if (!text.empty()) g_composedThisPump = true;
}

bool HasDoubleByte(const std::string& s) {
    for (size_t i = 0; i < s.size(); i += SjisCharLength(s.data(), s.size(), i))
        if (SjisCharLength(s.data(), s.size(), i) == 2) return true;
    return false;
}

void OnText(const char* utf8) {
    std::string text = Utf8ToSjis(utf8 ? utf8 : "");
    if (text.empty()) return;
    if (!g_composition.empty() || g_composedThisPump || HasDoubleByte(text)) {
        g_result += text;
        g_composition.clear();
        g_converted = 0;
        g_changed = true;
        g_composedThisPump = true;
        return;
    }
    if (g_onChar)
        for (unsigned char c : text) g_onChar(c);
}

// The control characters the desktop's keyboard translation also types for these keys (Enter,
// Backspace, Tab, Escape). SDL sends no text for them, yet they must replace a character still
// waiting in the latch, or a letter typed long before turns up at the next Backspace.
int ControlChar(SDL_Scancode scancode) {
    switch (scancode) {
        case SDL_SCANCODE_RETURN:
        case SDL_SCANCODE_KP_ENTER: return 0x0D;
        case SDL_SCANCODE_BACKSPACE: return 0x08;
        case SDL_SCANCODE_TAB: return 0x09;
        case SDL_SCANCODE_ESCAPE: return 0x1B;
        default: return 0;
    }
}

void OnKeyDown(const SDL_KeyboardEvent& key) {
    // A key the input method takes while composing types nothing.
    if (!g_composition.empty() || g_composedThisPump) return;
    int c = ControlChar(key.keysym.scancode);
    if (c && g_onChar) g_onChar(c);
}

void OnEvent(const SDL_Event& e) {
    switch (e.type) {
        case SDL_KEYDOWN:
            OnKeyDown(e.key);
            break;
        case SDL_TEXTINPUT:
            OnText(e.text.text);
            break;
        case SDL_TEXTEDITING:
            OnEditing(e.edit.text, e.edit.length);
            break;
        case SDL_TEXTEDITING_EXT:
            OnEditing(e.editExt.text, e.editExt.length);
            SDL_free(e.editExt.text);  // the receiver owns the long text
            break;
        default:
            break;
    }
}

// Number of UTF-8 bytes of s that fit in max bytes without splitting a character.
size_t Utf8Cut(const char* s, size_t len, size_t max) {
    if (len <= max) return len;
    size_t cut = max;
    while (cut > 0 && ((unsigned char)s[cut] & 0xC0) == 0x80) --cut;
    return cut;
}

Uint32 WindowId() {
    SDL_Window* win = SdlGetWindow();
    return win ? SDL_GetWindowID(win) : 0;
}

}  // namespace

void SdlTextInputInit() {
    if (g_active) return;
    // Long compositions arrive whole instead of cut at 32 bytes.
    SDL_SetHint(SDL_HINT_IME_SUPPORT_EXTENDED_TEXT, "1");
    if (!SDL_IsTextInputActive()) SDL_StartTextInput();
    g_composition.clear();
    g_result.clear();
    g_converted = 0;
    g_changed = false;
    g_composedThisPump = false;
    g_caret = {-1, -1, 0, 0};
    SdlAddEventListener(OnEvent);
    SysAddPumpHook(OnPumpStart);
    g_active = true;
}

void SdlTextInputShutdown() {
    if (!g_active) return;
    SdlRemoveEventListener(OnEvent);
    SysRemovePumpHook(OnPumpStart);
    g_active = false;
}

void SysSetCharHandler(void (*onChar)(int byte)) { g_onChar = onChar; }

void SysImeSetOpen(int open) { g_open = open ? 1 : 0; }

int SysImeIsOpen() { return g_open || !g_composition.empty() ? 1 : 0; }

std::string SysImeComposition() { return g_composition; }

int SysImeIsConverted() { return g_converted; }

std::string SysImeResult() { return g_result; }

void SysImeClearResult() { g_result.clear(); }

int SysImeChanged() {
    bool changed = g_changed;
    g_changed = false;
    return changed ? 1 : 0;
}

void SysImeSetCaret(int x, int y, int height) {
    SDL_Rect r;
    int x2, y2;
    SdlFrameToWindow(x, y, &r.x, &r.y);
    SdlFrameToWindow(x + height, y + height, &x2, &y2);
    r.w = x2 - r.x;
    r.h = y2 - r.y;
    if (memcmp(&r, &g_caret, sizeof r) == 0) return;
    g_caret = r;
    SDL_SetTextInputRect(&r);
}

void SysInjectText(const char* sjis) {
    std::string utf8 = SjisToUtf8(sjis ? sjis : "");
    size_t pos = 0;
    while (pos < utf8.size()) {
        SDL_Event e{};
        e.type = SDL_TEXTINPUT;
        e.text.windowID = WindowId();
        size_t n = Utf8Cut(utf8.data() + pos, utf8.size() - pos, sizeof e.text.text - 1);
        if (n == 0) break;
        memcpy(e.text.text, utf8.data() + pos, n);
        SDL_PushEvent(&e);
        pos += n;
    }
}

void SysInjectComposition(const char* sjis, int converted) {
    std::string utf8 = SjisToUtf8(sjis ? sjis : "");
    Sint32 chars = 0;
    for (unsigned char c : utf8)
        if ((c & 0xC0) != 0x80) ++chars;
    SDL_Event e{};
    if (utf8.size() < sizeof e.edit.text) {
        e.type = SDL_TEXTEDITING;
        e.edit.windowID = WindowId();
        memcpy(e.edit.text, utf8.data(), utf8.size());
        e.edit.start = chars;
        e.edit.length = converted ? chars : 0;
    } else {
        e.type = SDL_TEXTEDITING_EXT;
        e.editExt.windowID = WindowId();
        e.editExt.text = SDL_strdup(utf8.c_str());
        e.editExt.start = chars;
        e.editExt.length = converted ? chars : 0;
    }
    SDL_PushEvent(&e);
}
