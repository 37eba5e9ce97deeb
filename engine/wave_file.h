// The RIFF WAV reader of the sounds: it finds the RIFF "WAVE" form, takes the format chunk that
// must come first and the "data" chunk (as much of it as the file holds), and never reads beyond
// the file or beyond a chunk.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// The wave format as stored: the first 18 bytes of the format chunk (missing bytes read as 0).
struct WaveFormat {
    uint16_t formatTag;      // 1: PCM
    uint16_t channels;
    uint32_t samplesPerSec;
    uint32_t avgBytesPerSec;
    uint16_t blockAlign;
    uint16_t bitsPerSample;
    uint16_t extraSize;
};
constexpr uint16_t kWaveFormatPcm = 1;

enum class WaveResult {
    Ok,
    OpenError,       // the file cannot be opened
    NoRiff,          // no RIFF chunk of form "WAVE"
    NoFormat,        // the first sub-chunk is not "fmt "
    NotPcm,          // format tag other than PCM
    AscendError,     // the format chunk runs past the end of the RIFF chunk
    NoData,          // no "data" chunk header inside the RIFF
};

// The log text of a failed read ("open error.\n" ...); "" for Ok.
const char* WaveResultText(WaveResult result);

// Reads a WAV file (game path) into its format and PCM bytes.
WaveResult ReadWaveFile(const char* path, WaveFormat* format, std::vector<uint8_t>* data);
// The same from bytes in memory.
WaveResult ParseWave(const uint8_t* bytes, size_t size, WaveFormat* format, std::vector<uint8_t>* data);
