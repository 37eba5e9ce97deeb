// A robot drawn: in the key-pose mode the root takes its twist and bank for the moment and an
// invincible robot shows half transparent. The root's matrix and every part's alpha are put
// back exactly afterwards: the simulation reads them.
#include "robot.h"

#include "graphics.h"

void CRobot::Draw() {
    if (m_animMode != "クオータニオン") {
        for (int i = 0; i < kRobotPartCount; ++i) m_frames[i].Draw();
        return;
    }
    C3DObject& root = m_frames[kRootFrame];
    const Mat4 saved = root.m_matrix;
    const float savedScale = root.m_scale;
    root.RotateY(m_twist);
    root.RotateZ(m_bank);
    for (int i = 0; i < kRobotPartCount; ++i) {
        C3DObject& part = m_frames[i];
        if (m_invincible > 0) {
            const float alpha = part.m_alpha;
            part.SetAlpha(0.5f);
            part.DrawWithAlpha();
            part.SetAlpha(alpha);
        } else {
            part.Draw();
        }
    }
    for (int i = kLeftHandFrame; i <= kAuxFrame1; ++i) m_frames[i].Draw();
    root.m_matrix = saved;
    root.m_scale = savedScale;
}

void CRobot::DrawShadow() { m_shadow.Draw(); }
