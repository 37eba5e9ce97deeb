// The loading picture a battle or lobby scene shows on two frames before it builds its world,
// which draws nothing meanwhile: the picture stays on screen through the loading.
#pragma once

#include "sprite.h"
#include "texture.h"

constexpr int kLoadingPictures = 8;

class CLoadingScreen {
public:
    CLoadingScreen();    // one of the eight pictures at random
    ~CLoadingScreen() = default;
    CLoadingScreen(const CLoadingScreen&) = delete;
    CLoadingScreen& operator=(const CLoadingScreen&) = delete;

    void Draw();         // one frame
    int IsDone() const { return m_done; }

    unsigned char m_done = 0;
    int m_unused = 0;
    int m_frameCount = 0;
    CSprite m_sprite;
    CTexture m_texture;
};

// Shows a loading screen in the frame loop until it is done (or the quit flag is set).
void ShowLoadingScreen();
