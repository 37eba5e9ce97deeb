// Direct3D's stored states applied to GL before each draw: depth, blending, culling, fog,
// the light and material, and the texture stages as GL combiners; each through a mirror of
// what GL already holds, so only changes reach it.
#include "gl_local.h"

#include <cstring>

namespace gldev {

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

// ---- The mirror of GL's state ------------------------------------------------------------

namespace {

constexpr GLenum kCaps[] = {GL_DEPTH_TEST, GL_ALPHA_TEST, GL_BLEND, GL_CULL_FACE, GL_NORMALIZE, GL_SCISSOR_TEST,
                            GL_FOG, GL_LIGHTING, GL_COLOR_MATERIAL, GL_LIGHT0, GL_LIGHT1, GL_LIGHT2, GL_LIGHT3,
                            GL_LIGHT4, GL_LIGHT5, GL_LIGHT6, GL_LIGHT7};
constexpr int kCapCount = sizeof(kCaps) / sizeof(kCaps[0]);
constexpr int kArrays = 3 + kGfxMaxStages;  // vertex, normal, colour, a coordinate set per unit

// A texture unit's environment; -1 where a draw does not care (GL keeps what it has).
struct TexEnv {
    GLint mode = -1;
    GLint combine[2] = {-1, -1};  // colour, alpha
    GLint source[2][3] = {{-1, -1, -1}, {-1, -1, -1}};
    GLint operand[2][3] = {{-1, -1, -1}, {-1, -1, -1}};
    float scale[2] = {-1, -1};
    float color[4] = {-1, -1, -1, -1};
};

struct ArrayPointer {
    int known = 0;
    GLuint buffer = 0;
    GLint size = 0;
    GLenum type = 0;
    GLsizei stride = 0;
    const void* at = nullptr;
};

struct Mirror {
    signed char caps[kCapCount] = {};  // 0 unknown, 1 off, 2 on
    int depthFuncKnown = 0, depthMask = -1, alphaKnown = 0, blendKnown = 0, cullKnown = 0;
    GLenum depthFunc = 0, alphaFunc = 0, blendSrc = 0, blendDst = 0, blendEquation = 0, frontFace = 0;
    float alphaRef = 0;
    GLenum shade = 0, polygon = 0;
    float pointSize = -1;
    int viewportKnown = 0;
    GfxViewport viewport;
    int unit = -1, clientUnit = -1;
    signed char texture2D[kGfxMaxStages] = {};  // 0 unknown, 1 off, 2 on
    int boundKnown[kGfxMaxStages] = {};
    GLuint bound[kGfxMaxStages] = {};
    TexEnv env[kGfxMaxStages];
    GLenum matrixMode = 0;
    int matrixKnown[2] = {};  // projection, modelview
    Mat4 matrix[2];
    int fogKnown = 0;
    GLint fogMode = 0;
    float fogStart = 0, fogEnd = 0, fogDensity = 0, fogColor[4] = {};
    int lightKnown[kGfxMaxLights] = {};
    GfxLight light[kGfxMaxLights];
    Mat4 lightView[kGfxMaxLights];  // light positions are kept through the view they were given under
    int materialKnown[4] = {};      // ambient, diffuse, emission, specular
    float material[4][4] = {};
    int shininessKnown = 0;
    float shininess = 0;
    int lightModelKnown = 0;
    float lightModelAmbient[4] = {};
    int arrayOn[kArrays] = {};  // 0 unknown, 1 off, 2 on
    ArrayPointer pointer[kArrays];
    int buffersKnown[2] = {};  // array, element
    GLuint buffers[2] = {};
    int colorKnown = 0;
    float color[4] = {};
    int normalZero = 0;
};

Mirror g_mirror;

int CapIndex(GLenum cap) {
    for (int i = 0; i < kCapCount; ++i)
        if (kCaps[i] == cap) return i;
    return -1;
}

bool Same4(const float* a, const float* b) { return a[0] == b[0] && a[1] == b[1] && a[2] == b[2] && a[3] == b[3]; }

int ArrayIndex(GLenum array, int unit) {
    switch (array) {
        case GL_VERTEX_ARRAY: return 0;
        case GL_NORMAL_ARRAY: return 1;
        case GL_COLOR_ARRAY: return 2;
        default: return 3 + unit;
    }
}

void Env(int unit, GLenum name, GLint want, GLint* have) {
    if (want < 0 || want == *have) return;
    GlTextureUnit(unit);
    glTexEnvi(GL_TEXTURE_ENV, name, want);
    *have = want;
}

// Sets on the unit what want asks for and the unit does not hold yet.
void ApplyTexEnv(int unit, const TexEnv& want) {
    TexEnv* have = &g_mirror.env[unit];
    static const GLenum kCombine[2] = {GL_COMBINE_RGB, GL_COMBINE_ALPHA};
    static const GLenum kSource[2][3] = {{GL_SRC0_RGB, GL_SRC1_RGB, GL_SRC2_RGB}, {GL_SRC0_ALPHA, GL_SRC1_ALPHA, GL_SRC2_ALPHA}};
    static const GLenum kOperand[2][3] = {{GL_OPERAND0_RGB, GL_OPERAND1_RGB, GL_OPERAND2_RGB},
                                          {GL_OPERAND0_ALPHA, GL_OPERAND1_ALPHA, GL_OPERAND2_ALPHA}};
    static const GLenum kScale[2] = {GL_RGB_SCALE, GL_ALPHA_SCALE};
    Env(unit, GL_TEXTURE_ENV_MODE, want.mode, &have->mode);
    if (want.color[0] >= 0 && !Same4(want.color, have->color)) {
        GlTextureUnit(unit);
        glTexEnvfv(GL_TEXTURE_ENV, GL_TEXTURE_ENV_COLOR, want.color);
        for (int i = 0; i < 4; ++i) have->color[i] = want.color[i];
    }
    for (int h = 0; h < 2; ++h) {
        Env(unit, kCombine[h], want.combine[h], &have->combine[h]);
        for (int k = 0; k < 3; ++k) {
            Env(unit, kSource[h][k], want.source[h][k], &have->source[h][k]);
            Env(unit, kOperand[h][k], want.operand[h][k], &have->operand[h][k]);
        }
        if (want.scale[h] >= 0 && want.scale[h] != have->scale[h]) {
            GlTextureUnit(unit);
            glTexEnvf(GL_TEXTURE_ENV, kScale[h], want.scale[h]);
            have->scale[h] = want.scale[h];
        }
    }
}

void GlDepthFunc(GLenum f) {
    if (g_mirror.depthFuncKnown && g_mirror.depthFunc == f) return;
    glDepthFunc(f);
    g_mirror.depthFunc = f;
    g_mirror.depthFuncKnown = 1;
}

void GlAlphaFunc(GLenum f, float ref) {
    if (g_mirror.alphaKnown && g_mirror.alphaFunc == f && g_mirror.alphaRef == ref) return;
    glAlphaFunc(f, ref);
    g_mirror.alphaFunc = f;
    g_mirror.alphaRef = ref;
    g_mirror.alphaKnown = 1;
}

void GlBlendState(GLenum src, GLenum dst, GLenum equation) {
    Mirror& m = g_mirror;
    if (m.blendKnown && m.blendSrc == src && m.blendDst == dst && m.blendEquation == equation) return;
    if (!m.blendKnown || m.blendSrc != src || m.blendDst != dst) glBlendFunc(src, dst);
    if (!m.blendKnown || m.blendEquation != equation) glBlendEquation(equation);
    m.blendSrc = src;
    m.blendDst = dst;
    m.blendEquation = equation;
    m.blendKnown = 1;
}

// Culling of back faces, fronts turning as given (0: no culling).
void GlCull(GLenum frontFace) {
    GlCap(GL_CULL_FACE, frontFace != 0);
    if (!frontFace || (g_mirror.cullKnown && g_mirror.frontFace == frontFace)) return;
    glCullFace(GL_BACK);
    glFrontFace(frontFace);
    g_mirror.frontFace = frontFace;
    g_mirror.cullKnown = 1;
}

void GlShade(GLenum mode) {
    if (g_mirror.shade == mode) return;
    glShadeModel(mode);
    g_mirror.shade = mode;
}

void GlPolygonMode(GLenum mode) {
    if (g_mirror.polygon == mode) return;
    glPolygonMode(GL_FRONT_AND_BACK, mode);
    g_mirror.polygon = mode;
}

void GlPointSize(float size) {
    if (g_mirror.pointSize == size) return;
    glPointSize(size);
    g_mirror.pointSize = size;
}

void GlViewport(const GfxViewport& vp) {
    GfxViewport& have = g_mirror.viewport;
    const bool known = g_mirror.viewportKnown;
    if (!known || have.x != vp.x || have.y != vp.y || have.width != vp.width || have.height != vp.height)
        glViewport(vp.x, vp.y, vp.width, vp.height);
    if (!known || have.minZ != vp.minZ || have.maxZ != vp.maxZ) glDepthRange(vp.minZ, vp.maxZ);
    have = vp;
    g_mirror.viewportKnown = 1;
}

void GlMaterial(int slot, GLenum which, const float v[4]) {
    if (g_mirror.materialKnown[slot] && Same4(g_mirror.material[slot], v)) return;
    glMaterialfv(GL_FRONT_AND_BACK, which, v);
    for (int i = 0; i < 4; ++i) g_mirror.material[slot][i] = v[i];
    g_mirror.materialKnown[slot] = 1;
}

}  // namespace

void ForgetGlState() { g_mirror = Mirror{}; }

void ForgetGlTextures() {
    for (int u = 0; u < kGfxMaxStages; ++u) g_mirror.boundKnown[u] = 0;
}

void ForgetGlArrays() {
    for (ArrayPointer& p : g_mirror.pointer) p.known = 0;
    g_mirror.buffersKnown[0] = g_mirror.buffersKnown[1] = 0;
}

void GlCap(GLenum cap, bool on) {
    const int i = CapIndex(cap);
    const signed char want = on ? 2 : 1;
    if (i >= 0 && g_mirror.caps[i] == want) return;
    if (on)
        glEnable(cap);
    else
        glDisable(cap);
    if (i >= 0) g_mirror.caps[i] = want;
}

void SetFlag(GLenum cap, bool on) { GlCap(cap, on); }

void GlTextureUnit(int unit) {
    if (g_mirror.unit == unit) return;
    glActiveTexture(GL_TEXTURE0 + unit);
    g_mirror.unit = unit;
}

void GlClientUnit(int unit) {
    if (g_mirror.clientUnit == unit) return;
    glClientActiveTexture(GL_TEXTURE0 + unit);
    g_mirror.clientUnit = unit;
}

void GlTexture2D(int unit, bool on) {
    const signed char want = on ? 2 : 1;
    if (g_mirror.texture2D[unit] == want) return;
    GlTextureUnit(unit);
    if (on)
        glEnable(GL_TEXTURE_2D);
    else
        glDisable(GL_TEXTURE_2D);
    g_mirror.texture2D[unit] = want;
}

void GlBindTexture(int unit, GLuint id) {
    if (g_mirror.boundKnown[unit] && g_mirror.bound[unit] == id) return;
    GlTextureUnit(unit);
    glBindTexture(GL_TEXTURE_2D, id);
    g_mirror.bound[unit] = id;
    g_mirror.boundKnown[unit] = 1;
}

void GlEditTexture(GLuint id) {
    GlTextureUnit(0);
    GlBindTexture(0, id);
}

void GlBindBuffer(GLenum target, GLuint id) {
    const int i = target == GL_ARRAY_BUFFER ? 0 : 1;
    if (g_mirror.buffersKnown[i] && g_mirror.buffers[i] == id) return;
    glBindBuffer(target, id);
    g_mirror.buffers[i] = id;
    g_mirror.buffersKnown[i] = 1;
}

void GlLoadMatrix(GLenum mode, const Mat4& m) {
    const int i = mode == GL_PROJECTION ? 0 : 1;
    if (g_mirror.matrixKnown[i] && std::memcmp(&g_mirror.matrix[i], &m, sizeof m) == 0) return;
    if (g_mirror.matrixMode != mode) {
        glMatrixMode(mode);
        g_mirror.matrixMode = mode;
    }
    glLoadMatrixf(&m.m[0][0]);
    g_mirror.matrix[i] = m;
    g_mirror.matrixKnown[i] = 1;
}

void GlLoadIdentity(GLenum mode) { GlLoadMatrix(mode, Mat4::Identity()); }

void GlDepthMask(bool on) {
    const int want = on ? 1 : 0;
    if (g_mirror.depthMask == want) return;
    glDepthMask(on ? GL_TRUE : GL_FALSE);
    g_mirror.depthMask = want;
}

void GlArray(GLenum array, int unit, bool on) {
    const int i = ArrayIndex(array, unit);
    const int want = on ? 2 : 1;
    if (g_mirror.arrayOn[i] == want) return;
    if (array == GL_TEXTURE_COORD_ARRAY) GlClientUnit(unit);
    // Drawing from a colour or normal array leaves GL's current colour or normal undefined.
    if (on && array == GL_COLOR_ARRAY) g_mirror.colorKnown = 0;
    if (on && array == GL_NORMAL_ARRAY) g_mirror.normalZero = 0;
    if (on)
        glEnableClientState(array);
    else
        glDisableClientState(array);
    g_mirror.arrayOn[i] = want;
}

void GlPointer(GLenum array, int unit, GLint size, GLenum type, GLsizei stride, const void* at) {
    const int i = ArrayIndex(array, unit);
    ArrayPointer& p = g_mirror.pointer[i];
    const GLuint buffer = g_mirror.buffersKnown[0] ? g_mirror.buffers[0] : 0;
    if (p.known && g_mirror.buffersKnown[0] && p.buffer == buffer && p.size == size && p.type == type &&
        p.stride == stride && p.at == at)
        return;
    switch (array) {
        case GL_VERTEX_ARRAY: glVertexPointer(size, type, stride, at); break;
        case GL_NORMAL_ARRAY: glNormalPointer(type, stride, at); break;
        case GL_COLOR_ARRAY: glColorPointer(size, type, stride, at); break;
        default:
            GlClientUnit(unit);
            glTexCoordPointer(size, type, stride, at);
            break;
    }
    p.known = g_mirror.buffersKnown[0];
    p.buffer = buffer;
    p.size = size;
    p.type = type;
    p.stride = stride;
    p.at = at;
}

void GlColor(const float c[4]) {
    // While colour material is on, the current colour feeds the material: both are left to GL.
    if (g_mirror.colorKnown && Same4(g_mirror.color, c)) return;
    glColor4fv(c);
    for (int i = 0; i < 4; ++i) g_mirror.color[i] = c[i];
    g_mirror.colorKnown = 1;
}

void GlNormalZero() {
    if (g_mirror.normalZero) return;
    glNormal3f(0, 0, 0);
    g_mirror.normalZero = 1;
}

void GlSet2D(int width, int height) {
    GlCap(GL_DEPTH_TEST, false);
    GlDepthMask(false);
    GlCap(GL_ALPHA_TEST, false);
    GlCap(GL_BLEND, true);
    GlBlendState(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA, GL_FUNC_ADD);
    GlCull(0);
    GlCap(GL_LIGHTING, false);
    GlCap(GL_COLOR_MATERIAL, false);
    GlCap(GL_FOG, false);
    GlShade(GL_SMOOTH);
    GlPolygonMode(GL_FILL);
    GfxViewport vp;
    vp.width = width;
    vp.height = height;
    GlViewport(vp);
    // glOrtho(0, width, 0, height, -1, 1): top row first, as every target is stored.
    Mat4 ortho;
    ortho.m[0][0] = 2.0f / (float)width;
    ortho.m[1][1] = 2.0f / (float)height;
    ortho.m[2][2] = -1.0f;
    ortho.m[3][0] = -1.0f;
    ortho.m[3][2] = -0.0f;  // -(far + near) / (far - near), as glOrtho works it out
    ortho.m[3][1] = -1.0f;
    ortho.m[3][3] = 1.0f;
    GlLoadMatrix(GL_PROJECTION, ortho);
    GlLoadIdentity(GL_MODELVIEW);
    GlTexture2D(1, false);
    GlTexture2D(0, true);
    TexEnv modulate;
    modulate.mode = GL_MODULATE;
    ApplyTexEnv(0, modulate);
    GlArray(GL_NORMAL_ARRAY, 0, false);
    GlArray(GL_COLOR_ARRAY, 0, false);
    GlArray(GL_TEXTURE_COORD_ARRAY, 1, false);
    GlArray(GL_VERTEX_ARRAY, 0, true);
    GlArray(GL_TEXTURE_COORD_ARRAY, 0, true);
    GlBindBuffer(GL_ARRAY_BUFFER, 0);
}

// ---- Direct3D's states onto GL ---------------------------------------------------------------

namespace {

// One texture argument of a combiner stage: its source and operand.
void CombinerArg(uint32_t arg, bool alpha, GLint* source, GLint* operand) {
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

// One half (colour or alpha) of a combiner stage into env.
void Combiner(uint32_t op, uint32_t arg1, uint32_t arg2, bool alpha, TexEnv* env) {
    const int h = alpha ? 1 : 0;
    GLint s1, o1, s2, o2;
    CombinerArg(arg1, alpha, &s1, &o1);
    CombinerArg(arg2, alpha, &s2, &o2);
    GLint mode = GL_MODULATE;
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
            env->source[h][2] = op == kTopBlendDiffuseAlpha ? GL_PRIMARY_COLOR : GL_TEXTURE;
            env->operand[h][2] = GL_SRC_ALPHA;
            break;
        default: break;
    }
    env->combine[h] = mode;
    env->source[h][0] = s1;
    env->operand[h][0] = o1;
    env->source[h][1] = s2;
    env->operand[h][1] = o2;
    env->scale[h] = factor;
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
// the texture.
void ApplySampler(GfxTexture* t, int unit, const uint32_t* s) {
    GLint mag = s[kTssMagFilter] >= kFilterLinear ? GL_LINEAR : GL_NEAREST;
    bool linear = s[kTssMinFilter] >= kFilterLinear;
    GLint min = linear ? GL_LINEAR : GL_NEAREST;
    if (t->levels > 1 && s[kTssMipFilter] != kFilterNone) {
        bool mipLinear = s[kTssMipFilter] >= kFilterLinear;
        min = linear ? (mipLinear ? GL_LINEAR_MIPMAP_LINEAR : GL_LINEAR_MIPMAP_NEAREST)
                     : (mipLinear ? GL_NEAREST_MIPMAP_LINEAR : GL_NEAREST_MIPMAP_NEAREST);
    }
    SetSampler(t, unit, min, mag, GlWrap(s[kTssAddressU]), GlWrap(s[kTssAddressV]));
}

void ColorOf(const Color4& c, float v[4]) {
    v[0] = c.r;
    v[1] = c.g;
    v[2] = c.b;
    v[3] = c.a;
}

// Light i as Direct3D keeps it (in world space), given to GL under the current view.
void SetLight(int i, const GfxLight& L) {
    const GLenum l = GL_LIGHT0 + i;
    float d[4], s[4], a[4];
    ColorOf(L.diffuse, d);
    ColorOf(L.specular, s);
    ColorOf(L.ambient, a);
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

}  // namespace

// Parameters are set only when they change: changing a texture that queued draws use makes the
// renderer finish them first. t is bound on the unit.
void SetSampler(GfxTexture* t, int unit, GLint min, GLint mag, GLint wrapS, GLint wrapT) {
    if (t->minFilter == min && t->magFilter == mag && t->wrapS == wrapS && t->wrapT == wrapT) return;
    GlTextureUnit(unit);
    if (t->minFilter != min) glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, t->minFilter = min);
    if (t->magFilter != mag) glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, t->magFilter = mag);
    if (t->wrapS != wrapS) glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, t->wrapS = wrapS);
    if (t->wrapT != wrapT) glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, t->wrapT = wrapT);
}

void ApplyStages() {
    bool live = true;
    for (int s = 0; s < kGfxMaxStages; ++s) {
        const uint32_t* st = g_dev.tss[s];
        GfxTexture* t = g_dev.textures[s];
        if (!live || st[kTssColorOp] == kTopDisable) live = false;
        if (!live) {
            GlTexture2D(s, false);
            GlBindTexture(s, 0);
            continue;
        }
        GlTexture2D(s, true);
        // A stage without a texture reads white: an untextured mesh shows its material and
        // colour, and the stage's other arguments still count.
        GlBindTexture(s, t ? t->id : g_dev.whiteTexture);
        if (t) ApplySampler(t, s, st);
        TexEnv env;
        env.mode = GL_COMBINE;
        ArgbToFloats(g_dev.rs[kRsTextureFactor], env.color);
        Combiner(st[kTssColorOp], st[kTssColorArg1], st[kTssColorArg2], false, &env);
        Combiner(st[kTssAlphaOp], st[kTssAlphaArg1], st[kTssAlphaArg2], true, &env);
        ApplyTexEnv(s, env);
    }
}

void ApplyLighting(bool hasNormal, bool hasDiffuse) {
    Mirror& mi = g_mirror;
    for (int i = 0; i < kGfxMaxLights; ++i) {
        if (!g_dev.lightOn[i]) {
            GlCap(GL_LIGHT0 + i, false);
            continue;
        }
        GlCap(GL_LIGHT0 + i, true);
        const GfxLight& L = g_dev.lights[i];
        if (mi.lightKnown[i] && std::memcmp(&mi.light[i], &L, sizeof L) == 0 &&
            std::memcmp(&mi.lightView[i], &g_dev.view, sizeof g_dev.view) == 0)
            continue;
        // Light positions go through the view only, as Direct3D keeps lights in world space.
        GlLoadMatrix(GL_MODELVIEW, g_dev.view);
        SetLight(i, L);
        mi.light[i] = L;
        mi.lightView[i] = g_dev.view;
        mi.lightKnown[i] = 1;
    }
    const GfxMaterial& m = g_dev.material;
    float v[4];
    ColorOf(m.ambient, v);
    GlMaterial(0, GL_AMBIENT, v);
    ColorOf(m.diffuse, v);
    GlMaterial(1, GL_DIFFUSE, v);
    ColorOf(m.emissive, v);
    GlMaterial(2, GL_EMISSION, v);
    ColorOf(g_dev.rs[kRsSpecularEnable] ? m.specular : Color4(), v);
    GlMaterial(3, GL_SPECULAR, v);
    float power = m.power < 0 ? 0 : (m.power > 128 ? 128 : m.power);
    if (!mi.shininessKnown || mi.shininess != power) {
        glMaterialf(GL_FRONT_AND_BACK, GL_SHININESS, power);
        mi.shininess = power;
        mi.shininessKnown = 1;
    }
    float amb[4];
    ArgbToFloats(g_dev.rs[kRsAmbient], amb);
    if (!mi.lightModelKnown || !Same4(mi.lightModelAmbient, amb)) {
        glLightModelfv(GL_LIGHT_MODEL_AMBIENT, amb);
        if (!mi.lightModelKnown) {
            glLightModeli(GL_LIGHT_MODEL_COLOR_CONTROL, GL_SEPARATE_SPECULAR_COLOR);
            glColorMaterial(GL_FRONT_AND_BACK, GL_DIFFUSE);
        }
        for (int k = 0; k < 4; ++k) mi.lightModelAmbient[k] = amb[k];
        mi.lightModelKnown = 1;
    }
    if (hasDiffuse && g_dev.rs[kRsColorVertex]) {
        GlCap(GL_COLOR_MATERIAL, true);
        // The vertices' colours now feed the material's diffuse: GL's is no longer ours.
        mi.materialKnown[1] = 0;
        mi.colorKnown = 0;
    } else {
        GlCap(GL_COLOR_MATERIAL, false);
    }
    // Without normals Direct3D lights nothing but ambient and emissive.
    if (!hasNormal) GlNormalZero();
    GlCap(GL_LIGHTING, true);
}

void ApplyFog(bool pretransformed) {
    uint32_t mode = g_dev.rs[kRsFogTableMode] != kFogNone ? g_dev.rs[kRsFogTableMode] : g_dev.rs[kRsFogVertexMode];
    bool on = g_dev.rs[kRsFogEnable] && mode != kFogNone && !pretransformed;
    GlCap(GL_FOG, on);
    if (!on) return;
    Mirror& mi = g_mirror;
    const GLint glMode = mode == kFogExp ? GL_EXP : mode == kFogExp2 ? GL_EXP2 : GL_LINEAR;
    const float start = F(g_dev.rs[kRsFogStart]), end = F(g_dev.rs[kRsFogEnd]), density = F(g_dev.rs[kRsFogDensity]);
    float c[4];
    ArgbToFloats(g_dev.rs[kRsFogColor], c);
    if (mi.fogKnown && mi.fogMode == glMode && mi.fogStart == start && mi.fogEnd == end && mi.fogDensity == density &&
        Same4(mi.fogColor, c))
        return;
    glFogi(GL_FOG_MODE, glMode);
    glFogf(GL_FOG_START, start);
    glFogf(GL_FOG_END, end);
    glFogf(GL_FOG_DENSITY, density);
    glFogfv(GL_FOG_COLOR, c);
    mi.fogMode = glMode;
    mi.fogStart = start;
    mi.fogEnd = end;
    mi.fogDensity = density;
    for (int k = 0; k < 4; ++k) mi.fogColor[k] = c[k];
    mi.fogKnown = 1;
}

void ApplyRaster() {
    const uint32_t* rs = g_dev.rs;
    bool depth = rs[kRsZEnable] != 0 && g_dev.depth != nullptr;
    GlCap(GL_DEPTH_TEST, depth);
    GlDepthFunc(GlCmp(rs[kRsZFunc]));
    GlDepthMask(rs[kRsZWriteEnable] != 0);
    GlCap(GL_ALPHA_TEST, rs[kRsAlphaTestEnable] != 0);
    GlAlphaFunc(GlCmp(rs[kRsAlphaFunc]), (rs[kRsAlphaRef] & 0xFF) / 255.0f);
    GlCap(GL_BLEND, rs[kRsAlphaBlendEnable] != 0);
    GlBlendState(GlBlend(rs[kRsSrcBlend]), GlBlend(rs[kRsDestBlend]), GlBlendOp(rs[kRsBlendOp]));
    // Targets are stored upside down, which turns Direct3D's clockwise fronts anticlockwise.
    GlCull(rs[kRsCullMode] == kCullNone ? 0 : rs[kRsCullMode] == kCullCcw ? GL_CCW : GL_CW);
    GlShade(rs[kRsShadeMode] == kShadeFlat ? GL_FLAT : GL_SMOOTH);
    GlCap(GL_NORMALIZE, rs[kRsNormalizeNormals] != 0);
    GlPolygonMode(rs[kRsFillMode] == kFillPoint ? GL_POINT : rs[kRsFillMode] == kFillWireframe ? GL_LINE : GL_FILL);
    GlPointSize(F(rs[kRsPointSize]) > 0 ? F(rs[kRsPointSize]) : 1.0f);
    GlViewport(g_dev.viewport);
    GlCap(GL_SCISSOR_TEST, false);
}

}  // namespace gldev
