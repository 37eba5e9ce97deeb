// Uncompressed BMP (1, 4, 8, 24 and 32 bits a pixel), read with every offset checked.
#include "image_local.h"

namespace {

uint32_t U16(const unsigned char* p) { return (uint32_t)p[0] | ((uint32_t)p[1] << 8); }
uint32_t U32(const unsigned char* p) { return U16(p) | (U16(p + 2) << 16); }

}  // namespace

int DecodeBmp(const unsigned char* data, size_t size, SysImage* image) {
    if (size < 14 + 40) return 0;
    const uint32_t pixelOffset = U32(data + 10);
    const unsigned char* h = data + 14;
    const uint32_t headerSize = U32(h);
    if (headerSize < 40 || 14 + (size_t)headerSize > size) return 0;
    // A negative height means rows stored top row first. The sizes are checked in 64 bits: a
    // 32-bit -2^31 has no positive counterpart to negate into.
    const int64_t fileWidth = (int32_t)U32(h + 4);
    const int64_t fileHeight = (int32_t)U32(h + 8);
    const int bits = (int)U16(h + 14);
    const uint32_t compression = U32(h + 16);
    uint32_t colors = U32(h + 32);
    const bool topDown = fileHeight < 0;
    const int64_t rows = topDown ? -fileHeight : fileHeight;
    if (fileWidth <= 0 || rows <= 0 || fileWidth > kMaxImageSide || rows > kMaxImageSide) return 0;
    const int width = (int)fileWidth, height = (int)rows;
    // Plain pixels only; 32-bit bit fields are taken as the usual BGRA layout.
    if (!(compression == 0 || (compression == 3 && bits == 32))) return 0;
    if (bits != 1 && bits != 4 && bits != 8 && bits != 24 && bits != 32) return 0;

    uint32_t palette[256] = {};
    if (bits <= 8) {
        uint32_t maxColors = 1u << bits;
        if (colors == 0 || colors > maxColors) colors = maxColors;
        size_t at = 14 + (size_t)headerSize;
        if (at + (size_t)colors * 4 > size) return 0;
        for (uint32_t i = 0; i < colors; ++i) palette[i] = U32(data + at + i * 4) | 0xFF000000u;
    }
    const size_t rowBytes = (((size_t)width * bits + 31) / 32) * 4;
    if (pixelOffset > size || rowBytes * (size_t)height > size - pixelOffset) return 0;

    image->width = width;
    image->height = height;
    image->argb.assign((size_t)width * height, 0);
    for (int y = 0; y < height; ++y) {
        const unsigned char* row = data + pixelOffset + rowBytes * (size_t)(topDown ? y : height - 1 - y);
        uint32_t* out = &image->argb[(size_t)y * width];
        for (int x = 0; x < width; ++x) {
            switch (bits) {
                case 32: out[x] = U32(row + x * 4) | 0xFF000000u; break;
                case 24: out[x] = 0xFF000000u | row[x * 3] | (row[x * 3 + 1] << 8) | ((uint32_t)row[x * 3 + 2] << 16); break;
                case 8: out[x] = palette[row[x]]; break;
                case 4: out[x] = palette[(row[x / 2] >> (x % 2 ? 0 : 4)) & 15]; break;
                default: out[x] = palette[(row[x / 8] >> (7 - x % 8)) & 1]; break;
            }
        }
    }
    return 1;
}
