// Joining and leaving the lobby: the connect to the relay, the greeting every other player sees
// on arrival (its first message ends a battle running without us), and the leaving notice.
#include "lobby_flow.h"

#include "engine.h"
#include "graphics.h"
#include "input.h"
#include "settings.h"
#include "socket_link.h"
#include "status_record.h"
#include "wire.h"

#include "sys_rand.h"

#include <cstdint>

namespace {

constexpr uint32_t kBlack = 0xff000000;

const char* const kOpeners[] = {"その時突然", "噂をすれば", "待ちに待った", "呼んで無いが", "脅威の新人", "脅威の新人"};
const char* const kVerbs[] = {"が乗り込んできた", "が現れた", "が登場", "が出現", "がｷﾀｰ"};
const char* const kRemarks[] = {
    "意外と礼儀を知っている",   "どうやら挨拶のつもりらしい", "彼はヤル気満々だ",
    "彼の田舎ではコレが挨拶なのだろう", "メンツを見てガッカリしている", "気不味いフインキだ(←何故か変換出来ない)",
    "心にも無い事を言う",       "空気が全く読めていない",     "空気が全く読めていない",
    "空気が全く読めていない",
};
constexpr int kOpenerCount = sizeof kOpeners / sizeof kOpeners[0];
constexpr int kVerbCount = sizeof kVerbs / sizeof kVerbs[0];
constexpr int kRemarkCount = sizeof kRemarks / sizeof kRemarks[0];

}  // namespace

// A connect still under way counts as made: it completes later, or the lobby stays off line.
// A host waits for its relay, whose start screen stays up meanwhile, and is told when the relay
// never took the connect.
void CLobby::ConnectToHost() {
    if (!m_announce && BeginFrame(kBlack)) {
        DrawTextFormat(0, 0, "%s", "ホストに接続");
        EndFrame();
    }
    if (!m_socketLink) return;  // an outside link is connected by its owner
    uint32_t address = 0;
    if (!m_socketLink->ResolveHost(m_ip.c_str(), &address)) {
        ShowMessageBox("サーバー不見");
        return;
    }
    int connected = m_socketLink->Connect(address, (uint16_t)m_gestPort);
    if (connected && m_announce) connected = AwaitRelay(address);
    if (!connected && !g_quit) ShowMessageBox("接続失敗");
}

void CLobby::PostJoinGreeting() {
    QueueMessage(kEndRequest);
    QueueMessage(">tp-new");
    QueueMessage(std::string(">mVer") + kGameVersion);
    const int opener = GameRand() % kOpenerCount;
    const int verb = GameRand() % kVerbCount;
    QueueMessage(">m" + ToWireText(kOpeners[opener] + m_name + kVerbs[verb]));
    CSettings settings;
    QueueMessage(">m" + ToWireText(m_name + ":" + settings.m_quickChat[kQuickIn]));
    QueueMessage(std::string(">m") + kRemarks[GameRand() % kRemarkCount]);
}

// Goes out only if the connection takes it at this one send; nothing waits for it.
void CLobby::QueueLeaving() {
    QueueMessage(">tp-dell");
    SendNet();
    AnnounceHost(0);
}

// The robot menu gives eight blanks on quit and "_LOAD_" gives an unsaved build: neither may
// become the robot every other game builds.
int CLobby::TakeOwnRobotCode(const std::string& code) {
    if (!IsKnownBuildCode(m_catalog, code)) return 0;
    m_ownCode = code;
    return 1;
}
