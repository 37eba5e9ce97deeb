// The settings of ".\ap.ini": network address and ports, quick-chat texts, pad bindings, view
// type and graphics level. A value object: built where needed, loaded by its constructor and
// saved explicitly.
#pragma once

#include <string>

constexpr int kPadButtonCount = 12;     // pad buttons with a key and a joystick binding each
constexpr int kSettingValueCount = 27;  // twelve keys, twelve joystick entries, three numbers
// A placeholder where nothing answers: announcements fail with a log line until a real chat
// page is configured.
constexpr const char* kDefaultChatUrl = "http://127.0.0.1/zaumolta/chat.cgi";

// Indexes into CSettings::m_values.
enum {
    kValueKey0 = 0,    // 0 to 11: DirectInput key codes of the pad buttons
    kValueJoy0 = 12,   // 12 to 23: joystick entries of the pad buttons
    kValueViewType = 24,
    kValuePlayBuff = 25,
    kValueGraphics = 26,  // p_Graphics, 1 to 3
};

// Indexes into CSettings::m_quickChat (section QM).
enum { kQuickF5, kQuickF6, kQuickF7, kQuickF8, kQuickIn, kQuickEnd, kQuickChatCount };

struct CSettings {
    std::string m_ip;
    std::string m_name;
    std::string m_msg;
    int m_hostPort;
    int m_gestPort;
    std::string m_chatUrl;  // [NET] ChatURL, the chat page hosts are announced on; read only
    std::string m_quickChat[kQuickChatCount];
    int m_values[kSettingValueCount];

    CSettings();  // defaults, then Load
    ~CSettings();
    void Load();  // rereads the file; a missing key bound keeps its current value
    int Save();   // NET, GMP and KEY (never QM, PlayBuff or ChatURL); 1 when written
};
