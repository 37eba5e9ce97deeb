// ".\ap.ini": defaults, the exact bytes of a save, and everything a save must leave alone.
#include "settings.h"
#include "test_folder.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace {

const char kFreshSave[] =
    "[NET]\r\nIP=127.0.0.1\r\nNAME=\r\nMSG=\r\nHostPort= 5963\r\nGestPort= 5963\r\n"
    "[GMP]\r\nViewType=    9\r\np_Graphics=    3\r\n"
    "[KEY]\r\n"
    "Key0= 17\r\nJoy0=  0\r\nKey1= 31\r\nJoy1=  1\r\nKey2= 30\r\nJoy2=  2\r\nKey3= 32\r\nJoy3=  3\r\n"
    "Key4= 16\r\nJoy4= 10\r\nKey5= 18\r\nJoy5= 11\r\nKey6= 33\r\nJoy6=  6\r\nKey7= 20\r\nJoy7=  7\r\n"
    "Key8= 21\r\nJoy8=  9\r\nKey9= 19\r\nJoy9= 13\r\nKey10= 57\r\nJoy10=  8\r\nKey11= 34\r\nJoy11= 12\r\n";

}  // namespace

TEST(Settings, MissingFileGivesDefaultsAndQuickChatErr) {
    CTestFolder folder;
    CSettings s;
    EXPECT_EQ(s.m_ip, "127.0.0.1");
    EXPECT_EQ(s.m_name, "");
    EXPECT_EQ(s.m_msg, "");
    EXPECT_EQ(s.m_hostPort, 5963);
    EXPECT_EQ(s.m_gestPort, 5963);
    for (const std::string& q : s.m_quickChat) EXPECT_EQ(q, "err");
    const int keys[12] = {17, 31, 30, 32, 16, 18, 33, 20, 21, 19, 57, 34};
    const int joys[12] = {0, 1, 2, 3, 10, 11, 6, 7, 9, 13, 8, 12};
    for (int i = 0; i < kPadButtonCount; ++i) {
        EXPECT_EQ(s.m_values[kValueKey0 + i], keys[i]) << i;
        EXPECT_EQ(s.m_values[kValueJoy0 + i], joys[i]) << i;
    }
    EXPECT_EQ(s.m_values[kValueViewType], 9);
    EXPECT_EQ(s.m_values[kValuePlayBuff], 3);
    EXPECT_EQ(s.m_values[kValueGraphics], 3);
}

TEST(Settings, FreshSaveWritesTheExactBytes) {
    CTestFolder folder;
    CSettings s;
    ASSERT_EQ(s.Save(), 1);
    EXPECT_EQ(ReadWholeFile("ap.ini"), kFreshSave);
}

TEST(Settings, RoundTripAndKeysNeverWrittenSurvive) {
    CTestFolder folder;
    WriteWholeFile("ap.ini",
                   "; hand-edited\r\n[QM]\r\nF5=ok \r\nIN=hello\r\nEND=bye\r\n"
                   "[NET]\r\nPlayBuff=7\r\nFavourite=keep\r\n");
    CSettings s;
    EXPECT_EQ(s.m_quickChat[kQuickF5], "ok");
    EXPECT_EQ(s.m_quickChat[kQuickF6], "err");
    EXPECT_EQ(s.m_quickChat[kQuickIn], "hello");
    EXPECT_EQ(s.m_quickChat[kQuickEnd], "bye");
    EXPECT_EQ(s.m_values[kValuePlayBuff], 7);
    s.m_ip = "192.168.0.7";
    s.m_name = "名前ソ表";  // second bytes '\'
    s.m_msg = "line one\r\nline two";
    s.m_hostPort = 6000;
    s.m_values[kValueKey0 + 11] = 200;
    s.m_values[kValueJoy0 + 3] = 5;
    s.m_values[kValueViewType] = 12;
    s.m_values[kValueGraphics] = 1;
    s.m_values[kValuePlayBuff] = 1;  // never written
    ASSERT_EQ(s.Save(), 1);

    const std::string text = ReadWholeFile("ap.ini");
    EXPECT_EQ(text.rfind("; hand-edited\r\n[QM]\r\nF5=ok \r\nIN=hello\r\nEND=bye\r\n[NET]\r\nPlayBuff=7\r\nFavourite=keep\r\n", 0),
              0u);
    EXPECT_NE(text.find("HostPort= 6000\r\n"), std::string::npos);
    EXPECT_NE(text.find("Key11=200\r\n"), std::string::npos);

    CSettings t;
    EXPECT_EQ(t.m_ip, "192.168.0.7");
    EXPECT_EQ(t.m_name, "名前ソ表");
    EXPECT_EQ(t.m_msg, "line oneline two");  // the file kept its lines
    EXPECT_EQ(t.m_hostPort, 6000);
    EXPECT_EQ(t.m_gestPort, 5963);
    EXPECT_EQ(t.m_values[kValueKey0 + 11], 200);
    EXPECT_EQ(t.m_values[kValueJoy0 + 3], 5);
    EXPECT_EQ(t.m_values[kValueViewType], 12);
    EXPECT_EQ(t.m_values[kValueGraphics], 1);
    EXPECT_EQ(t.m_values[kValuePlayBuff], 7);
    EXPECT_EQ(t.m_quickChat[kQuickF5], "ok");
}

TEST(Settings, NumbersReadLikeAtolAndMissingBindingsKeepTheirValue) {
    CTestFolder folder;
    WriteWholeFile("ap.ini", "[KEY]\nKey0=abc\nJoy0=  12xyz\nKey1=\n[GMP]\nViewType=-3\n[NET]\nHostPort=\n");
    CSettings s;
    EXPECT_EQ(s.m_values[kValueKey0], 0);      // no number
    EXPECT_EQ(s.m_values[kValueJoy0], 12);     // leading digits
    EXPECT_EQ(s.m_values[kValueKey0 + 1], 0);  // present but empty
    EXPECT_EQ(s.m_values[kValueKey0 + 2], 30);
    EXPECT_EQ(s.m_values[kValueViewType], -3);
    EXPECT_EQ(s.m_hostPort, 0);
    // Load again after changing a binding in memory: an absent key keeps the new value,
    // while an absent NET or GMP key returns to its fixed default.
    s.m_values[kValueKey0 + 5] = 99;
    s.m_values[kValueGraphics] = 1;
    s.Load();
    EXPECT_EQ(s.m_values[kValueKey0 + 5], 99);
    EXPECT_EQ(s.m_values[kValueGraphics], 3);
}

TEST(Settings, UnreadableFileIsNotOverwritten) {
    CTestFolder folder;
    ASSERT_EQ(mkdir("ap.ini", 0777), 0);
    CSettings s;
    EXPECT_EQ(s.m_hostPort, 5963);
    EXPECT_EQ(s.Save(), 0);
}
