// What a lobby does with each message it receives: which status records each role takes, the
// checks that keep any program on the relay from writing out-of-range values into the tables,
// relay replies, notices, chat lines and the battle messages set aside for the battle.
#include "lobby_fixture.h"

#include "music.h"
#include "status_record.h"

namespace {

// Type 36 with a rifle, a build the menus produce; differs from the default in every byte.
const std::string kOtherCode = "\xA4\x80\x82\x80\x80\x80\x80\x80";

// A valid value per letter that differs from the construction defaults of slots 0 and 3.
std::string ValidValue(char letter) {
    switch (letter) {
        case 'r': return kOtherCode;
        case 'm': return "17";
        case 'p': return "4";
        case 'n': return "BOB";
        case 's': return "チャット入力中";
        case 'g': return "4";
        case 't': return "BL";
        case 'l': return "120";
        case 'b': return "6";
    }
    return "";
}

// The field a letter writes, as text, for one slot.
std::string Field(const CLobby& lobby, char letter, int slot) {
    switch (letter) {
        case 'r': return lobby.m_slotCodes[slot];
        case 'm': return std::to_string(lobby.m_stage);
        case 'p': return std::to_string(lobby.m_slotBattleIndex[slot]);
        case 'n': return lobby.m_slotNames[slot];
        case 's': return lobby.m_slotStates[slot];
        case 'g': return std::to_string(lobby.m_mode);
        case 't': return lobby.m_slotTeams[slot];
        case 'l': return std::to_string(lobby.m_timeLimit);
        case 'b': return std::to_string(lobby.m_fighters);
    }
    return "";
}

// Everything a status record can write, to see that a refused record changed nothing.
std::string Tables(const CLobby& lobby) {
    std::string all;
    for (int i = 0; i < kLobbySlots; ++i)
        all += lobby.m_slotCodes[i] + "|" + std::to_string(lobby.m_slotBattleIndex[i]) + "|" + lobby.m_slotNames[i] + "|" +
               lobby.m_slotStates[i] + "|" + lobby.m_slotTeams[i] + "|" + lobby.m_slotConnections[i] + "\n";
    return all + std::to_string(lobby.m_stage) + "|" + std::to_string(lobby.m_mode) + "|" +
           std::to_string(lobby.m_timeLimit) + "|" + std::to_string(lobby.m_fighters) + "|" +
           std::to_string(lobby.m_ownId);
}

// Host or client x sender 0 or 3 x nine letters x slot 0 or 3: sender 0 writes into every
// client and into the host only for slot 0; any other sender writes only into the host, and
// only a slot's robot, name, state and team.
TEST_F(LobbyTest, StatusRecordAcceptanceByRoleSenderLetterAndSlot) {
    CTestLink link;
    for (int host : {1, 0}) {
        for (int sender : {0, 3}) {
            for (char letter : std::string(kStatusLetters)) {
                for (int slot : {0, 3}) {
                    CLobby lobby(&link);
                    lobby.m_ownId = host ? 0 : 2;
                    const std::string before = Field(lobby, letter, slot);
                    Feed(lobby, ">g" + std::to_string(sender) + std::to_string(slot) + letter + ValidValue(letter));
                    bool taken;
                    if (sender == 0)
                        taken = !host || slot == 0;
                    else
                        taken = host && std::string("rnst").find(letter) != std::string::npos;
                    const std::string what = std::string(host ? "host" : "client") + " sender " +
                                             std::to_string(sender) + " letter " + letter + " slot " +
                                             std::to_string(slot);
                    ASSERT_NE(before, ValidValue(letter)) << what;
                    EXPECT_EQ(Field(lobby, letter, slot), taken ? ValidValue(letter) : before) << what;
                }
            }
        }
    }
}

struct RejectCase {
    const char* record;  // from the host (sender 0), into a client
    const char* logged;  // the reason in the log line
};

TEST_F(LobbyTest, OutOfRangeRecordsAreDroppedWholeAndLogged) {
    const std::string unknownType = "\x8A\x80\x80\x80\x80\x80\x80\x80";
    const std::string asciiByte = "\xA4\x80\x82\x80\x80\x80\x80" "A";
    const std::vector<std::pair<std::string, const char*>> cases = {
        {">g06nEVE", "status slot"},
        {">g09b4", "status slot"},
        {">g0", "short status record"},
        {">g01", "short status record"},
        {">g01x5", "status letter"},
        {">g01-5", "status letter"},
        {">g-1-1nEVE", "report before own id"},
        {">g01r" + unknownType, "robot code"},
        {">g01r" + asciiByte, "robot code"},
        {">g01r" + kOtherCode.substr(0, 7), "robot code"},
        {">g01r" + kOtherCode + "\x80", "robot code"},
        {">g01m0", "stage"},
        {">g01m7", "stage"},
        {">g01m13", "stage"},
        {">g01m15", "stage"},
        {">g01m18", "stage"},
        {">g01mx", "stage"},
        {">g01p-5", "battle index"},
        {">g01p6", "battle index"},
        {">g01p99999999999", "battle index"},
        {">g01g0", "mode"},
        {">g01g5", "mode"},
        {">g01l0", "time limit"},
        {">g01l-2", "time limit"},
        {">g01l1000", "time limit"},
        {">g01b0", "fighter count"},
        {">g01b7", "fighter count"},
        {">g01b99", "fighter count"},
        {">g01tCL", "team tag"},
        {">g01tA", "team tag"},
        {">g01tALX", "team tag"},
        {">g01t", "team tag"},
        {std::string(">g01nR\0W1", 9), "control byte in name"},
        {">g01n\x1b[2J", "control byte in name"},
        {">g01s\t", "control byte in state text"},
    };
    CTestLink link;
    for (const auto& [record, reason] : cases) {
        CLobby lobby(&link);
        lobby.m_ownId = 2;
        const std::string before = Tables(lobby);
        ResetNetDropLog();
        const size_t logBefore = driver.Log().size();
        Feed(lobby, record);
        EXPECT_EQ(Tables(lobby), before) << record;
        EXPECT_NE(driver.Log().find(std::string("net: dropped ") + reason + ": >g", logBefore), std::string::npos)
            << record << "\n" << driver.Log().substr(logBefore);
    }
}

// Every value the menus produce is taken.
TEST_F(LobbyTest, EveryMenuValuePasses) {
    CTestLink link;
    CLobby lobby(&link);
    lobby.m_ownId = 1;
    const struct {
        char letter;
        std::vector<std::string> values;
    } cases[] = {
        {'m', {"1", "2", "3", "4", "5", "6", "14", "17"}},
        {'p', {"0", "1", "2", "3", "4", "5"}},
        {'g', {"1", "2", "3", "4"}},
        {'l', {"-1", "60", "90", "120", "1", "999"}},
        {'b', {"1", "2", "3", "4", "5", "6"}},
        {'t', {"AL", "BL", "AM", "BM"}},
        {'s', {"", "メインメニュー", "開始待ち", "戦闘拒否", "戦闘中", "人数選択中"}},
        {'n', {"", "CPU3", "ＡＢＣ", "名前"}},
        {'r', {DefaultBuildCode(), kOtherCode, "\x89\x87\x8C\xFF\xFF\xFF\xFF\xFF", "\xA1\x80\x80\x80\x80\x80\x80\x80",
               "\x9F\x80\x80\x80\x80\x80\x80\x80", "\xA0\x80\x80\x80\x80\x80\x80\x80", "\xA1\x80\x80\x80\x80\x80\x80\x80"}},
    };
    for (const auto& c : cases)
        for (const std::string& v : c.values) {
            Feed(lobby, ">g04" + std::string(1, c.letter) + v);
            EXPECT_EQ(Field(lobby, c.letter, 4), v) << c.letter << " " << v;
        }
}

TEST_F(LobbyTest, NamesAndStatesAreCutToSixtyFourBytesAtACharacterStart) {
    CTestLink link;
    CLobby lobby(&link);
    lobby.m_ownId = 1;
    const std::string ascii(100, 'n');
    const std::string kana = "a" + std::string("\x82\xa0\x82\xa0\x82\xa0\x82\xa0\x82\xa0\x82\xa0\x82\xa0\x82\xa0"
                                               "\x82\xa0\x82\xa0\x82\xa0\x82\xa0\x82\xa0\x82\xa0\x82\xa0\x82\xa0"
                                               "\x82\xa0\x82\xa0\x82\xa0\x82\xa0\x82\xa0\x82\xa0\x82\xa0\x82\xa0"
                                               "\x82\xa0\x82\xa0\x82\xa0\x82\xa0\x82\xa0\x82\xa0\x82\xa0\x82\xa0");
    Feed(lobby, ">g03n" + ascii);
    EXPECT_EQ(lobby.m_slotNames[3], ascii.substr(0, 64));
    Feed(lobby, ">g03s" + kana);
    EXPECT_EQ(lobby.m_slotStates[3], kana.substr(0, 63));  // the 64th byte would split a character
}

TEST_F(LobbyTest, OwnIdOnlyFromASlotNumber) {
    const struct {
        const char* message;
        int id;
    } cases[] = {
        {">i0", 0}, {">i3", 3}, {">i5", 5}, {">i6", -1}, {">i9", -1}, {">i-1", -1},
        {">i99999999999999", -1}, {">i-99999999999999", -1}, {">iabc", 0}, {">i 4", 4},
    };
    CTestLink link;
    for (const auto& c : cases) {
        CLobby lobby(&link);
        Feed(lobby, c.message);
        EXPECT_EQ(lobby.m_ownId, c.id) << c.message;
    }
    EXPECT_NE(driver.Log().find("net: dropped own id: >i6"), std::string::npos) << driver.Log();
}

TEST_F(LobbyTest, ConnectionFlagsMissingSlotsReadNotConnected) {
    const std::string on = "接続", off = "未接続";
    const struct {
        const char* body;
        std::vector<std::string> expected;
    } cases[] = {
        {"tftfff", {on, off, on, off, off, off}},
        {"tttttt", {on, on, on, on, on, on}},
        {"tt", {on, on, off, off, off, off}},
        {"", {off, off, off, off, off, off}},
        {"tTxftttt", {on, off, off, off, on, on}},
    };
    CTestLink link;
    CLobby lobby(&link);
    for (const auto& c : cases) {
        Feed(lobby, std::string(">l") + c.body);
        for (int i = 0; i < kLobbySlots; ++i) EXPECT_EQ(lobby.m_slotConnections[i], c.expected[i]) << c.body << " " << i;
    }
}

TEST_F(LobbyTest, ChatLinesShowInTheirColourAndCutAtACharacterStart) {
    CTestLink link;
    CLobby lobby(&link);
    Feed(lobby, ">mVer0.18.5");
    Feed(lobby, ">mBOB:hello");
    EXPECT_EQ(lobby.m_chat.m_lines[0], "Ver0.18.5");
    EXPECT_EQ(lobby.m_chat.m_colors[0], 0x99ffff55u);
    EXPECT_EQ(lobby.m_chat.m_lines[1], "BOB:hello");
    EXPECT_EQ(lobby.m_chat.m_colors[1], 0x99ddddffu);
    EXPECT_TRUE(lobby.m_cue1.IsPlaying());
    // 255 single bytes and a two-byte character: the character would end past 256.
    const std::string longLine = std::string(255, 'z') + "\x82\xa0" + std::string(50, 'y');
    Feed(lobby, ">m" + longLine);
    EXPECT_EQ(lobby.m_chat.m_lines[2], std::string(255, 'z'));
    EXPECT_NE(driver.Log().find("net: dropped chat line over 256 bytes: "), std::string::npos);
    Feed(lobby, ">m" + std::string(256, 'q'));
    EXPECT_EQ(lobby.m_chat.m_lines[3], std::string(256, 'q'));
    // A line with a control byte is dropped whole: a zero would cut the saved chat log there.
    Feed(lobby, std::string(">mEVE:a\0b", 10));
    EXPECT_EQ(lobby.m_chat.m_currentLine, 4);
    EXPECT_EQ(lobby.m_chat.m_lines[4], "");
    EXPECT_NE(driver.Log().find("net: dropped control byte in chat line: >mEVE:a\\x00b"), std::string::npos);
}

TEST_F(LobbyTest, NoticesAndBattleMessages) {
    CTestLink link;
    CLobby lobby(&link);
    lobby.m_ownId = 1;
    // Battle start turns only a waiting state into the battle.
    for (const char* state : {"戦闘拒否", "メインメニュー", ""}) {
        lobby.m_ownState = state;
        Feed(lobby, ">tb-start");
        EXPECT_EQ(lobby.m_ownState, state);
    }
    // Key records and end requests are kept only from this game's own start until its match
    // ends, not held for later: a join's greeting during the wait ends no match, one after the
    // start ends it.
    lobby.m_ownState = "開始待ち";
    Feed(lobby, ">tb-end>tb-start");
    EXPECT_EQ(lobby.m_ownState, "戦闘中");
    EXPECT_EQ(lobby.m_battleInbox, "");
    Feed(lobby, ">c1000000000000>tc42>tb-end>tx>tcc");
    EXPECT_EQ(lobby.m_battleInbox, ">c1000000000000>tc42>tb-end>tcc");
    lobby.m_battleInbox.clear();
    lobby.m_ownState = "終了待ち";
    Feed(lobby, ">c1000000000000>tc43>tb-end");
    EXPECT_EQ(lobby.m_battleInbox, ">tc43");
    // A player's arrival: the jingle once and the blinking panel.
    Feed(lobby, ">tp-new");
    EXPECT_EQ(lobby.m_noticeTimer, 150);
    EXPECT_NE(std::string(GetLoadedMidiName()).find("j1_intro.mid"), std::string::npos);
    lobby.m_noticeTimer = 0;
    Feed(lobby, ">tp-dell");
    EXPECT_EQ(lobby.m_noticeTimer, 150);
    EXPECT_NE(std::string(GetLoadedMidiName()).find("j2_end.mid"), std::string::npos);
    // Requests nobody rewrote, and any other tag, change nothing.
    const std::string before = Tables(lobby);
    Feed(lobby, ">I->L------>zzz>x");
    EXPECT_EQ(Tables(lobby), before);
}

TEST_F(LobbyTest, HostCountsPlayersOnNotices) {
    CTestLink link;
    CLobby host(&link);
    host.m_ownId = 0;
    for (int i = 0; i < kLobbySlots; ++i) host.m_slotNames[i] = std::string(1, 'P').append(std::to_string(i));
    Feed(host, ">ltftfff");
    Feed(host, ">tp-new");
    // The count resets every slot that is not connected to a waiting CPU.
    EXPECT_EQ(host.m_slotNames[0], "P0");
    EXPECT_EQ(host.m_slotNames[1], "CPU");
    EXPECT_EQ(host.m_slotConnections[1], "待ち");
    EXPECT_EQ(host.m_slotConnections[2], "接続");
    EXPECT_TRUE(host.m_cue2.IsPlaying());
    // A client neither counts nor plays the arrival cue.
    CLobby client(&link);
    client.m_ownId = 1;
    Feed(client, ">ltftfff");
    Feed(client, ">tp-new");
    EXPECT_EQ(client.m_slotConnections[1], "未接続");
    EXPECT_FALSE(client.m_cue2.IsPlaying());
}

TEST_F(LobbyTest, ReceiveRemainderOverTheCapIsDiscarded) {
    CTestLink link;
    CLobby lobby(&link);
    lobby.m_ownId = 1;
    link.m_inbound = ">g01nAMY>m" + std::string(70000, 'x');
    for (int frame = 0; frame < 80; ++frame) {
        lobby.ReceiveNet();
        lobby.DispatchNet();
        EXPECT_LE(lobby.m_recvBuffer.size(), kNetTextCap);
    }
    EXPECT_EQ(lobby.m_slotNames[1], "AMY");
    EXPECT_NE(driver.Log().find("net: dropped unfinished text over 64 KiB: >mxxxx"), std::string::npos);
    // What follows the discarded text is read again once the next message begins.
    link.m_inbound = "xxxx>g01nBEN>";
    lobby.ReceiveNet();
    lobby.DispatchNet();
    EXPECT_EQ(lobby.m_slotNames[1], "BEN");
}

}  // namespace
