// Direct3D's stored states applied to GL before each draw: depth, blending, culling, fog,
// the light and material, and the texture stages as GL combiners.
#include "gl_local.h"

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

// Parameters are set only when they change: changing a texture that queued draws use makes the
// renderer finish them first.
void SetSampler(GfxTexture* t, GLint min, GLint mag, GLint wrapS, GLint wrapT) {
    if (t->minFilter != min) glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, t->minFilter = min);
    if (t->magFilter != mag) glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, t->magFilter = mag);
    if (t->wrapS != wrapS) glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, t->wrapS = wrapS);
    if (t->wrapT != wrapT) glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, t->wrapT = wrapT);
}

// Filters and addressing are per stage in Direct3D and per texture in GL: put the stage's on
// the texture.
void ApplySampler(GfxTexture* t, const uint32_t* s) {
    GLint mag = s[kTssMagFilter] >= kFilterLinear ? GL_LINEAR : GL_NEAREST;
    bool linear = s[kTssMinFilter] >= kFilterLinear;
    GLint min = linear ? GL_LINEAR : GL_NEAREST;
    if (t->levels > 1 && s[kTssMipFilter] != kFilterNone) {
        bool mipLinear = s[kTssMipFilter] >= kFilterLinear;
        min = linear ? (mipLinear ? GL_LINEAR_MIPMAP_LINEAR : GL_LINEAR_MIPMAP_NEAREST)
                     : (mipLinear ? GL_NEAREST_MIPMAP_LINEAR : GL_NEAREST_MIPMAP_NEAREST);
    }
    SetSampler(t, min, mag, GlWrap(s[kTssAddressU]), GlWrap(s[kTssAddressV]));
}

void ApplyStages() {
    bool live = true;
    for (int s = 0; s < kGfxMaxStages; ++s) {
        glActiveTexture(GL_TEXTURE0 + s);
        const uint32_t* st = g_dev.tss[s];
        GfxTexture* t = g_dev.textures[s];
        if (!live || st[kTssColorOp] == kTopDisable) live = false;
        if (!live) {
            glDisable(GL_TEXTURE_2D);
            glBindTexture(GL_TEXTURE_2D, 0);
            continue;
        }
        glEnable(GL_TEXTURE_2D);
        // A stage without a texture reads white: an untextured mesh shows its material and
        // colour, and the stage's other arguments still count.
        glBindTexture(GL_TEXTURE_2D, t ? t->id : g_dev.whiteTexture);
        if (t) ApplySampler(t, st);
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
    SetFlag(GL_NORMALIZE, rs[kRsNormalizeNormals] != 0);
    glPolygonMode(GL_FRONT_AND_BACK, rs[kRsFillMode] == kFillPoint       ? GL_POINT
                                     : rs[kRsFillMode] == kFillWireframe ? GL_LINE
                                                                          : GL_FILL);
    glPointSize(F(rs[kRsPointSize]) > 0 ? F(rs[kRsPointSize]) : 1.0f);
    const GfxViewport& vp = g_dev.viewport;
    glViewport(vp.x, vp.y, vp.width, vp.height);
    glDepthRange(vp.minZ, vp.maxZ);
    glDisable(GL_SCISSOR_TEST);
}

}  // namespace gldev
