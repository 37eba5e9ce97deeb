// Three games as separate processes on the real relay, each a zau_netpeer in its own folder
// with a script: they join (one as host, two by address), fail to start with too few fighters,
// see a cancelled start hold the others back, and fight a match that F4 on the host ends; all
// come back to the main menu with the same tables.
#include "netpeer_runner.h"
#include "test_folder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

// Every wait counts the games' own frames, so a busy machine makes the test slower, never failed;
// a game whose script gets stuck ends itself at its frame limit.
constexpr int kPeerFrames = 9000;

// The part of a line after its frame number.
std::string Body(const std::string& line) {
    const size_t space = line.find(' ');
    return space == std::string::npos ? line : line.substr(space + 1);
}

// Every game: name and connection screens, then the phases, kept in step by what each lobby
// shows and by chat lines, never by frame counts (the games run at their own speeds). The main
// menu opens on "message", so "start" is one line down; the host's " set number" eight.
const std::string kJoin = U8(u8R"(
wait 3
key Enter
key Down
%CONNECT%
key Enter
until players 3 メインメニュー
record
mark joined
)");

// A client: says it is ready, starts once the host waits, and gets past a start wait that the
// host's failure report reached before its "戦闘中" did (the wait then lasts until a cancel).
const std::string kClientFailedStart = U8(u8R"(
key Enter
until state チャット入力中
wait 3
type ready
wait 3
key Enter
until state メインメニュー
until slot 0 開始待ち
key Down
key Enter
until chat ERR03
wait 30
keyif 開始待ち Enter
until state メインメニュー
mark failed
key Enter
until state チャット入力中
wait 3
type back
wait 3
key Enter
until state メインメニュー
)");

const std::string kClientMatch = U8(u8R"(
until fighters 6
until slot 0 開始待ち
key Down
key Enter
until state 戦闘中
until state 終了待ち
until state メインメニュー
record
mark done
until chat HOST:done
quit
)");

const std::string kHostScript = U8(u8R"(
until chat ONE:ready
until chat TWO:ready
key Down
key Enter
until chat ERR03
until state メインメニュー
mark failed
until chat ONE:back
until chat TWO:cancelled
key Down
key Enter
until state 開始待ち
wait 30
mark held
key Enter
until state メインメニュー
key Down
key Down
key Down
key Down
key Down
key Down
key Down
key Down
key Enter
until state 人数選択中
key Down
key Down
key Enter
until state メインメニュー
mark six
key Down
key Enter
until state 戦闘中
until step %F4STEP%
down F4
until phase 99
up F4
until state 終了待ち
until state メインメニュー
record
mark done
key Enter
until state チャット入力中
wait 3
type done
wait 3
key Enter
until state メインメニュー
wait 30
quit
)");

const std::string kTwoCancels = U8(u8R"(
key Down
key Enter
until state 開始待ち
wait 10
key Enter
until state メインメニュー
mark cancelled
key Enter
until state チャット入力中
wait 3
type cancelled
wait 3
key Enter
until state メインメニュー
)");

// Every game must show the match's first hundred steps: the host ends it past them by the most
// another game's last step can fall short of its own in a match that runs in step (nobody
// catching up after a pause). Each game ends on the step it stands at when the end request
// reaches it, and the first to read it sends no key record after, so nobody steps past that
// game's records: it may have sent up to 3 more than it stepped (the PlayBuff margin), and 2 a
// frame for the frames its keys spend going to the relay and coming back, on a busy machine up
// to 3: 3 + 2 x 3.
constexpr int kMatchSteps = 100;
constexpr int kEndStepSpread = 9;

std::string Script(const char* connect, const std::string& rest) {
    return Fill(Fill(kJoin, "CONNECT", connect) + rest, "F4STEP", std::to_string(kMatchSteps + kEndStepSpread));
}

TEST(LobbyPeers, ThreeGamesJoinFailCancelFightAndComeBack) {
    E2eWorld world;
    ASSERT_TRUE(world.Start());

    // The host: "ホスト" and the message; the clients: "ＩＰ指定" and the address 127.0.0.1.
    E2eProcess host("HOST"), one("ONE"), two("TWO");
    const SPeerOptions options{true, false, kPeerFrames};
    ASSERT_TRUE(StartNetPeer(host, world, Script("key Enter", kHostScript), options));
    ASSERT_TRUE(WaitForLineWithinFrames(host, " id 0", kPeerFrames)) << PeerReport(host) << world.Relay().Output();
    ASSERT_TRUE(StartNetPeer(one, world, Script("key Down\nkey Enter", kClientFailedStart + kClientMatch), options));
    ASSERT_TRUE(WaitForLineWithinFrames(one, " id 1", kPeerFrames)) << PeerReport(one) << world.Relay().Output();
    ASSERT_TRUE(StartNetPeer(two, world, Script("key Down\nkey Enter", kClientFailedStart + kTwoCancels + kClientMatch),
                             options));

    E2eProcess* peers[3] = {&host, &one, &two};
    for (E2eProcess* p : peers) {
        EXPECT_TRUE(WaitForLineWithinFrames(*p, " end script=", kPeerFrames));
        WaitForPeerExit(*p);
    }
    bool allDone = true;
    for (E2eProcess* p : peers) {
        EXPECT_EQ(p->Poll(), 0) << PeerReport(*p);
        allDone = allDone && p->Poll() == 0;
    }
    ASSERT_TRUE(allDone) << "relay:\n" << world.Relay().Output();

    std::vector<std::string> out[3];
    for (int i = 0; i < 3; ++i) out[i] = PeerOutput(*peers[i]);

    // Joined: ids 0, 1, 2, every table equal to the host's, the greetings of everyone who came
    // later in each chat.
    std::string joinedDigest[3];
    for (int i = 0; i < 3; ++i) {
        EXPECT_GE(FindLine(out[i], " id " + std::to_string(i)), 0) << PeerReport(*peers[i]);
        const int mark = FindLine(out[i], " mark joined");
        ASSERT_GT(mark, 0);
        const std::vector<std::string> before(out[i].begin(), out[i].begin() + mark);
        const std::vector<std::string> digests = LinesWith(before, " digest ");
        ASSERT_FALSE(digests.empty());
        joinedDigest[i] = Body(digests.back());
        for (int j = i; j < 3; ++j)
            EXPECT_GE(FindLine(out[i], " chat " + peers[j]->Name() + ":hi from " + peers[j]->Name()), 0)
                << peers[i]->Name() << " lacks the greeting of " << peers[j]->Name();
        EXPECT_GE(FindLine(out[i], " chat Ver0.18.5"), 0);
    }
    EXPECT_EQ(joinedDigest[1], joinedDigest[0]) << PeerReport(one) << PeerReport(host);
    EXPECT_EQ(joinedDigest[2], joinedDigest[0]) << PeerReport(two) << PeerReport(host);
    // The host's own relay copy met the running one and ended without a word.
    EXPECT_EQ(world.Relay().CountInOutput("client[0]"), 1) << world.Relay().Output();

    // Two fighters for three players: the host's errors in every chat and its failed start,
    // after which it is back in the main menu. A client whose start wait saw the host's failure
    // before everybody's "戦闘中" waits on until its player cancels, as the lobby's rules have
    // it; otherwise it failed the same way. The failure is told in the chat alone: no game ever
    // shows "戦闘失敗", its own or in a slot.
    for (int i = 0; i < 3; ++i) {
        const int joined = FindLine(out[i], " mark joined");
        const int err10 = FindLine(out[i], " chat ERR10", joined), err03 = FindLine(out[i], " chat ERR03", joined);
        EXPECT_GT(err10, joined) << peers[i]->Name();
        EXPECT_GT(err03, err10) << peers[i]->Name();
        const int started = FindLine(out[i], U8(u8" state 戦闘中"), joined);
        const int back = FindLine(out[i], U8(u8" state メインメニュー"), started);
        const int cancelled = FindLine(out[i], U8(u8" state 戦闘拒否"), joined);
        const int mark = FindLine(out[i], " mark failed");
        EXPECT_TRUE((started > joined && back > started && back < mark) ||
                    (i > 0 && cancelled > joined && cancelled < mark))
            << PeerReport(*peers[i]);
        EXPECT_LT(FindLine(out[i], U8(u8"戦闘失敗")), 0) << PeerReport(*peers[i]);
    }
    const int hostStarted = FindLine(out[0], U8(u8" state 戦闘中"), FindLine(out[0], " mark joined"));
    EXPECT_GT(hostStarted, FindLine(out[0], " mark joined"));
    EXPECT_LT(hostStarted, FindLine(out[0], " mark failed"));

    // A cancelled start: TWO went back to its menu, and the host, alone in its wait, never
    // started until the six-fighter match.
    const int twoFailed = FindLine(out[2], " chat TWO:back");
    const int refused = FindLine(out[2], U8(u8" state 戦闘拒否"), twoFailed);
    EXPECT_GT(refused, twoFailed);
    EXPECT_GT(FindLine(out[2], " mark cancelled", refused), refused);
    const int held = FindLine(out[0], " mark held");
    EXPECT_GT(held, 0);
    const int hostBattle = FindLine(out[0], U8(u8" state 戦闘中"), FindLine(out[0], " mark failed"));
    EXPECT_GT(hostBattle, FindLine(out[0], " mark six")) << PeerReport(host);

    // The match: six robots, the same world step after step, ended by F4 with result 99, then
    // the wait after the battle and the main menu, with the CPU slots renamed.
    std::vector<std::string> steps[3];
    for (int i = 0; i < 3; ++i) {
        EXPECT_GE(FindLine(out[i], " match robots=6 own=" + std::to_string(i) + " local=" + std::to_string(i)), 0)
            << PeerReport(*peers[i]);
        const int result = FindLine(out[i], " result 99 ");
        EXPECT_GT(result, 0) << PeerReport(*peers[i]);
        const int after = FindLine(out[i], U8(u8" state 終了待ち"), result);
        EXPECT_GT(after, result);
        EXPECT_GT(FindLine(out[i], U8(u8" state メインメニュー"), after), after);
        const int done = FindLine(out[i], " mark done");
        ASSERT_GT(done, 0);
        for (int s = 3; s < 6; ++s)
            EXPECT_GE(FindLine(out[i], " slot " + std::to_string(s) + " name=CPU" + std::to_string(s), after), after)
                << peers[i]->Name() << " slot " << s;
        steps[i] = StepLines(out[i]);
        EXPECT_GE(steps[i].size(), (size_t)kMatchSteps) << peers[i]->Name();
    }
    for (int i = 1; i < 3; ++i) {
        const size_t n = std::min(steps[i].size(), steps[0].size());
        for (size_t s = 0; s < n; ++s) ASSERT_EQ(steps[i][s], steps[0][s]) << peers[i]->Name();
    }
}

}  // namespace
