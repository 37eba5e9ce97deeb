// The relay's answers to the two requests, written over the very front of a chunk; besides these
// the relay only ever leaves out the answers a game sends itself and what it writes behind its id
// request (answer_filter.h).
#pragma once

#include "relay_limits.h"

// The rewrite never touches a byte past the first eight (the length of ">L------").
constexpr int kRewrittenFront = 8;

// Rewrites the front of a copy of a chunk (n bytes) for the game in slot `recipient`:
// ">L------" becomes ">l" and six letters, "t" for each slot in use and "f" for each free one;
// then ">I-" becomes ">i" and the recipient's slot digit. Both keep the length; a request
// later in the chunk, or a chunk too short to hold one, passes unchanged. 1 when it wrote the
// slot list.
int RewriteChunkFront(char* msg, int n, int recipient, const int (&inUse)[kMaxClients]);
