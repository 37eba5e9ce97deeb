// The option scene: rebinding the twelve pad buttons on the keyboard or joystick 0, and the
// graphics level. Both are kept in ".\ap.ini"; the scene runs one action and returns to the title.
#pragma once

class CMenu;

// Answers of the option menus (their cursors); item 0 is "Cancel" in each.
enum { kOptionKeySet = 1, kOptionGraphics = 2 };
enum { kOptionKeyboard = 1, kOptionJoypad = 2 };
constexpr int kOptionButtonReturn = 13;  // rows 1 to 12 bind setting index row - 1
enum { kOptionHi = 1, kOptionMid = 2, kOptionLow = 3 };

// The loop the option menus share: the cursor on confirm, -1 when the quit flag ends it.
int RunOptionMenu(CMenu* menu);
int OptionMenu();          // "Option"
int OptionKeyMenu();       // "Option>Key"
int OptionButtonMenu();    // "Option>Key>Button"
int OptionGraphicsMenu();  // "Option>Grap"

// The new binding, pressed on a frame of the wait; -1 when the quit flag ended the wait.
int WaitKeyboardButton();  // DirectInput key code 0 to 254, never the quit key
int WaitJoypadButton();    // joystick 0 entry 0 to 13

// p_Graphics for an answer of the graphics menu; 0 when the answer leaves it.
int GraphicsLevelOf(int answer);
