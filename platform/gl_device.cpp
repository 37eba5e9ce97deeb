// The graphics device over OpenGL fixed function (compatibility profile). The device keeps
// Direct3D's state tables and applies them to GL at every draw, so the order of state calls
// never matters. Every target is drawn upside down in GL terms, so row 0 of any surface is
// the top row as the game sees it; Present flips the back buffer into the window.
#define GL_GLEXT_PROTOTYPES 1
#include "sdl_local.h"
#include "sys_graphics.h"

#include <GL/gl.h>
#include <GL/glext.h>

#include <cmath>
#include <cstring>
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

namespace {

constexpr int kBackWidth = 640;   // the back buffer is always 640 x 480
constexpr int kBackHeight = 480;

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

    GLuint scratchTexture = 0;  // coverage images for text
    int maxTextureSize = 2048;
};

Device g_dev;
int g_generation = 0;  // counts device creations

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
GfxDrawRecorder g_drawRecorder = nullptr;

constexpr int kMaxReportedTexture = 2048;  // a size every card of the game's era handled

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

Mat4 Mul(const Mat4& a, const Mat4& b) {
    Mat4 r;
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j) {
            float s = 0;
            for (int k = 0; k < 4; ++k) s += a.m[i][k] * b.m[k][j];
            r.m[i][j] = s;
        }
    return r;
}

// Direct3D clip space (z 0..1, y up) to GL clip space (z -1..1) with y turned over, because
// every target is stored top row first.
Mat4 ClipAdapter() {
    Mat4 a = Mat4::Identity();
    a.m[1][1] = -1.0f;
    a.m[2][2] = 2.0f;
    a.m[3][2] = -1.0f;
    return a;
}

uint32_t SdlToFormat(Uint32 sdlFormat) {
    switch (SDL_BITSPERPIXEL(sdlFormat)) {
        case 16:
            return SDL_PIXELLAYOUT(sdlFormat) == SDL_PACKEDLAYOUT_565 ? kFmtR5G6B5 : kFmtX1R5G5B5;
        default:
            return kFmtX8R8G8B8;
    }
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

struct GlFormat {
    GLint internal;
    GLenum format, type;
};

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

// ---- Render targets ---------------------------------------------------------------------------

void BindTargets() {
    GfxSurface* t = g_dev.target;
    GfxSurface* d = g_dev.depth;
    if (t == g_dev.backBuffer && (d == g_dev.backDepth || !d)) {
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

// ---- State application ----------------------------------------------------------------------

GLenum GlBlend(uint32_t b) {
    switch (b) {
        case kBlendZero: return GL_ZERO;
        case kBlendOne: return GL_ONE;
        case kBlendSrcColor: return GL_SRC_COLOR;
        case kBlendInvSrcColor: return GL_ONE_MINUS_SRC_COLOR;
        case kBlendSrcAlpha: return GL_SRC_ALPHA;
        case kBlendInvSrcAlpha: return GL_ONE_MINUS_SRC_ALPHA;
        case kBlendDestAlpha: return GL_DST_ALPHA;
        case kBlendInvDestAlpha: return GL_ONE_MINUS_DST_ALPHA;
        case kBlendDestColor: return GL_DST_COLOR;
        case kBlendInvDestColor: return GL_ONE_MINUS_DST_COLOR;
        case kBlendSrcAlphaSat: return GL_SRC_ALPHA_SATURATE;
        default: return GL_ONE;
    }
}

GLenum GlCmp(uint32_t c) {
    switch (c) {
        case kCmpNever: return GL_NEVER;
        case kCmpLess: return GL_LESS;
        case kCmpEqual: return GL_EQUAL;
        case kCmpLessEqual: return GL_LEQUAL;
        case kCmpGreater: return GL_GREATER;
        case kCmpNotEqual: return GL_NOTEQUAL;
        case kCmpGreaterEqual: return GL_GEQUAL;
        default: return GL_ALWAYS;
    }
}

GLenum GlBlendOp(uint32_t op) {
    switch (op) {
        case kBlendOpSubtract: return GL_FUNC_SUBTRACT;
        case kBlendOpRevSubtract: return GL_FUNC_REVERSE_SUBTRACT;
        case kBlendOpMin: return GL_MIN;
        case kBlendOpMax: return GL_MAX;
        default: return GL_FUNC_ADD;
    }
}

void SetFlag(GLenum cap, bool on) {
    if (on)
        glEnable(cap);
    else
        glDisable(cap);
}

// One texture argument of a combiner stage: its source and operand.
void CombinerArg(uint32_t arg, bool alpha, GLenum* source, GLenum* operand) {
    switch (arg & 0x0F) {
        case kTaDiffuse: *source = GL_PRIMARY_COLOR; break;
        case kTaTexture: *source = GL_TEXTURE; break;
        case kTaTFactor: *source = GL_CONSTANT; break;
        case kTaSpecular: *source = GL_PRIMARY_COLOR; break;
        default: *source = GL_PREVIOUS; break;
    }
    bool complement = (arg & kTaComplement) != 0;
    bool replicate = alpha || (arg & kTaAlphaReplicate) != 0;
    if (replicate)
        *operand = complement ? GL_ONE_MINUS_SRC_ALPHA : GL_SRC_ALPHA;
    else
        *operand = complement ? GL_ONE_MINUS_SRC_COLOR : GL_SRC_COLOR;
}

// One half (colour or alpha) of a combiner stage.
void Combiner(uint32_t op, uint32_t arg1, uint32_t arg2, bool alpha) {
    const GLenum combine = alpha ? GL_COMBINE_ALPHA : GL_COMBINE_RGB;
    const GLenum src0 = alpha ? GL_SRC0_ALPHA : GL_SRC0_RGB, src1 = alpha ? GL_SRC1_ALPHA : GL_SRC1_RGB;
    const GLenum src2 = alpha ? GL_SRC2_ALPHA : GL_SRC2_RGB;
    const GLenum op0 = alpha ? GL_OPERAND0_ALPHA : GL_OPERAND0_RGB, op1 = alpha ? GL_OPERAND1_ALPHA : GL_OPERAND1_RGB;
    const GLenum op2 = alpha ? GL_OPERAND2_ALPHA : GL_OPERAND2_RGB;
    const GLenum scale = alpha ? GL_ALPHA_SCALE : GL_RGB_SCALE;
    GLenum s1, o1, s2, o2;
    CombinerArg(arg1, alpha, &s1, &o1);
    CombinerArg(arg2, alpha, &s2, &o2);
    GLenum mode = GL_MODULATE;
    float factor = 1.0f;
    switch (op) {
        case kTopDisable:  // alpha of a live stage with its alpha disabled passes the previous alpha
            mode = GL_REPLACE;
            s1 = GL_PREVIOUS;
            o1 = alpha ? GL_SRC_ALPHA : GL_SRC_COLOR;
            break;
        case kTopSelectArg1: mode = GL_REPLACE; break;
        case kTopSelectArg2: mode = GL_REPLACE; s1 = s2; o1 = o2; break;
        case kTopModulate2x: factor = 2.0f; break;
        case kTopModulate4x: factor = 4.0f; break;
        case kTopAdd:
        case kTopAddSmooth: mode = GL_ADD; break;
        case kTopAddSigned: mode = GL_ADD_SIGNED; break;
        case kTopAddSigned2x: mode = GL_ADD_SIGNED; factor = 2.0f; break;
        case kTopSubtract: mode = GL_SUBTRACT; break;
        case kTopBlendDiffuseAlpha:
        case kTopBlendTextureAlpha:
            mode = GL_INTERPOLATE;
            glTexEnvi(GL_TEXTURE_ENV, src2, op == kTopBlendDiffuseAlpha ? GL_PRIMARY_COLOR : GL_TEXTURE);
            glTexEnvi(GL_TEXTURE_ENV, op2, GL_SRC_ALPHA);
            break;
        default: break;
    }
    glTexEnvi(GL_TEXTURE_ENV, combine, mode);
    glTexEnvi(GL_TEXTURE_ENV, src0, s1);
    glTexEnvi(GL_TEXTURE_ENV, op0, o1);
    glTexEnvi(GL_TEXTURE_ENV, src1, s2);
    glTexEnvi(GL_TEXTURE_ENV, op1, o2);
    glTexEnvf(GL_TEXTURE_ENV, scale, factor);
}

GLint GlWrap(uint32_t a) {
    switch (a) {
        case kAddressMirror: return GL_MIRRORED_REPEAT;
        case kAddressClamp:
        case kAddressBorder: return GL_CLAMP_TO_EDGE;
        default: return GL_REPEAT;
    }
}

// Filters and addressing are per stage in Direct3D and per texture in GL: put the stage's on
// the texture when they differ from what it has.
void ApplySampler(GfxTexture* t, const uint32_t* s) {
    GLint mag = s[kTssMagFilter] >= kFilterLinear ? GL_LINEAR : GL_NEAREST;
    bool linear = s[kTssMinFilter] >= kFilterLinear;
    GLint min = linear ? GL_LINEAR : GL_NEAREST;
    if (t->levels > 1 && s[kTssMipFilter] != kFilterNone) {
        bool mipLinear = s[kTssMipFilter] >= kFilterLinear;
        min = linear ? (mipLinear ? GL_LINEAR_MIPMAP_LINEAR : GL_LINEAR_MIPMAP_NEAREST)
                     : (mipLinear ? GL_NEAREST_MIPMAP_LINEAR : GL_NEAREST_MIPMAP_NEAREST);
    }
    GLint ws = GlWrap(s[kTssAddressU]), wt = GlWrap(s[kTssAddressV]);
    if (t->minFilter != min) glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, t->minFilter = min);
    if (t->magFilter != mag) glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, t->magFilter = mag);
    if (t->wrapS != ws) glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, t->wrapS = ws);
    if (t->wrapT != wt) glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, t->wrapT = wt);
}

void ApplyStages() {
    bool live = true;
    for (int s = 0; s < kGfxMaxStages; ++s) {
        glActiveTexture(GL_TEXTURE0 + s);
        const uint32_t* st = g_dev.tss[s];
        GfxTexture* t = g_dev.textures[s];
        if (!live || st[kTssColorOp] == kTopDisable) live = false;
        // A stage without a texture passes the colour on: an untextured mesh shows its material.
        if (!live || !t) {
            glDisable(GL_TEXTURE_2D);
            glBindTexture(GL_TEXTURE_2D, 0);
            continue;
        }
        glEnable(GL_TEXTURE_2D);
        glBindTexture(GL_TEXTURE_2D, t->id);
        ApplySampler(t, st);
        glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_COMBINE);
        float factor[4];
        ArgbToFloats(g_dev.rs[kRsTextureFactor], factor);
        glTexEnvfv(GL_TEXTURE_ENV, GL_TEXTURE_ENV_COLOR, factor);
        Combiner(st[kTssColorOp], st[kTssColorArg1], st[kTssColorArg2], false);
        Combiner(st[kTssAlphaOp], st[kTssAlphaArg1], st[kTssAlphaArg2], true);
    }
    glActiveTexture(GL_TEXTURE0);
}

void SetMaterialColor(GLenum which, const Color4& c) {
    float v[4] = {c.r, c.g, c.b, c.a};
    glMaterialfv(GL_FRONT_AND_BACK, which, v);
}

void ApplyLighting(bool hasNormal, bool hasDiffuse) {
    glMatrixMode(GL_MODELVIEW);
    // Light positions go through the view only, as Direct3D keeps lights in world space.
    glLoadMatrixf(&g_dev.view.m[0][0]);
    for (int i = 0; i < kGfxMaxLights; ++i) {
        GLenum l = GL_LIGHT0 + i;
        if (!g_dev.lightOn[i]) {
            glDisable(l);
            continue;
        }
        const GfxLight& L = g_dev.lights[i];
        glEnable(l);
        float d[4] = {L.diffuse.r, L.diffuse.g, L.diffuse.b, L.diffuse.a};
        float s[4] = {L.specular.r, L.specular.g, L.specular.b, L.specular.a};
        float a[4] = {L.ambient.r, L.ambient.g, L.ambient.b, L.ambient.a};
        glLightfv(l, GL_DIFFUSE, d);
        glLightfv(l, GL_SPECULAR, s);
        glLightfv(l, GL_AMBIENT, a);
        if (L.type == kLightDirectional) {
            float p[4] = {-L.direction.x, -L.direction.y, -L.direction.z, 0.0f};
            glLightfv(l, GL_POSITION, p);
            glLightf(l, GL_SPOT_CUTOFF, 180.0f);
            glLightf(l, GL_CONSTANT_ATTENUATION, 1.0f);
            glLightf(l, GL_LINEAR_ATTENUATION, 0.0f);
            glLightf(l, GL_QUADRATIC_ATTENUATION, 0.0f);
        } else {
            float p[4] = {L.position.x, L.position.y, L.position.z, 1.0f};
            glLightfv(l, GL_POSITION, p);
            float c = L.attenuation0, li = L.attenuation1, q = L.attenuation2;
            if (c == 0 && li == 0 && q == 0) c = 1.0f;
            glLightf(l, GL_CONSTANT_ATTENUATION, c);
            glLightf(l, GL_LINEAR_ATTENUATION, li);
            glLightf(l, GL_QUADRATIC_ATTENUATION, q);
            if (L.type == kLightSpot) {
                float dir[3] = {L.direction.x, L.direction.y, L.direction.z};
                glLightfv(l, GL_SPOT_DIRECTION, dir);
                glLightf(l, GL_SPOT_CUTOFF, L.phi * 0.5f * 57.29578f);
                glLightf(l, GL_SPOT_EXPONENT, L.falloff);
            } else {
                glLightf(l, GL_SPOT_CUTOFF, 180.0f);
            }
        }
    }
    const GfxMaterial& m = g_dev.material;
    SetMaterialColor(GL_AMBIENT, m.ambient);
    SetMaterialColor(GL_DIFFUSE, m.diffuse);
    SetMaterialColor(GL_EMISSION, m.emissive);
    SetMaterialColor(GL_SPECULAR, g_dev.rs[kRsSpecularEnable] ? m.specular : Color4());
    float power = m.power < 0 ? 0 : (m.power > 128 ? 128 : m.power);
    glMaterialf(GL_FRONT_AND_BACK, GL_SHININESS, power);
    float amb[4];
    ArgbToFloats(g_dev.rs[kRsAmbient], amb);
    glLightModelfv(GL_LIGHT_MODEL_AMBIENT, amb);
    glLightModeli(GL_LIGHT_MODEL_COLOR_CONTROL, GL_SEPARATE_SPECULAR_COLOR);
    if (hasDiffuse && g_dev.rs[kRsColorVertex]) {
        glColorMaterial(GL_FRONT_AND_BACK, GL_DIFFUSE);
        glEnable(GL_COLOR_MATERIAL);
    } else {
        glDisable(GL_COLOR_MATERIAL);
    }
    // Without normals Direct3D lights nothing but ambient and emissive.
    if (!hasNormal) glNormal3f(0, 0, 0);
    glEnable(GL_LIGHTING);
}

void ApplyFog(bool pretransformed) {
    uint32_t mode = g_dev.rs[kRsFogTableMode] != kFogNone ? g_dev.rs[kRsFogTableMode] : g_dev.rs[kRsFogVertexMode];
    bool on = g_dev.rs[kRsFogEnable] && mode != kFogNone && !pretransformed;
    SetFlag(GL_FOG, on);
    if (!on) return;
    glFogi(GL_FOG_MODE, mode == kFogExp ? GL_EXP : mode == kFogExp2 ? GL_EXP2 : GL_LINEAR);
    glFogf(GL_FOG_START, F(g_dev.rs[kRsFogStart]));
    glFogf(GL_FOG_END, F(g_dev.rs[kRsFogEnd]));
    glFogf(GL_FOG_DENSITY, F(g_dev.rs[kRsFogDensity]));
    float c[4];
    ArgbToFloats(g_dev.rs[kRsFogColor], c);
    glFogfv(GL_FOG_COLOR, c);
}

void ApplyRaster() {
    const uint32_t* rs = g_dev.rs;
    bool depth = rs[kRsZEnable] != 0 && g_dev.depth != nullptr;
    SetFlag(GL_DEPTH_TEST, depth);
    glDepthFunc(GlCmp(rs[kRsZFunc]));
    glDepthMask(rs[kRsZWriteEnable] ? GL_TRUE : GL_FALSE);
    SetFlag(GL_ALPHA_TEST, rs[kRsAlphaTestEnable] != 0);
    glAlphaFunc(GlCmp(rs[kRsAlphaFunc]), (rs[kRsAlphaRef] & 0xFF) / 255.0f);
    SetFlag(GL_BLEND, rs[kRsAlphaBlendEnable] != 0);
    glBlendFunc(GlBlend(rs[kRsSrcBlend]), GlBlend(rs[kRsDestBlend]));
    glBlendEquation(GlBlendOp(rs[kRsBlendOp]));
    // Targets are stored upside down, which turns Direct3D's clockwise fronts anticlockwise.
    if (rs[kRsCullMode] == kCullNone) {
        glDisable(GL_CULL_FACE);
    } else {
        glEnable(GL_CULL_FACE);
        glCullFace(GL_BACK);
        glFrontFace(rs[kRsCullMode] == kCullCcw ? GL_CCW : GL_CW);
    }
    glShadeModel(rs[kRsShadeMode] == kShadeFlat ? GL_FLAT : GL_SMOOTH);
    glPolygonMode(GL_FRONT_AND_BACK, rs[kRsFillMode] == kFillPoint       ? GL_POINT
                                     : rs[kRsFillMode] == kFillWireframe ? GL_LINE
                                                                          : GL_FILL);
    glPointSize(F(rs[kRsPointSize]) > 0 ? F(rs[kRsPointSize]) : 1.0f);
    const GfxViewport& vp = g_dev.viewport;
    glViewport(vp.x, vp.y, vp.width, vp.height);
    glDepthRange(vp.minZ, vp.maxZ);
    glDisable(GL_SCISSOR_TEST);
}

// ---- Vertex submission ----------------------------------------------------------------------

struct Layout {
    int stride = 0;
    int position = 0, positionSize = 3;
    int normal = -1, diffuse = -1, specular = -1;
    int tex[8] = {-1, -1, -1, -1, -1, -1, -1, -1};
    int texCount = 0;
    bool rhw = false;
};

int ParseFvf(uint32_t fvf, Layout* l) {
    int off = 0;
    switch (fvf & 0x00E) {
        case kFvfXyz: off = 12; break;
        case kFvfXyzRhw: off = 16; l->rhw = true; l->positionSize = 4; break;
        case 0x006: off = 16; break;  // one blend weight, skipped
        case 0x008: off = 20; break;
        case 0x00A: off = 24; break;
        case 0x00C: off = 28; break;
        case 0x00E: off = 32; break;
        default: return 0;
    }
    if (fvf & kFvfNormal) { l->normal = off; off += 12; }
    if (fvf & kFvfPSize) off += 4;
    if (fvf & kFvfDiffuse) { l->diffuse = off; off += 4; }
    if (fvf & kFvfSpecular) { l->specular = off; off += 4; }
    l->texCount = (int)((fvf & kFvfTexCountMask) >> 8);
    if (l->texCount > 8) return 0;
    for (int i = 0; i < l->texCount; ++i) {
        int size = 2;
        switch ((fvf >> (16 + 2 * i)) & 3) {
            case 1: size = 3; break;
            case 2: size = 4; break;
            case 3: size = 1; break;
            default: break;
        }
        l->tex[i] = off;
        off += size * 4;
    }
    l->stride = off;
    return 1;
}

GLenum GlPrimitive(uint32_t type) {
    switch (type) {
        case kPtPointList: return GL_POINTS;
        case kPtLineList: return GL_LINES;
        case kPtLineStrip: return GL_LINE_STRIP;
        case kPtTriangleStrip: return GL_TRIANGLE_STRIP;
        case kPtTriangleFan: return GL_TRIANGLE_FAN;
        default: return GL_TRIANGLES;
    }
}

std::vector<float> g_rhwScratch;

// Sets arrays and all states for vertices in format fvf at data; returns 0 when undrawable.
int PrepareDraw(const void* data, int stride, int vertexCount) {
    Layout l;
    if (!g_dev.created || !ParseFvf(g_dev.fvf, &l) || !data) return 0;
    if (stride <= 0) stride = l.stride;
    const unsigned char* base = static_cast<const unsigned char*>(data);

    ApplyRaster();
    ApplyFog(l.rhw);
    ApplyStages();

    glEnableClientState(GL_VERTEX_ARRAY);
    if (l.rhw) {
        // Screen pixels with Direct3D's pixel centres on whole numbers: straight to clip space.
        const float w0 = (float)g_dev.target->width, h0 = (float)g_dev.target->height;
        g_rhwScratch.resize((size_t)vertexCount * 4);
        for (int i = 0; i < vertexCount; ++i) {
            const float* p = reinterpret_cast<const float*>(base + (size_t)i * stride);
            float w = p[3] != 0 ? 1.0f / p[3] : 1.0f;
            float* o = &g_rhwScratch[(size_t)i * 4];
            o[0] = ((p[0] + 0.5f) / w0 * 2.0f - 1.0f) * w;
            o[1] = ((p[1] + 0.5f) / h0 * 2.0f - 1.0f) * w;
            o[2] = (p[2] * 2.0f - 1.0f) * w;
            o[3] = w;
        }
        glVertexPointer(4, GL_FLOAT, 0, g_rhwScratch.data());
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        glDisable(GL_LIGHTING);
        glDisable(GL_COLOR_MATERIAL);
    } else {
        glVertexPointer(3, GL_FLOAT, stride, base + l.position);
        if (g_dev.rs[kRsLighting])
            ApplyLighting(l.normal >= 0, l.diffuse >= 0);
        else {
            glDisable(GL_LIGHTING);
            glDisable(GL_COLOR_MATERIAL);
        }
        Mat4 proj = Mul(g_dev.projection, ClipAdapter());
        glMatrixMode(GL_PROJECTION);
        glLoadMatrixf(&proj.m[0][0]);
        Mat4 mv = Mul(g_dev.world, g_dev.view);
        glMatrixMode(GL_MODELVIEW);
        glLoadMatrixf(&mv.m[0][0]);
    }
    if (l.normal >= 0 && !l.rhw) {
        glEnableClientState(GL_NORMAL_ARRAY);
        glNormalPointer(GL_FLOAT, stride, base + l.normal);
    } else {
        glDisableClientState(GL_NORMAL_ARRAY);
    }
    if (l.diffuse >= 0) {
        glEnableClientState(GL_COLOR_ARRAY);
        glColorPointer(GL_BGRA, GL_UNSIGNED_BYTE, stride, base + l.diffuse);
    } else {
        glDisableClientState(GL_COLOR_ARRAY);
        glColor4f(1, 1, 1, 1);  // no colour in the vertices reads as white
    }
    for (int s = 0; s < kGfxMaxStages; ++s) {
        glClientActiveTexture(GL_TEXTURE0 + s);
        int set = (int)(g_dev.tss[s][kTssTexCoordIndex] & 0xFFFF);
        if (set < l.texCount) {
            glEnableClientState(GL_TEXTURE_COORD_ARRAY);
            glTexCoordPointer(2, GL_FLOAT, stride, base + l.tex[set]);
        } else {
            glDisableClientState(GL_TEXTURE_COORD_ARRAY);
        }
    }
    glClientActiveTexture(GL_TEXTURE0);
    return 1;
}

// Drawing for the 2-D helpers (sprites, text): blending, no depth, no lighting, pixel space.
void Begin2D(int width, int height) {
    glDisable(GL_DEPTH_TEST);
    glDepthMask(GL_FALSE);
    glDisable(GL_ALPHA_TEST);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glBlendEquation(GL_FUNC_ADD);
    glDisable(GL_CULL_FACE);
    glDisable(GL_LIGHTING);
    glDisable(GL_COLOR_MATERIAL);
    glDisable(GL_FOG);
    glShadeModel(GL_SMOOTH);
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    glViewport(0, 0, width, height);
    glDepthRange(0, 1);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, width, 0, height, -1, 1);  // top row first, as every target is stored
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glActiveTexture(GL_TEXTURE1);
    glDisable(GL_TEXTURE_2D);
    glActiveTexture(GL_TEXTURE0);
    glEnable(GL_TEXTURE_2D);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    glDisableClientState(GL_NORMAL_ARRAY);
    glDisableClientState(GL_COLOR_ARRAY);
    glClientActiveTexture(GL_TEXTURE1);
    glDisableClientState(GL_TEXTURE_COORD_ARRAY);
    glClientActiveTexture(GL_TEXTURE0);
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);
}

void Quad2D(const float* xy, const float* uv, uint32_t color) {
    float c[4];
    ArgbToFloats(color, c);
    glColor4fv(c);
    glVertexPointer(2, GL_FLOAT, 0, xy);
    glTexCoordPointer(2, GL_FLOAT, 0, uv);
    glDrawArrays(GL_TRIANGLE_FAN, 0, 4);
}

void UploadLevel(GfxTexture* t, int level, const void* pixels) {
    GlFormat f;
    GlFormatOf(t->format, &f);
    glBindTexture(GL_TEXTURE_2D, t->id);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
    glTexSubImage2D(GL_TEXTURE_2D, level, 0, 0, LevelSize(t->width, level), LevelSize(t->height, level), f.format,
                    f.type, pixels);
}

}  // namespace

// ---- Vertex formats -------------------------------------------------------------------------

int GfxVertexSize(uint32_t fvf) {
    Layout l;
    return ParseFvf(fvf, &l) ? l.stride : 0;
}

int GfxVertexCount(uint32_t type, int primitives) {
    if (primitives <= 0) return 0;
    switch (type) {
        case kPtPointList: return primitives;
        case kPtLineList: return primitives * 2;
        case kPtLineStrip: return primitives + 1;
        case kPtTriangleList: return primitives * 3;
        case kPtTriangleStrip:
        case kPtTriangleFan: return primitives + 2;
        default: return 0;
    }
}

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
    ++g_generation;
    g_dev.context = ctx;
    g_dev.params = params;
    g_dev.adapter = adapter;
    GLint maxTex = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &maxTex);
    g_dev.maxTextureSize = maxTex < kMaxReportedTexture ? maxTex : kMaxReportedTexture;

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
    glGenTextures(1, &g_dev.scratchTexture);
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
    glDeleteTextures(1, &g_dev.scratchTexture);
    SDL_GL_DeleteContext(g_dev.context);
    SDL_Window* window = SdlGetWindow();
    if (window && !g_dev.params.windowed) SDL_SetWindowFullscreen(window, 0);
    g_dev = Device{};
}

int GfxHasDevice() { return g_dev.created; }

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
    glBindFramebuffer(GL_READ_FRAMEBUFFER, g_dev.backFbo);
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, 0);
    glDisable(GL_SCISSOR_TEST);
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    // Stored top row first: turned over into the window.
    glBlitFramebuffer(0, 0, bw, bh, x, y + h, x + w, y, GL_COLOR_BUFFER_BIT, GL_LINEAR);
    SDL_GL_SwapWindow(window);
    BindTargets();
}

void GfxClear(uint32_t flags, uint32_t color, float z, uint32_t stencil) {
    if (!g_dev.created) return;
    const GfxViewport& vp = g_dev.viewport;
    glEnable(GL_SCISSOR_TEST);
    glScissor(vp.x, vp.y, vp.width, vp.height);
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
        glDepthMask(GL_TRUE);
        bits |= GL_DEPTH_BUFFER_BIT;
    }
    if ((flags & kClearStencil) && g_dev.depth) {
        glClearStencil((GLint)stencil);
        glStencilMask(0xFF);
        bits |= GL_STENCIL_BUFFER_BIT;
    }
    if (bits) glClear(bits);
    glDisable(GL_SCISSOR_TEST);
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
    glBindTexture(GL_TEXTURE_2D, t->id);
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
    if (g_dev.created && t->generation == g_generation) glDeleteTextures(1, &t->id);
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
    glBindFramebuffer(GL_READ_FRAMEBUFFER, g_dev.target == g_dev.backBuffer && (!g_dev.depth || g_dev.depth == g_dev.backDepth)
                                               ? g_dev.backFbo
                                               : g_dev.targetFbo);
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

// ---- Drawing --------------------------------------------------------------------------------

void GfxSetVertexShader(uint32_t fvf) { g_dev.fvf = fvf; }
uint32_t GfxGetVertexShader() { return g_dev.fvf; }

void GfxTestSetDrawRecorder(GfxDrawRecorder recorder) { g_drawRecorder = recorder; }

void GfxDrawPrimitiveUP(uint32_t type, int primitives, const void* vertices, int stride) {
    int n = GfxVertexCount(type, primitives);
    if (g_drawRecorder && n > 0) g_drawRecorder(g_dev.fvf, type, primitives, vertices, stride, n);
    if (n <= 0 || !PrepareDraw(vertices, stride, n)) return;
    glDrawArrays(GlPrimitive(type), 0, n);
}

void GfxDrawIndexedPrimitiveUP(uint32_t type, int minIndex, int vertexCount, int primitives, const void* indices,
                               int indexBits, const void* vertices, int stride) {
    int n = GfxVertexCount(type, primitives);
    if (n <= 0 || !indices || !PrepareDraw(vertices, stride, minIndex + vertexCount)) return;
    glDrawElements(GlPrimitive(type), n, indexBits == 32 ? GL_UNSIGNED_INT : GL_UNSIGNED_SHORT, indices);
}

GfxVertexBuffer* GfxCreateVertexBuffer(int bytes, uint32_t fvf) {
    if (!g_dev.created || bytes <= 0) return nullptr;
    GfxVertexBuffer* vb = new GfxVertexBuffer;
    vb->data.assign((size_t)bytes, 0);
    vb->fvf = fvf;
    return vb;
}

void GfxReleaseVertexBuffer(GfxVertexBuffer* vb) {
    if (g_dev.stream == vb) g_dev.stream = nullptr;
    delete vb;
}

void* GfxLockVertexBuffer(GfxVertexBuffer* vb) { return vb ? vb->data.data() : nullptr; }
void GfxUnlockVertexBuffer(GfxVertexBuffer*) {}

void GfxSetStreamSource(GfxVertexBuffer* vb, int stride) {
    g_dev.stream = vb;
    g_dev.streamStride = stride;
}

void GfxDrawPrimitive(uint32_t type, int startVertex, int primitives) {
    GfxVertexBuffer* vb = g_dev.stream;
    int n = GfxVertexCount(type, primitives);
    if (!vb || n <= 0 || startVertex < 0 || g_dev.streamStride <= 0) return;
    size_t need = ((size_t)startVertex + (size_t)n) * (size_t)g_dev.streamStride;
    if (need > vb->data.size()) return;  // past the buffer's end: nothing is drawn
    if (g_drawRecorder)
        g_drawRecorder(g_dev.fvf, type, primitives, vb->data.data() + (size_t)startVertex * g_dev.streamStride,
                       g_dev.streamStride, n);
    if (!PrepareDraw(vb->data.data() + (size_t)startVertex * g_dev.streamStride, g_dev.streamStride, n)) return;
    glDrawArrays(GlPrimitive(type), 0, n);
}

// ---- Sprites and coverage images ------------------------------------------------------------

void GfxDrawSprite(GfxTexture* t, const GfxSpriteDraw& d) {
    if (!g_dev.created || !t) return;
    Begin2D(g_dev.target->width, g_dev.target->height);
    glBindTexture(GL_TEXTURE_2D, t->id);
    // Whole-pixel placement at scale 1 meets texel centres exactly, so linear filtering only
    // shows when the sprite is scaled or turned.
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, t->minFilter = GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, t->magFilter = GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, t->wrapS = GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, t->wrapT = GL_CLAMP_TO_EDGE);
    float w = (float)(d.srcRight - d.srcLeft) * d.scaleX, h = (float)(d.srcBottom - d.srcTop) * d.scaleY;
    float corners[4][2] = {{0, 0}, {w, 0}, {w, h}, {0, h}};
    float c = std::cos(d.rotation), s = std::sin(d.rotation);
    float xy[8];
    for (int i = 0; i < 4; ++i) {
        float px = corners[i][0] - d.centerX, py = corners[i][1] - d.centerY;
        xy[i * 2] = px * c - py * s + d.centerX + d.x;
        xy[i * 2 + 1] = px * s + py * c + d.centerY + d.y;
    }
    float u0 = (float)d.srcLeft / t->width, u1 = (float)d.srcRight / t->width;
    float v0 = (float)d.srcTop / t->height, v1 = (float)d.srcBottom / t->height;
    float uv[8] = {u0, v0, u1, v0, u1, v1, u0, v1};
    Quad2D(xy, uv, d.color);
}

void GfxDrawCoverage(const unsigned char* coverage, int width, int height, int x, int y, uint32_t color,
                     int clipLeft, int clipTop, int clipRight, int clipBottom) {
    if (!g_dev.created || !coverage || width <= 0 || height <= 0) return;
    const int tw = g_dev.target->width, th = g_dev.target->height;
    if (clipLeft < 0) clipLeft = 0;
    if (clipTop < 0) clipTop = 0;
    if (clipRight > tw) clipRight = tw;
    if (clipBottom > th) clipBottom = th;
    if (clipLeft >= clipRight || clipTop >= clipBottom) return;
    Begin2D(tw, th);
    glEnable(GL_SCISSOR_TEST);
    glScissor(clipLeft, clipTop, clipRight - clipLeft, clipBottom - clipTop);
    glBindTexture(GL_TEXTURE_2D, g_dev.scratchTexture);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, 0);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_ALPHA8, width, height, 0, GL_ALPHA, GL_UNSIGNED_BYTE, coverage);
    float x0 = (float)x, y0 = (float)y, x1 = (float)(x + width), y1 = (float)(y + height);
    float xy[8] = {x0, y0, x1, y0, x1, y1, x0, y1};
    float uv[8] = {0, 0, 1, 0, 1, 1, 0, 1};
    Quad2D(xy, uv, color);
    glDisable(GL_SCISSOR_TEST);
}
