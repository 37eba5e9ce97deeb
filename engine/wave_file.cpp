// RIFF WAV reader. Sizes in the file are not trusted: every chunk is bounded by its parent and
// by the bytes actually present, and odd-sized chunks are followed by one pad byte. A data chunk
// cut short by the end of the file is taken as far as it goes.
#include "wave_file.h"

#include "sys_path.h"

#include <cstring>

namespace {

constexpr size_t kChunkHeader = 8;
constexpr size_t kFormatBytes = 18;   // the wave format with its extra-size field

uint32_t Le32(const uint8_t* p) { return p[0] | (p[1] << 8) | (p[2] << 16) | ((uint32_t)p[3] << 24); }
uint16_t Le16(const uint8_t* p) { return (uint16_t)(p[0] | (p[1] << 8)); }
bool IsId(const uint8_t* p, const char* id) { return memcmp(p, id, 4) == 0; }

// The offset after a chunk whose data starts at `start`, with the pad byte of odd sizes.
uint64_t NextChunk(uint64_t start, uint32_t size) { return start + size + (size & 1); }

}  // namespace

const char* WaveResultText(WaveResult result) {
    switch (result) {
        case WaveResult::Ok: return "";
        case WaveResult::OpenError: return "open error.\n";
        case WaveResult::NoRiff: return "RIFF is not found.\n";
        case WaveResult::NoFormat: return "fmt is not found.\n";
        case WaveResult::NotPcm: return "is not PCM format.\n";
        case WaveResult::AscendError: return "ascend error.\n";
        case WaveResult::NoData: return "chunk is not found.\n";
    }
    return "";
}

WaveResult ParseWave(const uint8_t* bytes, size_t size, WaveFormat* format, std::vector<uint8_t>* data) {
    // The RIFF chunk of form "WAVE" among the top-level chunks.
    uint64_t pos = 0, riffEnd = 0, riffBody = 0;
    for (;;) {
        if (pos + kChunkHeader > size) return WaveResult::NoRiff;
        uint32_t ckSize = Le32(bytes + pos + 4);
        if (IsId(bytes + pos, "RIFF") && ckSize >= 4 && pos + kChunkHeader + 4 <= size &&
            IsId(bytes + pos + kChunkHeader, "WAVE")) {
            riffBody = pos + kChunkHeader + 4;
            riffEnd = pos + kChunkHeader + ckSize;
            if (riffEnd > size) riffEnd = size;  // a RIFF longer than the file ends with the file
            break;
        }
        pos = NextChunk(pos + kChunkHeader, ckSize);
    }

    // Its first sub-chunk must be the format chunk.
    pos = riffBody;
    if (pos + kChunkHeader > riffEnd || !IsId(bytes + pos, "fmt ")) return WaveResult::NoFormat;
    uint32_t fmtSize = Le32(bytes + pos + 4);
    uint64_t fmtStart = pos + kChunkHeader;
    uint8_t raw[kFormatBytes] = {};
    uint64_t avail = riffEnd - fmtStart;
    size_t take = (size_t)(fmtSize < kFormatBytes ? fmtSize : kFormatBytes);
    if (take > avail) take = (size_t)avail;
    memcpy(raw, bytes + fmtStart, take);
    WaveFormat f;
    f.formatTag = Le16(raw);
    f.channels = Le16(raw + 2);
    f.samplesPerSec = Le32(raw + 4);
    f.avgBytesPerSec = Le32(raw + 8);
    f.blockAlign = Le16(raw + 12);
    f.bitsPerSample = Le16(raw + 14);
    f.extraSize = Le16(raw + 16);
    if (f.formatTag != kWaveFormatPcm) return WaveResult::NotPcm;
    if (fmtStart + fmtSize > riffEnd) return WaveResult::AscendError;

    // Then the "data" chunk, searched from there on within the RIFF.
    pos = NextChunk(fmtStart, fmtSize);
    for (;;) {
        if (pos + kChunkHeader > riffEnd) return WaveResult::NoData;
        uint32_t ckSize = Le32(bytes + pos + 4);
        if (IsId(bytes + pos, "data")) {
            // A file cut short inside its data still plays what it holds.
            uint64_t dataStart = pos + kChunkHeader;
            uint64_t dataEnd = dataStart + ckSize < riffEnd ? dataStart + ckSize : riffEnd;
            if (format) *format = f;
            if (data) data->assign(bytes + dataStart, bytes + dataEnd);
            return WaveResult::Ok;
        }
        pos = NextChunk(pos + kChunkHeader, ckSize);
    }
}

WaveResult ReadWaveFile(const char* path, WaveFormat* format, std::vector<uint8_t>* data) {
    std::vector<uint8_t> bytes;
    if (!SysReadFile(path, &bytes)) return WaveResult::OpenError;
    return ParseWave(bytes.data(), bytes.size(), format, data);
}
