// The two auxiliary parts (frames 14 and 15): a kick from a weapon script tilts a part and
// shows its second or third mesh variant for a few steps; otherwise the parts ease toward a
// rest tilt that follows the vertical speed. Also the hovering jumps' vertical speed rule.
#include "action_helpers.h"
#include "robot.h"

namespace {

constexpr float kAuxEase = 0.1f;

}  // namespace

void CRobot::KickAuxPart(int frame, float target) {
    const int i = frame - kAuxFrame0;
    if (i != 0 && i != 1) return;
    int& counter = m_auxCounter[i];
    switch (m_auxMode[i]) {
    case 1:
        m_auxTargetSpeed[i] = 0;
        if (m_auxSpeed[i] == 0) counter += 10;
        break;
    case 2:
        m_auxTargetSpeed[i] = 0;
        counter += 10;
        if (counter >= 30) counter = 0;
        break;
    case 3:
        if (m_auxSpeed[i] == m_auxTargetSpeed[i]) counter += 10;
        m_auxTargetSpeed[i] = target;
        break;
    case 4:
        counter += 10;
        m_auxTargetSpeed[i] = target;
        break;
    default:
        break;
    }
}

void CRobot::DecayAuxParts() {
    const double vy = m_velocity[1];
    for (int i = 0; i < 2; ++i) {
        m_auxCounter[i] -= 5;
        if (m_auxCounter[i] < 0) m_auxCounter[i] = 0;
        switch (m_auxMode[i]) {
        case 1:
        case 2: m_auxTargetSpeed[i] = 1.5f; break;
        case 3:
        case 4:
            if (vy < 0.05 && vy > -0.05) m_auxTargetSpeed[i] = 0.7f;
            else if (vy < 0) m_auxTargetSpeed[i] = 0;
            else m_auxTargetSpeed[i] = 1.5f;
            break;
        default: break;
        }
    }
}

void CRobot::SpinAuxParts() {
    for (int i = 0; i < 2; ++i) {
        float& angle = m_auxSpeed[i];
        const float target = m_auxTargetSpeed[i];
        if (target > angle) angle += kAuxEase;
        else if (target < angle) angle -= kAuxEase;
        float gap = target - angle;
        if (gap < 0) gap = -gap;
        if (gap <= 0.11f) angle = target;
        int& counter = m_auxCounter[i];
        if (counter < 0) counter = 0;
        if (counter > 29) counter = 29;
        const int variant = counter / 10;
        const Vec3& mount = m_auxMount[i];
        m_frames[kAuxFrame0 + i].Create(&m_meshes[13 + 3 * i + variant], mount.x, mount.y, mount.z, 1.0f);
        if (m_auxMode[i] >= 1 && m_auxMode[i] <= 4) m_frames[kAuxFrame0 + i].RotateX(angle);
    }
}

void CRobot::StepFlightVerticalSpeed() {
    double& vy = m_velocity[1];
    if (vy >= -0.05) vy += 0.005;
    else if (AnyDirectionHeld(*this)) vy = -0.05;
}
