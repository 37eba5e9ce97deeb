// Stand-in stage textures under ".\map": floors, walls, façades and the sky pictures of the
// weather boxes, drawn from noise and simple shapes. Names start "stg_" or "sky_" so they never
// meet another folder's textures in the cache. Pictures meant to cut out (leaves, fences) keep
// their holes pure black, the colour key of the meshes loaded with it; the wall barrier has real
// transparency, since most stages load without a key.
#include "generator.h"
#include "picture.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>

namespace {

constexpr int kSize = 128;
constexpr uint32_t kKey = 0xFF000000;

uint32_t Hash(int x, int y, int seed) {
    uint32_t h = static_cast<uint32_t>(x) * 374761393u + static_cast<uint32_t>(y) * 668265263u + seed * 2246822519u;
    h = (h ^ (h >> 13)) * 1274126177u;
    return h ^ (h >> 16);
}
float Noise(int x, int y, int seed) { return (Hash(x, y, seed) & 0xFFFF) / 65535.0f; }

// Smooth value noise that wraps every `period` pixels, so the pictures tile.
float Smooth(float x, float y, int period, int seed) {
    int x0 = static_cast<int>(std::floor(x)), y0 = static_cast<int>(std::floor(y));
    float fx = x - x0, fy = y - y0;
    auto at = [&](int i, int j) { return Noise(((i % period) + period) % period, ((j % period) + period) % period, seed); };
    fx = fx * fx * (3 - 2 * fx), fy = fy * fy * (3 - 2 * fy);
    float a = at(x0, y0) + (at(x0 + 1, y0) - at(x0, y0)) * fx;
    float b = at(x0, y0 + 1) + (at(x0 + 1, y0 + 1) - at(x0, y0 + 1)) * fx;
    return a + (b - a) * fy;
}

// Two octaves over the picture, 0..1.
float Cloudy(int x, int y, int side, int seed) {
    return 0.65f * Smooth(x * 8.0f / side, y * 8.0f / side, 8, seed) + 0.35f * Smooth(x * 16.0f / side, y * 16.0f / side, 16, seed + 1);
}

uint32_t Rgb(float r, float g, float b) {
    auto c = [](float v) { return static_cast<uint32_t>((v < 0 ? 0 : v > 1 ? 1 : v) * 255.0f + 0.5f); };
    return 0xFF000000u | c(r) << 16 | c(g) << 8 | c(b);
}

// Every pixel a base colour scaled by noise of the given depth.
Picture Noisy(float r, float g, float b, float depth, int seed) {
    Picture p(kSize, kSize, 0);
    for (int y = 0; y < kSize; ++y)
        for (int x = 0; x < kSize; ++x) {
            float n = 1 - depth + depth * (0.7f * Cloudy(x, y, kSize, seed) + 0.3f * Noise(x, y, seed + 7));
            p.Put(x, y, Rgb(r * n, g * n, b * n));
        }
    return p;
}

Picture Panel() {
    Picture p = Noisy(0.58f, 0.62f, 0.68f, 0.25f, 1);
    for (int k = 0; k < kSize; k += 64) {
        p.FillRect(k, 0, 2, kSize, 0xFF20252C);
        p.FillRect(0, k, kSize, 2, 0xFF20252C);
    }
    for (int y = 8; y < kSize; y += 64)
        for (int x = 8; x < kSize; x += 64)
            for (int dx : {0, 46}) p.FillRect(x + dx, y, 3, 3, 0xFF8A9098);
    return p;
}

Picture Asphalt() {
    Picture p = Noisy(0.3f, 0.3f, 0.32f, 0.35f, 2);
    for (int i = 0; i < 40; ++i) p.Put(20 + i, 70 + (i * 7 % 5), 0xFF1A1A1C);  // a crack
    return p;
}

Picture Windows(int seed) {
    Picture p = Noisy(0.55f, 0.55f, 0.58f, 0.2f, seed);
    for (int y = 6; y < kSize; y += 16)
        for (int x = 4; x < kSize; x += 16) {
            bool lit = Hash(x, y, seed) % 5 == 0, broken = Hash(x, y, seed + 3) % 7 == 0;
            p.FillRect(x, y, 9, 10, broken ? 0xFF101010 : lit ? 0xFFE8D070 : 0xFF2A3A55);
        }
    return p;
}

Picture Bricks(float r, float g, float b, int seed) {
    Picture p = Noisy(r, g, b, 0.3f, seed);
    for (int row = 0; row < kSize / 16; ++row) {
        p.FillRect(0, row * 16, kSize, 2, Rgb(r * 0.55f, g * 0.55f, b * 0.55f));
        for (int x = (row % 2) * 16; x < kSize; x += 32) p.FillRect(x, row * 16, 2, 16, Rgb(r * 0.55f, g * 0.55f, b * 0.55f));
    }
    return p;
}

Picture Grass() {
    Picture p = Noisy(0.3f, 0.55f, 0.2f, 0.45f, 4);
    for (int i = 0; i < 300; ++i) {
        int x = Hash(i, 1, 4) % kSize, y = Hash(i, 2, 4) % kSize;
        for (int k = 0; k < 4; ++k) p.Put(x, y - k, 0xFF4C8A2E);
    }
    return p;
}

// Leaf clusters on the colour key: cut out where black.
Picture Leaves() {
    Picture p(kSize, kSize, kKey);
    for (int i = 0; i < 220; ++i) {
        int cx = 8 + Hash(i, 1, 5) % (kSize - 16), cy = 8 + Hash(i, 2, 5) % (kSize - 16), rad = 3 + Hash(i, 3, 5) % 6;
        float shade = 0.5f + 0.5f * Noise(i, 4, 5);
        for (int y = -rad; y <= rad; ++y)
            for (int x = -rad; x <= rad; ++x)
                if (x * x + y * y <= rad * rad) p.Put(cx + x, cy + y, Rgb(0.15f * shade, 0.45f * shade + 0.05f, 0.12f * shade));
    }
    return p;
}

Picture Fence() {
    Picture p(kSize, kSize, kKey);
    for (int k = -kSize; k < kSize; k += 16)
        for (int t = 0; t < kSize; ++t) {
            p.Put(k + t, t, 0xFFA0A8B0);
            p.Put(k + t + 1, t, 0xFFA0A8B0);
            p.Put(kSize - 1 - (k + t), t, 0xFF8890A0);
            p.Put(kSize - (k + t), t, 0xFF8890A0);
        }
    p.FillRect(0, 0, kSize, 4, 0xFF707880);  // top rail
    return p;
}

// The see-through barrier above the arena walls: a lattice on full transparency, so that the
// sky and whatever stands behind show through at every graphics level (the stage is drawn
// with the alpha test on, whatever its colour key).
Picture Barrier() {
    Picture p(kSize, kSize, 0x00000000);
    for (int k = 0; k < kSize; k += 64) {
        p.FillRect(k, 0, 4, kSize, 0xFFFFFFFF);
        p.FillRect(0, k, kSize, 4, 0xFFFFFFFF);
        p.FillRect(k + 30, k + 30, 4, 4, 0xFFFFFFFF);  // a node mid-cell, so a cell reads at a glance
    }
    return p;
}

Picture Helipad() {
    Picture p = Noisy(0.32f, 0.33f, 0.35f, 0.2f, 6);
    for (int y = 0; y < kSize; ++y)
        for (int x = 0; x < kSize; ++x) {
            float d = std::sqrt(float((x - 64) * (x - 64) + (y - 64) * (y - 64)));
            if (d > 52 && d < 58) p.Put(x, y, 0xFFE0C020);
        }
    p.FillRect(40, 34, 10, 60, 0xFFF0F0F0);
    p.FillRect(78, 34, 10, 60, 0xFFF0F0F0);
    p.FillRect(50, 59, 28, 10, 0xFFF0F0F0);
    return p;
}

Picture Energy() {
    Picture p = Noisy(0.16f, 0.14f, 0.2f, 0.3f, 7);
    for (int k = 0; k < kSize; k += 32) {
        p.FillRect(k, 0, 2, kSize, 0xFFB040FF);
        p.FillRect(0, k, kSize, 2, 0xFFB040FF);
        p.FillRect(k + 14, k + 14, 4, 4, 0xFFFF4080);
    }
    return p;
}

Picture Gravel() {
    Picture p = Noisy(0.78f, 0.76f, 0.7f, 0.2f, 8);
    for (int y = 0; y < kSize; y += 8) p.FillRect(0, y, kSize, 2, 0xFF9C988C);  // raked lines
    return p;
}

Picture Wood() {
    Picture p(kSize, kSize, 0);
    for (int y = 0; y < kSize; ++y)
        for (int x = 0; x < kSize; ++x) {
            float grain = 0.75f + 0.25f * std::sin(x * 0.35f + 3 * Smooth(x / 16.0f, y / 16.0f, 8, 9));
            p.Put(x, y, Rgb(0.5f * grain, 0.32f * grain, 0.18f * grain));
        }
    for (int x = 0; x < kSize; x += 32) p.FillRect(x, 0, 2, kSize, 0xFF3A2412);
    return p;
}

Picture Water() {
    Picture p(kSize, kSize, 0);
    for (int y = 0; y < kSize; ++y)
        for (int x = 0; x < kSize; ++x) {
            float w = 0.5f + 0.5f * std::sin((x + 8 * Cloudy(x, y, kSize, 10)) * 0.2f);
            p.Put(x, y, Rgb(0.1f + 0.1f * w, 0.3f + 0.15f * w, 0.5f + 0.2f * w));
        }
    return p;
}

Picture Checker() {
    Picture p(kSize, kSize, 0);
    for (int y = 0; y < kSize; ++y)
        for (int x = 0; x < kSize; ++x) p.Put(x, y, ((x / 32) + (y / 32)) % 2 ? 0xFFC8CCD4 : 0xFF6A7080);
    p.Frame(0, 0, kSize, kSize, 1, 0xFF303440);
    return p;
}

// ---- Skies: u runs along a wall, v from the top of the wall (0) to its foot (1) ----

struct SkyColours {
    uint32_t top, horizon, ground;
};

uint32_t Mix(uint32_t a, uint32_t b, float t) {
    auto ch = [&](int s) {
        float va = (a >> s) & 0xFF, vb = (b >> s) & 0xFF;
        return static_cast<uint32_t>(va + (vb - va) * t + 0.5f) << s;
    };
    return 0xFF000000u | ch(16) | ch(8) | ch(0);
}

// Top half the sky, the middle the horizon, the foot the ground below it; `skyline` draws the
// silhouette standing on the horizon (height in pixels per column).
template <typename Skyline>
Picture Sky(SkyColours c, uint32_t silhouette, Skyline skyline, int clouds, int stars) {
    const int side = 256, horizon = side / 2 + 16;
    Picture p(side, side, 0);
    for (int y = 0; y < side; ++y)
        for (int x = 0; x < side; ++x) {
            uint32_t col = y < horizon ? Mix(c.top, c.horizon, float(y) / horizon)
                                       : Mix(c.horizon, c.ground, std::min(1.0f, float(y - horizon) / 24));
            if (clouds && y < horizon) {
                float n = Cloudy(x, y * 3, side, 11);
                if (n > 0.55f) col = Mix(col, 0xFFF4F4F8, std::min(0.85f, (n - 0.55f) * 3));
            }
            p.Put(x, y, col);
        }
    for (int i = 0; i < stars; ++i) p.Put(Hash(i, 1, 12) % side, Hash(i, 2, 12) % (horizon - 20), i % 3 ? 0xFFB0B8D0 : 0xFFFFFFFF);
    for (int x = 0; x < side; ++x) {
        int h = skyline(x);
        for (int y = horizon - h; y < horizon + 4; ++y) p.Put(x, y, silhouette);
    }
    return p;
}

int WriteStageTextures(const std::string& dir) {
    const std::string m = dir + "/map/";
    if (!MakeDirs(m)) return 0;
    auto city = [](int x) {  // blocks of towers
        int block = x / 12;
        return int(10 + Hash(block, 0, 13) % 30);
    };
    auto mountains = [](int x) { return int(30 + 22 * std::sin(x * 0.049f) + 12 * std::sin(x * 0.147f + 1)); };
    auto treeline = [](int x) { return int(18 + (Hash(x / 6, 0, 14) % 14) - std::abs((x % 6) - 3) * 2); };
    auto dunes = [](int x) { return int(10 + 8 * std::sin(x * 0.0245f) + 4 * std::sin(x * 0.098f)); };
    auto flat = [](int) { return 0; };
    Picture cityNight = Sky({0xFF0A0E24, 0xFF4A3050, 0xFF101018}, 0xFF141420, city, 0, 120);
    for (int i = 0; i < 400; ++i) {  // lit windows in the skyline
        int x = Hash(i, 5, 15) % 256, y = 144 - 4 - Hash(i, 6, 15) % 40;
        if (y > 144 - city(x)) cityNight.Put(x, y, 0xFFE8C860);
    }
    return WritePicturePng(m + "stg_panel.png", Panel()) && WritePicturePng(m + "stg_asphalt.png", Asphalt()) &&
           WritePicturePng(m + "stg_windows.png", Windows(3)) && WritePicturePng(m + "stg_tower.png", Windows(17)) &&
           WritePicturePng(m + "stg_sand.png", Noisy(0.82f, 0.72f, 0.5f, 0.3f, 20)) &&
           WritePicturePng(m + "stg_stone.png", Bricks(0.78f, 0.66f, 0.48f, 21)) &&
           WritePicturePng(m + "stg_rock.png", Noisy(0.45f, 0.42f, 0.4f, 0.5f, 22)) &&
           WritePicturePng(m + "stg_snow.png", Noisy(0.95f, 0.97f, 1.0f, 0.12f, 23)) &&
           WritePicturePng(m + "stg_grass.png", Grass()) && WritePicturePng(m + "stg_leaves.png", Leaves()) &&
           WritePicturePng(m + "stg_roof.png", Bricks(0.62f, 0.62f, 0.6f, 24)) &&
           WritePicturePng(m + "stg_fence.png", Fence()) && WritePicturePng(m + "stg_helipad.png", Helipad()) &&
           WritePicturePng(m + "stg_barrier.png", Barrier()) &&
           WritePicturePng(m + "stg_energy.png", Energy()) && WritePicturePng(m + "stg_gravel.png", Gravel()) &&
           WritePicturePng(m + "stg_wood.png", Wood()) && WritePicturePng(m + "stg_water.png", Water()) &&
           WritePicturePng(m + "stg_check.png", Checker()) &&
           WritePicturePng(m + "stg_ice.png", Noisy(0.7f, 0.85f, 0.95f, 0.25f, 25)) &&
           WritePicturePng(m + "sky_day.png", Sky({0xFF2860B8, 0xFFB8D0E8, 0xFF505860}, 0xFF606C78, mountains, 1, 0)) &&
           WritePicturePng(m + "sky_city.png", cityNight) &&
           WritePicturePng(m + "sky_forest.png", Sky({0xFF8C9498, 0xFFC8CCCC, 0xFF30402C}, 0xFF2C4028, treeline, 1, 0)) &&
           WritePicturePng(m + "sky_dusk.png", Sky({0xFF302058, 0xFFF09850, 0xFF281C28}, 0xFF2A2030, mountains, 0, 20)) &&
           WritePicturePng(m + "sky_night.png", Sky({0xFF02040C, 0xFF18284A, 0xFF0C0C14}, 0xFF0C0E18, dunes, 0, 300)) &&
           WritePicturePng(m + "sky_open.png", Sky({0xFF3070D0, 0xFFD0E0F0, 0xFFE0E8F0}, 0xFFFFFFFF, flat, 1, 0));
}

}  // namespace

REGISTER_GENERATOR("stage textures", WriteStageTextures);
