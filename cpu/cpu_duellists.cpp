// The duellists (types 5, 6 and 7): close and middle range fighting with timed attack states.
// Type 5 never turns and alternates shooting and close combat; types 6 and 7 turn toward their
// target every step, and 7 now and then wanders off absent-minded or looks for another enemy.
#include "cpu_ai.h"

#include "cpu_local.h"

namespace {
// Toward the target, but backing off when it is within 2 ahead; behind: back off when close,
// else stand.
void ApproachIntent(Vec3* move, const CCpuSight& s) {
    move->x = s.b.x < 0 ? -1.0f : 1.0f;
    move->z = s.a.z < -2.0f ? 1.0f : -1.0f;
    if (s.a.z > 0) {
        if (s.dist < 3.0f) {
            move->z = -1.0f;
        } else {
            move->x = 0;
            move->z = 0;
        }
    }
}

void TurnToward(CRobot* robot, const CCpuSight& s) {
    if (s.a.x < 0) Press(robot, kBtnTurnRight);
    if (s.a.x > 0) Press(robot, kBtnTurnLeft);
}
}  // namespace

void CCpuAi::RunType5(CRobot* robot, CRobot* target, C3DObject* ground) {
    robot->ClearVirtualButtons();
    Release(robot, kBtnBoost);
    bool ahead;
    float drop;
    ProbeGround(robot, ground, &ahead, &drop);
    ++m_stateFrames;
    if (target->m_hp <= 0) Press(robot, kBtnChangeTarget);
    EnterFallAvoidance(ahead, drop);
    const CCpuSight s = Look(robot, target);
    const int ep = robot->m_ep;

    if (m_state == "移動") {
        ApproachIntent(&m_move, s);
        if (s.dist < 3.0f) SetState(s.watched ? "ダッシュ" : "Ｋ攻撃");
        if (m_stateFrames >= 25) {
            const int r = CpuRoll(8);
            if (r <= 3) SetState("射撃戦闘");
            else if (r == 4) SetState("ダッシュ");
            else if (r == 5) SetState("敵捕捉");
            else if (r == 6) SetState("接近戦闘");
            else if (r == 7) SetState("Ｋ攻撃");
            else SetState("Ｒ攻撃");
        }
    } else if (m_state == "射撃戦闘") {
        // Short of energy and unseen it keeps walking where it was going.
        if (s.watched) {
            if (ep > 600) SetState("ダッシュ");
        } else if (ep > 300) {
            if (s.dist < 3.0f) SetState(s.a.y > 0.5f ? "攻撃_3taiuu" : "攻撃_3");
            else if (CpuAbs(s.a.x) < 1.5f && -9.0f < s.a.z && s.a.z < -2.0f) SetState("攻撃_1");
            else if (s.dist > 11.0f && s.a.z < 0) SetState("攻撃_1s");
        }
    } else if (m_state == "接近戦闘") {
        // Weaves sideways in 15-step legs, boosting at the start of each.
        if (m_stateFrames == 1 || m_stateFrames % 15 == 0) Press(robot, kBtnBoost);
        m_move.x = (m_stateFrames / 15) % 2 == 1 ? -1.0f : 1.0f;
        if (s.a.z < -0.5f) {
            m_move.z = 1.0f;
        } else {
            m_move.z = -1.0f;
            SetState("Ｋ攻撃");
        }
        if (m_stateFrames == 90) SetState("Ｋ攻撃");
    } else if (m_state == "ダッシュ") {
        if (m_stateFrames == 1) Press(robot, kBtnBoost);
        if (m_stateFrames == 10) {
            const int r = CpuRoll(11);
            if (r == 1) {
                SetState("Ａ攻撃");
            } else if (r == 2) {
                SetState("Ｒ攻撃");
            } else if (r == 3) {
                SetState("敵捕捉");
            } else if (r == 4) {
                m_move.x = 0;
                m_move.z = 0;
                SetState("移動");
            } else {
                SetState("Ｄ攻撃");
            }
        }
    } else if (m_state == "Ｄ攻撃") {
        if (s.dist < 3.0f) PressFireButtons(robot, s.a.z > 0 ? 10 : 11);
        else SetState("攻撃_1");
    } else if (m_state == "Ｋ攻撃") {
        m_move.x = 0;
        m_move.z = 0;
        if (s.a.y > 0.5f) {
            SetState("攻撃_3taiuu");
        } else if (s.dist < 2.5f && !s.facing) {
            // close but not yet facing it: wait
        } else if (s.dist < 2.5f && s.a.z < -0.5f) {
            m_move.z = 1.0f;
            SetState("攻撃_3");
        } else if (s.dist < 2.5f && s.a.z < 0) {
            SetState("攻撃_3");
        } else {
            SetState("移動");
        }
    } else if (m_state == "Ａ攻撃") {
        RunChooseAttack(s, "攻撃_1s");
    } else if (m_state == "Ｒ攻撃") {
        RunRandomAttack();
    } else if (RunAttackState(robot, true)) {
    } else if (RunFallAvoidance(robot, ahead, drop)) {
    } else if (m_state == "敵捕捉") {
        m_move.x = 0;
        m_move.z = 0;
        if (CpuAbs(s.a.x) < 0.5f || m_stateFrames > 30) {
            SetState("移動");
            DrawNewDirection();
        }
    } else {
        SetState("移動");
    }
    PressMove(robot);
}

void CCpuAi::RunType6(CRobot* robot, CRobot* target, C3DObject*) {
    robot->ClearVirtualButtons();
    ++m_stateFrames;
    const CCpuSight s = Look(robot, target);
    const int ep = robot->m_ep;
    TurnToward(robot, s);

    if (m_state == "移動") {
        ApproachIntent(&m_move, s);
        if (s.facing) {
            if (ep > 300) {
                if (s.dist < 3.0f) {
                    Press(robot, kBtnLeftWeapon);
                    Press(robot, kBtnBoost);
                } else if (CpuAbs(s.a.x) < 1.5f && -9.0f < s.a.z && s.a.z < -2.0f) {
                    PressArmourWeapon(robot, target);
                } else if (s.dist > 11.0f && s.a.z < 0) {
                    Press(robot, kBtnBackWeapon);
                    Press(robot, kBtnBoost);
                }
            }
        } else if (ep > 400) {
            SetState("ダッシュ(捕捉");
        }
        const int r = CpuRoll(99);
        if (r == 4) SetState("ダッシュ");
        else if (r == 5) SetState("敵捕捉");
        else if (r == 6) SetState("ダッシュ(捕捉");
        else if (r == 8) SetState("Ｋ攻撃");
    } else {
        RunDuelCommon(robot, s);
    }
    PressMove(robot);
}

void CCpuAi::RunType7(CRobot* robot, CRobot* target, C3DObject*) {
    robot->ClearVirtualButtons();
    ++m_stateFrames;
    const CCpuSight s = Look(robot, target);
    TurnToward(robot, s);

    if (m_state == "移動") {
        // The first steps of a walk hold both turns: the lock-on swings it round.
        if (m_stateFrames <= 15) {
            if (s.a.x > 0) Press(robot, kBtnTurnRight);
            if (s.a.x < 0) Press(robot, kBtnTurnLeft);
        }
        ApproachIntent(&m_move, s);
        if (!s.facing && robot->m_ep > 400) SetState("ダッシュ(捕捉");
        const int r = CpuRoll(89);
        if (r == 3) SetState("ボーっとする");
        else if (r == 4) SetState("ダッシュ");
        else if (r == 5) SetState("敵捕捉");
        else if (r == 6) SetState("ダッシュ(捕捉");
        else if (r == 7) SetState("違う敵を見る");
        else if (r == 8) SetState("Ｋ攻撃");
    } else if (m_state == "ボーっとする") {
        m_move.x = 0;
        m_move.z = 1.0f;
        Release(robot, kBtnTurnRight);
        Release(robot, kBtnTurnLeft);
        if (m_stateFrames == 90) SetState("移動");
    } else if (m_state == "違う敵を見る") {
        m_move.x = 0;
        m_move.z = 0;
        Release(robot, kBtnTurnRight);
        Release(robot, kBtnTurnLeft);
        const int f = m_stateFrames;
        if (f == 1 || f == 15 || f == 30 || f == 45) Press(robot, kBtnChangeTarget);
        if (f == 45) SetState("移動");
    } else {
        RunDuelCommon(robot, s);
    }
    PressMove(robot);
}

// The states types 6 and 7 share beyond their walk.
void CCpuAi::RunDuelCommon(CRobot* robot, const CCpuSight& s) {
    if (m_state == "ダッシュ") {
        if (m_stateFrames == 1) Press(robot, kBtnBoost);
        RunDashDraw(20);
    } else if (m_state == "Ｄ攻撃") {
        RunDashAttackStep(robot, s);
    } else if (m_state == "Ｋ攻撃") {
        if (s.a.y > 0.5f) SetState("攻撃_3taiuu");
        else if (s.dist < 2.5f && s.a.z < 0) SetState("攻撃_3");
        else SetState("移動");
    } else if (m_state == "Ａ攻撃") {
        RunChooseAttack(s, "攻撃_2s");
    } else if (m_state == "Ｒ攻撃") {
        RunRandomAttack();
    } else if (RunAttackState(robot, false)) {
    } else if (m_state == "敵捕捉") {
        m_move.x = 0;
        m_move.z = 0;
        if (s.facing) SetState("移動");
    } else {
        SetState("移動");  // "ダッシュ(捕捉" too: these two have no locking dash of their own
    }
}
