// Settings of ".\ap.ini" through the profile strings.
#include "settings.h"

#include "debug_log.h"
#include "sys_ini.h"

#include <cstdio>
#include <cstdlib>

namespace {

const char kSettingsFile[] = ".\\ap.ini";
constexpr int kValueBufferSize = 256;

// Button order of the pad: up, down, left, right, then the action buttons.
constexpr int kDefaultKeys[kPadButtonCount] = {17, 31, 30, 32, 16, 18, 33, 20, 21, 19, 57, 34};
constexpr int kDefaultJoys[kPadButtonCount] = {0, 1, 2, 3, 10, 11, 6, 7, 9, 13, 8, 12};

const char* const kQuickChatKeys[kQuickChatCount] = {"F5", "F6", "F7", "F8", "IN", "END"};

std::string ReadText(const CProfileFile& file, const char* section, const char* key, const char* def) {
    char buf[kValueBufferSize];
    file.GetString(section, key, def, buf, sizeof buf);
    return buf;
}

int ReadNumber(const CProfileFile& file, const char* section, const char* key, const char* def) {
    return int(atol(ReadText(file, section, key, def).c_str()));
}

void WriteNumber(CProfileFile& file, const char* section, const char* key, const char* format, int value) {
    char buf[32];
    snprintf(buf, sizeof buf, format, value);
    file.SetString(section, key, buf);
}

void BindingKeyName(char* out, size_t size, const char* prefix, int i) { snprintf(out, size, "%s%1d", prefix, i); }

}  // namespace

CSettings::CSettings() : m_hostPort(5963), m_gestPort(5963), m_values{} {
    for (int i = 0; i < kPadButtonCount; ++i) {
        m_values[kValueKey0 + i] = kDefaultKeys[i];
        m_values[kValueJoy0 + i] = kDefaultJoys[i];
    }
    m_values[kValueViewType] = 9;
    m_values[kValuePlayBuff] = 3;
    m_values[kValueGraphics] = 3;
    Load();
}

CSettings::~CSettings() {}

void CSettings::Load() {
    CProfileFile file;
    file.Load(kSettingsFile);
    for (int i = 0; i < kQuickChatCount; ++i) m_quickChat[i] = ReadText(file, "QM", kQuickChatKeys[i], "err");

    m_ip = ReadText(file, "NET", "IP", "127.0.0.1");
    m_name = ReadText(file, "NET", "NAME", "");
    m_msg = ReadText(file, "NET", "MSG", "");
    m_hostPort = ReadNumber(file, "NET", "HostPort", "5963");
    m_gestPort = ReadNumber(file, "NET", "GestPort", "5963");
    m_values[kValuePlayBuff] = ReadNumber(file, "NET", "PlayBuff", "3");
    m_chatUrl = ReadText(file, "NET", "ChatURL", kDefaultChatUrl);

    for (int i = 0; i < kPadButtonCount; ++i) {
        char key[16], current[16];
        BindingKeyName(key, sizeof key, "Key", i);
        snprintf(current, sizeof current, "%3d", m_values[kValueKey0 + i]);
        m_values[kValueKey0 + i] = ReadNumber(file, "KEY", key, current);
        BindingKeyName(key, sizeof key, "Joy", i);
        snprintf(current, sizeof current, "%3d", m_values[kValueJoy0 + i]);
        m_values[kValueJoy0 + i] = ReadNumber(file, "KEY", key, current);
    }

    m_values[kValueViewType] = ReadNumber(file, "GMP", "ViewType", "9");
    m_values[kValueGraphics] = ReadNumber(file, "GMP", "p_Graphics", "3");
}

int CSettings::Save() {
    CProfileFile file;
    file.Load(kSettingsFile);
    file.SetString("NET", "IP", m_ip.c_str());
    file.SetString("NET", "NAME", m_name.c_str());
    file.SetString("NET", "MSG", m_msg.c_str());
    WriteNumber(file, "NET", "HostPort", "%5d", m_hostPort);
    WriteNumber(file, "NET", "GestPort", "%5d", m_gestPort);
    WriteNumber(file, "GMP", "ViewType", "%5d", m_values[kValueViewType]);
    WriteNumber(file, "GMP", "p_Graphics", "%5d", m_values[kValueGraphics]);
    for (int i = 0; i < kPadButtonCount; ++i) {
        char key[16];
        BindingKeyName(key, sizeof key, "Key", i);
        WriteNumber(file, "KEY", key, "%3d", m_values[kValueKey0 + i]);
        BindingKeyName(key, sizeof key, "Joy", i);
        WriteNumber(file, "KEY", key, "%3d", m_values[kValueJoy0 + i]);
    }
    if (file.Save(kSettingsFile)) return 1;
    LogPrintf("save(%s) ... failed.\n", kSettingsFile);
    return 0;
}
