// Digits and capital letters from a glyph sheet of 6 x 6 cells, for counters and short labels.
// Glyph n sits in column n mod 6, row n / 6: "0" to "9" are glyphs 0 to 9, "A" to "Z" 10 to 35.
#pragma once

#include "sprite.h"
#include "texture.h"

#include <cstdint>
#include <string>

constexpr int kDigitFontColumns = 6;  // the sheet is six cells wide and six high
constexpr int kDigitFontGlyphs = 36;

class CDigitFont : public CSprite {
public:
    CTexture m_texture;
    int m_cellSize;  // sheet width / 6
    int m_sheetWidth;
    int m_sheetHeight;

    CDigitFont();  // loads "bmp\suuji.png"
    ~CDigitFont() override;
    CDigitFont(const CDigitFont&) = delete;  // the sprite points at the font's own texture
    CDigitFont& operator=(const CDigitFont&) = delete;

    int Load(const char* path);  // 1 when the sheet loaded
    void DrawGlyph(float x, float y, int n);  // nothing for a glyph not on the sheet
    void DrawNumber(float x, float y, int value, int digits);  // leading zeros, higher digits cut
    void DrawText(float x, float y, const std::string& text);
    void DrawChar(float x, float y, char c);  // nothing for characters without a glyph
};
