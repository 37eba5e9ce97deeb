// PNG output for the stand-in images: 32-bit ARGB pixels, top row first.
#pragma once

#include <cstdint>
#include <string>

int WritePngArgb(const std::string& path, int width, int height, const uint32_t* argb);  // 1 on success
