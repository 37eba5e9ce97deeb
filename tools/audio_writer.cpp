// WAV and MIDI writers for the stand-in assets.
#include "audio_writer.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {

constexpr double kPi = 3.14159265358979323846;

std::string Be32Bytes(uint32_t v) {
    return std::string{(char)(v >> 24), (char)(v >> 16), (char)(v >> 8), (char)v};
}

std::string Be16Bytes(uint16_t v) { return std::string{(char)(v >> 8), (char)v}; }

int WriteBytes(const std::string& path, const std::string& bytes) {
    FILE* f = fopen(path.c_str(), "wb");
    if (!f) return 0;
    size_t n = fwrite(bytes.data(), 1, bytes.size(), f);
    return fclose(f) == 0 && n == bytes.size() ? 1 : 0;
}

std::string VarLen(uint32_t v) {
    std::string out(1, (char)(v & 0x7f));
    while (v >>= 7) out.insert(out.begin(), (char)(0x80 | (v & 0x7f)));
    return out;
}

}  // namespace

std::string Le32Bytes(uint32_t v) { return std::string{(char)v, (char)(v >> 8), (char)(v >> 16), (char)(v >> 24)}; }

std::string Le16Bytes(uint16_t v) { return std::string{(char)v, (char)(v >> 8)}; }

std::string RiffChunk(const char id[4], const std::string& body) {
    std::string out(id, 4);
    out += Le32Bytes((uint32_t)body.size());
    out += body;
    if (body.size() & 1) out += '\0';
    return out;
}

std::string PcmFormatBody(int rate, int bits, int channels) {
    int align = channels * bits / 8;
    return Le16Bytes(1) + Le16Bytes((uint16_t)channels) + Le32Bytes((uint32_t)rate) +
           Le32Bytes((uint32_t)(rate * align)) + Le16Bytes((uint16_t)align) + Le16Bytes((uint16_t)bits);
}

std::string MakeWav(int rate, int bits, int channels, const std::vector<int16_t>& samples) {
    std::string data;
    for (int16_t s : samples) {
        if (bits == 8)
            data += (char)(uint8_t)((s >> 8) + 128);
        else
            data += Le16Bytes((uint16_t)s);
    }
    std::string body = "WAVE" + RiffChunk("fmt ", PcmFormatBody(rate, bits, channels)) + RiffChunk("data", data);
    return RiffChunk("RIFF", body);
}

int WriteWav(const std::string& path, int rate, int bits, int channels, const std::vector<int16_t>& samples) {
    return WriteBytes(path, MakeWav(rate, bits, channels, samples));
}

std::vector<int16_t> MakeTone(int rate, double hz, double seconds, double amplitude) {
    int n = std::max(1, (int)(rate * seconds));
    int fade = std::min(n / 4, rate / 200);  // 5 ms ramps: no click at either end
    std::vector<int16_t> out((size_t)n);
    for (int i = 0; i < n; ++i) {
        double env = 1.0;
        if (fade > 0 && i < fade) env = (double)i / fade;
        if (fade > 0 && i >= n - fade) env = (double)(n - 1 - i) / fade;
        out[(size_t)i] = (int16_t)std::lround(32767.0 * amplitude * env * std::sin(2.0 * kPi * hz * i / rate));
    }
    return out;
}

std::vector<int16_t> MakeClick(int rate) {
    int n = rate / 100;  // 10 ms
    std::vector<int16_t> out((size_t)n);
    uint32_t seed = 12345;  // fixed: the same file on every build
    for (int i = 0; i < n; ++i) {
        seed = seed * 1103515245u + 12345u;
        double noise = ((seed >> 16) & 0x7fff) / 16383.5 - 1.0;
        double env = std::exp(-6.0 * i / n);
        out[(size_t)i] = (int16_t)std::lround(26000.0 * env * noise);
    }
    return out;
}

std::vector<int16_t> MakeBeep(int rate) { return MakeTone(rate, 880.0, 0.15, 0.6); }

std::string MakeMidi(int ticksPerQuarter, int microsecondsPerQuarter, const std::vector<MidiProgram>& programs,
                     const std::vector<MidiNote>& notes) {
    struct Event {
        int tick;
        int order;  // note-offs before note-ons at the same tick
        std::string bytes;
    };
    std::vector<Event> events;
    uint32_t t = (uint32_t)microsecondsPerQuarter;
    events.push_back({0, 0, std::string("\xff\x51\x03", 3) + (char)(t >> 16) + (char)(t >> 8) + (char)t});
    for (const MidiProgram& p : programs)
        events.push_back({0, 1, std::string{(char)(0xc0 | (p.channel & 15)), (char)(p.program & 127)}});
    for (const MidiNote& n : notes) {
        char ch = (char)(n.channel & 15);
        events.push_back({n.start, 3, std::string{(char)(0x90 | ch), (char)(n.key & 127), (char)(n.velocity & 127)}});
        events.push_back({n.start + n.length, 2, std::string{(char)(0x80 | ch), (char)(n.key & 127), 0}});
    }
    std::stable_sort(events.begin(), events.end(),
                     [](const Event& a, const Event& b) { return a.tick != b.tick ? a.tick < b.tick : a.order < b.order; });
    std::string track;
    int last = 0;
    for (const Event& e : events) {
        track += VarLen((uint32_t)(e.tick - last)) + e.bytes;
        last = e.tick;
    }
    track += VarLen(0) + std::string("\xff\x2f\x00", 3);
    std::string out = "MThd" + Be32Bytes(6) + Be16Bytes(0) + Be16Bytes(1) + Be16Bytes((uint16_t)ticksPerQuarter);
    out += "MTrk" + Be32Bytes((uint32_t)track.size()) + track;
    return out;
}

int WriteMidi(const std::string& path, const std::string& bytes) { return WriteBytes(path, bytes); }

std::string MakeShortTune() {
    const int q = 480;  // ticks per quarter note
    std::vector<MidiNote> notes;
    // Melody: C E G C' | B G D' C' (quarter notes), piano.
    const int melody[] = {60, 64, 67, 72, 71, 67, 74, 72};
    for (int i = 0; i < 8; ++i) notes.push_back({i * q, q - 40, 0, melody[i], 100});
    // Bass: one half note per two beats.
    const int bass[] = {36, 43, 43, 36};
    for (int i = 0; i < 4; ++i) notes.push_back({i * 2 * q, 2 * q - 40, 1, bass[i], 90});
    return MakeMidi(q, 500000, {{0, 0}, {1, 32}}, notes);
}
