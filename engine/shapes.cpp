// Screen-space and world-space outline shapes, drawn from vertex arrays in memory. They set
// only their vertex format: texture, blending, lighting and culling belong to the caller.
#include "shapes.h"

#include "math_ops.h"

namespace {

constexpr float kSqrt3 = 1.7320508f;
constexpr float kHexStep = 1.0471976f;     // 60 degrees
constexpr float kCircleStep = 0.17453294f; // 10 degrees
constexpr int kCircleRim = 36;

template <typename V>
void Draw(uint32_t fvf, uint32_t primitive, int count, const V* vertices) {
    GfxSetVertexShader(fvf);
    GfxDrawPrimitiveUP(primitive, count, vertices, (int)sizeof(V));
}

ScreenColorVertex SV(float x, float y, uint32_t color) { return {x, y, 0.0f, 1.0f, color}; }
ColorVertex CV(float x, float y, float z, uint32_t color) { return {x, y, z, color}; }
Vertex TV(float x, float y, float z, uint32_t color, float u, float v) { return {x, y, z, color, u, v}; }

// A quad with the shared texture rectangle: corners in the order left-bottom, left-top,
// right-top, right-bottom.
void DrawTexQuad(const Vec3& lb, const Vec3& lt, const Vec3& rt, const Vec3& rb, uint32_t color) {
    const ShapeTexRect& tr = g_shapeTexRect;
    Vertex v[4] = {TV(lb.x, lb.y, lb.z, color, tr.ua, tr.vb), TV(lt.x, lt.y, lt.z, color, tr.ua, tr.va),
                   TV(rt.x, rt.y, rt.z, color, tr.ub, tr.va), TV(rb.x, rb.y, rb.z, color, tr.ub, tr.vb)};
    Draw(kFvfTexVertex, kPtTriangleFan, 2, v);
}

// A filled regular polygon of `sides` (at most kCircleRim) around (x, y), the rim walked
// clockwise from 360 degrees down in steps of `step`.
void DrawPolygonFan(float x, float y, float z, float radius, uint32_t center, uint32_t rim, int sides, float step) {
    ColorVertex v[kCircleRim + 2];
    v[0] = CV(x, y, z, center);
    for (int i = 0; i < sides; ++i) {
        float a = (sides - i) * step;
        v[1 + i] = CV(x + radius * CosF(a), y + radius * SinF(a), z, rim);
    }
    v[sides + 1] = v[1];
    Draw(kFvfColorVertex, kPtTriangleFan, sides, v);
}

}  // namespace

int FvfStride(uint32_t fvf) {
    switch (fvf) {
        case kFvfColorVertex: return 16;
        case kFvfScreenColorVertex: return 20;
        case kFvfLitColorVertex: return 28;
        case kFvfTexVertex: return 24;
        case kFvfScreenTexVertex: return 28;
        case kFvfLitTexVertex: return 36;
        case kFvfTex2Vertex: return 32;
        case kFvfLitTex2Vertex: return 44;
        default: return 0;
    }
}

void SetQuadVertices(Vertex* v, float x1, float y1, float x2, float y2, float z, uint32_t color) {
    v[0].Set(x1, y1, z, color, 0, 1);
    v[1].Set(x1, y2, z, color, 0, 0);
    v[2].Set(x2, y1, z, color, 1, 1);
    v[3].Set(x2, y2, z, color, 1, 0);
    v[4].Set(x2, y1, z, color, 1, 1);
    v[5].Set(x1, y2, z, color, 0, 0);
}

Vec3 ComputeTriangleNormal(const Vec3& p0, const Vec3& p1, const Vec3& p2) {
    return Vec3Normalize(Vec3Cross(p1 - p0, p2 - p0));
}

// ---- Screen space ---------------------------------------------------------------------------------

void DrawLine2D(int x1, int y1, int x2, int y2, uint32_t color1, uint32_t color2) {
    if (color2 == 0) color2 = color1;
    ScreenColorVertex v[2] = {SV((float)x1, (float)y1, color1), SV((float)x2, (float)y2, color2)};
    Draw(kFvfScreenColorVertex, kPtLineList, 1, v);
}

void DrawTriangleOutline2D(int x, int y, int s, uint32_t color) {
    const float fx = (float)x, fy = (float)y, fs = (float)s, h = fs * kSqrt3 / 2;
    ScreenColorVertex apex = SV(fx, fy - fs, color), left = SV(fx - h, fy + fs / 2, color),
                      right = SV(fx + h, fy + fs / 2, color);
    ScreenColorVertex v[6] = {apex, right, right, left, left, apex};
    Draw(kFvfScreenColorVertex, kPtLineList, 3, v);
}

void DrawTriangle2D(int x, int y, int s, uint32_t color) {
    const float fx = (float)x, fy = (float)y, fs = (float)s, h = fs * kSqrt3 / 2;
    ScreenColorVertex v[3] = {SV(fx - h, fy + fs / 2, color), SV(fx, fy - fs, color), SV(fx + h, fy + fs / 2, color)};
    Draw(kFvfScreenColorVertex, kPtTriangleFan, 1, v);
}

void DrawRectOutline2D(int x1, int y1, int x2, int y2, uint32_t color) {
    const float l = (float)x1, t = (float)y1, r = (float)x2, b = (float)y2;
    ScreenColorVertex v[5] = {SV(l, t, color), SV(l, b, color), SV(r, b, color), SV(r, t, color), SV(l, t, color)};
    Draw(kFvfScreenColorVertex, kPtLineStrip, 4, v);
}

void DrawRect2D(int x1, int y1, int x2, int y2, uint32_t color) {
    const float l = (float)x1, t = (float)y1, r = (float)x2, b = (float)y2;
    ScreenColorVertex v[4] = {SV(l, b, color), SV(l, t, color), SV(r, t, color), SV(r, b, color)};
    Draw(kFvfScreenColorVertex, kPtTriangleFan, 2, v);
}

void DrawTexturedRect2D(int x1, int y1, int x2, int y2, uint32_t color) {
    const float l = (float)x1, t = (float)y1, r = (float)x2, b = (float)y2;
    const ShapeTexRect& tr = g_shapeTexRect;
    ScreenTexVertex v[4] = {{l, b, 0, 1, color, tr.ua, tr.vb},
                            {l, t, 0, 1, color, tr.ua, tr.va},
                            {r, t, 0, 1, color, tr.ub, tr.va},
                            {r, b, 0, 1, color, tr.ub, tr.vb}};
    Draw(kFvfScreenTexVertex, kPtTriangleFan, 2, v);
}

// ---- World space ----------------------------------------------------------------------------------

void DrawLine3D(const Vec3& p1, const Vec3& p2, uint32_t color1, uint32_t color2) {
    if (color2 == 0) color2 = color1;
    ColorVertex v[2] = {CV(p1.x, p1.y, p1.z, color1), CV(p2.x, p2.y, p2.z, color2)};
    Draw(kFvfColorVertex, kPtLineList, 1, v);
}

void DrawRectOutline3D(float x, float y, float z, float w, float h, uint32_t color) {
    const float l = x - w / 2, r = x + w / 2, b = y - h / 2, t = y + h / 2;
    ColorVertex lb = CV(l, b, z, color), lt = CV(l, t, z, color), rt = CV(r, t, z, color), rb = CV(r, b, z, color);
    ColorVertex v[8] = {lb, lt, lt, rt, rt, rb, rb, lb};
    Draw(kFvfColorVertex, kPtLineList, 4, v);
}

void DrawRect3D(float x, float y, float z, float w, float h, uint32_t color) {
    const float l = x - w / 2, r = x + w / 2, b = y - h / 2, t = y + h / 2;
    ColorVertex v[4] = {CV(l, b, z, color), CV(l, t, z, color), CV(r, t, z, color), CV(r, b, z, color)};
    Draw(kFvfColorVertex, kPtTriangleFan, 2, v);
}

void DrawBox2D(float x, float y, float z, float w, float h, uint32_t color) {
    const float l = x - w / 2, r = x + w / 2, b = y - h / 2, t = y + h / 2;
    DrawTexQuad(Vec3(l, b, z), Vec3(l, t, z), Vec3(r, t, z), Vec3(r, b, z), color);
}

void DrawBoxXZ(float x, float y, float z, float w, float d, uint32_t color) {
    const float l = x - w / 2, r = x + w / 2, n = z - d / 2, f = z + d / 2;
    DrawTexQuad(Vec3(l, y, n), Vec3(l, y, f), Vec3(r, y, f), Vec3(r, y, n), color);
}

void DrawBox2Tex(float x, float y, float z, float w, float h, uint32_t color) {
    const float l = x - w / 2, r = x + w / 2, b = y - h / 2, t = y + h / 2;
    const ShapeTexRect& tr = g_shapeTexRect;
    Tex2Vertex v[4] = {{l, b, z, color, tr.ua, tr.vb, 0, 1},
                       {l, t, z, color, tr.ua, tr.va, 0, 0},
                       {r, t, z, color, tr.ub, tr.va, 1, 0},
                       {r, b, z, color, tr.ub, tr.vb, 1, 1}};
    Draw(kFvfTex2Vertex, kPtTriangleFan, 2, v);
}

void DrawHexagon2D(float x, float y, float z, float radius, uint32_t center, uint32_t rim) {
    DrawPolygonFan(x, y, z, radius, center, rim, 6, kHexStep);  // 360, 300, ... 60 degrees
}

void DrawCircle2D(float x, float y, float z, float radius, uint32_t center, uint32_t rim) {
    DrawPolygonFan(x, y, z, radius, center, rim, kCircleRim, kCircleStep);
}

void DrawCircleOutline(float x, float y, float z, float radius, uint32_t color) {
    ColorVertex v[kCircleRim + 1];
    for (int i = 0; i < kCircleRim; ++i) {
        float a = i * kCircleStep;
        v[i] = CV(x + radius * CosF(a), y + radius * SinF(a), z, color);
    }
    v[kCircleRim] = v[0];
    Draw(kFvfColorVertex, kPtLineStrip, kCircleRim, v);
}

void DrawBoxOutline3D(const Vec3 c[8], uint32_t color) {
    static const int kStrip[10] = {2, 0, 1, 3, 2, 6, 4, 5, 7, 6};
    ColorVertex v[10];
    for (int i = 0; i < 10; ++i) v[i] = CV(c[kStrip[i]].x, c[kStrip[i]].y, c[kStrip[i]].z, color);
    CVertexBuffer vb;
    if (vb.Create(v, kFvfColorVertex, sizeof(v))) vb.DrawLineStrip(9);
    DrawLine3D(c[0], c[4], color, 0);
    DrawLine3D(c[1], c[5], color, 0);
    DrawLine3D(c[3], c[7], color, 0);
}

// ---- Other ------------------------------------------------------------------------------------

void SetBillboardWorld(float x, float y, float z) {
    Mat4 m = g_matInvView;
    m.m[3][0] = x;
    m.m[3][1] = y;
    m.m[3][2] = z;
    DeviceSetTransform(m);
}

uint32_t ReadScreenPixel(int x, int y) {
    if (x < 0 || x >= g_backBufferWidth || y < 0 || y >= g_backBufferHeight) return 0;
    return GfxReadPixel(x, y);
}
