// The end-to-end driver: a real relay, a stateful chat page and whole game processes on one
// machine, each test in its own folders with its own port and lock namespace. Games are started
// headless (no desktop variables), their output files and the relay's console read as they grow.
#pragma once

#include "fake_chat_page.h"
#include "relay_harness.h"

#include <sys/types.h>

#include <atomic>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

// Bounded waiting: every wait in these tests ends by its deadline, never by hope.
bool WaitUntil(const std::function<bool()>& done, int timeoutMs, int pollMs = 20);

// Line helpers over output files.
std::vector<std::string> ReadLines(const std::string& path);
int FindLine(const std::vector<std::string>& lines, const std::string& text, int from = 0);  // -1 none
std::vector<std::string> LinesWith(const std::vector<std::string>& lines, const std::string& text);

// One test's world: the relay on a free port in a private lock namespace, and the chat page.
class E2eWorld {
public:
    E2eWorld() = default;
    E2eWorld(const E2eWorld&) = delete;
    E2eWorld& operator=(const E2eWorld&) = delete;

    bool Start();  // relay listening and chat page serving
    int Port() const { return m_relay.Port(); }
    const std::string& LockNamespace() const { return m_namespace; }
    std::string ChatUrl() const { return m_chat.BaseUrl(); }
    RelayProcess& Relay() { return m_relay; }
    CFakeChatPage& ChatPage() { return m_chat; }
    std::string RelayFolder() const { return m_relayFolder.Path(); }

private:
    TempFolder m_relayFolder;
    std::string m_namespace = UniqueLockNamespace();
    RelayProcess m_relay;
    CFakeChatPage m_chat;
};

// One game process in a folder of its own: "<folder>/game" is where it runs, with the relay
// program linked in so a host game can start its own copy; everything else the test needs
// (script, output, standard error) sits beside it.
class E2eProcess {
public:
    explicit E2eProcess(const std::string& name) : m_name(name) {}
    ~E2eProcess();  // a process still running is killed
    E2eProcess(const E2eProcess&) = delete;
    E2eProcess& operator=(const E2eProcess&) = delete;

    const std::string& Name() const { return m_name; }
    std::string Folder() const { return m_folder.Path(); }
    std::string GameDir() const { return m_folder.Path() + "/game"; }
    std::string FilePath(const std::string& name) const { return m_folder.Path() + "/" + name; }
    void WriteFile(const std::string& name, const std::string& text) const { m_folder.WriteFile(name, text); }
    std::string ReadFile(const std::string& name) const { return m_folder.ReadFile(name); }

    // Starts program with its arguments in the game folder, DISPLAY and WAYLAND_DISPLAY unset,
    // SDL on its offscreen and silent drivers and the world's lock namespace; standard output
    // and error go to files of the folder.
    bool Start(const std::string& program, const std::vector<std::string>& args, const E2eWorld& world);
    bool Running() { return Poll() < 0; }
    int Poll();               // the exit code (128 + signal), -1 while it runs
    int WaitExit(int timeoutMs);
    // "still running", or how it ended, for failure messages; leaves the process to Poll.
    std::string Status() const;
    void Kill();              // SIGKILL, as a crash or a pulled plug
    pid_t Pid() const { return m_pid; }

    // The lines of an output file of the folder, and a bounded wait for one holding the text;
    // the wait gives up early once the process has ended without writing it.
    std::vector<std::string> Lines(const std::string& file) const { return ReadLines(FilePath(file)); }
    bool WaitForLine(const std::string& file, const std::string& text, int timeoutMs);

private:
    std::string m_name;
    TempFolder m_folder;
    pid_t m_pid = -1;
    int m_exit = -1;
};

// A raw TCP client of the relay that keeps reading on a thread of its own, so the relay never
// finds it stuck; what arrived is kept for the test.
class E2eReadingClient {
public:
    explicit E2eReadingClient(int port);
    ~E2eReadingClient();
    E2eReadingClient(const E2eReadingClient&) = delete;
    E2eReadingClient& operator=(const E2eReadingClient&) = delete;

    bool Connected() const { return m_client.Connected(); }
    bool Send(const std::string& bytes) { return m_client.Send(bytes); }
    bool Closed() const { return m_closed; }   // the relay closed the connection
    size_t ReceivedBytes() const { return m_bytes; }
    std::string Received() const;
    void Close();

private:
    void Read();

    RelayClient m_client;
    std::atomic<bool> m_stop{false};
    std::atomic<bool> m_closed{false};
    std::atomic<size_t> m_bytes{0};
    mutable std::mutex m_lock;
    std::string m_received;
    std::thread m_thread;
};
