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
    // One box per face (low x, y, z, high x, y, z), its corners' box widened far past the
    // rounding of a point the triangle test puts on the face; in face order, empty when out of
    // date. A pick accepts a face's hit only inside this box and only where its ray meets it.
    const double* GetFaceBoxes() const { return m_faceBoxes.data(); }
    int GetFaceBoxCount() const { return static_cast<int>(m_faceBoxes.size() / 6); }
    // A hierarchy of boxes over the faces' boxes, so a pick tests only faces whose boxes its ray
    // meets. Node 0 is the root; a node holding faces lists them in GetFaceTreeOrder from
    // `first`, `count` of them (at most kLeafFaces), otherwise its two children are nodes
    // `first` and `first` + 1. Built from the faces' positions alone, with no address or
    // container order deciding anything, so every machine builds the same tree; never deeper
    // than kMaxFaceTreeDepth. Empty when out of date.
    static constexpr int kLeafFaces = 2;
    static constexpr int kMaxFaceTreeDepth = 60;
    struct FaceNode {
        double box[6] = {};  // every face box below it
        int first = 0, count = 0;
    };
    // The two boxes just below a node side by side, so a pick tests both at once: coordinate
    // k of the first in box[k][0], of the second in box[k][1]. They are its children's boxes,
    // or its faces' boxes (a leaf of one face has it twice).
    struct BoxPair {
        alignas(16) double box[6][2] = {};
    };
    const std::vector<FaceNode>& GetFaceTree() const { return m_faceTree; }
    const std::vector<BoxPair>& GetFaceTreePairs() const { return m_faceTreePairs; }  // one per node
    const std::vector<int>& GetFaceTreeOrder() const { return m_faceTreeOrder; }
    // A grid of kFaceCells cells a side over the root's box, so that a short pick need not
    // descend from the root: a ray segment lying within a cell (widened by `margin`) meets only
    // face boxes below the cell's start nodes, nodes[start[c]] to nodes[start[c + 1]] (those
    // whose boxes reach into the widened cell without holding it whole; the root when there
    // would be more than kMaxStartNodes). Built only by BuildFaceCells, for a mesh that many
    // short picks search (the battle's ground); empty until then and when out of date.
    static constexpr int kFaceCells = 32;
    static constexpr int kMaxStartNodes = 8;
    struct FaceCells {
        double lo[3] = {}, size[3] = {}, margin = 0;
        std::vector<int> start, nodes;  // start has kFaceCells^3 + 1 entries, cell x + n (y + n z), n cells a side
    };
    const FaceCells& GetFaceCells() const { return m_faceCells; }
    void BuildFaceCells();
    // The most faces whose boxes meet one face's box (its own included), counted up to `cap`:
    // how many faces a single pick through the most crowded place of the mesh may have to test.
    int CountCrowdedFaces(int cap) const;

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
    // TakeData in two steps, so that a loader can log its verdict between them: the shape
    // (0 when the data is damaged), then the materials.
    int TakeGeometry(const XMeshData& data);
    void TakeMaterials(const XMeshData& data, uint32_t colorKey, int mipLevels, int fromResource);
    void SetGenerated(float r, float g, float b, float a);
    void ClearData();  // everything but the name
    void BeginDraw(const Mat4& world);
    void DrawSubset(int subset, const GfxMaterial& material, GfxTexture* texture);
    void BuildSubsetRanges();
    void ReleaseDrawBuffers();  // after any change to vertices or faces
    void SortFacesBySubset();
    void BuildFaceBoxes();
    void BuildFaceTree();

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
    std::vector<double> m_faceBoxes;  // six per face, see GetFaceBoxes
    std::vector<FaceNode> m_faceTree;  // see GetFaceTree
    std::vector<BoxPair> m_faceTreePairs;
    std::vector<int> m_faceTreeOrder;
    FaceCells m_faceCells;
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
