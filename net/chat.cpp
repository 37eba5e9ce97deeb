// The lobby's chat: typing one line into a field and sending it, the host's explanation of a
// start that cannot go ahead, and the closing greeting after a battle. Everything typed or read
// from the settings goes out through ToWireText, so a ">" in it cannot start a message.
#include "lobby.h"
#include "lobby_menu.h"

#include "engine.h"
#include "frame_timer.h"
#include "graphics.h"
#include "input.h"
#include "settings.h"
#include "text_input.h"
#include "wire.h"

#include "sys_rand.h"

namespace {

constexpr uint32_t kBlack = 0xff000000;
constexpr int kChatFieldX = 0;
constexpr int kChatFieldY = 16;
constexpr int kChatFieldMax = 40;  // bytes: a chat line stays far below one send chunk

// The closing greeting: a text and an ending, drawn in this order.
const char* const kReplyTexts[] = {
    "お疲れ様です", "御疲れ様です", "お疲れさまです", "おつかれさまです", "御疲れ様", "お疲れさま", "おつかれさま",
    "お疲れ", "お疲れ", "オツカレ", "オツ", "otu", "乙", "乙彼", "オツ", "オツです", "御疲れサマー", "O2",
    "疲れたよﾊﾟﾄﾗｯｼｭ(;´д`)", "wwﾍ√ﾚvv～─ﾂｶ(ﾟ∀ﾟ)ﾚﾀｰwwﾍ√ﾚvv～─", "オツでスン",
};
const char* const kReplyEndings[] = {
    "", "w", ";", "･･･orz", "・・・_|￣|○", "wwwww", "(笑)", "(略)", " f(^-^;", "!", "?", "!?", "", "", "",
};
constexpr int kReplyTextCount = sizeof(kReplyTexts) / sizeof(kReplyTexts[0]);
constexpr int kReplyEndingCount = sizeof(kReplyEndings) / sizeof(kReplyEndings[0]);
static_assert(kReplyTextCount == 21 && kReplyEndingCount == 15, "the greeting tables' sizes pick the lines");

}  // namespace

void CLobby::ChatInput() {
    if (g_quit) return;
    CTextInput field;
    field.Attach(kChatFieldX, kChatFieldY, kChatFieldMax);
    field.SetText("");
    field.SetOpenStatus(1);
    SetQuitKey(kKeyF12);

    int counter = 0;
    int done = 0;
    while (!g_quit && done == 0) {
        PumpLobbyPass();
        if (g_quit) break;
        StepMenuCycle(*this, &counter);
        const int drawing = BeginFrame(kBlack);
        if (drawing) DrawTextFormat(0, 0, "メッセージ入力");
        done = field.Update();
        ServeNet();
        if (drawing) {
            DrawStatusPanel();
            EndFrame();
        }
        g_frameTimer.Wait();
    }
    UpdateInput();
    if (done == 1) {
        std::string text;
        field.GetText(text);
        QueueMessage(">m" + ToWireText(m_name) + ":" + ToWireText(text));
    }
    field.SetOpenStatus(0);
    SetQuitKey(kKeyEscape);
}

// Every game runs the checks, so every player's start is refused alike; only the host explains
// why, since the relay brings its lines to everybody.
bool CLobby::CheckBattleStart() {
    bool ok = true;
    const bool host = m_ownId == 0;
    int last = 0;
    for (int i = 0; i < m_slotCount && i < kLobbySlots; ++i) {
        if (m_slotConnections[i] == kSlotConnected) last = i + 1;
    }
    if (last > m_fighters) {
        if (host) QueueMessage(">mERR10 戦闘人数が接続人数以下です");
        ok = false;
    }
    if (TeamImbalance() != 0 && m_mode != 4) {
        if (host) QueueMessage(">mERR07 チーム人数が揃っていません");
        ok = false;
    }
    if (!ok && host) QueueMessage(">mERR03 戦闘開始に失敗しました");
    return ok;
}

void CLobby::AutoReply() {
    CSettings settings;
    std::string line = settings.m_quickChat[kQuickEnd];
    if (line.empty()) {
        const int text = GameRand() % kReplyTextCount;
        const int ending = GameRand() % kReplyEndingCount;
        line = std::string(kReplyTexts[text]) + kReplyEndings[ending];
    }
    QueueMessage(">m" + ToWireText(m_name) + ":" + ToWireText(line));
}
