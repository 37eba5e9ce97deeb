// Stand-in sounds every robot loads besides its action sound: a footstep thump, a humming engine
// loop that meets its own start, and a metallic clank.
#include "audio_writer.h"
#include "generator.h"

#include <cmath>
#include <cstdint>
#include <vector>

namespace {

constexpr int kRate = 22050;
constexpr double kPi = 3.14159265358979323846;
// The engine hum repeats every this many samples, so the loop has no seam.
constexpr int kHumPeriod = 200;

std::vector<int16_t> ToPcm(const std::vector<double>& wave, double peak) {
    double top = 0;
    for (double v : wave) top = std::fmax(top, std::fabs(v));
    std::vector<int16_t> out(wave.size());
    for (size_t i = 0; i < wave.size(); ++i) out[i] = int16_t(top > 0 ? wave[i] / top * peak * 32767 : 0);
    return out;
}

std::vector<int16_t> Footstep() {
    std::vector<double> w(size_t(kRate * 0.22));
    uint32_t noise = 12345;
    for (size_t i = 0; i < w.size(); ++i) {
        const double t = double(i) / kRate;
        noise = noise * 1103515245u + 12345u;
        const double grit = double((noise >> 16) & 0x7FFF) / 16384.0 - 1.0;
        w[i] = (std::sin(2 * kPi * (70 - 60 * t) * t) + 0.3 * grit * std::exp(-t * 60)) * std::exp(-t * 18);
    }
    return ToPcm(w, 0.8);
}

std::vector<int16_t> EngineHum() {
    std::vector<double> w(size_t(kHumPeriod) * 110);
    for (size_t i = 0; i < w.size(); ++i) {
        const double phase = 2 * kPi * double(i % kHumPeriod) / kHumPeriod;
        w[i] = std::sin(phase) + 0.5 * std::sin(2 * phase) + 0.25 * std::sin(3 * phase + 1.0);
    }
    return ToPcm(w, 0.5);
}

std::vector<int16_t> MetalClank() {
    const double partials[] = {523, 1187, 1931, 2763, 3607};
    std::vector<double> w(size_t(kRate * 0.5));
    for (size_t i = 0; i < w.size(); ++i) {
        const double t = double(i) / kRate;
        double v = 0;
        for (int k = 0; k < 5; ++k) v += std::sin(2 * kPi * partials[k] * t) * std::exp(-t * (8 + 4 * k)) / (1 + k);
        w[i] = v * std::fmin(1.0, t * 2000);  // no click at the start
    }
    return ToPcm(w, 0.7);
}

int WriteRobotSounds(const std::string& dir) {
    const std::string wave = dir + "/wave/";
    return MakeDirs(wave) && WriteWav(wave + "se_roboef2_c.wav", kRate, 16, 1, Footstep()) &&
           WriteWav(wave + "se_roboef3.wav", kRate, 16, 1, EngineHum()) &&
           WriteWav(wave + "metal38.wav", kRate, 16, 1, MetalClank());
}

}  // namespace

REGISTER_GENERATOR("robot sounds", WriteRobotSounds);
