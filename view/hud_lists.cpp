// The head-up display's per-robot parts: the radar with its blips, the three lock lamps, the
// floating name tags, the team list of the line layout and the time-up panel with each side's
// HP sum. A robot without a target lights no lamp of its own.
#include "battle_view.h"

#include "camera.h"
#include "graphics.h"
#include "projectile_pool.h"
#include "robot.h"
#include "shapes.h"

#include <cmath>

namespace {

char TeamLetter(const CRobot& r) { return r.m_teamCode.empty() ? 0 : r.m_teamCode[0]; }
const C3DObject& Root(const CRobot& r) { return r.m_frames[kRootFrame]; }
int HpPercent(const CRobot& r) { return Percent(r.m_hp, r.m_maxHp); }

}  // namespace

// ---- Radar ----

void CRadar::SetOrigin(const C3DObject& root) {
    m_origin = root.GetLocalPosition();
    m_forward = -root.GetLocalAxisZ();
}

void CRadar::DrawFrame() {
    SetDeviceTexture(0, nullptr);
    const int cx = m_centerX, cy = m_centerY, w = m_halfWidth, h = m_halfHeight;
    DrawRect(cx - w, cy - h, cx + w, cy + h, 0x40000000);
    DrawLine(cx - w, cy, cx + w, cy, 0x40FFFFFF);
    DrawLine(cx, cy - h, cx, cy + h, 0x40FFFFFF);
    DrawLine(cx - w, cy - h, cx, cy, 0x40FFFFFF);
    DrawLine(cx + w, cy - h, cx, cy, 0x40FFFFFF);
}

void CRadar::DrawLine(int x1, int y1, int x2, int y2, uint32_t color) { DrawLine2D(x1, y1, x2, y2, color, 0); }
void CRadar::DrawRect(int x1, int y1, int x2, int y2, uint32_t color) { DrawRect2D(x1, y1, x2, y2, color); }

Vec3 CRadar::ToRadar(const Vec3& p) const { return TransformToLookAtSpaceV(m_forward, m_origin, p); }

// Screen turn of a blip: the heading of the own robot less the heading of the direction. A
// direction with no horizontal part (straight up or down) has no heading: the blip stays upright.
float CRadar::GetHeading(const Vec3& u) const {
    auto heading = [](const Vec3& w, float* h) {
        const float len = SqrtF(w.x * w.x + w.z * w.z);
        if (!(len > 0)) return false;
        float a = AcosF(w.x / len);
        if (AcosF(w.z / len) < 1.570795f) a = -a;
        *h = 1.570795f + a;
        return true;
    };
    float hf = 0, hu = 0;
    if (!heading(m_forward, &hf) || !heading(u, &hu)) return 0;
    return hf - hu;
}

void CRadar::DrawBlip(int kind, const Vec3& position, const Vec3& direction) {
    const Vec3 v = ToRadar(position) * 2.0f;
    if (std::fabs(v.x) > float(m_halfWidth) || std::fabs(v.z) > float(m_halfHeight)) return;
    CSprite& s = m_sprites[kind];
    s.SetPosition(m_centerX + v.x - 8, m_centerY - v.z - 8);
    s.SetRotation(ScreenTurn(GetHeading(direction)));
    s.Draw();
}

void CBattleView::DrawRadar(int ownIndex, const CRobot* robots, int robotCount, CProjectilePool* projectiles,
                            int projectileCount) {
    const CRobot& own = robots[ownIndex];
    m_radar.SetOrigin(Root(own));
    m_radar.DrawFrame();
    for (int i = 0; i < robotCount; ++i) {
        const CRobot& r = robots[i];
        if (r.m_hp <= 0) continue;
        if (&r == own.m_target) m_radar.DrawTargetBlip(Root(r));
        else if (i == ownIndex) continue;
        else if (TeamLetter(r) == TeamLetter(own)) m_radar.DrawAllyBlip(Root(r));
        else m_radar.DrawEnemyBlip(Root(r));
    }
    // A dash kicks up its own effects: shots would only clutter the radar then.
    if (!projectiles || own.m_currentAction.find("ダッシュ") != std::string::npos) return;
    const int count = projectileCount < projectiles->GetCount() ? projectileCount : projectiles->GetCount();
    for (int i = 1; i < count; ++i) {
        const CProjectile& p = projectiles->GetRecord(i);
        if (p.IsActive()) m_radar.DrawShotBlip(p.m_flight);
    }
}

// ---- Lock lamps ----

void CBattleView::DrawLockLamps(int ownIndex, const CRobot* robots, int robotCount) {
    const CRobot& own = robots[ownIndex];
    const bool ta = own.m_target && own.m_target->m_target == &own;
    bool ex = false, dual = false;
    for (int i = 0; i < robotCount; ++i) {
        const CRobot& r = robots[i];
        if (i == ownIndex || r.m_hp <= 0) continue;
        if (r.m_target == &own && &r != own.m_target) ex = true;
        if (own.m_target && r.m_target == own.m_target) dual = true;
    }
    m_font1.SetColor(ta ? 0xFFFF2828 : 0xFF9B0000);
    m_font1.DrawText(550, 80, "TA LOCK");
    m_font1.SetColor(ex ? 0xFFFF2828 : 0xFF9B0000);
    m_font1.DrawText(550, 100, "EX LOCK");
    m_font1.SetColor(dual ? 0xFF28FF28 : 0xFF009B00);
    m_font1.DrawText(550, 120, "DO LOCK");
    m_font1.SetColor(0xFFFFFFFF);
}

// ---- Name tags ----

void CBattleView::DrawNameTags(int ownIndex, const CRobot* robots, int robotCount) {
    const CRobot& own = robots[ownIndex];
    const int count = robotCount < kNameTags ? robotCount : kNameTags;
    for (int i = 0; i < count; ++i) {
        const Vec3 world = Root(robots[i]).GetLocalPosition();
        const Vec3 p = WorldToScreen(world);
        if (!IsDrawableScreenPoint(world, p)) continue;
        m_tags[i].Update(int(p.x), int(p.y), robots[i], TeamLetter(robots[i]) != TeamLetter(own));
    }
}

void CNameTag::Update(int x, int y, const CRobot& robot, int enemy) {
    m_goalX = x;
    m_goalY = y;
    m_enemy = enemy;
    m_cameraDistance = GetDistanceVec(Root(robot).GetLocalPosition(), GetCameraPosition());
    m_x += m_x < m_goalX ? m_stepX : -m_stepX;
    m_y += m_y < m_goalY ? m_stepY : -m_stepY;
    if (std::abs(m_x - m_goalX) <= m_stepX) m_x = m_goalX;
    if (std::abs(m_y - m_goalY) <= m_stepY) m_y = m_goalY;
    Refresh(robot, enemy);
    bool clamped = false;
    if (m_x < 50) m_x = 50, clamped = true;
    if (m_y < 0) m_y = 0, clamped = true;
    if (m_x > 561) m_x = 561, clamped = true;
    if (m_y > 413) m_y = 413, clamped = true;
    if (!clamped) Draw();
}

void CNameTag::Refresh(const CRobot& robot, int type) {
    const std::string& name = robot.m_actionNames[0];
    if (m_name != name) SetText(name, type);
    m_hpPercent = Percent(robot.m_hp, robot.m_maxHp);
    m_apPercent = Percent(robot.m_ap, robot.m_maxAp);
    m_epPercent = Percent(robot.m_ep, robot.m_maxEp);
    m_vpPercent = Percent(robot.m_vp, robot.m_maxVp);
    m_damageShown = robot.m_framesSinceDamage > 44 ? -1 : robot.m_lastDamage;
}

void CNameTag::SetText(const std::string& name, int type) {
    m_name = name;
    static const uint32_t kColors[3] = {0xFFAAAAFF, 0xFFFF0000, 0xFFAAAAAA};
    if (type < 0 || type > 2) return;
    m_nameTexture.CreateFromText(name.c_str(), 12, kColors[type], 0, "ＭＳ Ｐゴシック");
    m_nameSprite.SetTexture(&m_nameTexture);
    ++m_textures;
}

void CNameTag::Draw() {
    const float k = m_cameraDistance >= 7 ? float(7 / m_cameraDistance) : 1.0f;
    SetLighting(0);
    SetDeviceTexture(0, nullptr);
    const int bx = int(m_x + 20 * k), by = int(m_y - 30 * k);
    // A translucent plate behind the name, so that it reads over a bright stage.
    DrawRect2D(bx - 1, by - 1, bx + 51, by + 13, 0xAA000000);
    BeginSprites();
    m_nameSprite.SetPosition(float(bx), float(by));
    m_nameSprite.Draw();
    if (m_hpPercent > 0 && m_meter) {
        const int fill = int((m_hpPercent > 100 ? 100 : m_hpPercent) * 0.5);
        m_meter->SetScale(1, 1);
        m_meter->SetPosition(m_x - 20 * k - 50, m_y + 20 * k);
        m_meter->SetColor(0xFF000000);
        m_meter->SetRect(0, 5, 50, 10);
        m_meter->Draw();
        m_meter->SetColor(m_enemy ? 0xFFFF3232 : 0xFF3232FF);
        m_meter->SetRect(0, 0, fill, 5);
        m_meter->Draw();
        m_meter->SetColor(0xFFFFFFFF);
    }
    if (m_damageShown != -1 && m_font) {
        m_font->SetColor(0xC8FFFFFF);
        m_font->DrawNumber(float(int(m_x - 20 * k - 44)), float(int(m_y - 30 * k)), m_damageShown, 4);
        m_font->SetColor(0xFFFFFFFF);
    }
    EndSprites();
}

// ---- Line layout's team list ----

void CBattleView::DrawTeamList(int ownIndex, const CRobot* robots, int robotCount) {
    const char own = TeamLetter(robots[ownIndex]);
    for (int i = 0; i < robotCount; ++i)
        DrawTeamListEntry(250 + 16 * i, robots[i], TeamLetter(robots[i]) == own ? 0x550000FF : 0x55FF0000);
}

void CBattleView::DrawTeamListEntry(int y, const CRobot& robot, uint32_t color) {
    DrawThinBar(50, y, HpPercent(robot), color);
    BeginText();
    DrawTextAt(10, y, robot.m_actionNames[0].c_str());
    EndText();
}

// ---- Time up ----

void CBattleView::DrawTimeUp(int ownIndex, const CRobot* robots, int robotCount) {
    m_font2.DrawText(270, 100, "TIME UP");
    const char own = TeamLetter(robots[ownIndex]);
    int sums[2] = {0, 0}, ys[2] = {200, 200};
    const int xs[2] = {100, 420};
    for (int j = 0; j < robotCount; ++j) {
        const int side = TeamLetter(robots[j]) == own ? 0 : 1;
        sums[side] += HpPercent(robots[j]);
        if (j < kNameTags) m_tags[j].SetTimeUpEntry(xs[side], ys[side], robots[j], side);
        ys[side] += 20;
    }
    m_font2.SetColor(0xFF9B9BFF);
    m_font2.DrawNumber(100, 150, sums[0], 3);
    m_font2.SetColor(0xFFFF9B9B);
    m_font2.DrawNumber(420, 150, sums[1], 3);
    m_font2.SetColor(0xFFFFFFFF);
}

void CNameTag::SetTimeUpEntry(int x, int y, const CRobot& robot, int side) {
    m_x = x;
    m_y = y;
    m_enemy = side;
    Refresh(robot, side);
    DrawTimeUpEntry();
}

void CNameTag::DrawTimeUpEntry() {
    SetLighting(0);
    BeginSprites();
    if (m_meter) {
        m_meter->SetScale(1, 1);
        m_meter->SetPosition(float(m_x + 100), float(m_y));
        m_meter->SetColor(0xFFFFFFFF);
        m_meter->SetRect(0, 5, 50, 10);
        m_meter->Draw();
        m_meter->SetColor(m_enemy == 1 ? 0xFFFF9696 : 0xFF9696FF);
        m_meter->SetRect(0, 0, int((m_hpPercent > 100 ? 100 : m_hpPercent < 0 ? 0 : m_hpPercent) * 0.5), 5);
        m_meter->Draw();
        m_meter->SetColor(0xFFFFFFFF);
    }
    m_nameSprite.SetPosition(float(m_x), float(m_y));
    m_nameSprite.Draw();
    EndSprites();
}
