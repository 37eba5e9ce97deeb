// Height-map terrain: the grid built from the image's green bytes, its normals smoothed over
// the six vertices at each inner grid point, and the bilinear height query.
#include "heightmap.h"

#include "debug_log.h"
#include "graphics.h"
#include "sys_image.h"

#include <cmath>

namespace {
Vec3 FaceNormal(const Vec3& p0, const Vec3& p1, const Vec3& p2) { return Vec3Normalize(Vec3Cross(p1 - p0, p2 - p1)); }
}  // namespace

int CHeightMap::Build(const char* image, float x0, float y0, float z0, float s, float k, uint32_t color) {
    Free();
    SysImage img;
    if (!SysLoadImageFile(image, &img) || img.width <= 0 || img.height <= 0) {
        LogPrintf("LOAD_TEXTURE_SYS:%s\n", image);
        return 0;
    }
    const int W = img.width, H = img.height;
    if (static_cast<long long>(W) * H * 6 > g_maxPrimitiveCount) {
        LogPrintf("Over max primitive count.\n");
        return 0;
    }
    auto green = [&](int c, int r) { return static_cast<float>((img.argb[static_cast<size_t>(r) * W + c] >> 8) & 0xFF); };
    auto height = [&](float g) { return g * k / 256 + y0; };
    const float xs = x0 - W * s / 2, zs = z0 - H * s / 2;
    std::vector<TerrainVertex> v(static_cast<size_t>(W) * H * 6);
    for (int r = 0; r < H; ++r)
        for (int c = 0; c < W; ++c) {
            int c1 = c + 1 < W ? c + 1 : c, r1 = r + 1 < H ? r + 1 : r;
            float g00 = green(c, r), g10 = green(c1, r), g01 = green(c, r1), g11 = green(c1, r1);
            TerrainVertex* q = &v[static_cast<size_t>(r * W + c) * 6];
            float u = static_cast<float>(c) / W, tv = static_cast<float>(r) / H;
            float du = 1.0f / W, dv = 1.0f / H;
            Vec3 p0(xs + c * s, height(g00), zs + r * s);
            q[0].position = p0;
            q[0].u = u, q[0].v = tv;
            q[1].position = Vec3(p0.x, height(g01), p0.z + s);
            q[1].u = u, q[1].v = tv + dv;
            q[2].position = Vec3(p0.x + s, height(g11), p0.z + s);
            q[2].u = u + du, q[2].v = tv + dv;
            q[3] = q[0];
            q[4] = q[2];
            q[5].position = Vec3(p0.x + s, height(g10), p0.z);
            q[5].u = u + du, q[5].v = tv;
            Vec3 n1 = FaceNormal(q[0].position, q[1].position, q[2].position);
            Vec3 n2 = FaceNormal(q[3].position, q[4].position, q[5].position);
            for (int i = 0; i < 6; ++i) {
                q[i].normal = i < 3 ? n1 : n2;
                q[i].color = color;
            }
        }
    // The six vertices at grid point (c + 1, r + 1), from the cell and its right, lower and
    // diagonal neighbours (the cell itself standing in past the last column or row).
    for (int r = 0; r < H; ++r)
        for (int c = 0; c < W; ++c) {
            int k0 = r * W + c;
            int right = c + 1 < W ? k0 + 1 : k0;
            int below = r + 1 < H ? k0 + W : k0;
            int diag = c + 1 < W && r + 1 < H ? k0 + W + 1 : k0;
            TerrainVertex* at[6] = {&v[k0 * 6 + 2], &v[k0 * 6 + 4], &v[right * 6 + 1],
                                    &v[below * 6 + 5], &v[diag * 6 + 0], &v[diag * 6 + 3]};
            Vec3 sum;
            for (TerrainVertex* p : at) sum += p->normal;
            sum = sum / 6.0f;
            for (TerrainVertex* p : at) p->normal = sum;
        }
    m_vertices.swap(v);
    m_built = 1;
    m_heights.assign(static_cast<size_t>(W) * H, 0);
    for (int r = 0; r < H; ++r)
        for (int c = 0; c < W; ++c) m_heights[static_cast<size_t>(r) * W + c] = m_vertices[static_cast<size_t>(r * W + c) * 6].position.y;
    m_cellSize = s;
    m_width = W;
    m_depth = H;
    return 1;
}

void CHeightMap::Draw() {
    if (!m_built || m_vertices.empty()) return;
    GfxSetVertexShader(kFvfXyz | kFvfNormal | kFvfDiffuse | kFvfTex1);
    GfxDrawPrimitiveUP(kPtTriangleList, static_cast<int>(m_vertices.size() / 3), m_vertices.data(), sizeof(TerrainVertex));
}

float CHeightMap::GetHeight(float x, float z) const {
    if (m_heights.empty() || !(m_cellSize != 0)) return 0;
    const int W = m_width, H = m_depth;
    // Centred as the grid was built (half the size, not half rounded down), so odd sizes line up.
    float fx = x / m_cellSize + static_cast<float>(W) / 2;
    float fz = z / m_cellSize + static_cast<float>(H) / 2;
    if (!(fx >= 0)) fx = 0;
    if (fx > W - 1) fx = static_cast<float>(W - 1);
    if (!(fz >= 0)) fz = 0;
    if (fz > H - 1) fz = static_cast<float>(H - 1);
    int ix = static_cast<int>(std::floor(fx)), iz = static_cast<int>(std::floor(fz));
    // The neighbour past the last point is the point itself (its blend factor is 0 there).
    int ix1 = ix + 1 < W ? ix + 1 : ix, iz1 = iz + 1 < H ? iz + 1 : iz;
    float dx = fx - ix, dz = fz - iz;
    auto h = [&](int cx, int cz) { return m_heights[static_cast<size_t>(cz) * W + cx]; };
    float a = h(ix, iz), b = h(ix, iz1);
    return (a + (h(ix1, iz) - a) * dx) * (1 - dz) + dz * (b + dx * (h(ix1, iz1) - b));
}

void CHeightMap::Free() { m_heights.clear(); }
