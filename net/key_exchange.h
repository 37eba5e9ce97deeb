// CKeyExchange: the lockstep of an online battle. Every game sends the key text of the robots
// it controls for every frame, keeps what arrives from the relay in per-robot buffers, and
// runs a simulation step only when every robot's next frame is there, paced against the
// host's tick. A match that stands still because a fighter's game is gone (a slot list of the
// relay that came during the match shows that game's slot free) it asks every game to end, as
// F4 does; for a game that is only paused it waits. The world it steps is behind CKeyWorld, so
// it runs as well on a fake world.
#pragma once

#include "departure_watch.h"
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
    bool TakeSlotListRequest() { return m_departure.TakeRequest(); }  // the relay's slot list is wanted

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
    // Set every frame: for each relay slot, how many of the relay's slot lists the lobby has
    // applied showed it free.
    unsigned m_slotListsShowingFree[kWatchedSlots] = {};

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
    bool m_buffersFull = false;            // a key buffer reached its cap: the match is ending
    CDepartureWatch m_departure;
    CLatencySampler m_latency;

private:
    void ApplyKeyMessage(const std::string& body);
    void ApplyTickOrEnd(const std::string& body);
    void Report(const char* error, const std::string& message);
    void ShowError(const char* error);
    void SendPendingChat();
    void WatchDeparture(int steps);
    unsigned FighterSlots() const;

    CKeyWorld* m_world;
    CPad* m_pads;
};
