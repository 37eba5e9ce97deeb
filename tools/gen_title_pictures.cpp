// Stand-in pictures of the title, the loading screens and the menu strips. The full-screen
// pictures are 256 x 256 (the game stretches them over 640 x 480). Pure white is kept out of
// the pictures that use it as colour key, except where it is meant to let the screen show
// through.
#include "generator.h"
#include "picture.h"

#include <string>

namespace {

constexpr int kSide = 256;

// A boxy robot outline standing on the ground line: head, body, arms, legs.
void Robot(Picture* p, int cx, int ground, int scale, uint32_t body, uint32_t trim) {
    auto box = [&](int x, int y, int w, int h, uint32_t c) { p->FillRect(cx + x * scale, ground - y * scale, w * scale, h * scale, c); };
    box(-3, 30, 6, 5, body);      // head
    box(-2, 28, 4, 1, trim);      // visor
    box(-7, 24, 14, 11, body);    // body
    box(-5, 21, 10, 2, trim);
    box(-11, 24, 3, 12, body);    // arms
    box(8, 24, 3, 12, body);
    box(11, 22, 8, 2, trim);      // rifle
    box(-6, 13, 5, 13, body);     // legs
    box(1, 13, 5, 13, body);
    box(-7, 1, 7, 1, trim);       // feet
    box(0, 1, 7, 1, trim);
}

int Title01(const std::string& bmp) {
    // Background of the intro: colour key white, so the sky's stars let the white screen through.
    Picture p(kSide, kSide, 0);
    p.Gradient(0xff0a1838, 0xff40306a);
    for (int i = 0; i < 40; ++i) p.Put((i * 97) % kSide, (i * 61) % 120, 0xffffffff);
    p.FillRect(0, 200, kSide, 56, 0xff2a2a30);
    Robot(&p, 60, 200, 3, 0xff6a7a8a, 0xffd04020);
    Robot(&p, 200, 200, 2, 0xff8a6a50, 0xff20a0d0);
    p.CentredText("ZAU_MOLTA", 70, 48, 244, 1, 0xfff0d040, 0xff000000);
    p.CentredText("ROBOT COMBAT", 124, 16, 200, 1, 0xffe0e0f0, 0xff000000);
    return WritePicturePng(bmp + "/titol01.png", p);
}

int Title02(const std::string& bmp) {
    // The intro's splash: opaque at first, then fading to show titol01 beneath.
    Picture p(kSide, kSide, 0xff000000);
    p.Gradient(0xff300808, 0xff000000);
    p.CentredText("ZAU_MOLTA", 108, 40, 230, 1, 0xffe03020, 0xff000000);
    return WritePicturePng(bmp + "/titol02.png", p);
}

int Title03(const std::string& bmp) {
    // Behind the title menu: the menu sits at the left, the game's name at the right.
    Picture p(kSide, kSide, 0);
    p.Gradient(0xff102028, 0xff304850);
    p.FillRect(0, 0, 96, kSide, 0xff0c1418);
    Robot(&p, 178, 230, 3, 0xff5a6a7a, 0xffd04020);
    p.Text("ZAU_MOLTA", 104, 20, 24, 1, 0xfff0d040);
    return WritePicturePng(bmp + "/titol03.png", p);
}

struct LoadingPicture {
    const char* name;
    int jpeg;
    uint32_t top, bottom;
};
const LoadingPicture kLoading[] = {
    {"load00.png", 0, 0xff202840, 0xff606880},
    {"load01.png", 0, 0xff402010, 0xff806040},
    {"load02.jpg", 1, 0xff103020, 0xff408060},
    {"load03.jpg", 1, 0xff301030, 0xff704070},
    {"load04.jpg", 1, 0xff303010, 0xff707040},
    {"load05.jpg", 1, 0xff102838, 0xff407080},
    {"load06.png", 0, 0xff281818, 0xff684848},
    {"load07.png", 0, 0xff181828, 0xff484868},
};

int Loading(const std::string& bmp) {
    int index = 0;
    for (const LoadingPicture& l : kLoading) {
        Picture p(kSide, kSide, 0);
        p.Gradient(l.top, l.bottom);
        if (index == 0) {
            // Colour key white: a white band across the middle shows the screen behind it.
            p.FillRect(0, 100, kSide, 56, 0xffffffff);
            p.CentredText("NOW LOADING", 112, 28, 230, 1, 0xff202840, 0);
        } else {
            p.CentredText("NOW LOADING", 104, 28, 230, 1, 0xfff0f0f0, 0xff000000);
        }
        Robot(&p, 128, 236, 2, 0xff8090a0, 0xffd06020);
        std::string path = bmp + "/" + l.name;
        if (!(l.jpeg ? WritePictureJpeg(path, p, 90) : WritePicturePng(path, p))) return 0;
        ++index;
    }
    return 1;
}

int MenuFrame(const std::string& bmp) {
    // The strip behind each menu item: 200 x 20 at the top-left of a 256 x 32 picture. It is
    // drawn tinted (translucent, or pulsing when selected), so it stays light.
    Picture p(256, 32, 0x00000000);
    Picture strip(200, 20, 0);
    strip.Gradient(0xfff8f8ff, 0xffb8c8e0);
    strip.Frame(0, 0, 200, 20, 1, 0xff506080);
    strip.FillRect(1, 1, 4, 18, 0xff3050a0);
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 200; ++x) p.Put(x, y, strip.argb[(size_t)y * 200 + x]);
    p.Text("menu_01.png", 4, 21, 10, 0, 0xff808080);
    return WritePicturePng(bmp + "/menu_01.png", p);
}

int WriteTitlePictures(const std::string& dir) {
    std::string bmp = dir + "/bmp";
    return MakeDirs(bmp) && Title01(bmp) && Title02(bmp) && Title03(bmp) && Loading(bmp) && MenuFrame(bmp);
}

}  // namespace

REGISTER_GENERATOR("title pictures", WriteTitlePictures);
