// The lobby's side of the chat page: a host announces its player count, a client downloads
// the page and picks a host from the announcements on it. Each request blocks its frame; the
// screen keeps the one line drawn before it.
#include "lobby.h"

#include "debug_log.h"
#include "frame_loop.h"
#include "graphics.h"
#include "host_list.h"
#include "httpc.h"
#include "menu_input.h"

#include "sys_time.h"

#include <algorithm>
#include <limits>

namespace {

constexpr uint32_t kBlack = 0xff000000;
constexpr unsigned kNoHostMs = 1000;  // how long "no host" stays on screen

void ShowOneLine(const char* text) {
    if (BeginFrame(kBlack)) {
        DrawTextFormat(0, 0, "%s", text);
        EndFrame();
    }
}

}  // namespace

// Every post, the count of a notice that waited included, supersedes what still waits. A post
// the page never got (no connection, no request sent) is due again after the gap.
void CLobby::AnnounceHost(int count) {
    m_countDue = false;
    if (!m_announce) return;
    ShowOneLine("サーバーに送信中");
    if (count == -1) count = CountConnected();
    const std::string text = BuildHostAnnouncement(count, m_name, m_hostPort, SysGetLocalTime(), m_msg);
    CHttpRequest request;
    const bool posted = request.Get(kHostListFile, m_chatUrl + "?action=chat&message=" + PercentEncode(text)) == 0;
    // From the end of the request: a slow page must still leave the lobby its time between posts.
    m_postedAt = SysGetTicks();
    m_postTried = true;
    if (posted) {
        m_postedCount = count;
        m_postFailures = 0;
        return;
    }
    if (m_postFailures < std::numeric_limits<int>::max()) ++m_postFailures;
    LogPrintf("lobby: the chat page did not take the count %d, trying again in %u s\n", count, AnnounceGap() / 1000);
    m_noticeCount = count;
    m_countDue = true;
}

// The doublings are capped where the shift is, so no count of failures can shift the gap past
// its width.
unsigned CLobby::AnnounceGap() const {
    return kAnnounceGapMs << std::clamp(m_postFailures - 1, 0, kAnnounceBackOffSteps - 1);
}

// A notice's count is a guess: the flags it counts may or may not hold that player yet, and a
// game that is killed sends no notice at all. The relay's fresh flags are what the page should
// say; FinishNotices posts them in its own time.
void CLobby::TakeFreshCount() {
    if (m_ownId != 0) return;
    int count = 0;
    for (int i = 0; i < m_slotCount; ++i) count += m_slotConnections[i] == kSlotConnected;
    m_noticeCount = count;
    m_countDue = count != m_postedCount;
}

void CLobby::FetchHostList() {
    ShowOneLine("サーバーからリストを取得中");
    CHttpRequest request;
    request.Get(kHostListFile, m_chatUrl + "?action=print");
}

bool CLobby::ChooseHost() {
    ShowOneLine("解析中");
    CHostList list;
    list.m_versionFilter = kGameVersion;
    list.Parse(kHostListFile);
    int lineEntries[kMenuItemCount];
    int line = HostChoiceMenu(list, lineEntries);
    if (line < 1) {
        m_ip = "127.0.0.1";
        return false;
    }
    m_ip = list.m_addresses[lineEntries[line]];
    m_gestPort = list.m_ports[lineEntries[line]];
    return true;
}

// Hosts that withdrew (count "0") are on the page but not in the menu, so menu lines and list
// entries are kept apart.
int CLobby::HostChoiceMenu(const CHostList& list, int (&lineEntries)[kMenuItemCount]) {
    for (int& e : lineEntries) e = -1;
    if (g_quit) return -1;
    CMenu menu;
    menu.SetTitle("接続先選択");
    for (int i = 0; i <= list.m_lastIndex; ++i) {
        if (!list.m_texts[i].empty() && list.m_texts[i][0] == '0') continue;
        if (menu.m_count >= kMenuMaxIndex) break;
        menu.AddItem(list.m_texts[i]);
        lineEntries[menu.m_count] = i;
    }
    if (menu.m_count == 0) {
        ShowOneLine("公開中のホストが見つかりません");
        SysSleep(kNoHostMs);
        return -1;
    }
    CMenuInput keys;
    int result = -1;
    bool chosen = false;
    RunFrameLoop([&] { return chosen; },
                 [&] {
                     keys.Update();
                     if (keys.m_up == 2) menu.CursorPrev();
                     if (keys.m_down == 2) menu.CursorNext();
                     if (keys.m_confirm == 2) {
                         chosen = true;
                         result = menu.m_cursor >= 1 ? menu.m_cursor : -1;  // Cancel chooses nothing
                         return 0;
                     }
                     if (BeginFrame(kBlack)) {
                         menu.Draw();
                         EndFrame();
                     }
                     return 1;
                 });
    return chosen ? result : -1;
}
