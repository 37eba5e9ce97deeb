// Look-up of key poses by name: a binary search in each table's rows sorted once by name (the
// pose update does it every key-pose step; no allocation after the first), the first row of a
// name in table order as a linear run would find it.
#include "key_pose_tables.h"

#include <algorithm>
#include <cstring>
#include <vector>

const CKeyPoseTable* const kKeyPoseTables[kKeyPoseTableCount] = {&kCommonPoses, &kH29Poses, &kH21H35Poses, &kH32bPoses};

namespace {

// The rows of one of the four tables by name (ties in table order), sorted once: the pose
// update looks a name up for every robot every step.
struct SortedTable {
    std::vector<const CKeyPoseRow*> rows;
    explicit SortedTable(const CKeyPoseTable& table) {
        for (int i = 0; i < table.count; ++i) rows.push_back(&table.rows[i]);
        std::stable_sort(rows.begin(), rows.end(),
                         [](const CKeyPoseRow* a, const CKeyPoseRow* b) { return std::strcmp(a->name, b->name) < 0; });
    }
};

const SortedTable* SortedOf(const CKeyPoseTable& table) {
    static const SortedTable sorted[kKeyPoseTableCount] = {SortedTable(kCommonPoses), SortedTable(kH29Poses),
                                                           SortedTable(kH21H35Poses), SortedTable(kH32bPoses)};
    for (int i = 0; i < kKeyPoseTableCount; ++i)
        if (kKeyPoseTables[i] == &table) return &sorted[i];
    return nullptr;
}

}  // namespace

const CKeyPoseRow* FindKeyPose(const CKeyPoseTable& table, const std::string& name) {
    // Whole-string comparison: a name with an embedded NUL matches nothing.
    if (name.find('\0') != std::string::npos) return nullptr;
    if (const SortedTable* sorted = SortedOf(table)) {
        auto it = std::lower_bound(sorted->rows.begin(), sorted->rows.end(), name.c_str(),
                                   [](const CKeyPoseRow* row, const char* n) { return std::strcmp(row->name, n) < 0; });
        return it != sorted->rows.end() && std::strcmp((*it)->name, name.c_str()) == 0 ? *it : nullptr;
    }
    for (int i = 0; i < table.count; ++i)
        if (std::strcmp(table.rows[i].name, name.c_str()) == 0) return &table.rows[i];
    return nullptr;
}

const CKeyPoseRow* FindAnyKeyPose(const std::string& name) {
    for (const CKeyPoseTable* table : kKeyPoseTables)
        if (const CKeyPoseRow* row = FindKeyPose(*table, name)) return row;
    return nullptr;
}
