// The hunters (types 3 and 4): they keep a chosen distance, dash when the target looks at them
// and attack with buttons chosen by range, side and armour. Also the pieces the duellists share
// with them: the fire-button choice, the armour weapon and the timed attack states.
#include "cpu_ai.h"

#include "cpu_local.h"

namespace {
constexpr float kStandOff = -5.0f;  // depth ahead at which the locking dash stops
constexpr int kAttackSteps = 20;    // an attack state presses its buttons this many steps

// The timed attack states and their buttons (types 3, 6 and 7; type 5 swaps 6 and 8).
struct SAttackState {
    const char* name;
    int weapon;
    bool boost;
    bool backOff;
};
const SAttackState kAttackStates[] = {
    {"攻撃_1", kBtnBackWeapon, false, false},  {"攻撃_2", kBtnRightWeapon, false, false},
    {"攻撃_3", kBtnLeftWeapon, false, false},  {"攻撃_1s", kBtnBackWeapon, true, false},
    {"攻撃_2s", kBtnRightWeapon, true, false}, {"攻撃_3s", kBtnLeftWeapon, true, false},
    {"攻撃_3taiuu", kBtnLeftWeapon, false, true},
};
}  // namespace

void CCpuAi::PressFireButtons(CRobot* robot, int attackType) {
    Release(robot, kBtnRightWeapon);
    Release(robot, kBtnBackWeapon);
    Release(robot, kBtnLeftWeapon);
    Release(robot, kBtnBoost);
    if (robot->m_weaponId >= 1600 && robot->m_weaponId <= 1699) {
        switch (attackType) {
        case 0:
            m_move.x = 0;
            m_move.z = 0;
            Press(robot, kBtnRightWeapon);
            break;
        case 1: case 20: Press(robot, kBtnRightWeapon); break;
        case 2: case 22: Press(robot, kBtnRightWeapon); Press(robot, kBtnBoost); break;
        case 3: Press(robot, kBtnBackWeapon); Press(robot, kBtnBoost); break;
        case 10: Press(robot, kBtnLeftWeapon); break;
        case 11: Press(robot, kBtnLeftWeapon); Press(robot, kBtnBoost); break;
        case 21: Press(robot, kBtnBackWeapon); break;
        default: break;
        }
    } else {
        m_move.x = 0;
        m_move.z = 0;
        Press(robot, kBtnRightWeapon);
    }
    if (!robot->m_input[kBtnRightWeapon] && !robot->m_input[kBtnBackWeapon] && !robot->m_input[kBtnLeftWeapon])
        Press(robot, kBtnRightWeapon);
}

// The back weapon while the target's armour holds, the right hand once it is nearly gone.
void CCpuAi::PressArmourWeapon(CRobot* robot, CRobot* target) {
    Press(robot, target->m_ap > 0.1 * target->m_maxAp ? kBtnBackWeapon : kBtnRightWeapon);
}

bool CCpuAi::RunAttackState(CRobot* robot, bool swapWeapons) {
    for (const SAttackState& a : kAttackStates) {
        if (m_state != a.name) continue;
        int weapon = a.weapon;
        if (swapWeapons && weapon != kBtnLeftWeapon) weapon = weapon == kBtnBackWeapon ? kBtnRightWeapon : kBtnBackWeapon;
        Press(robot, weapon);
        if (a.boost) Press(robot, kBtnBoost);
        else Release(robot, kBtnBoost);
        if (a.backOff) m_move.z = -1.0f;
        if (m_stateFrames == kAttackSteps) SetState("移動");
        return true;
    }
    return false;
}

void CCpuAi::RunChooseAttack(const CCpuSight& s, const char* farState) {
    if (s.dist < 3.0f) SetState(s.a.z > 0 ? "攻撃_3s" : "攻撃_3");
    else if (s.dist < 10.0f) SetState(s.a.z > 0 ? "攻撃_1" : "攻撃_1s");
    else SetState(farState);
}

void CCpuAi::RunRandomAttack() { SetState(CpuRoll(2) == 1 ? "攻撃_1s" : "攻撃_2s"); }

void CCpuAi::RunDashAttackStep(CRobot* robot, const CCpuSight& s) {
    if (s.dist < 3.0f) PressFireButtons(robot, s.a.z > 0 ? 10 : 11);
    else if (s.dist < 10.0f) PressFireButtons(robot, s.a.z > 0 ? 0 : 2);
    else PressFireButtons(robot, 3);
    SetState("移動");
}

bool CCpuAi::RunFallAvoidance(CRobot* robot, bool ahead, float drop) {
    if (m_state != "落下回避") return false;
    Release(robot, kBtnBoost);
    if (ahead || drop <= 1.0f) SetState("移動");
    return true;
}

void CCpuAi::RunLookElsewhere(CRobot* robot) {
    m_move.x = 0;
    m_move.z = 0;
    Release(robot, kBtnTurnRight);
    Release(robot, kBtnTurnLeft);
    if (m_stateFrames == 1) {
        Press(robot, kBtnChangeTarget);
        SetState("移動");
    }
}

void CCpuAi::RunDashDraw(int frames) {
    if (m_stateFrames != frames) return;
    const int r = CpuRoll(5);
    if (r == 1) {
        SetState("Ａ攻撃");
    } else if (r == 2) {
        SetState("Ｒ攻撃");
    } else if (r == 3) {
        m_move.x = 0;
        m_move.z = 0;
        SetState("移動");
    } else {
        SetState("Ｄ攻撃");
    }
}

void CCpuAi::RunType3(CRobot* robot, CRobot* target, C3DObject* ground) {
    robot->ClearVirtualButtons();
    if (!target) return;
    bool ahead;
    float drop;
    ProbeGround(robot, ground, &ahead, &drop);
    ++m_stateFrames;
    if (target->m_hp <= 0) Press(robot, kBtnChangeTarget);
    EnterFallAvoidance(ahead, drop);
    const CCpuSight s = Look(robot, target);
    const int ep = robot->m_ep;

    if (m_state == "移動") {
        m_move.x = s.b.x < 0 ? -1.0f : 1.0f;
        m_move.z = s.a.z < -10.0f ? 1.0f : -1.0f;
        if (s.a.z > 0) {
            if (s.dist < 3.0f) {
                m_move.z = -1.0f;
            } else {
                m_move.x = 0;
                m_move.z = 0;
            }
        }
        if (s.watched) {
            if (ep > 600) SetState("ダッシュ");
        } else if (s.facing) {
            if (ep > 300) {
                if (s.dist < 3.0f) {
                    Press(robot, kBtnLeftWeapon);
                    Press(robot, kBtnBoost);
                } else if (CpuAbs(s.a.x) < 1.5f && -9.0f < s.a.z && s.a.z < -2.0f) {
                    PressArmourWeapon(robot, target);
                } else if (s.dist > 11.0f) {
                    Press(robot, kBtnBackWeapon);
                    Press(robot, kBtnBoost);
                }
            }
        } else if (ep > 400) {
            SetState("ダッシュ(捕捉");
        }
        const int r = CpuRoll(99);
        if (r == 3 && ep > 500) SetState("Ｒ攻撃");
        else if (r == 4) SetState("ダッシュ");
        else if (r == 6) SetState("ダッシュ(捕捉");
        else if (r == 7 && ep > 500) SetState("Ａ攻撃");
        else if (r == 8) SetState("違う敵を見る");
    } else if (m_state == "ダッシュ(捕捉") {
        const Vec3& p = s.a;
        if (m_stateFrames == 1) {
            Press(robot, kBtnBoost);
            m_move.z = p.z < kStandOff ? 1.0f : -1.0f;
            m_move.x = p.x < 0 ? 1.0f : -1.0f;
        } else if (m_stateFrames == 25) {
            if (p.z < 0) {
                PressArmourWeapon(robot, target);
            } else {
                Press(robot, kBtnRightWeapon);
                Press(robot, kBtnBoost);
            }
            SetState("移動");
        } else if (s.dist < 3.0f) {
            PressFireButtons(robot, p.z > 0 ? 10 : 11);  // in its face: keep at it
        } else if (CpuAbs(p.x) < 1.5f || CpuAbs(p.z - kStandOff) < 0.5f) {
            PressArmourWeapon(robot, target);
            SetState("移動");
        }
    } else if (m_state == "ダッシュ") {
        if (m_stateFrames == 1) Press(robot, kBtnBoost);
        RunDashDraw(20);
    } else if (m_state == "Ｄ攻撃") {
        RunDashAttackStep(robot, s);
    } else if (m_state == "Ａ攻撃") {
        RunChooseAttack(s, "攻撃_2s");
    } else if (m_state == "Ｒ攻撃") {
        RunRandomAttack();
    } else if (RunAttackState(robot, false)) {
    } else if (RunFallAvoidance(robot, ahead, drop)) {
    } else if (m_state == "違う敵を見る") {
        RunLookElsewhere(robot);
    } else {
        SetState("移動");
    }
    PressMove(robot);
}

void CCpuAi::RunType4(CRobot* robot, CRobot* target, C3DObject* ground) {
    robot->ClearVirtualButtons();
    bool ahead;
    float drop;
    ProbeGround(robot, ground, &ahead, &drop);
    ++m_stateFrames;
    if (target->m_hp <= 0) Press(robot, kBtnChangeTarget);
    EnterFallAvoidance(ahead, drop);
    const CCpuSight s = Look(robot, target);
    const int ep = robot->m_ep;
    Press(robot, kBtnTurnRight);  // both at once: the lock-on turns it toward the target
    Press(robot, kBtnTurnLeft);

    if (m_state == "移動") {
        // Holds a distance of 5 to 10 ahead.
        m_move.x = s.b.x < 0 ? -1.0f : 1.0f;
        if (s.a.z < -10.0f) m_move.z = 1.0f;
        else if (s.a.z <= -5.0f) m_move.z = 0;
        else m_move.z = -1.0f;
        if (s.a.z > 0) {
            if (s.dist < 3.0f) m_move.z = -1.0f;
            else SetState("敵捕捉");
        } else if (s.watched) {
            if (ep > 500) SetState("ダッシュ");
            else if (CpuRoll(89) == 3) SetState("違う敵を見る");
        }
    } else if (m_state == "ダッシュ") {
        if (m_stateFrames == 1) Press(robot, kBtnBoost);
        if (m_stateFrames == 20 && s.facing) {
            SetState("Ｄ攻撃");
        } else if (m_stateFrames == 25) {
            m_move.x = 0;
            m_move.z = 0;
            SetState("移動");
        }
    } else if (m_state == "Ｄ攻撃") {
        if (s.dist < 3.0f && s.a.z < 0) {
            m_move.x = s.a.x < -1.0f ? 1.0f : s.a.x > 1.0f ? -1.0f : 0.0f;
            Press(robot, kBtnLeftWeapon);
        } else if (s.dist < 3.0f) {
            Press(robot, kBtnLeftWeapon);
            Press(robot, kBtnBoost);
        } else if (s.a.z > 0) {
            Press(robot, kBtnBoost);
            Press(robot, kBtnRightWeapon);
        } else if (s.dist < 10.0f) {
            PressArmourWeapon(robot, target);
        } else if (s.dist < 30.0f) {
            Press(robot, kBtnRightWeapon);
        } else {
            Press(robot, kBtnBackWeapon);
            Press(robot, kBtnBoost);
        }
        if (m_stateFrames >= 5) {
            m_move.x = 0;
            m_move.z = 0;
            SetState("移動");
        }
    } else if (m_state == "敵捕捉") {
        m_move.x = 0;
        m_move.z = 0;
        if (CpuAbs(s.a.x) < 0.5f || m_stateFrames > 30) {
            SetState("移動");
            DrawNewDirection();
        }
    } else if (RunFallAvoidance(robot, ahead, drop)) {
    } else if (m_state == "違う敵を見る") {
        RunLookElsewhere(robot);
    } else {
        SetState("移動");
    }
    PressMove(robot);
}
