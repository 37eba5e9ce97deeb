// C3DObject::PickMesh: the nearest face a ray meets, in the mesh's own space. A face's hit counts
// only where the triangle test puts it inside the face's widened box and where the ray meets
// that box; every pick, the loop over every face included, uses that one test. The search of
// the mesh's box tree passes over a node only when its box shows that no face below it could
// pass the test, or could be as near as the best hit so far, or (for a bounded pick) could lie
// within the reach along the ray. So a pick answers exactly what the loop answers, by
// construction rather than by margins of rounding.
#include "mesh.h"
#include "node.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstring>

namespace {

// Room for the deepest tree a mesh builds; a deeper one would be searched face by face.
constexpr int kMaxTreeDepth = CMesh::kMaxFaceTreeDepth + 4;

// The ground never moves, and its inverse is the dearest part of a short pick: the last
// matrix inverted on this thread is kept with its inverse.
int InverseOf(const Mat4& world, Mat4* inv) {
    thread_local Mat4 t_world, t_inverse;
    thread_local int t_result = -1;
    if (t_result < 0 || std::memcmp(&t_world, &world, sizeof world) != 0) {
        t_result = MatrixInverse(&t_inverse, world);
        t_world = world;
    }
    *inv = t_inverse;
    return t_result;
}

bool IsFinite(const Vec3& v) { return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z); }

class CFaceSearch {
public:
    CFaceSearch(const CMesh& mesh, const Vec3& o, const Vec3& d) : m_mesh(mesh), m_o(o), m_d(d) {
        const int faces = mesh.GetFaceCount();
        m_faces = faces;
        // Without a box for every face the plain triangle test serves, and every face is tested.
        if (mesh.GetFaceBoxCount() == faces) {
            m_boxes = mesh.GetFaceBoxes();
            const std::vector<CMesh::FaceNode>& tree = mesh.GetFaceTree();
            if (!tree.empty() && mesh.GetFaceTreeOrder().size() == size_t(faces)) {
                m_tree = tree.data();
                m_treeSize = static_cast<int>(tree.size());
                m_order = mesh.GetFaceTreeOrder().data();
            }
        }
        const double od[3] = {o.x, o.y, o.z}, dd[3] = {d.x, d.y, d.z};
        for (int i = 0; i < 3; ++i) {
            m_origin[i] = od[i];
            m_inverse[i] = 1.0 / dd[i];
            // Along an axis the ray hardly moves on, a box holds the ray's line or misses it.
            m_still[i] = !(std::fabs(m_inverse[i]) <= DBL_MAX);
        }
    }

    // Faces every point of whose box lies farther than this along g (mesh units times g: the
    // reach measured along the caller's ray) are passed over.
    void SetReach(const double g[3], double reach) {
        for (int i = 0; i < 3; ++i) m_along[i] = g[i];
        m_reach = reach;
    }

    // Every face in turn: the loop the search must agree with.
    void AllFaces() {
        for (int f = 0; f < m_faces; ++f) TestFace(f);
    }

    // The tree, nearer child first; the loop when there is no tree or it is deeper than the
    // search can follow.
    void TreePass() {
        if (!m_tree) {
            AllFaces();
            return;
        }
        int stack[kMaxTreeDepth];
        int depth = 0;
        double entry;
        if (Reachable(m_tree[0].box, &entry)) stack[depth++] = 0;
        while (depth > 0) {
            const int at = stack[--depth];
            if (at < 0 || at >= m_treeSize) continue;
            const CMesh::FaceNode& n = m_tree[at];
            if (!MayBeNearer(n.box)) continue;
            if (n.count > 0) {
                const int end = std::min(n.first + n.count, m_faces);
                for (int k = std::max(n.first, 0); k < end; ++k) TestFace(m_order[k]);
                continue;
            }
            if (n.first < 0 || n.first + 1 >= m_treeSize) continue;
            double e0, e1;
            const bool in0 = Reachable(m_tree[n.first].box, &e0), in1 = Reachable(m_tree[n.first + 1].box, &e1);
            if (depth + 2 > kMaxTreeDepth) {
                AllFaces();
                return;
            }
            // The child the ray enters later goes first on the stack, so the nearer is searched
            // first and its hit lets the other be passed over.
            const bool laterFirst = e1 > e0;
            const int later = laterFirst ? n.first + 1 : n.first, sooner = laterFirst ? n.first : n.first + 1;
            const bool inLater = laterFirst ? in1 : in0, inSooner = laterFirst ? in0 : in1;
            if (inLater) stack[depth++] = later;
            if (inSooner) stack[depth++] = sooner;
        }
    }

    int Found() const { return m_bestFace >= 0; }
    const Vec3& Best() const { return m_best; }
    const Vec3* Triangle() const { return m_triangle; }

private:
    // Whether the ray, from its origin on, meets a box; `entry` where it enters. The same
    // rounded sums for every box, each monotone in the box's sides, so a ray that meets a face's
    // box meets every box holding it.
    bool MeetsBox(const double* box, double* entry) const {
        double lo = 0, hi = HUGE_VAL;
        *entry = HUGE_VAL;
        for (int i = 0; i < 3; ++i) {
            if (m_still[i]) {
                if (!(m_origin[i] >= box[i] && m_origin[i] <= box[3 + i])) return false;
                continue;
            }
            double t0 = (box[i] - m_origin[i]) * m_inverse[i], t1 = (box[3 + i] - m_origin[i]) * m_inverse[i];
            if (t0 > t1) std::swap(t0, t1);
            lo = std::max(lo, t0);
            hi = std::min(hi, t1);
        }
        *entry = lo;
        return lo <= hi;
    }

    // Whether some point of a box lies within the reach along the ray: the least of the
    // along-distance over the box, less room for its own rounding, against the reach.
    bool WithinReach(const double* box) const {
        if (m_reach < 0) return true;
        double least = 0, size = 0;
        for (int i = 0; i < 3; ++i) {
            const double a = m_along[i] * (box[i] - m_origin[i]), b = m_along[i] * (box[3 + i] - m_origin[i]);
            least += std::min(a, b);
            size += std::fabs(a) + std::fabs(b);
        }
        return least - 1e-12 * size <= m_reach;
    }

    bool Reachable(const double* box, double* entry) const { return MeetsBox(box, entry) && WithinReach(box); }

    // Whether a face in this box could be as near as the best hit so far: a hit lies in its
    // face's box, so no nearer than the box's nearest point; the float distance the test keeps
    // is that distance's square to well within the margin.
    bool MayBeNearer(const double* box) const {
        if (m_bestFace < 0) return true;
        double least = 0;
        for (int i = 0; i < 3; ++i) {
            const double gap = std::max({box[i] - m_origin[i], m_origin[i] - box[3 + i], 0.0});
            least += gap * gap;
        }
        return least * (1 - 1e-5) <= double(m_bestDist);
    }

    bool InBox(const Vec3& p, const double* box) const {
        return p.x >= box[0] && p.y >= box[1] && p.z >= box[2] && p.x <= box[3] && p.y <= box[4] && p.z <= box[5];
    }

    // The face test, and the nearest hit kept.
    void TestFace(int f) {
        if (f < 0 || f >= m_faces) return;
        const uint32_t* idx = m_mesh.GetIndices();
        const Vec3 a = m_mesh.GetVertexPosition(idx[f * 3]);
        const Vec3 b = m_mesh.GetVertexPosition(idx[f * 3 + 1]);
        const Vec3 c = m_mesh.GetVertexPosition(idx[f * 3 + 2]);
        float t, u, v;
        if (!IntersectTriangle(m_o, m_d, a, b, c, &t, &u, &v)) return;
        const Vec3 p = a + (b - a) * u + (c - a) * v;
        if (Vec3Dot(m_d, p - m_o) < 0) return;
        const float dist = Vec3LengthSq(p - m_o);
        // The nearest face wins, and of equally near ones the first in the mesh's order, in
        // whatever order the faces were visited.
        if (!(dist < m_bestDist || (m_bestFace >= 0 && dist == m_bestDist && f < m_bestFace))) return;
        // Along its plane the test's rounding can accept a face the ray passes far from, at a
        // point away from the ray: such a hit lies outside the face's box or off the ray's way
        // through it.
        if (m_boxes) {
            const double* box = m_boxes + static_cast<size_t>(f) * 6;
            double entry;
            if (!InBox(p, box) || !MeetsBox(box, &entry)) return;
        }
        m_bestDist = dist;
        m_bestFace = f;
        m_best = p;
        m_triangle[0] = a;
        m_triangle[1] = b;
        m_triangle[2] = c;
    }

    const CMesh& m_mesh;
    const Vec3 m_o, m_d;
    int m_faces = 0;
    const double* m_boxes = nullptr;
    const CMesh::FaceNode* m_tree = nullptr;
    int m_treeSize = 0;
    const int* m_order = nullptr;
    double m_origin[3] = {}, m_inverse[3] = {};
    bool m_still[3] = {};
    double m_along[3] = {};
    double m_reach = -1;
    float m_bestDist = FLT_MAX;
    int m_bestFace = -1;
    Vec3 m_best;
    Vec3 m_triangle[3];
};

// The mesh-space ray of a pick; 0 when the node cannot be inverted or the ray is not finite.
int MeshRay(const C3DObject& node, const Vec3& origin, const Vec3& dir, Vec3* o, Vec3* d, Mat4* world) {
    Mat4 inv;
    *world = node.GetWorldMatrix();
    if (!InverseOf(*world, &inv)) return 0;
    *o = Vec3TransformNormal(origin, inv);
    *d = Vec3TransformNormal(dir, inv);
    return IsFinite(*o) && IsFinite(*d);
}

int Answer(const CFaceSearch& search, float scale, Vec3* hit, Vec3* triangle) {
    if (!search.Found()) return 0;
    if (triangle)
        for (int i = 0; i < 3; ++i) triangle[i] = search.Triangle()[i];
    *hit = search.Best() * scale;
    return 1;
}

}  // namespace

int C3DObject::PickMesh(const Vec3& origin, const Vec3& dir, Vec3* hit, Vec3* triangle, float reach) const {
    *hit = Vec3();
    if (!m_mesh || m_mesh->GetFaceCount() == 0) return 0;
    Vec3 o, d;
    Mat4 world;
    if (!MeshRay(*this, origin, dir, &o, &d, &world)) return 0;
    CFaceSearch search(*m_mesh, o, d);
    const double length = std::sqrt(double(dir.x) * dir.x + double(dir.y) * dir.y + double(dir.z) * dir.z);
    if (reach < FLT_MAX && length > 0 && std::isfinite(reach)) {
        // A mesh-space offset times g is its length along the caller's ray, in the origin's
        // units: the node's axes carry it back. The reach is widened far past float error, so
        // a hit the caller measures within it is here too.
        const double unit[3] = {dir.x / length, dir.y / length, dir.z / length};
        double g[3];
        for (int i = 0; i < 3; ++i) g[i] = world.m[i][0] * unit[0] + world.m[i][1] * unit[1] + world.m[i][2] * unit[2];
        const double r = reach > 0 ? reach : 0;
        const double size = std::fabs(origin.x) + std::fabs(origin.y) + std::fabs(origin.z);
        search.SetReach(g, r * 1.001 + 1e-3 * (1 + size + r));
    }
    search.TreePass();
    return Answer(search, m_scale, hit, triangle);
}

int PickEveryFace(const C3DObject& node, const Vec3& origin, const Vec3& dir, Vec3* hit, Vec3* triangle) {
    *hit = Vec3();
    if (!node.m_mesh || node.m_mesh->GetFaceCount() == 0) return 0;
    Vec3 o, d;
    Mat4 world;
    if (!MeshRay(node, origin, dir, &o, &d, &world)) return 0;
    CFaceSearch search(*node.m_mesh, o, d);
    search.AllFaces();
    return Answer(search, node.m_scale, hit, triangle);
}
