// The chat log: Control+S in the main menu saves the chat window's lines to a text file named
// after the local time and the player's name, in the working folder.
#include "chat_log.h"

#include "lobby.h"

#include "debug_log.h"
#include "string_list_file.h"
#include "title.h"

#include "sys_text.h"

namespace {

constexpr uint32_t kNoticeColor = 0x99ffff55;  // a chat line without a speaker

bool IsTrailByte(unsigned char b) { return b >= 0x40 && b <= 0xfc && b != 0x7f; }

}  // namespace

// The path mapper turns a "\" at a character start into a folder separator, so the name must
// not carry one; a "\" that is the second byte of a character is part of it and stays.
std::string ChatLogSafeName(const std::string& name) {
    std::string out;
    out.reserve(name.size());
    for (size_t i = 0; i < name.size(); ++i) {
        const unsigned char b = (unsigned char)name[i];
        if (SjisIsLeadByte(b) && i + 1 < name.size() && IsTrailByte((unsigned char)name[i + 1])) {
            out += name[i];
            out += name[i + 1];
            ++i;
        } else if (b < 0x20 || b == 0x7f || b == '/' || b == '\\' || SjisIsLeadByte(b)) {
            out += '_';  // a lead byte without its second byte would not convert to a file name
        } else {
            out += name[i];
        }
    }
    return out;
}

std::string ChatLogFileName(const SysLocalTime& t, const std::string& name) {
    return "ChatLog" + std::to_string(t.year) + "_" + std::to_string(t.month) + "_" + std::to_string(t.day) + "-" +
           std::to_string(t.hour) + "_" + std::to_string(t.minute) + "_" + std::to_string(t.second) + "-" +
           ChatLogSafeName(name) + ".txt";
}

void CLobby::WriteChatLog() { WriteChatLogAt(SysGetLocalTime()); }

// A failed save tells the player in the own chat window only; nothing is sent.
void CLobby::WriteChatLogAt(const SysLocalTime& time) {
    const std::string fileName = ChatLogFileName(time, m_name);
    CStringListFile file;
    file.SetFileName(fileName);
    file.AddItem(std::string("ZAU_MOLTA Ver") + kGameVersion);
    const int current = m_chat.m_currentLine < kTextListLines ? m_chat.m_currentLine : kTextListLines;
    for (int i = 0; i < current; ++i) file.AddItem(m_chat.m_lines[i]);
    if (file.Save()) return;
    LogPrintf("chat log: cannot write %s\n", fileName.c_str());
    m_chat.AddLine("チャットログを保存できません", kNoticeColor);
}
