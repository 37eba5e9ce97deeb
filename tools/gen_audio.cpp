// Stand-in sounds and music: a click, a beep and a short tune, proof that the writers make files
// the game plays. The game's named sounds come with the code that loads them.
#include "audio_writer.h"
#include "generator.h"

namespace {

constexpr int kRate = 22050;  // the sample rate of the stand-in effects

int WriteAudio(const std::string& dir) {
    return MakeDirs(dir + "/wave") && MakeDirs(dir + "/midi") &&
           WriteWav(dir + "/wave/click.wav", kRate, 16, 1, MakeClick(kRate)) &&
           WriteWav(dir + "/wave/beep.wav", kRate, 16, 1, MakeBeep(kRate)) &&
           WriteMidi(dir + "/midi/tune.mid", MakeShortTune());
}

}  // namespace

REGISTER_GENERATOR("audio", WriteAudio);
