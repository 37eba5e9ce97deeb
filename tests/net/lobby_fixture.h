// Lobbies under the scene driver (the engine up, so their sounds, fonts and chat pane load) in
// a private folder, a link whose flags and traffic the test holds, and helpers to feed a lobby
// text as if the relay had sent it.
#pragma once

#include "lobby.h"
#include "net_log.h"
#include "scene_driver.h"
#include "test_folder.h"
#include "wire.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

// A link with flags the test sets; what the lobby sends is kept, what it receives is fed in.
class CTestLink : public CNetLink {
public:
    int IsConnected() override { return m_connected; }
    int IsReadable() override { return m_connected && !m_inbound.empty(); }
    int IsWritable() override { return m_writable; }
    int Receive(char* buffer, int size) override {
        size_t n = m_inbound.size() < (size_t)size - 1 ? m_inbound.size() : (size_t)size - 1;
        memcpy(buffer, m_inbound.data(), n);
        buffer[n] = '\0';
        m_inbound.erase(0, n);
        return (int)n;
    }
    int Send(const char* data, int length) override {
        m_sent.emplace_back(data, (size_t)length);
        return 1;
    }

    int m_connected = 1;
    int m_writable = 1;
    std::string m_inbound;
    std::vector<std::string> m_sent;
};

class LobbyTest : public ::testing::Test {
protected:
    CTestFolder folder;
    CSceneDriver driver;

    void SetUp() override {
        ASSERT_EQ(driver.UseGameAssets(), 1);
        ASSERT_EQ(driver.Start(), 1) << driver.Log();
        WriteWholeFile("ap.ini", "[NET]\r\nNAME=TESTER\r\nMSG=hello\r\nHostPort=6001\r\nGestPort=6002\r\nIP=10.0.0.7\r\n");
        ResetNetDropLog();
    }

    // The lobby applies the text as if it had just been received; a closing ">" completes the
    // last message.
    static void Feed(CLobby& lobby, const std::string& text) {
        lobby.m_recvBuffer += text + ">";
        lobby.DispatchNet();
        lobby.m_recvBuffer.clear();
    }
};

// Every message of a text, tag and body, in order (the last one must be closed by a ">").
inline std::vector<std::string> Messages(std::string text) {
    text += ">";
    std::vector<std::string> out;
    std::string tag, body;
    while (SplitNextMessage(text, tag, body)) out.push_back(tag + body);
    return out;
}
