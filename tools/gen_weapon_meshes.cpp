// Stand-in weapon meshes for the weapon viewer: a rifle and the left and right missile pods,
// built from boxes. Weapons point along -Z, as robots face; each has two materials (a body
// colour and a trim colour).
#include "generator.h"
#include "mesh_builder.h"

#include <string>

namespace {

int WriteWeaponMeshes(const std::string& dir) {
    const std::string x = dir + "/x/";
    // Rifle: receiver, long barrel forward (-Z), grip, stock and a sight.
    CMeshBuilder rifle;
    int metal = rifle.AddMaterial(0.35f, 0.38f, 0.42f), orange = rifle.AddMaterial(0.9f, 0.45f, 0.1f);
    rifle.Use(metal);
    rifle.Box(V3(0, 0, 0), V3(0.16f, 0.22f, 0.5f));
    rifle.Box(V3(0, 0.04f, -0.55f), V3(0.07f, 0.07f, 0.6f));
    rifle.Use(orange);
    rifle.Box(V3(0, -0.18f, 0.05f), V3(0.08f, 0.2f, 0.1f));
    rifle.Box(V3(0, -0.02f, 0.36f), V3(0.12f, 0.18f, 0.24f));
    rifle.Box(V3(0, 0.15f, -0.05f), V3(0.05f, 0.08f, 0.16f));
    // Missile pod: a block with four warheads on its front face; the two sides are mirrored.
    auto pod = [](float side) {
        CMeshBuilder b;
        int olive = b.AddMaterial(0.45f, 0.5f, 0.3f), red = b.AddMaterial(0.85f, 0.1f, 0.1f);
        b.Use(olive);
        b.Box(V3(0, 0, 0), V3(0.3f, 0.3f, 0.5f));
        b.Box(V3(side * 0.16f, 0, 0.05f), V3(0.04f, 0.2f, 0.3f));
        b.Use(red);
        for (int i = 0; i < 4; ++i) b.Box(V3(i % 2 ? 0.07f : -0.07f, i / 2 ? 0.07f : -0.07f, -0.28f), V3(0.08f, 0.08f, 0.08f));
        return b;
    };
    return MakeDirs(x) && rifle.Write(x + "wR-shuV.x") && pod(-1).Write(x + "wB-Missile1(1)L.x") &&
           pod(1).Write(x + "wB-Missile1(1)R.x");
}

}  // namespace

REGISTER_GENERATOR("weapon meshes", WriteWeaponMeshes);
