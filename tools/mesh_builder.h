// Builder of the stand-in meshes: boxes, tapered boxes, cylinders, balls and loose faces in
// several materials, written in the text .x form the engine reads. Hook points the game reads
// by vertex index (mount points, muzzles) are zero-area marker triangles placed first.
#pragma once

#include <string>
#include <vector>

struct V3 {
    float x = 0, y = 0, z = 0;
    V3() = default;
    V3(float x_, float y_, float z_) : x(x_), y(y_), z(z_) {}
};
inline V3 operator+(V3 a, V3 b) { return V3(a.x + b.x, a.y + b.y, a.z + b.z); }
inline V3 operator-(V3 a, V3 b) { return V3(a.x - b.x, a.y - b.y, a.z - b.z); }
inline V3 operator*(V3 a, float s) { return V3(a.x * s, a.y * s, a.z * s); }
V3 Cross(V3 a, V3 b);
float Dot(V3 a, V3 b);
V3 Unit(V3 a);  // (0, 0, 0) stays (0, 0, 0)

// Where the following shapes go: their local x, y, z axes and origin in mesh space.
struct Place {
    V3 ax{1, 0, 0}, ay{0, 1, 0}, az{0, 0, 1}, origin;
    V3 Point(V3 p) const { return origin + ax * p.x + ay * p.y + az * p.z; }
    V3 Dir(V3 d) const { return ax * d.x + ay * d.y + az * d.z; }
    Place Moved(V3 offset) const;     // origin moved along the place's own axes
    Place TurnedX(float angle) const; // turned about its own x axis (y towards z)
    Place TurnedY(float angle) const; // z towards x
    Place TurnedZ(float angle) const; // x towards y
    Place MirroredX() const;          // x negated (the builder keeps faces outward)
};

class CMeshBuilder {
public:
    // ---- Materials (indices in the order added) ----
    int AddMaterial(float r, float g, float b, float a = 1.0f);
    void SetGlow(int material, float r, float g, float b);  // emissive: lamps, eyes, skies
    // Textured material; coordinates are projected on the face's main plane, one repeat per
    // `tile` mesh units, unless the face gives its own.
    void SetTexture(int material, const std::string& file, float tile);
    void Use(int material);  // material of the faces that follow
    int MaterialCount() const { return static_cast<int>(m_materials.size()); }

    // ---- Placement of the following shapes ----
    void SetPlace(const Place& place) { m_place = place; }
    const Place& GetPlace() const { return m_place; }

    // ---- Hooks: three vertices at one point; returns the first index. Only before any face,
    // so that hook indices never move (a late hook returns -1 and writes nothing). ----
    int Marker(V3 p);

    // ---- Faces; their front faces away from `inside` (a point, in local coordinates) ----
    void Triangle(V3 a, V3 b, V3 c, V3 inside);
    void Quad(V3 a, V3 b, V3 c, V3 d, V3 inside);  // corners in order around the quad
    void QuadUv(V3 a, V3 b, V3 c, V3 d, V3 inside, const float uv[8]);

    // ---- Solids, faces outward (inward ones face their inside, for skies and rooms) ----
    void Box(V3 centre, V3 size, int withBottom = 1);  // grounds leave the unseen foot out
    void InwardBox(V3 centre, V3 size, int withFloor = 1, int withTop = 1);
    // Along +y from `base`: the bottom w x d, the top tw x td shifted by (sx, sz). A box whose
    // top another face covers leaves its top out: two faces in one plane flicker in the depth test.
    void TaperedBox(V3 base, float height, float w, float d, float tw, float td, float sx = 0, float sz = 0,
                    int withBottom = 1, int withTop = 1);
    // Frustum from a (radius ra) to b (radius rb); capped ends.
    void Cylinder(V3 a, V3 b, float ra, float rb, int sides);
    void Ball(V3 centre, V3 radii, int slices, int stacks);
    // Triangular prism along x: cross-section (y, z) corners p0, p1, p2, from x0 to x1.
    void Prism(float x0, float x1, float y0, float z0, float y1, float z1, float y2, float z2);

    // ---- Output ----
    int VertexCount() const { return static_cast<int>(m_vertices.size()); }
    int FaceCount() const { return static_cast<int>(m_faces.size()); }
    V3 VertexAt(int index) const { return m_vertices[index].p; }
    std::string Text() const;
    int Write(const std::string& path) const;  // 1 on success

private:
    struct Vertex {
        V3 p, n;
        float u = 0, v = 0;
    };
    struct Face {
        int a, b, c, material;
    };
    struct Material {
        float r = 0, g = 0, b = 0, a = 1;
        float er = 0, eg = 0, eb = 0;
        std::string texture;
        float tile = 1;
    };
    void Face3(V3 a, V3 b, V3 c, V3 inside, const float* uv);
    int m_current = 0;
    size_t m_markerFaces = 0;
    Place m_place;
    std::vector<Vertex> m_vertices;
    std::vector<Face> m_faces;
    std::vector<Material> m_materials;
};
