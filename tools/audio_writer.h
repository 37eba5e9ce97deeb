// Writers for the stand-in sounds and music: RIFF WAV files of PCM samples, standard MIDI files
// of notes, and the simple sounds they carry. Generators and tests both build files with them;
// the folder of a written file must exist.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// ---- WAV
// Samples are 16-bit, interleaved by channel; 8-bit files store them as unsigned bytes.
std::string MakeWav(int rate, int bits, int channels, const std::vector<int16_t>& samples);
int WriteWav(const std::string& path, int rate, int bits, int channels, const std::vector<int16_t>& samples);
// One RIFF chunk: id, little-endian size, body and the pad byte of odd sizes.
std::string RiffChunk(const char id[4], const std::string& body);
std::string Le32Bytes(uint32_t v);
std::string Le16Bytes(uint16_t v);
// The 16-byte PCM format chunk body.
std::string PcmFormatBody(int rate, int bits, int channels);

// ---- Simple mono sounds (16-bit)
std::vector<int16_t> MakeTone(int rate, double hz, double seconds, double amplitude);  // sine, soft ends
std::vector<int16_t> MakeClick(int rate);          // a few milliseconds of decaying noise
std::vector<int16_t> MakeBeep(int rate);           // a short 880 Hz tone

// ---- MIDI
struct MidiNote {
    int start;      // ticks
    int length;     // ticks
    int channel;    // 0..15 (9 is percussion)
    int key;        // 0..127
    int velocity;   // 1..127
};
struct MidiProgram {
    int channel;
    int program;    // General MIDI program 0..127
};
// A format-0 file: tempo, program changes, then the notes.
std::string MakeMidi(int ticksPerQuarter, int microsecondsPerQuarter, const std::vector<MidiProgram>& programs,
                     const std::vector<MidiNote>& notes);
int WriteMidi(const std::string& path, const std::string& bytes);
// A short recognisable tune: a rising arpeggio and a cadence on piano with a bass line.
std::string MakeShortTune();
