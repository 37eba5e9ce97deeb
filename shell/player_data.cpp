// The player record of ".\data\dt.ini" through the profile strings.
#include "player_data.h"

#include "debug_log.h"
#include "sys_ini.h"
#include "sys_path.h"
#include "sys_text.h"

#include <cstdio>
#include <cstdlib>

const char kEmptyBuildCode[kBuildCodeLength + 1] = "\x80\x80\x80\x80\x80\x80\x80\x80";

bool IsBuildCode(const std::string& code) {
    if (code.size() != size_t(kBuildCodeLength)) return false;
    for (char c : code)
        if ((unsigned char)c < 0x80) return false;
    return true;
}

namespace {

const char kSection[] = "PR";
constexpr int kValueBufferSize = 256;
// A record that never held a build stores blanks, which are no build code.
const char kUnsavedBuild[] = "           ";

std::string ReadText(const CProfileFile& file, const char* key, const char* def) {
    char buf[kValueBufferSize];
    file.GetString(kSection, key, def, buf, sizeof buf);
    return buf;
}

int ReadNumber(const CProfileFile& file, const char* key) { return int(atol(ReadText(file, key, "err").c_str())); }

void WriteNumber(CProfileFile& file, const char* key, int value) {
    char buf[16];
    snprintf(buf, sizeof buf, "%d", value);
    file.SetString(kSection, key, buf);
}

// The folder part of a game path (".\data" of ".\data\dt.ini"); "" when there is none.
std::string FolderOf(const std::string& path) {
    size_t cut = std::string::npos;
    for (size_t i = 0; i < path.size(); i += SjisCharLength(path.data(), path.size(), i))
        if (path[i] == '\\' || path[i] == '/') cut = i;
    return cut == std::string::npos ? std::string() : path.substr(0, cut);
}

}  // namespace

CPlayerData::CPlayerData() : m_path(".\\data\\dt.ini") { SetDefaults(); }

CPlayerData::~CPlayerData() {}

void CPlayerData::SetDefaults() {
    m_name = "nemo";
    m_nickName = "ルーキー";
    m_pamd = 16;
    m_money = 10;
    m_point = 0;
    m_jikan = 0;
    m_syutugeki = 0;
    m_roboData = kUnsavedBuild;
}

void CPlayerData::Load() {
    CProfileFile file;
    file.Load(m_path.c_str());
    m_name = ReadText(file, "p_st_Name", "err");
    m_nickName = ReadText(file, "p_st_NikkuName", "err");
    m_pamd = ReadNumber(file, "p_st_PAMD");
    m_money = ReadNumber(file, "p_st_Money");
    m_point = ReadNumber(file, "p_st_Point");
    m_jikan = ReadNumber(file, "p_st_Jikan");
    m_syutugeki = ReadNumber(file, "p_st_Syutugeki");
    m_roboData = ReadText(file, "p_RoboData", kUnsavedBuild);
    // Blanks or a damaged code would decode to types and ids no robot has.
    if (!IsBuildCode(m_roboData)) m_roboData = kEmptyBuildCode;
}

int CPlayerData::Save() {
    const std::string folder = FolderOf(m_path);
    if (!folder.empty() && !SysMakeDir(folder.c_str())) {
        LogPrintf("save(%s) ... failed: no folder.\n", m_path.c_str());
        return 0;
    }
    CProfileFile file;
    file.Load(m_path.c_str());
    file.SetString(kSection, "p_st_Name", m_name.c_str());
    file.SetString(kSection, "p_st_NikkuName", m_nickName.c_str());
    WriteNumber(file, "p_st_PAMD", m_pamd);
    WriteNumber(file, "p_st_Money", m_money);
    WriteNumber(file, "p_st_Point", m_point);
    WriteNumber(file, "p_st_Jikan", m_jikan);
    WriteNumber(file, "p_st_Syutugeki", m_syutugeki);
    file.SetString(kSection, "p_RoboData", m_roboData.c_str());
    if (file.Save(m_path.c_str())) return 1;
    LogPrintf("save(%s) ... failed.\n", m_path.c_str());
    return 0;
}

int SaveBuildRecord(const std::string& code) {
    CPlayerData data;
    data.m_roboData = code;
    return data.Save();
}
