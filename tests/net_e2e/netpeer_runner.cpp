// Starting the network peer for a test: its folder from the driver, ap.ini entries for the
// test's relay and chat page, and the lobby texts every player greets and leaves with.
#include "netpeer_runner.h"

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <thread>

#ifndef SCREENSHOT_DIR
#error "SCREENSHOT_DIR names the folder for saved frames"
#endif
#ifndef ZAU_NETPEER_PATH
#error "ZAU_NETPEER_PATH must name the peer program"
#endif

bool StartNetPeer(E2eProcess& peer, const E2eWorld& world, const std::string& script, const SPeerOptions& options) {
    peer.WriteFile("script.txt", script);
    const std::string port = std::to_string(world.Port()), name = peer.Name();
    std::vector<std::string> args = {"--dir", peer.GameDir(), "--script", peer.FilePath("script.txt"), "--out",
                                     peer.FilePath("out.txt"), "--frames", std::to_string(options.frames)};
    if (options.paced) args.push_back("--paced");
    if (!options.draw) args.push_back("--no-battle-draw");
    for (const std::string& entry : std::vector<std::string>
         {"NET.NAME=" + name, "NET.MSG=e2e", "NET.IP=" + options.address, "NET.HostPort=" + port, "NET.GestPort=" + port,
          "NET.ChatURL=" + world.ChatUrl(), "QM.IN=hi from " + name, "QM.END=bye from " + name}) {
        args.push_back("--ini");
        args.push_back(entry);
    }
    return peer.Start(ZAU_NETPEER_PATH, args, world);
}

std::vector<std::string> PeerOutput(const E2eProcess& peer) { return peer.Lines("out.txt"); }

std::string PeerReport(const E2eProcess& peer) {
    return peer.Name() + " output:\n" + peer.ReadFile("out.txt") + "\nstderr:\n" + peer.ReadFile("stderr.txt") +
           "\nlog:\n" + peer.ReadFile("game/peer.log");
}

int LineFrame(const std::string& line) {
    if (line.empty() || line[0] < '0' || line[0] > '9') return -1;
    return atoi(line.c_str());
}

int ResultSteps(const std::string& line) {
    const size_t at = line.find("steps=");
    return at == std::string::npos ? -1 : atoi(line.c_str() + at + 6);
}

std::vector<std::string> StepLines(const std::vector<std::string>& out) {
    std::vector<std::string> steps;
    for (const std::string& line : out)
        if (line.rfind("step ", 0) == 0) steps.push_back(line);
    return steps;
}

bool WaitForLineWithinFrames(E2eProcess& peer, const std::string& text, int frames, int stuckMs) {
    int first = -1, last = -1;
    size_t lines = 0;
    auto heard = std::chrono::steady_clock::now();
    for (;;) {
        const bool ended = peer.Poll() >= 0;  // read after the exit check, so its last lines count
        const std::vector<std::string> out = PeerOutput(peer);
        if (FindLine(out, text) >= 0) return true;
        if (ended) return false;
        for (const std::string& line : out) last = std::max(last, LineFrame(line));
        if (first < 0) first = last;
        if (last - first > frames) return false;
        const auto now = std::chrono::steady_clock::now();
        if (out.size() != lines) {
            lines = out.size();
            heard = now;
        } else if (now - heard > std::chrono::milliseconds(stuckMs)) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
}

std::string Fill(std::string script, const std::string& name, const std::string& value) {
    const std::string key = "%" + name + "%";
    for (size_t at = script.find(key); at != std::string::npos; at = script.find(key, at + value.size()))
        script.replace(at, key.size(), value);
    return script;
}

bool SavePicture(const std::string& from, const std::string& name) {
    std::error_code error;
    std::filesystem::create_directories(SCREENSHOT_DIR, error);
    return std::filesystem::copy_file(from, std::string(SCREENSHOT_DIR) + "/" + name,
                                      std::filesystem::copy_options::overwrite_existing, error);
}
