// Contact sheets for reviewing poses by eye: four by four small views of a posed robot per
// 640 x 480 frame, each labelled, read back and saved as PNG under SCREENSHOT_DIR.
#pragma once

#include "camera.h"
#include "graphics.h"
#include "mesh.h"
#include "node.h"

#include "sys_graphics.h"
#include "sys_image.h"

#include <algorithm>
#include <cstdio>

#include <functional>
#include <string>
#include <vector>

// A robot-shaped set of boxes hung like a robot's parts, for poses without the robot meshes.
struct BoxRobot {
    BoxRobot();
    BoxRobot(const BoxRobot&) = delete;
    BoxRobot& operator=(const BoxRobot&) = delete;
    C3DObject joints[11];  // the body parts, in the robot's frame order
    void Draw();

private:
    CMesh* Box(float w, float h, float d, float r, float g, float b);
    C3DObject m_root;
    C3DObject m_shapes[12];
    CMesh m_meshes[12];
    int m_meshCount = 0;
};

class CPoseSheet {
public:
    static constexpr int kColumns = 4;
    static constexpr int kRows = 4;
    static constexpr int kCells = kColumns * kRows;

    // Cells are drawn one by one; `draw` poses and draws the robot for cell i.
    // Saves <name>_<page>.png for every page of kCells cells; the number of pages written.
    int Write(const std::string& name, const std::vector<std::string>& labels, const std::function<void(int)>& draw);
};

inline BoxRobot::BoxRobot() {
    struct Part {
        int parent;        // -1: the root
        Vec3 joint;        // place on the parent
        Vec3 size;         // box
        float drop;        // box centre below (+ above) the joint
        float r, g, b;     // left parts red, right parts blue, the middle grey
    } parts[11] = {
        {1, Vec3(0, 0.75f, 0), Vec3(0.35f, 0.35f, 0.35f), 0.2f, 0.8f, 0.8f, 0.8f},
        {-1, Vec3(0, 0, 0), Vec3(0.8f, 0.8f, 0.45f), 0.35f, 0.6f, 0.6f, 0.6f},
        {1, Vec3(0, -0.05f, 0), Vec3(0.6f, 0.3f, 0.4f), -0.15f, 0.5f, 0.5f, 0.5f},
        {1, Vec3(0.55f, 0.6f, 0), Vec3(0.2f, 0.55f, 0.2f), -0.275f, 0.9f, 0.3f, 0.3f},
        {3, Vec3(0, -0.55f, 0), Vec3(0.18f, 0.55f, 0.18f), -0.275f, 1.0f, 0.6f, 0.4f},
        {1, Vec3(-0.55f, 0.6f, 0), Vec3(0.2f, 0.55f, 0.2f), -0.275f, 0.3f, 0.3f, 0.9f},
        {5, Vec3(0, -0.55f, 0), Vec3(0.18f, 0.55f, 0.18f), -0.275f, 0.4f, 0.6f, 1.0f},
        {2, Vec3(0.2f, -0.3f, 0), Vec3(0.24f, 0.7f, 0.24f), -0.35f, 0.9f, 0.3f, 0.3f},
        {7, Vec3(0, -0.7f, 0), Vec3(0.22f, 0.7f, 0.22f), -0.35f, 1.0f, 0.6f, 0.4f},
        {2, Vec3(-0.2f, -0.3f, 0), Vec3(0.24f, 0.7f, 0.24f), -0.35f, 0.3f, 0.3f, 0.9f},
        {9, Vec3(0, -0.7f, 0), Vec3(0.22f, 0.7f, 0.22f), -0.35f, 0.4f, 0.6f, 1.0f},
    };
    m_root.SetLocalPosition(0, 1.5f, 0);
    for (int i = 0; i < 11; ++i) {
        const Part& p = parts[i];
        joints[i].m_parent = p.parent < 0 ? &m_root : &joints[p.parent];
        joints[i].SetLocalPosition(p.joint.x, p.joint.y, p.joint.z);
        m_shapes[i].Create(Box(p.size.x, p.size.y, p.size.z, p.r, p.g, p.b), 0, p.drop, 0, 1.0f);
        m_shapes[i].m_parent = &joints[i];
    }
    // A visor on the head shows which way the robot faces (-Z).
    m_shapes[11].Create(Box(0.25f, 0.08f, 0.1f, 1.0f, 1.0f, 0.2f), 0, 0.25f, -0.2f, 1.0f);
    m_shapes[11].m_parent = &joints[0];
}

inline CMesh* BoxRobot::Box(float w, float h, float d, float r, float g, float b) {
    CMesh* mesh = &m_meshes[m_meshCount++];
    mesh->CreateBox(w, h, d, r, g, b, 1.0f);
    return mesh;
}

inline void BoxRobot::Draw() {
    for (C3DObject& shape : m_shapes) shape.Draw();
}

inline int CPoseSheet::Write(const std::string& name, const std::vector<std::string>& labels, const std::function<void(int)>& draw) {
    const int cellW = 640 / kColumns, cellH = 480 / kRows;
    int pages = 0;
    for (size_t first = 0; first < labels.size(); first += kCells) {
        // A three-quarter view from the robot's front right (the robot faces -Z).
        SetViewLookAt(Vec3(-2.0f, 1.9f, -3.6f), Vec3(0, 1.1f, 0), Vec3(0, 1, 0));
        if (!BeginFrame(0xFF303840)) return pages;
        size_t last = std::min(labels.size(), first + kCells);
        for (size_t i = first; i < last; ++i) {
            int cell = static_cast<int>(i - first);
            // The cell's view squeezed into its rectangle of the frame through the projection.
            Mat4 squeeze = Mat4::Identity();
            squeeze.m[0][0] = 1.0f / kColumns;
            squeeze.m[1][1] = 1.0f / kRows;
            squeeze.m[3][0] = -1.0f + (2.0f * (cell % kColumns) + 1.0f) / kColumns;
            squeeze.m[3][1] = 1.0f - (2.0f * (cell / kColumns) + 1.0f) / kRows;
            GfxSetTransform(kTsProjection, g_matProj * squeeze);
            draw(static_cast<int>(i));
        }
        GfxSetTransform(kTsProjection, g_matProj);
        for (size_t i = first; i < last; ++i) {
            int cell = static_cast<int>(i - first);
            DrawTextAt((cell % kColumns) * cellW + 2, (cell / kColumns) * cellH + 1, labels[i].c_str());
        }
        EndFrame();
        std::vector<uint32_t> pixels(640 * 480);
        if (!GfxReadPixels(0, 0, 640, 480, pixels.data())) return pages;
        char suffix[16];
        std::snprintf(suffix, sizeof(suffix), "_%02d.png", pages);
        if (!SysSavePng(std::string(SCREENSHOT_DIR) + "/" + name + suffix, pixels.data(), 640, 480)) return pages;
        ++pages;
    }
    return pages;
}
