// CMesh: loading with its log lines, generated shapes, materials, normals, and drawing that
// reads back on the headless device.
#include "gfx_fixture.h"
#include "mesh.h"
#include "node.h"
#include "pick_models.h"
#include "test_folder.h"
#include "texture.h"

#include "sys_image.h"
#include "sys_path.h"

#include "sys_info.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include <unistd.h>

namespace {

std::string g_log;
void Capture(const char* text) { g_log += text; }

const char kTwoMaterials[] = R"(xof 0302txt 0032
Mesh {
 6;
 0.0;1.0;0.0;, 1.0;-1.0;0.0;, -1.0;-1.0;0.0;,
 0.0;0.0;0.5;, 0.2;0.0;0.5;, 0.0;0.2;0.5;;
 2;
 3;0,1,2;,
 3;3,4,5;;
 MeshMaterialList {
  2; 2; 0, 1;;
  Material { 1.0;0.0;0.0;1.0;; 0.0; 0.0;0.0;0.0;; 0.0;0.0;0.0;; }
  Material { 0.0;1.0;0.0;0.5;; 2.0; 1.0;1.0;1.0;; 0.1;0.1;0.1;; }
 }
}
)";

class MeshFiles : public ::testing::Test {
protected:
    void SetUp() override {
        g_log.clear();
        ResetLogFileName();
        SysSetDebugOutputSink(Capture);
        WriteWholeFile(m_folder.File("two.x"), kTwoMaterials);
        WriteWholeFile(m_folder.File("bad.x"), std::string(kTwoMaterials, 120));
    }
    void TearDown() override { SysSetDebugOutputSink(nullptr); }
    CTestFolder m_folder;
};

TEST_F(MeshFiles, LoadLogsAndKeepsTheFileOrder) {
    CMesh mesh;
    ASSERT_EQ(mesh.Load("two.x", 0, 1), 1);
    EXPECT_EQ(g_log, "load(two.x) ... ok.\n");
    EXPECT_EQ(mesh.GetName(), "two.x");
    ASSERT_EQ(mesh.GetVertexCount(), 6);
    EXPECT_EQ(mesh.GetVertexPosition(0), Vec3(0, 1, 0));
    EXPECT_EQ(mesh.GetVertexPosition(4), Vec3(0.2f, 0, 0.5f));
    EXPECT_EQ(mesh.GetVertexPosition(6), Vec3());   // past the end
    EXPECT_EQ(mesh.GetVertexPosition(-1), Vec3());
    ASSERT_EQ(mesh.GetSubsetCount(), 2);
    // Ambient takes the diffuse colour; the rest as the file says.
    EXPECT_EQ(mesh.GetMaterial(1).diffuse.a, 0.5f);
    EXPECT_EQ(mesh.GetMaterial(1).ambient.g, 1.0f);
    EXPECT_EQ(mesh.GetMaterial(1).ambient.a, 0.5f);
    EXPECT_EQ(mesh.GetMaterial(1).power, 2.0f);
    EXPECT_EQ(mesh.GetBoxMin(), Vec3(-1, -1, 0));
    EXPECT_EQ(mesh.GetBoxMax(), Vec3(1, 1, 0.5f));

    // Loading again releases the first file first.
    g_log.clear();
    ASSERT_EQ(mesh.Load("two.x", 0, 1), 1);
    EXPECT_EQ(g_log, "release(two.x)\nload(two.x) ... ok.\n");

    // Normals: the format becomes position, normal, texture; vertices stay where they were.
    mesh.ComputeNormals();
    EXPECT_EQ(mesh.GetFvf(), 0x112u);
    EXPECT_EQ(mesh.GetVertexStride(), 32);
    EXPECT_EQ(mesh.GetVertexPosition(4), Vec3(0.2f, 0, 0.5f));
    Vec3 n = mesh.GetVertexNormal(0);
    EXPECT_NEAR(n.z, -1.0f, 1e-6f);  // clockwise as seen from -Z: it faces -Z
}

TEST_F(MeshFiles, FailedLoadsLeaveTheMeshEmpty) {
    CMesh mesh;
    ASSERT_EQ(mesh.Load("two.x", 0, 1), 1);
    g_log.clear();
    EXPECT_EQ(mesh.Load("bad.x", 0, 1), 0);
    EXPECT_EQ(g_log, "release(two.x)\nload(bad.x) ... failed.\n");
    EXPECT_EQ(mesh.HasMesh(), 0);
    EXPECT_EQ(mesh.GetSubsetCount(), 0);
    EXPECT_EQ(mesh.GetName(), "bad.x");  // kept, so the release is logged
    g_log.clear();
    mesh.Release();
    EXPECT_EQ(g_log, "release(bad.x)\n");
    g_log.clear();
    mesh.Release();
    EXPECT_EQ(g_log, "");
    EXPECT_EQ(mesh.Load("missing.x", 0, 1), 0);
    EXPECT_EQ(mesh.GetVertexCount(), 0);
    // A corner at infinity (1e999) is damage like any other.
    WriteWholeFile(m_folder.File("inf.x"), "xof 0302txt 0032\nMesh { 3; 0;0;0;, 1e999;0;0;, -1e999;1;0;; 1; 3;0,1,2;; }\n");
    g_log.clear();
    EXPECT_EQ(mesh.Load("inf.x", 0, 1), 0);
    EXPECT_EQ(g_log, "load(inf.x) ... failed.\n");
    EXPECT_EQ(mesh.HasMesh(), 0);
    // Every valid mesh loads, whatever its faces' shapes: a robot part's railing of 300 thin
    // bars written as quads (9,600 triangles, long and thin), and a heap of needles.
    WriteWholeFile(m_folder.File("railing.x"), RailingModel().XFileText());
    std::string needles = "xof 0302txt 0032\nMesh { 3; 0;0;0;, 40;0.05;0;, 40;0.05;0.1;; 5000;";
    for (int f = 0; f < 5000; ++f) needles += f ? ", 3;0,1,2;" : " 3;0,1,2;";
    WriteWholeFile(m_folder.File("needles.x"), needles + "; }\n");
    for (const auto& [file, faces] : {std::pair<std::string, int>("railing.x", 9600), {"needles.x", 5000}}) {
        mesh.Release();
        g_log.clear();
        ASSERT_EQ(mesh.Load(file.c_str(), 0, 1), 1) << file;
        EXPECT_EQ(g_log, "load(" + file + ") ... ok.\n");
        EXPECT_EQ(mesh.GetFaceCount(), faces);
    }
    mesh.Release();
    // Drawing and picking an empty mesh do nothing.
    mesh.Draw(Mat4::Identity());
    C3DObject node;
    node.Create(&mesh, 0, 0, 0, 1);
    Vec3 hit;
    EXPECT_EQ(node.PickMesh(Vec3(0, 0, -5), Vec3(0, 0, 1), &hit), 0);
}

TEST_F(MeshFiles, GeneratedShapesAndSubsetColours) {
    CMesh sphere, box, pot;
    ASSERT_EQ(sphere.CreateSphere(2.0f, 12, 8, 0.1f, 0.2f, 0.3f, 0.4f), 1);
    ASSERT_EQ(box.CreateBox(2, 4, 6, 1, 1, 1, 1), 1);
    ASSERT_EQ(pot.CreateTeapot(1, 1, 0, 1), 1);
    EXPECT_EQ(sphere.GetName(), "");
    EXPECT_EQ(sphere.GetSubsetCount(), 1);
    EXPECT_EQ(sphere.GetMaterial(0).ambient.b, 0.3f);
    EXPECT_EQ(sphere.GetMaterial(0).diffuse.a, 0.4f);
    EXPECT_EQ(sphere.GetMaterial(0).emissive.r, 0.0f);
    EXPECT_NEAR(sphere.GetBoxMax().y, 2.0f, 1e-5f);
    EXPECT_NEAR(sphere.GetSphereRadius(), 2.0f, 1e-4f);
    EXPECT_EQ(box.GetBoxMin(), Vec3(-1, -2, -3));
    EXPECT_EQ(box.GetFaceCount(), 12);
    EXPECT_GT(pot.GetFaceCount(), 100);
    // Every vertex normal of the convex shapes points away from the centre.
    for (CMesh* m : {&sphere, &box})
        for (int i = 0; i < m->GetVertexCount(); ++i)
            EXPECT_GT(Vec3Dot(m->GetVertexNormal(i), m->GetVertexPosition(i)), 0.0f) << i;
    EXPECT_EQ(sphere.CreateSphere(1, 1, 1, 1, 1, 1, 1), 0);
    EXPECT_NE(g_log.find("D3DXCreateSphere\n"), std::string::npos);
    g_log.clear();
    sphere.Release();
    box.Release();
    EXPECT_EQ(g_log, "");  // generated shapes have no name to log

    CMesh mesh;
    ASSERT_EQ(mesh.Load("two.x", 0, 1), 1);
    GfxMaterial before = mesh.GetMaterial(1);
    mesh.SetSubsetColor(2, 1, 1, 1, 1);   // index equal to the count
    mesh.SetSubsetColor(-1, 1, 1, 1, 1);  // negative
    EXPECT_EQ(mesh.GetMaterial(1).diffuse.g, before.diffuse.g);
    EXPECT_EQ(mesh.GetMaterial(0).diffuse.r, 1.0f);
    mesh.SetSubsetColor(1, 0.2f, 0.4f, 0.6f, 0.8f);
    const GfxMaterial& m = mesh.GetMaterial(1);
    EXPECT_EQ(m.diffuse.b, 0.6f);
    EXPECT_EQ(m.ambient.a, 0.0f);
    EXPECT_EQ(m.specular.r, 1.0f);
    EXPECT_EQ(m.emissive.g, 0.2f);
    EXPECT_EQ(m.emissive.a, 0.8f);
    EXPECT_EQ(m.power, 1.0f);
}

class MeshDraw : public GfxTest {
protected:
    void SetUp() override {
        GfxTest::SetUp();
        StartDevice();
        g_matView = MatrixLookAtLH(Vec3(0, 0, -5), Vec3(0, 0, 0), Vec3(0, 1, 0));
    }
    uint32_t DrawAndRead(CMesh& mesh, void (*draw)(CMesh&)) {
        Frame(0xFF000000, [&] { draw(mesh); });
        return GfxReadPixel(320, 240);
    }
};

bool SameMaterial(const GfxMaterial& a, const GfxMaterial& b) {
    auto eq = [](const Color4& x, const Color4& y) { return x.r == y.r && x.g == y.g && x.b == y.b && x.a == y.a; };
    return eq(a.diffuse, b.diffuse) && eq(a.ambient, b.ambient) && eq(a.specular, b.specular) &&
           eq(a.emissive, b.emissive) && a.power == b.power;
}

TEST_F(MeshDraw, MaterialColourReadsBackAndAlphaDrawsRestoreMaterials) {
    CMesh box;
    ASSERT_EQ(box.CreateBox(2, 2, 2, 1, 0, 0, 1), 1);
    uint32_t plain = DrawAndRead(box, [](CMesh& m) { m.Draw(Mat4::Identity()); });
    EXPECT_GE((plain >> 16) & 0xFF, 0x7Fu) << std::hex << plain;
    EXPECT_EQ(plain & 0xFFFF, 0u) << std::hex << plain;

    // Painted (diffuse colour, no ambient) and then drawn with alpha: the paint survives.
    box.SetSubsetColor(0, 0, 0, 1, 1);
    GfxMaterial painted = box.GetMaterial(0);
    DrawAndRead(box, [](CMesh& m) { m.DrawWithAlpha(Mat4::Identity(), 0.3f); });
    EXPECT_TRUE(SameMaterial(box.GetMaterial(0), painted));
    DrawAndRead(box, [](CMesh& m) { m.DrawAddAlpha(Mat4::Identity(), 0.3f); });
    EXPECT_TRUE(SameMaterial(box.GetMaterial(0), painted));

    // Added alpha is clamped: far above 1 draws as opaque, far below -1 as nothing.
    ASSERT_EQ(box.CreateBox(2, 2, 2, 1, 0, 0, 1), 1);
    uint32_t high = DrawAndRead(box, [](CMesh& m) { m.DrawAddAlpha(Mat4::Identity(), 5.0f); });
    EXPECT_EQ(high, plain);
    uint32_t low = DrawAndRead(box, [](CMesh& m) { m.DrawAddAlpha(Mat4::Identity(), -5.0f); });
    EXPECT_EQ(low, 0xFF000000u);

    // Through a node: hidden nodes draw nothing; shadows draw in the shadow colour.
    C3DObject node;
    node.Create(&box, 0, 0, 0, 1);
    node.SetVisible(0);
    Frame(0xFF000000, [&] { node.Draw(); });
    EXPECT_EQ(GfxReadPixel(320, 240), 0xFF000000u);
    node.SetVisible(1);
    Frame(0xFF000000, [&] { node.Draw(); });
    EXPECT_EQ(GfxReadPixel(320, 240), plain);
    node.SetLocalPosition(40, 0, 0);  // off screen
    Frame(0xFF000000, [&] { node.Draw(); });
    EXPECT_EQ(GfxReadPixel(320, 240), 0xFF000000u);
}

TEST_F(MeshDraw, TexturesAreSharedThroughTheCacheAndDrawn) {
    CTestFolder folder;
    std::vector<uint32_t> px(4 * 4, 0xFF00FF00u);
    ASSERT_EQ(SysSavePng(folder.File("green.png"), px.data(), 4, 4), 1);
    std::string x = kTwoMaterials;
    x.replace(x.find("0.0;0.0;0.0;; }\n  Material"), 15, "0.0;0.0;0.0;; TextureFilename { \"green.png\"; } }");
    WriteWholeFile(folder.File("tex.x"), x);
    int before = g_textureCache.Count();
    {
        CMesh a, b;
        ASSERT_EQ(a.Load("tex.x", 0, 1), 1);
        ASSERT_EQ(b.Load("tex.x", 0, 1), 1);
        ASSERT_NE(a.GetTexture(0), nullptr);
        EXPECT_EQ(a.GetTexture(0), b.GetTexture(0));
        EXPECT_EQ(a.GetTexture(1), nullptr);
        EXPECT_EQ(a.GetTextureName(0), "green.png");
        EXPECT_EQ(g_textureCache.Count(), before + 1);
        a.Release();
        EXPECT_EQ(g_textureCache.Count(), before + 1);  // still held by b
        // Unlit, the subset shows its texture (white vertices times green texels).
        SetAlphaBlend(0, 0, 0);
        SetLighting(0);
        Mat4 big = MatrixScaling(3, 3, 3);
        Frame(0xFF000000, [&] { b.Draw(big); });
        uint32_t c = GfxReadPixel(320, 250);
        EXPECT_EQ(c, 0xFF00FF00u) << std::hex << c;
        // An override texture through a node replaces every subset's.
        C3DObject node;
        node.Create(&b, 0, 0, 0, 3);
        CTexture green;
        ASSERT_EQ(green.Load("green.png", 0, 1), 1);
        node.m_texture = &green;
        Frame(0xFF000000, [&] { node.DrawWithTexture(); });
        EXPECT_EQ(GfxReadPixel(320, 250), c);
    }
    EXPECT_EQ(g_textureCache.Count(), before);
}

TEST_F(MeshFiles, ResourcesBesideTheProgram) {
    CMesh mesh;
    EXPECT_EQ(mesh.LoadFromResource("no_such_mesh.x", 0, 1), 0);
    EXPECT_EQ(g_log, "load(no_such_mesh.x) ... open failed.\n");
    std::string res = SysGetExeDirectory() + "res";
    SysMakeDir(res.c_str());
    std::string file = res + "/mesh_test_" + std::to_string(getpid()) + ".x";
    WriteWholeFile(file, kTwoMaterials);
    g_log.clear();
    std::string name = file.substr(res.size() + 1);
    // Only a held mesh is released first: the failed name above is simply replaced.
    EXPECT_EQ(mesh.LoadFromResource(name.c_str(), 0, 1), 1);
    EXPECT_EQ(g_log, "load(" + name + ") ... ok.\n");
    EXPECT_EQ(mesh.GetSubsetCount(), 2);
    // A mesh only inside a frame is not a top-level mesh object.
    WriteWholeFile(file, "xof 0302txt 0032\nHeader { 1; 0; 1; }\nFrame { Mesh { 3; 0;0;0;, 0;1;0;, 1;0;0;; 1; 3;0,1,2;; } }\n");
    g_log.clear();
    EXPECT_EQ(mesh.LoadFromResource(name.c_str(), 0, 1), 0);
    EXPECT_EQ(g_log, "release(" + name + ")\nload(" + name + ") ... mesh is not found.\n");
    WriteWholeFile(file, "xof 0302txt 0032\nMesh { 3; 0;0;0;, 0;1;0;, 1;0;0;; 1; 3;0,1,9;; }\n");
    g_log.clear();
    EXPECT_EQ(mesh.LoadFromResource(name.c_str(), 0, 1), 0);
    EXPECT_EQ(g_log, "load(" + name + ") ... failed.\n");
    EXPECT_EQ(mesh.HasMesh(), 0);
    g_log.clear();
    EXPECT_EQ(mesh.Load("two.x", 0, 1), 1);
    EXPECT_EQ(g_log, "load(two.x) ... ok.\n");
    std::remove(file.c_str());
}

}  // namespace
