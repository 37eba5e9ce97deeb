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

// ---- drawing ----
void CRobot::Draw() {}
void CRobot::DrawShadow() {}
