// A mesh file as a player or modder may replace it, built into the mesh that ground picks search
// (face grid, runs and group spheres): the build stays within its budget and holds every face
// once, and picks from points on and about the mesh answer as the loop over every face.
#include "fuzz_support.h"

#include "mesh.h"
#include "node.h"
#include "xfile_reader.h"

#include <cfloat>
#include <string>
#include <vector>

namespace {

// The plain pick, in the mesh's own space: every face in turn, the nearest hit in front of the
// origin, of equally near ones the first.
int LoopPick(const CMesh& mesh, const Vec3& o, const Vec3& d, Vec3* hit) {
    float best = FLT_MAX;
    int found = 0;
    for (int f = 0; f < mesh.GetFaceCount(); ++f) {
        const uint32_t* idx = mesh.GetIndices() + f * 3;
        const Vec3 a = mesh.GetVertexPosition(idx[0]), b = mesh.GetVertexPosition(idx[1]);
        const Vec3 c = mesh.GetVertexPosition(idx[2]);
        float t, u, v;
        if (!IntersectTriangle(o, d, a, b, c, &t, &u, &v)) continue;
        const Vec3 p = a + (b - a) * u + (c - a) * v;
        const float dist = Vec3LengthSq(p - o);
        if (Vec3Dot(d, p - o) < 0 || !(dist < best)) continue;
        best = dist;
        *hit = p;
        found = 1;
    }
    return found;
}

std::string Where(const Vec3& o, const Vec3& d, float reach) {
    char text[200];
    snprintf(text, sizeof text, "origin (%.9g, %.9g, %.9g) direction (%g, %g, %g) reach %g", o.x, o.y, o.z, d.x, d.y,
             d.z, reach);
    return text;
}

void CheckStructure(const CMesh& mesh) {
    const int faces = mesh.GetFaceCount();
    std::vector<int> seen(faces, 0);
    for (int f : mesh.GetSliverFaces()) {
        FUZZ_CHECK(f >= 0 && f < faces, std::to_string(f));
        ++seen[f];
    }
    const int slivers = static_cast<int>(mesh.GetSliverFaces().size());
    for (int k = 0; k < mesh.GetFaceRunCount() * CMesh::kFaceRun; ++k) {
        const int f = mesh.GetFaceRunOrder()[k];
        FUZZ_CHECK(f >= -1 && f < faces, std::to_string(f));
        if (f >= 0) ++seen[f];
    }
    for (int f = 0; f < faces; ++f) FUZZ_CHECK(seen[f] == 1, "face " + std::to_string(f));
    const CMesh::FaceGrid& grid = mesh.GetFaceGrid();
    if (grid.start.empty()) return;
    const size_t cells = size_t(grid.n[0]) * grid.n[1] * grid.n[2];
    FUZZ_CHECK(grid.start.size() == cells + 1 && grid.start.back() == grid.faces.size(), "");
    FUZZ_CHECK(grid.faces.size() <= 16 * size_t(faces - slivers) + 32768, std::to_string(grid.faces.size()));
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    QuietGameLog();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    XMeshData parsed;
    std::string error;
    if (!ParseXFile(reinterpret_cast<const char*>(data), size, &parsed, &error)) return 0;
    for (XMaterial& m : parsed.materials) m.textureFile.clear();  // the shape alone
    CMesh mesh;
    if (!mesh.TakeData(parsed, 0, 1)) {
        // Only a mesh with more faces than every pick may test is refused.
        FUZZ_CHECK(parsed.faceMaterials.size() > size_t(CMesh::kMaxEveryPickFaces), "parsed data refused");
        return 0;
    }
    CheckStructure(mesh);

    // Rays along the axes, as the game's ground, wall and ceiling picks go, and two others,
    // toward points near corners of the mesh chosen by the input.
    const Vec3 axes[] = {Vec3(0, -1, 0), Vec3(1, 0, 0), Vec3(0, 0, -1), Vec3(0, 1, 0), Vec3(-1, 0, 0),
                         Vec3(0, 0, 1),  Vec3(0.6f, -0.8f, 0), Vec3(-0.36f, 0.48f, 0.8f)};
    uint32_t pick = 2166136261u;
    for (size_t i = 0; i < size; ++i) pick = (pick ^ data[i]) * 16777619u;
    C3DObject node;
    node.Create(&mesh, 0, 0, 0, 1);
    for (int k = 0; k < 16; ++k) {
        pick = pick * 1664525u + 1013904223u;
        const Vec3 corner = mesh.GetVertexPosition(int((pick >> 8) % uint32_t(mesh.GetVertexCount())));
        const Vec3 d = axes[k % 8];
        const float offset = float(int(pick & 0xFF) - 128) / 64.0f;
        const Vec3 o = corner - d * (k < 8 ? 0.5f : 3.0f) + Vec3(offset, offset * 0.5f, -offset) * 0.1f;
        Vec3 loop, hit;
        const int found = LoopPick(mesh, o, d, &loop);
        FUZZ_CHECK(node.PickMesh(o, d, &hit) == found && (!found || hit == loop), Where(o, d, -1));
        // Bounded: the same answer whenever the loop's hit lies within the reach along the ray.
        for (float reach : {0.5f, 4.0f}) {
            const float along = Vec3Dot(loop - o, d);
            if (!found || !(along < reach)) continue;
            FUZZ_CHECK(node.PickMesh(o, d, &hit, nullptr, reach) == 1 && hit == loop, Where(o, d, reach));
        }
    }
    return 0;
}
