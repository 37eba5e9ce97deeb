// Small images with known pixels for the texture, sprite and image-decoder tests: one PNG with
// alpha and a colour-key block, one JPEG, one 24-bit BMP, in a folder of their own.
#include "generator.h"
#include "picture.h"
#include "png_writer.h"
#include "test_data.h"

#include <cstdint>
#include <vector>

namespace {

// 40 x 20: red left half, green right half, a magenta 4 x 4 block at the top-left (the colour-key
// test), and a half-transparent white bottom row.
int WriteQuadPng(const std::string& dir) {
    const int w = 40, h = 20;
    std::vector<uint32_t> px((size_t)w * h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            uint32_t c = x < w / 2 ? 0xFFFF0000u : 0xFF00FF00u;
            if (x < 4 && y < 4) c = 0xFFFF00FFu;
            if (y == h - 1) c = 0x80FFFFFFu;
            px[(size_t)y * w + x] = c;
        }
    return WritePngArgb(dir + "/quad.png", w, h, px.data());
}

// 32 x 32: blue top half, yellow bottom half (flat areas survive the compression nearly exactly).
int WritePhotoJpeg(const std::string& dir) {
    Picture p(32, 32, 0xFFFFFF00u);
    p.FillRect(0, 0, 32, 16, 0xFF0000FFu);
    return WritePictureJpeg(dir + "/photo.jpg", p, 95);
}

void Put16(std::vector<unsigned char>& b, uint32_t v) {
    b.push_back((unsigned char)v);
    b.push_back((unsigned char)(v >> 8));
}
void Put32(std::vector<unsigned char>& b, uint32_t v) {
    Put16(b, v & 0xFFFF);
    Put16(b, v >> 16);
}

// 10 x 6, 24 bits, bottom-up rows padded to four bytes: left half 0x102030, right half 0x405060,
// the top row white.
int WriteSpriteBmp(const std::string& dir) {
    const int w = 10, h = 6, row = ((w * 3 + 3) / 4) * 4;
    std::vector<unsigned char> b;
    b.push_back('B');
    b.push_back('M');
    Put32(b, 54 + row * h);
    Put32(b, 0);
    Put32(b, 54);
    Put32(b, 40);
    Put32(b, w);
    Put32(b, h);
    Put16(b, 1);
    Put16(b, 24);
    for (int i = 0; i < 6; ++i) Put32(b, 0);
    for (int y = h - 1; y >= 0; --y) {
        for (int x = 0; x < w; ++x) {
            uint32_t c = y == 0 ? 0xFFFFFF : x < w / 2 ? 0x102030 : 0x405060;
            b.push_back((unsigned char)c);
            b.push_back((unsigned char)(c >> 8));
            b.push_back((unsigned char)(c >> 16));
        }
        for (int p = w * 3; p < row; ++p) b.push_back(0);
    }
    return WriteFileBytes(dir + "/sprite.bmp", b.data(), b.size());
}

}  // namespace

int WriteTestImages(const std::string& dataDir) {
    const std::string dir = dataDir + "/test_images";
    if (!MakeDirs(dir)) return 0;
    return WriteQuadPng(dir) && WritePhotoJpeg(dir) && WriteSpriteBmp(dir);
}
