// Loading a built robot: for every frame type the frames hang on their parents' hook vertices,
// the joints lie inside the parts they join, the leg length is the shin's foot tip, the robot
// stands on a flat floor with its feet on it and nothing below, and the paint reaches the paint
// materials. Unknown types and missing folders load nothing and break nothing.
#include "arena_fixture.h"

#include "sys_path.h"

#include <unistd.h>

#include <algorithm>
#include <cmath>

namespace {

using RobotLoading = ArenaTest;

// World position of a point given in a frame's own coordinates.
Vec3 WorldPoint(const C3DObject& frame, Vec3 local) { return Vec3TransformCoord(local, frame.GetWorldMatrix()); }

// Lowest world y of every vertex of the eleven body parts.
float LowestPartY(CRobot& r) {
    float lowest = 1e9f;
    for (int f = 0; f < kRobotPartCount; ++f)
        for (int v = 0; v < r.m_meshes[f].GetVertexCount(); ++v)
            lowest = std::min(lowest, WorldPoint(r.m_frames[f], r.m_meshes[f].GetVertexPosition(v)).y);
    return lowest;
}

bool InsideBox(const CMesh& mesh, Vec3 p, float margin) {
    const Vec3 &lo = mesh.GetBoxMin(), &hi = mesh.GetBoxMax();
    return p.x >= lo.x - margin && p.y >= lo.y - margin && p.z >= lo.z - margin && p.x <= hi.x + margin &&
           p.y <= hi.y + margin && p.z <= hi.z + margin;
}

struct Hook {
    int frame, parentMesh, vertex, mirrored;
    const char* what;
};
const Hook kHooks[] = {
    {0, 1, 0, 0, "head on the neck"},        {2, 1, 3, 0, "waist under the body"},
    {3, 1, 6, 0, "left shoulder"},           {5, 1, 6, 1, "right shoulder"},
    {4, 3, 0, 0, "left elbow"},              {6, 5, 0, 0, "right elbow"},
    {7, 2, 0, 0, "left hip"},                {9, 2, 0, 1, "right hip"},
    {8, 7, 0, 0, "left knee"},               {10, 9, 0, 0, "right knee"},
    {kLeftHandFrame, 4, 0, 0, "left hand"},  {kRightHandFrame, 6, 0, 0, "right hand"},
    {kAuxFrame0, 1, 9, 0, "left back mount"}, {kAuxFrame1, 1, 9, 1, "right back mount"},
};

TEST_F(RobotLoading, EveryTypeHangsOnItsHooksStandsOnTheFloorAndTakesItsPaint) {
    for (int type : kFrameTypes)
        for (int variant = 0; variant < 2; ++variant) {
            SCOPED_TRACE("type " + std::to_string(type) + " variant " + std::to_string(variant));
            CRobot r;
            CRobotCatalog c;
            c.BuildRobot(&r, BuildCode(type, 3, 2, variant));
            for (int f = 0; f < kRobotPartCount; ++f) ASSERT_GT(r.m_meshes[f].GetVertexCount(), 0) << "part " << f;

            // Frames sit on their parents' hooks, and each hook lies within its parent part.
            for (const Hook& h : kHooks) {
                Vec3 hook = r.m_meshes[h.parentMesh].GetVertexPosition(h.vertex);
                EXPECT_TRUE(InsideBox(r.m_meshes[h.parentMesh], hook, 0.02f)) << h.what;
                if (h.mirrored) hook.x = -hook.x;
                Vec3 at = r.m_frames[h.frame].GetLocalPosition();
                EXPECT_NEAR(at.x, hook.x, 1e-5f) << h.what;
                EXPECT_NEAR(at.y, hook.y, 1e-5f) << h.what;
                EXPECT_NEAR(at.z, hook.z, 1e-5f) << h.what;
            }
            // The left limbs are on +X, the right on -X, and limbs hang downwards.
            const Vec3 shoulderL = r.m_frames[3].GetWorldPosition(), shoulderR = r.m_frames[5].GetWorldPosition();
            EXPECT_GT(shoulderL.x, shoulderR.x);
            EXPECT_LT(r.m_frames[4].GetWorldPosition().y, shoulderL.y);
            EXPECT_LT(r.m_frames[8].GetWorldPosition().y, r.m_frames[7].GetWorldPosition().y);
            EXPECT_GT(r.m_frames[0].GetWorldPosition().y, r.m_frames[2].GetWorldPosition().y);
            // The weapon's muzzle is its vertex 0, away from the hand along the weapon's -Y.
            EXPECT_LT(r.m_mountPoints[3].y, -0.3f);

            // Leg length: the left shin's foot tip, below the knee; the right shin matches.
            EXPECT_EQ(r.m_legLength, r.m_meshes[8].GetVertexPosition(0).y);
            EXPECT_LT(r.m_legLength, -0.2);
            EXPECT_FLOAT_EQ(r.m_meshes[10].GetVertexPosition(0).y, float(r.m_legLength));

            // On a flat floor at y = 0: the foot tips go onto it and nothing of the body is lower.
            C3DObject& root = r.m_frames[kRootFrame];
            root.SetLocalPosition(2.0f, 5.0f, -3.0f);
            float tip = 1e9f;
            for (int shin : {8, 10}) tip = std::min(tip, WorldPoint(r.m_frames[shin], Vec3(0, float(r.m_legLength), 0)).y);
            root.TranslateWorld(Vec3(0, -tip, 0));
            EXPECT_NEAR(LowestPartY(r), 0.0f, 0.003f);
            // Standing robots are between one and two and a half units tall.
            float top = WorldPoint(r.m_frames[0], r.m_meshes[0].GetBoxMax()).y;
            EXPECT_GT(top, 1.2f);
            EXPECT_LT(top, 2.5f);

            // Paint: every part carries the paint materials and shows them on its faces.
            const int slots = type == 9 ? 4 : 2;
            EXPECT_EQ(r.m_paintSlots[0], type == 9 ? 2 : 0);
            for (int f = 0; f < kRobotPartCount; ++f) {
                const CMesh& m = r.m_meshes[f];
                ASSERT_GE(m.GetSubsetCount(), slots) << "part " << f;
                const Color4 main = m.GetMaterial(r.m_paintSlots[0]).diffuse, sub = m.GetMaterial(r.m_paintSlots[1]).diffuse;
                EXPECT_FLOAT_EQ(main.r, 1.0f);
                EXPECT_FLOAT_EQ(main.b, 0.125f);
                EXPECT_FLOAT_EQ(sub.r, 0.125f);
                EXPECT_FLOAT_EQ(sub.b, 1.0f);
                int painted = 0;
                for (int face = 0; face < m.GetFaceCount(); ++face) {
                    uint32_t s = m.GetFaceSubsets()[face];
                    painted += s == uint32_t(r.m_paintSlots[0]) || s == uint32_t(r.m_paintSlots[1]);
                }
                EXPECT_GT(painted, 1) << "part " << f << " shows no paint";
            }
        }
}

TEST_F(RobotLoading, UnknownTypeOrMissingFolderLoadsNothingAndKeepsTheFolder) {
    const std::string before = SysGetCurrentDir();
    {
        CRobot r;
        CRobotCatalog c;
        c.BuildRobot(&r, BuildCode(99, 60, 70));  // as a corrupt build code off the network would
        EXPECT_EQ(SysGetCurrentDir(), before);
        for (int f = 0; f < kRobotPartCount; ++f) EXPECT_FALSE(r.m_meshes[f].HasMesh()) << f;
        EXPECT_EQ(r.m_legLength, 0.0);
        EXPECT_EQ(LowestPartY(r), 1e9f);  // nothing to draw
    }
    ASSERT_EQ(unlink((folder.Path() + "/x").c_str()), 0);
    CRobot r;
    CRobotCatalog c;
    c.BuildRobot(&r, BuildCode(36, 0, 2));
    EXPECT_EQ(SysGetCurrentDir(), before);
    EXPECT_FALSE(r.m_meshes[1].HasMesh());
    EXPECT_FALSE(r.m_shadowMesh.HasMesh());
}

TEST_F(RobotLoading, MeshVertexOutsideTheMeshIsTheOrigin) {
    CMesh body;
    {
        CFolderGuard x(".\\x");
        ASSERT_EQ(body.Load("h36-body.x"), 1);
    }
    const int n = body.GetVertexCount();
    struct Case {
        const CMesh* mesh;
        int index;
        bool origin;
    };
    CMesh empty;
    const Case cases[] = {{&body, 0, false}, {&body, n - 1, false}, {&body, n, true},
                          {&body, n + 100, true}, {&body, -1, true}, {&empty, 0, true}, {nullptr, 0, true}};
    for (const Case& c : cases) {
        Vec3 v = GetMeshVertex(c.mesh, c.index);
        if (c.origin) {
            EXPECT_EQ(v.x, 0.0f) << c.index;
            EXPECT_EQ(v.y, 0.0f) << c.index;
            EXPECT_EQ(v.z, 0.0f) << c.index;
        } else {
            Vec3 p = body.GetVertexPosition(c.index);
            EXPECT_EQ(v.x, p.x);
            EXPECT_EQ(v.y, p.y);
        }
    }
}

}  // namespace
