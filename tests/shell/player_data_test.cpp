// ".\data\dt.ini": a new record's bytes, round trips, and builds that are no build code.
#include "player_data.h"
#include "test_folder.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace {

const char kFreshRecord[] =
    "[PR]\r\np_st_Name=nemo\r\np_st_NikkuName=ルーキー\r\np_st_PAMD=16\r\np_st_Money=10\r\n"
    "p_st_Point=0\r\np_st_Jikan=0\r\np_st_Syutugeki=0\r\np_RoboData=           \r\n";

}  // namespace

TEST(PlayerData, SaveCreatesTheMissingDataFolder) {
    CTestFolder folder;
    CPlayerData p;
    ASSERT_EQ(p.Save(), 1);
    EXPECT_EQ(ReadWholeFile("data/dt.ini"), kFreshRecord);
}

TEST(PlayerData, SaveReportsAFolderItCannotMake) {
    CTestFolder folder;
    WriteWholeFile("data", "a file where the folder should be");
    CPlayerData p;
    EXPECT_EQ(p.Save(), 0);
    EXPECT_EQ(ReadWholeFile("data"), "a file where the folder should be");
}

TEST(PlayerData, MissingFileReadsErrAndTheEmptyBuild) {
    CTestFolder folder;
    CPlayerData p;
    p.Load();
    EXPECT_EQ(p.m_name, "err");
    EXPECT_EQ(p.m_nickName, "err");
    EXPECT_EQ(p.m_pamd, 0);
    EXPECT_EQ(p.m_money, 0);
    EXPECT_EQ(p.m_roboData, std::string(kEmptyBuildCode));
    EXPECT_TRUE(IsBuildCode(p.m_roboData));
}

TEST(PlayerData, RoundTripKeepsOtherLinesAndRewritesDefaults) {
    CTestFolder folder;
    ASSERT_EQ(mkdir("data", 0777), 0);
    WriteWholeFile("data/dt.ini", "[PR]\np_st_Name=ace\np_st_Money=9999\nNote=keep\n[OTHER]\nx=1\n");
    CPlayerData loaded;
    loaded.Load();
    EXPECT_EQ(loaded.m_name, "ace");
    EXPECT_EQ(loaded.m_money, 9999);

    // Saving a build goes through a fresh record, so the player fields return to their defaults.
    CPlayerData fresh;
    const std::string code = "\xa4\x80\x82\xff\x80\x81\x87\xc0";
    fresh.m_roboData = code;
    ASSERT_EQ(fresh.Save(), 1);
    EXPECT_EQ(ReadWholeFile("data/dt.ini"),
              "[PR]\np_st_Name=nemo\np_st_Money=10\nNote=keep\np_st_NikkuName=ルーキー\np_st_PAMD=16\n"
              "p_st_Point=0\np_st_Jikan=0\np_st_Syutugeki=0\np_RoboData=" + code + "\n[OTHER]\nx=1\n");
    CPlayerData back;
    back.Load();
    EXPECT_EQ(back.m_name, "nemo");
    EXPECT_EQ(back.m_nickName, "ルーキー");
    EXPECT_EQ(back.m_pamd, 16);
    EXPECT_EQ(back.m_money, 10);
    EXPECT_EQ(back.m_roboData, code);
}

TEST(PlayerData, EveryHighByteSurvivesInABuildCode) {
    CTestFolder folder;
    for (int first = 0x80; first <= 0xFF; first += 8) {
        std::string code;
        for (int i = 0; i < kBuildCodeLength; ++i) code += char(first + i);
        CPlayerData p;
        p.m_roboData = code;
        ASSERT_EQ(p.Save(), 1);
        CPlayerData q;
        q.Load();
        EXPECT_EQ(q.m_roboData, code) << std::hex << first;
    }
}

TEST(PlayerData, StoredTextThatIsNoBuildCodeReadsAsTheEmptyBuild) {
    CTestFolder folder;
    ASSERT_EQ(mkdir("data", 0777), 0);
    const char* const stored[] = {
        "",                                       // the unsaved record's blanks, trimmed
        "\xa4\x80\x82\x80\x80\x80\x80",           // seven bytes
        "\xa4\x80\x82\x80\x80\x80\x80\x80\x80",   // nine bytes
        "\xa4\x80\x82\x80\x41\x80\x80\x80",       // one byte below 0x80
    };
    for (const char* s : stored) {
        WriteWholeFile("data/dt.ini", std::string("[PR]\r\np_RoboData=") + s + "\r\n");
        CPlayerData p;
        p.Load();
        EXPECT_EQ(p.m_roboData, std::string(kEmptyBuildCode)) << s;
    }
    WriteWholeFile("data/dt.ini", "[PR]\r\n");
    CPlayerData p;
    p.Load();
    EXPECT_EQ(p.m_roboData, std::string(kEmptyBuildCode));
}
