// Keyframe animation: reading the key file and blending two frames per part.
#include "keyframe.h"

#include "debug_log.h"
#include "sys_path.h"

#include <cmath>
#include <cstdio>

// Mesh names are single tokens; a longer one is cut by the reader and fails to load.
static constexpr int kKeyNameSize = 260;

int CKeyframeMesh::Load(const char* path) {
    Free();
    FILE* f = SysOpenFile(path, "r");
    if (!f) {
        LogPrintf("can't open %s.\n", path);
        return 0;
    }
    int parts = 0;
    if (std::fscanf(f, "%d", &parts) != 1 || parts < 0 || parts > kMaxKeyframeParts) parts = 0;
    m_partCount = parts;
    m_meshes.reset(parts ? new CMesh[parts] : nullptr);
    char name[kKeyNameSize];
    for (int i = 0; i < parts; ++i) {
        if (std::fscanf(f, "%259s", name) != 1) break;
        m_meshes[i].Load(name, 0, 1);
    }
    int frames = 0;
    if (parts == 0 || std::fscanf(f, "%d", &frames) != 1 || frames < 0 || frames > kMaxKeyframeFrames) frames = 0;
    m_frameCount = frames;
    m_keys.assign(static_cast<size_t>(frames) * parts, KeyframeKey());
    for (KeyframeKey& k : m_keys) {
        KeyframeKey r;
        if (std::fscanf(f, "%f,%f,%f %f,%f,%f,%f", &r.position.x, &r.position.y, &r.position.z, &r.rotation.x,
                        &r.rotation.y, &r.rotation.z, &r.rotation.w) != 7)
            break;
        k = r;
    }
    std::fclose(f);
    m_frame = 0;
    return 1;
}

void CKeyframeMesh::Free() {
    m_meshes.reset();
    m_keys.clear();
    m_partCount = 0;
    m_frameCount = 0;
    m_frame = 0;
}

void CKeyframeMesh::GetKeyMatrix(Mat4* out, int a, int b, float t) const {
    const KeyframeKey& ka = m_keys[a];
    const KeyframeKey& kb = m_keys[b];
    *out = MatrixRotationQuaternion(QuatSlerp(ka.rotation, kb.rotation, t));
    MatrixSetRow(out, 3, ka.position * (1 - t) + kb.position * t);
}

// The frame brought into [0, count): a speed of a whole animation or more, or a frame the
// caller set outside, wraps instead of reaching past the keys.
static float WrapFrame(float f, int count) {
    if (!std::isfinite(f)) return 0;
    float n = static_cast<float>(count);
    if (f >= n || f < 0) f -= std::floor(f / n) * n;
    if (f >= n || f < 0) f = 0;  // rounding at the very edge
    return f;
}

void CKeyframeMesh::ChooseFrames(int loop, int* c, int* n, float* t) {
    *c = *n = 0;
    *t = 0;
    if (m_frameCount <= 0) return;
    m_frame = WrapFrame(m_frame, m_frameCount);
    *c = static_cast<int>(m_frame);
    *n = *c;  // a speed of 0 holds the current frame
    *t = 0;
    if (m_speed > 0) {
        *n = *c + 1;
        if (*n == m_frameCount) *n = loop ? 0 : *c;
        *t = m_frame - *c;
    } else if (m_speed < 0) {
        *n = *c - 1;
        if (*c == 0) *n = loop ? m_frameCount - 1 : 0;
        *t = 1 - (m_frame - *c);
    }
}

int CKeyframeMesh::Draw(int loop) {
    if (m_frameCount <= 0 || m_partCount <= 0) return 0;
    int c, n;
    float t;
    ChooseFrames(loop, &c, &n, &t);
    for (int i = 0; i < m_partCount; ++i) {
        Mat4 m;
        GetKeyMatrix(&m, c * m_partCount + i, n * m_partCount + i, t);
        C3DObject part;
        part.Create(&m_meshes[i], 0, 0, 0, 1.0f);
        part.SetMatrix(m * m_base.m_matrix);
        part.Draw();
    }
    float f = m_frame + m_speed;
    int passed = f >= m_frameCount || f < 0;
    m_frame = WrapFrame(f, m_frameCount);
    return passed && !loop;
}
