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
constexpr unsigned kRelayStartMs = 500;  // the relay's time to listen before the connect
constexpr const char* kRelayProgram = "./Vashtelo";

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
// nothing of it. A relay that cannot start shows when the connect that follows fails.
void CLobby::LaunchRelayServer() {
    if (BeginFrame(kBlack)) {
        DrawTextFormat(0, 0, "ホスト");
        DrawTextFormat(0, 16, "起動中です");
        DrawTextFormat(0, 32, " > Vashtelo.exe");
        DrawTextFormat(0, 48, "暫くお待ちください・・・");
        EndFrame();
    }
    m_relayPid = SysStartProgram(kRelayProgram);
    if (!m_relayPid) LogPrintf("relay: cannot start %s\n", kRelayProgram);
    SysSleep(kRelayStartMs);
}
