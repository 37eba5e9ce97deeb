// The robot record: what a robot that was never set up holds, its sounds and that loading them
// leaves the current folder alone, the bounded weapon list, and painting by material slot.
#include "robot.h"

#include "../engine/audio_fixture.h"
#include "mesh.h"
#include "sys_path.h"
#include "test_folder.h"
#include "xfile_reader.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// A mesh of one triangle per material, each material white.
void MakePaintableMesh(CMesh* mesh, int materials) {
    XMeshData d;
    for (int m = 0; m < materials; ++m) {
        d.positions.insert(d.positions.end(), {Vec3(0, 0, float(m)), Vec3(1, 0, float(m)), Vec3(0, 1, float(m))});
        d.indices.insert(d.indices.end(), {uint32_t(3 * m), uint32_t(3 * m + 1), uint32_t(3 * m + 2)});
        d.faceMaterials.push_back(uint32_t(m));
    }
    d.materials.resize(size_t(materials));
    for (XMaterial& x : d.materials) x.faceColor = Color4(1, 1, 1, 1);
    ASSERT_EQ(mesh->TakeData(d, 0, 1), 1);
}

TEST(RobotRecord, NewRobotHoldsTheRecordDefaults) {
    CRobot r;
    // Gauges full, counters past any recent hit or fall.
    EXPECT_EQ(r.m_hp, 100);
    EXPECT_EQ(r.m_ap, 100);
    EXPECT_EQ(r.m_vp, 100);
    EXPECT_EQ(r.m_ep, 100);
    EXPECT_EQ(r.m_maxHp, 100);
    EXPECT_EQ(r.m_maxAp, 100);
    EXPECT_EQ(r.m_maxVp, 100);
    EXPECT_EQ(r.m_maxEp, 1000);
    EXPECT_EQ(r.m_epPerStep, 10);
    EXPECT_EQ(r.m_vpRegen, 1);
    EXPECT_EQ(r.m_armour, 2);
    EXPECT_EQ(r.m_knockback, 300);
    EXPECT_EQ(r.m_framesSinceDamage, 999);
    EXPECT_EQ(r.m_sinceDown, 999);
    EXPECT_EQ(r.m_stepCounter, 999);
    EXPECT_EQ(r.m_invincible, 0);
    // Targeting and control.
    EXPECT_EQ(r.m_target, nullptr);
    EXPECT_TRUE(r.m_lockOn);
    EXPECT_FALSE(r.m_nextTargetRequest);
    EXPECT_EQ(r.m_trackStyle, 10);
    EXPECT_EQ(r.m_moveState, 1);
    EXPECT_EQ(r.m_teamCode, "AA");
    EXPECT_EQ(r.m_weaponId, -1);
    for (int i = 0; i < kInputCount; ++i) {
        EXPECT_FALSE(r.m_input[i]);
        EXPECT_EQ(r.m_padState[i], 0);
    }
    // Type stats before any setup.
    EXPECT_EQ(r.m_dashStartEnergy, -100);
    EXPECT_EQ(r.m_dashStepEnergy, -15);
    EXPECT_EQ(r.m_partWeights[0] + r.m_partWeights[1] + r.m_partWeights[2] + r.m_partWeights[3], 0);
    EXPECT_EQ(r.m_loadCapacity, 0);
    EXPECT_EQ(r.m_groundHeight, 0.0);
    EXPECT_FALSE(r.m_blocked);
    // Actions and poses.
    EXPECT_EQ(r.m_currentAction, "");
    EXPECT_EQ(r.m_previousAction, "");
    EXPECT_EQ(r.m_nextAction, "");
    EXPECT_EQ(r.m_actionFrame, 0);
    EXPECT_EQ(r.m_animMode, "角度");
    EXPECT_EQ(r.m_animKeyFrames, 10);
    EXPECT_EQ(r.m_poseDuration, 1);
    EXPECT_EQ(r.m_paintSlots[0], 0);
    EXPECT_EQ(r.m_paintSlots[1], 1);
    for (int i = 0; i < kRotationOrderCount; ++i) EXPECT_EQ(r.m_rotationOrder[i], 1) << i;
}

TEST(RobotRecord, DoublesHoldWidenedSinglePrecisionConstants) {
    CRobot r;
    struct Row {
        const char* name;
        double value;
        float constant;
    };
    const Row rows[] = {
        {"walk", r.m_walkSpeed, 0.1f},          {"dash", r.m_dashSpeed, 0.3f},
        {"turn", r.m_turnSpeed, 0.09f},         {"ground damping", r.m_groundDamping, 0.8f},
        {"aloft damping", r.m_aloftDamping, 0.98f}, {"jump", r.m_jumpSpeed, 0.2f},
        {"gravity", r.m_gravity, -0.02f},       {"walk turn", r.m_walkTurnFactor, 0.4f},
        {"attack turn", r.m_attackTurnScale, 1.3f},
    };
    for (const Row& row : rows) EXPECT_EQ(row.value, double(row.constant)) << row.name;
    EXPECT_EQ(r.m_walkSpeed, 0.10000000149011612);
}

TEST(RobotRecord, ActionNameTableDefaults) {
    CRobot r;
    const char* expected[kActionNameCount] = {"nemo", "歩行４", "ダッシュ４", "ジャンプ", "硬直２", "ショット",
                                              "サブショット", "ブレード１", "構え", "", "勝利１", "敗北１",
                                              "", "", "", ""};
    for (int i = 0; i < kActionNameCount; ++i) EXPECT_EQ(r.m_actionNames[i], expected[i]) << "slot " << i;
}

TEST(RobotRecord, ShotAndWeaponSlotsStartEmpty) {
    CRobot r;
    ASSERT_EQ(r.m_shotSlots.count, kShotSlotCount);
    for (const CShotSlot& s : r.m_shotSlots.slots) {
        EXPECT_EQ(s.name, "ショット１");
        EXPECT_FALSE(s.inUse);
        EXPECT_EQ(s.mount, 0);
        EXPECT_EQ(s.offset.z, 1.0f);
        EXPECT_EQ(s.direction.x, 0.0f);
        EXPECT_EQ(s.direction.z, 1.0f);
    }
    EXPECT_EQ(r.m_weapons.capacity, kWeaponSlotCount);
    EXPECT_EQ(r.m_weapons.count, 0);
}

TEST(RobotRecord, AuxMountIsMountPointsFourAndFive) {
    CRobot r;
    r.m_mountPoints[4] = Vec3(1, 2, 3);
    r.m_mountPoints[5] = Vec3(-1, 2, 3);
    EXPECT_EQ(r.m_auxMount[0].x, 1.0f);
    EXPECT_EQ(r.m_auxMount[1].x, -1.0f);
    r.m_auxMount[1].y = 7;
    EXPECT_EQ(r.m_mountPoints[5].y, 7.0f);
}

TEST(RobotRecord, ConstructionLeavesTheCurrentFolderAlone) {
    CTestFolder folder;
    const std::string before = SysGetCurrentDir();
    {
        CRobot noWaveFolder;  // ".\wave" missing: sounds stay silent, nothing else changes
        EXPECT_EQ(SysGetCurrentDir(), before);
        EXPECT_EQ(noWaveFolder.m_sounds[0].IsLoaded(), 0);
    }
    ASSERT_EQ(SysMakeDir("wave"), 1);
    CRobot withWaveFolder;
    EXPECT_EQ(SysGetCurrentDir(), before);
}

using RobotSounds = AudioTest;

TEST_F(RobotSounds, EveryRobotLoadsItsFourSoundsFromTheWaveFolder) {
    StartSound();
    CFolderGuard game(GAME_DIR);
    ASSERT_EQ(game.IsEntered(), 1);
    const std::string before = SysGetCurrentDir();
    CRobot r;
    EXPECT_EQ(SysGetCurrentDir(), before);
    const char* files[kSoundCount] = {"se_roboef1.wav", "se_roboef2_c.wav", "se_roboef3.wav", "metal38.wav"};
    for (int i = 0; i < kSoundCount; ++i) {
        EXPECT_EQ(r.m_sounds[i].IsLoaded(), 1) << files[i];
        EXPECT_EQ(r.m_sounds[i].GetFileName(), files[i]);
        EXPECT_EQ(Count(std::string("load(") + files[i] + ") ... ok."), 1u) << Log();
    }
}

TEST(RobotRecord, WeaponListKeepsAtMostItsCapacity) {
    CRobot r;
    for (int i = 0; i < kWeaponSlotCount + 3; ++i) r.AddWeapon("code" + std::to_string(i), "L", i, 2 * i, "R");
    ASSERT_EQ(r.m_weapons.count, kWeaponSlotCount);
    EXPECT_EQ(r.m_weapons.slots[kWeaponSlotCount - 1].code, "code9");
    EXPECT_EQ(r.m_weapons.slots[3].ammo, 3);
    EXPECT_EQ(r.m_weapons.slots[3].cost, 6);
    // A capacity field above the array must not let a write past it.
    r.ClearWeapons();
    r.m_weapons.capacity = 50;
    for (int i = 0; i < 20; ++i) r.AddWeapon("x", "X", -1, 0, "S");
    EXPECT_EQ(r.m_weapons.count, kWeaponSlotCount);
    r.ClearWeapons();
    EXPECT_EQ(r.m_weapons.count, 0);
    for (const CWeaponSlot& s : r.m_weapons.slots) {
        EXPECT_EQ(s.code, "");
        EXPECT_EQ(s.label, "");
        EXPECT_EQ(s.side, "");
        EXPECT_EQ(s.ammo, 0);
        EXPECT_EQ(s.cost, 0);
    }
}

TEST(RobotRecord, SetColorsPaintsTheTwoPaintSlotsOfTheBodyParts) {
    CRobot r;
    for (int i = 0; i < kRobotMeshCount; ++i) MakePaintableMesh(&r.m_meshes[i], 4);
    r.m_paintSlots[0] = 2;
    r.m_paintSlots[1] = 3;
    r.SetColors(0.25f, 0.5f, 0.75f, 1.0f, 0.125f, 1.0f, 0.5f, 1.0f);
    for (int i = 0; i < kRobotMeshCount; ++i) {
        const bool part = i < kRobotPartCount;
        const GfxMaterial& main = r.m_meshes[i].GetMaterial(2);
        const GfxMaterial& sub = r.m_meshes[i].GetMaterial(3);
        EXPECT_EQ(main.diffuse.r, part ? 0.25f : 1.0f) << i;
        EXPECT_EQ(main.diffuse.b, part ? 0.75f : 1.0f) << i;
        EXPECT_EQ(sub.diffuse.r, part ? 0.125f : 1.0f) << i;
        EXPECT_EQ(sub.diffuse.g, 1.0f) << i;
        EXPECT_EQ(r.m_meshes[i].GetMaterial(0).diffuse.r, 1.0f) << i;  // unpainted slots untouched
    }
    // Meshes with fewer materials than the paint slots are painted where they can be.
    CRobot few;
    MakePaintableMesh(&few.m_meshes[0], 1);
    few.SetColors(0.5f, 0.5f, 0.5f, 1, 0.25f, 0.25f, 0.25f, 1);
    EXPECT_EQ(few.m_meshes[0].GetMaterial(0).diffuse.r, 0.5f);
}

}  // namespace
