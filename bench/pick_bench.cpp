// Pick figures: the time of a ray pick beside the plain loop over every face with the triangle
// test, on the same rays, for a dense terrain, a fine sphere, a railing of thin bars and a heap of
// long planks, for downward picks, level picks across the model and short level picks (a robot's
// wall test, reach 0.5). A ratio under 0.1 is the target; nothing here fails a build. Given mesh
// files (the stages' grounds), it prints instead the time of the battle's picks on each, placed
// as the battle places a ground (scale 10): the figures to compare between builds.
// Usage: pick_bench [GROUND.x ...]
#include "mesh.h"
#include "node.h"
#include "pick_models.h"

#include <time.h>

#include <algorithm>
#include <cfloat>
#include <cstdio>
#include <vector>

namespace {

constexpr int kRays = 400;
constexpr double kTargetRatio = 0.1;

double NowUs() {
    timespec ts;
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return double(ts.tv_sec) * 1e6 + double(ts.tv_nsec) / 1e3;
}

// The plain loop: every face in turn, the nearest hit in front of the origin.
int LoopPick(const CMesh& mesh, const Vec3& o, const Vec3& d, Vec3* hit) {
    float best = FLT_MAX;
    int found = 0;
    for (int f = 0; f < mesh.GetFaceCount(); ++f) {
        const uint32_t* idx = mesh.GetIndices() + f * 3;
        const Vec3 a = mesh.GetVertexPosition(idx[0]), b = mesh.GetVertexPosition(idx[1]);
        const Vec3 c = mesh.GetVertexPosition(idx[2]);
        float t, u, v;
        if (!IntersectTriangle(o, d, a, b, c, &t, &u, &v)) continue;
        const Vec3 p = a + (b - a) * u + (c - a) * v;
        const float dist = Vec3LengthSq(p - o);
        if (Vec3Dot(d, p - o) < 0 || !(dist < best)) continue;
        best = dist;
        *hit = p;
        found = 1;
    }
    return found;
}

struct Ray {
    Vec3 o, d;
};

// The least time per ray (microseconds) of a few runs over all rays, so a busy machine's
// interruptions count as little as they can.
template <typename Pick>
double PerRay(const std::vector<Ray>& rays, Pick pick, int* hits) {
    double best = 1e30;
    for (int run = 0; run < 3; ++run) {
        int found = 0;
        const double start = NowUs();
        for (const Ray& r : rays) found += pick(r);
        best = std::min(best, (NowUs() - start) / double(rays.size()));
        *hits = found;
    }
    return best;
}

void Measure(const char* name, CMesh& mesh) {
    if (mesh.GetFaceCount() == 0) {
        printf("%-8s refused at load\n", name);
        return;
    }
    C3DObject node;
    node.Create(&mesh, 0, 0, 0, 1);
    const Vec3 lo = mesh.GetBoxMin(), hi = mesh.GetBoxMax();
    const Vec3 level[4] = {Vec3(1, 0, 0), Vec3(0, 0, 1), Vec3(-1, 0, 0), Vec3(0, 0, -1)};
    const char* kinds[3] = {"down", "level across", "wall test"};
    for (int kind = 0; kind < 3; ++kind) {
        PickDraws r;
        std::vector<Ray> rays;
        for (int k = 0; k < kRays; ++k) {
            const Vec3 inside(r.Next(lo.x, hi.x), r.Next(lo.y, hi.y), r.Next(lo.z, hi.z));
            const Vec3 d = level[k % 4];
            if (kind == 0) rays.push_back({Vec3(inside.x, hi.y + 1, inside.z), Vec3(0, -1, 0)});
            if (kind == 1) rays.push_back({inside - d * (Vec3Length(hi - lo) + 1), d});
            if (kind == 2) rays.push_back({inside, d});
        }
        const float reach = kind == 2 ? 0.5f : FLT_MAX;
        int pickHits = 0, loopHits = 0;
        const double pick = PerRay(
            rays,
            [&](const Ray& ray) {
                Vec3 hit;
                return node.PickMesh(ray.o, ray.d, &hit, nullptr, reach);
            },
            &pickHits);
        const double loop = PerRay(
            rays,
            [&](const Ray& ray) {
                Vec3 hit;
                return LoopPick(mesh, ray.o, ray.d, &hit);
            },
            &loopHits);
        const double ratio = pick / loop;
        printf("%-8s %6d faces  %-12s  pick %8.2f us  loop %8.1f us  ratio %.4f %s  (hits %d / %d)\n", name,
               mesh.GetFaceCount(), kinds[kind], pick, loop, ratio, ratio <= kTargetRatio ? "ok" : "OVER", pickHits,
               loopHits);
    }
}

// The picks a battle step makes of its ground: a robot's feet (down from a unit above, unlimited),
// its wall and ceiling tests (level and up, reach 0.5) and a shot's step (slanted, reach 2), from
// points over the ground's middle.
void MeasureGround(const char* file) {
    CMesh mesh;
    if (!mesh.Load(file)) {
        printf("%s: not loaded\n", file);
        return;
    }
    mesh.BuildFaceCells();  // as the battle readies its ground
    C3DObject node;
    node.Create(&mesh, 0, 0, 0, 10.0f);
    const Vec3 lo = mesh.GetBoxMin() * 10.0f, hi = mesh.GetBoxMax() * 10.0f;
    PickDraws r;
    struct Pick {
        Vec3 o, d;
        float reach;
    };
    std::vector<Pick> picks;
    const Vec3 level[4] = {Vec3(1, 0, 0), Vec3(0, 0, 1), Vec3(-1, 0, 0), Vec3(0, 0, -1)};
    for (int k = 0; k < 1000; ++k) {
        const Vec3 at(r.Next(lo.x * 0.8f, hi.x * 0.8f), r.Next(0, 3), r.Next(lo.z * 0.8f, hi.z * 0.8f));
        picks.push_back({at + Vec3(0, 1, 0), Vec3(0, -1, 0), FLT_MAX});
        picks.push_back({at, level[k % 4], 0.5f});
        picks.push_back({at, Vec3(0, 1, 0), 0.5f});
        picks.push_back({at, Vec3Normalize(Vec3(r.Next(-1, 1), r.Next(-1, 0.2f), r.Next(-1, 1))), 2.0f});
    }
    int hits = 0;
    const double start = NowUs();
    for (int run = 0; run < 20; ++run)
        for (const Pick& p : picks) {
            Vec3 hit;
            hits += node.PickMesh(p.o, p.d, &hit, nullptr, p.reach);
        }
    printf("%-20s %5d faces  %.3f us a pick  (hits %d)\n", file, mesh.GetFaceCount(),
           (NowUs() - start) / (20.0 * picks.size()), hits / 20);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc > 1) {
        for (int i = 1; i < argc; ++i) MeasureGround(argv[i]);
        return 0;
    }
    CMesh terrain, sphere, railing, planks;
    terrain.TakeData(TerrainModel().Triangles(), 0, 1);
    sphere.CreateSphere(10, 256, 128, 1, 1, 1, 1);
    railing.TakeData(RailingModel().Triangles(), 0, 1);
    planks.TakeData(PlanksModel().Triangles(), 0, 1);
    Measure("terrain", terrain);
    Measure("sphere", sphere);
    Measure("railing", railing);
    Measure("planks", planks);
    return 0;
}
