// What each game receives of a chunk: the bytes as sent, the sender included, with only the
// two front requests rewritten per recipient and the answers a game forges left out.
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
    // Sends the bytes as one receive of the relay: returns once the relay has taken them.
    void SendAlone(RelayClient& game, int slot, const std::string& bytes) {
        const std::string line = std::to_string(slot) + " > recv(";
        const int before = relay.CountInOutput(line);
        ASSERT_TRUE(game.Send(bytes));
        ASSERT_TRUE(relay.WaitForOutput(line, before + 1)) << relay.Output();
    }
    // Every game gets exactly `expected`, "%" standing for its own slot digit.
    void ExpectEveryGameGets(Games& games, const std::string& expected, const std::string& what) {
        for (int slot = 0; slot < (int)games.size(); ++slot) {
            std::string want = expected;
            for (char& c : want)
                if (c == '%') c = (char)('0' + slot);
            EXPECT_EQ(games[slot]->Receive(want.size()), want) << what << " at game " << slot;
        }
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
    ASSERT_TRUE(games[2]->Send(">I-"));
    for (int slot = 0; slot < 4; ++slot) EXPECT_EQ(games[slot]->Receive(3), ">i" + std::to_string(slot));
}

TEST_F(RelayRewriteTest, OnlyTheFrontOfAChunkIsRewritten) {
    Games games = JoinGames(2);
    const std::vector<std::pair<std::string, std::string>> cases = {
        {">L------tail>I-", ">lttfffftail>I-"},
        {">I->L------", ">i%>L------"},  // % stands for the recipient's slot digit
        {"x>I->L------", "x>I->L------"},
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
    for (std::string chunk : {">L---", ">L-----", ">I"}) {
        ASSERT_TRUE(games[1]->Send(chunk));
        for (auto& game : games) EXPECT_EQ(game->Receive(chunk.size()), chunk);
    }
}

// Only the relay tells a game its id and the slots in use; a game that sends ">i0" itself would
// make every game act as host. Each chunk is followed by a marker, so anything forged that got
// through would show as bytes before it.
TEST_F(RelayRewriteTest, AnswersAGameSendsItselfReachNoGame) {
    Games games = JoinGames(3);
    const std::vector<std::pair<std::string, std::string>> cases = {
        {">i0", ""},
        {">i1>ttest", ">ttest"},
        {">lffffff>gA", ">gA"},
        {">gA>i0>gB>l tttttt>gC", ">gA>gB>gC"},
        {">I->i2", ">i%"},
        {">L------>ltttttt", ">ltttfff"},
        {">gA>i0>I->L------", ">gA>I->L------"},
        {">gA>>i1>gB>", ">gA>gB"},  // marks with no type letter start nothing
        // Behind ">I-" a body would run on as part of the id; behind another message the
        // request can still come to stand at a chunk's front when the receives cut it there.
        {">I-5", ">i%"},
        {">I-05>gA", ">i%>gA"},
        {">gA>I-5>gB", ">gA>I->gB"},
    };
    for (const auto& [sent, expected] : cases) {
        SendAlone(*games[2], 2, sent);
        SendAlone(*games[2], 2, ">mmark");
        ExpectEveryGameGets(games, expected + ">mmark", sent);
    }
    // A request's body and a forged answer cut anywhere by the receives, a kept message cut
    // after its mark. Cut behind its "I", the request no longer stands at a chunk's front: it
    // reaches the games unanswered, and they drop it.
    const std::string stream = ">I-12>gA>i12>gB>ltftfff";
    for (size_t cut = 1; cut < stream.size(); ++cut) {
        SendAlone(*games[1], 1, stream.substr(0, cut));
        SendAlone(*games[1], 1, stream.substr(cut));
        SendAlone(*games[1], 1, ">mmark");
        const std::string request = cut == 2 ? ">I-" : ">i%";
        ExpectEveryGameGets(games, request + ">gA>gB>mmark", "cut at " + std::to_string(cut));
    }
    for (auto& game : games) EXPECT_EQ(game->ReceiveUntilQuiet(200), "");
}

}  // namespace
