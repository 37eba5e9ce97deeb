// The logo scene: a short brand word on black for about a second, or until a confirm key.
#pragma once

#include "menu_input.h"
#include "texture.h"

constexpr int kLogoFrames = 30;   // the logo ends once its frame count exceeds this

class CLogo {
public:
    CLogo() = default;
    ~CLogo() = default;
    CLogo(const CLogo&) = delete;
    CLogo& operator=(const CLogo&) = delete;

    void Init();
    void Update();   // one frame: count, keys, drawing
    int IsDone() const { return m_finished; }

    int m_frameCount = 0;
    int m_confirmPressed = 0;
    int m_finished = 0;
    CTexture m_text;
    CMenuInput m_input;
};
