// Stand-in robot part meshes under ".\x": the eleven parts of every frame type and variant.
// Robots face -Z with their left on +X; each part hangs from its own joint along -Y, and the
// joints of its children come first as hooks (body: neck 0, waist 3, shoulder 6, back 9; waist:
// hip 0; upper arm: elbow 0; forearm: hand 0; thigh: knee 0; shin: foot tip 0, whose y is the
// leg length). Every part carries four materials: two paints, the frame grey and a glow.
#include "generator.h"
#include "mesh_builder.h"

#include <functional>
#include <string>

namespace {

struct Rgb {
    float r, g, b;
};

// The proportions and colours of one frame type; the part builders read them.
struct Style {
    int paintFirst;        // material index of the main paint (sub paint next)
    Rgb main, sub, frame, glow;
    float chestW, chestD, chestH;  // torso above the waist joint
    float shoulderX, shoulderY;    // left shoulder joint
    float waistDrop, hipX, hipDrop;
    float upperArm, foreArm, thigh, shin;
    float limb;                    // limb thickness
    float foot;                    // foot length
};

// Materials of a part, in the order the paint slots expect.
struct Roles {
    int main, sub, frame, glow;
};

Roles AddMaterials(CMeshBuilder& b, const Style& s) {
    Roles r;
    auto add = [&](Rgb c) { return b.AddMaterial(c.r, c.g, c.b); };
    if (s.paintFirst == 0) {
        r.main = add(s.main), r.sub = add(s.sub), r.frame = add(s.frame), r.glow = add(s.glow);
    } else {
        r.frame = add(s.frame), r.glow = add(s.glow), r.main = add(s.main), r.sub = add(s.sub);
    }
    b.SetGlow(r.glow, s.glow.r * 0.8f, s.glow.g * 0.8f, s.glow.b * 0.8f);
    return r;
}

using PartFn = std::function<void(CMeshBuilder&, const Style&, const Roles&)>;

// One part file; right-side parts are the left ones mirrored (hooks included).
int WritePart(const std::string& path, const Style& s, int mirrored, const PartFn& fn) {
    CMeshBuilder b;
    Roles r = AddMaterials(b, s);
    if (mirrored) b.SetPlace(Place().MirroredX());
    fn(b, s, r);
    return b.Write(path);
}

// ---- Common parts ----

void BodyHooks(CMeshBuilder& b, const Style& s) {
    b.Marker(V3(0, s.chestH, 0));                         // neck
    b.Marker(V3(0, -s.waistDrop, 0));                     // waist
    b.Marker(V3(s.shoulderX, s.shoulderY, 0));            // left shoulder
    b.Marker(V3(s.chestW * 0.3f, s.chestH * 0.7f, s.chestD * 0.55f));  // back mount
}

void PlainTorso(CMeshBuilder& b, const Style& s, const Roles& r) {
    BodyHooks(b, s);
    b.Use(r.frame);
    b.TaperedBox(V3(0, -s.waistDrop, 0), s.chestH * 0.45f, s.chestW * 0.5f, s.chestD * 0.6f, s.chestW * 0.6f, s.chestD * 0.7f);
    b.Use(r.main);
    b.TaperedBox(V3(0, s.chestH * 0.35f, 0), s.chestH * 0.65f, s.chestW * 0.75f, s.chestD * 0.8f, s.chestW, s.chestD);
    b.Use(r.sub);
    b.Box(V3(0, s.chestH * 0.62f, -s.chestD * 0.5f), V3(s.chestW * 0.5f, s.chestH * 0.3f, 0.04f));  // chest plate
    b.Box(V3(0, s.chestH * 0.65f, s.chestD * 0.55f), V3(s.chestW * 0.6f, s.chestH * 0.5f, 0.12f));  // backpack
    b.Use(r.glow);
    b.Box(V3(0, s.chestH * 0.45f, -s.chestD * 0.47f), V3(s.chestW * 0.18f, 0.05f, 0.03f));
    b.Use(r.frame);
    b.Cylinder(V3(0, s.chestH * 0.85f, 0), V3(0, s.chestH + 0.03f, 0), 0.06f, 0.05f, 8);  // neck
    b.Ball(V3(s.shoulderX * 0.85f, s.shoulderY, 0), V3(0.07f, 0.07f, 0.07f), 8, 5);
    b.Ball(V3(-s.shoulderX * 0.85f, s.shoulderY, 0), V3(0.07f, 0.07f, 0.07f), 8, 5);
}

void PlainWaist(CMeshBuilder& b, const Style& s, const Roles& r) {
    b.Marker(V3(s.hipX, -s.hipDrop, 0));  // left hip
    b.Use(r.frame);
    b.TaperedBox(V3(0, -s.hipDrop - 0.05f, 0), s.hipDrop + 0.05f, s.hipX * 1.6f, s.chestD * 0.6f, s.chestW * 0.55f,
                 s.chestD * 0.6f);
    b.Use(r.sub);
    b.TaperedBox(V3(0, -s.hipDrop - 0.12f, -s.chestD * 0.33f), s.hipDrop + 0.08f, 0.1f, 0.04f, 0.16f, 0.05f);  // front plate
    b.Use(r.main);
    for (float side : {1.0f, -1.0f})
        b.TaperedBox(V3(side * (s.hipX + 0.07f), -s.hipDrop - 0.1f, 0), s.hipDrop + 0.1f, 0.05f, s.chestD * 0.5f, 0.05f,
                     s.chestD * 0.45f);
    b.Use(r.frame);
    for (float side : {1.0f, -1.0f}) b.Ball(V3(side * s.hipX, -s.hipDrop, 0), V3(0.065f, 0.065f, 0.065f), 8, 5);
}

void PlainUpperArm(CMeshBuilder& b, const Style& s, const Roles& r) {
    b.Marker(V3(0, -s.upperArm, 0));  // elbow
    b.Use(r.frame);
    b.Cylinder(V3(0, 0, 0), V3(0, -s.upperArm, 0), s.limb * 0.45f, s.limb * 0.4f, 8);
    b.Use(r.main);
    b.TaperedBox(V3(0.03f, -0.12f, 0), 0.2f, s.limb * 1.4f, s.limb * 1.5f, s.limb * 1.8f, s.limb * 1.7f);  // shoulder pad
    b.Use(r.sub);
    b.Box(V3(s.limb * 0.9f + 0.03f, -0.03f, 0), V3(0.03f, 0.12f, s.limb * 1.2f));
}

void PlainForeArm(CMeshBuilder& b, const Style& s, const Roles& r) {
    b.Marker(V3(0, -s.foreArm, 0));  // hand
    b.Use(r.frame);
    b.Ball(V3(0, 0, 0), V3(s.limb * 0.5f, s.limb * 0.5f, s.limb * 0.5f), 8, 5);  // elbow
    b.Use(r.main);
    b.TaperedBox(V3(0, -s.foreArm + 0.06f, 0), s.foreArm - 0.08f, s.limb * 1.1f, s.limb * 1.1f, s.limb * 1.4f, s.limb * 1.3f);
    b.Use(r.sub);
    b.Box(V3(s.limb * 0.65f, -s.foreArm * 0.45f, 0), V3(0.03f, s.foreArm * 0.5f, s.limb * 0.8f));
    b.Use(r.frame);
    b.Box(V3(0, -s.foreArm, 0), V3(s.limb * 0.8f, 0.1f, s.limb * 0.9f));  // fist
}

void PlainThigh(CMeshBuilder& b, const Style& s, const Roles& r) {
    b.Marker(V3(0, -s.thigh, 0));  // knee
    b.Use(r.frame);
    b.Cylinder(V3(0, 0, 0), V3(0, -s.thigh, 0), s.limb * 0.5f, s.limb * 0.45f, 8);
    b.Use(r.sub);
    b.TaperedBox(V3(0, -s.thigh * 0.85f, 0), s.thigh * 0.75f, s.limb * 1.2f, s.limb * 1.3f, s.limb * 1.45f, s.limb * 1.5f);
}

void PlainShin(CMeshBuilder& b, const Style& s, const Roles& r) {
    b.Marker(V3(0, -s.shin, 0));  // foot tip: the sole
    b.Use(r.frame);
    b.Ball(V3(0, 0, 0), V3(s.limb * 0.55f, s.limb * 0.55f, s.limb * 0.55f), 8, 5);  // knee
    b.Use(r.main);
    b.TaperedBox(V3(0, -s.shin + 0.1f, 0.01f), s.shin - 0.1f, s.limb * 1.3f, s.limb * 1.4f, s.limb * 1.5f, s.limb * 1.5f);
    b.Use(r.sub);
    b.TaperedBox(V3(0, -s.shin * 0.35f, -s.limb * 0.75f), s.shin * 0.4f, s.limb * 0.9f, 0.04f, s.limb * 1.1f, 0.06f);  // knee guard
    b.Use(r.frame);
    b.TaperedBox(V3(0, -s.shin, -s.foot * 0.25f), 0.1f, s.limb * 1.3f, s.foot, s.limb * 1.1f, s.foot * 0.6f, 0, 0.02f);
}

// ---- Frame types ----

// Builders of one type's eleven parts; a type overrides the ones that give it its silhouette.
struct TypeParts {
    PartFn head, body, waist, upperArm, foreArm, thigh, shin;
};

TypeParts Plain() {
    return {nullptr, PlainTorso, PlainWaist, PlainUpperArm, PlainForeArm, PlainThigh, PlainShin};
}

int WriteType(const std::string& dir, const std::string& prefix, const Style& s, const TypeParts& p) {
    struct File {
        const char* name;
        const PartFn* fn;
        int mirrored;
    };
    const File files[] = {
        {"hedd", &p.head, 0},   {"body", &p.body, 0},     {"west", &p.waist, 0},   {"arm1L", &p.upperArm, 0},
        {"arm2L", &p.foreArm, 0}, {"arm1R", &p.upperArm, 1}, {"arm2R", &p.foreArm, 1}, {"leg1L", &p.thigh, 0},
        {"leg2L", &p.shin, 0},  {"leg1R", &p.thigh, 1},   {"leg2R", &p.shin, 1},
    };
    for (const File& f : files)
        if (*f.fn && !WritePart(dir + prefix + f.name + ".x", s, f.mirrored, *f.fn)) return 0;
    return 1;
}

int WritePair(const std::string& dir, const std::string& stem, const Style& s, const PartFn& fn) {
    return WritePart(dir + stem + "L.x", s, 0, fn) && WritePart(dir + stem + "R.x", s, 1, fn);
}

// Eyes: a visor bar across the face at height y.
void Visor(CMeshBuilder& b, const Roles& r, float y, float w, float z) {
    b.Use(r.glow);
    b.Box(V3(0, y, z), V3(w, 0.035f, 0.03f));
}

// ゼロ: slim and tall, a V fin over a narrow face, a light backpack with two thrusters.
const Style kZero = {0,        {0.9f, 0.9f, 0.95f}, {0.2f, 0.35f, 0.8f}, {0.3f, 0.3f, 0.35f}, {0.2f, 1.0f, 0.4f},
                     0.36f,    0.24f,                0.46f,               0.25f,               0.4f,
                     0.05f,    0.1f,                 0.08f,               0.3f,                0.3f,
                     0.44f,    0.44f,                0.1f,                0.24f};

void ZeroHead(CMeshBuilder& b, const Style&, const Roles& r) {
    b.Use(r.main);
    b.TaperedBox(V3(0, 0.02f, 0), 0.17f, 0.13f, 0.15f, 0.1f, 0.13f);
    b.Use(r.sub);
    b.Prism(-0.015f, 0.015f, 0.12f, -0.08f, 0.24f, -0.06f, 0.14f, 0.02f);  // crest
    for (float side : {1.0f, -1.0f}) {  // V fin
        b.SetPlace(Place().Moved(V3(0, 0.15f, -0.08f)).TurnedZ(side * -0.7f));
        b.Box(V3(0, 0.09f, 0), V3(0.02f, 0.18f, 0.02f));
    }
    b.SetPlace(Place());
    Visor(b, r, 0.09f, 0.1f, -0.075f);
}

void ZeroTorso(CMeshBuilder& b, const Style& s, const Roles& r) {
    PlainTorso(b, s, r);
    b.Use(r.frame);
    for (float side : {1.0f, -1.0f})
        b.Cylinder(V3(side * 0.08f, s.chestH * 0.55f, s.chestD * 0.62f), V3(side * 0.1f, s.chestH * 0.1f, s.chestD * 0.75f),
                   0.05f, 0.07f, 8);
    b.Use(r.glow);
    for (float side : {1.0f, -1.0f})
        b.Box(V3(side * 0.1f, s.chestH * 0.08f, s.chestD * 0.76f), V3(0.08f, 0.02f, 0.08f));
}

// ジャスティス: a hero's frame: broad chest with a collar, big shoulder armour, a crest and horns.
const Style kJustice = {0,        {0.95f, 0.95f, 0.95f}, {0.85f, 0.1f, 0.1f}, {0.25f, 0.25f, 0.3f}, {0.2f, 0.9f, 1.0f},
                        0.46f,    0.28f,                 0.48f,               0.31f,                0.4f,
                        0.05f,    0.12f,                 0.09f,               0.3f,                 0.3f,
                        0.43f,    0.43f,                 0.12f,               0.26f};

void JusticeHead(CMeshBuilder& b, const Style& s, const Roles& r, int improved) {
    (void)s;
    b.Use(r.main);
    b.Box(V3(0, 0.1f, 0), V3(0.15f, 0.15f, 0.17f));
    b.Use(r.sub);
    b.Box(V3(0, 0.06f, -0.08f), V3(0.08f, 0.05f, 0.04f));  // mouth guard
    b.Use(r.glow);
    b.Box(V3(0, 0.14f, -0.088f), V3(0.12f, 0.03f, 0.02f));  // eyes
    b.Use(r.sub);
    for (float side : {1.0f, -1.0f}) {  // horns
        b.SetPlace(Place().Moved(V3(side * 0.02f, 0.18f, -0.08f)).TurnedZ(side * -(improved ? 0.55f : 0.8f)));
        b.Box(V3(0, 0.08f, 0), V3(0.025f, improved ? 0.22f : 0.16f, 0.02f));
    }
    b.SetPlace(Place());
    if (improved) {  // a taller crest and cheek guards
        b.Prism(-0.02f, 0.02f, 0.17f, -0.06f, 0.33f, 0.02f, 0.17f, 0.08f);
        b.Use(r.main);
        for (float side : {1.0f, -1.0f}) b.Box(V3(side * 0.085f, 0.08f, -0.02f), V3(0.03f, 0.12f, 0.12f));
    }
}

void JusticeTorso(CMeshBuilder& b, const Style& s, const Roles& r, int mobile) {
    PlainTorso(b, s, r);
    b.Use(r.sub);
    b.TaperedBox(V3(0, s.chestH * 0.78f, 0), 0.1f, s.chestW * 0.8f, s.chestD, s.chestW * 0.5f, s.chestD * 0.8f);  // collar
    b.Use(r.glow);
    b.Ball(V3(0, s.chestH * 0.55f, -s.chestD * 0.52f), V3(0.04f, 0.04f, 0.02f), 8, 4);  // chest gem
    if (mobile) {  // swept wing binders on the back
        b.Use(r.main);
        for (float side : {1.0f, -1.0f}) {
            b.SetPlace(Place().Moved(V3(side * 0.12f, s.chestH * 0.7f, s.chestD * 0.6f)).TurnedZ(side * -0.6f));
            b.Box(V3(side * 0.2f, 0.05f, 0), V3(0.4f, 0.12f, 0.03f));
        }
        b.SetPlace(Place());
    }
}

void JusticeWaist(CMeshBuilder& b, const Style& s, const Roles& r, int mobile) {
    PlainWaist(b, s, r);
    if (mobile) {  // side thrusters
        b.Use(r.frame);
        for (float side : {1.0f, -1.0f})
            b.Cylinder(V3(side * (s.hipX + 0.12f), -0.02f, 0.04f), V3(side * (s.hipX + 0.12f), -0.16f, 0.1f), 0.035f, 0.05f, 8);
    }
}

void JusticeUpperArm(CMeshBuilder& b, const Style& s, const Roles& r, int mobile) {
    PlainUpperArm(b, s, r);
    b.Use(r.main);
    float w = mobile ? 0.16f : 0.2f;
    b.TaperedBox(V3(0.05f, -0.08f, 0), 0.16f, w, 0.2f, w * 0.8f, 0.22f, 0.03f);  // big shoulder armour
    b.Use(r.sub);
    b.Box(V3(0.05f + w * 0.5f, 0.0f, 0), V3(0.02f, 0.1f, 0.18f));
    if (mobile) {
        b.Use(r.frame);
        b.Cylinder(V3(0.09f, 0.0f, 0.09f), V3(0.09f, -0.04f, 0.16f), 0.03f, 0.04f, 6);
    }
}

void JusticeShin(CMeshBuilder& b, const Style& s, const Roles& r, int mobile) {
    PlainShin(b, s, r);
    if (mobile) {  // slimmer calves with thruster fins
        b.Use(r.sub);
        b.Box(V3(0, -s.shin * 0.45f, s.limb * 0.8f), V3(0.03f, s.shin * 0.5f, 0.08f));
        b.Use(r.glow);
        b.Box(V3(0, -s.shin * 0.75f, s.limb * 0.85f), V3(0.04f, 0.03f, 0.04f));
    } else {
        b.Use(r.main);
        b.Box(V3(s.limb * 0.7f, -s.shin * 0.5f, 0), V3(0.03f, s.shin * 0.5f, s.limb * 1.2f));
    }
}

// フラット: broad and heavy: a wide block of a torso, a mono-eye dome, thick limbs.
const Style kFlat = {2,        {0.3f, 0.45f, 0.3f}, {0.55f, 0.6f, 0.45f}, {0.28f, 0.28f, 0.3f}, {1.0f, 0.2f, 0.3f},
                     0.6f,     0.36f,               0.44f,                0.4f,                 0.34f,
                     0.05f,    0.15f,               0.09f,                0.3f,                 0.3f,
                     0.42f,    0.42f,               0.15f,                0.3f};

void FlatHead(CMeshBuilder& b, const Style&, const Roles& r, int commander) {
    b.Use(r.main);
    b.Ball(V3(0, 0.08f, 0), V3(0.12f, 0.1f, 0.12f), 10, 6);
    b.Use(r.frame);
    b.Box(V3(0, 0.08f, -0.08f), V3(0.2f, 0.04f, 0.06f));  // eye rail
    b.Use(r.glow);
    b.Ball(V3(0.03f, 0.08f, -0.11f), V3(0.025f, 0.025f, 0.02f), 8, 4);  // mono eye
    b.Use(r.sub);
    b.Cylinder(V3(0, 0.02f, -0.1f), V3(0, -0.02f, -0.16f), 0.03f, 0.02f, 6);  // snout
    if (commander) {
        b.Use(r.sub);
        b.SetPlace(Place().Moved(V3(0, 0.16f, -0.04f)).TurnedX(0.5f));
        b.TaperedBox(V3(0, 0, 0), 0.2f, 0.05f, 0.03f, 0.005f, 0.01f);  // commander's horn
        b.SetPlace(Place());
    }
}

void FlatTorso(CMeshBuilder& b, const Style& s, const Roles& r, int assault) {
    BodyHooks(b, s);
    b.Use(r.frame);
    b.Box(V3(0, s.chestH * 0.15f, 0), V3(s.chestW * 0.6f, s.chestH * 0.4f, s.chestD * 0.7f));
    b.Use(r.main);
    b.Box(V3(0, s.chestH * 0.6f, 0), V3(s.chestW, s.chestH * 0.55f, s.chestD));
    b.Use(r.sub);
    for (float side : {1.0f, -1.0f})  // chest ducts
        b.Box(V3(side * s.chestW * 0.25f, s.chestH * 0.55f, -s.chestD * 0.52f), V3(s.chestW * 0.3f, s.chestH * 0.35f, 0.05f));
    b.Use(r.frame);
    for (float side : {1.0f, -1.0f})
        b.Box(V3(side * s.shoulderX * 0.8f, s.shoulderY, 0), V3(0.12f, 0.12f, 0.14f));
    b.Box(V3(0, s.chestH * 0.6f, s.chestD * 0.62f), V3(s.chestW * 0.7f, s.chestH * 0.5f, 0.16f));  // backpack
    if (assault) {
        b.Use(r.sub);
        b.Box(V3(0, s.chestH * 0.95f, 0), V3(s.chestW * 0.8f, 0.06f, s.chestD * 0.9f));
        b.Use(r.glow);
        for (float side : {1.0f, -1.0f}) b.Box(V3(side * 0.15f, s.chestH * 0.35f, -s.chestD * 0.52f), V3(0.06f, 0.03f, 0.02f));
    }
}

void FlatWaist(CMeshBuilder& b, const Style& s, const Roles& r, int assault) {
    PlainWaist(b, s, r);
    b.Use(r.main);
    for (float side : {1.0f, -1.0f})  // skirt armour
        b.TaperedBox(V3(side * 0.12f, -s.hipDrop - 0.14f, -s.chestD * 0.33f), 0.16f, 0.16f, 0.04f, 0.14f, 0.04f);
    if (assault) {
        b.Use(r.sub);
        b.Box(V3(0, -s.hipDrop - 0.14f, s.chestD * 0.35f), V3(0.3f, 0.14f, 0.05f));
    }
}

void FlatUpperArm(CMeshBuilder& b, const Style& s, const Roles& r, int heavy) {
    PlainUpperArm(b, s, r);
    b.Use(r.main);
    float w = heavy ? 0.28f : 0.22f;
    b.Ball(V3(0.05f, -0.02f, 0), V3(w * 0.6f, w * 0.45f, w * 0.6f), 10, 6);  // round shoulder
    if (heavy) {
        b.Use(r.frame);
        for (int i = 0; i < 3; ++i) b.Cylinder(V3(0.12f, 0.06f, -0.08f + i * 0.08f), V3(0.12f, 0.14f, -0.08f + i * 0.08f), 0.02f, 0.01f, 5);
    }
}

void FlatForeArm(CMeshBuilder& b, const Style& s, const Roles& r, int heavy) {
    PlainForeArm(b, s, r);
    if (heavy) {
        b.Use(r.sub);
        b.Box(V3(s.limb * 0.9f, -s.foreArm * 0.5f, 0), V3(0.06f, s.foreArm * 0.6f, s.limb * 1.4f));
    }
}

void FlatShin(CMeshBuilder& b, const Style& s, const Roles& r, int heavy) {
    PlainShin(b, s, r);
    b.Use(r.main);
    float w = heavy ? 0.26f : 0.22f;
    b.TaperedBox(V3(0, -s.shin + 0.14f, 0.03f), s.shin * 0.6f, w, w, w * 0.75f, w * 0.8f);  // thick calves
    if (heavy) {
        b.Use(r.sub);
        b.Box(V3(0, -s.shin + 0.16f, -w * 0.52f), V3(w * 0.8f, 0.06f, 0.03f));
    }
}

// サイレン: a walking fortress: huge legs and shoulders, a head sunk between them.
const Style kSiren = {0,        {0.8f, 0.55f, 0.15f}, {0.25f, 0.25f, 0.28f}, {0.18f, 0.18f, 0.2f}, {1.0f, 0.85f, 0.2f},
                      0.64f,    0.4f,                 0.4f,                  0.42f,                0.3f,
                      0.06f,    0.18f,                0.1f,                  0.28f,                0.3f,
                      0.4f,     0.44f,                0.17f,                 0.34f};

void SirenHead(CMeshBuilder& b, const Style&, const Roles& r, int kind) {
    b.Use(r.frame);
    b.TaperedBox(V3(0, -0.02f, 0), 0.1f, 0.18f, 0.18f, 0.14f, 0.14f);
    b.Use(r.main);
    b.Box(V3(0, 0.1f, 0.01f), V3(0.14f, 0.08f, 0.16f));
    b.Use(r.glow);
    for (float x : {-0.04f, 0.0f, 0.04f}) b.Box(V3(x, 0.1f, -0.072f), V3(0.02f, 0.02f, 0.02f));  // sensor row
    if (kind == 1) {  // antenna array
        b.Use(r.sub);
        for (float side : {1.0f, -1.0f}) b.Cylinder(V3(side * 0.05f, 0.14f, 0.04f), V3(side * 0.08f, 0.4f, 0.08f), 0.012f, 0.005f, 5);
        b.Ball(V3(0, 0.16f, 0.05f), V3(0.05f, 0.02f, 0.05f), 8, 4);
    } else if (kind == 2) {  // armoured helmet with a wide visor
        b.Use(r.sub);
        b.TaperedBox(V3(0, 0.06f, 0), 0.12f, 0.2f, 0.2f, 0.16f, 0.18f);
        b.Use(r.glow);
        b.Box(V3(0, 0.11f, -0.1f), V3(0.16f, 0.025f, 0.02f));
    }
}

void SirenTorso(CMeshBuilder& b, const Style& s, const Roles& r) {
    BodyHooks(b, s);
    b.Use(r.frame);
    b.TaperedBox(V3(0, -s.waistDrop, 0), s.chestH * 0.4f, s.chestW * 0.6f, s.chestD * 0.7f, s.chestW * 0.7f, s.chestD * 0.8f);
    b.Use(r.main);
    b.TaperedBox(V3(0, s.chestH * 0.3f, 0), s.chestH * 0.7f, s.chestW * 0.9f, s.chestD, s.chestW, s.chestD * 0.9f, 0, 0.03f);
    b.Use(r.sub);
    b.Box(V3(0, s.chestH * 0.55f, -s.chestD * 0.5f), V3(s.chestW * 0.7f, s.chestH * 0.25f, 0.05f));
    b.Use(r.frame);
    for (int i = 0; i < 3; ++i)  // radiator fins on the back
        b.Box(V3(-0.15f + 0.15f * i, s.chestH * 0.65f, s.chestD * 0.55f), V3(0.04f, s.chestH * 0.5f, 0.14f));
}

void SirenUpperArm(CMeshBuilder& b, const Style& s, const Roles& r, int kind) {
    PlainUpperArm(b, s, r);
    b.Use(r.main);
    b.Box(V3(0.06f, 0.0f, 0), V3(0.26f, 0.2f, 0.3f));  // massive shoulder block
    if (kind == 1) {  // beam emitter dishes
        b.Use(r.sub);
        b.Cylinder(V3(0.1f, 0.12f, 0), V3(0.1f, 0.16f, 0), 0.1f, 0.12f, 10);
        b.Use(r.glow);
        b.Ball(V3(0.1f, 0.17f, 0), V3(0.05f, 0.03f, 0.05f), 8, 4);
    } else if (kind == 2) {  // a long laser barrel over the shoulder
        b.Use(r.sub);
        b.Box(V3(0.08f, 0.14f, 0.02f), V3(0.1f, 0.08f, 0.22f));
        b.Use(r.frame);
        b.Cylinder(V3(0.08f, 0.15f, -0.08f), V3(0.08f, 0.15f, -0.5f), 0.03f, 0.025f, 8);
        b.Use(r.glow);
        b.Cylinder(V3(0.08f, 0.15f, -0.5f), V3(0.08f, 0.15f, -0.53f), 0.02f, 0.02f, 8);
    }
}

void SirenThigh(CMeshBuilder& b, const Style& s, const Roles& r) {
    PlainThigh(b, s, r);
    b.Use(r.main);
    b.TaperedBox(V3(0.02f, -s.thigh * 0.9f, 0), s.thigh * 0.8f, 0.24f, 0.26f, 0.28f, 0.3f);
}

void SirenShin(CMeshBuilder& b, const Style& s, const Roles& r) {
    b.Marker(V3(0, -s.shin, 0));
    b.Use(r.frame);
    b.Ball(V3(0, 0, 0), V3(0.11f, 0.11f, 0.11f), 8, 5);
    b.Use(r.main);
    b.TaperedBox(V3(0, -s.shin + 0.12f, 0), s.shin - 0.1f, 0.34f, 0.34f, 0.26f, 0.3f);  // elephant leg
    b.Use(r.sub);
    b.Box(V3(0, -s.shin * 0.45f, -0.18f), V3(0.2f, 0.2f, 0.04f));
    b.Use(r.frame);
    b.TaperedBox(V3(0, -s.shin, -0.04f), 0.12f, 0.38f, 0.5f, 0.32f, 0.36f);  // wide foot
}

// イーグル: the transforming frame: a slim body with folded wings, a beaked head, a tail.
const Style kEagle = {0,        {0.15f, 0.2f, 0.35f}, {0.95f, 0.75f, 0.1f}, {0.3f, 0.3f, 0.35f}, {1.0f, 0.3f, 0.1f},
                      0.32f,    0.22f,                0.44f,                0.22f,               0.38f,
                      0.05f,    0.09f,                0.07f,                0.29f,               0.29f,
                      0.45f,    0.45f,                0.09f,                0.26f};

void EagleHead(CMeshBuilder& b, const Style&, const Roles& r) {
    b.Use(r.main);
    b.TaperedBox(V3(0, 0.02f, 0.02f), 0.14f, 0.1f, 0.14f, 0.08f, 0.1f);
    b.Use(r.sub);
    b.SetPlace(Place().Moved(V3(0, 0.1f, -0.05f)).TurnedX(-1.35f));
    b.TaperedBox(V3(0, 0, 0), 0.18f, 0.08f, 0.06f, 0.005f, 0.02f, 0, 0.02f);  // beak
    b.SetPlace(Place());
    b.Prism(-0.01f, 0.01f, 0.14f, -0.02f, 0.2f, 0.14f, 0.12f, 0.16f);  // swept crest
    b.Use(r.glow);
    for (float side : {1.0f, -1.0f}) b.Box(V3(side * 0.04f, 0.1f, -0.045f), V3(0.03f, 0.02f, 0.02f));
}

void EagleTorso(CMeshBuilder& b, const Style& s, const Roles& r) {
    PlainTorso(b, s, r);
    b.Use(r.sub);
    for (float side : {1.0f, -1.0f}) {  // folded wings rising over the shoulders
        b.SetPlace(Place().Moved(V3(side * 0.1f, s.chestH * 0.7f, s.chestD * 0.65f)).TurnedZ(side * -0.35f).TurnedX(0.25f));
        b.Prism(side > 0 ? 0 : -0.02f, side > 0 ? 0.02f : 0, 0, 0, 0.55f, 0.1f, -0.1f, 0.35f);
        b.SetPlace(Place());
    }
    b.Use(r.glow);
    b.Cylinder(V3(0, s.chestH * 0.2f, s.chestD * 0.6f), V3(0, s.chestH * 0.05f, s.chestD * 0.72f), 0.05f, 0.04f, 8);
}

void EagleWaist(CMeshBuilder& b, const Style& s, const Roles& r) {
    PlainWaist(b, s, r);
    b.Use(r.sub);
    b.Prism(-0.015f, 0.015f, -0.05f, 0.08f, -0.12f, 0.45f, -0.18f, 0.1f);  // tail fin
}

void EagleForeArm(CMeshBuilder& b, const Style& s, const Roles& r) {
    PlainForeArm(b, s, r);
    b.Use(r.sub);
    b.Prism(s.limb * 0.5f, s.limb * 0.5f + 0.02f, -0.02f, 0.04f, -0.05f, 0.2f, -s.foreArm * 0.8f, 0.06f);  // blade fin
}

// メイド: a slender maid: a flared skirt, an apron, a white headdress over dark hair.
const Style kMaid = {0,        {0.12f, 0.12f, 0.18f}, {0.95f, 0.95f, 0.95f}, {0.85f, 0.75f, 0.7f}, {0.3f, 0.6f, 1.0f},
                     0.3f,     0.2f,                  0.42f,                 0.21f,                0.36f,
                     0.05f,    0.08f,                 0.06f,                 0.28f,                0.27f,
                     0.45f,    0.45f,                 0.08f,                 0.2f};

void MaidHead(CMeshBuilder& b, const Style&, const Roles& r, int alt) {
    b.Use(r.frame);
    b.Ball(V3(0, 0.1f, 0), V3(0.085f, 0.1f, 0.09f), 10, 7);  // face
    b.Use(r.main);
    b.Ball(V3(0, 0.13f, 0.02f), V3(0.1f, 0.1f, 0.1f), 10, 7);  // hair
    b.Box(V3(0, 0.0f, 0.08f), V3(0.16f, 0.22f, 0.05f));
    if (alt) {
        for (float side : {1.0f, -1.0f}) b.Cylinder(V3(side * 0.09f, 0.15f, 0.03f), V3(side * 0.14f, -0.12f, 0.05f), 0.03f, 0.015f, 6);
    } else {
        b.Cylinder(V3(0, 0.17f, 0.09f), V3(0, -0.2f, 0.16f), 0.04f, 0.015f, 6);  // ponytail
    }
    b.Use(r.sub);
    b.Box(V3(0, 0.22f, -0.01f), V3(0.16f, 0.04f, 0.04f));  // headdress
    b.Use(r.glow);
    for (float side : {1.0f, -1.0f}) b.Box(V3(side * 0.035f, 0.1f, -0.082f), V3(0.025f, 0.02f, 0.02f));
}

void MaidTorso(CMeshBuilder& b, const Style& s, const Roles& r, int alt) {
    BodyHooks(b, s);
    b.Use(r.main);
    b.TaperedBox(V3(0, -s.waistDrop, 0), s.chestH * 0.45f, s.chestW * 0.6f, s.chestD * 0.7f, s.chestW * 0.55f, s.chestD * 0.65f);
    b.TaperedBox(V3(0, s.chestH * 0.4f, 0), s.chestH * 0.6f, s.chestW * 0.8f, s.chestD, s.chestW, s.chestD * 0.9f);
    b.Use(r.sub);
    b.Box(V3(0, s.chestH * 0.4f, -s.chestD * 0.5f), V3(s.chestW * 0.45f, s.chestH * 0.7f, 0.03f));  // apron bib
    b.TaperedBox(V3(0, s.chestH * 0.9f, 0), 0.06f, s.chestW * 0.7f, s.chestD * 1.1f, s.chestW * 0.4f, s.chestD * 0.8f);  // collar
    b.Use(r.glow);
    b.Ball(V3(0, s.chestH * 0.85f, -s.chestD * 0.55f), V3(0.03f, 0.03f, 0.02f), 6, 4);  // brooch
    if (alt) {
        b.Use(r.sub);
        for (float side : {1.0f, -1.0f}) b.Ball(V3(side * s.shoulderX * 0.8f, s.shoulderY, 0), V3(0.08f, 0.07f, 0.08f), 8, 5);
    }
    b.Use(r.frame);
    b.Cylinder(V3(0, s.chestH * 0.9f, 0), V3(0, s.chestH + 0.03f, 0), 0.04f, 0.035f, 8);
}

void MaidWaist(CMeshBuilder& b, const Style& s, const Roles& r, int alt) {
    b.Marker(V3(s.hipX, -s.hipDrop, 0));
    b.Use(r.main);
    float len = alt ? 0.45f : 0.32f;
    b.Cylinder(V3(0, 0.0f, 0), V3(0, -len, 0), 0.13f, alt ? 0.3f : 0.26f, 12);  // skirt
    b.Use(r.sub);
    b.SetPlace(Place().Moved(V3(0, -0.02f, -0.12f)).TurnedX(-0.35f));
    b.Box(V3(0, -len * 0.45f, 0), V3(0.18f, len * 0.9f, 0.02f));  // apron
    b.SetPlace(Place());
    b.Cylinder(V3(0, -len, 0), V3(0, -len - 0.04f, 0), alt ? 0.3f : 0.26f, alt ? 0.31f : 0.27f, 12);  // frill
}

void MaidUpperArm(CMeshBuilder& b, const Style& s, const Roles& r) {
    b.Marker(V3(0, -s.upperArm, 0));
    b.Use(r.main);
    b.Ball(V3(0.01f, -0.06f, 0), V3(0.07f, 0.08f, 0.07f), 8, 5);  // puffed sleeve
    b.Use(r.frame);
    b.Cylinder(V3(0, 0, 0), V3(0, -s.upperArm, 0), 0.035f, 0.03f, 8);
}

void MaidForeArm(CMeshBuilder& b, const Style& s, const Roles& r, int gun) {
    b.Marker(V3(0, -s.foreArm, 0));
    b.Use(r.frame);
    b.Ball(V3(0, 0, 0), V3(0.035f, 0.035f, 0.035f), 6, 4);
    b.Cylinder(V3(0, 0, 0), V3(0, -s.foreArm, 0), 0.03f, 0.028f, 8);
    b.Box(V3(0, -s.foreArm, 0), V3(0.05f, 0.07f, 0.06f));  // hand
    b.Use(r.sub);
    b.Cylinder(V3(0, -s.foreArm + 0.1f, 0), V3(0, -s.foreArm + 0.05f, 0), 0.05f, 0.055f, 8);  // cuff
    if (gun) {  // a gauntlet with a small muzzle
        b.Use(r.main);
        b.Box(V3(0.045f, -s.foreArm * 0.5f, 0), V3(0.04f, s.foreArm * 0.6f, 0.08f));
        b.Use(r.glow);
        b.Box(V3(0.045f, -s.foreArm * 0.82f, 0), V3(0.03f, 0.02f, 0.03f));
    }
}

void MaidThigh(CMeshBuilder& b, const Style& s, const Roles& r, int alt) {
    b.Marker(V3(0, -s.thigh, 0));
    b.Use(r.frame);
    b.Cylinder(V3(0, 0, 0), V3(0, -s.thigh, 0), 0.05f, 0.04f, 8);
    b.Use(alt ? r.main : r.sub);
    b.Cylinder(V3(0, -s.thigh * 0.5f, 0), V3(0, -s.thigh, 0), 0.052f, 0.045f, 8);  // stockings
}

void MaidShin(CMeshBuilder& b, const Style& s, const Roles& r) {
    b.Marker(V3(0, -s.shin, 0));
    b.Use(r.sub);
    b.Cylinder(V3(0, 0, 0), V3(0, -s.shin + 0.08f, 0), 0.045f, 0.035f, 8);
    b.Use(r.main);
    b.TaperedBox(V3(0, -s.shin, -0.03f), 0.14f, 0.08f, 0.18f, 0.07f, 0.08f, 0, 0.04f);  // boots
}

// アクター and its variants: a lean actor frame; the JAP-35 parts make it a samurai.
const Style kActor = {0,        {0.55f, 0.2f, 0.7f}, {0.9f, 0.85f, 0.3f}, {0.25f, 0.25f, 0.3f}, {0.3f, 1.0f, 0.6f},
                      0.4f,     0.26f,               0.45f,               0.28f,                0.39f,
                      0.05f,    0.11f,               0.08f,               0.3f,                 0.3f,
                      0.44f,    0.44f,               0.11f,               0.25f};

void ActorHead(CMeshBuilder& b, const Style&, const Roles& r) {
    b.Use(r.main);
    b.Ball(V3(0, 0.1f, 0), V3(0.09f, 0.1f, 0.1f), 10, 6);
    b.Use(r.glow);
    b.Box(V3(0, 0.11f, -0.085f), V3(0.12f, 0.04f, 0.03f));  // wide visor
    b.Use(r.sub);
    for (float side : {1.0f, -1.0f}) b.Box(V3(side * 0.095f, 0.1f, 0), V3(0.03f, 0.06f, 0.1f));  // ear sensors
}

void SamuraiHead(CMeshBuilder& b, const Style&, const Roles& r) {
    b.Use(r.frame);
    b.Box(V3(0, 0.08f, 0), V3(0.12f, 0.13f, 0.13f));
    b.Use(r.main);
    b.Ball(V3(0, 0.16f, 0.01f), V3(0.12f, 0.07f, 0.12f), 10, 5);  // kabuto bowl
    b.TaperedBox(V3(0, 0.04f, 0.02f), 0.1f, 0.28f, 0.24f, 0.2f, 0.18f);  // neck guard
    b.Use(r.sub);
    for (float side : {1.0f, -1.0f}) {  // crescent horns
        b.SetPlace(Place().Moved(V3(0, 0.2f, -0.1f)).TurnedZ(side * -1.0f));
        b.Box(V3(0, 0.1f, 0), V3(0.02f, 0.2f, 0.015f));
        b.SetPlace(Place());
    }
    b.Use(r.glow);
    b.Box(V3(0, 0.1f, -0.068f), V3(0.09f, 0.025f, 0.02f));
}

void SamuraiTorso(CMeshBuilder& b, const Style& s, const Roles& r) {
    PlainTorso(b, s, r);
    b.Use(r.main);
    for (int i = 0; i < 3; ++i)  // lacquered plates
        b.Box(V3(0, s.chestH * (0.3f + 0.18f * i), -s.chestD * 0.53f), V3(s.chestW * (0.85f + 0.05f * i), 0.06f, 0.04f));
}

void SamuraiWaist(CMeshBuilder& b, const Style& s, const Roles& r) {
    PlainWaist(b, s, r);
    b.Use(r.main);
    for (int i = 0; i < 4; ++i) {  // tassets round the hips
        float a = -1.2f + 0.8f * i;
        b.SetPlace(Place().TurnedY(a));
        b.TaperedBox(V3(0, -s.hipDrop - 0.24f, -0.16f), 0.26f, 0.2f, 0.03f, 0.16f, 0.03f, 0, 0.03f);
    }
    b.SetPlace(Place());
}

void SamuraiUpperArm(CMeshBuilder& b, const Style& s, const Roles& r) {
    PlainUpperArm(b, s, r);
    b.Use(r.main);
    b.SetPlace(Place().TurnedZ(0.25f));
    b.Box(V3(0.1f, -0.12f, 0), V3(0.03f, 0.26f, 0.24f));  // sode plate
    b.SetPlace(Place());
}

void ActorShin(CMeshBuilder& b, const Style& s, const Roles& r, int samurai) {
    PlainShin(b, s, r);
    b.Use(samurai ? r.main : r.sub);
    if (samurai) b.Box(V3(0, -s.shin * 0.45f, -0.08f), V3(0.14f, s.shin * 0.55f, 0.03f));  // greaves
    else b.Box(V3(s.limb * 0.75f, -s.shin * 0.6f, 0.02f), V3(0.03f, 0.12f, 0.12f));
}

// ---- Writing every type ----

int WriteRobotMeshes(const std::string& dir) {
    const std::string x = dir + "/x/";
    if (!MakeDirs(x)) return 0;
    using namespace std::placeholders;
    auto bind1 = [](void (*fn)(CMeshBuilder&, const Style&, const Roles&, int), int flag) -> PartFn {
        return [fn, flag](CMeshBuilder& b, const Style& s, const Roles& r) { fn(b, s, r, flag); };
    };

    TypeParts zero = Plain();
    zero.head = ZeroHead;
    zero.body = ZeroTorso;

    TypeParts justice = Plain();
    justice.head = bind1(JusticeHead, 0);
    justice.body = bind1(JusticeTorso, 0);
    justice.waist = bind1(JusticeWaist, 0);
    justice.upperArm = bind1(JusticeUpperArm, 0);
    justice.shin = bind1(JusticeShin, 0);

    TypeParts flat = Plain();
    flat.head = bind1(FlatHead, 0);
    flat.body = bind1(FlatTorso, 0);
    flat.waist = bind1(FlatWaist, 0);
    flat.upperArm = bind1(FlatUpperArm, 0);
    flat.foreArm = bind1(FlatForeArm, 0);
    flat.shin = bind1(FlatShin, 0);
    TypeParts flatCommander = flat;  // the h15 parts
    flatCommander.head = bind1(FlatHead, 1);
    flatCommander.body = bind1(FlatTorso, 1);
    flatCommander.waist = bind1(FlatWaist, 1);
    flatCommander.upperArm = bind1(FlatUpperArm, 1);
    flatCommander.foreArm = bind1(FlatForeArm, 1);
    flatCommander.shin = bind1(FlatShin, 1);
    Style flatHeavy = kFlat;  // heavier legs and arms on the variants
    flatHeavy.limb = 0.17f;

    TypeParts siren = Plain();
    siren.head = bind1(SirenHead, 0);
    siren.body = SirenTorso;
    siren.upperArm = bind1(SirenUpperArm, 0);
    siren.thigh = SirenThigh;
    siren.shin = SirenShin;

    TypeParts eagle = Plain();
    eagle.head = EagleHead;
    eagle.body = EagleTorso;
    eagle.waist = EagleWaist;
    eagle.foreArm = EagleForeArm;

    TypeParts actor = Plain();
    actor.head = ActorHead;
    actor.shin = bind1(ActorShin, 0);
    TypeParts samurai = Plain();
    samurai.head = SamuraiHead;
    samurai.body = SamuraiTorso;
    samurai.waist = SamuraiWaist;
    samurai.upperArm = SamuraiUpperArm;
    samurai.shin = bind1(ActorShin, 1);

    int ok = WriteType(x, "h36-", kZero, zero) && WriteType(x, "h29b-", kJustice, justice) &&
             WriteType(x, "h09-", kFlat, flat) && WriteType(x, "h15-", flatHeavy, flatCommander) &&
             WriteType(x, "h21-", kSiren, siren) && WriteType(x, "h31b-", kEagle, eagle) &&
             WriteType(x, "h33-", kActor, actor) && WriteType(x, "h35-", kActor, samurai);
    // ジャスティス variants.
    ok = ok && WritePart(x + "h29b-hedd[2].x", kJustice, 0, bind1(JusticeHead, 1)) &&
         WritePart(x + "h29b-body[2].x", kJustice, 0, bind1(JusticeTorso, 1)) &&
         WritePart(x + "h29b-west[2].x", kJustice, 0, bind1(JusticeWaist, 1)) &&
         WritePair(x, "h29b-arm1[2]", kJustice, bind1(JusticeUpperArm, 1)) &&
         WritePair(x, "h29b-leg2[2]", kJustice, bind1(JusticeShin, 1));
    // サイレン variants.
    ok = ok && WritePart(x + "h21-hedd[A].x", kSiren, 0, bind1(SirenHead, 1)) &&
         WritePart(x + "h21-hedd[H].x", kSiren, 0, bind1(SirenHead, 2)) &&
         WritePair(x, "h21-arm1[A]", kSiren, bind1(SirenUpperArm, 1)) &&
         WritePair(x, "h21-arm1[H]", kSiren, bind1(SirenUpperArm, 2));
    // メイド: its own part names, two dresses.
    ok = ok && WritePart(x + "h32c-hedd[1].x", kMaid, 0, bind1(MaidHead, 0)) &&
         WritePart(x + "h32c-hedd[2].x", kMaid, 0, bind1(MaidHead, 1)) &&
         WritePart(x + "h32c-body[1].x", kMaid, 0, bind1(MaidTorso, 0)) &&
         WritePart(x + "h32c-body[2].x", kMaid, 0, bind1(MaidTorso, 1)) &&
         WritePart(x + "h32c-west[1].x", kMaid, 0, bind1(MaidWaist, 0)) &&
         WritePart(x + "h32c-west[2].x", kMaid, 0, bind1(MaidWaist, 1)) &&
         WritePair(x, "h32c-arm1", kMaid, MaidUpperArm) &&
         WritePart(x + "h32c-arm2[p]L.x", kMaid, 0, bind1(MaidForeArm, 0)) &&
         WritePart(x + "h32c-arm2[g]R.x", kMaid, 1, bind1(MaidForeArm, 1)) &&
         WritePair(x, "h32c-leg1[1]", kMaid, bind1(MaidThigh, 0)) &&
         WritePair(x, "h32c-leg1[2]", kMaid, bind1(MaidThigh, 1)) && WritePair(x, "h32c-leg2", kMaid, MaidShin);
    return ok;
}

}  // namespace

REGISTER_GENERATOR("robot meshes", WriteRobotMeshes);
