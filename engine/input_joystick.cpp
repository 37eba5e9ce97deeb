// Up to eight joysticks: axes past half deflection and the first eight buttons become the
// fourteen entries the pads read.
#include "input_state.h"

#include "debug_log.h"

#include "sys_input.h"

#include <cstring>

int InitJoysticks() {
    g_input.joystickCount = 0;
    int devices = SysJoystickDeviceCount();
    for (int d = 0; d < devices && g_input.joystickCount < kMaxJoysticks; ++d) {
        if (SysJoystickOpen(d) < 0)
            LogPrintf("ジョイスティック[%d]が初期化できません.\n", g_input.joystickCount);
        else
            g_input.joystickCount = SysJoystickSlotCount();
    }
    if (g_input.joystickCount == 0) return 1;
    LogPrintf("ジョイスティック数 = %d\n", g_input.joystickCount);
    return 1;
}

void UpdateJoysticks() {
    g_input.joystickCount = SysJoystickSlotCount();  // joysticks come and go between frames
    if (!g_input.joysticksEnabled) return;
    memcpy(g_input.prevJoy, g_input.joy, sizeof g_input.joy);
    int removed = SysJoystickTakeRemoved();
    for (int i = 0; i < kMaxJoysticks; ++i) {
        // A pulled-out joystick reads as released, not as stuck in its last state.
        if (removed & (1 << i)) LogPrintf("ジョイスティック[%d]のアクセス権を失いました.\n", i);
        int axes[kSysJoystickAxes];
        unsigned char buttons[kSysJoystickButtons];
        unsigned char* e = g_input.joy[i];
        if (!SysJoystickRead(i, axes, buttons)) {
            memset(e, 0, kJoystickEntryCount);
            continue;
        }
        e[0] = axes[1] < -kJoystickThreshold ? 0x80 : 0;
        e[1] = axes[1] > kJoystickThreshold ? 0x80 : 0;
        e[2] = axes[0] < -kJoystickThreshold ? 0x80 : 0;
        e[3] = axes[0] > kJoystickThreshold ? 0x80 : 0;
        e[4] = axes[2] < -kJoystickThreshold ? 0x80 : 0;
        e[5] = axes[2] > kJoystickThreshold ? 0x80 : 0;
        for (int b = 0; b < kSysJoystickButtons; ++b) e[6 + b] = buttons[b];
    }
}

void EnableJoysticks(int on) {
    g_input.joysticksEnabled = on ? 1 : 0;
    if (on) return;
    // Previous entries go too: a disabled joystick must not read "released" for ever.
    memset(g_input.joy, 0, sizeof g_input.joy);
    memset(g_input.prevJoy, 0, sizeof g_input.prevJoy);
}

int GetJoystickCount() { return g_input.joystickCount; }

int GetJoystickButton(int joystick, int entry) {
    if (joystick < 0 || joystick >= kMaxJoysticks || entry < 0 || entry >= kJoystickEntryCount) return kButtonUp;
    return FourState(g_input.joy[joystick][entry], g_input.prevJoy[joystick][entry]);
}
