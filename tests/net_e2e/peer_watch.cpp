// The peer's heartbeat, match waits and pictures. A match counts as over the first frame its
// battle says so, or, failing that, the frame it has gone.
#include "peer_watch.h"

#include "net_battle.h"
#include "scene_driver.h"

#include "sys_input.h"

#include <unistd.h>

#include <cstdlib>
#include <memory>

void CPeerWatch::Observe(FILE* out, int frame, const CNetBattle* battle, int step) {
    if (battle != m_battle) {
        if (m_battle && !m_counted) ++m_over;
        m_battle = battle;
        m_counted = false;
    }
    m_phase = battle ? battle->m_phase : -1;
    if (battle && battle->IsOver() && !m_counted) {
        m_counted = true;
        ++m_over;
    }
    if (frame % kBeatFrames == 0) {
        fprintf(out, "%d beat step=%d phase=%d\n", frame, step, m_phase);
        fflush(out);
    }
}

int CPeerWatch::AddStep(CSceneDriver& d, const std::string& cmd, const std::string& arg) {
    if (cmd == "picture") {
        if (arg.empty()) return 0;
        d.Do([&d, arg] {
            if (!d.ReadFrame().SavePng(arg)) fprintf(stderr, "zau_netpeer: cannot save %s\n", arg.c_str());
        });
        return 1;
    }
    if (cmd == "stall") {
        // "stall until file PATH": the whole game stops in this frame, as one the machine gives
        // no processor, until the test says; a frame is the only place a test can be sure of
        // what a game has done and not done yet.
        const std::string prefix = "until file ";
        if (arg.compare(0, prefix.size(), prefix) != 0 || arg.size() == prefix.size()) return 0;
        const std::string path = arg.substr(prefix.size());
        d.Do([path] {
            for (int ms = 0; access(path.c_str(), F_OK) != 0 && ms < kStallLimitMs; ms += 20) usleep(20000);
        });
        return 1;
    }
    if (cmd != "until") return 0;
    const size_t space = arg.find(' ');
    if (space == std::string::npos) return 0;
    const std::string what = arg.substr(0, space);
    if (what == "file") {
        const std::string path = arg.substr(space + 1);
        d.WaitFor([path] { return access(path.c_str(), F_OK) == 0; });
        return 1;
    }
    const int n = atoi(arg.c_str() + space + 1);
    if (what == "phase") d.WaitFor([this, n] { return m_battle && m_phase == n; });
    else if (what == "over") d.WaitFor([this, n] { return m_over >= n; });
    else return 0;
    return 1;
}

void CPeerWatch::PressUntilPhase(CSceneDriver& d, int key, int phase) {
    auto frame = std::make_shared<int>(0);
    d.WaitFor([this, key, phase, frame] {
        if (m_battle && m_phase == phase) {
            SysInjectKey(key, 0);
            return true;
        }
        const int at = (*frame)++ % kPressAgainFrames;
        if (at == 0) SysInjectKey(key, 1);
        if (at == kPressDownFrames) SysInjectKey(key, 0);
        return false;
    });
    d.Wait(0);
}
