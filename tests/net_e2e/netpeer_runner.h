// Games for the end-to-end tests: the network peer started through the driver with the test's
// relay port, chat page and lobby texts, a script written beside it, and its output read back.
#pragma once

#include "e2e_driver.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

struct SPeerOptions {
    bool paced = true;
    bool draw = false;
    int frames = 30000;
    std::string address = "127.0.0.1";  // where "connect by address" finds the relay
};

// Starts `peer` as the player of its name with the script (UTF-8); 1 when it runs.
bool StartNetPeer(E2eProcess& peer, const E2eWorld& world, const std::string& script, const SPeerOptions& options = {});
// The peer's output lines and a report of everything it left, for failure messages: where it
// stands first.
std::vector<std::string> PeerOutput(const E2eProcess& peer);
std::string PeerReport(const E2eProcess& peer);
// The frame number that opens an output line ("FRAME KIND ..."); -1 for other lines.
int LineFrame(const std::string& line);
// The step a result line gives ("FRAME result R phase=P steps=N"); -1 when none.
int ResultSteps(const std::string& line);
// The per-step hash lines ("step N ..."), in order: two games in lockstep print the same ones.
std::vector<std::string> StepLines(const std::vector<std::string>& out);
// Waits on games count the games' own frames, so a busy machine that only slows them cannot fail
// a test. The wall clock is only the backstop for a game making no progress at all: one whose
// frames have not moved for this long while it runs is stuck, not slow, whatever else it writes
// (a heartbeat comes every hundred frames, and a game on a busy machine still runs a few a second).
constexpr int kStuckMs = 180000;
// Frames a game is given at the least for a part of a test, counted on the game's own clock (a
// paced game runs sixty a second on a quiet machine): from its start to its id in the lobby, and
// from there to a point of its match, to the match's end or back in the lobby.
constexpr int kJoinFrames = 3000;
constexpr int kPartFrames = 6000;
// From the last step of a script to the game's exit: the lobby closing and the engine shutting
// down.
constexpr int kExitFrames = 600;

// Until done() holds, while the games make progress: gives up once each of them still running
// has run `frames` frames past the one it was at when the wait began, once one has ended, or once
// one's frames have stood still for stuckMs while it runs. A failure says what was awaited, why
// it gave up and how each game it names stands: whether it still runs and its last line.
testing::AssertionResult WaitWhilePeersRun(const std::vector<E2eProcess*>& peers, const std::function<bool()>& done,
                                           int frames, const std::string& what, int stuckMs = kStuckMs);
// A line of the peer's output holding the text, waited for as above.
testing::AssertionResult WaitForLineWithinFrames(E2eProcess& peer, const std::string& text, int frames,
                                                 int stuckMs = kStuckMs);
// Each peer's line holding the text; a peer that wrote it may end while the others go on.
testing::AssertionResult WaitForLinesWithinFrames(const std::vector<E2eProcess*>& peers, const std::string& text,
                                                  int frames);
// The peer's exit code once it has ended, waited for as above (a peer never ends on its own
// before its frame limit); -1 when the wait gave up.
int WaitForPeerExit(E2eProcess& peer, int frames = kExitFrames, int stuckMs = kStuckMs);
// "NAME still running, last line: ..." or "NAME ended with exit code N, last line: ...".
std::string PeerWhere(const E2eProcess& peer);
// A script's "%NAME%" replaced.
std::string Fill(std::string script, const std::string& name, const std::string& value);
// A picture a peer saved, copied among the suite's saved frames under the name given; 1 when
// it was there to copy.
bool SavePicture(const std::string& from, const std::string& name);
