// Outline shapes drawn straight from vertex arrays: screen-space lines and rectangles for the
// head-up display, menus and fades; flat shapes in the current world transform for markers and
// effects; the lens flare; one pixel read back; and the vertex formats the engine draws with.
#pragma once

#include "graphics.h"

#include <cstdint>

// ---- Vertex formats --------------------------------------------------------------------------
constexpr uint32_t kFvfColorVertex = 0x42;         // position, diffuse: 16 bytes
constexpr uint32_t kFvfScreenColorVertex = 0x44;   // screen position, rhw, diffuse: 20 bytes
constexpr uint32_t kFvfLitColorVertex = 0x52;      // position, normal, diffuse: 28 bytes
constexpr uint32_t kFvfTexVertex = 0x142;          // position, diffuse, u v: 24 bytes
constexpr uint32_t kFvfScreenTexVertex = 0x144;    // screen position, rhw, diffuse, u v: 28 bytes
constexpr uint32_t kFvfLitTexVertex = 0x152;       // position, normal, diffuse, u v: 36 bytes
constexpr uint32_t kFvfTex2Vertex = 0x242;         // position, diffuse, two u v sets: 32 bytes
constexpr uint32_t kFvfLitTex2Vertex = 0x252;      // position, normal, diffuse, two u v sets: 44 bytes
int FvfStride(uint32_t fvf);                       // the size above; 0 for any other code

struct ColorVertex {
    float x, y, z;
    uint32_t color;
};
struct ScreenColorVertex {
    float x, y, z, rhw;
    uint32_t color;
};
struct ScreenTexVertex {
    float x, y, z, rhw;
    uint32_t color;
    float u, v;
};
struct Tex2Vertex {
    float x, y, z;
    uint32_t color;
    float u1, v1, u2, v2;
};
// Format 0x142, the vertex of the buffer users (particles, water).
struct Vertex {
    float x, y, z;
    uint32_t color;
    float u, v;
    void Set(float x_, float y_, float z_, uint32_t color_, float u_, float v_) {
        x = x_, y = y_, z = z_, color = color_, u = u_, v = v_;
    }
};
static_assert(sizeof(Vertex) == 24 && sizeof(ScreenColorVertex) == 20 && sizeof(Tex2Vertex) == 32);

// Two triangles: (x1, y1, 0, 1), (x1, y2, 0, 0), (x2, y1, 1, 1), (x2, y2, 1, 0), (x2, y1, 1, 1), (x1, y2, 0, 0).
void SetQuadVertices(Vertex* six, float x1, float y1, float x2, float y2, float z, uint32_t color);
Vec3 ComputeTriangleNormal(const Vec3& p0, const Vec3& p1, const Vec3& p2);  // normalise((p1-p0) x (p2-p0))

// ---- Screen-space shapes (pixels) --------------------------------------------------------------
void DrawLine2D(int x1, int y1, int x2, int y2, uint32_t color1, uint32_t color2);  // color2 0: color1
void DrawTriangleOutline2D(int x, int y, int s, uint32_t color);  // apex (x, y - s)
void DrawTriangle2D(int x, int y, int s, uint32_t color);
void DrawRectOutline2D(int x1, int y1, int x2, int y2, uint32_t color);
void DrawRect2D(int x1, int y1, int x2, int y2, uint32_t color);
void DrawTexturedRect2D(int x1, int y1, int x2, int y2, uint32_t color);  // the stage-0 texture

// ---- World-space shapes (in the current world transform) -------------------------------------
void DrawLine3D(const Vec3& p1, const Vec3& p2, uint32_t color1, uint32_t color2);
void DrawRectOutline3D(float x, float y, float z, float w, float h, uint32_t color);
void DrawRect3D(float x, float y, float z, float w, float h, uint32_t color);
void DrawBox2D(float x, float y, float z, float w, float h, uint32_t color);    // textured XY quad
void DrawBoxXZ(float x, float y, float z, float w, float d, uint32_t color);    // textured XZ quad
void DrawBox2Tex(float x, float y, float z, float w, float h, uint32_t color);  // two coordinate sets
void DrawHexagon2D(float x, float y, float z, float radius, uint32_t center, uint32_t rim);
void DrawCircle2D(float x, float y, float z, float radius, uint32_t center, uint32_t rim);
void DrawCircleOutline(float x, float y, float z, float radius, uint32_t color);
void DrawBoxOutline3D(const Vec3 corners[8], uint32_t color);  // the twelve edges of a node's box

// ---- Other -------------------------------------------------------------------------------------
void SetBillboardWorld(float x, float y, float z);  // camera-aligned axes at the point
uint32_t ReadScreenPixel(int x, int y);             // ARGB; 0 outside 640 x 480
void DrawLensFlare(float x, float y, float z, float size, int flash);

// ---- Vertex buffer -------------------------------------------------------------------------------
class CVertexBuffer {
public:
    CVertexBuffer() = default;
    ~CVertexBuffer() { Release(); }
    CVertexBuffer(const CVertexBuffer&) = delete;
    CVertexBuffer& operator=(const CVertexBuffer&) = delete;

    int Create(const void* vertices, uint32_t fvf, uint32_t bytes);  // 0 for an unknown format
    void Release();
    int Lock(void** data);
    void Unlock();
    void DrawPointList();
    void DrawLineList();
    void DrawLineStrip(int n);
    void DrawTriangleList();
    void DrawTriangleStrip(int n);
    void DrawTriangleFan(int n);
    void Draw(uint32_t primitive, int n);

    GfxVertexBuffer* GetBuffer() const { return m_buffer; }
    uint32_t GetFvf() const { return m_fvf; }
    uint32_t GetStride() const { return m_stride; }
    uint32_t GetCount() const { return m_count; }

private:
    GfxVertexBuffer* m_buffer = nullptr;
    uint32_t m_fvf = 0;
    uint32_t m_stride = 0;
    uint32_t m_count = 0;
};
