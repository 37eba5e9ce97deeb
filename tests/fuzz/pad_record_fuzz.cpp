// The pad record files that battle_run --play reads. With the first byte odd the harness signs
// the file itself (a new checksum line), as a record made for this purpose would be; with its low
// four bits 0001 it also replays whatever set-up the record builds: the slots' build codes,
// teams, stats and start frames, the stage, and the first steps of the recorded keys (a battle
// costs a thousand parses, so only one input in sixteen does). A record read back writes the
// same text again.
#include "fuzz_support.h"

#include "battle.h"
#include "lockstep_runner.h"
#include "pad_record.h"
#include "state_hash.h"

#include <cinttypes>
#include <cstdio>
#include <memory>

namespace {

constexpr int kReplayFrames = 40;  // enough to reach the fight's first steps

std::string Signed(std::string body) {
    if (!body.empty() && body.back() != '\n') body += '\n';
    CStateHash h;
    h.AddBytes(body.data(), body.size());
    char line[40];
    snprintf(line, sizeof line, "check %016" PRIx64 "\n", h.Value());
    return body + line;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    if (!MakeFuzzFolder("") || !StartFuzzEngine()) FuzzFail("the battle's engine did not start");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    CInFuzzFolder here;
    if (size < 1) return 0;
    const bool sign = data[0] & 1;
    std::string text = Bytes(data + 1, size - 1);
    if (sign) text = Signed(text);
    CPadRecord record;
    std::string error;
    if (!record.FromText(text, &error)) return 0;
    const std::string again = record.ToText();
    CPadRecord reread;
    FUZZ_CHECK(reread.FromText(again, &error), error);
    FUZZ_CHECK(reread.ToText() == again, again);
    CPad pads[kMaxRobots];
    for (int step = 0; step < record.StepCount(); ++step) record.LoadStep(step, pads);
    if ((data[0] & 0x0f) != 1) return 0;

    // As battle_run --play: the set-up, then the recorded keys (a set-up hash of another
    // battle is what a crafted record would carry right).
    auto battle = std::make_unique<CBattle>();
    battle->m_drawEnabled = false;
    record.ApplySetup(battle.get(), &error);
    CLockstepRunner runner(battle.get());
    runner.Play(&record);
    runner.Run(kReplayFrames);
    return 0;
}
