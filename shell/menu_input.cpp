// Menu keys: arrows or WASD, Enter / F / Space to confirm, and joystick 0's stick and first
// four buttons.
#include "menu_input.h"

#include "input.h"

namespace {

// DirectInput key codes of the letter keys the menus also accept.
constexpr int kKeyW = 17, kKeyS = 31, kKeyA = 30, kKeyD = 32, kKeyF = 33, kKeySpace = 57;

// Joystick 0's entries: 0..3 stick up, down, left, right; 6..9 buttons 0..3.
constexpr int kStickUp = 0, kStickDown = 1, kStickLeft = 2, kStickRight = 3;
constexpr int kFirstConfirmButton = 6, kLastConfirmButton = 9;

int Pressed(int key) { return GetKeyStatus(key) == kButtonPressed; }
int StickPressed(int entry) { return GetJoystickButton(0, entry) == kButtonPressed; }

}  // namespace

CMenuInput::CMenuInput() : m_up(0), m_down(0), m_right(0), m_left(0), m_confirm(0), m_unused(0) {
    EnableJoysticks(1);
}

void CMenuInput::Update() {
    m_up = m_down = m_right = m_left = 0;
    if (Pressed(kKeyUp) || Pressed(kKeyW) || StickPressed(kStickUp)) m_up = kButtonPressed;
    if (Pressed(kKeyDown) || Pressed(kKeyS) || StickPressed(kStickDown)) m_down = kButtonPressed;
    if (Pressed(kKeyLeft) || Pressed(kKeyA) || StickPressed(kStickLeft)) m_left = kButtonPressed;
    if (Pressed(kKeyRight) || Pressed(kKeyD) || StickPressed(kStickRight)) m_right = kButtonPressed;

    m_confirm = 0;
    if (Pressed(kKeyEnter) || Pressed(kKeyF) || Pressed(kKeySpace)) m_confirm = kButtonPressed;
    for (int entry = kFirstConfirmButton; entry <= kLastConfirmButton; ++entry)
        if (StickPressed(entry)) m_confirm = kButtonPressed;
}
