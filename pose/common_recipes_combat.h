// Recipes of the common table's attacks: blade cuts and thrusts (the blade is in the left hand,
// the right hand's weapons cut with the right), punches and kicks, shots from either hand,
// shoulder weapons and bomb throws.
#pragma once

#include "key_pose_bases.h"

namespace common_combat {

using pose_base::kReady;

// A lunge with the left foot ahead; the body bows by lean.
constexpr CPoseRecipe LungeLeft(float lean) {
    return CPoseRecipe{}.Head(lean * 0.5f).Body(-lean).Waist(lean).ThighL(0.9f, 0, 0.1f).ShinL(-1.0f).ThighR(-0.45f, 0, -0.1f).ShinR(-0.35f);
}
constexpr CPoseRecipe LungeRight(float lean) { return LungeLeft(lean).Mirrored(); }
// Wide and low, both knees bent.
constexpr CPoseRecipe Braced(float depth) {
    return CPoseRecipe{}.Body(-depth * 0.3f).Waist(depth * 0.3f).ThighL(depth, 0, 0.3f).ShinL(-depth * 1.6f).ThighR(depth * 0.6f, 0, -0.3f).ShinR(-depth * 1.3f);
}

// ---- Left-hand blade ----
// The swing's end: the blade swept out to the left, the body wound the other way.
constexpr CPoseRecipe kBladeFollow = LungeLeft(0.25f).Body(-0.25f, -0.7f).Waist(0.25f, 0.3f).Head(0.1f, 0.6f)
                                          .ArmL(1.2f, 0, 1.1f).ForearmL(0.15f).ArmR(-0.3f, 0, -0.4f).ForearmR(1.2f);
// A second swing: wound up high behind the right shoulder, finished low on the left.
constexpr CPoseRecipe kBlade2Wind = kReady.Body(-0.05f, 0.8f).Waist(0.05f, -0.6f).Head(0, -0.7f)
                                         .ArmL(2.4f, 0, -0.5f).ForearmL(1.0f).ArmR(0.2f, 0, -0.3f).ForearmR(1.3f);
constexpr CPoseRecipe kBlade2Finish = LungeLeft(0.35f).Body(-0.35f, -0.6f).Waist(0.35f, 0.4f).Head(0.1f, 0.5f)
                                           .ArmL(0.5f, 0, 0.9f).ForearmL(0.1f).ArmR(-0.2f, 0, -0.3f).ForearmR(1.4f);
// Downward cut: the blade raised over the head, then brought down ahead.
constexpr CPoseRecipe kChopRaise = kReady.Body(0.15f, -0.2f).Waist(-0.15f, 0.2f).Head(-0.2f)
                                        .ArmL(2.8f, 0, 0.15f).ForearmL(0.9f).ArmR(0.3f, 0, -0.4f).ForearmR(1.1f);
constexpr CPoseRecipe kChopDown = LungeLeft(0.35f).Body(-0.35f, 0.2f).ArmL(0.7f, 0, -0.1f).ForearmL(0.25f).ArmR(-0.3f, 0, -0.4f).ForearmR(1.2f);
// Thrust: the blade drawn back at the hip, then driven straight ahead.
constexpr CPoseRecipe kThrustDraw = kReady.Body(-0.1f, -0.6f).Waist(0.1f, 0.5f).Head(0.0f, 0.55f)
                                         .ArmL(-0.6f, 0, 0.25f).ForearmL(2.0f).ArmR(0.9f, 0, -0.3f).ForearmR(1.2f);
constexpr CPoseRecipe kThrustDrive = LungeLeft(0.3f).Body(-0.3f, 0.5f).Head(0.15f, -0.45f)
                                          .ArmL(1.55f, 0, 0.5f).ForearmL(0.05f).ArmR(-0.5f, 0, -0.3f).ForearmR(1.3f);
// Dashing cut with the right blade: held low behind, swept through, carried high.
constexpr CPoseRecipe kDashCutRightLow = LungeRight(0.45f).Body(-0.45f, -0.5f).Head(0.2f, 0.5f)
                                              .ArmR(-0.8f, 0, -0.5f).ForearmR(0.4f).ArmL(0.6f, 0, 0.3f).ForearmL(1.2f);
constexpr CPoseRecipe kDashCutRightSweep = LungeRight(0.4f).Body(-0.4f, 0.3f).Head(0.2f, -0.3f)
                                                .ArmR(1.4f, 0, -0.2f).ForearmR(0.1f).ArmL(-0.2f, 0, 0.4f).ForearmL(1.0f);
constexpr CPoseRecipe kDashCutRightHigh = LungeRight(0.2f).Body(-0.2f, 0.7f).Head(0.0f, -0.6f)
                                               .ArmR(2.3f, 0, 0.6f).ForearmR(0.3f).ArmL(-0.3f, 0, 0.4f).ForearmL(1.0f);
// Spinning cut: the arm held out while the body winds up and turns through.
constexpr CPoseRecipe SpinCut(float turn) {
    return Braced(0.6f).Body(-0.15f, turn).Waist(0.15f, -turn * 0.5f).Head(0.1f, -turn * 0.4f)
        .ArmL(1.45f, 0, 1.2f).ForearmL(0.1f).ArmR(0.4f, 0, -0.6f).ForearmR(1.3f);
}
// Jumping rising cut: crouched with the blade low, springing up, the blade high overhead.
constexpr CPoseRecipe kRiseCutLow = Braced(1.1f).Body(-0.5f, -0.3f).Waist(0.5f, 0.3f).Head(-0.3f)
                                         .ArmL(-0.4f, 0, 0.5f).ForearmL(0.3f).ArmR(0.4f, 0, -0.4f).ForearmR(1.2f);
constexpr CPoseRecipe kRiseCutMid = CPoseRecipe{}.Head(-0.4f).Body(0.0f, 0.2f).ArmL(1.6f, 0, 0.2f).ForearmL(0.2f).ArmR(-0.4f, 0, -0.5f).ForearmR(0.8f)
                                         .ThighL(0.9f).ShinL(-1.3f).ThighR(-0.3f).ShinR(-0.5f);
constexpr CPoseRecipe kRiseCutHigh = CPoseRecipe{}.Head(-0.5f).Body(0.25f, 0.1f).Waist(-0.1f).ArmL(2.9f, 0, 0.2f).ForearmL(0.2f).ArmR(-0.6f, 0, -0.6f).ForearmR(0.6f)
                                          .ThighL(1.2f).ShinL(-1.8f).ThighR(0.3f).ShinR(-1.2f);
// Jumping downward cut: aloft with the blade overhead and knees drawn up, then the cut down.
constexpr CPoseRecipe kAirChopRaise = kChopRaise.ThighL(1.0f, 0, 0.1f).ShinL(-1.7f).ThighR(0.6f, 0, -0.1f).ShinR(-1.5f);
constexpr CPoseRecipe kAirChopDown = kChopDown.Body(-0.55f, 0.1f).Waist(0.3f).ArmL(0.3f, 0, -0.1f).ThighL(1.1f, 0, 0.1f).ShinL(-1.5f).ThighR(0.2f).ShinR(-1.2f);

// ---- Fists and kicks ----
constexpr CPoseRecipe kLeftBlowWind = kReady.Body(-0.25f, -0.6f).Waist(0.25f, 0.3f).Head(0.1f, 0.5f)
                                           .ArmL(-0.5f, 0, 0.35f).ForearmL(1.9f).ArmR(0.8f, 0, -0.2f).ForearmR(1.6f);
constexpr CPoseRecipe kLeftBlowHit = LungeLeft(0.5f).Body(-0.5f, 0.55f).Head(0.3f, -0.5f)
                                          .ArmL(1.5f, 0, 0.55f).ForearmL(0.05f).ArmR(-0.4f, 0, -0.3f).ForearmR(1.7f);
constexpr CPoseRecipe kRightJabWind = kLeftBlowWind.Mirrored();
constexpr CPoseRecipe kRightJabHit = kLeftBlowHit.Mirrored();
// Jumping downward swing of the right weapon.
constexpr CPoseRecipe kRightAirCrouch = Braced(1.0f).Head(-0.3f).ArmL(-0.5f, 0, 0.4f).ForearmL(0.6f).ArmR(-0.6f, 0, -0.4f).ForearmR(0.8f);
constexpr CPoseRecipe kRightAirRaise = kChopRaise.Mirrored().ThighL(1.2f, 0, 0.1f).ShinL(-2.0f).ThighR(1.0f, 0, -0.1f).ShinR(-1.8f);
constexpr CPoseRecipe kRightAirSwing = kChopDown.Mirrored().ThighL(0.9f).ShinL(-1.6f).ThighR(1.2f).ShinR(-1.0f);
constexpr CPoseRecipe kRightAirLand = LungeRight(0.55f).Body(-0.55f, -0.2f).ArmR(0.2f, 0, 0.1f).ForearmR(0.2f).ArmL(0.3f, 0, 0.6f).ForearmL(0.8f)
                                           .ThighR(1.2f, 0, -0.15f).ShinR(-1.8f);
// Somersault kick: tucked, rolled over forward, the left leg shot out.
constexpr CPoseRecipe kRollCrouch = Braced(1.2f).Head(-0.2f).ArmL(0.8f, 0, 0.3f).ForearmL(1.2f).ArmR(0.8f, 0, -0.3f).ForearmR(1.2f);
constexpr CPoseRecipe kRollTuck = CPoseRecipe{}.Head(0.7f).Body(-1.5f).Waist(0.3f).ArmL(1.8f, 0, 0.3f).ForearmL(1.6f).ArmR(1.8f, 0, -0.3f).ForearmR(1.6f)
                                       .ThighL(1.7f).ShinL(-2.4f).ThighR(1.7f).ShinR(-2.4f);
constexpr CPoseRecipe kRollKick = CPoseRecipe{}.Head(-0.3f).Body(0.6f).Waist(0.2f).ArmL(0.4f, 0, 0.9f).ForearmL(0.5f).ArmR(0.4f, 0, -0.9f).ForearmR(0.5f)
                                       .ThighL(1.9f, 0, 0.05f).ShinL(-0.1f).ThighR(0.6f).ShinR(-1.6f);
// Shoulder charges.
constexpr CPoseRecipe kTackle = LungeLeft(0.7f).Body(-0.7f, -0.6f).Head(-0.4f, 0.5f).ArmL(0.3f, 0, 0.5f).ForearmL(1.8f).ArmR(0.4f, 0, -0.2f).ForearmR(1.6f);
constexpr CPoseRecipe kChargePunch = LungeRight(0.6f).Body(-0.6f, -0.4f).Head(-0.3f, 0.4f).ArmR(1.5f, 0, -0.4f).ForearmR(0.05f).ArmL(-0.6f, 0, 0.3f).ForearmL(1.6f);

// ---- Shots ----
constexpr CPoseRecipe kShotRight = pose_base::AimRight(kReady).ThighL(0.3f, 0, 0.15f).ShinL(-0.45f).ThighR(-0.05f, 0, -0.2f).ShinR(-0.2f);
// The gun kicks: forearm thrown up, the body rocked back.
constexpr CPoseRecipe kShotRightRecoil = kShotRight.Body(0.1f, 0.3f).Waist(-0.1f, 0.0f).Head(-0.1f, -0.3f).ArmR(1.75f, 0, 0.3f).ForearmR(0.45f);
constexpr CPoseRecipe kShotLeft = kShotRight.Mirrored();
constexpr CPoseRecipe kShotLeftRecoil = kShotRightRecoil.Mirrored();
// Shooting on the run, bowed into the dash.
constexpr CPoseRecipe kDashShot = pose_base::AimRight(pose_base::RunDrive(0.9f, 0.5f, 0.45f)).Body(-0.45f, 0.3f).Head(-0.3f, -0.3f).ArmR(1.95f, 0, 0.3f);
constexpr CPoseRecipe kDashShotRecoil = kDashShot.Body(-0.3f, 0.3f).ArmR(2.15f, 0, 0.3f).ForearmR(0.4f);
constexpr CPoseRecipe kDashShotSmall = kDashShot.ThighL(0.6f).ShinL(-1.2f).ThighR(-0.3f).ShinR(-0.9f).ArmL(-0.5f, 0, 0.3f);
constexpr CPoseRecipe kDashShotSmallRecoil = kDashShotSmall.ArmR(2.2f, 0, 0.3f).ForearmR(0.35f);
// Down on the right knee, the left shoulder's launcher aimed ahead.
constexpr CPoseRecipe kKneelShoulder = CPoseRecipe{}.Head(0.0f, -0.3f).Body(-0.3f, 0.3f).Waist(0.3f, -0.3f).ArmL(0.6f, 0, 0.4f).ForearmL(1.5f).ArmR(0.5f, 0, -0.2f).ForearmR(1.3f)
                                          .ThighL(1.2f, 0, 0.15f).ShinL(-1.3f).ThighR(0.2f, 0, -0.1f).ShinR(-2.0f);
constexpr CPoseRecipe kKneelShoulderFire = kKneelShoulder.Body(-0.15f, 0.3f).Head(-0.1f, -0.3f).ArmL(0.4f, 0, 0.5f);
// Both hands on one long gun, held at the right shoulder.
constexpr CPoseRecipe kTwoHandAim = kShotRight.Body(-0.1f, 0.6f).Head(0.05f, -0.6f).ArmR(1.4f, 0, 0.6f).ForearmR(0.4f).ArmL(1.3f, 0, -0.2f).ForearmL(1.1f)
                                           .ThighL(0.5f, 0, 0.2f).ShinL(-0.6f).ThighR(-0.1f, 0, -0.25f).ShinR(-0.3f);
constexpr CPoseRecipe kTwoHandRecoil = kTwoHandAim.Body(0.15f, 0.6f).Waist(-0.15f, -0.3f).ArmR(1.65f, 0, 0.6f).ArmL(1.55f, 0, -0.2f);
// Bowed forward, firing ahead.
constexpr CPoseRecipe kLeanShot = kShotRight.Body(-0.5f, 0.3f).Waist(0.5f, -0.3f).Head(-0.3f, -0.3f).ArmR(2.0f, 0, 0.3f)
                                       .ThighL(0.8f, 0, 0.15f).ShinL(-1.1f).ThighR(0.1f, 0, -0.15f).ShinR(-0.7f);
constexpr CPoseRecipe kLeanShotRecoil = kLeanShot.Body(-0.3f, 0.3f).ArmR(2.2f, 0, 0.3f).ForearmR(0.5f);
// A heavy shot from a wide brace.
constexpr CPoseRecipe kStrongShot = kTwoHandAim.Body(-0.2f, 0.5f).Waist(0.2f, -0.5f).ThighL(0.8f, 0, 0.35f).ShinL(-1.0f).ThighR(0.1f, 0, -0.4f).ShinR(-0.5f);
constexpr CPoseRecipe kStrongShotRecoil = kStrongShot.Body(0.25f, 0.4f).Waist(-0.25f, -0.4f).Head(-0.3f, -0.4f).ArmR(1.9f, 0, 0.5f).ForearmR(0.7f).ArmL(1.7f, 0, -0.2f);
// The buster: crouched deep, the cannon at the hip in both hands, then braced against its blast.
constexpr CPoseRecipe kBusterCharge = Braced(0.9f).Body(-0.3f, 0.4f).Head(0.0f, -0.4f).ArmR(0.7f, 0, 0.3f).ForearmR(0.9f).ArmL(0.9f, 0, -0.4f).ForearmL(1.2f);
constexpr CPoseRecipe kBusterFire = Braced(1.0f).Body(-0.1f, 0.4f).Head(-0.1f, -0.4f).ArmR(1.3f, 0, 0.4f).ForearmR(0.3f).ArmL(1.2f, 0, -0.3f).ForearmL(0.9f)
                                         .ThighL(1.1f, 0, 0.35f).ShinL(-1.2f).ThighR(0.2f, 0, -0.4f).ShinR(-0.9f);
constexpr CPoseRecipe kBusterRecover = kReady.Body(-0.1f, 0.2f).ArmR(0.6f, 0, -0.1f).ForearmR(1.2f);
// Hovering on drawn-up knees, firing downward ahead.
constexpr CPoseRecipe kHoverShot = kShotRight.Body(-0.3f, 0.3f).ArmR(1.0f, 0, 0.3f).ForearmR(0.1f).ThighL(1.5f).ShinL(-2.3f).ThighR(1.3f).ShinR(-2.2f);
constexpr CPoseRecipe kHoverShotRecoil = kHoverShot.Body(-0.1f, 0.3f).ArmR(1.25f, 0, 0.3f).ForearmR(0.4f);
// Both arms straight out, a gun in each hand.
constexpr CPoseRecipe kDoubleAim = kReady.Body(-0.05f).Waist(0.05f).Head(0.0f).ArmL(1.5f, 0, -0.1f).ForearmL(0.05f).ArmR(1.5f, 0, 0.1f).ForearmR(0.05f)
                                        .ThighL(0.3f, 0, 0.25f).ShinL(-0.5f).ThighR(0.3f, 0, -0.25f).ShinR(-0.5f);
constexpr CPoseRecipe kDoubleRecoil = kDoubleAim.Body(0.12f).Waist(-0.12f).ArmL(1.75f, 0, -0.1f).ForearmL(0.4f).ArmR(1.75f, 0, 0.1f).ForearmR(0.4f);
constexpr CPoseRecipe kDoubleLower = kDoubleAim.ArmL(0.7f, 0, 0.1f).ForearmL(0.8f).ArmR(0.7f, 0, -0.1f).ForearmR(0.8f);
// Air raids: aloft, the guns pointed steeply down.
constexpr CPoseRecipe AirRaid(float dive) {
    return CPoseRecipe{}.Head(0.3f + dive * 0.3f).Body(-dive).Waist(dive * 0.5f).ArmL(0.9f + dive, 0, 0.2f).ForearmL(0.1f).ArmR(0.9f + dive, 0, -0.2f).ForearmR(0.1f)
        .ThighL(0.8f, 0, 0.2f).ShinL(-1.4f).ThighR(0.5f, 0, -0.2f).ShinR(-1.2f);
}
// Shoulder laser: planted, bowed so the shoulders point ahead, arms tucked in.
constexpr CPoseRecipe kShoulderBrace = Braced(0.5f).Body(-0.3f).Waist(0.3f).Head(-0.25f).ArmL(0.5f, 0, 0.45f).ForearmL(1.4f).ArmR(0.5f, 0, -0.45f).ForearmR(1.4f);
constexpr CPoseRecipe kShoulderKick = kShoulderBrace.Body(-0.05f).Waist(0.05f).Head(-0.35f).ArmL(0.3f, 0, 0.55f).ArmR(0.3f, 0, -0.55f);
// Small beam from the right hand, the left hand steadying the wrist.
constexpr CPoseRecipe kBeamAim = kShotRight.ArmL(1.2f, 0, -0.35f).ForearmL(0.9f);
constexpr CPoseRecipe kBeamRecoil = kShotRightRecoil.ArmL(1.4f, 0, -0.35f).ForearmL(1.2f);

// ---- Throws (the bomb leaves the left hand) ----
constexpr CPoseRecipe kThrowWind = kReady.Body(0.15f, -0.7f).Waist(-0.15f, 0.5f).Head(0.0f, 0.6f).ArmL(2.6f, 0, 0.9f).ForearmL(1.5f).ArmR(1.2f, 0, -0.2f).ForearmR(0.3f)
                                        .ThighL(0.6f, 0, 0.2f).ShinL(-0.3f).ThighR(0.2f, 0, -0.25f).ShinR(-0.9f);
constexpr CPoseRecipe kThrowRelease = LungeLeft(0.35f).Body(-0.35f, 0.5f).Head(0.0f, -0.5f).ArmL(2.2f, 0, 0.3f).ForearmL(0.2f).ArmR(-0.4f, 0, -0.4f).ForearmR(0.8f);
constexpr CPoseRecipe kThrowFollow = LungeLeft(0.6f).Body(-0.6f, 0.7f).Head(0.2f, -0.6f).ArmL(0.8f, 0, -0.6f).ForearmL(0.3f).ArmR(-0.7f, 0, -0.5f).ForearmR(0.6f);
// A pitcher's delivery: knee lifted, stride, release, finish bowed over.
constexpr CPoseRecipe kPitchKnee = CPoseRecipe{}.Head(0.0f, 0.6f).Body(0.1f, -0.8f).Waist(-0.1f, 0.6f).ArmL(0.6f, 0, 0.4f).ForearmL(1.7f).ArmR(0.7f, 0, -0.3f).ForearmR(1.6f)
                                        .ThighL(0.1f).ShinL(-0.2f).ThighR(1.5f, 0, -0.1f).ShinR(-2.0f);
constexpr CPoseRecipe kPitchStride = kThrowWind.ThighL(-0.3f).ShinL(-0.3f).ThighR(0.9f, 0, -0.2f).ShinR(-0.6f).ArmL(1.8f, 0, 1.3f).ForearmL(1.2f);
constexpr CPoseRecipe kPitchRelease = kThrowRelease.ThighL(-0.4f).ShinL(-0.4f).ThighR(0.9f, 0, -0.1f).ShinR(-0.9f).Body(-0.5f, 0.6f).Waist(0.5f);
constexpr CPoseRecipe kPitchFinish = kThrowFollow.ThighL(-0.6f).ShinL(-0.8f).ThighR(1.1f).ShinR(-1.2f).Body(-0.8f, 0.7f).Waist(0.8f);
// Rolling it along the ground: low, the arm swung back, then forward at the ground.
constexpr CPoseRecipe kRollWind = Braced(1.0f).Body(-0.5f, -0.5f).Waist(0.5f, 0.5f).Head(-0.3f, 0.4f).ArmL(-0.9f, 0, 0.3f).ForearmL(0.3f).ArmR(0.8f, 0, -0.3f).ForearmR(1.0f);
constexpr CPoseRecipe kRollRelease = LungeRight(0.9f).Body(-0.9f, 0.3f).Head(-0.6f, -0.3f).ArmL(1.3f, 0, -0.1f).ForearmL(0.1f).ArmR(-0.6f, 0, -0.3f).ForearmR(0.8f)
                                          .ThighR(1.3f, 0, -0.1f).ShinR(-1.7f).ThighL(0.0f, 0, 0.2f).ShinL(-1.4f);
// Bowling: the ball swung back, then released low along the lane.
constexpr CPoseRecipe kBowlSwing = kRollWind.Mirrored().ArmL(0.6f, 0, 0.3f).ArmR(-1.2f, 0, -0.2f).ForearmR(0.1f);
constexpr CPoseRecipe kBowlRelease = kRollRelease.Mirrored().ArmR(1.0f, 0, 0.1f).ArmL(-0.5f, 0, 0.9f).ForearmL(0.2f);

// ---- The fang thrust: the right weapon drawn back level beside the head, the left hand aiming ----
constexpr CPoseRecipe kFangDraw = CPoseRecipe{}.Head(0.05f, 0.7f).Body(-0.1f, -0.8f).Waist(0.1f, 0.5f).ArmL(1.5f, 0, 1.0f).ForearmL(0.2f).ArmR(0.9f, 0, -0.9f).ForearmR(2.2f)
                                       .ThighL(0.7f, 0, 0.25f).ShinL(-0.8f).ThighR(0.0f, 0, -0.2f).ShinR(-0.8f);
constexpr CPoseRecipe kFangThrust = LungeRight(0.5f).Body(-0.5f, -0.4f).Head(0.3f, 0.4f).ArmR(1.55f, 0, 0.5f).ForearmR(0.05f).ArmL(-0.5f, 0, 0.5f).ForearmL(0.7f);
constexpr CPoseRecipe kFangRecover = kFangThrust.Body(-0.2f, -0.2f).Waist(0.2f).ArmR(1.1f, 0, 0.2f).ForearmR(0.5f);
// Rising cut with the right weapon.
constexpr CPoseRecipe kRightRiseLow = kRiseCutLow.Mirrored();
constexpr CPoseRecipe kRightRiseHigh = LungeRight(0.0f).Body(0.2f, 0.3f).Waist(-0.2f).Head(-0.3f).ArmR(2.7f, 0, -0.2f).ForearmR(0.2f).ArmL(0.0f, 0, 0.5f).ForearmL(1.0f);

}  // namespace common_combat
