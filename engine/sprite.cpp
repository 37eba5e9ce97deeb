// CSprite: drawn through the device's sprite path, inside or outside BeginSprites/EndSprites.
#include "sprite.h"

namespace {
constexpr int kFontTextLimit = 4097;  // bytes of one DrawFontText call
constexpr int kCellWidth = 8, kCellHeight = 16, kCellsPerRow = 16;
constexpr int kTabStop = 64;
}  // namespace

CSprite::CSprite()
    : m_texture(nullptr),
      m_srcLeft(0), m_srcTop(0), m_srcRight(0), m_srcBottom(0),
      m_hitLeft(0), m_hitTop(0), m_hitRight(0), m_hitBottom(0),
      m_scaleX(1.0f), m_scaleY(1.0f),
      m_centerX(0), m_centerY(0),
      m_x(0), m_y(0),
      m_rotation(0),
      m_color(0xFFFFFFFF),
      m_visible(0),
      m_hitTestable(0) {}

CSprite::~CSprite() = default;

void CSprite::SetTexture(CTexture* texture) {
    m_texture = texture;
    int w = 0, h = 0;
    if (texture) texture->GetSize(&w, &h);
    SetRect(0, 0, w, h);
    SetHitRect(0, 0, w, h);
    m_centerX = (float)(w / 2);
    m_centerY = (float)(h / 2);
    m_visible = 1;
    m_hitTestable = 1;
}

void CSprite::SetRect(int left, int top, int right, int bottom) {
    m_srcLeft = left, m_srcTop = top, m_srcRight = right, m_srcBottom = bottom;
}

void CSprite::SetHitRect(int left, int top, int right, int bottom) {
    m_hitLeft = left, m_hitTop = top, m_hitRight = right, m_hitBottom = bottom;
}

void CSprite::SetScale(float x, float y) { m_scaleX = x, m_scaleY = y; }
void CSprite::SetCenter(float x, float y) { m_centerX = x, m_centerY = y; }
void CSprite::SetPosition(float x, float y) { m_x = x, m_y = y; }
void CSprite::SetRotation(float radians) { m_rotation = radians; }
void CSprite::SetColor(uint32_t argb) { m_color = argb; }

void CSprite::Draw() {
    if (!m_texture || !m_texture->GetTexture() || !m_visible) return;
    GfxSpriteDraw d;
    d.srcLeft = m_srcLeft, d.srcTop = m_srcTop, d.srcRight = m_srcRight, d.srcBottom = m_srcBottom;
    d.scaleX = m_scaleX, d.scaleY = m_scaleY;
    d.centerX = m_centerX * m_scaleX, d.centerY = m_centerY * m_scaleY;
    d.rotation = m_rotation;
    d.x = m_x, d.y = m_y;
    d.color = m_color;
    GfxDrawSprite(m_texture->GetTexture(), d);
}

void CSprite::DrawFontText(const char* text) {
    if (!text) return;
    const float startX = m_x;
    float x = m_x, y = m_y;
    for (int i = 0; i < kFontTextLimit && text[i]; ++i) {
        const unsigned char c = (unsigned char)text[i];
        if (c == '\n') {
            x = startX;
            y += kCellHeight;
        } else if (c == '\t') {
            x = (float)(((int)x / kTabStop + 1) * kTabStop);
        } else {
            const int left = kCellWidth * (c % kCellsPerRow), top = kCellHeight * (c / kCellsPerRow);
            SetRect(left, top, left + kCellWidth, top + kCellHeight);
            SetPosition(x, y);
            Draw();
            x += kCellWidth;
        }
    }
}

int CSprite::HitTest(const CSprite& o) const {
    if (!m_texture || !o.m_texture || !m_hitTestable || !o.m_hitTestable) return 0;
    const int l = (int)(m_x + m_scaleX * m_hitLeft), r = (int)(m_x + m_scaleX * m_hitRight);
    const int t = (int)(m_y + m_scaleY * m_hitTop), b = (int)(m_y + m_scaleY * m_hitBottom);
    const int ol = (int)(o.m_x + o.m_scaleX * o.m_hitLeft), orr = (int)(o.m_x + o.m_scaleX * o.m_hitRight);
    const int ot = (int)(o.m_y + o.m_scaleY * o.m_hitTop), ob = (int)(o.m_y + o.m_scaleY * o.m_hitBottom);
    return (ol < r && l < orr && ot < b && t < ob) ? 1 : 0;
}
