// A fake world for the key exchange (pads it fills from a pattern of its own, steps it only
// counts and records) and a pipe that carries an exchange's text over a relay link the way the
// lobby does: whole messages in sends of at most 1024 characters, whatever arrives appended.
#pragma once

#include "key_exchange.h"
#include "net_link.h"

#include <string>
#include <vector>

class CFakeWorld : public CKeyWorld {
public:
    CFakeWorld() : m_exchange(this, m_pads) {}

    void FillOutgoingFrame() override {
        ++m_gathers;
        for (int i = 0; i < kExchangeRobots; ++i)
            for (int k = 0; k < kPadSlots; ++k) m_pads[i].m_values[k] = (m_gathers * 7 + i * 3 + k * m_seed) % 4;
    }
    void IdleKeys() override {
        ++m_idles;
        if (m_f4OnIdle) m_exchange.RequestEnd();
    }
    bool StepFromKeys() override {
        ++m_steps;
        std::string record;
        for (int i = 0; i < m_exchange.m_robotCount; ++i)
            for (int v : m_pads[i].m_values) record += char('0' + v);
        m_record.push_back(record);
        return m_endAt > 0 && m_steps >= m_endAt;
    }
    void ForceEnd() override { ++m_forced; }

    CPad m_pads[kExchangeRobots];
    CKeyExchange m_exchange;
    int m_seed = 1;
    int m_gathers = 0, m_idles = 0, m_steps = 0, m_forced = 0, m_endAt = 0;
    bool m_f4OnIdle = false;
    std::vector<std::string> m_record;  // the pads of every robot, per step
};

inline void SendLikeTheLobby(CNetLink* link, std::string& out) {
    while (!out.empty()) {
        size_t n = out.size();
        if (n > 1024) {
            n = out.rfind('>', 1024);
            if (n == 0 || n == std::string::npos) n = 1024;
        }
        link->Send(out.data(), (int)n);
        out.erase(0, n);
    }
}

inline void ReceiveAll(CNetLink* link, std::string& in) {
    char buffer[1024];
    while (link->IsReadable()) {
        int n = link->Receive(buffer, sizeof buffer);
        if (n <= 0) break;
        in.append(buffer, (size_t)n);
    }
}
