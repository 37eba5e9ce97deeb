// The two campaign scenes of the title menu, their intros and their endings: the tune and the
// robot select before the chain, the chain until the first lost stage, the staff roll after
// a won final.
#include "battle.h"
#include "campaign.h"
#include "loading_screen.h"
#include "robot_presets.h"
#include "scenes.h"
#include "staff_roll.h"

#include "engine.h"
#include "music.h"

namespace {

using StageFn = void (*)(CCampaign*, int row);
using FinalFn = void (*)(CCampaign*);
using IntroFn = void (*)(CCampaign*);
using EndingFn = void (*)();

bool Lost(const CCampaign& c) { return c.m_result == kResultLost; }

void RunCampaign(IntroFn intro, StageFn stage, FinalFn final, EndingFn ending) {
    ShowLoadingScreen();
    if (g_quit) return;
    CCampaign campaign;
    intro(&campaign);
    for (int row = 0; row < kCampaignStageCount && !Lost(campaign); ++row) stage(&campaign, row);
    if (!Lost(campaign)) final(&campaign);
    if (!Lost(campaign)) ending();
}

}  // namespace

std::string ChoosePlayerRobot() { return RobotSelectScene(); }

void CampaignIntro(CCampaign* c) {
    PlayMidiFile(kCampaignTune);
    c->m_playerCode = ChoosePlayerRobot();
    c->m_partnerCode = c->m_playerCode;
    if (c->m_playerCode.empty()) c->m_result = kResultLost;
    StopMusic();
}

void TeamCampaignIntro(CCampaign* c) {
    PlayMidiFile(kCampaignTune);
    c->m_playerCode = ChoosePlayerRobot();
    if (c->m_playerCode.empty()) {
        c->m_result = kResultLost;
    } else {
        c->m_partnerCode = ChoosePlayerRobot();
        if (c->m_partnerCode.empty()) c->m_result = kResultLost;
    }
    StopMusic();
}

void SingleCampaignScene() { RunCampaign(CampaignIntro, SetupSingleStage, RunFinalStage, EndingScene); }
void TeamCampaignScene() { RunCampaign(TeamCampaignIntro, SetupTeamStage, RunTeamFinalStage, TeamEndingScene); }
