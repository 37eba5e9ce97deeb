// C3DObject: the engine's scene-graph node. One mesh placed by a 4 x 4 matrix relative to an
// optional parent node; world queries walk the parent chain each time (nothing is cached), so
// nodes are plain values that the game copies and keeps in arrays.
#pragma once

#include "math_ops.h"
#include "sys_graphics.h"

#include <cfloat>

class CMesh;
class CTexture;

// A parent chain longer than this is taken as a cycle: the walk stops there, as at a root.
constexpr int kMaxNodeDepth = 64;

class C3DObject {
public:
    C3DObject();
    C3DObject(const C3DObject&) = default;
    C3DObject& operator=(const C3DObject&) = default;
    virtual ~C3DObject() = default;

    // ---- Setup ----
    void Create(CMesh* mesh, float x, float y, float z, float s);
    void SetBox(float minX, float minY, float minZ, float maxX, float maxY, float maxZ);
    void SetVisible(int flag) { m_visible = flag; }
    void SetMatrix(const Mat4& m);  // scale := 1
    void GetMatrix(Mat4* out) const { *out = m_matrix; }
    void SetAlpha(float alpha) { m_alpha = alpha; }
    static void SetShadowColor(float r, float g, float b, float a);
    static const GfxMaterial& GetShadowMaterial();

    // ---- Transforms: "pre" turns about the node's own axes, "Parent" about the parent's ----
    void SetScale(float s);
    void Scale(float f);
    void SetPosition(float x, float y, float z);       // divided by the parent's total scale
    void SetLocalPosition(float x, float y, float z);  // row 3 as given
    void Translate(const Vec3& v);
    void TranslateParent(const Vec3& v);
    void TranslateWorld(const Vec3& v);
    void RotateX(float angle);
    void RotateY(float angle);
    void RotateZ(float angle);
    void RotateXParent(float angle);
    void RotateYParent(float angle);
    void RotateZParent(float angle);
    void RotateAxis(const Vec3& axis, float angle);

    // ---- Orientation (position and scale kept) ----
    void SetOrientation(const Vec3& dir, const Vec3& up);    // Z along dir
    void SetOrientationUp(const Vec3& dir, const Vec3& up);  // Y along up
    void LookAt(const Vec3& point);
    void TurnToward(const Vec3& point);
    void FaceCameraY();
    void FaceCameraZ();
    void SetRotationQuaternion(const Quat& q);
    Quat GetRotationQuaternion() const;

    // ---- World queries ----
    Mat4 GetWorldMatrix() const;
    float GetTotalScale() const;
    Vec3 GetLocalPosition() const { return MatrixRow(m_matrix, 3); }
    Vec3 GetLocalAxisX() const { return MatrixRow(m_matrix, 0); }
    Vec3 GetLocalAxisY() const { return MatrixRow(m_matrix, 1); }
    Vec3 GetLocalAxisZ() const { return MatrixRow(m_matrix, 2); }
    Vec3 GetWorldPosition() const { return MatrixRow(GetWorldMatrix(), 3); }
    Vec3 GetWorldAxisX() const { return MatrixRow(GetWorldMatrix(), 0); }
    Vec3 GetWorldAxisY() const { return MatrixRow(GetWorldMatrix(), 1); }
    Vec3 GetWorldAxisZ() const { return MatrixRow(GetWorldMatrix(), 2); }
    Vec3 GetScaledPosition() const;
    void GetWorldBox(Vec3 out[8]) const;
    void GetBoundingSphere(Vec3* centre, float* radius) const;
    int RayHitsBox(const Vec3& origin, const Vec3& dir) const;
    int RayHitsSphere(const Vec3& origin, const Vec3& dir) const;
    // Origin relative to the node's world position; the hit point is along the node's axes
    // from its position, times the node's own scale (the parent's is not applied, so for a
    // root it is in world units). Optional triangle: the hit face's corners (mesh space).
    // With a reach (origin's units), faces lying wholly farther than it along the ray may be
    // left out: the answer is the unlimited pick's whenever that one's hit lies within the
    // reach measured along the ray.
    int PickMesh(const Vec3& origin, const Vec3& dir, Vec3* hit, Vec3* triangle = nullptr,
                 float reach = FLT_MAX) const;
    int IsOnScreen() const;

    // ---- Drawing (only with a mesh and while visible) ----
    virtual void Draw();
    void DrawWithTexture();
    void DrawWithAlpha();
    void DrawAddAlpha();
    void DrawShadow(const Mat4& shadow);

    // Plain fields the game sets directly.
    CMesh* m_mesh = nullptr;
    C3DObject* m_parent = nullptr;
    Mat4 m_matrix;
    float m_scale = 1.0f;
    float m_alphaDelta = 0.0f;
    float m_alpha = 0.5f;
    CTexture* m_texture = nullptr;
    int m_visible = 0;
    Vec3 m_box[8];  // corner i: x from the minimum when bit 2 is set, y bit 1, z bit 0

private:
    void PreMultiply(const Mat4& e) { m_matrix = e * m_matrix; }
    void PostMultiply(const Mat4& e) { m_matrix = m_matrix * e; }
    void SetAxes(const Vec3& x, const Vec3& y, const Vec3& z);
    void SetYaw(float angle);
};

// Ray against one triangle (front faces only); t, u, v of the hit when 1.
int IntersectTriangle(const Vec3& origin, const Vec3& dir, const Vec3& a, const Vec3& b, const Vec3& c,
                      float* t, float* u, float* v);
// The loop over every face with the face test C3DObject::PickMesh uses: what a pick answers,
// found the slow way, for checks and benchmarks.
int PickEveryFace(const C3DObject& node, const Vec3& origin, const Vec3& dir, Vec3* hit, Vec3* triangle = nullptr);
// 1 when any of the eight points lies inside the box of eight corners (corner order above).
int BoxContainsAnyPoint(const Vec3 corners[8], const Vec3 points[8]);
