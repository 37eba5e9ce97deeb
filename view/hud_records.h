// The head-up display's small records: the four lock markers that glide onto the target, the
// radar in the bottom-right corner, and the floating name tags over each robot. They belong to
// the battle view, which owns their textures; each keeps its eased position from frame to frame.
#pragma once

#include "math_ops.h"
#include "node.h"
#include "sprite.h"
#include "texture.h"

#include <cstdint>
#include <string>

class CDigitFont;
class CRobot;

// One corner bracket of the lock-on display.
struct CLockMarker {
    CTexture m_texture;  // "bmp\comp4_4.png"
    CSprite m_sprite;
    int m_x = 320, m_y = 240;
    float m_rotation = 0;
    int m_goalX = 320, m_goalY = 240;
    float m_goalRotation = 0;
    int m_stepX = 20, m_stepY = 20;
    float m_rotationStep = 0.6f;
    int m_index = 0;
    int m_locked = 0;
};

enum { kBlipTarget = 0, kBlipAlly = 1, kBlipEnemy = 2, kBlipShot = 3, kBlipCount = 4 };

class CRadar {
public:
    CRadar();
    CRadar(const CRadar&) = delete;
    CRadar& operator=(const CRadar&) = delete;

    void Load();  // the four blip pictures
    void SetOrigin(const C3DObject& root);
    void DrawFrame();
    Vec3 ToRadar(const Vec3& p) const;
    float GetHeading(const Vec3& dir) const;
    void DrawTargetBlip(const C3DObject& root) { DrawBlip(kBlipTarget, root.GetWorldPosition(), -root.GetLocalAxisZ()); }
    void DrawAllyBlip(const C3DObject& root) { DrawBlip(kBlipAlly, root.GetWorldPosition(), -root.GetLocalAxisZ()); }
    void DrawEnemyBlip(const C3DObject& root) { DrawBlip(kBlipEnemy, root.GetWorldPosition(), -root.GetLocalAxisZ()); }
    void DrawShotBlip(const C3DObject& body) { DrawBlip(kBlipShot, body.GetWorldPosition(), body.GetLocalAxisZ()); }
    void DrawLine(int x1, int y1, int x2, int y2, uint32_t color);
    void DrawRect(int x1, int y1, int x2, int y2, uint32_t color);

    Vec3 m_origin;
    Vec3 m_forward = Vec3(0, 0, -1);
    uint32_t m_colors[3] = {0x4000FF00, 0xF0FF0000, 0xF0AAAAFF};
    int m_centerX = 570, m_centerY = 420;
    int m_halfWidth = 50, m_halfHeight = 50;
    CTexture m_textures[kBlipCount];
    CSprite m_sprites[kBlipCount];

private:
    void DrawBlip(int kind, const Vec3& position, const Vec3& direction);
};

class CNameTag {
public:
    CNameTag();
    CNameTag(const CNameTag&) = delete;
    CNameTag& operator=(const CNameTag&) = delete;

    void Update(int x, int y, const CRobot& robot, int enemy);
    void Refresh(const CRobot& robot, int type);
    void SetText(const std::string& name, int type);
    void Draw();
    void SetTimeUpEntry(int x, int y, const CRobot& robot, int side);
    void DrawTimeUpEntry();

    CSprite* m_meter = nullptr;  // the view's meter sprite
    CSprite m_nameSprite;
    CTexture m_nameTexture;
    int m_x = 10, m_y = 10;
    int m_goalX = 10, m_goalY = 10;
    int m_stepX = 30, m_stepY = 30;
    std::string m_name;
    int m_hpPercent = 0, m_apPercent = 0, m_epPercent = 0, m_vpPercent = 0;
    int m_damageShown = -1;
    int m_enemy = 0;
    double m_cameraDistance = 0;
    CDigitFont* m_font = nullptr;
    int m_textures = 0;  // name textures made so far (the tag remakes one only on a new name)
};

// trunc(v * 100 / m); 0 for a maximum of 0 or below.
int Percent(int v, int m);
// Screen points from WorldToScreen. One level with the eye is projected without a divide, or with
// one by almost nothing: its x and y mean nothing, may not be finite and overflow any conversion
// to int. Bounded: finite and within a range that no int arithmetic of the display overflows.
// Drawable: bounded, in front of the eye and not level with it.
bool IsScreenPointBounded(const Vec3& screen);
bool IsDrawableScreenPoint(const Vec3& world, const Vec3& screen);
// The display's angles turn counter-clockwise on the screen (a bracket, arrow or blip turned by a
// quarter points from up to the left); the device turns sprites clockwise, so every turn the
// display hands a sprite goes through here.
inline float ScreenTurn(float angle) { return -angle; }
