// The list menu: items, cursor, title and the per-frame layout of its strips.
#include "menu.h"

namespace {

constexpr const char* kCancelText = "Cancel";
constexpr const char* kDefaultFrame = "bmp\\menu_01.png";
constexpr int kTitleWeight = 700;
constexpr int kDefaultLeft = 5, kDefaultTop = 15;

}  // namespace

CMenu::CMenu()
    : m_cursor(1), m_count(0), m_maxIndex(kMenuMaxIndex), m_lineHeight(24), m_style(0), m_left(kDefaultLeft),
      m_top(kDefaultTop), m_flag(0), m_color(0xff0000ff), m_fontSize(16) {
    Create();
}

void CMenu::Create() {
    m_hint = "↑[w]↓[s]   select [f]or[SPACE]";
    m_hint.clear();
    m_title.clear();
    m_cursor = 1;
    m_count = 0;
    m_maxIndex = kMenuMaxIndex;
    m_lineHeight = 24;
    m_style = 0;
    m_left = kDefaultLeft;
    m_top = kDefaultTop;
    m_flag = 0;
    m_fontFace = "ＭＳ Ｐゴシック";
    m_color = 0xff0000ff;
    m_fontSize = 16;
    m_titleTexture.CreateFromText(m_title.c_str(), m_fontSize, m_color, kTitleWeight, m_fontFace.c_str());
    m_items[0].SetText(kCancelText);
    SetFrameTexture(kDefaultFrame);
    m_frameSprite.SetTexture(&m_frameTexture);
    for (CMenuItem& item : m_items) item.Init();
}

void CMenu::Reset() {
    m_left = kDefaultLeft;
    m_top = kDefaultTop;
    m_title.clear();
    m_cursor = 1;
    m_count = 0;
    for (CMenuItem& item : m_items) {
        item.m_x = -kMenuFrameWidth;
        item.m_y = 0;
    }
    m_items[0].SetText(kCancelText);
}

void CMenu::SetTitle(const std::string& title) {
    m_title = title;
    m_titleTexture.CreateFromText(m_title.c_str(), m_fontSize, m_color, kTitleWeight, m_fontFace.c_str());
}

void CMenu::AddItem(const std::string& text) {
    if (m_count >= m_maxIndex) return;
    ++m_count;
    m_items[m_count].SetText(text);
}

void CMenu::SetStyle(int style) {
    m_style = style;
    for (int i = 0; i <= m_maxIndex; ++i) m_items[i].m_style = style;
}

void CMenu::SetFrameTexture(const char* path) {
    m_frameTexture.Load(path, 0, 1);
    for (CMenuItem& item : m_items) {
        item.m_frame.SetTexture(&m_frameTexture);
        item.m_frame.SetPosition(0, 0);
        item.m_frame.SetRotation(0);
        item.m_frame.SetRect(0, 0, kMenuFrameWidth, kMenuFrameHeight);
    }
}

void CMenu::SetFont(const std::string& face, uint32_t color, int size) {
    m_fontFace = face;
    m_color = color;
    m_fontSize = size;
    for (CMenuItem& item : m_items) {
        item.m_fontFace = face;
        item.m_textColor = color;
        item.m_fontSize = size;
    }
}

void CMenu::CursorNext() {
    if (m_cursor + 1 <= m_count) ++m_cursor;
}

void CMenu::CursorPrev() {
    if (m_cursor - 1 >= 0) --m_cursor;
}

std::string CMenu::GetSelectedText() const {
    if (m_cursor <= 0 || m_cursor > m_maxIndex) return "";
    return m_items[m_cursor].m_text;
}

void CMenu::Draw() {
    if (m_count > 0) m_titleTexture.DrawAt(m_left - 5, 20);
    for (int i = 1; i <= m_count; ++i) {
        m_items[i].Animate(i == m_cursor, m_left + 5, m_top + i * m_lineHeight);
        m_items[i].Draw();
    }
    if (m_cursor == 0) {
        m_items[0].Animate(1, m_left, m_top + (int)(m_lineHeight * 0.5));
        m_items[0].Draw();
    }
}
