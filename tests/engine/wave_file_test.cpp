// The WAV reader: well-formed files of every layout it meets, and files that lie, end early or
// hold something else, which must fail with their log line and never read past the bytes given.
#include "audio_fixture.h"
#include "audio_writer.h"
#include "wave_file.h"

#include <cstring>

namespace {

std::string Pcm16(std::initializer_list<int16_t> samples) {
    std::string s;
    for (int16_t v : samples) s += Le16Bytes((uint16_t)v);
    return s;
}

std::string Riff(const std::string& body) { return RiffChunk("RIFF", "WAVE" + body); }

// Parses from a heap copy of exactly the file's size, so AddressSanitizer sees any overread.
WaveResult Parse(const std::string& file, WaveFormat* f = nullptr, std::vector<uint8_t>* data = nullptr) {
    std::vector<uint8_t> bytes(file.begin(), file.end());
    uint8_t* exact = bytes.empty() ? nullptr : new uint8_t[bytes.size()];
    if (exact) memcpy(exact, bytes.data(), bytes.size());
    WaveFormat ignored;
    std::vector<uint8_t> ignoredData;
    WaveResult r = ParseWave(exact, bytes.size(), f ? f : &ignored, data ? data : &ignoredData);
    delete[] exact;
    return r;
}

}  // namespace

TEST(WaveFile, ReadsFormatAndDataOfWellFormedFiles) {
    WaveFormat f;
    std::vector<uint8_t> data;
    ASSERT_EQ(Parse(MakeWav(22050, 16, 2, {1, -1, 300, -300}), &f, &data), WaveResult::Ok);
    EXPECT_EQ(f.formatTag, 1);
    EXPECT_EQ(f.channels, 2);
    EXPECT_EQ(f.samplesPerSec, 22050u);
    EXPECT_EQ(f.blockAlign, 4);
    EXPECT_EQ(f.bitsPerSample, 16);
    EXPECT_EQ(f.extraSize, 0) << "a 16-byte format chunk must not run into the next chunk";
    EXPECT_EQ(std::string(data.begin(), data.end()), Pcm16({1, -1, 300, -300}));

    // Odd-sized chunks carry a pad byte: an odd "LIST" before the data, odd 8-bit data at the end.
    std::string list = RiffChunk("LIST", "abc");
    ASSERT_EQ(list.size(), 12u);
    std::string file = Riff(RiffChunk("fmt ", PcmFormatBody(8000, 8, 1)) + list + RiffChunk("data", "\x80\x90\xa0"));
    ASSERT_EQ(Parse(file, &f, &data), WaveResult::Ok);
    EXPECT_EQ(data.size(), 3u);

    // An 18-byte format chunk, a RIFF claiming more than the file holds, and an unpadded odd end.
    file = Riff(RiffChunk("fmt ", PcmFormatBody(8000, 8, 1) + Le16Bytes(0)) + RiffChunk("data", "\x80\x81\x82"));
    file.pop_back();  // the final pad byte is missing
    ASSERT_EQ(Parse(file, &f, &data), WaveResult::Ok);
    EXPECT_EQ(data.size(), 3u);
    file.replace(4, 4, Le32Bytes(100000));
    EXPECT_EQ(Parse(file), WaveResult::Ok);

    // Other chunks may come before the RIFF form.
    EXPECT_EQ(Parse(RiffChunk("JUNK", "xx") + MakeWav(8000, 8, 1, {0})), WaveResult::Ok);
}

TEST(WaveFile, RefusesWhatIsNotAPcmWave) {
    EXPECT_EQ(Parse(""), WaveResult::NoRiff);
    EXPECT_EQ(Parse("RIFF"), WaveResult::NoRiff);
    EXPECT_EQ(Parse(RiffChunk("RIFF", "AVI " + RiffChunk("fmt ", PcmFormatBody(8000, 8, 1)))), WaveResult::NoRiff);
    EXPECT_EQ(Parse(std::string(64, '\0')), WaveResult::NoRiff);

    // The format chunk must come first.
    EXPECT_EQ(Parse(Riff(RiffChunk("LIST", "ab") + RiffChunk("fmt ", PcmFormatBody(8000, 8, 1)) + RiffChunk("data", "x"))),
              WaveResult::NoFormat);
    EXPECT_EQ(Parse(Riff("")), WaveResult::NoFormat);

    // ADPCM (tag 2) and the extensible format (0xFFFE) are not PCM.
    std::string adpcm = PcmFormatBody(8000, 4, 1);
    adpcm[0] = 2;
    EXPECT_EQ(Parse(Riff(RiffChunk("fmt ", adpcm) + RiffChunk("data", "xx"))), WaveResult::NotPcm);
    std::string ext = PcmFormatBody(8000, 16, 1) + Le16Bytes(22) + std::string(22, '\0');
    ext[0] = '\xfe';
    ext[1] = '\xff';
    EXPECT_EQ(Parse(Riff(RiffChunk("fmt ", ext) + RiffChunk("data", "xx"))), WaveResult::NotPcm);

    // No data chunk at all.
    EXPECT_EQ(Parse(Riff(RiffChunk("fmt ", PcmFormatBody(8000, 8, 1)))), WaveResult::NoData);
}

TEST(WaveFile, ChunksThatLieOrEndEarlyNeverReadPastTheFile) {
    // The data chunk claims more than the file holds (a truncated file): what is there is taken.
    std::string truncated = MakeWav(8000, 16, 1, {1, 2, 3, 4, 5, 6, 7, 8});
    truncated.resize(truncated.size() - 6);
    std::vector<uint8_t> data;
    ASSERT_EQ(Parse(truncated, nullptr, &data), WaveResult::Ok);
    EXPECT_EQ(std::string(data.begin(), data.end()), Pcm16({1, 2, 3, 4, 5}));
    // A RIFF that ends before the file does bounds the data too.
    std::string shortRiff = MakeWav(8000, 8, 1, {0, 0, 0, 0});
    shortRiff.replace(4, 4, Le32Bytes((uint32_t)shortRiff.size() - 8 - 2));
    ASSERT_EQ(Parse(shortRiff, nullptr, &data), WaveResult::Ok);
    EXPECT_EQ(data.size(), 2u);

    // A chunk before the data with a size far beyond the file.
    std::string lying = Riff(RiffChunk("fmt ", PcmFormatBody(8000, 8, 1)) + "LIST" + Le32Bytes(0xfffffff0u) + "ab");
    EXPECT_EQ(Parse(lying), WaveResult::NoData);

    // A format chunk longer than its RIFF.
    std::string bigFmt = Riff("fmt " + Le32Bytes(0x7fffffffu) + PcmFormatBody(8000, 8, 1));
    EXPECT_EQ(Parse(bigFmt), WaveResult::AscendError);

    // The file ends inside the format chunk; its tag is read only as far as it goes.
    std::string shortFmt = Riff("fmt " + Le32Bytes(16) + Le16Bytes(1));
    EXPECT_EQ(Parse(shortFmt), WaveResult::AscendError);
    std::string noTag = Riff("fmt " + Le32Bytes(16));
    EXPECT_EQ(Parse(noTag), WaveResult::NotPcm);

    // Every prefix of a good file fails cleanly before the data chunk's header is whole, and from
    // there on reads exactly the data bytes it holds.
    std::string good = MakeWav(8000, 16, 1, {100, 200, 300});
    const size_t dataAt = good.size() - 6;
    ASSERT_EQ(good.compare(dataAt - 8, 4, "data"), 0);
    for (size_t n = 0; n <= good.size(); ++n) {
        WaveResult r = Parse(good.substr(0, n), nullptr, &data);
        if (n < dataAt) {
            EXPECT_NE(r, WaveResult::Ok) << n;
        } else {
            ASSERT_EQ(r, WaveResult::Ok) << n;
            EXPECT_EQ(std::string(data.begin(), data.end()), good.substr(dataAt, n - dataAt)) << n;
        }
    }
}

class SoundLoadTest : public AudioTest {};

TEST_F(SoundLoadTest, FailuresLogTheirLineAndLeaveTheSoundSilent) {
    StartSound();
    WriteWholeFile(folder.File("adpcm.wav"), [] {
        std::string fmt = PcmFormatBody(8000, 4, 1);
        fmt[0] = 2;
        return Riff(RiffChunk("fmt ", fmt) + RiffChunk("data", "xxxx"));
    }());
    WriteWholeFile(folder.File("empty.wav"), MakeWav(8000, 16, 1, {}));
    WriteWholeFile(folder.File("deep.wav"), MakeWav(8000, 24, 1, {1, 2, 3}));
    WriteWholeFile(folder.File("zero.wav"), "");
    WriteWholeFile(folder.File("slow.wav"), MakeWav(50, 16, 1, {1, 2, 3}));
    std::string wild = MakeWav(8000, 16, 1, {1, 2, 3});
    wild.replace(24, 4, Le32Bytes(0xfffffff0u));  // the rate of a damaged header
    WriteWholeFile(folder.File("wild.wav"), wild);

    const struct {
        const char* name;
        const char* line;
    } cases[] = {
        {"missing.wav", "load(missing.wav) ... open error.\n"},
        {"adpcm.wav", "load(adpcm.wav) ... is not PCM format.\n"},
        {"empty.wav", "load(empty.wav) ... can't create buffer.\n"},
        {"deep.wav", "load(deep.wav) ... can't create buffer.\n"},
        {"zero.wav", "load(zero.wav) ... RIFF is not found.\n"},
        {"slow.wav", "load(slow.wav) ... can't create buffer.\n"},
        {"wild.wav", "load(wild.wav) ... can't create buffer.\n"},
    };
    for (const auto& c : cases) {
        Log().clear();
        CSound s;
        EXPECT_EQ(s.Load(c.name), 0);
        EXPECT_EQ(Log(), c.line);
        EXPECT_EQ(s.GetFileName(), c.name) << "the name stays set for the release line";
        s.Play(1);
        EXPECT_EQ(s.IsPlaying(), 0);
        s.Release();
        EXPECT_EQ(Log(), std::string(c.line) + "release(" + c.name + ")\n");
    }
    EXPECT_LT(RenderMix(Ms(50)).peak, 1e-6);
}

TEST_F(SoundLoadTest, FileCutShortInsideItsDataPlaysWhatItHolds) {
    StartSound();
    const int rate = 22050;
    std::string whole = MakeWav(rate, 16, 1, MakeTone(rate, 440, 0.4, 0.5));
    // 100 ms of samples and half of the next one.
    whole.resize(whole.size() - (size_t)(rate * 2 * 4 / 10) + (size_t)(rate * 2 / 10) + 1);
    WriteWholeFile(folder.File("cut.wav"), whole);
    CSound s;
    ASSERT_EQ(s.Load("cut.wav"), 1);
    EXPECT_NE(Log().find("load(cut.wav) ... ok.\n"), std::string::npos) << Log();
    s.Play(0);
    EXPECT_GT(RenderMix(Ms(80)).left, 0.05);
    EXPECT_EQ(s.IsPlaying(), 1);
    RenderMix(Ms(40));
    EXPECT_EQ(s.IsPlaying(), 0) << "only the 100 ms the file holds are played";
}
