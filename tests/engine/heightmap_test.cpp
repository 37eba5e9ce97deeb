// Height-map terrain: grids from small images (square, flat, odd sizes), heights between and
// beyond the grid points, the size and image failures, and a headless draw of the sample hill.
#include "gfx_fixture.h"
#include "heightmap.h"
#include "test_folder.h"

#include "sys_image.h"
#include "sys_path.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

std::string g_log;
void Capture(const char* text) { g_log += text; }

uint32_t Grey(int g) { return 0xFF000000u | g << 16 | g << 8 | g; }

class HeightMapFiles : public ::testing::Test {
protected:
    void SetUp() override {
        g_log.clear();
        ResetLogFileName();
        SysSetDebugOutputSink(Capture);
        m_savedMax = g_maxPrimitiveCount;
        g_maxPrimitiveCount = 1 << 20;
    }
    void TearDown() override {
        SysSetDebugOutputSink(nullptr);
        g_maxPrimitiveCount = m_savedMax;
    }
    void Image(const char* name, int w, int h, const std::vector<int>& greens) {
        std::vector<uint32_t> px;
        for (int g : greens) px.push_back(Grey(g));
        ASSERT_EQ(SysSavePng(m_folder.File(name), px.data(), w, h), 1);
    }
    CTestFolder m_folder;
    int m_savedMax = 0;
};

TEST_F(HeightMapFiles, TwoByTwoGridWithAFlatFarBorder) {
    Image("two.png", 2, 2, {0, 64, 128, 255});
    CHeightMap hm;
    ASSERT_EQ(hm.Build("two.png", 0, 0, 0, 1.0f, 256.0f, 0xFF808080), 1);
    const std::vector<TerrainVertex>& v = hm.GetVertices();
    ASSERT_EQ(v.size(), 24u);
    // Cell (0, 0): corners from pixels (0,0) 0, (1,0) 64, (0,1) 128, (1,1) 255; grid from -1.
    EXPECT_EQ(v[0].position, Vec3(-1, 0, -1));
    EXPECT_EQ(v[1].position, Vec3(-1, 128, 0));
    EXPECT_EQ(v[2].position, Vec3(0, 255, 0));
    EXPECT_EQ(v[5].position, Vec3(0, 64, -1));
    EXPECT_EQ(v[2].u, 0.5f);
    EXPECT_EQ(v[2].v, 0.5f);
    EXPECT_EQ(v[0].color, 0xFF808080u);
    // The last cell repeats its own height at all four corners.
    for (int i = 18; i < 24; ++i) EXPECT_EQ(v[i].position.y, 255.0f);
    EXPECT_FLOAT_EQ(hm.GetHeight(-1, -1), 0.0f);
    EXPECT_FLOAT_EQ(hm.GetHeight(0, -1), 64.0f);
    EXPECT_FLOAT_EQ(hm.GetHeight(-0.5f, -1), 32.0f);
    EXPECT_FLOAT_EQ(hm.GetHeight(-100, -100), 0.0f);  // nearest edge point
    EXPECT_FLOAT_EQ(hm.GetHeight(100, 100), 255.0f);
}

TEST_F(HeightMapFiles, FlatBlackImageIsLevelAtY0) {
    Image("black.png", 4, 4, std::vector<int>(16, 0));
    CHeightMap hm;
    ASSERT_EQ(hm.Build("black.png", 10, 5, -3, 2.0f, 100.0f, 0xFFFFFFFF), 1);
    for (const TerrainVertex& t : hm.GetVertices()) {
        EXPECT_EQ(t.position.y, 5.0f);
        EXPECT_NEAR(t.normal.y, 1.0f, 1e-6f);
        EXPECT_NEAR(t.normal.x, 0.0f, 1e-6f);
    }
    for (float x = -9; x <= 9; x += 1.5f) EXPECT_FLOAT_EQ(hm.GetHeight(x, -x), 5.0f);
}

TEST_F(HeightMapFiles, OddSizesLineUpWithTheirGrid) {
    // Three columns, five rows: neither a power of two.
    std::vector<int> g;
    for (int r = 0; r < 5; ++r)
        for (int c = 0; c < 3; ++c) g.push_back(10 * r + 40 * c);
    Image("odd.png", 3, 5, g);
    CHeightMap hm;
    ASSERT_EQ(hm.Build("odd.png", 0, 0, 0, 2.0f, 256.0f, 0xFFFFFFFF), 1);
    EXPECT_EQ(hm.GetWidth(), 3);
    EXPECT_EQ(hm.GetDepth(), 5);
    const std::vector<TerrainVertex>& v = hm.GetVertices();
    for (int r = 0; r < 5; ++r)
        for (int c = 0; c < 3; ++c) {
            const Vec3& p = v[(r * 3 + c) * 6].position;  // the grid point of pixel (c, r)
            EXPECT_FLOAT_EQ(hm.GetHeight(p.x, p.z), static_cast<float>(10 * r + 40 * c)) << c << "," << r;
        }
    // Between columns 1 and 2 of row 2: halfway between 60 and 100.
    const Vec3& a = v[(2 * 3 + 1) * 6].position;
    EXPECT_FLOAT_EQ(hm.GetHeight(a.x + 1, a.z), 80.0f);
}

TEST_F(HeightMapFiles, FailuresKeepThePreviousDrawing) {
    Image("full.png", 2, 2, {255, 255, 255, 255});
    CHeightMap hm;
    EXPECT_EQ(hm.GetHeight(0, 0), 0.0f);
    ASSERT_EQ(hm.Build("full.png", 0, 0, 0, 1, 256, 0xFFFFFFFF), 1);
    EXPECT_EQ(hm.GetHeight(0, 0), 255.0f);
    EXPECT_EQ(hm.Build("missing.png", 0, 0, 0, 1, 256, 0xFFFFFFFF), 0);
    EXPECT_EQ(g_log, "LOAD_TEXTURE_SYS:missing.png\n");
    EXPECT_EQ(hm.GetHeight(0, 0), 0.0f);  // heights freed
    EXPECT_EQ(hm.IsBuilt(), 1);            // the old terrain still draws
    g_log.clear();
    g_maxPrimitiveCount = 23;
    EXPECT_EQ(hm.Build("full.png", 0, 0, 0, 1, 256, 0xFFFFFFFF), 0);
    EXPECT_EQ(g_log, "Over max primitive count.\n");
}

class HeightMapDraw : public GfxTest {};

TEST_F(HeightMapDraw, TheSampleHillShows) {
    StartDevice();
    g_matView = MatrixLookAtLH(Vec3(0, 40, -30), Vec3(0, 0, 0), Vec3(0, 1, 0));
    CFolderGuard in(TEST_DATA_DIR "/sample");
    CHeightMap hm;
    ASSERT_EQ(hm.Build("hill.png", 0, 0, 0, 2.0f, 20.0f, 0xFF40A040), 1);
    EXPECT_GT(hm.GetHeight(2, 0), hm.GetHeight(-12, 0));  // the hill stands right of centre
    SetLighting(0);
    Frame(0xFF000000, [&] {
        DeviceSetTransform(Mat4::Identity());
        hm.Draw();
    });
    EXPECT_EQ(GfxReadPixel(320, 240), 0xFF40A040u);
    EXPECT_EQ(GfxReadPixel(2, 2), 0xFF000000u);
}

}  // namespace
