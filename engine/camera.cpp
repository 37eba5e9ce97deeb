// The camera over the engine's view matrix, and the engine's vector helpers.
#include "camera.h"

#include "graphics.h"
#include "node.h"

namespace {
constexpr double kAngleBase = 1.570795;  // the heading of +X; deliberately not pi/2
}

// ---- Aiming and moving ----

void SetViewLookAt(const Vec3& eye, const Vec3& target, const Vec3& up) {
    g_matView = MatrixLookAtLH(eye, target, up);
}

void SetViewLookAlong(const Vec3& eye, const Vec3& dir, const Vec3& up) {
    g_matView = MatrixLookAtLH(eye, eye + dir, up);
}

void SetViewTarget(const Vec3& target) { g_matView = MatrixLookAtLH(GetCameraPosition(), target, Vec3(0, 1, 0)); }

void SetViewPosition(const Vec3& eye) {
    g_matView.m[3][0] = -Vec3Dot(GetCameraRight(), eye);
    g_matView.m[3][1] = -Vec3Dot(GetCameraUp(), eye);
    g_matView.m[3][2] = -Vec3Dot(GetCameraDirection(), eye);
}

void RotateViewX(float angle) { g_matView = g_matView * MatrixRotationX(-angle); }
void RotateViewY(float angle) { g_matView = g_matView * MatrixRotationY(-angle); }
void RotateViewZ(float angle) { g_matView = g_matView * MatrixRotationZ(-angle); }

void RotateViewAxis(float angle) { g_matView = g_matView * MatrixRotationAxis(MatrixRow(g_matView, 1), angle); }

void TranslateView(const Vec3& v) { g_matView = g_matView * MatrixTranslation(-v.x, -v.y, -v.z); }
void TranslateViewInPlace(const Vec3& v) { TranslateView(v); }

// ---- Reading and mapping ----

Vec3 GetCameraPosition() {
    const Mat4& m = g_matView;
    float tx = m.m[3][0], ty = m.m[3][1], tz = m.m[3][2];
    return Vec3(-(tx * m.m[0][0] + ty * m.m[0][1] + tz * m.m[0][2]),
                -(tx * m.m[1][0] + ty * m.m[1][1] + tz * m.m[1][2]),
                -(tx * m.m[2][0] + ty * m.m[2][1] + tz * m.m[2][2]));
}

Vec3 GetCameraDirection() { return Vec3(g_matView.m[0][2], g_matView.m[1][2], g_matView.m[2][2]); }
Vec3 GetCameraUp() { return Vec3(g_matView.m[0][1], g_matView.m[1][1], g_matView.m[2][1]); }
Vec3 GetCameraRight() { return Vec3(g_matView.m[0][0], g_matView.m[1][0], g_matView.m[2][0]); }

Vec3 WorldToScreen(const Vec3& p) {
    Vec3 s = Vec3TransformCoord(p, g_matViewProjScreen);
    s.z = Vec3Dot(p - GetCameraPosition(), GetCameraDirection()) >= 0 ? 0.0f : -1.0f;
    return s;
}

Vec3 ScreenToWorld(const Vec3& p) { return Vec3TransformCoord(p, g_matInvViewProjScreen); }
Vec3 TransformByView(const Vec3& p) { return Vec3TransformCoord(p, g_matView); }
Vec3 TransformByMatrix(const Vec3& p, const Mat4& m) { return Vec3TransformCoord(p, m); }

// ---- Vector helpers ----

float GetDistance(float x1, float y1, float z1, float x2, float y2, float z2) {
    double dx = static_cast<double>(x1 - x2) * 1000.0;
    double dy = static_cast<double>(y1 - y2) * 1000.0;
    double dz = static_cast<double>(z1 - z2) * 1000.0;
    double d = MathSqrt(dx * dx + dy * dy + dz * dz);
    return static_cast<float>((d < 0 ? -d : d) / 1000.0);
}

float GetDistanceVec(const Vec3& a, const Vec3& b) { return Vec3Length(a - b); }

float GetAngle2D(const Vec3& v) {
    double len = MathSqrt(static_cast<double>(v.x) * v.x + static_cast<double>(v.z) * v.z);
    if (len == 0) return static_cast<float>(kAngleBase);  // no heading: taken as +X
    double t = MathAcos(v.x / len);
    if (static_cast<float>(MathAcos(v.z / len)) >= kAngleBase) return static_cast<float>(kAngleBase + t);
    return static_cast<float>(kAngleBase - t);
}

float GetAngle2D(float a, float b) {
    double len = MathSqrt(static_cast<double>(a) * a + static_cast<double>(b) * b);
    if (len == 0) return static_cast<float>(kAngleBase);
    double t = MathAcos(a / len);
    return static_cast<float>((b > 0 ? -t : t) + kAngleBase);
}

float GetAngleFromX(float a, float b) {
    float len = SqrtF(a * a + b * b);
    if (len == 0) return 0.0f;
    return AcosF(a / len);
}

Vec3 TransformToLookAtSpace(const Vec3& dir, const Vec3& eye, const Vec3& p) {
    return TransformByMatrix(p, MatrixLookAtLH(eye, eye + dir, Vec3(0, 1, 0)));
}

Vec3 TransformToLookAtSpaceV(const Vec3& dir, const Vec3& eye, Vec3 p) {
    return Vec3TransformCoord(p, MatrixLookAtLH(eye, eye + dir, Vec3(0, 1, 0)));
}

Vec3 GetRelativePosition(C3DObject observer, C3DObject target) {
    return TransformToLookAtSpace(observer.GetLocalAxisZ(), observer.GetLocalPosition(), target.GetLocalPosition());
}
