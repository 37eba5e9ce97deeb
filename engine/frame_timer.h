// Paces every scene at 30 frames a second: slots of 33, 33 and 34 ms.
#pragma once

constexpr int kFramePeriodMs = 33;
constexpr int kFrameExtraMs = 1;        // added every third frame: 100 ms per three frames
constexpr int kFpsWindowFrames = 15;    // the frame rate is measured over this many frames
constexpr int kMaxCatchUpSlots = 4;     // further behind than this, the backlog is dropped

struct CFrameTimer {
    int m_period = kFramePeriodMs;
    int m_extra = kFrameExtraMs;
    int m_framesSinceUpdate = 0;
    int m_frameMod3 = 0;
    unsigned m_due = 0;           // start of the current frame slot (ms)
    unsigned m_fpsWindowStart = 0;
    int m_skip = 0;               // read and reset by the battle's frame skipping
    float m_fps = 30.0f;

    void Init();
    void Wait();                  // end of a scene frame
    void WaitSkip(unsigned skip); // end of a battle frame

private:
    void MeasureRate(unsigned now);
    int NextSlot();
    int Pace(unsigned now, unsigned slot);  // sleeps to the end of the slot (1) or catches up (0)
};

extern CFrameTimer g_frameTimer;
