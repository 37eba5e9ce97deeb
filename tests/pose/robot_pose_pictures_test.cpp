// Pictures of the stand-in robots posed, for review by eye: every frame type in every key pose
// (contact sheets), and every frame type part way through its walk, its dash and its flight in
// the joint-angle sequences. Saved under SCREENSHOT_DIR; the checks only make sure robots were
// drawn and posed.
#include "angle_sequences.h"
#include "key_pose.h"
#include "pose_sheet.h"
#include "robot.h"
#include "robot_catalog.h"
#include "scene_driver.h"
#include "test_folder.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

struct Build {
    int type, left, right;
    const char* name;
};
// Each frame type with hand items that show: a blade or a shield on the left, a gun on the right.
const Build kBuilds[] = {
    {36, 0, 2, "36"}, {29, 0, 12, "29"}, {9, 2, 3, "09"}, {21, 1, 6, "21"},
    {31, 7, 7, "31"}, {32, 5, 9, "32"}, {33, 4, 8, "33"},
};

std::string CodeOf(const Build& b) {
    CRobotCatalog c;
    c.SetConfig(b.type, b.left, b.right, 0, 0, 0, 0, 0, 0, 7, 5, 1, 1, 2, 6);
    return c.EncodeConfig();
}

class RobotPosePictures : public ::testing::Test {
protected:
    CTestFolder folder;
    CSceneDriver driver;

    void SetUp() override {
        ASSERT_EQ(driver.UseGameAssets(), 1);
        ASSERT_EQ(driver.Start(), 1);
    }

    // Close on the robot's body, from its front right.
    static void FrameOn(CRobot& r, CPoseSheet* sheet) {
        Vec3 body = r.m_frames[1].GetWorldPosition();
        sheet->target = body + Vec3(0, -0.25f, 0);
        sheet->eye = body + Vec3(-1.3f, 0.5f, -2.4f);
    }

    static void DrawRobot(CRobot& r) {
        for (int f = 0; f < kRobotFrameCount; ++f) r.m_frames[f].Draw();
    }
};

TEST_F(RobotPosePictures, EveryFrameTypeInEveryKeyPose) {
    std::vector<const CKeyPoseRow*> rows;
    std::vector<std::string> labels;
    for (const CKeyPoseTable* table : kKeyPoseTables)
        for (int i = 0; i < table->count; ++i) {
            rows.push_back(&table->rows[i]);
            labels.push_back(table->rows[i].name);
        }
    for (const Build& b : kBuilds) {
        SCOPED_TRACE(b.name);
        auto robot = std::make_unique<CRobot>();
        CRobotCatalog catalog;
        catalog.BuildRobot(robot.get(), CodeOf(b));
        ASSERT_GT(robot->m_meshes[1].GetVertexCount(), 0) << "no body mesh";
        CPoseSheet sheet;
        FrameOn(*robot, &sheet);
        int pages = sheet.Write(std::string("key_poses_type") + b.name, labels, [&](int i) {
            for (int p = 0; p < kPoseParts; ++p) {
                const CStoredQuat& q = rows[i]->parts[p];
                SetPartRotation(&robot->m_frames[p], q.x, q.y, q.z, q.w);
            }
            DrawRobot(*robot);
        });
        EXPECT_EQ(pages, (326 + CPoseSheet::kCells - 1) / CPoseSheet::kCells);
    }
}

TEST_F(RobotPosePictures, WalkDashAndFlightInTheAngleSequences) {
    struct Moment {
        const char* animation;
        int steps;
        const char* label;
    } moments[] = {{"歩行", 10, "walk"}, {"ダッシュ４", 6, "dash4"}, {"ダッシュ", 8, "dash"}, {"飛行", 12, "flight"}};
    std::vector<std::unique_ptr<CRobot>> robots;
    std::vector<std::string> labels;
    std::vector<Quat> straight;
    for (const Build& b : kBuilds) {
        for (const Moment& m : moments) {
            robots.push_back(std::make_unique<CRobot>());
            CRobot& r = *robots.back();
            CRobotCatalog catalog;
            catalog.BuildRobot(&r, CodeOf(b));
            r.m_animName = m.animation;
            for (int s = 0; s < m.steps; ++s) {
                r.SelectPose();
                r.UpdateJointRotations();
            }
            labels.push_back(std::string(b.name) + " " + m.label);
            // Posed: the thighs have left their straight rest.
            EXPECT_LT(r.m_frames[7].GetRotationQuaternion().w, 0.99f) << labels.back();
        }
    }
    CPoseSheet sheet;
    FrameOn(*robots[0], &sheet);
    int pages = sheet.Write("angle_poses", labels, [&](int i) { DrawRobot(*robots[i]); });
    EXPECT_EQ(pages, 2);
}

}  // namespace
