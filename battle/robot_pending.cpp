// Stand-in definitions of the robot operations whose areas are still being built, so the battle
// library links meanwhile. Each area's block goes when its real definitions land; keep the order.
#include "robot.h"
#include "robot_catalog.h"

// ---- drawing ----
void CRobot::Draw() {}
void CRobot::DrawShadow() {}
