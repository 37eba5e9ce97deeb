// The fixed bounds of the relay.
#pragma once

// Six games make the largest online match; slot numbers 0 to 5 are the games' relay slots.
constexpr int kMaxClients = 6;
// Connections that may wait to be accepted: one per game.
constexpr int kListenBacklog = 6;
// One receive of at most this many bytes is relayed as one chunk.
constexpr int kChunkSize = 1024;
// A game whose socket stays full for this long is dropped: it would otherwise hold up the
// relay for every other game. Generous, because a game blocks its frames during HTTP requests.
constexpr int kSendTimeoutMs = 5000;
// A game that has not acknowledged what was sent to it for this long, or that stays silent and
// leaves the keep-alive probes unanswered this long, is gone: the match ends within about twice
// this. The probes start after a short silence so that an idle game is checked as soon.
constexpr unsigned kLivenessTimeoutMs = 20000;
constexpr int kKeepAliveIdleS = 10;
constexpr int kKeepAliveIntervalS = 5;
constexpr int kKeepAliveProbes = 3;
