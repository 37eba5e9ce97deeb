// The stills of the title and the loading screens are 256 x 256 pictures stretched over the
// whole 640 x 480 screen.
#pragma once

#include "sprite.h"
#include "texture.h"

constexpr float kFullScreenScaleX = 2.5f, kFullScreenScaleY = 1.875f;

// Shows the texture through the sprite, stretched over the screen from its top-left corner.
inline void PlaceFullScreen(CSprite* sprite, CTexture* texture) {
    sprite->SetTexture(texture);
    sprite->SetScale(kFullScreenScaleX, kFullScreenScaleY);
    sprite->SetPosition(0, 0);
    sprite->SetRotation(0);
}
