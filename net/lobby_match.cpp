// The match: the online battle built from the lobby's tables and run frame by frame, with the
// text moved between the lobby's queues and the battle's streams.
#include "lobby_flow.h"

#include "frame_loop.h"
#include "loading_screen.h"
#include "net_battle.h"
#include "wire.h"

#include <memory>

namespace {

constexpr int kChatX = 380, kChatY = 100;  // the chat pane's place on the battle screen

}  // namespace

void CLobby::RunNetBattle() {
    if (g_quit) return;
    CLoadingScreen loading;
    RunFrameLoop([&] { return loading.IsDone() != 0; },
                 [&] {
                     loading.Draw();
                     return 1;
                 });
    auto battle = std::make_unique<CNetBattle>();
    const CMatchSetup setup = MakeMatchSetup(*this);
    for (int i = 0; i < kLobbySlots; ++i) battle->BuildRobot(i, -1, m_slotCodes[i]);
    battle->LoadStage(setup.stage);
    battle->m_chatWindow = &m_chat;
    m_chat.m_x = kChatX;
    m_chat.m_y = kChatY;
    for (int r = 0; r < kLobbySlots; ++r)
        if (!setup.teams[r].empty()) battle->m_robots[r].m_teamCode = setup.teams[r];
    if (!setup.mission.empty()) battle->m_mission = setup.mission;
    m_fighters = setup.fighters;
    battle->m_clock = setup.clock;
    for (int r = 0; r < kLobbySlots; ++r) battle->m_robots[r].ScaleAmmo(setup.ammoFactor);
    battle->m_robotCount = setup.robotCount;
    battle->PlaceRobots();
    battle->m_localId = m_ownId;
    battle->m_ownIndex = setup.ownIndex;
    battle->m_cpu[setup.ownIndex].m_type = 0;
    for (int o = 0; o < kLobbySlots; ++o) m_slotNames[o] = setup.slotNames[o];
    for (int r = 0; r < kLobbySlots; ++r) {
        battle->m_owner[r] = setup.owners[r];
        battle->m_robots[r].m_actionNames[kActName] = setup.names[r];
    }
    battle->Start();
    // The battle's end request may be the last message for good: the host that would send the
    // next tick can be gone.
    battle->TakeWholeMessages();
    m_battle = battle.get();
    if (m_onMatch) m_onMatch(battle.get(), m_onMatchContext);

    // The battle polls the input itself: a second poll in the frame would turn every "pressed"
    // into "held".
    int frames = 0;
    bool endInjected = false;
    while (!g_quit && !battle->IsOver()) {
        if (!PumpMessages()) g_quit = 1;
        if (++frames % kMatchStatusPeriod == 0) QueueStatusUpdate(*this);
        ServeNet();
        battle->Incoming() += m_battleInbox;
        m_battleInbox.clear();
        // Without the connection no end request ever comes back through the relay, F4's
        // included: the lost connection ends the battle here.
        battle->m_exchange.m_connected = m_link->IsConnected() != 0;
        if (!battle->m_exchange.m_connected && !endInjected) {
            LogPrintf("lobby: connection lost in the match, ending it\n");
            battle->Incoming() += std::string(kEndRequest) + ">";
            endInjected = true;
        }
        for (int i = 0; i < kLobbySlots; ++i) battle->m_exchange.m_slotListsShowingFree[i] = m_slotListsShowingFree[i];
        battle->Run();
        // As the lobby menus ask: in front of the queue, where the relay answers it.
        if (battle->m_exchange.TakeSlotListRequest()) QueueRequest(kRequestList);
        QueueMessage(battle->Outgoing());
        battle->Outgoing().clear();
        g_frameTimer.WaitSkip((unsigned)battle->m_skipCount);
    }
    if (m_onMatch) m_onMatch(battle.get(), m_onMatchContext);
    m_battle = nullptr;
}

