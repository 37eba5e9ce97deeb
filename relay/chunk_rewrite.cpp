// Each recipient gets its own rewrite, so every game learns its own slot from one request.
#include "chunk_rewrite.h"

#include <cstring>

int RewriteChunkFront(char* msg, int n, int recipient, const int (&inUse)[kMaxClients]) {
    int listed = 0;
    if (n >= 8 && memcmp(msg, ">L------", 8) == 0) {
        listed = 1;
        msg[1] = 'l';
        for (int j = 0; j < kMaxClients; ++j) msg[2 + j] = inUse[j] ? 't' : 'f';
    }
    if (n >= 3 && memcmp(msg, ">I-", 3) == 0) {
        msg[1] = 'i';
        msg[2] = (char)('0' + recipient);
    }
    return listed;
}
