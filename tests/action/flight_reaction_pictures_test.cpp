// Contact sheets of the stand-in robots in the flight modes, the hit reactions, the wreck over
// its help field and the last pose of every victory and defeat, each reached by its action's
// own steps; saved under SCREENSHOT_DIR for review by eye (the checks: every cell was drawn).
#include "../pose/pose_sheet.h"
#include "battle_runner.h"
#include "effect_store.h"
#include "projectile.h"
#include "robot.h"
#include "robot_catalog.h"
#include "scene_driver.h"
#include "test_folder.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

struct SCell {
    const char* label;  // ASCII, drawn on the sheet
    const char* build;
    const char* action;
    int startFrame;  // the step counter before the first step
    int steps;
    float pushZ;  // horizontal velocity along the root's Z axis (the knock-down's side)
    int hp;
};

const SCell kCells[] = {
    {"31 cruise", "31,0,0", "飛行31", 0, 12, 0, 100},
    {"31 ram", "31,0,0", "飛行31_特攻", 0, 20, 0, 100},
    {"31 boost dash", "31,0,0", "飛行31_ダッシュ", 0, 20, 0, 100},
    {"tumble, back", "29,0,1", "h29_被弾硬直", 0, 3, 0.3f, 100},
    {"down, face up", "29,0,1", "h29_被弾硬直", 100, 4, 0.3f, 100},
    {"down, face down", "29,0,1", "h29_被弾硬直", 100, 4, -0.3f, 100},
    {"guard", "29,0,1", "h29_ガード", 0, 8, 0, 100},
    {"guard counter", "29,0,1", "h29_ガード反撃", 0, 5, 0, 100},
    {"wreck, help field", "29,0,1", "撃破２", 0, 25, 0, 0},
    {"win 1 (33)", "33,0,1", "勝利１", 0, 80, 0, 100},
    {"win siren (21)", "21,1,0", "勝利サイレン", 0, 40, 0, 100},
    {"win justice (29)", "29,0,1", "勝利ジャスティス", 0, 40, 0, 100},
    {"win ninja (31)", "31,0,0", "勝利忍者ジャンプ", 0, 40, 0, 100},
    {"win flat (9)", "9,2,3", "勝利フラット", 0, 40, 0, 100},
    {"win 2(2) (32)", "32,0,2", "h32b_勝利2(2)", 0, 40, 0, 100},
    {"win (32)", "32,0,2", "h32b_勝利", 0, 40, 0, 100},
    {"lose (32)", "32,0,2", "h32b_敗北", 0, 40, 0, 100},
    {"lose 1", "29,0,1", "敗北１", 0, 40, 0, 100},
    {"lose 2 (9)", "9,2,3", "敗北２", 0, 40, 0, 100},
};

class FlightReactionPictures : public ::testing::Test {
protected:
    CTestFolder folder;
    CSceneDriver driver;

    void SetUp() override {
        ASSERT_EQ(driver.UseGameAssets(), 1);
        ASSERT_EQ(driver.Start(), 1);
    }
};

// Runs the cell's action in place (no stage: only the poses matter); the requests it raises
// are dropped. The number of help fields it asked for.
int PoseCell(CRobot& r, const SCell& c) {
    r.SetAction(c.action);
    r.m_actionFrame = c.startFrame;
    r.m_hp = c.hp;
    const Vec3 z = r.m_frames[kRootFrame].GetLocalAxisZ();
    r.m_velocity[0] = z.x * c.pushZ;
    r.m_velocity[2] = z.z * c.pushZ;
    int fields = 0;
    for (int i = 0; i < c.steps; ++i) {
        r.UpdateAction();
        r.UpdateJointRotations();
        for (CShotSlot& s : r.m_shotSlots.slots) {
            fields += s.inUse && s.name == "ＨＥＬＰフィールド";
            s.inUse = false;
        }
    }
    return fields;
}

TEST_F(FlightReactionPictures, FlightReactionsAndFinales) {
    CEffectStore store;
    auto field = std::make_unique<CProjectile>();
    std::vector<std::string> labels;
    for (const SCell& c : kCells) labels.push_back(c.label);
    CPoseSheet sheet;
    sheet.eye = Vec3(-2.6f, 2.2f, -4.4f);
    sheet.target = Vec3(0, 1.0f, 0);
    int drawn = 0, fields = 0;
    const int pages = sheet.Write("flight_reactions", labels, [&](int i) {
        const SCell& c = kCells[i];
        auto r = std::make_unique<CRobot>();
        CRobotCatalog catalog;
        // Painted so the parts read apart.
        catalog.BuildRobot(r.get(), ParseBuildCode(std::string(c.build) + ",0,0,0,0,0,0,7,5,1,1,2,6"));
        if (r->m_meshes[1].GetVertexCount() == 0) return;
        if (PoseCell(*r, c) > 0) {
            // The wreck asked for its field: lay it on the floor under the body.
            const Vec3 at = r->m_frames[1].GetWorldPosition();
            store.InitProjectile(field.get(), "ＨＥＬＰフィールド");
            field->Arm(Vec3(at.x, 0, at.z), Vec3(0, 0, 1), nullptr, r.get());
            field->m_flight.Draw();
            ++fields;
        }
        for (int f = 0; f < kRobotFrameCount; ++f) r->m_frames[f].Draw();
        EXPECT_EQ(r->m_currentAction, c.action) << c.label;
        ++drawn;
    });
    EXPECT_EQ(pages, 2);
    EXPECT_EQ(drawn, static_cast<int>(labels.size()));
    EXPECT_EQ(fields, 1);
}

}  // namespace
