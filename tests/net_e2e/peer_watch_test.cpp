// The peer's match watch: which frames count a match as over (its own end, or its going away
// unseen), the phase it reports, the heartbeat's frames and the script lines it takes.
#include "net_battle.h"
#include "peer_watch.h"
#include "scene_driver.h"
#include "test_folder.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

class PeerWatchTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(m_driver.Start(), 1); }
    CTestFolder m_folder;
    CSceneDriver m_driver;
};

TEST_F(PeerWatchTest, MatchesCountOnceWhetherTheyEndOrVanish) {
    CNetBattle a, b;
    CNetBattle* const none = nullptr;
    // One frame each: the match the lobby runs now, its phase and end flag as set before the
    // frame is observed, and the watch's phase and match count after it.
    const struct {
        CNetBattle* battle;
        int phase, over;
        int seenPhase, seenOver;
    } frames[] = {
        {none, 0, 0, -1, 0},
        {&a, kPhaseIntro, 0, kPhaseIntro, 0},
        {&a, kPhaseFight, 0, kPhaseFight, 0},
        {&a, kPhaseWon, 1, kPhaseWon, 1},   // over: counted at once
        {&a, kPhaseWon, 1, kPhaseWon, 1},   // and only once
        {none, 0, 0, -1, 1},                // gone after its end: nothing more
        {&b, kPhaseFight, 0, kPhaseFight, 1},
        {none, 0, 0, -1, 2},                // gone without an end seen: counted now
        {&a, kPhaseIntro, 0, kPhaseIntro, 2},
        {&b, kPhaseFight, 0, kPhaseFight, 3},  // another match in its place: the first counts
        {&b, kPhaseForcedEnd, 1, kPhaseForcedEnd, 4},
    };
    CPeerWatch watch;
    FILE* out = tmpfile();
    ASSERT_NE(out, nullptr);
    int frame = 1;
    for (const auto& f : frames) {
        if (f.battle) {
            f.battle->m_phase = f.phase;
            f.battle->m_over = (unsigned char)f.over;
        }
        watch.Observe(out, frame, f.battle, 0);
        EXPECT_EQ(watch.m_phase, f.seenPhase) << "frame " << frame;
        EXPECT_EQ(watch.m_over, f.seenOver) << "frame " << frame;
        ++frame;
    }
    fclose(out);
}

TEST_F(PeerWatchTest, HeartbeatEveryHundredFramesWithStepAndPhase) {
    CNetBattle a;
    a.m_phase = kPhaseFight;
    CPeerWatch watch;
    FILE* out = tmpfile();
    ASSERT_NE(out, nullptr);
    for (int frame = 1; frame <= 350; ++frame) watch.Observe(out, frame, frame > 150 ? &a : nullptr, frame > 150 ? frame - 150 : 0);
    rewind(out);
    std::vector<std::string> lines;
    char line[128];
    while (fgets(line, sizeof line, out)) lines.push_back(line);
    fclose(out);
    EXPECT_EQ(lines, (std::vector<std::string>{"100 beat step=0 phase=-1\n", "200 beat step=50 phase=2\n",
                                               "300 beat step=150 phase=2\n"}));
}

TEST_F(PeerWatchTest, TakesItsOwnScriptLinesOnly) {
    const struct {
        const char* cmd;
        const char* arg;
        int taken;
    } lines[] = {
        {"until", "phase 2", 1}, {"until", "over 1", 1},  {"picture", "battle.png", 1},
        {"picture", "", 0},      {"until", "phase", 0},   {"until", "state x", 0},
        {"until", "step 5", 0},  {"key", "Enter", 0},    {"until", "file ../go", 1},
    };
    CPeerWatch watch;
    for (const auto& l : lines) EXPECT_EQ(watch.AddStep(m_driver, l.cmd, l.arg), l.taken) << l.cmd << " " << l.arg;
}

}  // namespace
