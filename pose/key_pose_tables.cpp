// Look-up of key poses by name: a linear run in each table's order, as the pose update does
// every key-pose step (326 names at most, no allocation).
#include "key_pose_tables.h"

#include <cstring>

const CKeyPoseTable* const kKeyPoseTables[kKeyPoseTableCount] = {&kCommonPoses, &kH29Poses, &kH21H35Poses, &kH32bPoses};

const CKeyPoseRow* FindKeyPose(const CKeyPoseTable& table, const std::string& name) {
    // Whole-string comparison: a name with an embedded NUL matches nothing.
    if (name.find('\0') != std::string::npos) return nullptr;
    for (int i = 0; i < table.count; ++i)
        if (std::strcmp(table.rows[i].name, name.c_str()) == 0) return &table.rows[i];
    return nullptr;
}

const CKeyPoseRow* FindAnyKeyPose(const std::string& name) {
    for (const CKeyPoseTable* table : kKeyPoseTables)
        if (const CKeyPoseRow* row = FindKeyPose(*table, name)) return row;
    return nullptr;
}
