// The stand-in pictures' canvas. Text goes through the platform's font layer, so the pictures
// carry the same glyphs the game draws.
#include "picture.h"

#include "png_writer.h"

#include "sys_font.h"

#include <jpeglib.h>

#include <cstdio>
#include <cstring>

namespace {

uint32_t Mix(uint32_t a, uint32_t b, int t) {  // t 0..255 from a to b
    uint32_t out = 0;
    for (int shift = 0; shift < 32; shift += 8) {
        int ca = (a >> shift) & 0xff, cb = (b >> shift) & 0xff;
        out |= (uint32_t)((ca * (255 - t) + cb * t) / 255) << shift;
    }
    return out;
}

GfxFont* OpenFont(int height, int bold) { return GfxCreateFont("Gothic", height, bold ? 700 : 400); }

}  // namespace

Picture::Picture(int w, int h, uint32_t fill) : width(w), height(h), argb((size_t)w * h, fill) {}

void Picture::Put(int x, int y, uint32_t color) {
    if (x >= 0 && y >= 0 && x < width && y < height) argb[(size_t)y * width + x] = color;
}

void Picture::Blend(int x, int y, uint32_t color, int coverage) {
    if (x < 0 || y < 0 || x >= width || y >= height || coverage <= 0) return;
    uint32_t& p = argb[(size_t)y * width + x];
    p = Mix(p, color, coverage > 255 ? 255 : coverage);
}

void Picture::FillRect(int x, int y, int w, int h, uint32_t color) {
    for (int j = y; j < y + h; ++j)
        for (int i = x; i < x + w; ++i) Put(i, j, color);
}

void Picture::Gradient(uint32_t top, uint32_t bottom) {
    for (int y = 0; y < height; ++y) FillRect(0, y, width, 1, Mix(top, bottom, height > 1 ? y * 255 / (height - 1) : 0));
}

void Picture::Frame(int x, int y, int w, int h, int thickness, uint32_t color) {
    FillRect(x, y, w, thickness, color);
    FillRect(x, y + h - thickness, w, thickness, color);
    FillRect(x, y, thickness, h, color);
    FillRect(x + w - thickness, y, thickness, h, color);
}

int TextWidth(const char* text, int height, int bold) {
    GfxFont* font = OpenFont(height, bold);
    if (!font) return 0;
    int w = 0, h = 0;
    GfxMeasureText(font, text, (int)strlen(text), &w, &h);
    GfxReleaseFont(font);
    return w;
}

int Picture::Text(const char* text, int x, int y, int h, int bold, uint32_t color) {
    GfxFont* font = OpenFont(h, bold);
    if (!font) return 0;
    int len = (int)strlen(text), tw = 0, th = 0;
    GfxMeasureText(font, text, len, &tw, &th);
    std::vector<unsigned char> coverage((size_t)(tw > 0 ? tw : 1) * (th > 0 ? th : 1), 0);
    if (tw > 0 && th > 0) GfxRenderText(font, text, len, coverage.data(), tw, th, 0);
    for (int j = 0; j < th; ++j)
        for (int i = 0; i < tw; ++i) Blend(x + i, y + j, color, coverage[(size_t)j * tw + i]);
    GfxReleaseFont(font);
    return tw;
}

void Picture::CentredText(const char* text, int y, int h, int maxWidth, int bold, uint32_t color, uint32_t shadow) {
    while (h > 6 && TextWidth(text, h, bold) > maxWidth) --h;
    int x = (width - TextWidth(text, h, bold)) / 2;
    if (shadow) {
        Text(text, x + 2, y + 2, h, bold, shadow);
        Text(text, x + 1, y + 1, h, bold, shadow);
    }
    Text(text, x, y, h, bold, color);
}

int WritePicturePng(const std::string& path, const Picture& picture) {
    return WritePngArgb(path, picture.width, picture.height, picture.argb.data());
}

int WritePictureJpeg(const std::string& path, const Picture& picture, int quality) {
    FILE* f = fopen(path.c_str(), "wb");
    if (!f) return 0;
    jpeg_compress_struct info;
    jpeg_error_mgr err;
    info.err = jpeg_std_error(&err);
    jpeg_create_compress(&info);
    jpeg_stdio_dest(&info, f);
    info.image_width = (JDIMENSION)picture.width;
    info.image_height = (JDIMENSION)picture.height;
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, quality, TRUE);
    jpeg_start_compress(&info, TRUE);
    std::vector<unsigned char> row((size_t)picture.width * 3);
    for (int y = 0; y < picture.height; ++y) {
        for (int x = 0; x < picture.width; ++x) {
            uint32_t c = picture.argb[(size_t)y * picture.width + x];
            row[(size_t)x * 3 + 0] = (unsigned char)(c >> 16);
            row[(size_t)x * 3 + 1] = (unsigned char)(c >> 8);
            row[(size_t)x * 3 + 2] = (unsigned char)c;
        }
        JSAMPROW rows[1] = {row.data()};
        jpeg_write_scanlines(&info, rows, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    return fclose(f) == 0 ? 1 : 0;
}
