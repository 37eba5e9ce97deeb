// Our reader of DirectX .x mesh files (text format "xof 0302txt"/"0303txt", 32- or 64-bit
// floats). Every mesh of the file, in any frame, merges into one: frame transforms apply to the
// meshes inside, faces of more than three corners fan into triangles, and vertex order is kept
// (a vertex that needs a second normal is appended after its own mesh's vertices).
// Every count and index is checked before use: a bad file fails, it never reads past its data.
#pragma once

#include "math_ops.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// A file larger than this is not a mesh of ours.
constexpr size_t kMaxXFileBytes = 64u << 20;
// Meshes of the game stay far below these; a file that claims more is refused.
constexpr uint32_t kMaxXVertices = 1u << 20;
constexpr uint32_t kMaxXFaces = 1u << 20;

struct XMaterial {
    Color4 faceColor;  // diffuse, with alpha
    float power = 0;
    Color4 specular, emissive;  // the file gives r, g, b; alpha 1
    std::string textureFile;    // "" without a TextureFilename
};

struct XMeshData {
    std::vector<Vec3> positions;
    std::vector<Vec3> normals;       // one per vertex, or empty when no mesh had normals
    std::vector<Vec2> texCoords;     // one per vertex, or empty
    std::vector<uint32_t> colors;    // ARGB, one per vertex, or empty
    std::vector<uint32_t> indices;   // three per triangle
    std::vector<uint32_t> faceMaterials;  // one per triangle, into materials
    std::vector<XMaterial> materials;
};

// 1 on success; on failure 0 with *error telling why (for tests; the loader logs "failed.").
int ParseXFile(const char* data, size_t size, XMeshData* out, std::string* error);
int ReadXFile(const char* gamePath, XMeshData* out, std::string* error);

// ---- Top-level data objects of one file, for the loader of meshes from program resources ----
struct XFileContents;

struct XDataObject {
    std::string type;  // "Mesh", "Frame", "Material", "Header" ...
    std::string name;  // "" when the object has none
    size_t body = 0, end = 0;  // where it lies in its reader's file
};

class CXFileReader {
public:
    CXFileReader();
    ~CXFileReader();
    CXFileReader(const CXFileReader&) = delete;
    CXFileReader& operator=(const CXFileReader&) = delete;

    // 1 when the file (from "res\" beside the program with the flag) is a readable text .x file.
    int Open(const char* name, int fromResource);
    int GetNextDataObject(XDataObject* object);  // 1 while there is a next one (templates skipped)
    int FindMesh(XDataObject* object);           // the next top-level Mesh; 0 when none is left
    // That Mesh object alone as mesh data (no frame applies); 1 on success.
    int LoadMesh(const XDataObject& object, XMeshData* out, std::string* error);
    void Close();

private:
    std::unique_ptr<XFileContents> m_file;  // null when closed
    size_t m_next = 0;                      // where the next top-level object starts
};
