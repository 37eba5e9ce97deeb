// How meshes take their textures: through the engine's texture cache, one reference per subset.
#pragma once

#include "sys_graphics.h"

#include <cstdint>

GfxTexture* MeshTextureLoad(const char* file, uint32_t colorKey, int mipLevels);  // null on failure
void MeshTextureRelease(GfxTexture* texture);
