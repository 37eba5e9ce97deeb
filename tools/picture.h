// Pictures for the stand-in images: an ARGB canvas with fills, frames and text drawn through
// the game's own FreeType layer, written out as PNG or JPEG.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct Picture {
    int width, height;
    std::vector<uint32_t> argb;   // top row first

    Picture(int w, int h, uint32_t fill);
    void Put(int x, int y, uint32_t color);   // opaque; outside ignored
    void Blend(int x, int y, uint32_t color, int coverage);  // coverage 0..255 over the pixel
    void FillRect(int x, int y, int w, int h, uint32_t color);
    void Gradient(uint32_t top, uint32_t bottom);   // the whole picture, top to bottom
    void Frame(int x, int y, int w, int h, int thickness, uint32_t color);
    // ASCII or Shift-JIS text in IPA Gothic, cell height `height`, top-left at (x, y). Width drawn.
    int Text(const char* text, int x, int y, int height, int bold, uint32_t color);
    // Centred on the picture's middle column, with a one-pixel shadow when shadow is non-zero;
    // the height shrinks until the text fits maxWidth.
    void CentredText(const char* text, int y, int height, int maxWidth, int bold, uint32_t color, uint32_t shadow);
};

int TextWidth(const char* text, int height, int bold);
int WritePicturePng(const std::string& path, const Picture& picture);
int WritePictureJpeg(const std::string& path, const Picture& picture, int quality);  // no alpha
