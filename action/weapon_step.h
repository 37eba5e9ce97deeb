// The vocabulary of the weapon scripts (blades, boost dashes, melee, shoulder weapons, shots):
// the common step's pieces (turning, costs, the end), the ways a request leaves the robot,
// the weapon-button test and the eight-way boost dash.
#pragma once

#include "math_ops.h"
#include "move_blocks.h"
#include "request_forms.h"
#include "robot.h"

class CRobot;

// ---- The common step ----
int IsAloft(const CRobot& r);
int CameFromDash(const CRobot& r);  // the previous action was some dash
// A selector's step: key poses, move state 3 when `moveState3`, queue `name`, "deff".
void Select(CRobot& r, const char* name, int moveState3);
// The attack turn: the robot's attack turn scale times `factor`, within frames first..last.
void AttackTurn(CRobot& r, float factor);
void AttackTurnIn(CRobot& r, int first, int last, float factor);
void PerStepCost(CRobot& r);
void LumpAt(CRobot& r, int frame, int amount);
// From frame `end` on: the stance queued, with move state 1 when `state1`.
void EndAt(CRobot& r, int end, int state1 = 1);
int InFrames(const CRobot& r, int first, int last);
template <int N>
void Poses(CRobot& r, const SPoseKey (&keys)[N]) { PoseKeys(r, r.m_actionFrame, keys, N); }

// ---- Requests (every turned part is put back exactly as it was, in the same step) ----
void MountRequest(CRobot& r, const char* kind, int mount);
void ArmTurnedMountRequest(CRobot& r, const char* kind, int mount);  // left forearm up a quarter turn
void AimedMountRequest(CRobot& r, const char* kind, int mount, int leading);
void BladeTipRequest(CRobot& r, const char* kind, int part);
void LaserRequest(CRobot& r, const char* kind, int upperArm);
void SpreadVolley(CRobot& r, int level, int tilted);
void FootTipRequest(CRobot& r, const char* kind, int leftFoot);
// Half a unit ahead of a forearm; aim 0 facing, 1 aimed, 2 lead-aimed.
void MuzzleRequest(CRobot& r, const char* kind, int part, int aim);
void HandRelease(CRobot& r, const char* kind);
void SplitWarhead(CRobot& r, const char* kind);

// ---- Buttons and dashes ----
// The robot holds the button that starts `action` (right hand, back, left hand, in that order).
int HoldsButtonOf(const CRobot& r, const char* action);
// The eight-way dash: the direction chosen at frame 1 holds for the whole dash; base speed s.
void EightWayDash(CRobot& r, double s);
