// Key poses: each body part turns by spherical interpolation from wherever it stands toward a
// named key pose, arriving exactly after the given number of steps. The robot's key-pose
// operations (CRobot::SetPose, UpdatePose and the four table passes) stand on these.
#pragma once

#include "key_pose_tables.h"

#include <string>

class C3DObject;

// ---- Part rotations from stored rows ((x, y, z, w) applied as (-x, -y, z, w)) ----
// Turns the part by t of the way toward the row's rotation, along the shorter arc.
void SlerpPartToward(float t, C3DObject* part, float x, float y, float z, float w);
// Sets the part's rotation to the row's at once.
void SetPartRotation(C3DObject* part, float x, float y, float z, float w);

// ---- One pose step ----
// The counter after one more step toward a pose of `duration` steps (never past the duration).
int AdvanceKeyPoseFrame(int frame, int duration);
// The share of the remaining arc covered by this step: 1 / (steps left + 1), 1 at the end.
float KeyPoseBlend(int frame, int duration);
// Slerps parts[0..10] toward the table's row of the name by the blend of frame and duration;
// 1 when the table holds the name, 0 (nothing moved) otherwise.
int ApplyKeyPoseTable(const CKeyPoseTable& table, const std::string& name, int frame, int duration, C3DObject* parts);
