// Textures from image files and from text, and the shared texture cache.
#include "texture.h"

#include "shapes.h"

#include "sys_font.h"
#include "sys_image.h"
#include "sys_path.h"

#include <vector>

CTextureCache g_textureCache;

namespace {

int NextPowerOfTwo(int v) {
    int p = 1;
    while (p < v) p <<= 1;
    return p;
}

// The game's loader: sizes rounded up to powers of two (cut at the device maximum), the image
// unscaled at the top-left, transparent black around it, the colour key made transparent, and
// each further mip level taken from every other texel of the one above (no filtering).
GfxTexture* CreateTextureFromImage(const SysImage& image, uint32_t colorKey, int mipLevels) {
    int maxW = g_maxTextureWidth > 0 ? g_maxTextureWidth : 2048;
    int maxH = g_maxTextureHeight > 0 ? g_maxTextureHeight : 2048;
    int w = NextPowerOfTwo(image.width), h = NextPowerOfTwo(image.height);
    if (w > maxW) w = maxW;
    if (h > maxH) h = maxH;
    GfxTexture* t = GfxCreateTexture(w, h, mipLevels, 0, kFmtA8R8G8B8, kPoolManaged);
    if (!t) return nullptr;
    int pitch = 0;
    uint32_t* level0 = static_cast<uint32_t*>(GfxLockRect(t, 0, &pitch));
    if (!level0) {
        GfxRelease(t);
        return nullptr;
    }
    const int cw = image.width < w ? image.width : w, ch = image.height < h ? image.height : h;
    for (int y = 0; y < ch; ++y)
        for (int x = 0; x < cw; ++x) {
            uint32_t p = image.argb[(size_t)y * image.width + x];
            level0[(size_t)y * w + x] = (colorKey != 0 && p == colorKey) ? 0 : p;
        }
    GfxUnlockRect(t, 0);
    const uint32_t* above = level0;
    int aw = w;
    for (int level = 1; level < GfxGetLevelCount(t); ++level) {
        GfxSurfaceDesc d;
        GfxGetLevelDesc(t, level, &d);
        uint32_t* texels = static_cast<uint32_t*>(GfxLockRect(t, level, &pitch));
        if (!texels) break;
        for (int y = 0; y < d.height; ++y)
            for (int x = 0; x < d.width; ++x) texels[(size_t)y * d.width + x] = above[(size_t)(y * 2) * aw + x * 2];
        GfxUnlockRect(t, level);
        above = texels;
        aw = d.width;
    }
    return t;
}

// Program resources are files in "res" beside the program.
std::string ResourcePath(const char* name) {
    std::string path = SysGetExeDirectory() + "res/";
    return path + (name ? name : "");
}

}  // namespace

GfxTexture* CreateTextureFromFile(const char* fileName, uint32_t colorKey, int mipLevels) {
    SysImage image;
    if (!fileName || !SysLoadImageFile(fileName, &image)) return nullptr;
    return CreateTextureFromImage(image, colorKey, mipLevels);
}

GfxTexture* CreateTextureFromResource(const char* resourceName, uint32_t colorKey, int mipLevels) {
    if (!resourceName) return nullptr;
    return CreateTextureFromFile(ResourcePath(resourceName).c_str(), colorKey, mipLevels);
}

// ---- CTexture -------------------------------------------------------------------------------------

CTexture::CTexture() = default;

CTexture::~CTexture() { Release(); }

int CTexture::Load(const char* fileName, uint32_t colorKey, int mipLevels) {
    return LoadWith(CreateTextureFromFile, fileName, colorKey, mipLevels);
}

int CTexture::LoadFromResource(const char* resourceName, uint32_t colorKey, int mipLevels) {
    return LoadWith(CreateTextureFromResource, resourceName, colorKey, mipLevels);
}

int CTexture::LoadWith(TextureLoader create, const char* name, uint32_t colorKey, int mipLevels) {
    Release();
    LogPrintf("load(%s) ... ", name ? name : "");
    m_name = name ? name : "";
    m_texture = create(name, colorKey, mipLevels);
    if (!m_texture) {
        LogPrintf("failed.\n");
        return 0;
    }
    GfxGetLevelDesc(m_texture, 0, &m_desc);
    LogPrintf("ok.\n");
    return 1;
}

int CTexture::CreateFromText(const char* text, int height, uint32_t color, int weight, const char* face) {
    Release();
    m_name = "text";
    GfxFont* font = GfxCreateFont(face, height, weight);
    if (!font) return 0;
    const int length = text ? (int)std::char_traits<char>::length(text) : 0;
    int w = 0, h = 0;
    GfxMeasureText(font, text, length, &w, &h);
    // An empty text still makes a valid (transparent) texture rather than a zero-sized bitmap.
    if (w < 1) w = 1;
    if (h < 1) h = 1;
    std::vector<unsigned char> bitmap((size_t)w * h);
    // The text is drawn in its own colour onto black: black text leaves every pixel zero.
    if (color & 0xFFFFFF) GfxRenderText(font, text, length, bitmap.data(), w, h, 1);
    GfxReleaseFont(font);

    int tw = w < g_maxTextureWidth || g_maxTextureWidth <= 0 ? w : g_maxTextureWidth;
    int th = h < g_maxTextureHeight || g_maxTextureHeight <= 0 ? h : g_maxTextureHeight;
    tw = NextPowerOfTwo(tw);
    th = NextPowerOfTwo(th);
    m_texture = GfxCreateTexture(tw, th, 1, 0, kFmtA4R4G4B4, kPoolManaged);
    if (!m_texture) return 0;
    GfxGetLevelDesc(m_texture, 0, &m_desc);
    int pitch = 0;
    uint16_t* texels = static_cast<uint16_t*>(GfxLockRect(m_texture, 0, &pitch));
    if (!texels) return 0;
    const uint16_t value = (uint16_t)((((color >> 28) & 15) << 12) | (((color >> 20) & 15) << 8) |
                                      (((color >> 12) & 15) << 4) | ((color >> 4) & 15));
    const int cw = w < m_desc.width ? w : m_desc.width, ch = h < m_desc.height ? h : m_desc.height;
    for (int y = 0; y < ch; ++y)
        for (int x = 0; x < cw; ++x)
            texels[(size_t)y * (pitch / 2) + x] = bitmap[(size_t)y * w + x] ? value : 0;
    GfxUnlockRect(m_texture, 0);
    return 1;
}

void CTexture::Release() {
    if (!m_name.empty()) {
        LogPrintf("release(%s)\n", m_name.c_str());
        m_name.clear();
    }
    if (m_texture) {
        GfxRelease(m_texture);
        m_texture = nullptr;
    }
    m_desc = GfxSurfaceDesc{};
}

void CTexture::GetSize(int* width, int* height) const {
    if (width) *width = m_desc.width;
    if (height) *height = m_desc.height;
}

void CTexture::DrawAt(int x, int y) {
    if (!m_texture) return;
    SetDeviceTexture(0, m_texture);
    DrawTexturedRect2D(x, y, x + m_desc.width, y + m_desc.height, 0xFFFFFFFF);
}

// ---- CTextureCache ------------------------------------------------------------------------------

CTextureCache::~CTextureCache() {
    while (m_head) {
        Node* next = m_head->next;
        GfxRelease(m_head->texture);
        delete m_head;
        m_head = next;
    }
}

GfxTexture* CTextureCache::Load(int fromResource, const char* name, uint32_t colorKey, int mipLevels) {
    const std::string key = name ? name : "";
    for (Node* n = m_head; n; n = n->next)
        if (n->name == key) {
            n->refCount++;
            return n->texture;
        }
    LogPrintf("load(%s) ... ", key.c_str());
    GfxTexture* t = fromResource ? CreateTextureFromResource(name, colorKey, mipLevels)
                                 : CreateTextureFromFile(name, colorKey, mipLevels);
    if (!t) {
        LogPrintf("failed.\n");
        return nullptr;
    }
    LogPrintf("ok.\n");
    Node* node = new Node{t, key, 1, nullptr};
    if (!m_head) {
        m_head = node;
    } else {
        node->next = m_head->next;
        m_head->next = node;
    }
    return t;
}

void CTextureCache::Release(GfxTexture* texture) {
    if (!texture) return;
    for (Node** link = &m_head; *link; link = &(*link)->next) {
        Node* n = *link;
        if (n->texture != texture) continue;
        if (--n->refCount > 0) return;
        LogPrintf("release(%s)\n", n->name.c_str());
        GfxRelease(n->texture);
        *link = n->next;
        delete n;
        return;
    }
}

int CTextureCache::Count() const {
    int c = 0;
    for (Node* n = m_head; n; n = n->next) ++c;
    return c;
}
