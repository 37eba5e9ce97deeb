// CBattle: the battle world. Holds by value everything one battle needs (six robots with their
// pads and CPU opponent slots, the stage, the view, the effect store, the projectile pool and
// two banners), runs one frame per call through its phases and reports the result. The online
// battle derives from it and replaces the phase hook, the step and the network overlay.
#pragma once

#include "battle_view.h"
#include "cpu_ai.h"
#include "info_panel.h"
#include "mesh.h"
#include "node.h"
#include "pad.h"
#include "projectile_pool.h"
#include "robot.h"
#include "robot_catalog.h"
#include "stage.h"

#include <cstdint>
#include <string>

// ---- Phases -------------------------------------------------------------------------------------
enum {
    kPhasePlain = 0,       // the step without announcements
    kPhaseIntro = 1,
    kPhaseFight = 2,
    kPhaseWon = 3,
    kPhaseLost = 4,
    kPhaseFreeCamera = 5,  // F1 during the fight
    kPhaseHook = 6,        // the derived battle's own frame
    kPhaseFinish = 7,
};
enum { kResultNone = 0, kResultWon = 3, kResultLost = 4 };

constexpr int kClockFloor = -18000;        // an untimed battle's clock stops here (ten minutes)
constexpr float kStageScale = 10.0f;
constexpr int kFinishDrawnFrames = 75;     // finish frames before the robots move again
// Clock events of an untimed battle (its clock starts at -1): 100 s in a warning, 2 s later
// another, and a second after that a cruise missile falls on every living robot.
constexpr int kLockOnWarningClock = -3000;
constexpr int kWarningClock = -3060;
constexpr int kCruiseMissileClock = -3090;
constexpr int kLastTenSecondsClock = 300;

// Mouse movement of the free camera: where the mouse was, how far it went, and the update
// count at which each button last went down (so the later of two held buttons is known).
struct CMouseTrack {
    int m_lastX = 0, m_lastY = 0;
    int m_moveX = 0, m_moveY = 0;
    int m_updates = 0;
    int m_pressed1 = 0, m_pressed2 = 0, m_pressed0 = 0;
    void Update();
};

class CBattle {
public:
    CBattle();
    CBattle(const CBattle&) = delete;
    CBattle& operator=(const CBattle&) = delete;

    // ---- Virtual operations, in slot order (the online battle replaces the first three) ----
    virtual void UpdatePhase() {}   // last thing of every frame's announcements
    virtual void Step();            // the fight frame: pads, one simulation step, view and drawing
    virtual void DrawNetStatus() {} // the online battle's overlay
    virtual void DrawOverlay() {}   // after the fight frame's drawing
    virtual void FramePhase6() {}   // the frame of phase 6
    virtual ~CBattle();

    // ---- Set-up, in the order the scenes call it ----
    void BuildRobot(int slot, int cpuType, const std::string& code);
    void LoadStage(int stage);
    void Start() {}
    void ResetRound();
    void SetupTeams();
    void PlaceRobots();  // start positions and targets by side letter (online set-up)

    // ---- Frames ----
    void Run();          // one frame: announcements, then the phase's frame
    int IsOver() const { return m_over; }
    int GetResult() const { return m_result; }
    void FrameIntro();
    void FrameEnd();
    void FrameFinish();
    void FrameFreeCamera();
    void UpdateFreeCamera();
    bool ShouldSkipDraw();  // the frame-skip governor, once per drawn-or-skipped frame

    // ---- The fight frame, in three parts (the online battle runs the middle one per record) ----
    void GatherPads();       // own pad, or each CPU opponent's buttons, into the slot pads
    // One step from the slot pads, as the offline, online and lockstep-runner fights all run it:
    // Tab read (once per step), SimulateStep, the camera.
    void LockstepStep();
    void DrawFightFrame();   // the frame's drawing, with the overlay
    void SimulateStep();     // slot pads into robots, clock, robots, targets, projectiles, events

    // ---- Robots, targets, projectiles (in step order) ----
    static void PadFromAi(const CRobot& robot, CPad* pad);  // button values, 10 and 11 crossed
    void UpdateRobots();
    void UpdateTargets();
    void SelectFrontTarget(CRobot* robot, int slot);
    void SpawnProjectiles();
    void UpdateProjectiles();
    void CheckProjectileCollisions();
    void CheckProjectileHits();
    void FireCruiseMissiles();  // the untimed battle's volley onto every living robot

    // ---- Phases, announcements and victory rules ----
    void UpdateAnnouncements();
    bool IsBattleOver();
    bool IsPlayerWinner();
    bool IsTeamAWiped();
    bool IsTeamBWiped();
    int GetOwnLeader();
    int GetEnemyLeader();
    bool IsAllyJustDown(int ownSlot);
    bool IsSameTeam(int a, int b);  // b = -1: the own robot
    int SlotOf(const CRobot* robot) const;  // -1 for none or a robot not of this battle

    // ---- Drawing (view folder) ----
    void Draw(int withHud);

    // ---- State hash of the simulation (lockstep checks, replays, tests) ----
    uint64_t HashState() const;

    // ---- Fields, in record order ----
    unsigned char m_over = 0;
    int m_result = kResultNone;
    int m_phase = kPhaseIntro;
    int m_phaseFrames = 0;
    CMouseTrack m_mouse;
    CRobotCatalog m_catalog;
    CRobot m_robots[kMaxRobots];
    std::string m_mission;      // "敵リーダー撃破", "敵勢力撃滅" or "サバイブ"
    std::string m_resultText;   // "WIN!" or "LOSE" from the first finish frame
    int m_clock = 1800;         // steps; counts down; negative: untimed
    CPad m_slotPads[kMaxRobots];
    int m_robotCount = kMaxRobots;
    int m_ownIndex = 0;
    CCpuAi m_cpu[kMaxRobots];
    CBattleView m_view;
    CStage m_blankEnv;
    CStage m_stageEnv;
    uint32_t m_clearColor = 0xFF000000;
    int m_weather = 0;
    CMesh m_stageMeshes[kStageMeshCount];
    C3DObject m_stageObjects[kStageMeshCount];  // [0] is the ground everything tests against
    int m_targetRate = 30;
    float m_smoothedRate = 30.0f;
    int m_skipCount = 0;
    int m_maxSkip = 10;
    int m_skipCounter = 0;
    CEffectStore m_effects;
    CProjectilePool m_projectiles;
    CPad m_ownPad;
    CPad m_secondPad;
    CPad m_cpuPad;
    CInfoPanel m_banner1;  // team role, mission and events
    CInfoPanel m_banner2;  // "ＲＥＤＹ", "ＧＯ！！", "Warning!" and the results
    int m_graphics = 3;
    // Not of the game's record: the headless runner turns the camera and drawing off, which
    // must leave the simulation exactly as it is with them on.
    int m_drawEnabled = 1;

private:
    bool DrawThisFrame() { return !ShouldSkipDraw() && m_drawEnabled; }
    void DrawFrameIfDue();  // one whole frame (begin, draw, end) when DrawThisFrame()
    void ClearAllInputs();
    void AnnounceIntro();
    void AnnounceFight();
    void AnnounceFinish();
    void AnnounceEnding(int won);
    int OwnSide();  // 2 when the own code starts with "B", else 1
};
