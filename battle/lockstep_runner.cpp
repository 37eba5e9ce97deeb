// The lockstep runner's frame: announcements, then the phase's frame as CBattle::Run has it,
// except the fight, which runs the schedule's steps (each from gathered or recorded pads,
// through the step the online battle runs) and draws once at most.
#include "lockstep_runner.h"

#include "battle.h"
#include "engine.h"

std::string TickName(const STick& tick) {
    static const char* const kNames[] = {"intro", "step", "finish", "ending"};
    const char* name = tick.kind >= 0 && tick.kind < 4 ? kNames[tick.kind] : "?";
    return std::string(name) + " " + std::to_string(tick.number);
}

// ---- Schedule -------------------------------------------------------------------------------------

CStepSchedule CStepSchedule::Mixed(unsigned seed) {
    CStepSchedule s(-1);
    s.m_state = seed ? seed : 1;
    return s;
}

int CStepSchedule::Parse(const std::string& text) {
    if (text == "1" || text == "2" || text == "3") {
        *this = CStepSchedule(text[0] - '0');
        return 1;
    }
    const std::string mix = "mix:";
    if (text.compare(0, mix.size(), mix) != 0 || text.size() == mix.size() || text.size() > mix.size() + 9) return 0;
    unsigned seed = 0;
    for (size_t i = mix.size(); i < text.size(); ++i) {
        if (text[i] < '0' || text[i] > '9') return 0;
        seed = seed * 10 + unsigned(text[i] - '0');
    }
    *this = Mixed(seed);
    return 1;
}

int CStepSchedule::Next() {
    if (m_fixed >= 0) return m_fixed;
    // xorshift32: its own sequence, whatever the battle draws.
    m_state ^= m_state << 13;
    m_state ^= m_state >> 17;
    m_state ^= m_state << 5;
    return int(m_state >> 30);
}

// ---- Frames ---------------------------------------------------------------------------------------

bool CLockstepRunner::IsDone() const { return m_battle->IsOver() || m_ranOut; }

void CLockstepRunner::Run(int frameLimit) {
    while (!IsDone() && m_frames < frameLimit && !g_quit) RunFrame();
}

int CLockstepRunner::RunFrame() {
    CBattle& b = *m_battle;
    if (m_frameHook) m_frameHook(m_frames + 1);
    ++m_frames;
    const int stepsBefore = Steps();
    b.UpdateAnnouncements();
    if (b.m_over) {
        Tick(kTickEnding);  // the frame that set the result
        return 0;
    }
    switch (b.m_phase) {
    case kPhasePlain:
    case kPhaseFight: FightFrame(); break;
    case kPhaseIntro:
        b.FrameIntro();
        Tick(kTickIntro);
        break;
    case kPhaseWon:
    case kPhaseLost:
        b.FrameEnd();
        Tick(kTickEnding);
        break;
    case kPhaseFreeCamera: b.FrameFreeCamera(); break;  // the world stands still: no tick
    case kPhaseHook: b.FramePhase6(); break;
    case kPhaseFinish:
        if (b.m_phaseFrames < kFinishDrawnFrames) b.FrameFinish();
        else b.FrameEnd();
        Tick(kTickFinish);
        break;
    default: break;
    }
    return Steps() - stepsBefore;
}

void CLockstepRunner::FightFrame() {
    CBattle& b = *m_battle;
    const int steps = m_schedule.Next();
    for (int s = 0; s < steps && (b.m_phase == kPhaseFight || b.m_phase == kPhasePlain); ++s) {
        if (m_player) {
            // As the online step: every pad from its key text.
            if (Steps() >= m_player->StepCount()) {
                m_ranOut = true;
                break;
            }
            m_player->LoadStep(Steps(), b.m_slotPads);
        } else {
            b.GatherPads();
            // What a game sends is what every game applies, its own included.
            for (int i = 0; i < b.m_robotCount && i < kMaxRobots; ++i)
                b.m_slotPads[i].FromKeyString(b.m_slotPads[i].ToKeyString());
            if (m_record) m_record->AddStep(b.m_slotPads);
        }
        b.LockstepStep();
        Tick(kTickStep);
    }
    if (b.m_drawEnabled && !b.ShouldSkipDraw()) b.DrawFightFrame();
}

void CLockstepRunner::Tick(int kind) {
    ++m_ticks;
    STick t;
    t.index = m_ticks;
    t.kind = kind;
    t.number = ++m_tick[kind];
    if (m_tickHook) m_tickHook(t, *m_battle);
}
