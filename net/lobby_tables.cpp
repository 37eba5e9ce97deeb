// The status records a lobby writes (its own report, the host's settings broadcast) and the
// slot-table rules around them: counting connected slots and levelling the teams.
#include "lobby.h"

#include "wire.h"

#include <string>

namespace {

std::string Record(const std::string& head, char letter, const std::string& value) {
    return head + letter + ToWireText(value);
}

std::string Record(const std::string& head, char letter, int value) {
    return head + letter + std::to_string(value);
}

}  // namespace

// While the own id is still -1 the record starts "-1-1": its third character is no letter,
// so every receiver drops it.
void CLobby::QueueOwnStatus() {
    const std::string id = std::to_string(m_ownId);
    const std::string head = ">g" + id + id;
    QueueMessage(Record(head, 'r', m_ownCode));
    QueueMessage(Record(head, 'm', m_ownStage));
    QueueMessage(Record(head, 'p', m_ownBattleIndex));
    QueueMessage(Record(head, 'n', m_name));
    QueueMessage(Record(head, 's', m_ownState));
    QueueMessage(Record(head, 't', m_ownTeam));
}

// Slot 0 is never broadcast: every lobby takes the host's own slot from its own report.
void CLobby::BroadcastSettings() {
    if (m_ownId != 0) return;
    BalanceTeams();
    for (int k = 1; k < kLobbySlots; ++k) {
        const std::string head = ">g0" + std::to_string(k);
        QueueMessage(Record(head, 'r', m_slotCodes[k]));
        QueueMessage(Record(head, 'm', m_stage));
        QueueMessage(Record(head, 'g', m_mode));
        QueueMessage(Record(head, 'l', m_timeLimit));
        QueueMessage(Record(head, 'b', m_fighters));
        QueueMessage(Record(head, 'p', m_slotBattleIndex[k]));
        QueueMessage(Record(head, 'n', m_slotNames[k]));
        QueueMessage(Record(head, 's', m_slotStates[k]));
        QueueMessage(Record(head, 't', m_slotTeams[k]));
    }
}

// Every slot not reported connected goes back to waiting as a CPU until the next ">l".
int CLobby::CountConnected() {
    int count = 0;
    for (int i = 0; i < m_slotCount; ++i) {
        if (m_slotConnections[i] == kSlotConnected) {
            ++count;
        } else {
            m_slotNames[i] = "CPU";
            m_slotConnections[i] = "待ち";
        }
    }
    return count;
}

int CLobby::TeamImbalance() {
    int limit = m_fighters < m_slotCount ? m_fighters : m_slotCount;
    int balance = 0;
    for (int i = 0; i < limit; ++i) {
        if (m_slotTeams[i].empty()) continue;
        if (m_slotTeams[i][0] == 'A') ++balance;
        if (m_slotTeams[i][0] == 'B') --balance;
    }
    return balance;
}

// Only CPU slots the relay reported empty are retagged; players and slots still "待ち" keep
// their teams. The imbalance is recomputed after each retag, so it stops once level.
void CLobby::BalanceTeams() {
    if (m_mode == 4) return;
    int limit = m_fighters < m_slotCount ? m_fighters : m_slotCount;
    for (int i = 0; i < limit; ++i) {
        int imbalance = TeamImbalance();
        if (imbalance == 0) return;
        if (m_slotConnections[i] == kSlotEmpty) m_slotTeams[i] = imbalance > 0 ? "BM" : "AM";
    }
}
