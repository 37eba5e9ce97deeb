// Stand-in weapon meshes under ".\x": hand weapons and items, back-mounted parts, the empty
// part and the shadow. Hand weapons hang from the hand and point along their -Y (a raised
// forearm points them forward), their top along -Z; back parts point forward along -Z. The
// muzzle comes first, as a hook at vertex 0.
#include "generator.h"
#include "mesh_builder.h"

#include <cmath>
#include <string>

namespace {

// Materials of every weapon: body metal, a coloured trim and a glow.
struct Kit {
    int metal, trim, glow;
};

Kit AddKit(CMeshBuilder& b, float r, float g, float bl) {
    Kit k;
    k.metal = b.AddMaterial(0.3f, 0.32f, 0.36f);
    k.trim = b.AddMaterial(r, g, bl);
    k.glow = b.AddMaterial(1.0f, 0.5f, 0.2f);
    b.SetGlow(k.glow, 0.9f, 0.45f, 0.15f);
    return k;
}

// A hand weapon is drawn as if held level, pointing along -Z with its top up; this place turns
// it to hang from the hand along -Y.
Place HandPlace() {
    Place p;
    p.ay = V3(0, 0, -1);
    p.az = V3(0, 1, 0);
    return p;
}

void Grip(CMeshBuilder& b, const Kit& k) {
    b.Use(k.metal);
    b.Box(V3(0, -0.02f, 0.02f), V3(0.05f, 0.12f, 0.06f));
}

void Rifle(CMeshBuilder& b) {
    Kit k = AddKit(b, 0.85f, 0.5f, 0.1f);
    b.Marker(V3(0, 0.06f, -0.78f));
    Grip(b, k);
    b.Box(V3(0, 0.07f, -0.08f), V3(0.08f, 0.11f, 0.42f));
    b.Cylinder(V3(0, 0.06f, -0.28f), V3(0, 0.06f, -0.78f), 0.025f, 0.022f, 8);
    b.Use(k.trim);
    b.TaperedBox(V3(0, 0.01f, 0.13f), 0.1f, 0.06f, 0.16f, 0.07f, 0.22f, 0, 0.04f);  // stock
    b.Box(V3(0, -0.04f, -0.16f), V3(0.04f, 0.12f, 0.06f));                          // magazine
    b.Use(k.metal);
    b.Cylinder(V3(0, 0.16f, -0.02f), V3(0, 0.16f, -0.2f), 0.025f, 0.03f, 8);  // scope
    b.Use(k.glow);
    b.Cylinder(V3(0, 0.16f, -0.2f), V3(0, 0.16f, -0.205f), 0.03f, 0.03f, 8);
}

void SubMachineGun(CMeshBuilder& b) {
    Kit k = AddKit(b, 0.2f, 0.2f, 0.22f);
    b.Marker(V3(0, 0.06f, -0.5f));
    Grip(b, k);
    b.Box(V3(0, 0.07f, -0.07f), V3(0.09f, 0.12f, 0.3f));
    b.Use(k.trim);
    b.Cylinder(V3(0, 0.06f, -0.2f), V3(0, 0.06f, -0.42f), 0.04f, 0.04f, 8);  // perforated shroud
    b.Use(k.metal);
    b.Cylinder(V3(0, 0.06f, -0.42f), V3(0, 0.06f, -0.5f), 0.018f, 0.018f, 6);
    b.SetPlace(HandPlace().Moved(V3(0, 0, -0.15f)).TurnedX(0.2f));
    b.Box(V3(0, -0.1f, 0), V3(0.035f, 0.24f, 0.05f));  // long magazine
    b.SetPlace(HandPlace());
    b.Use(k.glow);
    b.Box(V3(0, 0.135f, -0.12f), V3(0.02f, 0.015f, 0.02f));
}

void MissileLauncher(CMeshBuilder& b, int tubes, float size) {
    Kit k = AddKit(b, 0.45f, 0.5f, 0.3f);
    b.Marker(V3(0, size * 0.5f, -size * 1.2f));
    Grip(b, k);
    b.Use(k.trim);
    b.Box(V3(0, size * 0.5f, -size * 0.45f), V3(size, size, size * 1.5f));
    b.Use(k.metal);
    b.Box(V3(0, size * 1.05f, -size * 0.3f), V3(size * 0.3f, 0.05f, size * 0.5f));  // sight
    for (int i = 0; i < tubes; ++i) {
        float x = tubes == 1 ? 0 : (i % 2 ? 0.25f : -0.25f) * size;
        float y = size * 0.5f + (tubes <= 2 ? 0 : (i / 2 ? 0.25f : -0.25f) * size);
        b.Use(k.metal);
        b.Cylinder(V3(x, y, -size * 1.15f), V3(x, y, -size * 1.25f), size * 0.18f, size * 0.2f, 8);
        b.Use(k.glow);
        b.Cylinder(V3(x, y, -size * 1.2f), V3(x, y, -size * 1.3f), size * 0.1f, 0, 8);  // warhead
    }
}

void ActionRifle(CMeshBuilder& b) {
    Kit k = AddKit(b, 0.35f, 0.15f, 0.55f);
    b.Marker(V3(0, 0.07f, -0.82f));
    Grip(b, k);
    b.Use(k.trim);
    b.Box(V3(0, 0.07f, -0.2f), V3(0.09f, 0.14f, 0.6f));  // square housing
    b.Use(k.metal);
    b.Box(V3(0, 0.07f, -0.65f), V3(0.05f, 0.05f, 0.35f));
    b.Box(V3(0, -0.06f, -0.25f), V3(0.06f, 0.14f, 0.1f));  // box magazine
    b.Use(k.glow);
    b.Box(V3(0, 0.145f, -0.15f), V3(0.03f, 0.02f, 0.2f));
}

void Bazooka(CMeshBuilder& b) {
    Kit k = AddKit(b, 0.5f, 0.42f, 0.25f);
    b.Marker(V3(0, 0.12f, -0.62f));
    Grip(b, k);
    b.Use(k.trim);
    b.Cylinder(V3(0, 0.12f, 0.32f), V3(0, 0.12f, -0.5f), 0.08f, 0.08f, 10);
    b.Use(k.metal);
    b.Cylinder(V3(0, 0.12f, -0.5f), V3(0, 0.12f, -0.62f), 0.09f, 0.11f, 10);  // flared muzzle
    b.Cylinder(V3(0, 0.12f, 0.32f), V3(0, 0.12f, 0.38f), 0.09f, 0.1f, 10);
    b.Box(V3(0.1f, 0.16f, -0.05f), V3(0.05f, 0.07f, 0.12f));  // side sight
    b.Use(k.glow);
    b.Ball(V3(0.1f, 0.16f, -0.115f), V3(0.02f, 0.02f, 0.01f), 6, 4);
}

void HeavyRifle(CMeshBuilder& b) {
    Kit k = AddKit(b, 0.15f, 0.35f, 0.6f);
    b.Marker(V3(0, 0.08f, -1.0f));
    Grip(b, k);
    b.Box(V3(0, 0.08f, -0.15f), V3(0.1f, 0.14f, 0.55f));
    b.Use(k.trim);
    b.Cylinder(V3(-0.09f, 0.06f, 0.0f), V3(0.09f, 0.06f, 0.0f), 0.09f, 0.09f, 12);  // drum
    b.Use(k.metal);
    b.Cylinder(V3(0, 0.08f, -0.42f), V3(0, 0.08f, -1.0f), 0.035f, 0.03f, 8);
    b.Use(k.glow);
    for (int i = 0; i < 3; ++i) b.Cylinder(V3(0, 0.08f, -0.5f - 0.12f * i), V3(0, 0.08f, -0.54f - 0.12f * i), 0.045f, 0.045f, 8);
}

void Katana(CMeshBuilder& b) {
    Kit k = AddKit(b, 0.5f, 0.1f, 0.1f);
    int steel = b.AddMaterial(0.85f, 0.88f, 0.95f);
    b.SetGlow(steel, 0.45f, 0.5f, 0.6f);
    b.Marker(V3(0, 0.02f, -1.05f));
    b.Use(k.trim);
    b.Cylinder(V3(0, 0, 0.24f), V3(0, 0, -0.02f), 0.022f, 0.022f, 6);  // wrapped hilt
    b.Use(k.metal);
    b.Cylinder(V3(0, 0, -0.02f), V3(0, 0, -0.04f), 0.06f, 0.06f, 10);  // tsuba
    // The blade in three segments, curving up towards the tip.
    const float kSegment = 0.34f;
    Place p = HandPlace().Moved(V3(0, 0, -0.04f));
    b.Use(steel);
    for (int i = 0; i < 3; ++i) {
        b.SetPlace(p);
        b.Box(V3(0, 0, -kSegment / 2), V3(0.014f, 0.055f - 0.01f * i, kSegment));
        p = p.Moved(V3(0, 0, -kSegment)).TurnedX(0.06f);
    }
    b.SetPlace(HandPlace());
}

void Racket(CMeshBuilder& b) {
    Kit k = AddKit(b, 0.9f, 0.2f, 0.5f);
    b.Marker(V3(0, 0.0f, -0.55f));
    b.Use(k.metal);
    b.Cylinder(V3(0, 0, 0.12f), V3(0, 0, -0.28f), 0.025f, 0.02f, 6);  // handle
    b.Use(k.trim);
    const int kRim = 12;
    for (int i = 0; i < kRim; ++i) {  // an oval rim lying flat
        float a0 = 6.2831853f * i / kRim, a1 = 6.2831853f * (i + 1) / kRim;
        V3 p0(0.18f * std::sin(a0), 0, -0.55f + 0.26f * std::cos(a0));
        V3 p1(0.18f * std::sin(a1), 0, -0.55f + 0.26f * std::cos(a1));
        b.Cylinder(p0, p1, 0.022f, 0.022f, 6);
    }
    b.Use(k.glow);
    for (int i = -2; i <= 2; ++i) {  // strings
        b.Box(V3(i * 0.06f, 0, -0.55f), V3(0.008f, 0.008f, 0.46f));
        b.Box(V3(0, 0, -0.55f + i * 0.08f), V3(0.32f, 0.008f, 0.008f));
    }
}

void BeamLauncher(CMeshBuilder& b) {
    Kit k = AddKit(b, 0.9f, 0.9f, 0.85f);
    b.SetGlow(k.glow, 0.2f, 0.7f, 1.0f);
    b.Marker(V3(0, 0.1f, -0.95f));
    Grip(b, k);
    b.Use(k.trim);
    b.Cylinder(V3(0, 0.1f, 0.25f), V3(0, 0.1f, -0.85f), 0.065f, 0.05f, 10);
    b.Use(k.metal);
    b.Box(V3(-0.08f, 0.1f, 0.05f), V3(0.08f, 0.12f, 0.3f));  // power pack
    b.Use(k.glow);
    for (int i = 0; i < 3; ++i) b.Cylinder(V3(0, 0.1f, -0.35f - 0.15f * i), V3(0, 0.1f, -0.4f - 0.15f * i), 0.07f, 0.065f, 10);
    b.Cylinder(V3(0, 0.1f, -0.85f), V3(0, 0.1f, -0.95f), 0.05f, 0.03f, 10);
}

void BeamRifle(CMeshBuilder& b) {
    Kit k = AddKit(b, 0.95f, 0.95f, 1.0f);
    b.SetGlow(k.glow, 0.3f, 0.6f, 1.0f);
    b.Marker(V3(0, 0.06f, -0.7f));
    Grip(b, k);
    b.Use(k.trim);
    b.TaperedBox(V3(0, 0.01f, -0.1f), 0.1f, 0.07f, 0.4f, 0.05f, 0.45f, 0, -0.05f);
    b.Use(k.metal);
    b.Cylinder(V3(0, 0.06f, -0.3f), V3(0, 0.06f, -0.7f), 0.02f, 0.02f, 8);
    b.Use(k.glow);
    b.Box(V3(0.037f, 0.06f, -0.15f), V3(0.01f, 0.02f, 0.3f));
    b.Box(V3(-0.037f, 0.06f, -0.15f), V3(0.01f, 0.02f, 0.3f));
}

void Schwatzer(CMeshBuilder& b) {
    Kit k = AddKit(b, 0.9f, 0.45f, 0.1f);
    b.SetGlow(k.glow, 1.0f, 0.3f, 0.6f);
    b.Marker(V3(0, 0.09f, -0.9f));
    Grip(b, k);
    b.Box(V3(0, 0.09f, -0.1f), V3(0.16f, 0.18f, 0.5f));
    b.Use(k.trim);
    for (float side : {1.0f, -1.0f}) b.Box(V3(side * 0.06f, 0.09f, -0.6f), V3(0.04f, 0.1f, 0.6f));  // twin prongs
    b.Use(k.glow);
    b.Box(V3(0, 0.09f, -0.6f), V3(0.05f, 0.03f, 0.55f));
    b.Use(k.metal);
    b.Box(V3(0, 0.2f, -0.05f), V3(0.05f, 0.06f, 0.16f));
}

// The left-hand shield hangs on the forearm's outer (+X) side, over the forearm.
void Shield(CMeshBuilder& b) {
    Kit k = AddKit(b, 0.85f, 0.8f, 0.2f);
    b.Marker(V3(0.12f, 0.08f, -0.05f));
    b.Use(k.metal);
    b.TaperedBox(V3(0.1f, -0.22f, -0.02f), 0.62f, 0.04f, 0.12f, 0.05f, 0.42f, 0, 0);
    b.Use(k.trim);
    b.TaperedBox(V3(0.125f, -0.18f, -0.02f), 0.54f, 0.015f, 0.06f, 0.015f, 0.34f, 0, 0);
    b.Use(k.glow);
    b.Ball(V3(0.135f, 0.12f, -0.02f), V3(0.02f, 0.05f, 0.05f), 8, 5);
}

// ---- Back-mounted parts (forward along -Z, sitting behind the mount) ----

void MissilePod(CMeshBuilder& b, float side, int rows, float depth) {
    Kit k = AddKit(b, 0.45f, 0.5f, 0.3f);
    b.AddMaterial(0.85f, 0.1f, 0.1f);
    V3 c(side * 0.05f, 0.12f, 0.12f);
    b.Marker(V3(c.x, c.y, c.z - depth / 2 - 0.05f));
    b.Use(k.trim);
    b.Box(c, V3(0.24f, 0.1f * rows + 0.06f, depth));
    b.Use(k.metal);
    b.Box(V3(c.x + side * 0.13f, c.y, c.z + 0.04f), V3(0.04f, 0.1f * rows, depth * 0.6f));
    b.Use(3);
    for (int i = 0; i < 2 * rows; ++i)
        b.Cylinder(V3(c.x + (i % 2 ? 0.06f : -0.06f), c.y + (i / 2 - (rows - 1) / 2.0f) * 0.1f, c.z - depth / 2),
                   V3(c.x + (i % 2 ? 0.06f : -0.06f), c.y + (i / 2 - (rows - 1) / 2.0f) * 0.1f, c.z - depth / 2 - 0.05f),
                   0.035f, 0, 8);
}

void ShoulderGun(CMeshBuilder& b, float barrel, float radius) {
    Kit k = AddKit(b, 0.3f, 0.3f, 0.35f);
    b.Marker(V3(0, 0.2f, -barrel));
    b.Use(k.trim);
    b.Box(V3(0, 0.12f, 0.12f), V3(0.14f, 0.14f, 0.22f));
    b.Use(k.metal);
    b.Cylinder(V3(0, 0.2f, 0.05f), V3(0, 0.2f, -barrel), radius, radius * 0.8f, 8);
    b.Use(k.glow);
    b.Cylinder(V3(0, 0.2f, -barrel), V3(0, 0.2f, -barrel - 0.02f), radius * 0.8f, radius * 0.6f, 8);
}

void Booster(CMeshBuilder& b, float side) {
    Kit k = AddKit(b, 0.3f, 0.3f, 0.35f);
    b.SetGlow(k.glow, 0.3f, 0.6f, 1.0f);
    b.Marker(V3(side * 0.06f, 0.0f, 0.36f));
    b.Use(k.metal);
    b.Box(V3(side * 0.06f, 0.05f, 0.12f), V3(0.1f, 0.2f, 0.16f));
    b.Use(k.trim);
    b.Cylinder(V3(side * 0.06f, 0.0f, 0.18f), V3(side * 0.06f, 0.0f, 0.34f), 0.05f, 0.07f, 10);  // nozzle
    b.Use(k.glow);
    b.Cylinder(V3(side * 0.06f, 0.0f, 0.34f), V3(side * 0.06f, 0.0f, 0.35f), 0.055f, 0.055f, 10);
    b.Use(k.trim);
    b.Prism(side > 0 ? 0.1f : -0.12f, side > 0 ? 0.12f : -0.1f, 0.12f, 0.06f, 0.3f, 0.2f, 0.12f, 0.22f);  // fin
}

using BuildFn = void (*)(CMeshBuilder&);

int Write(const std::string& path, BuildFn fn, int hand) {
    CMeshBuilder b;
    if (hand) b.SetPlace(HandPlace());
    fn(b);
    return b.Write(path);
}

template <typename Fn>
int WriteWith(const std::string& path, Fn fn) {
    CMeshBuilder b;
    fn(b);
    return b.Write(path);
}

int WriteWeaponMeshes(const std::string& dir) {
    const std::string x = dir + "/x/";
    if (!MakeDirs(x)) return 0;
    int ok = Write(x + "wR-Rifle.x", Rifle, 1) && Write(x + "wR-SubMachineGun.x", SubMachineGun, 1) &&
             WriteWith(x + "wR-Missile.x", [](CMeshBuilder& b) { b.SetPlace(HandPlace()); MissileLauncher(b, 4, 0.22f); }) &&
             WriteWith(x + "wR-gun[Missile].x", [](CMeshBuilder& b) { b.SetPlace(HandPlace()); MissileLauncher(b, 2, 0.16f); }) &&
             Write(x + "wR-gun[33].x", ActionRifle, 1) && Write(x + "wR-gun[Baz].x", Bazooka, 1) &&
             Write(x + "wR-gun[FL].x", HeavyRifle, 1) && Write(x + "wR-katana.x", Katana, 1) &&
             Write(x + "wR-[Racket].x", Racket, 1) && Write(x + "wR-kal[EKF].x", BeamLauncher, 1) &&
             Write(x + "wR-[L32-5].x", BeamRifle, 1) && Write(x + "wR-shuV.x", Schwatzer, 1) &&
             Write(x + "wL-Shield.x", Shield, 0);
    // The empty part: one hook at the origin and nothing to draw.
    ok = ok && WriteWith(x + "wR-[NULL].x", [](CMeshBuilder& b) {
             b.AddMaterial(0.5f, 0.5f, 0.5f);
             b.Marker(V3(0, 0, 0));
         });
    // The shadow: a dark, half-transparent disc on the ground.
    ok = ok && WriteWith(x + "Shadow.x", [](CMeshBuilder& b) {
             b.AddMaterial(0, 0, 0, 0.5f);
             b.Cylinder(V3(0, 0, 0), V3(0, 0.01f, 0), 0.38f, 0.38f, 16);
         });
    for (const char* n : {"(1)", "(2)", "(3)"}) {
        const std::string s = n;
        ok = ok && WriteWith(x + "wB-Missile1" + s + "L.x", [](CMeshBuilder& b) { MissilePod(b, 1, 2, 0.4f); }) &&
             WriteWith(x + "wB-Missile1" + s + "R.x", [](CMeshBuilder& b) { MissilePod(b, -1, 2, 0.4f); }) &&
             WriteWith(x + "wB-Missile3" + s + ".x", [](CMeshBuilder& b) { MissilePod(b, 1, 3, 0.3f); }) &&
             WriteWith(x + "wB-MachineGun" + s + ".x", [](CMeshBuilder& b) { ShoulderGun(b, 0.45f, 0.035f); }) &&
             WriteWith(x + "wB-Bst" + s + "L.x", [](CMeshBuilder& b) { Booster(b, 1); }) &&
             WriteWith(x + "wB-Bst" + s + "R.x", [](CMeshBuilder& b) { Booster(b, -1); });
    }
    ok = ok && WriteWith(x + "wB-MissileS2.x", [](CMeshBuilder& b) { MissilePod(b, 1, 1, 0.3f); }) &&
         WriteWith(x + "wB-ShockGun.x", [](CMeshBuilder& b) { ShoulderGun(b, 0.6f, 0.06f); });
    return ok;
}

}  // namespace

REGISTER_GENERATOR("weapon meshes", WriteWeaponMeshes);
