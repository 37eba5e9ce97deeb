// CBattleView: the battle's camera and the owner of the head-up display's assets. The phase
// sequencer switches it to scripted shots; Tab cycles the player's view types. The camera keeps
// no position of its own: each routine reads the previous camera back from the view matrix and
// blends toward its goal.
#pragma once

#include "digit_font.h"
#include "hud_records.h"
#include "math_ops.h"
#include "node.h"
#include "sound.h"
#include "sprite.h"
#include "texture.h"

#include <cstdint>

class CRobot;
class CProjectilePool;

constexpr int kViewTypeDefault = 9;
constexpr int kStartViewMode = 100;
constexpr int kLoseViewMode = 200;
constexpr int kWinViewMode = 201;      // 201 orbit or 202 three shots
constexpr int kFinishViewMode = 220;
constexpr int kTimeUpViewMode = 230;
constexpr int kLockMarkers = 4;
constexpr int kNameTags = 6;

// A HUD picture: the sprite and the texture it shows.
struct CHudSprite {
    CSprite m_sprite;
    CTexture m_texture;
    void Load(const char* file, uint32_t colorKey);
};

class CBattleView {
public:
    CBattleView();   // loads the assets and reads ViewType and p_Graphics
    ~CBattleView();  // writes the player's view type back to the settings
    CBattleView(const CBattleView&) = delete;
    CBattleView& operator=(const CBattleView&) = delete;

    // ---- Modes ----
    void SetViewMode(int mode);  // -1: back to the player's view type
    void SetStartView();
    void SetLoseView();
    void SetWinView();
    // The finish shot: the time-up orbit when the battle's clock (in steps, as the simulation
    // left it) ran out exactly, else the knock-out shot. Not from what a frame drew: a skipped
    // frame would leave a stale clock, and the seconds shown read 0 for the whole last second.
    void SetFinishView(int clockSteps);
    void CycleViewType();        // Tab

    // ---- Camera: the routine of the view mode, then the listener ----
    void Update(CRobot* robot);
    void UpdateChaseCamera(CRobot* r);
    void UpdateHeadCamera(CRobot* r);
    void UpdateFarChaseCamera(CRobot* r);
    void UpdateFollowCamera(CRobot* r);
    void UpdateStillCamera(CRobot*) {}
    void UpdateTargetCamera(CRobot* r);
    void UpdateOverheadCamera(CRobot* r);
    void UpdateFrontCamera(CRobot* r);
    void UpdateOrbitCamera(CRobot* r);
    void UpdateTimeUpCamera(CRobot* r);
    void UpdateThreeShotCamera(CRobot* r);
    void UpdateFinishCamera(CRobot* r);
    void UpdateListener(CRobot* r);

    // ---- Head-up display ----
    void DrawHud(int ownIndex, CRobot* robots, int robotCount, CProjectilePool* projectiles, int projectileCount);
    void DrawDebugStats(const CRobot& own, const CRobot* target);
    void DrawSight(const CRobot& own, const CRobot* target);
    void DrawLineHud(const CRobot& own, const CRobot* target);
    void DrawStatusText(const CRobot& own, const CRobot* target);
    void DrawLockOn(CRobot& own, const CRobot& target);
    void DrawWeaponList(const CRobot& robot);
    void DrawHpBars(int ownIndex, const CRobot* robots, int robotCount);
    void DrawHpBar(int index, const CRobot* robots, int robotCount, int x, int y);
    void DrawVpEpBars(const CRobot& robot, int x, int y);
    void DrawRadar(int ownIndex, const CRobot* robots, int robotCount, CProjectilePool* projectiles,
                   int projectileCount);
    void DrawLockLamps(int ownIndex, const CRobot* robots, int robotCount);
    void DrawNameTags(int ownIndex, const CRobot* robots, int robotCount);
    void DrawTeamList(int ownIndex, const CRobot* robots, int robotCount);
    void DrawTeamListEntry(int y, const CRobot& robot, uint32_t color);
    void DrawTimeUp(int ownIndex, const CRobot* robots, int robotCount);
    void DrawGaugeBar(int x, int y, int percent);
    void DrawThinBar(int x, int y, int percent, uint32_t color);
    void DrawRect(int x1, int y1, int x2, int y2, uint32_t color);
    void SetMarkerGoal(CLockMarker& m, float rotation, int x, int y, int locked, int automatic);
    void UpdateMarker(CLockMarker& m);
    void DrawMarker(CLockMarker& m);

    // ---- Fields, in record order ----
    C3DObject m_lineNode;       // identity world transform of the 3-D target line
    CHudSprite m_compass;       // "bmp\comp4.png"
    CHudSprite m_sight;         // "bmp\comp4_1.png"
    CHudSprite m_labels;        // "bmp\hit_02.png"
    CHudSprite m_meter;         // "bmp\mter_02.png", shared by the name tags
    CHudSprite m_aim;           // "bmp\comp4_2.png"
    CHudSprite m_arrow;         // "bmp\comp4_3.png"
    int m_markerIndex = 0;
    CLockMarker m_markers[kLockMarkers];
    int m_viewMode = kViewTypeDefault;
    int m_savedViewType = kViewTypeDefault;
    CSound m_lockSound;         // "wave\shoot15.wav"
    CSound m_targetSound;       // "wave\se_cn_03.wav"
    float m_roll = 0;
    float m_pitch = 0;
    unsigned char m_sightFlag = 0;
    float m_shotAngle = 0;      // scripted shots: counter or angle
    float m_shotCounter = 0;
    float m_shotStage = 0;
    // The finish shot's two robots, set by the projectile hit pass on a hit that leaves a
    // robot without HP.
    CRobot* m_finisher = nullptr;
    CRobot* m_defeated = nullptr;
    CRadar m_radar;
    CNameTag m_tags[kNameTags];
    CDigitFont m_font1;         // "bmp\suuji2.png"
    CDigitFont m_font2;         // "bmp\suuji3.png"
    int m_clockSeconds = -1;
    Vec3 m_eye;                 // view type 9's eased eye and look-at points
    Vec3 m_lookAt;
    uint32_t m_barBack = 0xFF000000;
    uint32_t m_markerLocked = 0xAAFF0000;
    uint32_t m_markerFree = 0xAAFFFFFF;
    int m_graphicsLevel = 3;

private:
    void SmoothFollow(CRobot* r, const Vec3& goal, float a, float b, float distance);
    void BankingRoll(CRobot* r);
    void PitchToTarget(CRobot* r);
};

// The view matrix is left as it was when the result would not be finite: every camera routine
// reads the previous camera back from it, so one bad frame would spoil all the following ones.
void SafeLookAt(const Vec3& eye, const Vec3& target, const Vec3& up);
void SafeLookAlong(const Vec3& eye, const Vec3& dir, const Vec3& up);
