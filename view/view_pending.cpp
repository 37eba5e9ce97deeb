// Stand-ins for the battle view, its banners and the battle's drawing while they are being
// built: the battle runs and announces, and nothing is shown. Each block goes when its real
// definitions land.
#include "battle.h"
#include "battle_view.h"
#include "info_panel.h"

// ---- banners ----
void CInfoPanel::SetImage(int duration, uint32_t textColor, const std::string&) {
    m_duration = duration;
    m_textColor = textColor;
}
void CInfoPanel::SetText(const std::string& text) {
    m_text = text;
    m_countdown = m_duration;
    m_age = 0;
}
void CInfoPanel::Draw() {}

// ---- camera ----
void CBattleView::Update(CRobot*) {}
void CBattleView::CycleViewType() {}
void CBattleView::SetViewMode(int mode) { m_viewMode = mode == -1 ? m_savedViewType : mode; }
void CBattleView::SetStartView() { m_viewMode = 100; }
void CBattleView::SetFinishView() { m_viewMode = 220; }
void CBattleView::SetWinView() { m_viewMode = 201; }
void CBattleView::SetLoseView() { m_viewMode = 200; }

// ---- drawing ----
void CBattle::Draw(int) {}
