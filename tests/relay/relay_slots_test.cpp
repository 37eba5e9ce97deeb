// The six-slot table: games take the lowest free slot, a seventh is refused, and the relay
// keeps accepting so that a freed slot is taken by the next game; a slot list tells every game
// of a game that left since its last list.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "private_network.h"
#include "relay_fixture.h"

namespace {

class RelaySlotsTest : public RelayTest {
protected:
    // The relay prints a game's disconnect line before its thread frees the slot, so the line
    // alone does not make the slot free: the console's list, taken after it, shows it gone.
    void WaitUntilFreed(int slot) {
        const std::string disconnect = std::to_string(slot) + "(127.0.0.1) > disconnect\n";
        ASSERT_TRUE(relay.WaitForOutput(disconnect)) << relay.Output();
        const std::string listed = "client[" + std::to_string(slot) + "] : ";
        for (int lists = relay.CountInOutput("clients.\n"), tries = 0; tries < 1000; ++tries) {
            if (tries > 0) usleep(10 * 1000);
            relay.Type("l");
            ASSERT_TRUE(relay.WaitForOutput("clients.\n", ++lists)) << relay.Output();
            const std::string out = relay.Output();
            if (out.find(listed, out.rfind("list\n")) == std::string::npos) return;
        }
        FAIL() << "slot " << slot << " still listed after its disconnect\n" << relay.Output();
    }
};

TEST_F(RelaySlotsTest, SeventhGameIsRefusedAndALaterGameStillJoins) {
    std::vector<std::unique_ptr<RelayClient>> games;
    for (int slot = 0; slot < 6; ++slot) games.push_back(Join(slot));

    RelayClient seventh(relay.Port());
    ASSERT_TRUE(seventh.Connected());
    EXPECT_TRUE(seventh.WaitClosed(5000));
    EXPECT_TRUE(relay.WaitForOutput("error : max client\n"));

    games[3]->Close();
    ASSERT_NO_FATAL_FAILURE(WaitUntilFreed(3));
    auto late = Join(3);
    ASSERT_TRUE(late->Send(">I-"));
    EXPECT_EQ(late->Receive(3), ">i3");
    for (int slot : {0, 1, 2, 4, 5}) EXPECT_EQ(games[slot]->Receive(3), ">i" + std::to_string(slot));

    // Full again: the next one is refused too, and nobody else lost anything.
    RelayClient eighth(relay.Port());
    EXPECT_TRUE(eighth.WaitClosed(5000));
    EXPECT_TRUE(relay.WaitForOutput("error : max client\n", 2));
    ASSERT_TRUE(games[5]->Send("after"));
    EXPECT_EQ(late->Receive(5), "after");
    EXPECT_EQ(games[5]->Receive(5), "after");
}

TEST_F(RelaySlotsTest, FreedSlotGoesToTheNextGameAndFlagsFollowTheTable) {
    auto first = Join(0);
    auto second = Join(1);
    auto third = Join(2);
    second->Close();
    ASSERT_NO_FATAL_FAILURE(WaitUntilFreed(1));

    ASSERT_TRUE(third->Send(">L------"));
    EXPECT_EQ(first->Receive(8), ">ltftfff");
    EXPECT_EQ(third->Receive(8), ">ltftfff");

    auto fourth = Join(1);
    ASSERT_TRUE(fourth->Send(">L------"));
    for (auto* game : {first.get(), third.get(), fourth.get()}) EXPECT_EQ(game->Receive(8), ">ltttfff");

    // A game that leaves and whose slot is taken before anybody asks: every other game's next
    // list still shows the slot free, once, so a match tells its fighter from the newcomer; the
    // newcomer's own list shows the slot taken.
    third->Close();
    ASSERT_NO_FATAL_FAILURE(WaitUntilFreed(2));
    auto fifth = Join(2);
    ASSERT_TRUE(fifth->Send(">L------"));
    EXPECT_EQ(first->Receive(8), ">lttffff");
    EXPECT_EQ(fourth->Receive(8), ">lttffff");
    EXPECT_EQ(fifth->Receive(8), ">ltttfff");
    ASSERT_TRUE(first->Send(">L------"));
    for (auto* game : {first.get(), fourth.get(), fifth.get()}) EXPECT_EQ(game->Receive(8), ">ltttfff");
}

TEST_F(RelaySlotsTest, GameThatLeavesIsNoLongerSentTo) {
    auto first = Join(0);
    auto second = Join(1);
    first->Close();
    ASSERT_NO_FATAL_FAILURE(WaitUntilFreed(0));
    ASSERT_TRUE(second->Send("ping"));
    EXPECT_EQ(second->Receive(4), "ping");
    ASSERT_TRUE(relay.WaitForOutput("1 < send(4)\n"));
    EXPECT_EQ(relay.CountInOutput("0 < send(4)\n"), 0);
    EXPECT_EQ(relay.CountInOutput("< send\n"), 0) << "no send failed";
}

// A game whose machine vanishes (no close, no reset, nothing answers) loses its slot within
// the relay's liveness time, while another game goes on sending. Run in a network namespace of
// the test's own, the game connected through a second address on the loopback device, which is
// then deleted; skipped where no namespace can be made.
TEST(RelayLivenessTest, AGameWhoseMachineVanishesLosesItsSlotWithinHalfAMinute) {
    CPrivateNetwork network;
    std::string whyNot;
    if (!network.Enter("10.77.0.3", &whyNot)) GTEST_SKIP() << whyNot;
    TempFolder folder;
    RelayProcess relay;
    ASSERT_TRUE(relay.StartListening(folder.Path(), UniqueLockNamespace()));
    RelayClient first(relay.Port());
    ASSERT_TRUE(relay.WaitForOutput("client[0] : 127.0.0.1\n"));
    const int vanishing = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in to = {};
    to.sin_family = AF_INET;
    to.sin_port = htons((unsigned short)relay.Port());
    inet_pton(AF_INET, "10.77.0.3", &to.sin_addr);
    ASSERT_EQ(connect(vanishing, reinterpret_cast<sockaddr*>(&to), sizeof to), 0);
    ASSERT_TRUE(relay.WaitForOutput("client[1] : 10.77.0.3\n"));
    ASSERT_TRUE(network.CutAddress());

    const long long cut = MonotonicMs();
    bool gone = false;
    while (!gone && MonotonicMs() - cut < 60000) {
        ASSERT_TRUE(first.Send(">c0000000000000"));
        first.Receive(15, 1000);
        gone = relay.CountInOutput(") : 1 > recv\n") + relay.CountInOutput("1(10.77.0.3) > disconnect\n") > 0;
        usleep(100 * 1000);
    }
    const long long after = MonotonicMs() - cut;
    EXPECT_TRUE(gone) << relay.Output();
    EXPECT_LT(after, 30000) << relay.Output();
    ASSERT_TRUE(first.Send(">L------"));
    EXPECT_EQ(first.ReceiveUntilQuiet(500).substr(0, 8), ">ltfffff");
    close(vanishing);
    EXPECT_EQ(relay.CountInOutput("Sanitizer"), 0) << relay.Output();
}

}  // namespace
