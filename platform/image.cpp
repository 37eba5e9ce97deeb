// Image files: the decoder is chosen by the file's first bytes.
#include "image_local.h"
#include "sys_image.h"
#include "sys_path.h"

#include <cstdio>
#include <cstring>

int SysDecodeImage(const void* data, size_t size, SysImage* image) {
    *image = SysImage{};
    const unsigned char* b = static_cast<const unsigned char*>(data);
    if (!b || size < 4) return 0;
    static const unsigned char kPng[] = {0x89, 'P', 'N', 'G'};
    int ok = 0;
    if (std::memcmp(b, kPng, 4) == 0)
        ok = DecodePng(b, size, image);
    else if (b[0] == 0xFF && b[1] == 0xD8)
        ok = DecodeJpeg(b, size, image);
    else if (b[0] == 'B' && b[1] == 'M')
        ok = DecodeBmp(b, size, image);
    if (!ok) *image = SysImage{};
    return ok;
}

int SysLoadImageFile(const char* gamePath, SysImage* image) {
    *image = SysImage{};
    FILE* f = SysOpenFile(gamePath, "rb");
    if (!f) return 0;
    std::vector<unsigned char> bytes;
    unsigned char chunk[65536];
    size_t n;
    while ((n = std::fread(chunk, 1, sizeof(chunk), f)) > 0) bytes.insert(bytes.end(), chunk, chunk + n);
    std::fclose(f);
    return SysDecodeImage(bytes.data(), bytes.size(), image);
}
