// A seventh game against a full relay: a host and five connections that only read hold the six
// slots, and the relay shuts the newcomer out. The newcomer's lobby goes on off line without an
// id, its "start" fails where the player sees it, and it leaves cleanly; the host notices nothing.
#include "netpeer_runner.h"
#include "sys_image.h"
#include "test_folder.h"

#include <gtest/gtest.h>

#include <memory>

namespace {


// The host: "ホスト" (one Down), then wait for the five readers, keep the tables as they are
// with the relay full, and again once the test says the newcomer has come and gone.
const std::string kHost = U8(u8R"(
wait 3
key Enter
key Down
key Enter
key Enter
until players 1 メインメニュー
mark joined
until conn 5 接続
wait 30
record
mark full
until file ../leave
wait 30
record
mark done
quit
)");

// The newcomer: "ＩＰ指定" 127.0.0.1, waits until the relay has turned it away, starts, and
// leaves from the menu it is sent back to.
const std::string kSeventh = U8(u8R"(
wait 3
key Enter
key Down
key Down
key Enter
key Enter
until state メインメニュー
until file ../refused
wait 30
record
key Down
key Enter
wait 20
picture ../offline.png
mark failed
wait 10
quit
)");

// Pixels of the panel's connection label ("ON LINE" or "OFF LINE", top middle) that are mostly
// red and mostly blue: the label's two colours.
struct LabelColours {
    int red = 0, blue = 0;
};
LabelColours CountLabelColours(const SysImage& image) {
    LabelColours c;
    for (int y = 0; y < 20 && y < image.height; ++y)
        for (int x = 290; x < 420 && x < image.width; ++x) {
            const uint32_t p = image.argb[(size_t)y * image.width + x];
            const int r = (p >> 16) & 0xff, g = (p >> 8) & 0xff, b = p & 0xff;
            if (r > 150 && r > b + 80 && r > g + 80) ++c.red;
            if (b > 150 && b > r + 80 && b > g + 80) ++c.blue;
        }
    return c;
}

// The slot rows of a peer's last "record" before the given line.
std::vector<std::string> RecordBefore(const std::vector<std::string>& out, int line, const std::string& kind) {
    std::vector<std::string> rows;
    for (int i = 0; i < line; ++i)
        if (out[i].find(" " + kind + " ") != std::string::npos) rows.push_back(out[i].substr(out[i].find(' ')));
    return rows;
}

TEST(NetPlay, SeventhGameIsTurnedAwayAndGoesOnOffLine) {
    E2eWorld world;
    ASSERT_TRUE(world.Start());
    E2eProcess host("HOST"), seventh("SEVENTH");
    ASSERT_TRUE(StartNetPeer(host, world, kHost));
    ASSERT_TRUE(WaitForLineWithinFrames(host, " mark joined", kJoinFrames)) << PeerReport(host) << world.Relay().Output();

    std::vector<std::unique_ptr<E2eReadingClient>> readers;
    for (int slot = 1; slot <= 5; ++slot) {
        readers.push_back(std::make_unique<E2eReadingClient>(world.Port()));
        ASSERT_TRUE(readers.back()->Connected()) << slot;
        ASSERT_TRUE(world.Relay().WaitForOutput("client[" + std::to_string(slot) + "] : 127.0.0.1"))
            << world.Relay().Output();
    }
    ASSERT_TRUE(WaitForLineWithinFrames(host, " mark full", kPartFrames)) << PeerReport(host);

    ASSERT_TRUE(StartNetPeer(seventh, world, kSeventh));
    EXPECT_TRUE(WaitWhilePeersRun(
        {&seventh}, [&] { return world.Relay().CountInOutput("error : max client") > 0; }, kJoinFrames,
        "the relay turning SEVENTH away"))
        << world.Relay().Output();
    seventh.WriteFile("refused", "");
    EXPECT_EQ(WaitForPeerExit(seventh), 0) << PeerReport(seventh);
    host.WriteFile("leave", "");
    EXPECT_EQ(WaitForPeerExit(host), 0) << PeerReport(host);

    // The relay: the refusal, no seventh slot, and the six connections still held.
    const std::string console = world.Relay().Output();
    EXPECT_EQ(world.Relay().CountInOutput("error : max client"), 1) << console;
    EXPECT_EQ(console.find("client[6]"), std::string::npos) << console;
    for (size_t i = 0; i < readers.size(); ++i) {
        EXPECT_FALSE(readers[i]->Closed()) << "reader in slot " << i + 1;
        EXPECT_NE(readers[i]->Received().find(">i" + std::to_string(i + 1)), std::string::npos)
            << "reader in slot " << i + 1 << " never got its own id";
    }

    // The newcomer: never an id, its start failed, off line on the screen.
    const std::vector<std::string> out = PeerOutput(seventh);
    const std::vector<std::string> ids = LinesWith(out, " id ");
    ASSERT_FALSE(ids.empty()) << PeerReport(seventh);
    for (const std::string& line : ids) EXPECT_NE(line.find(" id -1"), std::string::npos) << line;
    EXPECT_LT(FindLine(out, U8(u8" state 戦闘失敗")), 0) << PeerReport(seventh);
    EXPECT_LT(FindLine(out, U8(u8" state 開始待ち")), 0) << PeerReport(seventh);
    EXPECT_LT(FindLine(out, " match "), 0) << PeerReport(seventh);
    EXPECT_GE(FindLine(out, " end script=1 limit=0"), 0) << PeerReport(seventh);
    EXPECT_NE(seventh.ReadFile("game/peer.log").find("start refused: no own id"), std::string::npos)
        << PeerReport(seventh);

    const std::string png = seventh.ReadFile("offline.png");
    SysImage picture;
    ASSERT_EQ(SysDecodeImage(png.data(), png.size(), &picture), 1) << "no picture of the newcomer";
    const LabelColours label = CountLabelColours(picture);
    EXPECT_GT(label.red, 20) << "the panel does not show OFF LINE";
    EXPECT_EQ(label.blue, 0) << "the panel shows ON LINE";
    EXPECT_TRUE(SavePicture(seventh.FilePath("offline.png"), "net_seventh_offline.png"));

    // The host: its id, its lobby and its tables as they were with the relay full.
    const std::vector<std::string> hostOut = PeerOutput(host);
    for (const std::string& line : LinesWith(hostOut, " id ")) {
        if (line.find(" id -1") != std::string::npos) continue;  // before the relay's reply
        EXPECT_NE(line.find(" id 0"), std::string::npos) << line;
    }
    const int full = FindLine(hostOut, " mark full"), done = FindLine(hostOut, " mark done");
    ASSERT_GT(full, 0) << PeerReport(host);
    ASSERT_GT(done, full) << PeerReport(host);
    const std::vector<std::string> before = RecordBefore(hostOut, full, "digest");
    const std::vector<std::string> after = RecordBefore(hostOut, done, "digest");
    ASSERT_EQ(before.size(), 1u) << PeerReport(host);
    ASSERT_EQ(after.size(), 2u) << PeerReport(host);
    EXPECT_EQ(after[1], before[0]) << PeerReport(host);
    const std::vector<std::string> slots = RecordBefore(hostOut, done, "slot");
    ASSERT_EQ(slots.size(), 12u) << PeerReport(host);
    EXPECT_NE(slots[6].find(U8(u8"name=HOST ")), std::string::npos) << slots[6];
    EXPECT_NE(slots[6].find(U8(u8"state=メインメニュー")), std::string::npos) << slots[6];
    for (int slot = 0; slot < 6; ++slot)
        EXPECT_NE(slots[6 + slot].find(U8(u8"conn=接続 ")), std::string::npos) << slots[6 + slot];
    EXPECT_EQ(FindLine(hostOut, " match "), -1) << PeerReport(host);
}

}  // namespace
