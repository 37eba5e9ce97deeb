// The angle-mode key poses: forty fixed sets of joint target angles that the pose sequences
// write, one constant table of (joint, axis, radians) spans, one span per key.
#pragma once

// Axes of a joint's three angles.
enum EJointAxis { kAxisX, kAxisY, kAxisZ };

// The joints whose angles the joint writer eases: the eleven body parts, then five that are
// eased but turn nothing.
constexpr int kJointCount = 16;

struct CAngleTarget {
    int joint;
    int axis;
    float value;  // radians
};

struct CAngleKey {
    const CAngleTarget* targets;
    int count;
};

enum EAngleKey {
    kAngleKeyFlight,
    kAngleKeyWalkLegsA,
    kAngleKeyWalkLegsB,
    kAngleKeyWalkArmsA,
    kAngleKeyWalkArmsB,
    kAngleKeyStance,
    kAngleKeyStanceRest,
    kAngleKeyCrouch,
    kAngleKeyTakeOff,
    kAngleKeyFall,
    kAngleKeyTurnRight,
    kAngleKeyTurnLeft,
    kAngleKeyDash,
    kAngleKeyStagger,
    kAngleKeyStaggerEnd,
    kAngleKeyShot,
    kAngleKeyShotRecoil,
    kAngleKeyDashShotA,
    kAngleKeyDashShotB,
    kAngleKeyWreckA,
    kAngleKeyWreckB,
    kAngleKeyWreckC,
    kAngleKeyHitStun,
    kAngleKeySubShot,
    kAngleKeySubShotRecoil,
    kAngleKeyBladeReady,
    kAngleKeyBladeSwing,
    kAngleKeyWalk3A,
    kAngleKeyWalk3B,
    kAngleKeyWalk3C,
    kAngleKeyWalk3D,
    kAngleKeyDash4A,
    kAngleKeyDash4B,
    kAngleKeyDash4C,
    kAngleKeyDash4D,
    kAngleKeyDoubleShot,
    kAngleKeyFlight20,
    kAngleKeyPunch,
    kAngleKeyKickA,
    kAngleKeyKickB,
    kAngleKeyCount
};

extern const CAngleKey kAngleKeys[kAngleKeyCount];

// Writes the key's targets; every other target keeps its value.
void ApplyAngleKey(EAngleKey key, float targets[kJointCount][3]);
