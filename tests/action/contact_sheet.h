// Contact sheets of scenes that need a camera each (a robot on a stage, its shots in flight):
// every tile is a whole frame drawn by the caller, labelled, read back and halved, then laid
// into a grid of `columns` tiles a row; each page goes under SCREENSHOT_DIR as PNG.
#pragma once

#include "camera.h"
#include "graphics.h"

#include "sys_graphics.h"
#include "sys_image.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>
#include <utility>
#include <vector>

class CContactSheet {
public:
    static constexpr int kFrameW = 640, kFrameH = 480;
    static constexpr int kTileW = kFrameW / 2, kTileH = kFrameH / 2;

    CContactSheet(std::string name, int columns, int rowsPerPage)
        : m_name(std::move(name)), m_columns(columns), m_rows(rowsPerPage) {}

    // One tile: the frame is begun with `clear`, seen from `eye` toward `target`, drawn by
    // `draw`, labelled (Shift-JIS; lines split at '\n') and read back. 1 when it was drawn.
    int AddTile(const std::string& label, uint32_t clear, const Vec3& eye, const Vec3& target,
                const std::function<void()>& draw);
    // An empty place in the grid (a row that has fewer tiles than the others).
    void Skip() { m_tiles.emplace_back(); }
    // Saves <name>_<page>.png for every page; the number of pages written.
    int Save() const;
    int TileCount() const { return static_cast<int>(m_tiles.size()); }

private:
    // Big enough to read after halving; drawn twice, dark under light, so it reads on any sky.
    static void DrawLabel(const std::string& label);

    std::string m_name;
    int m_columns, m_rows;
    std::vector<std::vector<uint32_t>> m_tiles;  // kTileW x kTileH each; empty for a gap
};

inline int CContactSheet::AddTile(const std::string& label, uint32_t clear, const Vec3& eye, const Vec3& target,
                                  const std::function<void()>& draw) {
    SetViewLookAt(eye, target, Vec3(0, 1, 0));
    if (!BeginFrame(clear)) return 0;
    draw();
    DrawLabel(label);
    EndFrame();
    std::vector<uint32_t> frame(kFrameW * kFrameH);
    if (!GfxReadPixels(0, 0, kFrameW, kFrameH, frame.data())) return 0;
    // Each tile pixel is the mean of a 2 x 2 block, channel by channel.
    std::vector<uint32_t> tile(kTileW * kTileH);
    for (int y = 0; y < kTileH; ++y)
        for (int x = 0; x < kTileW; ++x) {
            const uint32_t p[4] = {frame[(2 * y) * kFrameW + 2 * x], frame[(2 * y) * kFrameW + 2 * x + 1],
                                   frame[(2 * y + 1) * kFrameW + 2 * x], frame[(2 * y + 1) * kFrameW + 2 * x + 1]};
            uint32_t out = 0xFF000000u;
            for (int shift = 0; shift < 24; shift += 8) {
                uint32_t sum = 0;
                for (uint32_t q : p) sum += (q >> shift) & 0xFF;
                out |= ((sum + 2) / 4) << shift;
            }
            tile[y * kTileW + x] = out;
        }
    m_tiles.push_back(std::move(tile));
    return 1;
}

inline void CContactSheet::DrawLabel(const std::string& label) {
    const int oldHeight = g_textHeight;
    const uint32_t oldColor = g_textColor;
    CreateTextFont(30, 0xFF101010, 700);
    for (int pass = 0; pass < 2; ++pass) {
        if (pass) CreateTextFont(30, 0xFFFFF060, 700);
        int y = 6;
        size_t from = 0;
        while (from <= label.size()) {
            size_t to = label.find('\n', from);
            if (to == std::string::npos) to = label.size();
            const std::string line = label.substr(from, to - from);
            const int d = pass ? 0 : 2;
            DrawTextAt(8 + d, y + d, line.c_str());
            y += 34;
            from = to + 1;
        }
    }
    CreateTextFont(oldHeight, oldColor, 400);
}

inline int CContactSheet::Save() const {
    const int perPage = m_columns * m_rows;
    const int width = m_columns * kTileW;
    int pages = 0;
    for (size_t first = 0; first < m_tiles.size(); first += perPage) {
        const size_t last = std::min(m_tiles.size(), first + perPage);
        const int rows = static_cast<int>((last - first + m_columns - 1) / m_columns);
        const int height = rows * kTileH;
        std::vector<uint32_t> page(static_cast<size_t>(width) * height, 0xFF202020u);
        for (size_t i = first; i < last; ++i) {
            const std::vector<uint32_t>& tile = m_tiles[i];
            if (tile.empty()) continue;
            const int cell = static_cast<int>(i - first);
            const int x0 = (cell % m_columns) * kTileW, y0 = (cell / m_columns) * kTileH;
            for (int y = 0; y < kTileH; ++y)
                for (int x = 0; x < kTileW; ++x) {
                    // A one-pixel dark seam keeps neighbouring tiles apart.
                    const bool seam = x == kTileW - 1 || y == kTileH - 1;
                    page[(y0 + y) * width + x0 + x] = seam ? 0xFF000000u : tile[y * kTileW + x];
                }
        }
        char suffix[16];
        std::snprintf(suffix, sizeof suffix, "_%02d.png", pages);
        if (!SysSavePng(std::string(SCREENSHOT_DIR) + "/" + m_name + suffix, page.data(), width, height)) return pages;
        ++pages;
    }
    return pages;
}
