// The maths functions over the shared types of sys_math.h: left-handed, row vectors (a point
// multiplies a matrix from the left; a child's world matrix is its local matrix times its
// parent's). The battle runs in lockstep, so the trigonometry here is our own, built from
// +, -, *, / and sqrt only, and gives the same bits on every machine whatever libm it has.
#pragma once

#include "sys_math.h"

// ---- Constants ----
constexpr float kPi = 3.1415927f;      // pi as a float
constexpr float kHalfPi = 1.5707964f;  // pi / 2 as a float

// ---- Deterministic scalar functions (double inside, same result everywhere) ----
double MathSin(double x);
double MathCos(double x);
double MathTan(double x);
double MathAtan(double x);
double MathAtan2(double y, double x);   // angle of (x, y); 0 for (0, 0)
double MathAcos(double x);              // argument clamped to [-1, 1]
double MathAsin(double x);              // argument clamped to [-1, 1]
double MathSqrt(double x);              // IEEE square root (exact); 0 for negative input
float SinF(float x);
float CosF(float x);
float TanF(float x);
float AtanF(float x);
float Atan2F(float y, float x);
float AcosF(float x);
float AsinF(float x);
float SqrtF(float x);

// ---- Vector operators ----
inline Vec3 operator+(const Vec3& a, const Vec3& b) { return Vec3(a.x + b.x, a.y + b.y, a.z + b.z); }
inline Vec3 operator-(const Vec3& a, const Vec3& b) { return Vec3(a.x - b.x, a.y - b.y, a.z - b.z); }
inline Vec3 operator-(const Vec3& a) { return Vec3(-a.x, -a.y, -a.z); }
inline Vec3 operator*(const Vec3& a, float s) { return Vec3(a.x * s, a.y * s, a.z * s); }
inline Vec3 operator*(float s, const Vec3& a) { return Vec3(a.x * s, a.y * s, a.z * s); }
inline Vec3 operator/(const Vec3& a, float s) { return Vec3(a.x / s, a.y / s, a.z / s); }
inline Vec3& operator+=(Vec3& a, const Vec3& b) { a = a + b; return a; }
inline Vec3& operator-=(Vec3& a, const Vec3& b) { a = a - b; return a; }
inline Vec3& operator*=(Vec3& a, float s) { a = a * s; return a; }
inline Vec3& operator/=(Vec3& a, float s) { a = a / s; return a; }
inline bool operator==(const Vec3& a, const Vec3& b) { return a.x == b.x && a.y == b.y && a.z == b.z; }
inline bool operator!=(const Vec3& a, const Vec3& b) { return !(a == b); }

// ---- Vectors ----
float Vec3Length(const Vec3& v);
float Vec3LengthSq(const Vec3& v);
bool Vec3IsFinite(const Vec3& v);            // no coordinate infinite or NaN
float Vec3Dot(const Vec3& a, const Vec3& b);
Vec3 Vec3Cross(const Vec3& a, const Vec3& b);
void Vec3Cross(Vec3* out, const Vec3& a, const Vec3& b);
Vec3 Vec3Normalize(const Vec3& v);          // the zero vector normalises to zero
Vec3 Vec3Lerp(const Vec3& a, const Vec3& b, float t);
Vec3 Vec3TransformCoord(const Vec3& v, const Mat4& m);   // (v, 1) x m, divided by w (not when w = 0)
Vec3 Vec3TransformNormal(const Vec3& v, const Mat4& m);  // v x the 3 x 3 part: no translation
Vec4 Vec3Transform(const Vec3& v, const Mat4& m);        // (v, 1) x m, w kept
Vec3 MatrixRow(const Mat4& m, int row);                  // x, y, z of a row (0-2 axes, 3 position)
void MatrixSetRow(Mat4* m, int row, const Vec3& v);      // writes x, y, z of a row; w untouched

// ---- Matrices ----
Mat4 operator*(const Mat4& a, const Mat4& b);
Mat4 MatrixMultiply(const Mat4& a, const Mat4& b);
Mat4 MatrixTranslation(float x, float y, float z);
Mat4 MatrixScaling(float x, float y, float z);
Mat4 MatrixRotationX(float angle);
Mat4 MatrixRotationY(float angle);
Mat4 MatrixRotationZ(float angle);
Mat4 MatrixRotationAxis(const Vec3& axis, float angle);  // axis normalised first; zero axis: identity
Mat4 MatrixRotationYawPitchRoll(float yaw, float pitch, float roll);  // roll Z, then pitch X, then yaw Y
Mat4 MatrixRotationQuaternion(const Quat& q);
Mat4 MatrixLookAtLH(const Vec3& eye, const Vec3& at, const Vec3& up);
Mat4 MatrixPerspectiveFovLH(float fovY, float aspect, float zNear, float zFar);
Mat4 MatrixTranspose(const Mat4& m);
float MatrixDeterminant(const Mat4& m);
// 1 with the inverse in *out; 0 for a singular matrix, which leaves *out the identity.
int MatrixInverse(Mat4* out, const Mat4& m);
// Flattens geometry onto a plane along the light; light w = 0 for a directional light.
Mat4 MatrixShadow(const Vec4& light, const Plane& plane);
bool MatrixEqual(const Mat4& a, const Mat4& b);

// ---- Quaternions ----
Quat QuatIdentity();
float QuatDot(const Quat& a, const Quat& b);
Quat QuatNormalize(const Quat& q);              // zero quaternion stays zero
Quat QuatRotationAxis(const Vec3& axis, float angle);
Quat QuatRotationMatrix(const Mat4& m);         // of the rotation in rows 0-2 (unit axes expected)
// Spherical interpolation along the shorter arc; exactly b at t = 1 and a at t = 0.
Quat QuatSlerp(const Quat& a, const Quat& b, float t);

// ---- Planes ----
Plane PlaneFromPoints(const Vec3& a, const Vec3& b, const Vec3& c);  // normal (b - a) x (c - a), unit
Plane PlaneFromPointNormal(const Vec3& point, const Vec3& normal);
Plane PlaneNormalize(const Plane& p);
float PlaneDotCoord(const Plane& p, const Vec3& v);  // a x + b y + c z + d

// ---- Bounding volumes and probes ----
// Positions are the first three floats of each vertex, stride bytes apart. Zero count: all zero.
void ComputeBoundingBox(const void* vertices, int count, int stride, Vec3* min, Vec3* max);
void ComputeBoundingSphere(const void* vertices, int count, int stride, Vec3* centre, float* radius);
// 1 when the ray (t >= 0) meets the box or the sphere; an origin inside counts as a hit.
int BoxBoundProbe(const Vec3& min, const Vec3& max, const Vec3& origin, const Vec3& dir);
int SphereBoundProbe(const Vec3& centre, float radius, const Vec3& origin, const Vec3& dir);
