// CRobot: one combatant of a battle (or the garage's test stand). A plain record that the battle,
// the robot setup, the step, pads, lock-on, action scripts, poses, projectiles and drawing all
// read and write; this header lays it out once and lists every operation on it by area.
#pragma once

#include "mesh.h"
#include "node.h"
#include "sound.h"

#include <string>
#include <string_view>

class CPad;

// ---- Limits ----------------------------------------------------------------------------------
constexpr int kMaxRobots = 6;          // robot slots of a battle: three a side in "6 3on3"
constexpr int kRobotFrameCount = 16;   // nodes of a robot: 11 body parts, root, 2 hand, 2 aux
constexpr int kRobotPartCount = 11;    // body parts 0-10, the ones posed and painted
constexpr int kRobotMeshCount = 19;    // 11 body parts, 2 hand meshes, 2 x 3 aux variants
constexpr int kRootFrame = 11;         // position and heading of the robot
constexpr int kLeftHandFrame = 12;     // carries the left-hand item
constexpr int kRightHandFrame = 13;    // carries the right-hand weapon
constexpr int kAuxFrame0 = 14;         // the two spinning auxiliary parts
constexpr int kAuxFrame1 = 15;
constexpr int kAuxPartCount = 2;
constexpr int kMountPointCount = 8;
constexpr int kRotationOrderCount = 12;
constexpr int kShotSlotCount = 5;      // fire requests a robot can raise in one step
constexpr int kWeaponSlotCount = 10;   // weapon list capacity
constexpr int kActionNameCount = 16;
constexpr int kInputCount = 12;        // buttons of a pad
constexpr int kSoundCount = 4;
constexpr int kStepCounterCap = 999;   // the step counters stop here
constexpr double kOffGround = 0.3;     // above this ground height a robot counts as aloft

// The body parts: the first eleven frames, in this order (key poses turn them, scripts launch
// from them).
enum EPosePart {
    kPartHead,
    kPartBody,
    kPartWaist,
    kPartUpperArmL,
    kPartForearmL,
    kPartUpperArmR,
    kPartForearmR,
    kPartThighL,
    kPartShinL,
    kPartThighR,
    kPartShinR,
    kPoseParts
};

// Action-name slots (m_actionNames).
enum {
    kActName = 0,        // display name ("P0" to "P5" in battle)
    kActWalk = 1,
    kActDash = 2,
    kActJump = 3,
    kActStagger = 4,     // out of energy or ammunition, hard landing
    kActRightHand = 5,
    kActBack = 6,
    kActLeftHand = 7,
    kActStance = 8,
    kActGuard = 9,
    kActVictory = 10,
    kActDefeat = 11,
    kActAerialJump = 12,
    kActHitStun = 13,
    kActKnockDown = 14,
    kActDestroyed = 15,
};

// One weapon of the weapon list: a fire request belongs to it when the kind name contains code.
struct CWeaponSlot {
    std::string code;
    std::string label;   // shown by the head-up display beside the ammunition
    int ammo = 0;        // -1 unlimited
    int cost = 0;        // EP per shot
    std::string side;    // "S" back or shoulder, "R" right arm, "L" left arm
};

struct CWeaponList {
    int capacity = kWeaponSlotCount;
    CWeaponSlot slots[kWeaponSlotCount];
    int count = 0;
};

// One fire request: the muzzle pass turns mount and offset into a world position and direction.
struct CShotSlot {
    std::string name = "ショット１";  // projectile kind
    bool inUse = false;
    int mount = 0;                     // 0 world position, 1/3 right arm, 2/4 left arm, 10 root, 14/15 aux
    Vec3 offset = Vec3(0, 0, 1);       // world muzzle position after the muzzle pass
    Vec3 direction = Vec3(0, 0, 1);
};

struct CShotSlots {
    int count = kShotSlotCount;
    CShotSlot slots[kShotSlotCount];
};

class CRobot {
public:
    CRobot();   // loads the four sounds from ".\wave"
    ~CRobot();
    CRobot(const CRobot&) = delete;
    CRobot& operator=(const CRobot&) = delete;
    CRobot(CRobot&&) = delete;
    CRobot& operator=(CRobot&&) = delete;

    // ---- Setup (robot catalogue) ----
    void SetColors(float mainR, float mainG, float mainB, float mainA, float subR, float subG, float subB,
                   float subA);  // paints material slots m_paintSlots of the eleven part meshes
    void ClearWeapons();
    void AddWeapon(const std::string& code, const std::string& label, int ammo, int cost,
                   const std::string& side);  // ignored when the list is full

    // ---- Step ----
    // One step; the garage passes no robot array and a count of 0.
    void Update(C3DObject* ground, int slot, CRobot* robots, int count);
    void Tick();            // counters, VP and EP regeneration, turn rates cleared, bank decays
    void Move(C3DObject* ground, int slot, CRobot* robots, int count);
    void SeparateRobots(C3DObject* ground, int slot, CRobot* robots, int count);
    void UpdateMuzzles();   // shot slots in use get their world muzzle position and direction

    // ---- Pads ----
    void ApplyPad(const CPad& pad);  // input flags and button values, slots 10 and 11 crossed
    void ClearVirtualButtons();      // all input flags and button values 0

    // ---- Lock-on and turning ----
    void TrackTarget();
    bool ApplyTurnInput(float factor);
    bool IsTargetInFront();
    Vec3 DirectionToTarget();
    Vec3 DirectionToTargetLeading(float projectileSpeed);
    static float Distance(float x1, float y1, float z1, float x2, float y2, float z2);

    // ---- Actions ----
    void UpdateAction();                     // the per-step dispatcher
    bool SetAction(const std::string& name);  // "deff" starts the queued action
    void SetNextAction(std::string_view name);  // the first request of a step wins
    void RunBladeActions();                  // ends with the melee, sword and rocket scripts
    void RunMeleeActions();
    void RunSwordActions();
    void RunRocketActions();
    void RunMoveActions();
    void RunFlightAndReactionActions();

    // ---- Weapons, shots and energy ----
    void ScaleAmmo(double factor);
    bool ConsumeShot(std::string_view kind, std::string_view side);
    void FireWeapon(std::string_view kind, int mount, const Vec3& offset, const Vec3& direction);
    void FireWeaponAt(std::string_view kind, const Vec3& position, const Vec3& direction);
    void UseEnergy(int amount);
    void ClearVelocity();
    void ClearTurnRate();
    void SetAnimation(const std::string& name);

    // ---- Motion and auxiliary parts ----
    void IntegrateMotion(C3DObject* ground);
    void ApplyVelocity(C3DObject* ground);
    bool GroundContact(C3DObject* ground);
    bool PlaceOnGround(C3DObject* ground);
    float LowestFootHeight();
    void StepFlightVerticalSpeed();
    void KickAuxPart(int frame, float target);
    void DecayAuxParts();
    void SpinAuxParts();

    // ---- Key poses ----
    void SetPose(std::string_view poseName, int frames);  // a view: scripts pass literals every step
    void UpdatePose();
    void ApplyCommonPoses();
    void ApplyH29Poses();
    void ApplyH21H35Poses();
    void ApplyH32bPoses();

    // ---- Angle-mode sequences and joint writer ----
    void SelectPose();
    void ResetAngleTargets();
    void ClearAngleTargets();
    void UpdateJointRotations();
    void ConvertPoseToAngles();
    void SetAngleKeyBladeReady();
    void SetAngleKeyBladeSwing();
    void SetAngleKeyCrouch();
    void SetAngleKeyDash();
    void SetAngleKeyDash4A();
    void SetAngleKeyDash4B();
    void SetAngleKeyDash4C();
    void SetAngleKeyDash4D();
    void SetAngleKeyDashShotA();
    void SetAngleKeyDashShotB();
    void SetAngleKeyDoubleShot();
    void SetAngleKeyFall();
    void SetAngleKeyFlight();
    void SetAngleKeyFlight20();
    void SetAngleKeyHitStun();
    void SetAngleKeyKickA();
    void SetAngleKeyKickB();
    void SetAngleKeyPunch();
    void SetAngleKeyShot();
    void SetAngleKeyShotRecoil();
    void SetAngleKeyStagger();
    void SetAngleKeyStaggerEnd();
    void SetAngleKeyStance();
    void SetAngleKeyStanceRest();
    void SetAngleKeySubShot();
    void SetAngleKeySubShotRecoil();
    void SetAngleKeyTakeOff();
    void SetAngleKeyTurnLeft();
    void SetAngleKeyTurnRight();
    void SetAngleKeyWalk3A();
    void SetAngleKeyWalk3B();
    void SetAngleKeyWalk3C();
    void SetAngleKeyWalk3D();
    void SetAngleKeyWalkArmsA();
    void SetAngleKeyWalkArmsB();
    void SetAngleKeyWalkLegsA();
    void SetAngleKeyWalkLegsB();
    void SetAngleKeyWreckA();
    void SetAngleKeyWreckB();
    void SetAngleKeyWreckC();

    // ---- Hits and damage ----
    Vec3 GetHitCentre();  // world position of the waist
    void ApplyHit(int hpDamage, int apDamage, int impact, float dirX, float dirY, float dirZ, bool forceDown);

    // ---- Drawing (never changes the simulation: every turn is turned back) ----
    void Draw();
    void DrawShadow();

    // ---- Fields, in record order ----
    // Meshes: 0-10 body parts in frame order, 11 left-hand item, 12 right-hand weapon, 13-15 the
    // variants of aux part 14 (13 drawn), 16-18 those of aux part 15 (16 drawn).
    CMesh m_meshes[kRobotMeshCount];
    int m_auxMode[kAuxPartCount] = {};         // 0 none, 1-4 behaviour of frames 14 and 15
    int m_auxCounter[kAuxPartCount] = {};      // kick counter, 0..29
    float m_auxSpeed[kAuxPartCount] = {};      // current tilt about the part's X axis
    float m_auxTargetSpeed[kAuxPartCount] = {};
    // 0 head, 1 body, 2 waist, 3/4 upper arm/forearm L, 5/6 R, 7/8 thigh/shin L, 9/10 R,
    // 11 root, 12 left-hand item, 13 right-hand weapon, 14 and 15 aux parts.
    C3DObject m_frames[kRobotFrameCount];
    CMesh m_shadowMesh;                        // "Shadow.x"
    C3DObject m_shadow;
    CRobot* m_target = nullptr;                // locked-on target
    int m_animKeyFrames = 10;                  // frames per angle-mode key
    float m_twistTarget = 0;                   // body twist asked for this step
    float m_twist = 0;                         // body twist eased toward the target
    float m_heldTwist = 0;                     // a further body angle of the scripts
    float m_bank = 0;                          // roll of the root, decays x 0.9 a step
    float m_angles[kRobotFrameCount][3] = {};
    float m_targetAngles[kRobotFrameCount][3] = {};
    float m_angleSteps[kRobotFrameCount][3] = {};
    int m_rotationOrder[kRotationOrderCount] = {1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1};
    double m_legLength = 0;
    // 0/1 frames 12/13 on the forearms, 2/3 muzzles of the hand meshes, 4/5 frames 14/15 on the
    // body, 6/7 muzzles of meshes 15 and 18.
    Vec3 m_mountPoints[kMountPointCount];
    Vec3* const m_auxMount = m_mountPoints + 4;  // mount points 4 and 5 under the scripts' name
    int m_paintSlots[2] = {0, 1};              // materials that take the main and sub colour
    double m_moveSpeed[2] = {};                // forward, side in the robot's frame (ahead < 0)
    double m_velocity[3] = {};                 // world, units per step
    double m_turnRate[3] = {};                 // this step's turn about X, Y, Z
    double m_lastPosition[3] = {};
    double m_groundHeight = 0;                 // 1000 with no ground below; above kOffGround aloft
    bool m_blocked = false;                    // the last move hit a wall or ceiling or lost the ground
    int m_hp = 100;
    int m_ap = 100;
    int m_vp = 100;
    int m_ep = 100;
    int m_lastDamage = 0;
    int m_comboDamage = 0;                     // HP damage of hits less than 10 steps apart
    int m_framesSinceDamage = kStepCounterCap; // also called m_sinceDamage
    int m_sinceDown = kStepCounterCap;
    int m_stepCounter = kStepCounterCap;
    unsigned char m_trackFlag = 0;
    int m_invincible = 0;                      // countdown in steps
    CShotSlots m_shotSlots;
    bool m_nextTargetRequest = false;          // also called m_targetRequest
    int m_moveState = 1;                       // motion regime 0-3
    std::string m_teamCode = "AA";             // "AL", "AM", "BL", "BM"
    int m_weaponId = -1;                       // read by the CPU opponent
    int m_maxHp = 100;
    int m_maxAp = 100;
    int m_armour = 2;                          // factor k of the damage formula
    int m_maxVp = 100;
    int m_vpRegen = 1;
    int m_knockback = 300;                     // impact above which a hit pushes
    int m_maxEp = 1000;
    int m_epPerStep = 10;
    int m_dashStartEnergy = -100;              // EP lump at a boosted dash's first step
    int m_dashStepEnergy = -15;                // its cost per step after the 15th
    // Doubles hold single-precision constants widened, as the type setup stores them.
    double m_walkSpeed = double(0.1f);
    double m_dashSpeed = double(0.3f);
    double m_turnSpeed = double(0.09f);
    double m_groundDamping = double(0.8f);
    double m_aloftDamping = double(0.98f);
    double m_jumpSpeed = double(0.2f);
    int m_partWeights[4] = {};                 // 0 frame, 1 left hand, 2 right hand, 3 back weapon
    int m_loadCapacity = 0;                    // also called m_capacity
    std::string m_actionNames[kActionNameCount] = {
        "nemo", "歩行４", "ダッシュ４", "ジャンプ", "硬直２", "ショット", "サブショット", "ブレード１",
        "構え", "", "勝利１", "敗北１", "", "", "", ""};
    CWeaponList m_weapons;
    bool m_input[kInputCount] = {};            // pressed or held this step
    int m_padState[kInputCount] = {};          // four-state codes; also called m_aiPad
    int m_trackStyle = 10;
    bool m_lockOn = true;                      // automatic lock-on; also called m_lockMode
    int m_turnSubMode[2] = {};                 // read by the turn handling
    double m_gravity = double(-0.02f);
    double m_walkTurnFactor = double(0.4f);
    double m_attackTurnScale = double(1.3f);
    std::string m_currentAction;
    std::string m_previousAction;
    std::string m_nextAction;                  // queue of one; "" is empty
    int m_actionFrame = 0;
    double m_actionParam[3] = {};
    std::string m_animName;
    int m_animKey = 0;
    int m_animFrame = 0;
    std::string m_animMode = "角度";           // or "クオータニオン"
    std::string m_poseName;
    int m_poseFrame = 0;
    int m_poseDuration = 1;
    float m_poseTwist = 0;                     // twist already in the body's yaw target (pose/)
    // 0 action "se_roboef1.wav", 1 footsteps "se_roboef2_c.wav", 2 engine loop "se_roboef3.wav",
    // 3 "metal38.wav".
    CSound m_sounds[kSoundCount];
};
