// Type setup: what each frame type, variant choice and hand weapon gives a robot (part meshes,
// statistics, actions, weapon list), the stat sheet, and builds from codes no menu offers.
#include "robot_catalog.h"

#include "mesh.h"
#include "robot.h"
#include "xfile_reader.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct Weapon {
    std::string code, label;
    int ammo, cost;
    std::string side;
};

std::vector<Weapon> WeaponsOf(const CRobot& r) {
    std::vector<Weapon> out;
    for (int i = 0; i < r.m_weapons.count; ++i) {
        const CWeaponSlot& s = r.m_weapons.slots[i];
        out.push_back({s.code, s.label, s.ammo, s.cost, s.side});
    }
    return out;
}

// A mesh of `vertices` vertices (vertex i at x = i + 1) over triangles of `materials` materials.
void MakeMesh(CMesh* mesh, int vertices, int materials) {
    XMeshData d;
    for (int i = 0; i < vertices; ++i) d.positions.push_back(Vec3(float(i + 1), 0, float(i % 3)));
    for (int m = 0; m < materials; ++m) {
        d.indices.insert(d.indices.end(), {0, 1, 2});
        d.faceMaterials.push_back(uint32_t(m));
    }
    d.materials.resize(size_t(materials));
    ASSERT_EQ(mesh->TakeData(d, 0, 1), 1);
}

bool operator==(const Weapon& a, const Weapon& b) {
    return a.code == b.code && a.label == b.label && a.ammo == b.ammo && a.cost == b.cost && a.side == b.side;
}

// Sets a robot up from a build; groups default to the last choice no type lists (3), so a
// type's base row shows unless a test picks a listed choice.
void SetUpBuild(CRobotCatalog* c, CRobot* r, int type, int left, int right, std::initializer_list<int> groups = {}) {
    int g[kVariantGroupCount] = {3, 3, 7, 3, 3, 7};
    int i = 0;
    for (int v : groups) g[i++] = v;
    c->SetConfig(type, left, right, g[0], g[1], g[2], g[3], g[4], g[5], 0, 0, 0, 7, 7, 7);
    c->SetupRobotType(r);
}

TEST(RobotSetup, TypeRows) {
    struct Row {
        int type;
        int hp, maxAp, ap, armour, vp, vpRegen, ep, epPerStep, dashStart, dashStep;
        float walk, dash, turn, groundDamping, aloftDamping, jump;
        int weight0, capacity, paint0, paint1;
        const char* head;  // part file 0
        const char* shinR;  // part file 10
        const char* mounted;
        const char* actions[8];  // slots 1, 2, 3, 12, 8, 10, 11, 6
        int core = 3;            // group 1 choice; type 29 lists all four, 1 changes least
        int weight3 = 0;
    };
    const Row rows[] = {
        {36, 1000, 10, 0, 1, 600, 4, 1000, 15, 120, 21, 0.2f, 0.29f, 0.18f, 0.6f, 0.97f, 0.26f, 460, 980, 0, 1,
         "h36-hedd.x", "h36-leg2R.x", "wR-[NULL].x",
         {"歩行６", "ダッシュ2005a", "ジャンプ２", "ジャンプ２ＡＦＤ", "構え", "勝利ジャスティス", "敗北１", ""}},
        {29, 1000, 1000, 1000, 3, 1000, 2, 1000, 10, 150, 13, 0.15f, 0.23f, 0.15f, 0.6f, 0.9f, 0.23f, 570, 1000, 0,
         1, "h29b-hedd.x", "h29b-leg2R.x", "wR-[NULL].x",
         {"歩行６", "ダッシュ2005a", "ジャンプ２", "ジャンプ２ＡＦＤ", "構え", "勝利ジャスティス", "敗北１",
          "空中ダッシュ３"}, 1, 75},
        {9, 1500, 1200, 1200, 2, 1300, 6, 1200, 10, 200, 12, 0.16f, 0.22f, 0.16f, 0.6f, 0.9f, 0.25f, 600, 1000, 2,
         3, "h09-hedd.x", "h09-leg2R.x", "wR-[NULL].x",
         {"歩行６", "ダッシュ2005a", "ジャンプ２", "ジャンプ２ＡＦＤ", "構え", "勝利フラット", "敗北２",
          "格闘＿キック前転"}},
        {21, 1500, 500, 500, 7, 1500, 9, 1000, 3, 80, 19, 0.1f, 0.18f, 0.16f, 0.5f, 0.92f, 0.24f, 800, 1580, 0, 1,
         "h21-hedd.x", "h21-leg2R.x", "wR-[NULL].x",
         {"h21_歩行", "ダッシュ2005_h21", "ジャンプ２", "h21_ジャンプ２ＡＦＤ", "構え５", "勝利サイレン", "敗北１",
          "c21格闘"}},
        {31, 800, 500, 500, 3, 650, 1, 800, 6, 100, 8, 0.18f, 0.27f, 0.18f, 0.7f, 0.92f, 0.26f, 470, 760, 0, 1,
         "h31b-hedd.x", "h31b-leg2R.x", "wR-[NULL].x",
         {"歩行４", "ダッシュ2005a", "ジャンプ２", "ジャンプ２ＡＦＤ", "構え", "勝利忍者ジャンプ", "敗北１",
          "ショット＿変形31"}},
        {32, 1000, 1000, 1000, 2, 1200, 18, 900, 9, 10, 21, 0.15f, 0.25f, 0.17f, 0.7f, 0.9f, 0.22f, 540, 920, 0, 1,
         "h32c-hedd[1].x", "h32c-leg2R.x", "wR-[NULL].x",
         {"h32_歩行2", "ダッシュ2005_h32", "ジャンプ２", "ジャンプ２ＡＦＤ", "構え４", "h32b_勝利", "h32b_敗北",
          "格闘＿h32b_ｹﾘL1"}},
        {33, 1000, 1000, 1000, 3, 1500, 20, 1000, 30, 170, 45, 0.15f, 0.27f, 0.15f, 0.6f, 0.9f, 0.23f, 670, 1000, 0,
         1, "h33-hedd.x", "h33-leg2R.x", "wR-gun[33].x",
         {"歩行６", "ダッシュ2005a", "ジャンプ２", "ジャンプ２ＡＦＤ", "構え", "勝利１", "敗北１",
          "ショット＿シュバッツァーK2"}},
    };
    const int slots[8] = {kActWalk, kActDash, kActJump, kActAerialJump, kActStance, kActVictory, kActDefeat, kActBack};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.type);
        CRobotCatalog c;
        CRobot r;
        SetUpBuild(&c, &r, row.type, 99, 99, {3, row.core});
        EXPECT_EQ(r.m_maxHp, row.hp);
        EXPECT_EQ(r.m_hp, row.hp);
        EXPECT_EQ(r.m_maxAp, row.maxAp);
        EXPECT_EQ(r.m_ap, row.ap);
        EXPECT_EQ(r.m_armour, row.armour);
        EXPECT_EQ(r.m_maxVp, row.vp);
        EXPECT_EQ(r.m_vp, row.vp);
        EXPECT_EQ(r.m_vpRegen, row.vpRegen);
        EXPECT_EQ(r.m_maxEp, row.ep);
        EXPECT_EQ(r.m_ep, row.ep);
        EXPECT_EQ(r.m_epPerStep, row.epPerStep);
        EXPECT_EQ(r.m_dashStartEnergy, row.dashStart);
        EXPECT_EQ(r.m_dashStepEnergy, row.dashStep);
        EXPECT_EQ(r.m_walkSpeed, double(row.walk));
        EXPECT_EQ(r.m_dashSpeed, double(row.dash));
        EXPECT_EQ(r.m_turnSpeed, double(row.turn));
        EXPECT_EQ(r.m_groundDamping, double(row.groundDamping));
        EXPECT_EQ(r.m_aloftDamping, double(row.aloftDamping));
        EXPECT_EQ(r.m_jumpSpeed, double(row.jump));
        EXPECT_EQ(r.m_partWeights[0], row.weight0);
        EXPECT_EQ(r.m_partWeights[1] + r.m_partWeights[2], 0);
        EXPECT_EQ(r.m_partWeights[3], row.weight3);
        EXPECT_EQ(r.m_loadCapacity, row.capacity);
        EXPECT_EQ(r.m_paintSlots[0], row.paint0);
        EXPECT_EQ(r.m_paintSlots[1], row.paint1);
        EXPECT_EQ(r.m_trackStyle, 11);
        EXPECT_EQ(c.m_partFiles[0], row.head);
        EXPECT_EQ(c.m_partFiles[10], row.shinR);
        for (int i = 13; i <= 18; ++i) EXPECT_EQ(c.m_partFiles[i], row.mounted) << i;
        for (int i = 0; i < 8; ++i) EXPECT_EQ(r.m_actionNames[slots[i]], row.actions[i]) << "slot " << slots[i];
        // The names every type shares, and no hand weapon for ids no table lists.
        EXPECT_EQ(r.m_actionNames[kActName], "nemo");
        EXPECT_EQ(r.m_actionNames[kActStagger], "硬直２");
        EXPECT_EQ(r.m_actionNames[kActGuard], "h29_ガード");
        EXPECT_EQ(r.m_actionNames[kActHitStun], "被弾硬直２");
        EXPECT_EQ(r.m_actionNames[kActKnockDown], "h29_被弾硬直");
        EXPECT_EQ(r.m_actionNames[kActDestroyed], "撃破２");
        EXPECT_EQ(r.m_actionNames[kActRightHand], "硬直２");
        EXPECT_EQ(r.m_actionNames[kActLeftHand], "硬直２");
        EXPECT_EQ(c.m_partFiles[11], "wR-[NULL].x");
        EXPECT_EQ(c.m_partFiles[12], "wR-[NULL].x");
        EXPECT_EQ(r.m_weapons.count, 0);
    }
}

TEST(RobotSetup, TypeThirtyTwoPartFiles) {
    CRobotCatalog c;
    CRobot r;
    SetUpBuild(&c, &r, 32, 0, 0);
    const char* files[kRobotPartCount] = {"h32c-hedd[1].x", "h32c-body[1].x", "h32c-west[1].x", "h32c-arm1L.x",
                                          "h32c-arm2[p]L.x", "h32c-arm1R.x", "h32c-arm2[g]R.x", "h32c-leg1[1]L.x",
                                          "h32c-leg2L.x", "h32c-leg1[1]R.x", "h32c-leg2R.x"};
    for (int i = 0; i < kRobotPartCount; ++i) EXPECT_EQ(c.m_partFiles[i], files[i]) << i;
    SetUpBuild(&c, &r, 36, 0, 0);
    const char* parts[kRobotPartCount] = {"hedd", "body", "west", "arm1L", "arm2L", "arm1R", "arm2R",
                                          "leg1L", "leg2L", "leg1R", "leg2R"};
    for (int i = 0; i < kRobotPartCount; ++i) EXPECT_EQ(c.m_partFiles[i], std::string("h36-") + parts[i] + ".x");
}

TEST(RobotSetup, VariantGroupNames) {
    struct Row {
        int type;
        const char* groups[kVariantGroupCount];
        const char* lastVariant[kVariantGroupCount];  // the group's last named variant
    };
    const Row rows[] = {
        {29, {"頭部", "コア", "腰", "肩アーマー", "脚部", ""}, {"改修型", "推力増強型", "高機動型", "高機動型", "高機動型", ""}},
        {9, {"ヘッド", "コア", "アーム", "レッグ", "", ""}, {"指揮官Type", "強襲型", "重装備型", "重装備型", "", ""}},
        {21, {"ヘッド", "肩パーツ", "", "", "", ""}, {"Type H", "Type H", "", "", "", ""}},
        {32, {"頭", "服", "", "", "", ""}, {"2", "2", "", "", "", ""}},
        {33, {"ヘッド", "コア", "アーム", "レッグ", "", ""}, {"JAP-35h", "JAP-35c", "JAP-35a", "JAP-35l", "", ""}},
        {36, {"", "", "", "", "", ""}, {"", "", "", "", "", ""}},
        {31, {"", "", "", "", "", ""}, {"", "", "", "", "", ""}},
    };
    for (const Row& row : rows) {
        CRobotCatalog c;
        CRobot r;
        SetUpBuild(&c, &r, row.type, 0, 0);
        for (int g = 0; g < kVariantGroupCount; ++g) {
            EXPECT_EQ(c.m_groupNames[g], row.groups[g]) << row.type << " group " << g;
            std::string last;
            for (int v = 0; v < kVariantsPerGroup; ++v)
                if (!c.GetVariantName(g, v).empty()) last = c.GetVariantName(g, v);
            EXPECT_EQ(last, row.lastVariant[g]) << row.type << " group " << g;
        }
    }
    CRobotCatalog c;
    CRobot r;
    SetUpBuild(&c, &r, 29, 0, 0);
    EXPECT_EQ(c.GetVariantName(1, 0), "基本型");
    EXPECT_EQ(c.GetVariantName(1, 2), "高火力型");
    EXPECT_EQ(c.m_variantNames[4 * 1 + 1], "高機動型");
}

TEST(RobotSetup, VariantChoices) {
    struct Row {
        int type;
        std::vector<int> groups;
        int file;               // a part file the choice sets (-1 none)
        const char* fileName;
        int slot;               // an action it sets (-1 none)
        const char* action;
        int weight3, capacity;
        double walk, dash;      // 0: the type's own
        std::vector<Weapon> weapons;
    };
    const std::vector<Row> rows = {
        {29, {1, 1}, 0, "h29b-hedd[2].x", -1, "", 75, 1000, 0, 0, {}},
        {29, {0, 0}, -1, "", kActBack, "ショット＿サテライト３", 290, 1000, 0, 0, {{"サテライト３", "STR", 3, 900, "S"}}},
        {29, {0, 1}, 1, "h29b-body[2].x", kActBack, "空中ダッシュ３", 75, 1000, 0, 0, {}},
        {29, {0, 2}, 13, "wB-MissileS2.x", kActBack, "c29ショット_AT2", 350, 1000, 0.14f, 0.2f,
         {{"ミサイル１", "MM1", 6, 300, "S"}, {"ライフル１", "RF1", 16, 200, "S"}}},
        {29, {0, 2}, 18, "wB-ShockGun.x", -1, "", 350, 1000, 0.14f, 0.2f,
         {{"ミサイル１", "MM1", 6, 300, "S"}, {"ライフル１", "RF1", 16, 200, "S"}}},
        {29, {0, 3}, 13, "wB-Bst(1)L.x", kActBack, "c29空中ダッシュ４", 10, 1000, 0.18f, 0.24f, {}},
        {29, {0, 3}, 17, "wB-Bst(2)R.x", -1, "", 10, 1000, 0.18f, 0.24f, {}},
        {29, {0, 3, 1}, 2, "h29b-west[2].x", -1, "", 10, 1000, 0, 0, {}},
        {29, {0, 3, 0, 1}, 3, "h29b-arm1[2]L.x", -1, "", 10, 1000, 0, 0, {}},
        {29, {0, 3, 0, 1}, 5, "h29b-arm1[2]R.x", -1, "", 10, 1000, 0, 0, {}},
        {29, {0, 3, 0, 0, 0}, -1, "", -1, "", 10, 1150, 0, 0, {}},
        {29, {0, 3, 0, 0, 1}, 8, "h29b-leg2[2]L.x", -1, "", 10, 750, 0, 0, {}},
        {29, {0, 3, 0, 0, 1}, 10, "h29b-leg2[2]R.x", -1, "", 10, 750, 0, 0, {}},
        {9, {1}, 0, "h15-hedd.x", -1, "", 0, 1000, 0, 0, {}},
        {9, {0, 1}, 2, "h15-west.x", kActBack, "ショット＿（FARTAB固定", 150, 1000, 0, 0,
         {{"多弾頭ミサイル", "MM4", 6, 400, "S"}, {"垂直ミサイル", "MV2", 16, 30, "S"}}},
        {9, {0, 1}, 16, "wB-Missile1(1)R.x", -1, "", 150, 1000, 0, 0,
         {{"多弾頭ミサイル", "MM4", 6, 400, "S"}, {"垂直ミサイル", "MV2", 16, 30, "S"}}},
        {9, {0, 0, 1}, 4, "h15-arm2L.x", -1, "", 0, 1000, 0, 0, {}},
        {9, {0, 0, 0, 0}, -1, "", -1, "", 0, 1300, 0, 0, {}},
        {9, {0, 0, 0, 1}, 9, "h15-leg1R.x", -1, "", 0, 1500, 0, 0, {}},
        {21, {1}, 0, "h21-hedd[A].x", -1, "", 0, 1580, 0, 0, {}},
        {21, {2}, 0, "h21-hedd[H].x", -1, "", 0, 1580, 0, 0, {}},
        {21, {0, 1}, 3, "h21-arm1[A]L.x", kActBack, "ショット＿拡散ビーム１", 0, 1580, 0, 0, {}},
        {21, {0, 2}, 5, "h21-arm1[H]R.x", kActBack, "c21ショット_肩レーザー", 0, 1580, 0, 0,
         {{"レーザー", "LZ1", -1, 40, "S"}, {"レーザーslow", "LZ1", -1, 100, "S"}}},
        {32, {1}, 0, "h32c-hedd[2].x", -1, "", 0, 920, 0, 0, {}},
        {32, {0, 1}, 7, "h32c-leg1[2]L.x", kActVictory, "h32b_勝利2(2)", 0, 920, 0, 0, {}},
        {32, {0, 1}, 2, "h32c-west[2].x", -1, "", 0, 920, 0, 0, {}},
        {33, {1}, 0, "h35-hedd.x", -1, "", 0, 1000, 0, 0, {}},
        {33, {0, 0}, 15, "wB-Missile1(3)L.x", kActBack, "ショット＿（FARTAB固定", 0, 1000, 0, 0,
         {{"多弾頭ミサイル", "MM4", 2, 400, "S"}, {"垂直ミサイル", "MV2", 16, 30, "S"}}},
        {33, {0, 1}, 1, "h35-body.x", kActStance, "構え６", 0, 1000, 0, 0, {}},
        {33, {0, 1}, 18, "wB-Missile1(3)R.x", kActBack, "ショット_呪文", 0, 1000, 0, 0, {}},
        {33, {0, 3, 1}, 6, "h35-arm2R.x", -1, "", 0, 1000, 0, 0, {}},
        {33, {0, 3, 0, 1}, 10, "h35-leg2R.x", kActWalk, "h35_歩行", 0, 1000, 0, 0, {}},
        {33, {0, 3, 0, 1}, -1, "", kActDash, "ダッシュ2005_h35", 0, 1000, 0, 0, {}},
    };
    for (size_t i = 0; i < rows.size(); ++i) {
        const Row& row = rows[i];
        SCOPED_TRACE("row " + std::to_string(i) + " type " + std::to_string(row.type));
        CRobotCatalog c;
        CRobot r;
        int g[kVariantGroupCount] = {3, 3, 7, 3, 3, 7};
        for (size_t k = 0; k < row.groups.size(); ++k) g[k] = row.groups[k];
        c.SetConfig(row.type, 99, 99, g[0], g[1], g[2], g[3], g[4], g[5], 0, 0, 0, 0, 0, 0);
        c.SetupRobotType(&r);
        if (row.file >= 0) {
            EXPECT_EQ(c.m_partFiles[row.file], row.fileName);
        }
        if (row.slot >= 0) {
            EXPECT_EQ(r.m_actionNames[row.slot], row.action);
        }
        EXPECT_EQ(r.m_partWeights[3], row.weight3);
        EXPECT_EQ(r.m_loadCapacity, row.capacity);
        if (row.walk != 0) {
            EXPECT_EQ(r.m_walkSpeed, row.walk);
        }
        if (row.dash != 0) {
            EXPECT_EQ(r.m_dashSpeed, row.dash);
        }
        EXPECT_EQ(WeaponsOf(r), row.weapons);
    }
}

TEST(RobotSetup, VariantStatistics) {
    CRobotCatalog c;
    CRobot r;
    SetUpBuild(&c, &r, 21, 0, 99, {0, 2});
    EXPECT_EQ(r.m_maxVp, 600);
    EXPECT_EQ(r.m_vp, 600);
    EXPECT_EQ(r.m_vpRegen, 2);
    SetUpBuild(&c, &r, 33, 0, 99, {0, 1});
    EXPECT_EQ(r.m_armour, 10);
    SetUpBuild(&c, &r, 33, 0, 99, {0, 0, 0, 1});
    EXPECT_EQ(r.m_turnSpeed, double(0.15f));
    EXPECT_EQ(r.m_jumpSpeed, double(0.2f));
    EXPECT_EQ(r.m_armour, 3);
    // The leftover mounted entries of type 33 stay its gun when no core choice is listed.
    SetUpBuild(&c, &r, 33, 0, 99, {0, 2});
    EXPECT_EQ(c.m_partFiles[13], "wR-gun[33].x");
    EXPECT_EQ(r.m_actionNames[kActBack], "ショット＿シュバッツァーK2");
}

TEST(RobotSetup, HandWeapons) {
    struct Row {
        int id;
        const char* action;
        const char* mesh;
        std::vector<Weapon> weapons;
    };
    const std::vector<Row> right = {
        {0, "ショット_シュバE", "wR-kal[EKF].x", {{"ショット２", "SV2", 100, 300, "R"}, {"ショット１", "SV1", 20, 500, "R"}}},
        {1, "ショット_シュテ", "wR-[L32-5].x", {{"ショット２", "SV2", 60, 150, "R"}}},
        {2, "ショット_R_ライフル", "wR-Rifle.x", {{"ライフル１", "RF2", 35, 0, "R"}}},
        {3, "ショット＿（FARTマシンガンR", "wR-SubMachineGun.x", {{"マシンガン", "MG1", 130, 0, "R"}}},
        {4, "ショット_Rミサイル", "wR-Missile.x", {{"核ミサイル", "MA1", 1, 300, "R"}, {"ミサイル１", "MI1", 30, 10, "R"}}},
        {5, "ショット_R_ライフル", "wR-gun[33].x", {{"ライフル１", "RF3", 40, 10, "R"}}},
        {6, "ショット_クロスG", "wR-gun[Baz].x", {{"マシンガン", "MG1", 60, 50, "R"}, {"グレネード１", "GR1", 8, 200, "R"}}},
        {7, "ショット＿Ａライフル２Y", "wR-gun[FL].x", {{"ライフル１", "RF4", 60, 300, "R"}}},
        {8, "ブレード_村雨", "wR-katana.x", {}},
        {9, "ショット＿バケッシュー", "wR-[Racket].x", {{"グレネード１", "B1", 20, 300, "R"}}},
        {10, "ショット＿ミサイル重", "wR-Missile.x", {{"核ミサイル", "MA1", 3, 300, "R"}, {"ミサイル１", "MI1", 35, 10, "R"}}},
        {11, "ショット＿（FARTマシンガンR", "wR-SubMachineGun.x", {{"マシンガン", "MG1", 50, 0, "R"}}},
        {12, "ショット_シュバ", "wR-shuV.x", {{"ショット２", "SV2", 70, 350, "R"}}},
        {13, "硬直２", "wR-[NULL].x", {}},
        {49, "硬直２", "wR-[NULL].x", {}},
        {50, "ショット_シュバCPU", "wR-shuV.x", {{"ショット２", "SV2", 700, 350, "R"}}},
        {51, "硬直２", "wR-[NULL].x", {}},
        {127, "硬直２", "wR-[NULL].x", {}},
        {-1, "硬直２", "wR-[NULL].x", {}},
    };
    const std::vector<Row> left = {
        {0, "c29ブレード1", "wR-[NULL].x", {}},
        {1, "ショット＿ボム＿マルチボム", "wR-[NULL].x", {{"ボム", "B1", 10, 100, "L"}}},
        {2, "ショット＿（FARTミサイル", "wR-gun[Missile].x", {{"核ミサイル", "MA1", 1, 300, "L"}, {"ミサイル１", "MI1", 20, 10, "L"}}},
        {3, "ショット＿シールドL", "wL-Shield.x", {{"シールド", "S", 100, 160, "L"}}},
        {4, "ショット＿クラスター", "wR-gun[Missile].x", {{"ボム", "B1", 10, 100, "L"}}},
        {5, "c29ブレード2", "wR-[NULL].x", {}},
        {6, "ショット＿（FARTミサイル", "wR-gun[Missile].x", {{"核ミサイル", "MA1", 0, 300, "L"}, {"ミサイル１", "MI1", 6, 10, "L"}}},
        {7, "ショット＿マシンガン６", "wR-SubMachineGun.x", {{"マシンガン", "MGL", 20, 20, "L"}}},
        {8, "硬直２", "wR-[NULL].x", {}},
        {127, "硬直２", "wR-[NULL].x", {}},
    };
    CRobotCatalog c;
    for (const Row& row : right) {
        CRobot r;
        c.SetupHandWeapons(&r, 99, row.id);
        EXPECT_EQ(r.m_actionNames[kActRightHand], row.action) << row.id;
        EXPECT_EQ(r.m_actionNames[kActLeftHand], "硬直２") << row.id;
        EXPECT_EQ(c.m_partFiles[12], row.mesh) << row.id;
        EXPECT_EQ(WeaponsOf(r), row.weapons) << row.id;
    }
    for (const Row& row : left) {
        CRobot r;
        c.SetupHandWeapons(&r, row.id, 99);
        EXPECT_EQ(r.m_actionNames[kActLeftHand], row.action) << row.id;
        EXPECT_EQ(c.m_partFiles[11], row.mesh) << row.id;
        EXPECT_EQ(WeaponsOf(r), row.weapons) << row.id;
    }
}

TEST(RobotSetup, ZeroWithRifleAndBlade) {
    CRobotCatalog c;
    CRobot r;
    c.BuildRobot(&r, c.EncodeConfig());  // a catalogue's default build: type 0, nothing listed
    EXPECT_EQ(r.m_maxHp, 100);
    c.SetConfig(36, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0);
    CRobot zero;
    c.BuildRobot(&zero, c.EncodeConfig());
    EXPECT_EQ(zero.m_hp, 1000);
    EXPECT_EQ(zero.m_ap, 0);
    EXPECT_EQ(WeaponsOf(zero), (std::vector<Weapon>{{"ライフル１", "RF2", 35, 0, "R"}}));
    EXPECT_EQ(zero.m_actionNames[kActRightHand], "ショット_R_ライフル");
    EXPECT_EQ(zero.m_actionNames[kActLeftHand], "c29ブレード1");
    // The back weapon comes before the hand weapons in the list.
    c.SetConfig(29, 1, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0);
    CRobot justice;
    c.BuildRobot(&justice, c.EncodeConfig());
    const std::vector<Weapon> list = WeaponsOf(justice);
    ASSERT_EQ(list.size(), 3u);
    EXPECT_EQ(list[0].label, "STR");
    EXPECT_EQ(list[1].label, "RF2");
    EXPECT_EQ(list[2].label, "B1");
}

TEST(RobotSetup, UnknownTypeKeepsTheConstructedRecord) {
    CRobotCatalog c;
    CRobot r;
    SetUpBuild(&c, &r, 10, 0, 2, {1, 1, 1, 1, 1, 1});
    EXPECT_EQ(r.m_maxHp, 100);
    EXPECT_EQ(r.m_walkSpeed, double(0.1f));
    EXPECT_EQ(r.m_actionNames[kActWalk], "歩行４");
    EXPECT_EQ(r.m_actionNames[kActBack], "サブショット");
    EXPECT_EQ(c.m_partFiles[0], "");
    EXPECT_EQ(c.m_groupNames[0], "");
    // What every build gets still holds.
    EXPECT_EQ(r.m_partWeights[0], 500);
    EXPECT_EQ(r.m_loadCapacity, 1000);
    EXPECT_EQ(r.m_trackStyle, 11);
    EXPECT_EQ(r.m_actionNames[kActDestroyed], "撃破２");
    EXPECT_EQ(r.m_actionNames[kActLeftHand], "c29ブレード1");
    EXPECT_EQ(r.m_weapons.count, 1);
}

TEST(RobotSetup, SettingUpAgainReplacesTheWeaponList) {
    CRobotCatalog c;
    CRobot r;
    for (int i = 0; i < 5; ++i) SetUpBuild(&c, &r, 29, 2, 0, {0, 2});
    EXPECT_EQ(r.m_weapons.count, 6);  // two back, two right, two left
}

TEST(RobotSetup, StatSheet) {
    CRobotCatalog c;
    CRobot r;
    c.SetConfig(36, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0);
    c.SetupRobotType(&r);
    EXPECT_EQ(c.BuildStatsText(&r),
              "HP(耐久) > 1000\n"
              "AP(装甲) > 10 [Def(防御力) 1\n"
              "VP(ﾊﾞﾗﾝｽ) > 600 [Res(復元力) 4\n"
              "EP(ｴﾈﾙｷﾞｰ容量) > 1000 [Res(出力) 15\n"
              "SP(速度) > 20 [DSP(ﾀﾞｯｼｭ)28\n"
              "SSP(旋回) > 18\n"
              "JP(ｼﾞｬﾝﾌﾟ) > 25\n"
              "Loa(積載) > 460/980\n"
              "Wa(武装) > 0/520\n"
              "右腕武器 > ライフル 0\n"
              "左腕武器 > ブレード１ 0");
    // Over capacity: the frame and back weapon alone exceed it.
    c.SetConfig(29, 3, 12, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0);
    c.SetupRobotType(&r);
    r.m_partWeights[1] = 40;
    r.m_partWeights[2] = 60;
    const std::string sheet = c.BuildStatsText(&r);
    EXPECT_NE(sheet.find("Loa(積載) > 860/750 Error!\n"), std::string::npos) << sheet;
    EXPECT_NE(sheet.find("Wa(武装) > 100/-110 OverWeight!\n"), std::string::npos) << sheet;
    EXPECT_NE(sheet.find("右腕武器 > シュバッツァー 60\n左腕武器 > シールド 40"), std::string::npos) << sheet;
    // Exactly at capacity is no error.
    r.m_partWeights[1] = r.m_partWeights[2] = 0;
    r.m_loadCapacity = 860;
    const std::string full = c.BuildStatsText(&r);
    EXPECT_EQ(full.find("Error!"), std::string::npos) << full;
    EXPECT_EQ(full.find("OverWeight!"), std::string::npos) << full;
    // Ids past the name tables show no name.
    c.SetConfig(36, 100, 127, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0);
    c.SetupRobotType(&r);
    EXPECT_NE(c.BuildStatsText(&r).find("右腕武器 >  0\n左腕武器 >  0"), std::string::npos);
}

TEST(RobotSetup, ColoursFromChannels) {
    CRobotCatalog c;
    CRobot r;
    for (int i = 0; i < kRobotPartCount; ++i) MakeMesh(&r.m_meshes[i], 3, 2);
    c.SetConfig(36, 0, 0, 0, 0, 0, 0, 0, 0, 0, 3, 7, 7, 1, 0);
    c.ApplyColors(&r);
    for (int i = 0; i < kRobotPartCount; ++i) {
        const Color4& main = r.m_meshes[i].GetMaterial(0).diffuse;
        const Color4& sub = r.m_meshes[i].GetMaterial(1).diffuse;
        EXPECT_EQ(main.r, 0.125f);
        EXPECT_EQ(main.g, 0.5f);
        EXPECT_EQ(main.b, 1.0f);
        EXPECT_EQ(main.a, 1.0f);
        EXPECT_EQ(sub.r, 1.0f);
        EXPECT_EQ(sub.g, 0.25f);
        EXPECT_EQ(sub.b, 0.125f);
    }
}

TEST(RobotSetup, MountVertices) {
    struct Row {
        int vertices;
        int index;
        float x;  // vertex i lies at x = i + 1
    };
    const Row rows[] = {{0, 0, 0}, {3, 0, 1}, {3, 2, 3}, {3, 3, 0}, {3, -1, 0}, {9989, 9988, 9989}, {9990, 0, 0}};
    for (const Row& row : rows) {
        CMesh mesh;
        if (row.vertices) MakeMesh(&mesh, row.vertices, 1);
        EXPECT_EQ(GetMeshVertex(&mesh, row.index).x, row.x) << row.vertices << " vertices, index " << row.index;
    }
    EXPECT_EQ(GetMeshVertex(nullptr, 0).x, 0.0f);
}

}  // namespace
