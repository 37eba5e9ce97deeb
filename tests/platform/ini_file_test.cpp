// Profile strings read and write like the Windows functions, byte for byte, Shift-JIS intact.
#include "sys_ini.h"
#include "test_folder.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

namespace {

std::string Get(const char* section, const char* key, const char* def = "DEF", int size = 256,
                const char* file = "ap.ini") {
    char buf[256] = {};
    int n = SysGetProfileString(section, key, def, buf, size, file);
    EXPECT_EQ(n, int(strlen(buf)));
    return buf;
}

}  // namespace

TEST(IniRead, MissingFileSectionOrKeyGivesTheDefault) {
    CTestFolder folder;
    EXPECT_EQ(Get("NET", "IP", "127.0.0.1"), "127.0.0.1");
    WriteWholeFile("ap.ini", "[NET]\r\nIP=1.2.3.4\r\n");
    EXPECT_EQ(Get("QM", "F5", "err"), "err");
    EXPECT_EQ(Get("NET", "NAME", "err"), "err");
    EXPECT_EQ(Get("NET", "IP"), "1.2.3.4");
    // The default is cut at the buffer like a value.
    EXPECT_EQ(Get("QM", "F5", "abcdef", 4), "abc");
}

TEST(IniRead, WindowsValueRules) {
    CTestFolder folder;
    WriteWholeFile("ap.ini",
                   "; comment=1\r\n"
                   "Stray=before any section\r\n"
                   "  [ net ]  \r\n"
                   "name=\r\n"
                   "  Msg  =   hello world  \r\n"
                   "Q1=\"quoted\"\r\n"
                   "Q2=\"\"twice\"\"\r\n"
                   "Q3=\"open\r\n"
                   "Q4='single'\r\n"
                   "Eq=a=b\r\n"
                   "NoEquals\r\n"
                   "[NET]\r\n"
                   "Later=second section of the same name\r\n"
                   "[KEY]\r\n"
                   "Key0=  17\r\n");
    EXPECT_EQ(Get("NET", "NAME"), "");  // present but empty is not the default
    EXPECT_EQ(Get("Net", "msg"), "hello world");
    EXPECT_EQ(Get("NET", "Q1"), "quoted");
    EXPECT_EQ(Get("NET", "Q2"), "\"twice\"");  // one pair only
    EXPECT_EQ(Get("NET", "Q3"), "\"open");
    EXPECT_EQ(Get("NET", "Q4"), "single");
    EXPECT_EQ(Get("NET", "Eq"), "a=b");
    EXPECT_EQ(Get("NET", "NoEquals"), "DEF");
    EXPECT_EQ(Get("NET", "; comment"), "DEF");
    EXPECT_EQ(Get("NET", "Stray"), "DEF");
    EXPECT_EQ(Get("NET", "Later"), "DEF");  // only the first section of a name counts
    EXPECT_EQ(atol(Get("key", "KEY0").c_str()), 17);
}

TEST(IniRead, LfFilesAndLastLineWithoutEnding) {
    CTestFolder folder;
    WriteWholeFile("ap.ini", "[GMP]\nViewType=   10\np_Graphics=2");
    EXPECT_EQ(Get("GMP", "ViewType"), "10");
    EXPECT_EQ(Get("GMP", "p_Graphics"), "2");
}

TEST(IniRead, ShiftJisBytesAreNeverParsedAsDelimitersOrFolded) {
    CTestFolder folder;
    // "ゾ" ends in ']' (0x5D); "ア" and "ヂ" differ only in a second byte 0x41 / 0x61.
    const std::string zo = "ゾ", a = "ア", di = "ヂ";
    ASSERT_EQ((unsigned char)zo[1], 0x5D);
    ASSERT_EQ((unsigned char)a[1] | 0x20, (unsigned char)di[1]);
    WriteWholeFile("ap.ini", "[" + zo + "x]\r\n" + a + "=upper\r\n" + di + "=lower\r\n");
    EXPECT_EQ(Get((zo + "X").c_str(), a.c_str()), "upper");
    EXPECT_EQ(Get((zo + "x").c_str(), di.c_str()), "lower");
    EXPECT_EQ(Get(zo.c_str(), a.c_str()), "DEF");
}

TEST(IniRead, CutAtTheBufferNeverSplitsACharacter) {
    CTestFolder folder;
    const std::string value = "ab表示";  // 2 + 2 + 2 bytes
    WriteWholeFile("ap.ini", "[NET]\r\nNAME=" + value + "\r\n");
    EXPECT_EQ(Get("NET", "NAME", "", 5), "ab表");  // 4 bytes fit exactly
    EXPECT_EQ(Get("NET", "NAME", "", 4), "ab");    // the half character is left out
    EXPECT_EQ(Get("NET", "NAME", "", 1), "");
    char small[2] = {'x', 'y'};
    EXPECT_EQ(SysGetProfileString("NET", "NAME", "", small, 0, "ap.ini"), 0);
    EXPECT_EQ(small[0], 'x');  // a zero-size buffer is not touched
}

TEST(IniWrite, CreatesFileAndSectionsWithWindowsLineEndings) {
    CTestFolder folder;
    ASSERT_EQ(SysWriteProfileString("NET", "IP", "127.0.0.1", ".\\ap.ini"), 1);
    ASSERT_EQ(SysWriteProfileString("NET", "NAME", "", ".\\ap.ini"), 1);
    ASSERT_EQ(SysWriteProfileString("GMP", "ViewType", "    9", ".\\ap.ini"), 1);
    EXPECT_EQ(ReadWholeFile("ap.ini"), "[NET]\r\nIP=127.0.0.1\r\nNAME=\r\n[GMP]\r\nViewType=    9\r\n");
    EXPECT_EQ(Get("GMP", "ViewType"), "9");
}

TEST(IniWrite, EveryOtherLineSurvivesByteForByte) {
    CTestFolder folder;
    const std::string before =
        "; settings\r\n"
        "[NET]\r\n"
        "IP = 10.0.0.1 ; old\r\n"
        "PlayBuff=5\r\n"
        "Unknown=keep me\r\n"
        "\r\n"
        "[QM]\r\n"
        "F5=  hello  \r\n"
        "IN=\"quoted\"\r\n";
    WriteWholeFile("ap.ini", before);
    ASSERT_EQ(SysWriteProfileString("net", "ip", "127.0.0.1", "ap.ini"), 1);
    ASSERT_EQ(SysWriteProfileString("NET", "GestPort", " 5963", "ap.ini"), 1);
    ASSERT_EQ(SysWriteProfileString("KEY", "Key0", " 17", "ap.ini"), 1);
    EXPECT_EQ(ReadWholeFile("ap.ini"),
              "; settings\r\n"
              "[NET]\r\n"
              "IP=127.0.0.1\r\n"  // replaced in place, the file's spelling of the key kept
              "PlayBuff=5\r\n"
              "Unknown=keep me\r\n"
              "GestPort= 5963\r\n"  // new key at the end of its section, before the blank line
              "\r\n"
              "[QM]\r\n"
              "F5=  hello  \r\n"
              "IN=\"quoted\"\r\n"
              "[KEY]\r\n"
              "Key0= 17\r\n");
}

TEST(IniWrite, KeepsTheFilesOwnLineEnding) {
    CTestFolder folder;
    WriteWholeFile("ap.ini", "[NET]\nIP=1\nMSG=x");  // LF, last line without an ending
    ASSERT_EQ(SysWriteProfileString("NET", "NAME", "n", "ap.ini"), 1);
    ASSERT_EQ(SysWriteProfileString("GMP", "p_Graphics", "    3", "ap.ini"), 1);
    EXPECT_EQ(ReadWholeFile("ap.ini"), "[NET]\nIP=1\nMSG=x\nNAME=n\n[GMP]\np_Graphics=    3\n");
    // A change elsewhere leaves a last line without its ending as it was.
    WriteWholeFile("ap.ini", "[NET]\r\nIP=1\r\n[QM]\r\nF5=x");
    ASSERT_EQ(SysWriteProfileString("NET", "IP", "2", "ap.ini"), 1);
    EXPECT_EQ(ReadWholeFile("ap.ini"), "[NET]\r\nIP=2\r\n[QM]\r\nF5=x");
}

TEST(IniWrite, LineBreaksInAValueAreDropped) {
    CTestFolder folder;
    ASSERT_EQ(SysWriteProfileString("NET", "MSG", "one\r\ntwo\nthree\r", "ap.ini"), 1);
    ASSERT_EQ(SysWriteProfileString("NET", "NAME", "x", "ap.ini"), 1);
    EXPECT_EQ(ReadWholeFile("ap.ini"), "[NET]\r\nMSG=onetwothree\r\nNAME=x\r\n");
}

TEST(IniWrite, ShiftJisValuesRoundTripUnchanged) {
    CTestFolder folder;
    // Second bytes '\' and '|', plus a name ending in ']' (section) and a quote-like look.
    const std::string value = std::string("表ソ能ポ十 ") + "ゾ" + "=;[x]";
    ASSERT_EQ(SysWriteProfileString("NET", "NAME", value.c_str(), "ap.ini"), 1);
    ASSERT_EQ(SysWriteProfileString("ゾ", "ア", value.c_str(), "ap.ini"), 1);
    ASSERT_EQ(SysWriteProfileString("ゾ", "ヂ", "second", "ap.ini"), 1);
    EXPECT_EQ(Get("NET", "NAME"), value);
    EXPECT_EQ(Get("ゾ", "ア"), value);
    EXPECT_EQ(Get("ゾ", "ヂ"), "second");
    std::string all;
    for (int b = 0x80; b <= 0xFF; ++b) all += char(b);
    ASSERT_EQ(SysWriteProfileString("PR", "p_RoboData", all.c_str(), "ap.ini"), 1);
    char buf[256];
    SysGetProfileString("PR", "p_RoboData", "", buf, sizeof buf, "ap.ini");
    EXPECT_EQ(std::string(buf), all);
}

TEST(IniWrite, SavesByRenamingATemporaryFile) {
    CTestFolder folder;
    WriteWholeFile("ap.ini", "[NET]\r\nIP=old\r\n");
    // A second name for the old file: a rewrite in place would change it too.
    ASSERT_EQ(link("ap.ini", "before.ini"), 0);
    ASSERT_EQ(SysWriteProfileString("NET", "IP", "new", "AP.INI"), 1);  // found without regard to case
    EXPECT_EQ(ReadWholeFile("before.ini"), "[NET]\r\nIP=old\r\n");
    EXPECT_EQ(ReadWholeFile("ap.ini"), "[NET]\r\nIP=new\r\n");
    EXPECT_EQ(access("AP.INI.tmp", F_OK), -1);
    EXPECT_EQ(access("AP.INI", F_OK), -1);
}

TEST(IniWrite, FailuresAreReportedAndLoseNothing) {
    CTestFolder folder;
    EXPECT_EQ(SysWriteProfileString("PR", "p_st_Name", "nemo", ".\\data\\dt.ini"), 0);
    EXPECT_EQ(access("data", F_OK), -1);
    // A file that exists but cannot be read is not replaced by one holding a single key.
    ASSERT_EQ(mkdir("ap.ini", 0777), 0);
    EXPECT_EQ(SysWriteProfileString("NET", "IP", "x", "ap.ini"), 0);
    struct stat st;
    ASSERT_EQ(stat("ap.ini", &st), 0);
    EXPECT_TRUE(S_ISDIR(st.st_mode));
    EXPECT_EQ(Get("NET", "IP"), "DEF");
}
