// Models that ray picks must search in a small share of the loop over every face and answer on
// exactly as that loop: a dense, nearly flat terrain, a railing of thin bars and a heap of long
// planks (the fine sphere is the mesh's own generated one). Built from quads, as a modeller
// writes them; shared by the pick tests and the pick benchmark.
#pragma once

#include "math_ops.h"
#include "xfile_reader.h"

#include <cstdint>
#include <string>
#include <vector>

struct PickModel {
    std::vector<Vec3> positions;
    std::vector<uint32_t> quads;  // four corners each, front faces clockwise seen from outside

    // As the loader triangulates a quad: (0, 1, 2) and (0, 2, 3), one material.
    XMeshData Triangles() const {
        XMeshData d;
        d.positions = positions;
        for (size_t q = 0; q + 3 < quads.size(); q += 4)
            d.indices.insert(d.indices.end(), {quads[q], quads[q + 1], quads[q + 2], quads[q], quads[q + 2], quads[q + 3]});
        d.faceMaterials.assign(d.indices.size() / 3, 0);
        d.materials.resize(1);
        return d;
    }

    // The model as a text .x file of quads.
    std::string XFileText() const {
        std::string s = "xof 0302txt 0032\nMesh {\n" + std::to_string(positions.size()) + ";\n";
        char line[96];
        for (size_t i = 0; i < positions.size(); ++i) {
            snprintf(line, sizeof line, "%.9g;%.9g;%.9g;%s\n", positions[i].x, positions[i].y, positions[i].z,
                     i + 1 < positions.size() ? "," : ";");
            s += line;
        }
        s += std::to_string(quads.size() / 4) + ";\n";
        for (size_t q = 0; q + 3 < quads.size(); q += 4) {
            snprintf(line, sizeof line, "4;%u,%u,%u,%u;%s\n", quads[q], quads[q + 1], quads[q + 2], quads[q + 3],
                     q + 4 < quads.size() ? "," : ";");
            s += line;
        }
        return s + "}\n";
    }
};

// Draws of a small fixed generator, so every run meets the same shapes and rays.
struct PickDraws {
    uint32_t state = 57;
    float Next(float lo, float hi) {
        state = state * 1664525u + 1013904223u;
        return lo + (hi - lo) * float(state >> 8) / float(1 << 24);
    }
};

// side x side quads over 128 x 128 units, facing up, rolling by under a unit.
inline PickModel TerrainModel(int side = 128) {
    PickModel m;
    const float step = 128.0f / side;
    for (int i = 0; i <= side; ++i)
        for (int j = 0; j <= side; ++j) {
            const float x = -64 + i * step, z = -64 + j * step;
            m.positions.push_back(Vec3(x, 0.4f * SinF(x * 0.21f) * CosF(z * 0.17f) + 0.05f * SinF(x * z * 0.01f), z));
        }
    for (int i = 0; i < side; ++i)
        for (int j = 0; j < side; ++j) {
            const uint32_t a = i * (side + 1) + j;
            m.quads.insert(m.quads.end(), {a, a + 1, a + side + 2, a + side + 1});
        }
    return m;
}

// `bars` upright bars of 16 sides, 4 units tall and 0.1 thick (40 times as long as thick), a
// quarter unit apart along X: 32 triangles a bar, no caps.
inline PickModel RailingModel(int bars = 300) {
    PickModel m;
    constexpr int kSides = 16;
    for (int b = 0; b < bars; ++b) {
        const float cx = (b - bars / 2) * 0.25f;
        const uint32_t first = static_cast<uint32_t>(m.positions.size());
        for (int s = 0; s < kSides; ++s) {
            const float a = 2 * kPi * s / kSides;
            const float x = cx + 0.05f * CosF(a), z = 0.05f * SinF(a);
            m.positions.push_back(Vec3(x, 0, z));
            m.positions.push_back(Vec3(x, 4, z));
        }
        for (int s = 0; s < kSides; ++s) {
            const uint32_t lo0 = first + 2 * s, hi0 = lo0 + 1;
            const uint32_t lo1 = first + 2 * ((s + 1) % kSides), hi1 = lo1 + 1;
            m.quads.insert(m.quads.end(), {lo0, hi0, hi1, lo1});
        }
    }
    return m;
}

// `planks` boards 10 units long and a quarter wide, facing up, strewn at every angle over 60 x 60
// units and up to 2 units high.
inline PickModel PlanksModel(int planks = 2500) {
    PickModel m;
    PickDraws r;
    r.state = 91;
    for (int p = 0; p < planks; ++p) {
        const Vec3 c(r.Next(-30, 30), r.Next(0, 2), r.Next(-30, 30));
        const float a = r.Next(0, 2 * kPi);
        const Vec3 along(5 * CosF(a), 0, 5 * SinF(a)), across(-0.125f * SinF(a), 0, 0.125f * CosF(a));
        const uint32_t first = static_cast<uint32_t>(m.positions.size());
        for (const Vec3& v : {c - along - across, c - along + across, c + along + across, c + along - across})
            m.positions.push_back(v);
        m.quads.insert(m.quads.end(), {first, first + 1, first + 2, first + 3});
    }
    return m;
}
