// Stand-in digit-font sheets (6 x 6 cells: "0"-"9", then "A"-"Z") and the text pane's backdrop.
// Glyphs are white with a black rim, so the font's colour tints them and they read on any scene.
#include "generator.h"
#include "png_writer.h"

#include <algorithm>
#include <cstdint>
#include <vector>

namespace {

constexpr int kGlyphCount = 36;
constexpr int kGlyphW = 5, kGlyphH = 7;

// One row per byte, the leftmost pixel in bit 4.
constexpr uint8_t kGlyphs[kGlyphCount][kGlyphH] = {
    {0b01110, 0b10001, 0b10011, 0b10101, 0b11001, 0b10001, 0b01110},  // 0
    {0b00100, 0b01100, 0b00100, 0b00100, 0b00100, 0b00100, 0b01110},  // 1
    {0b01110, 0b10001, 0b00001, 0b00010, 0b00100, 0b01000, 0b11111},  // 2
    {0b11111, 0b00010, 0b00100, 0b00010, 0b00001, 0b10001, 0b01110},  // 3
    {0b00010, 0b00110, 0b01010, 0b10010, 0b11111, 0b00010, 0b00010},  // 4
    {0b11111, 0b10000, 0b11110, 0b00001, 0b00001, 0b10001, 0b01110},  // 5
    {0b00110, 0b01000, 0b10000, 0b11110, 0b10001, 0b10001, 0b01110},  // 6
    {0b11111, 0b00001, 0b00010, 0b00100, 0b01000, 0b01000, 0b01000},  // 7
    {0b01110, 0b10001, 0b10001, 0b01110, 0b10001, 0b10001, 0b01110},  // 8
    {0b01110, 0b10001, 0b10001, 0b01111, 0b00001, 0b00010, 0b01100},  // 9
    {0b01110, 0b10001, 0b10001, 0b10001, 0b11111, 0b10001, 0b10001},  // A
    {0b11110, 0b10001, 0b10001, 0b11110, 0b10001, 0b10001, 0b11110},  // B
    {0b01110, 0b10001, 0b10000, 0b10000, 0b10000, 0b10001, 0b01110},  // C
    {0b11100, 0b10010, 0b10001, 0b10001, 0b10001, 0b10010, 0b11100},  // D
    {0b11111, 0b10000, 0b10000, 0b11110, 0b10000, 0b10000, 0b11111},  // E
    {0b11111, 0b10000, 0b10000, 0b11110, 0b10000, 0b10000, 0b10000},  // F
    {0b01110, 0b10001, 0b10000, 0b10111, 0b10001, 0b10001, 0b01111},  // G
    {0b10001, 0b10001, 0b10001, 0b11111, 0b10001, 0b10001, 0b10001},  // H
    {0b01110, 0b00100, 0b00100, 0b00100, 0b00100, 0b00100, 0b01110},  // I
    {0b00111, 0b00010, 0b00010, 0b00010, 0b00010, 0b10010, 0b01100},  // J
    {0b10001, 0b10010, 0b10100, 0b11000, 0b10100, 0b10010, 0b10001},  // K
    {0b10000, 0b10000, 0b10000, 0b10000, 0b10000, 0b10000, 0b11111},  // L
    {0b10001, 0b11011, 0b10101, 0b10101, 0b10001, 0b10001, 0b10001},  // M
    {0b10001, 0b10001, 0b11001, 0b10101, 0b10011, 0b10001, 0b10001},  // N
    {0b01110, 0b10001, 0b10001, 0b10001, 0b10001, 0b10001, 0b01110},  // O
    {0b11110, 0b10001, 0b10001, 0b11110, 0b10000, 0b10000, 0b10000},  // P
    {0b01110, 0b10001, 0b10001, 0b10001, 0b10101, 0b10010, 0b01101},  // Q
    {0b11110, 0b10001, 0b10001, 0b11110, 0b10100, 0b10010, 0b10001},  // R
    {0b01111, 0b10000, 0b10000, 0b01110, 0b00001, 0b00001, 0b11110},  // S
    {0b11111, 0b00100, 0b00100, 0b00100, 0b00100, 0b00100, 0b00100},  // T
    {0b10001, 0b10001, 0b10001, 0b10001, 0b10001, 0b10001, 0b01110},  // U
    {0b10001, 0b10001, 0b10001, 0b10001, 0b10001, 0b01010, 0b00100},  // V
    {0b10001, 0b10001, 0b10001, 0b10101, 0b10101, 0b10101, 0b01010},  // W
    {0b10001, 0b10001, 0b01010, 0b00100, 0b01010, 0b10001, 0b10001},  // X
    {0b10001, 0b10001, 0b10001, 0b01010, 0b00100, 0b00100, 0b00100},  // Y
    {0b11111, 0b00001, 0b00010, 0b00100, 0b01000, 0b10000, 0b11111},  // Z
};

constexpr uint32_t kInk = 0xFFFFFFFF;
constexpr uint32_t kRim = 0xFF000000;

bool GlyphBit(int n, int gx, int gy) {
    return gx >= 0 && gx < kGlyphW && gy >= 0 && gy < kGlyphH && (kGlyphs[n][gy] >> (kGlyphW - 1 - gx)) & 1;
}

// A square sheet of a power-of-two side, as the texture loader sizes it: the font finds glyph n
// at (n mod 6 x side / 6, n / 6 x side / 6), side / 6 pixels square, so the glyphs go exactly
// there. The glyph is scaled whole and centred in its cell; rim is the outline's width.
int WriteGlyphSheet(const std::string& path, int side, int rim) {
    const int cell = side / 6;
    const int scale = (cell - 2 * rim) / kGlyphH > 1 ? (cell - 2 * rim) / kGlyphH : 1;
    const int offX = (cell - kGlyphW * scale) / 2, offY = (cell - kGlyphH * scale) / 2;
    std::vector<uint32_t> px(size_t(side) * side, 0);
    for (int n = 0; n < kGlyphCount; ++n) {
        const int cx = n % 6 * side / 6, cy = n / 6 * side / 6;
        auto ink = [&](int x, int y) {
            int lx = x - offX, ly = y - offY;
            return lx >= 0 && ly >= 0 && GlyphBit(n, lx / scale, ly / scale);
        };
        for (int y = 0; y < cell; ++y) {
            for (int x = 0; x < cell; ++x) {
                uint32_t c = 0;
                if (ink(x, y)) {
                    c = kInk;
                } else {
                    // Rim where ink lies within the rim's reach.
                    for (int dy = -rim; dy <= rim && !c; ++dy)
                        for (int dx = -rim; dx <= rim && !c; ++dx)
                            if (ink(x + dx, y + dy)) c = kRim;
                }
                px[size_t(cy + y) * side + size_t(cx + x)] = c;
            }
        }
    }
    return WritePngArgb(path, side, side, px.data());
}

// The text pane's backdrop: 256 x 256, a translucent panel with a light frame. Pure black is
// the pane's colour key, so the panel avoids it.
int WriteTextPane(const std::string& path) {
    constexpr int kSide = 256;
    std::vector<uint32_t> px(size_t(kSide) * kSide);
    for (int y = 0; y < kSide; ++y) {
        for (int x = 0; x < kSide; ++x) {
            const int edge = std::min(std::min(x, y), std::min(kSide - 1 - x, kSide - 1 - y));
            px[size_t(y) * kSide + x] = edge < 2 ? 0xDD8CA0C8 : 0x9910203C;  // frame, panel
        }
    }
    return WritePngArgb(path, kSide, kSide, px.data());
}

int GenerateFonts(const std::string& gameDir) {
    // Cells of 21 pixels for the default sheet and the clock's, 10 for the small HUD labels.
    return WriteGlyphSheet(gameDir + "/bmp/suuji.png", 128, 1) && WriteGlyphSheet(gameDir + "/bmp/suuji2.png", 64, 1) &&
           WriteGlyphSheet(gameDir + "/bmp/suuji3.png", 128, 2) && WriteTextPane(gameDir + "/bmp/text_02.png");
}

}  // namespace

REGISTER_GENERATOR("fonts", GenerateFonts);
