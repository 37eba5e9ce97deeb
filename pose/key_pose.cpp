// Key-pose interpolation of the body parts (the stored-sign convention, the even-rate blend)
// and the robot's key-pose operations built on it.
#include "key_pose.h"

#include "node.h"

#include <cstdint>

void SlerpPartToward(float t, C3DObject* part, float x, float y, float z, float w) {
    Quat from = part->GetRotationQuaternion();
    part->SetRotationQuaternion(QuatSlerp(from, Quat(-x, -y, z, w), t));
}

void SetPartRotation(C3DObject* part, float x, float y, float z, float w) { part->SetRotationQuaternion(Quat(-x, -y, z, w)); }

int AdvanceKeyPoseFrame(int frame, int duration) {
    // Written so that a counter already at a huge duration never overflows.
    return frame < duration ? frame + 1 : duration;
}

float KeyPoseBlend(int frame, int duration) {
    // The steps left are counted in integers: in floats a long pose could round them to 0 and
    // blow the blend up to infinity.
    int64_t left = static_cast<int64_t>(duration) + 1 - frame;
    if (left < 1) left = 1;
    return 1.0f / static_cast<float>(left);
}

int ApplyKeyPoseTable(const CKeyPoseTable& table, const std::string& name, int frame, int duration, C3DObject* parts) {
    const CKeyPoseRow* row = FindKeyPose(table, name);
    if (!row) return 0;
    float t = KeyPoseBlend(frame, duration);
    for (int i = 0; i < kPoseParts; ++i) {
        const CStoredQuat& q = row->parts[i];
        SlerpPartToward(t, &parts[i], q.x, q.y, q.z, q.w);
    }
    return 1;
}
