// Online battles in one process: three games on the relay, each a whole battle of six robots
// (three players, three CPU robots of the host), one of them drawing. Every game must compute
// the same world step after step and end on the same step; F4 on one game ends all three.
#include "battle_runner.h"
#include "engine.h"
#include "exchange_fixture.h"
#include "fake_relay.h"
#include "input.h"
#include "net_battle.h"
#include "net_log.h"
#include "scene_driver.h"
#include "sys_graphics.h"
#include "sys_input.h"
#include "sys_text_input.h"
#include "test_folder.h"
#include "text_list.h"

#include <gtest/gtest.h>

#include <memory>
#include <utility>
#include <vector>

namespace {

struct Peer {
    std::unique_ptr<CNetBattle> battle;
    CNetLink* link = nullptr;
    std::vector<uint64_t> hashes;  // after every simulation step
    std::string received;          // everything the relay brought
    int endStep = 0;
    int endRequestAt = 0;          // the step at which this game presses F4; 0 never
    int overFrame = 0;
    bool skipZeroClockDraw = false;  // the governor skips the frame whose step runs the clock out
    int endFrameSkipped = -1;        // whether the frame whose step ended the fight was drawn
    int finishView = -1;             // the view mode on the finish phase's first frame
};

void OnStep(void* context, int step) {
    Peer* p = static_cast<Peer*>(context);
    // The hash also covers what differs between the games by design: whose robot is the own
    // one, and the frames in phase (a game steps up to three times in a frame, or not at all).
    CNetBattle& b = *p->battle;
    const int own = b.m_ownIndex, frames = b.m_phaseFrames;
    b.m_ownIndex = 0;
    b.m_phaseFrames = 0;
    p->hashes.push_back(b.HashState());
    b.m_ownIndex = own;
    b.m_phaseFrames = frames;
    if (!p->endStep && p->battle->m_phase != kPhaseFight) p->endStep = step;
    if (p->skipZeroClockDraw && b.m_clock == 0) {
        b.m_skipCount = b.m_maxSkip;
        b.m_skipCounter = 0;
    }
    if (step == p->endRequestAt) p->battle->m_exchange.RequestEnd();
}

class NetBattleTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(m_driver.Start(), 1);
        ASSERT_EQ(m_driver.UseGameAssets(), 1);
        ResetNetDropLog();
    }

    // The match set-up of game `local`: six robots, players in slots 0 to 2, the host's CPU
    // robots in 3 to 5, a 60-second limit unless said otherwise.
    static std::unique_ptr<CNetBattle> MakeBattle(int local, int draw, int clock = 60 * 30) {
        auto b = std::make_unique<CNetBattle>();
        const char* builds[kMaxRobots] = {"36,1,2", "29,0,1", "9,2,3", "21,1,0", "31,3,4", "32,0,2"};
        for (int i = 0; i < kMaxRobots; ++i) b->BuildRobot(i, -1, ParseBuildCode(builds[i]));
        b->LoadStage(1);
        b->m_clock = clock;
        b->m_robotCount = kMaxRobots;
        b->PlaceRobots();
        b->m_localId = local;
        b->m_ownIndex = local;
        b->m_cpu[local].m_type = 0;
        const char* names[kMaxRobots] = {"ALPHA", "BRAVO", "CHARLIE", "CPU3", "CPU4", "CPU5"};
        for (int i = 0; i < kMaxRobots; ++i) {
            b->m_owner[i] = i < 3 ? i : 0;
            b->m_robots[i].m_actionNames[kActName] = names[i];
        }
        b->m_drawEnabled = draw;
        b->Start();
        return b;
    }

    // Runs the three games frame by frame through the relay until all are over.
    void RunMatch(Peer (&peers)[3], unsigned seed, int frameLimit, int clock = 60 * 30) {
        CFakeRelay relay(seed);
        relay.SetSplits(false);
        for (int p = 0; p < 3; ++p) {
            peers[p].battle = MakeBattle(p, p == 0, clock);
            peers[p].battle->SetStepObserver(OnStep, &peers[p]);
            peers[p].link = relay.Join();
        }
        for (int frame = 1; frame <= frameLimit; ++frame) {
            bool allOver = true;
            for (int p = 0; p < 3; ++p) {
                Peer& peer = peers[p];
                CNetBattle& b = *peer.battle;
                if (b.IsOver()) continue;
                allOver = false;
                std::string text;
                ReceiveAll(peer.link, text);
                peer.received += text;
                b.Incoming() += text;
                b.Run();
                if (b.m_phase == kPhaseFinish && b.m_phaseFrames == 0) peer.endFrameSkipped = b.m_skipCounter != 0;
                if (b.m_phase == kPhaseFinish && b.m_phaseFrames == 1) peer.finishView = b.m_view.m_viewMode;
                ASSERT_LE(b.m_exchange.m_latency.m_sendCount, b.m_exchange.m_hostTick) << "game " << p << " frame " << frame;
                if (b.IsOver()) peer.overFrame = frame;
                SendLikeTheLobby(peer.link, b.Outgoing());
            }
            if (allOver) return;
            for (int pumps = (int)relay.Draw(4); pumps > 0; --pumps) relay.Pump();
        }
    }

    CTestFolder m_folder;
    CSceneDriver m_driver;
};

TEST_F(NetBattleTest, ThreeGamesComputeTheSameBattleAndEndOnTheSameStep) {
    Peer peers[3];
    RunMatch(peers, 5, 4000);
    for (int p = 0; p < 3; ++p) {
        ASSERT_TRUE(peers[p].battle->IsOver()) << "game " << p;
        EXPECT_GT(peers[p].endStep, 0) << "game " << p;
        EXPECT_EQ(peers[p].endStep, peers[0].endStep) << "game " << p;
        ASSERT_EQ(peers[p].hashes.size(), peers[0].hashes.size()) << "game " << p;
        for (size_t s = 0; s < peers[0].hashes.size(); ++s)
            ASSERT_EQ(peers[p].hashes[s], peers[0].hashes[s]) << "game " << p << " step " << s + 1;
        EXPECT_EQ(peers[p].received.find("Err"), std::string::npos) << "game " << p;
        EXPECT_NE(peers[p].battle->m_result, kResultForcedEnd);
        // Every game's status line reached every game, without ":" after the name.
        for (const char* line : {">m0 ALPHA LAG", ">m1 BRAVO LAG", ">m2 CHARLIE LAG"})
            EXPECT_NE(peers[p].received.find(line), std::string::npos) << "game " << p << ": " << line;
    }
    // Games 0 and 2 share side A and so their result; game 1 fought on side B.
    EXPECT_EQ(peers[0].battle->m_result, peers[2].battle->m_result);
    EXPECT_EQ(peers[0].battle->m_resultText, peers[2].battle->m_resultText);
    EXPECT_EQ(peers[0].hashes.size(), (size_t)peers[0].endStep);
}

// Time runs out in a step whose frame the drawing game's governor skips: the finish still takes
// the time-up shot (and its TIME UP panel) on every game, drawing or not.
TEST_F(NetBattleTest, TimeUpShotWhenTheFrameThatRanTheClockOutWasNotDrawn) {
    Peer peers[3];
    peers[0].skipZeroClockDraw = true;
    RunMatch(peers, 5, 2000, 4 * 30);
    for (int p = 0; p < 3; ++p) {
        ASSERT_TRUE(peers[p].battle->IsOver()) << "game " << p;
        ASSERT_EQ(peers[p].battle->m_clock, 0) << "game " << p << " ended before the time was up";
        EXPECT_EQ(peers[p].finishView, 230) << "game " << p;
    }
    EXPECT_EQ(peers[0].endFrameSkipped, 1) << "the drawing game drew the frame that ran the clock out";
}

TEST_F(NetBattleTest, F4OnOneGameEndsEveryGameWithTheForcedEnd) {
    Peer peers[3];
    peers[2].endRequestAt = 100;
    RunMatch(peers, 9, 2000);
    ASSERT_GE(peers[2].hashes.size(), 100u);
    int requestFrame = 0;
    for (int p = 0; p < 3; ++p) {
        ASSERT_TRUE(peers[p].battle->IsOver()) << "game " << p;
        EXPECT_EQ(peers[p].battle->m_result, kResultForcedEnd) << "game " << p;
        EXPECT_NE(peers[p].received.find(">mCHARLIE:"), std::string::npos);
        if (!requestFrame || peers[p].overFrame < requestFrame) requestFrame = peers[p].overFrame;
    }
    for (int p = 0; p < 3; ++p) EXPECT_LE(peers[p].overFrame - requestFrame, 10) << "game " << p;
    // The intro runs 91 frames; step 100 comes soon after, and the end follows within 40 frames.
    EXPECT_LE(peers[2].overFrame, 91 + 100 + 3 + 40);
}

// A game behind the host's tick sends two key frames in a frame and polls input for each, so a
// key is already held when the chat line looks: every character typed and every cursor move
// still reach the line, in order, and Enter still sends it as edited.
TEST_F(NetBattleTest, ChatLineEditedOnAGameRunningBehindGoesOutAsEdited) {
    auto b = MakeBattle(1, 1);
    b->m_phase = kPhaseFight;
    b->m_exchange.m_wholeMessages = true;
    b->Incoming() += ">tc9999";
    for (int k = 0; k < 3; ++k)
        for (int i = 0; i < kMaxRobots; ++i) b->Incoming() += ">c" + std::to_string(i) + "000000000000";
    PumpMessages();
    b->Run();  // the first frame sends the preset keys and leaves a frame of keys to start on
    auto frame = [&] {
        PumpMessages();
        const uint32_t sentBefore = b->m_exchange.m_latency.m_sendCount;
        b->Run();
        EXPECT_EQ(b->m_exchange.m_latency.m_sendCount - sentBefore, 2u);
    };
    auto press = [&](int key, const char* typed) {
        SysInjectKey(key, 1);
        if (typed) SysInjectText(typed);
        frame();
        SysInjectKey(key, 0);
        frame();
    };
    constexpr int kKeyF2 = 60, kKeyA = 30;
    press(kKeyF2, nullptr);
    ASSERT_TRUE(b->m_chatOpen);
    for (const char* c : {"c", "1", " ", "m", "i", "d", "X", "d", "l", "e"}) press(kKeyA, c);
    for (int i = 0; i < 3; ++i) press(kKeyLeft, nullptr);
    press(kKeyBackspace, nullptr);
    // 本日 under conversion; within one frame Enter commits it, then Left, Backspace and Enter. The
    // input method keeps the Enter that commits and sends its text after the frame's keys.
    SysInjectComposition("本日", 1);
    frame();
    for (int key : {(int)kKeyLeft, (int)kKeyBackspace, (int)kKeyEnter}) {
        SysInjectKey(key, 1);
        SysInjectKey(key, 0);
    }
    SysInjectText("本日");
    SysInjectComposition("", 0);
    frame();
    EXPECT_FALSE(b->m_chatOpen);
    frame();  // the line goes out with the next frame's messages
    const size_t chat = b->Outgoing().find(">mBRAVO:");
    ASSERT_NE(chat, std::string::npos) << b->Outgoing().substr(0, 200);
    const std::string line = ">mBRAVO:c1 mid日dle";
    EXPECT_EQ(b->Outgoing().substr(chat, line.size()), line) << b->Outgoing().substr(chat, 30);
}

// Keys 1 to 4 send the canned lines, but not while they are digits typed into the open chat
// line; F4 still asks for the end there.
TEST_F(NetBattleTest, CannedLinesOnlyWhileTheChatLineIsClosed) {
    auto b = MakeBattle(0, 0);
    b->m_exchange.m_cannedLines[0] = "gg";
    auto press = [&](int key) {
        SysInjectKey(key, 1);
        PumpMessages();
        UpdateInput();
        b->ChatKeys();
        SysInjectKey(key, 0);
        PumpMessages();
        UpdateInput();
    };
    b->m_chatOpen = true;
    press(2);  // key 1
    EXPECT_EQ(b->m_exchange.m_pendingChat, "");
    press(62);  // F4
    EXPECT_TRUE(b->m_exchange.m_pendingEnd);
    b->m_exchange.m_pendingChat.clear();
    b->m_chatOpen = false;
    press(2);  // key 1
    EXPECT_EQ(b->m_exchange.m_pendingChat, "gg");
}

// The forced end on one game: banners at once, poses at frame 30, result 99 after frame 30; a
// later end request starts it again from frame 0.
TEST_F(NetBattleTest, EndRequestsStartTheForcedEndAgain) {
    auto b = MakeBattle(1, 0);
    b->m_phase = kPhaseFight;
    b->m_phaseFrames = 0;
    b->Incoming() = ">tb-end>";
    b->Run();
    EXPECT_EQ(b->m_phase, kPhaseForcedEnd);
    b->Run();
    EXPECT_EQ(b->m_phaseFrames, 1);
    EXPECT_EQ(b->m_banner2.m_countdown, 90);
    for (int i = 0; i < 19; ++i) b->Run();
    EXPECT_EQ(b->m_phaseFrames, 20);
    EXPECT_EQ(b->Incoming(), ">") << "the stream's next message has begun";
    b->Incoming() += "tb-end>";
    b->Run();
    EXPECT_EQ(b->m_phaseFrames, 0) << "the second request resets the frames";
    int frames = 0;
    while (!b->IsOver() && frames < 100) {
        b->Run();
        ++frames;
    }
    EXPECT_EQ(frames, 31);
    EXPECT_EQ(b->m_result, kResultForcedEnd);
}

// In a match the lobby hands over whole messages, and nothing may ever follow the last one: with
// the host gone no tick comes after a client's end request, which must still end the battle.
TEST_F(NetBattleTest, FromTheLobbyTheLastMessageCountsAtOnce) {
    auto b = MakeBattle(1, 0);
    b->m_phase = kPhaseFight;
    b->TakeWholeMessages();
    b->Incoming() = ">tb-end";
    b->Run();
    EXPECT_EQ(b->m_phase, kPhaseForcedEnd);
    EXPECT_EQ(b->Incoming(), "");

    auto raw = MakeBattle(1, 0);  // a raw stream's last message may still be arriving
    raw->m_phase = kPhaseFight;
    raw->Incoming() = ">tb-end";
    raw->Run();
    EXPECT_EQ(raw->m_phase, kPhaseFight);
    EXPECT_EQ(raw->Incoming(), ">tb-end");
}

// A battle frame at graphics level 3 with the overlay: the chat window, the buffer figures
// and the open chat field.
TEST_F(NetBattleTest, PictureOfAFrameWithTheOverlayAndTheChatField) {
    CTextList chat;
    chat.AddLine("ALPHA:hello", 0x99ddddff);
    chat.AddLine("Err KeyCode", kChatErrorColor);
    auto b = MakeBattle(0, 1);
    b->m_chatWindow = &chat;
    b->m_graphics = 3;
    b->m_phase = kPhaseFight;
    b->m_exchange.m_presetSent = b->m_exchange.m_started = true;
    for (int i = 0; i < kMaxRobots; ++i) b->m_exchange.m_keyBuffers[i] = std::string(24 + 12 * i, '0');
    b->m_exchange.m_playBuff = 99;
    b->m_chatOpen = true;
    static std::vector<std::pair<GfxTexture*, GfxSpriteDraw>> sprites;
    sprites.clear();
    GfxTestSetSpriteRecorder([](GfxTexture* t, const GfxSpriteDraw& d) { sprites.push_back({t, d}); });
    b->Run();
    GfxTestSetSpriteRecorder(nullptr);
    EXPECT_EQ(b->m_statusY, 64 + 16 * (5 + kMaxRobots + 1)) << "one DF line per robot";
    // The figures and "CHAT" are written in the view's first digit font, as the view's own are.
    GfxTexture* font1 = b->m_view.m_font1.m_texture.GetTexture();
    int lineStarts = 0, chatGlyphs = 0;
    for (const auto& [texture, d] : sprites) {
        if (texture != font1) continue;
        lineStarts += d.x == 0 && d.y >= 64 && d.y < b->m_statusY;
        chatGlyphs += d.y == 300 && d.x >= 50 && d.x < 100;
    }
    EXPECT_EQ(lineStarts, 5 + kMaxRobots) << "every line but the \"_\" one, which has no glyph";
    EXPECT_EQ(chatGlyphs, 4);
    ScreenImage frame = m_driver.ReadFrame();
    ASSERT_EQ(frame.width, 640);
    ASSERT_EQ(frame.SavePng(std::string(SCREENSHOT_DIR) + "/net_battle_overlay.png"), 1);
}

}  // namespace
