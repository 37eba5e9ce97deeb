// The staff roll: its lines, their climb and fade, and the keys that end it.
#include "staff_roll.h"

#include "campaign.h"
#include "frame_loop.h"
#include "full_screen_picture.h"

#include "graphics.h"
#include "input.h"
#include "music.h"

namespace {

constexpr int kKeySpace = 57;
constexpr int kTextHeight = 16;
constexpr uint32_t kWhite = 0xffffffff;
const char kFace[] = "ＭＳ ゴシック";
// Lines are drawn only inside this margin of the screen.
constexpr int kMinX = 19, kMaxX = 621, kMinY = 19, kMaxY = 461;
// Lines fade over the bottom and top hundred pixels.
constexpr int kFadeTop = 99, kFadeBottom = 381;

struct RollLine {
    int index;
    const char* text;
};
const RollLine kRollText[] = {
    {0, "ZAU_MOLTA"},
    {4, "企画・監督　ＶＡＶ開発室"},
    {7, "プログラム　ＶＡＶ開発室"},
    {10, "ロボットデザイン"},
    {11, "ＶＡＶ開発室　メカ班"},
    {14, "ステージ・エフェクト"},
    {15, "ＶＡＶ開発室　背景班"},
    {18, "サウンド"},
    {19, "ＶＡＶ開発室　音響班"},
    {22, "テストプレイ　ＶＡＶ開発室一同"},
    {25, "最後までプレイありがとう御座いました"},
    {29, "ＴＨＥ　ＥＮＤ"},
};

}  // namespace

int StaffRollLineY(int line, int frameCount) { return kStaffRollLineSpacing * line - frameCount + kScreenHeight; }

uint32_t StaffRollLineColor(int y) {
    int c = 15;
    if (y <= kFadeTop) c = int(y / 100.0 * 16);
    else if (y >= kFadeBottom) c = int((kScreenHeight - y) / 100.0 * 16);
    if (c < 0) c = 0;
    if (c > 15) c = 15;
    return uint32_t(c) * 0x11000000u + 0xffffffu;
}

CStaffRoll::CStaffRoll() {
    m_backgroundTexture.Load("bmp\\end2.png", 0, 1);
    PlaceFullScreen(&m_background, &m_backgroundTexture);
    for (const RollLine& line : kRollText) m_lines[line.index] = line.text;
    for (int i = 0; i < kStaffRollLines; ++i) {
        m_textures[i].CreateFromText(m_lines[i].c_str(), kTextHeight, kWhite, 0, kFace);
        m_sprites[i].SetTexture(&m_textures[i]);
    }
}

void CStaffRoll::Update() {
    ++m_frameCount;
    m_input.Update();
    if (m_input.m_confirm == kButtonPressed) m_done = 1;
    if (BeginFrame(0xf0ffffff)) {
        BeginSprites();
        m_background.Draw();
        DrawLines();
        EndSprites();
        EndFrame();
    }
    if (GetKeyStatus(kKeySpace) >= kButtonPressed) m_done = 1;
    if (m_frameCount >= kStaffRollFrames) m_done = 1;
}

void CStaffRoll::DrawLines() {
    for (int i = 0; i < kStaffRollLines; ++i) DrawLine(kStaffRollX, StaffRollLineY(i, m_frameCount), i);
}

int CStaffRoll::DrawLine(int x, int y, int line) {
    if (line < 0 || line >= kStaffRollLines) return 0;
    if (x <= kMinX || x >= kMaxX || y <= kMinY || y >= kMaxY || m_lines[line].empty()) return 0;
    m_sprites[line].SetColor(StaffRollLineColor(y));
    m_sprites[line].SetPosition(float(x), float(y));
    m_sprites[line].Draw();
    return 1;
}

namespace {

void RunStaffRoll() {
    PlayMidiFile(kCampaignTune);
    if (!g_quit) {
        CStaffRoll roll;
        RunFrameLoop([&] { return roll.IsDone() != 0; },
                     [&] {
                         roll.Update();
                         return 1;
                     });
    }
    StopMusic();
}

}  // namespace

void EndingScene() { RunStaffRoll(); }
void TeamEndingScene() { RunStaffRoll(); }
