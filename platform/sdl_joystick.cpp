// Joysticks through SDL's joystick API: eight slots, filled at start-up and on hot-plug, freed
// when a joystick is pulled out. Axes are scaled to DirectInput's -1000..1000 range.
#include "sdl_input_local.h"
#include "sys_input.h"

namespace {

struct Slot {
    SDL_Joystick* joystick;
    SDL_JoystickID id;
};

bool g_ready = false;
Slot g_slots[kSysMaxJoysticks];
int g_removed = 0;  // bit per slot

// Handles the injection API holds on its virtual joysticks, so it can set their state.
constexpr int kMaxVirtual = kSysMaxJoysticks;
Slot g_virtual[kMaxVirtual];

int SlotOf(SDL_JoystickID id) {
    for (int i = 0; i < kSysMaxJoysticks; ++i)
        if (g_slots[i].joystick && g_slots[i].id == id) return i;
    return -1;
}

// Rounded both ways, so a value injected as 500 reads back as exactly 500.
int ScaleAxis(Sint16 v) {
    long r = ((long)v * kSysAxisRange * 2 + (v >= 0 ? 32767 : -32767)) / (2 * 32767);
    if (r > kSysAxisRange) r = kSysAxisRange;
    if (r < -kSysAxisRange) r = -kSysAxisRange;
    return (int)r;
}

Sint16 UnscaleAxis(int v) {
    if (v > kSysAxisRange) v = kSysAxisRange;
    if (v < -kSysAxisRange) v = -kSysAxisRange;
    long r = ((long)v * 32767 * 2 + (v >= 0 ? kSysAxisRange : -kSysAxisRange)) / (2 * kSysAxisRange);
    return (Sint16)r;
}

SDL_Joystick* VirtualHandle(int id) {
    for (Slot& v : g_virtual)
        if (v.joystick && v.id == id) return v.joystick;
    return nullptr;
}

}  // namespace

int SdlJoystickInit() {
    if (g_ready) return 1;
    // Pads are read whether the window has the focus or not: a battle goes on behind another
    // window, and a player's pad must not go dead there.
    SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
    if (!SdlInitSubsystem(SDL_INIT_JOYSTICK)) return 0;
    g_removed = 0;
    g_ready = true;
    return 1;
}

void SdlJoystickShutdown() {
    for (Slot& s : g_slots) {
        if (s.joystick) SDL_JoystickClose(s.joystick);
        s = Slot{};
    }
    g_removed = 0;
    g_ready = false;
}

void SdlJoystickEvent(const SDL_Event& e) {
    if (!g_ready) return;
    if (e.type == SDL_JOYDEVICEADDED) {
        SysJoystickOpen(e.jdevice.which);
    } else if (e.type == SDL_JOYDEVICEREMOVED) {
        int slot = SlotOf(e.jdevice.which);
        if (slot < 0) return;
        SDL_JoystickClose(g_slots[slot].joystick);
        g_slots[slot] = Slot{};
        g_removed |= 1 << slot;
    }
}

int SysJoystickDeviceCount() { return g_ready ? SDL_NumJoysticks() : 0; }

int SysJoystickOpen(int deviceIndex) {
    if (!g_ready || deviceIndex < 0 || deviceIndex >= SDL_NumJoysticks()) return -1;
    SDL_JoystickID id = SDL_JoystickGetDeviceInstanceID(deviceIndex);
    int slot = SlotOf(id);
    if (slot >= 0) return slot;  // start-up and the hot-plug event both name it
    for (int i = 0; i < kSysMaxJoysticks; ++i) {
        if (g_slots[i].joystick) continue;
        SDL_Joystick* js = SDL_JoystickOpen(deviceIndex);
        if (!js) return -1;
        g_slots[i] = {js, SDL_JoystickInstanceID(js)};
        g_removed &= ~(1 << i);
        return i;
    }
    return -1;
}

int SysJoystickSlotCount() {
    int n = 0;
    for (int i = 0; i < kSysMaxJoysticks; ++i)
        if (g_slots[i].joystick) n = i + 1;
    return n;
}

int SysJoystickPresent(int slot) {
    return slot >= 0 && slot < kSysMaxJoysticks && g_slots[slot].joystick ? 1 : 0;
}

int SysJoystickRead(int slot, int axes[kSysJoystickAxes], unsigned char buttons[kSysJoystickButtons]) {
    for (int a = 0; a < kSysJoystickAxes; ++a) axes[a] = 0;
    for (int b = 0; b < kSysJoystickButtons; ++b) buttons[b] = 0;
    if (!SysJoystickPresent(slot)) return 0;
    SDL_Joystick* js = g_slots[slot].joystick;
    int nAxes = SDL_JoystickNumAxes(js), nButtons = SDL_JoystickNumButtons(js);
    for (int a = 0; a < kSysJoystickAxes && a < nAxes; ++a) axes[a] = ScaleAxis(SDL_JoystickGetAxis(js, a));
    for (int b = 0; b < kSysJoystickButtons && b < nButtons; ++b)
        buttons[b] = SDL_JoystickGetButton(js, b) ? 0x80 : 0;
    return 1;
}

int SysJoystickTakeRemoved() {
    int r = g_removed;
    g_removed = 0;
    return r;
}

int SysAttachVirtualJoystick() {
    if (!SdlInitSubsystem(SDL_INIT_JOYSTICK)) return -1;
    for (Slot& v : g_virtual) {
        if (v.joystick) continue;
        int index = SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_GAMECONTROLLER, kSysJoystickAxes,
                                              kSysJoystickButtons, 0);
        if (index < 0) return -1;
        SDL_Joystick* js = SDL_JoystickOpen(index);
        if (!js) {
            SDL_JoystickDetachVirtual(index);
            return -1;
        }
        v = {js, SDL_JoystickInstanceID(js)};
        return v.id;
    }
    return -1;
}

void SysSetVirtualJoystick(int id, const int axes[kSysJoystickAxes],
                           const unsigned char buttons[kSysJoystickButtons]) {
    SDL_Joystick* js = VirtualHandle(id);
    if (!js) return;
    for (int a = 0; a < kSysJoystickAxes; ++a) SDL_JoystickSetVirtualAxis(js, a, UnscaleAxis(axes[a]));
    for (int b = 0; b < kSysJoystickButtons; ++b)
        SDL_JoystickSetVirtualButton(js, b, (buttons[b] & 0x80) ? SDL_PRESSED : SDL_RELEASED);
}

void SysDetachVirtualJoystick(int id) {
    for (Slot& v : g_virtual) {
        if (!v.joystick || v.id != id) continue;
        SDL_JoystickClose(v.joystick);
        v = Slot{};
        for (int i = 0; i < SDL_NumJoysticks(); ++i)
            if (SDL_JoystickGetDeviceInstanceID(i) == id) {
                SDL_JoystickDetachVirtual(i);
                break;
            }
        return;
    }
}
