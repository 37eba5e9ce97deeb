// CKeyExchange: the lockstep of an online battle. Every game sends the key text of the robots
// it controls for every frame, keeps what arrives from the relay in per-robot buffers, and
// runs a simulation step only when every robot's next frame is there, paced against the
// host's tick; a match that has not stepped for 15 seconds it asks every game to end, as F4
// does. The world it steps is behind CKeyWorld, so it runs as well on a fake world.
#pragma once

#include "latency_sampler.h"
#include "pad.h"

#include <cstdint>
#include <string>

struct CTextList;

constexpr int kExchangeRobots = 6;
constexpr int kKeyTextLength = 12;               // one frame of one robot
constexpr size_t kKeyBufferCap = 108000;         // 9,000 frames
constexpr size_t kPendingChatCap = 512;          // bytes of the next chat line
constexpr int kMaxStepsPerFrame = 3;
constexpr int kIdleKeyFrames = 30;               // frames without a send before F4 is read anyway
constexpr unsigned kStallEndMs = 15000;          // no step this long: the match is ended for everybody
constexpr uint32_t kChatErrorColor = 0x77ffffff;

// The world the exchange steps. The exchange fills and reads the slot pads it was given. The
// names are the exchange's own, so a world that is also a battle hides none of the battle's.
class CKeyWorld {
public:
    virtual ~CKeyWorld() = default;
    virtual void FillOutgoingFrame() = 0;  // a frame goes out: this game's pads for every robot, then its chat keys
    virtual void IdleKeys() = 0;           // no frame has gone out for a while: the chat keys alone
    virtual bool StepFromKeys() = 0;       // one step from the slot pads the keys filled; true once the fight is over
    virtual void ForceEnd() = 0;           // an end request arrived
};

// Called after each simulation step with its number (from 1).
using StepObserver = void (*)(void* context, int step);

class CKeyExchange {
public:
    CKeyExchange(CKeyWorld* world, CPad* slotPads);
    CKeyExchange(const CKeyExchange&) = delete;
    CKeyExchange& operator=(const CKeyExchange&) = delete;

    void Reset();
    int RunFrame();  // Exchange, then up to three steps; the number of steps run

    // ---- Inner operations --------------------------------------------------------------------
    void Exchange();
    void QueueMinMax();
    bool ConsumeKeys();
    void QueueLocalKeys();
    void QueuePresetKeys();
    void ParseInput();
    int FramesToSend() const;  // by the pacing rule, from the send count and the host tick

    // ---- The chat line this game sends next -------------------------------------------------
    void AddCannedLine(int index);         // 0 to 3: keys 1 to 4
    void AddChatText(const std::string& text);
    void RequestEnd();                     // F4: "ｺﾏﾝﾄﾞ:終了申請" and the end request
    bool IsOwned(int slot) const { return m_owner[slot] == m_localId; }

    // ---- Set by the owner before the first frame --------------------------------------------
    int m_robotCount = kExchangeRobots;
    int m_localId = 0;
    int m_owner[kExchangeRobots] = {};
    std::string m_ownName;
    CTextList* m_chatWindow = nullptr;     // not owned; may be null
    std::string m_cannedLines[4];
    int m_playBuff = 3;
    StepObserver m_observer = nullptr;
    void* m_observerContext = nullptr;
    // The lobby hands over whole messages, so the last one needs no following mark to count;
    // a raw stream's last message may still be arriving.
    bool m_wholeMessages = false;
    // Set every frame: without the connection no end request could go out.
    bool m_connected = true;

    // ---- State -------------------------------------------------------------------------------
    std::string m_incoming;
    std::string m_outgoing;
    std::string m_keyBuffers[kExchangeRobots];
    bool m_started = false;
    bool m_presetSent = false;
    std::string m_pendingChat;
    bool m_pendingEnd = false;             // the line carries the end request behind it
    uint32_t m_minLen = 0, m_maxLen = 0, m_ownLen = 0;
    int m_maxSlot = -1, m_minSlot = -1;
    int m_ownTick = 0;
    int m_hostTick = 0;
    int m_idleFrames = 0;                  // frames in a row without a key frame sent
    bool m_stallClock = false;             // m_lastStepAt holds a time
    unsigned m_lastStepAt = 0;             // ms: the last frame that stepped, or the first frame
    bool m_stallEndSent = false;
    CLatencySampler m_latency;

private:
    void ApplyKeyMessage(const std::string& body);
    void ApplyTickOrEnd(const std::string& body);
    void Report(const char* error, const std::string& message);
    void ShowError(const char* error);
    void SendPendingChat();
    void WatchStall(int steps);

    CKeyWorld* m_world;
    CPad* m_pads;
};
