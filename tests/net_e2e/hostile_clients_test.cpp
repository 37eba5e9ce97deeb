// Programs that are no game also reach the relay. In the lobby one writes records that fail the
// checks, a reply it has no right to and a megabyte without a message mark, then leaves: both
// games drop what they must, log it and keep equal tables. In battle another writes a key for a
// robot slot that cannot exist: every game shows the error and the match ends for all.
#include "match_scripts.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

// A megabyte at most a kilobyte a frame takes some 1,025 frames with the other traffic beside
// it; a busy machine takes longer over them, never more of them.
constexpr int kDrainFrames = 4000;

// The host waits for its partner, who goes to team B, so the two make even teams, and says so.
const std::string kJoinHost = JoinScript(kConnectAsHost, 2) + U8(u8"until chat ONE:ready\n");
const std::string kJoinClient = JoinScript(kConnectByAddress, 2) + kTakeTeamB + SayScript("ready");

// In the lobby: take in all the visitor wrote, then, once the other game has too and the
// reports written meanwhile have gone round, keep the tables; leave when the test says so.
const std::string kStayInLobby = U8(u8R"(
mark ready
until chat HOSTILE:bye
mark drained
until file ../settled
wait 60
record
mark lobby
until file ../leave
quit
)");

// In battle: start, fight until the match is over, come back and leave when told.
const std::string kFight = "mark ready\n" + kHostStart + U8(u8R"(
until over 1
until state メインメニュー
mark done
until file ../leave
quit
)");

// Records the lobby must drop, each with the reason its log line names. Sender 0 and slot 0
// make every game, the host included, run the value checks.
const struct {
    const char* record;
    const char* reason;
} kBadRecords[] = {
    {">g0", "short status record"},
    {">g00x1", "status letter"},
    {">g08nEVIL", "status slot"},
    {">g00m99", "stage"},
    {">g00g9", "mode"},
    {">g00p6", "battle index"},
    {">g00l0", "time limit"},
    {">g00b7", "fighter count"},
    {">g00tZZ", "team tag"},
    {">g00rABCDEFGH", "robot code"},
};
// An answer only the relay may give: the relay leaves it out, so no game even sees it.
constexpr const char* kForgedAnswer = ">i9";

// The bytes the relay has received from a slot so far, by its console.
long long ReceivedFrom(const RelayProcess& relay, int slot) {
    long long sum = 0;
    const std::string key = std::to_string(slot) + " > recv(";
    const std::string console = relay.Output();
    for (size_t at = console.find(key); at != std::string::npos; at = console.find(key, at + 1))
        if (at == 0 || console[at - 1] == '\n') sum += atoll(console.c_str() + at + key.size());
    return sum;
}

// Sends the bytes and waits until the relay has taken all of them, so what is sent next
// starts a chunk of its own. The relay takes them as fast as the games read what it passes on.
testing::AssertionResult SendWhole(E2eReadingClient& client, const RelayProcess& relay, int slot, const std::string& bytes,
                                   const std::vector<E2eProcess*>& games) {
    const long long before = ReceivedFrom(relay, slot);
    if (!client.Send(bytes)) return testing::AssertionFailure() << "the relay closed slot " << slot;
    return WaitWhilePeersRun(
        games, [&] { return ReceivedFrom(relay, slot) >= before + (long long)bytes.size(); }, kDrainFrames,
        "the relay taking " + std::to_string(bytes.size()) + " bytes from slot " + std::to_string(slot));
}

// Every line of one kind up to the first line holding the mark, without its frame number.
std::vector<std::string> RowsBefore(const std::vector<std::string>& out, const std::string& mark,
                                    const std::string& kind) {
    std::vector<std::string> rows;
    const int end = FindLine(out, mark);
    for (int i = 0; i < end; ++i)
        if (out[i].find(" " + kind + " ") != std::string::npos) rows.push_back(out[i].substr(out[i].find(' ') + 1));
    return rows;
}

// Both games joined and team B taken, running the script that follows. Unpaced games run their
// frames as fast as the machine lets them while they wait for each other: only their whole run
// bounds the wait.
void StartPair(E2eWorld& world, E2eProcess& host, E2eProcess& one, const std::string& then, const SPeerOptions& options) {
    const int frames = options.paced ? kJoinFrames : options.frames;
    ASSERT_TRUE(StartNetPeer(host, world, kJoinHost + then, options));
    ASSERT_TRUE(WaitForLineWithinFrames(host, " id 0", frames)) << PeerReport(host) << world.Relay().Output();
    ASSERT_TRUE(StartNetPeer(one, world, kJoinClient + then, options));
    ASSERT_TRUE(WaitForLinesWithinFrames({&host, &one}, " mark ready", frames)) << PeerReport(host) << PeerReport(one);
}

void LeaveBoth(E2eProcess& host, E2eProcess& one) {
    for (E2eProcess* p : {&host, &one}) p->WriteFile("leave", "");
    for (E2eProcess* p : {&host, &one}) EXPECT_EQ(WaitForPeerExit(*p), 0) << PeerReport(*p);
}

// Unpaced: the games take a megabyte at most a kilobyte a frame, so frames must be quick.
TEST(NetPlay, HostileRecordsAndFloodInTheLobbyAreDroppedAndTheTablesStayEqual) {
    E2eWorld world;
    ASSERT_TRUE(world.Start());
    E2eProcess host("HOST"), one("ONE");
    SPeerOptions unpaced;
    unpaced.paced = false;
    StartPair(world, host, one, kStayInLobby, unpaced);
    if (HasFatalFailure()) return;

    // The visitor takes the next slot, says its piece and leaves.
    {
        E2eReadingClient hostile(world.Port());
        ASSERT_TRUE(hostile.Connected());
        ASSERT_TRUE(world.Relay().WaitForOutput("client[2] : 127.0.0.1")) << world.Relay().Output();
        std::string records;
        for (const auto& bad : kBadRecords) records += bad.record;
        records += kForgedAnswer;
        records += ">x";  // an unknown tag ends the last record, and the flood runs on behind it
        ASSERT_TRUE(SendWhole(hostile, world.Relay(), 2, records, {&host, &one}));
        std::string flood(1 << 20, ' ');
        for (size_t i = 0; i < flood.size(); ++i) flood[i] = "flood without a mark-"[i % 21];
        ASSERT_TRUE(SendWhole(hostile, world.Relay(), 2, flood, {&host, &one}));
        ASSERT_TRUE(SendWhole(hostile, world.Relay(), 2, ">mHOSTILE:bye", {&host, &one}));
    }
    E2eProcess* peers[] = {&host, &one};
    for (E2eProcess* p : peers) EXPECT_TRUE(WaitForLineWithinFrames(*p, " mark drained", kDrainFrames)) << PeerReport(*p);
    for (E2eProcess* p : peers) p->WriteFile("settled", "");
    for (E2eProcess* p : peers) EXPECT_TRUE(WaitForLineWithinFrames(*p, " mark lobby", kDrainFrames)) << PeerReport(*p);
    // The relay gave up on neither game while they took the flood.
    const std::string console = world.Relay().Output();
    for (const char* gone : {"0(127.0.0.1) > disconnect", "1(127.0.0.1) > disconnect", " : 0 < send", " : 1 < send"})
        EXPECT_EQ(console.find(gone), std::string::npos) << gone;
    LeaveBoth(host, one);

    // Every bad record dropped and logged on both, and no id but the relay's.
    for (E2eProcess* p : peers) {
        const std::string log = p->ReadFile("game/peer.log");
        for (const auto& bad : kBadRecords)
            EXPECT_NE(log.find(std::string("net: dropped ") + bad.reason + ": " + bad.record), std::string::npos)
                << p->Name() << " did not log " << bad.record << "\n" << log;
        EXPECT_EQ(log.find(kForgedAnswer), std::string::npos) << p->Name() << "\n" << log;
        const std::string own = p == &host ? " id 0" : " id 1";
        for (const std::string& line : LinesWith(PeerOutput(*p), " id "))
            EXPECT_TRUE(line.find(" id -1") != std::string::npos || line.find(own) != std::string::npos) << line;
    }
    // Equal tables showing the two players, the visitor's slot empty again.
    const std::vector<std::string> hostDigests = RowsBefore(PeerOutput(host), " mark lobby", "digest");
    const std::vector<std::string> oneDigests = RowsBefore(PeerOutput(one), " mark lobby", "digest");
    ASSERT_FALSE(hostDigests.empty()) << PeerReport(host);
    ASSERT_FALSE(oneDigests.empty()) << PeerReport(one);
    EXPECT_EQ(oneDigests.back(), hostDigests.back()) << PeerReport(host) << PeerReport(one);
    const std::vector<std::string> slots = RowsBefore(PeerOutput(host), " mark lobby", "slot");
    ASSERT_EQ(slots.size(), 6u) << PeerReport(host);
    const struct {
        const char* name;
        const char* conn;
        const char* state;
    } expected[] = {
        {"HOST", "接続", "メインメニュー"}, {"ONE", "接続", "メインメニュー"}, {"CPU", "未接続", ""},
        {"CPU", "未接続", ""},              {"CPU", "未接続", ""},             {"CPU", "未接続", ""},
    };
    for (int slot = 0; slot < 6; ++slot) {
        const std::string& row = slots[slot];
        EXPECT_NE(row.find(std::string("name=") + expected[slot].name + " "), std::string::npos) << row;
        EXPECT_NE(row.find(U8(u8"conn=") + expected[slot].conn + " "), std::string::npos) << row;
        EXPECT_EQ(row.substr(row.find("state=")), "state=" + std::string(expected[slot].state)) << row;
    }
}

// A name holding a zero byte, written for a slot by a program on the relay: the host drops the
// record and keeps the name it had, and its settings broadcast keeps reaching the other programs
// whole, slot 5 included, where a send to the terminator would have cut it at that name.
TEST(NetPlay, ZeroByteInANameLeavesTheHostsBroadcastWhole) {
    E2eWorld world;
    ASSERT_TRUE(world.Start());
    E2eProcess host("HOST");
    ASSERT_TRUE(StartNetPeer(host, world, JoinScript(kConnectAsHost, 1) + "until file ../leave\nquit\n", SPeerOptions{}));
    ASSERT_TRUE(WaitForLineWithinFrames(host, " mark joined", kJoinFrames)) << PeerReport(host);
    E2eReadingClient hostile(world.Port());
    ASSERT_TRUE(hostile.Connected());
    ASSERT_TRUE(world.Relay().WaitForOutput("client[1] : 127.0.0.1")) << world.Relay().Output();
    E2eReadingClient other(world.Port());
    ASSERT_TRUE(other.Connected());
    ASSERT_TRUE(world.Relay().WaitForOutput("client[2] : 127.0.0.1")) << world.Relay().Output();

    ASSERT_TRUE(SendWhole(hostile, world.Relay(), 1, std::string(">g11nR\0W1>x", 11), {&host}));
    EXPECT_TRUE(WaitWhilePeersRun(
        {&host},
        [&] { return host.ReadFile("game/peer.log").find("net: dropped control byte in name: >g11nR\\x00W1") != std::string::npos; },
        kPartFrames, "the dropped name in HOST's log"))
        << PeerReport(host);
    // Two whole broadcasts from the host after the drop, each with slot 1's name as it was.
    const size_t mark = other.Received().size();
    auto wholeBroadcasts = [&] {
        const std::string heard = other.Received().substr(mark);
        int whole = 0;
        for (size_t at = heard.find(">g01r"); at != std::string::npos; at = heard.find(">g01r", at + 1)) {
            const size_t name = heard.find(">g01n", at), last = heard.find(">g05t", at);
            if (name != std::string::npos && last != std::string::npos && heard.compare(name, 9, ">g01nCPU>") == 0) ++whole;
        }
        return whole >= 2;
    };
    EXPECT_TRUE(WaitWhilePeersRun({&host}, wholeBroadcasts, kPartFrames, "two whole broadcasts")) << PeerReport(host);
    host.WriteFile("leave", "");
    EXPECT_EQ(WaitForPeerExit(host), 0) << PeerReport(host);
}

// Paced: the end phases run in step, and the relay is not swamped by games running flat out.
TEST(NetPlay, KeyForARobotSlotBeyondSixEndsTheMatchOnEveryGame) {
    E2eWorld world;
    ASSERT_TRUE(world.Start());
    E2eProcess host("HOST"), one("ONE");
    StartPair(world, host, one, kFight, SPeerOptions{});
    if (HasFatalFailure()) return;

    ASSERT_TRUE(WaitForLineWithinFrames(host, "step 60 ", kPartFrames)) << PeerReport(host) << PeerReport(one);
    {
        E2eReadingClient hostile(world.Port());
        ASSERT_TRUE(hostile.Connected());
        ASSERT_TRUE(world.Relay().WaitForOutput("client[2] : 127.0.0.1")) << world.Relay().Output();
        ASSERT_TRUE(SendWhole(hostile, world.Relay(), 2, ">c7000000000000", {&host, &one}));
        for (E2eProcess* p : {&host, &one}) EXPECT_TRUE(WaitForLineWithinFrames(*p, " mark done", kPartFrames)) << PeerReport(*p);
    }
    LeaveBoth(host, one);

    // The error on every screen, the forced end, result 99.
    for (E2eProcess* p : {&host, &one}) {
        const std::vector<std::string> out = PeerOutput(*p);
        const int fighting = FindLine(out, " mark fighting");
        const int error = FindLine(out, " chat Err KeyID-over", fighting);
        const int forced = FindLine(out, U8(u8" chat 強制終了"), error);
        const int result = FindLine(out, " result ", fighting);
        ASSERT_GT(fighting, 0) << PeerReport(*p);
        EXPECT_GT(error, fighting) << PeerReport(*p);
        EXPECT_GT(forced, error) << PeerReport(*p);
        ASSERT_GT(result, fighting) << PeerReport(*p);
        EXPECT_NE(out[result].find(" result 99 "), std::string::npos) << out[result];
        EXPECT_NE(p->ReadFile("game/peer.log").find("net: dropped Err KeyID-over: >c7000000000000"), std::string::npos)
            << PeerReport(*p);
        EXPECT_LT(FindLine(out, "Err KeyCode"), 0) << PeerReport(*p) << world.Relay().Output();
    }
}

}  // namespace
