// One key pose as the tables keep it: a name and a stored rotation for each of the eleven body
// parts. The stored x and y are the negatives of the rotation's (the pose data's own sign
// convention); the rotation a row applies to a part is (-x, -y, z, w).
#pragma once

#include "robot.h"  // EPosePart: the body parts a key pose turns

struct CStoredQuat {
    float x, y, z, w;
};

struct CKeyPoseRow {
    const char* name;  // Shift-JIS, compared whole and exactly
    CStoredQuat parts[kPoseParts];
};

// One of the four tables, in its look-up order.
struct CKeyPoseTable {
    const CKeyPoseRow* rows;
    int count;
};
