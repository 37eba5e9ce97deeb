// The screens before the lobby connects: the player's name, the kind of connection, the host's
// public message or a typed address, and the start of the relay program on a hosting machine.
// No connection exists yet, so they serve no network and draw no status panel.
#include "lobby.h"

#include "debug_log.h"
#include "engine.h"
#include "frame_loop.h"
#include "graphics.h"
#include "input.h"
#include "menu_input.h"
#include "socket_link.h"
#include "text_input.h"
#include "wire.h"

#include "sys_process.h"
#include "sys_time.h"

#include <string>

namespace {

constexpr uint32_t kBlack = 0xff000000;
constexpr int kFieldX = 0;
constexpr int kFieldY = 16;
constexpr int kFieldMax = 16;         // bytes; longer stored values are shown whole
constexpr const char* kRelayProgram = "./Vashtelo";
// The relay listens within half a second of its start, but a desktop terminal can take a second
// or more to start it: the hosting game's connect is tried again for this long.
constexpr unsigned kRelayListenWaitMs = 5000;
// Each refused connect leaves a line in socket.err: not one a frame.
constexpr unsigned kRelayRetryMs = 200;

// One text field screen: the value on Enter, the old one on Escape or quit. 1 on Enter.
int EditText(const char* prompt, std::string* value) {
    if (g_quit) return 0;
    CTextInput field;
    field.Attach(kFieldX, kFieldY, kFieldMax);
    field.SetText(*value);
    // Escape ends the field and the flow goes on, so it must not close the program meanwhile.
    SetQuitKey(kKeyF12);
    int done = 0;
    while (!g_quit) {
        if (!PumpMessages()) g_quit = 1;
        UpdateInput();
        const int drawing = BeginFrame(kBlack);
        if (drawing) DrawTextFormat(0, 0, "%s", prompt);
        done = field.Update();
        if (drawing) EndFrame();
        if (done != 0) break;
        g_frameTimer.Wait();
    }
    UpdateInput();
    SetQuitKey(kKeyEscape);
    if (done != 1) return 0;
    field.GetText(*value);
    return 1;
}

void DrawRelayStart() {
    if (!BeginFrame(kBlack)) return;
    DrawTextFormat(0, 0, "ホスト");
    DrawTextFormat(0, 16, "起動中です");
    DrawTextFormat(0, 32, " > Vashtelo.exe");
    DrawTextFormat(0, 48, "暫くお待ちください・・・");
    EndFrame();
}

}  // namespace

int CLobby::ConnectTypeMenu() {
    if (g_quit) return -1;
    CMenu menu;
    menu.SetTitle("接続形式選択");
    for (const char* line : {"クライアント", "ホスト", "ＩＰ指定"}) menu.AddItem(line);
    CMenuInput keys;
    int result = -1;
    RunFrameLoop([&] { return result != -1; },
                 [&] {
                     keys.Update();
                     if (keys.m_up == 2) menu.CursorPrev();
                     if (keys.m_down == 2) menu.CursorNext();
                     if (keys.m_confirm == 2) {
                         result = menu.m_cursor;
                         return 0;
                     }
                     if (BeginFrame(kBlack)) {
                         menu.Draw();
                         EndFrame();
                     }
                     return 1;
                 });
    return g_quit ? -1 : result;
}

// The name and the message travel in status records and announcements: ">" must not start a
// message of its own there.
void CLobby::InputName() {
    if (EditText("名前入力", &m_name)) m_name = ToWireText(m_name);
}

void CLobby::InputMessage() {
    if (EditText("メッセージ入力", &m_msg)) m_msg = ToWireText(m_msg);
}

void CLobby::InputIp() {
    if (EditText("IP入力", &m_ip) && m_ip == "127.0.0.1") m_gestPort = m_hostPort;
}

// The relay runs beside the game in the game folder and reads the same ap.ini; the game keeps
// nothing of it but its process id, for the wait in AwaitRelay. A relay that cannot start is
// logged, and the connect that follows finds whatever relay listens, or fails.
void CLobby::LaunchRelayServer() {
    DrawRelayStart();
    m_relayPid = SysStartProgram(kRelayProgram);
    if (!m_relayPid) LogPrintf("relay: cannot start %s\n", kRelayProgram);
}

// The lobby's own connect is the one tried again, never a probe beside it: every connection
// takes one of the relay's six slots and shows to the other players. Only while the relay (or
// its terminal) runs: one that ended, or never started, will not listen, and the connect made
// is the only one. The passes go on while the window is inactive, since the terminal may take
// the focus. A connect still under way at the end counts as made, as any other.
int CLobby::AwaitRelay(uint32_t address) {
    const unsigned start = SysGetTicks();
    unsigned tried = start;
    while (!g_quit) {
        PumpBattlePass();
        if (m_socketLink->IsConnected()) return 1;
        const unsigned now = SysGetTicks();
        const bool closed = m_socketLink->IsClosed();
        if (now - start >= kRelayListenWaitMs) {
            if (closed) LogPrintf("relay: not listening within %u ms\n", kRelayListenWaitMs);
            return !closed;
        }
        if (closed) {
            if (!SysProgramRunning(m_relayPid)) {
                LogPrintf("relay: the connect was refused and no relay of this game runs\n");
                return 0;
            }
            if (now - tried >= kRelayRetryMs) {
                tried = now;
                if (!m_socketLink->Connect(address, (uint16_t)m_gestPort)) return 0;
            }
        }
        DrawRelayStart();
        g_frameTimer.Wait();
    }
    return 0;
}
