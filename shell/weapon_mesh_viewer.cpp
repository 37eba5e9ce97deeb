// A developer's scene that no title entry leads to: three weapon meshes turning in front of
// the camera until the quit flag.
#include "frame_loop.h"
#include "scenes.h"

#include "camera.h"
#include "graphics.h"
#include "mesh.h"
#include "node.h"

#include "sys_path.h"

namespace {

constexpr int kViewerMeshes = 3;
const char* const kMeshFiles[kViewerMeshes] = {"wR-shuV.x", "wB-Missile1(1)L.x", "wB-Missile1(1)R.x"};
const Vec3 kMeshPlaces[kViewerMeshes] = {Vec3(0, 0, 0), Vec3(1.0f, 0, 0), Vec3(1.0f, 0.6f, 0)};
constexpr float kTurnPerFrame = 0.01f;

}  // namespace

void WeaponMeshViewerScene() {
    CMesh meshes[kViewerMeshes];
    C3DObject objects[kViewerMeshes];
    {
        // Back to the saved absolute folder afterwards, also when ".\x" is missing.
        CFolderGuard folder(".\\x");
        for (int i = 0; i < kViewerMeshes; ++i) {
            meshes[i].Load(kMeshFiles[i]);
            objects[i].Create(&meshes[i], kMeshPlaces[i].x, kMeshPlaces[i].y, kMeshPlaces[i].z, 1.0f);
        }
    }
    SetViewLookAlong(Vec3(0, 0, 3.0f), Vec3(0, 0, -1), Vec3(0, 1, 0));
    RunFrameLoop([] { return false; },
                 [&] {
                     for (C3DObject& o : objects) o.RotateY(kTurnPerFrame);
                     if (BeginFrame(0xff000000)) {
                         for (C3DObject& o : objects) o.Draw();
                         EndFrame();
                     }
                     return 1;
                 });
}
