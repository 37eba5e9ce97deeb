// Loading pictures: PNG and JPEG stills, one with white as its colour key.
#include "loading_screen.h"

#include "frame_loop.h"
#include "full_screen_picture.h"

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

}  // namespace

CLoadingScreen::CLoadingScreen() {
    const LoadingPicture& p = kPictures[GameRand() % kLoadingPictures];
    m_texture.Load(p.file, p.colorKey, 1);
    PlaceFullScreen(&m_sprite, &m_texture);
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
