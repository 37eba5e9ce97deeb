// Real Vashtelo processes and plain TCP clients on 127.0.0.1, for the relay tests and the
// benchmark. Every run gets its own folder, port and lock namespace, so runs never meet.
#pragma once

#include <sys/types.h>

#include <string>

// A private temporary folder, removed with its contents.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    const std::string& Path() const { return path_; }
    void WriteFile(const std::string& name, const std::string& content) const;
    std::string ReadFile(const std::string& name) const;

private:
    std::string path_;
};

// The relay program under test.
const char* VashteloPath();
// A TCP port on 127.0.0.1 that was free a moment ago.
int FreeTcpPort();
// A lock namespace no other process of this run uses.
std::string UniqueLockNamespace();
// Milliseconds on a monotonic clock.
long long MonotonicMs();

// One Vashtelo process: standard input a pipe, console output into a file of its folder.
class RelayProcess {
public:
    RelayProcess() = default;
    ~RelayProcess();  // kills the relay if it still runs
    RelayProcess(const RelayProcess&) = delete;
    RelayProcess& operator=(const RelayProcess&) = delete;

    // Starts the relay in the folder as it stands (its ap.ini, if any, is the test's).
    bool Spawn(const std::string& folder, const std::string& lockNamespace,
               const std::string& outputFile = "console.txt");
    // Writes ap.ini with a free port, starts the relay and waits until it listens; tries
    // another port when the chosen one was taken in between.
    bool StartListening(const std::string& folder, const std::string& lockNamespace);
    int Port() const { return port_; }

    std::string Output() const;
    // 1 once the console output holds `text` at least `count` times.
    bool WaitForOutput(const std::string& text, int count = 1, int timeoutMs = 10000) const;
    int CountInOutput(const std::string& text) const;

    void Type(const std::string& keys);
    void CloseInput();
    void Signal(int sig);
    // The exit code (128 + signal when killed), or -1 while it still runs after the timeout.
    int WaitExit(int timeoutMs);

private:
    pid_t pid_ = -1;
    int input_ = -1;
    int port_ = 0;
    std::string outputPath_;
};

// A game's connection to the relay, as plain TCP.
class RelayClient {
public:
    // receiveBuffer > 0 shrinks the socket's receive buffer before connecting.
    explicit RelayClient(int port, int receiveBuffer = 0);
    ~RelayClient();
    RelayClient(const RelayClient&) = delete;
    RelayClient& operator=(const RelayClient&) = delete;

    bool Connected() const { return fd_ >= 0; }
    int Fd() const { return fd_; }
    bool Send(const std::string& bytes);
    bool Send(const void* data, size_t n);
    // Up to n bytes: fewer only when the timeout passed or the relay closed the connection.
    std::string Receive(size_t n, int timeoutMs = 5000);
    // Whatever arrives until nothing more has come for quietMs.
    std::string ReceiveUntilQuiet(int quietMs);
    // 1 when the relay closed the connection within the timeout.
    bool WaitClosed(int timeoutMs);
    void Close();

private:
    int fd_ = -1;
};
