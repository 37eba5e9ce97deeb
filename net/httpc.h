// The chat page's HTTP/1.0 client: one GET, the whole reply appended to a text-line list as a
// single item and written to a local file. Every request blocks the frame it runs in, so each
// step has a time limit; failures only go to the debug log, the player sees none of them.
#pragma once

#include "string_list_file.h"

#include <string>

// ---- Limits ------------------------------------------------------------------------------------
constexpr int kHttpKindGet = 2;             // the only kind httpc serves
constexpr size_t kHttpMaxHost = 255;
constexpr size_t kHttpMaxPortText = 7;
constexpr size_t kHttpMaxPath = 2048;       // an announcement with a long encoded NAME and MSG fits
constexpr size_t kHttpMaxRequest = 2560;
constexpr size_t kHttpMaxReply = 1 << 20;   // the page is a few kilobytes; the rest is not read
constexpr int kHttpReceiveChunk = 4095;
constexpr int kHttpConnectMs = 5000;
constexpr int kHttpIdleMs = 5000;           // this long without data ends the receive
constexpr int kHttpTotalMs = 10000;         // the whole request

// Tests shorten the limits; SetHttpTimeouts() with no arguments restores them.
void SetHttpTimeouts(int connectMs = kHttpConnectMs, int idleMs = kHttpIdleMs, int totalMs = kHttpTotalMs);

// The parts of an "http://host[:port][/path]" address.
struct HttpUrl {
    std::string host;
    int port = 80;
    std::string path = "/";
};
// 1 when the address is served; else the log line of the refusal ("httpc URL\n" or
// "httpのURLではありません\n") is written and 0 returned.
int ParseHttpUrl(const std::string& url, int kind, HttpUrl* out);
std::string BuildHttpRequest(const HttpUrl& url);  // the port always written, 80 too

// 0 when the request went out and the reply was read to its end, to a receive failure or to a
// silent server; -1 on every other failure. The reply (NUL bytes kept) becomes one item of the
// list when anything came. The file is not saved here.
int httpc(CStringListFile* request, int kind, const std::string& url);

// One GET whose reply is stored in a local file, rewritten by every request (empty when
// nothing came).
class CHttpRequest : public CStringListFile {
public:
    int Get(const std::string& localFile, const std::string& url);  // httpc's result
    int LineCount() const { return (int)m_lines.size(); }

    std::string m_localFile;
    std::string m_url;
};
