// Stand-in sounds of the title: the menu's confirm sound, a bright two-note chime.
#include "audio_writer.h"
#include "generator.h"

namespace {

constexpr int kRate = 22050;

int WriteTitleSounds(const std::string& dir) {
    std::vector<int16_t> chime = MakeTone(kRate, 1046.5, 0.08, 0.5);
    std::vector<int16_t> high = MakeTone(kRate, 1568.0, 0.14, 0.5);
    chime.insert(chime.end(), high.begin(), high.end());
    return MakeDirs(dir + "/wave") && WriteWav(dir + "/wave/se_menu01.wav", kRate, 16, 1, chime);
}

}  // namespace

REGISTER_GENERATOR("title sounds", WriteTitleSounds);
