// C3DObject::PickMesh: the nearest face a ray meets, in the mesh's own space. Every shortcut
// here only passes over faces that the triangle test would refuse or that lie out of the
// caller's reach, so a pick answers exactly what a test of every face in turn would, for every
// ray. Where a face lies decides only whether its hit is within reach: the point the test
// reports always lies on the face. Whether the ray's line passes near the face decides whether
// the test can accept it only for a ray not grazing the face: along its plane the test's
// rounding can accept a face the line misses by any distance, so no sphere rules such a face out.
#include "mesh.h"
#include "node.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstring>

namespace {

constexpr int kGroupFaces = CMesh::kFaceRun * CMesh::kFaceRun;

// A ray grazes a face when the cosine of its angle to the face's plane normal, times the sine
// of the face's angle at its first corner, is below this. Otherwise the point where the
// triangle test finds the ray's line is off by at most about ten float roundings of (distance
// + edge) / kGrazeSine (under two were seen in twenty million random grazing tests): well
// inside the margins of the spheres below.
constexpr double kGrazeSine = 1e-2;

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

// How far at most a length in the origin's units stretches in mesh units: the inverse's
// largest stretch, bounded from above twice over.
double Stretch(const Mat4& inv) {
    double frob = 0, rows = 0, cols = 0;
    for (int i = 0; i < 3; ++i) {
        double row = 0, col = 0;
        for (int j = 0; j < 3; ++j) {
            frob += double(inv.m[i][j]) * inv.m[i][j];
            row += std::fabs(inv.m[i][j]);
            col += std::fabs(inv.m[j][i]);
        }
        rows = std::max(rows, row);
        cols = std::max(cols, col);
    }
    return std::min(std::sqrt(frob), std::sqrt(rows * cols));
}

class CFaceSearch {
public:
    CFaceSearch(const CMesh& mesh, const Vec3& o, const Vec3& d)
        : m_mesh(mesh), m_o(o), m_d(d), m_slivers(mesh.GetSliverFaces()) {
        const int faces = mesh.GetFaceCount();
        m_faces = faces;
        // The shortcuts need every face's sphere and box; without them every face is tested.
        if (mesh.GetFaceSphereCount() == faces && mesh.GetFaceBoxCount() == faces) {
            m_spheres = mesh.GetFaceSpheres();
            m_boxes = mesh.GetFaceBoxes();
            const int runCount = mesh.GetFaceRunCount();
            m_runs = runCount > 0 ? mesh.GetFaceRunOrder() : nullptr;
            m_runSlots = runCount * CMesh::kFaceRun;
            m_runSpheres = mesh.GetFaceRunSpheres();
            m_runBoxes = mesh.GetFaceRunBoxes();
            const int groupCount = (runCount + CMesh::kFaceRun - 1) / CMesh::kFaceRun;
            m_groupSpheres = m_runs && mesh.GetFaceGroupCount() == groupCount ? mesh.GetFaceGroupSpheres() : nullptr;
            m_runNormals = mesh.GetFaceRunNormalBoxes();
            m_groupNormals = mesh.GetFaceGroupNormalBoxes();
            m_normals = mesh.GetFaceNormalCount() == faces ? mesh.GetFaceNormals() : nullptr;
            if (!m_normals) m_spheres = nullptr;  // no sphere may rule out a face that may be grazed
        }
        m_ox = o.x, m_oy = o.y, m_oz = o.z, m_dx = d.x, m_dy = d.y, m_dz = d.z;
        m_dd = m_dx * m_dx + m_dy * m_dy + m_dz * m_dz;
        m_graze = kGrazeSine * std::sqrt(m_dd);
    }

    // Faces wholly farther than this (mesh units) from the origin may be passed over; below
    // zero, none are.
    void SetReach(double reach) { m_reach = reach; }
    double OriginLength() const { return std::sqrt(m_ox * m_ox + m_oy * m_oy + m_oz * m_oz); }

    // Whether the triangle test's products stay far inside the float range for every face: the
    // shortcuts' margins assume rounding, not overflow, which can make the test accept a face
    // the ray passes nowhere near.
    bool StaysInRange() const {
        const Vec3& lo = m_mesh.GetBoxMin();
        const Vec3& hi = m_mesh.GetBoxMax();
        double size = 0;
        for (double v : {lo.x, lo.y, lo.z, hi.x, hi.y, hi.z}) size = std::max(size, std::fabs(v));
        const double edge = 2 * size, far = OriginLength() + size, dir = std::sqrt(m_dd);
        const double largest = std::max({edge * edge * dir, far * edge * dir, far * edge * edge});
        return largest < 1e30;
    }

    // Every face in turn, as the plain loop does.
    void AllFaces() {
        for (int f = 0; f < m_faces; ++f) TestFace(f);
    }

    // Every face within reach, by the mesh's grid; false when the grid cannot serve this reach
    // within so many cells.
    bool GridPass(int maxCells) {
        const CMesh::FaceGrid& grid = m_mesh.GetFaceGrid();
        int lo[3], hi[3];
        if (!(m_reach >= 0) || !m_boxes || !grid.CellRange(m_ox, m_oy, m_oz, m_reach, maxCells, lo, hi)) return false;
        for (int x = lo[0]; x <= hi[0]; ++x)
            for (int y = lo[1]; y <= hi[1]; ++y)
                for (int z = lo[2]; z <= hi[2]; ++z) {
                    const int cell = grid.Cell(x, y, z);
                    for (size_t n = grid.start[cell]; n < grid.start[cell + 1]; ++n) TryFace(grid.faces[n]);
                }
        for (int f : grid.wide) TryFace(f);
        SliverPass();
        return true;
    }

    // Every face, in runs of neighbours and groups of runs, passing over whole runs and groups
    // the ray cannot meet; then the slivers.
    void FullPass() {
        if (!m_boxes) {
            AllFaces();
            return;
        }
        if (!(m_reach >= 0 && m_mesh.GetFaceGrid().OutOfReach(m_ox, m_oy, m_oz, m_reach))) RunPass();
        SliverPass();
    }

    // The nearest face found so far lies within this distance (mesh units), with room for
    // rounding: then it is the nearest of all faces within that reach.
    bool FoundWithin(double reach) const {
        const double r = reach * (1 - 1e-3);
        return m_bestFace >= 0 && double(m_bestDist) <= r * r;
    }
    int Found() const { return m_bestFace >= 0; }
    const Vec3& Best() const { return m_best; }
    const Vec3* Triangle() const { return m_triangle; }

private:
    void RunPass() {
        if (!m_runs) return;
        for (int k = 0; k < m_runSlots; ++k) {
            if (m_groupSpheres && k % kGroupFaces == 0) {
                const size_t group = static_cast<size_t>(k / kGroupFaces);
                if (PassesOver(m_groupSpheres + group * 4, m_groupNormals + group * 6)) {
                    k += kGroupFaces - 1;
                    continue;
                }
            }
            if (k % CMesh::kFaceRun == 0) {
                const size_t run = static_cast<size_t>(k / CMesh::kFaceRun);
                if (OutOfReach(m_runBoxes + run * 6) || PassesOver(m_runSpheres + run * 4, m_runNormals + run * 6)) {
                    k += CMesh::kFaceRun - 1;
                    continue;
                }
            }
            const int f = m_runs[k];
            if (f >= 0) TryFace(f);  // not the last run's padding
        }
    }

    // No bound rules a sliver out.
    void SliverPass() {
        for (int f : m_slivers) TestFace(f);
    }

    // A sphere holding every face of a run or group (their normals in the box given): does it
    // lie behind the origin or beyond the reach, or, when the ray grazes none of its faces,
    // does the line miss it by more than each face's own test allows (which grows with the
    // distance, taken at its largest here)?
    bool PassesOver(const double* cs, const double* normals) const {
        double wx = cs[0] - m_ox, wy = cs[1] - m_oy, wz = cs[2] - m_oz;
        double ww = wx * wx + wy * wy + wz * wz;
        if (m_reach >= 0) {
            double far = cs[3] + m_reach;
            if (ww > far * far * (1 + 1e-6) + 1e-12) return true;
        }
        double span = cs[3] + 3.2e-3 * (std::sqrt(ww) + cs[3]);
        double bound = (span * span * (1 + 1e-6) + 1e-12) * m_dd;
        double along = wx * m_dx + wy * m_dy + wz * m_dz;
        if (along < 0 && along * along > bound) return true;
        double cx = wy * m_dz - wz * m_dy, cy = wz * m_dx - wx * m_dz, cz = wx * m_dy - wy * m_dx;
        return cx * cx + cy * cy + cz * cz > bound && !MayGraze(normals);
    }

    // Whether the ray may graze a face whose normal (as the mesh keeps it) lies in this box.
    bool MayGraze(const double* box) const {
        const double d[3] = {m_dx, m_dy, m_dz};
        double lo = 0, hi = 0;
        for (int i = 0; i < 3; ++i) {
            const double a = d[i] * box[i], b = d[i] * box[3 + i];
            lo += std::min(a, b);
            hi += std::max(a, b);
        }
        return lo < m_graze && hi > -m_graze;
    }

    bool Grazes(int f) const {
        const double* n = m_normals + static_cast<size_t>(f) * 3;
        return std::fabs(m_dx * n[0] + m_dy * n[1] + m_dz * n[2]) < m_graze;
    }

    // A box (low corner, high corner) holding every point of a face or run: wholly out of reach?
    bool OutOfReach(const double* bx) const {
        const double r = m_reach;
        return r >= 0 && (bx[0] > m_ox + r || bx[3] < m_ox - r || bx[1] > m_oy + r || bx[4] < m_oy - r ||
                          bx[2] > m_oz + r || bx[5] < m_oz - r);
    }

    void TryFace(int f) {
        if (m_boxes && OutOfReach(m_boxes + static_cast<size_t>(f) * 6)) return;
        // Faces that lie wholly behind the origin, or whose sphere the line of a ray not
        // grazing them clearly misses, are skipped; the margin also grows with the distance so
        // float error can never matter.
        if (m_spheres) {
            const double* sp = m_spheres + static_cast<size_t>(f) * 4;
            double wx = sp[0] - m_ox, wy = sp[1] - m_oy, wz = sp[2] - m_oz;
            double ww = wx * wx + wy * wy + wz * wz;
            double span = sp[3] + 1e-5 * ww;
            double along = wx * m_dx + wy * m_dy + wz * m_dz;
            if (along < 0 && along * along > span * m_dd) return;
            double cx = wy * m_dz - wz * m_dy, cy = wz * m_dx - wx * m_dz, cz = wx * m_dy - wy * m_dx;
            if (cx * cx + cy * cy + cz * cz > span * m_dd && !Grazes(f)) return;
        }
        TestFace(f);
    }

    // The triangle test, and the nearest hit kept.
    void TestFace(int f) {
        const uint32_t* idx = m_mesh.GetIndices();
        Vec3 a = m_mesh.GetVertexPosition(idx[f * 3]);
        Vec3 b = m_mesh.GetVertexPosition(idx[f * 3 + 1]);
        Vec3 c = m_mesh.GetVertexPosition(idx[f * 3 + 2]);
        float t, u, v;
        if (!IntersectTriangle(m_o, m_d, a, b, c, &t, &u, &v)) return;
        Vec3 p = a + (b - a) * u + (c - a) * v;
        if (Vec3Dot(m_d, p - m_o) < 0) return;
        float dist = Vec3LengthSq(p - m_o);
        // The nearest face wins, and of equally near ones the first in the mesh's order, in
        // whatever order the faces were visited (a face met twice changes nothing).
        if (!(dist < m_bestDist || (m_bestFace >= 0 && dist == m_bestDist && f < m_bestFace))) return;
        m_bestDist = dist;
        m_bestFace = f;
        m_best = p;
        m_triangle[0] = a;
        m_triangle[1] = b;
        m_triangle[2] = c;
    }

    const CMesh& m_mesh;
    const Vec3 m_o, m_d;
    const std::vector<int>& m_slivers;
    int m_faces = 0;
    int m_runSlots = 0;
    const double* m_spheres = nullptr;
    const double* m_boxes = nullptr;
    const int* m_runs = nullptr;
    const double* m_runSpheres = nullptr;
    const double* m_runBoxes = nullptr;
    const double* m_groupSpheres = nullptr;
    const double* m_normals = nullptr;
    const double* m_runNormals = nullptr;
    const double* m_groupNormals = nullptr;
    double m_ox, m_oy, m_oz, m_dx, m_dy, m_dz, m_dd, m_graze;
    double m_reach = -1;
    float m_bestDist = FLT_MAX;
    int m_bestFace = -1;
    Vec3 m_best;
    Vec3 m_triangle[3];
};

}  // namespace

int C3DObject::PickMesh(const Vec3& origin, const Vec3& dir, Vec3* hit, Vec3* triangle, float reach) const {
    *hit = Vec3();
    if (!m_mesh || m_mesh->GetFaceCount() == 0) return 0;
    Mat4 inv;
    if (!InverseOf(GetWorldMatrix(), &inv)) return 0;
    CFaceSearch search(*m_mesh, Vec3TransformNormal(origin, inv), Vec3TransformNormal(dir, inv));
    if (!search.StaysInRange()) {
        search.AllFaces();
    } else if (reach < FLT_MAX) {
        // Widened far past float error, so a hit the caller measures within reach is here too.
        const double r = (reach > 0 ? reach : 0) * Stretch(inv);
        search.SetReach(r * 1.001 + 1e-3 * (1 + search.OriginLength() + r));
        if (!search.GridPass(8)) search.FullPass();
    } else {
        // Most unlimited picks land close by (a robot's feet): the faces near the origin first.
        // A face found well within that reach is the nearest of all, since a nearer one would
        // lie within it too; otherwise every face is searched.
        const CMesh::FaceGrid& grid = m_mesh->GetFaceGrid();
        const double nearby = std::min({grid.cell[0], grid.cell[1], grid.cell[2]});
        search.SetReach(nearby);
        if (!(nearby > 0 && search.GridPass(27) && search.FoundWithin(nearby))) {
            search.SetReach(-1);
            search.FullPass();
        }
    }
    if (!search.Found()) return 0;
    if (triangle)
        for (int i = 0; i < 3; ++i) triangle[i] = search.Triangle()[i];
    *hit = search.Best() * m_scale;
    return 1;
}
