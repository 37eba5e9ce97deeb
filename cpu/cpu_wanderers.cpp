// The wanderers: walk the stage in random diagonals, turn back before an edge, now and then
// stop to face the target; type 2 also dashes, fires bursts and asks for a new target.
#include "cpu_ai.h"

#include "cpu_local.h"

void CCpuAi::RunType1(CRobot* robot, CRobot*, C3DObject* ground) {
    robot->ClearVirtualButtons();
    bool ahead;
    float drop;
    ProbeGround(robot, ground, &ahead, &drop);
    if (m_state == "落下回避") {
        if (ahead || drop <= 1.0f) m_state = "移動";
    } else if (!ahead && drop > 3.0f) {
        m_state = "落下回避";
        m_move = -m_move;
    }

    if (m_state == "移動") {
        if (CpuChance(49)) DrawNewDirection();
        else if (CpuChance(99)) m_state = "敵捕捉";
    } else if (m_state == "落下回避") {
        // the reversed intent walks it back from the edge
    } else if (m_state == "敵捕捉") {
        Press(robot, kBtnTurnRight);
        Press(robot, kBtnTurnLeft);
        m_move.x = 0;
        m_move.z = 0;
        if (CpuChance(19)) {
            m_state = "移動";
            DrawNewDirection();
        }
    } else {
        m_state = "移動";
    }
    PressMove(robot);
}

void CCpuAi::RunType2(CRobot* robot, CRobot* target, C3DObject* ground) {
    robot->ClearVirtualButtons();
    bool ahead;
    float drop;
    ProbeGround(robot, ground, &ahead, &drop);
    ++m_stateFrames;
    if (target->m_hp <= 0) Press(robot, kBtnChangeTarget);
    EnterFallAvoidance(ahead, drop);

    if (m_state == "移動") {
        const int r = CpuRoll(99);
        if (r == 1 || r == 2) DrawNewDirection();
        else if (r == 3) SetState("Ｒ攻撃");
        else if (r == 4) SetState("ダッシュ");
        else if (r == 5) SetState("敵捕捉");
    } else if (m_state == "ダッシュ") {
        if (m_stateFrames == 1) Press(robot, kBtnBoost);
        if (m_stateFrames == 30) SetState("Ｒ攻撃");
    } else if (m_state == "Ｒ攻撃") {
        Press(robot, kBtnBoost);
        Press(robot, CpuRoll(2) == 1 ? kBtnBackWeapon : kBtnRightWeapon);
        if (m_stateFrames == 10) SetState("移動");
    } else if (m_state == "落下回避") {
        if (ahead || drop <= 1.0f) SetState("移動");
    } else if (m_state == "敵捕捉") {
        Press(robot, kBtnTurnRight);
        Press(robot, kBtnTurnLeft);
        m_move.x = 0;
        m_move.z = 0;
        if (CpuChance(19)) {
            SetState("移動");
            DrawNewDirection();
        }
    } else {
        SetState("移動");
    }
    PressMove(robot);
}
