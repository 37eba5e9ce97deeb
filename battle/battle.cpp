// The battle object: construction and reset, the sides and start positions, building robots
// and the stage, and the per-frame entry with the frames of every phase and the frame-skip
// governor. Announcements and victory rules are in battle_rules.cpp, lock-on in battle_targets.cpp.
#include "battle.h"

#include "camera.h"
#include "debug_log.h"
#include "engine.h"
#include "graphics.h"
#include "input.h"
#include "settings.h"

namespace {

constexpr float kStartHeight = 2.0f;
constexpr float kStartDepth = 6.0f;        // the sides start this far either side of the centre
constexpr float kSurvivalRadius = 6.0f;
constexpr float kFullTurn = 6.28318f;
constexpr float kTooFast = 1.2f, kTooSlow = 0.8f;  // of the target rate: the governor's band

// A collision ground with this many faces crowding one place would have every pick there test
// them all, several picks a robot every step: a million stacked faces would freeze the battle.
// The shipped grounds crowd a few dozen at most.
constexpr int kMaxCrowdedGroundFaces = 4096;

const char* const kSlotTeams[kMaxRobots] = {"AL", "BL", "AM", "BM", "AM", "BM"};
const char* const kSlotNames[kMaxRobots] = {"P0", "P1", "P2", "P3", "P4", "P5"};
const float kSlotX[kMaxRobots] = {0, 0, 1.0f, 1.0f, -1.0f, -1.0f};

// Side A looks towards +z (its Z axis along -z), side B towards -z.
void FaceSide(C3DObject& root, bool sideA) {
    root.SetOrientation(Vec3(0, 0, sideA ? -1.0f : 1.0f), Vec3(0, 1, 0));
}

}  // namespace

// ---- Construction and set-up ----------------------------------------------------------------------

CBattle::CBattle() {
    {
        CSettings settings;
        m_graphics = settings.m_values[kValueGraphics];
    }
    m_blankEnv.InitBlank();
    m_robotCount = kMaxRobots;
    ResetRound();
    m_ownIndex = 0;
    SetupTeams();
    for (int i = 0; i < kMaxRobots; ++i) m_cpu[i].m_type = i == m_ownIndex ? 0 : -3;
}

CBattle::~CBattle() {}

void CBattle::ResetRound() {
    m_over = 0;
    m_result = kResultNone;
    m_phase = kPhaseIntro;
    m_phaseFrames = 0;
    m_targetRate = 30;
    m_smoothedRate = 30.0f;
    m_skipCount = 0;
    m_maxSkip = 10;
    m_skipCounter = 0;
    m_clock = 1800;
    m_projectiles.Reset(&m_effects);
    m_clearColor = 0xFF000000;
    m_weather = 0;
    m_banner1.SetImage(60, 0xFFAAAAFF, "bmp\\info_01.png");
    m_banner2.m_y = 250;
    m_banner2.SetImage(60, 0xFFFFFFFF, "bmp\\info_02.png");
    CreateTextFont(16, 0xFF00FF00, 400);
    SetLighting(1);
}

void CBattle::SetupTeams() {
    for (int i = 0; i < kMaxRobots; ++i) {
        CRobot& r = m_robots[i];
        r.m_teamCode = kSlotTeams[i];
        r.m_actionNames[kActName] = kSlotNames[i];
        bool sideA = i % 2 == 0;
        FaceSide(r.m_frames[kRootFrame], sideA);
        r.m_frames[kRootFrame].SetPosition(kSlotX[i], kStartHeight, sideA ? -kStartDepth : kStartDepth);
        r.m_target = &m_robots[i ^ 1];  // partners: 0 and 1, 2 and 3, 4 and 5
    }
    m_mission = "敵リーダー撃破";
    m_resultText = "";
}

void CBattle::BuildRobot(int slot, int cpuType, const std::string& code) {
    if (slot < 0 || slot >= kMaxRobots) return;
    m_catalog.BuildRobot(&m_robots[slot], code);
    m_cpu[slot].m_type = cpuType;
}

void CBattle::LoadStage(int stage) {
    m_stageEnv.LoadStage(stage, m_stageMeshes, &m_clearColor, &m_weather);
    // Such a ground is fought on as a damaged ground file is: with none.
    CMesh& ground = m_stageMeshes[0];
    if (ground.CountCrowdedFaces(kMaxCrowdedGroundFaces) >= kMaxCrowdedGroundFaces) {
        LogPrintf("%s: %d or more faces crowd one place, too many for the battle's picks; no ground.\n",
                  ground.GetName().c_str(), kMaxCrowdedGroundFaces);
        ground.Release();
    }
    ground.BuildFaceCells();  // every flying shot searches it each step, a short way
    for (int k = 0; k < kStageMeshCount; ++k) m_stageObjects[k].Create(&m_stageMeshes[k], 0, 0, 0, kStageScale);
}

void CBattle::PlaceRobots() {
    const int count = m_robotCount < kMaxRobots ? m_robotCount : kMaxRobots;
    int placedA = 0, placedB = 0, lastA = -1, lastB = -1;
    for (int i = 0; i < count; ++i) {
        CRobot& r = m_robots[i];
        char side = r.m_teamCode.empty() ? 0 : r.m_teamCode[0];
        if (side != 'A' && side != 'B') continue;
        C3DObject& root = r.m_frames[kRootFrame];
        bool sideA = side == 'A';
        FaceSide(root, sideA);
        float n = float(sideA ? placedA++ : placedB++);
        root.SetPosition(n, kStartHeight, sideA ? -kStartDepth : kStartDepth);
        r.m_target = nullptr;
        (sideA ? lastA : lastB) = i;
    }
    for (int i = 0; i < count; ++i) {
        CRobot& r = m_robots[i];
        char side = r.m_teamCode.empty() ? 0 : r.m_teamCode[0];
        if (side == 'A' || side == 'B') {
            // Each robot aims at the enemy slot seen last before it (the last of the whole line
            // for the first ones) and then stands as its own side's last: the targets chain
            // round a ring instead of every robot of a side piling onto one enemy.
            bool sideA = side == 'A';
            int enemy = sideA ? lastB : lastA;
            r.m_target = enemy >= 0 ? &m_robots[enemy] : nullptr;
            (sideA ? lastA : lastB) = i;
            continue;
        }
        // Survival: evenly round a circle about the centre, facing out.
        C3DObject& root = r.m_frames[kRootFrame];
        root.SetOrientation(Vec3(0, 0, 1), Vec3(0, 1, 0));
        root.SetPosition(0, kStartHeight, 0);
        root.RotateY(kFullTurn / float(count) * float(i));
        root.Translate(Vec3(0, 0, kSurvivalRadius));
        int target = 0;
        for (int j = i + 1; j < count; ++j)
            if (!IsSameTeam(i, j)) target = j;
        for (int j = 0; j < i; ++j)
            if (!IsSameTeam(i, j)) target = j;
        r.m_target = &m_robots[target];
    }
}

bool CBattle::IsSameTeam(int a, int b) {
    if (b == -1) b = m_ownIndex;
    if (a == b) return true;
    if (a < 0 || a >= kMaxRobots || b < 0 || b >= kMaxRobots) return false;
    const std::string& ta = m_robots[a].m_teamCode;
    const std::string& tb = m_robots[b].m_teamCode;
    return !ta.empty() && !tb.empty() && ta[0] == tb[0];
}

int CBattle::SlotOf(const CRobot* robot) const {
    for (int i = 0; i < kMaxRobots; ++i)
        if (robot == &m_robots[i]) return i;
    return -1;
}

// ---- Frames ---------------------------------------------------------------------------------------

void CBattle::Run() {
    UpdateAnnouncements();
    if (m_over) return;
    switch (m_phase) {
    case kPhasePlain:
    case kPhaseFight: Step(); break;
    case kPhaseIntro: FrameIntro(); break;
    case kPhaseWon:
    case kPhaseLost: FrameEnd(); break;
    case kPhaseFreeCamera: FrameFreeCamera(); break;
    case kPhaseHook: FramePhase6(); break;
    case kPhaseFinish:
        if (m_phaseFrames < kFinishDrawnFrames) FrameFinish();
        else FrameEnd();
        break;
    default: break;
    }
}

void CBattle::Step() {
    GatherPads();
    LockstepStep();
    DrawFightFrame();
}

void CBattle::GatherPads() {
    m_ownPad.SampleConfigured();
    m_secondPad.SampleSecondPad();  // sampled as the game does; the offline step reads only the own pad
    for (int i = 0; i < m_robotCount && i < kMaxRobots; ++i) {
        if (m_cpu[i].m_type == 0) {
            m_slotPads[i].Assign(m_ownPad);
            continue;
        }
        CRobot& r = m_robots[i];
        m_cpu[i].Think(&r, r.m_target, &m_stageObjects[0]);
        PadFromAi(r, &m_cpuPad);
        m_slotPads[i].Assign(m_cpuPad);
    }
}

void CBattle::SimulateStep() {
    for (int i = 0; i < m_robotCount && i < kMaxRobots; ++i) m_robots[i].ApplyPad(m_slotPads[i]);
    if (m_clock > kClockFloor) --m_clock;
    UpdateRobots();
    UpdateTargets();
    SpawnProjectiles();
    UpdateProjectiles();
    CheckProjectileCollisions();
    CheckProjectileHits();
    // Events that change the world are decided here, once per step, so every game of an online
    // match (which runs one to three steps a frame) fires them and ends on the same step.
    if (m_clock == kCruiseMissileClock) FireCruiseMissiles();
    if (m_phase == kPhaseFight && IsBattleOver()) {
        m_phase = kPhaseFinish;
        m_phaseFrames = 0;
    }
}

// The view type only chooses the camera, so reading Tab after the CPU opponents have thought
// changes nothing they see.
void CBattle::LockstepStep() {
    if (GetKeyStatus(kKeyTab) == kButtonPressed) m_view.CycleViewType();
    SimulateStep();
    if (m_drawEnabled) m_view.Update(&m_robots[m_ownIndex]);
}

void CBattle::DrawFightFrame() {
    if (!m_drawEnabled) return;
    BeginFrame(m_clearColor);
    Draw(1);
    DrawOverlay();
    EndFrame();
}

void CBattle::ClearAllInputs() {
    for (int i = 0; i < m_robotCount && i < kMaxRobots; ++i) m_robots[i].ClearVirtualButtons();
}

// The intro, finish and ending frames draw only when the governor lets them.
void CBattle::DrawFrameIfDue() {
    if (!DrawThisFrame()) return;
    BeginFrame(m_clearColor);
    Draw(1);
    EndFrame();
}

void CBattle::FrameIntro() {
    if (m_drawEnabled) m_view.Update(&m_robots[m_ownIndex]);
    if (GetKeyStatus(kKeyTab) == kButtonPressed) m_view.CycleViewType();
    ClearAllInputs();
    DrawFrameIfDue();
    UpdateRobots();
}

void CBattle::FrameEnd() {
    if (m_drawEnabled) m_view.Update(&m_robots[m_ownIndex]);
    ClearAllInputs();
    DrawFrameIfDue();
    UpdateRobots();
    SpawnProjectiles();
    UpdateProjectiles();
}

void CBattle::FrameFinish() {
    if (m_drawEnabled) m_view.Update(&m_robots[m_ownIndex]);
    ClearAllInputs();
    DrawFrameIfDue();
}

void CBattle::FrameFreeCamera() {
    if (!m_drawEnabled) return;  // a camera and nothing else
    BeginFrame(m_clearColor);
    UpdateFreeCamera();
    if (ShouldSkipDraw()) return;
    Draw(0);
    SetLighting(0);
    EndFrame();
}

void CMouseTrack::Update() {
    int x = GetMouseX(), y = GetMouseY();
    m_moveX = x - m_lastX;
    m_moveY = y - m_lastY;
    m_lastX = x;
    m_lastY = y;
    ++m_updates;
    if (GetMouseButton(0) == kButtonPressed) m_pressed0 = m_updates;
    if (GetMouseButton(2) == kButtonPressed) m_pressed2 = m_updates;
    if (GetMouseButton(1) == kButtonPressed) m_pressed1 = m_updates;
}

void CBattle::UpdateFreeCamera() {
    const float step = 0.01f, pivot = 3.0f;
    DrawTextFormat(100, 0, "%d,%d,%d", GetMouseX(), GetMouseY(), GetMouseWheel());
    m_mouse.Update();
    const float mx = float(m_mouse.m_moveX), my = float(m_mouse.m_moveY);
    if (GetMouseButton(2) > kButtonReleased) TranslateView(Vec3(mx * -step, my * step, 0));
    bool right = GetMouseButton(1) > kButtonReleased, left = GetMouseButton(0) > kButtonReleased;
    if (right && left) {
        if (m_mouse.m_pressed0 > m_mouse.m_pressed1) TranslateView(Vec3(0, 0, my * -step));
        return;
    }
    if (!right) return;
    // Orbit about a point ahead of the camera, then level the view again.
    TranslateView(Vec3(0, 0, pivot));
    RotateViewY(mx * step);
    RotateViewX(my * step);
    TranslateView(Vec3(0, 0, -pivot));
    SetViewLookAlong(GetCameraPosition(), GetCameraDirection(), Vec3(0, 1, 0));
}

bool CBattle::ShouldSkipDraw() {
    m_smoothedRate = m_smoothedRate * 0.97f + g_frameTimer.m_fps * 0.03f;
    if (m_smoothedRate > float(m_targetRate) * kTooFast) {
        if (m_skipCount > 0) --m_skipCount;
        m_smoothedRate = float(m_targetRate);
    }
    if (m_smoothedRate < float(m_targetRate) * kTooSlow) {
        if (m_skipCount < m_maxSkip) ++m_skipCount;
        m_smoothedRate = float(m_targetRate);
    }
    ++m_skipCounter;
    if (m_skipCount >= m_skipCounter) return true;
    m_skipCounter = 0;
    return false;
}

void CBattle::UpdateRobots() {
    for (int i = 0; i < m_robotCount && i < kMaxRobots; ++i)
        m_robots[i].Update(&m_stageObjects[0], i, m_robots, m_robotCount);
}
