// Image files: the decoder is chosen by the file's first bytes.
#include "image_local.h"
#include "sys_image.h"
#include "sys_path.h"

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
    std::vector<unsigned char> bytes;
    if (!SysReadFile(gamePath, &bytes)) return 0;
    return SysDecodeImage(bytes.data(), bytes.size(), image);
}
