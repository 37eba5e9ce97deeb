// C3DObject::PickMesh: the nearest face a ray meets, in the mesh's own space. A face's hit counts
// only where the triangle test puts it inside the face's widened box and where the ray has
// entered that box by the hit (measured along the ray, with room for rounding); every pick, the
// loop over every face included, uses that one test. The search of the mesh's box tree passes
// over a node only when its box shows that no face below it could pass the test, or could be
// as near as the best hit so far, or (for a bounded pick) could be entered by the ray within
// the reach. So a pick answers exactly what the loop answers, by construction rather than by
// margins of rounding.
#include "mesh.h"
#include "node.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstring>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

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

// A pick's ray in the mesh's space, and how its offsets measure along the caller's ray.
struct MeshRay {
    Vec3 o, d;
    // A mesh-space offset times g is its length along the caller's ray, in the origin's units
    // (the node's axes carry it back); `rate` is the mesh direction's, `size` the origin's
    // size in those units, for the room left for rounding.
    double g[3] = {}, rate = 0, size = 0;
};

// The mesh-space ray of a pick; 0 when the node cannot be inverted or the ray is not finite.
int MakeMeshRay(const C3DObject& node, const Vec3& origin, const Vec3& dir, MeshRay* ray) {
    Mat4 inv;
    const Mat4 world = node.GetWorldMatrix();
    if (!InverseOf(world, &inv)) return 0;
    ray->o = Vec3TransformNormal(origin, inv);
    ray->d = Vec3TransformNormal(dir, inv);
    if (!IsFinite(ray->o) || !IsFinite(ray->d)) return 0;
    const double length = std::sqrt(double(dir.x) * dir.x + double(dir.y) * dir.y + double(dir.z) * dir.z);
    if (length > 0) {
        const double unit[3] = {dir.x / length, dir.y / length, dir.z / length};
        for (int i = 0; i < 3; ++i)
            ray->g[i] = world.m[i][0] * unit[0] + world.m[i][1] * unit[1] + world.m[i][2] * unit[2];
    }
    ray->rate = ray->g[0] * ray->d.x + ray->g[1] * ray->d.y + ray->g[2] * ray->d.z;
    ray->size = std::fabs(origin.x) + std::fabs(origin.y) + std::fabs(origin.z);
    return 1;
}

// A length along the caller's ray widened far past float error, so a point the caller
// measures within it is within the widened length here too.
double Widened(const MeshRay& ray, double length) { return length * 1.001 + 1e-3 * (1 + ray.size + std::fabs(length)); }

class CFaceSearch {
public:
    CFaceSearch(const CMesh& mesh, const MeshRay& ray) : m_mesh(mesh), m_ray(ray), m_o(ray.o), m_d(ray.d) {
        const int faces = mesh.GetFaceCount();
        m_faces = faces;
        // Without a box for every face the plain triangle test serves, and every face is tested.
        if (mesh.GetFaceBoxCount() == faces) {
            m_boxes = mesh.GetFaceBoxes();
            const std::vector<CMesh::FaceNode>& tree = mesh.GetFaceTree();
            if (!tree.empty() && mesh.GetFaceTreeOrder().size() == size_t(faces) &&
                mesh.GetFaceTreePairs().size() == tree.size()) {
                m_tree = tree.data();
                m_pairs = mesh.GetFaceTreePairs().data();
                m_order = mesh.GetFaceTreeOrder().data();
            }
        }
        const double od[3] = {m_o.x, m_o.y, m_o.z}, dd[3] = {m_d.x, m_d.y, m_d.z};
        for (int i = 0; i < 3; ++i) {
            m_origin[i] = od[i];
            m_dir[i] = dd[i];
            m_inverse[i] = 1.0 / dd[i];
            // Along an axis the ray hardly moves on, a box holds the ray's line or misses it.
            m_still[i] = !(std::fabs(m_inverse[i]) <= DBL_MAX);
            // The side the ray enters a box by, and leaves by (low, then high, when still).
            m_near[i] = m_inverse[i] < 0 && !m_still[i] ? 3 + i : i;
            m_far[i] = m_near[i] < 3 ? m_near[i] + 3 : i;
        }
    }

    // Only faces whose boxes the ray enters within this length along it (the caller's units)
    // are searched: a hit the caller measures within it lies within the widened length here,
    // and TestFace wants its face's box entered within that widened in turn.
    void SetReach(double reach) {
        const double r = reach > 0 ? reach : 0;
        if (m_ray.rate > 0) m_cut = Widened(m_ray, Widened(m_ray, r)) / m_ray.rate * (1 + 1e-9);
    }

    // Every face in turn: the loop the search must agree with.
    void AllFaces() {
        for (int f = 0; f < m_faces; ++f) TestFace(f);
    }

    // The tree, nearer child first; the loop when there is no tree or it is deeper than the
    // search can follow. Each node's two boxes below it are tested at once, and a leaf's faces
    // go to the triangle test only when their own boxes pass.
    void TreePass() {
        if (!m_tree) {
            AllFaces();
            return;
        }
        int stack[kStackSize];
        int depth = 0;
        double entry;
        int from, to;
        if (CellOfSegment(&from, &to) && to - from <= CMesh::kMaxStartNodes) {
            const std::vector<int>& nodes = m_mesh.GetFaceCells().nodes;
            for (int k = from; k < to; ++k) stack[depth++] = nodes[k];
        } else if (MeetsBox(m_tree[0].box, &entry) && entry <= m_cut) {
            stack[depth++] = 0;
        }
        if (m_still[0] || m_still[1] || m_still[2])
            Descend<true>(stack, depth);
        else
            Descend<false>(stack, depth);
    }

    int Found() const { return m_bestFace >= 0; }
    const Vec3& Best() const { return m_best; }
    const Vec3* Triangle() const { return m_triangle; }

private:
    static constexpr int kStackSize = kMaxTreeDepth + CMesh::kMaxStartNodes;

    // The search from the nodes on the stack; kStill when the ray is still along some axis.
    template <bool kStill>
    void Descend(int* stack, int depth) {
        while (depth > 0) {
            const int at = stack[--depth];
            const CMesh::FaceNode& n = m_tree[at];
            if (!CouldBeNearer(n.box)) continue;
            double entries[2];
            const int pass = TestPair<kStill>(m_pairs[at], entries);
            if (n.count > 0) {
                for (int k = 0; k < n.count && k < 2; ++k) {
                    const int f = m_order[n.first + k];
                    if ((pass >> k & 1) && CouldBeNearer(m_boxes + size_t(f) * 6)) TestFace(f);
                }
                continue;
            }
            if (depth + 2 > kStackSize) {
                AllFaces();
                return;
            }
            // The child the ray enters later goes first on the stack, so the nearer is searched
            // first and its hit lets the other be passed over.
            const int later = entries[1] > entries[0] ? 1 : 0;
            if (pass >> later & 1) stack[depth++] = n.first + later;
            if (pass >> (1 - later) & 1) stack[depth++] = n.first + 1 - later;
        }
    }

    // Whether the ray, from its origin on, meets a box; `entry` where it enters (in lengths of
    // the mesh-space direction). The same rounded sums for every box, each monotone in the
    // box's sides, so a ray that meets a face's box meets every box holding it, and enters it
    // no later.
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

    // The start nodes of the mesh's cell holding the whole of a bounded pick's ray up to the
    // cut, as nodes[from] to nodes[to]; false when there is none.
    bool CellOfSegment(int* from, int* to) const {
        const CMesh::FaceCells& g = m_mesh.GetFaceCells();
        if (!(m_cut < HUGE_VAL) || g.start.empty()) return false;
        int cell = 0;
        for (int i = 2; i >= 0; --i) {
            const double end = m_origin[i] + m_cut * (m_still[i] ? 0.0 : m_dir[i]);
            const double lo = std::min(m_origin[i], end), hi = std::max(m_origin[i], end);
            const double at = g.size[i] > 0 ? std::floor((lo - g.lo[i]) / g.size[i]) : 0;
            if (!(at >= 0 && at < CMesh::kFaceCells)) return false;
            const int k = static_cast<int>(at);
            if (!(lo >= g.lo[i] + g.size[i] * k - g.margin && hi <= g.lo[i] + g.size[i] * (k + 1) + g.margin)) return false;
            cell = cell * CMesh::kFaceCells + k;
        }
        *from = g.start[cell];
        *to = g.start[cell + 1];
        return true;
    }

    // Whether a face in this box could be as near as the best hit so far: a hit lies in its
    // face's box, so no nearer than the box's nearest point; the float distance the test keeps
    // is that distance's square to well within the margin.
    bool CouldBeNearer(const double* box) const {
        if (m_bestFace < 0) return true;
        double least = 0;
        for (int i = 0; i < 3; ++i) {
            const double gap = std::max({box[i] - m_origin[i], m_origin[i] - box[3 + i], 0.0});
            least += gap * gap;
        }
        return least * (1 - 1e-5) <= double(m_bestDist);
    }

    // A pair of boxes at once: bit k set when the ray meets box k (the same sums as MeetsBox,
    // so the two agree on every box) and enters it within the cut; where it enters each.
    template <bool kStill>
    int TestPair(const CMesh::BoxPair& p, double entry[2]) const {
#if defined(__SSE2__)
        __m128d lo = _mm_setzero_pd(), hi = _mm_set1_pd(HUGE_VAL);
        __m128d pass = _mm_cmpeq_pd(lo, lo);
        for (int i = 0; i < 3; ++i) {
            const __m128d o = _mm_set1_pd(m_origin[i]);
            const __m128d near = _mm_load_pd(p.box[m_near[i]]), far = _mm_load_pd(p.box[m_far[i]]);
            if (kStill && m_still[i]) {
                pass = _mm_and_pd(pass, _mm_and_pd(_mm_cmple_pd(near, o), _mm_cmple_pd(o, far)));
            } else {
                // The products are never NaN (finite sides, a finite non-zero inverse), so max
                // and min give what MeetsBox's give.
                const __m128d inv = _mm_set1_pd(m_inverse[i]);
                lo = _mm_max_pd(_mm_mul_pd(_mm_sub_pd(near, o), inv), lo);
                hi = _mm_min_pd(_mm_mul_pd(_mm_sub_pd(far, o), inv), hi);
            }
        }
        pass = _mm_and_pd(pass, _mm_and_pd(_mm_cmple_pd(lo, hi), _mm_cmple_pd(lo, _mm_set1_pd(m_cut))));
        _mm_storeu_pd(entry, lo);
        return _mm_movemask_pd(pass);
#else
        int pass = 0;
        for (int k = 0; k < 2; ++k) {
            double box[6];
            for (int i = 0; i < 6; ++i) box[i] = p.box[i][k];
            pass |= (MeetsBox(box, &entry[k]) && entry[k] <= m_cut) << k;
        }
        return pass;
#endif
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
        // point away from the ray: such a hit lies outside the face's box, or before the ray
        // gets to that box.
        if (m_boxes) {
            const double* box = m_boxes + static_cast<size_t>(f) * 6;
            double entry;
            if (!InBox(p, box) || !MeetsBox(box, &entry)) return;
            const double along = m_ray.g[0] * (double(p.x) - m_origin[0]) + m_ray.g[1] * (double(p.y) - m_origin[1]) +
                                 m_ray.g[2] * (double(p.z) - m_origin[2]);
            if (!(entry * m_ray.rate <= Widened(m_ray, along))) return;
        }
        m_bestDist = dist;
        m_bestFace = f;
        m_best = p;
        m_triangle[0] = a;
        m_triangle[1] = b;
        m_triangle[2] = c;
    }

    const CMesh& m_mesh;
    const MeshRay& m_ray;
    const Vec3 m_o, m_d;
    int m_faces = 0;
    const double* m_boxes = nullptr;
    const CMesh::FaceNode* m_tree = nullptr;
    const CMesh::BoxPair* m_pairs = nullptr;
    const int* m_order = nullptr;
    double m_origin[3] = {}, m_dir[3] = {}, m_inverse[3] = {};
    bool m_still[3] = {};
    int m_near[3] = {}, m_far[3] = {};
    double m_cut = HUGE_VAL;  // in lengths of the mesh-space direction
    float m_bestDist = FLT_MAX;
    int m_bestFace = -1;
    Vec3 m_best;
    Vec3 m_triangle[3];
};

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
    MeshRay ray;
    if (!MakeMeshRay(*this, origin, dir, &ray)) return 0;
    CFaceSearch search(*m_mesh, ray);
    if (reach < FLT_MAX && std::isfinite(reach)) search.SetReach(reach);
    search.TreePass();
    return Answer(search, m_scale, hit, triangle);
}

int PickEveryFace(const C3DObject& node, const Vec3& origin, const Vec3& dir, Vec3* hit, Vec3* triangle) {
    *hit = Vec3();
    if (!node.m_mesh || node.m_mesh->GetFaceCount() == 0) return 0;
    MeshRay ray;
    if (!MakeMeshRay(node, origin, dir, &ray)) return 0;
    CFaceSearch search(*node.m_mesh, ray);
    search.AllFaces();
    return Answer(search, node.m_scale, hit, triangle);
}
