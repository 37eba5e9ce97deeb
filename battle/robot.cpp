// The robot record's life: construction with its defaults and sounds, and the setup operations
// that the catalogue calls (paint and the weapon list).
#include "robot.h"

#include "sys_path.h"

namespace {

const char* const kRobotSoundFiles[kSoundCount] = {"se_roboef1.wav", "se_roboef2_c.wav", "se_roboef3.wav",
                                                   "metal38.wav"};
// Without 3-D sound the robots' sounds play a little below full level.
constexpr double kFlatSoundLevel = 0.9;

}  // namespace

CRobot::CRobot() {
    {
        // Only inside the folder: loading elsewhere could pick up a same-named file.
        CFolderGuard folder;
        if (folder.Enter(".\\wave"))
            for (int i = 0; i < kSoundCount; ++i) m_sounds[i].Load(kRobotSoundFiles[i]);
    }
    if (!Is3DSoundEnabled())
        for (int i = 0; i < kSoundCount; ++i) m_sounds[i].SetLevel(kFlatSoundLevel);
    // Each name grows to the longest it will hold once per robot; reserving that now keeps the
    // battle step free of heap allocations from its first step on.
    constexpr size_t kNameReserve = 64;
    for (std::string* name : {&m_currentAction, &m_previousAction, &m_nextAction, &m_animName, &m_poseName})
        name->reserve(kNameReserve);
    for (CShotSlot& slot : m_shotSlots.slots) slot.name.reserve(kNameReserve);
}

CRobot::~CRobot() {}

void CRobot::SetColors(float mainR, float mainG, float mainB, float mainA, float subR, float subG, float subB,
                       float subA) {
    for (int i = 0; i < kRobotPartCount; ++i) {
        m_meshes[i].SetSubsetColor(m_paintSlots[0], mainR, mainG, mainB, mainA);
        m_meshes[i].SetSubsetColor(m_paintSlots[1], subR, subG, subB, subA);
    }
}

void CRobot::ClearWeapons() {
    m_weapons.count = 0;
    for (CWeaponSlot& slot : m_weapons.slots) slot = CWeaponSlot();
}

void CRobot::AddWeapon(const std::string& code, const std::string& label, int ammo, int cost,
                       const std::string& side) {
    // The capacity is a field, but never beyond the array it counts.
    if (m_weapons.count >= m_weapons.capacity || m_weapons.count >= kWeaponSlotCount) return;
    CWeaponSlot& slot = m_weapons.slots[m_weapons.count++];
    slot.code = code;
    slot.label = label;
    slot.ammo = ammo;
    slot.cost = cost;
    slot.side = side;
}
