// Contact sheets of the sword cuts, the curse, the racket and missile shots and the cluster
// bombs on stage 1: each cell is a fresh battle whose robot ran its action for some steps under
// the battle's own step (projectiles launched and flying), drawn in its own viewport with what it
// launched. Saved under SCREENSHOT_DIR for review by eye; the checks are that every cell drew
// its action.
#include "action_helpers.h"
#include "battle.h"
#include "battle_runner.h"
#include "camera.h"
#include "graphics.h"
#include "projectile.h"
#include "scene_driver.h"
#include "test_folder.h"

#include "sys_graphics.h"
#include "sys_image.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

namespace {

struct SCell {
    const char* label;  // ASCII, drawn on the sheet
    const char* build;
    const char* action;
    std::vector<int> held;  // inputs held throughout
    int steps;
};

constexpr const char* kSwordBuild = "33,0,8,1,1,1,1";
constexpr const char* kCurseBuild = "33,0,8,1,1,1,1";
constexpr const char* kRacketBuild = "32,0,9";
constexpr const char* kMissileBuild = "32,0,10";
constexpr const char* kClusterBuild = "32,4,9";

const SCell kSwordCells[] = {
    {"thrust f10", kSwordBuild, "h35_ブレード_突き1", {}, 10},
    {"thrust f20", kSwordBuild, "h35_ブレード_突き1", {}, 20},
    {"swing down f8", kSwordBuild, "h35_ブレード_振り下ろし1", {}, 8},
    {"swing down f16", kSwordBuild, "h35_ブレード_振り下ろし1", {}, 16},
    {"cut down f6", kSwordBuild, "h35_ブレード_切り下ろし1", {}, 6},
    {"cut down f12", kSwordBuild, "h35_ブレード_切り下ろし1", {}, 12},
    {"sidestep f10", kSwordBuild, "h35_ブレード_回り込み切り下ろし1", {kInRight}, 10},
    {"sidestep f22", kSwordBuild, "h35_ブレード_回り込み切り下ろし1", {kInRight}, 22},
    {"anti-air f10", kSwordBuild, "h35_ブレード_対空1", {}, 10},
    {"anti-air f19", kSwordBuild, "h35_ブレード_対空1", {}, 19},
    {"downward f5", kSwordBuild, "h35_ブレード_対地1", {}, 5},
    {"downward f12", kSwordBuild, "h35_ブレード_対地1", {}, 12},
};

const SCell kCurseCells[] = {
    {"curse f8", kCurseBuild, "h35_ショット_呪い", {}, 8},
    {"curse f18", kCurseBuild, "h35_ショット_呪い", {}, 18},
    {"curse f43", kCurseBuild, "h35_ショット_呪い", {}, 43},
    {"curse f50 up", kCurseBuild, "h35_ショット_呪い", {}, 50},
    {"curse f56 up", kCurseBuild, "h35_ショット_呪い", {}, 56},
    {"curse f60 down", kCurseBuild, "h35_ショット_呪い", {}, 60},
    {"curse f61 down", kCurseBuild, "h35_ショット_呪い", {}, 61},
};

const SCell kRocketCells[] = {
    {"kick f8", kRacketBuild, "格闘＿h32b_ｹﾘL1", {}, 8},
    {"kick f13", kRacketBuild, "格闘＿h32b_ｹﾘL1", {}, 13},
    {"racket 1 f12", kRacketBuild, "ショット＿h32b_ﾗｹｯﾄ1", {}, 12},
    {"racket 1 f20", kRacketBuild, "ショット＿h32b_ﾗｹｯﾄ1", {}, 20},
    {"racket 2 f15", kRacketBuild, "ショット＿h32b_ﾗｹｯﾄ2", {}, 15},
    {"racket 3 f15", kRacketBuild, "ショット＿h32b_ﾗｹｯﾄ3", {}, 15},
    {"racket 4 f12 hop", kRacketBuild, "ショット＿h32b_ﾗｹｯﾄ4", {}, 12},
    {"racket 4 f26", kRacketBuild, "ショット＿h32b_ﾗｹｯﾄ4", {}, 26},
    {"missile 1 f9", kMissileBuild, "ショット＿MML1", {}, 9},
    {"missile 2 f20", kMissileBuild, "ショット＿MML2", {}, 20},
    {"missile 2 f30", kMissileBuild, "ショット＿MML2", {}, 30},
    {"missile 3 f12", kMissileBuild, "ショット＿MML3", {}, 12},
    {"missile 3 f20", kMissileBuild, "ショット＿MML3", {}, 20},
    {"missile 4 f8", kMissileBuild, "ショット＿MML4", {}, 8},
    {"missile 4 f20", kMissileBuild, "ショット＿MML4", {}, 20},
};

const SCell kClusterCells[] = {
    {"cluster 1 f6", kClusterBuild, "ショット＿CLL1", {}, 6},
    {"cluster 2 f18", kClusterBuild, "ショット＿CLL2", {}, 18},
    {"cluster 2 f28", kClusterBuild, "ショット＿CLL2", {}, 28},
    {"cluster 3 f17", kClusterBuild, "ショット＿CLL3", {}, 17},
    {"cluster 3 f24", kClusterBuild, "ショット＿CLL3", {}, 24},
    {"cluster 4 f8", kClusterBuild, "ショット＿CLL4", {}, 8},
    {"cluster 4 f17", kClusterBuild, "ショット＿CLL4", {}, 17},
    {"cluster 4 f24", kClusterBuild, "ショット＿CLL4", {}, 24},
};

class SwordRocketPictures : public ::testing::Test {
protected:
    CTestFolder folder;
    CSceneDriver driver;

    void SetUp() override {
        ASSERT_EQ(driver.UseGameAssets(), 1);
        ASSERT_EQ(driver.Start(), 1);
    }
};

// A battle of the cell's build against a standing robot ahead of it, placed as a battle starts.
std::unique_ptr<CBattle> Arrange(const char* build) {
    auto b = std::make_unique<CBattle>();
    b->LoadStage(1);
    b->m_robotCount = 2;
    b->BuildRobot(0, -1, ParseBuildCode(build));
    b->BuildRobot(1, -1, ParseBuildCode("29,0,2"));
    b->m_robots[0].m_teamCode = "AL";
    b->m_robots[1].m_teamCode = "BL";
    b->PlaceRobots();
    for (int k = 0; k < 2; ++k) b->m_robots[k].PlaceOnGround(&b->m_stageObjects[0]);
    b->m_phase = kPhaseFight;
    return b;
}

// The cell's action run on robot 0 under the battle's step, its inputs held.
void RunCell(CBattle& b, const SCell& c) {
    CRobot& r = b.m_robots[0];
    r.SetAction(c.action);
    for (int i = 0; i < c.steps; ++i) {
        for (int k = 0; k < b.m_robotCount; ++k) b.m_robots[k].ClearVirtualButtons();
        for (int input : c.held) {
            r.m_input[input] = true;
            r.m_padState[input] = i ? kPadHeld : kPadPressed;
        }
        b.UpdateRobots();
        b.UpdateTargets();
        b.SpawnProjectiles();
        b.UpdateProjectiles();
        b.CheckProjectileCollisions();
        b.CheckProjectileHits();
    }
}

void DrawCell(CBattle& b) {
    SetLighting(1);
    b.m_stageObjects[1].Draw();
    for (int k = 0; k < b.m_robotCount; ++k) b.m_robots[k].Draw();
    SetAlphaBlend(1, kBlendSrcAlpha, kBlendOne);
    SetZWriteEnable(0);
    for (int i = 0; i < b.m_projectiles.GetCount(); ++i) {
        CProjectile& p = b.m_projectiles.GetRecord(i);
        if (p.IsActive()) p.Draw();
        p.DrawTrail();
    }
    SetZWriteEnable(1);
    SetAlphaBlend(1, kBlendSrcAlpha, kBlendInvSrcAlpha);
}

// Three by three cells of 4:3 a page, each in its own viewport so the stage stays inside it,
// viewed from the robot's front right wherever the action took it; labels go on last.
constexpr int kColumns = 3, kRows = 3, kPageCells = kColumns * kRows;
constexpr int kWidth = 640, kHeight = 480;

void ViewCell(const CRobot& r, int cell) {
    const C3DObject& root = r.m_frames[kRootFrame];
    const Vec3 at = root.GetLocalPosition();
    const Vec3 ahead = -root.GetLocalAxisZ();
    const Vec3 side = root.GetLocalAxisX();
    SetViewLookAt(at + side * 5.5f + ahead * 2.5f + Vec3(0, 2.5f, 0), at + ahead * 2.0f + Vec3(0, 1.2f, 0),
                  Vec3(0, 1, 0));
    GfxSetTransform(kTsView, g_matView);
    MatrixInverse(&g_matInvView, g_matView);
    GfxViewport vp;
    vp.width = kWidth / kColumns;
    vp.height = kHeight / kRows;
    vp.x = (cell % kColumns) * vp.width;
    vp.y = (cell / kColumns) * vp.height;
    GfxSetViewport(vp);
}

// Writes <name>_<page>.png; the number of pages and of cells whose robot was still in its action.
template <int N>
void WriteSheet(const char* name, const SCell (&cells)[N], int* inAction, int* pages) {
    GfxViewport full;
    full.width = kWidth;
    full.height = kHeight;
    for (int first = 0; first < N; first += kPageCells) {
        const int last = std::min(N, first + kPageCells);
        ASSERT_EQ(BeginFrame(0xFF303840), 1);
        for (int i = first; i < last; ++i) {
            std::unique_ptr<CBattle> b = Arrange(cells[i].build);
            RunCell(*b, cells[i]);
            *inAction += b->m_robots[0].m_currentAction == cells[i].action;
            ViewCell(b->m_robots[0], i - first);
            DrawCell(*b);
        }
        GfxSetViewport(full);
        for (int i = first; i < last; ++i) {
            const int cell = i - first;
            DrawTextAt((cell % kColumns) * kWidth / kColumns + 2, (cell / kColumns) * kHeight / kRows + 1, cells[i].label);
        }
        EndFrame();
        std::vector<uint32_t> pixels(kWidth * kHeight);
        ASSERT_TRUE(GfxReadPixels(0, 0, kWidth, kHeight, pixels.data()));
        char file[96];
        std::snprintf(file, sizeof file, "%s/%s_%02d.png", SCREENSHOT_DIR, name, *pages);
        ASSERT_TRUE(SysSavePng(file, pixels.data(), kWidth, kHeight));
        ++*pages;
    }
}

TEST_F(SwordRocketPictures, SwordCurseRocketsAndBombsOnStage1) {
    struct {
        const char* name;
        int cells, inAction, pages;
    } sheets[4] = {};
    int k = 0;
    sheets[k].name = "sword_cuts";
    sheets[k].cells = 12;
    WriteSheet(sheets[k].name, kSwordCells, &sheets[k].inAction, &sheets[k].pages);
    sheets[++k].name = "curse_shot";
    sheets[k].cells = 7;
    WriteSheet(sheets[k].name, kCurseCells, &sheets[k].inAction, &sheets[k].pages);
    sheets[++k].name = "rocket_shots";
    sheets[k].cells = 15;
    WriteSheet(sheets[k].name, kRocketCells, &sheets[k].inAction, &sheets[k].pages);
    sheets[++k].name = "cluster_bombs";
    sheets[k].cells = 8;
    WriteSheet(sheets[k].name, kClusterCells, &sheets[k].inAction, &sheets[k].pages);
    for (const auto& s : sheets) {
        SCOPED_TRACE(s.name);
        EXPECT_EQ(s.pages, (s.cells + kPageCells - 1) / kPageCells);
        EXPECT_EQ(s.inAction, s.cells);
    }
}

}  // namespace
