// Stand-in sounds of the network lobby: two cue clicks that tell a chat line from a player's
// arrival or leaving, and the short jingles played on those notices.
#include "audio_writer.h"
#include "generator.h"

namespace {

constexpr int kRate = 22050;

// Chat line cue: a dry high tick.
std::vector<int16_t> ChatCue() { return MakeTone(kRate, 2093.0, 0.04, 0.5); }

// Arrival and leaving cue: a lower, longer knock of two falling tones.
std::vector<int16_t> NoticeCue() {
    std::vector<int16_t> a = MakeTone(kRate, 784.0, 0.06, 0.6);
    std::vector<int16_t> b = MakeTone(kRate, 523.3, 0.09, 0.6);
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// A few seconds of melody over a bass; rising for an arrival, falling for a leaving.
std::string Jingle(const int (&melody)[8], int bassKey) {
    const int q = 480;
    std::vector<MidiNote> notes;
    for (int i = 0; i < 8; ++i) notes.push_back({i * q / 2, q / 2 - 30, 0, melody[i], 100});
    notes.push_back({0, 2 * q - 40, 1, bassKey, 90});
    notes.push_back({2 * q, 2 * q - 40, 1, bassKey + 7, 90});
    notes.push_back({4 * q, 2 * q, 0, melody[7] + 12, 90});
    return MakeMidi(q, 500000, {{0, 80}, {1, 33}}, notes);
}

int WriteLobbySounds(const std::string& dir) {
    static const int kIntro[8] = {60, 64, 67, 72, 67, 72, 76, 79};
    static const int kEnd[8] = {79, 76, 72, 67, 72, 67, 64, 60};
    return MakeDirs(dir + "/wave") && MakeDirs(dir + "/midi/qelvo") &&
           WriteWav(dir + "/wave/cursor15_a.wav", kRate, 16, 1, ChatCue()) &&
           WriteWav(dir + "/wave/cursor14.wav", kRate, 16, 1, NoticeCue()) &&
           WriteMidi(dir + "/midi/qelvo/j1_intro.mid", Jingle(kIntro, 36)) &&
           WriteMidi(dir + "/midi/qelvo/j2_end.mid", Jingle(kEnd, 31));
}

}  // namespace

REGISTER_GENERATOR("lobby sounds", WriteLobbySounds);
