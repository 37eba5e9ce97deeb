// Textures: one device texture loaded from an image file or rendered from a text, and the
// process-wide cache that shares textures between meshes by file name.
#pragma once

#include "graphics.h"

#include <cstdint>
#include <string>

class CTexture {
public:
    CTexture();
    ~CTexture();                   // Release
    CTexture(const CTexture&) = delete;   // owns its device texture
    CTexture& operator=(const CTexture&) = delete;

    // Image file (PNG, JPEG, BMP) relative to the current folder. Pixels of exactly the colour
    // key (ARGB; 0 none) become transparent black; mip levels 0 = the full chain.
    int Load(const char* fileName, uint32_t colorKey, int mipLevels);
    int LoadFromResource(const char* resourceName, uint32_t colorKey, int mipLevels);  // "res\" beside the program
    // Text rendered in one colour into an A4R4G4B4 texture of power-of-two size; the rest of
    // the texture is transparent. Colour black gives a fully transparent texture.
    int CreateFromText(const char* text, int height, uint32_t color, int weight, const char* face);
    void Release();

    void GetSize(int* width, int* height) const;
    GfxTexture* GetTexture() const { return m_texture; }
    const GfxSurfaceDesc& GetDesc() const { return m_desc; }
    const std::string& GetName() const { return m_name; }
    void DrawAt(int x, int y);     // the whole texture at its own size, top-left at (x, y)

private:
    using TextureLoader = GfxTexture* (*)(const char* name, uint32_t colorKey, int mipLevels);
    int LoadWith(TextureLoader create, const char* name, uint32_t colorKey, int mipLevels);  // logs as Load

    GfxTexture* m_texture = nullptr;
    GfxSurfaceDesc m_desc;
    std::string m_name;
};

// Creates a texture from an image file the way the game's loader does: the image at the
// top-left of a power-of-two texture (A8R8G8B8, transparent black around it). Logs nothing.
GfxTexture* CreateTextureFromFile(const char* fileName, uint32_t colorKey, int mipLevels);
GfxTexture* CreateTextureFromResource(const char* resourceName, uint32_t colorKey, int mipLevels);

class CTextureCache {
public:
    CTextureCache() = default;
    ~CTextureCache();
    CTextureCache(const CTextureCache&) = delete;
    CTextureCache& operator=(const CTextureCache&) = delete;

    // A texture by name: the cached one (one more reference) or newly loaded; null on failure.
    // The name alone is the key: colour key, mip levels and the flag of later requests don't matter.
    GfxTexture* Load(int fromResource, const char* name, uint32_t colorKey, int mipLevels);
    void Release(GfxTexture* texture);   // one reference less; freed at zero; unknown ones ignored
    int Count() const;                   // entries held

private:
    struct Node {
        GfxTexture* texture;
        std::string name;
        int refCount;
        Node* next;
    };
    Node* m_head = nullptr;
};

extern CTextureCache g_textureCache;
