// CSprite: a rectangle of a texture drawn on the screen with scale, rotation about a centre,
// position and a modulation colour. Every 2-D screen of the game is made of these.
#pragma once

#include "texture.h"

#include <cstdint>

class CSprite {
public:
    CSprite();
    virtual ~CSprite();

    void SetTexture(CTexture* texture);   // not owned; source and hit rectangles := the whole texture
    void SetRect(int left, int top, int right, int bottom);
    void SetHitRect(int left, int top, int right, int bottom);
    void SetScale(float x, float y);
    void SetCenter(float x, float y);     // rotation centre in texture pixels, unscaled
    void SetPosition(float x, float y);   // the top-left corner when the rotation is 0
    void SetRotation(float radians);
    void SetColor(uint32_t argb);
    virtual void Draw();                  // nothing without a texture or when invisible
    void DrawFontText(const char* text);  // texture as a sheet of 8 x 16 cells, 16 a row (ASCII)
    int HitTest(const CSprite& other) const;  // hit boxes overlap; rotation not considered

    CTexture* m_texture;
    int m_srcLeft, m_srcTop, m_srcRight, m_srcBottom;
    int m_hitLeft, m_hitTop, m_hitRight, m_hitBottom;
    float m_scaleX, m_scaleY;
    float m_centerX, m_centerY;
    float m_x, m_y;
    float m_rotation;
    uint32_t m_color;
    int m_visible;
    int m_hitTestable;
};
