// CWater: a rippling water surface. A flat rectangle of 20 x 20 textured cells in the XY plane
// of the caller's world transform, whose texture coordinates a 21 x 21 grid of 2-D offsets
// displaces; the offsets follow a damped ripple step every draw and can be disturbed at a point.
#pragma once

#include "math_ops.h"
#include "shapes.h"

#include <cstdint>

constexpr int kWaterCells = 20;                 // cells along each side
constexpr int kWaterPoints = kWaterCells + 1;   // grid points along each side
constexpr int kWaterVertices = kWaterCells * kWaterCells * 6;

class CWater {
public:
    CWater();
    void Setup(float x, float y, float z, float width, float height, float amplitude);
    void AddImpulse(float x, float y, float amount);  // from the origin corner; outside: ignored
    void SetColor(uint32_t color) { m_color = color; }
    void SetTimeStep(float t) { m_timeStep = t < 0 ? 0 : t; }
    void SetDamping(float d) { m_damping = d; }
    void Step();  // one ripple step (Draw runs it first)
    void Draw();

    const Vec2& GetOffset(int row, int col) const { return m_offset[row][col]; }
    const Vertex* GetVertices() const { return m_vertices; }
    float GetTimeStep() const { return m_timeStep; }

private:
    void BuildVertices();
    Vertex m_vertices[kWaterVertices] = {};
    Vec2 m_offset[kWaterPoints][kWaterPoints];
    Vec2 m_previous[kWaterPoints][kWaterPoints];
    Vec2 m_velocity[kWaterPoints][kWaterPoints];
    float m_originX = 0, m_originY = 0, m_z = 0;
    float m_width = 0, m_height = 0;
    float m_cellWidth = 0, m_cellHeight = 0;
    float m_timeStep = 0.05f;
    float m_damping = 1.0f;
    uint32_t m_color = 0xFFFFFFFF;
};
