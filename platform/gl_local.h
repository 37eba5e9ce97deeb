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

// Vertices and indices live in memory (pre-transformed vertices are converted on the CPU, the
// draw recorder and the index checks read them) and in a GL buffer, uploaded by the first draw
// after they were written: drawing a static mesh copies nothing.
struct GfxVertexBuffer {
    std::vector<unsigned char> data;
    uint32_t fvf = 0;
    GLuint id = 0;
    int generation = 0;  // the device id was made on
    int dirty = 1;
};

struct GfxIndexBuffer {
    std::vector<unsigned char> data;
    int bits = 16;
    int count = 0;
    uint32_t maxIndex = 0;  // the largest index written, found on unlock
    GLuint id = 0;
    int generation = 0;
    int dirty = 1;
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
    GLsync shownBatch = nullptr;  // keeps the last frame's last batch alive (GfxPresent)
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
    GfxIndexBuffer* indices = nullptr;
    int baseVertex = 0;

    // Coverage images for text, used in turn: rewriting a texture that a queued draw still
    // reads would make the renderer finish the frame first.
    GLuint scratch[kScratchTextures] = {};
    int scratchWidth[kScratchTextures] = {}, scratchHeight[kScratchTextures] = {};
    int scratchNext = 0;
    // What each holds (width x height bytes, empty when unknown) and when it was last drawn:
    // text drawn again unchanged is drawn from its image without uploading it anew.
    std::vector<unsigned char> scratchHeld[kScratchTextures];
    int scratchHeldWidth[kScratchTextures] = {}, scratchHeldHeight[kScratchTextures] = {};
    unsigned scratchUsed[kScratchTextures] = {};
    unsigned scratchClock = 0;
    GLuint whiteTexture = 0;    // 1 x 1 white: what a stage without a texture reads
    int maxTextureSize = 2048;
    int syncObjects = 0;        // the driver makes sync objects: the present can hold its batches
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

// What GL holds now, as these helpers last set it. Draws send GL only what changed: every
// change of shading state makes the software renderer store its whole state again, some
// 33 KB per draw. Code that sets such state past them forgets what it touched.
void ForgetGlState();                        // all unknown: the next draw sets all it uses
void ForgetGlTextures();                     // after textures were deleted (names come back)
void ForgetGlArrays();                       // after buffers were deleted
void GlCap(GLenum cap, bool on);             // the capabilities the draws switch
void GlTextureUnit(int unit);                // glActiveTexture
void GlClientUnit(int unit);                 // glClientActiveTexture
void GlTexture2D(int unit, bool on);         // GL_TEXTURE_2D on that unit
void GlBindTexture(int unit, GLuint id);
void GlEditTexture(GLuint id);               // bound on unit 0, made active: uploads and parameters
void GlBindBuffer(GLenum target, GLuint id);
void GlLoadMatrix(GLenum mode, const Mat4& m);
void GlLoadIdentity(GLenum mode);
void GlDepthMask(bool on);
void GlArray(GLenum array, int unit, bool on);  // client arrays (unit: texture coordinates)
// An array's pointer within the bound GL_ARRAY_BUFFER (0: memory).
void GlPointer(GLenum array, int unit, GLint size, GLenum type, GLsizei stride, const void* at);
void GlColor(const float c[4]);
void GlNormalZero();
// The 2-D helpers' states (blending, no depth, no lighting, pixel space on a width x height
// target, one modulating texture on unit 0); see Begin2D.
void GlSet2D(int width, int height);

// Targets and states
void BindTargets();                 // the framebuffer of the current target and depth
void SetFlag(GLenum cap, bool on);
void ApplyRaster();                 // depth, alpha test, blending, culling, shading, viewport
void ApplyFog(bool pretransformed);
void ApplyStages();                 // textures and combiners of the stages
// Filters and wrapping of texture t, bound on the unit, set on GL only where they differ from t's own.
void SetSampler(GfxTexture* t, int unit, GLint min, GLint mag, GLint wrapS, GLint wrapT);
void ApplyLighting(bool hasNormal, bool hasDiffuse);

// Text laid out for the next coverage image, kept only while a text recorder is set.
void NoteRenderedText(const char* text, int length);

}  // namespace gldev
