// One strip of a menu: its text texture, its slide into place and its highlight.
#include "menu.h"

#include <cstdlib>

namespace {

constexpr int kSlideStepY = 10;   // pixels a frame: first down to the row...
constexpr int kSlideStepX = 20;   // ...then in from the left
constexpr float kPulseStep = 0.05f;
constexpr int kTextWeight = 700;
constexpr int kTextOffsetX = 10, kTextOffsetY = 3;

int Clamp(int v, int lo, int hi) { return v < lo ? lo : (v > hi ? hi : v); }

// Moves v toward target by step, landing on it when within a step, kept inside lo..hi.
int StepToward(int v, int target, int step, int lo, int hi) {
    v += v < target ? step : -step;
    if (std::abs(v - target) <= step) v = target;
    return Clamp(v, lo, hi);
}

}  // namespace

CMenuItem::CMenuItem()
    : m_width(kMenuFrameWidth), m_height(kMenuFrameHeight), m_style(0), m_x(-kMenuFrameWidth), m_y(0),
      m_targetX(0), m_targetY(0), m_state(-1), m_pulse(0.0f), m_fontFace("ＭＳ Ｐゴシック"), m_textColor(0xff0000ff),
      m_fontSize(16) {}

void CMenuItem::Init() {
    m_width = kMenuFrameWidth;
    m_height = kMenuFrameHeight;
    m_style = 0;
    m_x = -kMenuFrameWidth;
    m_y = 0;
    m_targetX = m_targetY = 0;
    m_state = -1;
    m_pulse = 0.0f;
}

void CMenuItem::SetText(const std::string& text) {
    m_text = text;
    m_textTexture.CreateFromText(m_text.c_str(), m_fontSize, m_textColor, kTextWeight, m_fontFace.c_str());
    m_textSprite.SetTexture(&m_textTexture);
    m_textSprite.SetPosition(0, 0);
    m_textSprite.SetRotation(0);
}

void CMenuItem::Animate(int selected, int targetX, int targetY) {
    m_targetX = targetX;
    m_targetY = targetY;
    m_y = StepToward(m_y, targetY, kSlideStepY, 0, kMenuItemMaxY);
    // A row below the screen's last one stops at that line; it slides in there rather than
    // staying off screen for good.
    if (m_y == Clamp(targetY, 0, kMenuItemMaxY)) m_x = StepToward(m_x, targetX, kSlideStepX, 0, kMenuItemMaxX);
    m_pulse += kPulseStep;
    if (selected && m_state == -1) {
        m_pulse = 0.0f;
        m_state = 0;
    } else if (!selected && m_state == 0) {
        m_pulse = 0.0f;
        m_state = -1;
    }
}

void CMenuItem::Draw() {
    // v runs 10, 9 ... 0, 1 ... 9 over twenty frames.
    const int v = std::abs((int)(m_pulse * 20.0f) % 20 - 10);
    const int selected = m_state == 0;
    if (m_style == 1) {
        const uint32_t grey = (uint32_t)((15 * v + 100) % 256);
        m_frame.SetColor(0xffffffff);
        m_textSprite.SetColor(selected ? 0xff000000u | grey << 16 | grey << 8 | grey : 0xff323232u);
    } else {
        m_frame.SetColor(selected ? (uint32_t)v * 0x0f000000u + 0x64ffffffu : 0x40ffffffu);
        m_textSprite.SetColor(0xffffffff);
    }
    m_frame.SetPosition((float)m_x, (float)m_y);
    m_frame.Draw();
    m_textSprite.SetPosition((float)(m_x + kTextOffsetX), (float)(m_y + kTextOffsetY));
    m_textSprite.Draw();
}
