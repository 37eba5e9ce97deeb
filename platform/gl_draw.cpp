// Drawing: vertices in Direct3D's flexible formats handed to GL client arrays, pre-transformed
// screen vertices, vertex buffers, and the 2-D paths of sprites and text coverage images.
#include "gl_local.h"
#include "math_ops.h"

#include <cmath>
#include <string>

using namespace gldev;

namespace {

GfxDrawRecorder g_drawRecorder = nullptr;
GfxSpriteRecorder g_spriteRecorder = nullptr;
GfxTextRecorder g_textRecorder = nullptr;
std::string g_recordedText;  // what GfxRenderText laid out last, while text is recorded

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
        Mat4 proj = g_dev.projection * ClipAdapter();
        glMatrixMode(GL_PROJECTION);
        glLoadMatrixf(&proj.m[0][0]);
        Mat4 mv = g_dev.world * g_dev.view;
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
    if (n <= 0 || !indices || minIndex < 0 || vertexCount <= 0) return;
    // An index past the given vertices would make GL read beyond the caller's array: such a
    // draw (a damaged mesh file) is dropped whole.
    const uint32_t end = (uint32_t)minIndex + (uint32_t)vertexCount;
    for (int i = 0; i < n; ++i) {
        uint32_t index = indexBits == 32 ? static_cast<const uint32_t*>(indices)[i] : static_cast<const uint16_t*>(indices)[i];
        if (index >= end) return;
    }
    if (!PrepareDraw(vertices, stride, (int)end)) return;
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

void GfxTestSetSpriteRecorder(GfxSpriteRecorder recorder) { g_spriteRecorder = recorder; }
void GfxTestSetTextRecorder(GfxTextRecorder recorder) {
    g_textRecorder = recorder;
    g_recordedText.clear();
}

void gldev::NoteRenderedText(const char* text, int length) {
    if (g_textRecorder) g_recordedText.assign(text ? text : "", text && length > 0 ? (size_t)length : 0);
}

void GfxDrawSprite(GfxTexture* t, const GfxSpriteDraw& d) {
    if (!g_dev.created || !t) return;
    if (g_spriteRecorder) g_spriteRecorder(t, d);
    Begin2D(g_dev.target->width, g_dev.target->height);
    glBindTexture(GL_TEXTURE_2D, t->id);
    // Whole-pixel placement at scale 1 meets texel centres exactly, so linear filtering only
    // shows when the sprite is scaled or turned.
    SetSampler(t, GL_LINEAR, GL_LINEAR, GL_CLAMP_TO_EDGE, GL_CLAMP_TO_EDGE);
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
    if (g_textRecorder) {
        g_textRecorder(g_recordedText.c_str(), x, y, color);
        g_recordedText.clear();
    }
    const int tw = g_dev.target->width, th = g_dev.target->height;
    if (clipLeft < 0) clipLeft = 0;
    if (clipTop < 0) clipTop = 0;
    if (clipRight > tw) clipRight = tw;
    if (clipBottom > th) clipBottom = th;
    if (clipLeft >= clipRight || clipTop >= clipBottom) return;
    Begin2D(tw, th);
    glEnable(GL_SCISSOR_TEST);
    glScissor(clipLeft, clipTop, clipRight - clipLeft, clipBottom - clipTop);
    const int slot = g_dev.scratchNext;
    g_dev.scratchNext = (slot + 1) % kScratchTextures;
    glBindTexture(GL_TEXTURE_2D, g_dev.scratch[slot]);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
    int& sw = g_dev.scratchWidth[slot];
    int& sh = g_dev.scratchHeight[slot];
    if (width > sw || height > sh) {
        sw = sw < 256 ? 256 : sw;
        sh = sh < 32 ? 32 : sh;
        while (sw < width) sw *= 2;
        while (sh < height) sh *= 2;
        glTexImage2D(GL_TEXTURE_2D, 0, GL_ALPHA8, sw, sh, 0, GL_ALPHA, GL_UNSIGNED_BYTE, nullptr);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, 0);
    }
    glTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, width, height, GL_ALPHA, GL_UNSIGNED_BYTE, coverage);
    float x0 = (float)x, y0 = (float)y, x1 = (float)(x + width), y1 = (float)(y + height);
    float xy[8] = {x0, y0, x1, y0, x1, y1, x0, y1};
    float u1 = (float)width / sw, v1 = (float)height / sh;
    float uv[8] = {0, 0, u1, 0, u1, v1, 0, v1};
    Quad2D(xy, uv, color);
    glDisable(GL_SCISSOR_TEST);
}

