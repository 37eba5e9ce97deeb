// Mesh textures through the engine's texture cache, shared by file name.
#include "mesh_textures.h"

#include "texture.h"

GfxTexture* MeshTextureLoad(int fromResource, const char* file, uint32_t colorKey, int mipLevels) {
    return g_textureCache.Load(fromResource, file, colorKey, mipLevels);
}

void MeshTextureRelease(GfxTexture* texture) { g_textureCache.Release(texture); }
