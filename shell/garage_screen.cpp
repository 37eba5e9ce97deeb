// The garage's screen: the showroom, the stat sheet, the four columns placed below the rows
// chosen before them, and the stat bars; and the lobby's share of each frame.
#include "garage.h"

#include "garage_lobby.h"

#include "graphics.h"
#include "shapes.h"

namespace {

constexpr int kFirstColumnLeft = 5, kFirstColumnTop = 15;
constexpr int kColumnWidth = 70;
constexpr int kColumnDrop = 3;  // a column starts a little below the row it continues
constexpr uint32_t kBorderColor = 0xff000000;
constexpr uint32_t kStatBarColor = 0xffff0000;
constexpr int kLabelX = 10, kBarX = 60, kBarHeight = 4;
constexpr int kOfY = 420, kDfY = 433, kMoveY = 446;
constexpr int kChannelBarDx = 200, kChannelBarDy = 30, kChannelBarPitch = 24;
constexpr int kChannelBarUnit = 20, kChannelBarBase = 10, kChannelBarHeight = 7;
const uint32_t kChannelBarColors[kColorChannelCount] = {0xffff0000, 0xff00ff00, 0xff0000ff,
                                                         0xffff0000, 0xff00ff00, 0xff0000ff};

// The rectangles are flat colour: no texture left over from the sprites, no lighting from the
// showroom's robot.
void PrepareFlatShapes() {
    SetLighting(0);
    SetDeviceTexture(0, nullptr);
}

}  // namespace

GarageStatBars GetGarageStatBars(const CRobot& r) {
    GarageStatBars bars;
    bars.of = int(r.m_maxEp * 0.1 * r.m_epPerStep * 0.1);
    bars.df = int(r.m_maxHp * 0.1 * (r.m_maxAp * 0.1 * r.m_armour) * 0.01);
    bars.move = int(r.m_walkSpeed + r.m_dashSpeed + r.m_turnSpeed + r.m_jumpSpeed * 500);
    return bars;
}

void CGarage::FillRect(int x1, int y1, int x2, int y2, uint32_t color) { DrawRect2D(x1, y1, x2, y2, color); }

void CGarage::FillRectWithBorder(int x1, int y1, int x2, int y2, uint32_t color) {
    FillRect(x1 - 1, y1 - 1, x2 + 1, y2 + 1, kBorderColor);
    FillRect(x1, y1, x2, y2, color);
}

void CGarage::DrawScreen() {
    m_showroom.Update();
    m_showroom.DrawView();
    m_statSheet.Draw();
    CMenu* before = nullptr;
    for (int i = 0; i < kGarageMenuCount; ++i) {
        CMenu& menu = m_menus[i];
        menu.m_left = kFirstColumnLeft + i * kColumnWidth;
        menu.m_top = before ? before->m_top + (before->m_cursor - 1) * before->m_lineHeight + kColumnDrop
                            : kFirstColumnTop;
        menu.Draw();
        before = &menu;
    }
    DrawStatBars();
}

void CGarage::DrawStatBars() {
    // Nothing bounds a bar: a strong robot draws a long one.
    const GarageStatBars bars = GetGarageStatBars(m_showroom.m_robot);
    const struct {
        const char* label;
        int y, length;
    } rows[] = {{"OF", kOfY, bars.of}, {"DF", kDfY, bars.df}, {"MOVE", kMoveY, bars.move}};
    for (const auto& row : rows) m_labelFont.DrawText(kLabelX, row.y, row.label);
    PrepareFlatShapes();
    for (const auto& row : rows) FillRectWithBorder(kBarX, row.y, kBarX + row.length, row.y + kBarHeight, kStatBarColor);
}

void CGarage::DrawChannelBars(const int* values) {
    const CMenu& column = m_menus[kGarageMenuCount - 1];
    PrepareFlatShapes();
    const int x0 = column.m_left + kChannelBarDx, y0 = column.m_top + kChannelBarDy;
    for (int i = 0; i < kColorChannelCount; ++i) {
        const int y = y0 + kChannelBarPitch * i;
        FillRectWithBorder(x0, y, x0 + kChannelBarUnit * values[i] + kChannelBarBase, y + kChannelBarHeight,
                           kChannelBarColors[i]);
    }
}

void CGarage::PollLobby() {
    if (m_lobby) m_lobby->UpdateNet();
}

void CGarage::DrawLobbyStatus() {
    if (m_lobby) m_lobby->DrawStatus();
}
