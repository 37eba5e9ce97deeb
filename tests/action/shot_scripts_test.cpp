// The shot scripts: the repeating guns' loop and counter, the selectors' handovers, aimed and
// facing directions, the split warhead, bombs from the left hand, and every row's request
// frames, kinds and ends.
#include "weapon_rig.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

struct SGunCase {
    const char* gun;
    bool held;
    bool slotsFull;  // every request dropped: the counter still counts
    int shots;
    int endStep;     // the action step at which the stance is queued
};

TEST(ShotScripts, RepeatingGunsFireEveryThirdStepUpToTheirMaximum) {
    const SGunCase cases[] = {
        {"ショット＿マシンガン４", false, false, 3, 17},  {"ショット＿マシンガン４", true, false, 5, 23},
        {"ショット＿マシンガン４Y", true, false, 7, 29}, {"ショット＿マシンガン４D", true, false, 10, 38},
        {"ショット＿マシンガン４D", false, false, 3, 17},
    };
    for (const SGunCase& c : cases) {
        SCOPED_TRACE(std::string(c.gun) + (c.held ? " held" : " tapped"));
        auto r = MakeArmedRobot();
        r->m_actionNames[kActRightHand] = "ショット＿（FARTマシンガンR";
        if (c.held) SetInput(*r, kInRightWeapon, kPadHeld);
        r->SetAction(c.gun);
        std::vector<int> shotSteps;
        int end = 0;
        for (int step = 1; step <= 60 && !end; ++step) {
            for (CShotSlot& s : r->m_shotSlots.slots) s.inUse = c.slotsFull;
            if (c.slotsFull) r->m_shotSlots.slots[0].name = "";
            const double before = r->m_actionParam[0];
            SWeaponStep s = WeaponStep(*r);
            if (!c.slotsFull && s.count("マシンガン")) {
                shotSteps.push_back(step);
                EXPECT_EQ(s.frame == 0 ? 11 : s.frame, 11);
            }
            if (c.slotsFull && r->m_actionParam[0] > before) shotSteps.push_back(step);
            if (s.action != c.gun) end = step;
        }
        for (CShotSlot& s : r->m_shotSlots.slots) s.inUse = false;
        const size_t want = c.slotsFull ? 3 : c.shots;
        ASSERT_EQ(shotSteps.size(), want);
        for (size_t i = 0; i < want; ++i) EXPECT_EQ(shotSteps[i], 11 + 3 * static_cast<int>(i));
        EXPECT_EQ(end, c.endStep);
        EXPECT_EQ(r->m_moveState, 1);
    }
}

TEST(ShotScripts, HeldGunFiresUntilReleased) {
    auto r = MakeArmedRobot();
    r->m_actionNames[kActLeftHand] = "ショット＿マシンガン６";
    SetInput(*r, kInLeftWeapon, kPadHeld);
    r->SetAction("ショット＿マシンガン６");
    int shots = 0;
    for (int step = 1; step <= 50; ++step) shots += WeaponStep(*r).count("マシンガン");
    EXPECT_EQ(shots, 14);  // steps 11, 14, ... 50
    ClearInputs(*r);
    EXPECT_EQ(WeaponStep(*r).action, r->m_actionNames[kActStance]);
}

TEST(ShotScripts, EmptyMagazineGivesTheStagger) {
    auto r = MakeArmedRobot();
    for (int i = 0; i < r->m_weapons.count; ++i) r->m_weapons.slots[i].ammo = 0;
    r->m_weapons.slots[0].code = "ライフル";
    r->SetAction("ショット＿Ａライフル２");
    SWeaponStep s;
    for (int step = 1; step <= 10; ++step) s = WeaponStep(*r);
    EXPECT_TRUE(s.raised.empty());
    EXPECT_EQ(s.action, r->m_actionNames[kActStagger]);
}

struct SShotHandover {
    const char* selector;
    std::vector<int> inputs;
    bool afterDash;
    bool aloft;
    const char* queued;
    bool sameStep;
};

TEST(ShotSelectors, HandOverByInputsAndDash) {
    const SShotHandover cases[] = {
        {"ショット＿（FARTミサイル", {}, false, false, "ショット＿ミサイルランチャー", false},
        {"ショット＿（FARTミサイル", {kInBoost}, false, false, "ショット＿核ミサイル", false},
        {"ショット＿（FARTミサイル", {kInBoost}, true, false, "ショット＿ミサイル２", false},
        {"ショット_Rミサイル", {}, false, false, "ショット＿MML1", true},
        {"ショット_Rミサイル", {kInBoost}, false, false, "ショット＿MML3", true},
        {"ショット_Rミサイル", {}, true, false, "ショット＿MML2", true},
        {"ショット＿（FARTAB固定", {}, false, false, "ショット＿垂直ミサイル２", false},
        {"ショット＿（FARTAB固定", {kInBoost}, false, false, "ショット＿多弾頭２", false},
        {"ショット＿（FARTAB固定", {}, true, false, "ショット＿垂直ミサイル", false},
        {"ショット＿（FARTマシンガンR", {}, false, false, "ショット＿マシンガン４", false},
        {"ショット＿（FARTマシンガンR", {kInBoost}, false, false, "ショット＿マシンガン４Y", false},
        {"ショット＿（FARTマシンガンR", {}, true, false, "ショット＿マシンガン４D", false},
        {"ショット_R_ライフル", {}, false, false, "ショット＿Ａライフル２Y", false},
        {"ショット_R_ライフル", {kInLeft}, false, false, "ショット＿Ａライフル２", false},
        {"ショット_R_ライフル", {kInBoost, kInLeft}, false, false, "ショット＿Ａライフル２V", false},
        {"ショット_R_ライフル", {kInBoost}, true, false, "ショット＿Ａライフル２D", false},
        {"ショット＿ボム＿マルチボム", {}, false, false, "ショット＿ボム(遠投)", false},
        {"ショット＿ボム＿マルチボム", {kInBack}, false, false, "ショット＿ボム(転がし)", false},
        {"ショット＿ボム＿マルチボム", {kInBack, kInBoost}, false, false, "ショット＿ボム(ピッチ)", false},
        {"ショット_シュバE", {}, false, false, "ショット＿ノーマルショット", false},
        {"ショット_シュバE", {kInBoost}, false, false, "ショット＿牙突", true},
        {"ショット_シュバE", {}, true, false, "ショット＿ダッシュ前傾２", false},
        {"ショット_シュバ", {}, false, false, "ショット＿ノーマルショット2", false},
        {"ショット_シュバ", {kInBoost}, false, false, "ブレード＿ダッシュ突", false},
        {"ショット_シュバ", {kInBoost, kInBack}, false, false, "ブレード＿牙突", false},
        {"ショット_シュバ", {}, true, false, "ショット＿ダッシュ前傾２+", true},
        {"ショット_シュバ", {kInBack}, true, false, "ショット＿マルチショット２", false},
        {"ショット_シュバCPU", {}, false, false, "ショット＿ノーマルショット2CPU", false},
        {"ショット_シュバCPU", {}, true, false, "ショット＿ダッシュ前傾２+CPU", true},
        {"ショット_シュテ", {}, false, false, "ショット＿強", false},
        {"ショット_シュテ", {kInBoost}, false, false, "ショット＿バスター", false},
        {"ショット_シュテ", {}, true, false, "ショット＿ダッシュ前傾３", false},
        {"c29ショット_AT", {}, false, false, "ショット＿ミサイルBL", true},
        {"c29ショット_AT", {kInBoost}, false, false, "ショット＿ライフルBR", true},
        {"c29ショット_AT", {}, true, false, "ショット＿ミサイルBL2", true},
        {"c29ショット_AT2", {kInBoost}, false, false, "c29ショット_AT2_ライフル3ren", true},
        {"c29ショット_AT2", {}, true, false, "c29ショット_AT2_ミサイルBL2", true},
    };
    for (const SShotHandover& c : cases) {
        SCOPED_TRACE(std::string(c.selector) + " -> " + c.queued);
        auto r = MakeArmedRobot();
        r->SetAction(c.selector);
        r->m_previousAction = c.afterDash ? "h29_ダッシュ" : "構え";
        for (int k : c.inputs) SetInput(*r, k, kPadHeld);
        const int ep = r->m_ep = r->m_maxEp / 2;
        SWeaponStep s = WeaponStep(*r, 0);
        EXPECT_EQ(s.action, c.queued);
        EXPECT_EQ(s.frame, 0);
        EXPECT_EQ(r->m_ep != ep, c.sameStep);
    }
}

TEST(ShotScripts, HandShotAloftBecomesTheJumpShotNextStep) {
    auto r = MakeArmedRobot();
    r->m_groundHeight = 3.0;
    r->SetAction("ショット");
    EXPECT_EQ(WeaponStep(*r).action, "ジャンプショット");
    EXPECT_EQ(r->m_actionFrame, 0);
}

bool Near(const Vec3& a, const Vec3& b) {
    const Vec3 d = a - b;
    return d.x * d.x + d.y * d.y + d.z * d.z < 1e-8f;
}

TEST(ShotScripts, AimedShotsGoAtATargetInFrontElseAlongTheFacing) {
    struct SCase {
        Vec3 target;
        bool present;
        bool aimed;
    };
    const SCase cases[] = {{Vec3(2, 1, -8), true, true},
                           {Vec3(9, 0, 1), true, false},
                           {Vec3(0, 0, 8), true, false},
                           {Vec3(0, 0, 0), false, false}};
    for (const char* action : {"ショット＿Ａライフル２", "ショット＿Ａライフル２Y"}) {
        for (const SCase& c : cases) {
            SCOPED_TRACE(action);
            auto r = MakeArmedRobot();
            auto t = MakeArmedRobot();
            t->m_frames[kRootFrame].SetLocalPosition(c.target.x, c.target.y, c.target.z);
            t->m_velocity[0] = 0.2;
            if (c.present) r->m_target = t.get();
            r->m_frames[kRootFrame].RotateY(0.3f);
            r->m_frames[kRootFrame].RotateY(-0.3f);
            r->SetAction(action);
            Vec3 dir;
            bool seen = false;
            for (int f = 1; f <= 12 && !seen; ++f) {
                SWeaponStep s = WeaponStep(*r);
                if (!s.count("ライフル１")) continue;
                seen = true;
                dir = s.raised[0].dir;
            }
            ASSERT_TRUE(seen);
            const bool leading = std::strcmp(action, "ショット＿Ａライフル２Y") == 0;
            const Vec3 want = c.aimed ? (leading ? r->DirectionToTargetLeading(0.5f) : r->DirectionToTarget())
                                      : -r->m_frames[kRootFrame].GetLocalAxisZ();
            EXPECT_TRUE(Near(dir, want)) << dir.x << " " << dir.y << " " << dir.z;
        }
    }
}

TEST(ShotScripts, SplitWarheadLeavesMirroredAndTheRootUntouched) {
    auto r = MakeArmedRobot();
    const Mat4 root = r->m_frames[kRootFrame].m_matrix;
    r->SetAction("ショット＿多弾頭２");
    SWeaponStep s;
    for (int f = 1; f <= 10; ++f) s = WeaponStep(*r);
    EXPECT_EQ(std::memcmp(&root, &r->m_frames[kRootFrame].m_matrix, sizeof root), 0);
    ASSERT_EQ(s.count("多弾頭ミサイル"), 2);
    const SRaised& a = s.raised[0];
    const SRaised& b = s.raised[1];
    EXPECT_GT(a.at.x, 0.5f);
    EXPECT_TRUE(Near(a.at, Vec3(-b.at.x, b.at.y, b.at.z)));
    EXPECT_TRUE(Near(a.dir, Vec3(-b.dir.x, b.dir.y, b.dir.z)));
}

TEST(ShotScripts, BombsLeaveFromTheLeftHand) {
    for (const char* bomb : {"ショット＿ボム(遠投)", "ショット＿ボム(転がし)", "ショット＿ボム(ピッチ)"}) {
        SCOPED_TRACE(bomb);
        auto r = MakeArmedRobot();
        r->SetAction(bomb);
        int n = 0;
        for (int f = 1; f <= 30; ++f) {
            SWeaponStep s = WeaponStep(*r);
            for (const SRaised& q : s.raised) {
                ++n;
                EXPECT_TRUE(Near(q.at, r->m_frames[4].GetWorldPosition()));
            }
        }
        EXPECT_EQ(n, 1);
    }
}

struct SShotRow {
    const char* action;
    const char* kind;
    std::vector<int> frames;
    int perStep;
    int mount;  // 0: a point request
    int end;
    int endState;  // move state left by the end
};

TEST(ShotScriptRows, RequestFramesKindsMountsAndEnds) {
    const SShotRow rows[] = {
        {"ショット＿ミサイルBL", "ミサイル１", {5, 15}, 1, 14, 21, 1},
        {"ショット＿ミサイルBL2", "ミサイル１", {10}, 1, 14, 26, 1},
        {"ショット＿ライフルBR", "マシンガン", {10, 13, 16}, 1, 15, 21, 1},
        {"c29ショット_AT2_ミサイルBL", "ミサイル１", {5, 15}, 1, 14, 21, 1},
        {"c29ショット_AT2_ミサイルBL2", "ミサイル１", {10}, 1, 14, 26, 1},
        {"c29ショット_AT2_ライフル3ren", "ライフル１", {13, 17, 21}, 1, 15, 26, 1},
        {"サブショット", "ミサイル", {11}, 1, 0, 31, 1},
        {"ショット＿ミサイルランチャー", "ミサイル１", {6}, 1, 2, 10, 1},
        {"ショット＿垂直ミサイル", "垂直ミサイル", {10, 15}, 1, 14, 21, 1},
        {"ショット＿垂直ミサイル２", "垂直ミサイル", {10, 20}, 1, 14, 23, 1},
        {"ショット＿多弾頭２", "多弾頭ミサイル", {10}, 2, 0, 31, 1},
        {"ショット＿ミサイル２", "ミサイル１", {7, 16, 25}, 1, 2, 41, 1},
        {"ショット＿核ミサイル", "核ミサイル", {21}, 1, 2, 36, 1},
        {"ショット＿ボム(遠投)", "ボム", {15}, 1, 0, 22, 1},
        {"ショット＿ボム(ピッチ)", "ボム_H", {26}, 1, 0, 37, 1},
        {"ショット＿ボム(転がし)", "ボム_L", {15}, 1, 0, 22, 1},
        {"ショット", "ショット１", {10}, 1, 0, 31, 1},
        {"ショット＿Ａライフル２", "ライフル１", {10}, 1, 0, 21, 1},
        {"ショット＿Ａライフル２D", "ライフル１", {10, 18}, 1, 0, 31, 1},
        {"ショット＿Ａライフル２V", "ライフル１", {10, 13, 16}, 1, 0, 21, 1},
        {"ショット＿Ａライフル２Y", "ライフル１", {5}, 1, 0, 11, 1},
        {"ショット＿ノーマルショット", "ショット２", {5}, 1, 1, 21, 1},
        {"ショット＿ダッシュ前傾２", "ショット２", {11, 17}, 1, 0, 41, 1},
        {"ショット＿ノーマルショット2", "ショット２", {10}, 1, 1, 16, 1},
        {"ショット＿ノーマルショット2CPU", "ショット２", {3}, 1, 1, 6, 1},
        {"ショット＿牙突", "ショット１", {15}, 1, 1, 21, 1},
        {"ショット＿マルチショット２", "ショット３", {5, 10, 15, 20}, 1, 1, 31, 3},
        {"ショット＿ダッシュ前傾３", "ショット２", {21, 27}, 1, 0, 46, 1},
        {"ショット＿強", "ショット２", {11}, 1, 0, 31, 1},
        {"ショット＿バスター", "レーザー", {10, 11, 12, 13, 14}, 1, 1, 51, 1},
        {"ショット＿ダッシュ前傾２+", "ショット２", {11, 17}, 1, 0, 31, 1},
        {"ショット＿ダッシュ前傾２+CPU", "ショット２", {17}, 1, 0, 31, 1},
        {"ショット＿ダッシュ前傾２+CPU", "ショット１", {11}, 1, 0, 31, 1},
    };
    for (const SShotRow& row : rows) {
        SCOPED_TRACE(std::string(row.action) + " " + row.kind);
        auto r = MakeArmedRobot();
        SActionRun run = RunAction(*r, row.action, row.kind);
        std::vector<int> frames;
        for (size_t i = 0; i < run.frames.size(); ++i) {
            if (frames.empty() || frames.back() != run.frames[i]) frames.push_back(run.frames[i]);
            const int m = run.mounts[i];
            EXPECT_TRUE(m == row.mount || (row.mount == 14 && m == 15)) << m;
        }
        EXPECT_EQ(frames, row.frames);
        EXPECT_EQ(run.frames.size(), row.frames.size() * row.perStep);
        EXPECT_EQ(run.end, row.end);
        EXPECT_EQ(r->m_moveState, row.endState);
    }
}

TEST(ShotScripts, ShieldRaisesEveryFifthStepWhileHeld) {
    auto r = MakeArmedRobot();
    SetInput(*r, kInLeftWeapon, kPadHeld);
    SActionRun run;
    r->SetAction("ショット＿シールドL");
    for (int f = 1; f <= 12; ++f)
        if (WeaponStep(*r).count("シールド")) run.frames.push_back(f);
    EXPECT_EQ(run.frames, (std::vector<int>{1, 6, 11}));
    ClearInputs(*r);
    EXPECT_EQ(WeaponStep(*r).action, r->m_actionNames[kActStance]);
}

}  // namespace
