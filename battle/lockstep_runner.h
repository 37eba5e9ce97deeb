// CLockstepRunner: runs a battle frame by frame the way the online battle does, with the phase
// sequencer once per frame and, in the fight, as many steps in a frame as a schedule says (0 to
// 3) with at most one drawing. The pads of a step come from the battle itself (its CPU opponents
// and local pad, optionally recorded) or from a pad record only. Every tick (an intro, finish or
// ending frame, or a step) is reported, so two runs can be compared tick by tick.
//
// Each step is CBattle::LockstepStep, the online step's own (Tab once per step, the simulation,
// the camera). What the runner leaves out, because it has no peers and a step's hash depends on
// its pads alone: the key exchange (its pacing by the host's tick, key buffers, latency samples,
// chat line and forced end, phase 99); gathering by the online rule (once per frame sent, with
// the chat keys and the chat auto-pilot): CBattle::GatherPads fills the pads once per step
// instead, the local pad into every player slot; and the network overlay (DrawOverlay is drawn).
#pragma once

#include "pad_record.h"

#include <functional>
#include <string>

class CBattle;

enum { kTickIntro = 0, kTickStep = 1, kTickFinish = 2, kTickEnding = 3 };

struct STick {
    int index = 0;   // from 1 over the whole battle
    int kind = kTickIntro;
    int number = 0;  // from 1 within its kind: intro frame n, step n, ...
};
std::string TickName(const STick& tick);  // "step 12", "intro 3", ...

// Steps per fight frame: a fixed count, or a seeded mix of 0 to 3 from a generator of its own
// (the game's generator belongs to the CPU opponents).
class CStepSchedule {
public:
    explicit CStepSchedule(int fixed = 1) : m_fixed(fixed) {}
    static CStepSchedule Mixed(unsigned seed);
    // "1", "2", "3" or "mix:SEED"; 0 for anything else.
    int Parse(const std::string& text);
    int Next();

private:
    int m_fixed = 1;  // -1: mixed
    unsigned m_state = 1;
};

class CLockstepRunner {
public:
    // Called after every tick, before the next frame; may look at or change the battle.
    using TickHook = std::function<void(const STick& tick, CBattle& battle)>;
    // Called before every frame (input, key scripts).
    using FrameHook = std::function<void(int frame)>;

    explicit CLockstepRunner(CBattle* battle) : m_battle(battle) {}
    CLockstepRunner(const CLockstepRunner&) = delete;
    CLockstepRunner& operator=(const CLockstepRunner&) = delete;

    void SetSchedule(const CStepSchedule& schedule) { m_schedule = schedule; }
    void SetTickHook(TickHook hook) { m_tickHook = std::move(hook); }
    void SetFrameHook(FrameHook hook) { m_frameHook = std::move(hook); }
    // The battle's own pads (CPU opponents, local pad), each step's keys appended to the record.
    void Record(CPadRecord* record) { m_record = record, m_player = nullptr; }
    // Pads only from the record's key texts: no CPU opponent and no local pad in the step.
    void Play(const CPadRecord* record) { m_player = record, m_record = nullptr; }

    int RunFrame();  // one frame; the number of steps it ran
    // Frames until the battle is over, the record has no further step, or the frame limit.
    void Run(int frameLimit);

    bool IsDone() const;
    bool RecordRanOut() const { return m_ranOut; }
    int Frames() const { return m_frames; }
    int Steps() const { return m_tick[kTickStep]; }
    int Ticks() const { return m_ticks; }

private:
    void FightFrame();
    void Tick(int kind);

    CBattle* m_battle;
    CStepSchedule m_schedule;
    CPadRecord* m_record = nullptr;
    const CPadRecord* m_player = nullptr;
    TickHook m_tickHook;
    FrameHook m_frameHook;
    int m_frames = 0;
    int m_ticks = 0;
    int m_tick[4] = {};
    bool m_ranOut = false;
};
