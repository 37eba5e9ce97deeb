// Starting the network peer for a test: its folder from the driver, ap.ini entries for the
// test's relay and chat page, and the lobby texts every player greets and leaves with.
#include "netpeer_runner.h"

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
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
    return PeerWhere(peer) + "\n" + peer.Name() + " output:\n" + peer.ReadFile("out.txt") + "\nstderr:\n" + peer.ReadFile("stderr.txt") +
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

namespace {

using Clock = std::chrono::steady_clock;

// A game's output as it grows, read from where the last look ended: the frame it is at, when that
// last moved, and whether a line holding the awaited text has come. Only a line that opens with a
// later frame is a sign of life: a game whose frames stand still may go on writing others (the
// per-step hash lines of a battle stuck stepping within one frame).
class CPeerProgress {
public:
    CPeerProgress(E2eProcess* peer, const std::string& text) : m_peer(peer), m_text(text), m_moved(Clock::now()) {
        Look();
        m_first = std::max(m_frame, 0);
    }
    E2eProcess& Peer() const { return *m_peer; }
    bool Seen() const { return !m_text.empty() && m_seen; }
    bool Ended() const { return m_ended; }
    int Frame() const { return m_frame; }
    int Frames() const { return std::max(m_frame, 0) - m_first; }
    long long StillMs() const {
        return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - m_moved).count();
    }

    // Whether it still runs is taken first, so the lines it wrote before it ended count.
    void Look() {
        m_ended = m_peer->Poll() >= 0;
        std::ifstream in(m_peer->FilePath("out.txt"), std::ios::binary);
        if (!in) return;
        in.seekg(0, std::ios::end);
        const std::streamoff size = in.tellg();
        if (size <= m_read) return;
        std::string grown((size_t)(size - m_read), '\0');
        in.seekg(m_read);
        if (!in.read(&grown[0], (std::streamsize)grown.size())) return;
        m_read = size;
        m_partial += grown;
        size_t from = 0;
        for (size_t end = m_partial.find('\n'); end != std::string::npos; end = m_partial.find('\n', from)) {
            const std::string line = m_partial.substr(from, end - from);
            from = end + 1;
            if (LineFrame(line) > m_frame) {
                m_frame = LineFrame(line);
                m_moved = Clock::now();
            }
            if (!m_text.empty() && line.find(m_text) != std::string::npos) m_seen = true;
        }
        m_partial.erase(0, from);
    }

private:
    E2eProcess* m_peer;
    std::string m_text;
    Clock::time_point m_moved;
    std::streamoff m_read = 0;
    std::string m_partial;
    int m_frame = -1, m_first = 0;
    bool m_seen = false, m_ended = false;
};

testing::AssertionResult Watch(std::vector<CPeerProgress>& watched, const std::function<bool()>& done, int frames,
                               const std::string& what, int stuckMs) {
    if (watched.empty()) return testing::AssertionFailure() << what << ": no game to wait on";
    for (;;) {
        for (CPeerProgress& w : watched) w.Look();
        if (done()) return testing::AssertionSuccess();
        bool allPast = true;
        for (const CPeerProgress& w : watched) {
            if (w.Seen()) continue;
            if (w.Ended()) return testing::AssertionFailure() << what << ": " << PeerWhere(w.Peer());
            if (w.StillMs() > stuckMs) {
                testing::AssertionResult failure = testing::AssertionFailure();
                failure << what << ": " << w.Peer().Name();
                if (w.Frame() < 0) failure << " showed no frame";
                else failure << " stood at frame " << w.Frame();
                return failure << " for " << stuckMs / 1000 << " s; " << PeerWhere(w.Peer());
            }
            allPast = allPast && w.Frames() > frames;
        }
        if (allPast) {
            testing::AssertionResult failure = testing::AssertionFailure();
            failure << what << ": not within " << frames << " frames";
            for (const CPeerProgress& w : watched)
                if (!w.Seen()) failure << "; " << PeerWhere(w.Peer());
            return failure;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
}

}  // namespace

testing::AssertionResult WaitWhilePeersRun(const std::vector<E2eProcess*>& peers, const std::function<bool()>& done,
                                           int frames, const std::string& what, int stuckMs) {
    std::vector<CPeerProgress> watched;
    for (E2eProcess* p : peers) watched.emplace_back(p, "");
    return Watch(watched, done, frames, what, stuckMs);
}

testing::AssertionResult WaitForLineWithinFrames(E2eProcess& peer, const std::string& text, int frames, int stuckMs) {
    std::vector<CPeerProgress> watched;
    watched.emplace_back(&peer, text);
    return Watch(watched, [&] { return watched[0].Seen(); }, frames, "\"" + text + "\" awaited", stuckMs);
}

testing::AssertionResult WaitForLinesWithinFrames(const std::vector<E2eProcess*>& peers, const std::string& text,
                                                  int frames) {
    std::vector<CPeerProgress> watched;
    for (E2eProcess* p : peers) watched.emplace_back(p, text);
    return Watch(
        watched,
        [&] { return std::all_of(watched.begin(), watched.end(), [](const CPeerProgress& w) { return w.Seen(); }); },
        frames, "\"" + text + "\" awaited", kStuckMs);
}

int WaitForPeerExit(E2eProcess& peer, int frames, int stuckMs) {
    std::vector<CPeerProgress> watched;
    watched.emplace_back(&peer, "");
    return Watch(watched, [&] { return watched[0].Ended(); }, frames, "its end awaited", stuckMs) ? peer.Poll() : -1;
}

std::string PeerWhere(const E2eProcess& peer) {
    const std::vector<std::string> out = PeerOutput(peer);
    std::string last = "no line yet";
    for (auto it = out.rbegin(); it != out.rend(); ++it)
        if (!it->empty()) {
            last = "last line \"" + *it + "\"";
            break;
        }
    return peer.Name() + " " + peer.Status() + ", " + last;
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
