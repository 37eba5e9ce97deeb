// Unit quaternions (x, y, z, w) for rotations, matching the matrices of math_matrix.cpp:
// MatrixRotationQuaternion(QuatRotationAxis(a, t)) equals MatrixRotationAxis(a, t).
#include "math_ops.h"

Quat QuatIdentity() { return Quat(0, 0, 0, 1); }

float QuatDot(const Quat& a, const Quat& b) { return a.x * b.x + a.y * b.y + a.z * b.z + a.w * b.w; }

Quat QuatNormalize(const Quat& q) {
    float len = SqrtF(QuatDot(q, q));
    if (!(len > 0)) return Quat();
    return Quat(q.x / len, q.y / len, q.z / len, q.w / len);
}

Quat QuatRotationAxis(const Vec3& axis, float angle) {
    Vec3 v = Vec3Normalize(axis);
    float s = SinF(angle / 2.0f);
    return Quat(v.x * s, v.y * s, v.z * s, CosF(angle / 2.0f));
}

Quat QuatRotationMatrix(const Mat4& mf) {
    double m[3][3];
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) m[i][j] = mf.m[i][j];
    double trace = m[0][0] + m[1][1] + m[2][2];
    double x, y, z, w;
    // Divide by the largest of the four components, so that none is computed from a small root.
    if (trace > 0) {
        double s = MathSqrt(trace + 1.0) * 2.0;
        w = 0.25 * s;
        x = (m[1][2] - m[2][1]) / s;
        y = (m[2][0] - m[0][2]) / s;
        z = (m[0][1] - m[1][0]) / s;
    } else if (m[0][0] > m[1][1] && m[0][0] > m[2][2]) {
        double s = MathSqrt(1.0 + m[0][0] - m[1][1] - m[2][2]) * 2.0;
        if (s == 0) return QuatIdentity();
        x = 0.25 * s;
        w = (m[1][2] - m[2][1]) / s;
        y = (m[0][1] + m[1][0]) / s;
        z = (m[2][0] + m[0][2]) / s;
    } else if (m[1][1] > m[2][2]) {
        double s = MathSqrt(1.0 + m[1][1] - m[0][0] - m[2][2]) * 2.0;
        if (s == 0) return QuatIdentity();
        y = 0.25 * s;
        w = (m[2][0] - m[0][2]) / s;
        x = (m[0][1] + m[1][0]) / s;
        z = (m[1][2] + m[2][1]) / s;
    } else {
        double s = MathSqrt(1.0 + m[2][2] - m[0][0] - m[1][1]) * 2.0;
        if (s == 0) return QuatIdentity();
        z = 0.25 * s;
        w = (m[0][1] - m[1][0]) / s;
        x = (m[2][0] + m[0][2]) / s;
        y = (m[1][2] + m[2][1]) / s;
    }
    return Quat(static_cast<float>(x), static_cast<float>(y), static_cast<float>(z), static_cast<float>(w));
}

Quat QuatSlerp(const Quat& a, const Quat& bIn, float t) {
    Quat b = bIn;
    float dot = QuatDot(a, b);
    // The shorter arc: q and -q are the same rotation.
    if (dot < 0) {
        dot = -dot;
        b = Quat(-b.x, -b.y, -b.z, -b.w);
    }
    float wa, wb;
    if (1.0f - dot <= 1e-5f) {
        wa = 1.0f - t;
        wb = t;
    } else {
        double theta = MathAcos(dot < 1.0f ? dot : 1.0f);
        double s = MathSin(theta);
        wa = static_cast<float>(MathSin((1.0 - t) * theta) / s);
        wb = static_cast<float>(MathSin(t * theta) / s);
    }
    return Quat(a.x * wa + b.x * wb, a.y * wa + b.y * wb, a.z * wa + b.z * wb, a.w * wa + b.w * wb);
}
