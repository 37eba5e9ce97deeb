// The vertex of format 0x142 (position, ARGB colour, one texture coordinate set: 24 bytes),
// shared by the engine's particle and water drawing.
#pragma once

#include <cstdint>

struct ColorTexVertex {
    float x = 0, y = 0, z = 0;
    uint32_t color = 0;
    float u = 0, v = 0;
};
static_assert(sizeof(ColorTexVertex) == 24, "format 0x142 is 24 bytes");
