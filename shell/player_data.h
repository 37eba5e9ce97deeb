// The player record and the saved robot build of ".\data\dt.ini", section PR.
#pragma once

#include <string>

constexpr int kBuildCodeLength = 8;
// The all-zero build (every byte a value of 0 plus 128): what a missing or damaged code reads as.
extern const char kEmptyBuildCode[kBuildCodeLength + 1];
// Eight bytes, each 0x80 or more: anything else is not a build code.
bool IsBuildCode(const std::string& code);

struct CPlayerData {
    std::string m_path;      // ".\data\dt.ini"
    std::string m_name;      // p_st_Name
    std::string m_nickName;  // p_st_NikkuName
    int m_pamd;              // p_st_PAMD
    int m_money;             // p_st_Money
    int m_point;             // p_st_Point
    int m_jikan;             // p_st_Jikan
    int m_syutugeki;         // p_st_Syutugeki
    std::string m_roboData;  // p_RoboData, the robot build code

    CPlayerData();  // the defaults of a new record; does not read the file
    ~CPlayerData();
    void SetDefaults();
    void Load();  // a stored build that is no build code reads as kEmptyBuildCode
    int Save();   // creates the folder when missing; 1 when written
};

// Saves a robot build the way the game always saves one: in a new record, so every other key of
// the file is rewritten with its default. 1 when written.
int SaveBuildRecord(const std::string& code);
