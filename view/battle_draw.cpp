// One battle frame: the stage, the robots, the weather box around the camera, the shadows,
// the projectiles in their three blend passes, the head-up display and the two banners. The
// graphics level decides the texture filter and whether the weather box and shadows are drawn.
#include "battle.h"

#include "camera.h"
#include "graphics.h"
#include "sys_time.h"

#include <cmath>

namespace {

bool Flying(const CProjectile& p) { return p.GetStateCode() == kStateFlying; }

}  // namespace

void CBattle::Draw(int withHud) {
    const int level = m_graphics;
    if (level == 1) SetTextureFilter(0, kFilterPoint);
    else if (level == 2) SetTextureFilter(0, kFilterNone);
    else if (level == 3) SetTextureFilter(0, kFilterLinear);
    SetLighting(1);
    SetAlphaTest(1, kCmpGreaterEqual, 16);
    m_stageObjects[1].Draw();
    const int robots = m_robotCount < kMaxRobots ? m_robotCount : kMaxRobots;
    for (int i = 0; i < robots; ++i) m_robots[i].Draw();

    if (level == 2 || level == 3) {
        SetAlphaTest(1, kCmpGreaterEqual, 16);
        // The box is a drawing prop, never collided with: moving it changes nothing simulated.
        C3DObject& box = m_stageObjects[2];
        const Vec3 c = GetCameraPosition();
        if (m_weather == 0) {
            m_stageEnv.DisableFog();
            SetZWriteEnable(0);
            box.SetLocalPosition(c.x, c.y, c.z);
            box.Draw();
            SetZWriteEnable(1);
            m_stageEnv.ApplyFog();
        } else if (m_weather == 1) {
            SetZWriteEnable(0);
            SetZEnable(0);
            const float f = float(SysGetTicks() % 1000) / 1000.0f;
            box.SetLocalPosition(2 * std::trunc(c.x / 2), 2 * std::trunc(c.y / 2) - f, 2 * std::trunc(c.z / 2));
            box.Draw();
            SetZEnable(1);
            SetZWriteEnable(1);
        }
        SetAlphaTest(0, kCmpAlways, 0);
    }
    SetAlphaTest(0, kCmpAlways, 0);

    if (level == 2 || level == 3) {
        SetZWriteEnable(0);
        SetZEnable(1);
        for (int i = 0; i < robots; ++i) m_robots[i].DrawShadow();
        SetZWriteEnable(1);
    }

    const int count = m_projectiles.GetCount();
    for (int i = 0; i < count; ++i) {
        CProjectile& p = m_projectiles.GetRecord(i);
        if (p.m_blendPass == 0 && Flying(p)) p.Draw();
    }
    SetZWriteEnable(0);
    SetZEnable(1);
    for (int i = 0; i < count; ++i) {
        CProjectile& p = m_projectiles.GetRecord(i);
        if (p.m_blendPass == 1 && Flying(p)) p.Draw();
    }
    SetAlphaBlend(1, kBlendSrcAlpha, kBlendOne);
    for (int i = 0; i < count; ++i) {
        CProjectile& p = m_projectiles.GetRecord(i);
        const int state = p.GetStateCode();
        if ((p.m_blendPass == 2 && state == kStateFlying) || state == kStateHit || state == kStateTerrain) p.Draw();
    }
    for (int i = 0; i < count; ++i) m_projectiles.GetRecord(i).DrawTrail();
    SetAlphaBlend(1, kBlendSrcAlpha, kBlendInvSrcAlpha);
    SetZWriteEnable(1);

    if (withHud) {
        if (m_clock >= 0) m_view.m_clockSeconds = m_clock / 30;
        m_view.DrawHud(m_ownIndex, m_robots, robots, &m_projectiles, count);
    }
    if (level == 2 || level == 3) SetTextureFilter(0, kFilterPoint);
    m_banner1.Draw();
    m_banner2.Draw();
}
