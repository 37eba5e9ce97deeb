// Transform nodes: hierarchies, the transform and orientation operations, picking and the
// mended edge cases (zero scale, parallel up vectors, cycles, far hits, singular matrices).
#include "camera.h"
#include "graphics.h"
#include "mesh.h"
#include "node.h"
#include "xfile_reader.h"

#include <gtest/gtest.h>

#include <cmath>

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
