// Whole battles of CPU opponents on the headless battle: each personality fights a pursuer on
// a stage and the battle runs to its result; the states each spent its steps in are printed,
// and a duel of the two strongest is kept as a contact sheet, a frame a second.
#include "battle.h"
#include "battle_runner.h"
#include "scene_driver.h"
#include "test_folder.h"

#include "camera.h"
#include "graphics.h"
#include "sys_graphics.h"
#include "sys_image.h"
#include "sys_rand.h"
#include "sys_text.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr int kTestBattleClock = 1800;  // the garage's test battle: a minute
constexpr int kStepLimit = 20000;

class CpuBattleTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(m_driver.Start(), 1);
        ASSERT_EQ(m_driver.UseGameAssets(), 1);
    }
    // Slot 0 against slot 1, as the headless runner sets them up.
    static std::unique_ptr<CBattle> MakeDuel(int stage, int type0, int type1, const char* build0, const char* build1) {
        auto b = std::make_unique<CBattle>();
        b->m_drawEnabled = 0;
        b->m_robotCount = 2;
        b->m_clock = kTestBattleClock;
        b->BuildRobot(0, type0, ParseBuildCode(build0));
        b->BuildRobot(1, type1, ParseBuildCode(build1));
        b->LoadStage(stage);
        b->Start();
        return b;
    }
    CTestFolder m_folder;
    CSceneDriver m_driver;
};

TEST_F(CpuBattleTest, WanderersAndPursuersFightToAResult) {
    SBattleSetup s;
    s.stage = 1;
    s.robotCount = 4;
    const char* builds[4] = {"36,1,2", "29,0,1", "9,2,3", "21,1,0"};
    const int types[4] = {1, 2, -1, 20};
    for (int i = 0; i < 4; ++i) {
        s.codes[i] = ParseBuildCode(builds[i]);
        s.cpuTypes[i] = types[i];
    }
    s.clock = kTestBattleClock;
    s.seed = 5;
    SBattleOutcome out;
    ASSERT_EQ(RunHeadlessBattle(s, &out), 1);
    EXPECT_TRUE(out.result == 3 || out.result == 4) << out.result;
    EXPECT_LT(out.steps, s.stepLimit);
}

bool IsDash(const std::string& s) { return s == "ダッシュ" || s == "ダッシュ(捕捉"; }
bool IsAttack(const std::string& s) { return s.find("攻撃") != std::string::npos; }

TEST_F(CpuBattleTest, HuntersAndDuellistsHuntAndAttack) {
    struct SCase {
        int type;
        int stage;  // the campaign's stage for the type
        const char* build;
        const char* opponent;
    };
    const SCase cases[] = {
        {7, 14, "36,1,2", "29,0,1"}, {6, 16, "9,2,3", "21,1,0"}, {3, 2, "29,0,1", "36,1,2"},
        {5, 1, "36,1,2", "36,1,2"},  // the test battle's two copies of one build
        {4, 1, "21,1,0", "9,2,3"},
    };
    for (const SCase& c : cases) {
        std::unique_ptr<CBattle> b = MakeDuel(c.stage, c.type, -1, c.build, c.opponent);
        GameSrand(21);
        std::map<std::string, int> steps;
        int frames = 0;
        while (!b->IsOver() && frames < kStepLimit) {
            b->Run();
            ++frames;
            if (b->m_phase == kPhaseFight) ++steps[b->m_cpu[0].m_state];
        }
        char head[64];
        std::snprintf(head, sizeof head, "type %d on stage %d, result %d:", c.type, c.stage, b->GetResult());
        std::string line = head;
        bool walked = false, dashed = false, attacked = false;
        for (const auto& [state, count] : steps) {
            char number[16];
            std::snprintf(number, sizeof number, " %d", count);
            line.append(" ").append(SjisToUtf8(state)).append(number);
            walked |= state == "移動";
            dashed |= IsDash(state);
            attacked |= IsAttack(state);
        }
        std::printf("%s\n", line.c_str());
        EXPECT_TRUE(b->GetResult() == 3 || b->GetResult() == 4) << line;
        EXPECT_TRUE(walked) << line;
        EXPECT_TRUE(dashed) << line;
        EXPECT_TRUE(attacked) << line;
    }
}

// A contact sheet of four by four frames, 160 x 120 each, from 640 x 480 reads.
class CContactSheet {
public:
    void Add(const std::vector<uint32_t>& frame) {
        const int cell = m_count % 16, cx = (cell % 4) * 160, cy = (cell / 4) * 120;
        if (cell == 0) m_page.assign(640 * 480, 0xFF000000);
        for (int y = 0; y < 120; ++y)
            for (int x = 0; x < 160; ++x) m_page[(cy + y) * 640 + cx + x] = frame[(y * 4) * 640 + x * 4];
        ++m_count;
        if (m_count % 16 == 0) Save();
    }
    int Finish() {
        if (m_count % 16) Save();
        return m_pages;
    }

private:
    void Save() {
        char name[64];
        std::snprintf(name, sizeof name, "/cpu_duel_5_vs_7_%02d.png", m_pages);
        if (SysSavePng(std::string(SCREENSHOT_DIR) + name, m_page.data(), 640, 480)) ++m_pages;
    }
    std::vector<uint32_t> m_page;
    int m_count = 0;
    int m_pages = 0;
};

void DrawDuel(CBattle& b) {
    const Vec3 p0 = b.m_robots[0].m_frames[kRootFrame].GetWorldPosition();
    const Vec3 p1 = b.m_robots[1].m_frames[kRootFrame].GetWorldPosition();
    const Vec3 mid = (p0 + p1) * 0.5f + Vec3(0, 1.0f, 0);
    const float span = GetDistanceVec(p0, p1);
    SetViewLookAt(mid + Vec3(span * 0.6f + 4.0f, span * 0.5f + 4.0f, span * 0.3f + 2.0f), mid, Vec3(0, 1, 0));
    BeginFrame(b.m_clearColor);
    SetLighting(1);
    b.m_stageObjects[1].Draw();
    for (CRobot& r : b.m_robots) {
        if (&r - b.m_robots >= b.m_robotCount) break;
        for (int f = 0; f < kRobotPartCount; ++f) r.m_frames[f].Draw();
        for (int f = kLeftHandFrame; f <= kAuxFrame1; ++f) r.m_frames[f].Draw();
    }
    EndFrame();
}

TEST_F(CpuBattleTest, DuellistsDuelOnStageOneAsAContactSheet) {
    std::unique_ptr<CBattle> b = MakeDuel(1, 5, 7, "36,1,2", "29,0,1");
    GameSrand(9);
    CContactSheet sheet;
    std::vector<uint32_t> frame(640 * 480);
    int frames = 0, fightSteps = 0;
    while (!b->IsOver() && frames < kStepLimit) {
        b->Run();
        ++frames;
        if (b->m_phase != kPhaseFight || ++fightSteps % 30 != 0) continue;
        DrawDuel(*b);
        ASSERT_EQ(GfxReadPixels(0, 0, 640, 480, frame.data()), 1);
        sheet.Add(frame);
    }
    EXPECT_TRUE(b->GetResult() == 3 || b->GetResult() == 4);
    EXPECT_GT(fightSteps, 30);
    EXPECT_GE(sheet.Finish(), 1);
}

}  // namespace
