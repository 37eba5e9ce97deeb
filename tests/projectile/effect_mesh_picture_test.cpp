// The stand-in effect meshes on screen: each one is drawn in a cell of its own, lit, so the
// saved picture shows every bolt, missile, explosion and ring; the placeholders stay invisible.
#include "../engine/gfx_fixture.h"

#include "camera.h"
#include "mesh.h"
#include "node.h"
#include "projectile_kinds.h"
#include "scene_driver.h"

#include "sys_path.h"

#include <set>
#include <string>
#include <vector>

namespace {

using EffectMeshPicture = GfxTest;

TEST_F(EffectMeshPicture, EveryEffectMeshShowsInItsCell) {
    StartDevice();
    std::vector<std::string> files;
    std::set<std::string> seen;
    for (const SStoreSlotFiles& s : kStoreFiles)
        for (const char* f : {s.flight, s.hit, s.terrain, s.trail})
            if (seen.insert(f).second) files.push_back(f);
    std::vector<CMesh> meshes(files.size());
    {
        CFolderGuard obj(GAME_DIR "/obj");
        for (size_t i = 0; i < files.size(); ++i) ASSERT_EQ(meshes[i].Load(files[i].c_str()), 1) << files[i];
    }
    constexpr int kColumns = 7, kRows = 6;
    ASSERT_LE((int)files.size(), kColumns * kRows);
    SetViewLookAt(Vec3(0, 0, 0), Vec3(0, 0, 1), Vec3(0, 1, 0));
    SetDirectionalLight(0.4f, -0.6f, 0.7f, 1, 1, 1, 1);
    EnableLight(1);
    SetLighting(1);
    SetAmbient(0xFF404040);
    std::vector<C3DObject> nodes(files.size());
    for (size_t i = 0; i < files.size(); ++i) {
        float r = meshes[i].GetSphereRadius();
        C3DObject& n = nodes[i];
        n.Create(&meshes[i], 0, 0, 0, r > 0 ? 1.1f / r : 1.0f);
        n.RotateY(0.7f);
        n.RotateX(0.4f);
        const Vec3 c = meshes[i].GetSphereCenter() * n.m_scale;
        n.SetLocalPosition(-9.3f + 3.1f * (i % kColumns) - c.x, 6.9f - 2.76f * (i / kColumns) - c.y, 20 - c.z);
    }
    Frame(0xFF000000, [&] {
        for (C3DObject& n : nodes) n.Draw();
    });
    ScreenImage shot;
    shot.width = 640;
    shot.height = 480;
    shot.argb.resize(640 * 480);
    ASSERT_EQ(GfxReadPixels(0, 0, 640, 480, shot.argb.data()), 1);
    EXPECT_EQ(shot.SavePng(std::string(SCREENSHOT_DIR) + "/effect_meshes.png"), 1);
    for (size_t i = 0; i < files.size(); ++i) {
        Vec3 centre = WorldToScreen(nodes[i].GetWorldPosition());
        int lit = 0;
        for (int y = (int)centre.y - 35; y < (int)centre.y + 35; ++y)
            for (int x = (int)centre.x - 40; x < (int)centre.x + 40; ++x) lit += (shot.Pixel(x, y) & 0xFFFFFF) != 0;
        const bool placeholder = files[i] == "dammy" || files[i] == "dammy.x";
        if (placeholder)
            EXPECT_EQ(lit, 0) << files[i];
        else
            EXPECT_GT(lit, 40) << files[i];
    }
}

}  // namespace
