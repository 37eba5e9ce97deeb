// A host announcing itself and a client finding it, under the scene driver and against the fake
// chat page: the host menu with its hidden withdrawn hosts, Cancel, and the "no host" screen.
#include "lobby_fixture.h"

#include "fake_chat_page.h"
#include "fake_clock.h"
#include "host_list.h"
#include "input.h"
#include "settings.h"

#include <sys/stat.h>

#include <algorithm>

#ifndef SCREENSHOT_DIR
#error "SCREENSHOT_DIR names the folder for saved frames"
#endif

namespace {

class HostDirectoryTest : public LobbyTest {
protected:
    CFakeChatPage page;
    void SetUp() override {
        LobbyTest::SetUp();
        ASSERT_TRUE(page.Listening());
        mkdir("data", 0755);
    }
    std::unique_ptr<CLobby> MakeLobby(CTestLink* link) {
        auto lobby = std::make_unique<CLobby>(link);
        lobby->m_chatUrl = page.BaseUrl();
        return lobby;
    }
};

TEST_F(HostDirectoryTest, AnnounceFindAndWithdraw) {
    CTestLink link;
    auto host = MakeLobby(&link);
    host->m_name = "ホスト";
    host->m_msg = "come in";
    host->m_hostPort = 6123;
    host->AnnounceHost(1);
    EXPECT_TRUE(page.Requests().empty());  // only a host that announced itself posts
    host->m_announce = 1;
    host->AnnounceHost(1);
    ASSERT_EQ(page.Posts().size(), 1u);
    const std::string start = "1:ホスト[ZAU-0.18.5-6123-";
    EXPECT_EQ(page.Posts()[0].substr(0, start.size()), start);
    EXPECT_EQ(page.Posts()[0].substr(page.Posts()[0].size() - 8), "]come in");
    EXPECT_NE(page.Requests()[0].find("?action=chat&message=1%3A%83z%83X%83g%5BZAU-0.18.5-6123-"), std::string::npos);

    auto client = MakeLobby(&link);
    client->m_ip = "10.9.9.9";
    client->FetchHostList();
    bool chosen = false;
    driver.Wait(5).Press(kKeyEnter);
    chosen = client->ChooseHost();
    EXPECT_TRUE(chosen);
    EXPECT_EQ(client->m_ip, "127.0.0.1");
    EXPECT_EQ(client->m_gestPort, 6123);

    host->AnnounceHost(0);
    client->m_ip = "10.9.9.9";
    client->FetchHostList();
    EXPECT_FALSE(client->ChooseHost());
    EXPECT_EQ(client->m_ip, "127.0.0.1");
    ScreenImage noHost = driver.ReadFrame();
    ASSERT_EQ(noHost.SavePng(std::string(SCREENSHOT_DIR) + "/lobby_no_host.png"), 1);
    // The message is drawn at the top left of a black screen.
    int lit = 0;
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 200; ++x) lit += (noHost.Pixel(x, y) & 0xffffff) != 0;
    EXPECT_GT(lit, 50);
    EXPECT_EQ(noHost.Pixel(320, 240) & 0xffffff, 0u);
}

// The count goes to the page at most every five seconds, and only a new one: a receive full of
// arrival notices (146 fit in one) posts once, the same count again nothing; ten notices in
// turn in ten frames post once, and the latest count follows when the time is up, once. The
// post on becoming host and the 0 on leaving go at once, and nothing held follows the 0.
TEST_F(HostDirectoryTest, NoticesPostANewCountAtMostEveryFiveSeconds) {
    CTestLink link;
    auto host = MakeLobby(&link);
    host->m_ownId = 0;
    host->m_announce = 1;
    host->AnnounceHost(1);
    ASSERT_EQ(page.Posts().size(), 1u);
    Feed(*host, ">lttffff");
    auto posted = [&](size_t count, const char* last) {
        return page.Posts().size() == count && page.Posts().back().substr(0, 2) == last;
    };
    FakeClock::Advance(kAnnounceGapMs);
    std::string flood;
    for (int i = 0; i < 146; ++i) flood += ">tp-new";
    for (int frame = 0; frame < 2; ++frame) {
        link.m_inbound = flood + ">";
        ASSERT_EQ(link.m_inbound.size(), (size_t)kLobbyReceiveSize - 1);
        host->ReceiveNet();
        host->DispatchNet();
        host->m_recvBuffer.clear();
        EXPECT_TRUE(posted(2, "3:")) << "frame " << frame;
        FakeClock::Advance(kAnnounceGapMs);
    }

    constexpr unsigned kFrameMs = 33;
    for (int frame = 0; frame < 10; ++frame) {
        Feed(*host, frame % 2 ? ">tp-new" : ">tp-dell");
        FakeClock::Advance(kFrameMs);
    }
    EXPECT_TRUE(posted(3, "1:"));
    FakeClock::Advance(kAnnounceGapMs - 10 * kFrameMs - 1);
    Feed(*host, "");
    EXPECT_TRUE(posted(3, "1:"));
    FakeClock::Advance(1);
    Feed(*host, "");
    EXPECT_TRUE(posted(4, "3:"));
    FakeClock::Advance(kAnnounceGapMs);
    Feed(*host, "");
    EXPECT_TRUE(posted(4, "3:"));

    Feed(*host, ">tp-dell");
    EXPECT_TRUE(posted(5, "1:"));
    Feed(*host, ">tp-new");
    host->QueueLeaving();
    EXPECT_TRUE(posted(6, "0:"));
    FakeClock::Advance(kAnnounceGapMs);
    Feed(*host, "");
    EXPECT_TRUE(posted(6, "0:"));
}

// A notice's count may be one off (the flags it counts may already hold the newcomer), and a
// killed game sends none: the relay's flags bring the page to the real count, in the same five
// seconds. A re-host into a relay that still holds two players, a join counted twice, a killed
// game and churn each end with the count the flags give.
TEST_F(HostDirectoryTest, FreshFlagsBringThePageToTheRealCount) {
    CTestLink link;
    auto host = MakeLobby(&link);
    host->m_announce = 1;
    host->AnnounceHost(1);
    host->m_ownId = 0;
    auto last = [&] { return page.Posts().back().substr(0, 2); };

    Feed(*host, ">ltttfff");
    EXPECT_EQ(last(), "1:");
    FakeClock::Advance(kAnnounceGapMs);
    Feed(*host, "");
    EXPECT_EQ(last(), "3:") << "re-host";

    FakeClock::Advance(kAnnounceGapMs);
    Feed(*host, ">lttttff>tp-new");
    EXPECT_EQ(last(), "5:");
    Feed(*host, ">lttttff");
    FakeClock::Advance(kAnnounceGapMs);
    Feed(*host, "");
    EXPECT_EQ(last(), "4:") << "join";

    FakeClock::Advance(kAnnounceGapMs);
    Feed(*host, ">ltttfff");
    EXPECT_EQ(last(), "3:") << "killed game";

    FakeClock::Advance(kAnnounceGapMs);
    for (const char* text : {">tp-new", ">lttttff", ">tp-dell", ">tp-new", ">ltttfft", ">ltttfff>tp-dell"})
        Feed(*host, text);
    Feed(*host, ">ltttfff");
    FakeClock::Advance(kAnnounceGapMs);
    Feed(*host, "");
    EXPECT_EQ(last(), "3:") << "churn";
    const size_t posts = page.Posts().size();
    FakeClock::Advance(kAnnounceGapMs);
    Feed(*host, ">ltttfff");
    EXPECT_EQ(page.Posts().size(), posts);
}

// A post the page never got (it was down) is tried again once the five seconds are up, not
// before; each failure in a row doubles the wait up to 320 s, where it stays however long the
// page is down, and a post that goes through ends that: the next count waits the five seconds
// again, and the same count is not posted again.
TEST_F(HostDirectoryTest, AFailedPostIsTriedAgainAfterTheGap) {
    constexpr int kFailuresInARow = 40;  // past 32: an uncapped doubling would shift the gap out
    constexpr unsigned kLongestWaitMs = 320000;
    CTestLink link;
    auto host = MakeLobby(&link);
    host->m_ownId = 0;
    host->m_announce = 1;
    const std::string up = host->m_chatUrl;
    CRefusingPort down;
    ASSERT_NE(down.Port(), 0);
    host->m_chatUrl = "http://127.0.0.1:" + std::to_string(down.Port()) + "/chat.cgi";
    auto tries = [&] { return CountOf(driver.Log(), "サーバへの接続失敗"); };
    host->AnnounceHost(1);
    Feed(*host, ">lttffff");
    FakeClock::Advance(kAnnounceGapMs - 1);
    Feed(*host, "");
    EXPECT_EQ(tries(), 1);
    FakeClock::Advance(1);
    Feed(*host, "");
    EXPECT_EQ(tries(), 2);
    unsigned wait = 2 * kAnnounceGapMs;
    for (int failures = 2; failures < kFailuresInARow; ++failures) {
        FakeClock::Advance(wait - 1);
        Feed(*host, "");
        ASSERT_EQ(tries(), failures) << "tried again before " << wait << " ms";
        FakeClock::Advance(1);
        Feed(*host, "");
        ASSERT_EQ(tries(), failures + 1) << "not tried again after " << wait << " ms";
        wait = std::min(2 * wait, kLongestWaitMs);
    }

    host->m_chatUrl = up;
    FakeClock::Advance(kLongestWaitMs - 1);
    Feed(*host, "");
    EXPECT_TRUE(page.Posts().empty()) << "a failure in a row shortened the wait";
    FakeClock::Advance(1);
    Feed(*host, "");
    ASSERT_EQ(page.Posts().size(), 1u);
    EXPECT_EQ(page.Posts()[0].substr(0, 2), "2:");
    FakeClock::Advance(kAnnounceGapMs);
    Feed(*host, ">lttffff");
    EXPECT_EQ(page.Posts().size(), 1u);
    Feed(*host, ">ltttfff");
    ASSERT_EQ(page.Posts().size(), 2u);
    EXPECT_EQ(page.Posts()[1].substr(0, 2), "3:");
}

// Three hosts on the page and a withdrawn one between them: the menu shows three lines, and the
// third line connects to the host shown on it.
TEST_F(HostDirectoryTest, HostMenuMapsLinesToEntries) {
    std::string reply = "HTTP/1.0 200 OK\r\n\r\n";
    auto post = [](const char* address, const std::string& text) {
        return "<b>" + std::string(address) + "</b>\n > " + CFakeChatPage::SjisToEuc(text) + " <font size=1>..</font>\n";
    };
    reply += post("192.168.0.10", "2:ALICE[ZAU-0.18.5-5963-8-14:5]come in");
    reply += post("192.168.0.11", "0:BOB[ZAU-0.18.5-5970-8-14:0]gone");
    reply += post("192.168.0.12", "1:キャロル[ZAU-0.18.5-5980-8-13:9]初心者歓迎");
    reply += post("192.168.0.13", "3:DAVE[ZAU-0.18.5-5990-8-12:1]4on4");
    page.SetMode(CFakeChatPage::kCanned);
    page.SetReply(reply);
    CTestLink link;
    auto client = MakeLobby(&link);
    client->FetchHostList();
    ScreenImage menu;
    driver.Wait(40).Capture(&menu).Press(kKeyDown).Press(kKeyDown).Press(kKeyEnter);
    EXPECT_TRUE(client->ChooseHost());
    EXPECT_EQ(client->m_ip, "192.168.0.13");
    EXPECT_EQ(client->m_gestPort, 5990);
    ASSERT_EQ(menu.SavePng(std::string(SCREENSHOT_DIR) + "/lobby_host_menu.png"), 1);

    CHostList list;
    list.m_versionFilter = "0.18.5";
    list.Parse(kHostListFile);
    int lines[kMenuItemCount];
    driver.Wait(3).Press(kKeyUp).Press(kKeyEnter);  // the cursor on Cancel
    EXPECT_EQ(client->HostChoiceMenu(list, lines), -1);
    EXPECT_EQ(lines[1], 0);
    EXPECT_EQ(lines[2], 2);
    EXPECT_EQ(lines[3], 3);
    EXPECT_EQ(lines[4], -1);
    driver.Wait(3).Press(kKeyUp).Press(kKeyEnter);
    EXPECT_FALSE(client->ChooseHost());
    EXPECT_EQ(client->m_ip, "127.0.0.1");
}

TEST_F(HostDirectoryTest, NoChatPageLeavesAnEmptyList) {
    CTestLink link;
    auto lobby = MakeLobby(&link);
    lobby->m_chatUrl = kDefaultChatUrl;
    CRefusingPort down;
    ASSERT_NE(down.Port(), 0);
    lobby->m_chatUrl.replace(lobby->m_chatUrl.find("127.0.0.1"), 9, "127.0.0.1:" + std::to_string(down.Port()));
    WriteWholeFile("data/dl_file.txt", "stale");
    lobby->FetchHostList();
    EXPECT_EQ(ReadWholeFile("data/dl_file.txt"), "");
    EXPECT_FALSE(lobby->ChooseHost());
    EXPECT_NE(driver.Log().find("サーバへの接続失敗"), std::string::npos);
}

}  // namespace
