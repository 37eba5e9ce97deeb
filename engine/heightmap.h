// CHeightMap: a lit, coloured terrain mesh from a grey-scale image. One grid point per pixel,
// the green value as its height, two triangles per cell, smoothed normals, texture
// coordinates spanning the grid once; and the terrain height under a point, interpolated.
#pragma once

#include "math_ops.h"

#include <cstdint>
#include <vector>

// Format 0x152: position, normal, ARGB colour, one texture coordinate set (36 bytes).
struct TerrainVertex {
    Vec3 position, normal;
    uint32_t color = 0;
    float u = 0, v = 0;
};

class CHeightMap {
public:
    CHeightMap() = default;
    ~CHeightMap() { Free(); }
    CHeightMap(const CHeightMap&) = delete;
    CHeightMap& operator=(const CHeightMap&) = delete;

    // 1 on success; the grid is centred on (x0, z0) and lifted by y0.
    int Build(const char* image, float x0, float y0, float z0, float cellSize, float heightScale, uint32_t color);
    void Draw();                         // one triangle list in the caller's world transform
    float GetHeight(float x, float z) const;  // relative to the grid's centre; 0 before a build
    void Free();                         // frees the heights (the built vertices stay drawable)

    int IsBuilt() const { return m_built; }
    int GetWidth() const { return m_width; }
    int GetDepth() const { return m_depth; }
    const std::vector<TerrainVertex>& GetVertices() const { return m_vertices; }

private:
    std::vector<TerrainVertex> m_vertices;  // width x depth x 6, a triangle list
    float m_cellSize = 0;
    int m_width = 0, m_depth = 0;
    std::vector<float> m_heights;  // row-major: r x width + c
    int m_built = 0;
};
