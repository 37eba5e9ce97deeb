// The main loop over scenes: the logo once, then the title and the scene it chose, again and
// again, until "EXIT" or a quit sets the quit flag.
#include "game_main.h"

#include "scenes.h"

#include "action_registry.h"
#include "debug_log.h"
#include "engine.h"

#include "sys_info.h"

#include <string>

int GameMain() {
    SysSetFpuRoundNearest();
    // Of two rows with one name the second is never run, and rows past the registry's room are
    // never found: said once, before the first battle, rather than met as a robot standing still.
    std::string fault;
    if (!CheckActionRegistry(&fault)) LogPrintf("action registry: %s\n", fault.c_str());
    LogoScene();
    while (!g_quit) {
        switch (TitleScene()) {
            case kSceneSingleCampaign: SingleCampaignScene(); break;
            case kSceneTeamCampaign: TeamCampaignScene(); break;
            case kSceneNet: NetLobbyScene(); break;
            case kSceneGarage: GarageScene(); break;
            case kSceneOption: OptionScene(); break;
            case kSceneExit: g_quit = 1; break;
            default: break;  // "Cancel" shows the title again; -1 leaves on the quit flag
        }
    }
    return g_quit;
}
