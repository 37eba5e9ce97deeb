// Vectors, planes and bounding volumes. A zero vector normalises to zero, never to NaN.
#include "math_ops.h"

#include <cfloat>
#include <cmath>
#include <cstring>

float Vec3LengthSq(const Vec3& v) { return v.x * v.x + v.y * v.y + v.z * v.z; }
float Vec3Length(const Vec3& v) { return SqrtF(Vec3LengthSq(v)); }
bool Vec3IsFinite(const Vec3& v) { return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z); }
float Vec3Dot(const Vec3& a, const Vec3& b) { return a.x * b.x + a.y * b.y + a.z * b.z; }

Vec3 Vec3Cross(const Vec3& a, const Vec3& b) {
    return Vec3(a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x);
}

void Vec3Cross(Vec3* out, const Vec3& a, const Vec3& b) { *out = Vec3Cross(a, b); }

Vec3 Vec3Normalize(const Vec3& v) {
    float len = Vec3Length(v);
    if (!(len > 0)) return Vec3();
    return Vec3(v.x / len, v.y / len, v.z / len);
}

Vec3 Vec3Lerp(const Vec3& a, const Vec3& b, float t) {
    return Vec3(a.x + (b.x - a.x) * t, a.y + (b.y - a.y) * t, a.z + (b.z - a.z) * t);
}

Vec4 Vec3Transform(const Vec3& v, const Mat4& m) {
    Vec4 r;
    r.x = v.x * m.m[0][0] + v.y * m.m[1][0] + v.z * m.m[2][0] + m.m[3][0];
    r.y = v.x * m.m[0][1] + v.y * m.m[1][1] + v.z * m.m[2][1] + m.m[3][1];
    r.z = v.x * m.m[0][2] + v.y * m.m[1][2] + v.z * m.m[2][2] + m.m[3][2];
    r.w = v.x * m.m[0][3] + v.y * m.m[1][3] + v.z * m.m[2][3] + m.m[3][3];
    return r;
}

Vec3 Vec3TransformCoord(const Vec3& v, const Mat4& m) {
    Vec4 r = Vec3Transform(v, m);
    // A point in the eye plane has w = 0: its projection is unbounded, so it stays undivided.
    if (r.w == 0) return Vec3(r.x, r.y, r.z);
    return Vec3(r.x / r.w, r.y / r.w, r.z / r.w);
}

Vec3 Vec3TransformNormal(const Vec3& v, const Mat4& m) {
    return Vec3(v.x * m.m[0][0] + v.y * m.m[1][0] + v.z * m.m[2][0],
                v.x * m.m[0][1] + v.y * m.m[1][1] + v.z * m.m[2][1],
                v.x * m.m[0][2] + v.y * m.m[1][2] + v.z * m.m[2][2]);
}

Vec3 MatrixRow(const Mat4& m, int row) { return Vec3(m.m[row][0], m.m[row][1], m.m[row][2]); }

void MatrixSetRow(Mat4* m, int row, const Vec3& v) {
    m->m[row][0] = v.x;
    m->m[row][1] = v.y;
    m->m[row][2] = v.z;
}

// ---- Planes ----

Plane PlaneFromPointNormal(const Vec3& point, const Vec3& normal) {
    Plane p;
    p.a = normal.x;
    p.b = normal.y;
    p.c = normal.z;
    p.d = -Vec3Dot(point, normal);
    return p;
}

Plane PlaneFromPoints(const Vec3& a, const Vec3& b, const Vec3& c) {
    return PlaneFromPointNormal(a, Vec3Normalize(Vec3Cross(b - a, c - a)));
}

Plane PlaneNormalize(const Plane& p) {
    float len = Vec3Length(Vec3(p.a, p.b, p.c));
    if (!(len > 0)) return Plane();
    Plane r;
    r.a = p.a / len;
    r.b = p.b / len;
    r.c = p.c / len;
    r.d = p.d / len;
    return r;
}

float PlaneDotCoord(const Plane& p, const Vec3& v) { return p.a * v.x + p.b * v.y + p.c * v.z + p.d; }

// ---- Bounding volumes ----

static Vec3 PositionAt(const void* vertices, int i, int stride) {
    float f[3];
    std::memcpy(f, static_cast<const unsigned char*>(vertices) + static_cast<long>(i) * stride, sizeof f);
    return Vec3(f[0], f[1], f[2]);
}

void ComputeBoundingBox(const void* vertices, int count, int stride, Vec3* min, Vec3* max) {
    *min = Vec3();
    *max = Vec3();
    if (!vertices || count <= 0) return;
    *min = *max = PositionAt(vertices, 0, stride);
    for (int i = 1; i < count; ++i) {
        Vec3 p = PositionAt(vertices, i, stride);
        if (p.x < min->x) min->x = p.x;
        if (p.y < min->y) min->y = p.y;
        if (p.z < min->z) min->z = p.z;
        if (p.x > max->x) max->x = p.x;
        if (p.y > max->y) max->y = p.y;
        if (p.z > max->z) max->z = p.z;
    }
}

void ComputeBoundingSphere(const void* vertices, int count, int stride, Vec3* centre, float* radius) {
    *centre = Vec3();
    *radius = 0;
    if (!vertices || count <= 0) return;
    Vec3 sum;
    for (int i = 0; i < count; ++i) sum += PositionAt(vertices, i, stride);
    *centre = sum / static_cast<float>(count);
    float r2 = 0;
    for (int i = 0; i < count; ++i) {
        float d2 = Vec3LengthSq(PositionAt(vertices, i, stride) - *centre);
        if (d2 > r2) r2 = d2;
    }
    *radius = SqrtF(r2);
}

int BoxBoundProbe(const Vec3& min, const Vec3& max, const Vec3& origin, const Vec3& dir) {
    const float o[3] = {origin.x, origin.y, origin.z}, d[3] = {dir.x, dir.y, dir.z};
    const float lo[3] = {min.x, min.y, min.z}, hi[3] = {max.x, max.y, max.z};
    float tNear = 0, tFar = FLT_MAX;
    for (int i = 0; i < 3; ++i) {
        if (d[i] == 0) {
            if (o[i] < lo[i] || o[i] > hi[i]) return 0;
            continue;
        }
        float t1 = (lo[i] - o[i]) / d[i], t2 = (hi[i] - o[i]) / d[i];
        if (t1 > t2) {
            float t = t1;
            t1 = t2;
            t2 = t;
        }
        if (t1 > tNear) tNear = t1;
        if (t2 < tFar) tFar = t2;
        if (tNear > tFar) return 0;
    }
    return 1;
}

int SphereBoundProbe(const Vec3& centre, float radius, const Vec3& origin, const Vec3& dir) {
    Vec3 oc = origin - centre;
    float c = Vec3LengthSq(oc) - radius * radius;
    if (c <= 0) return 1;
    float a = Vec3LengthSq(dir), b = Vec3Dot(oc, dir);
    if (a == 0 || b >= 0) return 0;  // no direction, or pointing away from the sphere
    return b * b - a * c >= 0;
}
