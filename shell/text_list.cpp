// The text pane: line bookkeeping, and drawing through text textures and sprites.
#include "text_list.h"

#include "graphics.h"

#include <cstdio>

namespace {

constexpr int kTextWeightBold = 700;     // the weight empty lines are rendered with
constexpr int kTextWeightDefault = 0;    // the font's own weight
constexpr int kDumpLineSpacing = 16;
constexpr int kDumpRightX = 400;
constexpr int kPaneMargin = 10;

}  // namespace

CTextList::CTextList()
    : m_serial(0),
      m_currentLine(0),
      m_maxLines(kTextListLines),
      m_dirty(0),
      m_colors{},
      m_defaultColor(0x77ffffff),
      m_face("ＭＳ Ｐゴシック"),
      m_lineHeight(12),
      m_x(380),
      m_y(100) {
    m_backTexture.Load("bmp\\text_02.png", 0xff000000, 1);
    m_backSprite.SetTexture(&m_backTexture);
    m_backSprite.SetRect(0, 0, 256, 256);
    Clear();
}

CTextList::~CTextList() {}

void CTextList::Clear() {
    m_serial = 0;
    m_currentLine = 0;
    for (int i = 0; i < m_maxLines; ++i) {
        m_lines[i].clear();
        m_colors[i] = m_defaultColor;
        m_textures[i].CreateFromText("", m_lineHeight, m_defaultColor, kTextWeightBold, m_face.c_str());
    }
}

void CTextList::AddLine(const std::string& text, uint32_t color) {
    m_lines[m_currentLine] += text;
    m_colors[m_currentLine] = color;
    if (++m_serial >= kTextListSerialWrap) m_serial = 0;
    if (++m_currentLine >= m_maxLines) {
        m_currentLine = m_maxLines - 1;
        for (int i = 1; i < m_maxLines; ++i) {
            m_lines[i - 1] = m_lines[i];
            m_colors[i - 1] = m_colors[i];
        }
        m_lines[m_maxLines - 1].clear();
    }
    m_dirty = 1;
}

void CTextList::AddNumberedLine(const std::string& text) {
    AddLine(std::to_string(m_serial) + ">" + text, 0x77ffffff);
}

void CTextList::Append(const std::string& text) {
    m_lines[m_currentLine] += text;
    m_dirty = 1;
}

void CTextList::RenderDirty() {
    if (!m_dirty) return;
    m_dirty = 0;
    for (int i = 0; i < m_maxLines; ++i) {
        m_textures[i].CreateFromText(m_lines[i].c_str(), m_lineHeight, m_colors[i], kTextWeightDefault, m_face.c_str());
        m_sprites[i].SetTexture(&m_textures[i]);
        m_sprites[i].SetRotation(0);
        m_sprites[i].SetPosition(0, 0);
        m_sprites[i].SetScale(1, 1);
    }
}

void CTextList::Draw() {
    RenderDirty();
    SetLighting(0);
    m_backSprite.SetPosition(float(m_x), float(m_y));
    m_backSprite.Draw();
    for (int i = 0; i < m_maxLines; ++i) {
        m_sprites[i].SetPosition(float(m_x + kPaneMargin), float(m_y + kPaneMargin + i * m_lineHeight));
        m_sprites[i].Draw();
    }
}

void CTextList::DrawScaled(float s) {
    RenderDirty();
    SetLighting(0);
    m_backSprite.SetPosition(float(m_x), float(m_y));
    m_backSprite.SetScale(s, s);
    m_backSprite.Draw();
    m_backSprite.SetScale(1, 1);
    for (int i = 0; i < m_maxLines; ++i) {
        m_sprites[i].SetPosition(m_x + kPaneMargin * s, m_y + kPaneMargin * s + s * float(i * m_lineHeight));
        m_sprites[i].SetScale(s, s);
        m_sprites[i].Draw();
        m_sprites[i].SetScale(1, 1);
    }
}

void CTextList::DrawRecent() {
    RenderDirty();
    SetLighting(0);
    const int first = m_currentLine - kTextListRecentLines > 0 ? m_currentLine - kTextListRecentLines : 0;
    const int end = m_currentLine + 1 < m_maxLines ? m_currentLine + 1 : m_maxLines;
    for (int i = first; i < end; ++i) {
        m_sprites[i].SetPosition(float(m_x + kPaneMargin), float(m_y + kPaneMargin + i * m_lineHeight));
        m_sprites[i].Draw();
    }
}

// Lines are player text (chat): always passed as an argument, never as the format.
void CTextList::DumpText() {
    BeginText();
    for (int i = 0; i < m_maxLines; ++i)
        DrawTextFormat(m_x + kPaneMargin, m_y + kPaneMargin + kDumpLineSpacing * i, "%s", m_lines[i].c_str());
    EndText();
}

void CTextList::DumpTextRight() {
    BeginText();
    for (int i = 0; i < m_maxLines; ++i) DrawTextFormat(kDumpRightX, kDumpLineSpacing * i, "%s", m_lines[i].c_str());
    EndText();
}

void CTextList::DumpTextTail(int n) {
    if (n > m_maxLines) n = m_maxLines;
    if (n < 0) n = 0;
    BeginText();
    for (int i = m_maxLines - n; i < m_maxLines; ++i)
        DrawTextFormat(kDumpRightX, kDumpLineSpacing * i, "%s", m_lines[i].c_str());
    EndText();
}
