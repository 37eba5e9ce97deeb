// CNetBattle: the battle of an online match. Every game runs the whole battle; only each
// robot's keys travel, through the lobby's queues, and the key exchange steps the world when
// every robot's next frame has arrived. Adds the forced end (phase 99), the chat keys and
// entry field, the network overlay and the status line sent at the finish.
#pragma once

#include "battle.h"
#include "key_exchange.h"
#include "text_input.h"

#include <string>

struct CTextList;

constexpr int kPhaseForcedEnd = 99;
constexpr int kResultForcedEnd = 99;
constexpr int kAutoPilotType = 20;  // the CPU behaviour that steers a robot while its player types

class CNetBattle : public CBattle, private CKeyWorld {
public:
    CNetBattle();
    ~CNetBattle() override;

    void Reset();
    void Run();  // one frame of the match loop

    // ---- Virtual operations ----
    void UpdatePhase() override;
    void Step() override;
    void DrawNetStatus() override;

    // ---- Inner operations ----
    void GatherLocalInputs();
    void RunAiAs(int slot, int type);
    void ChatKeys();
    void SendStatusLine();
    void ResetStatusLines() { m_statusY = 64; }
    void DrawStatusLine(const std::string& text, uint32_t color);

    // The match loop's side of the text exchange.
    std::string& Incoming() { return m_exchange.m_incoming; }
    std::string& Outgoing() { return m_exchange.m_outgoing; }
    void TakeWholeMessages() { m_exchange.m_wholeMessages = true; }
    // Tests: called after every simulation step with its number.
    void SetStepObserver(StepObserver observer, void* context) {
        m_exchange.m_observer = observer;
        m_exchange.m_observerContext = context;
    }

    // ---- Fields the match loop sets ----
    CTextList* m_chatWindow = nullptr;  // the lobby's; not owned
    int m_localId = 0;
    int m_owner[kMaxRobots] = {};

    CKeyExchange m_exchange;
    CTextInput m_chatInput;
    bool m_chatOpen = false;
    int m_statusY = 64;

private:
    // The world behind the exchange.
    void FillOutgoingFrame() override;
    void IdleKeys() override;
    bool StepFromKeys() override;
    void ForceEnd() override;

    void SyncExchange();  // what the match loop set, into the exchange
    void CloseChat();
    void DrawStatusLines();
};
