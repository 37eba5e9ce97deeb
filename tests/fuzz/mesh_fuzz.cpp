// A mesh file as a player or modder may replace it, built into the mesh that picks search: every
// parsed mesh is taken, its box tree holds every face once inside boxes that hold their faces'
// boxes, and picks from points on and about the mesh answer as the loop over every face.
#include "fuzz_support.h"

#include "mesh.h"
#include "node.h"
#include "xfile_reader.h"

#include <cfloat>
#include <string>
#include <vector>

namespace {

std::string Where(const Vec3& o, const Vec3& d, float reach) {
    char text[200];
    snprintf(text, sizeof text, "origin (%.9g, %.9g, %.9g) direction (%g, %g, %g) reach %g", o.x, o.y, o.z, d.x, d.y,
             d.z, reach);
    return text;
}

bool Holds(const double* outer, const double* inner) {
    for (int i = 0; i < 3; ++i)
        if (!(outer[i] <= inner[i] && inner[3 + i] <= outer[3 + i])) return false;
    return true;
}

void CheckStructure(const CMesh& mesh) {
    const int faces = mesh.GetFaceCount();
    const std::vector<CMesh::FaceNode>& tree = mesh.GetFaceTree();
    FUZZ_CHECK(mesh.GetFaceBoxCount() == faces && mesh.GetFaceTreeOrder().size() == size_t(faces), "sizes");
    FUZZ_CHECK(!tree.empty(), "no tree");
    std::vector<int> seen(faces, 0);
    // Every node reached once from the root, no deeper than the picks' search can follow.
    std::vector<std::pair<int, int>> todo{{0, 1}};
    size_t reached = 0;
    while (!todo.empty()) {
        const auto [at, depth] = todo.back();
        todo.pop_back();
        ++reached;
        FUZZ_CHECK(depth <= CMesh::kMaxFaceTreeDepth, "depth " + std::to_string(depth));
        const CMesh::FaceNode& n = tree[at];
        if (n.count > 0) {
            FUZZ_CHECK(n.count <= CMesh::kLeafFaces && n.first >= 0 && n.first + n.count <= faces, "leaf");
            for (int k = n.first; k < n.first + n.count; ++k) {
                const int f = mesh.GetFaceTreeOrder()[k];
                FUZZ_CHECK(f >= 0 && f < faces, std::to_string(f));
                FUZZ_CHECK(Holds(n.box, mesh.GetFaceBoxes() + size_t(f) * 6), "face box " + std::to_string(f));
                ++seen[f];
            }
            continue;
        }
        FUZZ_CHECK(n.first > at && size_t(n.first) + 1 < tree.size(), "children of " + std::to_string(at));
        for (int c : {n.first, n.first + 1}) {
            FUZZ_CHECK(Holds(n.box, tree[c].box), "child box " + std::to_string(c));
            todo.push_back({c, depth + 1});
        }
    }
    FUZZ_CHECK(reached == tree.size(), "unreached nodes");
    for (int f = 0; f < faces; ++f) FUZZ_CHECK(seen[f] == 1, "face " + std::to_string(f));
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
    // Whatever its faces' shapes, every mesh the reader accepts is taken.
    FUZZ_CHECK(mesh.TakeData(parsed, 0, 1) == 1, "parsed data refused");
    if (mesh.GetFaceCount() == 0) return 0;
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
        const int found = PickEveryFace(node, o, d, &loop);
        FUZZ_CHECK(node.PickMesh(o, d, &hit) == found && (!found || hit == loop), Where(o, d, -1));
        // Bounded: the same answer whenever the loop's hit lies within the reach along the ray.
        for (float reach : {0.5f, 4.0f}) {
            const float along = Vec3Dot(loop - o, d);
            if (!found || !(along < reach)) continue;
            FUZZ_CHECK(node.PickMesh(o, d, &hit, nullptr, reach) == 1 && hit == loop, Where(o, d, reach));
        }
        // The later rays search from the cells' start nodes, as the battle searches its ground.
        if (k == 7) mesh.BuildFaceCells();
    }
    return 0;
}
