// The stand-in mesh builder: shapes become flat-shaded triangles (each face its own corners, so
// each keeps its own normal), written as one text .x Mesh with normals, materials and, when a
// material is textured, texture coordinates.
#include "mesh_builder.h"

#include "generator.h"

#include <cmath>
#include <cstdio>

V3 Cross(V3 a, V3 b) { return V3(a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x); }
float Dot(V3 a, V3 b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
V3 Unit(V3 a) {
    float len = std::sqrt(Dot(a, a));
    return len > 0 ? a * (1.0f / len) : V3();
}

// ---- Place ----

Place Place::Moved(V3 offset) const {
    Place p = *this;
    p.origin = Point(offset);
    return p;
}

Place Place::TurnedX(float angle) const {
    Place p = *this;
    float c = std::cos(angle), s = std::sin(angle);
    p.ay = ay * c + az * s;
    p.az = az * c - ay * s;
    return p;
}

Place Place::TurnedY(float angle) const {
    Place p = *this;
    float c = std::cos(angle), s = std::sin(angle);
    p.az = az * c + ax * s;
    p.ax = ax * c - az * s;
    return p;
}

Place Place::TurnedZ(float angle) const {
    Place p = *this;
    float c = std::cos(angle), s = std::sin(angle);
    p.ax = ax * c + ay * s;
    p.ay = ay * c - ax * s;
    return p;
}

Place Place::MirroredX() const {
    Place p = *this;
    p.ax = ax * -1.0f;
    return p;
}

// ---- Materials ----

int CMeshBuilder::AddMaterial(float r, float g, float b, float a) {
    Material m;
    m.r = r, m.g = g, m.b = b, m.a = a;
    m_materials.push_back(m);
    return static_cast<int>(m_materials.size()) - 1;
}

void CMeshBuilder::SetGlow(int material, float r, float g, float b) {
    if (material < 0 || material >= MaterialCount()) return;
    m_materials[material].er = r;
    m_materials[material].eg = g;
    m_materials[material].eb = b;
}

void CMeshBuilder::SetTexture(int material, const std::string& file, float tile) {
    if (material < 0 || material >= MaterialCount()) return;
    m_materials[material].texture = file;
    m_materials[material].tile = tile > 0 ? tile : 1.0f;
}

void CMeshBuilder::Use(int material) { m_current = material; }

// ---- Hooks and faces ----

int CMeshBuilder::Marker(V3 p) {
    if (m_faces.size() != m_markerFaces) return -1;
    int first = VertexCount();
    V3 at = m_place.Point(p);
    for (int k = 0; k < 3; ++k) m_vertices.push_back({at, V3(0, 1, 0)});
    m_faces.push_back({first, first + 1, first + 2, m_current});
    ++m_markerFaces;
    return first;
}

void CMeshBuilder::Face3(V3 a, V3 b, V3 c, V3 inside, const float* uv) {
    V3 pa = m_place.Point(a), pb = m_place.Point(b), pc = m_place.Point(c), in = m_place.Point(inside);
    V3 n = Cross(pb - pa, pc - pa);
    if (Dot(n, n) <= 0) return;  // a sliver draws nothing and only confuses normals
    float ua[3] = {0, 0, 0}, va[3] = {0, 0, 0};
    if (uv) {
        for (int k = 0; k < 3; ++k) ua[k] = uv[2 * k], va[k] = uv[2 * k + 1];
    }
    V3 mid = (pa + pb + pc) * (1.0f / 3);
    if (Dot(n, mid - in) < 0) {
        std::swap(pb, pc);
        std::swap(ua[1], ua[2]);
        std::swap(va[1], va[2]);
        n = n * -1.0f;
    }
    n = Unit(n);
    const Material* m = m_current >= 0 && m_current < MaterialCount() ? &m_materials[m_current] : nullptr;
    int first = VertexCount();
    V3 corners[3] = {pa, pb, pc};
    for (int k = 0; k < 3; ++k) {
        Vertex v{corners[k], n};
        if (uv) {
            v.u = ua[k], v.v = va[k];
        } else if (m && !m->texture.empty()) {
            // Projected on the plane the face lies most nearly in.
            float ax = std::fabs(n.x), ay = std::fabs(n.y), az = std::fabs(n.z);
            V3 p = corners[k] * (1.0f / m->tile);
            if (ay >= ax && ay >= az) v.u = p.x, v.v = p.z;
            else if (ax >= az) v.u = p.z, v.v = -p.y;
            else v.u = p.x, v.v = -p.y;
        }
        m_vertices.push_back(v);
    }
    m_faces.push_back({first, first + 1, first + 2, m_current});
}

void CMeshBuilder::Triangle(V3 a, V3 b, V3 c, V3 inside) { Face3(a, b, c, inside, nullptr); }

void CMeshBuilder::Quad(V3 a, V3 b, V3 c, V3 d, V3 inside) {
    Face3(a, b, c, inside, nullptr);
    Face3(a, c, d, inside, nullptr);
}

void CMeshBuilder::QuadUv(V3 a, V3 b, V3 c, V3 d, V3 inside, const float uv[8]) {
    const float first[6] = {uv[0], uv[1], uv[2], uv[3], uv[4], uv[5]};
    const float second[6] = {uv[0], uv[1], uv[4], uv[5], uv[6], uv[7]};
    Face3(a, b, c, inside, first);
    Face3(a, c, d, inside, second);
}

// ---- Solids ----

namespace {
// Box corner k: bit 0 x, bit 1 y, bit 2 z (set = the + side).
V3 Corner(V3 c, V3 h, int k) {
    return V3(c.x + (k & 1 ? h.x : -h.x), c.y + (k & 2 ? h.y : -h.y), c.z + (k & 4 ? h.z : -h.z));
}
// The six sides as corner numbers around each side.
const int kSides[6][4] = {{1, 3, 7, 5}, {0, 4, 6, 2}, {2, 6, 7, 3}, {0, 1, 5, 4}, {4, 5, 7, 6}, {0, 2, 3, 1}};
const V3 kSideNormals[6] = {V3(1, 0, 0), V3(-1, 0, 0), V3(0, 1, 0), V3(0, -1, 0), V3(0, 0, 1), V3(0, 0, -1)};
}  // namespace

void CMeshBuilder::Box(V3 c, V3 size, int withBottom) {
    V3 h = size * 0.5f;
    for (int i = 0; i < 6; ++i) {
        if (i == 3 && !withBottom) continue;
        const int* s = kSides[i];
        Quad(Corner(c, h, s[0]), Corner(c, h, s[1]), Corner(c, h, s[2]), Corner(c, h, s[3]), c);
    }
}

void CMeshBuilder::InwardBox(V3 c, V3 size, int withFloor, int withTop) {
    V3 h = size * 0.5f;
    for (int i = 0; i < 6; ++i) {
        if ((i == 3 && !withFloor) || (i == 2 && !withTop)) continue;
        const int* s = kSides[i];
        V3 outside = c + V3(kSideNormals[i].x * size.x, kSideNormals[i].y * size.y, kSideNormals[i].z * size.z);
        Quad(Corner(c, h, s[0]), Corner(c, h, s[1]), Corner(c, h, s[2]), Corner(c, h, s[3]), outside);
    }
}

void CMeshBuilder::TaperedBox(V3 base, float height, float w, float d, float tw, float td, float sx, float sz,
                              int withBottom, int withTop) {
    V3 lo[4], hi[4];
    const float sgn[4][2] = {{-1, -1}, {1, -1}, {1, 1}, {-1, 1}};
    for (int k = 0; k < 4; ++k) {
        lo[k] = base + V3(sgn[k][0] * w / 2, 0, sgn[k][1] * d / 2);
        hi[k] = base + V3(sx + sgn[k][0] * tw / 2, height, sz + sgn[k][1] * td / 2);
    }
    V3 inside = base + V3(sx / 2, height / 2, sz / 2);
    for (int k = 0; k < 4; ++k) Quad(lo[k], lo[(k + 1) % 4], hi[(k + 1) % 4], hi[k], inside);
    if (withBottom) Quad(lo[0], lo[1], lo[2], lo[3], inside);
    if (withTop) Quad(hi[0], hi[1], hi[2], hi[3], inside);
}

void CMeshBuilder::Cylinder(V3 a, V3 b, float ra, float rb, int sides) {
    V3 axis = Unit(b - a);
    if (Dot(axis, axis) <= 0 || sides < 3) return;
    V3 helper = std::fabs(axis.y) < 0.9f ? V3(0, 1, 0) : V3(1, 0, 0);
    V3 u = Unit(Cross(helper, axis)), v = Cross(axis, u);
    V3 centre = (a + b) * 0.5f;
    const float kTwoPi = 6.2831853f;
    for (int i = 0; i < sides; ++i) {
        float t0 = kTwoPi * i / sides, t1 = kTwoPi * (i + 1) / sides;
        V3 d0 = u * std::cos(t0) + v * std::sin(t0), d1 = u * std::cos(t1) + v * std::sin(t1);
        V3 a0 = a + d0 * ra, a1 = a + d1 * ra, b0 = b + d0 * rb, b1 = b + d1 * rb;
        if (ra > 0 && rb > 0) Quad(a0, a1, b1, b0, centre);
        else if (ra > 0) Triangle(a0, a1, b, centre);
        else Triangle(a, b1, b0, centre);
        if (ra > 0) Triangle(a, a0, a1, centre);
        if (rb > 0) Triangle(b, b0, b1, centre);
    }
}

void CMeshBuilder::Ball(V3 c, V3 r, int slices, int stacks) {
    const float kPi = 3.14159265f;
    auto at = [&](int i, int j) {
        float phi = kPi * i / stacks, th = 2 * kPi * j / slices;
        return c + V3(r.x * std::sin(phi) * std::cos(th), r.y * std::cos(phi), r.z * std::sin(phi) * std::sin(th));
    };
    for (int i = 0; i < stacks; ++i)
        for (int j = 0; j < slices; ++j) {
            if (i == 0) Triangle(at(0, 0), at(1, j), at(1, j + 1), c);
            else if (i == stacks - 1) Triangle(at(i, j), at(i, j + 1), at(stacks, 0), c);
            else Quad(at(i, j), at(i, j + 1), at(i + 1, j + 1), at(i + 1, j), c);
        }
}

void CMeshBuilder::Prism(float x0, float x1, float y0, float z0, float y1, float z1, float y2, float z2) {
    V3 p[3] = {V3(0, y0, z0), V3(0, y1, z1), V3(0, y2, z2)};
    V3 inside = V3((x0 + x1) / 2, (y0 + y1 + y2) / 3, (z0 + z1 + z2) / 3);
    auto at = [&](int k, float x) { return V3(x, p[k].y, p[k].z); };
    Triangle(at(0, x0), at(1, x0), at(2, x0), inside);
    Triangle(at(0, x1), at(1, x1), at(2, x1), inside);
    for (int k = 0; k < 3; ++k) Quad(at(k, x0), at((k + 1) % 3, x0), at((k + 1) % 3, x1), at(k, x1), inside);
}

// ---- Output ----

std::string CMeshBuilder::Text() const {
    std::string out = "xof 0302txt 0032\nMesh {\n";
    char line[256];
    int nv = VertexCount(), nf = FaceCount();
    auto list = [&](const char* what, int count, auto item) {
        snprintf(line, sizeof line, "%d;\n", count);
        out += line;
        for (int i = 0; i < count; ++i) {
            out += item(i);
            out += i + 1 < count ? ",\n" : ";\n";
        }
        (void)what;
    };
    auto vec = [&](V3 p) {
        snprintf(line, sizeof line, "%.5f;%.5f;%.5f;", p.x, p.y, p.z);
        return std::string(line);
    };
    auto face = [&](int i) {
        snprintf(line, sizeof line, "3;%d,%d,%d;", m_faces[i].a, m_faces[i].b, m_faces[i].c);
        return std::string(line);
    };
    list("vertices", nv, [&](int i) { return vec(m_vertices[i].p); });
    list("faces", nf, face);
    out += " MeshNormals {\n";
    list("normals", nv, [&](int i) { return vec(m_vertices[i].n); });
    list("faces", nf, face);
    out += " }\n";
    bool textured = false;
    for (const Material& m : m_materials) textured = textured || !m.texture.empty();
    if (textured) {
        out += " MeshTextureCoords {\n";
        list("coordinates", nv, [&](int i) {
            snprintf(line, sizeof line, "%.5f;%.5f;", m_vertices[i].u, m_vertices[i].v);
            return std::string(line);
        });
        out += " }\n";
    }
    // A mesh without materials still gets one, so every face has a colour.
    std::vector<Material> materials = m_materials;
    if (materials.empty()) {
        Material grey;
        grey.r = grey.g = grey.b = 0.7f, grey.a = 1.0f;
        materials.push_back(grey);
    }
    int count = static_cast<int>(materials.size());
    snprintf(line, sizeof line, " MeshMaterialList {\n  %d;\n  %d;\n", count, nf);
    out += line;
    for (int i = 0; i < nf; ++i) {
        int m = m_faces[i].material;
        out += std::to_string(m >= 0 && m < count ? m : 0) + (i + 1 < nf ? "," : ";;\n");
    }
    if (nf == 0) out += ";;\n";
    for (const Material& m : materials) {
        snprintf(line, sizeof line, "  Material { %.3f;%.3f;%.3f;%.3f;; 5.0; 0.2;0.2;0.2;; %.3f;%.3f;%.3f;;", m.r, m.g,
                 m.b, m.a, m.er, m.eg, m.eb);
        out += line;
        if (!m.texture.empty()) out += " TextureFilename { \"" + m.texture + "\"; }";
        out += " }\n";
    }
    out += " }\n}\n";
    return out;
}

int CMeshBuilder::Write(const std::string& path) const {
    std::string text = Text();
    return WriteFileBytes(path, text.data(), text.size());
}
