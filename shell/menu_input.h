// The five menu keys of every menu loop, read from the engine's input state once a frame.
// Each key reads 2 only on the frame its key or button goes down, so a held key never repeats.
#pragma once

#include <string>

class CMenuInput {
public:
    CMenuInput();    // every key 0; joystick polling on
    ~CMenuInput() = default;
    void Update();   // once a frame, after UpdateInput

    int m_up;
    int m_down;
    int m_right;
    int m_left;
    int m_confirm;
    int m_unused;
    std::string m_unusedText;
};
