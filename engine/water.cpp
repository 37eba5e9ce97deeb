// The water surface: a damped ripple over the texture offsets, drawn as one triangle list.
#include "water.h"

#include "graphics.h"
#include "sys_rand.h"

namespace {
float RandAmplitude(float a) { return a * 2 * static_cast<float>(GameRand()) / static_cast<float>(kRandMax) - a; }
}  // namespace

CWater::CWater() { Setup(0, 0, 0, 10, 10, 0.005f); }

void CWater::Setup(float x, float y, float z, float width, float height, float amplitude) {
    for (auto& row : m_offset)
        for (Vec2& p : row) {
            p.x = RandAmplitude(amplitude);
            p.y = RandAmplitude(amplitude);
        }
    for (auto& row : m_velocity)
        for (Vec2& p : row) {
            p.x = RandAmplitude(amplitude);
            p.y = RandAmplitude(amplitude);
        }
    m_originX = x - width / 2;
    m_originY = y - height / 2;
    m_z = z;
    m_width = width;
    m_height = height;
    m_cellWidth = width / kWaterCells;
    m_cellHeight = height / kWaterCells;
}

void CWater::AddImpulse(float x, float y, float amount) {
    // Only points of the grid: outside the surface (or with no surface) nothing is touched.
    if (!(m_cellWidth > 0 && m_cellHeight > 0 && x >= 0 && y >= 0 && x <= m_width && y <= m_height)) return;
    int col = static_cast<int>(x / m_cellWidth), row = static_cast<int>(y / m_cellHeight);
    if (col > kWaterCells || row > kWaterCells) return;
    m_offset[row][col].x += amount;
    m_offset[row][col].y += amount;
}

void CWater::Step() {
    for (int r = 0; r < kWaterPoints; ++r)
        for (int s = 0; s < kWaterPoints; ++s) m_previous[r][s] = m_offset[r][s];
    for (int r = 1; r < kWaterCells; ++r)
        for (int s = 1; s < kWaterCells; ++s) {
            const Vec2& up = m_previous[r - 1][s];
            const Vec2& down = m_previous[r + 1][s];
            const Vec2& left = m_previous[r][s - 1];
            const Vec2& right = m_previous[r][s + 1];
            const Vec2& self = m_previous[r][s];
            Vec2& v = m_velocity[r][s];
            v.x += 0.1f * (up.x + down.x + left.x + right.x) - 0.4f * self.x;
            v.y += 0.1f * (up.y + down.y + left.y + right.y) - 0.4f * self.y;
            m_offset[r][s].x += v.x * m_timeStep;
            m_offset[r][s].y += v.y * m_timeStep;
            v.x *= m_damping;
            v.y *= m_damping;
        }
}

void CWater::BuildVertices() {
    auto put = [this](Vertex* v, int r, int s) {
        const Vec2& o = m_offset[r][s];
        v->Set(m_originX + s * m_cellWidth, m_originY + r * m_cellHeight, 0, m_color,
               static_cast<float>(s) / kWaterCells + o.x, 1 - (static_cast<float>(r) / kWaterCells + o.y));
    };
    for (int r = 0; r < kWaterCells; ++r)
        for (int s = 0; s < kWaterCells; ++s) {
            Vertex* v = &m_vertices[6 * (kWaterCells * r + s)];
            put(v + 0, r, s);
            put(v + 1, r + 1, s);
            put(v + 2, r, s + 1);
            put(v + 3, r + 1, s + 1);
            v[4] = v[2];
            v[5] = v[1];
        }
}

void CWater::Draw() {
    Step();
    BuildVertices();
    GfxSetVertexShader(kFvfTexVertex);
    GfxDrawPrimitiveUP(kPtTriangleList, kWaterVertices / 3, m_vertices, sizeof(Vertex));
}
