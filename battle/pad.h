// CPad: the twelve buttons that steer a robot, filled each step from the configured keys and
// joystick 0, from the fixed second key set and joystick 1, or from a CPU opponent's buttons.
// The same pad carries a player's buttons onto the network as twelve digits.
#pragma once

#include "settings.h"  // kPadButtonCount

#include <string>

constexpr int kPadSlots = kPadButtonCount;  // a pad slot per button, a robot input flag per slot

class CPad {
public:
    CPad();  // values up; key codes and joystick entries from ".\ap.ini" section KEY
    CPad(const CPad&) = default;  // copies never reread the settings file
    CPad& operator=(const CPad&) = default;
    ~CPad() = default;

    int SaveBindings() const;  // key codes and joystick entries into ".\ap.ini"; 1 when written
    void SampleConfigured();   // configured keys, then joystick 0 (a non-up entry wins)
    void SampleSecondPad();    // fixed keys and joystick 1; only pressed and held count
    void Reset(int value);     // every value := value, key text := ""
    void Assign(const CPad& other) { *this = other; }

    // The network's key text: one digit per pad slot, in slot order. A value outside 0 to 3
    // goes out as "0"; a character other than "0" to "3" comes in as 0 (up), so every game
    // reads the same pad from the same text, whatever a peer sent.
    std::string ToKeyString();
    void FromKeyString(const std::string& text);
    void AppendDigit(int value);

    int m_values[kPadSlots];             // four-state code per pad slot
    std::string m_keyText;               // twelve digits on the network, "" otherwise
    unsigned char m_keyCodes[kPadSlots];  // DirectInput key code per setting index; 0 = unbound
    int m_joyEntries[kPadSlots];         // joystick entry per setting index (out of range reads up)
};

// Setting index i fills pad slot kSettingToPadSlot[i]: the settings keep the option menu's
// order, in which left and right, the two turns and two weapon buttons come swapped.
extern const int kSettingToPadSlot[kPadSlots];
// Pad slot s becomes robot input flag kPadSlotToFlag[s] (boost and "5 null" cross over).
extern const int kPadSlotToFlag[kPadSlots];
