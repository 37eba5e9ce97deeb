// CRobot::ApplyHit: the one place where a robot takes a hit. Armour first, then balance with
// its reactions (guard, hit stun, knock-down) and the push, then HP through the armour formula,
// then the spark; the reactions go through the action queue so they interrupt at once.
#include "robot.h"

#include "sys_text.h"

#include <cstdint>
#include <cstring>
#include <string>

namespace {

constexpr double kMaxPush = 0.3;
constexpr double kImpactPerUnit = 4000.0;

// An action slot left empty names no action: it never matches the running one.
bool IsAction(const std::string& current, const std::string& slotName) {
    return !slotName.empty() && current == slotName;
}

// Substring search at character starts only: a second byte can look like a first byte.
bool ContainsText(const std::string& text, const char* needle) {
    size_t n = strlen(needle);
    for (size_t at = text.find(needle); at != std::string::npos; at = text.find(needle, at + 1))
        if (SjisIsCharStart(text.data(), text.size(), at)) return true;
    return n == 0;
}

// Scaled impacts and gauges stay inside the int range, whatever worn-out impacts arrive.
int ClampToInt(double v) {
    if (!(v < 2147483647.0)) return INT32_MAX;
    if (!(v > -2147483648.0)) return INT32_MIN;
    return (int)v;
}

double Push(int impact) {
    double p = (double)impact / kImpactPerUnit;
    return p < kMaxPush ? p : kMaxPush;
}

}  // namespace

// Hits are measured from the waist.
Vec3 CRobot::GetHitCentre() { return m_frames[2].GetWorldPosition(); }

void CRobot::ApplyHit(int hpDamage, int apDamage, int impact, float dx, float dy, float dz, bool forceDown) {
    const std::string* names = m_actionNames;
    const double dir[3] = {dx, dy, dz};

    // 1. Armour.
    m_ap = ClampToInt((double)m_ap - (double)apDamage);
    if (m_ap < 0) m_ap = 0;

    // 2. Reaction and push: not while down or invincible.
    if (!IsAction(m_currentAction, names[kActKnockDown]) && m_invincible <= 0) {
        bool still = true;
        for (int k : {0, 1, 2, 3, 6, 7, 8, 11})
            if (m_input[k]) still = false;
        const bool inStance = IsAction(m_currentAction, names[kActStance]) || m_currentAction == "右旋回" ||
                              m_currentAction == "左旋回";
        const bool guarding = !names[kActGuard].empty() &&
                              (IsAction(m_currentAction, names[kActGuard]) || (still && inStance));
        if (guarding) {
            SetNextAction(names[kActGuard]);
            SetAction("deff");
            if (impact > m_knockback)
                for (int i = 0; i < 3; ++i) m_velocity[i] += dir[i] * Push(impact);
        } else {
            if (m_groundHeight >= 0.1)
                impact = ClampToInt(impact * 3.0);
            else if (IsAction(m_currentAction, names[kActDash]))
                impact = ClampToInt(impact * 2.0);
            else if (ContainsText(m_currentAction, "ショット"))
                impact = ClampToInt(impact * 1.5);
            m_vp = ClampToInt((double)m_vp - (double)impact);
            if (forceDown) m_vp = 0;
            if (impact > m_knockback) {
                SetNextAction(names[kActHitStun]);
                SetAction("deff");
                for (int i = 0; i < 3; ++i) m_velocity[i] += dir[i] * Push(impact);
            }
            if (m_vp <= 0) {
                m_vp = 0;
                SetNextAction(names[kActKnockDown]);
                for (int i = 0; i < 3; ++i) m_velocity[i] = dir[i] * Push(impact);
                SetAction("deff");
            }
        }
    }

    // 3. HP through the armour: full armour divides by k, none by 1. A robot without
    // maximum AP has no armour to count.
    double share = m_maxAp > 0 ? (double)m_ap / (double)m_maxAp : 0.0;
    double divisor = share * (double)(m_armour - 1) + 1.0;
    if (!(divisor > 0)) divisor = 1.0;
    int damage = ClampToInt((double)hpDamage / divisor);
    if (IsAction(m_currentAction, names[kActGuard]))
        damage = (int)(damage * 0.5);
    else if (m_invincible > 0)
        damage = (int)(damage * 0.1);
    m_hp = ClampToInt((double)m_hp - (double)damage);
    m_lastDamage = damage;
    if (m_framesSinceDamage > 10)
        m_comboDamage = damage;
    else
        m_comboDamage = ClampToInt((double)m_comboDamage + (double)damage);
    m_framesSinceDamage = 0;
    if (m_hp < 0) m_hp = 0;

    // 4. Spark where the robot stands, facing the way it faces.
    const Vec3 at = m_frames[kRootFrame].GetWorldPosition();
    const Vec3 facing = -m_frames[kRootFrame].GetWorldAxisZ();
    if (IsAction(m_currentAction, names[kActGuard])) {
        m_sounds[3].Play(0);
        FireWeaponAt("ガード", at, facing);
    } else {
        FireWeaponAt("被弾", at, facing);
    }
}
