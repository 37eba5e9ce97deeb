// The forty angle-mode key poses as data: each a span of (joint, axis, radians) that its setter
// writes and nothing else.
#include "angle_keys.h"

#include "key_pose_row.h"

namespace {

constexpr CAngleTarget kFlight[] = {
    {kPartHead, kAxisX, -0.6f}, {kPartBody, kAxisX, 0.2f}, {kPartWaist, kAxisX, 2.1f},
    {kPartUpperArmL, kAxisX, -1.3f}, {kPartUpperArmL, kAxisZ, 0.0f}, {kPartForearmL, kAxisX, 2.5f},
    {kPartForearmL, kAxisZ, 0.0f}, {kPartUpperArmR, kAxisX, -1.3f}, {kPartUpperArmR, kAxisZ, 0.0f},
    {kPartForearmR, kAxisX, 2.5f}, {kPartForearmR, kAxisZ, 0.0f}, {kPartThighL, kAxisX, -1.37f},
    {kPartShinL, kAxisX, -2.54f}, {kPartThighR, kAxisX, -1.37f}, {kPartShinR, kAxisX, -2.54f},
};
constexpr CAngleTarget kWalkLegsA[] = {
    {kPartThighL, kAxisX, -1.0f}, {kPartShinL, kAxisX, 0.0f}, {kPartThighR, kAxisX, 1.0f},
    {kPartShinR, kAxisX, -1.0f},
};
constexpr CAngleTarget kWalkLegsB[] = {
    {kPartThighL, kAxisX, 1.0f}, {kPartShinL, kAxisX, -1.0f}, {kPartThighR, kAxisX, -1.0f},
    {kPartShinR, kAxisX, 0.0f},
};
constexpr CAngleTarget kWalkArmsA[] = {
    {kPartUpperArmL, kAxisX, 1.0f}, {kPartForearmL, kAxisX, 1.0f}, {kPartUpperArmR, kAxisX, -1.0f},
    {kPartForearmR, kAxisX, 1.0f},
};
constexpr CAngleTarget kWalkArmsB[] = {
    {kPartUpperArmL, kAxisX, -1.0f}, {kPartForearmL, kAxisX, 1.0f}, {kPartUpperArmR, kAxisX, 1.0f},
    {kPartForearmR, kAxisX, 1.0f},
};
constexpr CAngleTarget kStance[] = {
    {kPartWaist, kAxisY, -0.5f}, {kPartUpperArmL, kAxisX, 0.0f}, {kPartUpperArmL, kAxisZ, 0.3f},
    {kPartForearmL, kAxisX, 1.0f}, {kPartUpperArmR, kAxisX, 0.0f}, {kPartUpperArmR, kAxisZ, -0.3f},
    {kPartForearmR, kAxisX, 1.0f}, {kPartThighL, kAxisX, 0.5f}, {kPartThighL, kAxisZ, 0.3f},
    {kPartShinL, kAxisX, -1.0f}, {kPartThighR, kAxisX, 0.1f}, {kPartThighR, kAxisZ, -0.3f},
    {kPartShinR, kAxisX, -0.2f},
};
constexpr CAngleTarget kStanceRest[] = {
    {kPartUpperArmL, kAxisX, -0.2f}, {kPartUpperArmL, kAxisZ, 0.2f}, {kPartForearmL, kAxisX, 0.6f},
    {kPartUpperArmR, kAxisX, -0.2f}, {kPartUpperArmR, kAxisZ, -0.2f}, {kPartForearmR, kAxisX, 0.6f},
    {kPartThighL, kAxisZ, 0.15f}, {kPartThighR, kAxisZ, -0.15f},
};
constexpr CAngleTarget kCrouch[] = {
    {kPartBody, kAxisX, -0.5f}, {kPartWaist, kAxisX, 0.5f}, {kPartUpperArmL, kAxisX, -0.9f},
    {kPartUpperArmL, kAxisZ, 0.2f}, {kPartForearmL, kAxisX, 1.8f}, {kPartUpperArmR, kAxisX, -0.9f},
    {kPartUpperArmR, kAxisZ, -0.2f}, {kPartForearmR, kAxisX, 1.8f}, {kPartThighL, kAxisX, 1.2f},
    {kPartThighL, kAxisZ, 0.2f}, {kPartShinL, kAxisX, -2.0f}, {kPartThighR, kAxisX, 1.2f},
    {kPartThighR, kAxisZ, -0.2f}, {kPartShinR, kAxisX, -2.0f},
};
constexpr CAngleTarget kTakeOff[] = {
    {kPartBody, kAxisX, 0.3f}, {kPartWaist, kAxisX, -0.3f}, {kPartUpperArmL, kAxisX, -0.5f},
    {kPartUpperArmL, kAxisZ, 0.9f}, {kPartForearmL, kAxisX, 0.1f}, {kPartUpperArmR, kAxisX, -0.5f},
    {kPartUpperArmR, kAxisZ, -0.9f}, {kPartForearmR, kAxisX, 0.1f}, {kPartThighL, kAxisX, 0.9f},
    {kPartThighL, kAxisZ, 0.2f}, {kPartShinL, kAxisX, -2.2f}, {kPartThighR, kAxisX, -0.4f},
    {kPartThighR, kAxisZ, 0.0f}, {kPartShinR, kAxisX, 0.0f},
};
constexpr CAngleTarget kFall[] = {
    {kPartHead, kAxisX, -0.3f}, {kPartBody, kAxisX, 0.1f}, {kPartWaist, kAxisX, 0.3f},
    {kPartUpperArmL, kAxisX, 1.1f}, {kPartUpperArmL, kAxisZ, 0.6f}, {kPartForearmL, kAxisX, 1.3f},
    {kPartUpperArmR, kAxisX, 1.1f}, {kPartUpperArmR, kAxisZ, -0.6f}, {kPartForearmR, kAxisX, 1.3f},
    {kPartThighL, kAxisX, 1.2f}, {kPartThighL, kAxisZ, 0.2f}, {kPartShinL, kAxisX, -2.2f},
    {kPartThighR, kAxisX, 0.4f}, {kPartThighR, kAxisZ, 0.0f}, {kPartShinR, kAxisX, -1.0f},
};
constexpr CAngleTarget kTurnRight[] = {
    {kPartHead, kAxisY, 0.5f}, {kPartBody, kAxisX, -0.3f}, {kPartWaist, kAxisX, 0.3f},
    {kPartWaist, kAxisY, -0.5f}, {kPartUpperArmL, kAxisX, -0.3f}, {kPartUpperArmL, kAxisZ, 0.3f},
    {kPartForearmL, kAxisX, 1.0f}, {kPartUpperArmR, kAxisX, -0.3f}, {kPartUpperArmR, kAxisZ, -0.3f},
    {kPartForearmR, kAxisX, 1.0f}, {kPartThighL, kAxisX, 0.5f}, {kPartThighL, kAxisZ, 0.3f},
    {kPartShinL, kAxisX, -1.0f}, {kPartShinL, kAxisZ, 0.3f}, {kPartThighR, kAxisX, 0.5f},
    {kPartThighR, kAxisZ, -0.3f}, {kPartShinR, kAxisX, -1.0f}, {kPartShinR, kAxisZ, 0.3f},
};
constexpr CAngleTarget kTurnLeft[] = {
    {kPartHead, kAxisY, -0.5f}, {kPartBody, kAxisX, -0.3f}, {kPartWaist, kAxisX, 0.3f},
    {kPartWaist, kAxisY, 0.5f}, {kPartUpperArmL, kAxisX, -0.3f}, {kPartUpperArmL, kAxisZ, 0.3f},
    {kPartForearmL, kAxisX, 1.0f}, {kPartUpperArmR, kAxisX, -0.3f}, {kPartUpperArmR, kAxisZ, -0.3f},
    {kPartForearmR, kAxisX, 1.0f}, {kPartThighL, kAxisX, 0.5f}, {kPartThighL, kAxisZ, 0.3f},
    {kPartShinL, kAxisX, -1.0f}, {kPartShinL, kAxisZ, -0.3f}, {kPartThighR, kAxisX, 0.5f},
    {kPartThighR, kAxisZ, -0.3f}, {kPartShinR, kAxisX, -1.0f}, {kPartShinR, kAxisZ, -0.3f},
};
constexpr CAngleTarget kDash[] = {
    {kPartHead, kAxisX, 0.8f}, {kPartBody, kAxisX, -0.7f}, {kPartWaist, kAxisX, -0.2f},
    {kPartUpperArmL, kAxisX, -1.0f}, {kPartForearmL, kAxisX, 1.0f}, {kPartUpperArmR, kAxisX, 1.0f},
    {kPartForearmR, kAxisX, 1.0f}, {kPartThighL, kAxisX, 2.0f}, {kPartShinL, kAxisX, -2.5f},
    {kPartThighR, kAxisX, 0.1f}, {kPartShinR, kAxisX, -0.3f},
};
constexpr CAngleTarget kStagger[] = {
    {kPartHead, kAxisX, -0.7f}, {kPartBody, kAxisX, 0.7f}, {kPartWaist, kAxisX, 0.0f},
    {kPartWaist, kAxisY, -0.5f}, {kPartUpperArmL, kAxisX, 1.0f}, {kPartUpperArmL, kAxisZ, 0.3f},
    {kPartForearmL, kAxisX, 1.0f}, {kPartForearmL, kAxisZ, -1.5f}, {kPartUpperArmR, kAxisX, -0.3f},
    {kPartUpperArmR, kAxisZ, -0.3f}, {kPartForearmR, kAxisX, 0.8f}, {kPartThighL, kAxisX, 0.7f},
    {kPartThighL, kAxisZ, 0.3f}, {kPartShinL, kAxisX, -0.5f}, {kPartThighR, kAxisX, 0.5f},
    {kPartThighR, kAxisZ, -0.3f}, {kPartShinR, kAxisX, -2.5f},
};
constexpr CAngleTarget kStaggerEnd[] = {
    {kPartHead, kAxisX, 0.8f}, {kPartBody, kAxisX, -0.7f}, {kPartWaist, kAxisX, -0.2f},
    {kPartUpperArmL, kAxisX, -1.0f}, {kPartUpperArmL, kAxisZ, 0.3f}, {kPartForearmL, kAxisX, 1.0f},
    {kPartUpperArmR, kAxisX, 1.0f}, {kPartUpperArmR, kAxisZ, -0.3f}, {kPartForearmR, kAxisX, 1.0f},
    {kPartThighL, kAxisX, 2.0f}, {kPartShinL, kAxisX, -2.5f}, {kPartThighR, kAxisX, 0.1f},
    {kPartShinR, kAxisX, -0.3f},
};
constexpr CAngleTarget kShot[] = {
    {kPartHead, kAxisY, 1.0f}, {kPartBody, kAxisY, -1.0f}, {kPartUpperArmL, kAxisX, -1.0f},
    {kPartUpperArmL, kAxisZ, 0.3f}, {kPartForearmL, kAxisX, 1.0f}, {kPartUpperArmR, kAxisX, 0.1f},
    {kPartUpperArmR, kAxisZ, -0.3f}, {kPartForearmR, kAxisX, 1.0f}, {kPartForearmR, kAxisZ, -1.0f},
    {kPartThighL, kAxisX, 0.5f}, {kPartThighL, kAxisZ, 0.4f}, {kPartShinL, kAxisX, -1.0f},
    {kPartThighR, kAxisX, 0.5f}, {kPartThighR, kAxisZ, -0.4f}, {kPartShinR, kAxisX, -1.0f},
};
constexpr CAngleTarget kShotRecoil[] = {
    {kPartHead, kAxisY, 1.0f}, {kPartBody, kAxisY, -1.0f}, {kPartUpperArmL, kAxisX, -1.0f},
    {kPartUpperArmL, kAxisZ, 0.3f}, {kPartForearmL, kAxisX, 1.0f}, {kPartUpperArmR, kAxisX, 0.1f},
    {kPartUpperArmR, kAxisZ, -0.3f}, {kPartForearmR, kAxisX, 1.6f}, {kPartForearmR, kAxisZ, -1.0f},
    {kPartThighL, kAxisX, 0.5f}, {kPartThighL, kAxisZ, 0.4f}, {kPartShinL, kAxisX, -1.0f},
    {kPartThighR, kAxisX, 0.5f}, {kPartThighR, kAxisZ, -0.4f}, {kPartShinR, kAxisX, -1.0f},
};
constexpr CAngleTarget kDashShotA[] = {
    {kPartHead, kAxisX, 0.8f}, {kPartBody, kAxisX, -0.7f}, {kPartWaist, kAxisX, -0.2f},
    {kPartUpperArmL, kAxisX, -1.0f}, {kPartUpperArmL, kAxisZ, 0.3f}, {kPartForearmL, kAxisX, 1.0f},
    {kPartUpperArmR, kAxisX, 2.0f}, {kPartForearmR, kAxisX, 0.0f}, {kPartThighL, kAxisX, 2.0f},
    {kPartShinL, kAxisX, -2.5f}, {kPartThighR, kAxisX, 0.1f}, {kPartShinR, kAxisX, -0.3f},
};
constexpr CAngleTarget kDashShotB[] = {
    {kPartHead, kAxisX, 0.8f}, {kPartBody, kAxisX, -0.7f}, {kPartWaist, kAxisX, -0.2f},
    {kPartUpperArmL, kAxisX, -1.0f}, {kPartUpperArmL, kAxisZ, 0.3f}, {kPartForearmL, kAxisX, 1.0f},
    {kPartUpperArmR, kAxisX, 1.0f}, {kPartForearmR, kAxisX, 1.5f}, {kPartThighL, kAxisX, 2.0f},
    {kPartShinL, kAxisX, -2.5f}, {kPartThighR, kAxisX, 0.1f}, {kPartShinR, kAxisX, -0.3f},
};
constexpr CAngleTarget kWreckA[] = {
    {kPartUpperArmL, kAxisX, 1.0f}, {kPartForearmL, kAxisX, 1.47f}, {kPartForearmL, kAxisZ, -1.47f},
    {kPartUpperArmR, kAxisX, 3.14f}, {kPartForearmR, kAxisX, 1.47f}, {kPartForearmR, kAxisZ, 1.47f},
    {kPartThighR, kAxisX, 0.5f}, {kPartShinR, kAxisX, -1.47f}, {kPartShinR, kAxisZ, 1.47f},
};
constexpr CAngleTarget kWreckB[] = {
    {kPartBody, kAxisY, -1.47f}, {kPartUpperArmL, kAxisX, 1.0f}, {kPartForearmL, kAxisX, 1.47f},
    {kPartForearmL, kAxisZ, -1.47f}, {kPartUpperArmR, kAxisX, 3.14f}, {kPartForearmR, kAxisX, 1.47f},
    {kPartForearmR, kAxisZ, 1.47f}, {kPartThighR, kAxisX, 0.5f}, {kPartShinR, kAxisX, -1.47f},
    {kPartShinR, kAxisZ, 1.47f},
};
constexpr CAngleTarget kWreckC[] = {
    {kPartBody, kAxisX, 1.47f}, {kPartBody, kAxisY, -1.47f}, {kPartUpperArmL, kAxisX, 1.0f},
    {kPartForearmL, kAxisX, 1.47f}, {kPartForearmL, kAxisZ, -1.47f}, {kPartUpperArmR, kAxisX, 3.14f},
    {kPartForearmR, kAxisX, 1.47f}, {kPartForearmR, kAxisZ, 1.47f}, {kPartThighR, kAxisX, 0.5f},
    {kPartShinR, kAxisX, -1.47f}, {kPartShinR, kAxisZ, 1.47f},
};
constexpr CAngleTarget kHitStun[] = {
    {kPartHead, kAxisX, 0.7f}, {kPartBody, kAxisX, 1.4f}, {kPartWaist, kAxisX, 0.0f},
    {kPartWaist, kAxisY, 0.0f}, {kPartUpperArmL, kAxisZ, 0.9f}, {kPartUpperArmR, kAxisZ, -0.9f},
    {kPartThighL, kAxisX, 0.7f}, {kPartThighL, kAxisZ, 0.3f}, {kPartShinL, kAxisX, -1.5f},
    {kPartThighR, kAxisX, 0.25f}, {kPartThighR, kAxisZ, -0.3f}, {kPartShinR, kAxisX, -0.55f},
};
constexpr CAngleTarget kSubShot[] = {
    {kPartHead, kAxisY, -1.0f}, {kPartBody, kAxisY, 1.0f}, {kPartUpperArmL, kAxisX, 0.1f},
    {kPartUpperArmL, kAxisZ, 0.3f}, {kPartForearmL, kAxisX, 1.0f}, {kPartForearmL, kAxisZ, 1.0f},
    {kPartUpperArmR, kAxisX, -1.0f}, {kPartUpperArmR, kAxisZ, -0.3f}, {kPartForearmR, kAxisX, 1.0f},
    {kPartThighL, kAxisX, 0.5f}, {kPartThighL, kAxisZ, 0.4f}, {kPartShinL, kAxisX, -1.0f},
    {kPartThighR, kAxisX, 0.5f}, {kPartThighR, kAxisZ, -0.4f}, {kPartShinR, kAxisX, -1.0f},
};
constexpr CAngleTarget kSubShotRecoil[] = {
    {kPartHead, kAxisY, -1.0f}, {kPartBody, kAxisY, 1.0f}, {kPartUpperArmL, kAxisX, 0.1f},
    {kPartUpperArmL, kAxisZ, 0.3f}, {kPartForearmL, kAxisX, 1.6f}, {kPartForearmL, kAxisZ, 1.0f},
    {kPartUpperArmR, kAxisX, -1.0f}, {kPartUpperArmR, kAxisZ, -0.3f}, {kPartForearmR, kAxisX, 1.0f},
    {kPartThighL, kAxisX, 0.5f}, {kPartThighL, kAxisZ, 0.4f}, {kPartShinL, kAxisX, -1.0f},
    {kPartThighR, kAxisX, 0.5f}, {kPartThighR, kAxisZ, -0.4f}, {kPartShinR, kAxisX, -1.0f},
};
constexpr CAngleTarget kBladeReady[] = {
    {kPartHead, kAxisY, -1.0f}, {kPartBody, kAxisY, 1.0f}, {kPartWaist, kAxisY, 0.0f},
    {kPartUpperArmL, kAxisX, 1.57f}, {kPartForearmL, kAxisX, 1.57f}, {kPartForearmL, kAxisZ, -1.57f},
    {kPartUpperArmR, kAxisX, -1.0f}, {kPartUpperArmR, kAxisZ, -0.3f}, {kPartForearmR, kAxisX, 1.0f},
    {kPartThighL, kAxisX, 0.5f}, {kPartThighL, kAxisZ, 0.4f}, {kPartShinL, kAxisX, -1.0f},
    {kPartThighR, kAxisX, 0.5f}, {kPartThighR, kAxisZ, -0.4f}, {kPartShinR, kAxisX, -1.0f},
};
constexpr CAngleTarget kBladeSwing[] = {
    {kPartHead, kAxisY, 1.0f}, {kPartBody, kAxisY, -1.0f}, {kPartWaist, kAxisY, 1.5f},
    {kPartUpperArmL, kAxisX, 1.57f}, {kPartUpperArmL, kAxisZ, 0.9f}, {kPartForearmL, kAxisX, 0.0f},
    {kPartForearmL, kAxisY, 1.57f}, {kPartForearmL, kAxisZ, 0.0f}, {kPartUpperArmR, kAxisX, -1.0f},
    {kPartUpperArmR, kAxisZ, -0.3f}, {kPartForearmR, kAxisX, 1.0f}, {kPartThighL, kAxisX, 0.5f},
    {kPartThighL, kAxisZ, 0.4f}, {kPartShinL, kAxisX, -1.0f}, {kPartThighR, kAxisX, 0.5f},
    {kPartThighR, kAxisZ, -0.4f}, {kPartShinR, kAxisX, -1.0f},
};
constexpr CAngleTarget kWalk3A[] = {
    {kPartHead, kAxisX, 0.5f}, {kPartBody, kAxisX, -0.5f}, {kPartUpperArmL, kAxisX, 1.0f},
    {kPartForearmL, kAxisX, 1.0f}, {kPartForearmL, kAxisZ, -1.0f}, {kPartUpperArmR, kAxisX, -1.0f},
    {kPartForearmR, kAxisX, 1.0f}, {kPartThighL, kAxisX, -0.5f}, {kPartShinL, kAxisX, -1.2f},
    {kPartThighR, kAxisX, 2.07f}, {kPartShinR, kAxisX, -1.0f},
};
constexpr CAngleTarget kWalk3B[] = {
    {kPartHead, kAxisX, 0.5f}, {kPartBody, kAxisX, -0.5f}, {kPartUpperArmL, kAxisX, 0.0f},
    {kPartForearmL, kAxisX, 1.0f}, {kPartUpperArmR, kAxisX, 0.0f}, {kPartForearmR, kAxisX, 1.0f},
    {kPartThighL, kAxisX, 1.5f}, {kPartShinL, kAxisX, -2.0f}, {kPartThighR, kAxisX, 0.5f},
    {kPartShinR, kAxisX, 0.0f},
};
constexpr CAngleTarget kWalk3C[] = {
    {kPartHead, kAxisX, 0.5f}, {kPartBody, kAxisX, -0.5f}, {kPartUpperArmL, kAxisX, -1.0f},
    {kPartForearmL, kAxisX, 1.0f}, {kPartUpperArmR, kAxisX, 1.0f}, {kPartForearmR, kAxisX, 1.0f},
    {kPartForearmR, kAxisZ, 1.0f}, {kPartThighL, kAxisX, 2.07f}, {kPartShinL, kAxisX, -1.0f},
    {kPartThighR, kAxisX, -0.5f}, {kPartShinR, kAxisX, -1.2f},
};
constexpr CAngleTarget kWalk3D[] = {
    {kPartHead, kAxisX, 0.5f}, {kPartBody, kAxisX, -0.5f}, {kPartUpperArmL, kAxisX, 0.0f},
    {kPartForearmL, kAxisX, 1.0f}, {kPartUpperArmR, kAxisX, 0.0f}, {kPartForearmR, kAxisX, 1.0f},
    {kPartThighL, kAxisX, 0.5f}, {kPartShinL, kAxisX, 0.0f}, {kPartThighR, kAxisX, 1.5f},
    {kPartShinR, kAxisX, -2.0f},
};
constexpr CAngleTarget kDash4A[] = {
    {kPartHead, kAxisX, 1.0f}, {kPartBody, kAxisX, -1.0f}, {kPartUpperArmL, kAxisX, 2.0f},
    {kPartForearmL, kAxisX, 1.0f}, {kPartForearmL, kAxisZ, -1.0f}, {kPartUpperArmR, kAxisX, -0.4f},
    {kPartForearmR, kAxisX, 2.0f}, {kPartThighL, kAxisX, -0.5f}, {kPartShinL, kAxisX, -1.2f},
    {kPartThighR, kAxisX, 2.37f}, {kPartShinR, kAxisX, -1.5f},
};
constexpr CAngleTarget kDash4B[] = {
    {kPartHead, kAxisX, 1.0f}, {kPartBody, kAxisX, -1.0f}, {kPartUpperArmL, kAxisX, 1.0f},
    {kPartForearmL, kAxisX, 1.0f}, {kPartUpperArmR, kAxisX, 1.0f}, {kPartForearmR, kAxisX, 1.0f},
    {kPartThighL, kAxisX, 1.5f}, {kPartShinL, kAxisX, -2.0f}, {kPartThighR, kAxisX, 0.5f},
    {kPartShinR, kAxisX, 0.0f},
};
constexpr CAngleTarget kDash4C[] = {
    {kPartHead, kAxisX, 1.0f}, {kPartBody, kAxisX, -1.0f}, {kPartUpperArmL, kAxisX, -0.4f},
    {kPartForearmL, kAxisX, 2.0f}, {kPartUpperArmR, kAxisX, 2.0f}, {kPartForearmR, kAxisX, 1.0f},
    {kPartForearmR, kAxisZ, 1.0f}, {kPartThighL, kAxisX, 2.37f}, {kPartShinL, kAxisX, -1.5f},
    {kPartThighR, kAxisX, -0.5f}, {kPartShinR, kAxisX, -1.2f},
};
constexpr CAngleTarget kDash4D[] = {
    {kPartHead, kAxisX, 1.0f}, {kPartBody, kAxisX, -1.0f}, {kPartUpperArmL, kAxisX, 1.0f},
    {kPartForearmL, kAxisX, 1.0f}, {kPartUpperArmR, kAxisX, 1.0f}, {kPartForearmR, kAxisX, 1.0f},
    {kPartThighL, kAxisX, 0.5f}, {kPartShinL, kAxisX, 0.0f}, {kPartThighR, kAxisX, 1.5f},
    {kPartShinR, kAxisX, -2.0f},
};
constexpr CAngleTarget kDoubleShot[] = {
    {kPartHead, kAxisX, -0.5f}, {kPartBody, kAxisX, 0.5f}, {kPartWaist, kAxisX, 0.5f},
    {kPartUpperArmL, kAxisX, 0.5f}, {kPartForearmL, kAxisX, 0.57f}, {kPartUpperArmR, kAxisX, 0.5f},
    {kPartForearmR, kAxisX, 0.57f}, {kPartThighL, kAxisX, 0.5f}, {kPartThighL, kAxisZ, 0.6f},
    {kPartShinL, kAxisX, -1.5f}, {kPartThighR, kAxisX, 0.5f}, {kPartThighR, kAxisZ, -0.6f},
    {kPartShinR, kAxisX, -1.5f},
};
constexpr CAngleTarget kFlight20[] = {
    {kPartHead, kAxisX, -0.7f}, {kPartBody, kAxisX, 0.5f}, {kPartWaist, kAxisX, 2.1f},
    {kPartUpperArmL, kAxisX, -0.5f}, {kPartUpperArmL, kAxisY, -1.57f}, {kPartForearmL, kAxisX, 1.57f},
    {kPartForearmL, kAxisZ, -1.57f}, {kPartUpperArmR, kAxisX, -0.5f}, {kPartUpperArmR, kAxisY, 1.57f},
    {kPartForearmR, kAxisX, 1.57f}, {kPartForearmR, kAxisZ, 1.57f}, {kPartThighL, kAxisX, -2.6f},
    {kPartThighL, kAxisY, -0.5f}, {kPartThighL, kAxisZ, 1.57f}, {kPartShinL, kAxisX, -0.3f},
    {kPartThighR, kAxisX, -2.6f}, {kPartThighR, kAxisY, 0.5f}, {kPartThighR, kAxisZ, -1.57f},
    {kPartShinR, kAxisX, -0.3f},
};
constexpr CAngleTarget kPunch[] = {
    {kPartWaist, kAxisY, -0.5f}, {kPartUpperArmL, kAxisX, -1.0f}, {kPartUpperArmL, kAxisZ, 0.3f},
    {kPartForearmL, kAxisX, 1.0f}, {kPartUpperArmR, kAxisX, 1.0f}, {kPartUpperArmR, kAxisZ, -0.3f},
    {kPartForearmR, kAxisX, 1.0f}, {kPartThighL, kAxisX, 0.5f}, {kPartThighL, kAxisZ, 0.3f},
    {kPartShinL, kAxisX, -1.0f}, {kPartThighR, kAxisX, 0.1f}, {kPartThighR, kAxisZ, -0.3f},
    {kPartShinR, kAxisX, -0.2f},
};
constexpr CAngleTarget kKickA[] = {
    {kPartHead, kAxisY, 1.57f}, {kPartBody, kAxisY, -1.57f}, {kPartWaist, kAxisY, 1.57f},
    {kPartWaist, kAxisZ, -0.785f}, {kPartUpperArmL, kAxisX, -0.3f}, {kPartUpperArmL, kAxisZ, 0.8f},
    {kPartForearmL, kAxisX, 1.3f}, {kPartUpperArmR, kAxisX, -0.3f}, {kPartUpperArmR, kAxisZ, -0.8f},
    {kPartForearmR, kAxisX, 1.3f}, {kPartThighL, kAxisX, 0.5f}, {kPartThighL, kAxisZ, 0.785f},
    {kPartShinL, kAxisX, -1.0f}, {kPartThighR, kAxisX, 1.0f}, {kPartThighR, kAxisZ, -0.785f},
    {kPartShinR, kAxisX, -2.0f},
};
constexpr CAngleTarget kKickB[] = {
    {kPartHead, kAxisY, 0.0f}, {kPartBody, kAxisY, 0.0f}, {kPartWaist, kAxisY, -1.57f},
    {kPartWaist, kAxisZ, -0.785f}, {kPartUpperArmL, kAxisX, -0.3f}, {kPartUpperArmL, kAxisZ, 0.8f},
    {kPartForearmL, kAxisX, 1.3f}, {kPartUpperArmR, kAxisX, 0.0f}, {kPartUpperArmR, kAxisZ, -0.8f},
    {kPartForearmR, kAxisX, 0.0f}, {kPartThighL, kAxisX, 0.5f}, {kPartThighL, kAxisZ, 0.785f},
    {kPartShinL, kAxisX, -1.0f}, {kPartThighR, kAxisZ, -0.785f},
};

template <int N>
constexpr CAngleKey Span(const CAngleTarget (&targets)[N]) {
    return CAngleKey{targets, N};
}

}  // namespace

const CAngleKey kAngleKeys[kAngleKeyCount] = {
    Span(kFlight),
    Span(kWalkLegsA),
    Span(kWalkLegsB),
    Span(kWalkArmsA),
    Span(kWalkArmsB),
    Span(kStance),
    Span(kStanceRest),
    Span(kCrouch),
    Span(kTakeOff),
    Span(kFall),
    Span(kTurnRight),
    Span(kTurnLeft),
    Span(kDash),
    Span(kStagger),
    Span(kStaggerEnd),
    Span(kShot),
    Span(kShotRecoil),
    Span(kDashShotA),
    Span(kDashShotB),
    Span(kWreckA),
    Span(kWreckB),
    Span(kWreckC),
    Span(kHitStun),
    Span(kSubShot),
    Span(kSubShotRecoil),
    Span(kBladeReady),
    Span(kBladeSwing),
    Span(kWalk3A),
    Span(kWalk3B),
    Span(kWalk3C),
    Span(kWalk3D),
    Span(kDash4A),
    Span(kDash4B),
    Span(kDash4C),
    Span(kDash4D),
    Span(kDoubleShot),
    Span(kFlight20),
    Span(kPunch),
    Span(kKickA),
    Span(kKickB),
};

void ApplyAngleKey(EAngleKey key, float targets[kJointCount][3]) {
    if (key < 0 || key >= kAngleKeyCount) return;
    const CAngleKey& k = kAngleKeys[key];
    for (int i = 0; i < k.count; ++i) targets[k.targets[i].joint][k.targets[i].axis] = k.targets[i].value;
}
