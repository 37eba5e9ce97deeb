// Game paths written the Windows way, in Shift-JIS, reach the right native files.
#include "sys_path.h"
#include "sys_text.h"
#include "test_folder.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

TEST(PathMapper, BackslashAtCharacterStartOnly) {
    CTestFolder folder;
    // "表" and "ソ" end in 0x5C in Shift-JIS: that byte is part of the character.
    std::string name = "表ソ\\a.txt";
    ASSERT_EQ((unsigned char)name[1], 0x5C);
    EXPECT_EQ(SysMapPath(name.c_str()), U8(u8"表ソ/a.txt"));
    EXPECT_EQ(SysMapPath(".\\data\\dt.ini"), "./data/dt.ini");
}

TEST(PathMapper, ShiftJisNamesOpenUtf8Files) {
    CTestFolder folder;
    ASSERT_EQ(mkdir(U8(u8"表示").c_str(), 0777), 0);
    WriteWholeFile(folder.File(U8(u8"表示/ソフト.txt")), "x");
    FILE* f = SysOpenFile("表示\\ソフト.txt", "rb");
    ASSERT_NE(f, nullptr);
    fclose(f);
    EXPECT_EQ(SysFileExists(".\\表示\\ソフト.txt"), 1);
}

TEST(PathMapper, CaseDifferencesAreFoundByReadingTheFolder) {
    CTestFolder folder;
    ASSERT_EQ(mkdir("Data", 0777), 0);
    WriteWholeFile(folder.File("Data/DT.ini"), "x");
    EXPECT_EQ(SysMapPath(".\\data\\dt.ini"), "./Data/DT.ini");
    // A name missing altogether keeps the caller's spelling for its own part.
    EXPECT_EQ(SysMapPath(".\\data\\new.ini"), "./Data/new.ini");
}

TEST(PathMapper, BracketsAndParenthesesAreOrdinaryCharacters) {
    CTestFolder folder;
    WriteWholeFile(folder.File("[Robo](A).X"), "x");
    EXPECT_EQ(SysMapPath("[robo](a).x"), "[Robo](A).X");
    // No glob expansion: a pattern-like name does not match other files.
    WriteWholeFile(folder.File("r.x"), "x");
    EXPECT_EQ(SysMapPath("[r].x"), "[r].x");
}

TEST(PathMapper, FolderGuardReturnsToTheSavedFolder) {
    CTestFolder folder;
    ASSERT_EQ(mkdir("bmp", 0777), 0);
    std::string before = SysGetCurrentDir();
    {
        CFolderGuard guard("BMP");
        EXPECT_EQ(guard.IsEntered(), 1);
        EXPECT_EQ(SysGetCurrentDir(), before + "/bmp");
    }
    EXPECT_EQ(SysGetCurrentDir(), before);
    {
        CFolderGuard guard("missing");
        EXPECT_EQ(guard.IsEntered(), 0);
        EXPECT_EQ(SysGetCurrentDir(), before);
    }
    EXPECT_EQ(SysGetCurrentDir(), before);
}

TEST(PathMapper, WholeFileReadsFailCleanly) {
    CTestFolder folder;
    WriteWholeFile(folder.File("Data.bin"), std::string("a\0b", 3));
    std::vector<unsigned char> bytes = {9};
    ASSERT_EQ(SysReadFile("data.BIN", &bytes), 1);
    EXPECT_EQ(bytes, (std::vector<unsigned char>{'a', 0, 'b'}));
    EXPECT_EQ(SysReadFile("missing.bin", &bytes), 0);
    EXPECT_TRUE(bytes.empty());
    // A folder opens but cannot be read: a failure, not an empty file.
    ASSERT_EQ(mkdir("dir", 0777), 0);
    bytes = {9};
    EXPECT_EQ(SysReadFile("dir", &bytes), 0);
    EXPECT_TRUE(bytes.empty());
}

TEST(ShiftJisText, CharacterStartsAreFoundFromTheFront) {
    // "メa": the second byte of "メ" (0x83 0x81) is itself in the lead-byte range.
    std::string s = "メa";
    ASSERT_EQ(s.size(), 3u);
    EXPECT_EQ(SjisPrevCharStart(s.data(), s.size(), 3), 2u);
    EXPECT_EQ(SjisPrevCharStart(s.data(), s.size(), 2), 0u);
    EXPECT_FALSE(SjisIsCharStart(s.data(), s.size(), 1));
    EXPECT_EQ(SjisClampLength(s.data(), s.size(), 1), 0u);
    EXPECT_EQ(SjisToUtf8(s), U8(u8"メa"));
    EXPECT_EQ(Utf8ToSjis(U8(u8"メa")), s);
}
