// Drawing: vertices in Direct3D's flexible formats handed to GL client arrays, pre-transformed
// screen vertices, vertex buffers, and the 2-D paths of sprites and text coverage images.
#include "gl_local.h"
#include "math_ops.h"

#include <cmath>
#include <cstring>
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

// A GL buffer holding what the record holds, made or refilled when the record was written since
// (or the device was made anew, taking its names with it).
template <typename Buffer>
void SyncBuffer(Buffer* b, GLenum target) {
    if (b->generation != g_generation) {
        b->id = 0;
        b->generation = g_generation;
        b->dirty = 1;
    }
    if (!b->id) glGenBuffers(1, &b->id);
    GlBindBuffer(target, b->id);
    if (b->dirty) {
        glBufferData(target, (GLsizeiptr)b->data.size(), b->data.data(), GL_STATIC_DRAW);
        b->dirty = 0;
    }
}

// Where GL reads an attribute: in memory, or at an offset into the bound buffer.
const void* At(const unsigned char* memory, size_t bufferOffset, bool inBuffer, int attribute) {
    if (inBuffer) return reinterpret_cast<const void*>((uintptr_t)(bufferOffset + (size_t)attribute));
    return memory + attribute;
}

// Sets arrays and all states for vertexCount vertices in format fvf at data; with vb they are
// read from vb's GL buffer at offset (data then points at the same vertices in memory).
// Returns 0 when undrawable.
int PrepareDraw(const void* data, int stride, int vertexCount, GfxVertexBuffer* vb = nullptr, size_t offset = 0) {
    Layout l;
    if (!g_dev.created || !ParseFvf(g_dev.fvf, &l) || !data) return 0;
    if (stride <= 0) stride = l.stride;
    const unsigned char* base = static_cast<const unsigned char*>(data);

    ApplyRaster();
    ApplyFog(l.rhw);
    ApplyStages();

    // Pre-transformed vertices are converted here, so they never come from a buffer.
    const bool inBuffer = vb && !l.rhw;
    if (inBuffer)
        SyncBuffer(vb, GL_ARRAY_BUFFER);
    else
        GlBindBuffer(GL_ARRAY_BUFFER, 0);
    GlArray(GL_VERTEX_ARRAY, 0, true);
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
        GlPointer(GL_VERTEX_ARRAY, 0, 4, GL_FLOAT, 0, g_rhwScratch.data());
        GlLoadIdentity(GL_PROJECTION);
        GlLoadIdentity(GL_MODELVIEW);
        GlCap(GL_LIGHTING, false);
        GlCap(GL_COLOR_MATERIAL, false);
    } else {
        GlPointer(GL_VERTEX_ARRAY, 0, 3, GL_FLOAT, stride, At(base, offset, inBuffer, l.position));
        if (g_dev.rs[kRsLighting])
            ApplyLighting(l.normal >= 0, l.diffuse >= 0);
        else {
            GlCap(GL_LIGHTING, false);
            GlCap(GL_COLOR_MATERIAL, false);
        }
        GlLoadMatrix(GL_PROJECTION, g_dev.projection * ClipAdapter());
        GlLoadMatrix(GL_MODELVIEW, g_dev.world * g_dev.view);
    }
    if (l.normal >= 0 && !l.rhw) {
        GlArray(GL_NORMAL_ARRAY, 0, true);
        GlPointer(GL_NORMAL_ARRAY, 0, 3, GL_FLOAT, stride, At(base, offset, inBuffer, l.normal));
    } else {
        GlArray(GL_NORMAL_ARRAY, 0, false);
    }
    if (l.diffuse >= 0) {
        GlArray(GL_COLOR_ARRAY, 0, true);
        GlPointer(GL_COLOR_ARRAY, 0, GL_BGRA, GL_UNSIGNED_BYTE, stride, At(base, offset, inBuffer, l.diffuse));
    } else {
        GlArray(GL_COLOR_ARRAY, 0, false);
        static const float kWhite[4] = {1, 1, 1, 1};
        GlColor(kWhite);  // no colour in the vertices reads as white
    }
    for (int s = 0; s < kGfxMaxStages; ++s) {
        int set = (int)(g_dev.tss[s][kTssTexCoordIndex] & 0xFFFF);
        if (set < l.texCount) {
            GlArray(GL_TEXTURE_COORD_ARRAY, s, true);
            GlPointer(GL_TEXTURE_COORD_ARRAY, s, 2, GL_FLOAT, stride, At(base, offset, inBuffer, l.tex[set]));
        } else {
            GlArray(GL_TEXTURE_COORD_ARRAY, s, false);
        }
    }
    return 1;
}

// Drawing for the 2-D helpers (sprites, text): blending, no depth, no lighting, pixel space.
void Begin2D(int width, int height) { GlSet2D(width, height); }

void Quad2D(const float* xy, const float* uv, uint32_t color) {
    float c[4];
    ArgbToFloats(color, c);
    GlColor(c);
    GlPointer(GL_VERTEX_ARRAY, 0, 2, GL_FLOAT, 0, xy);
    GlPointer(GL_TEXTURE_COORD_ARRAY, 0, 2, GL_FLOAT, 0, uv);
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
    GlBindBuffer(GL_ELEMENT_ARRAY_BUFFER, 0);
    glDrawElements(GlPrimitive(type), n, indexBits == 32 ? GL_UNSIGNED_INT : GL_UNSIGNED_SHORT, indices);
}

GfxVertexBuffer* GfxCreateVertexBuffer(int bytes, uint32_t fvf) {
    if (!g_dev.created || bytes <= 0) return nullptr;
    GfxVertexBuffer* vb = new GfxVertexBuffer;
    vb->data.assign((size_t)bytes, 0);
    vb->fvf = fvf;
    vb->generation = g_generation;
    return vb;
}

void GfxReleaseVertexBuffer(GfxVertexBuffer* vb) {
    if (!vb) return;
    if (g_dev.stream == vb) g_dev.stream = nullptr;
    if (vb->id && g_dev.created && vb->generation == g_generation) {
        glDeleteBuffers(1, &vb->id);
        ForgetGlArrays();
    }
    delete vb;
}

void* GfxLockVertexBuffer(GfxVertexBuffer* vb) { return vb ? vb->data.data() : nullptr; }
void GfxUnlockVertexBuffer(GfxVertexBuffer* vb) {
    if (vb) vb->dirty = 1;
}

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
    const size_t offset = (size_t)startVertex * g_dev.streamStride;
    if (g_drawRecorder) g_drawRecorder(g_dev.fvf, type, primitives, vb->data.data() + offset, g_dev.streamStride, n);
    if (!PrepareDraw(vb->data.data() + offset, g_dev.streamStride, n, vb, offset)) return;
    glDrawArrays(GlPrimitive(type), 0, n);
}

GfxIndexBuffer* GfxCreateIndexBuffer(int count, int indexBits) {
    if (!g_dev.created || count <= 0 || (indexBits != 16 && indexBits != 32)) return nullptr;
    GfxIndexBuffer* ib = new GfxIndexBuffer;
    ib->bits = indexBits;
    ib->count = count;
    ib->data.assign((size_t)count * (indexBits / 8), 0);
    ib->generation = g_generation;
    return ib;
}

void GfxReleaseIndexBuffer(GfxIndexBuffer* ib) {
    if (!ib) return;
    if (g_dev.indices == ib) g_dev.indices = nullptr;
    if (ib->id && g_dev.created && ib->generation == g_generation) {
        glDeleteBuffers(1, &ib->id);
        ForgetGlArrays();
    }
    delete ib;
}

void* GfxLockIndexBuffer(GfxIndexBuffer* ib) { return ib ? ib->data.data() : nullptr; }

namespace {
uint32_t IndexAt(const GfxIndexBuffer* ib, int i) {
    const unsigned char* p = ib->data.data();
    return ib->bits == 32 ? reinterpret_cast<const uint32_t*>(p)[i] : reinterpret_cast<const uint16_t*>(p)[i];
}
}  // namespace

void GfxUnlockIndexBuffer(GfxIndexBuffer* ib) {
    if (!ib) return;
    uint32_t most = 0;
    for (int i = 0; i < ib->count; ++i) {
        uint32_t v = IndexAt(ib, i);
        if (v > most) most = v;
    }
    ib->maxIndex = most;
    ib->dirty = 1;
}

void GfxSetIndices(GfxIndexBuffer* ib, int baseVertex) {
    g_dev.indices = ib;
    g_dev.baseVertex = baseVertex;
}

void GfxDrawIndexedPrimitive(uint32_t type, int minIndex, int vertexCount, int startIndex, int primitives) {
    GfxVertexBuffer* vb = g_dev.stream;
    GfxIndexBuffer* ib = g_dev.indices;
    const int n = GfxVertexCount(type, primitives);
    const int stride = g_dev.streamStride;
    if (!vb || !ib || n <= 0 || startIndex < 0 || minIndex < 0 || vertexCount <= 0 || stride <= 0) return;
    if ((size_t)startIndex + (size_t)n > (size_t)ib->count || g_dev.baseVertex < 0) return;
    const size_t vertices = vb->data.size() / (size_t)stride;
    const size_t base = (size_t)g_dev.baseVertex;
    if (base >= vertices) return;
    // Every index of the draw must name a vertex of the stream: a buffer whose indices all do
    // needs no look at this draw's.
    const size_t last = (size_t)minIndex + (size_t)vertexCount - 1;
    if (last >= vertices - base) return;
    if ((size_t)ib->maxIndex >= vertices - base)
        for (int i = 0; i < n; ++i)
            if ((size_t)IndexAt(ib, startIndex + i) >= vertices - base) return;
    const size_t offset = base * (size_t)stride;
    if (!PrepareDraw(vb->data.data() + offset, stride, (int)(vertices - base), vb, offset)) return;
    const GLenum indexType = ib->bits == 32 ? GL_UNSIGNED_INT : GL_UNSIGNED_SHORT;
    const size_t indexOffset = (size_t)startIndex * (size_t)(ib->bits / 8);
    const void* indices;
    Layout l;
    if (ParseFvf(g_dev.fvf, &l) && l.rhw) {
        GlBindBuffer(GL_ELEMENT_ARRAY_BUFFER, 0);
        indices = ib->data.data() + indexOffset;
    } else {
        SyncBuffer(ib, GL_ELEMENT_ARRAY_BUFFER);
        indices = reinterpret_cast<const void*>((uintptr_t)indexOffset);
    }
    glDrawRangeElements(GlPrimitive(type), (GLuint)minIndex, (GLuint)last, n, indexType, indices);
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
    GlBindTexture(0, t->id);
    // Whole-pixel placement at scale 1 meets texel centres exactly, so linear filtering only
    // shows when the sprite is scaled or turned.
    SetSampler(t, 0, GL_LINEAR, GL_LINEAR, GL_CLAMP_TO_EDGE, GL_CLAMP_TO_EDGE);
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
    glScissor(clipLeft, clipTop, clipRight - clipLeft, clipBottom - clipTop);
    GlCap(GL_SCISSOR_TEST, true);
    const size_t bytes = (size_t)width * height;
    int slot = -1;
    for (int i = 0; i < kScratchTextures && slot < 0; ++i)
        if (g_dev.scratchHeldWidth[i] == width && g_dev.scratchHeldHeight[i] == height &&
            std::memcmp(g_dev.scratchHeld[i].data(), coverage, bytes) == 0)
            slot = i;
    const bool held = slot >= 0;
    if (!held) {
        // The image least recently drawn is replaced: rewriting one that queued draws still
        // read would make the renderer finish them first.
        slot = g_dev.scratchNext;
        for (int i = 0; i < kScratchTextures; ++i)
            if (g_dev.scratchUsed[i] < g_dev.scratchUsed[slot]) slot = i;
        g_dev.scratchNext = (slot + 1) % kScratchTextures;
    }
    g_dev.scratchUsed[slot] = ++g_dev.scratchClock;
    int& sw = g_dev.scratchWidth[slot];
    int& sh = g_dev.scratchHeight[slot];
    if (held) {
        GlBindTexture(0, g_dev.scratch[slot]);
    } else {
        GlEditTexture(g_dev.scratch[slot]);
        glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
        glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
    }
    if (!held && (width > sw || height > sh)) {
        sw = sw < 256 ? 256 : sw;
        sh = sh < 32 ? 32 : sh;
        while (sw < width) sw *= 2;
        while (sh < height) sh *= 2;
        glTexImage2D(GL_TEXTURE_2D, 0, GL_ALPHA8, sw, sh, 0, GL_ALPHA, GL_UNSIGNED_BYTE, nullptr);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, 0);
    }
    if (!held) {
        glTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, width, height, GL_ALPHA, GL_UNSIGNED_BYTE, coverage);
        g_dev.scratchHeld[slot].assign(coverage, coverage + bytes);
        g_dev.scratchHeldWidth[slot] = width;
        g_dev.scratchHeldHeight[slot] = height;
    }
    float x0 = (float)x, y0 = (float)y, x1 = (float)(x + width), y1 = (float)(y + height);
    float xy[8] = {x0, y0, x1, y0, x1, y1, x0, y1};
    float u1 = (float)width / sw, v1 = (float)height / sh;
    float uv[8] = {0, 0, u1, 0, u1, v1, 0, v1};
    Quad2D(xy, uv, color);
    GlCap(GL_SCISSOR_TEST, false);
}

