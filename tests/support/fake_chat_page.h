// A chat page on 127.0.0.1 for the host-directory tests and the zau_chatpage tool: a thread
// serving one HTTP request per connection on a port the system picks, keeping every raw request.
// Stateful, it takes "?action=chat&message=" posts and answers every request with the page of
// posts, newest first, in EUC-JP; the other modes misbehave in the ways a web server can.
#pragma once

#include <atomic>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

class CFakeChatPage {
public:
    enum Mode {
        kStateful,       // posts and the page
        kCanned,         // the given bytes, then close
        kPieces,         // the given bytes in pieces with a pause between them
        kStall,          // reads the request and never answers
        kCloseSilently,  // closes without a byte
        kHuge,           // an endless-looking reply of the given size
    };

    explicit CFakeChatPage(int port = 0);  // 0: a free port
    ~CFakeChatPage();
    CFakeChatPage(const CFakeChatPage&) = delete;
    CFakeChatPage& operator=(const CFakeChatPage&) = delete;

    bool Listening() const { return m_listen >= 0; }
    int Port() const { return m_port; }
    std::string BaseUrl() const;  // "http://127.0.0.1:PORT/chat.cgi"

    void SetMode(Mode mode) { m_mode = mode; }
    void SetReply(const std::string& bytes) { SetLocked(m_reply, bytes); }
    void SetPieces(int pieces, int pauseMs) { m_pieces = pieces; m_pauseMs = pauseMs; }
    void SetHugeSize(size_t bytes) { m_hugeSize = bytes; }

    std::vector<std::string> Requests() const;  // raw, as received
    std::vector<std::string> Posts() const;     // decoded texts (Shift-JIS), oldest first
    std::string Page() const;                   // the stateful page as it stands

    // The stateful page's helpers, exposed for tests of the fake itself.
    static std::string PercentDecode(const std::string& text);
    static std::string SjisToEuc(const std::string& sjis);

private:
    void Serve();
    void Answer(int fd);
    void SetLocked(std::string& field, const std::string& value);

    int m_listen = -1;
    int m_port = 0;
    int m_stopPipe[2] = {-1, -1};
    std::atomic<Mode> m_mode{kStateful};
    std::atomic<int> m_pieces{3};
    std::atomic<int> m_pauseMs{50};
    std::atomic<size_t> m_hugeSize{3u << 20};
    mutable std::mutex m_lock;
    std::string m_reply;
    std::vector<std::string> m_requests;
    std::vector<std::string> m_posts;
    std::thread m_thread;
};

// A port on 127.0.0.1 that refuses every connection while this lives: bound, so that no other
// test of a parallel run can be listening there, and never listening itself.
class CRefusingPort {
public:
    CRefusingPort();
    ~CRefusingPort();
    CRefusingPort(const CRefusingPort&) = delete;
    CRefusingPort& operator=(const CRefusingPort&) = delete;

    int Port() const { return m_port; }

private:
    int m_fd = -1;
    int m_port = 0;
};
