// The chat page's reply as the host list reads it: stored in the downloaded file as the HTTP
// request stores it, read back line by line, cut into address, count, name, tag, version, port
// and message, converted from EUC-JP. The same bytes also go through EucToSjis alone and, as a
// configured chat address, through the URL parse.
#include "fuzz_support.h"

#include "host_list.h"
#include "httpc.h"
#include "title.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    if (!MakeFuzzFolder("")) FuzzFail("no private folder");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    CInFuzzFolder here;
    const std::string bytes = Bytes(data, size);

    // The reply becomes the one item of the downloaded file, as CHttpRequest::Get keeps it.
    CStringListFile reply;
    reply.SetFileName(kHostListFile);
    if (!bytes.empty()) reply.AddItem(bytes);
    reply.Save();
    CHostList list;
    list.m_versionFilter = kGameVersion;
    list.Parse(kHostListFile);
    FUZZ_CHECK(list.m_lastIndex >= -1 && list.m_lastIndex < kHostListCapacity, std::to_string(list.m_lastIndex));
    for (int i = 0; i <= list.m_lastIndex; ++i)
        FUZZ_CHECK(list.m_ports[i] >= 1 && list.m_ports[i] <= 65535, std::to_string(list.m_ports[i]));

    // Two bytes out for each pair in, one for each single byte: never more bytes than came in.
    FUZZ_CHECK(EucToSjis(bytes).size() <= bytes.size(), bytes);

    HttpUrl url;
    if (ParseHttpUrl(bytes, kHttpKindGet, &url)) {
        FUZZ_CHECK(url.host.size() <= kHttpMaxHost, url.host);
        FUZZ_CHECK(url.path.size() <= kHttpMaxPath, url.path);
        FUZZ_CHECK(url.port >= 1 && url.port <= 65535, std::to_string(url.port));
        FUZZ_CHECK(BuildHttpRequest(url).size() <= kHttpMaxRequest, bytes);
    }
    return 0;
}
