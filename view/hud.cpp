// The head-up display, drawn after the 3-D scene by the view mode's layout: debug figures
// (1 to 3), the line layout (5, 6), the default gauges, lock-on display, name tags, radar and
// lamps (9 to 12), and the time-up panel. It reads robots and projectiles and changes neither;
// what it keeps (lock-sound edge, markers, tags) lives in the view.
#include "battle_view.h"

#include "camera.h"
#include "frame_timer.h"
#include "graphics.h"
#include "projectile_pool.h"
#include "robot.h"
#include "shapes.h"

#include <cmath>

namespace {

int Clamp100(int p) { return p < 0 ? 0 : p > 100 ? 100 : p; }
char TeamLetter(const CRobot& r) { return r.m_teamCode.empty() ? 0 : r.m_teamCode[0]; }
const C3DObject& Root(const CRobot& r) { return r.m_frames[kRootFrame]; }
Vec3 RootPosition(const CRobot& r) { return Root(r).GetLocalPosition(); }
const std::string& NameOf(const CRobot& r) { return r.m_actionNames[0]; }

// In the robot's lock cone: 0 to 15 units ahead, at most a fifth as far to the side.
bool InLockCone(const CRobot& own, const CRobot& target) {
    Vec3 rel = GetRelativePosition(Root(own), Root(target));
    return rel.z > -15 && rel.z < 0 && std::fabs(rel.x) <= 0.2f * std::fabs(rel.z);
}

void DrawCut(CSprite& s, int l, int t, int r, int b, float x, float y) {
    s.SetRect(l, t, r, b);
    s.SetPosition(x, y);
    s.Draw();
}

}  // namespace

void CBattleView::DrawHud(int ownIndex, CRobot* robots, int robotCount, CProjectilePool* projectiles,
                          int projectileCount) {
    SetLighting(0);
    const float rate = g_frameTimer.m_fps;
    m_font1.DrawText(0, 0, "FPS");
    m_font1.DrawNumber(30, 0, int(rate), 2);
    m_font1.DrawNumber(55, 0, int(rate * 10) % 10, 1);
    const Vec3 ear = GetCameraPosition() + GetCameraDirection();
    m_lockSound.SetPosition3D(ear.x, ear.y, ear.z);
    m_targetSound.SetPosition3D(ear.x, ear.y, ear.z);
    if (ownIndex < 0 || ownIndex >= robotCount) return;
    CRobot& own = robots[ownIndex];
    const CRobot* target = own.m_target;
    switch (m_viewMode) {
    case 1:
    case 2: DrawDebugStats(own, target); break;
    case 3: DrawSight(own, target); break;
    case 5: DrawLineHud(own, target); break;
    case 6:
        DrawLineHud(own, target);
        DrawTeamList(ownIndex, robots, robotCount);
        DrawRadar(ownIndex, robots, robotCount, projectiles, projectileCount);
        break;
    case 9:
    case 10:
    case 11:
    case 12:
        DrawHpBars(ownIndex, robots, robotCount);
        if (target) DrawLockOn(own, *target);
        DrawNameTags(ownIndex, robots, robotCount);
        DrawRadar(ownIndex, robots, robotCount, projectiles, projectileCount);
        DrawLockLamps(ownIndex, robots, robotCount);
        break;
    case kTimeUpViewMode: DrawTimeUp(ownIndex, robots, robotCount); break;
    default: break;
    }
}

// ---- Bars ----

void CBattleView::DrawRect(int x1, int y1, int x2, int y2, uint32_t color) { DrawRect2D(x1, y1, x2, y2, color); }

void CBattleView::DrawGaugeBar(int x, int y, int percent) {
    const int p = Clamp100(percent);
    DrawRect(x, y, x + p, y + 10, 0xFF000088);
    DrawRect(x, y + 2, x + p, y + 6, 0xFF0000FF);
}

void CBattleView::DrawThinBar(int x, int y, int percent, uint32_t color) {
    DrawRect(x, y + 2, x + Clamp100(percent), y + 6, color);
}

// ---- Debug figures and the line layout (a missing target leaves its half out) ----

void CBattleView::DrawDebugStats(const CRobot& own, const CRobot* target) {
    SetDeviceTexture(0, nullptr);
    const int ys[4] = {360, 380, 400, 420};
    auto bars = [&](const CRobot& r, int x) {
        DrawGaugeBar(x, ys[0], Percent(r.m_hp, r.m_maxHp));
        DrawGaugeBar(x, ys[1], Percent(r.m_ap, r.m_maxAp));
        DrawGaugeBar(x, ys[2], Percent(r.m_vp, r.m_maxVp));
        DrawGaugeBar(x, ys[3], Percent(r.m_ep, r.m_maxEp));
    };
    bars(own, 530);
    if (target) bars(*target, 30);
    BeginText();
    if (own.m_framesSinceDamage < 60) DrawTextFormat(50, 200, "Damege! %d Point", own.m_lastDamage);
    if (own.m_sinceDown < 60) DrawTextAt(50, 216, "Daun!");
    if (target && target->m_framesSinceDamage < 60) DrawTextFormat(50, 232, "Hit! %d Point", target->m_lastDamage);
    if (target && target->m_sinceDown < 60) DrawTextAt(50, 248, "Hit & Daun!");
    auto lines = [&](const CRobot& r, int x, const char* const formats[4]) {
        const int values[4][2] = {{r.m_hp, r.m_maxHp}, {r.m_ap, r.m_maxAp}, {r.m_vp, r.m_maxVp}, {r.m_ep, r.m_maxEp}};
        for (int i = 0; i < 4; ++i)
            DrawTextFormat(x, ys[i], formats[i], values[i][0], Percent(values[i][0], values[i][1]));
    };
    static const char* const kOwn[4] = {"HP %5d %3d%%", "AP %5d %3d%%", "VP %5d %3d%%", "EP %5d %3d%%"};
    static const char* const kEnemy[4] = {"EN HP %5d %3d%%", "EN AP %5d %3d%%", "EN VP %5d %3d%%", "EN EP %5d %3d%%"};
    lines(own, 530, kOwn);
    if (target) lines(*target, 30, kEnemy);
    EndText();
}

void CBattleView::DrawSight(const CRobot& own, const CRobot* target) {
    BeginSprites();
    m_compass.m_sprite.Draw();
    if (target && InLockCone(own, *target)) {
        const Vec3 p = WorldToScreen(RootPosition(*target));
        if (IsDrawableScreenPoint(RootPosition(*target), p)) {
            m_sight.m_sprite.SetPosition(p.x - 64, p.y - 64);
            m_sight.m_sprite.SetRotation(ScreenTurn(GetDistanceVec(RootPosition(own), RootPosition(*target))));
            m_sight.m_sprite.Draw();
        }
        if (!m_sightFlag) m_lockSound.Play(0);
        m_sightFlag = 1;
    } else {
        m_sightFlag = 0;
    }
    EndSprites();
    DrawDebugStats(own, target);
}

void CBattleView::DrawLineHud(const CRobot& own, const CRobot* target) {
    if (target && InLockCone(own, *target)) {
        if (!m_sightFlag) m_lockSound.Play(0);
        m_sightFlag = 1;
    } else {
        m_sightFlag = 0;
    }
    BeginSprites();
    CSprite& labels = m_labels.m_sprite;
    const int n = own.m_framesSinceDamage, m = own.m_stepCounter;
    if (n < 30 && (n / 2) % 2 == 0) DrawCut(labels, 0, 32, 128, 64, 512, 100);
    else if (n >= 30 && n < 45) DrawCut(labels, 0, 32, 128, 64, float(8 * n + 272), 100);
    if (m < 30 && (m / 2) % 2 == 0) DrawCut(labels, 0, 0, 128, 32, 512, 132);
    else if (m >= 30 && m < 45) DrawCut(labels, 0, 0, 128, 32, float(8 * m + 272), 132);
    EndSprites();
    SetDeviceTexture(0, nullptr);
    if (target) {
        m_lineNode.SetMatrix(Mat4::Identity());
        DeviceSetTransform(m_lineNode.GetWorldMatrix());
        DrawLine3D(RootPosition(own), RootPosition(*target), m_sightFlag ? 0x80FF0000 : 0x80FFFFFF, 0);
    }
    DrawStatusText(own, target);
}

void CBattleView::DrawStatusText(const CRobot& own, const CRobot* target) {
    SetDeviceTexture(0, nullptr);
    DrawThinBar(530, 360, Percent(own.m_hp, own.m_maxHp), 0xFF0000FF);
    if (target) DrawThinBar(30, 360, Percent(target->m_hp, target->m_maxHp), 0xFF0000FF);
    BeginText();
    // Names (player names online) are text, never a format.
    DrawTextAt(530, 340, NameOf(own).c_str());
    DrawTextFormat(530, 360, "H%3d", Percent(own.m_hp, own.m_maxHp));
    DrawTextFormat(530, 380, "A%3d", Percent(own.m_ap, own.m_maxAp));
    DrawTextFormat(530, 400, "V%3d", Percent(own.m_vp, own.m_maxVp));
    DrawTextFormat(530, 420, "E%3d", Percent(own.m_ep, own.m_maxEp));
    if (target) {
        DrawTextAt(30, 340, NameOf(*target).c_str());
        DrawTextFormat(30, 360, "H%3d", Percent(target->m_hp, target->m_maxHp));
        DrawTextFormat(30, 380, "A%3d", Percent(target->m_ap, target->m_maxAp));
    }
    EndText();
}

// ---- Default layout ----

void CBattleView::DrawHpBars(int ownIndex, const CRobot* robots, int robotCount) {
    DrawHpBar(ownIndex, robots, robotCount, 100, 10);
    int target = 0;
    for (int i = 0; i < robotCount; ++i)
        if (&robots[i] == robots[ownIndex].m_target) target = i;
    DrawHpBar(target, robots, robotCount, 100, 30);
}

void CBattleView::DrawHpBar(int index, const CRobot* robots, int robotCount, int x, int y) {
    const CRobot& b = robots[index];
    const int c = Percent(b.m_hp, b.m_maxHp);
    int t = b.m_framesSinceDamage > 45 ? c : Percent(b.m_hp + b.m_comboDamage, b.m_maxHp);
    // A crystal can lift HP past its maximum: the bar stops at its end, the figures do not.
    const int cw = Clamp100(c), tw = Clamp100(t < c ? c : t);
    CSprite& s = m_meter.m_sprite;
    s.SetScale(3, 1);
    s.SetColor(0xFFFFFFFF);
    DrawCut(s, tw, 25, 100, 40, float(x + 3 * tw), float(y));
    DrawCut(s, 0, 10, cw, 25, float(x), float(y));
    s.SetColor(0xFFFF0505);
    DrawCut(s, cw, 10, tw, 25, float(x + 3 * cw), float(y));
    s.SetColor(0xFFFFFFFF);
    s.SetScale(1, 1);
    int sum = 0;
    for (int i = 0; i < robotCount; ++i)
        if (TeamLetter(robots[i]) == TeamLetter(b)) sum += Percent(robots[i].m_hp, robots[i].m_maxHp);
    m_font1.DrawNumber(float(x + 305), float(y), sum, 4);
    if (b.m_maxAp >= 20) {
        const int a = Clamp100(Percent(b.m_ap, b.m_maxAp));
        DrawCut(s, 0, 50, 27, 60, float(x + 360), float(y));
        s.SetColor(m_barBack);
        DrawCut(s, 28, 50, 128, 60, float(x + 388), float(y));
        s.SetColor(0xFFFFFFFF);
        DrawCut(s, 28, 40, a + 28, 50, float(x + 388), float(y));
    }
}

void CBattleView::DrawVpEpBars(const CRobot& r, int x, int y) {
    CSprite& s = m_meter.m_sprite;
    const int rows[2][2] = {{70, Clamp100(Percent(r.m_vp, r.m_maxVp))}, {90, Clamp100(Percent(r.m_ep, r.m_maxEp))}};
    for (int i = 0; i < 2; ++i) {
        const int top = rows[i][0], fy = y + 15 * i;
        s.SetColor(0xFFFFFFFF);
        DrawCut(s, 0, top, 27, top + 10, float(x), float(fy));
        s.SetColor(m_barBack);
        DrawCut(s, 28, top, 128, top + 10, float(x + 28), float(fy));
        s.SetColor(0xFFFFFFFF);
        DrawCut(s, 28, top - 10, rows[i][1] + 28, top, float(x + 28), float(fy));
    }
}

void CBattleView::DrawLockOn(CRobot& own, const CRobot& target) {
    if (own.IsTargetInFront()) {
        if (!m_sightFlag) m_lockSound.Play(0);
        m_sightFlag = 1;
    } else {
        m_sightFlag = 0;
    }
    if (own.m_nextTargetRequest) m_targetSound.Play(0);
    if (m_clockSeconds < 0) m_font2.DrawText(10, 10, "XXX");
    else m_font2.DrawNumber(10, 10, m_clockSeconds, 3);
    DrawVpEpBars(own, 500, 160);
    const Vec3 aimWorld = RootPosition(own) - Root(own).GetLocalAxisZ() * 5.0f;
    const Vec3 aim = WorldToScreen(aimWorld);
    const bool aimShown = IsDrawableScreenPoint(aimWorld, aim);
    if (aimShown) {
        m_aim.m_sprite.SetPosition(aim.x - 16, aim.y - 16);
        m_aim.m_sprite.Draw();
    }
    const Vec3 p = WorldToScreen(RootPosition(target));
    const bool ahead = IsDrawableScreenPoint(RootPosition(target), p);
    CSprite& sight = m_sight.m_sprite;
    sight.SetPosition(p.x - 32, p.y - 32);
    sight.SetRotation(0);
    sight.SetColor(m_sightFlag ? m_markerLocked : m_markerFree);
    if (ahead) sight.Draw();
    DrawWeaponList(own);
    if (m_graphicsLevel == 1) return;

    const int d = int(GetDistanceVec(RootPosition(own), RootPosition(target)) * 10);
    m_font1.SetColor(0xFAFFFFFF);
    // Beside the aim point while the target is out of the sight (not at all while that point
    // cannot be drawn), beside the target while it is in it.
    if (!m_sightFlag) {
        if (aimShown) m_font1.DrawNumber(aim.x + 10, aim.y + 10, d, 3);
    } else if (ahead) {
        m_font1.DrawNumber(p.x + 20, p.y + 20, d, 3);
    }
    m_font1.SetColor(own.m_lockOn ? 0xFF9B9BFF : 0xFFFF9B9B);
    m_font1.DrawText(550, 60, own.m_lockOn ? "AUTO" : "MUNAL");
    m_font1.SetColor(0xFFFFFFFF);

    const Vec3 rel = GetRelativePosition(Root(own), Root(target));
    if (own.m_lockOn) {
        // Behind the eye the point is still bounded and the markers go for it as ever; level with
        // the eye they keep their goals.
        if (IsScreenPointBounded(p))
            for (CLockMarker& m : m_markers) SetMarkerGoal(m, 0, int(p.x), int(p.y), m_sightFlag, 1);
    } else {
        if (++m_markerIndex > 3) m_markerIndex = 0;
        const float g = -GetAngle2D(rel);
        const float qx = 320 + SinF(g) * 200, qy = 240 + CosF(g) * 100;
        SetMarkerGoal(m_markers[m_markerIndex], g + 2.3562f, int(qx), int(qy), m_sightFlag, 0);
    }
    for (CLockMarker& m : m_markers) UpdateMarker(m);

    if (!m_sightFlag) {
        const int i = m_markerIndex;
        CSprite& arrow = m_arrow.m_sprite;
        if (rel.z < -10) {
            arrow.SetPosition(304, float(74 - 20 * i));
            arrow.SetRotation(0);
        } else if (rel.z > 10) {
            arrow.SetPosition(304, float(324 + 20 * i));
            arrow.SetRotation(ScreenTurn(-3.14159f));
        } else if (rel.x < 0) {
            arrow.SetPosition(float(554 + 20 * i), 174);
            arrow.SetRotation(ScreenTurn(-1.570795f));
        } else {
            arrow.SetPosition(float(54 - 20 * i), 174);
            arrow.SetRotation(ScreenTurn(1.570795f));
        }
        arrow.Draw();
    }

    BeginSprites();
    CSprite& labels = m_labels.m_sprite;
    labels.SetScale(2, 2);
    if (own.m_stepCounter < 20) DrawCut(labels, 0, 0, 128, 25, 192, 92);
    if (target.m_currentAction == target.m_actionNames[9]) DrawCut(labels, 0, 100, 128, 125, 192, 60);
    if (own.m_framesSinceDamage < 20) DrawCut(labels, 0, 25, 128, 50, 192, 332);
    if (own.m_currentAction == own.m_actionNames[13]) DrawCut(labels, 0, 50, 128, 75, 192, 364);
    if (own.m_currentAction == own.m_actionNames[14]) DrawCut(labels, 0, 75, 128, 100, 192, 364);
    if (own.m_currentAction == own.m_actionNames[9]) DrawCut(labels, 0, 100, 128, 125, 192, 364);
    labels.SetScale(1, 1);
    EndSprites();
}

void CBattleView::DrawWeaponList(const CRobot& r) {
    int ys[3] = {450, 450, 450};
    const int count = r.m_weapons.count < kWeaponSlotCount ? r.m_weapons.count : kWeaponSlotCount;
    for (int i = 0; i < count; ++i) {
        const CWeaponSlot& w = r.m_weapons.slots[i];
        if (w.ammo == -1) continue;
        const int column = w.side == "L" ? 0 : w.side == "R" ? 2 : 1;
        const int x = column == 0 ? 130 : column == 2 ? 430 : 280;
        m_font1.SetColor(w.ammo == 0 ? 0xFAFF3737 : w.cost >= r.m_ep ? 0xFAFFFF37 : 0xFAFFFFFF);
        m_font1.DrawText(float(x), float(ys[column]), w.label);
        m_font1.DrawNumber(float(x + 40), float(ys[column]), w.ammo, 3);
        ys[column] += 10;
    }
    m_font1.SetColor(0xFFFFFFFF);
}

// ---- Lock markers ----

void CBattleView::SetMarkerGoal(CLockMarker& m, float rotation, int x, int y, int locked, int automatic) {
    m.m_locked = locked;
    if (!automatic) {
        m.m_goalX = x;
        m.m_goalY = y;
        m.m_goalRotation = rotation;
        return;
    }
    static const int kLockedOffset[4][2] = {{-46, -46}, {46, -46}, {-46, 46}, {46, 46}};
    static const float kLockedTurn[4] = {3.14159f, 1.5708f, -1.5708f, 0};
    static const int kFree[4][2] = {{170, 100}, {470, 100}, {170, 300}, {470, 300}};
    static const float kFreeTurn[4] = {0, -1.5708f, 1.5708f, 3.14159f};
    const int i = m.m_index & 3;
    if (locked) {
        m.m_goalX = x + kLockedOffset[i][0];
        m.m_goalY = y + kLockedOffset[i][1];
        m.m_goalRotation = kLockedTurn[i];
    } else {
        m.m_goalX = kFree[i][0];
        m.m_goalY = kFree[i][1];
        m.m_goalRotation = kFreeTurn[i];
    }
}

void CBattleView::UpdateMarker(CLockMarker& m) {
    m.m_x += m.m_x < m.m_goalX ? m.m_stepX : -m.m_stepX;
    m.m_y += m.m_y < m.m_goalY ? m.m_stepY : -m.m_stepY;
    if (std::abs(m.m_x - m.m_goalX) <= m.m_stepX) m.m_x = m.m_goalX;
    if (std::abs(m.m_y - m.m_goalY) <= m.m_stepY) m.m_y = m.m_goalY;
    if (m.m_x < 10) m.m_x = 10;
    if (m.m_y < 10) m.m_y = 10;
    if (m.m_x >= 512) m.m_x = 511;
    if (m.m_y >= 416) m.m_y = 415;
    if (m.m_goalRotation - m.m_rotation > 3.1415f) m.m_rotation += 6.283f;
    else if (m.m_rotation - m.m_goalRotation > 3.1415f) m.m_rotation -= 6.283f;
    if (m.m_rotation < m.m_goalRotation) m.m_rotation += m.m_rotationStep;
    if (m.m_rotation > m.m_goalRotation) m.m_rotation -= m.m_rotationStep;
    if (std::fabs(m.m_rotation - m.m_goalRotation) <= m.m_rotationStep) m.m_rotation = m.m_goalRotation;
    m.m_sprite.SetColor(m.m_locked ? 0x80FF0000 : 0x80000000);
    DrawMarker(m);
}

void CBattleView::DrawMarker(CLockMarker& m) {
    m.m_sprite.SetPosition(float(m.m_x - 16), float(m.m_y - 16));
    m.m_sprite.SetRotation(ScreenTurn(m.m_rotation));
    m.m_sprite.Draw();
}
