// PNG through libpng's simplified interface, which reports damage instead of jumping out.
#include "image_local.h"

#include <png.h>

int DecodePng(const unsigned char* data, size_t size, SysImage* image) {
    png_image png{};
    png.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&png, data, size)) return 0;
    if (png.width == 0 || png.height == 0 || png.width > (png_uint_32)kMaxImageSide ||
        png.height > (png_uint_32)kMaxImageSide) {
        png_image_free(&png);
        return 0;
    }
    png.format = PNG_FORMAT_BGRA;  // bytes B, G, R, A: ARGB words on a little-endian machine
    image->width = (int)png.width;
    image->height = (int)png.height;
    image->argb.assign((size_t)png.width * png.height, 0);
    int ok = png_image_finish_read(&png, nullptr, image->argb.data(), (png_int_32)(png.width * 4), nullptr);
    png_image_free(&png);
    return ok ? 1 : 0;
}

int SysSavePng(const std::string& nativePath, const uint32_t* argb, int width, int height) {
    if (!argb || width <= 0 || height <= 0) return 0;
    png_image png{};
    png.version = PNG_IMAGE_VERSION;
    png.width = (png_uint_32)width;
    png.height = (png_uint_32)height;
    png.format = PNG_FORMAT_BGRA;
    int ok = png_image_write_to_file(&png, nativePath.c_str(), 0, argb, width * 4, nullptr);
    png_image_free(&png);
    return ok ? 1 : 0;
}
