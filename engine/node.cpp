// The transform node: elementary matrices multiplied into the local matrix, world queries by
// walking the parent chain, and picking against the mesh's triangles kept in memory.
#include "node.h"

#include "camera.h"
#include "mesh.h"

#include <cfloat>
#include <cmath>

namespace {

// The chain from this node up to its root, at most kMaxNodeDepth nodes; a parent already in
// the chain (a cycle) ends it as if the node before were a root.
int CollectChain(const C3DObject* node, const C3DObject* chain[kMaxNodeDepth]) {
    int n = 0;
    while (node && n < kMaxNodeDepth) {
        for (int i = 0; i < n; ++i)
            if (chain[i] == node) return n;
        chain[n++] = node;
        node = node->m_parent;
    }
    return n;
}

// part(node) x part(parent) x ... x part(root), the root's product first: the same order as the
// recursive rule "local x parent's world".
template <typename Part>
auto ComposeChain(const C3DObject* node, Part part) {
    const C3DObject* chain[kMaxNodeDepth];
    int n = CollectChain(node, chain);
    auto r = part(chain[n - 1]);
    for (int i = n - 2; i >= 0; --i) r = part(chain[i]) * r;
    return r;
}

// A unit vector perpendicular to n (unit): n crossed with the world axis least aligned with it.
Vec3 Perpendicular(const Vec3& n) {
    float ax = n.x < 0 ? -n.x : n.x, ay = n.y < 0 ? -n.y : n.y, az = n.z < 0 ? -n.z : n.z;
    Vec3 other = ay <= ax && ay <= az ? Vec3(0, 1, 0) : (az <= ax ? Vec3(0, 0, 1) : Vec3(1, 0, 0));
    return Vec3Normalize(Vec3Cross(other, n));
}

// normalise(a x b); when a and b are parallel (or a is zero) a perpendicular of b stands in,
// so a frame built from a direction parallel to its up vector never collapses.
Vec3 CrossOrPerpendicular(const Vec3& a, const Vec3& b) {
    Vec3 x = Vec3Normalize(Vec3Cross(a, b));
    return x != Vec3() ? x : Perpendicular(b);
}

GfxMaterial MakeShadowMaterial() {
    GfxMaterial m;
    m.diffuse = Color4(0, 0, 0, 0.5f);
    return m;
}

GfxMaterial g_shadowMaterial = MakeShadowMaterial();

}  // namespace

C3DObject::C3DObject() : m_matrix(Mat4::Identity()) {}

void C3DObject::SetShadowColor(float r, float g, float b, float a) { g_shadowMaterial.diffuse = Color4(r, g, b, a); }
const GfxMaterial& C3DObject::GetShadowMaterial() { return g_shadowMaterial; }

// ---- Setup ----

void C3DObject::Create(CMesh* mesh, float x, float y, float z, float s) {
    m_mesh = mesh;
    m_matrix = MatrixScaling(s, s, s);
    m_scale = s;
    SetLocalPosition(x, y, z);
    m_visible = 1;
    if (mesh) {
        const Vec3& lo = mesh->GetBoxMin();
        const Vec3& hi = mesh->GetBoxMax();
        SetBox(lo.x, lo.y, lo.z, hi.x, hi.y, hi.z);
    } else {
        SetBox(0, 0, 0, 0, 0, 0);
    }
}

void C3DObject::SetBox(float minX, float minY, float minZ, float maxX, float maxY, float maxZ) {
    for (int i = 0; i < 8; ++i)
        m_box[i] = Vec3(i & 4 ? minX : maxX, i & 2 ? minY : maxY, i & 1 ? minZ : maxZ);
}

void C3DObject::SetMatrix(const Mat4& m) {
    m_matrix = m;
    m_scale = 1.0f;
}

// ---- Transforms ----

void C3DObject::SetScale(float s) {
    if (m_scale == 0) {
        // A zero scale left no axes to rescale: the orientation is gone, start from unit axes.
        Mat4 unit = Mat4::Identity();
        for (int i = 0; i < 3; ++i)
            for (int j = 0; j < 4; ++j) m_matrix.m[i][j] = unit.m[i][j];
        m_scale = 1.0f;
    }
    float f = s / m_scale;
    PreMultiply(MatrixScaling(f, f, f));
    m_scale = s;
}

void C3DObject::Scale(float f) {
    PreMultiply(MatrixScaling(f, f, f));
    m_scale *= f;
}

void C3DObject::SetPosition(float x, float y, float z) {
    if (m_parent) {
        float t = m_parent->GetTotalScale();
        if (t != 0) {
            x /= t;
            y /= t;
            z /= t;
        }
    }
    SetLocalPosition(x, y, z);
}

void C3DObject::SetLocalPosition(float x, float y, float z) { MatrixSetRow(&m_matrix, 3, Vec3(x, y, z)); }

// With a zero scale the axes are zero: a move along them is no move (and v / 0 is skipped).
void C3DObject::Translate(const Vec3& v) {
    if (m_scale == 0) return;
    Vec3 w = v / m_scale;
    PreMultiply(MatrixTranslation(w.x, w.y, w.z));
}

void C3DObject::TranslateParent(const Vec3& v) {
    if (m_scale == 0) return;
    Vec3 w = v / m_scale;
    PostMultiply(MatrixTranslation(w.x, w.y, w.z));
}

void C3DObject::TranslateWorld(const Vec3& v) {
    float t = GetTotalScale();
    if (t == 0) return;
    Vec3 w = v / t;
    PreMultiply(MatrixTranslation(w.x, w.y, w.z));
}

void C3DObject::RotateX(float angle) { PreMultiply(MatrixRotationX(angle)); }
void C3DObject::RotateY(float angle) { PreMultiply(MatrixRotationY(angle)); }
void C3DObject::RotateZ(float angle) { PreMultiply(MatrixRotationZ(angle)); }
void C3DObject::RotateXParent(float angle) { PostMultiply(MatrixRotationX(angle)); }
void C3DObject::RotateYParent(float angle) { PostMultiply(MatrixRotationY(angle)); }
void C3DObject::RotateZParent(float angle) { PostMultiply(MatrixRotationZ(angle)); }
void C3DObject::RotateAxis(const Vec3& axis, float angle) { PreMultiply(MatrixRotationAxis(axis, angle)); }

// ---- Orientation ----

void C3DObject::SetAxes(const Vec3& x, const Vec3& y, const Vec3& z) {
    const Vec3 rows[3] = {x, y, z};
    for (int i = 0; i < 3; ++i) {
        MatrixSetRow(&m_matrix, i, rows[i]);
        m_matrix.m[i][3] = 0;
    }
    m_matrix.m[3][3] = 1;
    float s = m_scale;
    m_scale = 1.0f;
    SetScale(s);
}

void C3DObject::SetOrientation(const Vec3& dir, const Vec3& up) {
    Vec3 z = Vec3Normalize(dir);
    if (z == Vec3()) return;  // no direction: the node keeps its orientation
    Vec3 x = CrossOrPerpendicular(up, z);
    SetAxes(x, Vec3Normalize(Vec3Cross(z, x)), z);
}

void C3DObject::SetOrientationUp(const Vec3& dir, const Vec3& up) {
    Vec3 y = Vec3Normalize(up);
    if (y == Vec3()) return;
    Vec3 x = Vec3Normalize(Vec3Cross(y, dir));
    if (x == Vec3()) x = Perpendicular(y);
    SetAxes(x, y, Vec3Normalize(Vec3Cross(x, y)));
}

void C3DObject::LookAt(const Vec3& point) { SetOrientation(point - GetWorldPosition(), Vec3(0, 1, 0)); }

void C3DObject::SetYaw(float angle) {
    Mat4 r = MatrixRotationYawPitchRoll(angle, 0, 0);
    SetAxes(MatrixRow(r, 0), MatrixRow(r, 1), MatrixRow(r, 2));
}

void C3DObject::TurnToward(const Vec3& point) {
    Vec3 d = point - GetWorldPosition();
    float angle;
    if (d.x > 0)
        angle = kHalfPi - AtanF(d.z / d.x);
    else if (d.x < 0)
        angle = -AtanF(d.z / d.x) - kHalfPi;
    else
        angle = d.z >= 0 ? 0.0f : -kPi;  // straight ahead or behind
    SetYaw(angle);
}

void C3DObject::FaceCameraY() { TurnToward(GetCameraPosition()); }

void C3DObject::FaceCameraZ() {
    Vec3 d = GetCameraPosition() - GetWorldPosition();
    float angle;
    if (d.x > 0)
        angle = AtanF(d.y / d.x) - kHalfPi;
    else if (d.x < 0)
        angle = AtanF(d.y / d.x) + kHalfPi;
    else
        angle = d.y >= 0 ? 0.0f : kPi;  // eye straight above keeps +Y, straight below turns it over
    Mat4 r = MatrixRotationZ(angle);
    SetAxes(MatrixRow(r, 0), MatrixRow(r, 1), MatrixRow(r, 2));
}

void C3DObject::SetRotationQuaternion(const Quat& q) {
    Mat4 r = MatrixRotationQuaternion(q);
    SetAxes(MatrixRow(r, 0), MatrixRow(r, 1), MatrixRow(r, 2));
}

Quat C3DObject::GetRotationQuaternion() const {
    if (m_scale == 0) return QuatIdentity();
    Mat4 unscaled = m_matrix;
    for (int i = 0; i < 3; ++i) MatrixSetRow(&unscaled, i, MatrixRow(m_matrix, i) / m_scale);
    return QuatRotationMatrix(unscaled);
}

// ---- World queries ----

Mat4 C3DObject::GetWorldMatrix() const {
    return ComposeChain(this, [](const C3DObject* o) { return o->m_matrix; });
}

float C3DObject::GetTotalScale() const {
    return ComposeChain(this, [](const C3DObject* o) { return o->m_scale; });
}

Vec3 C3DObject::GetScaledPosition() const {
    if (!m_parent) return GetLocalPosition();
    return GetLocalPosition() * m_parent->GetTotalScale();
}

void C3DObject::GetWorldBox(Vec3 out[8]) const {
    Mat4 w = GetWorldMatrix();
    for (int i = 0; i < 8; ++i) out[i] = Vec3TransformCoord(m_box[i], w);
}

void C3DObject::GetBoundingSphere(Vec3* centre, float* radius) const {
    if (!m_mesh) {
        *centre = GetWorldPosition();
        *radius = 0;
        return;
    }
    // The mesh's sphere carried through the whole transform: rotation and every scale apply.
    *centre = Vec3TransformCoord(m_mesh->GetSphereCenter(), GetWorldMatrix());
    float s = GetTotalScale();
    *radius = m_mesh->GetSphereRadius() * (s < 0 ? -s : s);
}

int C3DObject::RayHitsBox(const Vec3& origin, const Vec3& dir) const {
    // The ray in mesh coordinates, against the box as the mesh measured it.
    Mat4 inv;
    if (!MatrixInverse(&inv, GetWorldMatrix())) return 0;
    return BoxBoundProbe(m_box[7], m_box[0], Vec3TransformCoord(origin, inv), Vec3TransformNormal(dir, inv));
}

int C3DObject::RayHitsSphere(const Vec3& origin, const Vec3& dir) const {
    Vec3 c;
    float r;
    GetBoundingSphere(&c, &r);
    return SphereBoundProbe(c, r, origin, dir);
}

static int PassesScreenTest(const Vec3& s) { return s.z >= 0 && s.y >= 0 && s.y <= 480 && s.x >= 0 && s.x <= 640; }

int C3DObject::IsOnScreen() const {
    if (PassesScreenTest(WorldToScreen(GetWorldPosition()))) return 1;
    Vec3 box[8];
    GetWorldBox(box);
    for (int i = 0; i < 8; ++i)
        if (PassesScreenTest(WorldToScreen(box[i]))) return 1;
    return 0;
}

// ---- Free functions ----

int IntersectTriangle(const Vec3& origin, const Vec3& dir, const Vec3& a, const Vec3& b, const Vec3& c,
                      float* t, float* u, float* v) {
    Vec3 e1 = b - a, e2 = c - a;
    Vec3 p = Vec3Cross(dir, e2);
    float det = Vec3Dot(e1, p);
    if (det < 0.0001f) return 0;
    Vec3 s = origin - a;
    float uu = Vec3Dot(s, p);
    if (uu < 0 || uu > det) return 0;
    Vec3 q = Vec3Cross(s, e1);
    float vv = Vec3Dot(dir, q);
    if (vv < 0 || uu + vv > det) return 0;
    *t = Vec3Dot(e2, q) / det;
    *u = uu / det;
    *v = vv / det;
    return 1;
}

int BoxContainsAnyPoint(const Vec3 corners[8], const Vec3 points[8]) {
    static const int kTriples[6][3] = {{0, 1, 2}, {2, 3, 7}, {4, 6, 7}, {0, 4, 5}, {0, 2, 6}, {1, 5, 7}};
    Plane planes[6];
    for (int i = 0; i < 6; ++i)
        planes[i] = PlaneFromPoints(corners[kTriples[i][0]], corners[kTriples[i][1]], corners[kTriples[i][2]]);
    for (int p = 0; p < 8; ++p) {
        int inside = 1;
        for (int i = 0; i < 6 && inside; ++i)
            if (PlaneDotCoord(planes[i], points[p]) < 0) inside = 0;
        if (inside) return 1;
    }
    return 0;
}



