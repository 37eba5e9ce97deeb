// The projectile kinds as constant tables: the store's files by slot, the 32 kind initialisers
// and the 56 kind names with the adjustments each makes after its initialiser. The effect
// store resolves the file names to its loaded meshes and sounds once per battle.
#pragma once

#include <cstdint>

// ---- Store files ----
constexpr int kStoreSlots = 19;

struct SStoreSlotFiles {
    const char* flight;
    const char* hit;
    const char* terrain;
    const char* trail;
    const char* sound;
    uint8_t hitKeyed;     // the hit mesh's textures take the colour key 0xff000000
    uint8_t flightKeyed;  // likewise the flight mesh's
};
extern const SStoreSlotFiles kStoreFiles[kStoreSlots];

// ---- Kind initialisers ----
struct SKindInit {
    const char* name;  // the first kind name that uses it
    int lifetime;
    float step;
    float turnRate;
    float homingRange;
    uint8_t steerBehind;
    uint8_t explosive;
    int hpDamage, apDamage, impact;
    int blastHpDamage, blastApDamage, blastImpact;
    float hitRadius;
    float blastRadius;
    int hitMode, trailMode, drawMode, blendPass;
    const char* label;
    const char* sound;
    const char* flightMesh;
    const char* trailMesh;
    const char* hitMesh;
    const char* terrainMesh;
};
constexpr int kKindInits = 32;
extern const SKindInit kKindInitTable[kKindInits];

// ---- Kind names ----
enum EKindField {
    kFieldNone = 0,
    kFieldLifetime,
    kFieldStep,
    kFieldTurnRate,
    kFieldHomingRange,
    kFieldHpDamage,
    kFieldApDamage,
    kFieldImpact,
    kFieldBlastHpDamage,
    kFieldBlastApDamage,
    kFieldBlastImpact,
    kFieldHitRadius,
    kFieldBlastRadius,
    kFieldLabel,
};

struct SKindAdjust {
    int field;  // EKindField; kFieldNone ends the list
    float value;
    const char* text;  // the kind label for kFieldLabel
};

// "ボム_H" changes eleven values, the most of any kind.
constexpr int kMaxKindAdjusts = 11;

struct SKindRow {
    const char* name;
    int init;  // index into kKindInitTable
    SKindAdjust adjusts[kMaxKindAdjusts];
};
constexpr int kKindRows = 56;
extern const SKindRow kKindTable[kKindRows];

// Index of the first row whose name equals the given one, or -1.
int FindKindRow(const char* name);
