// The kind tables: every kind the action scripts fire exists, every row's initialiser and files
// are ones the store loads, and names are matched whole.
#include "projectile_kinds.h"

#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>

namespace {

// Every kind name a robot's action scripts put into a shot slot.
const char* const kScriptKinds[] = {
    "ショット１", "ショット２", "ショット３", "ショット３M", "ブレード", "ブレード２", "ブレード_強",
    "ブレード_硬直", "ダッシュ", "ダッシュ２", "ブースト", "ブースト（右", "ブースト（左", "ブーストB",
    "ミサイル", "ミサイル１", "垂直ミサイル", "多弾頭ミサイル", "核ミサイル", "マシンガン", "ライフル１",
    "シールド", "ボム", "ボム_H", "ボム_L", "ボム_短時限", "グレネード１", "レーザー", "レーザーslow",
    "格闘", "格闘パンチ", "格闘_突撃", "刀_1", "サテライト３", "ＨＥＬＰフィールド",
};

// Kinds fired by projectiles and hits themselves (sparks, satellites, carriers) and by the battle.
const char* const kInternalKinds[] = {"被弾", "ガード", "子ミサイル", "ショット３B", "巡航ミサイル"};

bool StoreHasFile(const char* file, bool sound) {
    for (const SStoreSlotFiles& s : kStoreFiles) {
        if (sound) {
            if (strcmp(s.sound, file) == 0) return true;
        } else if (!strcmp(s.flight, file) || !strcmp(s.hit, file) || !strcmp(s.terrain, file) ||
                   !strcmp(s.trail, file)) {
            return true;
        }
    }
    return false;
}

TEST(ProjectileKinds, EveryKindFiredByScriptsOrEffectsHasARow) {
    for (const char* name : kScriptKinds) EXPECT_GE(FindKindRow(name), 0) << name;
    for (const char* name : kInternalKinds) EXPECT_GE(FindKindRow(name), 0) << name;
}

TEST(ProjectileKinds, NamesMatchWholeAndExactly) {
    const char* const unknown[] = {"", "ショット", "ショット１ ", "ショット1", "ブースト（", "ｼｮｯﾄ１", "レーザーSLOW"};
    for (const char* name : unknown) EXPECT_EQ(FindKindRow(name), -1) << name;
    // A prefix of a longer name finds its own row, never the longer one.
    EXPECT_STREQ(kKindTable[FindKindRow("ショット１")].name, "ショット１");
    EXPECT_STREQ(kKindTable[FindKindRow("ショット１M")].name, "ショット１M");
}

TEST(ProjectileKinds, RowsAreUniqueAndPointAtKnownInitialisersAndFiles) {
    std::set<std::string> names;
    for (const SKindRow& row : kKindTable) {
        EXPECT_TRUE(names.insert(row.name).second) << "twice: " << row.name;
        ASSERT_GE(row.init, 0);
        ASSERT_LT(row.init, kKindInits);
        bool ended = false;
        for (const SKindAdjust& a : row.adjusts) {
            if (a.field == kFieldNone) ended = true;
            EXPECT_TRUE(!ended || a.field == kFieldNone) << row.name << ": a gap in the adjustments";
            if (a.field == kFieldLabel) {
                EXPECT_NE(a.text, nullptr) << row.name;
            }
        }
    }
    // Every initialiser is the first kind of its own name, and its files are in the store.
    for (const SKindInit& k : kKindInitTable) {
        int row = FindKindRow(k.name);
        ASSERT_GE(row, 0) << k.name;
        EXPECT_EQ(&kKindInitTable[kKindTable[row].init], &k) << k.name;
        EXPECT_TRUE(StoreHasFile(k.sound, true)) << k.name << " " << k.sound;
        for (const char* mesh : {k.flightMesh, k.trailMesh, k.hitMesh, k.terrainMesh})
            EXPECT_TRUE(StoreHasFile(mesh, false)) << k.name << " " << mesh;
    }
}

}  // namespace
