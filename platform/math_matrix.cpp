// 4 x 4 matrices in the row-vector convention: rows 0-2 the axes, row 3 the position, and the
// left-handed rotations (a positive angle turns Y toward Z about X, Z toward X about Y and
// X toward Y about Z).
#include "math_ops.h"

#include <cmath>

Mat4 operator*(const Mat4& a, const Mat4& b) {
    Mat4 r;
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j)
            r.m[i][j] = a.m[i][0] * b.m[0][j] + a.m[i][1] * b.m[1][j] + a.m[i][2] * b.m[2][j] +
                        a.m[i][3] * b.m[3][j];
    return r;
}

Mat4 MatrixMultiply(const Mat4& a, const Mat4& b) { return a * b; }

Mat4 MatrixTranslation(float x, float y, float z) {
    Mat4 r = Mat4::Identity();
    r.m[3][0] = x;
    r.m[3][1] = y;
    r.m[3][2] = z;
    return r;
}

Mat4 MatrixScaling(float x, float y, float z) {
    Mat4 r;
    r.m[0][0] = x;
    r.m[1][1] = y;
    r.m[2][2] = z;
    r.m[3][3] = 1;
    return r;
}

namespace {
// A rotation in the plane of axes a and b: a positive angle turns axis a toward axis b.
Mat4 PlaneRotation(int a, int b, float angle) {
    float c = CosF(angle), s = SinF(angle);
    Mat4 r = Mat4::Identity();
    r.m[a][a] = c;
    r.m[a][b] = s;
    r.m[b][a] = -s;
    r.m[b][b] = c;
    return r;
}
}  // namespace

Mat4 MatrixRotationX(float angle) { return PlaneRotation(1, 2, angle); }
Mat4 MatrixRotationY(float angle) { return PlaneRotation(2, 0, angle); }
Mat4 MatrixRotationZ(float angle) { return PlaneRotation(0, 1, angle); }

Mat4 MatrixRotationAxis(const Vec3& axis, float angle) {
    Vec3 v = Vec3Normalize(axis);
    if (v == Vec3()) return Mat4::Identity();
    float c = CosF(angle), s = SinF(angle), t = 1.0f - c;
    Mat4 r = Mat4::Identity();
    r.m[0][0] = t * v.x * v.x + c;
    r.m[0][1] = t * v.x * v.y + s * v.z;
    r.m[0][2] = t * v.x * v.z - s * v.y;
    r.m[1][0] = t * v.x * v.y - s * v.z;
    r.m[1][1] = t * v.y * v.y + c;
    r.m[1][2] = t * v.y * v.z + s * v.x;
    r.m[2][0] = t * v.x * v.z + s * v.y;
    r.m[2][1] = t * v.y * v.z - s * v.x;
    r.m[2][2] = t * v.z * v.z + c;
    return r;
}

Mat4 MatrixRotationYawPitchRoll(float yaw, float pitch, float roll) {
    return MatrixRotationZ(roll) * MatrixRotationX(pitch) * MatrixRotationY(yaw);
}

Mat4 MatrixRotationQuaternion(const Quat& q) {
    Mat4 r = Mat4::Identity();
    float xx = q.x * q.x, yy = q.y * q.y, zz = q.z * q.z;
    float xy = q.x * q.y, xz = q.x * q.z, yz = q.y * q.z;
    float wx = q.w * q.x, wy = q.w * q.y, wz = q.w * q.z;
    r.m[0][0] = 1.0f - 2.0f * (yy + zz);
    r.m[0][1] = 2.0f * (xy + wz);
    r.m[0][2] = 2.0f * (xz - wy);
    r.m[1][0] = 2.0f * (xy - wz);
    r.m[1][1] = 1.0f - 2.0f * (xx + zz);
    r.m[1][2] = 2.0f * (yz + wx);
    r.m[2][0] = 2.0f * (xz + wy);
    r.m[2][1] = 2.0f * (yz - wx);
    r.m[2][2] = 1.0f - 2.0f * (xx + yy);
    return r;
}

Mat4 MatrixLookAtLH(const Vec3& eye, const Vec3& at, const Vec3& up) {
    Vec3 z = Vec3Normalize(at - eye);
    Vec3 x = Vec3Normalize(Vec3Cross(up, z));
    Vec3 y = Vec3Cross(z, x);
    Mat4 r;
    r.m[0][0] = x.x; r.m[0][1] = y.x; r.m[0][2] = z.x;
    r.m[1][0] = x.y; r.m[1][1] = y.y; r.m[1][2] = z.y;
    r.m[2][0] = x.z; r.m[2][1] = y.z; r.m[2][2] = z.z;
    r.m[3][0] = -Vec3Dot(x, eye);
    r.m[3][1] = -Vec3Dot(y, eye);
    r.m[3][2] = -Vec3Dot(z, eye);
    r.m[3][3] = 1;
    return r;
}

Mat4 MatrixPerspectiveFovLH(float fovY, float aspect, float zNear, float zFar) {
    float yScale = 1.0f / TanF(fovY / 2.0f);
    float xScale = yScale / aspect;
    Mat4 r;
    r.m[0][0] = xScale;
    r.m[1][1] = yScale;
    r.m[2][2] = zFar / (zFar - zNear);
    r.m[2][3] = 1;
    r.m[3][2] = -zNear * zFar / (zFar - zNear);
    return r;
}

Mat4 MatrixTranspose(const Mat4& m) {
    Mat4 r;
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j) r.m[i][j] = m.m[j][i];
    return r;
}

namespace {
// Cofactor expansion in double: the 2 x 2 minors of the top and bottom row pairs.
struct Minors {
    double a[4][4];  // the matrix itself, in double
    double s[6], c[6];
};

Minors MakeMinors(const Mat4& mf) {
    Minors n;
    double (&a)[4][4] = n.a;
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j) a[i][j] = mf.m[i][j];
    n.s[0] = a[0][0] * a[1][1] - a[1][0] * a[0][1];
    n.s[1] = a[0][0] * a[1][2] - a[1][0] * a[0][2];
    n.s[2] = a[0][0] * a[1][3] - a[1][0] * a[0][3];
    n.s[3] = a[0][1] * a[1][2] - a[1][1] * a[0][2];
    n.s[4] = a[0][1] * a[1][3] - a[1][1] * a[0][3];
    n.s[5] = a[0][2] * a[1][3] - a[1][2] * a[0][3];
    n.c[5] = a[2][2] * a[3][3] - a[3][2] * a[2][3];
    n.c[4] = a[2][1] * a[3][3] - a[3][1] * a[2][3];
    n.c[3] = a[2][1] * a[3][2] - a[3][1] * a[2][2];
    n.c[2] = a[2][0] * a[3][3] - a[3][0] * a[2][3];
    n.c[1] = a[2][0] * a[3][2] - a[3][0] * a[2][2];
    n.c[0] = a[2][0] * a[3][1] - a[3][0] * a[2][1];
    return n;
}

double Determinant(const Minors& n) {
    return n.s[0] * n.c[5] - n.s[1] * n.c[4] + n.s[2] * n.c[3] + n.s[3] * n.c[2] - n.s[4] * n.c[1] +
           n.s[5] * n.c[0];
}
}  // namespace

float MatrixDeterminant(const Mat4& m) { return static_cast<float>(Determinant(MakeMinors(m))); }

int MatrixInverse(Mat4* out, const Mat4& mf) {
    Minors n = MakeMinors(mf);
    double det = Determinant(n);
    if (det == 0 || !std::isfinite(det)) {
        *out = Mat4::Identity();
        return 0;
    }
    const double(&a)[4][4] = n.a;
    const double* s = n.s;
    const double* c = n.c;
    double inv[4][4];
    inv[0][0] = a[1][1] * c[5] - a[1][2] * c[4] + a[1][3] * c[3];
    inv[0][1] = -a[0][1] * c[5] + a[0][2] * c[4] - a[0][3] * c[3];
    inv[0][2] = a[3][1] * s[5] - a[3][2] * s[4] + a[3][3] * s[3];
    inv[0][3] = -a[2][1] * s[5] + a[2][2] * s[4] - a[2][3] * s[3];
    inv[1][0] = -a[1][0] * c[5] + a[1][2] * c[2] - a[1][3] * c[1];
    inv[1][1] = a[0][0] * c[5] - a[0][2] * c[2] + a[0][3] * c[1];
    inv[1][2] = -a[3][0] * s[5] + a[3][2] * s[2] - a[3][3] * s[1];
    inv[1][3] = a[2][0] * s[5] - a[2][2] * s[2] + a[2][3] * s[1];
    inv[2][0] = a[1][0] * c[4] - a[1][1] * c[2] + a[1][3] * c[0];
    inv[2][1] = -a[0][0] * c[4] + a[0][1] * c[2] - a[0][3] * c[0];
    inv[2][2] = a[3][0] * s[4] - a[3][1] * s[2] + a[3][3] * s[0];
    inv[2][3] = -a[2][0] * s[4] + a[2][1] * s[2] - a[2][3] * s[0];
    inv[3][0] = -a[1][0] * c[3] + a[1][1] * c[1] - a[1][2] * c[0];
    inv[3][1] = a[0][0] * c[3] - a[0][1] * c[1] + a[0][2] * c[0];
    inv[3][2] = -a[3][0] * s[3] + a[3][1] * s[1] - a[3][2] * s[0];
    inv[3][3] = a[2][0] * s[3] - a[2][1] * s[1] + a[2][2] * s[0];
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j) out->m[i][j] = static_cast<float>(inv[i][j] / det);
    return 1;
}

Mat4 MatrixShadow(const Vec4& light, const Plane& plane) {
    Plane p = PlaneNormalize(plane);
    const float pl[4] = {p.a, p.b, p.c, p.d};
    const float l[4] = {light.x, light.y, light.z, light.w};
    float dot = pl[0] * l[0] + pl[1] * l[1] + pl[2] * l[2] + pl[3] * l[3];
    Mat4 r;
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j) r.m[i][j] = (i == j ? dot : 0.0f) - pl[i] * l[j];
    return r;
}

bool MatrixEqual(const Mat4& a, const Mat4& b) {
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j)
            if (a.m[i][j] != b.m[i][j]) return false;
    return true;
}
