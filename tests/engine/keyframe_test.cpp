// Keyframe animation: the sample model from the generator, key files short, huge and missing,
// frame choice and wrapping (speeds past the frame count included), and a headless draw.
#include "gfx_fixture.h"
#include "keyframe.h"
#include "test_folder.h"

#include "sys_path.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string g_log;
void Capture(const char* text) { g_log += text; }

class KeyframeFiles : public ::testing::Test {
protected:
    void SetUp() override {
        g_log.clear();
        ResetLogFileName();
        SysSetDebugOutputSink(Capture);
    }
    void TearDown() override { SysSetDebugOutputSink(nullptr); }
    CTestFolder m_folder;
};

TEST_F(KeyframeFiles, LoadsTheSampleModel) {
    CFolderGuard in(TEST_DATA_DIR "/sample");
    ASSERT_TRUE(in.IsEntered());
    CKeyframeMesh kf;
    ASSERT_EQ(kf.Load("walker.txt"), 1);
    EXPECT_EQ(kf.GetPartCount(), 2);
    EXPECT_EQ(kf.GetFrameCount(), 10);
    EXPECT_GT(kf.GetMesh(0).GetFaceCount(), 0);
    EXPECT_GT(kf.GetMesh(1).GetFaceCount(), 0);
    EXPECT_NE(g_log.find("load(kf_arm.x) ... ok.\n"), std::string::npos) << g_log;
    EXPECT_FLOAT_EQ(kf.GetKey(1).position.x, 0.7f);
    EXPECT_FLOAT_EQ(kf.GetKey(19).rotation.y, 0.0f);
    EXPECT_NEAR(QuatDot(kf.GetKey(5).rotation, kf.GetKey(5).rotation), 1.0f, 1e-4f);
    Mat4 m;
    kf.GetKeyMatrix(&m, 1, 3, 0.5f);
    EXPECT_FLOAT_EQ(m.m[3][0], 0.7f);
    EXPECT_FLOAT_EQ(m.m[3][1], 1.4f);
}

TEST_F(KeyframeFiles, MissingShortAndHugeFiles) {
    CKeyframeMesh kf;
    EXPECT_EQ(kf.Load("nothing.txt"), 0);
    EXPECT_EQ(g_log, "can't open nothing.txt.\n");
    EXPECT_EQ(kf.GetPartCount(), 0);

    // Three frames announced, one and a half keys given: the rest stay at rest.
    WriteWholeFile(m_folder.File("short.txt"), "1\nnone.x\n3\n1,2,3 0,0,0.6,0.8\n4,5");
    ASSERT_EQ(kf.Load("short.txt"), 1);
    EXPECT_EQ(kf.GetFrameCount(), 3);
    EXPECT_FLOAT_EQ(kf.GetKey(0).position.z, 3.0f);
    EXPECT_FLOAT_EQ(kf.GetKey(0).rotation.w, 0.8f);
    EXPECT_EQ(kf.GetKey(1).position, Vec3());
    EXPECT_EQ(kf.GetKey(2).rotation.w, 1.0f);
    EXPECT_EQ(kf.GetMesh(0).GetVertexCount(), 0);  // the missing mesh stays empty
    EXPECT_EQ(kf.Draw(1), 0);

    // Counts past the bounds are refused before anything is allocated.
    WriteWholeFile(m_folder.File("huge.txt"), "2000000000\na.x\n");
    ASSERT_EQ(kf.Load("huge.txt"), 1);
    EXPECT_EQ(kf.GetPartCount(), 0);
    WriteWholeFile(m_folder.File("huge2.txt"), "1\na.x\n2000000000\n");
    ASSERT_EQ(kf.Load("huge2.txt"), 1);
    EXPECT_EQ(kf.GetFrameCount(), 0);
    WriteWholeFile(m_folder.File("neg.txt"), "-4\n");
    ASSERT_EQ(kf.Load("neg.txt"), 1);
    EXPECT_EQ(kf.GetPartCount(), 0);
    EXPECT_EQ(kf.Draw(0), 0);
}

TEST_F(KeyframeFiles, FrameChoiceAndWrapping) {
    std::string text = "1\nnone.x\n10\n";
    for (int i = 0; i < 10; ++i) text += std::to_string(i) + ",0,0 0,0,0,1\n";
    WriteWholeFile(m_folder.File("ten.txt"), text);
    CKeyframeMesh kf;
    ASSERT_EQ(kf.Load("ten.txt"), 1);
    int c, n;
    float t;
    kf.m_frame = 9.5f;
    kf.ChooseFrames(0, &c, &n, &t);
    EXPECT_EQ(c, 9);
    EXPECT_EQ(n, 9);  // the last frame blends with itself without the loop
    kf.ChooseFrames(1, &c, &n, &t);
    EXPECT_EQ(n, 0);
    EXPECT_FLOAT_EQ(t, 0.5f);

    kf.m_frame = 9.98f;
    EXPECT_EQ(kf.Draw(1), 0);
    EXPECT_NEAR(kf.m_frame, 0.03f, 1e-4f);
    kf.m_frame = 9.98f;
    EXPECT_EQ(kf.Draw(0), 1);
    EXPECT_LT(kf.m_frame, 1.0f);

    kf.m_speed = -0.05f;
    kf.m_frame = 0;
    kf.ChooseFrames(1, &c, &n, &t);
    EXPECT_EQ(c, 0);
    EXPECT_EQ(n, 9);
    EXPECT_FLOAT_EQ(t, 1.0f);
    EXPECT_EQ(kf.Draw(0), 1);
    EXPECT_NEAR(kf.m_frame, 9.95f, 1e-4f);

    // Speeds of the whole animation or more, and frames set outside, wrap into range.
    kf.m_speed = 25.5f;
    kf.m_frame = 3;
    EXPECT_EQ(kf.Draw(0), 1);
    EXPECT_NEAR(kf.m_frame, 8.5f, 1e-4f);
    kf.m_speed = -37.0f;
    EXPECT_EQ(kf.Draw(1), 0);
    EXPECT_GE(kf.m_frame, 0.0f);
    EXPECT_LT(kf.m_frame, 10.0f);
    kf.m_frame = 1e9f;
    kf.ChooseFrames(1, &c, &n, &t);
    EXPECT_GE(c, 0);
    EXPECT_LT(c, 10);
    kf.m_speed = 0;
    kf.m_frame = 4.5f;
    kf.ChooseFrames(1, &c, &n, &t);
    EXPECT_EQ(n, c);
    EXPECT_EQ(t, 0.0f);
}

class KeyframeDraw : public GfxTest {};

TEST_F(KeyframeDraw, TheModelDrawsWhereItsBaseNodeIs) {
    StartDevice();
    g_matView = MatrixLookAtLH(Vec3(0, 1, -6), Vec3(0, 1, 0), Vec3(0, 1, 0));
    CFolderGuard in(TEST_DATA_DIR "/sample");
    CKeyframeMesh kf;
    ASSERT_EQ(kf.Load("walker.txt"), 1);
    kf.m_speed = 0;
    Frame(0xFF000000, [&] { kf.Draw(1); });
    EXPECT_NE(GfxReadPixel(320, 240), 0xFF000000u);
    kf.m_base.SetLocalPosition(5, 0, 0);  // every part moves with the base
    Frame(0xFF000000, [&] { kf.Draw(1); });
    EXPECT_EQ(GfxReadPixel(320, 240), 0xFF000000u);
}

}  // namespace
