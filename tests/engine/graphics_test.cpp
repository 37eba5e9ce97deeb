// The 3-D device on the real GL of the machine: start-up log and its choices, clearing,
// matrices and culling read back from the frame, the frame's begin/end and text clipping.
#include "gfx_fixture.h"

#include "math_ops.h"

#include <cstring>

#include <dlfcn.h>

namespace {

bool Has(const std::string& hay, const char* needle) { return hay.find(needle) != std::string::npos; }

// A small clockwise (as seen on screen) triangle around a screen point.
void DrawMarker(float px, float py, uint32_t color) {
    TVertex v[3] = {{px - 3, py - 3, 0.5f, 1, color}, {px + 3, py - 3, 0.5f, 1, color}, {px, py + 3, 0.5f, 1, color}};
    GfxSetVertexShader(kFvfXyzRhw | kFvfDiffuse);
    GfxDrawPrimitiveUP(kPtTriangleList, 1, v, sizeof(TVertex));
}

}  // namespace

TEST_F(GfxTest, StartUpLogsTheChoicesAndCapabilities) {
    StartDevice();
    EXPECT_TRUE(Has(g_gfxLog, "InitDirect3D\n"));
    EXPECT_TRUE(Has(g_gfxLog, "アダプタ数 = 1\nアダプタID = D3DADAPTER_DEFAULT\n")) << g_gfxLog;
    EXPECT_TRUE(Has(g_gfxLog, "ウインドウ化 = OFF\n"));
    EXPECT_TRUE(Has(g_gfxLog, "選択されたモード = 640 x 480 D3DFMT_X8R8G8B8 (D3DFMT_D16)\n"));
    EXPECT_TRUE(Has(g_gfxLog, "デバイスタイプ = TnLHAL\n"));
    // Mesa gives sync objects; tests/engine/fence_waits_off.c, when preloaded, stands for a driver
    // without them.
    const bool noSync = dlsym(RTLD_DEFAULT, "fence_waits_off") != nullptr;
    EXPECT_EQ(Has(g_gfxLog, "TnLHAL\nNo GL sync objects (ARB_sync): the present's guard against freed fences is off\n"),
              noSync) << g_gfxLog;
    EXPECT_TRUE(Has(g_gfxLog, "最大プリミティブ = "));
    EXPECT_TRUE(Has(g_gfxLog, "\t最大サイズ = 2048 x 2048\n"));
    EXPECT_TRUE(Has(g_gfxLog, "\tバンプマップ = 0\n}\n"));
    EXPECT_EQ(g_maxTextureWidth, 2048);
    EXPECT_EQ(g_windowed, 0);
    EXPECT_EQ(g_gfxBoxes, "");
    g_gfxLog.clear();
    FreeDirect3D();
    EXPECT_EQ(g_gfxLog, "----------------------------------------\nFreeDirect3D\n");
    g_gfxLog.clear();
    FreeDirect3D();  // nothing left: silent
    EXPECT_EQ(g_gfxLog, "");
}

TEST_F(GfxTest, WindowedOnlyWhenTheDesktopHasTheMode) {
    StartDevice({"-win", "-2nd"});  // one adapter: "-2nd" has nothing to choose
    EXPECT_TRUE(Has(g_gfxLog, "アダプタID = D3DADAPTER_DEFAULT\n"));
    EXPECT_TRUE(Has(g_gfxLog, "ウインドウ化 = ON\n"));
    EXPECT_EQ(g_windowed, 1);
    FreeDirect3D();

    // A desktop in 16 bits whose only 640 x 480 modes are 32-bit: full screen, format changed.
    GfxDisplayMode modes[] = {{640, 480, 60, kFmtX8R8G8B8}, {800, 600, 60, kFmtR5G6B5}, {640, 480, 60, kFmtA8R8G8B8}};
    GfxTestSetDisplay(2, kFmtR5G6B5, modes, 3);
    g_gfxLog.clear();
    ASSERT_EQ(InitDirect3D(), 1);
    EXPECT_TRUE(Has(g_gfxLog, "アダプタ数 = 2\nアダプタID = 1\n")) << g_gfxLog;
    EXPECT_TRUE(Has(g_gfxLog, "現在のモード = 1024 x 768 D3DFMT_R5G6B5\n"));
    EXPECT_TRUE(Has(g_gfxLog, "ウインドウ化 = OFF(フォーマット変更)\n"));
    EXPECT_TRUE(Has(g_gfxLog, "選択されたモード = 640 x 480 D3DFMT_A8R8G8B8 "));  // the last alternative wins
    EXPECT_EQ(g_windowed, 0);
}

TEST_F(GfxTest, DeviceTypesFallBackAndAllFailingShowsTheBox) {
    GfxTestSetDeviceFailures(1, 0, 0);
    StartDevice();
    EXPECT_TRUE(Has(g_gfxLog, "デバイスタイプ = HAL\n"));
    FreeDirect3D();
    GfxTestSetDeviceFailures(1, 1, 0);
    ASSERT_EQ(InitDirect3D(), 1);
    EXPECT_TRUE(Has(g_gfxLog, "デバイスタイプ = REF\n"));
    FreeDirect3D();
    GfxTestSetDeviceFailures(1, 1, 1);
    g_gfxLog.clear();
    EXPECT_EQ(InitDirect3D(), 0);
    EXPECT_EQ(g_gfxBoxes, "エラー:3Dデバイスが作成できません.\n");
    EXPECT_FALSE(Has(g_gfxLog, "デバイスタイプ"));
    // No 640 x 480 mode at all: the unknown format makes every device type fail.
    GfxTestSetDeviceFailures(0, 0, 0);
    GfxDisplayMode modes[] = {{800, 600, 60, kFmtX8R8G8B8}};
    GfxTestSetDisplay(1, kFmtX8R8G8B8, modes, 1);
    g_gfxBoxes.clear();
    g_gfxLog.clear();
    EXPECT_EQ(InitDirect3D(), 0);
    EXPECT_TRUE(Has(g_gfxLog, "選択されたモード = 640 x 480 D3DFMT_UNKNOWN (D3DFMT_UNKNOWN)\n")) << g_gfxLog;
    EXPECT_EQ(g_gfxBoxes, "エラー:3Dデバイスが作成できません.\n");
    // No display adapter at all: the Direct3D object itself cannot be made.
    GfxTestSetDisplay(0, kFmtX8R8G8B8, modes, 1);
    g_gfxBoxes.clear();
    g_gfxLog.clear();
    EXPECT_EQ(InitDirect3D(), 0);
    EXPECT_EQ(g_gfxBoxes, "エラー:Direct3Dの初期化に失敗しました.\n");
    EXPECT_EQ(g_gfxLog, "----------------------------------------\nInitDirect3D\n");
}

TEST_F(GfxTest, ClearColourReadsBackAndColourZeroKeepsTheTarget) {
    StartDevice();
    Frame(0xFF2040C0, [] {});
    for (auto [x, y] : {std::pair{0, 0}, {639, 0}, {0, 479}, {639, 479}, {320, 240}})
        EXPECT_EQ(GfxReadPixel(x, y), 0xFF2040C0u) << x << "," << y;
    Frame(0, [] { DrawMarker(100, 100, 0xFFFFFFFF); });
    EXPECT_EQ(GfxReadPixel(320, 240), 0xFF2040C0u);  // left as it was
    EXPECT_EQ(GfxReadPixel(100, 100), 0xFFFFFFFFu);
    EXPECT_EQ(GfxReadPixel(640, 0), 0u);
    EXPECT_EQ(GfxReadPixel(-1, 5), 0u);
}

TEST_F(GfxTest, BeginWithoutEndIsHarmlessAndLostDeviceSkipsFrames) {
    StartDevice();
    EXPECT_EQ(BeginFrame(0xFF000000), 1);  // drawing skipped: no EndFrame
    EXPECT_EQ(BeginFrame(0xFF00FF00), 1);
    EndFrame();
    EXPECT_EQ(GfxReadPixel(5, 5), 0xFF00FF00u);

    GfxTestSetCooperativeLevel(kGfxDeviceLost);
    g_gfxLog.clear();
    EXPECT_EQ(BeginFrame(0xFFFF0000), 0);
    EXPECT_EQ(BeginFrame(0xFFFF0000), 0);
    EXPECT_EQ(g_gfxLog, "3Dデバイスがロストしています.\n3Dデバイスがロストしています.\n");
    EXPECT_EQ(GfxReadPixel(5, 5), 0xFF00FF00u);
    EXPECT_EQ(PumpMessages(), 1);
    GfxTestSetCooperativeLevel(kGfxDeviceNotReset);
    EXPECT_EQ(BeginFrame(0xFFFF0000), 0);
    EXPECT_TRUE(Has(g_gfxLog, "3Dデバイスのリセットが必要です.\n"));
    EXPECT_EQ(PumpMessages(), 0);  // the program ends through the quit message
}

// Run only by ctest's FenceWatch test (left out of the plain list), with tests/engine/fence_watch.c
// preloaded and two rasteriser threads: no rasteriser of Mesa's software renderer may be left
// unlocking a fence the drawing thread has freed (heap corruption, one crash in hours of play),
// whatever the time the game spends between frames.
class FenceWatch : public GfxTest {
protected:
    void DrawFrames(int count) {
        volatile unsigned spin = 0;
        for (int frame = 0; frame < count; ++frame) {
            Frame(0xFF000000 | unsigned(frame), [&] {
                for (int i = 0; i < 20; ++i) DrawMarker(float(20 + 30 * (i % 20)), float(20 + frame % 400), 0xFFFFFFFF);
                // Glyph uploads and textured quads, as the game's frames have: without them the old
                // present never met the race here.
                for (int line = 0; line < 8; ++line) DrawTextFormat(10, 20 * line, "frame %d line %d", frame, line);
            });
            // Work of its own between frames, a little more each frame, so that the next frame's
            // clear meets the rasterisers at every point of their last batch.
            for (unsigned i = 0; i < unsigned(frame % 30) * 20000; ++i) spin = spin + i;
        }
    }
};

TEST_F(FenceWatch, NoRasteriserUnlocksAFenceTheNextFrameFreed) {
    using Counts = void (*)(long*, long*);
    auto counts = reinterpret_cast<Counts>(dlsym(RTLD_DEFAULT, "fence_watch_counts"));
    if (!counts) GTEST_SKIP() << "runs with the fence watch preloaded (ctest -R FenceWatch)";
    StartDevice();  // 640 x 480: the frame fills the window
    DrawFrames(300);
    FreeDirect3D();
    SysDestroyWindow();
    // A window wider than 4:3, as full screen on a wide monitor: the present paints bars beside
    // the frame, a batch of its own between the frame's and the blit's. Without its waits the
    // present fails here in nearly every run and in the 4:3 window in none; windowed, the window
    // keeps its size.
    ASSERT_EQ(SysCreateWindow("ZAU_MOLTA", 854, 480), 1);
    StartDevice({"-win"});
    int w = 0, h = 0;
    SysGetWindowClientSize(&w, &h);
    ASSERT_NE(w * 3, h * 4) << w << " x " << h;
    DrawFrames(1800);
    long widened = 0, writes = 0;
    counts(&widened, &writes);
    if (widened == 0) GTEST_SKIP() << "the renderer here draws without rasteriser threads";
    EXPECT_EQ(writes, 0) << "rasteriser unlocks of freed fences over " << widened << " widened wake-ups";
}

TEST_F(GfxTest, WorldPointLandsWhereTheFrameMatricesSay) {
    StartDevice();
    g_matView = MatrixLookAtLH(Vec3(2, 3, -10), Vec3(0, 0, 0), Vec3(0, 1, 0));
    SetLighting(0);
    const Vec3 p(1.5f, -0.5f, 2.0f);
    Frame(0xFF000000, [&] {
        // A small triangle around p, facing the camera (clockwise on screen).
        Vec3 r = Vec3(g_matInvView.m[0][0], g_matInvView.m[0][1], g_matInvView.m[0][2]) * 0.1f;
        Vec3 u = Vec3(g_matInvView.m[1][0], g_matInvView.m[1][1], g_matInvView.m[1][2]) * 0.1f;
        Vec3 a = p + u, b = p + r - u, c = p - r - u;
        LVertex v[3] = {{a.x, a.y, a.z, 0xFFFF8000}, {b.x, b.y, b.z, 0xFFFF8000}, {c.x, c.y, c.z, 0xFFFF8000}};
        GfxSetVertexShader(kFvfXyz | kFvfDiffuse);
        GfxDrawPrimitiveUP(kPtTriangleList, 1, v, sizeof(LVertex));
    });
    Vec3 s = Vec3TransformCoord(p, g_matViewProjScreen);
    int sx = (int)s.x, sy = (int)s.y;
    EXPECT_EQ(GfxReadPixel(sx, sy), 0xFFFF8000u) << sx << "," << sy;
    EXPECT_EQ(GfxReadPixel(sx, sy - 30), 0xFF000000u);
    EXPECT_EQ(GfxReadPixel(sx, sy + 30), 0xFF000000u);
    // The same point taken back through the inverse lands on p.
    Vec3 back = Vec3TransformCoord(s, g_matInvViewProjScreen);
    EXPECT_NEAR(back.x, p.x, 1e-3);
    EXPECT_NEAR(back.y, p.y, 1e-3);
    EXPECT_NEAR(back.z, p.z, 1e-3);
}

TEST_F(GfxTest, ClockwiseFacesShowAndTheOthersAreCulled) {
    StartDevice();
    SetLighting(0);
    Frame(0xFF000000, [] {
        DrawMarker(100, 100, 0xFFFFFFFF);
        // The same triangle wound the other way.
        TVertex v[3] = {{200 - 3, 100 - 3, 0.5f, 1, 0xFFFFFFFF}, {200, 100 + 3, 0.5f, 1, 0xFFFFFFFF},
                        {200 + 3, 100 - 3, 0.5f, 1, 0xFFFFFFFF}};
        GfxDrawPrimitiveUP(kPtTriangleList, 1, v, sizeof(TVertex));
        SetCullMode(0);
        v[0].x += 100, v[1].x += 100, v[2].x += 100;
        GfxDrawPrimitiveUP(kPtTriangleList, 1, v, sizeof(TVertex));
    });
    EXPECT_EQ(GfxReadPixel(100, 100), 0xFFFFFFFFu);
    EXPECT_EQ(GfxReadPixel(200, 100), 0xFF000000u);
    EXPECT_EQ(GfxReadPixel(300, 100), 0xFFFFFFFFu);
}

TEST_F(GfxTest, DepthTestKeepsTheNearerShape) {
    StartDevice();
    SetLighting(0);
    Frame(0xFF000000, [] {
        TVertex nearQuad[4] = {{10, 10, 0.2f, 1, 0xFF00FF00}, {50, 10, 0.2f, 1, 0xFF00FF00},
                               {50, 50, 0.2f, 1, 0xFF00FF00}, {10, 50, 0.2f, 1, 0xFF00FF00}};
        TVertex farQuad[4] = {{30, 30, 0.8f, 1, 0xFFFF0000}, {70, 30, 0.8f, 1, 0xFFFF0000},
                              {70, 70, 0.8f, 1, 0xFFFF0000}, {30, 70, 0.8f, 1, 0xFFFF0000}};
        GfxSetVertexShader(kFvfXyzRhw | kFvfDiffuse);
        GfxDrawPrimitiveUP(kPtTriangleFan, 2, nearQuad, sizeof(TVertex));
        GfxDrawPrimitiveUP(kPtTriangleFan, 2, farQuad, sizeof(TVertex));
    });
    EXPECT_EQ(GfxReadPixel(40, 40), 0xFF00FF00u);
    EXPECT_EQ(GfxReadPixel(60, 60), 0xFFFF0000u);
    EXPECT_EQ(GfxReadPixel(10, 10), 0xFF00FF00u);  // the quad's first pixel
    EXPECT_EQ(GfxReadPixel(9, 10), 0xFF000000u);
    EXPECT_EQ(GfxReadPixel(49, 49), 0xFF00FF00u);  // its last: right and bottom edges excluded
    EXPECT_EQ(GfxReadPixel(50, 20), 0xFF000000u);
}

TEST_F(GfxTest, LightingUsesTheMaterialAndTheDirectionalLight) {
    StartDevice();
    struct NVertex {
        float x, y, z, nx, ny, nz;
    };
    GfxMaterial m;
    m.diffuse = Color4(1, 1, 1, 1);
    m.ambient = Color4(0, 0, 0, 1);
    GfxSetMaterial(m);
    SetAmbient(0);
    SetDirectionalLight(0, 0, 1, 1, 1, 1, 1);  // straight into the screen, onto a face looking back
    SetAlphaBlend(0, 0, 0);
    Frame(0xFF000000, [] {
        NVertex v[3] = {{-0.2f, 0.2f, 0, 0, 0, -1}, {0.2f, -0.2f, 0, 0, 0, -1}, {-0.2f, -0.2f, 0, 0, 0, -1}};
        GfxSetVertexShader(kFvfXyz | kFvfNormal);
        GfxDrawPrimitiveUP(kPtTriangleList, 1, v, sizeof(NVertex));
    });
    uint32_t lit = GfxReadPixel(300, 260);
    EXPECT_EQ(lit, 0xFFFFFFFFu);
    EnableLight(0);
    Frame(0xFF000000, [] {
        NVertex v[3] = {{-0.2f, 0.2f, 0, 0, 0, -1}, {0.2f, -0.2f, 0, 0, 0, -1}, {-0.2f, -0.2f, 0, 0, 0, -1}};
        GfxDrawPrimitiveUP(kPtTriangleList, 1, v, sizeof(NVertex));
    });
    EXPECT_EQ(GfxReadPixel(300, 260), 0xFF000000u);
}

TEST_F(GfxTest, TextStaysInsideItsBoxAndTheBackBuffer) {
    StartDevice();
    std::vector<uint32_t> before(640 * 480), after(640 * 480);
    int height = 0;
    Frame(0xFF000000, [&] { height = DrawTextAt(600, 470, "ABCDEFGH\nIJ"); });
    EXPECT_EQ(height, 32);  // two lines of 16
    ASSERT_EQ(GfxReadPixels(0, 0, 640, 480, after.data()), 1);
    int lit = 0;
    for (int y = 0; y < 480; ++y)
        for (int x = 0; x < 640; ++x)
            if (after[y * 640 + x] != 0xFF000000u) {
                ++lit;
                EXPECT_TRUE(x >= 600 && y >= 470) << x << "," << y;
            }
    EXPECT_GT(lit, 5);
    // Zero-length text draws nothing and reports no height; long formatted text is cut safely.
    Frame(0xFF000000, [&] {
        EXPECT_EQ(DrawTextAt(10, 10, ""), 0);
        std::string big(3000, 'x');
        EXPECT_EQ(DrawTextFormat(0, 0, "%s", big.c_str()), 16);
        std::string wide;
        for (int i = 0; i < 1300; ++i) wide += "あ";
        EXPECT_EQ(DrawTextFormat(0, 20, "x%s", wide.c_str()), 16);
    });
    std::vector<uint32_t> row(16 * 16);
    ASSERT_EQ(GfxReadPixels(0, 0, 16, 16, row.data()), 1);
    int drawn = 0;
    for (uint32_t c : row) drawn += c != 0xFF000000u;
    EXPECT_GT(drawn, 0);  // the cut text still starts at the left
}

TEST_F(GfxTest, TextHeightFollowsTheFontAndTabsExpand) {
    StartDevice();
    CreateTextFont(24, 0xFFFF0000, 700);
    std::vector<uint32_t> px(640 * 40);
    Frame(0xFF000000, [] { EXPECT_EQ(DrawTextAt(0, 0, "\tA"), 24); });
    ASSERT_EQ(GfxReadPixels(0, 0, 640, 40, px.data()), 1);
    int minX = 640, maxY = 0;
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 640; ++x)
            if (px[y * 640 + x] != 0xFF000000u) {
                EXPECT_EQ(px[y * 640 + x], 0xFFFF0000u);  // one colour: no blending fringe
                if (x < minX) minX = x;
                if (y > maxY) maxY = y;
            }
    EXPECT_GE(minX, 8 * 12);  // after a tab of eight average (half-em) widths
    EXPECT_LT(maxY, 24);
}

TEST_F(GfxTest, PixelFormatsConvertToOpaqueArgb) {
    EXPECT_EQ(PixelToArgb(0x00123456, kFmtX8R8G8B8), 0xFF123456u);
    EXPECT_EQ(PixelToArgb(0xF800, kFmtR5G6B5), 0xFFFF0000u);
    EXPECT_EQ(PixelToArgb(0x07E0, kFmtR5G6B5), 0xFF00FF00u);
    EXPECT_EQ(PixelToArgb(0x801F, kFmtA1R5G5B5), 0xFF0000FFu);
    EXPECT_EQ(PixelToArgb(0x0F80, kFmtA4R4G4B4), 0xFFFF8800u);
    EXPECT_EQ(PixelToArgb(0x1234, kFmtD16), 0u);
    EXPECT_STREQ(FormatName(kFmtD24X4S4), "D3DFMT_D24X4S4");
    EXPECT_STREQ(FormatName(12345), "D3DFMT_UNKNOWN");
}

TEST_F(GfxTest, StageBlendFogAndAlphaStatesShapeTheColour) {
    StartDevice();
    SetLighting(0);
    auto square = [](float x, uint32_t color, float z) {
        TVertex v[4] = {{x, 10, z, 1, color}, {x + 20, 10, z, 1, color}, {x + 20, 30, z, 1, color}, {x, 30, z, 1, color}};
        GfxSetVertexShader(kFvfXyzRhw | kFvfDiffuse);
        GfxDrawPrimitiveUP(kPtTriangleFan, 2, v, sizeof(TVertex));
    };
    Frame(0xFF000000, [&] {
        // The texture factor replaces the colour, with no texture on the stage.
        SetDeviceRenderState(kRsTextureFactor, 0xFF00FF00);
        SetColorStageOps(0, kTopSelectArg1, kTaTFactor, kTaDiffuse);
        square(0, 0xFFFF0000, 0.5f);
        SetColorStageOps(0, kTopModulate, kTaTexture, kTaDiffuse);
        // Additive blending adds onto what is there.
        square(40, 0xFF400000, 0.5f);
        SetAlphaBlend(1, kBlendOne, kBlendOne);
        square(40, 0xFF004000, 0.5f);
        SetAlphaBlend(1, kBlendSrcAlpha, kBlendInvSrcAlpha);
        // The alpha test drops fragments below its reference.
        SetAlphaTest(1, kCmpGreaterEqual, 0x80);
        square(80, 0x7FFFFFFF, 0.5f);
        square(120, 0xFFFFFFFF, 0.5f);
        SetAlphaTest(0, 0, 0);
    });
    EXPECT_EQ(GfxReadPixel(10, 20), 0xFF00FF00u);
    EXPECT_EQ(GfxReadPixel(50, 20), 0xFF404000u);
    EXPECT_EQ(GfxReadPixel(90, 20), 0xFF000000u);
    EXPECT_EQ(GfxReadPixel(130, 20), 0xFFFFFFFFu);

    // Linear fog over the eye distance: a shape beyond the fog's end takes the fog colour.
    SetTableFog(1, 0xFF0000FF, 1.0f, 2.0f);
    Frame(0xFF000000, [] {
        LVertex v[3] = {{-1, 1, 9, 0xFFFFFFFF}, {1, -1, 9, 0xFFFFFFFF}, {-1, -1, 9, 0xFFFFFFFF}};
        GfxSetVertexShader(kFvfXyz | kFvfDiffuse);
        GfxDrawPrimitiveUP(kPtTriangleList, 1, v, sizeof(LVertex));
    });
    EXPECT_EQ(GfxReadPixel(310, 250), 0xFF0000FFu);
    EXPECT_EQ(GfxGetRenderState(kRsFogEnd), FloatBits(2.0f));
    SetTableFog(0, 0, 0, 0);
    EXPECT_EQ(GfxGetRenderState(kRsFogEnable), 0u);
}

TEST_F(GfxTest, IndexedDrawsUseTheirIndicesAndDropOnesPastTheVertices) {
    StartDevice();
    SetLighting(0);
    TVertex v[4] = {{10, 10, 0.5f, 1, 0xFFFF0000}, {50, 10, 0.5f, 1, 0xFFFF0000}, {50, 50, 0.5f, 1, 0xFFFF0000},
                    {10, 50, 0.5f, 1, 0xFFFF0000}};
    const uint16_t quad[6] = {0, 1, 2, 0, 2, 3};
    const uint32_t bad[3] = {0, 2, 4};  // 4 is past the four vertices
    Frame(0xFF000000, [&] {
        GfxSetVertexShader(kFvfXyzRhw | kFvfDiffuse);
        GfxDrawIndexedPrimitiveUP(kPtTriangleList, 0, 4, 2, quad, 16, v, sizeof(TVertex));
        v[0].x += 100, v[1].x += 100, v[2].x += 100, v[3].x += 100;
        GfxDrawIndexedPrimitiveUP(kPtTriangleList, 0, 4, 1, bad, 32, v, sizeof(TVertex));
    });
    EXPECT_EQ(GfxReadPixel(15, 45), 0xFFFF0000u);
    EXPECT_EQ(GfxReadPixel(45, 15), 0xFFFF0000u);
    EXPECT_EQ(GfxReadPixel(115, 45), 0xFF000000u);
}
