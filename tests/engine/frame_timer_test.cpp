// Frame pacing against a fake clock.
#include "fake_clock.h"
#include "frame_timer.h"
#include "sys_time.h"

#include <gtest/gtest.h>

namespace {

class FrameTimerTest : public ::testing::Test {
protected:
    void SetUp() override {
        FakeClock::Install(5000);
        timer.Init();
    }
    void TearDown() override { FakeClock::Uninstall(); }
    CFrameTimer timer;
};

}  // namespace

TEST_F(FrameTimerTest, OnTimeFramesTake33_33_34) {
    unsigned start = FakeClock::now;
    unsigned ends[6];
    for (unsigned& e : ends) {
        timer.Wait();
        e = FakeClock::now;
    }
    EXPECT_EQ(ends[0] - start, 33u);
    EXPECT_EQ(ends[1] - ends[0], 33u);
    EXPECT_EQ(ends[2] - ends[1], 34u);
    EXPECT_EQ(ends[5] - start, 200u);
}

TEST_F(FrameTimerTest, LateFrameIsNotSleptAndTheNextCatchesUp) {
    unsigned start = FakeClock::now;
    FakeClock::Advance(40);  // the frame took 40 ms, more than its 33-ms slot
    timer.Wait();
    EXPECT_EQ(FakeClock::now, start + 40);  // no sleep
    timer.Wait();                           // next slot started at +33: ends at +66
    EXPECT_EQ(FakeClock::now, start + 66);
}

TEST_F(FrameTimerTest, StallOfFourSlotsDropsTheBacklog) {
    unsigned start = FakeClock::now;
    FakeClock::Advance(132);  // exactly four 33-ms slots
    timer.Wait();
    EXPECT_EQ(FakeClock::now, start + 132);
    unsigned afterStall = FakeClock::now;
    // due = now - slot: the next frame counts as one slot late, the one after sleeps a full
    // slot again; nothing races through the dropped backlog.
    timer.Wait();
    timer.Wait();
    EXPECT_GE(FakeClock::now - afterStall, 33u);
    EXPECT_LE(FakeClock::now - afterStall, 34u);
}

TEST_F(FrameTimerTest, ThreeSlotsBehindStillCatchesUp) {
    unsigned start = FakeClock::now;
    FakeClock::Advance(131);
    timer.Wait();
    timer.Wait();
    timer.Wait();
    // due advanced 33 + 33 + 34 = 100 < 131: still behind, so none of these slept.
    EXPECT_EQ(FakeClock::now, start + 131);
}

TEST_F(FrameTimerTest, FrameRateChangesOnlyEveryFifteenthFrame) {
    for (int i = 0; i < 14; ++i) {
        FakeClock::Advance(50);  // a slow machine: 50 ms of work per frame
        timer.Wait();
        EXPECT_FLOAT_EQ(timer.m_fps, 30.0f);
    }
    FakeClock::Advance(50);
    timer.Wait();
    EXPECT_NEAR(timer.m_fps, 20.0f, 0.01f);
}

TEST_F(FrameTimerTest, StalledClockNeverDividesByZero) {
    FakeClock::Uninstall();
    // A clock that never moves: every wait sees elapsed 0 and a span of 0 at the 15th frame.
    static unsigned frozen = 777;
    SysClockHooks hooks = {[]() { return frozen; }, [](unsigned) {}};
    SysSetClock(&hooks);
    timer.Init();
    for (int i = 0; i < 30; ++i) timer.Wait();
    EXPECT_FLOAT_EQ(timer.m_fps, 30.0f);
    FakeClock::Install(5000);
}

TEST_F(FrameTimerTest, BackwardClockDoesNotHang) {
    timer.Wait();
    FakeClock::now -= 10000;  // the clock jumps back
    unsigned before = FakeClock::now;
    timer.Wait();
    EXPECT_LE(FakeClock::now - before, 34u);
    FakeClock::now += 1000000;  // and far ahead
    before = FakeClock::now;
    timer.Wait();
    timer.Wait();
    EXPECT_LE(FakeClock::now - before, 34u);
}

TEST_F(FrameTimerTest, WaitSkipYieldsAndLeavesTheDueTime) {
    unsigned start = FakeClock::now;
    for (int i = 0; i < 3; ++i) timer.WaitSkip(2);
    EXPECT_EQ(FakeClock::now - start, 3u);  // one 1-ms yield each, due time untouched
    timer.WaitSkip(0);                      // 3 ms into a 33-ms slot: sleeps the rest
    EXPECT_EQ(FakeClock::now - start, 33u);
}

TEST_F(FrameTimerTest, WaitSkipAfterLongSkippingDropsTheBacklog) {
    for (int i = 0; i < 10; ++i) {
        FakeClock::Advance(30);
        timer.WaitSkip(1);
    }
    unsigned before = FakeClock::now;
    timer.WaitSkip(0);  // 310 ms behind: backlog dropped, then the 1-ms yield
    EXPECT_EQ(FakeClock::now - before, 1u);
    before = FakeClock::now;
    timer.WaitSkip(0);
    timer.WaitSkip(0);
    EXPECT_LE(FakeClock::now - before, 36u);
    EXPECT_GE(FakeClock::now - before, 30u);
}
