// The battle view's life: its assets, the view type kept in the settings from one battle to
// the next, and the switches between the player's view types and the scripted shots.
#include "battle_view.h"

#include "graphics.h"
#include "settings.h"
#include "sys_rand.h"

void CHudSprite::Load(const char* file, uint32_t colorKey) {
    m_texture.Load(file, colorKey, 1);
    m_sprite.SetTexture(&m_texture);
    m_sprite.SetPosition(0, 0);
    m_sprite.SetRotation(0);
}

CBattleView::CBattleView() {
    m_compass.Load("bmp\\comp4.png", 0xFF000000);
    m_compass.m_sprite.SetScale(2.5f, 1.875f);
    m_compass.m_sprite.SetColor(0x80FFFFFF);
    m_sight.Load("bmp\\comp4_1.png", 0);
    m_sight.m_sprite.SetColor(0x80FFFFFF);
    m_labels.Load("bmp\\hit_02.png", 0xFF000000);
    m_meter.Load("bmp\\mter_02.png", 0);
    m_meter.m_sprite.SetColor(0xFFFFFFFF);
    m_aim.Load("bmp\\comp4_2.png", 0);
    m_arrow.Load("bmp\\comp4_3.png", 0);
    for (int i = 0; i < kLockMarkers; ++i) {
        CLockMarker& m = m_markers[i];
        m.m_texture.Load("bmp\\comp4_4.png", 0, 1);
        m.m_sprite.SetTexture(&m.m_texture);
        m.m_sprite.SetCenter(16, 16);  // brackets and the arrow turn about their middles
        m.m_index = i;
    }
    m_sight.m_sprite.SetCenter(32, 32);
    m_arrow.m_sprite.SetCenter(16, 16);
    m_lockSound.Load("wave\\shoot15.wav");
    m_targetSound.Load("wave\\se_cn_03.wav");
    if (!Is3DSoundEnabled()) {
        m_lockSound.SetLevel(0.9);
        m_targetSound.SetLevel(0.9);
    }
    m_radar.Load();
    m_font1.Load("bmp\\suuji2.png");
    m_font2.Load("bmp\\suuji3.png");
    for (CNameTag& t : m_tags) {
        t.m_meter = &m_meter.m_sprite;
        t.m_font = &m_font1;
    }
    CSettings settings;
    m_viewMode = m_savedViewType = settings.m_values[kValueViewType];
    m_graphicsLevel = settings.m_values[kValueGraphics];
}

CBattleView::~CBattleView() {
    CSettings settings;
    settings.m_values[kValueViewType] = m_savedViewType;
    settings.Save();
}

void CBattleView::SetViewMode(int mode) {
    m_shotAngle = m_shotCounter = m_shotStage = 0;
    m_viewMode = mode == -1 ? m_savedViewType : mode;
}

void CBattleView::SetStartView() { SetViewMode(kStartViewMode); }
void CBattleView::SetLoseView() { SetViewMode(kLoseViewMode); }
void CBattleView::SetWinView() { SetViewMode(kWinViewMode + GameRand() % 2); }
void CBattleView::SetFinishView(int clockSteps) {
    SetViewMode(clockSteps == 0 ? kTimeUpViewMode : kFinishViewMode);
}

void CBattleView::CycleViewType() {
    int mode = m_viewMode + 1;
    if (mode < 3) mode = 3;
    if (mode > 12) mode = 9;
    m_viewMode = m_savedViewType = mode;
}
