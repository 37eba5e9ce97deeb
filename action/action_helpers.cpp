// The small steps the action scripts repeat, so each script reads as its list of steps.
#include "action_helpers.h"

#include "robot.h"
#include "sys_text.h"

#include <cstring>

const char* const kDeff = "deff";
const char* const kAnimModeAngle = "角度";
const char* const kAnimModeKeyPose = "クオータニオン";

void QueueSlot(CRobot& r, int slot) { r.SetNextAction(r.m_actionNames[slot]); }

int EndStep(CRobot& r) { return r.SetAction(kDeff) ? 1 : 0; }

void EndStepState1(CRobot& r) {
    if (EndStep(r)) r.m_moveState = 1;
}

void UseKeyPoses(CRobot& r) { r.m_animMode = kAnimModeKeyPose; }

void PoseAt(CRobot& r, int frame, int key, const char* pose, int frames) {
    if (frame == key) r.SetPose(pose, frames);
}

void PlaySound(CRobot& r, int index) { r.m_sounds[index].Play(0); }

int IsHeld(const CRobot& r, int input) { return r.m_input[input] ? 1 : 0; }
int IsFreshPress(const CRobot& r, int input) { return r.m_padState[input] == kPadPressed; }
int IsPressedOrHeld(const CRobot& r, int input) {
    return r.m_padState[input] == kPadPressed || r.m_padState[input] == kPadHeld;
}

int AnyDirectionHeld(const CRobot& r) {
    return IsHeld(r, kInForward) || IsHeld(r, kInBack) || IsHeld(r, kInRight) || IsHeld(r, kInLeft);
}

int AnyDirectionPressed(const CRobot& r) {
    return IsFreshPress(r, kInForward) || IsFreshPress(r, kInBack) || IsFreshPress(r, kInRight) ||
           IsFreshPress(r, kInLeft);
}

int QueueWeaponChain(CRobot& r) {
    if (IsHeld(r, kInRightWeapon)) QueueSlot(r, kActRightHand);
    else if (IsHeld(r, kInBackWeapon)) QueueSlot(r, kActBack);
    else if (IsHeld(r, kInLeftWeapon)) QueueSlot(r, kActLeftHand);
    else return 0;
    return 1;
}

Vec3 BodyFacing(const CRobot& r) { return -r.m_frames[1].GetWorldAxisZ(); }

void FireBodyEffect(CRobot& r, const char* kind) {
    Vec3 at = r.m_frames[1].GetWorldPosition();
    Vec3 dir = BodyFacing(r);
    r.FireWeaponAt(kind, at, dir);
}

int NameContains(std::string_view text, const char* part) {
    const size_t n = std::strlen(part);
    const size_t len = text.size();
    const char* s = text.data();
    if (n == 0) return 1;
    for (size_t i = 0; i + n <= len; i += SjisCharLength(s, len, i))
        if (std::memcmp(s + i, part, n) == 0) return 1;
    return 0;
}
