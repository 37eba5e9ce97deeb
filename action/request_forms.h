// How the flight, reaction and weapon scripts aim what they launch (a burst out of the back of a
// robot frame, a muzzle shot half a unit ahead of the root, a shot toward a target in front),
// and the hover that keeps a flying robot at its height.
#pragma once

#include "math_ops.h"

class CRobot;

constexpr float kMuzzleAhead = 0.5f;  // muzzle shots leave half a unit ahead, along the facing

// A burst of `kind` from frame `frame`: at its world position, against its world Z axis.
void FireBurst(CRobot& r, const char* kind, int frame);
// A shot of `kind` from half a unit ahead of the root, along its facing (the negated local Z).
void FireRootMuzzleShot(CRobot& r, const char* kind);
// The root's facing: its negated local Z, as it stands (not normalised).
Vec3 Facing(const CRobot& r);
// Toward the target while it stands in front (`leading`: where it will be for a shot at half a
// unit a step), otherwise the root's facing.
Vec3 AimedAt(CRobot& r, int leading);
// The hover of the flying robots: the vertical speed decays, a robot under one unit above the
// ground stops sinking, and the step's gravity is cancelled in advance.
void HoverStep(CRobot& r);
