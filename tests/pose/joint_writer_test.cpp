// The joint writer: easing toward targets (even steps when far, a fifth of the rest when near,
// the short way round), the part rebuilt in its order code, and the mode text choosing between
// joint angles and key poses.
#include "joint_writer.h"
#include "key_pose.h"
#include "robot.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

TEST(JointWriter, EasingStepsFarAnglesAndBlendsNearOnes) {
    struct Case {
        float start, target;
        int keyFrames;
        std::vector<float> expect;  // the angle after frames 1, 2, 3 ...
    } cases[] = {
        {0.0f, 1.0f, 4, {0.25f, 0.5f, 0.75f, 0.8f, 0.84f, 0.872f}},
        // More than half a turn apart: wrapped by a full turn, then eased without going round.
        {3.0f, -3.0f, 10, {-3.2264f, -3.18112f}},
        {-3.0f, 3.0f, 10, {3.2264f, 3.18112f}},
        // Already close: the blend from the first frame.
        {0.1f, 0.0f, 10, {0.08f, 0.064f}},
        // A bad frames-per-key value counts as one frame.
        {0.0f, 2.0f, 0, {2.0f, 2.0f}},
    };
    for (const Case& c : cases) {
        float angles[1][3] = {{c.start, 0, 0}}, targets[1][3] = {{c.target, 0, 0}}, steps[1][3] = {};
        int frame = 0;
        for (float expect : c.expect) {
            frame = frame % (c.keyFrames > 0 ? c.keyFrames : 1) + 1;
            EaseJointAngles(angles, targets, steps, 1, frame, c.keyFrames);
            EXPECT_NEAR(angles[0][0], expect, 1e-5f) << c.start << " to " << c.target << " frame " << frame;
        }
    }
    // A target changed in the middle of a key moves a far joint with the old step.
    float angles[1][3] = {}, targets[1][3] = {{1.0f, 0, 0}}, steps[1][3] = {};
    EaseJointAngles(angles, targets, steps, 1, 1, 10);
    targets[0][0] = -1.0f;
    EaseJointAngles(angles, targets, steps, 1, 2, 10);
    EXPECT_FLOAT_EQ(angles[0][0], 0.2f);
}

TEST(JointWriter, OrderCodesTurnInTheirOrderAndOthersLeaveThePartStraight) {
    const float angles[3] = {0.4f, -0.7f, 1.1f};
    const char* orders[6] = {"XYZ", "XZY", "YXZ", "YZX", "ZXY", "ZYX"};
    for (int code = 0; code <= 7; ++code) {
        C3DObject part, expect;
        part.SetLocalPosition(1, 2, 3);
        part.RotateZ(0.3f);  // whatever it stood at before is forgotten
        BuildPartRotation(&part, angles, code);
        expect.SetLocalPosition(1, 2, 3);
        if (code >= 1 && code <= 6)
            for (const char* a = orders[code - 1]; *a; ++a) {
                if (*a == 'X') expect.RotateX(angles[0]);
                if (*a == 'Y') expect.RotateY(angles[1]);
                if (*a == 'Z') expect.RotateZ(angles[2]);
            }
        Mat4 got, want;
        part.GetMatrix(&got);
        expect.GetMatrix(&want);
        for (int i = 0; i < 4; ++i)
            for (int j = 0; j < 4; ++j) EXPECT_NEAR(got.m[i][j], want.m[i][j], 1e-6f) << "code " << code;
    }
}

TEST(JointWriter, ModeTextChoosesJointAnglesKeyPosesOrNothing) {
    CRobot r;
    r.m_targetAngles[kPartThighL][0] = 1.0f;
    r.m_animFrame = 1;
    r.m_animKeyFrames = 4;
    r.m_poseName = "正面";
    r.m_poseDuration = 3;
    r.m_frames[kPartShinL].RotateX(0.5f);

    // Key-pose mode: the angles stay, the pose counter runs and the parts slerp.
    r.m_animMode = "クオータニオン";
    r.UpdateJointRotations();
    EXPECT_EQ(r.m_angles[kPartThighL][0], 0.0f);
    EXPECT_EQ(r.m_poseFrame, 1);
    Quat shin = r.m_frames[kPartShinL].GetRotationQuaternion();
    EXPECT_NEAR(2 * std::asin(shin.x), 0.5f * 2 / 3, 1e-3f);

    // Neither text: nothing is turned, nothing counts.
    Mat4 before, after;
    r.m_frames[kPartShinL].GetMatrix(&before);
    r.m_animMode = "";
    r.UpdateJointRotations();
    r.m_frames[kPartShinL].GetMatrix(&after);
    EXPECT_TRUE(MatrixEqual(before, after));
    EXPECT_EQ(r.m_poseFrame, 1);
    EXPECT_EQ(r.m_angles[kPartThighL][0], 0.0f);

    // Angle mode: the angle steps and every body part is rebuilt from its angles.
    r.m_animMode = "角度";
    r.UpdateJointRotations();
    EXPECT_FLOAT_EQ(r.m_angles[kPartThighL][0], 0.25f);
    EXPECT_NEAR(2 * std::asin(r.m_frames[kPartThighL].GetRotationQuaternion().x), 0.25f, 1e-5f);
    EXPECT_NEAR(r.m_frames[kPartShinL].GetRotationQuaternion().w, 1.0f, 1e-6f);
}

TEST(JointWriter, PoseReadBackIntoAnglesAndOrderCodes) {
    struct Case {
        int axis;  // -1: straight
        float angle;
        float x, y, z;
        int order;
    } cases[] = {
        {-1, 0.0f, 0, 0, 0, 1},
        {0, 0.5f, 0.5f, 0, 0, 1},
        {1, 0.7f, 0, 0.7f, 0, 3},
        {2, 0.4f, 0, 0, 0.4f, 5},
        {1, -0.7f, 0, -0.7f, 0, 1},  // none greater than both others: the code stays 1
    };
    for (const Case& c : cases) {
        CRobot r;
        for (int i = 0; i < kRobotPartCount; ++i) {
            if (c.axis == 0) r.m_frames[i].RotateX(c.angle);
            if (c.axis == 1) r.m_frames[i].RotateY(c.angle);
            if (c.axis == 2) r.m_frames[i].RotateZ(c.angle);
        }
        r.m_rotationOrder[3] = 6;
        r.ConvertPoseToAngles();
        for (int i = 0; i < kRobotPartCount; ++i) {
            EXPECT_NEAR(r.m_angles[i][0], c.x, 1e-5f) << c.axis << " part " << i;
            EXPECT_NEAR(r.m_angles[i][1], c.y, 1e-5f) << c.axis << " part " << i;
            EXPECT_NEAR(r.m_angles[i][2], c.z, 1e-5f) << c.axis << " part " << i;
            EXPECT_EQ(r.m_rotationOrder[i], c.order) << c.axis << " part " << i;
        }
    }
}

}  // namespace
