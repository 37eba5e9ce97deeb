// The graphics device over OpenGL fixed function (compatibility profile): adapters and modes,
// the device and its off-screen back buffer, the frame, the stored states, textures, surfaces
// and render targets. The device keeps Direct3D's state tables and applies them to GL at every
// draw (gl_state.cpp), so the order of state calls never matters. Every target is drawn upside
// down in GL terms, so row 0 of any surface is the top row as the game sees it; Present flips
// the back buffer into the window.
#include "gl_local.h"

#include <cstring>

namespace gldev {

Device g_dev;
int g_generation = 0;

float F(uint32_t bits) {
    float f;
    std::memcpy(&f, &bits, 4);
    return f;
}
uint32_t Bits(float f) {
    uint32_t b;
    std::memcpy(&b, &f, 4);
    return b;
}

void ArgbToFloats(uint32_t c, float out[4]) {
    out[0] = ((c >> 16) & 0xFF) / 255.0f;
    out[1] = ((c >> 8) & 0xFF) / 255.0f;
    out[2] = (c & 0xFF) / 255.0f;
    out[3] = ((c >> 24) & 0xFF) / 255.0f;
}

Mat4 ClipAdapter() {
    Mat4 a = Mat4::Identity();
    a.m[1][1] = -1.0f;
    a.m[2][2] = 2.0f;
    a.m[3][2] = -1.0f;
    return a;
}

int FormatBytes(uint32_t format) {
    switch (format) {
        case kFmtA8R8G8B8:
        case kFmtX8R8G8B8:
            return 4;
        case kFmtA4R4G4B4:
        case kFmtR5G6B5:
        case kFmtX1R5G5B5:
        case kFmtA1R5G5B5:
            return 2;
        default:
            return 0;
    }
}

int GlFormatOf(uint32_t format, GlFormat* out) {
    switch (format) {
        case kFmtA8R8G8B8: *out = {GL_RGBA8, GL_BGRA, GL_UNSIGNED_INT_8_8_8_8_REV}; return 1;
        case kFmtX8R8G8B8: *out = {GL_RGB8, GL_BGRA, GL_UNSIGNED_INT_8_8_8_8_REV}; return 1;
        case kFmtA4R4G4B4: *out = {GL_RGBA4, GL_BGRA, GL_UNSIGNED_SHORT_4_4_4_4_REV}; return 1;
        case kFmtR5G6B5: *out = {GL_RGB8, GL_RGB, GL_UNSIGNED_SHORT_5_6_5}; return 1;
        case kFmtX1R5G5B5: *out = {GL_RGB5, GL_BGRA, GL_UNSIGNED_SHORT_1_5_5_5_REV}; return 1;
        case kFmtA1R5G5B5: *out = {GL_RGB5_A1, GL_BGRA, GL_UNSIGNED_SHORT_1_5_5_5_REV}; return 1;
        default: return 0;
    }
}

int LevelSize(int size, int level) {
    int s = size >> level;
    return s < 1 ? 1 : s;
}

// The back buffer with its own depth (or none) has a framebuffer of its own; every other pair
// of target and depth is attached to the shared one.
bool DrawsToBackFbo() { return g_dev.target == g_dev.backBuffer && (!g_dev.depth || g_dev.depth == g_dev.backDepth); }

void BindTargets() {
    GfxSurface* t = g_dev.target;
    GfxSurface* d = g_dev.depth;
    if (DrawsToBackFbo()) {
        glBindFramebuffer(GL_FRAMEBUFFER, g_dev.backFbo);
        // The back buffer's own depth buffer stays attached; no depth means no depth test.
        return;
    }
    glBindFramebuffer(GL_FRAMEBUFFER, g_dev.targetFbo);
    if (t->kind == kSurfTextureLevel)
        glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, t->texture->id, t->level);
    else
        glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, t->renderbuffer);
    GLuint rb = d ? d->renderbuffer : 0;
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_STENCIL_ATTACHMENT, GL_RENDERBUFFER, rb);
}

}  // namespace gldev

using namespace gldev;

namespace {

// What the test hooks make the platform report.
struct TestDisplay {
    int active = 0;
    int adapters = 1;
    uint32_t desktopFormat = kFmtX8R8G8B8;
    GfxDisplayMode modes[16];
    int count = 0;
} g_testDisplay;
int g_failTnlHal = 0, g_failHal = 0, g_failRef = 0;
int g_testCoopLevel = kGfxOk;

constexpr int kMaxReportedTexture = 2048;  // a size every card of the game's era handled

uint32_t SdlToFormat(Uint32 sdlFormat) {
    switch (SDL_BITSPERPIXEL(sdlFormat)) {
        case 16:
            return SDL_PIXELLAYOUT(sdlFormat) == SDL_PACKEDLAYOUT_565 ? kFmtR5G6B5 : kFmtX1R5G5B5;
        default:
            return kFmtX8R8G8B8;
    }
}

void DefaultStates() {
    std::memset(g_dev.rs, 0, sizeof(g_dev.rs));
    g_dev.rs[kRsZEnable] = 1;
    g_dev.rs[kRsFillMode] = kFillSolid;
    g_dev.rs[kRsShadeMode] = kShadeGouraud;
    g_dev.rs[kRsZWriteEnable] = 1;
    g_dev.rs[kRsSrcBlend] = kBlendOne;
    g_dev.rs[kRsDestBlend] = kBlendZero;
    g_dev.rs[kRsCullMode] = kCullCcw;
    g_dev.rs[kRsZFunc] = kCmpLessEqual;
    g_dev.rs[kRsAlphaFunc] = kCmpAlways;
    g_dev.rs[kRsFogStart] = Bits(0.0f);
    g_dev.rs[kRsFogEnd] = Bits(1.0f);
    g_dev.rs[kRsFogDensity] = Bits(1.0f);
    g_dev.rs[kRsTextureFactor] = 0xFFFFFFFF;
    g_dev.rs[kRsLighting] = 1;
    g_dev.rs[kRsColorVertex] = 1;
    g_dev.rs[kRsPointSize] = Bits(1.0f);
    g_dev.rs[kRsBlendOp] = kBlendOpAdd;
    for (int s = 0; s < kGfxMaxStages; ++s) {
        uint32_t* t = g_dev.tss[s];
        std::memset(t, 0, sizeof(g_dev.tss[s]));
        t[kTssColorOp] = s == 0 ? kTopModulate : kTopDisable;
        t[kTssColorArg1] = kTaTexture;
        t[kTssColorArg2] = kTaCurrent;
        t[kTssAlphaOp] = s == 0 ? kTopSelectArg1 : kTopDisable;
        t[kTssAlphaArg1] = kTaTexture;
        t[kTssAlphaArg2] = kTaCurrent;
        t[kTssTexCoordIndex] = (uint32_t)s;
        t[kTssAddressU] = kAddressWrap;
        t[kTssAddressV] = kAddressWrap;
        t[kTssMagFilter] = kFilterPoint;
        t[kTssMinFilter] = kFilterPoint;
        t[kTssMipFilter] = kFilterNone;
    }
    g_dev.world = g_dev.view = g_dev.projection = Mat4::Identity();
    g_dev.material = GfxMaterial{};
    for (int i = 0; i < kGfxMaxLights; ++i) {
        g_dev.lights[i] = GfxLight{};
        g_dev.lightOn[i] = 0;
    }
}

GfxSurface* NewSurface(int kind, int w, int h, uint32_t format) {
    GfxSurface* s = new GfxSurface;
    s->generation = g_generation;
    s->kind = kind;
    s->width = w;
    s->height = h;
    s->format = format;
    return s;
}

GLuint MakeRenderbuffer(GLenum internal, int w, int h) {
    GLuint rb = 0;
    glGenRenderbuffers(1, &rb);
    glBindRenderbuffer(GL_RENDERBUFFER, rb);
    glRenderbufferStorage(GL_RENDERBUFFER, internal, w, h);
    return rb;
}

void UploadLevel(GfxTexture* t, int level, const void* pixels) {
    GlFormat f;
    if (!GlFormatOf(t->format, &f)) return;  // textures are only made in known formats
    GlEditTexture(t->id);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
    glTexSubImage2D(GL_TEXTURE_2D, level, 0, 0, LevelSize(t->width, level), LevelSize(t->height, level), f.format,
                    f.type, pixels);
}

}  // namespace

// ---- Adapters and modes ---------------------------------------------------------------------

int GfxGetAdapterCount() {
    if (g_testDisplay.active) return g_testDisplay.adapters;
    if (!SdlInitSubsystem(SDL_INIT_VIDEO)) return 0;
    int n = SDL_GetNumVideoDisplays();
    return n < 1 ? 1 : n;
}

int GfxGetAdapterDisplayMode(int adapter, GfxDisplayMode* mode) {
    if (g_testDisplay.active) {
        *mode = {1024, 768, 60, g_testDisplay.desktopFormat};
        return 1;
    }
    SDL_DisplayMode dm;
    if (!SdlInitSubsystem(SDL_INIT_VIDEO) || SDL_GetDesktopDisplayMode(adapter, &dm) != 0) {
        *mode = {kBackWidth, kBackHeight, 60, kFmtX8R8G8B8};
        return 1;
    }
    *mode = {dm.w, dm.h, dm.refresh_rate, SdlToFormat(dm.format)};
    return 1;
}

// The platform always offers 640 x 480 in the desktop format (the frame is scaled anyway),
// and the desktop's own size.
int GfxGetAdapterModeCount(int /*adapter*/) {
    if (g_testDisplay.active) return g_testDisplay.count;
    return 2;
}

int GfxEnumAdapterModes(int adapter, int index, GfxDisplayMode* mode) {
    if (g_testDisplay.active) {
        if (index < 0 || index >= g_testDisplay.count) return 0;
        *mode = g_testDisplay.modes[index];
        return 1;
    }
    GfxDisplayMode desk;
    GfxGetAdapterDisplayMode(adapter, &desk);
    if (index == 0) {
        *mode = {kBackWidth, kBackHeight, desk.refreshRate, desk.format};
        return 1;
    }
    if (index == 1) {
        *mode = desk;
        return 1;
    }
    return 0;
}

int GfxCheckDepthStencilMatch(int /*adapter*/, uint32_t targetFormat, uint32_t depthFormat) {
    if (!FormatBytes(targetFormat)) return 0;
    // Every depth buffer is 24-bit depth with stencil underneath; these formats fit in it.
    switch (depthFormat) {
        case kFmtD16:
        case kFmtD24S8:
        case kFmtD24X8:
            return 1;
        default:
            return 0;
    }
}

void GfxTestSetDeviceFailures(int tnlHal, int hal, int ref) {
    g_failTnlHal = tnlHal;
    g_failHal = hal;
    g_failRef = ref;
}

void GfxTestSetDisplay(int adapters, uint32_t desktopFormat, const GfxDisplayMode* modes, int count) {
    g_testDisplay.active = 1;
    g_testDisplay.adapters = adapters;
    g_testDisplay.desktopFormat = desktopFormat;
    if (count > 16) count = 16;
    g_testDisplay.count = count;
    for (int i = 0; i < count; ++i) g_testDisplay.modes[i] = modes[i];
}

void GfxTestSetCooperativeLevel(int level) { g_testCoopLevel = level; }

void GfxTestResetDisplay() {
    g_testDisplay = TestDisplay{};
    g_failTnlHal = g_failHal = g_failRef = 0;
    g_testCoopLevel = kGfxOk;
}

// ---- Device --------------------------------------------------------------------------------

int GfxCreateDevice(int adapter, int type, int vertexProcessing, const GfxPresentParams& params) {
    if (g_dev.created) return 0;
    if (type == kDevHal && vertexProcessing == kVpHardware && g_failTnlHal) return 0;
    if (type == kDevHal && vertexProcessing != kVpHardware && g_failHal) return 0;
    if (type == kDevRef && g_failRef) return 0;
    GlFormat f;
    if (!GlFormatOf(params.format, &f) || params.width <= 0 || params.height <= 0) return 0;
    SDL_Window* window = SdlGetWindow();
    if (!window) return 0;
    if (!params.windowed) {
        if (adapter > 0) SDL_SetWindowPosition(window, SDL_WINDOWPOS_CENTERED_DISPLAY(adapter),
                                               SDL_WINDOWPOS_CENTERED_DISPLAY(adapter));
        SDL_SetWindowFullscreen(window, SDL_WINDOW_FULLSCREEN_DESKTOP);
        SDL_ShowWindow(window);
    }
    SDL_GLContext ctx = SDL_GL_CreateContext(window);
    if (!ctx) return 0;
    SDL_GL_MakeCurrent(window, ctx);
    SDL_GL_SetSwapInterval(0);  // the frame timer paces frames

    g_dev = Device{};
    ForgetGlState();  // a new context holds GL's defaults
    ++g_generation;
    g_dev.context = ctx;
    g_dev.params = params;
    g_dev.adapter = adapter;
    GLint maxTex = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &maxTex);
    g_dev.maxTextureSize = maxTex < kMaxReportedTexture ? maxTex : kMaxReportedTexture;
    // Asked of the calls the present makes: a driver without them answers with no sync.
    if (GLsync probe = glFenceSync(GL_SYNC_GPU_COMMANDS_COMPLETE, 0)) {
        g_dev.syncObjects = 1;
        glDeleteSync(probe);
    }

    g_dev.backBuffer = NewSurface(kSurfBackBuffer, params.width, params.height, params.format);
    g_dev.backBuffer->renderbuffer = MakeRenderbuffer(f.internal, params.width, params.height);
    glGenFramebuffers(1, &g_dev.backFbo);
    glBindFramebuffer(GL_FRAMEBUFFER, g_dev.backFbo);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, g_dev.backBuffer->renderbuffer);
    if (params.autoDepthStencil) {
        g_dev.backDepth = NewSurface(kSurfDepth, params.width, params.height, params.depthFormat);
        g_dev.backDepth->renderbuffer = MakeRenderbuffer(GL_DEPTH24_STENCIL8, params.width, params.height);
        glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_STENCIL_ATTACHMENT, GL_RENDERBUFFER,
                                  g_dev.backDepth->renderbuffer);
    }
    int complete = glCheckFramebufferStatus(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE;
    glGenFramebuffers(1, &g_dev.targetFbo);
    glGenTextures(kScratchTextures, g_dev.scratch);
    glGenTextures(1, &g_dev.whiteTexture);
    const uint32_t white = 0xFFFFFFFF;
    glBindTexture(GL_TEXTURE_2D, g_dev.whiteTexture);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, 1, 1, 0, GL_BGRA, GL_UNSIGNED_BYTE, &white);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    g_dev.created = 1;
    if (!complete) {
        GfxDestroyDevice();
        return 0;
    }
    g_dev.target = g_dev.backBuffer;
    g_dev.target->refs++;
    g_dev.depth = g_dev.backDepth;
    if (g_dev.depth) g_dev.depth->refs++;
    g_dev.viewport = {0, 0, params.width, params.height, 0.0f, 1.0f};
    DefaultStates();
    BindTargets();
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glProvokingVertex(GL_FIRST_VERTEX_CONVENTION);  // flat shading takes the first vertex's colour
    glHint(GL_FOG_HINT, GL_NICEST);
    glClearColor(0, 0, 0, 0);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
    ForgetGlState();
    return 1;
}

void GfxDestroyDevice() {
    if (!g_dev.created) return;
    for (auto*& t : g_dev.textures)
        if (t) {
            GfxRelease(t);
            t = nullptr;
        }
    if (g_dev.target) GfxReleaseSurface(g_dev.target);
    if (g_dev.depth) GfxReleaseSurface(g_dev.depth);
    if (g_dev.backBuffer) GfxReleaseSurface(g_dev.backBuffer);
    if (g_dev.backDepth) GfxReleaseSurface(g_dev.backDepth);
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    glDeleteFramebuffers(1, &g_dev.backFbo);
    glDeleteFramebuffers(1, &g_dev.targetFbo);
    glDeleteTextures(kScratchTextures, g_dev.scratch);
    glDeleteTextures(1, &g_dev.whiteTexture);
    if (g_dev.shownBatch) {
        glFinish();  // whatever was drawn since the last frame ends first (see GfxPresent)
        glDeleteSync(g_dev.shownBatch);
    }
    SDL_GL_DeleteContext(g_dev.context);
    ForgetGlState();
    SDL_Window* window = SdlGetWindow();
    if (window && !g_dev.params.windowed) SDL_SetWindowFullscreen(window, 0);
    g_dev = Device{};
}

int GfxHasDevice() { return g_dev.created; }

int GfxHasSyncObjects() { return g_dev.syncObjects; }

const GfxPresentParams& GfxGetPresentParams() { return g_dev.params; }

void GfxGetCaps(GfxCaps* caps) {
    *caps = GfxCaps{};
    caps->maxPrimitiveCount = 0xFFFFF;
    caps->maxActiveLights = kGfxMaxLights;
    caps->fogVertex = 1;
    caps->fogTable = 1;
    caps->fogRange = 0;
    caps->maxTextureWidth = caps->maxTextureHeight = g_dev.created ? g_dev.maxTextureSize : kMaxReportedTexture;
    caps->maxSimultaneousTextures = kGfxMaxStages;
    caps->textureAlpha = 1;
    caps->mipmap = 1;
    caps->bumpEnvMap = 0;
    caps->hardwareTnl = 1;
}

uint32_t GfxGetAvailableTextureMem() { return 128u << 20; }

int GfxTestCooperativeLevel() { return g_dev.created ? g_testCoopLevel : kGfxDeviceLost; }

// ---- Frame ----------------------------------------------------------------------------------

// A scene left open (a frame that skipped its drawing) simply goes on: beginning again is harmless.
int GfxBeginScene() {
    if (!g_dev.created) return 0;
    g_dev.inScene = 1;
    return 1;
}

int GfxEndScene() {
    if (!g_dev.created || !g_dev.inScene) return 0;
    g_dev.inScene = 0;
    return 1;
}

// Mesa's software renderer (llvmpipe) draws in batches on its rasteriser threads, a new batch at
// each change of framebuffer. Each thread marks a batch done by raising a count under the lock of
// the batch's fence and then unlocking. The drawing thread reads that count without the lock: it
// reuses a batch it reads done and frees the fence once a newer batch has been handed over, so a
// rasteriser still on its way to the unlock writes into freed memory and corrupts the heap. So
// the frame ends in waits, one after each batch it makes here (the frame's drawing, the window's
// bars, the blit, which draws into a framebuffer of its own), and a sync object holds each waited
// batch's fence until the next wait ends. A batch begins only when every thread has left the one
// before, so a later batch seen done proves the held one unlocked, even when the wait read the
// count done without the lock; then the sync can free it. The threads are kept, and the swap
// shows a finished frame.
namespace {

GLsync FinishAndHold(GLsync held) {
    glFinish();
    // Taken before the release: when nothing was drawn since, both hold the same batch.
    GLsync now = glFenceSync(GL_SYNC_GPU_COMMANDS_COMPLETE, 0);
    if (held) glDeleteSync(held);
    return now;
}

}  // namespace

void GfxPresent() {
    if (!g_dev.created) return;
    SDL_Window* window = SdlGetWindow();
    int ww = 0, wh = 0;
    SDL_GL_GetDrawableSize(window, &ww, &wh);
    const int bw = g_dev.backBuffer->width, bh = g_dev.backBuffer->height;
    // Largest 4:3 rectangle in the window, centred; the rest stays black.
    int w = ww, h = ww * bh / bw;
    if (h > wh) {
        h = wh;
        w = wh * bw / bh;
    }
    int x = (ww - w) / 2, y = (wh - h) / 2;
    g_dev.shownBatch = FinishAndHold(g_dev.shownBatch);
    glBindFramebuffer(GL_READ_FRAMEBUFFER, g_dev.backFbo);
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, 0);
    GlCap(GL_SCISSOR_TEST, false);
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    if (w != ww || h != wh) {  // bars to paint: a batch of its own, as the blit's is
        glClearColor(0, 0, 0, 1);
        glClear(GL_COLOR_BUFFER_BIT);
        g_dev.shownBatch = FinishAndHold(g_dev.shownBatch);
    }
    // Stored top row first: turned over into the window.
    glBlitFramebuffer(0, 0, bw, bh, x, y + h, x + w, y, GL_COLOR_BUFFER_BIT, GL_LINEAR);
    g_dev.shownBatch = FinishAndHold(g_dev.shownBatch);
    SDL_GL_SwapWindow(window);
    BindTargets();
}

void GfxClear(uint32_t flags, uint32_t color, float z, uint32_t stencil) {
    if (!g_dev.created) return;
    const GfxViewport& vp = g_dev.viewport;
    glScissor(vp.x, vp.y, vp.width, vp.height);
    GlCap(GL_SCISSOR_TEST, true);
    GLbitfield bits = 0;
    if (flags & kClearTarget) {
        float c[4];
        ArgbToFloats(color, c);
        glClearColor(c[0], c[1], c[2], c[3]);
        glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
        bits |= GL_COLOR_BUFFER_BIT;
    }
    if ((flags & kClearZBuffer) && g_dev.depth) {
        glClearDepth(z);
        GlDepthMask(true);
        bits |= GL_DEPTH_BUFFER_BIT;
    }
    if ((flags & kClearStencil) && g_dev.depth) {
        glClearStencil((GLint)stencil);
        glStencilMask(0xFF);
        bits |= GL_STENCIL_BUFFER_BIT;
    }
    if (bits) glClear(bits);
    GlCap(GL_SCISSOR_TEST, false);
}

void GfxSetViewport(const GfxViewport& vp) { g_dev.viewport = vp; }
void GfxGetViewport(GfxViewport* vp) { *vp = g_dev.viewport; }

// ---- Transforms, states, materials, lights ----------------------------------------------------

void GfxSetTransform(int which, const Mat4& m) {
    switch (which) {
        case kTsWorld: g_dev.world = m; break;
        case kTsView: g_dev.view = m; break;
        case kTsProjection: g_dev.projection = m; break;
        default: break;
    }
}

void GfxGetTransform(int which, Mat4* m) {
    switch (which) {
        case kTsWorld: *m = g_dev.world; break;
        case kTsView: *m = g_dev.view; break;
        case kTsProjection: *m = g_dev.projection; break;
        default: *m = Mat4::Identity(); break;
    }
}

void GfxSetRenderState(uint32_t state, uint32_t value) {
    if (state < kRsStateCount) g_dev.rs[state] = value;
}
uint32_t GfxGetRenderState(uint32_t state) { return state < kRsStateCount ? g_dev.rs[state] : 0; }

void GfxSetTextureStageState(int stage, uint32_t type, uint32_t value) {
    if (stage >= 0 && stage < kGfxMaxStages && type < kTssStateCount) g_dev.tss[stage][type] = value;
}
uint32_t GfxGetTextureStageState(int stage, uint32_t type) {
    if (stage >= 0 && stage < kGfxMaxStages && type < kTssStateCount) return g_dev.tss[stage][type];
    return 0;
}

void GfxSetMaterial(const GfxMaterial& m) { g_dev.material = m; }
void GfxGetMaterial(GfxMaterial* m) { *m = g_dev.material; }

void GfxSetLight(int index, const GfxLight& light) {
    if (index >= 0 && index < kGfxMaxLights) g_dev.lights[index] = light;
}
void GfxGetLight(int index, GfxLight* light) {
    *light = index >= 0 && index < kGfxMaxLights ? g_dev.lights[index] : GfxLight{};
}
void GfxLightEnable(int index, int on) {
    if (index >= 0 && index < kGfxMaxLights) g_dev.lightOn[index] = on ? 1 : 0;
}

// ---- Textures ---------------------------------------------------------------------------------

GfxTexture* GfxCreateTexture(int width, int height, int levels, uint32_t usage, uint32_t format, int pool) {
    GlFormat f;
    if (!g_dev.created || !GlFormatOf(format, &f)) return nullptr;
    if (width <= 0 || height <= 0 || width > g_dev.maxTextureSize || height > g_dev.maxTextureSize) return nullptr;
    int full = 1;
    while ((width >> full) > 0 || (height >> full) > 0) ++full;
    if (levels <= 0 || levels > full) levels = full;
    GfxTexture* t = new GfxTexture;
    t->generation = g_generation;
    t->width = width;
    t->height = height;
    t->levels = levels;
    t->format = format;
    t->usage = usage;
    t->pool = pool;
    t->shadow.resize((size_t)levels);
    glGenTextures(1, &t->id);
    GlEditTexture(t->id);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, levels - 1);
    std::vector<unsigned char> zero((size_t)width * height * FormatBytes(format), 0);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
    for (int l = 0; l < levels; ++l)
        glTexImage2D(GL_TEXTURE_2D, l, f.internal, LevelSize(width, l), LevelSize(height, l), 0, f.format, f.type,
                     zero.data());
    return t;
}

void GfxAddRef(GfxTexture* t) {
    if (t) t->refs++;
}

void GfxRelease(GfxTexture* t) {
    if (!t || --t->refs > 0) return;
    if (g_dev.created && t->generation == g_generation) {
        glDeleteTextures(1, &t->id);
        ForgetGlTextures();  // GL unbound it, and its name may come back
    }
    delete t;
}

int GfxGetLevelCount(GfxTexture* t) { return t ? t->levels : 0; }

int GfxGetLevelDesc(GfxTexture* t, int level, GfxSurfaceDesc* desc) {
    if (!t || level < 0 || level >= t->levels) return 0;
    desc->format = t->format;
    desc->type = kRtypeSurface;
    desc->usage = t->usage;
    desc->pool = (uint32_t)t->pool;
    desc->width = LevelSize(t->width, level);
    desc->height = LevelSize(t->height, level);
    desc->size = (uint32_t)(desc->width * desc->height * FormatBytes(t->format));
    desc->multiSampleType = 0;
    return 1;
}

void* GfxLockRect(GfxTexture* t, int level, int* pitch) {
    if (!t || level < 0 || level >= t->levels || (t->usage & kUsageRenderTarget)) return nullptr;
    int w = LevelSize(t->width, level), h = LevelSize(t->height, level);
    std::vector<unsigned char>& s = t->shadow[(size_t)level];
    if (s.empty()) s.assign((size_t)w * h * FormatBytes(t->format), 0);
    if (pitch) *pitch = w * FormatBytes(t->format);
    return s.data();
}

void GfxUnlockRect(GfxTexture* t, int level) {
    if (!t || level < 0 || level >= t->levels || t->shadow[(size_t)level].empty()) return;
    UploadLevel(t, level, t->shadow[(size_t)level].data());
}

void GfxSetTexture(int stage, GfxTexture* t) {
    if (stage < 0 || stage >= kGfxMaxStages) return;
    if (t) GfxAddRef(t);
    if (g_dev.textures[stage]) GfxRelease(g_dev.textures[stage]);
    g_dev.textures[stage] = t;
}

GfxTexture* GfxGetTexture(int stage) { return stage >= 0 && stage < kGfxMaxStages ? g_dev.textures[stage] : nullptr; }

// ---- Surfaces and render targets --------------------------------------------------------------

GfxSurface* GfxGetSurfaceLevel(GfxTexture* t, int level) {
    if (!t || level < 0 || level >= t->levels) return nullptr;
    GfxSurface* s = NewSurface(kSurfTextureLevel, LevelSize(t->width, level), LevelSize(t->height, level), t->format);
    s->texture = t;
    s->level = level;
    GfxAddRef(t);
    return s;
}

GfxSurface* GfxCreateDepthStencil(int width, int height, uint32_t format) {
    if (!g_dev.created || width <= 0 || height <= 0 || !GfxCheckDepthStencilMatch(0, kFmtX8R8G8B8, format))
        return nullptr;
    GfxSurface* s = NewSurface(kSurfDepth, width, height, format);
    s->renderbuffer = MakeRenderbuffer(GL_DEPTH24_STENCIL8, width, height);
    return s;
}

GfxSurface* GfxGetRenderTarget() {
    if (g_dev.target) g_dev.target->refs++;
    return g_dev.target;
}

GfxSurface* GfxGetDepthStencil() {
    if (g_dev.depth) g_dev.depth->refs++;
    return g_dev.depth;
}

int GfxSetRenderTarget(GfxSurface* target, GfxSurface* depth) {
    if (!g_dev.created) return 0;
    if (target && target->kind == kSurfDepth) return 0;
    if (depth && depth->kind != kSurfDepth) return 0;
    if (!target) target = g_dev.target;  // a null target keeps the current one
    target->refs++;
    if (depth) depth->refs++;
    GfxReleaseSurface(g_dev.target);
    if (g_dev.depth) GfxReleaseSurface(g_dev.depth);
    g_dev.target = target;
    g_dev.depth = depth;
    g_dev.viewport = {0, 0, target->width, target->height, 0.0f, 1.0f};
    BindTargets();
    return 1;
}

void GfxReleaseSurface(GfxSurface* s) {
    if (!s || --s->refs > 0) return;
    if (s->texture) GfxRelease(s->texture);
    if (s->renderbuffer && g_dev.created && s->generation == g_generation) glDeleteRenderbuffers(1, &s->renderbuffer);
    delete s;
}

int GfxGetSurfaceDesc(GfxSurface* s, GfxSurfaceDesc* desc) {
    if (!s) return 0;
    *desc = GfxSurfaceDesc{};
    desc->format = s->format;
    desc->type = kRtypeSurface;
    desc->usage = s->kind == kSurfDepth ? kUsageDepthStencil : kUsageRenderTarget;
    desc->width = s->width;
    desc->height = s->height;
    return 1;
}

int GfxReadPixels(int x, int y, int width, int height, uint32_t* argb) {
    if (!g_dev.created || !g_dev.target || width <= 0 || height <= 0) return 0;
    if (x < 0 || y < 0 || x + width > g_dev.target->width || y + height > g_dev.target->height) return 0;
    glBindFramebuffer(GL_READ_FRAMEBUFFER, DrawsToBackFbo() ? g_dev.backFbo : g_dev.targetFbo);
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    glPixelStorei(GL_PACK_ROW_LENGTH, 0);
    glReadPixels(x, y, width, height, GL_BGRA, GL_UNSIGNED_INT_8_8_8_8_REV, argb);
    // A target without alpha reads as opaque, as Direct3D's conversion from X8R8G8B8 does.
    if (g_dev.target->format != kFmtA8R8G8B8)
        for (int i = 0; i < width * height; ++i) argb[i] |= 0xFF000000u;
    return 1;
}

uint32_t GfxReadPixel(int x, int y) {
    uint32_t c = 0;
    return GfxReadPixels(x, y, 1, 1, &c) ? c : 0;
}
