// The nine battles of each campaign as they stand after their set-up: robots and their CPU
// types, the stage, the untimed clock, team codes, targets, the final's placement, the paint of
// the sides and the team final's boss.
#include "campaign.h"
#include "campaign_fixture.h"
#include "robot_presets.h"

#include "engine.h"

#include <map>
#include <memory>

namespace {

using CampaignSetupTest = OfflineBattleTest;

constexpr int kFinalRow = kCampaignStageCount;  // the row after the chain
const char kPlayerModel[] = "RODUDED";
const char kPartnerModel[] = "ACT";
const char kMission[] = "敵勢力撃滅";

enum Who { kPlayer, kPartner, kEnemy1, kEnemy2 };
struct SlotWant {
    Who who;
    int cpu;          // kStageAi: the row's AI type
    const char* team;
    int target;
    int paint;        // 0: the build's own paint; else index into kPaints
};
constexpr int kStageAi = 100;
const int kPaints[][2] = {{0, 0}, {0xFFF, 0x99F}, {0x777, 0xFF0}, {0xFFF, 0xF66}, {0x777, 0x0F0}};

struct StageWant {
    int row;
    int stage;
    const char* enemy1;  // model; "" for the boss
    const char* enemy2;
    int aiType;
};

const StageWant kSingleRows[] = {
    {0, 14, "DID-03", "", 7},  {1, 6, "FART-AB", "", -1}, {2, 1, "BOX-321", "", -1},
    {3, 16, "VFX-331", "", 6}, {4, 5, "FART", "", -1},    {5, 3, "DID-03", "", -1},
    {6, 2, "VNA-3", "", 3},    {7, 4, "DID-03", "", -1},  {kFinalRow, 18, "DID-03", "SRX-21", -1},
};
const StageWant kTeamRows[] = {
    {0, 14, "DID-03", "DID-03", 7},  {1, 6, "FART-AB", "FART-AB", -1}, {2, 1, "BOX-321", "BOX-321", -1},
    {3, 16, "VFX-331", "VFX-331", 6}, {4, 5, "FART", "FART", -1},       {5, 3, "DID-03", "DID-03", -1},
    {6, 2, "VNA-3", "VNA-3", 3},      {7, 4, "DID-03", "DID-03", -1},   {kFinalRow, 3, "", "", -1},
};

const SlotWant kSingleSlots[] = {{kPlayer, 0, "AL", 1, 0}, {kEnemy1, kStageAi, "BL", 0, 0}};
const SlotWant kTeamSlots[] = {
    {kPlayer, 0, "AL", 1, 1}, {kEnemy1, kStageAi, "BL", 0, 2}, {kPartner, kStageAi, "AM", 3, 3},
    {kEnemy2, kStageAi, "BM", 2, 4}};
const SlotWant kFinalSlots[] = {
    {kPlayer, 0, "AL", 1, 0}, {kEnemy1, kStageAi, "BL", 0, 0}, {kEnemy2, kStageAi, "BM", 0, 0}};
const SlotWant kTeamFinalSlots[] = {{kPlayer, 0, "AL", 1, 1}, {kEnemy1, kBossAiType, "BL", 0, 0}, {kPartner, kStageAi, "AM", 1, 3}};

const unsigned char kBossCode[kBuildCodeBytes] = {0xA4, 0x81, 0xB2, 0x80, 0x80, 0xB8, 0x80, 0x80};

std::string BossCode() { return std::string(reinterpret_cast<const char*>(kBossCode), kBuildCodeBytes); }

// A robot built straight from a code, to compare a battle's robot with.
struct Reference {
    std::string parts;
    Color4 main, sub;
    int maxEp = 0;
};

class ReferenceRobots {
public:
    const Reference& Of(const std::string& code) {
        auto found = m_built.find(code);
        if (found != m_built.end()) return found->second;
        CRobotCatalog catalog;
        auto robot = std::make_unique<CRobot>();
        catalog.BuildRobot(robot.get(), code);
        Reference r;
        r.parts = PartFiles(*robot);
        r.main = robot->m_meshes[0].GetMaterial(robot->m_paintSlots[0]).diffuse;
        r.sub = robot->m_meshes[0].GetMaterial(robot->m_paintSlots[1]).diffuse;
        r.maxEp = robot->m_maxEp;
        return m_built[code] = r;
    }

private:
    std::map<std::string, Reference> m_built;
};

std::string StageMeshesOf(int stage) {
    CStage env;
    CMesh meshes[kStageMeshCount];
    uint32_t clear = 0;
    int weather = 0;
    env.LoadStage(stage, meshes, &clear, &weather);
    return meshes[0].GetName() + "|" + meshes[1].GetName() + "|" + meshes[2].GetName();
}

void ExpectColor(const Color4& got, float r, float g, float b, const std::string& where) {
    EXPECT_FLOAT_EQ(got.r, r) << where;
    EXPECT_FLOAT_EQ(got.g, g) << where;
    EXPECT_FLOAT_EQ(got.b, b) << where;
}

// Checks one recorded battle against the row and its slot layout.
void CheckBattle(const SBattleRecord& b, const StageWant& row, const SlotWant* slots, int count,
                 ReferenceRobots* refs, const std::string& where) {
    EXPECT_EQ(b.robotCount, count) << where;
    EXPECT_EQ(b.clock, kUntimedClock) << where;
    EXPECT_EQ(b.mission, kMission) << where;
    EXPECT_EQ(b.stageMeshes[0] + "|" + b.stageMeshes[1] + "|" + b.stageMeshes[2], StageMeshesOf(row.stage)) << where;
    for (int i = 0; i < count; ++i) {
        const SlotWant& s = slots[i];
        std::string at = where + " slot " + std::to_string(i);
        std::string code = s.who == kPlayer    ? GetRobotConfigCode(kPlayerModel)
                           : s.who == kPartner ? GetRobotConfigCode(kPartnerModel)
                           : *row.enemy1 == 0  ? BossCode()
                           : GetRobotConfigCode(s.who == kEnemy1 || !*row.enemy2 ? row.enemy1 : row.enemy2);
        const Reference& ref = refs->Of(code);
        EXPECT_EQ(b.parts[i], ref.parts) << at;
        EXPECT_EQ(b.cpu[i], s.cpu == kStageAi ? row.aiType : s.cpu) << at;
        EXPECT_EQ(b.team[i], s.team) << at;
        EXPECT_EQ(b.target[i], s.target) << at;
        if (s.paint) {
            const int* p = kPaints[s.paint];
            ExpectColor(b.mainPaint[i], ((p[0] >> 8) & 15) / 16.0f, ((p[0] >> 4) & 15) / 16.0f, (p[0] & 15) / 16.0f, at);
            ExpectColor(b.subPaint[i], ((p[1] >> 8) & 15) / 16.0f, ((p[1] >> 4) & 15) / 16.0f, (p[1] & 15) / 16.0f, at);
        } else {
            ExpectColor(b.mainPaint[i], ref.main.r, ref.main.g, ref.main.b, at);
            ExpectColor(b.subPaint[i], ref.sub.r, ref.sub.g, ref.sub.b, at);
        }
    }
}

void ExpectAt(const Vec3& p, float x, float y, float z, const std::string& where) {
    EXPECT_FLOAT_EQ(p.x, x) << where;
    EXPECT_FLOAT_EQ(p.y, y) << where;
    EXPECT_FLOAT_EQ(p.z, z) << where;
}

// Where a slot starts on its side (loading a robot lifts it above its start height).
void ExpectOnSide(const Vec3& p, float x, float z, const std::string& where) {
    EXPECT_FLOAT_EQ(p.x, x) << where;
    EXPECT_FLOAT_EQ(p.z, z) << where;
}

void StartRecord(CCampaign* c) {
    c->m_playerCode = GetRobotConfigCode(kPlayerModel);
    c->m_partnerCode = GetRobotConfigCode(kPartnerModel);
}

TEST_F(CampaignSetupTest, EverySingleCampaignBattle) {
    ReferenceRobots refs;
    for (const StageWant& row : kSingleRows) {
        CCampaign c;
        StartRecord(&c);
        size_t before = battles.size();
        if (row.row == kFinalRow) RunFinalStage(&c);
        else SetupSingleStage(&c, row.row);
        ASSERT_EQ(battles.size(), before + 1) << row.row;
        EXPECT_EQ(c.m_result, kResultWon);
        const SBattleRecord& b = battles.back();
        std::string where = "single row " + std::to_string(row.row);
        if (row.row == kFinalRow) {
            CheckBattle(b, row, kFinalSlots, 3, &refs, where);
            ExpectAt(b.position[2], 1.0f, 2.0f, 6.0f, where);
        } else {
            CheckBattle(b, row, kSingleSlots, 2, &refs, where);
        }
        ExpectOnSide(b.position[0], 0.0f, -6.0f, where);
        ExpectOnSide(b.position[1], 0.0f, 6.0f, where);
    }
}

TEST_F(CampaignSetupTest, EveryTeamCampaignBattle) {
    ReferenceRobots refs;
    for (const StageWant& row : kTeamRows) {
        CCampaign c;
        StartRecord(&c);
        size_t before = battles.size();
        if (row.row == kFinalRow) RunTeamFinalStage(&c);
        else SetupTeamStage(&c, row.row);
        ASSERT_EQ(battles.size(), before + 1) << row.row;
        const SBattleRecord& b = battles.back();
        std::string where = "team row " + std::to_string(row.row);
        if (row.row == kFinalRow) {
            CheckBattle(b, row, kTeamFinalSlots, 3, &refs, where);
            EXPECT_EQ(c.m_enemyCode1, BossCode());
        } else {
            CheckBattle(b, row, kTeamSlots, 4, &refs, where);
        }
        ExpectOnSide(b.position[2], 1.0f, -6.0f, where);  // the partner beside the player
    }
}

TEST_F(CampaignSetupTest, TheBossAloneHasItsStatsOverwritten) {
    CCampaign c;
    StartRecord(&c);
    RunTeamFinalStage(&c);
    ASSERT_EQ(battles.size(), 1u);
    const SBattleRecord& b = battles[0];
    EXPECT_EQ(b.maxEp[1], 5800);
    EXPECT_EQ(b.epPerStep[1], 340);
    EXPECT_EQ(b.dashStartEnergy[1], -600);
    EXPECT_EQ(b.dashStepEnergy[1], -150);
    EXPECT_EQ(b.walkSpeed[1], 0.25);
    EXPECT_EQ(b.dashSpeed[1], double(0.4f));  // the single-precision value, widened
    EXPECT_EQ(b.turnSpeed[1], double(0.39f));
    ReferenceRobots refs;
    EXPECT_EQ(b.maxEp[0], refs.Of(c.m_playerCode).maxEp);
    EXPECT_EQ(b.maxEp[2], refs.Of(c.m_partnerCode).maxEp);
}

TEST_F(CampaignSetupTest, ANewRecordHoldsTheDefaultModelEverywhere) {
    CCampaign c;
    std::string did = GetRobotConfigCode("DID-03");
    EXPECT_EQ(c.m_playerCode, did);
    EXPECT_EQ(c.m_partnerCode, did);
    EXPECT_EQ(c.m_enemyCode1, did);
    EXPECT_EQ(c.m_enemyCode2, did);
    EXPECT_EQ(c.m_stage, 0);
    EXPECT_EQ(c.m_aiType, 0);
    EXPECT_EQ(c.m_result, 0);
}

TEST_F(CampaignSetupTest, NoStageIsBuiltOnceTheQuitFlagIsSet) {
    g_quit = 1;
    CCampaign c;
    SetupSingleStage(&c, 0);
    SetupTeamStage(&c, 3);
    RunFinalStage(&c);
    RunTeamFinalStage(&c);
    EXPECT_TRUE(battles.empty());
    EXPECT_EQ(c.m_result, 0);
    EXPECT_EQ(driver.Pumps(), 0);  // not even a loading picture
}

TEST_F(CampaignSetupTest, ARowOutsideTheChainPlaysNothing) {
    CCampaign c;
    for (int row : {-1, kCampaignStageCount, 1000}) {
        SetupSingleStage(&c, row);
        SetupTeamStage(&c, row);
    }
    EXPECT_TRUE(battles.empty());
}

}  // namespace
