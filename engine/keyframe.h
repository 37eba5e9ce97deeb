// CKeyframeMesh: a rigid-parts animation. Several meshes, each placed per frame by a key
// (position and rotation), blended between consecutive frames and drawn under one base node.
// The keys come from a small text file: part count, mesh names, frame count, then
// "x,y,z qx,qy,qz,qw" per part per frame.
#pragma once

#include "math_ops.h"
#include "mesh.h"
#include "node.h"

#include <memory>
#include <vector>

// Bounds on what a key file may claim; past them the file is refused before anything is allocated.
constexpr int kMaxKeyframeParts = 256;
constexpr int kMaxKeyframeFrames = 100000;

struct KeyframeKey {
    Vec3 position;
    Quat rotation = Quat(0, 0, 0, 1);  // keys a short file leaves unread stay at rest
};

class CKeyframeMesh {
public:
    CKeyframeMesh() = default;
    ~CKeyframeMesh() { Free(); }
    CKeyframeMesh(const CKeyframeMesh&) = delete;
    CKeyframeMesh& operator=(const CKeyframeMesh&) = delete;

    int Load(const char* path);  // 1 when the file was read (as far as it goes)
    void Free();
    void GetKeyMatrix(Mat4* out, int a, int b, float t) const;
    int Draw(int loop);  // 1 when a non-looping animation has just passed an end
    // The two frames the next draw blends (c and n) and the factor t toward n.
    void ChooseFrames(int loop, int* c, int* n, float* t);

    int GetPartCount() const { return m_partCount; }
    int GetFrameCount() const { return m_frameCount; }
    const KeyframeKey& GetKey(int index) const { return m_keys[index]; }
    CMesh& GetMesh(int part) { return m_meshes[part]; }

    C3DObject m_base;      // places the whole model
    float m_frame = 0;     // 0 <= frame < frame count
    float m_speed = 0.05f; // frames per draw; negative plays backwards

private:
    std::unique_ptr<CMesh[]> m_meshes;
    std::vector<KeyframeKey> m_keys;  // frame-major: frame j, part i at j x parts + i
    int m_partCount = 0;
    int m_frameCount = 0;
};
