// A click, a beep and a short tune: proof that the writers make files the engine plays. The
// game's named sounds come with the code that loads them.
#include "audio_writer.h"
#include "generator.h"
#include "test_data.h"

namespace {

constexpr int kRate = 22050;  // the sample rate of the stand-in effects

}  // namespace

int WriteTestAudio(const std::string& dataDir) {
    return MakeDirs(dataDir + "/wave") && MakeDirs(dataDir + "/midi") &&
           WriteWav(dataDir + "/wave/click.wav", kRate, 16, 1, MakeClick(kRate)) &&
           WriteWav(dataDir + "/wave/beep.wav", kRate, 16, 1, MakeBeep(kRate)) &&
           WriteMidi(dataDir + "/midi/tune.mid", MakeShortTune());
}
