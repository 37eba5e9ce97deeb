// The online battle's overlay over the drawn frame: the lobby's chat window, the exchange's
// buffer figures at graphics level 3, and the chat entry field while it is open. Its figures and
// "CHAT" are written in the battle view's first digit font, the size of the view's own figures.
#include "net_battle.h"

#include "graphics.h"
#include "input.h"
#include "text_list.h"

#include <cstdio>

namespace {
constexpr uint32_t kWhite = 0xffffffff;
constexpr uint32_t kBlue = 0xff3232ff;
constexpr uint32_t kRed = 0xffff3232;
constexpr int kStatusLineStep = 16;
constexpr int kOwnKeysShown = 11;
}  // namespace

void CNetBattle::DrawStatusLine(const std::string& text, uint32_t color) {
    m_view.m_font1.SetColor(color);
    m_view.m_font1.DrawText(0, float(m_statusY), text);
    m_view.m_font1.SetColor(kWhite);
    m_statusY += kStatusLineStep;
}

void CNetBattle::DrawStatusLines() {
    char line[32];
    ResetStatusLines();
    DrawStatusLine(std::to_string(m_skipCount), kWhite);
    DrawStatusLine("SF OK", kBlue);
    snprintf(line, sizeof line, "D MIN%d", (int)m_exchange.m_minLen);
    DrawStatusLine(line, kWhite);
    snprintf(line, sizeof line, "D MAX%d", (int)m_exchange.m_maxLen);
    DrawStatusLine(line, kWhite);
    DrawStatusLine("_", kWhite);
    for (int i = 0; i < m_robotCount && i < kMaxRobots; ++i) {
        snprintf(line, sizeof line, "DF %d", (int)m_exchange.m_keyBuffers[i].size());
        DrawStatusLine(line, kWhite);
    }
    const std::string& own = m_exchange.m_keyBuffers[m_ownIndex];
    DrawStatusLine(own.substr(0, kOwnKeysShown), kRed);
}

void CNetBattle::DrawNetStatus() {
    SetLighting(0);
    if (m_chatWindow) {
        m_chatWindow->m_x = 0;
        m_chatWindow->m_y = 224;
        if (m_graphics == 1) m_chatWindow->DrawRecent();
        else if (m_graphics == 2 || m_graphics == 3) m_chatWindow->Draw();
    }
    if (m_graphics == 3) DrawStatusLines();
    if (!m_chatOpen) return;
    m_view.m_font1.SetColor(kWhite);
    m_view.m_font1.DrawText(50, 300, "CHAT");
    BeginText();
    const int done = m_chatInput.Update();
    if (done == 1) {
        std::string text;
        m_chatInput.GetText(text);
        m_exchange.AddChatText(text);  // after canned lines or an F4 of the same frame
        CloseChat();
    } else if (done == -1) {
        CloseChat();
    }
    EndText();
}

void CNetBattle::CloseChat() {
    m_chatOpen = false;
    m_chatInput.SetOpenStatus(0);
    UpdateInput();
    UpdateInput();
    SetQuitKey(kKeyEscape);
}
