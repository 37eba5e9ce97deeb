// Battles recorded and replayed through the lockstep runner, each run kept as its stream of
// (tick, state hash), so two runs compare tick by tick and a failure names the first tick
// where they part.
#pragma once

#include "battle_fixture.h"

#include "battle_runner.h"
#include "engine.h"
#include "input.h"
#include "lockstep_runner.h"
#include "pad_record.h"
#include "state_dump.h"
#include "sys_input.h"
#include "sys_rand.h"

#include <functional>
#include <string>
#include <vector>

struct SRunStream {
    std::vector<STick> ticks;
    std::vector<uint64_t> hashes;
    int steps = 0;
    int frames = 0;
    int result = 0;
    bool ranOut = false;
};

class LockstepTest : public BattleTest {
protected:
    void SetUp() override {
        BattleTest::SetUp();
        m_battle.reset();  // each run makes its own
    }

    static SBattleSetup Setup(int stage, int robots, const int cpuTypes[], int clock) {
        static const char* const kBuilds[kMaxRobots] = {"36,1,2", "29,0,1", "9,2,3", "21,1,0", "31,3,4", "32,0,2"};
        SBattleSetup s;
        s.stage = stage;
        s.robotCount = robots;
        for (int i = 0; i < robots; ++i) {
            s.codes[i] = ParseBuildCode(kBuilds[i]);
            s.cpuTypes[i] = cpuTypes[i];
        }
        s.clock = clock;
        s.seed = 5;
        return s;
    }

    // Keys held at this frame of a live battle: the scripted local pad (default bindings: W
    // ahead, A and D sideways, Space boost, F, R and G weapons), changing every few frames.
    static void ScriptedKeys(int frame) {
        static const int kKeys[] = {17, 30, 32, 57, 33, 19, 34, 16, 18};
        for (size_t k = 0; k < sizeof kKeys / sizeof kKeys[0]; ++k)
            SysInjectKey(kKeys[k], ((frame / (5 + int(k))) + int(k)) % 3 == 0);
        PumpMessages();
        UpdateInput();
    }

    static void Collect(SRunStream* out, const STick& t, CBattle& b) {
        out->ticks.push_back(t);
        out->hashes.push_back(b.HashState());
    }

    // A live battle (CPU robots, and the scripted local pad for a slot of type 0), its pads
    // recorded to its end or the frame limit.
    SRunStream RecordBattle(const SBattleSetup& s, CPadRecord* record, int frameLimit = 20000) {
        SRunStream out;
        auto b = std::make_unique<CBattle>();
        SetUpBattle(b.get(), s);
        record->CaptureSetup(*b, s.stage, s.codes);
        GameSrand(s.seed);
        CLockstepRunner runner(b.get());
        runner.Record(record);
        runner.SetFrameHook(ScriptedKeys);
        runner.SetTickHook([&](const STick& t, CBattle& battle) { Collect(&out, t, battle); });
        runner.Run(frameLimit);
        ReleaseKeys();
        Finish(runner, *b, &out);
        if (b->IsOver()) record->SetEnd(out.steps, out.result, LastStepHash(out));
        return out;
    }

    // The record replayed by a schedule. `prepare` adjusts the fresh battle after its set-up,
    // `frame` runs before every frame, `tick` after every tick before its hash is taken.
    SRunStream Replay(const CPadRecord& record, const CStepSchedule& schedule,
                      const std::function<void(CBattle&)>& prepare = nullptr,
                      const std::function<void(int, CBattle&)>& frame = nullptr,
                      const std::function<void(const STick&, CBattle&)>& tick = nullptr, int frameLimit = 20000) {
        SRunStream out;
        auto b = std::make_unique<CBattle>();
        b->m_drawEnabled = 0;
        std::string error;
        EXPECT_EQ(record.ApplySetup(b.get(), &error), 1) << error;
        if (prepare) prepare(*b);
        GameSrand(12345);  // nothing of the simulation may draw from the generator
        CLockstepRunner runner(b.get());
        runner.SetSchedule(schedule);
        runner.Play(&record);
        CBattle* battle = b.get();
        if (frame) runner.SetFrameHook([&, battle](int n) { frame(n, *battle); });
        runner.SetTickHook([&](const STick& t, CBattle& x) {
            if (tick) tick(t, x);
            Collect(&out, t, x);
        });
        runner.Run(frameLimit);
        Finish(runner, *b, &out);
        return out;
    }

    // The state dump at tick n of a replay (with the same tick hook as the run it explains).
    std::string DumpAt(const CPadRecord& record, int n, const std::function<void(const STick&, CBattle&)>& tick = nullptr) {
        std::string dump;
        Replay(record, CStepSchedule(1), nullptr, nullptr, [&](const STick& t, CBattle& b) {
            if (tick) tick(t, b);
            if (t.index == n) dump = DumpState(b);
        }, n);  // one step a frame and no pause: tick n is frame n
        return dump;
    }

    // Equal streams, or the first tick where they part.
    static void ExpectSameStream(const SRunStream& a, const SRunStream& b) {
        const size_t n = a.hashes.size() < b.hashes.size() ? a.hashes.size() : b.hashes.size();
        for (size_t i = 0; i < n; ++i)
            ASSERT_EQ(a.hashes[i], b.hashes[i]) << "first difference at tick " << i + 1 << " (" << TickName(a.ticks[i])
                                                << ")";
        EXPECT_EQ(a.hashes.size(), b.hashes.size());
        EXPECT_EQ(a.steps, b.steps);
        EXPECT_EQ(a.result, b.result);
    }

    static uint64_t LastStepHash(const SRunStream& s) {
        for (size_t i = s.ticks.size(); i-- > 0;)
            if (s.ticks[i].kind == kTickStep) return s.hashes[i];
        return 0;
    }

private:
    static void ReleaseKeys() {
        for (int key : {17, 30, 32, 57, 33, 19, 34, 16, 18}) SysInjectKey(key, 0);
        PumpMessages();
        UpdateInput();
        UpdateInput();
    }
    static void Finish(const CLockstepRunner& runner, const CBattle& b, SRunStream* out) {
        out->steps = runner.Steps();
        out->frames = runner.Frames();
        out->result = b.GetResult();
        out->ranOut = runner.RecordRanOut();
    }
};
