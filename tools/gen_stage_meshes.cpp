// Stand-in stage meshes under ".\map". Each arena has a collision ground (never drawn: floors
// up, walls facing the arena, only large triangles), a visible stage and a weather box (an
// inward sky box, or falling snow), in mesh units that the battle scales by 10. Robots start at
// x 0 or +-0.1, z +-0.6, so every ground is solid there. Every floor ends at a wall, except on
// the final stage, whose open edges are its danger: the CPU types without fall avoidance would
// otherwise walk off and lose a battle that nobody fought. Walls are drawn as high as they stop
// robots and shots, facing the arena only: the chase camera does not test walls, and from behind
// one it must see the robot through it.
#include "generator.h"
#include "mesh_builder.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <functional>
#include <string>

namespace {

constexpr float kPi = 3.14159265f;
constexpr float kSkyHalf = 5.0f;  // weather boxes reach 50 world units: inside the 100 far plane
constexpr float kTile = 0.5f;     // longest side of a drawn floor tile or wall section
// Collision walls reach this far above the ground beside them, whatever is drawn: a robot's
// root rises about 0.5 in its highest jump, and the tallest block it can jump from is 0.5 high.
constexpr float kFenceTop = 2.0f;
constexpr float kFenceOverlap = 0.05f;  // walls run on past their corners: no seam between two
constexpr float kTrim = 0.03f;          // the strip of colour along the top of a wall's solid foot
// Drawn things stand this far behind a wall at least: the camera, up to 4.5 world units behind
// its robot, must not end up behind them when the robot is at the wall.
constexpr float kCameraRoom = 0.5f;
// Height fields span [-3.2, 3.2] in an odd number of cells, so that no seam between two of their
// triangles runs along x = 0 or z = 0, where robots start and walk: a pick right beside a seam
// can slip between the two triangles and drop the robot through the ground.
constexpr int kTerrainCells = 15;
constexpr float kTerrainCell = 6.4f / kTerrainCells;

uint32_t Hash(int a, int b) {
    uint32_t h = static_cast<uint32_t>(a) * 2654435761u ^ static_cast<uint32_t>(b) * 40503u;
    h = (h ^ (h >> 15)) * 2246822519u;
    return h ^ (h >> 13);
}
float Rand01(int a, int b) { return (Hash(a, b) & 0xFFFF) / 65535.0f; }

// The ground and the visible stage, built side by side.
struct Arena {
    CMeshBuilder ground, visible;
    int bottoms = 1;  // 0 where the stage is its own ground: no face may look down
    Arena() { ground.AddMaterial(0.5f, 0.5f, 0.5f); }

    int Mat(float r, float g, float b, const char* texture = nullptr, float tile = 1.0f) {
        int m = visible.AddMaterial(r, g, b);
        if (texture) visible.SetTexture(m, texture, tile);
        return m;
    }
    int Glow(float r, float g, float b) {
        int m = visible.AddMaterial(r, g, b);
        visible.SetGlow(m, r, g, b);
        return m;
    }
    // A floor facing up at height y: one quad on the ground, tiles on the stage (fog is worked out
    // at the corners, so a face reaching behind the camera would be fogged all over).
    void Floor(float x0, float z0, float x1, float z1, float y, int mat, int collide = 1) {
        V3 below(x0, y - 1, z0);
        if (collide) ground.Quad(V3(x0, y, z0), V3(x1, y, z0), V3(x1, y, z1), V3(x0, y, z1), below);
        visible.Use(mat);
        const int nx = Tiles(x1 - x0), nz = Tiles(z1 - z0);
        for (int j = 0; j < nz; ++j)
            for (int i = 0; i < nx; ++i) {
                float ax = x0 + (x1 - x0) * i / nx, bx = x0 + (x1 - x0) * (i + 1) / nx;
                float az = z0 + (z1 - z0) * j / nz, bz = z0 + (z1 - z0) * (j + 1) / nz;
                visible.Quad(V3(ax, y, az), V3(bx, y, az), V3(bx, y, bz), V3(ax, y, bz), below);
            }
    }
    static int Tiles(float length) { return std::max(1, static_cast<int>(std::ceil(std::fabs(length) / kTile))); }
    // A solid block: the ground gets its top and sides (large faces), the stage the whole box.
    void Block(V3 centre, V3 size, int mat, int collide = 1) {
        visible.Use(mat);
        visible.Box(centre, size, bottoms);
        if (collide) ground.Box(centre, size, 0);
    }
    // A round column drawn with `sides` faces; the ground takes it as its square box.
    void Column(V3 base, float r, float h, int mat, int sides = 10, int collide = 1) {
        visible.Use(mat);
        visible.Cylinder(base, base + V3(0, h, 0), r, r, sides);
        if (collide) ground.Box(base + V3(0, h / 2, 0), V3(r * 1.8f, h, r * 1.8f), 0);
    }
    // Collision walls round the rectangle [x0, x1] x [z0, z1] from height y0 to y1, facing
    // inward, one face a side.
    void Fence(float x0, float z0, float x1, float z1, float y0, float y1) {
        const float e = kFenceOverlap, ym = (y0 + y1) / 2;
        struct Side {
            V3 from, to, behind;
        };
        const Side sides[4] = {{V3(x0 - e, 0, z1), V3(x1 + e, 0, z1), V3(0, ym, z1 + 1)},
                               {V3(x0 - e, 0, z0), V3(x1 + e, 0, z0), V3(0, ym, z0 - 1)},
                               {V3(x1, 0, z0 - e), V3(x1, 0, z1 + e), V3(x1 + 1, ym, 0)},
                               {V3(x0, 0, z0 - e), V3(x0, 0, z1 + e), V3(x0 - 1, ym, 0)}};
        for (const Side& s : sides) {
            const V3 p = s.from, q = s.to;
            ground.Quad(V3(p.x, y0, p.z), V3(q.x, y0, q.z), V3(q.x, y1, q.z), V3(p.x, y1, p.z), s.behind);
        }
    }
    // How a wall is drawn: its solid foot, a trim strip along the foot's top (none when -1) and
    // the see-through barrier up to where the wall stops things.
    struct WallLook {
        int foot, trim, barrier;
    };
    int Barrier(float r, float g, float b) {
        int m = Mat(r, g, b, "stg_barrier.png", 0.5f);
        visible.SetGlow(m, r * 0.6f, g * 0.6f, b * 0.6f);
        return m;
    }
    // One straight wall on the stage from p to q (their x and z), its front away from `outward`:
    // the foot from y0 up to footP and footQ at its two ends, then the barrier up to y1, in
    // short sections for the fog as with the floors. One plane with no top or back, so that
    // from behind nothing of it is drawn.
    void WallFace(V3 p, V3 q, float y0, float footP, float footQ, float y1, V3 outward, const WallLook& look) {
        const int n = Tiles(std::sqrt((q.x - p.x) * (q.x - p.x) + (q.z - p.z) * (q.z - p.z)));
        for (int k = 0; k < n; ++k) {
            const float s = float(k) / n, t = float(k + 1) / n;
            const V3 a = p + (q - p) * s, b = p + (q - p) * t;
            const float fa = footP + (footQ - footP) * s, fb = footP + (footQ - footP) * t;
            const float ta = look.trim >= 0 ? std::max(y0, fa - kTrim) : fa, tb = look.trim >= 0 ? std::max(y0, fb - kTrim) : fb;
            const V3 behind = (a + b) * 0.5f + outward + V3(0, (y0 + y1) / 2, 0);
            visible.Use(look.foot);
            visible.Quad(V3(a.x, y0, a.z), V3(b.x, y0, b.z), V3(b.x, tb, b.z), V3(a.x, ta, a.z), behind);
            if (look.trim >= 0) {
                visible.Use(look.trim);
                visible.Quad(V3(a.x, ta, a.z), V3(b.x, tb, b.z), V3(b.x, fb, b.z), V3(a.x, fa, a.z), behind);
            }
            visible.Use(look.barrier);
            visible.Quad(V3(a.x, fa, a.z), V3(b.x, fb, b.z), V3(b.x, y1, b.z), V3(a.x, y1, a.z), behind);
        }
    }
    // The drawn walls of Fence: the same four planes, the foot `foot` high above y0.
    void DrawnFence(float x0, float z0, float x1, float z1, float y0, float foot, float y1, const WallLook& look) {
        const float e = kFenceOverlap, f = y0 + foot;
        WallFace(V3(x0 - e, 0, z1), V3(x1 + e, 0, z1), y0, f, f, y1, V3(0, 0, 1), look);
        WallFace(V3(x0 - e, 0, z0), V3(x1 + e, 0, z0), y0, f, f, y1, V3(0, 0, -1), look);
        WallFace(V3(x1, 0, z0 - e), V3(x1, 0, z1 + e), y0, f, f, y1, V3(1, 0, 0), look);
        WallFace(V3(x0, 0, z0 - e), V3(x0, 0, z1 + e), y0, f, f, y1, V3(-1, 0, 0), look);
    }
    // A closed ring of n walls of radius r (to their faces), on the ground fence-high; on the
    // stage a foot h high and the barrier above it. A square ring (n 4, no turn) stands on the
    // edges of a floor of half size r.
    void RingWall(int n, float r, float h, const WallLook& look, float turn = 0) {
        for (int i = 0; i < n; ++i) {
            float a = turn + 2 * kPi * i / n, half = r * std::tan(kPi / n);
            Place p = Place().TurnedY(a);
            ground.SetPlace(p);
            const float top = std::max(h, kFenceTop), side = half + kFenceOverlap;
            ground.Quad(V3(-side, 0, r), V3(side, 0, r), V3(side, top, r), V3(-side, top, r), V3(0, top / 2, 2 * r));
            ground.SetPlace(Place());
            visible.SetPlace(p);
            WallFace(V3(-side, 0, r), V3(side, 0, r), 0, h, h, top, V3(0, 0, 1), look);
            visible.SetPlace(Place());
        }
    }
    // A height field over [x0, x0 + n cell] x [z0, z0 + n cell]; the ground gets the same faces
    // and a fence round the edge, reaching from under the lowest edge point to above the highest.
    // On the stage the fence's foot follows the edge `skirt` above it, cell by cell.
    void Terrain(float x0, float z0, float cell, int n, const std::function<float(float, float)>& height,
                 const std::function<int(float)>& materialOfHeight, float skirt, const WallLook& look) {
        const float x1 = x0 + n * cell, z1 = z0 + n * cell;
        float low = height(x0, z0), high = low;
        for (int k = 0; k <= n; ++k)
            for (float h : {height(x0 + k * cell, z0), height(x0 + k * cell, z1), height(x0, z0 + k * cell),
                            height(x1, z0 + k * cell)}) {
                low = std::min(low, h);
                high = std::max(high, h);
            }
        Fence(x0, z0, x1, z1, low - 0.1f, high + kFenceTop);
        const float e = kFenceOverlap;
        for (int k = 0; k < n; ++k) {
            const float a = x0 + k * cell, b = a + cell, ea = k == 0 ? e : 0, eb = k == n - 1 ? e : 0;
            const float za = z0 + k * cell, zb = za + cell;
            WallFace(V3(a - ea, 0, z1), V3(b + eb, 0, z1), low - 0.1f, height(a, z1) + skirt, height(b, z1) + skirt,
                     high + kFenceTop, V3(0, 0, 1), look);
            WallFace(V3(a - ea, 0, z0), V3(b + eb, 0, z0), low - 0.1f, height(a, z0) + skirt, height(b, z0) + skirt,
                     high + kFenceTop, V3(0, 0, -1), look);
            WallFace(V3(x1, 0, za - ea), V3(x1, 0, zb + eb), low - 0.1f, height(x1, za) + skirt, height(x1, zb) + skirt,
                     high + kFenceTop, V3(1, 0, 0), look);
            WallFace(V3(x0, 0, za - ea), V3(x0, 0, zb + eb), low - 0.1f, height(x0, za) + skirt, height(x0, zb) + skirt,
                     high + kFenceTop, V3(-1, 0, 0), look);
        }
        for (int j = 0; j < n; ++j)
            for (int i = 0; i < n; ++i) {
                V3 c[4];
                for (int k = 0; k < 4; ++k) {
                    float x = x0 + (i + (k == 1 || k == 2)) * cell, z = z0 + (j + (k >= 2)) * cell;
                    c[k] = V3(x, height(x, z), z);
                }
                for (int t = 0; t < 2; ++t) {
                    V3 a = c[0], b = t ? c[2] : c[1], d = t ? c[3] : c[2];
                    float mid = (a.y + b.y + d.y) / 3;
                    V3 below = (a + b + d) * (1.0f / 3) + V3(0, -1, 0);
                    visible.Use(materialOfHeight(mid));
                    visible.Triangle(a, b, d, below);
                    ground.Triangle(a, b, d, below);
                }
            }
    }
    int Write(const std::string& dir, const std::string& groundName, const std::string& visibleName) const {
        return ground.Write(dir + groundName) && visible.Write(dir + visibleName);
    }
};

// ---- Weather boxes ----

// An inward sky box around the camera: the picture on the four sides, plain top and foot.
int WriteSkyBox(const std::string& path, const char* picture, float tr, float tg, float tb, float fr, float fg, float fb) {
    CMeshBuilder b;
    int wall = b.AddMaterial(0, 0, 0);
    b.SetGlow(wall, 1, 1, 1);
    b.SetTexture(wall, picture, 1);
    int top = b.AddMaterial(0, 0, 0), foot = b.AddMaterial(0, 0, 0);
    b.SetGlow(top, tr, tg, tb);
    b.SetGlow(foot, fr, fg, fb);
    const float h = kSkyHalf;
    b.Use(wall);
    const float uv[8] = {0, 0, 1, 0, 1, 1, 0, 1};
    for (int i = 0; i < 4; ++i) {
        b.SetPlace(Place().TurnedY(kPi / 2 * i));
        b.QuadUv(V3(-h, h, h), V3(h, h, h), V3(h, -h, h), V3(-h, -h, h), V3(0, 0, 2 * h), uv);
    }
    b.SetPlace(Place());
    b.Use(top);
    b.Quad(V3(-h, h, -h), V3(h, h, -h), V3(h, h, h), V3(-h, h, h), V3(0, 2 * h, 0));
    b.Use(foot);
    b.Quad(V3(-h, -h, -h), V3(h, -h, -h), V3(h, -h, h), V3(-h, -h, h), V3(0, -2 * h, 0));
    return b.Write(path);
}

// Falling snow: white flakes scattered through a box around the camera (drawn over everything).
int WriteSnow(const std::string& path) {
    CMeshBuilder b;
    int flake = b.AddMaterial(1, 1, 1);
    b.SetGlow(flake, 0.9f, 0.92f, 1.0f);
    b.Use(flake);
    for (int i = 0; i < 320; ++i) {
        V3 at((Rand01(i, 1) - 0.5f) * 5, (Rand01(i, 2) - 0.4f) * 2.5f, (Rand01(i, 3) - 0.5f) * 5);
        float s = 0.006f + 0.006f * Rand01(i, 4);
        b.Ball(at, V3(s, s, s), 4, 2);
    }
    return b.Write(path);
}

// ---- Arenas ----

// バトルドーム: an octagonal arena of steel panels with many steps, a wall ring with floodlights
// and the ribs of a dome overhead.
int BattleDome(const std::string& dir) {
    Arena a;
    int floor = a.Mat(1.0f, 1.0f, 1.0f, "stg_panel.png", 0.4f);
    int step = a.Mat(0.55f, 0.6f, 0.7f, "stg_panel.png", 0.4f);
    int wall = a.Mat(0.3f, 0.33f, 0.4f);
    int orange = a.Mat(0.95f, 0.5f, 0.1f);
    int lamp = a.Glow(1.0f, 0.95f, 0.7f);
    int rib = a.Mat(0.5f, 0.52f, 0.58f);
    int mark = a.Glow(0.1f, 0.6f, 1.0f);
    const float r = 2.4f;
    a.Floor(-r * 1.1f, -r * 1.1f, r * 1.1f, r * 1.1f, 0, floor);
    a.RingWall(8, r, 0.45f, {wall, orange, a.Barrier(0.5f, 0.8f, 1.0f)}, kPi / 8);
    // Steps: two-tier blocks at the diagonals and platforms at the sides.
    for (int i = 0; i < 4; ++i) {
        float sx = i % 2 ? 1 : -1, sz = i / 2 ? 1 : -1;
        a.Block(V3(sx * 1.25f, 0.04f, sz * 1.25f), V3(0.7f, 0.08f, 0.7f), step);
        a.Block(V3(sx * 1.35f, 0.12f, sz * 1.35f), V3(0.4f, 0.08f, 0.4f), step);
        a.Block(V3(sx * 1.35f, 0.161f, sz * 1.35f), V3(0.2f, 0.002f, 0.2f), orange, 0);
    }
    for (float sx : {-1.0f, 1.0f}) {
        a.Block(V3(sx * 1.85f, 0.05f, 0), V3(0.5f, 0.1f, 1.2f), step);
        a.Block(V3(sx * 1.55f, 0.025f, 0), V3(0.2f, 0.05f, 1.0f), step);
    }
    a.Block(V3(0, 0.03f, 0), V3(0.5f, 0.06f, 0.5f), step);  // the centre dais
    a.Block(V3(0, 0.061f, 0), V3(0.3f, 0.002f, 0.3f), mark, 0);
    for (float sz : {-1.0f, 1.0f}) a.Block(V3(0, 0.001f, sz * 0.6f), V3(0.3f, 0.002f, 0.015f), orange, 0);  // start lines
    // Floodlight pylons and the dome's ribs, above the barrier (out of reach, so only drawn).
    const float pylon = 2.2f;
    for (int i = 0; i < 8; ++i) {
        float ang = 2 * kPi * i / 8 + kPi / 8;
        V3 foot(std::sin(ang) * (r + kCameraRoom + 0.2f), 0, std::cos(ang) * (r + kCameraRoom + 0.2f));
        a.Column(foot, 0.05f, pylon, wall, 6, 0);
        a.visible.Use(lamp);
        a.visible.Box(foot + V3(0, pylon + 0.02f, 0), V3(0.16f, 0.08f, 0.16f));
        V3 prev = foot + V3(0, pylon, 0);
        for (int k = 1; k <= 5; ++k) {
            float t = k / 5.0f;
            V3 next(foot.x * (1 - t), pylon + 1.0f * std::sin(t * kPi / 2), foot.z * (1 - t));
            a.visible.Use(rib);
            a.visible.Cylinder(prev, next, 0.03f, 0.03f, 5);
            prev = next;
        }
    }
    return a.Write(dir, "map05-1.x", "map05-2.x");
}

// 廃棄都市ブロック: crossing streets between ruined towers, rubble and burnt-out cars.
int RuinedCity(const std::string& dir) {
    Arena a;
    int road = a.Mat(0.9f, 0.9f, 0.9f, "stg_asphalt.png", 0.5f);
    int walk = a.Mat(0.6f, 0.58f, 0.55f);
    int tower = a.Mat(0.9f, 0.9f, 0.9f, "stg_windows.png", 0.3f);
    int towerB = a.Mat(0.8f, 0.72f, 0.65f, "stg_tower.png", 0.3f);
    int rubble = a.Mat(0.45f, 0.42f, 0.4f);
    int line = a.Mat(0.9f, 0.8f, 0.2f);
    int car = a.Mat(0.5f, 0.2f, 0.15f);
    const float r = 2.6f;
    a.Floor(-r, -r, r, r, 0, road);
    for (float z = -r + 0.1f; z < r; z += 0.3f) a.Block(V3(0, 0.001f, z), V3(0.02f, 0.002f, 0.15f), line, 0);
    // Blocks of towers in the four quarters, leaving the crossing streets open.
    for (int q = 0; q < 4; ++q) {
        float sx = q % 2 ? 1 : -1, sz = q / 2 ? 1 : -1;
        a.Block(V3(sx * 1.55f, 0.015f, sz * 1.55f), V3(1.9f, 0.03f, 1.9f), walk);
        for (int k = 0; k < 3; ++k) {
            float h = 0.4f + 1.2f * Rand01(q, k), w = 0.35f + 0.2f * Rand01(q, k + 9);
            V3 c(sx * (0.95f + 0.55f * k), 0.03f + h / 2, sz * (1.1f + 0.6f * ((k + q) % 2)));
            a.Block(c, V3(w, h, w), k % 2 ? towerB : tower);
            if (Rand01(q, k + 20) > 0.5f) {  // a broken top leaning over
                a.visible.SetPlace(Place().Moved(c + V3(0, h / 2, 0)).TurnedZ(0.3f * sx));
                a.visible.Use(k % 2 ? tower : towerB);
                a.visible.Box(V3(0, 0.1f, 0), V3(w * 0.8f, 0.2f, w * 0.8f));
                a.visible.SetPlace(Place());
            }
        }
    }
    // Rubble and wrecks on the streets.
    for (int i = 0; i < 10; ++i) {
        float x = (Rand01(i, 30) - 0.5f) * 4, z = (Rand01(i, 31) - 0.5f) * 4;
        if (std::fabs(z) < 0.9f && std::fabs(x) < 0.4f) continue;
        if (std::fabs(x) > 0.5f && std::fabs(z) > 0.5f) continue;
        float s = 0.06f + 0.1f * Rand01(i, 32);
        a.Block(V3(x, s / 2, z), V3(s * 1.5f, s, s), i % 3 ? rubble : car);
    }
    // A barricade with a barrier over it closes the block in; tall façades stand behind, clear
    // of the camera.
    a.Fence(-r, -r, r, r, 0, kFenceTop);
    a.DrawnFence(-r, -r, r, r, 0, 0.25f, kFenceTop, {rubble, line, a.Barrier(0.9f, 0.75f, 0.4f)});
    for (int side = 0; side < 4; ++side) {
        a.visible.SetPlace(Place().TurnedY(kPi / 2 * side));
        for (int k = 0; k < 6; ++k) {
            float h = 1.0f + 1.4f * Rand01(side, k + 40);
            a.visible.Use(k % 2 ? tower : towerB);
            a.visible.Box(V3(-r + 0.45f + k * 0.9f, h / 2, r + kCameraRoom + 0.4f), V3(0.85f, h, 0.8f));
        }
        a.visible.SetPlace(Place());
    }
    return a.Write(dir, "map06-1.x", "map06-2.x");
}

// 遺跡: sand with scattered stone blocks, broken columns and a stepped temple.
int Ruins(const std::string& dir) {
    Arena a;
    int sand = a.Mat(1, 1, 1, "stg_sand.png", 0.5f);
    int stone = a.Mat(1, 1, 1, "stg_stone.png", 0.25f);
    int moss = a.Mat(0.45f, 0.55f, 0.3f);
    int cliff = a.Mat(0.75f, 0.65f, 0.5f, "stg_stone.png", 0.5f);
    const float r = 2.6f;
    a.Floor(-r, -r, r, r, 0, sand);
    for (int i = 0; i < 40; ++i) {
        float x = (Rand01(i, 50) - 0.5f) * 4.4f, z = (Rand01(i, 51) - 0.5f) * 4.4f;
        if (std::fabs(x) < 0.45f && std::fabs(z) < 1.0f) continue;
        float s = 0.12f + 0.18f * Rand01(i, 52);
        if (i % 3 == 0) {
            float h = 0.2f + 0.5f * Rand01(i, 53);
            a.Column(V3(x, 0, z), 0.06f, h, stone);
            a.Block(V3(x, 0.02f, z), V3(0.18f, 0.04f, 0.18f), stone);
        } else {
            a.Block(V3(x, s * 0.35f, z), V3(s, s * 0.7f, s * (0.8f + 0.5f * Rand01(i, 54))), i % 4 ? stone : moss);
        }
    }
    // A stepped temple at the far end.
    for (int k = 0; k < 4; ++k) a.Block(V3(0, 0.06f + 0.12f * k, -2.1f), V3(1.4f - 0.3f * k, 0.12f, 0.7f - 0.12f * k), stone);
    a.RingWall(4, r, 0.35f, {cliff, moss, a.Barrier(0.95f, 0.85f, 0.6f)});
    return a.Write(dir, "map07-1.x", "map07-2.x");
}

// 山岳: a valley between snowy peaks, with pines on the lower slopes.
int Mountains(const std::string& dir) {
    Arena a;
    int rock = a.Mat(1, 1, 1, "stg_rock.png", 0.4f);
    int rockSnow = a.Mat(0.85f, 0.85f, 0.9f, "stg_snow.png", 0.4f);
    int snow = a.Mat(1, 1, 1, "stg_snow.png", 0.4f);
    int pine = a.Mat(0.12f, 0.3f, 0.18f);
    int bark = a.Mat(0.35f, 0.25f, 0.15f);
    auto height = [](float x, float z) {
        float d = std::sqrt(x * x * 0.8f + z * z * 0.35f);
        float ridge = d < 0.8f ? 0 : (d - 0.8f) * (d - 0.8f) * 0.5f;
        return ridge + 0.08f * std::sin(x * 2.1f + 1) * std::cos(z * 1.7f) * (d > 0.8f);
    };
    a.Terrain(-3.2f, -3.2f, kTerrainCell, kTerrainCells, height,
              [&](float h) { return h < 0.15f ? rock : h < 0.5f ? rockSnow : snow; }, 0.08f,
              {rock, -1, a.Barrier(0.75f, 0.85f, 1.0f)});
    for (int i = 0; i < 26; ++i) {
        float x = (Rand01(i, 60) - 0.5f) * 5.5f, z = (Rand01(i, 61) - 0.5f) * 5.5f;
        float h = height(x, z);
        if (h < 0.03f || h > 0.6f) continue;
        a.Column(V3(x, h - 0.02f, z), 0.015f, 0.06f, bark, 5, 0);
        a.visible.Use(pine);
        for (int k = 0; k < 3; ++k)
            a.visible.Cylinder(V3(x, h + 0.04f + 0.05f * k, z), V3(x, h + 0.12f + 0.05f * k, z), 0.07f - 0.015f * k, 0, 7);
    }
    return a.Write(dir, "tikei01b-1.x", "tikei01b-2.x");
}

// 森: a clearing in a dense forest of tall trees and bushes.
int Forest(const std::string& dir) {
    Arena a;
    int grass = a.Mat(1, 1, 1, "stg_grass.png", 0.4f);
    int bark = a.Mat(0.4f, 0.28f, 0.16f);
    int crown = a.Mat(0.16f, 0.42f, 0.16f);
    int crownDark = a.Mat(0.1f, 0.3f, 0.12f);
    int leaves = a.Mat(1, 1, 1);
    a.visible.SetTexture(leaves, "stg_leaves.png", 1);
    const float r = 2.6f;
    a.Floor(-r - 1, -r - 1, r + 1, r + 1, 0, grass);
    const float uv[8] = {0, 0, 1, 0, 1, 1, 0, 1};
    for (int i = 0; i < 70; ++i) {
        float x = (Rand01(i, 70) - 0.5f) * 5.6f, z = (Rand01(i, 71) - 0.5f) * 5.6f;
        if (std::fabs(x) < 0.5f && std::fabs(z) < 1.0f) continue;
        // None outside the wall or hard against it, and crowns and bushes kept within it: whatever
        // stands or leans there would stand between the camera and a robot at the wall.
        if (std::fabs(x) > r - 0.15f || std::fabs(z) > r - 0.15f) continue;
        auto within = [&](float v, float reach) { return std::clamp(v, reach - r, r - reach); };
        float h = 0.5f + 0.5f * Rand01(i, 72);
        a.Column(V3(x, 0, z), 0.04f, h, bark, 7);
        a.visible.Use(i % 2 ? crown : crownDark);
        a.visible.Ball(V3(within(x, 0.2f), h, within(z, 0.2f)), V3(0.2f, 0.28f, 0.2f), 7, 5);
        a.visible.Ball(V3(within(x + 0.08f, 0.16f), h - 0.15f, within(z - 0.05f, 0.16f)), V3(0.16f, 0.18f, 0.16f), 7, 4);
        // A bush of crossed leaf cards at the foot, seen from both sides.
        if (i % 3 == 0) {
            a.visible.Use(leaves);
            const V3 bush(within(x + 0.1f, 0.15f), 0, within(z + 0.1f, 0.15f));
            for (int k = 0; k < 2; ++k) {
                a.visible.SetPlace(Place().Moved(bush).TurnedY(k * kPi / 2));
                for (float s : {1.0f, -1.0f})
                    a.visible.QuadUv(V3(-0.15f, 0.25f, 0), V3(0.15f, 0.25f, 0), V3(0.15f, 0, 0), V3(-0.15f, 0, 0),
                                     V3(0, 0.1f, s), uv);
            }
            a.visible.SetPlace(Place());
        }
    }
    // A hedge with a barrier over it stops robots at the edge of the clearing.
    a.Fence(-r, -r, r, r, 0, kFenceTop);
    a.DrawnFence(-r, -r, r, r, 0, 0.2f, kFenceTop, {crownDark, -1, a.Barrier(0.6f, 0.9f, 0.5f)});
    return a.Write(dir, "map08-1.x", "map08-2.x");
}

// 本社ビル屋上: a bare office-tower roof with a helipad, a fence round the edge and the city
// below.
int Rooftop(const std::string& dir) {
    Arena a;
    int roof = a.Mat(1, 1, 1, "stg_roof.png", 0.3f);
    int pad = a.Mat(1, 1, 1);
    a.visible.SetTexture(pad, "stg_helipad.png", 1);
    int facade = a.Mat(0.9f, 0.9f, 1.0f, "stg_tower.png", 0.3f);
    int parapet = a.Mat(0.55f, 0.55f, 0.58f);
    int fence = a.Mat(1, 1, 1);
    a.visible.SetTexture(fence, "stg_fence.png", 0.3f);
    int unit = a.Mat(0.7f, 0.72f, 0.75f);
    int beacon = a.Glow(1.0f, 0.1f, 0.1f);
    const float r = 2.0f;
    a.Floor(-r, -r, r, r, 0, roof);
    const float uv[8] = {0, 0, 1, 0, 1, 1, 0, 1};
    a.visible.Use(pad);
    a.visible.QuadUv(V3(-0.5f, 0.002f, -0.5f), V3(0.5f, 0.002f, -0.5f), V3(0.5f, 0.002f, 0.5f), V3(-0.5f, 0.002f, 0.5f),
                     V3(0, -1, 0), uv);
    // A parapet and a chain-link fence as high as the wall that stops robots.
    a.Fence(-r, -r, r, r, 0, kFenceTop);
    a.DrawnFence(-r, -r, r, r, 0, 0.06f, kFenceTop, {parapet, -1, fence});
    for (int side = 0; side < 4; ++side) {  // the building's sides, below the roof
        a.visible.SetPlace(Place().TurnedY(kPi / 2 * side));
        a.visible.Use(facade);
        a.visible.Box(V3(0, -3.0f, r + 0.03f), V3(2 * r + 0.12f, 6.0f, 0.06f));
        a.visible.SetPlace(Place());
    }
    for (int c = 0; c < 4; ++c) {  // air-conditioning units and beacons at the corners
        float sx = c % 2 ? 1 : -1, sz = c / 2 ? 1 : -1;
        a.Block(V3(sx * 1.7f, 0.05f, sz * 1.7f), V3(0.3f, 0.1f, 0.2f), unit);
        a.visible.Use(beacon);
        a.visible.Box(V3(sx * 1.95f, 0.33f, sz * 1.95f), V3(0.03f, 0.03f, 0.03f));
    }
    // Other towers around, far below and beside.
    for (int i = 0; i < 14; ++i) {
        float ang = 2 * kPi * i / 14, dist = 3.4f + 1.2f * Rand01(i, 80);
        float h = 1.5f + 4.0f * Rand01(i, 81), w = 0.6f + 0.6f * Rand01(i, 82);
        a.visible.Use(facade);
        a.visible.Box(V3(std::sin(ang) * dist, -6 + h / 2, std::cos(ang) * dist), V3(w, h, w));
    }
    return a.Write(dir, "map09-1.x", "map09-2.x");
}

// ファイナルステージ: platforms floating over a void, edged in light, joined by narrow bridges.
int FinalStage(const std::string& dir) {
    Arena a;
    int deck = a.Mat(1, 1, 1, "stg_energy.png", 0.3f);
    int under = a.Mat(0.2f, 0.18f, 0.25f);
    int edge = a.Glow(0.7f, 0.2f, 1.0f);
    int orb = a.Glow(1.0f, 0.2f, 0.4f);
    auto platform = [&](V3 c, float radius, int sides) {
        for (int i = 0; i < sides; ++i) {
            float a0 = 2 * kPi * i / sides, a1 = 2 * kPi * (i + 1) / sides;
            V3 p0 = c + V3(std::sin(a0) * radius, 0, std::cos(a0) * radius);
            V3 p1 = c + V3(std::sin(a1) * radius, 0, std::cos(a1) * radius);
            a.visible.Use(deck);
            a.visible.Triangle(c, p0, p1, c + V3(0, -1, 0));
            a.ground.Triangle(c, p0, p1, c + V3(0, -1, 0));
            a.visible.Use(under);
            a.visible.Triangle(p0, p1, c + V3(0, -radius * 0.6f, 0), c + V3(0, -0.1f, 0));
            a.visible.Use(edge);
            a.visible.Cylinder(p0 + V3(0, 0.005f, 0), p1 + V3(0, 0.005f, 0), 0.012f, 0.012f, 4);
        }
    };
    platform(V3(0, 0, 0), 1.3f, 6);
    for (int i = 0; i < 3; ++i) {
        float ang = 2 * kPi * i / 3 + kPi / 6;
        V3 c(std::sin(ang) * 2.4f, 0.15f, std::cos(ang) * 2.4f);
        platform(c, 0.6f, 6);
        a.Block(c * 0.5f + V3(0, 0.07f, 0), V3(0.25f, 0.04f, 0.25f), deck);  // stepping stones
        a.Column(c, 0.04f, 0.5f, under, 6);
        a.visible.Use(orb);
        a.visible.Ball(c + V3(0, 0.6f, 0), V3(0.08f, 0.08f, 0.08f), 8, 6);
    }
    for (int i = 0; i < 6; ++i) {
        float ang = 2 * kPi * i / 6;
        a.visible.Use(orb);
        a.visible.Ball(V3(std::sin(ang) * 1.1f, 0.02f, std::cos(ang) * 1.1f), V3(0.03f, 0.02f, 0.03f), 6, 3);
    }
    return a.Write(dir, "map10-1.x", "map10-2.x");
}

// The plain stages: a square floor with a few blocks, in their own colours.
int SimpleStage(const std::string& dir, const char* groundName, const char* visibleName, const char* floorPicture,
                float r, float g, float b, int blocks, int seed) {
    Arena a;
    a.bottoms = std::string(groundName) != visibleName;
    int floor = a.Mat(r, g, b, floorPicture, 0.4f);
    int block = a.Mat(r * 0.6f, g * 0.6f, b * 0.6f);
    int trim = a.Glow(0.9f, 0.9f, 0.3f);
    const float half = 2.2f;
    a.Floor(-half, -half, half, half, 0, floor);
    for (int i = 0; i < blocks; ++i) {
        float x = (Rand01(i, seed) - 0.5f) * 3.6f, z = (Rand01(i, seed + 1) - 0.5f) * 3.6f;
        if (std::fabs(x) < 0.4f && std::fabs(z) < 1.0f) continue;
        float s = 0.15f + 0.2f * Rand01(i, seed + 2);
        a.Block(V3(x, s / 2, z), V3(s, s, s), block);
    }
    a.RingWall(4, half, 0.2f, {block, trim, a.Barrier(r, g, b)});
    if (std::string(groundName) == visibleName) return a.visible.Write(dir + visibleName);  // the stage collides
    return a.Write(dir, groundName, visibleName);
}

// 和風庭園: a raked-gravel garden with a pond, an arched bridge, stone lanterns, a gate and pines.
int JapaneseGarden(const std::string& dir) {
    Arena a;
    int gravel = a.Mat(1, 1, 1, "stg_gravel.png", 0.3f);
    int water = a.Mat(0.8f, 0.9f, 1.0f, "stg_water.png", 0.5f);
    int red = a.Mat(0.8f, 0.15f, 0.1f);
    int stone = a.Mat(0.6f, 0.6f, 0.58f);
    int wood = a.Mat(1, 1, 1, "stg_wood.png", 0.3f);
    int pine = a.Mat(0.15f, 0.35f, 0.2f);
    int blossom = a.Mat(0.95f, 0.7f, 0.8f);
    int light = a.Glow(1.0f, 0.8f, 0.4f);
    const float r = 2.4f;
    // A pond across the middle, a step lower, with a red bridge arching over it between the
    // two starts.
    const float pondX = 1.7f, pondZ = 0.4f;
    a.Floor(-r, -r, r, -pondZ, 0, gravel);
    a.Floor(-r, pondZ, r, r, 0, gravel);
    a.Floor(-r, -pondZ, -pondX, pondZ, 0, gravel);
    a.Floor(pondX, -pondZ, r, pondZ, 0, gravel);
    a.Floor(-pondX, -pondZ, pondX, pondZ, -0.05f, water);
    a.visible.Use(stone);
    for (float z : {-pondZ, pondZ})
        a.visible.Quad(V3(-pondX, 0, z), V3(pondX, 0, z), V3(pondX, -0.05f, z), V3(-pondX, -0.05f, z), V3(0, 0, 0));
    for (float x : {-pondX, pondX})
        a.visible.Quad(V3(x, 0, -pondZ), V3(x, 0, pondZ), V3(x, -0.05f, pondZ), V3(x, -0.05f, -pondZ), V3(0, 0, 0));
    const int kBridge = 6;
    const float z0 = -pondZ - 0.1f, span = 2 * (pondZ + 0.1f);
    for (int k = 0; k < kBridge; ++k) {
        float za = z0 + span * k / kBridge, zb = z0 + span * (k + 1) / kBridge;
        float ya = 0.07f * std::sin(kPi * k / kBridge), yb = 0.07f * std::sin(kPi * (k + 1) / kBridge);
        V3 q[4] = {V3(-0.15f, ya, za), V3(0.15f, ya, za), V3(0.15f, yb, zb), V3(-0.15f, yb, zb)};
        a.visible.Use(red);
        a.visible.Quad(q[0], q[1], q[2], q[3], V3(0, ya - 1, za));
        a.ground.Quad(q[0], q[1], q[2], q[3], V3(0, ya - 1, za));
        for (float x : {-0.15f, 0.15f}) {
            a.visible.Cylinder(V3(x, ya + 0.06f, za), V3(x, yb + 0.06f, zb), 0.008f, 0.008f, 4);  // rail
            a.visible.Cylinder(V3(x, ya, za), V3(x, ya + 0.06f, za), 0.006f, 0.006f, 4);
        }
    }
    // Stone lanterns.
    for (int i = 0; i < 6; ++i) {
        float x = i < 3 ? -1.2f : 1.2f, z = -1.0f + 1.0f * (i % 3) + (i % 3 == 1 ? 0.55f : 0);
        a.Column(V3(x, 0, z), 0.03f, 0.12f, stone, 6);
        a.Block(V3(x, 0.15f, z), V3(0.1f, 0.06f, 0.1f), light, 0);
        a.visible.Use(stone);
        a.visible.Cylinder(V3(x, 0.18f, z), V3(x, 0.25f, z), 0.1f, 0, 6);
    }
    // A torii gate at the far end.
    for (float x : {-0.35f, 0.35f}) a.Column(V3(x, 0, -2.0f), 0.035f, 0.55f, red, 8);
    a.Block(V3(0, 0.55f, -2.0f), V3(1.0f, 0.05f, 0.08f), red, 0);
    a.Block(V3(0, 0.46f, -2.0f), V3(0.8f, 0.03f, 0.05f), red, 0);
    // Pines and a cherry tree.
    for (int i = 0; i < 8; ++i) {
        float ang = 2 * kPi * i / 8 + 0.3f;
        V3 c(std::sin(ang) * 2.0f, 0, std::cos(ang) * 2.0f);
        if (std::fabs(c.x) < 0.5f) continue;
        a.Column(c, 0.03f, 0.4f, wood, 6);
        a.visible.Use(i == 3 ? blossom : pine);
        a.visible.Ball(c + V3(0, 0.4f, 0), V3(0.22f, 0.1f, 0.22f), 8, 4);
        a.visible.Ball(c + V3(0.1f, 0.28f, 0.05f), V3(0.16f, 0.07f, 0.16f), 8, 4);
    }
    a.RingWall(4, r, 0.25f, {wood, stone, a.Barrier(1.0f, 0.75f, 0.7f)});
    return a.Write(dir, "map15_nihon-1.x", "map15_nihon-2.x");
}

// A moonlit desert of dunes with wind-worn rocks.
int Desert(const std::string& dir) {
    Arena a;
    int sand = a.Mat(0.8f, 0.75f, 0.7f, "stg_sand.png", 0.5f);
    int sandLow = a.Mat(0.65f, 0.6f, 0.58f, "stg_sand.png", 0.5f);
    int rock = a.Mat(0.5f, 0.4f, 0.35f, "stg_rock.png", 0.3f);
    auto height = [](float x, float z) {
        float d = std::sqrt(x * x + z * z);
        return 0.06f * std::sin(x * 1.7f + z * 0.6f) * (d > 0.9f) + (d > 2.0f ? (d - 2.0f) * 0.6f : 0);
    };
    a.Terrain(-3.2f, -3.2f, kTerrainCell, kTerrainCells, height, [&](float h) { return h > 0.03f ? sand : sandLow; },
              0.08f, {rock, -1, a.Barrier(0.9f, 0.7f, 0.5f)});
    for (int i = 0; i < 8; ++i) {
        float ang = 2 * kPi * i / 8 + 0.4f, d = 1.2f + 0.6f * Rand01(i, 90);
        V3 c(std::sin(ang) * d, 0, std::cos(ang) * d);
        a.Block(c + V3(0, 0.1f, 0), V3(0.2f, 0.3f + 0.2f * Rand01(i, 91), 0.25f), rock);
    }
    return a.Write(dir, "map16-1.x", "map16-2.x");
}

// A fortress deck high in the sky: no weather box, only the clear blue around it.
int SkyFortress(const std::string& dir) {
    Arena a;
    int deck = a.Mat(0.8f, 0.82f, 0.85f, "stg_panel.png", 0.4f);
    int hull = a.Mat(0.4f, 0.45f, 0.55f);
    int lamp = a.Glow(0.3f, 0.9f, 1.0f);
    const float hx = 2.0f, hz = 2.4f;
    a.Floor(-hx, -hz, hx, hz, 0, deck);
    a.Fence(-hx, -hz, hx, hz, 0, kFenceTop);
    a.DrawnFence(-hx, -hz, hx, hz, 0, 0.06f, kFenceTop, {hull, lamp, a.Barrier(0.5f, 0.9f, 1.0f)});
    a.visible.Use(hull);
    // The hull under the deck: its sides meet the deck's edges, and the deck is its top.
    a.visible.TaperedBox(V3(0, -1.2f, 0), 1.2f, 1.0f, 1.2f, 2 * hx, 2 * hz, 0, 0, 1, 0);
    for (int c = 0; c < 4; ++c) {
        float sx = c % 2 ? 1 : -1, sz = c / 2 ? 1 : -1;
        a.Column(V3(sx * 1.7f, 0, sz * 2.1f), 0.15f, 0.6f, hull, 8);
        a.visible.Use(lamp);
        a.visible.Ball(V3(sx * 1.7f, 0.65f, sz * 2.1f), V3(0.08f, 0.08f, 0.08f), 8, 5);
    }
    a.Block(V3(0, 0.08f, -1.6f), V3(0.8f, 0.16f, 0.3f), hull);
    a.Block(V3(0, 0.08f, 1.6f), V3(0.8f, 0.16f, 0.3f), hull);
    return a.Write(dir, "map17-1.x", "map17-2.x");
}

// A training room: one inward box serves as ground, stage and weather box.
int TrainingRoom(const std::string& dir) {
    CMeshBuilder b;
    int check = b.AddMaterial(1, 1, 1);
    b.SetTexture(check, "stg_check.png", 0.4f);
    b.Use(check);
    b.InwardBox(V3(0, 0.6f, 0), V3(4.8f, 1.2f, 4.8f));
    return b.Write(dir + "map11-1.x");
}

int WriteStageMeshes(const std::string& dir) {
    const std::string m = dir + "/map/";
    if (!MakeDirs(m)) return 0;
    return BattleDome(m) && RuinedCity(m) && Ruins(m) && Mountains(m) && Forest(m) && Rooftop(m) && FinalStage(m) &&
           SimpleStage(m, "map12.x", "map12.x", "stg_water.png", 0.6f, 0.8f, 1.0f, 8, 100) &&
           SimpleStage(m, "map13-1.x", "map13-2.x", "stg_ice.png", 0.9f, 0.95f, 1.0f, 14, 110) &&
           SimpleStage(m, "map14-1.x", "map14-2.x", "stg_check.png", 1, 1, 1, 4, 120) && JapaneseGarden(m) &&
           Desert(m) && SkyFortress(m) && TrainingRoom(m) &&
           WriteSkyBox(m + "map01-3.x", "sky_day.png", 0.16f, 0.38f, 0.72f, 0.31f, 0.35f, 0.38f) &&
           WriteSnow(m + "map07-3.x") &&
           WriteSkyBox(m + "map08-3.x", "sky_forest.png", 0.55f, 0.58f, 0.6f, 0.19f, 0.25f, 0.17f) &&
           WriteSkyBox(m + "map09-3.x", "sky_city.png", 0.04f, 0.05f, 0.14f, 0.06f, 0.06f, 0.09f) &&
           WriteSkyBox(m + "map15-3.x", "sky_dusk.png", 0.19f, 0.13f, 0.35f, 0.16f, 0.11f, 0.16f) &&
           WriteSkyBox(m + "map16-3.x", "sky_night.png", 0.01f, 0.02f, 0.05f, 0.05f, 0.05f, 0.08f);
}

}  // namespace

REGISTER_GENERATOR("stage meshes", WriteStageMeshes);
