// Image files: PNG (libpng), JPEG (libjpeg) and uncompressed BMP decoded to ARGB pixels, the
// loader behind every texture; and PNG output for saved frames. Damaged files fail cleanly.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

struct SysImage {
    int width = 0, height = 0;
    std::vector<uint32_t> argb;  // width x height, top row first, 0xAARRGGBB
};

constexpr int kMaxImageSide = 16384;  // larger images are refused rather than allocated

// The format is told by the first bytes, whatever the name says. 1 on success.
int SysDecodeImage(const void* data, size_t size, SysImage* image);
int SysLoadImageFile(const char* gamePath, SysImage* image);

// Writes 8-bit RGBA PNG to a native path; 1 on success.
int SysSavePng(const std::string& nativePath, const uint32_t* argb, int width, int height);
