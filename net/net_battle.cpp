// The online battle's frame: input, announcements, the battle messages, and the phase's
// frame; the lockstep step with its local inputs and chat keys; the forced end and the
// status line at the finish.
#include "net_battle.h"

#include "engine.h"
#include "graphics.h"
#include "input.h"
#include "music.h"
#include "settings.h"
#include "text_list.h"
#include "wire.h"

#include <cstdio>

namespace {

constexpr int kKey1 = 2;   // main keyboard 1 to 4: DirectInput 2 to 5
constexpr int kKeyF2 = 60;
constexpr int kKeyF4 = 62;
constexpr int kChatX = 100, kChatY = 300, kChatMax = 64;
constexpr int kForcedEndBannerFrames = 90;
constexpr int kForcedEndPoseFrame = 30;

// Side A or B by the team code's rule of the forced end ("AL"/"AM" A, "BL"/"BM" B, else A).
bool IsSideB(const std::string& code) { return code == "BL" || code == "BM"; }

}  // namespace

CNetBattle::CNetBattle() : m_exchange(this, m_slotPads) { Reset(); }

CNetBattle::~CNetBattle() {}

void CNetBattle::Reset() {
    m_exchange.Reset();
    m_localId = 0;
    for (int& o : m_owner) o = 0;
    m_ownIndex = 0;
    for (int i = 0; i < m_robotCount && i < kMaxRobots; ++i) m_robots[i].m_actionNames[kActName].clear();
    m_chatInput.Attach(kChatX, kChatY, kChatMax);
    m_chatOpen = false;
    CSettings settings;
    for (int k = 0; k < 4; ++k) m_exchange.m_cannedLines[k] = settings.m_quickChat[kQuickF5 + k];
    m_exchange.m_playBuff = settings.m_values[kValuePlayBuff];
}

void CNetBattle::SyncExchange() {
    m_exchange.m_robotCount = m_robotCount;
    m_exchange.m_localId = m_localId;
    for (int i = 0; i < kMaxRobots; ++i) m_exchange.m_owner[i] = m_owner[i];
    m_exchange.m_chatWindow = m_chatWindow;
    m_exchange.m_ownName = m_robots[m_ownIndex].m_actionNames[kActName];
}

void CNetBattle::Run() {
    SyncExchange();
    if (m_phase != kPhaseFight && IsAppActive()) UpdateInput();
    UpdateAnnouncements();
    m_exchange.ParseInput();
    switch (m_phase) {
    case kPhasePlain:
    case kPhaseFight: Step(); break;
    case kPhaseIntro: FrameIntro(); break;
    case kPhaseWon:
    case kPhaseLost:
    case kPhaseForcedEnd: FrameEnd(); break;
    case kPhaseFreeCamera: FrameFreeCamera(); break;
    case kPhaseFinish:
        if (m_phaseFrames < kFinishDrawnFrames) FrameFinish();
        else FrameEnd();
        break;
    default: break;
    }
}

void CNetBattle::UpdatePhase() {
    if (m_phase == kPhaseFinish && m_phaseFrames == 1) SendStatusLine();
    if (m_phase != kPhaseForcedEnd) return;
    if (m_phaseFrames == 1) {
        m_banner2.SetText("ＷＡＲＮＩＮＧ");
        m_banner2.m_countdown = kForcedEndBannerFrames;
        m_banner1.SetText("強制終了");
    }
    if (m_phaseFrames == kForcedEndPoseFrame) {
        const bool ownB = IsSideB(m_robots[m_ownIndex].m_teamCode);
        for (int i = 0; i < m_robotCount && i < kMaxRobots; ++i) {
            CRobot& r = m_robots[i];
            const bool own = IsSideB(r.m_teamCode) == ownB;
            r.SetNextAction(r.m_actionNames[own ? kActVictory : kActDefeat]);
        }
        StopMusic();
    }
    if (m_phaseFrames > kForcedEndPoseFrame) {
        m_result = kResultForcedEnd;
        m_over = 1;
    }
}

void CNetBattle::Step() {
    m_exchange.RunFrame();
    if (!m_drawEnabled) return;
    BeginFrame(m_clearColor);
    if (!ShouldSkipDraw()) {
        Draw(1);
        DrawNetStatus();
        EndFrame();
    }
}

// ---- The world of the exchange -------------------------------------------------------------------

void CNetBattle::FillOutgoingFrame() {
    GatherLocalInputs();
    ChatKeys();
}

void CNetBattle::IdleKeys() {
    if (IsAppActive()) UpdateInput();
    ChatKeys();
}

bool CNetBattle::StepFromKeys() {
    LockstepStep();
    return m_phase != kPhaseFight && m_phase != kPhasePlain;
}

void CNetBattle::ForceEnd() {
    m_phase = kPhaseForcedEnd;
    m_phaseFrames = 0;
}

// ---- Local inputs and chat keys ------------------------------------------------------------------

void CNetBattle::GatherLocalInputs() {
    if (IsAppActive()) UpdateInput();
    for (int i = 0; i < m_robotCount && i < kMaxRobots; ++i) {
        CRobot& r = m_robots[i];
        if (m_cpu[i].m_type != 0) {
            m_cpu[i].Think(&r, r.m_target, &m_stageObjects[0]);
            PadFromAi(r, &m_slotPads[i]);
        } else if (m_chatOpen) {
            RunAiAs(i, kAutoPilotType);
            PadFromAi(r, &m_slotPads[i]);
        } else {
            m_slotPads[i].SampleConfigured();
        }
    }
}

void CNetBattle::RunAiAs(int slot, int type) {
    CCpuAi& ai = m_cpu[slot];
    CRobot& r = m_robots[slot];
    const int kept = ai.m_type;
    ai.m_type = type;
    ai.Think(&r, r.m_target, &m_stageObjects[0]);
    ai.m_type = kept;
}

void CNetBattle::ChatKeys() {
    // While the chat line is open, 1 to 4 are digits typed into it, not canned lines.
    for (int k = 0; k < 4 && !m_chatOpen; ++k)
        if (GetKeyStatus(kKey1 + k) == kButtonPressed) m_exchange.AddCannedLine(k);
    if (GetKeyStatus(kKeyF4) == kButtonPressed) m_exchange.RequestEnd();
    if (m_chatOpen) return;
    if (GetKeyStatus(kKeyF2) == kButtonPressed || GetKeyStatus(kKeyEnter) == kButtonPressed) {
        m_chatInput.SetText("");
        m_chatOpen = true;
        UpdateInput();
        m_chatInput.SetOpenStatus(1);
        SetQuitKey(kKeyF12);
    }
}

void CNetBattle::SendStatusLine() {
    char line[160];
    snprintf(line, sizeof line, "%1d %s LAG%4u %s", m_ownIndex, m_robots[m_ownIndex].m_actionNames[kActName].c_str(),
             (unsigned)m_exchange.m_latency.AverageLatency(), m_resultText.c_str());
    m_exchange.m_outgoing += ">m";
    m_exchange.m_outgoing += ToWireText(line);
}
