// The pad samplers: the configured keys and joystick 0 for the local player, the fixed second
// key set and joystick 1, and the bindings kept in ".\ap.ini".
#include "pad.h"

#include "input.h"
#include "settings.h"

const int kSettingToPadSlot[kPadSlots] = {0, 1, 3, 2, 5, 4, 6, 8, 7, 9, 10, 11};
const int kPadSlotToFlag[kPadSlots] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 11, 10};

namespace {

// The second pad's fixed bindings: Home, End, Delete, Page Down, Insert, Page Up and the keypad.
struct FixedBinding {
    int source;  // DirectInput key code or joystick entry
    int slot;    // pad slot
};
constexpr FixedBinding kSecondPadKeys[] = {
    {kKeyHome, 0}, {kKeyEnd, 1}, {kKeyDelete, 3}, {kKeyPageDown, 2}, {kKeyInsert, 5}, {kKeyPageUp, 4},
    {kKeyPad4, 6}, {kKeyPad8, 8}, {kKeyPad9, 7},  {kKeyPad0, 10},    {kKeyPad7, 9},   {kKeyPad5, 11},
};
// Joystick 1: the stick's up/down/left/right and the eight buttons (entries 4 and 5 unused).
constexpr FixedBinding kSecondPadJoystick[] = {
    {0, 0}, {1, 1}, {2, 3},  {3, 2},  {6, 6},   {7, 8},
    {8, 10}, {9, 7}, {10, 5}, {11, 4}, {12, 9}, {13, 11},
};
constexpr int kSecondJoystick = 1;

// A key number outside the keyboard's codes would wrap into another key as a byte; it stays
// unbound instead (code 0 never goes down).
unsigned char KeyCodeFromSetting(int value) { return value >= 0 && value < kKeyCount ? (unsigned char)value : 0; }

}  // namespace

CPad::CPad() : m_values{}, m_keyCodes{}, m_joyEntries{} {
    CSettings settings;
    for (int i = 0; i < kPadSlots; ++i) {
        m_keyCodes[i] = KeyCodeFromSetting(settings.m_values[kValueKey0 + i]);
        m_joyEntries[i] = settings.m_values[kValueJoy0 + i];
    }
}

int CPad::SaveBindings() const {
    CSettings settings;
    for (int i = 0; i < kPadSlots; ++i) {
        settings.m_values[kValueKey0 + i] = m_keyCodes[i];
        settings.m_values[kValueJoy0 + i] = m_joyEntries[i];
    }
    return settings.Save();
}

void CPad::SampleConfigured() {
    for (int& v : m_values) v = kButtonUp;
    for (int i = 0; i < kPadSlots; ++i) {
        int s = GetKeyStatus(m_keyCodes[i]);
        if (s > 0) m_values[kSettingToPadSlot[i]] = s;
    }
    // The joystick overrides the key of the same slot whenever it is not up, released included.
    for (int i = 0; i < kPadSlots; ++i) {
        int s = GetJoystickButton(0, m_joyEntries[i]);
        if (s > 0) m_values[kSettingToPadSlot[i]] = s;
    }
}

void CPad::SampleSecondPad() {
    for (int& v : m_values) v = kButtonUp;
    for (const FixedBinding& b : kSecondPadKeys) {
        int s = GetKeyStatus(b.source);
        if (s > kButtonReleased) m_values[b.slot] = s;
    }
    for (const FixedBinding& b : kSecondPadJoystick) {
        int s = GetJoystickButton(kSecondJoystick, b.source);
        if (s > kButtonReleased) m_values[b.slot] = s;
    }
}

void CPad::Reset(int value) {
    for (int& v : m_values) v = value;
    m_keyText.clear();
}

void CPad::AppendDigit(int value) { m_keyText += char('0' + (value >= kButtonUp && value <= kButtonHeld ? value : 0)); }

std::string CPad::ToKeyString() {
    m_keyText.clear();
    for (int v : m_values) AppendDigit(v);
    return m_keyText;
}

void CPad::FromKeyString(const std::string& text) {
    m_keyText = text;
    for (int k = 0; k < kPadSlots; ++k) {
        char c = k < (int)text.size() ? text[k] : '0';
        m_values[k] = c >= '0' && c <= '3' ? c - '0' : kButtonUp;
    }
}
