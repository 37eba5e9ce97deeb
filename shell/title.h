// The title: an intro whose splash fades from the background picture, then the title menu
// with the game's version.
#pragma once

#include "menu_input.h"
#include "sound.h"
#include "sprite.h"
#include "texture.h"

constexpr const char* kGameTitle = "ZAU-MOLTA ";
constexpr const char* kGameVersion = "0.18.5";

class CTitle {
public:
    CTitle() = default;
    ~CTitle() = default;
    CTitle(const CTitle&) = delete;
    CTitle& operator=(const CTitle&) = delete;

    void Init();
    void Update();     // one frame of the intro
    int IsDone() const;  // confirmed, and the confirm sound has finished

    int m_frameCount = 0;
    int m_done = 0;
    CSprite m_background;
    CTexture m_backgroundTexture;
    CSprite m_overlay;
    CTexture m_overlayTexture;
    CSound m_confirmSound;
    CMenuInput m_input;
};

// Alpha of the intro's splash on a frame: opaque until frame 30, gone by frame 60.
uint32_t TitleOverlayColor(int frameCount);
