// Mesh textures through the engine's texture cache.
#include "mesh_textures.h"

// TODO: the texture cache is not in the engine yet; until it is, subsets draw untextured.
GfxTexture* MeshTextureLoad(const char*, uint32_t, int) { return nullptr; }
void MeshTextureRelease(GfxTexture*) {}
