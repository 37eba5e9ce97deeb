// Start-up: the port comes from ap.ini under profile-string rules, a second relay of the same
// user ends without a word, and a failed start is printed and ends once a key is read.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <fstream>
#include <string>
#include <vector>

#include "relay_fixture.h"

namespace {

std::string PortLine(int port) { return "port number = " + std::to_string(port) + "\n"; }

TEST(RelayStartupTest, PortIsReadFromApIniAsTheGameWritesIt) {
    struct Case {
        std::string file, content;
        int port;
    };
    const std::vector<Case> cases = {
        {"ap.ini", "[NET]\nHostPort= 6001\n", 6001},
        {"ap.ini", "[QM]\nHostPort=1\n[net]\r\n  hostport  =  \"6002\"  \r\n", 6002},
        {"ap.ini", "[NET]\nIP=127.0.0.1\nHostPort=6003\n[NET]\nHostPort=1\n", 6003},
        {"ap.ini", "[NET]\nGestPort=6004\n", 5963},
        {"other.ini", "[NET]\nHostPort=6005\n", 5963},
        {"AP.INI", "[NET]\nHostPort=6006\n", 6006},
        {"ap.ini", "[NET]\nHostPort=70000\n", 70000 & 0xFFFF},  // a 16-bit port, as atol into it
    };
    for (const Case& c : cases) {
        TempFolder folder;
        folder.WriteFile(c.file, c.content);
        RelayProcess relay;
        ASSERT_TRUE(relay.Spawn(folder.Path(), UniqueLockNamespace()));
        // The port line comes before the bind, so the test needs no port of its own here.
        EXPECT_TRUE(relay.WaitForOutput("port number =")) << c.content;
        EXPECT_TRUE(relay.WaitForOutput(PortLine(c.port), 1, 2000)) << c.content << relay.Output();
    }
}

TEST(RelayStartupTest, SecondRelayOfTheUserEndsWithoutAWordAndAFailureStatus) {
    std::string lockNamespace = UniqueLockNamespace();
    TempFolder firstFolder, secondFolder, thirdFolder;
    RelayProcess first;
    ASSERT_TRUE(first.StartListening(firstFolder.Path(), lockNamespace));

    RelayProcess second;
    secondFolder.WriteFile("ap.ini", "[NET]\nHostPort=" + std::to_string(FreeTcpPort()) + "\n");
    ASSERT_TRUE(second.Spawn(secondFolder.Path(), lockNamespace));
    EXPECT_EQ(second.WaitExit(5000), 1);
    EXPECT_EQ(second.Output(), "");
    // The mark is the user's own: its name, as the kernel lists it, carries the user id.
    std::ifstream sockets("/proc/net/unix");
    std::string line, mark = "@zaumolta-lock:" + std::to_string(getuid()) + ":" + lockNamespace + ":";
    bool listed = false;
    while (std::getline(sockets, line)) listed |= line.find(mark) != std::string::npos;
    EXPECT_TRUE(listed) << mark;

    // The mark goes with the relay that held it.
    first.Type("q");
    ASSERT_EQ(first.WaitExit(5000), 0);
    RelayProcess third;
    EXPECT_TRUE(third.StartListening(thirdFolder.Path(), lockNamespace)) << third.Output();
}

TEST(RelayStartupTest, PortInUseIsReportedAndTheRelayEndsAfterAKey) {
    int holder = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in addr = {};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_ANY);
    ASSERT_EQ(bind(holder, (sockaddr*)&addr, sizeof addr), 0);
    ASSERT_EQ(listen(holder, 1), 0);
    socklen_t len = sizeof addr;
    getsockname(holder, (sockaddr*)&addr, &len);

    TempFolder folder;
    folder.WriteFile("ap.ini", "[NET]\nHostPort=" + std::to_string(ntohs(addr.sin_port)) + "\n");
    RelayProcess relay;
    ASSERT_TRUE(relay.Spawn(folder.Path(), UniqueLockNamespace()));
    EXPECT_TRUE(relay.WaitForOutput("error(" + std::to_string(EADDRINUSE) + ") : bind\n")) << relay.Output();
    EXPECT_EQ(relay.WaitExit(300), -1) << "waits for a key";
    relay.Type("x");
    EXPECT_EQ(relay.WaitExit(5000), 1);
    EXPECT_EQ(relay.CountInOutput("q : quit"), 0);
    close(holder);
}

}  // namespace
