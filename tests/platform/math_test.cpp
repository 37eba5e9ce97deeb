// The maths layer against hand-computed values and against its own identities.
#include "math_ops.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

void ExpectVec(const Vec3& v, float x, float y, float z, float eps = 1e-5f) {
    EXPECT_NEAR(v.x, x, eps);
    EXPECT_NEAR(v.y, y, eps);
    EXPECT_NEAR(v.z, z, eps);
}

void ExpectMat(const Mat4& a, const Mat4& b, float eps = 1e-5f) {
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j) EXPECT_NEAR(a.m[i][j], b.m[i][j], eps) << i << "," << j;
}

TEST(MathTrig, AgreesWithTheLibraryWithinRounding) {
    for (double x = -40.0; x <= 40.0; x += 0.0137) {
        EXPECT_NEAR(MathSin(x), std::sin(x), 2e-15) << x;
        EXPECT_NEAR(MathCos(x), std::cos(x), 2e-15) << x;
        EXPECT_NEAR(MathAtan(x), std::atan(x), 2e-15) << x;
        EXPECT_NEAR(MathAtan2(x, 1.3 - x), std::atan2(x, 1.3 - x), 4e-15) << x;
    }
    for (double x = -1.0; x <= 1.0; x += 0.001) {
        EXPECT_NEAR(MathAcos(x), std::acos(x), 1e-14) << x;
        EXPECT_NEAR(MathAsin(x), std::asin(x), 1e-14) << x;
    }
}

TEST(MathTrig, ExactPointsAndOutOfRangeInputs) {
    EXPECT_EQ(MathSin(0.0), 0.0);
    EXPECT_EQ(MathCos(0.0), 1.0);
    EXPECT_EQ(MathAtan2(0.0, 0.0), 0.0);
    EXPECT_EQ(MathAcos(1.0), 0.0);
    EXPECT_DOUBLE_EQ(MathAcos(0.0), 1.57079632679489661923);
    EXPECT_DOUBLE_EQ(MathAcos(-1.0), 3.14159265358979323846);
    EXPECT_EQ(MathAcos(1.5), 0.0);  // clamped, not NaN
    EXPECT_DOUBLE_EQ(MathAtan(INFINITY), 1.57079632679489661923);
    EXPECT_EQ(SqrtF(-4.0f), 0.0f);
    EXPECT_EQ(SinF(kPi / 2), 1.0f);
}

TEST(MathVector, ZeroStaysZeroAndBasicsHold) {
    Vec3 z;
    Vec3 n = Vec3Normalize(z);
    EXPECT_EQ(n, Vec3());
    ExpectVec(Vec3Normalize(Vec3(3, 0, 4)), 0.6f, 0, 0.8f);
    EXPECT_FLOAT_EQ(Vec3Length(Vec3(3, 4, 12)), 13.0f);
    ExpectVec(Vec3Cross(Vec3(1, 0, 0), Vec3(0, 1, 0)), 0, 0, 1);
    Mat4 zero;
    EXPECT_EQ(zero.m[2][3], 0.0f);
    Quat q;
    EXPECT_EQ(q.w, 0.0f);
}

TEST(MathMatrix, ElementaryRotationsAreLeftHanded) {
    const float a = 0.5f, c = std::cos(a), s = std::sin(a);
    // A positive turn about X takes +Y toward +Z; about Y, +Z toward +X; about Z, +X toward +Y.
    ExpectVec(Vec3TransformCoord(Vec3(0, 1, 0), MatrixRotationX(a)), 0, c, s);
    ExpectVec(Vec3TransformCoord(Vec3(0, 0, 1), MatrixRotationY(a)), s, 0, c);
    ExpectVec(Vec3TransformCoord(Vec3(1, 0, 0), MatrixRotationZ(a)), c, s, 0);
    ExpectMat(MatrixRotationAxis(Vec3(2, 0, 0), a), MatrixRotationX(a));
    ExpectMat(MatrixRotationAxis(Vec3(0, -1, 0), a), MatrixRotationY(-a));
    ExpectMat(MatrixRotationAxis(Vec3(0, 0, 1), a), MatrixRotationZ(a));
    ExpectMat(MatrixRotationYawPitchRoll(a, 0, 0), MatrixRotationY(a));
    ExpectMat(MatrixRotationAxis(Vec3(), a), Mat4::Identity());
    Mat4 t = MatrixTranslation(1, 2, 3) * MatrixRotationY(kHalfPi);
    ExpectVec(Vec3TransformCoord(Vec3(), t), 3, 2, -1);
    ExpectVec(Vec3TransformNormal(Vec3(1, 0, 0), MatrixTranslation(5, 5, 5)), 1, 0, 0);
}

TEST(MathMatrix, InverseAndSingularMatrix) {
    Mat4 m = MatrixScaling(2, 2, 2) * MatrixRotationAxis(Vec3(1, 2, 3), 0.7f) * MatrixTranslation(4, -5, 6);
    Mat4 inv;
    ASSERT_EQ(MatrixInverse(&inv, m), 1);
    ExpectMat(m * inv, Mat4::Identity());
    Mat4 flat = MatrixScaling(1, 0, 1);
    EXPECT_EQ(MatrixInverse(&inv, flat), 0);
    EXPECT_TRUE(MatrixEqual(inv, Mat4::Identity()));
    EXPECT_EQ(MatrixInverse(&inv, Mat4()), 0);
}

TEST(MathMatrix, LookAtAndPerspective) {
    Mat4 v = MatrixLookAtLH(Vec3(0, 0, -1), Vec3(0, 0, 0), Vec3(0, 1, 0));
    ExpectMat(v, MatrixTranslation(0, 0, 1));
    Mat4 v2 = MatrixLookAtLH(Vec3(5, 0, 0), Vec3(0, 0, 0), Vec3(0, 1, 0));
    ExpectVec(Vec3TransformCoord(Vec3(0, 0, 0), v2), 0, 0, 5);   // target straight ahead
    ExpectVec(Vec3TransformCoord(Vec3(5, 0, 1), v2), 1, 0, 0);  // looking along -X, +Z is right
    Mat4 p = MatrixPerspectiveFovLH(kPi / 4, 640.0f / 480.0f, 0.1f, 100.0f);
    float ys = 1.0f / std::tan(kPi / 8);
    EXPECT_NEAR(p.m[1][1], ys, 1e-5f);
    EXPECT_NEAR(p.m[0][0], ys * 0.75f, 1e-5f);
    EXPECT_EQ(p.m[2][3], 1.0f);
    ExpectVec(Vec3TransformCoord(Vec3(0, 0, 0.1f), p), 0, 0, 0);  // near plane -> depth 0
    ExpectVec(Vec3TransformCoord(Vec3(0, 0, 100), p), 0, 0, 1, 1e-4f);
    // A point in the eye plane has w = 0 and stays finite.
    Vec3 eyePlane = Vec3TransformCoord(Vec3(1, 1, 0), p);
    EXPECT_TRUE(std::isfinite(eyePlane.x) && std::isfinite(eyePlane.y));
}

TEST(MathQuat, RoundTripsAndMatchesAxisRotation) {
    const Vec3 axes[] = {Vec3(1, 0, 0), Vec3(0, 1, 0), Vec3(0, 0, 1), Vec3(1, -2, 0.5f)};
    const float angles[] = {0.3f, 1.5f, 2.9f, -3.1f, 3.14159f};
    for (const Vec3& ax : axes)
        for (float a : angles) {
            Quat q = QuatRotationAxis(ax, a);
            ExpectMat(MatrixRotationQuaternion(q), MatrixRotationAxis(ax, a));
            Quat back = QuatRotationMatrix(MatrixRotationQuaternion(q));
            float d = std::fabs(QuatDot(back, q));
            EXPECT_NEAR(d, 1.0f, 1e-5f) << a;
        }
    Quat id = QuatRotationMatrix(Mat4::Identity());
    EXPECT_EQ(id.w, 1.0f);
    EXPECT_EQ(id.x, 0.0f);
}

TEST(MathQuat, SlerpEndsAndShortArc) {
    Quat a = QuatRotationAxis(Vec3(0, 1, 0), 0.2f);
    Quat b = QuatRotationAxis(Vec3(1, 1, 0), 2.0f);
    Quat at0 = QuatSlerp(a, b, 0), at1 = QuatSlerp(a, b, 1);
    EXPECT_EQ(at0.x, a.x); EXPECT_EQ(at0.w, a.w);
    EXPECT_EQ(at1.x, b.x); EXPECT_EQ(at1.y, b.y); EXPECT_EQ(at1.z, b.z); EXPECT_EQ(at1.w, b.w);
    // Halfway between 0 and 1 radian about Y is 0.5 radian.
    Quat h = QuatSlerp(QuatIdentity(), QuatRotationAxis(Vec3(0, 1, 0), 1.0f), 0.5f);
    ExpectMat(MatrixRotationQuaternion(h), MatrixRotationY(0.5f));
    // The target given with the opposite sign still turns the short way.
    Quat neg = QuatRotationAxis(Vec3(0, 1, 0), 1.0f);
    neg = Quat(-neg.x, -neg.y, -neg.z, -neg.w);
    ExpectMat(MatrixRotationQuaternion(QuatSlerp(QuatIdentity(), neg, 0.5f)), MatrixRotationY(0.5f));
    // Nearly equal quaternions blend linearly and stay finite.
    Quat n = QuatSlerp(a, a, 0.5f);
    EXPECT_NEAR(n.w, a.w, 1e-6f);
}

TEST(MathGeometry, PlanesShadowsAndProbes) {
    Plane p = PlaneFromPoints(Vec3(0, 1, 0), Vec3(0, 1, 1), Vec3(1, 1, 0));
    EXPECT_NEAR(p.b, 1.0f, 1e-6f);
    EXPECT_NEAR(PlaneDotCoord(p, Vec3(3, 4, 5)), 3.0f, 1e-6f);
    // A directional light straight down flattens onto y = 0 below the point.
    Mat4 s = MatrixShadow(Vec4(0, 1, 0, 0), PlaneFromPointNormal(Vec3(), Vec3(0, 1, 0)));
    ExpectVec(Vec3TransformCoord(Vec3(2, 5, 3), s), 2, 0, 3);

    const float verts[] = {-1, 0, 0, 9, 1, 2, 0, 9, 0, -3, 4, 9};
    Vec3 lo, hi, c;
    float r;
    ComputeBoundingBox(verts, 3, 16, &lo, &hi);
    ExpectVec(lo, -1, -3, 0);
    ExpectVec(hi, 1, 2, 4);
    ComputeBoundingSphere(verts, 3, 16, &c, &r);
    EXPECT_GT(r, 0);
    ComputeBoundingBox(verts, 0, 16, &lo, &hi);
    EXPECT_EQ(hi, Vec3());

    EXPECT_EQ(BoxBoundProbe(Vec3(-1, -1, -1), Vec3(1, 1, 1), Vec3(0, 0, -5), Vec3(0, 0, 1)), 1);
    EXPECT_EQ(BoxBoundProbe(Vec3(-1, -1, -1), Vec3(1, 1, 1), Vec3(0, 0, -5), Vec3(0, 0, -1)), 0);
    EXPECT_EQ(BoxBoundProbe(Vec3(-1, -1, -1), Vec3(1, 1, 1), Vec3(0, 3, -5), Vec3(0, 0, 1)), 0);
    EXPECT_EQ(BoxBoundProbe(Vec3(-1, -1, -1), Vec3(1, 1, 1), Vec3(0, 0, 0), Vec3(1, 0, 0)), 1);
    EXPECT_EQ(SphereBoundProbe(Vec3(0, 0, 5), 1, Vec3(), Vec3(0, 0, 1)), 1);
    EXPECT_EQ(SphereBoundProbe(Vec3(0, 0, 5), 1, Vec3(), Vec3(0, 0, -1)), 0);
    EXPECT_EQ(SphereBoundProbe(Vec3(0, 3, 5), 1, Vec3(), Vec3(0, 0, 1)), 0);
    EXPECT_EQ(SphereBoundProbe(Vec3(0, 0, 0), 1, Vec3(0.5f, 0, 0), Vec3()), 1);
}

}  // namespace
