// The campaign record, the stage chain and the battle of each kind of stage. Every campaign
// battle is untimed: the stages are won or lost, never timed out.
#include "campaign.h"

#include "robot_presets.h"

#include "engine.h"

const char kCampaignTune[] = "midi\\VIZI-DUDU_V1.mid";

const SCampaignStage kCampaignChain[kCampaignStageCount] = {
    {"DID-03", 14, 7},  {"FART-AB", 6, -1}, {"BOX-321", 1, -1}, {"VFX-331", 16, 6},
    {"FART", 5, -1},    {"DID-03", 3, -1},  {"VNA-3", 2, 3},    {"DID-03", 4, -1},
};

const char kFinalEnemyModel1[] = "DID-03";
const char kFinalEnemyModel2[] = "SRX-21";

// type, left item, right weapon, variants 1-6, main R G B, sub R G B: a black frame with red trim
const int kBossBuild[kConfigCount] = {36, 1, 50, 0, 0, 0, 0, 0, 0, 0, 0, 0, 7, 0, 0};
// 0.4 and 0.39 are single-precision values widened, as the robot's other speeds are.
const SStatOverride kBossStats = {5800, 340, -600, -150, 0.25, double(0.4f), double(0.39f)};

namespace {

const char kDefaultModel[] = "DID-03";
constexpr float kFinalSecondEnemyAt[3] = {1.0f, 2.0f, 6.0f};

void SetSlot(SOfflineBattle* battle, int slot, const std::string& code, int cpuType) {
    battle->slots[slot].code = code;
    battle->slots[slot].cpuType = cpuType;
}

void Paint(SOfflineBattle* battle, int slot, const int paint[2]) {
    battle->slots[slot].mainColor = paint[0];
    battle->slots[slot].subColor = paint[1];
}

SOfflineBattle UntimedBattle(int robotCount, int stage) {
    SOfflineBattle battle;
    battle.robotCount = robotCount;
    battle.stage = stage;
    battle.clock = kUntimedClock;
    return battle;
}

}  // namespace

CCampaign::CCampaign() {
    m_playerCode = GetRobotConfigCode(kDefaultModel);
    m_partnerCode = m_playerCode;
    m_enemyCode1 = m_playerCode;
    m_enemyCode2 = m_playerCode;
}

// ---- Battles ------------------------------------------------------------------------------------

SOfflineBattle SingleStageBattle(const CCampaign& c) {
    SOfflineBattle battle = UntimedBattle(2, c.m_stage);
    SetSlot(&battle, 0, c.m_playerCode, 0);
    SetSlot(&battle, 1, c.m_enemyCode1, c.m_aiType);
    return battle;
}

SOfflineBattle TeamStageBattle(const CCampaign& c) {
    SOfflineBattle battle = UntimedBattle(4, c.m_stage);
    SetSlot(&battle, 0, c.m_playerCode, 0);
    SetSlot(&battle, 1, c.m_enemyCode1, c.m_aiType);
    SetSlot(&battle, 2, c.m_partnerCode, c.m_aiType);
    SetSlot(&battle, 3, c.m_enemyCode2, c.m_aiType);
    Paint(&battle, 0, kPlayerPaint);
    Paint(&battle, 1, kEnemy1Paint);
    Paint(&battle, 2, kPartnerPaint);
    Paint(&battle, 3, kEnemy2Paint);
    return battle;
}

SOfflineBattle FinalStageBattle(const CCampaign& c) {
    SOfflineBattle battle = UntimedBattle(3, c.m_stage);
    SetSlot(&battle, 0, c.m_playerCode, 0);
    SetSlot(&battle, 1, c.m_enemyCode1, c.m_aiType);
    SetSlot(&battle, 2, c.m_enemyCode2, c.m_aiType);
    battle.slots[0].team = "AL";
    battle.slots[1].team = "BL";
    battle.slots[2].team = "BM";
    battle.placedSlot = 2;
    battle.placedAt = Vec3(kFinalSecondEnemyAt[0], kFinalSecondEnemyAt[1], kFinalSecondEnemyAt[2]);
    battle.slots[2].target = 0;
    return battle;
}

SOfflineBattle TeamFinalStageBattle(const CCampaign& c) {
    SOfflineBattle battle = UntimedBattle(3, c.m_stage);
    SetSlot(&battle, 0, c.m_playerCode, 0);
    SetSlot(&battle, 1, c.m_enemyCode1, kBossAiType);
    SetSlot(&battle, 2, c.m_partnerCode, c.m_aiType);
    battle.slots[1].team = "BL";
    battle.slots[2].target = 1;
    battle.overrideSlot = 1;
    battle.stats = kBossStats;
    Paint(&battle, 0, kPlayerPaint);
    Paint(&battle, 2, kPartnerPaint);
    return battle;
}

// ---- Stages -------------------------------------------------------------------------------------

void SetupSingleStage(CCampaign* c, int row) {
    if (row < 0 || row >= kCampaignStageCount) return;
    const SCampaignStage& s = kCampaignChain[row];
    c->m_enemyCode1 = GetRobotConfigCode(s.enemyModel);
    c->m_stage = s.stage;
    c->m_aiType = s.aiType;
    RunSingleStage(c);
}

void SetupTeamStage(CCampaign* c, int row) {
    if (row < 0 || row >= kCampaignStageCount) return;
    const SCampaignStage& s = kCampaignChain[row];
    c->m_enemyCode1 = GetRobotConfigCode(s.enemyModel);
    c->m_enemyCode2 = c->m_enemyCode1;
    c->m_stage = s.stage;
    c->m_aiType = s.aiType;
    RunTeamStage(c);
}

void RunSingleStage(CCampaign* c) {
    if (g_quit) return;
    c->m_result = RunOfflineBattle(SingleStageBattle(*c));
}

void RunTeamStage(CCampaign* c) {
    if (g_quit) return;
    c->m_result = RunOfflineBattle(TeamStageBattle(*c));
}

void RunFinalStage(CCampaign* c) {
    c->m_enemyCode1 = GetRobotConfigCode(kFinalEnemyModel1);
    c->m_enemyCode2 = GetRobotConfigCode(kFinalEnemyModel2);
    c->m_stage = kFinalStage;
    c->m_aiType = kFinalAiType;
    if (g_quit) return;
    c->m_result = RunOfflineBattle(FinalStageBattle(*c));
}

void RunTeamFinalStage(CCampaign* c) {
    const int* v = kBossBuild;
    c->m_catalog.SetConfig(v[0], v[1], v[2], v[3], v[4], v[5], v[6], v[7], v[8], v[9], v[10], v[11], v[12], v[13],
                           v[14]);
    c->m_enemyCode1 = c->m_catalog.EncodeConfig();
    c->m_stage = kTeamFinalStage;
    c->m_aiType = kTeamFinalAiType;
    if (g_quit) return;
    c->m_result = RunOfflineBattle(TeamFinalStageBattle(*c));
}
