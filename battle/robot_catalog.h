// CRobotCatalog: one robot build as fifteen numbers, its eight-byte build code (the form the
// garage saves, the menus produce and the lobby sends), the names of types, weapons and
// variants, and the building of a CRobot from a code: type setup, loading, paint.
#pragma once

#include "math_ops.h"

#include <string>

class CMesh;
class CRobot;

// ---- Build layout ----------------------------------------------------------------------------
constexpr int kConfigCount = 15;
enum {
    kCfgType = 0,       // frame type: 36, 29, 9, 21, 31, 32, 33
    kCfgLeftItem = 1,   // left-hand item id 0-7
    kCfgRightWeapon = 2,  // right-hand weapon id 0-12 (CPU robots use more)
    kCfgGroup0 = 3,     // choices of the type's variant groups 0-5 at 3-8
    kCfgMainRed = 9,    // main colour 9-11, sub colour 12-14, channels 0-7
    kCfgSubRed = 12,
};
constexpr int kVariantGroupCount = 6;
constexpr int kVariantsPerGroup = 4;
constexpr int kVariantNameCount = kVariantGroupCount * kVariantsPerGroup;
constexpr int kPartFileCount = 20;   // 0-10 body parts, 11 left item, 12 right weapon, 13-18 mounted
constexpr int kHandNameCount = 64;   // entries of each hand name table
constexpr int kBuildCodeBytes = 8;

class CRobotCatalog {
public:
    CRobotCatalog();
    ~CRobotCatalog();
    CRobotCatalog(const CRobotCatalog&) = delete;
    CRobotCatalog& operator=(const CRobotCatalog&) = delete;

    // ---- The build ----
    void InitNames();  // config all 0, part files and variant names cleared, hand names filled
    void SetConfig(int type, int leftItem, int rightWeapon, int group0, int group1, int group2, int group3,
                   int group4, int group5, int mainR, int mainG, int mainB, int subR, int subG, int subB);
    void SetColors(int mainR, int mainG, int mainB, int subR, int subG, int subB);
    std::string EncodeConfig() const;         // eight bytes, each a value plus 128
    void DecodeConfig(const std::string& code);  // short codes read their missing bytes as 0
    // which 0: the type's display name ("??" for an unknown type); 1 and 2: "??"; other: "".
    std::string GetTypeName(const std::string& code, int which = 0);

    // ---- Names (out-of-range ids read as "" rather than outside the tables) ----
    const std::string& GetLeftItemName(int id) const;
    const std::string& GetRightWeaponName(int id) const;
    const std::string& GetVariantName(int group, int variant) const;

    // ---- Building a robot ----
    void BuildRobot(CRobot* robot, const std::string& code);  // names, decode, setup, load
    void SetupRobotType(CRobot* robot);
    void SetupHandWeapons(CRobot* robot, int leftItem, int rightWeapon);
    void LoadRobot(CRobot* robot);   // meshes from ".\x", frame hierarchy, shadow, paint
    void ApplyColors(CRobot* robot);  // channel v becomes (v + 1) / 8
    std::string BuildStatsText(CRobot* robot) const;  // the garage's stat sheet

    // ---- Fields ----
    int m_config[kConfigCount] = {};
    std::string m_partFiles[kPartFileCount];
    std::string m_groupNames[kVariantGroupCount];
    std::string m_variantNames[kVariantNameCount];  // group g, variant v at 4 g + v
    std::string m_leftItemNames[kHandNameCount];
    std::string m_rightWeaponNames[kHandNameCount];
};

// Vertex `index` of a mesh; (0, 0, 0) for an empty mesh or one of 9990 or more vertices.
Vec3 GetMeshVertex(const CMesh* mesh, int index);
