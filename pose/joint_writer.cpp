// Easing of the joint angles and the per-part rebuild from three angles, in single precision
// as the battle's lockstep requires.
#include "joint_writer.h"

#include "node.h"

void EaseJointAngles(float angles[][3], const float targets[][3], float steps[][3], int count, int animFrame, int keyFrames) {
    // Frames per key are at least 1 by construction; a bad value must not divide by zero.
    const float perFrame = 1.0f / static_cast<float>(keyFrames > 0 ? keyFrames : 1);
    for (int j = 0; j < count; ++j)
        for (int k = 0; k < 3; ++k) {
            float& a = angles[j][k];
            const float g = targets[j][k];
            // The step comes from the difference before the wrap below.
            if (animFrame == 1) steps[j][k] = perFrame * (g - a);
            if (a - g >= 3.1415f) a -= 6.283f;
            if (a - g <= -3.1415f) a += 6.283f;
            float d = a - g;
            if (d >= 0.3f || d <= -0.3f)
                a += steps[j][k];
            else
                a = 0.8f * a + 0.2f * g;
        }
}

void BuildPartRotation(C3DObject* part, const float angles[3], int orderCode) {
    // Each code lists its axes in turning order (0 X, 1 Y, 2 Z).
    static const int kOrders[6][3] = {{0, 1, 2}, {0, 2, 1}, {1, 0, 2}, {1, 2, 0}, {2, 0, 1}, {2, 1, 0}};
    part->SetOrientation(Vec3(0, 0, 1), Vec3(0, 1, 0));
    if (orderCode < 1 || orderCode > 6) return;
    for (int axis : kOrders[orderCode - 1]) {
        if (axis == 0)
            part->RotateX(angles[0]);
        else if (axis == 1)
            part->RotateY(angles[1]);
        else
            part->RotateZ(angles[2]);
    }
}
