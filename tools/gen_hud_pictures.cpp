// Stand-in pictures and sounds of the battle view: the two banner strips, the sight frame, the
// round sight, aim cross, direction arrow and lock-marker bracket, the state labels, the meter
// sheet the bars and name tags are cut from, the radar blips, and the lock, target and banner
// sounds. Pictures loaded with the colour key have opaque black where they are see-through;
// the others carry their own alpha.
#include "audio_writer.h"
#include "generator.h"
#include "picture.h"

#include <cmath>

namespace {

constexpr uint32_t kClear = 0x00000000;
constexpr uint32_t kKeyed = 0xFF000000;

// A ring of the given thickness; soft edges only on see-through pictures (on keyed ones a soft
// edge would leave a dark rim).
void Ring(Picture& p, float cx, float cy, float r, float thickness, uint32_t color, bool soft) {
    for (int y = 0; y < p.height; ++y)
        for (int x = 0; x < p.width; ++x) {
            float d = std::fabs(std::hypot(x + 0.5f - cx, y + 0.5f - cy) - r);
            float cover = thickness / 2 + 0.5f - d;
            if (cover <= 0) continue;
            if (soft) p.Blend(x, y, color, int(std::fmin(cover, 1.0f) * 255));
            else if (cover >= 0.5f) p.Put(x, y, color);
        }
}

void Disc(Picture& p, float cx, float cy, float r, uint32_t color) {
    for (int y = 0; y < p.height; ++y)
        for (int x = 0; x < p.width; ++x)
            if (std::hypot(x + 0.5f - cx, y + 0.5f - cy) <= r) p.Put(x, y, color);
}

// Filled triangle pointing up with its apex at (cx, top).
void UpTriangle(Picture& p, int cx, int top, int half, int height, uint32_t color) {
    for (int j = 0; j < height; ++j) {
        int w = half * j / height;
        p.FillRect(cx - w, top + j, 2 * w + 1, 1, color);
    }
}

int WriteBanners(const std::string& bmp) {
    // Strips of 256 x 32: a dark glass band with a lit edge; the text sits at (10, 7).
    struct Band {
        const char* name;
        uint32_t top, bottom, edge;
    } bands[] = {{"info_01.png", 0xE0102050, 0xE0060C20, 0xFF6A8CFF}, {"info_02.png", 0xE0502010, 0xE0200806, 0xFFFFB040}};
    for (const Band& b : bands) {
        Picture p(256, 32, kClear);
        for (int y = 2; y < 30; ++y) {
            float t = (y - 2) / 27.0f;
            for (int x = 0; x < 220; ++x) {
                // Fades out toward the right end so text of any length sits on the band.
                float fade = x < 180 ? 1.0f : 1.0f - (x - 180) / 40.0f;
                uint32_t a = uint32_t(((b.top >> 24) * (1 - t) + (b.bottom >> 24) * t) * fade);
                auto ch = [&](int s) {
                    return uint32_t(((b.top >> s) & 0xFF) * (1 - t) + ((b.bottom >> s) & 0xFF) * t) << s;
                };
                p.Put(x, y, (a << 24) | ch(16) | ch(8) | ch(0));
            }
        }
        p.FillRect(0, 2, 200, 1, b.edge);
        p.FillRect(0, 29, 200, 1, b.edge & 0x80FFFFFF);
        p.FillRect(0, 2, 3, 28, b.edge);
        if (!WritePicturePng(bmp + b.name, p)) return 0;
    }
    return 1;
}

int WriteSights(const std::string& bmp) {
    // The sight frame, stretched over the whole screen (x 2.5, y 1.875): corner ticks, a centre
    // ring and a heading scale along the top.
    Picture frame(256, 256, kKeyed);
    const uint32_t green = 0xFF60FF90;
    for (int c = 0; c < 4; ++c) {
        int x = c & 1 ? 226 : 10, y = c & 2 ? 226 : 10;
        int dx = c & 1 ? -1 : 1, dy = c & 2 ? -1 : 1;
        frame.FillRect(dx > 0 ? x : x - 19, y, 20, 1, green);
        frame.FillRect(x, dy > 0 ? y : y - 19, 1, 20, green);
    }
    Ring(frame, 128, 128, 22, 1.0f, green, false);
    for (int i = 0; i < 4; ++i) {
        static const int dx[] = {1, -1, 0, 0}, dy[] = {0, 0, 1, -1};
        for (int k = 26; k < 34; ++k) frame.Put(128 + dx[i] * k, 128 + dy[i] * k, green);
    }
    for (int x = 68; x <= 188; x += 8) frame.FillRect(x, 6, 1, (x - 68) % 40 == 0 ? 5 : 2, green);
    if (!WritePicturePng(bmp + "comp4.png", frame)) return 0;

    // Round sight, 64 x 64: a ring with four inward ticks.
    Picture round(64, 64, kClear);
    Ring(round, 32, 32, 27, 2.5f, 0xFFFFFFFF, true);
    Ring(round, 32, 32, 18, 1.0f, 0xC0FFFFFF, true);
    round.FillRect(31, 2, 2, 10, 0xFFFFFFFF);
    round.FillRect(31, 52, 2, 10, 0xFFFFFFFF);
    round.FillRect(2, 31, 10, 2, 0xFFFFFFFF);
    round.FillRect(52, 31, 10, 2, 0xFFFFFFFF);
    if (!WritePicturePng(bmp + "comp4_1.png", round)) return 0;

    // Aim cross, 32 x 32, open in the middle.
    Picture aim(32, 32, kClear);
    aim.FillRect(15, 3, 2, 9, 0xFFA0FFA0);
    aim.FillRect(15, 20, 2, 9, 0xFFA0FFA0);
    aim.FillRect(3, 15, 9, 2, 0xFFA0FFA0);
    aim.FillRect(20, 15, 9, 2, 0xFFA0FFA0);
    aim.FillRect(15, 15, 2, 2, 0xFFFFFFFF);
    if (!WritePicturePng(bmp + "comp4_2.png", aim)) return 0;

    // Direction arrow, pointing up.
    Picture arrow(32, 32, kClear);
    UpTriangle(arrow, 16, 2, 13, 16, 0xFFFFD040);
    arrow.FillRect(11, 18, 11, 11, 0xFFFFD040);
    if (!WritePicturePng(bmp + "comp4_3.png", arrow)) return 0;

    // Lock-marker bracket: the lower-right corner of a box (unturned it sits below and right of
    // the target), white so the marker's colour tints it.
    Picture bracket(32, 32, kClear);
    bracket.FillRect(6, 23, 20, 3, 0xFFFFFFFF);
    bracket.FillRect(23, 6, 3, 20, 0xFFFFFFFF);
    return WritePicturePng(bmp + "comp4_4.png", bracket);
}

int WriteLabels(const std::string& bmp) {
    // Five 25-pixel rows: HIT, DAMAGE, STUN, DOWN, GUARD.
    Picture p(128, 128, kKeyed);
    struct Row {
        const char* text;
        uint32_t color;
    } rows[] = {{"HIT", 0xFFFFE040}, {"DAMAGE", 0xFFFF5040}, {"STUN", 0xFFFFA040}, {"DOWN", 0xFFFF3030},
                {"GUARD", 0xFF60C0FF}};
    for (int i = 0; i < 5; ++i) {
        int w = TextWidth(rows[i].text, 20, 1);
        int x = (128 - w) / 2;
        // A hard one-pixel outline in a dark tint, then the letters.
        for (int d = 0; d < 4; ++d) {
            static const int ox[] = {1, -1, 0, 0}, oy[] = {0, 0, 1, -1};
            p.Text(rows[i].text, x + ox[d], 25 * i + 2 + oy[d], 20, 1, 0xFF202020);
        }
        p.Text(rows[i].text, x, 25 * i + 2, 20, 1, rows[i].color);
    }
    // The text rasteriser blends its edges over black: pull those pixels off exact black.
    for (uint32_t& px : p.argb)
        if (px != kKeyed && (px & 0xFFFFFF) < 0x101010) px = 0xFF101010;
    return WritePicturePng(bmp + "hit_02.png", p);
}

int WriteMeter(const std::string& bmp) {
    // Cut by the display: tag bar fill y 0-5, its back 5-10; HP filled 10-25 and empty 25-40
    // (x 0-100); AP fill 40-50; the AP label x 0-27 and bar back x 28-128 at 50-60; VP fill
    // 60-70, label and back 70-80; EP fill 80-90, label and back 90-100.
    Picture p(128, 128, kClear);
    p.FillRect(0, 0, 128, 5, 0xFFFFFFFF);
    p.FillRect(0, 5, 128, 5, 0xFF404040);
    for (int y = 10; y < 25; ++y) {
        uint32_t g = uint32_t(0x60 + (y - 10) * 6);
        p.FillRect(0, y, 100, 1, 0xFF000000 | (g / 3) << 16 | g << 8 | 0xFF);
    }
    p.FillRect(0, 10, 100, 2, 0xFFC0F0FF);
    p.FillRect(0, 25, 100, 15, 0xFF1A2030);
    p.FillRect(0, 25, 100, 1, 0xFF506080);
    p.FillRect(0, 39, 100, 1, 0xFF506080);
    for (int x = 0; x < 100; x += 10) p.FillRect(x, 10, 1, 30, 0x60000000);
    auto label = [&](const char* text, int y, uint32_t fill, int fillY) {
        p.FillRect(28, fillY, 100, 10, fill);
        p.FillRect(28, fillY, 100, 2, 0xFFFFFFFF);
        p.FillRect(0, y, 27, 10, 0xFF202838);
        p.Text(text, 3, y, 10, 1, 0xFFFFFFFF);
        p.FillRect(28, y, 100, 10, 0xFF000000);
    };
    label("AP", 50, 0xFFE0C040, 40);
    label("VP", 70, 0xFF40E070, 60);
    label("EP", 90, 0xFFFF8040, 80);
    return WritePicturePng(bmp + "mter_02.png", p);
}

int WriteBlips(const std::string& bmp) {
    // 16 x 16, pointing up: the target (red with a ring), a team-mate (blue), an enemy (orange),
    // a shot (a yellow dot).
    const uint32_t colors[3] = {0xFFFF3030, 0xFF50A0FF, 0xFFFF9030};
    for (int i = 0; i < 3; ++i) {
        Picture p(16, 16, kKeyed);
        UpTriangle(p, 8, 1, 6, 13, colors[i]);
        if (i == 0) Ring(p, 8, 8, 7, 1.0f, 0xFFFFFFFF, false);
        if (!WritePicturePng(bmp + "ld_0" + std::to_string(i + 1) + ".png", p)) return 0;
    }
    Picture shot(16, 16, kKeyed);
    Disc(shot, 8, 8, 2.5f, 0xFFFFFF60);
    return WritePicturePng(bmp + "ld_04.png", shot);
}

int WriteSounds(const std::string& wave) {
    constexpr int kRate = 22050;
    std::vector<int16_t> beep = MakeTone(kRate, 1760, 0.05, 0.5), second = MakeTone(kRate, 2349, 0.07, 0.5);
    beep.insert(beep.end(), second.begin(), second.end());
    std::vector<int16_t> chime = MakeTone(kRate, 1318.5, 0.06, 0.4), low = MakeTone(kRate, 987.8, 0.09, 0.35);
    chime.insert(chime.end(), low.begin(), low.end());
    return WriteWav(wave + "shoot15.wav", kRate, 16, 1, beep) && WriteWav(wave + "se_cn_03.wav", kRate, 16, 1, MakeClick(kRate)) &&
           WriteWav(wave + "cursor03.wav", kRate, 16, 1, chime);
}

int WriteHudAssets(const std::string& dir) {
    const std::string bmp = dir + "/bmp/", wave = dir + "/wave/";
    return MakeDirs(bmp) && MakeDirs(wave) && WriteBanners(bmp) && WriteSights(bmp) && WriteLabels(bmp) &&
           WriteMeter(bmp) && WriteBlips(bmp) && WriteSounds(wave);
}

}  // namespace

REGISTER_GENERATOR("battle view pictures", WriteHudAssets);
