// The start handshake: every connected player waits until the host sees them all waiting and
// starts them with ">tb-start"; a refusal, once it has come back through the relay, takes its
// player back to the menu. Then 30 frames of service let the last status records arrive.
#include "lobby_flow.h"

#include "frame_loop.h"
#include "graphics.h"
#include "lobby_menu.h"

namespace {

constexpr uint32_t kBlack = 0xff000000;
constexpr const char* kStartNotice = ">tb-start";

}  // namespace

// 1 when every connected player is in battle, 0 after a refusal or the quit flag. The frame is
// the lobby menus' loop, relay requests included, with the start wait's own status period and
// decisions: a player who quits while the others wait shows in the next slot list as not
// connected, and the others start without that player.
int CLobby::StartWait() {
    if (g_quit) return 0;
    CMenu menu;
    menu.SetTitle("開始待ち");
    menu.AddItem("キャンセル");
    m_battleInbox.clear();
    bool confirmed = false;
    CStartWaitFrame f{};
    CLobbyMenuHooks hooks;
    hooks.status = [&](int frame) {
        if (frame % kStartWaitStatusPeriod == 0) QueueStatusUpdate(*this);
    };
    hooks.confirm = [&](int*) {
        confirmed = true;  // on whichever item
        return 0;
    };
    hooks.beforeServe = [&](CMenuInput&, int* result) {
        f = DecideStartWait(m_slotConnections, m_slotStates, m_slotCount, m_ownId, m_ownState, confirmed,
                            m_link->IsConnected() != 0);
        confirmed = false;
        // Back from "戦闘中" to "開始待ち": no match of this round can be built any more, so
        // nothing kept for it (a join's end request, a peer's F4, key records) may reach the
        // next one.
        if (m_ownState == kStateInBattle && f.ownState != kStateInBattle) m_battleInbox.clear();
        m_ownState = f.ownState;
        if (f.statusUpdate) QueueStatusUpdate(*this);
        *result = 0;
        return f.leaveRefused ? 1 : 0;
    };
    hooks.afterServe = [&](int* result) {
        if (f.sendStart) QueueMessage(kStartNotice);
        if (!f.leaveBattle) return 0;
        BroadcastSettings();
        *result = 1;
        return 1;
    };
    hooks.draw = [] { DrawTextFormat(0, 0, "%s", "他のメンバーの接続を待っています"); };
    return RunLobbyMenu(*this, menu, hooks) == 1 ? 1 : 0;
}

// Tests nothing itself: the status records that arrive meanwhile are the last ones the match
// is built from.
void CLobby::CheckConnection() {
    for (int frame = 1; frame <= kCheckConnectionFrames && !g_quit; ++frame) {
        PumpLobbyPass();
        if (frame % kStartWaitStatusPeriod == 0) QueueStatusUpdate(*this);
        ServeNet();
        if (BeginFrame(kBlack)) {
            DrawTextFormat(0, 0, "%s", "接続の確認をしています");
            DrawStatusPanel();
            EndFrame();
        }
        g_frameTimer.Wait();
    }
}
