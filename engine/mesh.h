// CMesh: one mesh read from a .x file or generated, with one material and one texture per
// subset. Vertices and indices stay in memory in the file's order (robots take mount points
// from fixed vertex indices, picking walks the triangles, and meshes load without a GL
// context); the first draw hands them to the device once, and draws use the device's copy.
#pragma once

#include "math_ops.h"
#include "sys_graphics.h"

#include <cstdint>
#include <string>
#include <vector>

struct XMeshData;

class CMesh {
public:
    CMesh() = default;
    ~CMesh();
    CMesh(const CMesh&) = delete;
    CMesh& operator=(const CMesh&) = delete;

    // ---- Loading and generating (1 on success, 0 on failure with the mesh left empty) ----
    int Load(const char* name, uint32_t colorKey = 0, int mipLevels = 1);
    int LoadOptimized(const char* name, uint32_t colorKey = 0, int mipLevels = 1);  // + faces sorted by subset
    // The first top-level mesh of a file shipped in "res" beside the program (its textures from
    // there too), optimised; meshes inside frames are not looked at.
    int LoadFromResource(const char* name, uint32_t colorKey = 0, int mipLevels = 1);
    int CreateSphere(float radius, int slices, int stacks, float r, float g, float b, float a);
    int CreateBox(float width, float height, float depth, float r, float g, float b, float a);
    int CreateTeapot(float r, float g, float b, float a);
    void Release();  // safe on an empty mesh
    // Takes parsed .x data as the mesh (materials with ambient := diffuse, textures through the
    // cache). The loaders use it; tests can feed data without a file.
    int TakeData(const XMeshData& data, uint32_t colorKey, int mipLevels, int fromResource = 0);

    // ---- Shape ----
    void ComputeBounds();
    void ComputeNormals();  // format becomes position, normal, one texture set; vertex order kept
    int HasMesh() const { return m_vertexCount > 0 || !m_indices.empty(); }
    int GetVertexCount() const { return m_vertexCount; }
    int GetFaceCount() const { return static_cast<int>(m_indices.size() / 3); }
    uint32_t GetFvf() const { return m_fvf; }
    int GetVertexStride() const { return m_stride; }
    const unsigned char* GetVertexData() const { return m_vertices.data(); }
    Vec3 GetVertexPosition(int index) const;      // (0, 0, 0) outside the vertex range
    Vec3 GetVertexNormal(int index) const;        // (0, 0, 0) without normals
    const uint32_t* GetIndices() const { return m_indices.data(); }  // three per face
    const uint32_t* GetFaceSubsets() const { return m_faceSubsets.data(); }
    const Vec3& GetBoxMin() const { return m_boxMin; }
    const Vec3& GetBoxMax() const { return m_boxMax; }
    const Vec3& GetSphereCenter() const { return m_sphereCenter; }
    float GetSphereRadius() const { return m_sphereRadius; }
    // One bounding sphere per face (x, y, z, radius squared with a safety margin), in face
    // order, so ray picks can skip faces a ray passes far from; empty when out of date.
    const double* GetFaceSpheres() const { return m_faceSpheres.data(); }
    int GetFaceSphereCount() const { return static_cast<int>(m_faceSpheres.size() / 4); }
    // One box per face (low x, y, z, high x, y, z), widened far past rounding, so a pick of
    // bounded reach can skip faces wholly out of it; empty when out of date.
    const double* GetFaceBoxes() const { return m_faceBoxes.data(); }
    int GetFaceBoxCount() const { return static_cast<int>(m_faceBoxes.size() / 6); }
    // One vector per face: its normal e1 x e2 over |e1| |e2| (e1, e2 the edges from its first
    // corner), so of length the sine of the angle there, in face order; empty when out of date.
    // A ray along d grazes the face when |d . n| is small beside |d|: the triangle test's
    // rounding then grows past any margin, and no sphere may rule the face out.
    const double* GetFaceNormals() const { return m_faceNormals.data(); }
    int GetFaceNormalCount() const { return static_cast<int>(m_faceNormals.size() / 3); }
    // Faces so thin at their first corner that the triangle test's rounding can accept a ray
    // passing units off them: no sphere, box or cell can rule them out, so every pick tests
    // them. They are in no run and no grid cell. In face order.
    const std::vector<int>& GetSliverFaces() const { return m_sliverFaces; }
    // The faces every pick tests, whatever its ray: the slivers and the grid's wide list. A mesh
    // with more than kMaxEveryPickFaces of them is refused by the loaders: each of them costs
    // every pick of every battle step a triangle test. At this many a six-robot battle step
    // took 7 to 15 ms on a loaded machine, where a million such faces took 2.8 s; the shipped
    // meshes have at most a few dozen.
    static constexpr int kMaxEveryPickFaces = 4096;
    int GetEveryPickFaceCount() const { return static_cast<int>(m_sliverFaces.size() + m_grid.wide.size()); }
    // The other faces in runs of kFaceRun neighbours (face indices, the last run padded with
    // -1), each run in one sphere (x, y, z, radius) holding all its face spheres: a pick passes
    // over a whole run its ray misses. Empty when out of date.
    static constexpr int kFaceRun = 16;
    const int* GetFaceRunOrder() const { return m_runOrder.data(); }
    const double* GetFaceRunSpheres() const { return m_runSpheres.data(); }
    int GetFaceRunCount() const { return static_cast<int>(m_runSpheres.size() / 4); }
    const double* GetFaceRunBoxes() const { return m_runBoxes.data(); }  // six per run: its faces' boxes
    const double* GetFaceRunNormalBoxes() const { return m_runNormalBoxes.data(); }  // six per run: its normals' box
    // The runs in groups of kFaceRun (kFaceRun * kFaceRun faces), each group in one sphere
    // (x, y, z, radius) holding all its run spheres. Empty when out of date.
    const double* GetFaceGroupSpheres() const { return m_groupSpheres.data(); }
    int GetFaceGroupCount() const { return static_cast<int>(m_groupSpheres.size() / 4); }
    const double* GetFaceGroupNormalBoxes() const { return m_groupNormalBoxes.data(); }  // six per group
    // The run faces by the cells of a grid over their boxes, for picks of bounded reach: each
    // cell lists, in face order, every face whose box meets it, except the faces that meet so
    // many cells that listing them would pass the grid's budget: those are in one list that
    // every search of the grid also tests. Empty (no cells) when out of date or for meshes too
    // small to need one.
    struct FaceGrid {
        double lo[3] = {}, hi[3] = {}, cell[3] = {};  // the faces' boxes' box, a cell's size
        int n[3] = {};                                // cells along each axis
        std::vector<size_t> start;                    // per cell where its faces begin, plus the end
        std::vector<int> faces;
        std::vector<int> wide;                        // faces in no cell, in face order
        int Cell(int x, int y, int z) const { return (x * n[1] + y) * n[2] + z; }
        int Index(double v, int axis) const;  // the cell along an axis, clamped to the grid
        // The cells a box of half-size r around (x, y, z) meets, when it meets the grid and
        // no more than maxCells of them.
        bool CellRange(double x, double y, double z, double r, int maxCells, int lo[3], int hi[3]) const;
        // Whether such a box lies wholly outside every face's box.
        bool OutOfReach(double x, double y, double z, double r) const;
    };
    const FaceGrid& GetFaceGrid() const { return m_grid; }

    // ---- Materials and textures ----
    int GetSubsetCount() const { return static_cast<int>(m_materials.size()); }
    const GfxMaterial& GetMaterial(int subset) const { return m_materials[subset]; }
    GfxTexture* GetTexture(int subset) const { return m_textures[subset]; }
    const std::string& GetTextureName(int subset) const { return m_textureNames[subset]; }
    void SetSubsetColor(int subset, float r, float g, float b, float a);  // bad index ignored
    const std::string& GetName() const { return m_name; }

    // ---- Drawing (nothing without a mesh; render states are left as they are) ----
    void Draw(const Mat4& world);
    void DrawWithTexture(const Mat4& world, GfxTexture* texture);
    void DrawWithAlpha(const Mat4& world, float alpha);
    void DrawAddAlpha(const Mat4& world, float delta);
    void DrawWithMaterial(const Mat4& world, const GfxMaterial* material);

private:
    // TakeData in two steps, so that a loader can log its verdict between them: the shape,
    // refused (0) when every pick would test too many of its faces, then the materials.
    int TakeGeometry(const XMeshData& data);
    void TakeMaterials(const XMeshData& data, uint32_t colorKey, int mipLevels, int fromResource);
    void SetGenerated(float r, float g, float b, float a);
    void ClearData();  // everything but the name
    void BeginDraw(const Mat4& world);
    void DrawSubset(int subset, const GfxMaterial& material, GfxTexture* texture);
    void BuildSubsetRanges();
    void ReleaseDrawBuffers();  // after any change to vertices or faces
    void SortFacesBySubset();
    void BuildFaceSpheres();
    void BuildFaceRuns(const std::vector<int>& members);  // members: the faces, slivers left out
    void BuildFaceGrid(const std::vector<int>& members);
    // Below this sine of the angle at a face's first corner, the face is a sliver.
    static constexpr double kMinCornerSine = 1e-2;
    // The face's normal as GetFaceNormals keeps it; true when the face is a sliver.
    static bool CornerNormal(const Vec3& a, const Vec3& b, const Vec3& c, double out[3]);

    std::vector<unsigned char> m_vertices;  // m_vertexCount vertices of m_stride bytes, format m_fvf
    int m_vertexCount = 0;
    uint32_t m_fvf = 0;
    int m_stride = 0;
    std::vector<uint32_t> m_indices;      // three per face
    std::vector<uint32_t> m_faceSubsets;  // subset (material) of each face
    std::vector<GfxMaterial> m_materials;
    std::vector<GfxTexture*> m_textures;  // one cache reference each, null when untextured
    std::vector<std::string> m_textureNames;
    std::string m_name;
    Vec3 m_boxMin, m_boxMax, m_sphereCenter;
    float m_sphereRadius = 0;
    std::vector<double> m_faceSpheres;  // four per face, see GetFaceSpheres
    std::vector<double> m_faceBoxes;    // six per face, see GetFaceBoxes
    std::vector<double> m_faceNormals;  // three per face, see GetFaceNormals
    std::vector<int> m_sliverFaces;      // see GetSliverFaces
    std::vector<int> m_runOrder;         // see GetFaceRunOrder
    std::vector<double> m_runSpheres;    // four per run of faces
    std::vector<double> m_runBoxes;      // six per run of faces
    std::vector<double> m_runNormalBoxes;    // six per run of faces
    std::vector<double> m_groupSpheres;      // four per group of runs
    std::vector<double> m_groupNormalBoxes;  // six per group of runs
    FaceGrid m_grid;
    // Built on the first draw and kept by the device: the vertices, and each subset's indices
    // gathered in face order one subset after another.
    struct SubsetRange {
        int start = 0, count = 0;            // indices
        uint32_t minIndex = 0, maxIndex = 0;  // the vertices they name
    };
    std::vector<SubsetRange> m_subsetRanges;
    GfxVertexBuffer* m_drawVertices = nullptr;
    GfxIndexBuffer* m_drawIndices = nullptr;
    int m_rangesBuilt = 0;
    int m_offScreen = 0;  // of the draw under way
};
