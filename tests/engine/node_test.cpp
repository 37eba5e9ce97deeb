// Transform nodes: hierarchies, the transform and orientation operations, picking and the
// mended edge cases (zero scale, parallel up vectors, cycles, far hits, singular matrices).
#include "camera.h"
#include "graphics.h"
#include "mesh.h"
#include "node.h"
#include "pick_models.h"
#include "xfile_reader.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <vector>

namespace {

void ExpectVec(const Vec3& v, float x, float y, float z, float eps = 1e-4f) {
    EXPECT_NEAR(v.x, x, eps);
    EXPECT_NEAR(v.y, y, eps);
    EXPECT_NEAR(v.z, z, eps);
}

// One mesh of the given triangles (three corners each), in memory.
void MakeMesh(CMesh* mesh, const std::vector<Vec3>& corners) {
    XMeshData d;
    d.positions = corners;
    for (uint32_t i = 0; i < corners.size(); ++i) d.indices.push_back(i);
    d.faceMaterials.assign(corners.size() / 3, 0);
    d.materials.resize(1);
    ASSERT_EQ(mesh->TakeData(d, 0, 1), 1);
}

// A triangle in the plane z = zPlane facing -Z (seen from a ray going +Z), around the Z axis.
std::vector<Vec3> FacingMinusZ(float zPlane) {
    return {Vec3(-1, -1, zPlane), Vec3(0, 2, zPlane), Vec3(1, -1, zPlane)};
}

TEST(Node, MeshDataIsCheckedBeforeItIsTaken) {
    CMesh mesh;
    XMeshData d;
    d.positions = {Vec3(), Vec3(1, 0, 0), Vec3(0, 1, 0)};
    d.indices = {0, 1, 3};  // a corner past the vertices
    d.faceMaterials = {0};
    d.materials.resize(1);
    EXPECT_EQ(mesh.TakeData(d, 0, 1), 0);
    EXPECT_EQ(mesh.HasMesh(), 0);
    d.indices = {0, 1, 2};
    d.faceMaterials = {1};  // a face past the materials
    EXPECT_EQ(mesh.TakeData(d, 0, 1), 0);
    d.faceMaterials = {0};
    d.positions[1].y = std::nanf("");  // a position that is not finite
    EXPECT_EQ(mesh.TakeData(d, 0, 1), 0);
    d.positions[1].y = 0;
    EXPECT_EQ(mesh.TakeData(d, 0, 1), 1);
    mesh.ComputeNormals();
    EXPECT_NEAR(mesh.GetVertexNormal(2).z, 1.0f, 1e-6f);  // counter-clockwise from -Z: faces +Z
}

TEST(Node, ConstructedAndCreatedState) {
    C3DObject n;
    EXPECT_TRUE(MatrixEqual(n.m_matrix, Mat4::Identity()));
    EXPECT_EQ(n.m_scale, 1.0f);
    EXPECT_EQ(n.m_alpha, 0.5f);
    EXPECT_EQ(n.m_visible, 0);
    for (const Vec3& c : n.m_box) EXPECT_EQ(c, Vec3());  // set, not left undefined

    CMesh mesh;
    MakeMesh(&mesh, {Vec3(-1, -2, -3), Vec3(4, 5, 6), Vec3(0, 1, 0)});
    n.Create(&mesh, 1, 2, 3, 2.0f);
    EXPECT_EQ(n.m_visible, 1);
    ExpectVec(n.GetLocalPosition(), 1, 2, 3);
    ExpectVec(n.GetLocalAxisX(), 2, 0, 0);
    ExpectVec(n.m_box[0], 4, 5, 6);
    ExpectVec(n.m_box[7], -1, -2, -3);
    ExpectVec(n.m_box[5], -1, 5, -3);
    C3DObject copy = n;
    EXPECT_EQ(copy.m_mesh, &mesh);
}

TEST(Node, HierarchyAndTransforms) {
    C3DObject parent, child;
    parent.SetLocalPosition(10, 0, 0);
    parent.RotateY(kHalfPi);
    child.m_parent = &parent;
    child.SetLocalPosition(0, 0, 5);
    // The child's +Z is the parent's +Z, which a quarter turn about Y points along world +X.
    ExpectVec(child.GetWorldPosition(), 15, 0, 0);
    ExpectVec(child.GetWorldAxisZ(), 1, 0, 0);

    // RotateYParent swings the position about the parent's origin; RotateY turns in place.
    C3DObject a;
    a.SetLocalPosition(10, 0, 0);
    a.RotateY(kHalfPi);
    ExpectVec(a.GetLocalPosition(), 10, 0, 0);
    C3DObject b;
    b.SetLocalPosition(10, 0, 0);
    b.RotateYParent(kHalfPi);
    ExpectVec(b.GetLocalPosition(), 0, 0, -10);

    // A scaled node keeps its scale through a rotation; SetScale(1) restores unit axes in place.
    C3DObject s;
    s.SetLocalPosition(1, 2, 3);
    s.SetScale(2);
    s.RotateY(0.7f);
    EXPECT_NEAR(Vec3Length(s.GetLocalAxisX()), 2.0f, 1e-5f);
    s.SetScale(1);
    EXPECT_NEAR(Vec3Length(s.GetLocalAxisZ()), 1.0f, 1e-5f);
    ExpectVec(s.GetLocalPosition(), 1, 2, 3);

    // Positions under a scaled parent are divided by its total scale.
    C3DObject big, small;
    big.SetScale(2);
    small.m_parent = &big;
    small.SetPosition(2, 0, 0);
    ExpectVec(small.GetLocalPosition(), 1, 0, 0);
    ExpectVec(small.GetWorldPosition(), 2, 0, 0);
    ExpectVec(small.GetScaledPosition(), 2, 0, 0);
    EXPECT_FLOAT_EQ(small.GetTotalScale(), 2.0f);

    // Translate moves along the node's own axes in parent units.
    C3DObject t;
    t.RotateY(kHalfPi);
    t.SetScale(2);
    t.Translate(Vec3(0, 0, 4));
    ExpectVec(t.GetLocalPosition(), 4, 0, 0);
}

TEST(Node, OrientationSetters) {
    C3DObject n;
    n.SetLocalPosition(1, 2, 3);
    n.SetScale(3);
    n.SetOrientation(Vec3(0, 0, -2), Vec3(0, 1, 0));
    ExpectVec(n.GetLocalAxisZ(), 0, 0, -3);
    ExpectVec(n.GetLocalAxisX(), -3, 0, 0);
    ExpectVec(n.GetLocalAxisY(), 0, 3, 0);
    ExpectVec(n.GetLocalPosition(), 1, 2, 3);

    // A direction parallel to up still gives a full frame, never zero axes.
    n.SetOrientation(Vec3(0, 5, 0), Vec3(0, 1, 0));
    ExpectVec(n.GetLocalAxisZ(), 0, 3, 0);
    EXPECT_NEAR(Vec3Length(n.GetLocalAxisX()), 3.0f, 1e-5f);
    EXPECT_NEAR(Vec3Dot(n.GetLocalAxisX(), n.GetLocalAxisY()), 0.0f, 1e-5f);
    n.SetOrientationUp(Vec3(0, 1, 0), Vec3(0, 1, 0));
    EXPECT_NEAR(Vec3Length(n.GetLocalAxisZ()), 3.0f, 1e-5f);
    C3DObject l;
    l.LookAt(Vec3(0, 10, 0));
    ExpectVec(l.GetLocalAxisZ(), 0, 1, 0);
    EXPECT_NEAR(Vec3Length(l.GetLocalAxisX()), 1.0f, 1e-5f);
    l.LookAt(Vec3(0, 0, 0));  // the node's own position: orientation kept
    ExpectVec(l.GetLocalAxisZ(), 0, 1, 0);

    // Turning toward points: straight ahead yaw 0, straight behind yaw -pi, to the right +pi/2.
    C3DObject y;
    y.TurnToward(Vec3(0, 0, 5));
    ExpectVec(y.GetLocalAxisZ(), 0, 0, 1);
    y.TurnToward(Vec3(0, 3, -5));
    ExpectVec(y.GetLocalAxisZ(), 0, 0, -1);
    ExpectVec(y.GetLocalAxisX(), -1, 0, 0);
    y.TurnToward(Vec3(4, 0, 0));
    ExpectVec(y.GetLocalAxisZ(), 1, 0, 0);

    // Quaternions ignore the scale and leave the node as it was.
    C3DObject q1, q3;
    q1.RotateAxis(Vec3(1, 1, 0), 0.9f);
    q3.SetScale(3);
    q3.RotateAxis(Vec3(1, 1, 0), 0.9f);
    Mat4 before = q3.m_matrix;
    Quat a = q1.GetRotationQuaternion(), b = q3.GetRotationQuaternion();
    EXPECT_NEAR(a.x, b.x, 1e-6f);
    EXPECT_NEAR(a.w, b.w, 1e-6f);
    EXPECT_NEAR(QuatDot(a, a), 1.0f, 1e-5f);
    EXPECT_TRUE(MatrixEqual(before, q3.m_matrix));
    EXPECT_EQ(q3.m_scale, 3.0f);
    q3.SetRotationQuaternion(QuatRotationAxis(Vec3(0, 1, 0), 0.5f));
    EXPECT_NEAR(Vec3Length(q3.GetLocalAxisX()), 3.0f, 1e-5f);  // the scale survives
    Quat c = q3.GetRotationQuaternion();
    EXPECT_NEAR(std::fabs(QuatDot(c, QuatRotationAxis(Vec3(0, 1, 0), 0.5f))), 1.0f, 1e-5f);
}

TEST(Node, ZeroScaleAndCyclesStayFinite) {
    C3DObject n;
    n.SetLocalPosition(1, 1, 1);
    n.SetScale(0);
    n.Translate(Vec3(1, 0, 0));
    n.TranslateWorld(Vec3(1, 0, 0));
    ExpectVec(n.GetLocalPosition(), 1, 1, 1);
    n.SetScale(2);
    ExpectVec(n.GetLocalAxisY(), 0, 2, 0);
    EXPECT_TRUE(std::isfinite(n.GetRotationQuaternion().w));

    C3DObject child;
    child.m_parent = &n;
    n.SetScale(0);
    child.SetPosition(4, 0, 0);
    EXPECT_TRUE(std::isfinite(child.GetLocalPosition().x));

    C3DObject a, b;
    a.m_parent = &b;
    b.m_parent = &a;
    a.SetLocalPosition(1, 0, 0);
    b.SetLocalPosition(2, 0, 0);
    ExpectVec(a.GetWorldPosition(), 3, 0, 0);  // the walk stops where the chain repeats
    EXPECT_FLOAT_EQ(a.GetTotalScale(), 1.0f);
}

TEST(Node, PickingNearestFrontFaceHits) {
    CMesh mesh;
    std::vector<Vec3> tris = FacingMinusZ(5);
    std::vector<Vec3> nearer = FacingMinusZ(2);
    tris.insert(tris.end(), nearer.begin(), nearer.end());
    MakeMesh(&mesh, tris);
    C3DObject n;
    n.Create(&mesh, 0, 0, 0, 1);
    Vec3 hit, tri[3];
    ASSERT_EQ(n.PickMesh(Vec3(0, 0, -10), Vec3(0, 0, 1), &hit, tri), 1);
    ExpectVec(hit, 0, 0, 2);
    ExpectVec(tri[0], -1, -1, 2);
    // From behind the triangles face away; a ray pointing away finds nothing behind it.
    EXPECT_EQ(n.PickMesh(Vec3(0, 0, 10), Vec3(0, 0, -1), &hit), 0);
    ExpectVec(hit, 0, 0, 0);
    EXPECT_EQ(n.PickMesh(Vec3(0, 0, 10), Vec3(0, 0, 1), &hit), 0);
    // The origin between the two: only the one in front counts.
    ASSERT_EQ(n.PickMesh(Vec3(0, 0, 3), Vec3(0, 0, 1), &hit), 1);
    ExpectVec(hit, 0, 0, 5);

    // Far hits are found too (no fixed far point caps the search).
    CMesh far;
    MakeMesh(&far, FacingMinusZ(5000));
    C3DObject f;
    f.Create(&far, 0, 0, 0, 1);
    ASSERT_EQ(f.PickMesh(Vec3(), Vec3(0, 0, 1), &hit), 1);
    EXPECT_NEAR(hit.z, 5000.0f, 0.01f);

    // A node collapsed to zero scale has no inverse: no hit.
    f.SetScale(0);
    EXPECT_EQ(f.PickMesh(Vec3(), Vec3(0, 0, 1), &hit), 0);
    C3DObject empty;
    EXPECT_EQ(empty.PickMesh(Vec3(), Vec3(0, 0, 1), &hit), 0);
}

// The plain pick: every face in turn, the nearest hit in front of the origin, of equally near
// ones the first (mesh at the origin, unscaled).
int LoopPick(const CMesh& mesh, const Vec3& o, const Vec3& d, Vec3* hit) {
    float best = FLT_MAX;
    int found = 0;
    for (int f = 0; f < mesh.GetFaceCount(); ++f) {
        const uint32_t* idx = mesh.GetIndices() + f * 3;
        Vec3 a = mesh.GetVertexPosition(idx[0]), b = mesh.GetVertexPosition(idx[1]), c = mesh.GetVertexPosition(idx[2]);
        float t, u, v;
        if (!IntersectTriangle(o, d, a, b, c, &t, &u, &v)) continue;
        Vec3 p = a + (b - a) * u + (c - a) * v;
        float dist = Vec3LengthSq(p - o);
        if (Vec3Dot(d, p - o) < 0 || !(dist < best)) continue;
        best = dist;
        *hit = p;
        found = 1;
    }
    return found;
}

// The pick checked against the loop over every face with the same face test, for one ray:
// the same face and point unbounded, and bounded whenever the loop's hit lies within the reach
// along the ray (as the wall and ceiling picks measure it). Counts the rays that found a face
// and, of those, the ones within reach.
struct PickCheck {
    int hits = 0, inReach = 0;
    void Ray(const C3DObject& node, const Vec3& o, const Vec3& d, float reach) {
        Vec3 loop, hit, loopTri[3], tri[3];
        const int found = PickEveryFace(node, o, d, &loop, loopTri);
        ASSERT_EQ(node.PickMesh(o, d, &hit, tri), found) << Where(o, d);
        if (!found) return;
        ++hits;
        ASSERT_EQ(hit, loop) << Where(o, d);
        for (int i = 0; i < 3; ++i) ASSERT_EQ(tri[i], loopTri[i]) << Where(o, d);
        if (!(Vec3Dot(loop - o, d) / Vec3Length(d) <= reach)) return;
        ++inReach;
        ASSERT_EQ(node.PickMesh(o, d, &hit, tri, reach), 1) << Where(o, d) << " reach " << reach;
        ASSERT_EQ(hit, loop) << Where(o, d) << " reach " << reach;
        for (int i = 0; i < 3; ++i) ASSERT_EQ(tri[i], loopTri[i]) << Where(o, d);
    }
    static std::string Where(const Vec3& o, const Vec3& d) {
        char text[160];
        snprintf(text, sizeof text, "origin (%.9g, %.9g, %.9g) direction (%.9g, %.9g, %.9g)", o.x, o.y, o.z, d.x, d.y,
                 d.z);
        return text;
    }
};

// Whatever way a pick searches, it answers as the loop over every face. The triangle test accepts
// needles with their tip at the first corner for rays passing units beyond the tip; faces that
// each span the whole mesh overlap everywhere; a ray within 1.2e-6 of a face's plane, whose line crosses that plane
// 0.7 units off the face, is accepted by the triangle test's rounding; so is a ray grazing a big
// face from 3.2 units off, at a point 0.18 along the ray, though the ray gets to the face's box
// only far beyond. None of these is a hit.
TEST(Node, PicksAnswerAsTheLoopOverEveryFace) {
    PickDraws r;
    const Vec3 axes[] = {Vec3(1, 0, 0), Vec3(-1, 0, 0), Vec3(0, 1, 0), Vec3(0, -1, 0), Vec3(0, 0, 1), Vec3(0, 0, -1)};
    struct Ray {
        Vec3 o, d;
    };
    struct Case {
        const char* name;
        std::vector<Vec3> corners;
        std::vector<Ray> rays;
        int inReach = 0;  // at least so many rays find a face within the reach
        float reach = 1.0f;
        int hits = -1;  // exactly so many rays find a face, when not -1
    };
    std::vector<Case> cases(6);
    // Rays whose lines pass 8.6 and 1.6 units from the tips, found within 0.04 and 0.2 units.
    cases[0].name = "needles met past their tips";
    cases[0].corners = {Vec3(22.1447468f, -27.5091286f, -182.502869f), Vec3(-29.0361671f, -65.2464066f, -189.94693f),
                        Vec3(-29.0361557f, -65.2463913f, -189.947052f), Vec3(-62.2636909f, 28.7078629f, 29.5363789f),
                        Vec3(24.498127f, -21.1805248f, -22.7364216f), Vec3(24.4981422f, -21.1805439f, -22.7363758f)};
    cases[0].rays = {{Vec3(29.0731163f, -22.4006271f, -182.546204f), Vec3(0, 0, 1)},
                     {Vec3(-63.6487083f, 29.5042534f, 29.3315887f), Vec3(0, 0, 1)}};
    cases[0].hits = 0;
    cases[1].name = "whole span";
    for (int f = 0; f < 4096; ++f) {
        const float d = r.Next(0, 0.01f);
        cases[1].corners.insert(cases[1].corners.end(), {Vec3(-50, -50, -50 + d), Vec3(50, 50, 50 - d),
                                                         Vec3(r.Next(-50, 50), r.Next(-50, 50), r.Next(-50, 50))});
        if (f < 60) {
            const Vec3 d = axes[f % 6];
            cases[1].rays.push_back({Vec3(r.Next(-50, 50), r.Next(-50, 50), r.Next(-50, 50)) - d * 0.5f, d});
        }
    }
    cases[1].inReach = 1;
    cases[2].name = "grazed";
    cases[2].corners = {Vec3(-4.72552443f, 0.119284749f, -4.85628033f), Vec3(-4.5003953f, -0.3616907f, 5.40278864f),
                        Vec3(4.4566102f, 0.176586866f, -4.39479256f)};
    cases[2].rays = {{Vec3(-113.923477f, -5.43172026f, 93.1083527f), Vec3(0.741402388f, 0.0379172303f, -0.669988632f)}};
    cases[2].hits = 0;
    cases[3].name = "grazed from 3.2 units, hit 0.18 along the ray, box entered far later";
    cases[3].corners = {Vec3(12.3609276f, 1.38574791f, 8.50650024f), Vec3(7.02963829f, -0.925984621f, 5.79284668f),
                        Vec3(-17.1288509f, 1.59928942f, -19.7891617f)};
    cases[3].rays = {{Vec3(-16.0235882f, 2.60572982f, -19.7652988f), Vec3(-0.637228012f, -0.75323832f, 0.163010374f)}};
    cases[3].hits = 0;
    // The face searched first holds a hit 5 away; the other one's box, a hair nearer, could
    // still hold a nearer hit, and does.
    cases[4].name = "a nearer face a hair in front of the first found";
    cases[4].corners = FacingMinusZ(5);
    for (const Vec3& c : FacingMinusZ(4.999f)) cases[4].corners.push_back(c);
    cases[4].rays = {{Vec3(0, 0, 0), Vec3(0, 0, 1)}};
    cases[4].hits = 1;
    // From 10000 units off the float distance 10000.0004 rounds to the reach, 10000, though the
    // face's box begins beyond it.
    cases[5].name = "a reach the float distance rounds to";
    cases[5].corners = FacingMinusZ(0.0004f);
    cases[5].rays = {{Vec3(0.1f, 0.2f, -10000), Vec3(0, 0, 1)}};
    cases[5].reach = 10000;
    cases[5].inReach = 1;
    for (const Case& c : cases) {
        CMesh mesh;
        MakeMesh(&mesh, c.corners);
        C3DObject node;
        node.Create(&mesh, 0, 0, 0, 1);
        // From the root, then as the battle searches its ground: from a cell's start nodes.
        for (int cells = 0; cells < 2; ++cells) {
            SCOPED_TRACE(std::string(c.name) + (cells ? ", from the cells" : ""));
            if (cells) mesh.BuildFaceCells();
            PickCheck check;
            for (const Ray& ray : c.rays) ASSERT_NO_FATAL_FAILURE(check.Ray(node, ray.o, ray.d, c.reach));
            EXPECT_GE(check.inReach, c.inReach);
            if (c.hits >= 0) {
                EXPECT_EQ(check.hits, c.hits);
            }
        }
    }
}

// The models picks must search fast, each with rays of every kind the battle casts: downward
// from above, level across the model from outside, short level ones from within (a robot's
// wall test, reach 0.5), slanted ones, and ones grazing a face (along its plane, a hair off it,
// from well away). On rays that graze nothing, the face test also agrees with the bare triangle
// test, so the boxes refuse no true hit.
TEST(Node, PicksOnDetailedModelsAnswerAsTheLoop) {
    struct Model {
        const char* name;
        CMesh mesh;
    };
    Model models[4] = {{"terrain", {}}, {"sphere", {}}, {"railing", {}}, {"planks", {}}};
    ASSERT_EQ(models[0].mesh.TakeData(TerrainModel().Triangles(), 0, 1), 1);
    ASSERT_EQ(models[1].mesh.CreateSphere(10, 256, 128, 1, 1, 1, 1), 1);
    ASSERT_EQ(models[2].mesh.TakeData(RailingModel().Triangles(), 0, 1), 1);
    ASSERT_EQ(models[3].mesh.TakeData(PlanksModel().Triangles(), 0, 1), 1);
    for (Model& m : models) {
        SCOPED_TRACE(m.name);
        const CMesh& mesh = m.mesh;
        C3DObject node;
        m.mesh.BuildFaceCells();  // searched as the battle searches its ground
        node.Create(&m.mesh, 0, 0, 0, 1);
        const Vec3 lo = mesh.GetBoxMin(), hi = mesh.GetBoxMax();
        PickDraws r;
        PickCheck check;
        int plainHits = 0;
        for (int k = 0; k < 240; ++k) {
            const Vec3 inside(r.Next(lo.x, hi.x), r.Next(lo.y, hi.y), r.Next(lo.z, hi.z));
            const Vec3 level[4] = {Vec3(1, 0, 0), Vec3(-1, 0, 0), Vec3(0, 0, 1), Vec3(0, 0, -1)};
            const Vec3 d = level[k % 4];
            Vec3 o, dir;
            float reach = 4.0f;
            bool grazing = false;
            switch (k % 6) {
                case 0:  // down
                    o = Vec3(inside.x, hi.y + 1, inside.z), dir = Vec3(0, -1, 0);
                    break;
                case 1:  // level, across from outside
                    o = inside - d * (Vec3Length(hi - lo) + 1), dir = d;
                    break;
                case 2:  // a wall test
                    o = inside, dir = d, reach = 0.5f;
                    break;
                case 3:  // slanted
                    o = inside + Vec3(r.Next(-5, 5), r.Next(1, 5), r.Next(-5, 5));
                    dir = Vec3(r.Next(-1, 1), r.Next(-1, 0), r.Next(-1, 1));
                    break;
                case 4: {  // at a face's corner, slanted, where a box held tight to its corners ends
                    const int f = int(r.Next(0, float(mesh.GetFaceCount()))) % mesh.GetFaceCount();
                    const uint32_t* idx = mesh.GetIndices() + f * 3;
                    const Vec3 a = mesh.GetVertexPosition(idx[0]), b = mesh.GetVertexPosition(idx[1]);
                    const Vec3 c = mesh.GetVertexPosition(idx[2]);
                    const Vec3 n = Vec3Normalize(Vec3Cross(b - a, c - a));
                    const Vec3 corner = k % 4 == 0 ? a : k % 4 == 1 ? b : c;
                    o = corner + n * r.Next(1, 5) + Vec3(r.Next(-1, 1), r.Next(-1, 1), r.Next(-1, 1));
                    dir = corner - o;
                    break;
                }
                default: {  // along a face's plane, a hair off it
                    const int f = int(r.Next(0, float(mesh.GetFaceCount()))) % mesh.GetFaceCount();
                    const uint32_t* idx = mesh.GetIndices() + f * 3;
                    const Vec3 a = mesh.GetVertexPosition(idx[0]), b = mesh.GetVertexPosition(idx[1]);
                    const Vec3 c = mesh.GetVertexPosition(idx[2]);
                    const Vec3 n = Vec3Normalize(Vec3Cross(b - a, c - a));
                    const Vec3 at = a + (b - a) * r.Next(0, 0.5f) + (c - a) * r.Next(0, 0.5f);
                    dir = Vec3Normalize(Vec3Normalize(b - a) * r.Next(-1, 1) + Vec3Normalize(c - a) * r.Next(-1, 1)) -
                          n * r.Next(-1e-5f, 1e-5f);
                    o = at - dir * r.Next(0.1f, 60) + n * r.Next(-1e-4f, 1e-4f);
                    grazing = true;
                }
            }
            ASSERT_NO_FATAL_FAILURE(check.Ray(node, o, dir, reach));
            if (grazing) continue;
            Vec3 plain, hit;
            const int found = LoopPick(mesh, o, dir, &plain);
            EXPECT_EQ(PickEveryFace(node, o, dir, &hit), found) << PickCheck::Where(o, dir);
            if (found) {
                EXPECT_EQ(hit, plain) << PickCheck::Where(o, dir);
            }
            plainHits += found;
        }
        EXPECT_GT(plainHits, 40);
        EXPECT_GT(check.inReach, 20);
    }
}

TEST(Node, PickingThroughParentedScaledRotatedNode) {
    // A triangle at mesh z = 1 facing -Z; the node turned a quarter about Y faces -X instead,
    // scaled by 2 under a parent at (10, 0, 0): the face sits at world x = 10 + 2.
    CMesh mesh;
    MakeMesh(&mesh, FacingMinusZ(1));
    C3DObject parent, node;
    parent.SetLocalPosition(10, 0, 0);
    node.m_parent = &parent;
    node.Create(&mesh, 0, 0, 0, 2);
    node.RotateY(kHalfPi);
    Vec3 pos = node.GetWorldPosition();
    ExpectVec(pos, 10, 0, 0);
    Vec3 origin = Vec3(0, 0, 0) - pos;  // world point (0, 0, 0) relative to the node
    Vec3 hit;
    ASSERT_EQ(node.PickMesh(origin, Vec3(1, 0, 0), &hit), 1);
    ExpectVec(hit, 0, 0, 2);  // along the node's own Z, in world units
    EXPECT_EQ(node.PickMesh(origin, Vec3(-1, 0, 0), &hit), 0);
    // Only the node's own scale applies to the hit: under a parent of scale 2 the face at mesh
    // z = 1 is reported at 1 (parent units), though it lies 2 world units ahead.
    C3DObject bigParent, inner;
    bigParent.SetScale(2);
    inner.m_parent = &bigParent;
    inner.Create(&mesh, 0, 0, 0, 1);
    ASSERT_EQ(inner.PickMesh(Vec3(0, 0, -5), Vec3(0, 0, 1), &hit), 1);
    ExpectVec(hit, 0, 0, 1);

    // The box and the sphere follow the same transform.
    EXPECT_EQ(node.RayHitsBox(Vec3(0, 0, 0), Vec3(1, 0, 0)), 1);
    EXPECT_EQ(node.RayHitsBox(Vec3(0, 4.5f, 0), Vec3(1, 0, 0)), 0);  // above the box, scaled to y 4
    Vec3 c;
    float r;
    node.GetBoundingSphere(&c, &r);
    EXPECT_NEAR(r, mesh.GetSphereRadius() * 2, 1e-5f);
    ExpectVec(c, 10 + 2 * mesh.GetSphereCenter().z, 2 * mesh.GetSphereCenter().y, 0);
    EXPECT_EQ(node.RayHitsSphere(Vec3(0, 0, 0), Vec3(1, 0, 0)), 1);
    EXPECT_EQ(node.RayHitsSphere(Vec3(0, 0, 0), Vec3(-1, 0, 0)), 0);
}

TEST(Node, TriangleAndBoxHelpers) {
    float t, u, v;
    ASSERT_EQ(IntersectTriangle(Vec3(0, 0, -1), Vec3(0, 0, 1), Vec3(0, 0, 0), Vec3(0, 1, 0), Vec3(1, 0, 0), &t, &u, &v), 1);
    EXPECT_NEAR(t, 1.0f, 1e-6f);
    EXPECT_EQ(IntersectTriangle(Vec3(0, 0, -1), Vec3(0, 0, 1), Vec3(0, 0, 0), Vec3(1, 0, 0), Vec3(0, 1, 0), &t, &u, &v), 0);
    EXPECT_EQ(IntersectTriangle(Vec3(2, 2, -1), Vec3(0, 0, 1), Vec3(0, 0, 0), Vec3(0, 1, 0), Vec3(1, 0, 0), &t, &u, &v), 0);

    C3DObject box;
    box.SetBox(-1, -1, -1, 1, 1, 1);
    Vec3 corners[8], pts[8];
    box.GetWorldBox(corners);
    for (Vec3& p : pts) p = Vec3(5, 5, 5);
    EXPECT_EQ(BoxContainsAnyPoint(corners, pts), 0);
    pts[6] = Vec3(0.5f, -0.5f, 0.9f);
    EXPECT_EQ(BoxContainsAnyPoint(corners, pts), 1);
    pts[6] = Vec3(1, 1, 1);  // on the surface counts
    EXPECT_EQ(BoxContainsAnyPoint(corners, pts), 1);
}

}  // namespace
