// Stand-in stage music under ".\midi": one looping battle tune per file the stage table names,
// each with its own key, tempo, instruments and progression: lead, chords, bass and drums.
#include "audio_writer.h"
#include "generator.h"

#include <string>
#include <vector>

namespace {

constexpr int kTicks = 96;  // per quarter note

struct Tune {
    const char* file;
    int bpm;
    int root;               // MIDI key of the tonic
    int minor;
    int lead, pad, bass;    // General MIDI programs
    int progression[4];     // scale degrees (0-based) of the four chords
    int seed;
};

const Tune kTunes[] = {
    {"stg-m01.mid", 150, 50, 1, 81, 48, 38, {0, 5, 3, 4}, 1},   // ruined city: saw lead, driving
    {"stg-m02.mid", 140, 52, 1, 30, 50, 33, {0, 3, 5, 4}, 2},   // battle dome: overdriven guitar
    {"stg-m03.mid", 120, 57, 1, 73, 49, 32, {0, 6, 5, 4}, 3},   // ruins: flute over strings
    {"stg-m04.mid", 128, 55, 0, 56, 61, 33, {0, 4, 5, 3}, 4},   // mountains: trumpet and brass
    {"stg-m06.mid", 110, 53, 0, 71, 48, 32, {0, 3, 0, 4}, 5},   // forest: clarinet
    {"stg-m07.mid", 160, 48, 1, 80, 89, 39, {0, 5, 6, 4}, 6},   // rooftop: square lead, synth bass
    {"t-tumori1.mid", 132, 45, 1, 62, 50, 38, {0, 5, 3, 6}, 7}, // the rest: synth brass
};

int ScaleKey(int root, int minor, int degree) {
    static const int kMajor[7] = {0, 2, 4, 5, 7, 9, 11}, kMinor[7] = {0, 2, 3, 5, 7, 8, 10};
    int octave = degree / 7, d = degree % 7;
    if (d < 0) d += 7, --octave;
    return root + 12 * octave + (minor ? kMinor[d] : kMajor[d]);
}

std::string Compose(const Tune& t) {
    std::vector<MidiNote> notes;
    const int bar = 4 * kTicks, eighth = kTicks / 2;
    unsigned state = 12345u + t.seed * 7919u;
    auto next = [&](int n) {
        state = state * 1103515245u + 12345u;
        return static_cast<int>((state >> 16) % n);
    };
    for (int b = 0; b < 8; ++b) {
        int degree = t.progression[b % 4], start = b * bar;
        // Chord on the pad, held for the bar.
        for (int k = 0; k < 3; ++k) notes.push_back({start, bar - 8, 1, ScaleKey(t.root + 12, t.minor, degree + 2 * k), 60});
        // Bass: root on eighths, the fifth on the off beats of the second half.
        for (int e = 0; e < 8; ++e)
            notes.push_back({start + e * eighth, eighth - 6, 2, ScaleKey(t.root - 12, t.minor, degree + (e >= 4 && e % 2 ? 4 : 0)), 90});
        // Lead: a phrase of chord and passing tones, repeated with a new ending every other bar.
        int pos = 0, step = 0;
        while (pos < bar) {
            int len = (next(3) == 0 ? kTicks : eighth);
            if (pos + len > bar) len = bar - pos;
            int tone = degree + 7 + (b % 2 ? next(5) : (step * 2) % 5);
            notes.push_back({start + pos, len - 6, 0, ScaleKey(t.root + 12, t.minor, tone), 100});
            pos += len;
            ++step;
        }
        // Drums: kick on beats 1 and 3, snare on 2 and 4, hats on eighths.
        for (int beat = 0; beat < 4; ++beat) {
            notes.push_back({start + beat * kTicks, 20, 9, beat % 2 ? 38 : 36, 100});
            for (int h = 0; h < 2; ++h) notes.push_back({start + beat * kTicks + h * eighth, 10, 9, 42, 70});
        }
    }
    const std::vector<MidiProgram> programs = {{0, t.lead}, {1, t.pad}, {2, t.bass}};
    return MakeMidi(kTicks, 60000000 / t.bpm, programs, notes);
}

int WriteStageMusic(const std::string& dir) {
    const std::string m = dir + "/midi/";
    if (!MakeDirs(m)) return 0;
    for (const Tune& t : kTunes)
        if (!WriteMidi(m + t.file, Compose(t))) return 0;
    return 1;
}

}  // namespace

REGISTER_GENERATOR("stage music", WriteStageMusic);
