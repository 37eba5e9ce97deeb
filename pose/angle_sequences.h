// The angle-mode pose sequences the robot's animation names select (CRobot::SelectPose runs
// them); an animation name outside the table gets the default sequence, every part straight.
#pragma once

#include <string>

// The sequences in comparison order.
enum EAngleSequence {
    kSeqWalk,               // "歩行": two strides of 10 frames, arms against legs
    kSeqWalkRight,          // "右歩行": the walk, body turned right, head back ahead
    kSeqWalkLeft,           // "左歩行"
    kSeqWalkRightDiagonal,  // "右斜歩行"
    kSeqWalkLeftDiagonal,   // "左斜歩行"
    kSeqStagger,            // "硬直"
    kSeqStagger2,           // "硬直２"
    kSeqDash,               // "ダッシュ"
    kSeqDashRight,          // "右ダッシュ"
    kSeqDashLeft,           // "左ダッシュ"
    kSeqJump,               // "ジャンプ": crouch, take-off, then falling by the vertical speed
    kSeqWalk2,              // "歩行２": the strides without any reset
    kSeqWalk3,              // "歩行３": four strides of 5 frames
    kSeqDash4,              // "ダッシュ４": four strides of 4 frames
    kSeqAirDash,            // "空中ダッシュ"
    kSeqStance,             // "構え"
    kSeqFlight,             // "飛行"
    kSeqFlight20,           // "飛行20"
    kSeqTurnRight,          // "右旋回"
    kSeqTurnLeft,           // "左旋回"
    kSeqShot,               // "ショット"
    kSeqShotRapid,          // "ショット＿連射"
    kSeqShotDouble,         // "ショット＿ダブル"
    kSeqDashShot,           // "ダッシュショット"
    kSeqSlideShot,          // "スライドショット"
    kSeqSubShot,            // "サブショット"
    kSeqBlade,              // "ブレード１"
    kSeqPunch,              // "格闘＿パンチ"
    kSeqKick,               // "格闘＿キック"
    kSeqWreck,              // "撃破"
    kSeqHitStun,            // "被弾硬直"
    kAngleSequenceCount
};

int FindAngleSequence(const std::string& name);  // -1: the default sequence
const char* GetAngleSequenceName(int sequence);  // "" outside the table
