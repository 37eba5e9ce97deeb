// The chat page's HTTP client against a fake page on 127.0.0.1: which addresses it serves and
// the exact request it sends, the reply stored byte for byte, and every way a server can fail
// it (nothing listening, silence, an early close, a reply too large), each within its limits.
#include "httpc.h"

#include "fake_chat_page.h"
#include "host_list.h"
#include "settings.h"
#include "test_folder.h"

#include "debug_log.h"
#include "sys_info.h"
#include "sys_tcp_exchange.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string g_log;

class HttpTest : public ::testing::Test {
protected:
    CTestFolder folder;
    void SetUp() override {
        g_log.clear();
        ResetLogFileName();
        SysSetDebugOutputSink([](const char* text) { g_log += text; });
        WriteWholeFile("dl_file.txt", "old page");
    }
    void TearDown() override {
        SysSetDebugOutputSink(nullptr);
        SetHttpTimeouts();
    }
    // One Get into "dl_file.txt"; the stored file.
    std::string Fetch(const std::string& url) {
        CHttpRequest request;
        request.Get("dl_file.txt", url);
        return ReadWholeFile("dl_file.txt");
    }
};

TEST_F(HttpTest, AddressesAndTheRequestText) {
    const std::string host255(255, 'h'), host256(256, 'h');
    std::string path2048(2048, 'p'), path2049(2049, 'p');
    path2048[0] = path2049[0] = '/';
    const struct {
        std::string url;
        int kind;
        const char* log;      // "" when served
        std::string request;  // when served
    } cases[] = {
        {"http://h:8080/x", 2, "", "GET /x HTTP/1.0\r\nHost: h:8080\r\nUser-Agent: httpc/0.0\r\n\r\n"},
        {"http://h", 2, "", "GET / HTTP/1.0\r\nHost: h:80\r\nUser-Agent: httpc/0.0\r\n\r\n"},
        {"HTTP://H/a?b=c", 2, "", "GET /a?b=c HTTP/1.0\r\nHost: H:80\r\nUser-Agent: httpc/0.0\r\n\r\n"},
        {"http://h:65535", 2, "", "GET / HTTP/1.0\r\nHost: h:65535\r\nUser-Agent: httpc/0.0\r\n\r\n"},
        {"http://h:0000080/", 2, "", "GET / HTTP/1.0\r\nHost: h:80\r\nUser-Agent: httpc/0.0\r\n\r\n"},
        {"http://" + host255 + "/", 2, "", "GET / HTTP/1.0\r\nHost: " + host255 + ":80\r\nUser-Agent: httpc/0.0\r\n\r\n"},
        {"http://h" + path2048, 2, "", "GET " + path2048 + " HTTP/1.0\r\nHost: h:80\r\nUser-Agent: httpc/0.0\r\n\r\n"},
        {"http://", 2, "httpc URL\n", ""},
        {"http://h/x", 1, "httpc URL\n", ""},
        {"http://h/x", 3, "httpc URL\n", ""},
        {"https://h/", 2, "httpのURLではありません\n", ""},
        {"ftp://host/x", 2, "httpのURLではありません\n", ""},
        {"http://h:0/", 2, "httpc URL\n", ""},
        {"http://h:70000/", 2, "httpc URL\n", ""},
        {"http://h:abc/", 2, "httpc URL\n", ""},
        {"http://h:/", 2, "httpc URL\n", ""},
        {"http://h:00000080/", 2, "httpc URL\n", ""},
        {"http://h:80:81/", 2, "httpc URL\n", ""},
        {"http://" + host256 + "/", 2, "httpc URL\n", ""},
        {"http://h" + path2049, 2, "httpc URL\n", ""},
        {"http://" + host255 + path2048 + "x", 2, "httpc URL\n", ""},
    };
    for (const auto& c : cases) {
        g_log.clear();
        HttpUrl url;
        int served = ParseHttpUrl(c.url, c.kind, &url);
        EXPECT_EQ(served, c.log[0] ? 0 : 1) << c.url.substr(0, 40);
        EXPECT_EQ(g_log, c.log) << c.url.substr(0, 40);
        if (served) {
            EXPECT_EQ(BuildHttpRequest(url), c.request) << c.url.substr(0, 40);
        }
        if (!served) {
            CStringListFile lines;
            EXPECT_EQ(httpc(&lines, c.kind, c.url), -1);
        }
    }
}

TEST_F(HttpTest, AnnouncementIsEncodedAndDecodesUnchanged) {
    SysLocalTime t = {2026, 12, 8, 14, 5, 33};
    const std::string text = BuildHostAnnouncement(1, "NAME", 5963, t, "MSG");
    EXPECT_EQ(text, "1:NAME[ZAU-0.18.5-5963-8-14:5]MSG");
    EXPECT_EQ(PercentEncode(text), "1%3ANAME%5BZAU-0.18.5-5963-8-14%3A5%5DMSG");
    const std::string awkward = BuildHostAnnouncement(3, "名 前&x", 6000, t, "a b\r\nGET /evil HTTP/1.0\r\n\r\n~_.-");
    const std::string encoded = PercentEncode(awkward);
    EXPECT_EQ(encoded.find_first_not_of("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789-._~%"),
              std::string::npos);
    EXPECT_NE(encoded.find("~_.-"), std::string::npos);
    EXPECT_EQ(CFakeChatPage::PercentDecode(encoded), awkward);
}

TEST_F(HttpTest, StoredFileIsTheReplyExactly) {
    CFakeChatPage page;
    ASSERT_TRUE(page.Listening());
    std::string reply = "HTTP/1.0 200 OK\r\n\r\n<b>1.2.3.4</b>\n > 1:A[ZAU-0.18.5-5963-1-2:3]m <font>\n";
    for (int i = 0; i < 200; ++i) reply += "line " + std::to_string(i) + " of the page\n";
    reply += std::string("nul\0byte", 8);
    page.SetReply(reply);
    for (int pieces : {1, 3, 40}) {
        page.SetMode(pieces == 1 ? CFakeChatPage::kCanned : CFakeChatPage::kPieces);
        page.SetPieces(pieces, 5);
        EXPECT_EQ(Fetch(page.BaseUrl() + "?action=print"), reply) << pieces;
    }
    EXPECT_EQ(g_log, "");
    ASSERT_EQ(page.Requests().size(), 3u);
    EXPECT_EQ(page.Requests()[0], "GET /chat.cgi?action=print HTTP/1.0\r\nHost: 127.0.0.1:" +
                                      std::to_string(page.Port()) + "\r\nUser-Agent: httpc/0.0\r\n\r\n");
}

TEST_F(HttpTest, HugeReplyKeepsItsFirstMebibyte) {
    CFakeChatPage page;
    page.SetMode(CFakeChatPage::kHuge);
    page.SetHugeSize(3u << 20);
    CStringListFile lines;
    EXPECT_EQ(httpc(&lines, kHttpKindGet, page.BaseUrl()), 0);
    std::string item;
    lines.SetCursor(0);
    ASSERT_TRUE(lines.GetItem(item));
    EXPECT_EQ(item, std::string(kHttpMaxReply, 'h'));
    EXPECT_FALSE(lines.Next());
    EXPECT_NE(g_log.find("1048576"), std::string::npos) << g_log;
}

TEST_F(HttpTest, ServerFailures) {
    int deadPort;
    {
        CFakeChatPage gone;
        deadPort = gone.Port();
    }
    SetHttpTimeouts(2000, 400, 1500);
    // Nothing listening: refused at once, the file emptied.
    long long start = SysTcpClockMs();
    CStringListFile lines;
    EXPECT_EQ(httpc(&lines, kHttpKindGet, "http://127.0.0.1:" + std::to_string(deadPort) + "/chat.cgi"), -1);
    EXPECT_LT(SysTcpClockMs() - start, 1000);
    EXPECT_EQ(g_log, "サーバへの接続失敗\n");
    EXPECT_EQ(Fetch("http://127.0.0.1:" + std::to_string(deadPort) + "/chat.cgi"), "");

    CFakeChatPage page;
    // A stall ends after the shortened wait without data.
    g_log.clear();
    page.SetMode(CFakeChatPage::kStall);
    start = SysTcpClockMs();
    EXPECT_EQ(httpc(&lines, kHttpKindGet, page.BaseUrl()), 0);
    long long took = SysTcpClockMs() - start;
    EXPECT_GE(took, 350);
    EXPECT_LT(took, 1500);
    EXPECT_EQ(g_log, "サーバからの受信失敗\n");
    // A reply trickling in pieces ends at the limit of the whole request. The wait without data
    // is raised for this case, so a busy machine that delays one piece cannot end it early.
    SetHttpTimeouts(2000, 1200, 1500);
    g_log.clear();
    page.SetMode(CFakeChatPage::kPieces);
    page.SetReply(std::string(100, 'r'));
    page.SetPieces(100, 100);
    start = SysTcpClockMs();
    EXPECT_EQ(Fetch(page.BaseUrl()).size() < 100, true);
    took = SysTcpClockMs() - start;
    EXPECT_GE(took, 1400);
    EXPECT_LT(took, 3000);
    EXPECT_EQ(g_log, "サーバからの受信失敗\n");
    // A close without a reply: done, nothing stored.
    g_log.clear();
    page.SetMode(CFakeChatPage::kCloseSilently);
    EXPECT_EQ(Fetch(page.BaseUrl()), "");
    EXPECT_EQ(g_log, "");
    // A name that resolves nowhere.
    g_log.clear();
    EXPECT_EQ(httpc(&lines, kHttpKindGet, "http://no-such-host.invalid/"), -1);
    EXPECT_EQ(g_log, "ホストアドレス取得失敗\n");
}

}  // namespace

namespace {

// The chat page's address is read from the settings but never written back.
TEST_F(HttpTest, ChatUrlSettingIsReadOnly) {
    {
        CSettings defaults;
        EXPECT_EQ(defaults.m_chatUrl, "http://127.0.0.1/zaumolta/chat.cgi");
    }
    WriteWholeFile("ap.ini", "[NET]\r\nChatURL=http://chat.example/cgi-bin/chat.cgi\r\nNAME=A\r\n");
    CSettings settings;
    EXPECT_EQ(settings.m_chatUrl, "http://chat.example/cgi-bin/chat.cgi");
    settings.m_chatUrl = "http://elsewhere/";
    settings.m_name = "B";
    ASSERT_EQ(settings.Save(), 1);
    CSettings reread;
    EXPECT_EQ(reread.m_chatUrl, "http://chat.example/cgi-bin/chat.cgi");
    EXPECT_EQ(reread.m_name, "B");
}

}  // namespace
