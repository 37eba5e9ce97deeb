// Small samples of the engine's own facilities that no scene loads: a two-part keyframe model
// with its key file, and a grey-scale height image (16 x 12, a round hill on a slope).
#include "generator.h"
#include "png_writer.h"
#include "test_data.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace {

// A box as a .x text mesh with one material: w x h x d, its base at y = 0.
std::string BoxMesh(float w, float h, float d, const char* color) {
    float x = w / 2, z = d / 2;
    char buf[2048];
    std::snprintf(buf, sizeof buf,
                  "xof 0302txt 0032\n"
                  "Mesh {\n 8;\n"
                  " %g;0;%g;, %g;%g;%g;, %g;%g;%g;, %g;0;%g;,\n"
                  " %g;0;%g;, %g;%g;%g;, %g;%g;%g;, %g;0;%g;;\n"
                  " 6;\n"
                  " 4;0,1,2,3;, 4;7,6,5,4;, 4;4,5,1,0;, 4;3,2,6,7;, 4;1,5,6,2;, 4;4,0,3,7;;\n"
                  " MeshMaterialList { 1; 1; 0;; Material { %s;; 10.0; 0.2;0.2;0.2;; 0.0;0.0;0.0;; } }\n"
                  "}\n",
                  -x, -z, -x, h, -z, x, h, -z, x, -z,  // front (z = -d/2)
                  -x, z, -x, h, z, x, h, z, x, z,      // back
                  color);
    return buf;
}

int WriteText(const std::string& path, const std::string& text) { return WriteFileBytes(path, text.data(), text.size()); }

}  // namespace

int WriteEngineSamples(const std::string& dataDir) {
    std::string dir = dataDir + "/sample";
    if (!MakeDirs(dir)) return 0;
    if (!WriteText(dir + "/kf_body.x", BoxMesh(1.0f, 1.5f, 0.6f, "0.2;0.4;0.9;1.0"))) return 0;
    if (!WriteText(dir + "/kf_arm.x", BoxMesh(0.3f, 1.0f, 0.3f, "0.9;0.6;0.1;1.0"))) return 0;
    // Ten frames: the body bobs, the arm swings once about X beside it.
    std::string keys = "2\nkf_body.x kf_arm.x\n10\n";
    char line[256];
    for (int f = 0; f < 10; ++f) {
        double a = 2 * 3.14159265358979 * f / 10;
        std::snprintf(line, sizeof line, "0,%.4f,0 0,0,0,1\n", 0.1 * std::sin(a));
        keys += line;
        double half = 0.5 * std::sin(a) / 2;
        std::snprintf(line, sizeof line, "0.7,1.4,0 %.6f,0,0,%.6f\n", std::sin(half), std::cos(half));
        keys += line;
    }
    if (!WriteText(dir + "/walker.txt", keys)) return 0;
    const int w = 16, h = 12;
    std::vector<uint32_t> px(w * h);
    for (int r = 0; r < h; ++r)
        for (int c = 0; c < w; ++c) {
            double dx = c - 9.0, dz = r - 5.0;
            double g = 20 + 6 * c + 150 * std::exp(-(dx * dx + dz * dz) / 8.0);
            uint32_t v = g > 255 ? 255 : static_cast<uint32_t>(g);
            px[r * w + c] = 0xFF000000u | v << 16 | v << 8 | v;
        }
    return WritePngArgb(dir + "/hill.png", w, h, px.data());
}
