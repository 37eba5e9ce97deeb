// A whole match as three players play it, paced by the real clock: a host that announces itself,
// a client that picks it from the host list, a client that types the address and takes team B.
// The host sets four fighters, sixty seconds and the dome; a chat line that looks like an end
// request ends nothing; the match runs to its end the same on all three, step by step; the
// results agree by team, every chat holds the three status lines, everybody is back in the
// lobby with the CPU slot renamed; the host leaves and says so on the chat page.
#include "match_scripts.h"

#include <gtest/gtest.h>

#include <map>

namespace {

constexpr int kMatchFrames = 6000;  // the 1,800 steps of the match with room to spare
constexpr int kPictureStep = 900;

// After the match: back in the main menu, the tables recorded, then wait for the test's word.
const std::string kAfterMatch = U8(u8R"(
until over 1
until state メインメニュー
wait 60
record
mark done
)");

// The host leaves by the menu's "quit" (line 6); the clients stay until the host is gone.
const std::string kHostLeaves = "until file ../leave\n" + ChooseLineScript(6);
const std::string kClientStays = U8(u8R"(
until conn 0 未接続
record
mark host-gone
until file ../leave
quit
)");

std::map<int, std::string> StepHashes(const std::vector<std::string>& out) {
    std::map<int, std::string> steps;
    for (const std::string& line : out)
        if (line.rfind("step ", 0) == 0) steps[atoi(line.c_str() + 5)] = line.substr(line.rfind(' ') + 1);
    return steps;
}

// The last recorded value of a slot's field before the output line `before`.
std::string SlotField(const std::vector<std::string>& out, int before, int slot, const std::string& field) {
    std::string value;
    const std::string row = " slot " + std::to_string(slot) + " ", key = " " + field + "=";
    for (int i = 0; i < before && i < (int)out.size(); ++i) {
        if (out[i].find(row) == std::string::npos) continue;
        const size_t at = out[i].find(key);
        if (at == std::string::npos) continue;
        const size_t from = at + key.size();
        value = out[i].substr(from, out[i].find(' ', from) - from);
    }
    return value;
}

TEST(NetPlay, WholeMatchPacedOnThreeGames) {
    E2eWorld world;
    ASSERT_TRUE(world.Start());
    E2eProcess host("HOST"), one("ONE"), two("TWO");
    E2eProcess* peers[] = {&host, &one, &two};
    const std::string picture = "picture-at " + std::to_string(kPictureStep) + " ../step" + std::to_string(kPictureStep) + ".png\n";

    const std::string hostScript = picture + JoinScript(kConnectAsHost, 3) +
                                   U8(u8"until chat ONE:hi＞tb-end\nuntil chat TWO:ready\n") + SayScript("go") +
                                   SetNumberScript(2) + SetTimeScript(2) + SetStageScript(1) + kHostStart + kAfterMatch +
                                   kHostLeaves;
    ASSERT_TRUE(StartNetPeer(host, world, hostScript));
    ASSERT_TRUE(WaitForLineWithinFrames(host, " id 0", kJoinFrames)) << PeerReport(host) << world.Relay().Output();
    // The client picks the host from the list, so the list must hold it first.
    ASSERT_TRUE(WaitWhilePeersRun(
        {&host},
        [&] {
            for (const std::string& post : world.ChatPage().Posts())
                if (post.find("HOST[ZAU-") != std::string::npos && post[0] != '0') return true;
            return false;
        },
        kJoinFrames, "HOST on the chat page's list"))
        << world.ChatPage().Page();
    ASSERT_TRUE(StartNetPeer(one, world,
                             picture + JoinScript(kConnectFromList, 3) + SayScript("hi>tb-end") + ClientStartScript(4) +
                                 kAfterMatch + kClientStays));
    ASSERT_TRUE(WaitForLineWithinFrames(one, " id 1", kJoinFrames)) << PeerReport(one);
    ASSERT_TRUE(StartNetPeer(two, world,
                             picture + JoinScript(kConnectByAddress, 3) + kTakeTeamB + SayScript("ready") +
                                 ClientStartScript(4) + kAfterMatch + kClientStays));

    // A minute's match and the menus around it, counted in the games' own frames: on a busy
    // machine the games run slower than the clock, never fewer frames.
    for (E2eProcess* p : peers)
        ASSERT_TRUE(WaitForLineWithinFrames(*p, " mark done", kMatchFrames))
            << PeerReport(host) << PeerReport(one) << PeerReport(two);
    host.WriteFile("leave", "");
    EXPECT_EQ(WaitForPeerExit(host), 0) << PeerReport(host);
    for (E2eProcess* p : {&one, &two}) EXPECT_TRUE(WaitForLineWithinFrames(*p, " mark host-gone", kJoinFrames)) << PeerReport(*p);
    one.WriteFile("leave", "");
    two.WriteFile("leave", "");
    for (E2eProcess* p : {&one, &two}) EXPECT_EQ(WaitForPeerExit(*p), 0) << PeerReport(*p);

    std::vector<std::string> out[3];
    for (int i = 0; i < 3; ++i) out[i] = PeerOutput(*peers[i]);

    // The host's own relay copy met the running one and ended without a word.
    EXPECT_EQ(world.Relay().CountInOutput("client[0]"), 1) << world.Relay().Output();

    // The chat line that spells an end request is only text; nothing ended before the match.
    for (int i = 0; i < 3; ++i) {
        const int chat = FindLine(out[i], U8(u8" chat ONE:hi＞tb-end"));
        EXPECT_GE(chat, 0) << peers[i]->Name();
        EXPECT_LT(FindLine(out[i], U8(u8" chat 強制終了")), 0) << PeerReport(*peers[i]);
    }

    // Four robots, the same world step after step, the same last step.
    std::map<int, std::string> steps[3];
    for (int i = 0; i < 3; ++i) {
        EXPECT_GE(FindLine(out[i], " match robots=4 own=" + std::to_string(i)), 0) << PeerReport(*peers[i]);
        steps[i] = StepHashes(out[i]);
        ASSERT_GT(steps[i].size(), (size_t)kPictureStep) << PeerReport(*peers[i]);
    }
    for (int i = 1; i < 3; ++i) {
        EXPECT_EQ(steps[i].rbegin()->first, steps[0].rbegin()->first) << peers[i]->Name();
        EXPECT_EQ(steps[i], steps[0]) << peers[i]->Name() << " saw another world";
    }

    // Results by team: HOST and ONE on A, TWO (with the CPU robot) on B.
    int results[3] = {};
    for (int i = 0; i < 3; ++i) {
        const int line = FindLine(out[i], " result ");
        ASSERT_GE(line, 0) << PeerReport(*peers[i]);
        results[i] = atoi(out[i][line].c_str() + out[i][line].find(" result ") + 8);
    }
    EXPECT_TRUE(results[0] == 3 || results[0] == 4) << results[0];
    EXPECT_EQ(results[1], results[0]);
    EXPECT_EQ(results[2], results[0] == 3 ? 4 : 3);
    const char* kText[] = {"", "", "", "WIN!", "LOSE"};
    for (int i = 0; i < 3; ++i) {
        for (int j = 0; j < 3; ++j) {
            const std::string status = " chat " + std::to_string(j) + " " + peers[j]->Name() + " LAG";
            const int at = FindLine(out[i], status);
            ASSERT_GE(at, 0) << peers[i]->Name() << " lacks the status line of " << peers[j]->Name();
            EXPECT_NE(out[i][at].find(kText[results[j] == 3 ? 3 : 4]), std::string::npos) << out[i][at];
        }
        const int done = FindLine(out[i], " mark done");
        EXPECT_EQ(SlotField(out[i], done, 3, "name"), "CPU3") << peers[i]->Name();
        EXPECT_EQ(SlotField(out[i], done, i, "state"), U8(u8"メインメニュー")) << peers[i]->Name();
    }

    // The host's announcements: on joining, on each newcomer, and the last on leaving.
    const std::vector<std::string> posts = world.ChatPage().Posts();
    ASSERT_FALSE(posts.empty());
    EXPECT_EQ(posts.back().rfind("0:HOST[ZAU-0.18.5-", 0), 0u) << posts.back();
    EXPECT_EQ(posts.back().substr(posts.back().size() - 4), "]e2e") << posts.back();
    // Before that, the real count, however the arrival notices counted.
    ASSERT_GE(posts.size(), 2u);
    EXPECT_EQ(posts[posts.size() - 2].rfind("3:HOST[", 0), 0u) << world.ChatPage().Page();
    for (int i = 1; i < 3; ++i) {
        const int gone = FindLine(out[i], " mark host-gone");
        ASSERT_GT(gone, 0);
        EXPECT_EQ(SlotField(out[i], gone, 0, "conn"), U8(u8"未接続")) << peers[i]->Name();
    }

    // The pictures: the same step seen from each robot.
    for (int i = 0; i < 3; ++i) {
        EXPECT_GE(FindLine(out[i], " picture " + std::to_string(kPictureStep) + " ../step900.png"), 0) << PeerReport(*peers[i]);
        EXPECT_TRUE(SavePicture(peers[i]->FilePath("step900.png"), "net_match_step900_" + peers[i]->Name() + ".png"));
    }
}

}  // namespace
