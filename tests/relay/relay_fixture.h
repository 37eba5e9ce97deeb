// A listening relay in its own folder, port and lock namespace, and games joining it in
// slot order.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "relay_harness.h"

class RelayTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(relay.StartListening(folder.Path(), lockNamespace)); }
    // A data race is only reported, not fatal: the relay's console output must hold none.
    void TearDown() override { EXPECT_EQ(relay.CountInOutput("Sanitizer"), 0) << relay.Output(); }

    // Connects a game and waits until the relay reports it in `slot`.
    std::unique_ptr<RelayClient> Join(int slot) {
        std::string line = "client[" + std::to_string(slot) + "] : 127.0.0.1\n";
        int before = relay.CountInOutput(line);
        auto client = std::make_unique<RelayClient>(relay.Port());
        EXPECT_TRUE(client->Connected());
        EXPECT_TRUE(relay.WaitForOutput(line, before + 1)) << relay.Output();
        return client;
    }

    TempFolder folder;
    std::string lockNamespace = UniqueLockNamespace();
    RelayProcess relay;
};
