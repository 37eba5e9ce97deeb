// The title scene: the intro, then the menu that picks the next scene.
#include "title.h"

#include "frame_loop.h"
#include "full_screen_picture.h"
#include "menu.h"
#include "scenes.h"

#include "graphics.h"

#include <string>

namespace {

const char* const kTitleItems[] = {"VS CPU SINGLE", "VS CPU TIAME", "NET", "GARAGE", "OPTION", "EXIT"};

}  // namespace

uint32_t TitleOverlayColor(int frameCount) {
    int a = (int)(30 - frameCount * 0.5);
    if (a < 0) a = 0;
    if (a > 15) a = 15;
    return (uint32_t)(a * 0x11) << 24 | 0xffffff;
}

void CTitle::Init() {
    m_frameCount = 0;
    m_done = 0;
    m_confirmSound.Load("wave\\se_menu01.wav");
    m_backgroundTexture.Load("bmp\\titol01.png", 0xffffffff, 1);
    PlaceFullScreen(&m_background, &m_backgroundTexture);
    m_overlayTexture.Load("bmp\\titol02.png", 0, 1);
    PlaceFullScreen(&m_overlay, &m_overlayTexture);
    SetListenerPosition(0, 0, 0);
    SetListenerDistanceFactor(1.0f);
    SetListenerOrientation(0, 0, 1, 0, 1, 0);
}

void CTitle::Update() {
    ++m_frameCount;
    m_input.Update();
    if (m_input.m_confirm == 2) {
        m_confirmSound.Play(0);
        m_done = 1;
    }
    if (!BeginFrame(0xf0ffffff)) return;
    BeginSprites();
    m_background.Draw();
    m_overlay.SetColor(TitleOverlayColor(m_frameCount));
    m_overlay.Draw();
    EndSprites();
    EndFrame();
}

int CTitle::IsDone() const { return m_done && !m_confirmSound.IsPlaying(); }

int TitleScene() {
    if (!g_quit) {
        CTitle title;
        title.Init();
        RunFrameLoop([&] { return title.IsDone() != 0; },
                     [&] {
                         title.Update();
                         return 1;
                     });
    }
    return TitleMenu();
}

int TitleMenu() {
    CMenu menu;
    menu.SetTitle(std::string(kGameTitle) + kGameVersion);
    for (const char* item : kTitleItems) menu.AddItem(item);
    CTexture backgroundTexture;
    backgroundTexture.Load("bmp\\titol03.png", 0, 1);
    CSprite background;
    PlaceFullScreen(&background, &backgroundTexture);
    CMenuInput input;

    int chosen = kSceneQuit;
    RunFrameLoop([] { return false; },
                 [&] {
                     input.Update();
                     if (input.m_up == 2) menu.CursorPrev();
                     if (input.m_down == 2) menu.CursorNext();
                     if (input.m_confirm == 2) {
                         chosen = menu.m_cursor;
                         return 0;
                     }
                     if (BeginFrame(0xff000000)) {
                         background.Draw();
                         menu.Draw();
                         EndFrame();
                     }
                     return 1;
                 });
    return chosen;
}
