// The garage's test sortie, fought on the offline battle path; its result changes nothing.
#include "test_battle.h"

#include "garage.h"
#include "offline_battle.h"

void RunTestBattle(CGarage* garage) {
    SOfflineBattle sortie = SortieBattle(garage->m_build.EncodeConfig());
    sortie.afterFrame = [garage] { garage->PollLobby(); };
    RunOfflineBattle(sortie);
}
