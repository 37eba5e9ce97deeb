// The lobby status panel drawn beside every lobby screen: the blinking frame after a player
// joins or leaves, the frame rate, the chat window, and (in panel mode 0) the own player, every
// slot with its robot, team and state, and the host's settings for the next battle.
#include "lobby.h"

#include "frame_timer.h"
#include "graphics.h"
#include "shapes.h"

namespace {

constexpr uint32_t kWhite = 0xFFFFFFFF;
constexpr uint32_t kBlue = 0xFF6464FF;      // online, the own slot
constexpr uint32_t kRed = 0xFFFF6464;       // offline
constexpr uint32_t kGrey = 0xFF969696;
constexpr uint32_t kOwnSide = 0xFF6464FA;   // team tag on the own side
constexpr uint32_t kOtherSide = 0xFFFA6464;
constexpr uint32_t kNoticeFrame = 0xF0FF1111;
constexpr int kBlinkFrames = 10;            // the notice frame shows 10 frames, hides 10

constexpr int kSlotRowY = 346;
constexpr int kSlotRowHeight = 16;

// The outline pieces of the notice frame around the screen.
const int kNoticeRects[][4] = {{0, 0, 10, 10}, {0, 0, 640, 10}, {0, 470, 640, 480}, {0, 0, 10, 480}, {630, 0, 640, 480}};

// Mode labels of the number field; modes outside 1 to 4 show none.
const char* ModeLabel(int mode) {
    switch (mode) {
        case 1: return "1ON1";
        case 2: return "LEDER";
        case 3: return "TEAM";
        case 4: return "SAV";
        default: return nullptr;
    }
}

char FirstLetter(const std::string& text) { return text.empty() ? '\0' : text[0]; }

}  // namespace

void CLobby::DrawStatus() { DrawStatusPanel(); }

void CLobby::DrawStatusPanel() {
    CDigitFont& font = m_fonts[0];
    CDigitFont& top = m_fonts[1];

    if (m_noticeTimer > 0) {
        --m_noticeTimer;
        if ((m_noticeTimer / kBlinkFrames) % 2 == 0) {
            SetDeviceTexture(0, nullptr);
            for (const auto& r : kNoticeRects) DrawRectOutline2D(r[0], r[1], r[2], r[3], kNoticeFrame);
        }
    }

    const float fps = g_frameTimer.m_fps < 0 ? 0 : g_frameTimer.m_fps;
    const int whole = (int)fps;
    top.DrawText(500, 0, "FPS");
    top.DrawNumber(560, 0, whole, 2);
    top.DrawNumber(610, 0, (int)((fps - (float)whole) * 10.0f), 1);

    if (m_panelMode == 0) {
        m_chat.m_x = 380;
        m_chat.m_y = 30;
        m_chat.Draw();
    } else {
        m_chat.m_x = 200;
        m_chat.m_y = 0;
        m_chat.DrawScaled(0.5f);
    }
    if (m_panelMode != 0) return;

    font.SetColor(kWhite);
    font.DrawText(10, 250, "USER DATA");
    if (m_link->IsConnected()) {
        top.SetColor(kBlue);
        top.DrawText(300, 0, "ON LINE");
    } else {
        top.SetColor(kRed);
        top.DrawText(300, 0, "OFF LINE");
    }
    top.SetColor(kWhite);

    if (m_ownId != -1) {
        font.DrawText(10, 266, "ID");
        font.DrawNumber(42, 266, m_ownId, 1);
    }
    font.DrawText(60, 266, m_ownTeam);
    DrawTextFormat(90, 266, "%s", m_name.c_str());
    DrawTextFormat(240, 266, "%s", m_ownState.c_str());

    font.DrawText(10, 314, "GAME SETING");
    font.DrawText(30, 330, "ID");
    font.DrawText(54, 330, "NO");
    font.DrawText(280, 330, "ONLINE");

    for (int i = 0; i < m_slotCount && i < kLobbySlots; ++i) {
        const int y = kSlotRowY + kSlotRowHeight * i;
        if (i == m_ownId) font.SetColor(kBlue);
        font.DrawNumber(30, (float)y, i, 1);
        font.DrawNumber(54, (float)y, m_slotBattleIndex[i], 1);
        font.SetColor(kGrey);
        font.SetColor(FirstLetter(m_slotTeams[i]) == FirstLetter(m_ownTeam) ? kOwnSide : kOtherSide);
        font.DrawText(70, (float)y, m_slotTeams[i]);
        font.SetColor(kGrey);
        DrawTextFormat(110, y, "%s", m_slotNames[i].c_str());
        DrawTextFormat(180, y, "%s", m_catalog.GetTypeName(m_slotCodes[i]).c_str());
        if (m_slotConnections[i] == kSlotConnected) {
            font.SetColor(kBlue);
            font.DrawText(280, (float)y, "ON");
        } else if (m_slotConnections[i] == kSlotEmpty) {
            font.SetColor(kRed);
            font.DrawText(280, (float)y, "OFF");
        }
        font.SetColor(kWhite);
        DrawTextFormat(340, y, "%s", m_slotStates[i].c_str());
    }

    font.DrawText(30, 442, "MAP");
    DrawTextFormat(70, 442, "%s", GetStageInfo(m_stage, 0).c_str());
    font.DrawText(310, 442, "TIME LIMIT");
    if (m_timeLimit == -1) font.DrawText(360, 458, "XXX");
    else font.DrawNumber(360, 458, m_timeLimit, 3);
    font.DrawText(560, 442, "NUMBER");
    font.DrawNumber(570, 458, m_fighters, 1);
    if (const char* label = ModeLabel(m_mode)) font.DrawText(460, 458, label);
}
