// Key poses are authored as recipes: three joint angles per body part, in the joint writer's
// convention, turned into the stored quaternion rows by the compiler. The rows are data the
// game never changes, so they are worked out once, at build time, with the maths below.
#pragma once

#include "key_pose_row.h"

// ---- Angle conventions of a recipe (the same as the joint writer's angle mode) ----
// Each part is turned about its own X, then Y, then Z axis (the body: Y, then X, then Z).
// X: a hanging limb swings forward (+) or back (-); a shin bends its knee with -, a forearm its
//    elbow with +; the body leans back with + and bows with -; the head looks down with +.
// Y: the head, body or waist turns toward the robot's right (+) or left (-).
// Z: a limb swings toward the robot's left (+) or right (-): + spreads a left limb outward,
//    - a right one; the body tilts toward its right with +.
class CPoseRecipe {
public:
    float turn[kPoseParts][3] = {};

    constexpr CPoseRecipe With(int part, float x, float y, float z) const {
        CPoseRecipe r = *this;
        r.turn[part][0] = x;
        r.turn[part][1] = y;
        r.turn[part][2] = z;
        return r;
    }
    constexpr CPoseRecipe Head(float x, float y = 0, float z = 0) const { return With(kPartHead, x, y, z); }
    constexpr CPoseRecipe Body(float x, float y = 0, float z = 0) const { return With(kPartBody, x, y, z); }
    constexpr CPoseRecipe Waist(float x, float y = 0, float z = 0) const { return With(kPartWaist, x, y, z); }
    constexpr CPoseRecipe ArmL(float x, float y = 0, float z = 0) const { return With(kPartUpperArmL, x, y, z); }
    constexpr CPoseRecipe ForearmL(float x, float y = 0, float z = 0) const { return With(kPartForearmL, x, y, z); }
    constexpr CPoseRecipe ArmR(float x, float y = 0, float z = 0) const { return With(kPartUpperArmR, x, y, z); }
    constexpr CPoseRecipe ForearmR(float x, float y = 0, float z = 0) const { return With(kPartForearmR, x, y, z); }
    constexpr CPoseRecipe ThighL(float x, float y = 0, float z = 0) const { return With(kPartThighL, x, y, z); }
    constexpr CPoseRecipe ShinL(float x, float y = 0, float z = 0) const { return With(kPartShinL, x, y, z); }
    constexpr CPoseRecipe ThighR(float x, float y = 0, float z = 0) const { return With(kPartThighR, x, y, z); }
    constexpr CPoseRecipe ShinR(float x, float y = 0, float z = 0) const { return With(kPartShinR, x, y, z); }

    // The same pose seen in a mirror: left and right parts swap, turns about Y and Z reverse.
    constexpr CPoseRecipe Mirrored() const {
        constexpr int kSwap[kPoseParts] = {0, 1, 2, 5, 6, 3, 4, 9, 10, 7, 8};
        CPoseRecipe r;
        for (int i = 0; i < kPoseParts; ++i) {
            r.turn[i][0] = turn[kSwap[i]][0];
            r.turn[i][1] = -turn[kSwap[i]][1];
            r.turn[i][2] = -turn[kSwap[i]][2];
        }
        return r;
    }
};

namespace pose_recipe {

constexpr double kPiD = 3.14159265358979323846;

constexpr double Sin(double x) {
    while (x > kPiD) x -= 2 * kPiD;
    while (x < -kPiD) x += 2 * kPiD;
    double term = x, sum = x;
    for (int n = 1; n < 24; ++n) {
        term *= -x * x / ((2.0 * n) * (2.0 * n + 1.0));
        sum += term;
    }
    return sum;
}
constexpr double Cos(double x) { return Sin(x + kPiD / 2); }

constexpr double Sqrt(double v) {
    if (!(v > 0)) return 0;
    double r = v > 1 ? v : 1;
    for (int i = 0; i < 200; ++i) {
        double next = 0.5 * (r + v / r);
        if (next == r) break;
        r = next;
    }
    return r;
}

struct Mat3 {
    double m[3][3] = {};
};

constexpr Mat3 Multiply(const Mat3& a, const Mat3& b) {
    Mat3 r;
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            for (int k = 0; k < 3; ++k) r.m[i][j] += a.m[i][k] * b.m[k][j];
    return r;
}

// Row-vector rotation about one axis (0 X, 1 Y, 2 Z): a positive angle turns the next axis
// toward the one after it, as the engine's node turns do.
constexpr Mat3 AxisRotation(int axis, double angle) {
    const int a = (axis + 1) % 3, b = (axis + 2) % 3;
    Mat3 r;
    r.m[axis][axis] = 1;
    r.m[a][a] = Cos(angle);
    r.m[a][b] = Sin(angle);
    r.m[b][a] = -Sin(angle);
    r.m[b][b] = Cos(angle);
    return r;
}

// The stored row of one part: the quaternion of the turns, x and y negated as every row keeps
// them, w made non-negative so that equal poses store equal numbers.
constexpr CStoredQuat StoredPartRotation(const float turn[3], bool yawFirst) {
    const int order[3] = {yawFirst ? 1 : 0, yawFirst ? 0 : 1, 2};
    // Each turn multiplies the node's matrix from the left, so the last turn ends up first.
    Mat3 m = AxisRotation(order[0], turn[order[0]]);
    m = Multiply(AxisRotation(order[1], turn[order[1]]), m);
    m = Multiply(AxisRotation(order[2], turn[order[2]]), m);
    double x, y, z, w;
    double trace = m.m[0][0] + m.m[1][1] + m.m[2][2];
    if (trace > 0) {
        double s = Sqrt(trace + 1.0) * 2.0;
        w = 0.25 * s;
        x = (m.m[1][2] - m.m[2][1]) / s;
        y = (m.m[2][0] - m.m[0][2]) / s;
        z = (m.m[0][1] - m.m[1][0]) / s;
    } else if (m.m[0][0] > m.m[1][1] && m.m[0][0] > m.m[2][2]) {
        double s = Sqrt(1.0 + m.m[0][0] - m.m[1][1] - m.m[2][2]) * 2.0;
        x = 0.25 * s;
        w = (m.m[1][2] - m.m[2][1]) / s;
        y = (m.m[0][1] + m.m[1][0]) / s;
        z = (m.m[2][0] + m.m[0][2]) / s;
    } else if (m.m[1][1] > m.m[2][2]) {
        double s = Sqrt(1.0 + m.m[1][1] - m.m[0][0] - m.m[2][2]) * 2.0;
        y = 0.25 * s;
        w = (m.m[2][0] - m.m[0][2]) / s;
        x = (m.m[0][1] + m.m[1][0]) / s;
        z = (m.m[1][2] + m.m[2][1]) / s;
    } else {
        double s = Sqrt(1.0 + m.m[2][2] - m.m[0][0] - m.m[1][1]) * 2.0;
        z = 0.25 * s;
        w = (m.m[0][1] - m.m[1][0]) / s;
        x = (m.m[2][0] + m.m[0][2]) / s;
        y = (m.m[1][2] + m.m[2][1]) / s;
    }
    if (w < 0) {
        x = -x;
        y = -y;
        z = -z;
        w = -w;
    }
    return CStoredQuat{static_cast<float>(-x), static_cast<float>(-y), static_cast<float>(z), static_cast<float>(w)};
}

}  // namespace pose_recipe

// One table row from a recipe.
constexpr CKeyPoseRow KeyPose(const char* name, const CPoseRecipe& recipe) {
    CKeyPoseRow row{name, {}};
    for (int i = 0; i < kPoseParts; ++i)
        row.parts[i] = pose_recipe::StoredPartRotation(recipe.turn[i], i == kPartBody);
    return row;
}
