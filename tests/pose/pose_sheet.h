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

class CPoseSheet {
public:
    static constexpr int kColumns = 4;
    static constexpr int kRows = 4;
    static constexpr int kCells = kColumns * kRows;

    // Every cell's view: a three-quarter view from the robot's front right (it faces -Z).
    Vec3 eye = Vec3(-2.0f, 1.9f, -3.6f);
    Vec3 target = Vec3(0, 1.1f, 0);

    // Cells are drawn one by one; `draw` poses and draws the robot for cell i.
    // Saves <name>_<page>.png for every page of kCells cells; the number of pages written.
    int Write(const std::string& name, const std::vector<std::string>& labels, const std::function<void(int)>& draw);
};

inline int CPoseSheet::Write(const std::string& name, const std::vector<std::string>& labels, const std::function<void(int)>& draw) {
    const int cellW = 640 / kColumns, cellH = 480 / kRows;
    int pages = 0;
    for (size_t first = 0; first < labels.size(); first += kCells) {
        SetViewLookAt(eye, target, Vec3(0, 1, 0));
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
