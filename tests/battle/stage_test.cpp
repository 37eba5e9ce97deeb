// Stages: every row loads its meshes, colours and weather; robots starting at any spawn point
// stand above ground; the collision ground has no face turned down; a robot walking or jumping
// outward meets a wall before the floor ends, except on the stage that warns of falls; what stops
// a shot is drawn there, and a camera behind a wall sees through it; no two drawn faces turned
// the same way overlap in one plane (they flicker); weather boxes face inward and stay inside
// the far plane; fog only at the highest graphics level;
// unknown numbers load nothing; the stage names.
#include "arena_fixture.h"

#include "battle.h"

#include "graphics.h"
#include "music.h"
#include "sys_graphics.h"
#include "sys_path.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <sstream>
#include <vector>

namespace {

using Stages = ArenaTest;

Vec3 FaceNormal(const CMesh& m, int face) {
    const uint32_t* i = m.GetIndices() + 3 * face;
    Vec3 a = m.GetVertexPosition(i[0]), b = m.GetVertexPosition(i[1]), c = m.GetVertexPosition(i[2]);
    return Vec3Cross(b - a, c - a);
}

Vec3 FaceMiddle(const CMesh& m, int face) {
    const uint32_t* i = m.GetIndices() + 3 * face;
    return (m.GetVertexPosition(i[0]) + m.GetVertexPosition(i[1]) + m.GetVertexPosition(i[2])) / 3.0f;
}

// The far clip distance of the projection (left-handed: _43 / (1 - _33)).
float FarPlane() { return g_matProj.m[3][2] / (1.0f - g_matProj.m[2][2]); }

TEST_F(Stages, SpawnPointsStandAboveTheGroundOfEveryStage) {
    const float spawnX[] = {0.0f, 1.0f, -1.0f}, spawnZ[] = {-6.0f, 6.0f};
    for (int number : kStageNumbers) {
        CStage env;
        PlacedStage stage;
        stage.Load(env, number);
        for (float x : spawnX)
            for (float z : spawnZ) {
                Vec3 hit;
                // A ray from 100 units above straight down, as robots are put on the ground.
                ASSERT_EQ(stage.nodes[0].PickMesh(Vec3(x, 100.0f, z), Vec3(0, -1, 0), &hit), 1)
                    << "stage " << number << " at " << x << ", " << z;
                EXPECT_LT(hit.y, 2.0f) << "stage " << number;  // below the start height
                EXPECT_GT(hit.y, -60.0f) << "stage " << number;
            }
        // A robot nudged a hair off its start line and walking along it keeps finding the
        // floor: a pick right beside a seam between two ground triangles can miss both, so no
        // seam may run along that line.
        int misses = 0;
        for (float x : {-4e-9f, 4e-9f})
            for (float z = -8.0f; z <= 8.0f; z += 0.05f) {
                Vec3 hit;
                misses += !stage.nodes[0].PickMesh(Vec3(x, 100.0f, z), Vec3(0, -1, 0), &hit);
            }
        EXPECT_EQ(misses, 0) << "stage " << number;
    }
}

// How far a robot going straight out from `start` (a point on the floor) along the level
// direction `dir` gets before a wall stops it, its root `rootHeight` above whatever it is over;
// -1 when the floor ends first. The picks are the robots' own: along the way for walls, from a
// unit above the root straight down for the floor. `stop` takes the floor point it stopped over.
float DistanceToWall(const C3DObject& ground, const Vec3& start, const Vec3& dir, float rootHeight,
                     Vec3* stop = nullptr) {
    const float step = 0.25f, clearance = 0.5f;
    Vec3 at = start;
    for (float gone = 0; gone < 300.0f; gone += step) {
        const Vec3 root(at.x, at.y + rootHeight, at.z);
        Vec3 hit;
        if (ground.PickMesh(root, dir, &hit)) {
            const float wall = Vec3Length(hit - root);
            if (wall <= step + clearance) {
                if (stop) *stop = at + dir * wall;
                return gone + wall;
            }
        }
        const Vec3 next = root + dir * step;
        if (!ground.PickMesh(next + Vec3(0, 1.0f, 0), Vec3(0, -1, 0), &hit)) return -1;
        at = hit;
    }
    return -1;
}

// The drawn stage's faces in world units, for the question whether anything is drawn near a
// point where a shot or a robot stops, on the side it came from.
struct DrawnFaces {
    struct Face {
        Vec3 a, b, c, low, high;
    };
    std::vector<Face> faces;

    explicit DrawnFaces(const CMesh& m) {
        const uint32_t* i = m.GetIndices();
        for (int f = 0; f < m.GetFaceCount(); ++f, i += 3) {
            Face t{m.GetVertexPosition(i[0]) * 10.0f, m.GetVertexPosition(i[1]) * 10.0f,
                   m.GetVertexPosition(i[2]) * 10.0f, Vec3(), Vec3()};
            t.low = Vec3(std::min({t.a.x, t.b.x, t.c.x}), std::min({t.a.y, t.b.y, t.c.y}), std::min({t.a.z, t.b.z, t.c.z}));
            t.high = Vec3(std::max({t.a.x, t.b.x, t.c.x}), std::max({t.a.y, t.b.y, t.c.y}), std::max({t.a.z, t.b.z, t.c.z}));
            faces.push_back(t);
        }
    }
    // A face within `reach` of p whose front is turned towards `from`.
    bool Near(const Vec3& p, const Vec3& from, float reach) const {
        for (const Face& t : faces) {
            if (p.x < t.low.x - reach || p.y < t.low.y - reach || p.z < t.low.z - reach || p.x > t.high.x + reach ||
                p.y > t.high.y + reach || p.z > t.high.z + reach)
                continue;
            if (Vec3Dot(Vec3Cross(t.b - t.a, t.c - t.a), from - p) <= 0) continue;
            if (Vec3Length(ClosestPoint(p, t) - p) <= reach) return true;
        }
        return false;
    }
    // The point of the triangle nearest p (by its regions: corners, edges, inside).
    static Vec3 ClosestPoint(const Vec3& p, const Face& t) {
        const Vec3 ab = t.b - t.a, ac = t.c - t.a, ap = p - t.a;
        const float d1 = Vec3Dot(ab, ap), d2 = Vec3Dot(ac, ap);
        if (d1 <= 0 && d2 <= 0) return t.a;
        const Vec3 bp = p - t.b;
        const float d3 = Vec3Dot(ab, bp), d4 = Vec3Dot(ac, bp);
        if (d3 >= 0 && d4 <= d3) return t.b;
        const float vc = d1 * d4 - d3 * d2;
        if (vc <= 0 && d1 >= 0 && d3 <= 0) return t.a + ab * (d1 / (d1 - d3));
        const Vec3 cp = p - t.c;
        const float d5 = Vec3Dot(ab, cp), d6 = Vec3Dot(ac, cp);
        if (d6 >= 0 && d5 <= d6) return t.c;
        const float vb = d5 * d2 - d1 * d6;
        if (vb <= 0 && d2 >= 0 && d6 <= 0) return t.a + ac * (d2 / (d2 - d6));
        const float va = d3 * d6 - d5 * d4;
        if (va <= 0 && d4 - d3 >= 0 && d5 - d6 >= 0) return t.b + (t.c - t.b) * ((d4 - d3) / ((d4 - d3) + (d5 - d6)));
        const float den = 1.0f / (va + vb + vc);
        return t.a + ab * (vb * den) + ac * (vc * den);
    }
};

// Every enclosed arena is walled where its floor ends, for a robot walking or at the top of its
// jump; whatever stops a shot fired upward is drawn where it stops it; and a camera that has
// fallen behind a wall (the chase camera does not test walls) still sees the robot beside it.
TEST_F(Stages, WallsStandWhereTheFloorEndsDrawnWhereTheyStopAndSeenThroughFromOutside) {
    // Roots of a robot standing and at the top of its highest jump, over the floor below it.
    const float rootHeights[] = {1.0f, 6.0f};
    const int kRays = 72;
    // Shots rise from these floor points at 10 to 30 degrees.
    const float fromX[] = {0, 0, 0, -9, 9, 4}, fromZ[] = {0, -6, 6, 2, -2, 8};
    const float pitches[] = {0.1745f, 0.3491f, 0.5236f};
    // The camera up to 3.5 behind a robot by the wall, a little above it, looking back at it.
    const float eyeHeights[] = {1.5f, 4.0f, 7.0f}, robotHeights[] = {1.0f, 3.0f};
    for (int number : kStageNumbers) {
        SCOPED_TRACE("stage " + std::to_string(number));
        const bool open = GetStageInfo(number, 2) == "落下に注意！";
        CStage env;
        PlacedStage stage;
        stage.Load(env, number);
        const C3DObject& ground = stage.nodes[0];
        const DrawnFaces drawn(stage.meshes[1]);
        Vec3 centre;
        ASSERT_EQ(ground.PickMesh(Vec3(0, 100.0f, 0), Vec3(0, -1, 0), &centre), 1);
        int escapes = 0, bare = 0, blocked = 0, walls = 0;
        std::ostringstream where;
        for (float h : rootHeights)
            for (int i = 0; i < kRays; ++i) {
                // Half a step off the axes: a ray along a seam of the ground's triangles could
                // slip between them, which says nothing of the walls.
                const float a = 6.2831853f * (i + 0.5f) / kRays;
                const Vec3 dir(std::sin(a), 0, std::cos(a));
                Vec3 wall;
                if (DistanceToWall(ground, centre, dir, h, &wall) < 0) {
                    if (++escapes <= 4) where << " " << (i + 0.5f) * 360 / kRays << " deg at height " << h << ";";
                    continue;
                }
                // Views from behind the outer walls only: these reach far above any block.
                Vec3 tall;
                if (h != rootHeights[1] || !ground.PickMesh(wall - dir * 0.3f + Vec3(0, 18.0f, 0), dir, &tall) ||
                    Vec3Length(tall - (wall - dir * 0.3f + Vec3(0, 18.0f, 0))) > 1.0f)
                    continue;
                ++walls;
                for (float eh : eyeHeights)
                    for (float rh : robotHeights) {
                        const Vec3 eye = wall + dir * 3.5f + Vec3(0, eh, 0), robot = wall - dir + Vec3(0, rh, 0);
                        Vec3 seen;
                        const float far = Vec3Length(robot - eye);
                        if (stage.nodes[1].PickMesh(eye, (robot - eye) / far, &seen) && Vec3Length(seen - eye) < far - 0.01f &&
                            ++blocked <= 4)
                            where << " view at " << (i + 0.5f) * 360 / kRays << " deg blocked at " << seen.x << ", "
                                  << seen.y << ", " << seen.z << ";";
                    }
            }
        for (int s = 0; s < 6; ++s) {
            Vec3 floor;
            ASSERT_EQ(ground.PickMesh(Vec3(fromX[s], 100.0f, fromZ[s]), Vec3(0, -1, 0), &floor), 1);
            for (float h : rootHeights)
                for (float pitch : pitches)
                    for (int i = 0; i < kRays; ++i) {
                        const float a = 6.2831853f * (i + 0.5f) / kRays;
                        const Vec3 from = floor + Vec3(0, h, 0);
                        const Vec3 dir(std::sin(a) * std::cos(pitch), std::sin(pitch), std::cos(a) * std::cos(pitch));
                        Vec3 hit;
                        if (ground.PickMesh(from, dir, &hit) && !drawn.Near(hit, from, 1.0f) && ++bare <= 4)
                            where << " stop in the air at " << hit.x << ", " << hit.y << ", " << hit.z << ";";
                    }
        }
        if (open) {
            EXPECT_GT(escapes, 0) << "a stage that warns of falls has open edges";
        } else {
            EXPECT_EQ(escapes, 0) << "of " << 2 * kRays << " rays, leaving by" << where.str();
        }
        EXPECT_EQ(bare, 0) << "of " << 6 * 2 * 3 * kRays << " rising shots:" << where.str();
        EXPECT_EQ(blocked, 0) << "of " << walls * 6 << " views:" << where.str();
    }
}

// Two faces of different materials turned the same way in one plane that cover some of the same
// area fight in the depth test: streaks and patches of one flicker through the other as the
// camera moves. Faces that only share an edge, as floor tiles do, are fine, and so are faces of
// one material, whose textures lie on the plane alike, and faces turned down: the camera keeps
// above the ground under its robot, so those are seen from below the floors only.
TEST_F(Stages, NoTwoDrawnFacesTurnedAlikeOverlapInOnePlane) {
    struct Flat {
        Vec3 p[3], unit;
        float offset;  // of the plane along the unit normal
        uint32_t subset;
    };
    // Whether the two triangles' insides overlap within their common plane: no edge's outward
    // line (in the plane) keeps one triangle wholly apart from the other, touching included.
    auto overlap = [](const Flat& s, const Flat& t) {
        for (const Flat* f : {&s, &t})
            for (int e = 0; e < 3; ++e) {
                const Vec3 axis = Vec3Normalize(Vec3Cross(f->p[(e + 1) % 3] - f->p[e], f->unit));
                float sLow = 1e30f, sHigh = -1e30f, tLow = 1e30f, tHigh = -1e30f;
                for (int k = 0; k < 3; ++k) {
                    sLow = std::min(sLow, Vec3Dot(axis, s.p[k]));
                    sHigh = std::max(sHigh, Vec3Dot(axis, s.p[k]));
                    tLow = std::min(tLow, Vec3Dot(axis, t.p[k]));
                    tHigh = std::max(tHigh, Vec3Dot(axis, t.p[k]));
                }
                if (sHigh <= tLow + 1e-4f || tHigh <= sLow + 1e-4f) return false;
            }
        return true;
    };
    for (int number : kStageNumbers) {
        SCOPED_TRACE("stage " + std::to_string(number));
        CStage env;
        PlacedStage stage;
        stage.Load(env, number);
        const CMesh& m = stage.meshes[1];
        std::vector<Flat> flats;
        for (int f = 0; f < m.GetFaceCount(); ++f) {
            const uint32_t* i = m.GetIndices() + 3 * f;
            Flat t{{m.GetVertexPosition(i[0]), m.GetVertexPosition(i[1]), m.GetVertexPosition(i[2])}, Vec3(), 0,
                   m.GetFaceSubsets()[f]};
            const Vec3 n = FaceNormal(m, f);
            if (Vec3Length(n) < 1e-6f) continue;  // marker triangles have no inside
            t.unit = Vec3Normalize(n);
            if (t.unit.y < -0.5f) continue;
            t.offset = Vec3Dot(t.unit, t.p[0]);
            flats.push_back(t);
        }
        std::sort(flats.begin(), flats.end(), [](const Flat& a, const Flat& b) { return a.offset < b.offset; });
        int fights = 0;
        std::ostringstream where;
        for (size_t a = 0; a < flats.size(); ++a)
            for (size_t b = a + 1; b < flats.size() && flats[b].offset - flats[a].offset < 1e-4f; ++b) {
                const Flat &s = flats[a], &t = flats[b];
                if (s.subset == t.subset || Vec3Dot(s.unit, t.unit) < 0.99999f) continue;
                bool inPlane = true;
                for (const Vec3& q : t.p) inPlane = inPlane && std::fabs(Vec3Dot(s.unit, q) - s.offset) < 1e-4f;
                if (inPlane && overlap(s, t) && ++fights <= 3)
                    where << " at " << s.p[0].x << ", " << s.p[0].y << ", " << s.p[0].z << " facing " << s.unit.x << ", "
                          << s.unit.y << ", " << s.unit.z << ";";
            }
        EXPECT_EQ(fights, 0) << "pairs of faces" << where.str();
    }
}

TEST_F(Stages, GroundsFaceTheArenaAndWeatherBoxesFaceInwardWithinTheFarPlane) {
    const float farPlane = FarPlane();
    ASSERT_GT(farPlane, 50.0f);
    for (int number : kStageNumbers) {
        SCOPED_TRACE("stage " + std::to_string(number));
        CStage env;
        PlacedStage stage;
        stage.Load(env, number);
        const CMesh& ground = stage.meshes[0];
        const bool groundIsRoom = number == 101 || number == 111;  // a box serving as all three
        ASSERT_GT(ground.GetFaceCount(), 0);
        EXPECT_LE(ground.GetFaceCount(), 1200);  // few, large triangles: rays test every one
        int up = 0;
        for (int f = 0; f < ground.GetFaceCount(); ++f) {
            Vec3 n = Vec3Normalize(FaceNormal(ground, f));
            up += n.y > 0.5f;
            if (!groundIsRoom) {
                EXPECT_GT(n.y, -0.2f) << "ground face " << f << " turned down";
            }
        }
        EXPECT_GT(up, 0);
        const CMesh& weather = stage.meshes[2];
        if (!weather.HasMesh()) continue;
        for (int v = 0; v < weather.GetVertexCount(); ++v)
            ASSERT_LT(Vec3Length(weather.GetVertexPosition(v)) * 10.0f, farPlane) << "weather vertex " << v;
        if (stage.weather == 1) continue;  // falling snow, not a box
        for (int f = 0; f < weather.GetFaceCount(); ++f)
            EXPECT_LT(Vec3Dot(FaceNormal(weather, f), FaceMiddle(weather, f) - Vec3(0, number == 111 ? 0.6f : 0.0f, 0)), 0)
                << "weather face " << f << " turned outward";
    }
}

TEST_F(Stages, RowsGiveTheirColoursWeatherAndFogByGraphicsLevel) {
    struct Row {
        int stage;
        uint32_t clear;
        int weather;
        bool third;
    };
    const Row rows[] = {{1, 0xFF000000, 0, true},  {2, 0xFF222222, 0, true},  {3, 0xFF5555FF, 0, true},
                        {4, 0xFFFFFFFF, 1, true},  {5, 0xFFAAAAAA, 0, true},  {6, 0xFF333333, 0, true},
                        {7, 0xFF111111, 0, true},  {12, 0xFF0033FF, 0, true}, {14, 0xFF3333FF, 0, true},
                        {15, 0xFF111111, 0, true}, {17, 0xFF5555FF, 0, false}, {18, 0xFF000000, 0, true}};
    for (const Row& row : rows)
        for (int level : {1, 2, 3}) {
            SCOPED_TRACE("stage " + std::to_string(row.stage) + " level " + std::to_string(level));
            CStage env;
            env.m_graphicsLevel = level;
            PlacedStage stage;
            SetTableFog(1, 0xFF123456, 1, 2);  // left on by something earlier
            stage.Load(env, row.stage);
            EXPECT_EQ(stage.clear, row.clear);
            EXPECT_EQ(stage.weather, row.weather);
            EXPECT_EQ(env.m_fogColor, row.clear);
            EXPECT_EQ(stage.meshes[2].HasMesh(), row.third ? 1 : 0);
            EXPECT_EQ(GfxGetRenderState(kRsFogEnable), level == 3 ? 1u : 0u);
            if (level == 3) {
                EXPECT_EQ(GfxGetRenderState(kRsFogColor), row.clear);
                EXPECT_EQ(GfxGetRenderState(kRsFogStart), FloatBits(15.0f));
                EXPECT_EQ(GfxGetRenderState(kRsFogEnd), FloatBits(39.0f));
            }
        }
    // Stage 12 is one mesh as ground and stage alike.
    CStage env;
    PlacedStage twelve;
    twelve.Load(env, 12);
    EXPECT_EQ(twelve.meshes[0].GetName(), twelve.meshes[1].GetName());
    EXPECT_EQ(twelve.meshes[0].GetFaceCount(), twelve.meshes[1].GetFaceCount());
}

TEST_F(Stages, UnknownNumberLoadsNothingAndKeepsTheWeatherBox) {
    const std::string before = SysGetCurrentDir();
    for (int number : {0, 8, 11, 19, 100, -1, 255, 1 << 30}) {
        SCOPED_TRACE("stage " + std::to_string(number));
        CStage env;
        PlacedStage stage;
        stage.Load(env, 1);
        const std::string tune = GetLoadedMidiName();
        stage.clear = 0x12345678;
        stage.weather = 7;
        stage.Load(env, number);
        EXPECT_FALSE(stage.meshes[0].HasMesh());
        EXPECT_FALSE(stage.meshes[1].HasMesh());
        EXPECT_TRUE(stage.meshes[2].HasMesh());  // not loaded, so as it was
        EXPECT_EQ(stage.clear, 0xFF000000u);
        EXPECT_EQ(stage.weather, 7);
        EXPECT_EQ(GetLoadedMidiName(), tune);
        EXPECT_EQ(SysGetCurrentDir(), before);
        Vec3 hit;
        EXPECT_EQ(stage.nodes[0].PickMesh(Vec3(0, 100, -6), Vec3(0, -1, 0), &hit), 0);
    }
    // A missing stage folder loads nothing either, and leaves the folder as it was.
    ASSERT_EQ(unlink((folder.Path() + "/map").c_str()), 0);
    CStage env;
    PlacedStage stage;
    stage.Load(env, 1);
    EXPECT_FALSE(stage.meshes[0].HasMesh());
    EXPECT_EQ(SysGetCurrentDir(), before);
}

// A collision ground with too many faces crowding one place, which every pick there would have
// to test, is fought on as a damaged ground file is (no ground), with a log line naming it; one
// face fewer is kept.
TEST_F(Stages, AGroundTooCrowdedForPicksIsFoughtOnAsADamagedOne) {
    const std::string map = folder.Path() + "/map";
    char target[4096];
    const ssize_t length = readlink(map.c_str(), target, sizeof target - 1);
    ASSERT_GT(length, 0);
    target[length] = 0;
    std::string ground;
    {
        CStage env;
        PlacedStage shipped;
        shipped.Load(env, 1);
        ground = shipped.meshes[0].GetName();
    }
    ASSERT_EQ(unlink(map.c_str()), 0);
    ASSERT_EQ(mkdir(map.c_str(), 0755), 0);
    DIR* dir = opendir(target);
    ASSERT_NE(dir, nullptr);
    while (dirent* e = readdir(dir)) {
        const std::string name = e->d_name;
        if (name == "." || name == ".." || name == ground) continue;
        ASSERT_EQ(symlink((std::string(target) + "/" + name).c_str(), (map + "/" + name).c_str()), 0);
    }
    closedir(dir);
    for (int stacked : {4095, 4096}) {
        // A floor, and above it one small triangle written `stacked` times over.
        std::string x = "xof 0302txt 0032\nMesh { 7; -9;0;-9;, -9;0;9;, 9;0;9;, 9;0;-9;, 0;5;0;, 0;5;1;, 1;5;0;; ";
        x += std::to_string(2 + stacked) + "; 3;0,1,2;, 3;0,2,3;";
        for (int f = 0; f < stacked; ++f) x += ", 3;4,5,6;";
        WriteWholeFile(map + "/" + ground, x + "; }\n");
        const size_t logStart = driver.Log().size();
        auto battle = std::make_unique<CBattle>();
        battle->LoadStage(1);
        const std::string log = driver.Log().substr(logStart);
        const bool refused = stacked >= 4096;
        SCOPED_TRACE(log);
        EXPECT_EQ(log.find(ground + ": 4096 or more faces crowd one place") != std::string::npos, refused);
        EXPECT_EQ(battle->m_stageMeshes[0].HasMesh(), refused ? 0 : 1);
        Vec3 hit;
        EXPECT_EQ(battle->m_stageObjects[0].PickMesh(Vec3(0, 100, 0), Vec3(0, -1, 0), &hit), refused ? 0 : 1);
        EXPECT_TRUE(battle->m_stageMeshes[1].HasMesh());
    }
}

TEST(StageInfo, NamesSecondTextsAndFeatures) {
    struct Info {
        int stage;
        const char* name;
        const char* second;
        const char* feature;
    };
    const Info infos[] = {
        {0, "??", "", "??"},
        {1, "バトルドーム", "", "段差が多い"},
        {4, "山岳", "", "高低差の大きい地形（雪"},
        {7, "ファイナルステージ", "", "落下に注意！"},
        {14, "簡易ステージ", "", "軽量ｗ"},
        {18, "山岳2", "", "高低差の大きい地形（夜"},
        {8, "??", "??", "??"},
        {-5, "??", "??", "??"},
    };
    for (const Info& i : infos) {
        EXPECT_EQ(GetStageInfo(i.stage, 0), i.name) << i.stage;
        EXPECT_EQ(GetStageInfo(i.stage, 1), i.second) << i.stage;
        EXPECT_EQ(GetStageInfo(i.stage, 2), i.feature) << i.stage;
        EXPECT_EQ(GetStageInfo(i.stage, 3), "") << i.stage;
    }
    EXPECT_NE(GetStageInfo(15, 2), "??");
    EXPECT_NE(GetStageInfo(15, 2), "");
}

TEST(StageEnvironment, BlankAndConstructedValues) {
    CStage env;
    EXPECT_EQ(env.m_fogColor, 0xFF330000u);
    env.InitBlank();
    EXPECT_EQ(env.m_fogColor, 0xF0FFFFFFu);
    EXPECT_EQ(static_cast<uint32_t>(env.m_graphicsLevel), 0xF0FFFFFFu);
}

}  // namespace
