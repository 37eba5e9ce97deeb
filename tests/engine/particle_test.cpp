// Particles: lifetimes at a measured frame rate, fading, zero launch directions, byte ranges
// with nothing above their minimum, and a headless draw.
#include "frame_timer.h"
#include "gfx_fixture.h"
#include "particle.h"

#include "sys_rand.h"

#include <gtest/gtest.h>

namespace {

ParticleSettings OneSecondWhite() {
    ParticleSettings s;
    s.lifeMin = s.lifeMax = 1.0f;
    s.redMin = 200, s.redMax = 255;
    s.greenMin = s.greenMax = 255;  // max = min: the minimum, never a division by zero
    s.blueMin = s.blueMax = 255;
    s.alphaMin = s.alphaMax = 255;
    s.sizeMin = s.sizeMax = 0.5f;
    s.speedMin = 1, s.speedMax = 2;
    return s;
}

class Particles : public GfxTest {
protected:
    void SetUp() override {
        GfxTest::SetUp();
        StartDevice();
        g_frameTimer.m_fps = 30.0f;
        GameSrand(7);
        g_matView = MatrixLookAtLH(Vec3(0, 0, -10), Vec3(0, 0, 0), Vec3(0, 1, 0));
    }
};

TEST_F(Particles, LifeFadeAndRespawn) {
    CParticleSystem ps;
    ParticleSettings s = OneSecondWhite();
    s.alphaRateMin = s.alphaRateMax = -255.0f;
    ps.Create(4, 0, 0, 0, s);
    ASSERT_EQ(ps.GetCount(), 4);
    EXPECT_EQ(ps.GetParticle(0).green, 255);
    EXPECT_GE(ps.GetParticle(0).red, 200);
    int drawn = 0;
    for (int i = 0; i < 40; ++i) {
        int none = 0;
        Frame(0, [&] { none = ps.Draw(); });
        if (!none) {
            ++drawn;
            EXPECT_EQ(ps.GetEmittedVertexCount(), 24);
        }
    }
    EXPECT_GE(drawn, 30);
    EXPECT_LE(drawn, 31);
    EXPECT_EQ(ps.GetParticle(2).alpha, 0.0f);  // faded out in the second and held at zero
    int none = 0;
    Frame(0, [&] { none = ps.Draw(); });
    EXPECT_EQ(none, 1);
    EXPECT_EQ(ps.GetEmittedVertexCount(), 0);
    ps.Respawn(s);
    EXPECT_EQ(ps.GetParticle(1).age, 0.0f);
    EXPECT_EQ(ps.GetParticle(1).alpha, 255.0f);
}

TEST_F(Particles, ZeroDirectionsMoveOnlyByAcceleration) {
    CParticleSystem ps;
    ps.SetDirectionRangeX(0, 0);
    ps.SetDirectionRangeY(0, 0);
    ps.SetDirectionRangeZ(0, 0);
    ps.m_acceleration = Vec3(0, -1, 0);
    ps.Create(3, 1, 2, 3, OneSecondWhite());
    EXPECT_EQ(ps.GetParticle(0).velocity, Vec3());
    for (int i = 0; i < 15; ++i) Frame(0, [&] { ps.Draw(); });
    const Particle& p = ps.GetParticle(0);
    EXPECT_NEAR(p.position.y, -p.age * p.age, 1e-6f);
    EXPECT_EQ(p.position.x, 0.0f);
    CParticleSystem empty;
    EXPECT_EQ(empty.Draw(), 0);
    ps.Create(0, 0, 0, 0, OneSecondWhite());
    EXPECT_EQ(ps.GetCount(), 0);
}

TEST_F(Particles, DrawFacesTheCamera) {
    CParticleSystem ps;
    ps.SetDirectionRangeX(0, 0);
    ps.SetDirectionRangeY(0, 0);
    ps.SetDirectionRangeZ(0, 0);
    ParticleSettings s = OneSecondWhite();
    s.sizeMin = s.sizeMax = 1.0f;
    ps.Create(1, 0, 0, 0, s);
    SetLighting(0);
    Frame(0xFF000000, [&] { ps.Draw(); });
    uint32_t c = GfxReadPixel(320, 240);
    EXPECT_NE(c, 0xFF000000u);
    EXPECT_EQ(GfxReadPixel(20, 20), 0xFF000000u);
}

}  // namespace
