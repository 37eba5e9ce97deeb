// Keyboard, mouse and joysticks, standing in for DirectInput: key state kept from window
// events under DirectInput key numbers, the cursor in the 640 x 480 frame, joysticks by slot.
// The injection functions push real window events, so tests and the headless scene driver
// take the same road as a person at the keyboard.
#pragma once

constexpr int kSysKeyCount = 256;        // DirectInput key codes 0..255
constexpr int kSysMouseButtons = 4;      // left, right, middle, fourth
constexpr int kSysMaxJoysticks = 8;      // the game reads at most eight
constexpr int kSysJoystickAxes = 3;      // X, Y, Z
constexpr int kSysJoystickButtons = 8;   // the first eight buttons
constexpr int kSysAxisRange = 1000;      // axes read -1000..1000
constexpr int kSysWheelNotch = 120;      // wheel units per notch, as the system reports them

// Start-up: the listeners on the event pump and the joystick subsystem; 1 on success.
// frameWidth x frameHeight is the drawn frame the cursor maps into.
int SysInputInit(int frameWidth, int frameHeight);
void SysInputShutdown();  // closes the joysticks and stops listening

// Keyboard: 0x80 per key that is down, by DirectInput code; everything is up after focus loss.
void SysGetKeyboardState(unsigned char keys[kSysKeyCount]);
void SysClearKeyboardState();

// Keys are bound by physical position: one table from SDL scancodes to DirectInput codes, so key
// numbers saved in the settings keep their meaning.
int SysScancodeToKey(int scancode);  // 0 when the key has no DirectInput code
int SysKeyToScancode(int key);       // the scancode of a DirectInput code; 0 when none

// Mouse: the cursor in frame coordinates (outside the frame when over the bars or beyond),
// buttons 0x80 when down, and the wheel moved since the last call (taken, then zero).
void SysGetMouseState(int* x, int* y, unsigned char buttons[kSysMouseButtons], int* wheel);
void SysSetMousePos(int x, int y);  // frame coordinates
void SysShowCursor(int show);

// Joysticks: slots 0..7; opened at start-up and whenever one is plugged in, into the lowest free
// slot; a slot whose joystick was pulled out is free again.
int SysJoystickDeviceCount();                   // attached devices
int SysJoystickOpen(int deviceIndex);           // slot, or -1 when it cannot be opened or no slot is free
int SysJoystickSlotCount();                     // highest used slot + 1
int SysJoystickPresent(int slot);
// Axes in -1000..1000 and the first eight buttons (0x80 when down); 0 when the slot is empty.
int SysJoystickRead(int slot, int axes[kSysJoystickAxes], unsigned char buttons[kSysJoystickButtons]);
// Slots whose joystick was pulled out since the last call, as a bit mask (taken, then zero).
int SysJoystickTakeRemoved();

// Injection (tests, headless driver): each pushes the event a device or the desktop would send;
// the next pump delivers it.
void SysInjectKey(int key, int down);               // by DirectInput code
void SysInjectMouseMove(int x, int y);              // frame coordinates
void SysInjectMouseButton(int button, int down);    // 0..3
void SysInjectMouseWheel(int notches);              // positive: away from the user
void SysInjectFocus(int gained);
void SysInjectQuit();                               // the desktop asks the program to close
// A virtual joystick with three axes and eight buttons; returns its id (or -1). It is opened
// like a real one at the next pump.
int SysAttachVirtualJoystick();
void SysSetVirtualJoystick(int id, const int axes[kSysJoystickAxes], const unsigned char buttons[kSysJoystickButtons]);
void SysDetachVirtualJoystick(int id);
