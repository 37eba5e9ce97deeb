// Angle-mode pose sequences: once a step the robot's animation clock advances and the sequence of
// its animation name writes the joint targets of the current key; the joint writer then eases
// the joints toward them. Also the reset, the clear and the forty key setters.
#include "angle_sequences.h"

#include "angle_keys.h"
#include "joint_writer.h"
#include "key_pose_row.h"
#include "robot.h"

#include <cstring>

namespace {

// The sequence names, in the order they are compared.
const char* const kSequenceNames[kAngleSequenceCount] = {
    "歩行",     "右歩行",       "左歩行",         "右斜歩行",     "左斜歩行",       "硬直",     "硬直２",
    "ダッシュ", "右ダッシュ",   "左ダッシュ",     "ジャンプ",     "歩行２",         "歩行３",   "ダッシュ４",
    "空中ダッシュ", "構え",     "飛行",           "飛行20",       "右旋回",         "左旋回",   "ショット",
    "ショット＿連射", "ショット＿ダブル", "ダッシュショット", "スライドショット", "サブショット", "ブレード１",
    "格闘＿パンチ", "格闘＿キック", "撃破",       "被弾硬直",
};

constexpr int kStopKey = 1000;  // the key at which a "stop" sequence holds for good

// A key-bound rule: past `last` the key wraps to 0.
void WrapKey(CRobot& r, int last) {
    if (r.m_animKey > last) r.m_animKey = 0;
}

// Reset, then the given keys' targets.
void ResetWith(CRobot& r, EAngleKey a, EAngleKey b = kAngleKeyCount) {
    r.ResetAngleTargets();
    ApplyAngleKey(a, r.m_targetAngles);
    if (b != kAngleKeyCount) ApplyAngleKey(b, r.m_targetAngles);
}

// The two-stride walk under every walking sequence; `body` and `head` turn the body toward the
// direction of travel while the head looks back ahead.
void Walk(CRobot& r, bool turned, float body, float head) {
    WrapKey(r, 1);
    if (r.m_animKey == 0)
        ResetWith(r, kAngleKeyWalkLegsB, kAngleKeyWalkArmsB);
    else
        ResetWith(r, kAngleKeyWalkLegsA, kAngleKeyWalkArmsA);
    if (turned) {
        r.m_targetAngles[kPartBody][kAxisY] = body;
        r.m_targetAngles[kPartHead][kAxisY] = head;
    }
}

// Four-key strides with frames per key set after the key's targets.
void FourStrides(CRobot& r, const EAngleKey keys[4], int framesPerKey) {
    WrapKey(r, 3);
    ResetWith(r, keys[r.m_animKey]);
    r.m_animKeyFrames = framesPerKey;
}

void RunSequence(CRobot& r, int sequence) {
    switch (sequence) {
    case kSeqWalk: Walk(r, false, 0, 0); break;
    case kSeqWalkRight: Walk(r, true, 1.57f, -1.57f); break;
    case kSeqWalkLeft: Walk(r, true, -1.57f, 1.57f); break;
    case kSeqWalkRightDiagonal: Walk(r, true, 0.785f, -0.785f); break;
    case kSeqWalkLeftDiagonal: Walk(r, true, -0.785f, 0.785f); break;
    case kSeqStagger:
        WrapKey(r, kStopKey);
        if (r.m_animKey <= 9)
            ResetWith(r, kAngleKeyStagger);
        else if (r.m_animKey == 10)
            ResetWith(r, kAngleKeyStaggerEnd);
        break;
    case kSeqStagger2:
        WrapKey(r, kStopKey);
        if (r.m_animKey == 0) ResetWith(r, kAngleKeyCrouch);
        break;
    case kSeqDash:
    case kSeqDashRight:
    case kSeqDashLeft:
        WrapKey(r, kStopKey);
        if (r.m_animKey == 0) {
            ResetWith(r, kAngleKeyDash);
            if (sequence == kSeqDashRight) r.m_targetAngles[kPartBody][kAxisY] = 1.57f;
            if (sequence == kSeqDashLeft) r.m_targetAngles[kPartBody][kAxisY] = -1.57f;
        }
        break;
    case kSeqJump:
        WrapKey(r, kStopKey);
        if (r.m_animKey == 0) ResetWith(r, kAngleKeyCrouch);
        if (r.m_animKey == 1) ResetWith(r, kAngleKeyTakeOff);
        if (r.m_animKey >= 1) {
            if (r.m_velocity[1] < 0.0) ResetWith(r, kAngleKeyFall);
            // The forward speed, taken as radians, tips the body into the jump.
            r.m_targetAngles[kPartBody][kAxisX] = static_cast<float>(r.m_moveSpeed[0]);
        }
        break;
    case kSeqWalk2:
        // No reset: the other targets, the order codes and the frames per key stay as they were.
        WrapKey(r, 3);
        if (r.m_animKey == 0) {
            ApplyAngleKey(kAngleKeyWalkLegsA, r.m_targetAngles);
            ApplyAngleKey(kAngleKeyWalkArmsA, r.m_targetAngles);
        } else if (r.m_animKey == 2) {
            ApplyAngleKey(kAngleKeyWalkLegsB, r.m_targetAngles);
            ApplyAngleKey(kAngleKeyWalkArmsB, r.m_targetAngles);
        }
        break;
    case kSeqWalk3: {
        static const EAngleKey kKeys[4] = {kAngleKeyWalk3A, kAngleKeyWalk3B, kAngleKeyWalk3C, kAngleKeyWalk3D};
        FourStrides(r, kKeys, 5);
        break;
    }
    case kSeqDash4: {
        static const EAngleKey kKeys[4] = {kAngleKeyDash4A, kAngleKeyDash4B, kAngleKeyDash4C, kAngleKeyDash4D};
        FourStrides(r, kKeys, 4);
        break;
    }
    case kSeqAirDash:
        r.m_animKey = 0;
        ResetWith(r, kAngleKeyDash);
        r.m_animKeyFrames = 4;
        break;
    case kSeqStance:
        WrapKey(r, kStopKey);
        if (r.m_animKey == 0) ResetWith(r, kAngleKeyStance);
        if (r.m_animKey == 10) ResetWith(r, kAngleKeyStanceRest);
        break;
    case kSeqFlight: WrapKey(r, 1); ResetWith(r, kAngleKeyFlight); break;
    case kSeqFlight20: WrapKey(r, 1); ResetWith(r, kAngleKeyFlight20); break;
    case kSeqTurnRight: WrapKey(r, 1); ResetWith(r, kAngleKeyTurnRight); break;
    case kSeqTurnLeft: WrapKey(r, 1); ResetWith(r, kAngleKeyTurnLeft); break;
    case kSeqShot:
        WrapKey(r, kStopKey);
        if (r.m_animKey == 0) ResetWith(r, kAngleKeyShot);
        if (r.m_animKey == 1) ResetWith(r, kAngleKeyShotRecoil);
        break;
    case kSeqShotRapid:
        WrapKey(r, kStopKey);
        if (r.m_animKey <= 1) ResetWith(r, kAngleKeyShot);
        break;
    case kSeqShotDouble:
        WrapKey(r, kStopKey);
        if (r.m_animKey <= 1) ResetWith(r, kAngleKeyDoubleShot);
        break;
    case kSeqDashShot:
        WrapKey(r, kStopKey);
        if (r.m_animKey <= 5) ResetWith(r, r.m_animKey % 2 == 0 ? kAngleKeyDashShotA : kAngleKeyDashShotB);
        break;
    case kSeqSlideShot:
        WrapKey(r, kStopKey);
        if (r.m_animKey == 0) ResetWith(r, kAngleKeyDashShotA);
        if (r.m_animKey == 3) ResetWith(r, kAngleKeyDashShotB);
        break;
    case kSeqSubShot:
        WrapKey(r, kStopKey);
        if (r.m_animKey == 0) ResetWith(r, kAngleKeySubShot);
        if (r.m_animKey == 1) ResetWith(r, kAngleKeySubShotRecoil);
        break;
    case kSeqBlade:
        WrapKey(r, kStopKey);
        if (r.m_animKey == 0) ResetWith(r, kAngleKeyBladeReady);
        if (r.m_animKey == 1) ResetWith(r, kAngleKeyBladeSwing);
        break;
    case kSeqPunch:
        WrapKey(r, kStopKey);
        if (r.m_animKey == 0) ResetWith(r, kAngleKeyStance);
        if (r.m_animKey == 1) ResetWith(r, kAngleKeyPunch);
        break;
    case kSeqKick:
        WrapKey(r, kStopKey);
        if (r.m_animKey == 0) ResetWith(r, kAngleKeyStance);
        if (r.m_animKey == 1) ResetWith(r, kAngleKeyKickA);
        if (r.m_animKey == 2) ResetWith(r, kAngleKeyKickB);
        break;
    case kSeqWreck:
        if (r.m_animKey > kStopKey) r.m_animKey = kStopKey;
        if (r.m_animKey == 0) ResetWith(r, kAngleKeyWreckA);
        if (r.m_animKey == 2) ResetWith(r, kAngleKeyWreckB);
        if (r.m_animKey == 3) ResetWith(r, kAngleKeyWreckC);
        break;
    case kSeqHitStun:
        if (r.m_animKey > kStopKey) r.m_animKey = kStopKey;
        if (r.m_animKey == 0) ResetWith(r, kAngleKeyHitStun);
        break;
    default:
        // Any other name: every part straight.
        WrapKey(r, 1);
        r.ResetAngleTargets();
        r.ClearAngleTargets();
        break;
    }
}

}  // namespace

int FindAngleSequence(const std::string& name) {
    for (int i = 0; i < kAngleSequenceCount; ++i)
        if (name == kSequenceNames[i]) return i;
    return -1;
}

const char* GetAngleSequenceName(int sequence) {
    return sequence >= 0 && sequence < kAngleSequenceCount ? kSequenceNames[sequence] : "";
}

void CRobot::SelectPose() {
    ++m_animFrame;
    if (m_animFrame > m_animKeyFrames) {
        m_animFrame = 1;
        ++m_animKey;
    }
    RunSequence(*this, FindAngleSequence(m_animName));
    m_rotationOrder[kPartBody] = kRotationOrderBody;
    // The body's yaw target is the key's value plus this step's twist. In a held key the
    // sequence writes nothing, so the twist added last step is taken out first; adding it on
    // top of the last one would spin the body round step after step.
    m_targetAngles[kPartBody][kAxisY] += m_twistTarget - m_poseTwist;
    m_poseTwist = m_twistTarget;
}

void CRobot::ResetAngleTargets() {
    for (int& order : m_rotationOrder) order = kRotationOrderDefault;
    std::memset(m_targetAngles, 0, sizeof(m_targetAngles));
    m_animKeyFrames = 10;
    m_poseTwist = 0;  // the yaw target holds no twist any more
}

void CRobot::ClearAngleTargets() {
    const CAngleKey& flight = kAngleKeys[kAngleKeyFlight];
    for (int i = 0; i < flight.count; ++i) m_targetAngles[flight.targets[i].joint][flight.targets[i].axis] = 0;
}

// ---- The forty key setters: each writes its span of the key table ----
void CRobot::SetAngleKeyBladeReady() { ApplyAngleKey(kAngleKeyBladeReady, m_targetAngles); }
void CRobot::SetAngleKeyBladeSwing() { ApplyAngleKey(kAngleKeyBladeSwing, m_targetAngles); }
void CRobot::SetAngleKeyCrouch() { ApplyAngleKey(kAngleKeyCrouch, m_targetAngles); }
void CRobot::SetAngleKeyDash() { ApplyAngleKey(kAngleKeyDash, m_targetAngles); }
void CRobot::SetAngleKeyDash4A() { ApplyAngleKey(kAngleKeyDash4A, m_targetAngles); }
void CRobot::SetAngleKeyDash4B() { ApplyAngleKey(kAngleKeyDash4B, m_targetAngles); }
void CRobot::SetAngleKeyDash4C() { ApplyAngleKey(kAngleKeyDash4C, m_targetAngles); }
void CRobot::SetAngleKeyDash4D() { ApplyAngleKey(kAngleKeyDash4D, m_targetAngles); }
void CRobot::SetAngleKeyDashShotA() { ApplyAngleKey(kAngleKeyDashShotA, m_targetAngles); }
void CRobot::SetAngleKeyDashShotB() { ApplyAngleKey(kAngleKeyDashShotB, m_targetAngles); }
void CRobot::SetAngleKeyDoubleShot() { ApplyAngleKey(kAngleKeyDoubleShot, m_targetAngles); }
void CRobot::SetAngleKeyFall() { ApplyAngleKey(kAngleKeyFall, m_targetAngles); }
void CRobot::SetAngleKeyFlight() { ApplyAngleKey(kAngleKeyFlight, m_targetAngles); }
void CRobot::SetAngleKeyFlight20() { ApplyAngleKey(kAngleKeyFlight20, m_targetAngles); }
void CRobot::SetAngleKeyHitStun() { ApplyAngleKey(kAngleKeyHitStun, m_targetAngles); }
void CRobot::SetAngleKeyKickA() { ApplyAngleKey(kAngleKeyKickA, m_targetAngles); }
void CRobot::SetAngleKeyKickB() { ApplyAngleKey(kAngleKeyKickB, m_targetAngles); }
void CRobot::SetAngleKeyPunch() { ApplyAngleKey(kAngleKeyPunch, m_targetAngles); }
void CRobot::SetAngleKeyShot() { ApplyAngleKey(kAngleKeyShot, m_targetAngles); }
void CRobot::SetAngleKeyShotRecoil() { ApplyAngleKey(kAngleKeyShotRecoil, m_targetAngles); }
void CRobot::SetAngleKeyStagger() { ApplyAngleKey(kAngleKeyStagger, m_targetAngles); }
void CRobot::SetAngleKeyStaggerEnd() { ApplyAngleKey(kAngleKeyStaggerEnd, m_targetAngles); }
void CRobot::SetAngleKeyStance() { ApplyAngleKey(kAngleKeyStance, m_targetAngles); }
void CRobot::SetAngleKeyStanceRest() { ApplyAngleKey(kAngleKeyStanceRest, m_targetAngles); }
void CRobot::SetAngleKeySubShot() { ApplyAngleKey(kAngleKeySubShot, m_targetAngles); }
void CRobot::SetAngleKeySubShotRecoil() { ApplyAngleKey(kAngleKeySubShotRecoil, m_targetAngles); }
void CRobot::SetAngleKeyTakeOff() { ApplyAngleKey(kAngleKeyTakeOff, m_targetAngles); }
void CRobot::SetAngleKeyTurnLeft() { ApplyAngleKey(kAngleKeyTurnLeft, m_targetAngles); }
void CRobot::SetAngleKeyTurnRight() { ApplyAngleKey(kAngleKeyTurnRight, m_targetAngles); }
void CRobot::SetAngleKeyWalk3A() { ApplyAngleKey(kAngleKeyWalk3A, m_targetAngles); }
void CRobot::SetAngleKeyWalk3B() { ApplyAngleKey(kAngleKeyWalk3B, m_targetAngles); }
void CRobot::SetAngleKeyWalk3C() { ApplyAngleKey(kAngleKeyWalk3C, m_targetAngles); }
void CRobot::SetAngleKeyWalk3D() { ApplyAngleKey(kAngleKeyWalk3D, m_targetAngles); }
void CRobot::SetAngleKeyWalkArmsA() { ApplyAngleKey(kAngleKeyWalkArmsA, m_targetAngles); }
void CRobot::SetAngleKeyWalkArmsB() { ApplyAngleKey(kAngleKeyWalkArmsB, m_targetAngles); }
void CRobot::SetAngleKeyWalkLegsA() { ApplyAngleKey(kAngleKeyWalkLegsA, m_targetAngles); }
void CRobot::SetAngleKeyWalkLegsB() { ApplyAngleKey(kAngleKeyWalkLegsB, m_targetAngles); }
void CRobot::SetAngleKeyWreckA() { ApplyAngleKey(kAngleKeyWreckA, m_targetAngles); }
void CRobot::SetAngleKeyWreckB() { ApplyAngleKey(kAngleKeyWreckB, m_targetAngles); }
void CRobot::SetAngleKeyWreckC() { ApplyAngleKey(kAngleKeyWreckC, m_targetAngles); }
