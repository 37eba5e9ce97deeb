// CMesh loading, generated shapes and the measurements that nodes and robots read.
#include "mesh.h"

#include "debug_log.h"
#include "mesh_textures.h"
#include "xfile_reader.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

constexpr uint32_t kFvfFromFile = kFvfXyz;
constexpr uint32_t kFvfNormalTex = kFvfXyz | kFvfNormal | kFvfTex1;  // 0x112

// Byte offsets of the parts of a vertex in the order Direct3D lays them out.
struct Layout {
    int normal = -1, diffuse = -1, tex = -1, stride = 12;
};

Layout LayoutOf(uint32_t fvf) {
    Layout l;
    if (fvf & kFvfNormal) l.normal = l.stride, l.stride += 12;
    if (fvf & kFvfDiffuse) l.diffuse = l.stride, l.stride += 4;
    if (fvf & kFvfTex1) l.tex = l.stride, l.stride += 8;
    return l;
}

void Put(unsigned char* p, const void* v, size_t n) { std::memcpy(p, v, n); }

}  // namespace

CMesh::~CMesh() { Release(); }

// ---- Loading ----

int CMesh::Load(const char* name, uint32_t colorKey, int mipLevels) {
    if (HasMesh()) Release();
    LogPrintf("load(%s) ... ", name);
    m_name = name;
    XMeshData data;
    std::string error;
    if (!ReadXFile(name, &data, &error) || !TakeGeometry(data)) {
        LogPrintf("failed.\n");
        return 0;
    }
    LogPrintf("ok.\n");
    TakeMaterials(data, colorKey, mipLevels, 0);
    return 1;
}

int CMesh::LoadOptimized(const char* name, uint32_t colorKey, int mipLevels) {
    if (!Load(name, colorKey, mipLevels)) return 0;
    SortFacesBySubset();
    return 1;
}

int CMesh::LoadFromResource(const char* name, uint32_t colorKey, int mipLevels) {
    if (HasMesh()) Release();
    LogPrintf("load(%s) ... ", name);
    m_name = name;
    CXFileReader reader;
    if (!reader.Open(name, 1)) {
        LogPrintf("open failed.\n");
        return 0;
    }
    XDataObject object;
    if (!reader.FindMesh(&object)) {
        LogPrintf("mesh is not found.\n");
        return 0;
    }
    XMeshData data;
    std::string error;
    int ok = reader.LoadMesh(object, &data, &error);
    reader.Close();
    if (!ok || !TakeGeometry(data)) {
        LogPrintf("failed.\n");
        return 0;
    }
    LogPrintf("ok.\n");
    TakeMaterials(data, colorKey, mipLevels, 1);
    SortFacesBySubset();
    return 1;
}

// Faces gathered by subset (stable; vertices untouched, so mount points keep their indices).
void CMesh::SortFacesBySubset() {
    int faces = GetFaceCount();
    std::vector<int> order(faces);
    for (int i = 0; i < faces; ++i) order[i] = i;
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return m_faceSubsets[a] < m_faceSubsets[b]; });
    std::vector<uint32_t> idx(m_indices.size()), sub(faces);
    for (int i = 0; i < faces; ++i) {
        std::memcpy(&idx[i * 3], &m_indices[order[i] * 3], 3 * sizeof(uint32_t));
        sub[i] = m_faceSubsets[order[i]];
    }
    m_indices.swap(idx);
    m_faceSubsets.swap(sub);
    ReleaseDrawBuffers();
    BuildFaceBoxes();
}

// The widening is a ten-thousandth of the coordinates' size and more: far past the rounding of a
// point the triangle test puts on a face for any ray that meets it, yet well inside the thinnest
// face a model is built of, so boxes stay tight around their faces.
void CMesh::BuildFaceBoxes() {
    const int faces = GetFaceCount();
    m_faceBoxes.assign(static_cast<size_t>(faces) * 6, 0.0);
    for (int f = 0; f < faces; ++f) {
        double* box = &m_faceBoxes[static_cast<size_t>(f) * 6];
        for (int k = 0; k < 3; ++k) {
            const Vec3 p = GetVertexPosition(m_indices[f * 3 + k]);
            const double v[3] = {p.x, p.y, p.z};
            for (int i = 0; i < 3; ++i) {
                if (k == 0 || v[i] < box[i]) box[i] = v[i];
                if (k == 0 || v[i] > box[3 + i]) box[3 + i] = v[i];
            }
        }
        double size = 0;
        for (int i = 0; i < 6; ++i) size = std::max(size, std::fabs(box[i]));
        const double widen = 1e-4 * (1 + size);
        for (int i = 0; i < 3; ++i) {
            box[i] -= widen;
            box[3 + i] += widen;
        }
    }
    BuildFaceTree();
}

int CMesh::TakeData(const XMeshData& data, uint32_t colorKey, int mipLevels, int fromResource) {
    if (!TakeGeometry(data)) return 0;
    TakeMaterials(data, colorKey, mipLevels, fromResource);
    return 1;
}

int CMesh::TakeGeometry(const XMeshData& data) {
    ClearData();
    // Data from elsewhere than the reader is checked as the reader checks: whole triangles,
    // corners inside the vertices, faces inside the materials, attributes for every vertex.
    size_t nv = data.positions.size();
    if (data.indices.size() % 3 || data.faceMaterials.size() * 3 != data.indices.size() || nv > kMaxXVertices ||
        (!data.normals.empty() && data.normals.size() != nv) || (!data.colors.empty() && data.colors.size() != nv) ||
        (!data.texCoords.empty() && data.texCoords.size() != nv))
        return 0;
    for (uint32_t i : data.indices)
        if (i >= nv) return 0;
    for (uint32_t m : data.faceMaterials)
        if (m >= data.materials.size()) return 0;
    for (const Vec3& p : data.positions)
        if (!Vec3IsFinite(p)) return 0;
    m_fvf = kFvfFromFile;
    if (!data.normals.empty()) m_fvf |= kFvfNormal;
    if (!data.colors.empty()) m_fvf |= kFvfDiffuse;
    if (!data.texCoords.empty()) m_fvf |= kFvfTex1;
    Layout l = LayoutOf(m_fvf);
    m_stride = l.stride;
    m_vertexCount = static_cast<int>(data.positions.size());
    m_vertices.assign(static_cast<size_t>(m_vertexCount) * m_stride, 0);
    for (int i = 0; i < m_vertexCount; ++i) {
        unsigned char* v = &m_vertices[static_cast<size_t>(i) * m_stride];
        Put(v, &data.positions[i], 12);
        if (l.normal >= 0) Put(v + l.normal, &data.normals[i], 12);
        if (l.diffuse >= 0) Put(v + l.diffuse, &data.colors[i], 4);
        if (l.tex >= 0) Put(v + l.tex, &data.texCoords[i], 8);
    }
    m_indices = data.indices;
    m_faceSubsets = data.faceMaterials;
    ReleaseDrawBuffers();
    ComputeBounds();
    return 1;
}

void CMesh::TakeMaterials(const XMeshData& data, uint32_t colorKey, int mipLevels, int fromResource) {
    size_t n = data.materials.size();
    m_materials.assign(n, GfxMaterial());
    m_textures.assign(n, nullptr);
    m_textureNames.assign(n, std::string());
    for (size_t i = 0; i < n; ++i) {
        const XMaterial& x = data.materials[i];
        GfxMaterial& m = m_materials[i];
        m.diffuse = x.faceColor;
        m.ambient = x.faceColor;  // the file's ambient is discarded
        m.specular = x.specular;
        m.emissive = x.emissive;
        m.power = x.power;
        m_textureNames[i] = x.textureFile;
        if (!x.textureFile.empty()) m_textures[i] = MeshTextureLoad(fromResource, x.textureFile.c_str(), colorKey, mipLevels);
    }
}

void CMesh::Release() {
    if (!m_name.empty()) {
        LogPrintf("release(%s)\n", m_name.c_str());
        m_name.clear();
    }
    ClearData();
}

void CMesh::ClearData() {
    for (GfxTexture* t : m_textures)
        if (t) MeshTextureRelease(t);
    m_textures.clear();
    m_textureNames.clear();
    m_materials.clear();
    m_vertices.clear();
    m_indices.clear();
    m_faceSubsets.clear();
    m_faceBoxes.clear();
    m_faceTree.clear();
    m_faceTreePairs.clear();
    m_faceTreeOrder.clear();
    m_faceCells = FaceCells();
    ReleaseDrawBuffers();
    m_vertexCount = 0;
    m_fvf = 0;
    m_stride = 0;
    m_boxMin = m_boxMax = m_sphereCenter = Vec3();
    m_sphereRadius = 0;
}

// ---- Shape ----

Vec3 CMesh::GetVertexPosition(int index) const {
    if (index < 0 || index >= m_vertexCount) return Vec3();
    Vec3 p;
    std::memcpy(&p.x, &m_vertices[static_cast<size_t>(index) * m_stride], 12);
    return p;
}

Vec3 CMesh::GetVertexNormal(int index) const {
    Layout l = LayoutOf(m_fvf);
    if (index < 0 || index >= m_vertexCount || l.normal < 0) return Vec3();
    Vec3 n;
    std::memcpy(&n.x, &m_vertices[static_cast<size_t>(index) * m_stride + l.normal], 12);
    return n;
}

void CMesh::ComputeBounds() {
    ComputeBoundingBox(m_vertices.data(), m_vertexCount, m_stride, &m_boxMin, &m_boxMax);
    ComputeBoundingSphere(m_vertices.data(), m_vertexCount, m_stride, &m_sphereCenter, &m_sphereRadius);
    BuildFaceBoxes();
}

void CMesh::ComputeNormals() {
    if (!m_vertexCount) return;
    Layout from = LayoutOf(m_fvf), to = LayoutOf(kFvfNormalTex);
    std::vector<unsigned char> out(static_cast<size_t>(m_vertexCount) * to.stride, 0);
    std::vector<Vec3> sum(m_vertexCount);
    for (size_t f = 0; f + 2 < m_indices.size(); f += 3) {
        uint32_t a = m_indices[f], b = m_indices[f + 1], c = m_indices[f + 2];
        Vec3 pa = GetVertexPosition(a), pb = GetVertexPosition(b), pc = GetVertexPosition(c);
        Vec3 n = Vec3Normalize(Vec3Cross(pb - pa, pc - pa));
        sum[a] += n;
        sum[b] += n;
        sum[c] += n;
    }
    for (int i = 0; i < m_vertexCount; ++i) {
        const unsigned char* src = &m_vertices[static_cast<size_t>(i) * m_stride];
        unsigned char* dst = &out[static_cast<size_t>(i) * to.stride];
        std::memcpy(dst, src, 12);
        Vec3 n = Vec3Normalize(sum[i]);
        Put(dst + to.normal, &n, 12);
        if (from.tex >= 0) std::memcpy(dst + to.tex, src + from.tex, 8);
    }
    m_vertices.swap(out);
    m_fvf = kFvfNormalTex;
    m_stride = to.stride;
    ReleaseDrawBuffers();
}

void CMesh::SetSubsetColor(int subset, float r, float g, float b, float a) {
    if (subset < 0 || subset >= GetSubsetCount()) return;
    GfxMaterial& m = m_materials[subset];
    m.diffuse = Color4(r, g, b, a);
    m.ambient = Color4(0, 0, 0, 0);
    m.specular = Color4(1, 1, 1, 1);
    m.emissive = Color4(r / 2, g / 2, b / 2, a);
    m.power = 1.0f;
}

// ---- Generated shapes ----

namespace {

struct ShapeBuilder {
    std::vector<Vec3> pos;
    std::vector<uint32_t> idx;

    uint32_t Add(const Vec3& p) {
        pos.push_back(p);
        return static_cast<uint32_t>(pos.size() - 1);
    }
    // A triangle whose front (clockwise, normal (b - a) x (c - a)) faces away from `inside`.
    void Tri(uint32_t a, uint32_t b, uint32_t c, const Vec3& inside) {
        Vec3 n = Vec3Cross(pos[b] - pos[a], pos[c] - pos[a]);
        Vec3 mid = (pos[a] + pos[b] + pos[c]) / 3.0f;
        if (Vec3Dot(n, mid - inside) < 0) std::swap(b, c);
        idx.push_back(a);
        idx.push_back(b);
        idx.push_back(c);
    }
    // A surface of revolution about the Y axis through `centre`: profile (radius, height)
    // pairs, each ring `segments` vertices; triangles face away from the axis.
    void Lathe(const float (*profile)[2], int rings, int segments, const Vec3& centre, const Mat4& place) {
        uint32_t first = static_cast<uint32_t>(pos.size());
        for (int r = 0; r < rings; ++r)
            for (int s = 0; s < segments; ++s) {
                float a = 2.0f * kPi * s / segments;
                Vec3 p(profile[r][0] * CosF(a), profile[r][1], profile[r][0] * SinF(a));
                Add(Vec3TransformCoord(p, place) + centre);
            }
        for (int r = 0; r + 1 < rings; ++r)
            for (int s = 0; s < segments; ++s) {
                uint32_t a = first + r * segments + s, b = first + r * segments + (s + 1) % segments;
                uint32_t c = a + segments, d = b + segments;
                float y = (profile[r][1] + profile[r + 1][1]) / 2;
                Vec3 axis = Vec3TransformCoord(Vec3(0, y, 0), place) + centre;
                Tri(a, b, c, axis);
                Tri(b, d, c, axis);
            }
    }
};

}  // namespace

void CMesh::SetGenerated(float r, float g, float b, float a) {
    // m_vertices already hold positions (format XYZ); normals follow from the faces.
    m_name.clear();
    m_faceSubsets.assign(m_indices.size() / 3, 0);
    GfxMaterial m;
    m.ambient = Color4(r, g, b, a);
    m.diffuse = m.ambient;
    m_materials.assign(1, m);
    m_textures.assign(1, nullptr);
    m_textureNames.assign(1, std::string());
    ComputeNormals();
    // Generated shapes carry position and normal only.
    Layout l = LayoutOf(m_fvf);
    std::vector<unsigned char> out(static_cast<size_t>(m_vertexCount) * 24);
    for (int i = 0; i < m_vertexCount; ++i) {
        std::memcpy(&out[i * 24], &m_vertices[static_cast<size_t>(i) * m_stride], 12);
        std::memcpy(&out[i * 24 + 12], &m_vertices[static_cast<size_t>(i) * m_stride + l.normal], 12);
    }
    m_vertices.swap(out);
    m_fvf = kFvfXyz | kFvfNormal;
    m_stride = 24;
    ReleaseDrawBuffers();
    ComputeBounds();
}

static void TakeShape(const ShapeBuilder& s, std::vector<unsigned char>* vertices, int* count,
                      std::vector<uint32_t>* indices) {
    *count = static_cast<int>(s.pos.size());
    vertices->resize(s.pos.size() * 12);
    if (!s.pos.empty()) std::memcpy(vertices->data(), s.pos.data(), s.pos.size() * 12);
    *indices = s.idx;
}

int CMesh::CreateSphere(float radius, int slices, int stacks, float r, float g, float b, float a) {
    Release();
    if (slices < 2 || stacks < 2 || slices > 1024 || stacks > 1024 || !(radius > 0)) {
        LogPrintf("D3DXCreateSphere\n");
        return 0;
    }
    ShapeBuilder s;
    uint32_t top = s.Add(Vec3(0, radius, 0));
    for (int i = 1; i < stacks; ++i) {
        float phi = kPi * i / stacks;
        for (int j = 0; j < slices; ++j) {
            float th = 2.0f * kPi * j / slices;
            s.Add(Vec3(radius * SinF(phi) * CosF(th), radius * CosF(phi), radius * SinF(phi) * SinF(th)));
        }
    }
    uint32_t bottom = s.Add(Vec3(0, -radius, 0));
    auto ring = [&](int i, int j) { return 1 + static_cast<uint32_t>((i - 1) * slices + (j % slices)); };
    for (int j = 0; j < slices; ++j) {
        s.Tri(top, ring(1, j), ring(1, j + 1), Vec3());
        s.Tri(bottom, ring(stacks - 1, j + 1), ring(stacks - 1, j), Vec3());
        for (int i = 1; i + 1 < stacks; ++i) {
            s.Tri(ring(i, j), ring(i + 1, j), ring(i, j + 1), Vec3());
            s.Tri(ring(i, j + 1), ring(i + 1, j), ring(i + 1, j + 1), Vec3());
        }
    }
    TakeShape(s, &m_vertices, &m_vertexCount, &m_indices);
    m_fvf = kFvfXyz;
    m_stride = 12;
    SetGenerated(r, g, b, a);
    return 1;
}

int CMesh::CreateBox(float width, float height, float depth, float r, float g, float b, float a) {
    Release();
    if (!(width >= 0 && height >= 0 && depth >= 0)) {
        LogPrintf("D3DXCreateBox\n");
        return 0;
    }
    ShapeBuilder s;
    float hx = width / 2, hy = height / 2, hz = depth / 2;
    // Four corners per side so that each side keeps its own flat normal.
    static const int kSides[6][4][3] = {
        {{1, -1, -1}, {1, 1, -1}, {1, 1, 1}, {1, -1, 1}},       {{-1, -1, 1}, {-1, 1, 1}, {-1, 1, -1}, {-1, -1, -1}},
        {{-1, 1, -1}, {-1, 1, 1}, {1, 1, 1}, {1, 1, -1}},       {{-1, -1, 1}, {-1, -1, -1}, {1, -1, -1}, {1, -1, 1}},
        {{-1, -1, 1}, {1, -1, 1}, {1, 1, 1}, {-1, 1, 1}},       {{1, -1, -1}, {-1, -1, -1}, {-1, 1, -1}, {1, 1, -1}},
    };
    for (const auto& side : kSides) {
        uint32_t v[4];
        for (int k = 0; k < 4; ++k) v[k] = s.Add(Vec3(side[k][0] * hx, side[k][1] * hy, side[k][2] * hz));
        s.Tri(v[0], v[1], v[2], Vec3());
        s.Tri(v[0], v[2], v[3], Vec3());
    }
    TakeShape(s, &m_vertices, &m_vertexCount, &m_indices);
    m_fvf = kFvfXyz;
    m_stride = 12;
    SetGenerated(r, g, b, a);
    return 1;
}

int CMesh::CreateTeapot(float r, float g, float b, float a) {
    Release();
    ShapeBuilder s;
    // Body and lid as one profile from the base to the knob, radius then height.
    static const float kBody[][2] = {{0.0f, 0.0f},   {0.9f, 0.0f},  {1.3f, 0.25f}, {1.5f, 0.7f},  {1.4f, 1.1f},
                                     {1.1f, 1.35f},  {0.9f, 1.45f}, {0.5f, 1.55f}, {0.15f, 1.65f}, {0.25f, 1.8f},
                                     {0.0f, 1.85f}};
    s.Lathe(kBody, 11, 24, Vec3(0, -0.9f, 0), Mat4::Identity());
    // Spout: a tapering tube leaning out of the +X side.
    static const float kSpout[][2] = {{0.3f, 0.0f}, {0.22f, 0.5f}, {0.15f, 1.0f}, {0.17f, 1.1f}};
    s.Lathe(kSpout, 4, 12, Vec3(1.2f, -0.6f, 0), MatrixRotationZ(-0.8f));
    // Handle: a ring standing on the -X side.
    static const float kHandle[][2] = {{0.55f, -0.12f}, {0.67f, 0.0f}, {0.55f, 0.12f}, {0.43f, 0.0f}, {0.55f, -0.12f}};
    s.Lathe(kHandle, 5, 16, Vec3(-1.45f, -0.1f, 0), MatrixRotationX(kHalfPi));
    TakeShape(s, &m_vertices, &m_vertexCount, &m_indices);
    m_fvf = kFvfXyz;
    m_stride = 12;
    SetGenerated(r, g, b, a);
    return 1;
}
