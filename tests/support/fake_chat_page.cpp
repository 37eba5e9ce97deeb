// The fake chat page's server loop: accept, read up to the blank line, answer by mode, close.
// A stop pipe wakes every wait, so the destructor never hangs on a stalled exchange.
#include "fake_chat_page.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cstring>

namespace {

constexpr const char* kHeader = "HTTP/1.0 200 OK\r\nContent-Type: text/html; charset=EUC-JP\r\n\r\n";

bool SendAll(int fd, const char* data, size_t n) {
    while (n > 0) {
        ssize_t r = send(fd, data, n, MSG_NOSIGNAL);
        if (r <= 0) return false;
        data += r;
        n -= (size_t)r;
    }
    return true;
}

// Waits for fd to be readable or the stop pipe to fire; true when fd is readable.
bool WaitReadable(int fd, int stop, int timeoutMs) {
    pollfd p[2] = {{fd, POLLIN, 0}, {stop, POLLIN, 0}};
    if (poll(p, 2, timeoutMs) <= 0) return false;
    return (p[1].revents & POLLIN) == 0 && (p[0].revents & (POLLIN | POLLHUP | POLLERR));
}

std::string QueryValue(const std::string& request, const char* key) {
    size_t line = request.find("\r\n");
    std::string first = request.substr(0, line);
    size_t at = first.find(key);
    if (at == std::string::npos) return std::string();
    at += strlen(key);
    size_t end = first.find_first_of("& ", at);
    return first.substr(at, end == std::string::npos ? std::string::npos : end - at);
}

}  // namespace

CFakeChatPage::CFakeChatPage(int port) {
    if (pipe(m_stopPipe) != 0) return;
    int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    int on = 1;
    setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    sockaddr_in a = {};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    a.sin_port = htons((unsigned short)port);
    socklen_t len = sizeof a;
    if (fd < 0 || bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0 || listen(fd, 8) != 0 ||
        getsockname(fd, reinterpret_cast<sockaddr*>(&a), &len) != 0) {
        if (fd >= 0) close(fd);
        return;
    }
    m_listen = fd;
    m_port = ntohs(a.sin_port);
    m_thread = std::thread([this] { Serve(); });
}

CFakeChatPage::~CFakeChatPage() {
    if (m_stopPipe[1] >= 0) {
        char byte = 1;
        ssize_t written = write(m_stopPipe[1], &byte, 1);
        (void)written;  // a full pipe is already a stop
    }
    if (m_thread.joinable()) m_thread.join();
    if (m_listen >= 0) close(m_listen);
    for (int fd : m_stopPipe)
        if (fd >= 0) close(fd);
}

CRefusingPort::CRefusingPort() {
    m_fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in a = {};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t len = sizeof a;
    if (m_fd < 0 || bind(m_fd, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0 ||
        getsockname(m_fd, reinterpret_cast<sockaddr*>(&a), &len) != 0)
        return;
    m_port = ntohs(a.sin_port);
}

CRefusingPort::~CRefusingPort() {
    if (m_fd >= 0) close(m_fd);
}

std::string CFakeChatPage::BaseUrl() const { return "http://127.0.0.1:" + std::to_string(m_port) + "/chat.cgi"; }

void CFakeChatPage::SetLocked(std::string& field, const std::string& value) {
    std::lock_guard<std::mutex> hold(m_lock);
    field = value;
}

std::vector<std::string> CFakeChatPage::Requests() const {
    std::lock_guard<std::mutex> hold(m_lock);
    return m_requests;
}

std::vector<std::string> CFakeChatPage::Posts() const {
    std::lock_guard<std::mutex> hold(m_lock);
    return m_posts;
}

std::string CFakeChatPage::Page() const {
    std::lock_guard<std::mutex> hold(m_lock);
    std::string page = "<html><head><title>chat</title></head><body>\n";
    for (size_t i = m_posts.size(); i-- > 0;) {
        std::string text = SjisToEuc(m_posts[i]);
        for (char& c : text)
            if (c == '\r' || c == '\n') c = ' ';
        page += "<b>127.0.0.1</b>\n > " + text + " <font size=1>(" + std::to_string(i) + ")</font><br>\n";
    }
    return page + "</body></html>\n";
}

void CFakeChatPage::Serve() {
    for (;;) {
        if (!WaitReadable(m_listen, m_stopPipe[0], -1)) return;
        int fd = accept4(m_listen, nullptr, nullptr, SOCK_CLOEXEC);
        if (fd < 0) continue;
        Answer(fd);
        close(fd);
    }
}

void CFakeChatPage::Answer(int fd) {
    std::string request;
    char buf[4096];
    while (request.find("\r\n\r\n") == std::string::npos) {
        if (!WaitReadable(fd, m_stopPipe[0], 5000)) return;
        ssize_t n = recv(fd, buf, sizeof buf, 0);
        if (n <= 0) break;
        request.append(buf, (size_t)n);
    }
    {
        std::lock_guard<std::mutex> hold(m_lock);
        m_requests.push_back(request);
    }
    switch (m_mode.load()) {
        case kStateful: {
            if (request.find("action=chat") != std::string::npos) {
                std::lock_guard<std::mutex> hold(m_lock);
                m_posts.push_back(PercentDecode(QueryValue(request, "message=")));
            }
            std::string reply = kHeader + Page();
            SendAll(fd, reply.data(), reply.size());
            break;
        }
        case kCanned: {
            std::string reply;
            {
                std::lock_guard<std::mutex> hold(m_lock);
                reply = m_reply;
            }
            SendAll(fd, reply.data(), reply.size());
            break;
        }
        case kPieces: {
            std::string reply;
            {
                std::lock_guard<std::mutex> hold(m_lock);
                reply = m_reply;
            }
            const int pieces = m_pieces > 0 ? m_pieces.load() : 1;
            size_t size = (reply.size() + (size_t)pieces - 1) / (size_t)pieces;
            for (size_t at = 0; at < reply.size(); at += size) {
                // The pause ends early when the page stops or the client gives up.
                if (at > 0) {
                    pollfd p[2] = {{m_stopPipe[0], POLLIN, 0}, {fd, POLLIN, 0}};
                    if (poll(p, 2, m_pauseMs) > 0) return;
                }
                if (!SendAll(fd, reply.data() + at, reply.size() - at < size ? reply.size() - at : size)) return;
            }
            break;
        }
        case kStall:
            // Until the client gives up (or the page stops), nothing is sent.
            while (WaitReadable(fd, m_stopPipe[0], -1))
                if (recv(fd, buf, sizeof buf, 0) <= 0) return;
            return;
        case kCloseSilently:
            break;
        case kHuge: {
            std::string block(65536, 'h');
            for (size_t sent = 0; sent < m_hugeSize; sent += block.size())
                if (!SendAll(fd, block.data(), std::min(block.size(), m_hugeSize - sent))) return;
            break;
        }
    }
    shutdown(fd, SHUT_WR);
}

std::string CFakeChatPage::PercentDecode(const std::string& text) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 2 < text.size() && isxdigit((unsigned char)text[i + 1]) &&
            isxdigit((unsigned char)text[i + 2])) {
            out += (char)std::stoi(text.substr(i + 1, 2), nullptr, 16);
            i += 2;
        } else if (text[i] == '+') {
            out += ' ';
        } else {
            out += text[i];
        }
    }
    return out;
}

// Shift-JIS to EUC-JP by the JIS X 0208 arithmetic; half-width katakana get the 0x8E prefix.
std::string CFakeChatPage::SjisToEuc(const std::string& sjis) {
    std::string out;
    for (size_t i = 0; i < sjis.size(); ++i) {
        unsigned s1 = (unsigned char)sjis[i];
        if (s1 < 0x80) {
            out += (char)s1;
        } else if (s1 >= 0xA1 && s1 <= 0xDF) {
            out += (char)0x8E;
            out += (char)s1;
        } else if (i + 1 < sjis.size()) {
            unsigned s2 = (unsigned char)sjis[++i];
            unsigned lead = s1 >= 0xE0 ? s1 - 0x40 : s1;
            unsigned row = (lead - 0x81) * 2 + 0x21;
            unsigned col;
            if (s2 >= 0x9F) {
                ++row;
                col = s2 - 0x9F + 0x21;
            } else {
                col = s2 - 0x40 + 0x21 - (s2 >= 0x80 ? 1 : 0);
            }
            out += (char)(row | 0x80);
            out += (char)(col | 0x80);
        }
    }
    return out;
}
