// CProjectile: one record of the battle's pool, carrying a shot, bomb, missile, melee hit box or
// robot-bound effect through its states "" (free), "飛行中", "命中" and "地形". The record owns
// its nodes, sounds and trail particles for the whole battle, so a launch only sets numbers.
#pragma once

#include "math_ops.h"
#include "node.h"
#include "sound.h"

#include <cstdint>
#include <string>

class CRobot;

// Trail particles per record: trail mode 4 starts one a frame and each lives four, mode 3 one
// every third frame living ten, so ten are never all in use.
constexpr int kTrailParticles = 10;

// State codes kept beside the state text, so the hit passes (100 x 100 pairs a step) compare
// integers; the text stays the record's state as every reader sees it.
enum EProjectileState { kStateFree = 0, kStateFlying = 1, kStateHit = 2, kStateTerrain = 3 };

// Flight behaviours selected by the kind label (the text stays in m_label for readers).
enum EFlightLabel {
    kLabelStraight = 0,  // empty label and every label without a branch of its own
    kLabelBoost,
    kLabelBoostRise,
    kLabelBoostRight,
    kLabelBoostLeft,
    kLabelSpark,       // "被弾": drawn turned to the camera (GetCameraDirection), never stepped so
    kLabelDash,        // "ダッシュ"
    kLabelDash2,       // "ダッシュ２"
    kLabelTurn,        // "ターン"
    kLabelShield,      // "シールド"
    kLabelBomb,        // "ボム"
    kLabelCrystal,     // "クリスタル"
    kLabelRamp,        // "加速"
    kLabelLead,        // "予測"
    kLabelSatellite1,  // "サテライト１" and "サテライト４"
    kLabelSatellite2,  // "サテライト２" and "サテライト５"
    kLabelSatellite3,  // "サテライト３" and "サテライト６"
    kLabelMultiWarhead,  // "多弾頭4"
    kLabelHelpField,     // "撃破"
};

class CTrailParticle {
public:
    void Start(int kind, const C3DObject& node);
    void Update();
    void Draw(C3DObject& node) const;  // the node is left as it was (view/)

    Vec3 m_position;
    Vec3 m_direction;
    float m_alpha = 1.0f;
    float m_scale = 1.0f;
    int m_age = 0;
    int m_kind = 3;        // 3 slow smoke puffs, 4 short bright flashes
    uint8_t m_hidden = 1;  // a hidden particle is free and not drawn
};

class CProjectile {
public:
    CProjectile();
    ~CProjectile();
    CProjectile(const CProjectile&) = delete;
    CProjectile& operator=(const CProjectile&) = delete;

    // ---- Set-up ----
    void LoadSounds();  // the record's own jet and hit sounds from ".\wave"
    void Arm(const Vec3& position, const Vec3& direction, C3DObject* targetFrame, CRobot* owner);
    // Empties the state and stops both looped sounds: every way a record ends goes through here.
    void Free();
    void SetLabel(const char* label);

    // ---- State ----
    bool IsFree() const { return m_stateCode == kStateFree; }
    // Can hit now: in flight, hit or terrain (the HUD and both hit passes read it alike).
    bool IsActive() const { return m_stateCode != kStateFree; }
    int GetStateCode() const { return m_stateCode; }
    int GetLabelCode() const { return m_labelCode; }
    bool IsBombFamily() const;

    // ---- Per step ----
    void Update(const C3DObject* ground);
    bool Fly(const C3DObject* ground);
    bool CheckTerrain(const C3DObject* ground);
    void Detonate();
    void HitTerrain();

    // ---- Hits ----
    int GetHpDamage() const;
    int GetApDamage() const;
    int GetImpact() const;
    float GetHitRadius() const;
    Vec3 GetPosition() const { return m_flight.GetLocalPosition(); }
    Vec3 GetHeading() const { return m_flight.GetLocalAxisZ(); }
    void CheckHit(CRobot* robot);
    void CheckHit(CRobot* robot, const Vec3& centre);  // centre: robot->GetHitCentre() as it is now
    void Collide(CProjectile* other);

    // ---- Drawing (view/): turns, scales and alphas go on copies, so drawing changes nothing ----
    void Draw();
    void DrawTrail();
    void DrawNode(C3DObject& node);

    // ---- Record (read by the drawing and the HUD) ----
    CSound m_jetSound;
    CSound m_hitSound;
    CSound* m_kindSound;
    C3DObject m_flight;
    C3DObject m_trail;
    CTrailParticle m_particles[kTrailParticles];
    int m_particleCount = kTrailParticles;
    C3DObject m_hit;
    C3DObject m_terrain;
    C3DObject* m_targetFrame = nullptr;
    CRobot* m_owner = nullptr;
    std::string m_state;
    int m_frame = 0;
    int m_lifetime = 300;
    float m_step = 0.5f;
    float m_turnRate = 0.03f;
    float m_homingRange = 10.0f;
    uint8_t m_steerBehind = 0;
    uint8_t m_explosive = 0;
    int m_hpDamage = 10;
    int m_apDamage = 0;
    int m_impact = 0;
    int m_blastHpDamage = 1;
    int m_blastApDamage = 0;
    int m_blastImpact = 0;
    float m_hitRadius = 1.0f;
    float m_blastRadius = 1.0f;
    uint8_t m_downOnHit = 0;
    uint8_t m_downOnBlast = 0;
    int m_hitMode = 0;    // when a hit or terrain effect frees the record (0 to 5)
    int m_trailMode = 0;  // 0 none, 1 and 2 flash at launch, 3 and 4 particles
    int m_drawMode = 0;
    int m_blendPass = 0;
    std::string m_label;
    Vec3 m_previousTarget;
    Vec3 m_lead;
    int m_hitResult = 0;  // 0 none, 1 hit, 2 hit that left the robot without HP

private:
    void SetState(int code);
    void UpdateTrail();
    void UpdateHitOrTerrain();
    void StartBlastState(int code, C3DObject* node);
    void FireFromNode(const char* kind);
    void Homing();
    void SteerToward(const Vec3& rel, float turn);
    void ReSquare();
    void Advance(float d);
    void Ramp();
    void GroundSnap(const C3DObject* ground);
    void FollowOwnerBody();
    bool FlyBoost(int label);
    void FlyBomb(bool* result, const C3DObject* ground);
    void FlyLead();
    void FlySatellite1();
    void FlySatellite2();
    void FlySatellite3();
    void FlyMultiWarhead();
    void FlyHelpField(const C3DObject* ground);
    void ReviveOwner();

    int m_stateCode = kStateFree;
    int m_labelCode = kLabelStraight;
};

// The point where a ray from a world origin meets the ground node, in world space; 1 on a hit.
// Ground lying farther than the reach along the ray may go unfound (see C3DObject::PickMesh).
int RayToGround(const C3DObject* ground, const Vec3& origin, const Vec3& dir, Vec3* hit, float reach = FLT_MAX);
