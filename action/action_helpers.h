// The vocabulary the action scripts are written in: action-name slots, input indices, the
// "deff" keyword and animation modes, and the small steps every script repeats (queue a
// slot, end the step, pose at a frame, launch an effect at the body, the weapon chain).
#pragma once

#include <string>
#include <string_view>

class CRobot;
struct Vec3;

// ---- Names shared with the rest of the game (Shift-JIS) ----
extern const char* const kDeff;            // "deff": start the queued action, if any
extern const char* const kAnimModeAngle;   // "角度": joint-angle animations
extern const char* const kAnimModeKeyPose; // "クオータニオン": key poses

// Slots of the robot's standard action names: kAct* of robot.h.

// ---- Input flags (and pad states, same order) ----
enum EActionInput {
    kInForward = 0,
    kInBack = 1,
    kInRight = 2,
    kInLeft = 3,
    kInTurnRight = 4,
    kInTurnLeft = 5,
    kInRightWeapon = 6,
    kInLeftWeapon = 7,
    kInBackWeapon = 8,
    kInLockOn = 9,
    kInBoost = 11,  // jump and boost button
};

// Four-state codes of the pad.
enum EPadCode { kPadUp = 0, kPadReleased = 1, kPadPressed = 2, kPadHeld = 3 };

// ---- Steps every script repeats ----
void QueueSlot(CRobot& r, int slot);   // SetNextAction with the name in that slot
int EndStep(CRobot& r);                // SetAction("deff"); 1 when a queued action started
void EndStepState1(CRobot& r);         // EndStep, and move state 1 when it switched
void UseKeyPoses(CRobot& r);           // this step poses by key poses
void PoseAt(CRobot& r, int frame, int key, const char* pose, int frames);  // pose when frame == key
void PlaySound(CRobot& r, int index);  // once, from the start
int IsHeld(const CRobot& r, int input);
int IsFreshPress(const CRobot& r, int input);    // pad code 2
int IsPressedOrHeld(const CRobot& r, int input); // pad code 2 or 3
int AnyDirectionHeld(const CRobot& r);           // any of forward, back, right, left
int AnyDirectionPressed(const CRobot& r);        // a fresh press of any of them
// Right-hand weapon: slot 5, else back weapon: slot 6, else left-hand weapon: slot 7.
// 1 when one of the three inputs was held (whether or not the queue took it).
int QueueWeaponChain(CRobot& r);
// An effect launched at the body frame toward the body's facing (its negated world Z axis).
void FireBodyEffect(CRobot& r, const char* kind);
Vec3 BodyFacing(const CRobot& r);

// Shift-JIS aware substring test: matches only at character starts, so a second byte that
// looks like the start of the part never matches. An empty part is found in any text.
int NameContains(std::string_view text, const char* part);

// The body twist eased one step toward its target, the shorter way round, in single precision.
void EaseTwist(float* twist, float target);
