// Type setup: what a robot's frame type, variant choices and hand weapons give it (meshes to
// load, statistics, actions, weapon list), all read from the constant tables; and the garage's
// stat sheet of the result.
#include "robot_catalog.h"

#include "robot.h"
#include "robot_tables.h"

#include <cstdio>

namespace {

constexpr int kFirstMountedFile = 13;
constexpr int kMountedFileCount = 6;
constexpr int kLeftItemFile = 11;
constexpr int kRightWeaponFile = 12;

void AddWeapons(CRobot* robot, const WeaponEntryRow* entries) {
    for (int i = 0; i < kMaxRowWeapons && entries[i].code; ++i)
        robot->AddWeapon(entries[i].code, entries[i].label, entries[i].ammo, entries[i].cost, entries[i].side);
}

void ApplyTypeRow(CRobotCatalog* catalog, CRobot* robot, const RobotTypeRow& row) {
    for (int i = 0; i < kRobotPartCount; ++i) catalog->m_partFiles[i] = row.partFiles[i];
    for (int i = 0; i < kMountedFileCount; ++i) catalog->m_partFiles[kFirstMountedFile + i] = row.mountedFile;
    robot->m_paintSlots[0] = row.paintSlots[0];
    robot->m_paintSlots[1] = row.paintSlots[1];
    robot->m_maxHp = robot->m_hp = row.maxHp;
    robot->m_maxAp = row.maxAp;
    robot->m_ap = row.ap;
    robot->m_armour = row.armour;
    robot->m_maxVp = robot->m_vp = row.maxVp;
    robot->m_vpRegen = row.vpRegen;
    robot->m_maxEp = robot->m_ep = row.maxEp;
    robot->m_epPerStep = row.epPerStep;
    robot->m_dashStartEnergy = row.dashStartEnergy;
    robot->m_dashStepEnergy = row.dashStepEnergy;
    robot->m_walkSpeed = row.walk;
    robot->m_dashSpeed = row.dash;
    robot->m_turnSpeed = row.turn;
    robot->m_groundDamping = row.groundDamping;
    robot->m_aloftDamping = row.aloftDamping;
    robot->m_jumpSpeed = row.jump;
    robot->m_partWeights[0] = row.weight0;
    robot->m_loadCapacity = row.capacity;
    std::string* names = robot->m_actionNames;
    names[kActWalk] = row.walkAction;
    names[kActDash] = row.dashAction;
    names[kActJump] = row.jumpAction;
    names[kActAerialJump] = row.aerialJumpAction;
    names[kActStance] = row.stanceAction;
    names[kActVictory] = row.victoryAction;
    names[kActDefeat] = row.defeatAction;
    if (row.backAction) names[kActBack] = row.backAction;
}

void ApplyVariantStat(CRobot* robot, const VariantStatRow& stat) {
    switch (stat.stat) {
    case kStatCapacity: robot->m_loadCapacity = int(stat.value); break;
    case kStatWeight3: robot->m_partWeights[3] = int(stat.value); break;
    case kStatWalk: robot->m_walkSpeed = stat.value; break;
    case kStatDash: robot->m_dashSpeed = stat.value; break;
    case kStatTurn: robot->m_turnSpeed = stat.value; break;
    case kStatJump: robot->m_jumpSpeed = stat.value; break;
    case kStatArmour: robot->m_armour = int(stat.value); break;
    case kStatMaxVp: robot->m_maxVp = robot->m_vp = int(stat.value); break;
    case kStatVpRegen: robot->m_vpRegen = int(stat.value); break;
    case kStatNone: break;
    }
}

void ApplyVariantEffect(CRobotCatalog* catalog, CRobot* robot, const VariantEffectRow& effect) {
    for (const PartFileRow& file : effect.files)
        if (file.file && file.index >= 0 && file.index < kPartFileCount) catalog->m_partFiles[file.index] = file.file;
    for (const ActionNameRow& action : effect.actions)
        if (action.name && action.slot >= 0 && action.slot < kActionNameCount)
            robot->m_actionNames[action.slot] = action.name;
    for (const VariantStatRow& stat : effect.stats) ApplyVariantStat(robot, stat);
    AddWeapons(robot, effect.weapons);
}

}  // namespace

void CRobotCatalog::SetupRobotType(CRobot* robot) {
    robot->ClearWeapons();
    robot->m_actionNames[kActStagger] = "硬直２";
    robot->m_actionNames[kActGuard] = "h29_ガード";
    robot->m_actionNames[kActHitStun] = "被弾硬直２";
    robot->m_actionNames[kActKnockDown] = "h29_被弾硬直";
    robot->m_actionNames[kActDestroyed] = "撃破２";
    robot->m_trackStyle = 11;
    robot->m_partWeights[0] = 500;
    robot->m_partWeights[1] = robot->m_partWeights[2] = robot->m_partWeights[3] = 0;
    robot->m_loadCapacity = 1000;

    const int type = m_config[kCfgType];
    if (const RobotTypeRow* row = FindRobotType(type)) {
        ApplyTypeRow(this, robot, *row);
        for (int i = 0; i < kVariantGroupRowCount; ++i) {
            const VariantGroupRow& group = kVariantGroups[i];
            if (group.type != type) continue;
            m_groupNames[group.group] = group.name;
            for (int v = 0; v < kVariantsPerGroup && group.variants[v]; ++v)
                m_variantNames[group.group * kVariantsPerGroup + v] = group.variants[v];
        }
        // Effects in table order, which is group order: a choice no row lists keeps the type row.
        for (int i = 0; i < kVariantEffectRowCount; ++i) {
            const VariantEffectRow& effect = kVariantEffects[i];
            if (effect.type == type && m_config[kCfgGroup0 + effect.group] == effect.choice)
                ApplyVariantEffect(this, robot, effect);
        }
    }
    SetupHandWeapons(robot, m_config[kCfgLeftItem], m_config[kCfgRightWeapon]);
}

void CRobotCatalog::SetupHandWeapons(CRobot* robot, int leftItem, int rightWeapon) {
    robot->m_actionNames[kActRightHand] = "硬直２";
    robot->m_actionNames[kActLeftHand] = "硬直２";
    m_partFiles[kLeftItemFile] = kNullMesh;
    m_partFiles[kRightWeaponFile] = kNullMesh;
    if (const HandWeaponRow* row = FindRightWeapon(rightWeapon)) {
        robot->m_actionNames[kActRightHand] = row->action;
        m_partFiles[kRightWeaponFile] = row->mesh;
        AddWeapons(robot, row->weapons);
    }
    if (const HandWeaponRow* row = FindLeftItem(leftItem)) {
        robot->m_actionNames[kActLeftHand] = row->action;
        m_partFiles[kLeftItemFile] = row->mesh;
        AddWeapons(robot, row->weapons);
    }
}

std::string CRobotCatalog::BuildStatsText(CRobot* robot) const {
    const CRobot& r = *robot;
    const int* w = r.m_partWeights;
    const int capacity = r.m_loadCapacity;
    char text[1024];
    snprintf(text, sizeof text,
             "HP(耐久) > %d\n"
             "AP(装甲) > %d [Def(防御力) %d\n"
             "VP(ﾊﾞﾗﾝｽ) > %d [Res(復元力) %d\n"
             "EP(ｴﾈﾙｷﾞｰ容量) > %d [Res(出力) %d\n"
             "SP(速度) > %d [DSP(ﾀﾞｯｼｭ)%d\n"
             "SSP(旋回) > %d\n"
             "JP(ｼﾞｬﾝﾌﾟ) > %d\n"
             "Loa(積載) > %d/%d%s\n"
             "Wa(武装) > %d/%d%s\n"
             "右腕武器 > %s %d\n"
             "左腕武器 > %s %d",
             r.m_maxHp, r.m_maxAp, r.m_armour, r.m_maxVp, r.m_vpRegen, r.m_maxEp, r.m_epPerStep,
             int(r.m_walkSpeed * 100), int(r.m_dashSpeed * 100), int(r.m_turnSpeed * 100), int(r.m_jumpSpeed * 100),
             w[0] + w[3], capacity, capacity < w[0] + w[3] ? " Error!" : "",
             w[2] + w[1], capacity - w[3] - w[0], capacity < w[0] + w[1] + w[2] + w[3] ? " OverWeight!" : "",
             GetRightWeaponName(m_config[kCfgRightWeapon]).c_str(), w[2],
             GetLeftItemName(m_config[kCfgLeftItem]).c_str(), w[1]);
    return text;
}
