// The console: "l" lists the games, "q" and the ending signals shut the relay down with code 0,
// other keys and the end of input change nothing.
#include <signal.h>

#include <regex>
#include <string>

#include "relay_fixture.h"

namespace {

using RelayConsoleTest = RelayTest;

TEST_F(RelayConsoleTest, StartsWithBannerAndPortAndWaitsForKeys) {
    std::string out = relay.Output();
    EXPECT_EQ(out.rfind("yver 0.15b9.sa8\n", 0), 0u) << out;
    EXPECT_NE(out.find("port number = " + std::to_string(relay.Port()) + "\n"), std::string::npos) << out;
    // The machine's own name may not resolve here; that is printed and the relay goes on.
    EXPECT_TRUE(out.find("server : ") != std::string::npos || out.find("gethostbyname(") != std::string::npos);
}

TEST_F(RelayConsoleTest, ListShowsEveryGameInSlotOrder) {
    relay.Type("l");
    ASSERT_TRUE(relay.WaitForOutput("0 clients.\n"));
    EXPECT_NE(relay.Output().find("list\n0 clients.\n"), std::string::npos);

    auto first = Join(0);
    auto second = Join(1);
    relay.Type("l");
    ASSERT_TRUE(relay.WaitForOutput("2 clients.\n"));
    std::regex listing(R"(list\nclient\[0\] : [^\n]+\(127\.0\.0\.1\)\nclient\[1\] : [^\n]+\(127\.0\.0\.1\)\n2 clients\.\n)");
    EXPECT_TRUE(std::regex_search(relay.Output(), listing)) << relay.Output();
}

TEST_F(RelayConsoleTest, QuitKeyShutsDownWithCodeZeroAndOtherKeysDoNothing) {
    auto game = Join(0);
    relay.Type("QLx\nL");
    ASSERT_TRUE(game->Send("still"));
    EXPECT_EQ(game->Receive(5), "still");
    EXPECT_EQ(relay.WaitExit(200), -1);
    EXPECT_EQ(relay.CountInOutput("\nlist\n"), 0);

    relay.Type("q");
    EXPECT_EQ(relay.WaitExit(5000), 0);
    std::string out = relay.Output();
    EXPECT_EQ(out.substr(out.size() - 12), "shutdown...\n");
    EXPECT_TRUE(game->WaitClosed(5000));
}

TEST_F(RelayConsoleTest, EndOfInputDoesNotEndTheRelay) {
    relay.CloseInput();
    EXPECT_EQ(relay.WaitExit(300), -1);
    auto first = Join(0);
    auto second = Join(1);
    ASSERT_TRUE(first->Send("up"));
    EXPECT_EQ(second->Receive(2), "up");
    relay.Signal(SIGTERM);
    EXPECT_EQ(relay.WaitExit(5000), 0);
}

class RelaySignalTest : public RelayTest, public ::testing::WithParamInterface<int> {};

TEST_P(RelaySignalTest, EndingSignalShutsDownLikeTheQuitKey) {
    auto game = Join(0);
    relay.Signal(GetParam());
    EXPECT_EQ(relay.WaitExit(5000), 0);
    EXPECT_TRUE(relay.WaitForOutput("shutdown...\n", 1, 0));
}

INSTANTIATE_TEST_SUITE_P(Signals, RelaySignalTest, ::testing::Values(SIGTERM, SIGINT, SIGHUP));

}  // namespace
