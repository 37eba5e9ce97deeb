// Loading pictures: PNG and JPEG stills, one with white as its colour key.
#include "loading_screen.h"

#include "frame_loop.h"

#include "graphics.h"

#include "sys_rand.h"

namespace {

struct LoadingPicture {
    const char* file;
    uint32_t colorKey;
};
const LoadingPicture kPictures[kLoadingPictures] = {
    {"bmp\\load00.png", 0xffffffff}, {"bmp\\load01.png", 0}, {"bmp\\load02.jpg", 0}, {"bmp\\load03.jpg", 0},
    {"bmp\\load04.jpg", 0},          {"bmp\\load05.jpg", 0}, {"bmp\\load06.png", 0}, {"bmp\\load07.png", 0},
};

// A 256 x 256 picture drawn over the whole 640 x 480 screen.
constexpr float kScreenScaleX = 2.5f, kScreenScaleY = 1.875f;

}  // namespace

CLoadingScreen::CLoadingScreen() {
    const LoadingPicture& p = kPictures[GameRand() % kLoadingPictures];
    m_texture.Load(p.file, p.colorKey, 1);
    m_sprite.SetTexture(&m_texture);
    m_sprite.SetScale(kScreenScaleX, kScreenScaleY);
    m_sprite.SetPosition(0, 0);
    m_sprite.SetRotation(0);
}

void CLoadingScreen::Draw() {
    if (BeginFrame(0xf0ffffff)) {
        BeginSprites();
        m_sprite.Draw();
        EndSprites();
        EndFrame();
    }
    ++m_frameCount;
    if (m_frameCount > 1) m_done = 1;
}

void ShowLoadingScreen() {
    CLoadingScreen screen;
    RunFrameLoop([&] { return screen.IsDone() != 0; },
                 [&] {
                     screen.Draw();
                     return 1;
                 });
}
