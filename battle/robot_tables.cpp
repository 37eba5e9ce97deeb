// The robot building tables: every frame type, variant group, right-hand weapon and left-hand
// item with the part meshes, statistics, actions and weapon-list entries it gives.
#include "robot_tables.h"

#include "robot.h"

// clang-format off
const RobotTypeRow kRobotTypes[kRobotTypeCount] = {
    {36, "ｾﾞﾛ",
     {"h36-hedd.x", "h36-body.x", "h36-west.x", "h36-arm1L.x", "h36-arm2L.x", "h36-arm1R.x", "h36-arm2R.x",
      "h36-leg1L.x", "h36-leg2L.x", "h36-leg1R.x", "h36-leg2R.x"},
     kNullMesh, 1000, 10, 0, 1, 600, 4, 1000, 15, 120, 21,
     0.2f, 0.29f, 0.18f, 0.6f, 0.97f, 0.26f, 460, 980, {0, 1},
     "歩行６", "ダッシュ2005a", "ジャンプ２", "ジャンプ２ＡＦＤ", "構え", "勝利ジャスティス", "敗北１", ""},
    {29, "ｼﾞｬｽﾃｨｽ",
     {"h29b-hedd.x", "h29b-body.x", "h29b-west.x", "h29b-arm1L.x", "h29b-arm2L.x", "h29b-arm1R.x",
      "h29b-arm2R.x", "h29b-leg1L.x", "h29b-leg2L.x", "h29b-leg1R.x", "h29b-leg2R.x"},
     kNullMesh, 1000, 1000, 1000, 3, 1000, 2, 1000, 10, 150, 13,
     0.15f, 0.23f, 0.15f, 0.6f, 0.9f, 0.23f, 570, 1000, {0, 1},
     "歩行６", "ダッシュ2005a", "ジャンプ２", "ジャンプ２ＡＦＤ", "構え", "勝利ジャスティス", "敗北１", nullptr},
    {9, "ﾌﾗｯﾄ",
     {"h09-hedd.x", "h09-body.x", "h09-west.x", "h09-arm1L.x", "h09-arm2L.x", "h09-arm1R.x", "h09-arm2R.x",
      "h09-leg1L.x", "h09-leg2L.x", "h09-leg1R.x", "h09-leg2R.x"},
     kNullMesh, 1500, 1200, 1200, 2, 1300, 6, 1200, 10, 200, 12,
     0.16f, 0.22f, 0.16f, 0.6f, 0.9f, 0.25f, 600, 1000, {2, 3},
     "歩行６", "ダッシュ2005a", "ジャンプ２", "ジャンプ２ＡＦＤ", "構え", "勝利フラット", "敗北２", "格闘＿キック前転"},
    {21, "ｻｲﾚﾝ",
     {"h21-hedd.x", "h21-body.x", "h21-west.x", "h21-arm1L.x", "h21-arm2L.x", "h21-arm1R.x", "h21-arm2R.x",
      "h21-leg1L.x", "h21-leg2L.x", "h21-leg1R.x", "h21-leg2R.x"},
     kNullMesh, 1500, 500, 500, 7, 1500, 9, 1000, 3, 80, 19,
     0.1f, 0.18f, 0.16f, 0.5f, 0.92f, 0.24f, 800, 1580, {0, 1},
     "h21_歩行", "ダッシュ2005_h21", "ジャンプ２", "h21_ジャンプ２ＡＦＤ", "構え５", "勝利サイレン", "敗北１", "c21格闘"},
    {31, "ｲｰｸﾞﾙ",
     {"h31b-hedd.x", "h31b-body.x", "h31b-west.x", "h31b-arm1L.x", "h31b-arm2L.x", "h31b-arm1R.x",
      "h31b-arm2R.x", "h31b-leg1L.x", "h31b-leg2L.x", "h31b-leg1R.x", "h31b-leg2R.x"},
     kNullMesh, 800, 500, 500, 3, 650, 1, 800, 6, 100, 8,
     0.18f, 0.27f, 0.18f, 0.7f, 0.92f, 0.26f, 470, 760, {0, 1},
     "歩行４", "ダッシュ2005a", "ジャンプ２", "ジャンプ２ＡＦＤ", "構え", "勝利忍者ジャンプ", "敗北１", "ショット＿変形31"},
    {32, "ﾒｲﾄﾞ",
     {"h32c-hedd[1].x", "h32c-body[1].x", "h32c-west[1].x", "h32c-arm1L.x", "h32c-arm2[p]L.x", "h32c-arm1R.x",
      "h32c-arm2[g]R.x", "h32c-leg1[1]L.x", "h32c-leg2L.x", "h32c-leg1[1]R.x", "h32c-leg2R.x"},
     kNullMesh, 1000, 1000, 1000, 2, 1200, 18, 900, 9, 10, 21,
     0.15f, 0.25f, 0.17f, 0.7f, 0.9f, 0.22f, 540, 920, {0, 1},
     "h32_歩行2", "ダッシュ2005_h32", "ジャンプ２", "ジャンプ２ＡＦＤ", "構え４", "h32b_勝利", "h32b_敗北", "格闘＿h32b_ｹﾘL1"},
    {33, "ｱｸﾀｰ",
     {"h33-hedd.x", "h33-body.x", "h33-west.x", "h33-arm1L.x", "h33-arm2L.x", "h33-arm1R.x", "h33-arm2R.x",
      "h33-leg1L.x", "h33-leg2L.x", "h33-leg1R.x", "h33-leg2R.x"},
     "wR-gun[33].x", 1000, 1000, 1000, 3, 1500, 20, 1000, 30, 170, 45,
     0.15f, 0.27f, 0.15f, 0.6f, 0.9f, 0.23f, 670, 1000, {0, 1},
     "歩行６", "ダッシュ2005a", "ジャンプ２", "ジャンプ２ＡＦＤ", "構え", "勝利１", "敗北１", "ショット＿シュバッツァーK2"},
};

const VariantGroupRow kVariantGroups[] = {
    {29, 0, "頭部", {"基本型", "改修型"}},
    {29, 1, "コア", {"基本型", "高機動型", "高火力型", "推力増強型"}},
    {29, 2, "腰", {"基本型", "高機動型"}},
    {29, 3, "肩アーマー", {"基本型", "高機動型"}},
    {29, 4, "脚部", {"基本型", "高機動型"}},
    {9, 0, "ヘッド", {"標準Type", "指揮官Type"}},
    {9, 1, "コア", {"基本型", "強襲型"}},
    {9, 2, "アーム", {"基本型", "重装備型"}},
    {9, 3, "レッグ", {"基本型", "重装備型"}},
    {21, 0, "ヘッド", {"Type R", "Type A", "Type H"}},
    {21, 1, "肩パーツ", {"Type R", "Type A", "Type H"}},
    {32, 0, "頭", {"1", "2"}},
    {32, 1, "服", {"1", "2"}},
    {33, 0, "ヘッド", {"ACT-33h", "JAP-35h"}},
    {33, 1, "コア", {"ACT-33c", "JAP-35c"}},
    {33, 2, "アーム", {"ACT-33a", "JAP-35a"}},
    {33, 3, "レッグ", {"ACT-33l", "JAP-35l"}},
};
const int kVariantGroupRowCount = int(sizeof kVariantGroups / sizeof kVariantGroups[0]);

// Mounted meshes 13-15 are the three looks of aux part 14, 16-18 those of aux part 15: pods and
// boosters fill them left side first.
#define MISSILE_PODS                                                                                  \
    {13, "wB-Missile1(1)L.x"}, {14, "wB-Missile1(2)L.x"}, {15, "wB-Missile1(3)L.x"},                  \
    {16, "wB-Missile1(1)R.x"}, {17, "wB-Missile1(2)R.x"}, {18, "wB-Missile1(3)R.x"}

const VariantEffectRow kVariantEffects[] = {
    {29, 0, 1, {{0, "h29b-hedd[2].x"}}, {}, {}, {}},
    {29, 1, 0, {}, {{kActBack, "ショット＿サテライト３"}}, {{kStatWeight3, 290}},
     {{"サテライト３", "STR", 3, 900, "S"}}},
    {29, 1, 1, {{1, "h29b-body[2].x"}}, {{kActBack, "空中ダッシュ３"}}, {{kStatWeight3, 75}}, {}},
    // The machine-gun pods are fitted and then replaced by the shock guns: the last fit stands.
    {29, 1, 2,
     {{13, "wB-MissileS2.x"}, {14, "wB-MissileS2.x"}, {15, "wB-MissileS2.x"},
      {16, "wB-ShockGun.x"}, {17, "wB-ShockGun.x"}, {18, "wB-ShockGun.x"}},
     {{kActBack, "c29ショット_AT2"}},
     {{kStatWeight3, 350}, {kStatWalk, 0.14f}, {kStatDash, 0.2f}},
     {{"ミサイル１", "MM1", 6, 300, "S"}, {"ライフル１", "RF1", 16, 200, "S"}}},
    {29, 1, 3,
     {{13, "wB-Bst(1)L.x"}, {14, "wB-Bst(2)L.x"}, {15, "wB-Bst(3)L.x"},
      {16, "wB-Bst(1)R.x"}, {17, "wB-Bst(2)R.x"}, {18, "wB-Bst(3)R.x"}},
     {{kActBack, "c29空中ダッシュ４"}},
     {{kStatWalk, 0.18f}, {kStatDash, 0.24f}, {kStatWeight3, 10}}, {}},
    {29, 2, 1, {{2, "h29b-west[2].x"}}, {}, {}, {}},
    {29, 3, 1, {{3, "h29b-arm1[2]L.x"}, {5, "h29b-arm1[2]R.x"}}, {}, {}, {}},
    {29, 4, 0, {}, {}, {{kStatCapacity, 1150}}, {}},
    {29, 4, 1, {{8, "h29b-leg2[2]L.x"}, {10, "h29b-leg2[2]R.x"}}, {}, {{kStatCapacity, 750}}, {}},
    {9, 0, 1, {{0, "h15-hedd.x"}}, {}, {}, {}},
    {9, 1, 1, {{1, "h15-body.x"}, {2, "h15-west.x"}, MISSILE_PODS},
     {{kActBack, "ショット＿（FARTAB固定"}}, {{kStatWeight3, 150}},
     {{"多弾頭ミサイル", "MM4", 6, 400, "S"}, {"垂直ミサイル", "MV2", 16, 30, "S"}}},
    {9, 2, 1, {{3, "h15-arm1L.x"}, {4, "h15-arm2L.x"}, {5, "h15-arm1R.x"}, {6, "h15-arm2R.x"}}, {}, {}, {}},
    {9, 3, 0, {}, {}, {{kStatCapacity, 1300}}, {}},
    {9, 3, 1, {{7, "h15-leg1L.x"}, {8, "h15-leg2L.x"}, {9, "h15-leg1R.x"}, {10, "h15-leg2R.x"}}, {},
     {{kStatCapacity, 1500}}, {}},
    {21, 0, 1, {{0, "h21-hedd[A].x"}}, {}, {}, {}},
    {21, 0, 2, {{0, "h21-hedd[H].x"}}, {}, {}, {}},
    {21, 1, 1, {{3, "h21-arm1[A]L.x"}, {5, "h21-arm1[A]R.x"}}, {{kActBack, "ショット＿拡散ビーム１"}}, {}, {}},
    {21, 1, 2, {{3, "h21-arm1[H]L.x"}, {5, "h21-arm1[H]R.x"}}, {{kActBack, "c21ショット_肩レーザー"}},
     {{kStatMaxVp, 600}, {kStatVpRegen, 2}},
     {{"レーザー", "LZ1", -1, 40, "S"}, {"レーザーslow", "LZ1", -1, 100, "S"}}},
    {32, 0, 1, {{0, "h32c-hedd[2].x"}}, {}, {}, {}},
    {32, 1, 1, {{1, "h32c-body[2].x"}, {2, "h32c-west[2].x"}, {7, "h32c-leg1[2]L.x"}, {9, "h32c-leg1[2]R.x"}},
     {{kActVictory, "h32b_勝利2(2)"}}, {}, {}},
    {33, 0, 1, {{0, "h35-hedd.x"}}, {}, {}, {}},
    {33, 1, 0, {MISSILE_PODS}, {{kActBack, "ショット＿（FARTAB固定"}}, {},
     {{"多弾頭ミサイル", "MM4", 2, 400, "S"}, {"垂直ミサイル", "MV2", 16, 30, "S"}}},
    {33, 1, 1, {{1, "h35-body.x"}, {2, "h35-west.x"}, MISSILE_PODS},
     {{kActBack, "ショット_呪文"}, {kActStance, "構え６"}}, {{kStatArmour, 10}}, {}},
    {33, 2, 1, {{3, "h35-arm1L.x"}, {4, "h35-arm2L.x"}, {5, "h35-arm1R.x"}, {6, "h35-arm2R.x"}}, {}, {}, {}},
    {33, 3, 1, {{7, "h35-leg1L.x"}, {8, "h35-leg2L.x"}, {9, "h35-leg1R.x"}, {10, "h35-leg2R.x"}},
     {{kActWalk, "h35_歩行"}, {kActDash, "ダッシュ2005_h35"}}, {{kStatTurn, 0.15f}, {kStatJump, 0.2f}}, {}},
};
const int kVariantEffectRowCount = int(sizeof kVariantEffects / sizeof kVariantEffects[0]);

const HandWeaponRow kRightWeapons[kRightWeaponCount] = {
    {0, "ビームランチャー１", "ショット_シュバE", "wR-kal[EKF].x",
     {{"ショット２", "SV2", 100, 300, "R"}, {"ショット１", "SV1", 20, 500, "R"}}},
    {1, "ビームランチャー２", "ショット_シュテ", "wR-[L32-5].x", {{"ショット２", "SV2", 60, 150, "R"}}},
    {2, "ライフル", "ショット_R_ライフル", "wR-Rifle.x", {{"ライフル１", "RF2", 35, 0, "R"}}},
    {3, "マシンガン", "ショット＿（FARTマシンガンR", "wR-SubMachineGun.x", {{"マシンガン", "MG1", 130, 0, "R"}}},
    {4, "ミサイルランチャー", "ショット_Rミサイル", "wR-Missile.x",
     {{"核ミサイル", "MA1", 1, 300, "R"}, {"ミサイル１", "MI1", 30, 10, "R"}}},
    {5, "AC用ライフル", "ショット_R_ライフル", "wR-gun[33].x", {{"ライフル１", "RF3", 40, 10, "R"}}},
    {6, "グレネード", "ショット_クロスG", "wR-gun[Baz].x",
     {{"マシンガン", "MG1", 60, 50, "R"}, {"グレネード１", "GR1", 8, 200, "R"}}},
    {7, "ＦＧＢＳ", "ショット＿Ａライフル２Y", "wR-gun[FL].x", {{"ライフル１", "RF4", 60, 300, "R"}}},
    {8, "村雨", "ブレード_村雨", "wR-katana.x", {}},
    {9, "バケッター", "ショット＿バケッシュー", "wR-[Racket].x", {{"グレネード１", "B1", 20, 300, "R"}}},
    {10, "連装ミサイルガン", "ショット＿ミサイル重", "wR-Missile.x",
     {{"核ミサイル", "MA1", 3, 300, "R"}, {"ミサイル１", "MI1", 35, 10, "R"}}},
    {11, "軽量マシンガン", "ショット＿（FARTマシンガンR", "wR-SubMachineGun.x", {{"マシンガン", "MG1", 50, 0, "R"}}},
    {12, "シュバッツァー", "ショット_シュバ", "wR-shuV.x", {{"ショット２", "SV2", 70, 350, "R"}}},
};

const HandWeaponRow kCpuRightWeapon = {50, "", "ショット_シュバCPU", "wR-shuV.x", {{"ショット２", "SV2", 700, 350, "R"}}};

const HandWeaponRow kLeftItems[kLeftItemCount] = {
    {0, "ブレード１", "c29ブレード1", kNullMesh, {}},
    {1, "ボム", "ショット＿ボム＿マルチボム", kNullMesh, {{"ボム", "B1", 10, 100, "L"}}},
    {2, "ミサイルランチャー", "ショット＿（FARTミサイル", "wR-gun[Missile].x",
     {{"核ミサイル", "MA1", 1, 300, "L"}, {"ミサイル１", "MI1", 20, 10, "L"}}},
    {3, "シールド", "ショット＿シールドL", "wL-Shield.x", {{"シールド", "S", 100, 160, "L"}}},
    {4, "クラスター", "ショット＿クラスター", "wR-gun[Missile].x", {{"ボム", "B1", 10, 100, "L"}}},
    {5, "ブレード２", "c29ブレード2", kNullMesh, {}},
    {6, "軽量ミサイル", "ショット＿（FARTミサイル", "wR-gun[Missile].x",
     {{"核ミサイル", "MA1", 0, 300, "L"}, {"ミサイル１", "MI1", 6, 10, "L"}}},
    {7, "左手マシンガン", "ショット＿マシンガン６", "wR-SubMachineGun.x", {{"マシンガン", "MGL", 20, 20, "L"}}},
};
// clang-format on

const RobotTypeRow* FindRobotType(int type) {
    for (const RobotTypeRow& row : kRobotTypes)
        if (row.type == type) return &row;
    return nullptr;
}

const HandWeaponRow* FindRightWeapon(int id) {
    if (id >= 0 && id < kRightWeaponCount) return &kRightWeapons[id];
    if (id == kCpuRightWeapon.id) return &kCpuRightWeapon;
    return nullptr;
}

const HandWeaponRow* FindLeftItem(int id) {
    if (id >= 0 && id < kLeftItemCount) return &kLeftItems[id];
    return nullptr;
}
