// The robot's posing operations: key poses requested by name and reached at an even rate, and
// the joint writer that turns the body parts each step by the animation mode.
#include "joint_writer.h"
#include "key_pose.h"
#include "robot.h"

// ---- Key poses ----

void CRobot::SetPose(std::string_view poseName, int frames) {
    // assign() reuses the name's buffer, so posing allocates nothing once the longest name fit.
    m_poseName.assign(poseName.data(), poseName.size());
    m_poseFrame = 0;
    m_poseDuration = frames;
}

void CRobot::UpdatePose() {
    m_poseFrame = AdvanceKeyPoseFrame(m_poseFrame, m_poseDuration);
    ApplyCommonPoses();
    ApplyH29Poses();
    ApplyH21H35Poses();
    ApplyH32bPoses();
}

void CRobot::ApplyCommonPoses() { ApplyKeyPoseTable(kCommonPoses, m_poseName, m_poseFrame, m_poseDuration, m_frames); }
void CRobot::ApplyH29Poses() { ApplyKeyPoseTable(kH29Poses, m_poseName, m_poseFrame, m_poseDuration, m_frames); }
void CRobot::ApplyH21H35Poses() { ApplyKeyPoseTable(kH21H35Poses, m_poseName, m_poseFrame, m_poseDuration, m_frames); }
void CRobot::ApplyH32bPoses() { ApplyKeyPoseTable(kH32bPoses, m_poseName, m_poseFrame, m_poseDuration, m_frames); }

// ---- Joint writer ----

void CRobot::UpdateJointRotations() {
    if (m_animMode == "角度") {
        EaseJointAngles(m_angles, m_targetAngles, m_angleSteps, kRobotFrameCount, m_animFrame, m_animKeyFrames);
        for (int i = 0; i < kRobotPartCount; ++i) BuildPartRotation(&m_frames[i], m_angles[i], m_rotationOrder[i]);
    } else if (m_animMode == "クオータニオン") {
        UpdatePose();
    }
}

void CRobot::ConvertPoseToAngles() {
    for (int i = 0; i < kRobotPartCount; ++i) {
        Vec3 z = m_frames[i].GetLocalAxisZ();
        Vec3 y = m_frames[i].GetLocalAxisY();
        Vec3 x = Vec3Cross(y, z);
        float angles[3] = {-Atan2F(z.y, SqrtF(z.x * z.x + z.z * z.z)), Atan2F(z.x, z.z), Atan2F(x.y, SqrtF(x.x * x.x + x.z * x.z))};
        for (int k = 0; k < 3; ++k) {
            if (!(angles[k] > -3.14159f && angles[k] < 3.14159f)) angles[k] = 0;
            m_angles[i][k] = angles[k];
        }
        m_rotationOrder[i] = kRotationOrderDefault;
        if (angles[0] > angles[1] && angles[0] > angles[2]) m_rotationOrder[i] = 1;
        if (angles[1] > angles[0] && angles[1] > angles[2]) m_rotationOrder[i] = 3;
        if (angles[2] > angles[0] && angles[2] > angles[1]) m_rotationOrder[i] = 5;
    }
}
