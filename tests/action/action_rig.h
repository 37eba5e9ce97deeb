// A robot on a hand-built stage for the action tests: inputs set as the pad step would set
// them, a leg rig so the feet have a height, a collision mesh of floors, walls and ceilings,
// and one robot step of the action and motion routines in their order. Header only: the
// test program takes only the test files of this folder.
#pragma once

#include "robot.h"

#include "mesh.h"
#include "node.h"

#include "math_ops.h"
#include "xfile_reader.h"

#include <gtest/gtest.h>

#include <vector>

// Four-state code into input k, as the pad step writes it (held for 2 and 3).
void SetInput(CRobot& r, int input, int code);
void ClearInputs(CRobot& r);
// Body on the root; shins on the root `hip` above it, with the foot tip `hip` below the knee,
// so the feet stand on the root's height.
void RigLegs(CRobot& r, float hip = 0.6f);
void PlaceAt(CRobot& r, float x, float y, float z);
Vec3 RootPosition(const CRobot& r);

// A collision mesh of quads, each given by four corners and the way it faces.
struct SQuad {
    Vec3 corner[4];
    Vec3 facing;
};
void BuildGround(CMesh* mesh, C3DObject* ground, const std::vector<SQuad>& quads);
SQuad Floor(float y, float x0, float z0, float x1, float z1);
SQuad Ceiling(float y, float x0, float z0, float x1, float z1);
SQuad WallX(float x, float facing, float z0, float z1, float y0, float y1);  // facing +1 or -1 on x
SQuad WallZ(float z, float facing, float x0, float x1, float y0, float y1);
// A floor at 0 from -30 to 30 with walls at x and z = +-10 facing inward.
void BuildArena(CMesh* mesh, C3DObject* ground);

// One robot step of the routines in the order the robot's update runs them, with the
// bookkeeping the step does first (turn rates cleared, energy regained).
void StepRobot(CRobot& r, C3DObject* ground);

// ---- Definitions ----

inline void SetInput(CRobot& r, int input, int code) {
    r.m_padState[input] = code;
    r.m_input[input] = code == 2 || code == 3;
}

inline void ClearInputs(CRobot& r) {
    for (int k = 0; k < kInputCount; ++k) SetInput(r, k, 0);
}

inline void RigLegs(CRobot& r, float hip) {
    C3DObject* root = &r.m_frames[kRootFrame];
    r.m_frames[1].m_parent = root;
    r.m_frames[1].SetLocalPosition(0, 1.0f, 0);
    const int shins[2] = {8, 10};
    for (int i = 0; i < 2; ++i) {
        r.m_frames[shins[i]].m_parent = root;
        r.m_frames[shins[i]].SetLocalPosition(i ? -0.2f : 0.2f, hip, 0);
    }
    r.m_legLength = -hip;  // the foot vertex lies below the knee
}

inline void PlaceAt(CRobot& r, float x, float y, float z) { r.m_frames[kRootFrame].SetLocalPosition(x, y, z); }

inline Vec3 RootPosition(const CRobot& r) { return r.m_frames[kRootFrame].GetLocalPosition(); }

inline void BuildGround(CMesh* mesh, C3DObject* ground, const std::vector<SQuad>& quads) {
    XMeshData d;
    for (const SQuad& q : quads) {
        // A triangle faces along (b - a) x (c - a); rays hit it from that side only.
        const Vec3 n = Vec3Cross(q.corner[1] - q.corner[0], q.corner[2] - q.corner[0]);
        const int flip = Vec3Dot(n, q.facing) < 0;
        const int order[6] = {0, 1, 2, 0, 2, 3};
        for (int k = 0; k < 6; ++k) {
            int i = order[flip ? 5 - k : k];
            d.indices.push_back(static_cast<uint32_t>(d.positions.size()));
            d.positions.push_back(q.corner[i]);
        }
        d.faceMaterials.push_back(0);
        d.faceMaterials.push_back(0);
    }
    d.materials.resize(1);
    ASSERT_EQ(mesh->TakeData(d, 0, 1), 1);
    ground->Create(mesh, 0, 0, 0, 1.0f);
}

inline SQuad Floor(float y, float x0, float z0, float x1, float z1) {
    return {{Vec3(x0, y, z0), Vec3(x0, y, z1), Vec3(x1, y, z1), Vec3(x1, y, z0)}, Vec3(0, 1, 0)};
}

inline SQuad Ceiling(float y, float x0, float z0, float x1, float z1) {
    return {{Vec3(x0, y, z0), Vec3(x0, y, z1), Vec3(x1, y, z1), Vec3(x1, y, z0)}, Vec3(0, -1, 0)};
}

inline SQuad WallX(float x, float facing, float z0, float z1, float y0, float y1) {
    return {{Vec3(x, y0, z0), Vec3(x, y1, z0), Vec3(x, y1, z1), Vec3(x, y0, z1)}, Vec3(facing, 0, 0)};
}

inline SQuad WallZ(float z, float facing, float x0, float x1, float y0, float y1) {
    return {{Vec3(x0, y0, z), Vec3(x0, y1, z), Vec3(x1, y1, z), Vec3(x1, y0, z)}, Vec3(0, 0, facing)};
}

inline void BuildArena(CMesh* mesh, C3DObject* ground) {
    BuildGround(mesh, ground,
                {Floor(0, -30, -30, 30, 30), WallX(10, -1, -30, 30, -1, 20), WallX(-10, 1, -30, 30, -1, 20),
                 WallZ(10, -1, -30, 30, -1, 20), WallZ(-10, 1, -30, 30, -1, 20)});
}

inline void StepRobot(CRobot& r, C3DObject* ground) {
    r.ClearTurnRate();
    r.m_ep += r.m_epPerStep;
    if (r.m_ep > r.m_maxEp) r.m_ep = r.m_maxEp;
    if (r.m_ep < 0) r.m_ep = 0;
    r.TrackTarget();
    r.DecayAuxParts();
    r.UpdateAction();
    r.IntegrateMotion(ground);  // a lone robot: no push between robots
    r.ApplyVelocity(ground);
    r.SpinAuxParts();
}
