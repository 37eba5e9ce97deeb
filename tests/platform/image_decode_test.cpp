// The image decoders: known pixels of each format, and damaged files (cut short, bits flipped,
// absurd sizes) that must fail or decode without reading outside the data.
#include "sys_image.h"
#include "sys_rand.h"
#include "test_folder.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string Sample(const char* name) { return ReadWholeFile(std::string(TEST_DATA_DIR) + "/test_images/" + name); }

int Decode(const std::string& bytes, SysImage* image) { return SysDecodeImage(bytes.data(), bytes.size(), image); }

int Near(uint32_t a, uint32_t b, int tolerance) {
    for (int shift = 0; shift < 32; shift += 8) {
        int d = (int)((a >> shift) & 0xFF) - (int)((b >> shift) & 0xFF);
        if (d > tolerance || d < -tolerance) return 0;
    }
    return 1;
}

}  // namespace

TEST(ImageDecode, EachFormatGivesItsPixels) {
    SysImage png, jpg, bmp;
    ASSERT_EQ(Decode(Sample("quad.png"), &png), 1);
    EXPECT_EQ(png.width, 40);
    EXPECT_EQ(png.height, 20);
    EXPECT_EQ(png.argb[0], 0xFFFF00FFu);
    EXPECT_EQ(png.argb[5 * 40 + 10], 0xFFFF0000u);
    EXPECT_EQ(png.argb[5 * 40 + 30], 0xFF00FF00u);
    EXPECT_EQ(png.argb[19 * 40 + 3], 0x80FFFFFFu);  // alpha kept, not premultiplied

    ASSERT_EQ(Decode(Sample("photo.jpg"), &jpg), 1);
    EXPECT_EQ(jpg.width, 32);
    EXPECT_TRUE(Near(jpg.argb[4 * 32 + 4], 0xFF0000FFu, 6)) << std::hex << jpg.argb[4 * 32 + 4];
    EXPECT_TRUE(Near(jpg.argb[28 * 32 + 4], 0xFFFFFF00u, 6)) << std::hex << jpg.argb[28 * 32 + 4];

    ASSERT_EQ(Decode(Sample("sprite.bmp"), &bmp), 1);
    EXPECT_EQ(bmp.width, 10);
    EXPECT_EQ(bmp.height, 6);
    EXPECT_EQ(bmp.argb[0], 0xFFFFFFFFu);  // rows stored bottom-up come out top row first
    EXPECT_EQ(bmp.argb[3 * 10 + 1], 0xFF102030u);
    EXPECT_EQ(bmp.argb[5 * 10 + 9], 0xFF405060u);
    std::string topDown = Sample("sprite.bmp");
    topDown[22] = '\xFA', topDown[23] = topDown[24] = topDown[25] = '\xFF';  // height -6: rows stored top row first
    ASSERT_EQ(Decode(topDown, &bmp), 1);
    EXPECT_EQ(bmp.height, 6);
    EXPECT_EQ(bmp.argb[5 * 10], 0xFFFFFFFFu);
    EXPECT_EQ(bmp.argb[9], 0xFF405060u);
}

TEST(ImageDecode, MissingOrForeignFilesFail) {
    CTestFolder folder;
    SysImage image;
    EXPECT_EQ(SysLoadImageFile("none.png", &image), 0);
    WriteWholeFile(folder.File("text.png"), "just some text, not an image");
    EXPECT_EQ(SysLoadImageFile("text.png", &image), 0);
    EXPECT_EQ(image.width, 0);
    EXPECT_TRUE(image.argb.empty());
    EXPECT_EQ(SysDecodeImage(nullptr, 0, &image), 0);
    // A PNG named .jpg still loads: the bytes decide.
    WriteWholeFile(folder.File("IMAGE.JPG"), Sample("quad.png"));
    EXPECT_EQ(SysLoadImageFile("image.jpg", &image), 1);
    EXPECT_EQ(image.width, 40);
}

TEST(ImageDecode, AbsurdSizesAreRefusedBeforeAllocating) {
    struct Patch {
        int at;
        const char* bytes;  // four, little-endian
        const char* what;
    };
    const Patch patches[] = {
        {18, "\x00\x00\x10\x00", "1 048 576 pixels wide"},
        {18, "\xFF\xFF\xFF\xFF", "width -1"},
        {18, "\x00\x00\x00\x80", "width -2^31"},
        {22, "\x00\x00\x00\x80", "height -2^31: no positive int is its size"},
        {22, "\x00\x00\x10\x00", "1 048 576 pixels high"},
        {10, "\xF0\xFF\xFF\x7F", "pixels far past the end"},
    };
    const std::string bmp = Sample("sprite.bmp");
    SysImage image;
    for (const Patch& p : patches) {
        std::string damaged = bmp;
        damaged.replace(p.at, 4, p.bytes, 4);
        EXPECT_EQ(Decode(damaged, &image), 0) << p.what;
    }
    std::string png = Sample("quad.png");
    png[16] = '\x7F';  // IHDR width about two thousand million
    EXPECT_EQ(Decode(png, &image), 0);
}

// Every prefix length in steps, and many single and multiple bit flips: nothing may crash or
// read out of bounds (the sanitizer build checks that); a success must be a whole image.
TEST(ImageDecode, TruncatedAndBitFlippedFilesNeverCrash) {
    GameSrand(1234);
    for (const char* name : {"quad.png", "photo.jpg", "sprite.bmp"}) {
        const std::string original = Sample(name);
        ASSERT_FALSE(original.empty()) << name;
        SysImage image;
        int failures = 0;
        for (size_t len = 0; len < original.size(); len += 1 + len / 16) {
            if (!Decode(original.substr(0, len), &image)) ++failures;
            else EXPECT_EQ(image.argb.size(), (size_t)image.width * image.height);
        }
        EXPECT_GT(failures, 0) << name;
        for (int round = 0; round < 300; ++round) {
            std::string damaged = original;
            int flips = 1 + GameRand() % 8;
            for (int f = 0; f < flips; ++f) {
                size_t at = (size_t)GameRand() * 4 % damaged.size();
                damaged[at] = (char)(damaged[at] ^ (1 << (GameRand() % 8)));
            }
            if (Decode(damaged, &image)) {
                EXPECT_GT(image.width, 0);
                EXPECT_EQ(image.argb.size(), (size_t)image.width * image.height);
            }
        }
    }
}
