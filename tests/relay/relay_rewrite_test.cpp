// What each game receives of a chunk: the bytes as sent, the sender included, with only the
// two front requests rewritten per recipient.
#include <string>
#include <vector>

#include "relay_fixture.h"

namespace {

using Games = std::vector<std::unique_ptr<RelayClient>>;

class RelayRewriteTest : public RelayTest {
protected:
    Games JoinGames(int count) {
        Games games;
        for (int slot = 0; slot < count; ++slot) games.push_back(Join(slot));
        return games;
    }
};

TEST_F(RelayRewriteTest, PlainChunkReachesEveryGameInSlotOrderSenderIncluded) {
    Games games = JoinGames(3);
    ASSERT_TRUE(games[1]->Send("hello"));
    for (auto& game : games) EXPECT_EQ(game->Receive(5), "hello");
    ASSERT_TRUE(relay.WaitForOutput("2 < send(5)\n"));
    EXPECT_NE(relay.Output().find("1 > recv(5)\n0 < send(5)\n1 < send(5)\n2 < send(5)\n"), std::string::npos)
        << relay.Output();
}

TEST_F(RelayRewriteTest, SlotRequestBecomesFlagsOfSlotsInUse) {
    Games games = JoinGames(2);
    ASSERT_TRUE(games[1]->Send(">L------"));
    for (auto& game : games) EXPECT_EQ(game->Receive(8), ">lttffff");

    games.push_back(Join(2));
    ASSERT_TRUE(games[0]->Send(">L------rest"));
    for (auto& game : games) EXPECT_EQ(game->Receive(12), ">ltttfffrest");
}

TEST_F(RelayRewriteTest, IdRequestTellsEachGameItsOwnSlot) {
    Games games = JoinGames(4);
    ASSERT_TRUE(games[2]->Send(">I-body"));
    for (int slot = 0; slot < 4; ++slot)
        EXPECT_EQ(games[slot]->Receive(7), ">i" + std::to_string(slot) + "body");
}

TEST_F(RelayRewriteTest, OnlyTheFrontOfAChunkIsRewritten) {
    Games games = JoinGames(2);
    const std::vector<std::pair<std::string, std::string>> cases = {
        {">L------tail>I-", ">lttfffftail>I-"},
        {">I->L------", ">i%>L------"},  // % stands for the recipient's slot digit
        {"x>I-y>L------", "x>I-y>L------"},
    };
    for (const auto& [sent, expected] : cases) {
        ASSERT_TRUE(games[0]->Send(sent));
        for (int slot = 0; slot < 2; ++slot) {
            std::string want = expected;
            if (size_t at = want.find('%'); at != std::string::npos) want[at] = (char)('0' + slot);
            EXPECT_EQ(games[slot]->Receive(want.size()), want) << sent;
        }
    }
}

TEST_F(RelayRewriteTest, ChunksTooShortForARequestPassUnchanged) {
    Games games = JoinGames(2);
    for (std::string chunk : {">L---", ">L-----", ">I", ">"}) {
        ASSERT_TRUE(games[1]->Send(chunk));
        for (auto& game : games) EXPECT_EQ(game->Receive(chunk.size()), chunk);
    }
}

}  // namespace
