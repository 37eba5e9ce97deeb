// The HTTP client's steps: address, socket, name, connect, send, receive, close. The request
// text is exactly the one the chat page has always been sent.
#include "httpc.h"

#include "debug_log.h"
#include "sys_tcp_exchange.h"

#include <strings.h>

#include <cstdio>

namespace {

int g_connectMs = kHttpConnectMs;
int g_idleMs = kHttpIdleMs;
int g_totalMs = kHttpTotalMs;

int RefuseUrl() {
    LogPrintf("httpc URL\n");
    return 0;
}

// A port is one to seven digits naming 1 to 65535.
int ReadPort(const std::string& text, int* port) {
    if (text.empty() || text.size() > kHttpMaxPortText) return 0;
    long value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return 0;
        value = value * 10 + (c - '0');
    }
    if (value < 1 || value > 65535) return 0;
    *port = (int)value;
    return 1;
}

// What is left of the whole request's time, but never more than the step's own limit.
int StepWait(long long start, int stepMs) {
    long long left = start + g_totalMs - SysTcpClockMs();
    if (left < 0) left = 0;
    return left < stepMs ? (int)left : stepMs;
}

}  // namespace

void SetHttpTimeouts(int connectMs, int idleMs, int totalMs) {
    g_connectMs = connectMs;
    g_idleMs = idleMs;
    g_totalMs = totalMs;
}

int ParseHttpUrl(const std::string& url, int kind, HttpUrl* out) {
    if (kind != kHttpKindGet || url.size() <= 7) return RefuseUrl();
    if (strncasecmp(url.c_str(), "http://", 7) != 0) {
        LogPrintf("httpのURLではありません\n");
        return 0;
    }
    HttpUrl parsed;
    size_t slash = url.find('/', 7);
    parsed.host = url.substr(7, slash == std::string::npos ? std::string::npos : slash - 7);
    parsed.path = slash == std::string::npos ? "/" : url.substr(slash);
    size_t colon = parsed.host.find(':');
    if (colon != std::string::npos) {
        if (!ReadPort(parsed.host.substr(colon + 1), &parsed.port)) return RefuseUrl();
        parsed.host.erase(colon);
    }
    if (parsed.host.size() > kHttpMaxHost || parsed.path.size() > kHttpMaxPath) return RefuseUrl();
    if (BuildHttpRequest(parsed).size() > kHttpMaxRequest) return RefuseUrl();
    *out = parsed;
    return 1;
}

std::string BuildHttpRequest(const HttpUrl& url) {
    return "GET " + url.path + " HTTP/1.0\r\nHost: " + url.host + ":" + std::to_string(url.port) +
           "\r\nUser-Agent: httpc/0.0\r\n\r\n";
}

int httpc(CStringListFile* request, int kind, const std::string& url) {
    HttpUrl parsed;
    if (!ParseHttpUrl(url, kind, &parsed)) return -1;
    const long long start = SysTcpClockMs();

    int fd = SysTcpOpen();
    if (fd < 0) {
        LogPrintf("Socket作成失敗\n");
        return -1;
    }
    unsigned int address = 0;
    if (SysTcpResolve(parsed.host.c_str(), &address, StepWait(start, g_connectMs)) != 1) {
        LogPrintf("ホストアドレス取得失敗\n");
        SysTcpClose(fd);
        return -1;
    }
    if (!SysTcpConnect(fd, address, parsed.port, StepWait(start, g_connectMs))) {
        LogPrintf("サーバへの接続失敗\n");
        SysTcpClose(fd);
        return -1;
    }
    const std::string text = BuildHttpRequest(parsed);
    if (!SysTcpSendAll(fd, text.data(), (int)text.size(), StepWait(start, g_idleMs))) {
        LogPrintf("サーバへの送信失敗\n");
        SysTcpShutdown(fd);
        SysTcpClose(fd);
        return -1;
    }

    std::string reply;
    char chunk[kHttpReceiveChunk];
    for (;;) {
        int n = SysTcpReceive(fd, chunk, sizeof chunk, StepWait(start, g_idleMs));
        if (n == kSysTcpClosed) break;
        if (n < 0) {
            LogPrintf("サーバからの受信失敗\n");
            break;
        }
        if (reply.size() + (size_t)n > kHttpMaxReply) {
            reply.append(chunk, kHttpMaxReply - reply.size());
            LogPrintf("サーバからの受信が%uバイトを超えました\n", (unsigned)kHttpMaxReply);
            break;
        }
        reply.append(chunk, (size_t)n);
    }
    if (!reply.empty()) request->AddItem(reply);
    SysTcpShutdown(fd);
    SysTcpClose(fd);
    return 0;
}

int CHttpRequest::Get(const std::string& localFile, const std::string& url) {
    m_localFile = localFile;
    m_url = url;
    SetFileName(localFile);
    Clear();
    const int result = httpc(this, kHttpKindGet, url);
    Save();
    return result;
}
