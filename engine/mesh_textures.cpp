// Mesh textures through the engine's texture cache.
#include "mesh_textures.h"

#include "texture.h"

GfxTexture* MeshTextureLoad(const char* file, uint32_t colorKey, int mipLevels) {
    return g_textureCache.Load(0, file, colorKey, mipLevels);
}

void MeshTextureRelease(GfxTexture* texture) { g_textureCache.Release(texture); }
