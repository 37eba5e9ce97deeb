// Games for the end-to-end tests: the network peer started through the driver with the test's
// relay port, chat page and lobby texts, a script written beside it, and its output read back.
#pragma once

#include "e2e_driver.h"

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
// The peer's output lines and a report of everything it left, for failure messages.
std::vector<std::string> PeerOutput(const E2eProcess& peer);
std::string PeerReport(const E2eProcess& peer);
// The frame number that opens an output line ("FRAME KIND ..."); -1 for other lines.
int LineFrame(const std::string& line);
// The step a result line gives ("FRAME result R phase=P steps=N"); -1 when none.
int ResultSteps(const std::string& line);
// The per-step hash lines ("step N ..."), in order: two games in lockstep print the same ones.
std::vector<std::string> StepLines(const std::vector<std::string>& out);
// A wait for a line of the peer's output bounded by the peer's own frames, not by the wall clock,
// so a busy machine cannot fail it: it gives up once the peer has run `frames` frames past the
// one it was at when the wait began, has ended, or has written no line for stuckMs (stuck, not
// slow: a heartbeat comes every hundred frames).
bool WaitForLineWithinFrames(E2eProcess& peer, const std::string& text, int frames, int stuckMs = 60000);
// A script's "%NAME%" replaced.
std::string Fill(std::string script, const std::string& name, const std::string& value);
// A picture a peer saved, copied among the suite's saved frames under the name given; 1 when
// it was there to copy.
bool SavePicture(const std::string& from, const std::string& name);
