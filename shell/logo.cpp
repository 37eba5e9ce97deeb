// The logo scene, run once when the game starts.
#include "logo.h"

#include "frame_loop.h"
#include "scenes.h"

#include "graphics.h"

namespace {

constexpr const char* kLogoText = "ＶＡＶ";
constexpr int kLogoX = 288, kLogoY = 232;
constexpr uint32_t kWhite = 0xffffffff;

}  // namespace

void CLogo::Init() {
    m_frameCount = 0;
    m_confirmPressed = 0;
    m_finished = 0;
    CreateTextFont(16, kWhite, 400);
    m_text.CreateFromText(kLogoText, 16, kWhite, 0, "ＭＳ ゴシック");
}

void CLogo::Update() {
    ++m_frameCount;
    m_input.Update();
    if (m_input.m_confirm == 2) {
        m_confirmPressed = 1;
        m_finished = 1;
    }
    if (m_frameCount > kLogoFrames) m_finished = 1;
    if (!BeginFrame(0xff000000)) return;
    m_text.DrawAt(kLogoX, kLogoY);
    EndFrame();
}

void LogoScene() {
    if (g_quit) return;
    CLogo logo;
    logo.Init();
    RunFrameLoop([&] { return logo.IsDone(); },
                 [&] {
                     logo.Update();
                     return 1;
                 });
}
