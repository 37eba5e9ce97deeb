// After a match: 30 frames of service whose two end requests stop any battle still running,
// then new robots and names for the CPU slots among the fighters.
#include "lobby_flow.h"

#include "frame_loop.h"
#include "graphics.h"
#include "input.h"
#include "robot_presets.h"
#include "wire.h"

#include "sys_rand.h"

#include <algorithm>

namespace {

constexpr uint32_t kBlack = 0xff000000;

}  // namespace

void CLobby::WaitBattleEnd() {
    if (g_quit) return;
    AutoReply();
    for (int frame = 1; frame <= kAfterBattleFrames && !g_quit; ++frame) {
        if (!PumpMessages()) g_quit = 1;
        if (frame == kAfterBattleEndFrames[0] || frame == kAfterBattleEndFrames[1]) {
            QueueMessage(kEndRequest);
            QueueStatusUpdate(*this);
        }
        if (IsAppActive()) UpdateInput();
        ServeNet();
        if (BeginFrame(kBlack)) {
            DrawTextFormat(0, 0, "%s", "他メンバの戦闘終了待ち");
            DrawStatusPanel();
            EndFrame();
        }
        g_frameTimer.Wait();
    }
}

// Every game draws its own; the host's broadcast makes its choice everybody's.
void CLobby::RandomizeCpuSlots() {
    CMenu menu;
    FillRobotSelectMenu(&menu);
    if (menu.m_count < 1) return;
    const int limit = std::min(m_fighters, m_slotCount);
    for (int i = 0; i < limit && i < kLobbySlots; ++i) {
        if (m_slotConnections[i] != kSlotEmpty) continue;
        menu.m_cursor = GameRand() % menu.m_count + 1;
        m_slotCodes[i] = GetRobotConfigCode(menu.GetSelectedText());
        m_slotNames[i] = CpuSlotName(i);
    }
}
