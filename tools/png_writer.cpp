// PNG output through libpng, creating the file's folder as needed.
#include "png_writer.h"
#include "generator.h"

#include <png.h>

#include <cstdio>
#include <vector>

int WritePngArgb(const std::string& path, int width, int height, const uint32_t* argb) {
    if (width <= 0 || height <= 0 || !argb) return 0;
    size_t slash = path.rfind('/');
    if (slash != std::string::npos && !MakeDirs(path.substr(0, slash))) return 0;
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = png_uint_32(width);
    image.height = png_uint_32(height);
    image.format = PNG_FORMAT_RGBA;
    std::vector<unsigned char> rgba(size_t(width) * size_t(height) * 4);
    for (size_t i = 0; i < size_t(width) * size_t(height); ++i) {
        rgba[i * 4 + 0] = (argb[i] >> 16) & 0xff;
        rgba[i * 4 + 1] = (argb[i] >> 8) & 0xff;
        rgba[i * 4 + 2] = argb[i] & 0xff;
        rgba[i * 4 + 3] = (argb[i] >> 24) & 0xff;
    }
    int ok = png_image_write_to_file(&image, path.c_str(), 0, rgba.data(), 0, nullptr);
    png_image_free(&image);
    return ok ? 1 : 0;
}
