// Pick figures: the time of a ray pick beside the plain loop over every face with the triangle
// test, on the same rays, for a dense terrain, a fine sphere, a railing of thin bars and a heap of
// long planks, for downward picks, level picks across the model and short level picks (a robot's
// wall test, reach 0.5). A ratio under 0.1 is the target; nothing here fails a build.
// Usage: pick_bench
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

}  // namespace

int main() {
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
