// The maths types shared by the engine and the game: left-handed, row vectors. A point
// multiplies a matrix from the left; rows 0 to 2 of a transform are its X, Y and Z axes and
// row 3 its position. Every type starts zeroed.
#pragma once

struct Vec2 {
    float x = 0, y = 0;
};

struct Vec3 {
    float x = 0, y = 0, z = 0;
    Vec3() = default;
    Vec3(float x_, float y_, float z_) : x(x_), y(y_), z(z_) {}
};

struct Vec4 {
    float x = 0, y = 0, z = 0, w = 0;
    Vec4() = default;
    Vec4(float x_, float y_, float z_, float w_) : x(x_), y(y_), z(z_), w(w_) {}
};

struct Quat {
    float x = 0, y = 0, z = 0, w = 0;
    Quat() = default;
    Quat(float x_, float y_, float z_, float w_) : x(x_), y(y_), z(z_), w(w_) {}
};

struct Plane {
    float a = 0, b = 0, c = 0, d = 0;
};

// Material and light colours: four floats r, g, b, a.
struct Color4 {
    float r = 0, g = 0, b = 0, a = 0;
    Color4() = default;
    Color4(float r_, float g_, float b_, float a_) : r(r_), g(g_), b(b_), a(a_) {}
};

struct Mat4 {
    float m[4][4] = {};
    static Mat4 Identity() {
        Mat4 r;
        r.m[0][0] = r.m[1][1] = r.m[2][2] = r.m[3][3] = 1.0f;
        return r;
    }
};
