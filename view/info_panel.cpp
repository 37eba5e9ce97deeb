// The message banner: slides in from the right while fading in over its first five frames,
// and out to the left while fading over its last four.
#include "info_panel.h"

#include "camera.h"
#include "graphics.h"
#include "sound.h"

namespace {

void ResetSprite(CSprite& s, CTexture* t) {
    s.SetScale(1, 1);
    s.SetColor(0xFFFFFFFF);
    s.SetTexture(t);
    s.SetPosition(0, 0);
    s.SetRotation(0);
}

}  // namespace

CInfoPanel::CInfoPanel() {
    m_imageTexture.Load("bmp\\info_01.png", 0, 1);
    ResetSprite(m_imageSprite, &m_imageTexture);
    ResetSprite(m_textSprite, &m_textTexture);
    // Before the sound loads, so the empty text is not heard.
    SetText("");
    m_countdown = 0;
    m_sound.Load("wave\\cursor03.wav");
    if (!Is3DSoundEnabled()) m_sound.SetLevel(0.9);
}

void CInfoPanel::SetImage(int duration, uint32_t textColor, const std::string& file) {
    m_imageTexture.Load(file.c_str(), 0, 1);
    m_imageSprite.SetTexture(&m_imageTexture);
    m_duration = duration;
    m_textColor = textColor;
}

void CInfoPanel::SetText(const std::string& text) {
    m_countdown = m_duration;
    m_age = 0;
    m_text = text;
    m_textTexture.CreateFromText(m_text.c_str(), 16, m_textColor, 700, "ＭＳ Ｐゴシック");
    ResetSprite(m_textSprite, &m_textTexture);
    Vec3 p = GetCameraPosition() + GetCameraDirection();
    m_sound.SetPosition3D(p.x, p.y, p.z);
    m_sound.Play(0);
}

void CInfoPanel::Draw() {
    ++m_age;
    --m_countdown;
    if (m_countdown > 0) {
        SetLighting(0);
        DrawBanner();
    } else {
        m_countdown = 0;
    }
}

int CInfoPanel::GetSlide() const {
    int x = 0;
    if (m_age < 5) x = 15 - 3 * m_age;
    if (m_countdown < 5) x += 3 * m_countdown - 15;
    return x;
}

// Short durations overlap both ramps; their sum is kept to a colour's range.
int CInfoPanel::GetAlpha() const {
    int alpha = 255;
    if (m_age < 5) alpha = 40 * m_age + 55;
    if (m_countdown < 5) alpha += 40 * m_countdown - 200;
    return alpha < 0 ? 0 : alpha > 255 ? 255 : alpha;
}

void CInfoPanel::DrawBanner() {
    int x = m_x + GetSlide();
    uint32_t color = (uint32_t(GetAlpha()) << 24) + 0xFFFFFF;
    m_imageSprite.SetColor(color);
    m_imageSprite.SetPosition(float(x), float(m_y));
    m_imageSprite.Draw();
    m_textSprite.SetColor(color);
    m_textSprite.SetPosition(float(x + 10), float(m_y + 7));
    m_textSprite.Draw();
}
