// How meshes take their textures: through the engine's texture cache, one reference per subset.
#pragma once

#include "sys_graphics.h"

#include <cstdint>

// Null when the image cannot be loaded (or there is no device yet): the subset draws untextured.
GfxTexture* MeshTextureLoad(int fromResource, const char* file, uint32_t colorKey, int mipLevels);
void MeshTextureRelease(GfxTexture* texture);
