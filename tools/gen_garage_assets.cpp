// Stand-ins of the garage: the hangar behind the showroom robot, the opaque menu strip of the
// garage's menus and the garage's music (also the campaigns' menu music).
#include "audio_writer.h"
#include "generator.h"
#include "picture.h"

#include <string>
#include <vector>

namespace {

// 640 x 480: a hangar wall of panels and ribs above a floor whose seams run to the middle of
// the screen, where the preview camera's horizon lies; the robot stands near the centre.
int HangarBackdrop(const std::string& bmp) {
    constexpr int kFloorTop = 300;
    Picture p(640, 480, 0xff000000);
    for (int y = 0; y < kFloorTop; ++y) {
        int shade = 46 + y * 30 / kFloorTop;
        for (int x = 0; x < 640; ++x) p.Put(x, y, 0xff000000u | (uint32_t)(shade << 16) | (uint32_t)((shade + 6) << 8) | (uint32_t)(shade + 14));
    }
    // Wall panels with their seams and rivets, ribs between bays.
    for (int x = 0; x < 640; x += 80) {
        p.FillRect(x, 0, 10, kFloorTop, 0xff262a33);
        p.FillRect(x + 10, 0, 2, kFloorTop, 0xff6a7080);
        for (int y = 20; y < kFloorTop; y += 60) {
            p.FillRect(x + 12, y, 68, 1, 0xff30343c);
            p.Put(x + 18, y + 6, 0xff9098a8);
            p.Put(x + 74, y + 6, 0xff9098a8);
        }
    }
    // Lamps along the top, a gantry rail and a hazard band where wall meets floor.
    for (int x = 40; x < 640; x += 160) {
        p.FillRect(x - 14, 8, 28, 6, 0xfff0e8c0);
        for (int y = 14; y < 60; ++y) p.Blend(x, y, 0xfff0e8c0, 60 - y);
    }
    p.FillRect(0, 70, 640, 8, 0xff383c44);
    p.FillRect(0, 78, 640, 2, 0xff707888);
    for (int x = -20; x < 640; x += 40) {
        for (int y = kFloorTop - 16; y < kFloorTop; ++y) {
            int from = x + (kFloorTop - y);
            p.FillRect(from, y, 20, 1, 0xffd0b020);
            p.FillRect(from + 20, y, 20, 1, 0xff202020);
        }
    }
    p.Text("HANGAR 3", 470, 100, 28, 1, 0xff8890a0);
    p.Text("ZAU MAINTENANCE BAY", 470, 132, 12, 0, 0xff707888);
    // Floor: concrete with seams toward the vanishing point at (320, 240).
    for (int y = kFloorTop; y < 480; ++y) {
        int shade = 60 + (y - kFloorTop) * 40 / (480 - kFloorTop);
        for (int x = 0; x < 640; ++x) p.Put(x, y, 0xff000000u | (uint32_t)(shade << 16) | (uint32_t)(shade << 8) | (uint32_t)(shade + 4));
    }
    for (int k = -8; k <= 8; ++k)
        for (int y = kFloorTop; y < 480; ++y) {
            int x = 320 + k * 60 * (y - 240) / 60;
            if (x >= 0 && x < 640) p.Put(x, y, 0xff3a3a3e);
        }
    for (int y = kFloorTop; y < 480; y += (y - 230) / 6) p.FillRect(0, y, 640, 1, 0xff3a3a3e);
    // A painted stand marker under the robot.
    for (int x = 200; x < 440; ++x) {
        p.Put(x, 330, 0xffd0b020);
        p.Put(x, 331, 0xffd0b020);
    }
    return WritePicturePng(bmp + "/nikki20041210_zauガレージ.png", p);
}

// The garage menus' strip: 200 x 20 at the top-left of 256 x 32, light and opaque, since the
// opaque style draws it white under dark grey text.
int GarageMenuFrame(const std::string& bmp) {
    Picture p(256, 32, 0x00000000);
    Picture strip(200, 20, 0);
    strip.Gradient(0xfff4f4f0, 0xffc8ccd0);
    strip.Frame(0, 0, 200, 20, 1, 0xff606468);
    strip.FillRect(194, 2, 4, 16, 0xffd0b020);
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 200; ++x) p.Put(x, y, strip.argb[(size_t)y * 200 + x]);
    p.Text("menu_03.png", 4, 21, 10, 0, 0xff808080);
    return WritePicturePng(bmp + "/menu_03.png", p);
}

// A relaxed loop of sixteen bars at 96 beats a minute (40 seconds): electric piano chords,
// a walking bass, a vibraphone line and brushed drums.
int GarageMusic(const std::string& midi) {
    constexpr int kTicks = 96, kBar = 4 * kTicks, kEighth = kTicks / 2;
    const int chords[4][4] = {{50, 53, 57, 60}, {55, 59, 62, 65}, {48, 52, 55, 59}, {45, 48, 52, 55}};
    const int bass[4] = {38, 43, 36, 33};
    const int melody[16] = {69, 67, 65, 64, 62, 64, 65, 67, 71, 69, 67, 65, 64, 62, 60, 62};
    std::vector<MidiNote> notes;
    for (int b = 0; b < 16; ++b) {
        const int start = b * kBar, c = b % 4;
        for (int k = 0; k < 4; ++k) {
            notes.push_back({start, kTicks * 2 - 8, 0, chords[c][k], 56});
            notes.push_back({start + kTicks * 2 + kEighth, kTicks + kEighth - 8, 0, chords[c][k], 48});
        }
        for (int beat = 0; beat < 4; ++beat) {
            const int step[4] = {0, 7, 12, 7};
            notes.push_back({start + beat * kTicks, kTicks - 10, 1, bass[c] + step[beat], 84});
        }
        if (b % 4 != 3)
            for (int e = 0; e < 4; ++e)
                notes.push_back({start + e * kTicks, kTicks - 12, 2, melody[(b * 4 + e) % 16] + (b >= 8 ? 12 : 0), 72});
        for (int beat = 0; beat < 4; ++beat) {
            notes.push_back({start + beat * kTicks, 10, 9, beat % 2 ? 38 : 36, beat % 2 ? 50 : 80});
            for (int h = 0; h < 2; ++h) notes.push_back({start + beat * kTicks + h * kEighth, 10, 9, 44, 40});
        }
    }
    const std::vector<MidiProgram> programs = {{0, 4}, {1, 32}, {2, 11}};
    return WriteMidi(midi + "/VIZI-DUDU_V1.mid", MakeMidi(kTicks, 60000000 / 96, programs, notes));
}

int WriteGarageAssets(const std::string& dir) {
    const std::string bmp = dir + "/bmp", midi = dir + "/midi";
    return MakeDirs(bmp) && MakeDirs(midi) && HangarBackdrop(bmp) && GarageMenuFrame(bmp) && GarageMusic(midi);
}

}  // namespace

REGISTER_GENERATOR("garage assets", WriteGarageAssets);
