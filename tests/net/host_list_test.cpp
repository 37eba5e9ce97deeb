// Reading hosts back from the chat page: the version filter, the first announcement of an
// address, the thirty-entry limit, withdrawn hosts, malformed lines, and EUC-JP to Shift-JIS.
#include "host_list.h"

#include "fake_chat_page.h"
#include "test_folder.h"

#include <gtest/gtest.h>

namespace {

std::string Post(const std::string& address, const std::string& text) {
    return "<b>" + address + "</b>\n > " + CFakeChatPage::SjisToEuc(text) + " <font size=1>(12/08 14:05)</font><br>\n";
}

class HostListTest : public ::testing::Test {
protected:
    CTestFolder folder;
    CHostList Parse(const std::string& page) {
        WriteWholeFile("page.txt", page);
        CHostList list;
        list.m_versionFilter = "0.18.5";
        list.Parse("page.txt");
        return list;
    }
};

TEST_F(HostListTest, KeepsThisVersionAndTheFirstOfEachAddress) {
    std::string page = "HTTP/1.0 200 OK\r\n\r\n<html>\n";
    page += Post("10.0.0.1", "2:ALICE[ZAU-0.18.5-5963-8-14:5]come in");
    page += Post("10.0.0.2", "1:OLD[ZAU-0.18.4-5963-8-14:5]old version");
    page += Post("10.0.0.3", "1:OTHER[XYZ-0.18.5-5963-8-14:5]other game");
    page += Post("10.0.0.1", "3:ALICE[ZAU-0.18.5-6000-8-13:5]an older post");
    page += Post("10.0.0.4", "0:GONE[ZAU-0.18.5-7000-8-13:0]withdrawn");
    page += Post("10.0.0.5", "1:名前[ZAU-0.18.5-5964-8-12:0]ﾒｯｾｰｼﾞ");
    CHostList list = Parse(page);
    ASSERT_EQ(list.m_lastIndex, 2);
    EXPECT_EQ(list.m_addresses[0], "10.0.0.1");
    EXPECT_EQ(list.m_ports[0], 5963);
    EXPECT_EQ(list.m_texts[0], "2/6:ALICEcome in");
    EXPECT_EQ(list.m_addresses[1], "10.0.0.4");
    EXPECT_EQ(list.m_texts[1], "0/6:GONEwithdrawn");
    EXPECT_EQ(list.m_ports[1], 7000);
    EXPECT_EQ(list.m_texts[2], "1/6:名前ﾒｯｾｰｼﾞ");
    EXPECT_EQ(list.m_ports[2], 5964);
    EXPECT_EQ(list.m_ports[3], 5963);  // free
    EXPECT_EQ(list.m_addresses[3], "");
}

TEST_F(HostListTest, ThirtyFirstAddressReplacesTheLastEntry) {
    std::string page;
    for (int i = 1; i <= 32; ++i)
        page += Post("10.0.1." + std::to_string(i), "1:H" + std::to_string(i) + "[ZAU-0.18.5-" + std::to_string(6000 + i) + "-1-1:1]");
    CHostList list = Parse(page);
    EXPECT_EQ(list.m_lastIndex, 29);
    EXPECT_EQ(list.m_addresses[0], "10.0.1.1");
    EXPECT_EQ(list.m_addresses[28], "10.0.1.29");
    EXPECT_EQ(list.m_addresses[29], "10.0.1.32");
    EXPECT_EQ(list.m_ports[29], 6032);
}

TEST_F(HostListTest, MalformedLinesNeverCrash) {
    std::string page;
    page += "<b>10.0.2.1</b>\n > \n";
    page += "<b>10.0.2.2</b>\n > 1\n";
    page += "<b>10.0.2.3\n > 1:X[ZAU-0.18.5-99999-1-1:1]too high <font>\n";
    page += "<b>10.0.2.4</b>\n > 1:X[ZAU-0.18.5-0-1-1:1]zero <font>\n";
    page += "<b>10.0.2.5</b>\n > 1:X[ZAU-0.18.5\n";
    page += "<b>10.0.2.6</b>\n > 1:X[ZAU\n";
    page += "<b>10.0.2.7</b>\n > 1:[ZAU-0.18.5-5000]\n";
    page += " > 1:NOADDR[ZAU-0.18.5-5001-1-1:1]no address line before\n";
    page += "<b></b>\n > 1:EMPTY[ZAU-0.18.5-5002-1-1:1]\n";
    page += "<b>10.0.2.8</b>\n > 1:LAST[ZAU-0.18.5-5003-1-1:1]ok\xA4";
    CHostList list = Parse(page);
    // Only the well-formed announcements with a usable port and an address are listed.
    ASSERT_EQ(list.m_lastIndex, 1);
    EXPECT_EQ(list.m_addresses[0], "10.0.2.7");
    EXPECT_EQ(list.m_ports[0], 5000);
    EXPECT_EQ(list.m_addresses[1], "10.0.2.8");
    EXPECT_EQ(list.m_texts[1], "1/6:LASTok");
    CHostList empty = Parse("");
    EXPECT_EQ(empty.m_lastIndex, -1);
}

// A name and a message of any length each come out at most 64 bytes, never split inside a
// character.
TEST_F(HostListTest, LongNamesAndMessagesAreCutAtACharacterStart) {
    std::string kana;
    for (int i = 0; i < 40000; ++i) kana += "あ";
    CHostList list = Parse(Post("10.0.3.1", "1:" + std::string(200000, 'N') + "[ZAU-0.18.5-5963-1-1:1]x" + kana));
    ASSERT_EQ(list.m_lastIndex, 0);
    EXPECT_EQ(list.m_texts[0], "1/6:" + std::string(64, 'N') + "x" + kana.substr(0, 62));
}

TEST(EucToSjisTest, Vectors) {
    const struct {
        std::string euc, sjis;
    } cases[] = {
        {"\xA4\xA2", "\x82\xA0"},
        {"\x8E\xB1", "\xB1"},
        {"abc XYZ 019", "abc XYZ 019"},
        {"\xF0\xA1", "\xE8\x9F"},
        {"\xB4\xC1\xBB\xFA", "\x8A\xBF\x8E\x9A"},
        {"a\xA4", "a"},      // a lone lead byte at the end
        {"a\x8E", "a"},      // a half-width prefix at the end
        {"\xA4\xA2\xA4", "\x82\xA0"},
        {"", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(EucToSjis(c.euc), c.sjis);
    // The fake page's own conversion is its inverse over JIS X 0208 and half-width katakana.
    const std::string text = "名前ﾃｽﾄ漢字テスト、。ー";
    EXPECT_EQ(EucToSjis(CFakeChatPage::SjisToEuc(text)), text);
}

}  // namespace
