// The CPU campaigns: the campaign record, the chain of eight stages and a final that both
// campaigns fight, one-on-one ("VS CPU SINGLE") or two-on-two with a partner ("VS CPU TIAME"),
// and the battle each stage sets up. The first lost stage ends a campaign.
#pragma once

#include "offline_battle.h"
#include "robot_catalog.h"

#include <string>

extern const char kCampaignTune[];  // the intros' and the endings' tune, looped

// ---- The stage chain ------------------------------------------------------------------------------
constexpr int kCampaignStageCount = 8;  // stages before the final

struct SCampaignStage {
    const char* enemyModel;
    int stage;   // stage number of the stage table
    int aiType;  // CPU opponent type of the enemies (and of a team campaign's partner)
};
extern const SCampaignStage kCampaignChain[kCampaignStageCount];

// The single final: two enemies, the second started beside the first and aimed at the player.
extern const char kFinalEnemyModel1[];
extern const char kFinalEnemyModel2[];
constexpr int kFinalStage = 18;
constexpr int kFinalAiType = -1;
// The team final: one black boss with strengthened stats against the player and the partner.
constexpr int kTeamFinalStage = 3;
constexpr int kTeamFinalAiType = -1;  // the partner's
constexpr int kBossAiType = 3;
extern const int kBossBuild[kConfigCount];
extern const SStatOverride kBossStats;

// Paint of the sides as colour words 0xRGB: the player's side white, the enemies grey, each
// robot with a trim of its own.
constexpr int kPlayerPaint[2] = {0xFFF, 0x99F};
constexpr int kEnemy1Paint[2] = {0x777, 0xFF0};
constexpr int kPartnerPaint[2] = {0xFFF, 0xF66};
constexpr int kEnemy2Paint[2] = {0x777, 0x0F0};

// ---- The campaign record --------------------------------------------------------------------------
class CCampaign {
public:
    CCampaign();  // every code the DID-03's; stage, AI type and result 0
    CCampaign(const CCampaign&) = delete;
    CCampaign& operator=(const CCampaign&) = delete;

    std::string m_playerCode;
    std::string m_partnerCode;
    std::string m_enemyCode1;
    std::string m_enemyCode2;
    int m_stage = 0;
    int m_aiType = 0;
    int m_result = 0;  // 0 not played, 3 won, 4 lost
    CRobotCatalog m_catalog;
};

// ---- Scenes ---------------------------------------------------------------------------------------
// The intros play the campaign tune over the robot select; "Cancel" there counts as a loss.
std::string ChoosePlayerRobot();  // the chosen build code, "" for "Cancel"
void CampaignIntro(CCampaign* campaign);
void TeamCampaignIntro(CCampaign* campaign);  // the player's robot, then the partner's

// ---- Stages (each runs its battle and leaves the result in the record) -----------------------------
void SetupSingleStage(CCampaign* campaign, int row);  // row 0-7 of the chain, then its battle
void SetupTeamStage(CCampaign* campaign, int row);
void RunSingleStage(CCampaign* campaign);
void RunTeamStage(CCampaign* campaign);
void RunFinalStage(CCampaign* campaign);
void RunTeamFinalStage(CCampaign* campaign);

// The battles the stages describe, from the record as it stands.
SOfflineBattle SingleStageBattle(const CCampaign& campaign);
SOfflineBattle TeamStageBattle(const CCampaign& campaign);
SOfflineBattle FinalStageBattle(const CCampaign& campaign);
SOfflineBattle TeamFinalStageBattle(const CCampaign& campaign);
