// The four key-pose tables in the order the pose update runs them, and the look-up by name.
// Their 326 names are distinct across all four, so a name selects at most one row.
#pragma once

#include "key_pose_row.h"

#include <string>

// ---- The tables, in look-up order ----
extern const CKeyPoseTable kCommonPoses;  // 228 rows: unprefixed names and the type-32 finales
extern const CKeyPoseTable kH29Poses;     // 29 rows: "h29_" names
extern const CKeyPoseTable kH21H35Poses;  // 52 rows: "h21_" then "h35_" names
extern const CKeyPoseTable kH32bPoses;    // 17 rows: "h32b_" kick and racket names

constexpr int kKeyPoseTableCount = 4;
extern const CKeyPoseTable* const kKeyPoseTables[kKeyPoseTableCount];

// ---- Look-up (exact, byte for byte) ----
const CKeyPoseRow* FindKeyPose(const CKeyPoseTable& table, const std::string& name);  // null: not held
const CKeyPoseRow* FindAnyKeyPose(const std::string& name);  // first table holding it, or null
