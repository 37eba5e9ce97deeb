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
// The relay listens within half a second of its start, but a desktop terminal takes longer: a
// terminal server's first start on a busy machine has taken close to 5 s. The hosting game's
// connect is tried again for this long.
constexpr unsigned kRelayListenWaitMs = 10000;
// Each refused connect leaves a line in socket.err: not one a frame.
constexpr unsigned kRelayRetryMs = 200;
// Many terminals hand the program to a terminal server that already runs and end at once; the
// server starts it up to half a second later. A terminal that ended this long ago with nothing
// listening has started no relay (it refused its options, or failed).
constexpr unsigned kTerminalHandOverMs = 3000;

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

// What a host's wait for its relay saw and did, in ms after its start.
struct RelayWait {
    int ended = 0;  // the started process (the terminal, or the detached relay) has ended
    unsigned endedMs = 0;
    int detached = 0;  // after the terminal ended: 1 started detached, -1 could not start
    unsigned detachedMs = 0;
};

// The line that goes with "接続失敗": everything that was tried.
void LogNothingListened(const std::string& terminal, const RelayWait& wait) {
    std::string what = terminal.empty() ? std::string("the detached start of ") + kRelayProgram
                                        : std::string(kRelayProgram) + " in " + terminal;
    what += wait.ended ? ", which ended after " + std::to_string(wait.endedMs) + " ms" : ", which still runs";
    if (wait.detached > 0)
        what += ", then " + std::string(kRelayProgram) + " detached after " + std::to_string(wait.detachedMs) + " ms";
    if (wait.detached < 0) what += ", then a detached start that failed";
    LogPrintf("relay: nothing listened within %u ms of %s\n", kRelayListenWaitMs, what.c_str());
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
// nothing of it but its process id and its terminal, for the wait in AwaitRelay. A relay that
// cannot start is logged, and the connect that follows finds whatever relay listens, or fails.
void CLobby::LaunchRelayServer() {
    DrawRelayStart();
    m_relayPid = SysStartProgram(kRelayProgram, &m_relayTerminal);
    if (!m_relayPid) {
        LogPrintf("relay: cannot start %s\n", kRelayProgram);
    } else if (m_relayTerminal.empty()) {
        LogPrintf("relay: %s started detached\n", kRelayProgram);
    } else {
        LogPrintf("relay: %s started in the terminal %s\n", kRelayProgram, m_relayTerminal.c_str());
    }
}

// The lobby's own connect is the one tried again, never a probe beside it: every connection
// takes one of the relay's six slots and shows to the other players. It is tried for the whole
// bound whether the process started still runs or not, since a terminal's own process says
// nothing of the relay. A terminal that ended with nothing listening gets one detached start
// beside it; the relay lets one copy run for each user, so a late one from the terminal ends at
// once. The passes go on while the window is inactive, since the terminal may take the focus.
// A connect still under way at the end counts as made, as any other.
int CLobby::AwaitRelay(uint32_t address) {
    const unsigned start = SysGetTicks();
    unsigned tried = start;
    RelayWait wait;
    const char* started = m_relayTerminal.empty() ? kRelayProgram : m_relayTerminal.c_str();
    while (!g_quit) {
        PumpBattlePass();
        if (m_socketLink->IsConnected()) return 1;
        const unsigned now = SysGetTicks();
        const bool closed = m_socketLink->IsClosed();
        if (closed && !m_relayPid) {
            LogPrintf("relay: nothing listens, and no relay was started\n");
            return 0;
        }
        if (now - start >= kRelayListenWaitMs) {
            if (closed) LogNothingListened(m_relayTerminal, wait);
            return !closed;
        }
        if (closed && now - tried >= kRelayRetryMs) {
            tried = now;
            if (!wait.ended && !SysProgramRunning(m_relayPid)) {
                wait.ended = 1;
                wait.endedMs = now - start;
                LogPrintf("relay: %s ended after %u ms\n", started, wait.endedMs);
            }
            if (wait.ended && !wait.detached && !m_relayTerminal.empty() &&
                now - start - wait.endedMs >= kTerminalHandOverMs) {
                wait.detachedMs = now - start;
                wait.detached = SysStartProgramDetached(kRelayProgram) ? 1 : -1;
                LogPrintf("relay: nothing listens %u ms after %s ended; %s %s detached\n", kTerminalHandOverMs,
                          started, wait.detached > 0 ? "started" : "cannot start", kRelayProgram);
            }
            if (!m_socketLink->Connect(address, (uint16_t)m_gestPort)) {
                LogPrintf("relay: cannot connect again\n");
                return 0;
            }
        }
        DrawRelayStart();
        g_frameTimer.Wait();
    }
    return 0;
}
