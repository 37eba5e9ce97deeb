// PNG output through the platform's writer, creating the file's folder as needed.
#include "png_writer.h"
#include "generator.h"

#include "sys_image.h"

int WritePngArgb(const std::string& path, int width, int height, const uint32_t* argb) {
    if (width <= 0 || height <= 0 || !argb) return 0;
    size_t slash = path.rfind('/');
    if (slash != std::string::npos && !MakeDirs(path.substr(0, slash))) return 0;
    return SysSavePng(path, argb, width, height);
}
