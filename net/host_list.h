// The hosts announced on the chat page, read back from the downloaded page: the "<b>" lines
// carry a poster's address, the " > " lines the posted announcement. Only this game's
// announcements of one version are kept, thirty at most, the first of each address.
#pragma once

#include "string_list_file.h"
#include "sys_time.h"

#include <string>

constexpr int kHostListCapacity = 30;
constexpr int kHostFreePort = 5963;  // the port of a free entry
constexpr const char* kHostListFile = ".\\data\\dl_file.txt";
constexpr const char* kGameTag = "ZAU";
// A host's name and message as listed: anybody can post to the page, and each menu line becomes
// one text texture, so a posted line of any length must not reach the menu whole.
constexpr size_t kHostTextMax = 64;

class CHostList : public CStringListFile {
public:
    CHostList();  // every entry free, no version filter
    void Parse(const std::string& fileName);
    void Add(const std::string& address, int port, const std::string& text);

    std::string m_addresses[kHostListCapacity];
    int m_ports[kHostListCapacity];
    std::string m_texts[kHostListCapacity];  // as the host menu shows it
    int m_capacity;
    int m_lastIndex;  // -1 while empty, never above 29
    std::string m_versionFilter;
};

// EUC-JP (the chat page's text) to Shift-JIS by the JIS X 0208 arithmetic, without range
// checks; a lead byte with no byte behind it is dropped.
std::string EucToSjis(const std::string& euc);

// "count:NAME[ZAU-version-port-day-hour:minute]MSG", the text a host posts.
std::string BuildHostAnnouncement(int count, const std::string& name, int hostPort, const SysLocalTime& time,
                                  const std::string& msg);
// Every byte outside A-Z a-z 0-9 - . _ ~ as %XX, so no byte can break the request line.
std::string PercentEncode(const std::string& text);
