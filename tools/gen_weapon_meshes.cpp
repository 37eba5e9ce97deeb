// Stand-in weapon meshes for the weapon viewer: a rifle and the left and right missile pods,
// built from boxes in .x text form. Weapons point along -Z, as robots face; each has two
// materials (a body colour and a trim colour).
#include "generator.h"

#include <cstdio>
#include <string>
#include <vector>

namespace {

struct Box {
    float cx, cy, cz;   // centre
    float sx, sy, sz;   // full size
    int material;       // 0 body, 1 trim
};

struct Rgb {
    float r, g, b;
};

// Faces wind clockwise seen from outside (the device's front faces).
std::string MeshText(const std::vector<Box>& boxes, Rgb body, Rgb trim) {
    // Per face: outward normal n and two axes u, v with u x v = n.
    static const int kFaces[6][3][3] = {
        {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}},   {{-1, 0, 0}, {0, 0, 1}, {0, 1, 0}},
        {{0, 1, 0}, {0, 0, 1}, {1, 0, 0}},   {{0, -1, 0}, {1, 0, 0}, {0, 0, 1}},
        {{0, 0, 1}, {1, 0, 0}, {0, 1, 0}},   {{0, 0, -1}, {0, 1, 0}, {1, 0, 0}},
    };
    std::string vertices, faces, normals, normalFaces, materials;
    char line[160];
    int vertex = 0;
    for (const Box& b : boxes) {
        const float half[3] = {b.sx / 2, b.sy / 2, b.sz / 2};
        for (int f = 0; f < 6; ++f) {
            const int* n = kFaces[f][0];
            const int* u = kFaces[f][1];
            const int* v = kFaces[f][2];
            for (int corner = 0; corner < 4; ++corner) {
                const int su = (corner == 1 || corner == 2) ? 1 : -1, sv = corner >= 2 ? 1 : -1;
                float p[3];
                for (int k = 0; k < 3; ++k) p[k] = n[k] * half[k] + su * u[k] * half[k] + sv * v[k] * half[k];
                snprintf(line, sizeof line, "%s%.4f;%.4f;%.4f;", vertices.empty() ? "" : ",\n", b.cx + p[0],
                         b.cy + p[1], b.cz + p[2]);
                vertices += line;
                snprintf(line, sizeof line, "%s%d.0;%d.0;%d.0;", normals.empty() ? "" : ",\n", n[0], n[1], n[2]);
                normals += line;
            }
            // Corners 0 (-u -v), 1 (+u -v), 2 (+u +v), 3 (-u +v).
            snprintf(line, sizeof line, "%s3;%d,%d,%d;,\n3;%d,%d,%d;", faces.empty() ? "" : ",\n", vertex, vertex + 1,
                     vertex + 3, vertex + 1, vertex + 2, vertex + 3);
            faces += line;
            materials += std::string(materials.empty() ? "" : ",") + std::to_string(b.material) + "," +
                         std::to_string(b.material);
            vertex += 4;
        }
    }
    const int faceCount = vertex / 2;
    normalFaces = faces;
    char head[64];
    std::string out = "xof 0302txt 0032\nMesh {\n";
    snprintf(head, sizeof head, "%d;\n", vertex);
    out += head + vertices + ";\n";
    snprintf(head, sizeof head, "%d;\n", faceCount);
    out += head + faces + ";\n";
    out += " MeshNormals {\n";
    snprintf(head, sizeof head, "%d;\n", vertex);
    out += head + normals + ";\n";
    snprintf(head, sizeof head, "%d;\n", faceCount);
    out += head + normalFaces + ";\n }\n";
    out += " MeshMaterialList {\n  2;\n";
    snprintf(head, sizeof head, "  %d;\n", faceCount);
    out += head + materials + ";;\n";
    for (const Rgb& c : {body, trim}) {
        snprintf(line, sizeof line, "  Material { %.2f;%.2f;%.2f;1.0;; 5.0; 0.2;0.2;0.2;; 0.0;0.0;0.0;; }\n", c.r, c.g,
                 c.b);
        out += line;
    }
    out += " }\n}\n";
    return out;
}

int WriteMesh(const std::string& path, const std::vector<Box>& boxes, Rgb body, Rgb trim) {
    std::string text = MeshText(boxes, body, trim);
    return WriteFileBytes(path, text.data(), text.size());
}

int WriteWeaponMeshes(const std::string& dir) {
    const std::string x = dir + "/x/";
    const Rgb gunMetal = {0.35f, 0.38f, 0.42f}, orange = {0.9f, 0.45f, 0.1f};
    const Rgb olive = {0.45f, 0.5f, 0.3f}, red = {0.85f, 0.1f, 0.1f};
    // Rifle: receiver, long barrel forward (-Z), grip, stock and a sight.
    const std::vector<Box> rifle = {
        {0, 0, 0, 0.16f, 0.22f, 0.5f, 0},     {0, 0.04f, -0.55f, 0.07f, 0.07f, 0.6f, 0},
        {0, -0.18f, 0.05f, 0.08f, 0.2f, 0.1f, 1}, {0, -0.02f, 0.36f, 0.12f, 0.18f, 0.24f, 1},
        {0, 0.15f, -0.05f, 0.05f, 0.08f, 0.16f, 1},
    };
    // Missile pod: a block with four warheads on its front face; the two sides are mirrored.
    auto pod = [](float side) {
        std::vector<Box> b = {{0, 0, 0, 0.3f, 0.3f, 0.5f, 0}, {side * 0.16f, 0, 0.05f, 0.04f, 0.2f, 0.3f, 0}};
        for (int i = 0; i < 4; ++i)
            b.push_back({(i % 2 ? 0.07f : -0.07f), (i / 2 ? 0.07f : -0.07f), -0.28f, 0.08f, 0.08f, 0.08f, 1});
        return b;
    };
    return MakeDirs(x) && WriteMesh(x + "wR-shuV.x", rifle, gunMetal, orange) &&
           WriteMesh(x + "wB-Missile1(1)L.x", pod(-1), olive, red) &&
           WriteMesh(x + "wB-Missile1(1)R.x", pod(1), olive, red);
}

}  // namespace

REGISTER_GENERATOR("weapon meshes", WriteWeaponMeshes);
