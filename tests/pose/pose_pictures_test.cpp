// Pictures of the poses for review by eye: every key pose of the four tables on a robot,
// written as contact sheets under SCREENSHOT_DIR.
#include "../engine/gfx_fixture.h"
#include "key_pose.h"
#include "pose_sheet.h"

namespace {

class PosePictures : public GfxTest {
protected:
    void SetUp() override {
        GfxTest::SetUp();
        StartDevice();
    }
};

TEST_F(PosePictures, EveryKeyPoseOnTheBoxRobot) {
    BoxRobot robot;
    std::vector<const CKeyPoseRow*> rows;
    std::vector<std::string> labels;
    for (const CKeyPoseTable* table : kKeyPoseTables)
        for (int i = 0; i < table->count; ++i) {
            rows.push_back(&table->rows[i]);
            labels.push_back(table->rows[i].name);
        }
    CPoseSheet sheet;
    int pages = sheet.Write("key_poses_box", labels, [&](int i) {
        for (int p = 0; p < kPoseParts; ++p) {
            const CStoredQuat& q = rows[i]->parts[p];
            SetPartRotation(&robot.joints[p], q.x, q.y, q.z, q.w);
        }
        robot.Draw();
    });
    EXPECT_EQ(pages, (326 + CPoseSheet::kCells - 1) / CPoseSheet::kCells);
}

}  // namespace
