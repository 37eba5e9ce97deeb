// The outline shapes: the vertex list and primitive each hands to the device, what a filled and
// an outlined rectangle leave in the frame, the vertex buffer and the lens flare's elements.
#include "gfx_fixture.h"

#include "camera.h"
#include "shapes.h"

#include "sys_rand.h"

#include <cstring>
#include <vector>

namespace {

struct Draw {
    uint32_t fvf, type;
    int primitives;
    std::vector<unsigned char> bytes;
    int stride, count;
    template <typename V>
    V At(int i) const {
        V v;
        std::memcpy(&v, bytes.data() + (size_t)i * stride, sizeof(V));
        return v;
    }
};
std::vector<Draw> g_draws;

void Record(uint32_t fvf, uint32_t type, int primitives, const void* vertices, int stride, int count) {
    const unsigned char* b = static_cast<const unsigned char*>(vertices);
    g_draws.push_back({fvf, type, primitives, std::vector<unsigned char>(b, b + (size_t)stride * count), stride, count});
}

class ShapesTest : public GfxTest {
protected:
    void SetUp() override {
        GfxTest::SetUp();
        StartDevice();
        SetLighting(0);
        g_draws.clear();
        GfxTestSetDrawRecorder(Record);
    }
    void TearDown() override {
        GfxTestSetDrawRecorder(nullptr);
        GfxTest::TearDown();
    }
};

constexpr uint32_t kBack = 0xFF000000;

}  // namespace

TEST_F(ShapesTest, ScreenShapesHandOverTheirDefinedVertices) {
    DrawRect2D(10, 20, 30, 40, 0xFF112233);
    DrawRectOutline2D(10, 20, 30, 40, 0xFF112233);
    DrawLine2D(1, 2, 3, 4, 0xFFAAAAAA, 0);
    DrawLine2D(1, 2, 3, 4, 0xFFAAAAAA, 0xFF000001);
    DrawTriangle2D(100, 100, 10, 0xFFFFFFFF);
    DrawTriangleOutline2D(100, 100, 10, 0xFFFFFFFF);
    g_shapeTexRect = {0.25f, 0.75f, 0.0f, 0.5f};
    DrawTexturedRect2D(0, 0, 8, 8, 0xFFFFFFFF);
    ASSERT_EQ(g_draws.size(), 7u);

    const Draw& rect = g_draws[0];
    EXPECT_EQ(rect.fvf, 0x44u);
    EXPECT_EQ(rect.type, (uint32_t)kPtTriangleFan);
    EXPECT_EQ(rect.primitives, 2);
    const float expect[4][2] = {{10, 40}, {10, 20}, {30, 20}, {30, 40}};
    for (int i = 0; i < 4; ++i) {
        auto v = rect.At<ScreenColorVertex>(i);
        EXPECT_EQ(v.x, expect[i][0]);
        EXPECT_EQ(v.y, expect[i][1]);
        EXPECT_EQ(v.z, 0.0f);
        EXPECT_EQ(v.rhw, 1.0f);
        EXPECT_EQ(v.color, 0xFF112233u);
    }
    const Draw& outline = g_draws[1];
    EXPECT_EQ(outline.type, (uint32_t)kPtLineStrip);
    EXPECT_EQ(outline.primitives, 4);
    EXPECT_EQ(outline.At<ScreenColorVertex>(1).y, 40.0f);
    EXPECT_EQ(outline.At<ScreenColorVertex>(4).x, 10.0f);
    EXPECT_EQ(g_draws[2].At<ScreenColorVertex>(1).color, 0xFFAAAAAAu);  // second colour 0: the first
    EXPECT_EQ(g_draws[3].At<ScreenColorVertex>(1).color, 0xFF000001u);
    const Draw& tri = g_draws[4];
    EXPECT_EQ(tri.type, (uint32_t)kPtTriangleFan);
    EXPECT_EQ(tri.primitives, 1);
    EXPECT_FLOAT_EQ(tri.At<ScreenColorVertex>(0).x, 100 - 10 * 1.7320508f / 2);
    EXPECT_EQ(tri.At<ScreenColorVertex>(1).y, 90.0f);  // the apex
    EXPECT_EQ(tri.At<ScreenColorVertex>(2).y, 105.0f);
    EXPECT_EQ(g_draws[5].type, (uint32_t)kPtLineList);
    EXPECT_EQ(g_draws[5].primitives, 3);
    const Draw& tex = g_draws[6];
    EXPECT_EQ(tex.fvf, 0x144u);
    auto t0 = tex.At<ScreenTexVertex>(0), t2 = tex.At<ScreenTexVertex>(2);
    EXPECT_EQ(t0.u, 0.25f);
    EXPECT_EQ(t0.v, 0.5f);
    EXPECT_EQ(t2.u, 0.75f);
    EXPECT_EQ(t2.v, 0.0f);
}

TEST_F(ShapesTest, WorldShapesHandOverTheirDefinedVertices) {
    DrawCircle2D(1, 2, 3, 2, 0xFF0000FF, 0xFF00FF00);
    DrawHexagon2D(0, 0, 0, 1, 0xFFFFFFFF, 0xFF000000);
    DrawCircleOutline(0, 0, 5, 1, 0xFFFFFFFF);
    DrawBox2D(0, 0, 1, 2, 4, 0xFFFFFFFF);
    DrawBoxXZ(0, 5, 0, 2, 4, 0xFFFFFFFF);
    DrawBox2Tex(0, 0, 0, 2, 2, 0xFFFFFFFF);
    DrawRectOutline3D(0, 0, 0, 2, 2, 0xFFFFFFFF);
    DrawRect3D(0, 0, 0, 2, 2, 0xFFFFFFFF);
    ASSERT_EQ(g_draws.size(), 8u);

    const Draw& circle = g_draws[0];
    EXPECT_EQ(circle.fvf, 0x42u);
    EXPECT_EQ(circle.primitives, 36);
    EXPECT_EQ(circle.count, 38);
    EXPECT_EQ(circle.At<ColorVertex>(0).color, 0xFF0000FFu);
    auto rim0 = circle.At<ColorVertex>(1), rimLast = circle.At<ColorVertex>(37);
    EXPECT_NEAR(rim0.x, 3.0f, 1e-5);  // angle 360 degrees
    EXPECT_NEAR(rim0.y, 2.0f, 1e-5);
    EXPECT_EQ(rim0.z, 3.0f);
    EXPECT_EQ(rimLast.x, rim0.x);      // the first rim point again
    auto rim9 = circle.At<ColorVertex>(10);  // angle 270 degrees
    EXPECT_NEAR(rim9.y, 0.0f, 1e-5);
    const Draw& hex = g_draws[1];
    EXPECT_EQ(hex.primitives, 6);
    EXPECT_NEAR(hex.At<ColorVertex>(2).y, -0.8660254f, 1e-5);  // 300 degrees
    EXPECT_EQ(g_draws[2].type, (uint32_t)kPtLineStrip);
    EXPECT_EQ(g_draws[2].primitives, 36);
    EXPECT_NEAR(g_draws[2].At<ColorVertex>(9).y, 1.0f, 1e-5);  // 90 degrees, counted upwards here
    const Draw& box = g_draws[3];
    EXPECT_EQ(box.fvf, 0x142u);
    auto b0 = box.At<Vertex>(0);
    EXPECT_EQ(b0.x, -1.0f);
    EXPECT_EQ(b0.y, -2.0f);
    EXPECT_EQ(b0.v, 1.0f);
    auto xz = g_draws[4].At<Vertex>(1);
    EXPECT_EQ(xz.y, 5.0f);
    EXPECT_EQ(xz.z, 2.0f);
    EXPECT_EQ(g_draws[5].fvf, 0x242u);
    auto two = g_draws[5].At<Tex2Vertex>(3);
    EXPECT_EQ(two.u2, 1.0f);
    EXPECT_EQ(two.v2, 1.0f);
    EXPECT_EQ(g_draws[6].type, (uint32_t)kPtLineList);
    EXPECT_EQ(g_draws[6].primitives, 4);
    EXPECT_EQ(g_draws[7].primitives, 2);
}

TEST_F(ShapesTest, BoxOutlineDrawsTheTwelveEdges) {
    Vec3 c[8];
    for (int i = 0; i < 8; ++i) c[i] = Vec3((float)(i & 1), (float)((i >> 1) & 1), (float)(i >> 2));
    DrawBoxOutline3D(c, 0xFFFFFFFF);
    ASSERT_EQ(g_draws.size(), 4u);
    EXPECT_EQ(g_draws[0].type, (uint32_t)kPtLineStrip);
    EXPECT_EQ(g_draws[0].primitives, 9);
    const int strip[10] = {2, 0, 1, 3, 2, 6, 4, 5, 7, 6};
    for (int i = 0; i < 10; ++i) {
        auto v = g_draws[0].At<ColorVertex>(i);
        EXPECT_EQ(v.x, c[strip[i]].x);
        EXPECT_EQ(v.z, c[strip[i]].z);
    }
    EXPECT_EQ(g_draws[3].At<ColorVertex>(1).z, 1.0f);  // edge 3-7
}

TEST_F(ShapesTest, FilledRectangleAndOutlineLandOnTheirPixels) {
    Frame(kBack, [] {
        DrawRect2D(100, 100, 200, 150, 0xFFFF0000);
        DrawRectOutline2D(300, 100, 400, 150, 0xFF00FF00);
    });
    EXPECT_EQ(ReadScreenPixel(100, 100), 0xFFFF0000u);
    EXPECT_EQ(ReadScreenPixel(199, 149), 0xFFFF0000u);
    EXPECT_EQ(ReadScreenPixel(150, 125), 0xFFFF0000u);
    for (auto [x, y] : {std::pair{99, 100}, {200, 100}, {100, 99}, {100, 150}}) EXPECT_EQ(ReadScreenPixel(x, y), kBack);
    for (auto [x, y] : {std::pair{300, 125}, {400, 125}, {350, 100}, {350, 150}})
        EXPECT_EQ(ReadScreenPixel(x, y), 0xFF00FF00u) << x << "," << y;
    for (auto [x, y] : {std::pair{350, 125}, {299, 125}, {401, 125}, {350, 99}, {350, 151}})
        EXPECT_EQ(ReadScreenPixel(x, y), kBack) << x << "," << y;
    // Outside the back buffer: a defined 0, whatever the frame holds.
    EXPECT_EQ(ReadScreenPixel(640, 0), 0u);
    EXPECT_EQ(ReadScreenPixel(-1, 5), 0u);
    EXPECT_EQ(ReadScreenPixel(0, 480), 0u);
}

TEST_F(ShapesTest, VertexBufferKnowsItsFormatsAndDraws) {
    CVertexBuffer vb;
    unsigned char bytes[100] = {};
    ASSERT_EQ(vb.Create(bytes, 0x44, 100), 1);
    EXPECT_EQ(vb.GetStride(), 20u);
    EXPECT_EQ(vb.GetCount(), 5u);
    EXPECT_EQ(vb.Create(bytes, 0x102, 100), 0);
    EXPECT_EQ(vb.GetBuffer(), nullptr);
    for (uint32_t f : {0x42u, 0x44u, 0x52u, 0x142u, 0x144u, 0x152u, 0x242u, 0x252u})
        EXPECT_EQ(FvfStride(f), GfxVertexSize(f)) << std::hex << f;

    ScreenColorVertex tri[3] = {{50, 50, 0, 1, 0xFF0000FF}, {90, 50, 0, 1, 0xFF0000FF}, {50, 90, 0, 1, 0xFF0000FF}};
    ASSERT_EQ(vb.Create(tri, 0x44, sizeof(tri)), 1);
    void* data = nullptr;
    ASSERT_EQ(vb.Lock(&data), 1);
    static_cast<ScreenColorVertex*>(data)[0].color = 0xFFFFFF00;
    vb.Unlock();
    Frame(kBack, [&] { vb.DrawTriangleList(); });
    EXPECT_EQ(g_draws.back().primitives, 1);
    EXPECT_EQ(ReadScreenPixel(51, 51) >> 24, 0xFFu);
    EXPECT_NE(ReadScreenPixel(51, 51) & 0xFFFF00, 0u);  // the locked edit reached the draw
    EXPECT_EQ(ReadScreenPixel(89, 89), kBack);
    vb.DrawTriangleStrip(5);  // more than it holds: nothing is drawn
    EXPECT_EQ(g_draws.back().primitives, 1);
}

TEST_F(ShapesTest, QuadVerticesAndTriangleNormal) {
    Vertex v[6];
    SetQuadVertices(v, 1, 2, 3, 4, 5, 0xFF00FF00);
    EXPECT_EQ(v[0].y, 2.0f);
    EXPECT_EQ(v[0].v, 1.0f);
    EXPECT_EQ(v[3].x, 3.0f);
    EXPECT_EQ(v[3].u, 1.0f);
    EXPECT_EQ(v[5].y, 4.0f);
    EXPECT_EQ(v[4].z, 5.0f);
    Vec3 n = ComputeTriangleNormal(Vec3(0, 0, 0), Vec3(1, 0, 0), Vec3(0, 0, 1));
    EXPECT_FLOAT_EQ(n.y, -1.0f);
    Vec3 zero = ComputeTriangleNormal(Vec3(1, 1, 1), Vec3(1, 1, 1), Vec3(2, 2, 2));
    EXPECT_EQ(zero.x, 0.0f);  // a degenerate triangle gives zero, not NaN
}

TEST_F(ShapesTest, LensFlareElementsFollowTheViewAngle) {
    GameSrand(7);
    SetViewLookAt(Vec3(0, 0, 0), Vec3(0, 0, 1), Vec3(0, 1, 0));
    // 45 degrees off the view axis: the glare quad only.
    Frame(kBack, [] { DrawLensFlare(10, 0, 10, 4, 1); });
    ASSERT_EQ(g_draws.size(), 1u);
    EXPECT_EQ(g_draws[0].fvf, 0x142u);
    EXPECT_GE(g_draws[0].At<Vertex>(0).color >> 24, 0xC0u);
    EXPECT_EQ(GfxGetRenderState(kRsDestBlend), (uint32_t)kBlendInvSrcAlpha);  // blending restored
    // Straight ahead: glare, the six elements, and with the flash a veil of alpha 100.
    g_draws.clear();
    Frame(kBack, [] { DrawLensFlare(0, 0, 50, 4, 1); });
    ASSERT_EQ(g_draws.size(), 8u);
    EXPECT_EQ(g_draws[2].primitives, 6);   // the hexagon
    EXPECT_EQ(g_draws[6].primitives, 36);  // the wide ring
    uint32_t a = g_draws[1].At<ColorVertex>(0).color >> 24;
    EXPECT_GE(a, 140u);
    EXPECT_LE(a, 220u);
    EXPECT_EQ(g_draws[6].At<ColorVertex>(0).color, 0u);
    EXPECT_EQ(g_draws[7].fvf, 0x44u);
    EXPECT_EQ(g_draws[7].At<ScreenColorVertex>(0).color, 0x64FFFFFFu);
    EXPECT_EQ(GfxGetRenderState(kRsDestBlend), (uint32_t)kBlendInvSrcAlpha);
    // Element 5 sits 25 units in front of the eye on the view axis.
    Mat4 world;
    GfxGetTransform(kTsWorld, &world);
    EXPECT_NEAR(world.m[3][2], 50 - 6 * (50.0f / 5 - 5), 1e-4);  // the last element, beyond it
    // Without the flash flag there is no veil.
    g_draws.clear();
    Frame(kBack, [] { DrawLensFlare(0, 0, 50, 4, 0); });
    EXPECT_EQ(g_draws.size(), 7u);
}
