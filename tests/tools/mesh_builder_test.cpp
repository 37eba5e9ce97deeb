// The stand-in mesh builder: what it writes reads back through the engine's .x reader with the
// hooks at their indices, every face turned outward (or inward for rooms), and materials,
// glow and texture coordinates as given.
#include "mesh_builder.h"

#include "xfile_reader.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>

namespace {

XMeshData Parse(const CMeshBuilder& b) {
    XMeshData data;
    std::string text = b.Text(), error;
    EXPECT_EQ(ParseXFile(text.data(), text.size(), &data, &error), 1) << error;
    return data;
}

Vec3 FaceNormal(const XMeshData& d, size_t f) {
    Vec3 a = d.positions[d.indices[3 * f]], b = d.positions[d.indices[3 * f + 1]], c = d.positions[d.indices[3 * f + 2]];
    return Vec3Cross(b - a, c - a);
}

Vec3 FaceMiddle(const XMeshData& d, size_t f) {
    return (d.positions[d.indices[3 * f]] + d.positions[d.indices[3 * f + 1]] + d.positions[d.indices[3 * f + 2]]) /
           3.0f;
}

// Every face of a closed solid around `centre` faces away from it (sign 1) or towards it (-1),
// and the written normal agrees with the winding.
void ExpectFacing(const XMeshData& d, Vec3 centre, float sign, const char* what) {
    ASSERT_FALSE(d.indices.empty()) << what;
    for (size_t f = 0; f < d.indices.size() / 3; ++f) {
        Vec3 n = FaceNormal(d, f);
        if (Vec3Length(n) == 0) continue;  // hooks
        EXPECT_GT(sign * Vec3Dot(n, FaceMiddle(d, f) - centre), 0) << what << " face " << f;
        EXPECT_GT(Vec3Dot(n, d.normals[d.indices[3 * f]]), 0) << what << " normal of face " << f;
    }
}

TEST(MeshBuilderTest, SolidsFaceOutwardAndRoomsInward) {
    struct Case {
        const char* name;
        std::function<void(CMeshBuilder&)> build;
        Vec3 centre;
        float sign;
        int faces;
    };
    const Case cases[] = {
        {"box", [](CMeshBuilder& b) { b.Box(V3(1, 2, 3), V3(2, 1, 0.5f)); }, Vec3(1, 2, 3), 1, 12},
        {"tapered box", [](CMeshBuilder& b) { b.TaperedBox(V3(0, -1, 0), 2, 1, 1, 0.4f, 0.6f, 0.1f, -0.1f); },
         Vec3(0.05f, 0, -0.05f), 1, 12},
        {"cylinder", [](CMeshBuilder& b) { b.Cylinder(V3(0, 0, 0), V3(0, 0, -2), 0.3f, 0.2f, 8); }, Vec3(0, 0, -1),
         1, 32},
        {"cone", [](CMeshBuilder& b) { b.Cylinder(V3(1, 0, 0), V3(1, 2, 0), 0.5f, 0, 6); }, Vec3(1, 0.5f, 0), 1, 12},
        {"ball", [](CMeshBuilder& b) { b.Ball(V3(0, 1, 0), V3(1, 0.5f, 1), 8, 6); }, Vec3(0, 1, 0), 1, 80},
        {"prism", [](CMeshBuilder& b) { b.Prism(-1, 1, 0, 0, 1, 0, 0, 1); }, Vec3(0, 0.33f, 0.33f), 1, 8},
        {"room", [](CMeshBuilder& b) { b.InwardBox(V3(0, 0, 0), V3(10, 4, 10)); }, Vec3(0, 0, 0), -1, 12},
        {"turned and mirrored box",
         [](CMeshBuilder& b) {
             b.SetPlace(Place().Moved(V3(0, 1, 0)).TurnedX(0.5f).TurnedZ(-0.3f).MirroredX());
             b.Box(V3(0.2f, 0, 0), V3(0.3f, 0.3f, 0.3f));
         },
         Vec3(0, 0, 0), 1, 12},
    };
    for (const Case& c : cases) {
        CMeshBuilder b;
        b.AddMaterial(1, 0, 0);
        c.build(b);
        XMeshData d = Parse(b);
        EXPECT_EQ(d.indices.size() / 3, static_cast<size_t>(c.faces)) << c.name;
        Vec3 centre = c.centre;
        if (std::string(c.name) == "turned and mirrored box") {
            Place p = Place().Moved(V3(0, 1, 0)).TurnedX(0.5f).TurnedZ(-0.3f).MirroredX();
            V3 m = p.Point(V3(0.2f, 0, 0));
            centre = Vec3(m.x, m.y, m.z);
        }
        ExpectFacing(d, centre, c.sign, c.name);
    }
}

TEST(MeshBuilderTest, HooksComeFirstAndOnlyBeforeFaces) {
    CMeshBuilder b;
    b.AddMaterial(1, 1, 1);
    EXPECT_EQ(b.Marker(V3(0, 0.5f, 0)), 0);
    EXPECT_EQ(b.Marker(V3(0.3f, 0.4f, 0)), 3);
    b.SetPlace(Place().Moved(V3(1, 0, 0)));
    EXPECT_EQ(b.Marker(V3(0, -1, 0)), 6);
    b.Box(V3(0, 0, 0), V3(1, 1, 1));
    EXPECT_EQ(b.Marker(V3(5, 5, 5)), -1);  // too late: the indices would not be fixed
    XMeshData d = Parse(b);
    ASSERT_GE(d.positions.size(), 9u);
    const Vec3 expect[3] = {Vec3(0, 0.5f, 0), Vec3(0.3f, 0.4f, 0), Vec3(1, -1, 0)};
    for (int m = 0; m < 3; ++m)
        for (int k = 0; k < 3; ++k) {
            EXPECT_FLOAT_EQ(d.positions[3 * m + k].x, expect[m].x) << m;
            EXPECT_FLOAT_EQ(d.positions[3 * m + k].y, expect[m].y) << m;
            EXPECT_FLOAT_EQ(d.positions[3 * m + k].z, expect[m].z) << m;
        }
    // No vertex was duplicated or moved by the reader: one normal per vertex.
    EXPECT_EQ(d.positions.size(), static_cast<size_t>(b.VertexCount()));
}

TEST(MeshBuilderTest, MaterialsGlowAndTexturesReadBack) {
    CMeshBuilder b;
    int red = b.AddMaterial(1, 0, 0);
    int sky = b.AddMaterial(0.2f, 0.4f, 0.9f, 0.5f);
    b.SetGlow(sky, 0.1f, 0.2f, 0.3f);
    int floor = b.AddMaterial(1, 1, 1);
    b.SetTexture(floor, "tile.png", 2.0f);
    b.AddMaterial(0, 1, 0);  // unused, still counted (paint slots address materials by index)
    b.Use(red);
    b.Box(V3(0, 0, 0), V3(1, 1, 1));
    b.Use(floor);
    b.Quad(V3(0, 0, 0), V3(4, 0, 0), V3(4, 0, 4), V3(0, 0, 4), V3(0, -1, 0));
    XMeshData d = Parse(b);
    ASSERT_EQ(d.materials.size(), 4u);
    EXPECT_FLOAT_EQ(d.materials[sky].faceColor.a, 0.5f);
    EXPECT_FLOAT_EQ(d.materials[sky].emissive.b, 0.3f);
    EXPECT_EQ(d.materials[floor].textureFile, "tile.png");
    ASSERT_EQ(d.faceMaterials.size(), 14u);
    EXPECT_EQ(d.faceMaterials[0], static_cast<uint32_t>(red));
    EXPECT_EQ(d.faceMaterials[13], static_cast<uint32_t>(floor));
    ASSERT_EQ(d.texCoords.size(), d.positions.size());
    // The floor quad spans two repeats of its texture.
    float maxU = 0;
    for (size_t i = 36; i < d.texCoords.size(); ++i) maxU = std::max(maxU, d.texCoords[i].x);
    EXPECT_FLOAT_EQ(maxU, 2.0f);
    // The floor faces up.
    EXPECT_GT(FaceNormal(d, 12).y, 0);
}

TEST(MeshBuilderTest, EmptyBuilderStillWritesAReadableMeshFile) {
    CMeshBuilder b;
    b.Marker(V3(0, 0, 0));
    XMeshData d = Parse(b);
    EXPECT_EQ(d.positions.size(), 3u);
    EXPECT_EQ(d.materials.size(), 1u);
}

}  // namespace
