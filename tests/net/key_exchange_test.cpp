// The key exchange on a fake world: presets and the host's tick, the start, pacing, the
// catch-up threshold, the parse of key, tick and end messages with their errors, the chat
// line, the end of a match whose fighter's game is gone, the latency sampler, and three
// exchanges in lockstep through the relay.
#include "exchange_fixture.h"
#include "fake_clock.h"
#include "fake_relay.h"
#include "net_log.h"
#include "test_folder.h"
#include "text_list.h"

#include <gtest/gtest.h>

#include <climits>
#include <memory>

namespace {

std::string Zeros(int n) { return std::string((size_t)n, '0'); }

// A world of `count` robots, this game `local`, robot i owned by game i.
struct Game {
    CFakeWorld world;
    CKeyExchange& ex = world.m_exchange;
    Game(int local, int count) {
        ex.m_localId = local;
        ex.m_robotCount = count;
        for (int i = 0; i < kExchangeRobots; ++i) ex.m_owner[i] = i;
        std::string name(2, 'P');
        name[1] = char('0' + local);
        ex.m_ownName.swap(name);
    }
    // Started, with n frames of zeros waiting for every robot.
    void Prime(int frames) {
        ex.m_presetSent = ex.m_started = true;
        for (int i = 0; i < ex.m_robotCount; ++i) ex.m_keyBuffers[i] = Zeros(12 * frames);
    }
};

class KeyExchangeTest : public ::testing::Test {
protected:
    CTestFolder folder;
    void SetUp() override { ResetNetDropLog(); }
};

TEST_F(KeyExchangeTest, FirstFramesQueuePresetsAndTheHostTickAndNeverStepEarly) {
    Game host(0, 2), client(1, 2);
    EXPECT_EQ(host.ex.RunFrame(), 0);
    EXPECT_EQ(host.ex.m_outgoing, ">tc   0>c0000000000000>c0000000000000");
    EXPECT_EQ(client.ex.RunFrame(), 0);
    EXPECT_EQ(client.ex.m_outgoing, ">c1000000000000>c1000000000000");
    EXPECT_EQ(host.ex.m_latency.m_sendCount, 0) << "presets are no frames sent";

    // Only the host's presets have come back: no start, no step.
    host.ex.m_outgoing.clear();
    host.ex.m_incoming = ">c0000000000000>c0000000000000>";
    host.ex.ParseInput();
    EXPECT_EQ(host.ex.RunFrame(), 0);
    EXPECT_FALSE(host.ex.m_started);
    EXPECT_EQ(host.ex.m_outgoing, ">tc   0");
    EXPECT_EQ(host.world.m_steps, 0);

    host.ex.m_incoming = ">c1000000000000>c1000000000000>";
    host.ex.ParseInput();
    EXPECT_EQ(host.ex.RunFrame(), 1) << "24 characters each, threshold 33: one step";
    EXPECT_TRUE(host.ex.m_started);
    EXPECT_EQ(host.ex.m_ownTick, 0) << "the tick counts from the frame after the start";
}

TEST_F(KeyExchangeTest, PacingAgainstTheHostTick) {
    struct Row { int sent, host, frames; };
    const Row rows[] = {{5, 5, 0}, {5, 6, 1}, {5, 7, 1}, {5, 8, 2}, {5, 40, 2}, {5, 2, 0}, {INT_MAX - 1, INT_MAX, 1}};
    for (const Row& r : rows) {
        Game g(1, 2);
        g.ex.m_latency.m_sendCount = r.sent;
        g.ex.m_hostTick = r.host;
        EXPECT_EQ(g.ex.FramesToSend(), r.frames) << r.sent << " sent, host at " << r.host;
    }
    // The frames sent carry the gathered pads of the own robot only.
    Game g(1, 2);
    g.Prime(3);
    g.ex.m_hostTick = 5;
    g.ex.m_latency.m_sendCount = 2;
    g.ex.Exchange();
    EXPECT_EQ(g.world.m_gathers, 2);
    EXPECT_EQ(g.ex.m_outgoing.size(), 2u * 15);
    EXPECT_EQ(g.ex.m_outgoing.substr(0, 3), ">c1");
}

TEST_F(KeyExchangeTest, CatchUpStepsFollowPlayBuff) {
    struct Row { int playBuff, frames, steps; };
    const Row rows[] = {{0, 1, 1}, {0, 3, 3}, {0, 9, 3}, {3, 2, 1}, {3, 3, 2}, {3, 4, 3}, {-5, 3, 3}};
    for (const Row& r : rows) {
        Game g(1, 2);
        g.Prime(r.frames);
        g.ex.m_playBuff = r.playBuff;
        g.ex.m_hostTick = 0;
        EXPECT_EQ(g.ex.RunFrame(), r.steps) << "PlayBuff " << r.playBuff << ", " << r.frames << " frames";
    }
    // The end test stops the frame's steps.
    Game g(1, 2);
    g.Prime(9);
    g.ex.m_playBuff = 0;
    g.world.m_endAt = 2;
    EXPECT_EQ(g.ex.RunFrame(), 2);
}

TEST_F(KeyExchangeTest, ConsumeKeysTakesTwelveFromEveryBufferOrNothing) {
    Game g(0, 2);
    g.ex.m_keyBuffers[0] = Zeros(11);
    g.ex.m_keyBuffers[1] = "012301230123" + Zeros(3);
    g.ex.QueueMinMax();
    EXPECT_EQ(g.ex.m_minSlot, 0);
    EXPECT_EQ(g.ex.m_maxSlot, 1);
    EXPECT_FALSE(g.ex.ConsumeKeys());
    EXPECT_EQ(g.ex.m_keyBuffers[0].size(), 11u);
    EXPECT_EQ(g.ex.m_keyBuffers[1].size(), 15u);

    g.ex.m_keyBuffers[0] += "3";
    g.ex.QueueMinMax();
    EXPECT_TRUE(g.ex.ConsumeKeys());
    EXPECT_EQ(g.ex.m_keyBuffers[0], "");
    EXPECT_EQ(g.ex.m_keyBuffers[1], "000");
    EXPECT_EQ(g.world.m_pads[1].m_values[1], 1);
    EXPECT_EQ(g.world.m_pads[1].m_values[3], 3);
    EXPECT_EQ(g.world.m_pads[0].m_values[11], 3);
}

TEST_F(KeyExchangeTest, ParseAppliesKeyTickAndEndMessagesAndReportsBadKeys) {
    struct Row {
        const char* name;
        std::string stream;
        std::string buffer0, buffer1;  // after the parse
        int hostTick;
        std::string error;             // "" when none
        int forced;
    };
    const std::string k12 = "012301230123";
    const Row rows[] = {
        {"host tick with blanks", ">tc  12", "", "", 12, "", 0},
        {"host tick past the int range", ">tc99999999999999999", "", "", INT_MAX, "", 0},
        {"negative host tick", ">tc-7", "", "", 0, "", 0},
        {"good key", ">c1" + k12, "", k12, 0, "", 0},
        {"slot 7", ">c7" + k12, "", "", 0, "Err KeyID-over", 0},
        {"ten key digits", ">c00123012301", "0123012301ff", "", 0, "Err KeyCode", 0},
        {"thirteen key digits", ">c1" + k12 + "3", "", k12 + "3", 0, "Err KeyCode2", 0},
        {"empty body", ">c", "ffffffffffff", "", 0, "Err KeyCode", 0},
        {"robot beyond the count", ">c4" + k12, "", "", 0, "", 0},
        {"end request", ">tb-end", "", "", 0, "", 1},
        {"other tags", ">x123>g00n>tz", "", "", 0, "", 0},
    };
    for (const Row& r : rows) {
        Game g(0, 2);
        g.ex.m_incoming = r.stream + ">";
        g.ex.ParseInput();
        EXPECT_EQ(g.ex.m_keyBuffers[0], r.buffer0) << r.name;
        EXPECT_EQ(g.ex.m_keyBuffers[1], r.buffer1) << r.name;
        for (int i = 2; i < kExchangeRobots; ++i) EXPECT_EQ(g.ex.m_keyBuffers[i], "") << r.name;
        EXPECT_EQ(g.ex.m_hostTick, r.hostTick) << r.name;
        EXPECT_EQ(g.world.m_forced, r.forced) << r.name;
        EXPECT_EQ(g.ex.m_incoming, ">") << r.name;
        if (r.error.empty()) EXPECT_EQ(g.ex.m_outgoing, "") << r.name;
        else EXPECT_EQ(g.ex.m_outgoing, ">mP0:" + r.error + ">tb-end") << r.name;
    }
}

TEST_F(KeyExchangeTest, UnfinishedMessagesWaitAndFullBuffersRefuseMore) {
    Game g(0, 2);
    g.ex.m_incoming = ">c01";
    g.ex.ParseInput();
    EXPECT_EQ(g.ex.m_incoming, ">c01");
    EXPECT_EQ(g.ex.m_keyBuffers[0], "");

    // A long stop fills the buffers: the first message past the cap shows one line and sends
    // the end request alone, and the many behind it until the end comes back add nothing.
    CTextList chat;
    g.ex.m_chatWindow = &chat;
    g.ex.m_incoming = "";
    g.ex.m_keyBuffers[0] = Zeros((int)kKeyBufferCap - 6);
    g.ex.m_incoming = ">c0" + Zeros(12) + ">c1" + Zeros(12) + ">";
    g.ex.ParseInput();
    EXPECT_EQ(g.ex.m_keyBuffers[0].size(), kKeyBufferCap - 6) << "a message past the cap is not stored";
    EXPECT_EQ(g.ex.m_keyBuffers[1].size(), 12u);
    EXPECT_EQ(g.ex.m_outgoing, ">tb-end");
    for (int frame = 0; frame < 16; ++frame) {
        g.ex.m_outgoing.clear();
        g.ex.m_incoming = ">c0" + Zeros(12) + ">c0" + Zeros(12) + ">";
        g.ex.ParseInput();
        EXPECT_EQ(g.ex.m_outgoing, "") << "frame " << frame;
    }
    EXPECT_EQ(chat.m_serial, 1);
    EXPECT_EQ(chat.m_lines[0], "Err KeyBuff-over");
    g.ex.m_chatWindow = nullptr;

    // Two bad messages in one frame: both texts, one end request at the end.
    g.ex.m_outgoing.clear();
    g.ex.m_incoming = ">c9" + Zeros(12) + ">c1>";
    g.ex.ParseInput();
    EXPECT_EQ(g.ex.m_outgoing, ">mP0:Err KeyID-overErr KeyCode>tb-end");
}

TEST_F(KeyExchangeTest, ChatLineCarriesCannedLinesTypedTextAndOneEndRequest) {
    Game g(2, 3);
    g.ex.m_cannedLines[0] = "gg";
    g.ex.m_cannedLines[1] = "a>tb-end";
    g.ex.m_cannedLines[3] = "4";
    g.ex.AddCannedLine(0);
    g.ex.AddCannedLine(1);
    g.ex.AddCannedLine(3);
    g.ex.AddCannedLine(7);
    g.ex.RequestEnd();
    g.ex.AddChatText("typed");
    g.ex.RequestEnd();
    g.ex.ParseInput();
    const std::string command = "ｺﾏﾝﾄﾞ:終了申請";
    EXPECT_EQ(g.ex.m_outgoing, ">mP2:gga＞tb-end4" + command + "typed" + command + ">tb-end");
    g.ex.m_outgoing.clear();
    g.ex.ParseInput();
    EXPECT_EQ(g.ex.m_outgoing, "") << "the pending line goes once";

    // The pending text is capped, and the end request survives the cap.
    for (int i = 0; i < 100; ++i) g.ex.AddChatText("0123456789");
    g.ex.RequestEnd();
    g.ex.ParseInput();
    EXPECT_EQ(g.ex.m_outgoing.size(), 5 + kPendingChatCap + 7);
    EXPECT_EQ(g.ex.m_outgoing.substr(g.ex.m_outgoing.size() - 7), ">tb-end");
}

TEST_F(KeyExchangeTest, IdleFramesReadTheChatKeysSoF4WorksWithAFrozenHostTick) {
    Game g(1, 2);
    g.Prime(1);
    g.world.m_f4OnIdle = true;
    g.ex.m_hostTick = 4;
    g.ex.m_latency.m_sendCount = 4;  // the host's tick stopped here
    for (int frame = 1; frame < kIdleKeyFrames; ++frame) g.ex.Exchange();
    EXPECT_EQ(g.world.m_idles, 0);
    g.ex.Exchange();
    g.ex.Exchange();
    EXPECT_EQ(g.world.m_idles, 2);
    g.ex.ParseInput();
    EXPECT_NE(g.ex.m_outgoing.find(">tb-end"), std::string::npos);
    // A frame sent starts the count again.
    g.ex.m_hostTick = 5;
    g.ex.Exchange();
    EXPECT_EQ(g.ex.m_idleFrames, 0);
}

// The owner's side of the slot lists: the relay's answer to a request the exchange wants is
// applied `answerDelay` frames after the frame that sent it, as the lobby's service sends the
// request on the next frame and reads the answer on a later one.
struct StandingGame : Game {
    unsigned listed = 0x3f;  // the slots the relay lists as connected
    int requests = 0;
    int answerDelay = 1;
    int answerIn = -1;
    int frames = 0;
    int answeredAt = -1;      // the frame that applied the last answer
    std::string endFrameOut;  // what the frame that sent the end request sent
    StandingGame() : Game(1, 3) {
        ex.m_owner[2] = 0;  // a CPU robot, run by the host's game: slot 2 runs none
        Prime(1);
    }
    // One slot list of the relay, as the lobby applies it.
    void Answer(unsigned flags) {
        for (int slot = 0; slot < kWatchedSlots; ++slot)
            if (!(flags & (1u << slot))) ++ex.m_slotListsShowingFree[slot];
    }
    // One frame `ms` after the last; true when it sent the end request.
    bool Frame(unsigned ms) {
        FakeClock::Advance(ms);
        ++frames;
        if (answerIn >= 0 && answerIn-- == 0) {
            Answer(listed);
            answeredAt = frames;
        }
        ex.m_outgoing.clear();
        ex.RunFrame();
        if (ex.TakeSlotListRequest()) {
            ++requests;
            answerIn = answerDelay;
        }
        ex.ParseInput();
        if (ex.m_outgoing.find("終了申請") == std::string::npos) return false;
        endFrameOut = ex.m_outgoing;
        return true;
    }
    int StandStill(unsigned ms) {  // frames that sent the end request
        int ended = 0;
        for (unsigned t = 0; t < ms; t += 33) ended += Frame(33);
        return ended;
    }
    // Frames until the next request is wanted, at most `limit`; true when one was.
    bool UntilRequest(int limit) {
        const int before = requests;
        for (int k = 0; k < limit && requests == before; ++k) EXPECT_FALSE(Frame(33));
        return requests != before;
    }
};

// A stand-still ends the match only once a slot list that came during the match shows a
// fighter's slot free: a minute with every fighter listed ends nothing, nor does a game without a
// robot leaving, nor the lists the lobby applied before the match; a list that comes long after
// the request still counts; a fighter shown gone while the match still steps ends it only once
// it stands still; the end request goes once, as F4 sends it, and never without the connection.
TEST_F(KeyExchangeTest, AStandStillEndsTheMatchOnlyOnceAListOfTheMatchShowsAFighterGone) {
    FakeClock::Install(5000);
    StandingGame g;
    g.Answer(0x1);  // the lobby's lists before the match: slot 1 had not joined yet
    EXPECT_EQ(g.ex.RunFrame(), 1);
    g.listed = 0x3 | 0x8;  // slot 2 has left: it ran no robot
    EXPECT_EQ(g.StandStill(60000), 0);
    EXPECT_GE(g.requests, 28) << "a request every 2 s";
    EXPECT_LE(g.requests, 30);

    // Steps again, then stands still; the relay's answer showing slot 1 free comes two seconds
    // after the request, well after the frames that followed it.
    g.ex.m_keyBuffers[0] = g.ex.m_keyBuffers[1] = g.ex.m_keyBuffers[2] = Zeros(12);
    EXPECT_EQ(g.ex.RunFrame(), 1);
    g.answerDelay = 60;
    g.listed = 0x1;
    ASSERT_TRUE(g.UntilRequest(100));
    const int requested = g.frames;
    int endedAt = -1;
    for (int k = 0; k < 200 && endedAt < 0; ++k)
        if (g.Frame(33)) endedAt = g.frames;
    EXPECT_EQ(endedAt, g.answeredAt);
    EXPECT_EQ(endedAt, requested + 61);
    EXPECT_NE(g.endFrameOut.find(">mP1:ｺﾏﾝﾄﾞ:終了申請>tb-end"), std::string::npos) << g.endFrameOut;
    EXPECT_EQ(g.StandStill(20000), 0) << "once";

    // Shown gone while the match still steps: its last keys may all be here, so it ends only
    // once it stands still.
    StandingGame stepping;
    stepping.ex.RunFrame();
    stepping.Answer(0x1 | 0x2);
    stepping.Answer(0x1);
    stepping.Answer(0x1 | 0x2);  // a newcomer in the slot
    for (int k = 0; k < 60; ++k) {
        for (std::string& b : stepping.ex.m_keyBuffers) b = Zeros(12);
        EXPECT_FALSE(stepping.Frame(33));
    }
    for (std::string& b : stepping.ex.m_keyBuffers) b.clear();
    EXPECT_EQ(stepping.StandStill(kStandStillAskMs - 100), 0);
    EXPECT_EQ(stepping.StandStill(200), 1);
    EXPECT_EQ(stepping.requests, 0) << "nothing left to ask";

    StandingGame offline;
    offline.ex.m_connected = false;
    offline.ex.RunFrame();
    offline.listed = 0x1;
    EXPECT_EQ(offline.StandStill(20000), 0);
    FakeClock::Uninstall();
}

// This game's own pause (the free camera, a stopped process): the first frame back counts the
// stand-still afresh, whatever its clock and the answers that came meanwhile say.
TEST_F(KeyExchangeTest, TheFirstFrameAfterAPauseFiresNothing) {
    FakeClock::Install(5000);
    StandingGame g;
    g.ex.RunFrame();
    EXPECT_EQ(g.StandStill(3000), 0);
    ASSERT_GT(g.requests, 0);
    g.Answer(0x1);  // slot 1 went while this game was stopped
    g.listed = 0x1;
    const int before = g.requests;
    EXPECT_FALSE(g.Frame(30000));
    EXPECT_EQ(g.StandStill(kStandStillAskMs - 100), 0);
    EXPECT_EQ(g.requests, before) << "the stand-still counts from the pause's end";
    EXPECT_EQ(g.StandStill(300), 1);

    // A clock that goes back counts afresh too.
    StandingGame back;
    back.ex.RunFrame();
    back.listed = 0x1;
    back.StandStill(kStandStillAskMs - 100);
    FakeClock::now -= 1000;
    EXPECT_EQ(back.StandStill(kStandStillAskMs - 100), 0);
    EXPECT_EQ(back.requests, 0);
    FakeClock::Uninstall();
}

TEST(KeyText, DigitsOnlyAndOnlyZeroToThreeRead) {
    struct Row { std::string text; int values[kPadSlots]; };
    const Row rows[] = {
        {"012301230123", {0, 1, 2, 3, 0, 1, 2, 3, 0, 1, 2, 3}},
        {"0123456789ff", {0, 1, 2, 3, 0, 0, 0, 0, 0, 0, 0, 0}},
        {"", {}},
        {"33", {3, 3}},
        {"\xff\x80-3/2:1", {0, 0, 0, 3, 0, 2, 0, 1}},
    };
    CTestFolder folder;
    for (const Row& r : rows) {
        CPad pad;
        pad.FromKeyString(r.text);
        EXPECT_EQ(pad.m_keyText, r.text);
        for (int k = 0; k < kPadSlots; ++k) EXPECT_EQ(pad.m_values[k], r.values[k]) << r.text << " slot " << k;
    }
    CPad pad;
    for (int k = 0; k < kPadSlots; ++k) pad.m_values[k] = k % 4;
    pad.m_values[4] = 7;
    pad.m_values[5] = -1;
    pad.m_values[6] = 1 << 30;
    EXPECT_EQ(pad.ToKeyString(), "012300030123");
    EXPECT_EQ(pad.m_keyText, "012300030123");
}

TEST(LatencySampler, SamplesEveryThreeHundredFramesIntoTheRing) {
    FakeClock::Install(1000);
    CLatencySampler s;
    s.Init();
    EXPECT_EQ(s.AverageLatency(), 0u) << "no step";
    s.SampleSend();
    EXPECT_EQ(s.m_sendPos, 1);
    EXPECT_EQ(s.AverageLatency(), 0u) << "a send without its step";
    FakeClock::Advance(100);
    s.SampleReceive();
    EXPECT_EQ(s.m_recvPos, 1);
    EXPECT_EQ(s.AverageLatency(), 100u);
    for (int i = 2; i <= 300; ++i) s.SampleSend(), s.SampleReceive();
    EXPECT_EQ(s.m_sendPos, 1);
    s.SampleSend();  // 301
    FakeClock::Advance(300);
    s.SampleReceive();
    EXPECT_EQ(s.m_sendPos, 2);
    EXPECT_EQ(s.AverageLatency(), 200u);
    // A step sample ahead of its send sample is not paired yet.
    for (int i = 0; i < 300; ++i) s.SampleReceive();
    EXPECT_EQ(s.m_recvPos, 3);
    EXPECT_EQ(s.AverageLatency(), 200u);
    // Saturation: from the 19th sample on only position 19 changes.
    for (int i = 0; i < 30 * 300; ++i) s.SampleSend(), s.SampleReceive();
    EXPECT_EQ(s.m_sendPos, 19);
    EXPECT_EQ(s.m_recvPos, 19);
    FakeClock::Uninstall();

    // The clock wraps between a send and its step.
    CLatencySampler w;
    w.Init();
    FakeClock::Install(0xfffffff0u);
    w.SampleSend();
    FakeClock::Advance(0x30);
    w.SampleReceive();
    EXPECT_EQ(w.AverageLatency(), 0x30u);
    FakeClock::Uninstall();

    // Steps stamped just before their sends: small negative spans, not wrapped ones.
    CLatencySampler early;
    early.Init();
    FakeClock::Install(5000);
    early.SampleReceive();
    FakeClock::Advance(20);
    early.SampleSend();
    EXPECT_EQ(early.AverageLatency(), 0u) << "a mean below zero";
    for (int i = 2; i <= 301; ++i) early.SampleSend();
    FakeClock::Advance(100);
    for (int i = 2; i <= 301; ++i) early.SampleReceive();
    EXPECT_EQ(early.AverageLatency(), 40u) << "(-20 + 100) / 2";
    FakeClock::Uninstall();
}

// Three games on the relay, each a fake world whose own robots' pads follow a pattern of that
// game: every game must step with the same pads, step after step.
TEST_F(KeyExchangeTest, ThreeGamesStepWithTheSamePadsThroughTheRelay) {
    for (unsigned seed : {1u, 7u}) {
        CFakeRelay relay(seed);
        relay.SetSplits(false);
        std::unique_ptr<Game> games[3];
        CNetLink* links[3];
        for (int p = 0; p < 3; ++p) {
            games[p] = std::make_unique<Game>(p, 6);
            games[p]->world.m_seed = p + 1;
            for (int i = 0; i < kExchangeRobots; ++i) games[p]->ex.m_owner[i] = i < 3 ? i : 0;
            links[p] = relay.Join();
        }
        const int target = 3000;
        int frames = 0;
        auto done = [&] {
            for (auto& g : games)
                if (g->world.m_steps < target) return false;
            return true;
        };
        while (!done() && frames < 20000) {
            ++frames;
            for (int p = 0; p < 3; ++p) {
                Game& g = *games[p];
                ReceiveAll(links[p], g.ex.m_incoming);
                g.ex.ParseInput();
                g.ex.RunFrame();
                ASSERT_LE(g.ex.m_latency.m_sendCount, g.ex.m_hostTick) << "game " << p << " frame " << frames;
                SendLikeTheLobby(links[p], g.ex.m_outgoing);
            }
            for (int pumps = (int)relay.Draw(4); pumps > 0; --pumps) relay.Pump();
        }
        ASSERT_TRUE(done()) << "seed " << seed << " after " << frames << " frames";
        for (int p = 1; p < 3; ++p)
            for (int s = 0; s < target; ++s)
                ASSERT_EQ(games[p]->world.m_record[s], games[0]->world.m_record[s]) << "game " << p << " step " << s;
        // The pads did change, and the games' own patterns all took part.
        EXPECT_NE(games[0]->world.m_record[100], games[0]->world.m_record[101]);
        for (auto& g : games) EXPECT_EQ(g->world.m_forced, 0);
    }
}

}  // namespace
