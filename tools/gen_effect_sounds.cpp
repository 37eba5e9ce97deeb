// Stand-in sounds of the projectiles and effects under ".\wave": shots, beams, missile launches,
// blade swings, boosts and the two looped sounds a record carries (the jet roar in flight and
// the burning crackle of a hit). Each is synthesised from noise, sweeps and envelopes, so every
// kind sounds like what it is; the looped two are made seamless by a crossfade of their ends.
#include "audio_writer.h"
#include "generator.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

namespace {

constexpr int kRate = 22050;
constexpr double kTwoPi = 6.283185307179586;

using Wave = std::vector<double>;

int Samples(double seconds) { return std::max(1, (int)(kRate * seconds)); }

// White noise from a fixed linear congruential sequence, so every build writes the same files.
Wave Noise(int n, uint32_t seed) {
    Wave w((size_t)n);
    for (double& v : w) {
        seed = seed * 1664525u + 1013904223u;
        v = (double)(seed >> 8) / (double)(1u << 23) - 1.0;
    }
    return w;
}

// One-pole low pass whose cutoff may glide from c0 to c1 Hz over the sound.
Wave LowPass(const Wave& in, double c0, double c1) {
    Wave out(in.size());
    double y = 0;
    for (size_t i = 0; i < in.size(); ++i) {
        double t = in.size() > 1 ? (double)i / (double)(in.size() - 1) : 0;
        double c = c0 * std::pow(c1 / c0, t);
        double a = 1.0 - std::exp(-kTwoPi * c / kRate);
        y += a * (in[i] - y);
        out[i] = y;
    }
    return out;
}

Wave HighPass(const Wave& in, double cutoff) {
    Wave low = LowPass(in, cutoff, cutoff);
    Wave out(in.size());
    for (size_t i = 0; i < in.size(); ++i) out[i] = in[i] - low[i];
    return out;
}

// Sine gliding exponentially from f0 to f1 Hz; square > 0 flattens it towards a square wave.
Wave Sweep(int n, double f0, double f1, double square = 0) {
    Wave w((size_t)n);
    double phase = 0;
    for (int i = 0; i < n; ++i) {
        double t = n > 1 ? (double)i / (n - 1) : 0;
        phase += kTwoPi * f0 * std::pow(f1 / f0, t) / kRate;
        double s = std::sin(phase);
        w[(size_t)i] = square > 0 ? std::tanh(s * (1 + 8 * square)) : s;
    }
    return w;
}

// Attack to full level, then an exponential decay with the given time constant.
void Envelope(Wave* w, double attack, double decay) {
    for (size_t i = 0; i < w->size(); ++i) {
        double t = (double)i / kRate;
        double e = t < attack ? t / attack : std::exp(-(t - attack) / decay);
        (*w)[i] *= e;
    }
}

// A short fade at both ends, so no sound starts or stops with a click.
void SoftEnds(Wave* w) {
    size_t fade = std::min(w->size() / 4, (size_t)(kRate / 200));
    for (size_t i = 0; i < fade; ++i) {
        double g = (double)i / fade;
        (*w)[i] *= g;
        (*w)[w->size() - 1 - i] *= g;
    }
}

Wave Mix(const Wave& a, double ga, const Wave& b, double gb) {
    Wave out(std::max(a.size(), b.size()));
    for (size_t i = 0; i < out.size(); ++i)
        out[i] = (i < a.size() ? a[i] * ga : 0) + (i < b.size() ? b[i] * gb : 0);
    return out;
}

// Folds the last `fade` samples over the first ones, so the end runs on into the start.
Wave Seamless(const Wave& w, int fade) {
    int length = (int)w.size() - fade;
    Wave out(w.begin(), w.begin() + length);
    for (int i = 0; i < fade; ++i) {
        double g = (double)i / fade;
        out[(size_t)i] = w[(size_t)i] * g + w[(size_t)(length + i)] * (1 - g);
    }
    return out;
}

std::vector<int16_t> Pcm(const Wave& w, double peak) {
    double top = 1e-9;
    for (double v : w) top = std::max(top, std::fabs(v));
    std::vector<int16_t> out(w.size());
    for (size_t i = 0; i < w.size(); ++i) out[i] = (int16_t)std::lround(32767.0 * peak * w[i] / top);
    return out;
}

// ---- The sounds ----

Wave Gunshot(double seconds, double crack, double thump, uint32_t seed) {
    int n = Samples(seconds);
    Wave noise = HighPass(Noise(n, seed), crack);
    Envelope(&noise, 0.001, seconds / 6);
    Wave body = Sweep(n, thump, thump * 0.4);
    Envelope(&body, 0.002, seconds / 4);
    return Mix(noise, 0.8, body, 0.6);
}

Wave Laser() {
    int n = Samples(0.3);
    Wave w = Sweep(n, 2400, 500, 0.3);
    Envelope(&w, 0.005, 0.12);
    return w;
}

Wave Whoosh(double seconds, double c0, double c1, double attack, uint32_t seed) {
    Wave w = LowPass(Noise(Samples(seconds), seed), c0, c1);
    Envelope(&w, attack, seconds / 3);
    return w;
}

Wave MissileLaunch() {
    Wave hiss = Whoosh(0.7, 3000, 600, 0.04, 7);
    Wave roar = LowPass(Noise(Samples(0.7), 8), 200, 120);
    Envelope(&roar, 0.02, 0.3);
    return Mix(hiss, 1.0, roar, 1.5);
}

Wave SatelliteLaunch() {
    int n = Samples(0.4);
    Wave tone = Sweep(n, 300, 1300, 0.2);
    Envelope(&tone, 0.01, 0.15);
    Wave hiss = Whoosh(0.4, 4000, 4000, 0.01, 21);
    return Mix(tone, 1.0, hiss, 0.3);
}

Wave BladeSwing() {
    Wave swoosh = Whoosh(0.25, 800, 5000, 0.08, 31);
    int n = Samples(0.25);
    Wave ring = Mix(Sweep(n, 1800, 1750), 1.0, Sweep(n, 2730, 2700), 0.6);
    Envelope(&ring, 0.003, 0.07);
    return Mix(swoosh, 1.0, ring, 0.4);
}

Wave DashBurst() {
    Wave burst = Whoosh(0.35, 1500, 300, 0.01, 41);
    int n = Samples(0.35);
    Wave thump = Sweep(n, 90, 45);
    Envelope(&thump, 0.004, 0.1);
    return Mix(burst, 1.0, thump, 0.8);
}

Wave Servo() {
    int n = Samples(0.3);
    Wave w = Sweep(n, 180, 320, 0.5);
    Envelope(&w, 0.02, 0.15);
    return Mix(w, 0.7, Whoosh(0.3, 2000, 2000, 0.02, 51), 0.3);
}

// Looped in flight: a steady jet roar with an engine hum of whole cycles.
Wave JetLoop() {
    int n = Samples(1.0);
    int fade = Samples(0.1);
    Wave roar = LowPass(Noise(n + fade, 61), 1200, 1200);
    Wave hum = Sweep(n + fade, 110, 110);
    return Seamless(Mix(roar, 1.0, hum, 0.25), fade);
}

// Looped while a hit burns: a low rumble with crackles scattered through it.
Wave FireLoop() {
    int n = Samples(1.0);
    int fade = Samples(0.15);
    Wave rumble = LowPass(Noise(n + fade, 71), 250, 250);
    Wave crackle((size_t)(n + fade));
    uint32_t seed = 72;
    for (size_t i = 0; i < crackle.size(); ++i) {
        seed = seed * 1664525u + 1013904223u;
        if ((seed >> 16) % 700 == 0)
            for (size_t k = 0; k < 60 && i + k < crackle.size(); ++k)
                crackle[i + k] += std::exp(-(double)k / 12) * (((seed >> (k % 16)) & 1) ? 1 : -1);
    }
    return Seamless(Mix(rumble, 3.0, crackle, 0.4), fade);
}

struct SEffectSound {
    const char* file;
    Wave (*make)();
    double peak;
};

const SEffectSound kSounds[] = {
    {"se_jet1.wav", JetLoop, 0.35},
    {"se_hit1.wav", FireLoop, 0.45},
    {"se2_GunD1@11.wav", [] { return Gunshot(0.28, 1500, 160, 1); }, 0.8},
    {"ses_gun02.wav", [] { return Gunshot(0.2, 2500, 420, 2); }, 0.7},
    {"se_hasya6.wav", [] { return Gunshot(0.08, 3000, 260, 3); }, 0.6},
    {"ses_beep01.wav", Laser, 0.6},
    {"se_hasya1.wav", MissileLaunch, 0.7},
    {"se_hasya3.wav", SatelliteLaunch, 0.6},
    {"ses_mecha06.wav", BladeSwing, 0.7},
    {"ses_swing39.wav", [] { return Whoosh(0.3, 500, 3000, 0.12, 33); }, 0.6},
    {"ses_bosu30.wav", DashBurst, 0.7},
    {"se_roboef1.wav", Servo, 0.5},
};

int WriteEffectSounds(const std::string& dir) {
    const std::string wave = dir + "/wave/";
    if (!MakeDirs(wave)) return 0;
    for (const SEffectSound& s : kSounds) {
        Wave w = s.make();
        // The looped ones must not be faded: their ends already meet.
        if (s.make != JetLoop && s.make != FireLoop) SoftEnds(&w);
        if (!WriteWav(wave + s.file, kRate, 16, 1, Pcm(w, s.peak))) return 0;
    }
    // The placeholder the kind tables name where a kind has no sound of its own: silence.
    return WriteWav(wave + "se_dammy.wav", kRate, 16, 1, std::vector<int16_t>((size_t)Samples(0.05), 0));
}

}  // namespace

REGISTER_GENERATOR("effect sounds", WriteEffectSounds);
