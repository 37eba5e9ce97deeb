// Stand-in meshes of the projectiles and effects under ".\obj": bolts, bullets, beams, missiles,
// bombs, blade slashes, explosions, sparks, smoke, boost flames, dash rings, shields, the help
// field, the crystal and the satellite drone. A flying projectile moves along its own +Z, so
// shots point that way; effects are sized for the scales their flight gives them, explosions
// for their blast radius. "dammy" and "dammy.x" are the tables' invisible placeholders.
#include "generator.h"
#include "mesh_builder.h"

#include <cmath>
#include <string>

namespace {

constexpr float kPiF = 3.14159265f;

// A glowing material: light that does not depend on the lamps, as fire and energy look.
int Glow(CMeshBuilder& b, float r, float g, float bl, float a = 1.0f) {
    int m = b.AddMaterial(r, g, bl, a);
    b.SetGlow(m, r, g, bl);
    return m;
}

// An energy bolt: a bright core stretched along +Z inside a paler halo.
CMeshBuilder Bolt(float r, float g, float bl, float width, float length) {
    CMeshBuilder b;
    b.Use(Glow(b, 1.0f, 1.0f, 1.0f));
    b.Ball(V3(0, 0, 0), V3(width * 0.5f, width * 0.5f, length * 0.5f), 8, 6);
    b.Use(Glow(b, r, g, bl, 0.6f));
    b.Ball(V3(0, 0, -length * 0.15f), V3(width, width, length), 10, 6);
    return b;
}

CMeshBuilder Puff(float r, float g, float bl, float a, V3 radii, int glow) {
    CMeshBuilder b;
    b.Use(glow ? Glow(b, r, g, bl, a) : b.AddMaterial(r, g, bl, a));
    b.Ball(V3(0, 0, 0), radii, 10, 7);
    return b;
}

// A fireball of the given radius with a hot core and flame tongues.
CMeshBuilder Explosion(float radius) {
    CMeshBuilder b;
    b.Use(Glow(b, 1.0f, 0.95f, 0.6f));
    b.Ball(V3(0, 0, 0), V3(radius * 0.45f, radius * 0.45f, radius * 0.45f), 12, 8);
    b.Use(Glow(b, 1.0f, 0.45f, 0.1f, 0.55f));
    b.Ball(V3(0, 0, 0), V3(radius, radius * 0.85f, radius), 14, 9);
    b.Use(Glow(b, 0.9f, 0.2f, 0.05f, 0.7f));
    for (int i = 0; i < 6; ++i) {
        float a = i * kPiF / 3;
        V3 d(std::cos(a), 0.35f * (i % 2 ? 1 : -1), std::sin(a));
        b.Cylinder(V3(0, 0, 0), d * (radius * 1.15f), radius * 0.25f, 0, 6);
    }
    return b;
}

// A spark: crossed thin rays around a bright centre.
CMeshBuilder Spark(float size, float r, float g, float bl) {
    CMeshBuilder b;
    b.Use(Glow(b, 1.0f, 1.0f, 0.9f));
    b.Ball(V3(0, 0, 0), V3(size * 0.3f, size * 0.3f, size * 0.3f), 8, 6);
    b.Use(Glow(b, r, g, bl, 0.8f));
    for (int i = 0; i < 4; ++i) {
        float a = i * kPiF / 4;
        b.Cylinder(V3(0, 0, 0) - V3(std::cos(a), std::sin(a), 0) * size, V3(std::cos(a), std::sin(a), 0) * size,
                   size * 0.06f, size * 0.06f, 4);
    }
    b.Cylinder(V3(0, 0, -size * 0.7f), V3(0, 0, size * 0.7f), size * 0.06f, size * 0.06f, 4);
    return b;
}

// A missile along +Z: body, nose cone, four fins and a glowing nozzle.
CMeshBuilder Missile(float length, float radius, V3 body, V3 nose, V3 fins) {
    CMeshBuilder b;
    int mb = b.AddMaterial(body.x, body.y, body.z), mn = b.AddMaterial(nose.x, nose.y, nose.z),
        mf = b.AddMaterial(fins.x, fins.y, fins.z);
    b.Use(mb);
    b.Cylinder(V3(0, 0, -length * 0.5f), V3(0, 0, length * 0.3f), radius, radius, 10);
    b.Use(mn);
    b.Cylinder(V3(0, 0, length * 0.3f), V3(0, 0, length * 0.5f), radius, 0, 10);
    b.Use(mf);
    b.Box(V3(0, 0, -length * 0.4f), V3(radius * 5, radius * 0.3f, length * 0.18f));
    b.Box(V3(0, 0, -length * 0.4f), V3(radius * 0.3f, radius * 5, length * 0.18f));
    b.Use(Glow(b, 1.0f, 0.6f, 0.2f));
    b.Cylinder(V3(0, 0, -length * 0.5f), V3(0, 0, -length * 0.58f), radius * 0.8f, radius * 0.4f, 8);
    return b;
}

// A ring of short boxes around a circle in the plane of the place's x and z axes.
void Ring(CMeshBuilder& b, float radius, float thickness, int pieces) {
    Place base = b.GetPlace();
    for (int i = 0; i < pieces; ++i) {
        b.SetPlace(base.TurnedY(i * 2 * kPiF / pieces));
        b.Box(V3(0, 0, radius), V3(2 * kPiF * radius / pieces * 1.05f, thickness, thickness));
    }
    b.SetPlace(base);
}

CMeshBuilder Beam(float r, float g, float bl, float length, float radius) {
    CMeshBuilder b;
    b.Use(Glow(b, 1.0f, 1.0f, 1.0f));
    b.Cylinder(V3(0, 0, -length), V3(0, 0, 0), radius * 0.5f, radius * 0.5f, 8);
    b.Use(Glow(b, r, g, bl, 0.6f));
    b.Cylinder(V3(0, 0, -length), V3(0, 0, 0.1f), radius, radius, 10);
    return b;
}

CMeshBuilder Slash(float r, float g, float bl) {
    CMeshBuilder b;
    b.Use(Glow(b, r, g, bl, 0.7f));
    // A crescent of thin plates across the hit box's sphere of radius 1.
    for (int i = -4; i <= 4; ++i) {
        float a = i * 0.18f;
        b.SetPlace(Place().TurnedY(a));
        b.Box(V3(0, 0, 0.8f - std::fabs(a) * 0.3f), V3(0.2f, 0.04f + 0.02f * (4 - std::abs(i)), 0.06f));
    }
    return b;
}

CMeshBuilder Invisible() {
    CMeshBuilder b;
    b.AddMaterial(0, 0, 0, 0);
    b.Marker(V3(0, 0, 0));
    return b;
}

CMeshBuilder BoostFlame() {
    CMeshBuilder b;
    // The flame streams out behind the facing it was fired along.
    b.Use(Glow(b, 1.0f, 0.9f, 0.5f));
    b.Cylinder(V3(0, 0, 0), V3(0, 0, -0.7f), 0.12f, 0, 8);
    b.Use(Glow(b, 1.0f, 0.45f, 0.1f, 0.6f));
    b.Cylinder(V3(0, 0, 0.05f), V3(0, 0, -1.2f), 0.25f, 0, 10);
    return b;
}

CMeshBuilder Bomb() {
    CMeshBuilder b;
    b.Use(b.AddMaterial(0.12f, 0.12f, 0.14f));
    b.Ball(V3(0, 0, 0), V3(0.25f, 0.25f, 0.25f), 12, 8);
    b.Use(b.AddMaterial(0.6f, 0.5f, 0.3f));
    b.Cylinder(V3(0, 0.22f, 0), V3(0, 0.34f, 0.04f), 0.03f, 0.03f, 6);
    b.Use(Glow(b, 1.0f, 0.7f, 0.1f));
    b.Ball(V3(0, 0.36f, 0.05f), V3(0.04f, 0.04f, 0.04f), 6, 4);
    return b;
}

CMeshBuilder Crystal() {
    CMeshBuilder b;
    b.Use(Glow(b, 0.3f, 1.0f, 0.6f, 0.8f));
    b.Ball(V3(0, 0, 0), V3(0.3f, 0.5f, 0.3f), 4, 2);  // an octahedron
    return b;
}

CMeshBuilder GuardHex() {
    CMeshBuilder b;
    b.Use(Glow(b, 0.3f, 0.6f, 1.0f, 0.5f));
    b.Cylinder(V3(0, 0, 0), V3(0, 0, 0.05f), 0.7f, 0.7f, 6);
    b.Use(Glow(b, 0.8f, 0.9f, 1.0f));
    b.SetPlace(Place().TurnedX(kPiF / 2));
    Ring(b, 0.7f, 0.05f, 6);
    return b;
}

CMeshBuilder DashRing(float radius, int upright) {
    CMeshBuilder b;
    b.Use(Glow(b, 0.85f, 0.9f, 1.0f, 0.6f));
    if (upright) b.SetPlace(Place().TurnedX(kPiF / 2));
    Ring(b, radius, radius * 0.12f, 16);
    return b;
}

CMeshBuilder ShieldBall() {
    CMeshBuilder b;
    b.Use(Glow(b, 0.3f, 0.7f, 1.0f, 0.35f));
    b.Ball(V3(0, 0, 0), V3(0.45f, 0.45f, 0.45f), 16, 10);
    b.Use(Glow(b, 0.7f, 0.9f, 1.0f, 0.6f));
    Ring(b, 0.46f, 0.03f, 16);
    return b;
}

// The help field lies on the ground: a green disc with a cross and a ring, radius 1.
CMeshBuilder HelpField() {
    CMeshBuilder b;
    b.Use(Glow(b, 0.2f, 0.9f, 0.3f, 0.45f));
    b.Cylinder(V3(0, 0, 0), V3(0, 0.03f, 0), 1.0f, 1.0f, 20);
    b.Use(Glow(b, 0.8f, 1.0f, 0.8f));
    b.Box(V3(0, 0.05f, 0), V3(1.2f, 0.04f, 0.3f));
    b.Box(V3(0, 0.05f, 0), V3(0.3f, 0.04f, 1.2f));
    Ring(b, 1.0f, 0.06f, 20);
    return b;
}

// The satellite: a small drone with side panels, a red eye and its gun along +Z.
CMeshBuilder Satellite() {
    CMeshBuilder b;
    int grey = b.AddMaterial(0.55f, 0.58f, 0.62f), panel = b.AddMaterial(0.15f, 0.25f, 0.6f);
    b.Use(grey);
    b.Ball(V3(0, 0, 0), V3(0.22f, 0.18f, 0.26f), 10, 6);
    b.Cylinder(V3(0, 0, 0.2f), V3(0, 0, 0.45f), 0.04f, 0.04f, 6);
    b.Use(panel);
    b.Box(V3(0.4f, 0, 0), V3(0.35f, 0.03f, 0.25f));
    b.Box(V3(-0.4f, 0, 0), V3(0.35f, 0.03f, 0.25f));
    b.Use(Glow(b, 1.0f, 0.1f, 0.1f));
    b.Ball(V3(0, 0.06f, 0.22f), V3(0.06f, 0.06f, 0.04f), 6, 4);
    return b;
}

CMeshBuilder MeleeBurst() {
    CMeshBuilder b;
    b.Use(Glow(b, 1.0f, 1.0f, 1.0f, 0.4f));
    b.Ball(V3(0, 0, 0), V3(0.35f, 0.35f, 0.35f), 10, 6);
    b.Use(Glow(b, 1.0f, 0.9f, 0.5f, 0.7f));
    Ring(b, 0.5f, 0.05f, 12);
    return b;
}

// The slash of a hit: two crossed glowing blades.
CMeshBuilder SlashHit() {
    CMeshBuilder b;
    b.Use(Glow(b, 0.8f, 1.0f, 1.0f, 0.8f));
    b.SetPlace(Place().TurnedZ(0.7f));
    b.Box(V3(0, 0, 0), V3(1.4f, 0.08f, 0.05f));
    b.SetPlace(Place().TurnedZ(-0.7f));
    b.Box(V3(0, 0, 0), V3(1.4f, 0.08f, 0.05f));
    return b;
}

CMeshBuilder Carrier() {
    CMeshBuilder b = Missile(1.0f, 0.13f, V3(0.3f, 0.32f, 0.35f), V3(0.8f, 0.1f, 0.1f), V3(0.2f, 0.2f, 0.2f));
    b.Use(b.AddMaterial(0.8f, 0.1f, 0.1f));
    for (int i = 0; i < 4; ++i) {
        float a = i * kPiF / 2 + kPiF / 4;
        V3 c(std::cos(a) * 0.15f, std::sin(a) * 0.15f, 0.1f);
        b.Cylinder(c - V3(0, 0, 0.15f), c + V3(0, 0, 0.15f), 0.05f, 0.02f, 6);
    }
    return b;
}

struct SEffectMesh {
    const char* file;
    CMeshBuilder (*make)();
};

const SEffectMesh kMeshes[] = {
    {"bit1b_b.x", [] { return Bolt(0.3f, 0.6f, 1.0f, 0.14f, 0.6f); }},
    {"bit1b_b(ef.x", [] { return Puff(0.5f, 0.8f, 1.0f, 0.6f, V3(0.18f, 0.18f, 0.18f), 1); }},
    {"bit1b_m.x", [] { return Bolt(0.3f, 1.0f, 0.4f, 0.18f, 0.7f); }},
    {"bit1b_s.x", [] { return Bolt(1.0f, 0.4f, 0.8f, 0.12f, 0.45f); }},
    {"bit2b.x", [] { return Explosion(0.6f); }},
    {"hit1.x", [] { return Spark(0.45f, 1.0f, 0.85f, 0.3f); }},
    {"unhit1.x", [] { return Puff(0.55f, 0.5f, 0.45f, 0.7f, V3(0.5f, 0.25f, 0.5f), 0); }},
    {"hitb-3.x", [] { return Explosion(3.0f); }},
    {"hitb-5.x", [] { return Explosion(5.0f); }},
    {"blled.x", [] { return Slash(0.5f, 0.9f, 1.0f); }},
    {"blled_2.x", [] { return Slash(0.8f, 0.4f, 1.0f); }},
    {"blled_hit.x", SlashHit},
    {"kakutou.x", MeleeBurst},
    {"Missile.x", [] { return Missile(0.6f, 0.06f, V3(0.9f, 0.9f, 0.88f), V3(0.85f, 0.1f, 0.1f), V3(0.3f, 0.3f, 0.3f)); }},
    {"Missile2.x", [] { return Missile(0.5f, 0.05f, V3(0.35f, 0.55f, 0.3f), V3(0.9f, 0.8f, 0.2f), V3(0.2f, 0.3f, 0.2f)); }},
    {"VMissile.x", [] { return Missile(0.8f, 0.07f, V3(0.6f, 0.62f, 0.65f), V3(0.95f, 0.8f, 0.1f), V3(0.2f, 0.2f, 0.25f)); }},
    {"MissileAZ.x", [] { return Missile(1.4f, 0.15f, V3(0.25f, 0.25f, 0.22f), V3(0.95f, 0.85f, 0.1f), V3(0.9f, 0.8f, 0.1f)); }},
    {"MissileTZ.x", Carrier},
    {"sumouku.x", [] { return Puff(0.75f, 0.75f, 0.75f, 0.5f, V3(0.2f, 0.2f, 0.2f), 0); }},
    {"bul_3.x", [] { return Bolt(1.0f, 0.85f, 0.3f, 0.07f, 0.3f); }},
    {"Liful_2.x", [] { return Bolt(1.0f, 0.6f, 0.2f, 0.09f, 0.5f); }},
    {"EF3_bal.x", [] { return Puff(1.0f, 0.85f, 0.3f, 0.7f, V3(0.25f, 0.25f, 0.4f), 1); }},
    {"EF3_bim.x", [] { return Puff(0.4f, 0.9f, 1.0f, 0.7f, V3(0.2f, 0.2f, 0.5f), 1); }},
    {"leza.x", [] { return Beam(1.0f, 0.2f, 0.2f, 2.0f, 0.1f); }},
    {"leza2.x", [] { return Beam(0.7f, 0.3f, 1.0f, 2.0f, 0.14f); }},
    {"buust_3.x", BoostFlame},
    {"bomm.x", Bomb},
    {"DMG2.x", [] { return Spark(0.2f, 1.0f, 0.6f, 0.2f); }},
    {"clistal.x", Crystal},
    {"guard.x", GuardHex},
    {"dassyu.x", [] { return DashRing(0.5f, 0); }},
    {"dassyu2.x", [] { return DashRing(0.15f, 1); }},
    {"Shield.x", ShieldBall},
    {"dell.x", HelpField},
    {"koki2.x", Satellite},
    {"dammy", Invisible},
    {"dammy.x", Invisible},
};

int WriteEffectMeshes(const std::string& dir) {
    const std::string obj = dir + "/obj/";
    if (!MakeDirs(obj)) return 0;
    for (const SEffectMesh& m : kMeshes)
        if (!m.make().Write(obj + m.file)) return 0;
    return 1;
}

}  // namespace

REGISTER_GENERATOR("effect meshes", WriteEffectMeshes);
