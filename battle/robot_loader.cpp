// Loading a set-up robot: its nineteen meshes and the shadow from ".\x", the frame hierarchy
// hung on the mount vertices of the parent meshes, the mount points and the paint.
#include "robot.h"
#include "robot_catalog.h"

#include "sys_path.h"

namespace {

// Body-part frames (m_frames 0-10) and the meshes' hook vertices.
enum {
    kHead = 0, kBody, kWaist, kUpperArmL, kForeArmL, kUpperArmR, kForeArmR, kThighL, kShinL, kThighR, kShinR,
};
constexpr int kLeftItemMesh = 11;
constexpr int kRightWeaponMesh = 12;
constexpr int kAuxMesh0 = 13;        // drawn on frame 14
constexpr int kAuxMuzzleMesh0 = 15;  // muzzle of the frame 14 part
constexpr int kAuxMesh1 = 16;        // drawn on frame 15
constexpr int kAuxMuzzleMesh1 = 18;
constexpr int kNeckVertex = 0, kWaistVertex = 3, kShoulderVertex = 6, kBackVertex = 9;  // of the body
constexpr int kJointVertex = 0;  // elbow, hand, hip, knee, foot tip and muzzle

Vec3 MirroredX(Vec3 v) { return Vec3(-v.x, v.y, v.z); }

}  // namespace

void CRobotCatalog::LoadRobot(CRobot* robot) {
    CMesh* mesh = robot->m_meshes;
    C3DObject* frame = robot->m_frames;
    {
        // Back to the saved absolute folder afterwards, also when ".\x" is missing.
        CFolderGuard folder(".\\x");
        for (int i = 0; i < kRobotMeshCount; ++i) mesh[i].Load(m_partFiles[i].c_str());
    }
    for (int i = 0; i < kRobotMeshCount; ++i) mesh[i].ComputeNormals();

    static const int kParent[kRobotFrameCount] = {
        kBody, kRootFrame, kBody, kBody, kUpperArmL, kBody, kUpperArmR, kWaist, kThighL, kWaist, kThighR,
        -1,  // the root keeps its own parent (none)
        kForeArmL, kForeArmR, kBody, kBody,
    };
    for (int i = 0; i < kRobotFrameCount; ++i)
        if (kParent[i] >= 0) frame[i].m_parent = &frame[kParent[i]];

    auto place = [&](int f, Vec3 at) { frame[f].Create(&mesh[f], at.x, at.y, at.z, 1.0f); };
    const Vec3 shoulder = GetMeshVertex(&mesh[kBody], kShoulderVertex);
    const Vec3 hip = GetMeshVertex(&mesh[kWaist], kJointVertex);
    place(kBody, Vec3(0, 0, 0));
    place(kHead, GetMeshVertex(&mesh[kBody], kNeckVertex));
    place(kWaist, GetMeshVertex(&mesh[kBody], kWaistVertex));
    place(kUpperArmL, shoulder);
    place(kUpperArmR, MirroredX(shoulder));
    place(kForeArmL, GetMeshVertex(&mesh[kUpperArmL], kJointVertex));
    place(kForeArmR, GetMeshVertex(&mesh[kUpperArmR], kJointVertex));
    place(kThighL, hip);
    place(kThighR, MirroredX(hip));
    place(kShinL, GetMeshVertex(&mesh[kThighL], kJointVertex));
    place(kShinR, GetMeshVertex(&mesh[kThighR], kJointVertex));

    robot->m_legLength = GetMeshVertex(&mesh[kShinL], kJointVertex).y;

    Vec3* mount = robot->m_mountPoints;
    mount[0] = GetMeshVertex(&mesh[kForeArmL], kJointVertex);
    mount[1] = GetMeshVertex(&mesh[kForeArmR], kJointVertex);
    mount[2] = GetMeshVertex(&mesh[kLeftItemMesh], kJointVertex);
    mount[3] = GetMeshVertex(&mesh[kRightWeaponMesh], kJointVertex);
    mount[4] = GetMeshVertex(&mesh[kBody], kBackVertex);
    mount[5] = MirroredX(mount[4]);
    mount[6] = GetMeshVertex(&mesh[kAuxMuzzleMesh0], kJointVertex);
    mount[7] = GetMeshVertex(&mesh[kAuxMuzzleMesh1], kJointVertex);

    frame[kLeftHandFrame].Create(&mesh[kLeftItemMesh], mount[0].x, mount[0].y, mount[0].z, 1.0f);
    frame[kRightHandFrame].Create(&mesh[kRightWeaponMesh], mount[1].x, mount[1].y, mount[1].z, 1.0f);
    frame[kAuxFrame0].Create(&mesh[kAuxMesh0], mount[4].x, mount[4].y, mount[4].z, 1.0f);
    frame[kAuxFrame1].Create(&mesh[kAuxMesh1], mount[5].x, mount[5].y, mount[5].z, 1.0f);

    {
        CFolderGuard folder(".\\x");
        robot->m_shadowMesh.Load("Shadow.x");
    }
    robot->m_shadow.Create(&robot->m_shadowMesh, 0, 0, 0, 1.0f);
    frame[kRootFrame].Translate(Vec3(0, 1.0f, 0));

    ApplyColors(robot);
}
