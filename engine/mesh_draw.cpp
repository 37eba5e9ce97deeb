// Drawing a CMesh: the world transform, then per subset its material, its texture and its
// triangles, straight from the vertices in memory (the device uploads them as it needs).
#include "mesh.h"

#include "graphics.h"

namespace {
// The material drawn with a given alpha: the ambient colour with that alpha, used as diffuse too.
GfxMaterial WithAlpha(GfxMaterial m, float alpha) {
    m.ambient.a = alpha;
    m.diffuse = m.ambient;
    return m;
}
}  // namespace

void CMesh::BuildSubsetRanges() {
    m_subsetIndices.assign(m_materials.size(), std::vector<uint32_t>());
    size_t faces = m_indices.size() / 3;
    for (size_t f = 0; f < faces; ++f) {
        uint32_t s = f < m_faceSubsets.size() ? m_faceSubsets[f] : 0;
        if (s >= m_subsetIndices.size()) continue;
        m_subsetIndices[s].insert(m_subsetIndices[s].end(), &m_indices[f * 3], &m_indices[f * 3] + 3);
    }
    m_rangesBuilt = 1;
}

void CMesh::BeginDraw(const Mat4& world) {
    if (!m_rangesBuilt) BuildSubsetRanges();
    GfxSetTransform(kTsWorld, world);
    GfxSetVertexShader(m_fvf);
}

// The material and texture are set even for a subset without triangles.
void CMesh::DrawSubset(int subset, const GfxMaterial& material, GfxTexture* texture) {
    GfxSetMaterial(material);
    GfxSetTexture(0, texture);
    const std::vector<uint32_t>& idx = m_subsetIndices[subset];
    if (idx.empty()) return;
    GfxDrawIndexedPrimitiveUP(kPtTriangleList, 0, m_vertexCount, static_cast<int>(idx.size() / 3), idx.data(), 32,
                              m_vertices.data(), m_stride);
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
