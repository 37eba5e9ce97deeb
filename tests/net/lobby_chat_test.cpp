// The lobby's chat and its neighbours: the chat field under the scene driver, the start checks
// and the host's error lines, the closing greeting, the chat log file, and the status panel's
// blinking frame and its two layouts.
#include "chat_log.h"
#include "lobby_fixture.h"

#include "engine.h"
#include "graphics.h"
#include "input.h"

#include "sys_rand.h"
#include "sys_text_input.h"

#include <sys/stat.h>

namespace {

constexpr int kKeyA = 30;

std::string Numbered(int i) {
    char text[16];
    snprintf(text, sizeof text, "n%d", i);
    return text;
}

// The ">m" messages of a send queue, in order.
std::vector<std::string> ChatMessages(const std::string& queue) {
    std::vector<std::string> out;
    for (const std::string& m : Messages(queue)) {
        if (m.compare(0, 2, ">m") == 0) out.push_back(m);
    }
    return out;
}

TEST_F(LobbyTest, ChatInputQueuesTheTypedLine) {
    struct Case {
        const char* typed;  // nullptr: nothing typed
        int endKey;
        std::vector<std::string> queued;
    } cases[] = {
        {"a>b", kKeyEnter, {">mTESTER:a＞b"}},
        {nullptr, kKeyEnter, {">mTESTER:"}},
        {"hello", kKeyEscape, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed ? c.typed : "(empty)");
        CTestLink link;
        link.m_connected = 0;  // the queue stays for the test to read
        CLobby lobby(&link);
        driver.Wait(3);
        // As a desktop types: a key goes down and its character arrives in the same frame.
        for (const char* p = c.typed; p && *p; ++p) {
            const std::string one(1, *p);
            driver.Do([one] { SysInjectText(one.c_str()); }).Press(kKeyA);
        }
        driver.Wait(2).Do([] { EXPECT_EQ(GetQuitKey(), 88); }).Press(c.endKey);
        lobby.ChatInput();
        EXPECT_EQ(g_quit, 0);
        EXPECT_EQ(GetQuitKey(), kKeyEscape);
        EXPECT_EQ(ChatMessages(lobby.m_sendQueue), c.queued);
    }
    CTestLink link;
    CLobby lobby(&link);
    g_quit = 1;
    lobby.ChatInput();
    EXPECT_TRUE(lobby.m_sendQueue.empty());
    g_quit = 0;
}

TEST_F(LobbyTest, StartChecksRefuseAndOnlyTheHostExplains) {
    const std::string on = "接続", off = "未接続";
    const std::string err10 = ">mERR10 戦闘人数が接続人数以下です";
    const std::string err07 = ">mERR07 チーム人数が揃っていません";
    const std::string err03 = ">mERR03 戦闘開始に失敗しました";
    struct Case {
        int ownId;
        std::string slots[kLobbySlots];
        const char* teams[kLobbySlots];
        int fighters, mode;
        bool ok;
        std::vector<std::string> queued;
    } cases[] = {
        // Four connected, two fighters.
        {0, {on, on, on, on, off, off}, {"AL", "BL", "AM", "BM", "AM", "BM"}, 2, 3, false, {err10, err03}},
        {1, {on, on, on, on, off, off}, {"AL", "BL", "AM", "BM", "AM", "BM"}, 2, 3, false, {}},
        // Uneven sides among the fighters.
        {0, {on, on, off, off, off, off}, {"AL", "AM", "BM", "BM", "AM", "BM"}, 2, 3, false, {err07, err03}},
        {0, {on, on, off, off, off, off}, {"AL", "AM", "BM", "BM", "AM", "BM"}, 2, 4, true, {}},
        {0, {on, on, on, on, on, off}, {"AL", "AM", "AM", "BM", "AM", "BM"}, 3, 3, false, {err10, err07, err03}},
        // The highest connected slot counts, not the number of connected slots.
        {0, {on, off, off, on, off, off}, {"AL", "BL", "AM", "BM", "AM", "BM"}, 2, 3, false, {err10, err03}},
        {0, {on, on, off, off, off, off}, {"AL", "BL", "AM", "BM", "AM", "BM"}, 2, 3, true, {}},
        {2, {on, on, on, off, off, off}, {"AL", "BL", "AM", "BM", "AM", "BM"}, 4, 3, true, {}},
    };
    for (const Case& c : cases) {
        CTestLink link;
        CLobby lobby(&link);
        lobby.m_ownId = c.ownId;
        lobby.m_fighters = c.fighters;
        lobby.m_mode = c.mode;
        for (int i = 0; i < kLobbySlots; ++i) {
            lobby.m_slotConnections[i] = c.slots[i];
            lobby.m_slotTeams[i] = c.teams[i];
        }
        EXPECT_EQ(lobby.CheckBattleStart(), c.ok) << &c - cases;
        EXPECT_EQ(Messages(lobby.m_sendQueue), c.queued) << &c - cases;
    }
}

TEST_F(LobbyTest, ClosingGreetingUsesEndOrTheTables) {
    {
        WriteWholeFile("ap.ini", "[NET]\r\nNAME=TESTER\r\n[QM]\r\nEND=gg>tb-end\r\n");
        CTestLink link;
        CLobby lobby(&link);
        lobby.AutoReply();
        EXPECT_EQ(Messages(lobby.m_sendQueue), (std::vector<std::string>{">mTESTER:gg＞tb-end"}));
    }
    const char* texts[] = {"お疲れ様です", "御疲れ様です", "お疲れさまです", "おつかれさまです", "御疲れ様", "お疲れさま", "おつかれさま",
                           "お疲れ", "お疲れ", "オツカレ", "オツ", "otu", "乙", "乙彼", "オツ", "オツです", "御疲れサマー", "O2",
                           "疲れたよﾊﾟﾄﾗｯｼｭ(;´д`)", "wwﾍ√ﾚvv～─ﾂｶ(ﾟ∀ﾟ)ﾚﾀｰwwﾍ√ﾚvv～─", "オツでスン"};
    const char* endings[] = {"", "w", ";", "･･･orz", "・・・_|￣|○", "wwwww", "(笑)", "(略)", " f(^-^;", "!", "?", "!?", "", "", ""};
    WriteWholeFile("ap.ini", "[NET]\r\nNAME=TESTER\r\n[QM]\r\nEND=\r\n");
    for (unsigned seed : {1u, 7u, 12345u, 99u}) {
        GameSrand(seed);
        const int text = GameRand() % 21;
        const int ending = GameRand() % 15;
        GameSrand(seed);
        CTestLink link;
        CLobby lobby(&link);
        lobby.AutoReply();
        EXPECT_EQ(Messages(lobby.m_sendQueue),
                  (std::vector<std::string>{">mTESTER:" + std::string(texts[text]) + endings[ending]}))
            << seed;
    }
}

TEST(ChatLogName, TimeAndNameMakeTheFileName) {
    struct Case {
        SysLocalTime time;
        std::string name;
        std::string file;
    } cases[] = {
        {{2026, 1, 2, 3, 4, 5}, "TESTER", "ChatLog2026_1_2-3_4_5-TESTER.txt"},
        {{2026, 12, 31, 23, 59, 0}, "", "ChatLog2026_12_31-23_59_0-.txt"},
        {{2026, 1, 2, 3, 4, 5}, "a/b\\c", "ChatLog2026_1_2-3_4_5-a_b_c.txt"},
        {{2026, 1, 2, 3, 4, 5}, "..\\..\\x", "ChatLog2026_1_2-3_4_5-.._.._x.txt"},
        {{2026, 1, 2, 3, 4, 5}, "ソ表", "ChatLog2026_1_2-3_4_5-ソ表.txt"},   // 0x5C second bytes stay
        {{2026, 1, 2, 3, 4, 5}, "tab\there\x7f", "ChatLog2026_1_2-3_4_5-tab_here_.txt"},
        {{2026, 1, 2, 3, 4, 5}, "end\x83", "ChatLog2026_1_2-3_4_5-end_.txt"},  // a lead byte alone
        {{2026, 1, 2, 3, 4, 5}, "\x83/x", "ChatLog2026_1_2-3_4_5-__x.txt"},   // no second byte "/"
    };
    for (const Case& c : cases) EXPECT_EQ(ChatLogFileName(c.time, c.name), c.file) << c.name;
}

TEST_F(LobbyTest, ChatLogHoldsTheHeaderAndTheShownLines) {
    CTestLink link;
    CLobby lobby(&link);
    const SysLocalTime t = {2026, 3, 4, 5, 6, 7};
    lobby.m_chat.AddLine("one", 0x99ddddff);
    lobby.m_chat.AddLine("two:x", 0x99ddddff);
    lobby.WriteChatLogAt(t);
    EXPECT_EQ(ReadWholeFile("ChatLog2026_3_4-5_6_7-TESTER.txt"), "ZAU_MOLTA Ver0.18.5\none\ntwo:x");
    // Again in the same second: the same file, written whole.
    lobby.m_chat.Clear();
    lobby.m_chat.AddLine("three", 0x99ddddff);
    lobby.WriteChatLogAt(t);
    EXPECT_EQ(ReadWholeFile("ChatLog2026_3_4-5_6_7-TESTER.txt"), "ZAU_MOLTA Ver0.18.5\nthree");
    // A full pane scrolls: the twenty lines shown up to the current one.
    lobby.m_chat.Clear();
    for (int i = 0; i < 30; ++i) lobby.m_chat.AddLine(Numbered(i), 0x99ddddff);
    lobby.WriteChatLogAt(t);
    std::string expected = "ZAU_MOLTA Ver0.18.5";
    for (int i = 30 - (kTextListLines - 1); i < 30; ++i) expected.append(1, '\n').append(Numbered(i));
    EXPECT_EQ(ReadWholeFile("ChatLog2026_3_4-5_6_7-TESTER.txt"), expected);

    lobby.m_name = "ソ表";
    lobby.WriteChatLogAt(t);
    EXPECT_NE(ReadWholeFile(U8(u8"ChatLog2026_3_4-5_6_7-ソ表.txt")), "");
    lobby.m_name = "a/b\\c";
    lobby.WriteChatLogAt(t);
    EXPECT_NE(ReadWholeFile("ChatLog2026_3_4-5_6_7-a_b_c.txt"), "");
}

// A folder in the file's place stands for a working folder that cannot be written (the tests
// may run as root, for whom permissions do not stop a write).
TEST_F(LobbyTest, ChatLogThatCannotBeWrittenSaysSoInTheOwnChat) {
    CTestLink link;
    CLobby lobby(&link);
    const SysLocalTime t = {2026, 3, 4, 5, 6, 7};
    ASSERT_EQ(mkdir("ChatLog2026_3_4-5_6_7-TESTER.txt", 0755), 0);
    lobby.m_chat.AddLine("one", 0x99ddddff);
    lobby.WriteChatLogAt(t);
    ASSERT_EQ(lobby.m_chat.m_currentLine, 2);
    EXPECT_EQ(lobby.m_chat.m_lines[1], "チャットログを保存できません");
    EXPECT_EQ(lobby.m_chat.m_colors[1], 0x99ffff55u);
    EXPECT_TRUE(lobby.m_sendQueue.empty());
    EXPECT_NE(driver.Log().find("chat log: cannot write"), std::string::npos);
}

bool AnyLit(const ScreenImage& image, int x1, int y1, int x2, int y2) {
    for (int y = y1; y < y2; ++y) {
        for (int x = x1; x < x2; ++x) {
            if (image.Pixel(x, y) & 0xffffff) return true;
        }
    }
    return false;
}

TEST_F(LobbyTest, StatusPanelBlinksAfterANoticeAndTabHidesTheSlots) {
    struct Case {
        int timer;
        bool frame;
        int after;
    } cases[] = {{150, true, 149}, {141, true, 140}, {140, false, 139}, {131, false, 130},
                 {130, true, 129}, {1, true, 0},     {0, false, 0}};
    CTestLink link;
    CLobby lobby(&link);
    for (const Case& c : cases) {
        lobby.m_noticeTimer = c.timer;
        ASSERT_TRUE(BeginFrame(0xff000000));
        lobby.DrawStatusPanel();
        EndFrame();
        const ScreenImage image = driver.ReadFrame();
        const uint32_t left = image.Pixel(0, 240);
        EXPECT_EQ(((left >> 16) & 0xff) > 0x80 && ((left >> 8) & 0xff) < 0x40, c.frame) << c.timer;
        EXPECT_EQ(lobby.m_noticeTimer, c.after);
    }
    for (int mode : {0, 1}) {
        lobby.m_panelMode = mode;
        ASSERT_TRUE(BeginFrame(0xff000000));
        lobby.DrawStatusPanel();
        EndFrame();
        const ScreenImage image = driver.ReadFrame();
        EXPECT_EQ(AnyLit(image, 20, 340, 120, 440), mode == 0) << mode;  // the slot rows
        EXPECT_EQ(AnyLit(image, 380, 30, 400, 50), mode == 0) << mode;    // the chat pane's corner
        EXPECT_TRUE(AnyLit(image, 500, 0, 640, 12)) << mode;              // the frame rate
    }
}

}  // namespace
