// The constant tables of robot building: frame types with their parts, statistics and actions,
// the variant groups of each type, the right-hand weapons and the left-hand items. The
// catalogue reads them; nothing writes them.
#pragma once

#include "robot_catalog.h"

// ---- Rows ------------------------------------------------------------------------------------
struct WeaponEntryRow {
    const char* code;    // nullptr ends a list
    const char* label;
    int ammo;            // -1 unlimited
    int cost;
    const char* side;
};
constexpr int kMaxRowWeapons = 2;

struct RobotTypeRow {
    int type;
    const char* name;
    const char* partFiles[11];   // body parts in frame order
    const char* mountedFile;     // the six mounted-mesh entries before the variants
    int maxHp;                   // HP starts full
    int maxAp;
    int ap;
    int armour;
    int maxVp;                   // VP starts full
    int vpRegen;
    int maxEp;                   // EP starts full
    int epPerStep;
    int dashStartEnergy;
    int dashStepEnergy;
    // Single-precision constants, widened when stored into the robot's doubles.
    float walk, dash, turn, groundDamping, aloftDamping, jump;
    int weight0;
    int capacity;
    int paintSlots[2];
    // Action names for slots 1 walk, 2 dash, 3 jump, 12 aerial jump, 8 stance, 10 victory,
    // 11 defeat, 6 back weapon (nullptr: left to the variants).
    const char* walkAction;
    const char* dashAction;
    const char* jumpAction;
    const char* aerialJumpAction;
    const char* stanceAction;
    const char* victoryAction;
    const char* defeatAction;
    const char* backAction;
};

// The statistics a variant can change.
enum VariantStat {
    kStatNone = 0,
    kStatCapacity,
    kStatWeight3,
    kStatWalk,
    kStatDash,
    kStatTurn,
    kStatJump,
    kStatArmour,
    kStatMaxVp,     // and VP
    kStatVpRegen,
};

struct VariantStatRow {
    VariantStat stat;   // kStatNone ends a list
    float value;        // ints are stored exactly; doubles widened from single precision
};

struct PartFileRow {
    int index;          // catalogue part-file index
    const char* file;   // nullptr ends a list
};

struct ActionNameRow {
    int slot;
    const char* name;   // nullptr ends a list
};

struct VariantGroupRow {
    int type;
    int group;
    const char* name;
    const char* variants[kVariantsPerGroup];  // nullptr past the last
};

// What one choice of one group changes; choices without a row keep the type row.
struct VariantEffectRow {
    int type;
    int group;
    int choice;
    PartFileRow files[8];
    ActionNameRow actions[3];
    VariantStatRow stats[4];
    WeaponEntryRow weapons[kMaxRowWeapons];
};

struct HandWeaponRow {
    int id;
    const char* name;
    const char* action;
    const char* mesh;
    WeaponEntryRow weapons[kMaxRowWeapons];
};

// ---- Tables ----------------------------------------------------------------------------------
constexpr int kRobotTypeCount = 7;
extern const RobotTypeRow kRobotTypes[kRobotTypeCount];
extern const int kVariantGroupRowCount;
extern const VariantGroupRow kVariantGroups[];
extern const int kVariantEffectRowCount;
extern const VariantEffectRow kVariantEffects[];
constexpr int kRightWeaponCount = 13;   // the ids the menus offer
extern const HandWeaponRow kRightWeapons[kRightWeaponCount];
extern const HandWeaponRow kCpuRightWeapon;   // id 50, only CPU robots carry it
constexpr int kLeftItemCount = 8;
extern const HandWeaponRow kLeftItems[kLeftItemCount];

constexpr const char* kNullMesh = "wR-[NULL].x";

// ---- Look-ups (nullptr for an id no row has) ---------------------------------------------------
const RobotTypeRow* FindRobotType(int type);
const HandWeaponRow* FindRightWeapon(int id);
const HandWeaponRow* FindLeftItem(int id);
