// Keyboard and mouse from SDL events. The key state is our own, built from the events the pump
// delivers: SDL's keyboard array never sees pushed events, and the game wants every key up again
// after the window loses focus.
#include "sdl_input_local.h"
#include "sys_input.h"

#include <cmath>
#include <cstring>

namespace {

bool g_listening = false;
int g_frameWidth = 640, g_frameHeight = 480;
unsigned char g_keys[kSysKeyCount];
unsigned char g_buttons[kSysMouseButtons];
// A tap shorter than a frame goes down and up between two polls; it still reads as down on the
// next poll, so no press is lost. "Unseen" marks a press no poll has read yet.
unsigned char g_keyUnseen[kSysKeyCount], g_keyTapped[kSysKeyCount];
unsigned char g_buttonUnseen[kSysMouseButtons], g_buttonTapped[kSysMouseButtons];

void SetButton(unsigned char* state, unsigned char* unseen, unsigned char* tapped, int i, bool down) {
    if (down) {
        state[i] = 0x80;
        unseen[i] = 1;
    } else {
        state[i] = 0;
        if (unseen[i]) tapped[i] = 1;
    }
}

// Current state plus the taps no poll has seen; every press counts as seen afterwards.
void ReadButtons(unsigned char* out, unsigned char* state, unsigned char* unseen, unsigned char* tapped, int n) {
    for (int i = 0; i < n; ++i) {
        out[i] = (unsigned char)(state[i] | (tapped[i] ? 0x80 : 0));
        unseen[i] = tapped[i] = 0;
    }
}
int g_cursorX = 0, g_cursorY = 0;   // window pixels
int g_wheel = 0;                    // wheel units since the last read

// Where the frame sits in the window: scaled to fit, centred, black bars on the long sides.
struct FrameFit {
    double scale, left, top;
};

FrameFit FitFrame() {
    int w = g_frameWidth, h = g_frameHeight;
    if (SDL_Window* win = SdlGetWindow()) SDL_GetWindowSize(win, &w, &h);
    if (w <= 0 || h <= 0) return {1.0, 0.0, 0.0};
    double sx = (double)w / g_frameWidth, sy = (double)h / g_frameHeight;
    double s = sx < sy ? sx : sy;
    return {s, (w - g_frameWidth * s) / 2, (h - g_frameHeight * s) / 2};
}

int MouseButtonIndex(Uint8 sdlButton) {
    switch (sdlButton) {
        case SDL_BUTTON_LEFT: return 0;
        case SDL_BUTTON_RIGHT: return 1;
        case SDL_BUTTON_MIDDLE: return 2;
        case SDL_BUTTON_X1: return 3;
        default: return -1;
    }
}

Uint8 SdlMouseButton(int index) {
    static const Uint8 kButtons[kSysMouseButtons] = {SDL_BUTTON_LEFT, SDL_BUTTON_RIGHT, SDL_BUTTON_MIDDLE,
                                                     SDL_BUTTON_X1};
    return kButtons[index];
}

void ReleaseEverything() {
    memset(g_keys, 0, sizeof g_keys);
    memset(g_buttons, 0, sizeof g_buttons);
    memset(g_keyUnseen, 0, sizeof g_keyUnseen);
    memset(g_keyTapped, 0, sizeof g_keyTapped);
    memset(g_buttonUnseen, 0, sizeof g_buttonUnseen);
    memset(g_buttonTapped, 0, sizeof g_buttonTapped);
}

void OnEvent(const SDL_Event& e) {
    switch (e.type) {
        case SDL_KEYDOWN:
        case SDL_KEYUP: {
            int key = SysScancodeToKey(e.key.keysym.scancode);
            if (key > 0 && key < kSysKeyCount) SetButton(g_keys, g_keyUnseen, g_keyTapped, key, e.type == SDL_KEYDOWN);
            break;
        }
        case SDL_MOUSEMOTION:
            g_cursorX = e.motion.x;
            g_cursorY = e.motion.y;
            break;
        case SDL_MOUSEBUTTONDOWN:
        case SDL_MOUSEBUTTONUP: {
            int b = MouseButtonIndex(e.button.button);
            if (b >= 0) SetButton(g_buttons, g_buttonUnseen, g_buttonTapped, b, e.type == SDL_MOUSEBUTTONDOWN);
            break;
        }
        case SDL_MOUSEWHEEL: {
            int y = e.wheel.direction == SDL_MOUSEWHEEL_FLIPPED ? -e.wheel.y : e.wheel.y;
            g_wheel += y * kSysWheelNotch;
            break;
        }
        case SDL_WINDOWEVENT:
            // Nothing pressed while another window had the focus counts once the game is back.
            if (e.window.event == SDL_WINDOWEVENT_FOCUS_LOST || e.window.event == SDL_WINDOWEVENT_FOCUS_GAINED)
                ReleaseEverything();
            break;
        default:
            SdlJoystickEvent(e);
            break;
    }
}

Uint32 WindowId() {
    SDL_Window* win = SdlGetWindow();
    return win ? SDL_GetWindowID(win) : 0;
}

void Push(SDL_Event& e) { SDL_PushEvent(&e); }

// The modifier keys held down by injection, carried in each injected key event as the desktop
// carries the keyboard's.
Uint16 g_injectedMod = KMOD_NONE;

Uint16 ModifierBit(SDL_Scancode scancode) {
    switch (scancode) {
        case SDL_SCANCODE_LSHIFT: return KMOD_LSHIFT;
        case SDL_SCANCODE_RSHIFT: return KMOD_RSHIFT;
        case SDL_SCANCODE_LCTRL: return KMOD_LCTRL;
        case SDL_SCANCODE_RCTRL: return KMOD_RCTRL;
        case SDL_SCANCODE_LALT: return KMOD_LALT;
        case SDL_SCANCODE_RALT: return KMOD_RALT;
        default: return KMOD_NONE;
    }
}

}  // namespace

int SysInputInit(int frameWidth, int frameHeight) {
    g_frameWidth = frameWidth > 0 ? frameWidth : 640;
    g_frameHeight = frameHeight > 0 ? frameHeight : 480;
    if (!SdlInitSubsystem(SDL_INIT_EVENTS)) return 0;
    ReleaseEverything();
    g_wheel = 0;
    SdlAddEventListener(OnEvent);
    g_listening = true;
    SdlJoystickInit();  // no joystick support is no failure: the game runs without pads
    SdlTextInputInit();
    return 1;
}

void SysInputShutdown() {
    if (!g_listening) return;
    SdlTextInputShutdown();
    SdlJoystickShutdown();
    SdlRemoveEventListener(OnEvent);
    g_listening = false;
    ReleaseEverything();
}

void SysGetKeyboardState(unsigned char keys[kSysKeyCount]) {
    ReadButtons(keys, g_keys, g_keyUnseen, g_keyTapped, kSysKeyCount);
}

void SysClearKeyboardState() {
    memset(g_keys, 0, sizeof g_keys);
    memset(g_keyUnseen, 0, sizeof g_keyUnseen);
    memset(g_keyTapped, 0, sizeof g_keyTapped);
}

void SysGetMouseState(int* x, int* y, unsigned char buttons[kSysMouseButtons], int* wheel) {
    FrameFit fit = FitFrame();
    if (x) *x = (int)std::floor((g_cursorX - fit.left) / fit.scale);
    if (y) *y = (int)std::floor((g_cursorY - fit.top) / fit.scale);
    if (buttons) ReadButtons(buttons, g_buttons, g_buttonUnseen, g_buttonTapped, kSysMouseButtons);
    if (wheel) *wheel = g_wheel;
    g_wheel = 0;
}

void SdlFrameToWindow(int x, int y, int* wx, int* wy) {
    FrameFit fit = FitFrame();
    *wx = (int)std::lround(fit.left + x * fit.scale);
    *wy = (int)std::lround(fit.top + y * fit.scale);
}

void SysSetMousePos(int x, int y) {
    SdlFrameToWindow(x, y, &g_cursorX, &g_cursorY);
    if (SDL_Window* win = SdlGetWindow()) SDL_WarpMouseInWindow(win, g_cursorX, g_cursorY);
}

void SysShowCursor(int show) { SDL_ShowCursor(show ? SDL_ENABLE : SDL_DISABLE); }

void SysInjectKey(int key, int down) {
    int scancode = SysKeyToScancode(key);
    if (!scancode) return;
    SDL_Event e{};
    e.type = down ? SDL_KEYDOWN : SDL_KEYUP;
    e.key.windowID = WindowId();
    e.key.state = down ? SDL_PRESSED : SDL_RELEASED;
    e.key.keysym.scancode = (SDL_Scancode)scancode;
    e.key.keysym.sym = SDL_GetKeyFromScancode((SDL_Scancode)scancode);
    Uint16 bit = ModifierBit((SDL_Scancode)scancode);
    g_injectedMod = (Uint16)(down ? g_injectedMod | bit : g_injectedMod & ~bit);
    e.key.keysym.mod = g_injectedMod;
    e.key.repeat = down && g_keys[key] ? 1 : 0;  // a key already down repeats, as the desktop's do
    Push(e);
}

void SysInjectMouseMove(int x, int y) {
    SDL_Event e{};
    e.type = SDL_MOUSEMOTION;
    e.motion.windowID = WindowId();
    SdlFrameToWindow(x, y, &e.motion.x, &e.motion.y);
    Push(e);
}

void SysInjectMouseButton(int button, int down) {
    if (button < 0 || button >= kSysMouseButtons) return;
    SDL_Event e{};
    e.type = down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
    e.button.windowID = WindowId();
    e.button.button = SdlMouseButton(button);
    e.button.state = down ? SDL_PRESSED : SDL_RELEASED;
    e.button.clicks = 1;
    Push(e);
}

void SysInjectMouseWheel(int notches) {
    SDL_Event e{};
    e.type = SDL_MOUSEWHEEL;
    e.wheel.windowID = WindowId();
    e.wheel.y = notches;
    e.wheel.preciseY = (float)notches;
    e.wheel.direction = SDL_MOUSEWHEEL_NORMAL;
    Push(e);
}

void SysInjectFocus(int gained) {
    SDL_Event e{};
    e.type = SDL_WINDOWEVENT;
    e.window.windowID = WindowId();
    e.window.event = gained ? SDL_WINDOWEVENT_FOCUS_GAINED : SDL_WINDOWEVENT_FOCUS_LOST;
    Push(e);
}

void SysInjectQuit() {
    SDL_Event e{};
    e.type = SDL_QUIT;
    Push(e);
}
