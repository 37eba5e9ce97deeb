// Ground contact: where the robot's lower foot is, keeping it on the stage's floor and
// measuring the clearance when aloft, laying the shadow on the floor triangle, and standing
// a robot on the ground at the start of a battle.
#include "robot.h"

#include "math_ops.h"
#include "node.h"
#include "shapes.h"

namespace {

constexpr float kQuarterTurn = 1.570795f;
constexpr double kNoGround = 1000.0;  // clearance reported with no floor below

}  // namespace

float CRobot::LowestFootHeight() {
    const Vec3 root = m_frames[11].GetWorldPosition();
    float tipY[2];
    const int shins[2] = {8, 10};
    for (int i = 0; i < 2; ++i) {
        C3DObject& shin = m_frames[shins[i]];
        // The shin is turned to point its Z axis down the leg, read, and restored exactly.
        Mat4 saved;
        shin.GetMatrix(&saved);
        shin.RotateX(-kQuarterTurn);
        const Vec3 tip = (shin.GetWorldPosition() - root) + shin.GetWorldAxisZ() * static_cast<float>(m_legLength);
        shin.m_matrix = saved;
        tipY[i] = tip.y;
    }
    return tipY[1] < tipY[0] ? tipY[1] : tipY[0];
}

bool CRobot::GroundContact(C3DObject* ground) {
    C3DObject& root = m_frames[11];
    const Vec3 p = root.GetLocalPosition();
    Vec3 hit;
    Vec3 tri[3];
    if (!ground || !ground->PickMesh(p + Vec3(0, 1.0f, 0), Vec3(0, -1, 0), &hit, tri)) {
        m_groundHeight = kNoGround;
        return false;
    }
    const double r = p.y - hit.y > 0 ? static_cast<double>(p.y - hit.y) : 0.0;
    if (p.y < hit.y) {  // sunk into the ground: lifted just above it
        root.SetLocalPosition(p.x, hit.y + 0.05f, p.z);
        m_groundHeight = 0.05;
        return false;
    }
    m_shadow.SetLocalPosition(hit.x, hit.y + 0.01f, hit.z);
    Vec3 n = ComputeTriangleNormal(tri[0], tri[1], tri[2]);
    if (n.x == 0 && n.z == 0) n.z = 0.01f;  // a level floor still gives the shadow a heading
    m_shadow.SetOrientation(n, Vec3(0, 1, 0));
    m_shadow.RotateX(kQuarterTurn);

    const float g = hit.y - LowestFootHeight();  // root height at which the lower foot touches
    if (g + 0.001f >= p.y) {
        root.SetLocalPosition(p.x, g, p.z);
        m_groundHeight = 0;
    } else {
        const double above = static_cast<double>(p.y - g);
        m_groundHeight = above < r ? above : r;
    }
    return true;
}

bool CRobot::PlaceOnGround(C3DObject* ground) {
    C3DObject& root = m_frames[11];
    const Vec3 p = root.GetLocalPosition();
    Vec3 hit;
    if (!ground || !ground->PickMesh(p + Vec3(0, 100.0f, 0), Vec3(0, -1, 0), &hit)) return false;
    const float foot = LowestFootHeight();
    root.SetLocalPosition(hit.x, hit.y - foot, hit.z);
    m_groundHeight = 0;
    return true;
}
