// Stand-in picture behind the staff roll: a robot's silhouette against a night sky, dark all
// over so the white lines read over it; 256 x 256, stretched over the screen by the game.
#include "generator.h"
#include "picture.h"

#include <string>

namespace {

constexpr int kSide = 256;
constexpr uint32_t kSilhouette = 0xff05060a;

// A robot standing on the hill, seen from behind, rifle lowered: black on the sky.
void Silhouette(Picture* p, int cx, int ground) {
    auto box = [&](int x, int y, int w, int h) { p->FillRect(cx + x, ground - y, w, h, kSilhouette); };
    box(-7, 92, 14, 12);    // head
    box(-2, 100, 4, 9);     // antenna
    box(-22, 80, 44, 34);   // body
    box(-30, 78, 10, 10);   // shoulders
    box(20, 78, 10, 10);
    box(-32, 68, 9, 36);    // arms
    box(23, 68, 9, 36);
    box(30, 36, 8, 30);     // rifle along the right leg
    box(-16, 46, 14, 46);   // legs
    box(2, 46, 14, 46);
    box(-19, 4, 18, 4);     // feet
    box(1, 4, 18, 4);
}

int WriteEndingPicture(const std::string& dir) {
    std::string bmp = dir + "/bmp";
    if (!MakeDirs(bmp)) return 0;
    Picture p(kSide, kSide, 0);
    p.Gradient(0xff020410, 0xff1a2448);
    for (int i = 0; i < 60; ++i) p.Put((i * 73 + 11) % kSide, (i * 41 + 7) % 170, i % 4 ? 0xff8890b0 : 0xffd0d8f0);
    // A crescent moon: a disc with a second, sky-coloured disc cut out of it.
    for (int y = -8; y <= 8; ++y)
        for (int x = -8; x <= 8; ++x)
            if (x * x + y * y <= 64 && (x - 4) * (x - 4) + (y + 2) * (y + 2) > 40) p.Put(188 + x, 38 + y, 0xffd8d8c0);
    for (int x = 0; x < kSide; ++x) {
        int hill = 214 + (x - 128) * (x - 128) / 700;
        p.FillRect(x, hill, 1, kSide - hill, kSilhouette);
    }
    Silhouette(&p, 120, 216);
    return WritePicturePng(bmp + "/end2.png", p);
}

}  // namespace

REGISTER_GENERATOR("ending picture", WriteEndingPicture);
