// The joint writer's two halves, apart from the robot: easing the joint angles toward their
// targets, and rebuilding a body part's rotation from its three angles in its order.
// CRobot::UpdateJointRotations runs them on the robot's angles and parts every angle-mode step.
#pragma once

#include "angle_keys.h"

class C3DObject;

// Order codes of a joint's three turns: 1 X Y Z, 2 X Z Y, 3 Y X Z, 4 Y Z X, 5 Z X Y, 6 Z Y X;
// any other code leaves the part straight.
constexpr int kRotationOrderDefault = 1;
constexpr int kRotationOrderBody = 3;  // the body always turns Y, then X, then Z

// One step of easing for every angle of `count` joints. On a key's first frame each angle's step
// is set to cover its difference in the key's frames; far angles move by their step, near ones
// (within 0.3) close a fifth of the rest. An angle more than half a turn from its target is
// wrapped by a full turn first, so it turns the short way.
void EaseJointAngles(float angles[][3], const float targets[][3], float steps[][3], int count, int animFrame, int keyFrames);

// Straightens the part, then turns it about its own axes by the three angles in the code's order.
void BuildPartRotation(C3DObject* part, const float angles[3], int orderCode);
