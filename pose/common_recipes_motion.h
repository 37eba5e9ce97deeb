// Recipes of the common table's movement poses: stances, walks, runs, jumps, landings, falls,
// the flight transformations and the stops after a dash.
#pragma once

#include "key_pose_bases.h"

namespace common_motion {

using pose_base::kReady;
using pose_base::kStraight;

// ---- Stances ----
constexpr CPoseRecipe kReadyBreath = kReady.Body(-0.12, 0.12).Waist(0.12, -0.12).ArmL(0.3, 0, 0.22).ArmR(0.2, 0, -0.22).ForearmR(1.15).ShinL(-0.6).ShinR(-0.32);
constexpr CPoseRecipe kGuardStance = kReady.Body(-0.15, 0.5).Waist(0.15, -0.5).Head(0.05, -0.45)
                                         .ArmL(0.9, 0, 0.1).ForearmL(1.4).ArmR(0.35, 0, -0.2).ForearmR(1.5)
                                         .ThighL(0.5, 0, 0.2).ShinL(-0.7).ThighR(-0.15, 0, -0.2).ShinR(-0.45);
constexpr CPoseRecipe kGuardStanceLow = kGuardStance.Body(-0.25, 0.5).Waist(0.25, -0.5).ThighL(0.7, 0, 0.22).ShinL(-1.0).ThighR(0.1, 0, -0.22).ShinR(-0.7);
// On all fours: the body bowed flat, hands reaching the ground ahead of the knees.
constexpr CPoseRecipe kFourLegs = CPoseRecipe{}.Head(-1.0).Body(-1.2).Waist(0.9).ArmL(1.55, 0, 0.2).ForearmL(0.15).ArmR(1.55, 0, -0.2).ForearmR(0.15)
                                      .ThighL(0.8, 0, 0.15).ShinL(-1.5).ThighR(0.8, 0, -0.15).ShinR(-1.5);
constexpr CPoseRecipe kFourLegsHigh = kFourLegs.Body(-1.05).Waist(0.8).ThighL(0.55, 0, 0.15).ShinL(-1.0).ThighR(0.55, 0, -0.15).ShinR(-1.0);
constexpr CPoseRecipe kFourLegsCrouch = kFourLegs.ThighL(1.2, 0, 0.2).ShinL(-2.2).ThighR(1.2, 0, -0.2).ShinR(-2.2).ArmL(1.7, 0, 0.3).ArmR(1.7, 0, -0.3);
constexpr CPoseRecipe kFourLegsLeap = kFourLegs.Body(-0.9).Waist(0.3).ArmL(2.3, 0, 0.2).ForearmL(0.1).ArmR(2.3, 0, -0.2).ForearmR(0.1)
                                          .ThighL(-0.2).ShinL(-0.4).ThighR(-0.2).ShinR(-0.4);

// ---- Walks: contact, passing, then the same two mirrored ----
constexpr CPoseRecipe kWalk1Contact = pose_base::StrideContact(0.55f, 0.45f, 0.05f, 0.5f);
constexpr CPoseRecipe kWalk1Passing = pose_base::StridePassing(0.45f, 0.45f, 0.05f, 0.5f);
constexpr CPoseRecipe kWalk2Contact = pose_base::StrideContact(0.5f, 0.35f, 0.1f, 0.8f);
constexpr CPoseRecipe kWalk2Passing = pose_base::StridePassing(0.55f, 0.35f, 0.1f, 0.8f);
// A stooped, long-striding walk.
constexpr CPoseRecipe kWalk3Contact = pose_base::StrideContact(0.75f, 0.6f, 0.25f, 0.7f).ShinR(-0.6);
constexpr CPoseRecipe kWalk3Passing = pose_base::StridePassing(0.75f, 0.5f, 0.25f, 0.7f);
// On all fours: diagonal pairs move together.
constexpr CPoseRecipe kCrawlReach = kFourLegsHigh.ArmL(1.9, 0, 0.2).ArmR(1.25, 0, -0.2).ThighL(0.35, 0, 0.15).ThighR(0.95, 0, -0.15).ShinR(-1.6);
constexpr CPoseRecipe kCrawlGather = kFourLegsHigh.ArmL(1.55, 0, 0.2).ArmR(1.55, 0, -0.2).ForearmR(0.6).ThighL(0.7, 0, 0.15).ShinL(-1.7).ThighR(0.6, 0, -0.15);

// Turning on the spot to the right: the right foot steps out, the body leads the turn.
constexpr CPoseRecipe kTurnRight = kReady.Head(0.05, 0.3).Body(-0.08, 0.35).Waist(0.08, 0.25).ThighR(0.35, 0.3, -0.35).ShinR(-0.6).ThighL(-0.1, 0, 0.1).ShinL(-0.35);

// ---- Runs: drive, flight, then mirrored ----
constexpr CPoseRecipe kRun1Drive = pose_base::RunDrive(1.3f, 0.9f, 0.35f);
constexpr CPoseRecipe kRun1Push = pose_base::RunDrive(0.7f, 0.5f, 0.35f).ThighR(-0.9).ShinR(-0.2);
constexpr CPoseRecipe kRun1Float = pose_base::RunDrive(0.2f, 0.1f, 0.35f).ThighR(0.6).ShinR(-1.7).ShinL(-0.8);
constexpr CPoseRecipe kRun2Drive = pose_base::RunDrive(1.5f, 1.1f, 0.55f).ArmL(-1.0, 0, 0.4).ArmR(0.9, 0, -0.4);
constexpr CPoseRecipe kRun2Push = pose_base::RunDrive(0.9f, 0.6f, 0.55f).ThighR(-1.0).ShinR(-0.3);
constexpr CPoseRecipe kRun2Float = pose_base::RunDrive(0.3f, 0.2f, 0.55f).ThighR(0.8).ShinR(-2.0).ShinL(-1.0);

// ---- Jumps ----
constexpr CPoseRecipe kJumpCrouch = CPoseRecipe{}.Head(-0.3).Body(-0.45).Waist(0.45).ArmL(-0.7, 0, 0.3).ForearmL(0.6).ArmR(-0.7, 0, -0.3).ForearmR(0.6)
                                        .ThighL(1.2, 0, 0.12).ShinL(-2.0).ThighR(1.2, 0, -0.12).ShinR(-2.0);
constexpr CPoseRecipe kJumpStretch = CPoseRecipe{}.Head(-0.3).Body(0.1).ArmL(2.2, 0, 0.5).ForearmL(0.3).ArmR(2.2, 0, -0.5).ForearmR(0.3)
                                         .ThighL(0.1).ShinL(-0.2).ThighR(-0.25).ShinR(-0.3);
constexpr CPoseRecipe kJumpTuck = CPoseRecipe{}.Head(-0.1).Body(-0.1).Waist(0.1).ArmL(0.7, 0, 0.6).ForearmL(1.0).ArmR(0.7, 0, -0.6).ForearmR(1.0)
                                      .ThighL(1.3, 0, 0.1).ShinL(-1.9).ThighR(0.6, 0, -0.1).ShinR(-1.4);
constexpr CPoseRecipe kJumpSpread = kJumpTuck.ArmL(0.3, 0, 1.1).ForearmL(0.4).ArmR(0.3, 0, -1.1).ForearmR(0.4).ThighL(0.9, 0, 0.3).ThighR(0.9, 0, -0.3).ShinR(-1.9);
constexpr CPoseRecipe kJumpKnee = kJumpTuck.ThighL(1.7, 0, 0.1).ShinL(-2.3).ThighR(-0.2).ShinR(-0.6).ArmL(-0.6, 0, 0.4).ArmR(1.2, 0, -0.3);
constexpr CPoseRecipe kFall = CPoseRecipe{}.Head(0.2).Body(0.05).ArmL(0.4, 0, 0.9).ForearmL(0.5).ArmR(0.4, 0, -0.9).ForearmR(0.5)
                                  .ThighL(0.7, 0, 0.1).ShinL(-0.9).ThighR(0.2, 0, -0.1).ShinR(-0.6);

// ---- Hits, landings, going down ----
constexpr CPoseRecipe kStagger = CPoseRecipe{}.Head(-0.35).Body(0.35, -0.15).Waist(-0.35, 0.15).ArmL(0.6, 0, 0.7).ForearmL(0.5).ArmR(0.3, 0, -0.9).ForearmR(0.4)
                                     .ThighL(0.45, 0, 0.12).ShinL(-0.7).ThighR(-0.25, 0, -0.12).ShinR(-0.3);
constexpr CPoseRecipe kLandingCrouch = CPoseRecipe{}.Head(-0.3).Body(-0.4).Waist(0.4).ArmL(0.5, 0, 0.55).ForearmL(0.5).ArmR(0.5, 0, -0.55).ForearmR(0.5)
                                           .ThighL(1.0, 0, 0.15).ShinL(-1.7).ThighR(0.9, 0, -0.15).ShinR(-1.6);
// Collapsed onto the knees, slumped forward, arms hanging.
constexpr CPoseRecipe kDown = CPoseRecipe{}.Head(0.5).Body(-0.75, 0.1).Waist(0.75).ArmL(0.9, 0, 0.15).ForearmL(0.3).ArmR(0.8, 0, -0.15).ForearmR(0.4)
                                  .ThighL(1.45, 0, 0.15).ShinL(-2.5).ThighR(1.35, 0, -0.15).ShinR(-2.4);

// ---- Flight transformations: from standing to lying flat on the air, arms swept back ----
constexpr CPoseRecipe kFlightGather = CPoseRecipe{}.Head(-0.3).Body(-0.35).Waist(0.2).ArmL(-0.5, 0, 0.4).ForearmL(0.3).ArmR(-0.5, 0, -0.4).ForearmR(0.3)
                                          .ThighL(0.5).ShinL(-0.9).ThighR(0.5).ShinR(-0.9);
constexpr CPoseRecipe kFlightHalf = CPoseRecipe{}.Head(-0.7).Body(-0.8).Waist(0.1).ArmL(0.3, 0, 0.3).ForearmL(0.2).ArmR(0.3, 0, -0.3).ForearmR(0.2)
                                        .ThighL(0.2).ShinL(-0.5).ThighR(0.2).ShinR(-0.5);
constexpr CPoseRecipe kFlightFull = CPoseRecipe{}.Head(-1.2).Body(-1.4).ArmL(-0.1, 0, 0.3).ForearmL(0.1).ArmR(-0.1, 0, -0.3).ForearmR(0.1)
                                        .ThighL(-0.05, 0, 0.05).ShinL(-0.1).ThighR(-0.05, 0, -0.05).ShinR(-0.1);
// Arms spread as wings instead of swept back.
constexpr CPoseRecipe kFlightWings = kFlightFull.ArmL(0.3, 0, 1.35).ForearmL(0.0).ArmR(0.3, 0, -1.35).ForearmR(0.0);
constexpr CPoseRecipe kFlightWingsHalf = kFlightHalf.ArmL(0.6, 0, 1.0).ArmR(0.6, 0, -1.0);
constexpr CPoseRecipe kFlightSeated = CPoseRecipe{}.Head(-0.5).Body(-0.6).Waist(1.0).ArmL(0.8, 0, 0.5).ForearmL(0.8).ArmR(0.8, 0, -0.5).ForearmR(0.8)
                                          .ThighL(0.6).ShinL(-1.6).ThighR(0.6).ShinR(-1.6);

// ---- Dashes through the air and stops after a dash ----
constexpr CPoseRecipe kAirDash = CPoseRecipe{}.Head(-0.6).Body(-0.75).Waist(0.3).ArmL(-0.6, 0, 0.35).ForearmL(0.4).ArmR(-0.6, 0, -0.35).ForearmR(0.4)
                                     .ThighL(0.3).ShinL(-0.9).ThighR(-0.3).ShinR(-0.5);
// Stopping from a forward dash: leaning back, the front foot braced ahead.
constexpr CPoseRecipe kStopFront = CPoseRecipe{}.Head(-0.2).Body(0.3).Waist(-0.3).ArmL(0.9, 0, 0.5).ForearmL(0.6).ArmR(0.9, 0, -0.5).ForearmR(0.6)
                                       .ThighL(0.85).ShinL(-0.4).ThighR(0.3).ShinR(-1.4);
// Stopping from a backward dash: bowed forward, the back foot braced behind.
constexpr CPoseRecipe kStopBack = CPoseRecipe{}.Head(-0.4).Body(-0.45).Waist(0.45).ArmL(-0.5, 0, 0.5).ForearmL(0.8).ArmR(-0.5, 0, -0.5).ForearmR(0.8)
                                      .ThighL(0.8).ShinL(-1.4).ThighR(-0.2).ShinR(-0.3);
// Stopping from a dash to the left: the left leg braced out to the side, the body tilted away.
constexpr CPoseRecipe kStopLeft = CPoseRecipe{}.Head(0, 0, -0.2).Body(-0.1, 0, 0.3).Waist(0.1, 0, -0.3).ArmL(0.2, 0, 1.0).ForearmL(0.4).ArmR(0.4, 0, -0.3).ForearmR(0.9)
                                      .ThighL(0.2, 0, 0.75).ShinL(-0.2).ThighR(0.6, 0, 0.1).ShinR(-1.3);
constexpr CPoseRecipe kStopCrouch = kLandingCrouch.Body(-0.2).Waist(0.2).ThighL(0.9, 0, 0.4).ThighR(0.9, 0, -0.4);

}  // namespace common_motion
