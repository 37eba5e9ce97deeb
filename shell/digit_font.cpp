// Digit font: glyph cells of the sheet drawn through the font's own sprite.
#include "digit_font.h"

#include "graphics.h"
#include "sys_text.h"

CDigitFont::CDigitFont() : m_cellSize(0), m_sheetWidth(0), m_sheetHeight(0) { Load("bmp\\suuji.png"); }

CDigitFont::~CDigitFont() {}

int CDigitFont::Load(const char* path) {
    const int loaded = m_texture.Load(path, 0, 1);
    SetTexture(&m_texture);
    SetPosition(0, 0);
    SetRotation(0);
    SetRect(128, 64, 192, 128);
    m_cellSize = 21;
    m_sheetWidth = 0;
    m_sheetHeight = 0;
    m_texture.GetSize(&m_sheetWidth, &m_sheetHeight);
    m_cellSize = m_sheetWidth / kDigitFontColumns;
    return loaded;
}

void CDigitFont::DrawGlyph(float x, float y, int n) {
    // A glyph number off the sheet would draw whatever lies outside it.
    if (n < 0 || n >= kDigitFontGlyphs) return;
    const int left = n % kDigitFontColumns * m_sheetWidth / kDigitFontColumns;
    const int top = n / kDigitFontColumns * m_sheetHeight / kDigitFontColumns;
    SetRect(left, top, left + m_cellSize, top + m_cellSize);
    SetPosition(x, y);
    SetLighting(0);
    SetZWriteEnable(0);
    Draw();
    SetZWriteEnable(1);
}

void CDigitFont::DrawNumber(float x, float y, int value, int digits) {
    // Digits from the right by repeated division: the same digits as dividing by powers of
    // ten, without a power that overflows for long counts.
    int rest = value;
    for (int i = digits - 1; i >= 0; --i) {
        DrawGlyph(x + float(i * m_cellSize), y, rest % 10);
        rest /= 10;
    }
}

void CDigitFont::DrawText(float x, float y, const std::string& text) {
    // One cell per byte; a two-byte character has no glyph, and its second byte may look like
    // a letter or a digit, so both of its cells stay empty.
    for (size_t i = 0; i < text.size();) {
        const size_t n = SjisCharLength(text.data(), text.size(), i);
        if (n == 1) DrawChar(x + float(i) * float(m_cellSize), y, text[i]);
        i += n;
    }
}

void CDigitFont::DrawChar(float x, float y, char c) {
    if (c >= '0' && c <= '9')
        DrawGlyph(x, y, c - '0');
    else if (c >= 'A' && c <= 'Z')
        DrawGlyph(x, y, c - 'A' + 10);
    // Blanks, lower case, signs and team tags have no glyph.
}
