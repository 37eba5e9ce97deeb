// Stand-in definitions of the robot operations whose areas are still being built, so the battle
// library links meanwhile. Each area's block goes when its real definitions land; keep the order.
#include "robot.h"
#include "robot_catalog.h"

// ---- step ----
void CRobot::Update(C3DObject*, int, CRobot*, int) {}
void CRobot::Tick() {}
void CRobot::Move(C3DObject*, int, CRobot*, int) {}
void CRobot::SeparateRobots(C3DObject*, int, CRobot*, int) {}
void CRobot::UpdateMuzzles() {}

// ---- pads ----
void CRobot::ApplyPad(const CPad&) {}
void CRobot::ClearVirtualButtons() {}

// ---- poses: key poses ----
void CRobot::SetPose(const std::string&, int) {}
void CRobot::UpdatePose() {}
void CRobot::ApplyCommonPoses() {}
void CRobot::ApplyH29Poses() {}
void CRobot::ApplyH21H35Poses() {}
void CRobot::ApplyH32bPoses() {}

// ---- poses: angle-mode sequences and joint writer ----
void CRobot::SelectPose() {}
void CRobot::ResetAngleTargets() {}
void CRobot::ClearAngleTargets() {}
void CRobot::UpdateJointRotations() {}
void CRobot::ConvertPoseToAngles() {}
void CRobot::SetAngleKeyBladeReady() {}
void CRobot::SetAngleKeyBladeSwing() {}
void CRobot::SetAngleKeyCrouch() {}
void CRobot::SetAngleKeyDash() {}
void CRobot::SetAngleKeyDash4A() {}
void CRobot::SetAngleKeyDash4B() {}
void CRobot::SetAngleKeyDash4C() {}
void CRobot::SetAngleKeyDash4D() {}
void CRobot::SetAngleKeyDashShotA() {}
void CRobot::SetAngleKeyDashShotB() {}
void CRobot::SetAngleKeyDoubleShot() {}
void CRobot::SetAngleKeyFall() {}
void CRobot::SetAngleKeyFlight() {}
void CRobot::SetAngleKeyFlight20() {}
void CRobot::SetAngleKeyHitStun() {}
void CRobot::SetAngleKeyKickA() {}
void CRobot::SetAngleKeyKickB() {}
void CRobot::SetAngleKeyPunch() {}
void CRobot::SetAngleKeyShot() {}
void CRobot::SetAngleKeyShotRecoil() {}
void CRobot::SetAngleKeyStagger() {}
void CRobot::SetAngleKeyStaggerEnd() {}
void CRobot::SetAngleKeyStance() {}
void CRobot::SetAngleKeyStanceRest() {}
void CRobot::SetAngleKeySubShot() {}
void CRobot::SetAngleKeySubShotRecoil() {}
void CRobot::SetAngleKeyTakeOff() {}
void CRobot::SetAngleKeyTurnLeft() {}
void CRobot::SetAngleKeyTurnRight() {}
void CRobot::SetAngleKeyWalk3A() {}
void CRobot::SetAngleKeyWalk3B() {}
void CRobot::SetAngleKeyWalk3C() {}
void CRobot::SetAngleKeyWalk3D() {}
void CRobot::SetAngleKeyWalkArmsA() {}
void CRobot::SetAngleKeyWalkArmsB() {}
void CRobot::SetAngleKeyWalkLegsA() {}
void CRobot::SetAngleKeyWalkLegsB() {}
void CRobot::SetAngleKeyWreckA() {}
void CRobot::SetAngleKeyWreckB() {}
void CRobot::SetAngleKeyWreckC() {}

// ---- hits/damage ----
Vec3 CRobot::GetHitCentre() { return Vec3(); }
void CRobot::ApplyHit(int, int, int, float, float, float, bool) {}

// ---- loading ----
void CRobotCatalog::LoadRobot(CRobot*) {}

// ---- drawing ----
void CRobot::Draw() {}
void CRobot::DrawShadow() {}
