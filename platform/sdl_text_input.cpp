// Typed characters and input-method text. While a text field is open for typing, SDL's text
// input is on: the desktop's input method sees the keys, and text events carry what was typed.
// A text event of one single-byte character that comes right after the key-down of a key that
// types is typing, and so is one that neither ends a composition nor holds double-byte
// characters: its characters are handed on one at a time, in the order typed, among the control
// characters of Enter, Backspace, Tab and Escape and the editing keys. Any other text event is
// input-method text, handed on whole.
// While no field is open, text input is off so that an input method in Japanese mode cannot
// swallow the game's keys; the typed character then comes from each key-down.
#include "sdl_input_local.h"
#include "sys_input.h"
#include "sys_text.h"
#include "sys_text_input.h"
#include "sys_window.h"

#include <cstring>

namespace {

bool g_active = false;
bool g_typing = false;      // a text field is open: text input should be on
void (*g_onChar)(int) = nullptr;
void (*g_onKey)(int) = nullptr;
void (*g_onText)(const char*, int) = nullptr;
int g_open = 0;
std::string g_composition;  // Shift-JIS
int g_converted = 0;
bool g_changed = false;
// A composition was showing at some time during this pump: the desktop may end a composition
// before it sends the committed text.
bool g_composedThisPump = false;
SDL_Rect g_caret = {-1, -1, 0, 0};

// The keys that came while a composition showed, waiting for its end. The input methods SDL
// speaks to over D-Bus (IBus, fcitx) keep every key they use, with no key-down at all, and a pump
// brings all of its keys, with the text of those that type, before the input method's edits and
// commits of the same pump: a key that comes while a composition still shows was pressed after
// the composition had ended, and its commit is still to come. One that is still waiting when the
// next pump begins was the input method's, let through while it composed.
struct HeldKey {
    int c;    // control or typed character, or 0
    int key;  // editing key, or 0
};
constexpr int kHeldKeys = 64;
HeldKey g_held[kHeldKeys];
int g_heldCount = 0;

// The last event was the key-down of a key that types: SDL sends a key's text right after its
// key-down, while an input method's commit comes with no key-down of its own. Not every such key
// sends text: the middle key of a desktop compose sequence goes down with none, and a commit can
// come right after it. A key types one single-byte character, so longer text is still a commit.
bool g_typingKeyWasDown = false;

void OnPumpStart() {
    g_composedThisPump = !g_composition.empty();
    g_heldCount = 0;
}

bool HasDoubleByte(const std::string& s) {
    for (size_t i = 0; i < s.size(); i += SjisCharLength(s.data(), s.size(), i))
        if (SjisCharLength(s.data(), s.size(), i) == 2) return true;
    return false;
}

void HandOnKey(const HeldKey& k) {
    if (k.c && g_onChar) g_onChar(k.c);
    if (k.key && g_onKey) g_onKey(k.key);
}

void Hold(const HeldKey& k) {
    if (g_heldCount < kHeldKeys) g_held[g_heldCount++] = k;
}

void HandOnHeldKeys() {
    for (int i = 0; i < g_heldCount; ++i) HandOnKey(g_held[i]);
    g_heldCount = 0;
}

bool TextInputOn() { return SDL_IsTextInputActive() == SDL_TRUE; }

void ForgetComposition() {
    if (!g_composition.empty()) g_changed = true;
    g_composition.clear();
    g_converted = 0;
    g_composedThisPump = false;
    g_heldCount = 0;
}

// Text input follows the fields; switching it either way drops a composition in progress, since
// the desktop's input method drops it too.
void ApplyTextInput() {
    if (!g_active || g_typing == TextInputOn()) return;
    if (g_typing)
        SDL_StartTextInput();
    else
        SDL_StopTextInput();
    ForgetComposition();
}

void OnEditing(const char* utf8, int selected) {
    if (!TextInputOn()) return;
    std::string text = Utf8ToSjis(utf8 ? utf8 : "");
    int converted = !text.empty() && selected > 0 ? 1 : 0;
    if (text != g_composition || converted != g_converted) g_changed = true;
    g_composition = text;
    g_converted = converted;
    if (!text.empty()) g_composedThisPump = true;
    else HandOnHeldKeys();  // ended without a commit: cancelled
}

void OnText(const char* utf8, bool typed) {
    if (!TextInputOn()) return;
    std::string text = Utf8ToSjis(utf8 ? utf8 : "");
    if (text.empty()) return;
    if (typed && text.size() == 1) {
        if (!g_composition.empty())
            Hold({(unsigned char)text[0], 0});
        else
            HandOnKey({(unsigned char)text[0], 0});
        return;
    }
    if (!g_composition.empty() || g_composedThisPump || HasDoubleByte(text)) {
        if (g_onText) g_onText(text.data(), (int)text.size());
        g_composition.clear();
        g_converted = 0;
        g_changed = true;
        g_composedThisPump = true;
        HandOnHeldKeys();
        return;
    }
    if (g_onChar)
        for (unsigned char c : text) g_onChar(c);
}

// The control characters the desktop's keyboard translation also types for these keys (Enter,
// Backspace, Tab, Escape). SDL sends no text for them, yet they must take their place among the
// characters typed, so that a field sees "ab", Backspace, "c" in that order.
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

// Layouts differ in what Shift types on the digit and punctuation keys; the two the players of
// this game are likely to have are told apart by the key beside P.
struct ShiftPair {
    char plain, shifted;
};
const ShiftPair kShiftUs[] = {{'`', '~'}, {'1', '!'}, {'2', '@'}, {'3', '#'}, {'4', '$'}, {'5', '%'},
                              {'6', '^'}, {'7', '&'}, {'8', '*'}, {'9', '('}, {'0', ')'}, {'-', '_'},
                              {'=', '+'}, {'[', '{'}, {']', '}'}, {'\\', '|'}, {';', ':'}, {'\'', '"'},
                              {',', '<'}, {'.', '>'}, {'/', '?'}};
const ShiftPair kShiftJp[] = {{'1', '!'}, {'2', '"'}, {'3', '#'}, {'4', '$'}, {'5', '%'}, {'6', '&'},
                              {'7', '\''}, {'8', '('}, {'9', ')'}, {'-', '='}, {'^', '~'}, {'\\', '|'},
                              {'@', '`'}, {'[', '{'}, {';', '+'}, {':', '*'}, {']', '}'}, {',', '<'},
                              {'.', '>'}, {'/', '?'}};

bool IsJapaneseLayout() { return SDL_GetKeyFromScancode(SDL_SCANCODE_LEFTBRACKET) == SDLK_AT; }

int Shifted(int c, SDL_Scancode scancode) {
    if (IsJapaneseLayout()) {
        if (scancode == SDL_SCANCODE_INTERNATIONAL1) return '_';  // the key left of right Shift
        for (const ShiftPair& p : kShiftJp)
            if (p.plain == c) return p.shifted;
        return c == '0' ? 0 : c;
    }
    for (const ShiftPair& p : kShiftUs)
        if (p.plain == c) return p.shifted;
    return c;
}

int KeypadChar(SDL_Keycode sym, bool numLock) {
    switch (sym) {
        case SDLK_KP_DIVIDE: return '/';
        case SDLK_KP_MULTIPLY: return '*';
        case SDLK_KP_MINUS: return '-';
        case SDLK_KP_PLUS: return '+';
        case SDLK_KP_PERIOD: return numLock ? '.' : 0;
        case SDLK_KP_0: return numLock ? '0' : 0;
        default: break;
    }
    if (numLock && sym >= SDLK_KP_1 && sym <= SDLK_KP_9) return '1' + (int)(sym - SDLK_KP_1);
    return 0;
}

// The single-byte character a key types with the given modifiers, as the keyboard's layout
// prints it; 0 for a key that types nothing. Alt and Ctrl combinations are commands, not text.
int KeyChar(SDL_Keycode sym, SDL_Scancode scancode, Uint16 mod) {
    if (int c = ControlChar(scancode)) return c;
    if (mod & (KMOD_CTRL | KMOD_ALT | KMOD_GUI)) return 0;
    bool shift = (mod & KMOD_SHIFT) != 0;
    if (sym >= 'a' && sym <= 'z') return shift != ((mod & KMOD_CAPS) != 0) ? (int)sym - 'a' + 'A' : (int)sym;
    if (sym >= 0x20 && sym < 0x7F) return shift ? Shifted((int)sym, scancode) : (int)sym;
    return KeypadChar(sym, (mod & KMOD_NUM) != 0);
}

// The keys that edit a text field without typing a character.
bool IsEditingKey(SDL_Scancode scancode) {
    return scancode == SDL_SCANCODE_LEFT || scancode == SDL_SCANCODE_RIGHT || scancode == SDL_SCANCODE_DELETE;
}

void OnKeyDown(const SDL_KeyboardEvent& key) {
    const int typed = KeyChar(key.keysym.sym, key.keysym.scancode, key.keysym.mod);
    // With text input on the text event brings every typed character but these.
    const int c = TextInputOn() ? ControlChar(key.keysym.scancode) : typed;
    g_typingKeyWasDown = TextInputOn() && !c && typed;
    // A held Enter or Escape repeats its key-down; a field opened by the first press must not be
    // ended by the repeats.
    if (key.repeat && (c == 0x0D || c == 0x1B)) return;
    const int editing = !c && IsEditingKey(key.keysym.scancode) ? SysScancodeToKey(key.keysym.scancode) : 0;
    if (!c && !editing) return;
    if (TextInputOn() && !g_composition.empty()) {
        Hold({c, editing});
        return;
    }
    HandOnKey({c, editing});
}

void OnEvent(const SDL_Event& e) {
    const bool afterTypingKey = g_typingKeyWasDown;
    g_typingKeyWasDown = false;
    switch (e.type) {
        case SDL_KEYDOWN:
            OnKeyDown(e.key);
            break;
        case SDL_TEXTINPUT:
            OnText(e.text.text, afterTypingKey);
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
    g_composition.clear();
    g_converted = 0;
    g_changed = false;
    g_composedThisPump = false;
    g_heldCount = 0;
    g_typingKeyWasDown = false;
    g_caret = {-1, -1, 0, 0};
    SdlAddEventListener(OnEvent);
    SysAddPumpHook(OnPumpStart);
    g_active = true;
    // SDL starts with text input on; it stays on only while a field is open.
    if (TextInputOn() != g_typing) {
        if (g_typing)
            SDL_StartTextInput();
        else
            SDL_StopTextInput();
    }
}

void SdlTextInputShutdown() {
    if (!g_active) return;
    SdlRemoveEventListener(OnEvent);
    SysRemovePumpHook(OnPumpStart);
    g_active = false;
}

void SysSetTypingHandlers(void (*onChar)(int byte), void (*onKey)(int key),
                          void (*onText)(const char* sjis, int length)) {
    g_onChar = onChar;
    g_onKey = onKey;
    g_onText = onText;
}

void SysTextInputSetActive(int on) {
    g_typing = on != 0;
    ApplyTextInput();
}

int SysTextInputIsActive() { return g_active && TextInputOn() ? 1 : 0; }

void SysImeSetOpen(int open) { g_open = open ? 1 : 0; }

int SysImeIsOpen() { return g_open || !g_composition.empty() ? 1 : 0; }

std::string SysImeComposition() { return g_composition; }

int SysImeIsConverted() { return g_converted; }

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

// The key, and whether Shift is needed, that types c on the current layout; false for none.
bool KeyForChar(int c, SDL_Scancode* scancode, bool* shift) {
    for (int sc = SDL_SCANCODE_A; sc < SDL_NUM_SCANCODES; ++sc) {
        if (!SysScancodeToKey(sc)) continue;
        SDL_Keycode sym = SDL_GetKeyFromScancode((SDL_Scancode)sc);
        for (int withShift = 0; withShift < 2; ++withShift)
            if (KeyChar(sym, (SDL_Scancode)sc, withShift ? KMOD_LSHIFT : KMOD_NONE) == c) {
                *scancode = (SDL_Scancode)sc;
                *shift = withShift != 0;
                return true;
            }
    }
    return false;
}

void InjectTypedKeys(const std::string& sjis) {
    constexpr int kLeftShift = 0x2A;
    for (unsigned char c : sjis) {
        SDL_Scancode sc;
        bool shift;
        if (c >= 0x80 || !KeyForChar(c, &sc, &shift)) continue;
        int key = SysScancodeToKey(sc);
        if (shift) SysInjectKey(kLeftShift, 1);
        SysInjectKey(key, 1);
        SysInjectKey(key, 0);
        if (shift) SysInjectKey(kLeftShift, 0);
    }
}

void SysInjectText(const char* sjis) {
    if (!SysTextInputIsActive()) {
        InjectTypedKeys(sjis ? sjis : "");
        return;
    }
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
