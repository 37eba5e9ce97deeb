// Platform-internal: the GL device's records and the helpers its backend files share
// (device and surfaces, state application, drawing). Never included outside platform/.
#pragma once

#define GL_GLEXT_PROTOTYPES 1
#include "sdl_local.h"
#include "sys_graphics.h"

#include <GL/gl.h>
#include <GL/glext.h>

#include <vector>

struct GfxTexture {
    int refs = 1;
    int generation = 0;  // the device it was made on; GL names die with their context
    GLuint id = 0;
    int width = 0, height = 0, levels = 1;
    uint32_t format = kFmtUnknown, usage = 0;
    int pool = kPoolManaged;
    std::vector<std::vector<unsigned char>> shadow;  // CPU copy per level, made on first lock
    GLint minFilter = -1, magFilter = -1, wrapS = -1, wrapT = -1;  // what GL has now
};

enum SurfaceKind { kSurfBackBuffer, kSurfTextureLevel, kSurfDepth };

struct GfxSurface {
    int refs = 1;
    int generation = 0;
    int kind = kSurfBackBuffer;
    GfxTexture* texture = nullptr;  // a reference while held
    int level = 0;
    GLuint renderbuffer = 0;        // colour of the back buffer, or the depth surface
    int width = 0, height = 0;
    uint32_t format = kFmtUnknown;
};

struct GfxVertexBuffer {
    std::vector<unsigned char> data;
    uint32_t fvf = 0;
};

namespace gldev {

constexpr int kBackWidth = 640;   // the back buffer is always 640 x 480
constexpr int kBackHeight = 480;

constexpr int kScratchTextures = 64;  // text draws a frame before one waits for the renderer

struct Device {
    int created = 0;
    SDL_GLContext context = nullptr;
    GfxPresentParams params;
    int adapter = 0;
    int inScene = 0;
    GLuint backFbo = 0, targetFbo = 0;
    GfxSurface* backBuffer = nullptr;
    GfxSurface* backDepth = nullptr;
    GfxSurface* target = nullptr;   // current render target (a reference)
    GfxSurface* depth = nullptr;    // current depth surface (a reference; may be null)
    GfxViewport viewport;

    uint32_t rs[kRsStateCount] = {};
    uint32_t tss[kGfxMaxStages][kTssStateCount] = {};
    GfxTexture* textures[kGfxMaxStages] = {};
    Mat4 world, view, projection;
    GfxMaterial material;
    GfxLight lights[kGfxMaxLights];
    int lightOn[kGfxMaxLights] = {};
    uint32_t fvf = 0;
    GfxVertexBuffer* stream = nullptr;
    int streamStride = 0;

    // Coverage images for text, used in turn: rewriting a texture that a queued draw still
    // reads would make the renderer finish the frame first.
    GLuint scratch[kScratchTextures] = {};
    int scratchWidth[kScratchTextures] = {}, scratchHeight[kScratchTextures] = {};
    int scratchNext = 0;
    GLuint whiteTexture = 0;    // 1 x 1 white: what a stage without a texture reads
    int maxTextureSize = 2048;
};

extern Device g_dev;
extern int g_generation;  // counts device creations; GL names die with their context

// Values
float F(uint32_t bits);      // a float state from its bit pattern
uint32_t Bits(float f);
void ArgbToFloats(uint32_t c, float out[4]);
// Direct3D clip space (z 0..1, y up) to GL clip space (z -1..1) with y turned over, because
// every target is stored top row first.
Mat4 ClipAdapter();
int FormatBytes(uint32_t format);
struct GlFormat {
    GLint internal;
    GLenum format, type;
};
int GlFormatOf(uint32_t format, GlFormat* out);
int LevelSize(int size, int level);

// Targets and states
void BindTargets();                 // the framebuffer of the current target and depth
void SetFlag(GLenum cap, bool on);
void ApplyRaster();                 // depth, alpha test, blending, culling, shading, viewport
void ApplyFog(bool pretransformed);
void ApplyStages();                 // textures and combiners of the stages
// Filters and wrapping of the bound texture t, set on GL only where they differ from t's own.
void SetSampler(GfxTexture* t, GLint min, GLint mag, GLint wrapS, GLint wrapT);
void ApplyLighting(bool hasNormal, bool hasDiffuse);

// Text laid out for the next coverage image, kept only while a text recorder is set.
void NoteRenderedText(const char* text, int length);

}  // namespace gldev
