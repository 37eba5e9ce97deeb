// Drawing a CMesh: the world transform, then per subset its material, its texture and its
// triangles, from the device buffers the first draw fills.
#include "mesh.h"

#include "graphics.h"

#include <cmath>
#include <cstdint>
#include <cstring>

namespace {

// True when nothing of the box [lo, hi] under m (object space to Direct3D clip space) can
// reach the viewport: all eight corners lie beyond one clip plane. Clip coordinates are
// linear in the object's, so every vertex inside the box lies beyond that plane too; the
// margin is wider than any rounding of the device's own transform, so a draw skipped here
// would have coloured no pixel.
bool OutsideClip(const Vec3& lo, const Vec3& hi, const Mat4& m) {
    int beyond[6] = {};
    for (int i = 0; i < 8; ++i) {
        const Vec3 p(i & 4 ? lo.x : hi.x, i & 2 ? lo.y : hi.y, i & 1 ? lo.z : hi.z);
        const Vec4 c = Vec3Transform(p, m);
        const float margin = 1e-3f * (std::fabs(c.x) + std::fabs(c.y) + std::fabs(c.z) + std::fabs(c.w)) + 1e-6f;
        beyond[0] += c.x < -c.w - margin;
        beyond[1] += c.x > c.w + margin;
        beyond[2] += c.y < -c.w - margin;
        beyond[3] += c.y > c.w + margin;
        beyond[4] += c.z < -margin;
        beyond[5] += c.z > c.w + margin;
    }
    for (int n : beyond)
        if (n == 8) return true;
    return false;
}

// The material drawn with a given alpha: the ambient colour with that alpha, used as diffuse too.
GfxMaterial WithAlpha(GfxMaterial m, float alpha) {
    m.ambient.a = alpha;
    m.diffuse = m.ambient;
    return m;
}
}  // namespace

void CMesh::ReleaseDrawBuffers() {
    GfxReleaseVertexBuffer(m_drawVertices);
    GfxReleaseIndexBuffer(m_drawIndices);
    m_drawVertices = nullptr;
    m_drawIndices = nullptr;
    m_subsetRanges.clear();
    m_rangesBuilt = 0;
}

void CMesh::BuildSubsetRanges() {
    ReleaseDrawBuffers();
    m_rangesBuilt = 1;
    const size_t faces = m_indices.size() / 3;
    m_subsetRanges.assign(m_materials.size(), SubsetRange());
    for (size_t f = 0; f < faces; ++f) {
        uint32_t s = f < m_faceSubsets.size() ? m_faceSubsets[f] : 0;
        if (s < m_subsetRanges.size()) m_subsetRanges[s].count += 3;
    }
    int start = 0;
    for (SubsetRange& r : m_subsetRanges) {
        r.start = start;
        start += r.count;
    }
    if (start == 0 || m_vertexCount <= 0) return;
    m_drawVertices = GfxCreateVertexBuffer(static_cast<int>(m_vertices.size()), m_fvf);
    m_drawIndices = GfxCreateIndexBuffer(start, 32);
    void* v = GfxLockVertexBuffer(m_drawVertices);
    uint32_t* out = static_cast<uint32_t*>(GfxLockIndexBuffer(m_drawIndices));
    if (!v || !out) {  // no device yet: the next draw tries again
        GfxReleaseVertexBuffer(m_drawVertices);
        GfxReleaseIndexBuffer(m_drawIndices);
        m_drawVertices = nullptr;
        m_drawIndices = nullptr;
        return;
    }
    std::memcpy(v, m_vertices.data(), m_vertices.size());
    GfxUnlockVertexBuffer(m_drawVertices);
    std::vector<int> fill(m_subsetRanges.size(), 0);
    for (SubsetRange& r : m_subsetRanges) r.minIndex = UINT32_MAX;
    for (size_t f = 0; f < faces; ++f) {
        uint32_t s = f < m_faceSubsets.size() ? m_faceSubsets[f] : 0;
        if (s >= m_subsetRanges.size()) continue;
        SubsetRange& r = m_subsetRanges[s];
        for (int k = 0; k < 3; ++k) {
            const uint32_t i = m_indices[f * 3 + k];
            out[r.start + fill[s]++] = i;
            if (i < r.minIndex) r.minIndex = i;
            if (i > r.maxIndex) r.maxIndex = i;
        }
    }
    GfxUnlockIndexBuffer(m_drawIndices);
}

void CMesh::BeginDraw(const Mat4& world) {
    if (!m_rangesBuilt || !m_drawIndices) BuildSubsetRanges();
    GfxSetTransform(kTsWorld, world);
    Mat4 view, projection;
    GfxGetTransform(kTsView, &view);
    GfxGetTransform(kTsProjection, &projection);
    m_offScreen = (m_fvf & 0x00E) == kFvfXyz && OutsideClip(m_boxMin, m_boxMax, world * view * projection);
    GfxSetVertexShader(m_fvf);
    GfxSetStreamSource(m_drawVertices, m_stride);
    GfxSetIndices(m_drawIndices, 0);
}

// The material and texture are set even for a subset without triangles or a mesh off screen:
// later draws may rely on them.
void CMesh::DrawSubset(int subset, const GfxMaterial& material, GfxTexture* texture) {
    GfxSetMaterial(material);
    GfxSetTexture(0, texture);
    const SubsetRange& r = m_subsetRanges[subset];
    if (r.count == 0 || !m_drawIndices || m_offScreen) return;
    GfxDrawIndexedPrimitive(kPtTriangleList, static_cast<int>(r.minIndex), static_cast<int>(r.maxIndex - r.minIndex + 1),
                            r.start, r.count / 3);
}

void CMesh::Draw(const Mat4& world) {
    if (!HasMesh()) return;
    BeginDraw(world);
    for (int i = 0; i < GetSubsetCount(); ++i) DrawSubset(i, m_materials[i], m_textures[i]);
}

void CMesh::DrawWithTexture(const Mat4& world, GfxTexture* texture) {
    if (!HasMesh()) return;
    BeginDraw(world);
    for (int i = 0; i < GetSubsetCount(); ++i) DrawSubset(i, m_materials[i], texture);
}

void CMesh::DrawWithAlpha(const Mat4& world, float alpha) {
    if (!HasMesh()) return;
    BeginDraw(world);
    for (int i = 0; i < GetSubsetCount(); ++i) DrawSubset(i, WithAlpha(m_materials[i], alpha), m_textures[i]);
}

// The material is changed only for the draw: both ambient and diffuse stay as they were, so a
// painted subset (diffuse colour, zero ambient) keeps its paint.
void CMesh::DrawAddAlpha(const Mat4& world, float delta) {
    if (!HasMesh()) return;
    BeginDraw(world);
    for (int i = 0; i < GetSubsetCount(); ++i) {
        float x = m_materials[i].ambient.a + delta;
        if (x > 1.0f) x = 1.0f;
        if (x < -1.0f) x = -1.0f;
        DrawSubset(i, WithAlpha(m_materials[i], x), m_textures[i]);
    }
}

void CMesh::DrawWithMaterial(const Mat4& world, const GfxMaterial* material) {
    if (!HasMesh() || !material) return;
    BeginDraw(world);
    for (int i = 0; i < GetSubsetCount(); ++i) DrawSubset(i, *material, nullptr);
}
