// Recipes of the common table's endings and of the type-32 rows it holds: the victory
// performances, the defeats, and the type-32 idles, walk and run.
#pragma once

#include "key_pose_bases.h"

namespace common_finale {

using pose_base::kReady;
using pose_base::kStraight;

// ---- Victories ----
constexpr CPoseRecipe kUpright = kStraight.ArmL(0.0f, 0, 0.15f).ArmR(0.0f, 0, -0.15f).ForearmL(0.2f).ForearmR(0.2f);
constexpr CPoseRecipe kRightFistUp = kUpright.Head(-0.3f).ArmR(2.9f, 0, -0.25f).ForearmR(0.4f).ArmL(-0.1f, 0, 0.3f).ForearmL(1.6f);
constexpr CPoseRecipe kGather = kReady.Body(-0.35f).Waist(0.35f).Head(0.3f).ArmL(-0.3f, 0, 0.3f).ForearmL(1.9f).ArmR(-0.3f, 0, -0.3f).ForearmR(1.9f)
                                     .ThighL(0.7f, 0, 0.2f).ShinL(-1.2f).ThighR(0.6f, 0, -0.2f).ShinR(-1.1f);
constexpr CPoseRecipe kBothArmsUp = kUpright.Head(-0.4f).Body(0.1f).Waist(-0.1f).ArmL(2.7f, 0, 0.55f).ForearmL(0.2f).ArmR(2.7f, 0, -0.55f).ForearmR(0.2f)
                                         .ThighL(0.0f, 0, 0.15f).ThighR(0.0f, 0, -0.15f);
constexpr CPoseRecipe kPointAhead = kUpright.Body(0.0f, 0.3f).Head(-0.1f, -0.3f).ArmR(1.9f, 0, 0.3f).ForearmR(0.05f).ArmL(-0.2f, 0, 0.6f).ForearmL(1.9f)
                                         .ThighL(0.3f, 0, 0.2f).ShinL(-0.3f).ThighR(0.0f, 0, -0.2f);
constexpr CPoseRecipe kFistPump = kPointAhead.ArmR(0.6f, 0, -0.1f).ForearmR(2.3f).Body(-0.15f, 0.2f).Waist(0.15f).Head(0.2f, -0.2f);
// Arms folded across the chest, head held high.
constexpr CPoseRecipe kArmsFolded = kUpright.Head(-0.15f).Body(0.05f).ArmL(0.5f, 0, 0.1f).ForearmL(1.6f, 0, -0.9f).ArmR(0.5f, 0, -0.1f).ForearmR(1.6f, 0, 0.9f)
                                         .ThighL(0.0f, 0, 0.18f).ThighR(0.0f, 0, -0.18f);
// Sword raised in salute before the face.
constexpr CPoseRecipe kSalute = kUpright.ArmR(1.0f, 0, 0.4f).ForearmR(1.9f).ArmL(0.0f, 0, 0.1f).ForearmL(0.2f);
constexpr CPoseRecipe kTurnAway = kArmsFolded.Body(0.0f, 1.2f).Head(-0.1f, -1.0f).Waist(0.0f, -0.4f);
constexpr CPoseRecipe kPointSky = kUpright.Head(-0.5f).Body(0.15f, -0.3f).Waist(-0.15f, 0.3f).ArmR(3.0f, 0, -0.1f).ForearmR(0.05f).ArmL(0.2f, 0, 0.4f).ForearmL(1.7f)
                                       .ThighL(0.4f, 0, 0.2f).ShinL(-0.4f).ThighR(-0.1f, 0, -0.2f);
constexpr CPoseRecipe kSpread = kUpright.Head(-0.2f).ArmL(1.0f, 0, 1.45f).ForearmL(0.05f).ArmR(1.0f, 0, -1.45f).ForearmR(0.05f)
                                     .ThighL(0.0f, 0, 0.3f).ThighR(0.0f, 0, -0.3f);
// The ninja's victory: crouch, leap back tucked, land low, kneel with hands joined.
constexpr CPoseRecipe kNinjaCrouch = kGather.ArmL(-0.8f, 0, 0.4f).ForearmL(0.4f).ArmR(-0.8f, 0, -0.4f).ForearmR(0.4f);
constexpr CPoseRecipe kNinjaLeap = CPoseRecipe{}.Head(-0.2f).Body(0.5f).Waist(-0.2f).ArmL(-0.6f, 0, 0.7f).ForearmL(0.3f).ArmR(-0.6f, 0, -0.7f).ForearmR(0.3f)
                                        .ThighL(0.3f).ShinL(-0.4f).ThighR(0.1f).ShinR(-0.3f);
constexpr CPoseRecipe kNinjaTuck = CPoseRecipe{}.Head(0.4f).Body(0.9f).Waist(0.2f).ArmL(1.2f, 0, 0.3f).ForearmL(1.8f).ArmR(1.2f, 0, -0.3f).ForearmR(1.8f)
                                        .ThighL(1.8f).ShinL(-2.4f).ThighR(1.8f).ShinR(-2.4f);
constexpr CPoseRecipe kNinjaLand = kGather.Body(-0.5f).Waist(0.5f).ArmL(0.3f, 0, 1.0f).ForearmL(0.2f).ArmR(0.3f, 0, -1.0f).ForearmR(0.2f)
                                        .ThighL(1.3f, 0, 0.3f).ShinL(-2.2f).ThighR(1.0f, 0, -0.3f).ShinR(-2.0f);
constexpr CPoseRecipe kNinjaKneel = CPoseRecipe{}.Head(0.25f).Body(-0.2f).Waist(0.2f).ArmL(0.9f, 0, -0.35f).ForearmL(1.4f).ArmR(0.9f, 0, 0.35f).ForearmR(1.4f)
                                         .ThighL(1.4f, 0, 0.15f).ShinL(-1.5f).ThighR(0.4f, 0, -0.1f).ShinR(-2.3f);
// A stiff salute: right hand at the brow.
constexpr CPoseRecipe kBrowSalute = kUpright.Head(-0.1f).ArmR(1.1f, 0, -1.2f).ForearmR(2.2f).ArmL(0.0f, 0, 0.05f).ForearmL(0.05f).ThighL(0.0f, 0, 0.04f).ThighR(0.0f, 0, -0.04f);
constexpr CPoseRecipe kHandsOnHips = kUpright.Head(-0.1f).ArmL(-0.3f, 0, 0.8f).ForearmL(1.5f, 0, -0.6f).ArmR(-0.3f, 0, -0.8f).ForearmR(1.5f, 0, 0.6f)
                                          .ThighL(0.0f, 0, 0.2f).ThighR(0.0f, 0, -0.2f);
constexpr CPoseRecipe kWaveRight = kHandsOnHips.ArmR(2.3f, 0, -0.9f).ForearmR(0.6f, 0, 0.3f);
constexpr CPoseRecipe kWaveRightOver = kWaveRight.ArmR(2.5f, 0, -0.5f).ForearmR(0.9f, 0, -0.4f).Body(0.0f, 0.0f, 0.1f).Waist(0.0f, 0.0f, -0.1f);
constexpr CPoseRecipe kKneeLift = kBothArmsUp.ThighL(1.4f, 0, 0.1f).ShinL(-1.8f).Head(-0.3f);

// ---- Defeats ----
constexpr CPoseRecipe kSlump = kStraight.Head(0.8f).Body(-0.35f).Waist(0.35f).ArmL(0.3f, 0, 0.05f).ForearmL(0.15f).ArmR(0.3f, 0, -0.05f).ForearmR(0.15f)
                                    .ThighL(0.25f).ShinL(-0.35f).ThighR(0.2f).ShinR(-0.3f);
constexpr CPoseRecipe kKneelSlump = kSlump.Body(-0.55f).Waist(0.55f).ArmL(0.7f, 0, 0.1f).ArmR(0.7f, 0, -0.1f).ThighL(1.5f, 0, 0.12f).ShinL(-2.5f).ThighR(1.5f, 0, -0.12f).ShinR(-2.5f);
// On hands and knees, head hung.
constexpr CPoseRecipe kOnHands = kKneelSlump.Head(0.4f).Body(-1.25f).Waist(1.05f).ArmL(1.35f, 0, 0.1f).ForearmL(0.05f).ArmR(1.35f, 0, -0.1f).ForearmR(0.05f);
constexpr CPoseRecipe kReelBack = kStraight.Head(-0.5f).Body(0.4f, 0.3f).Waist(-0.4f, -0.3f).ArmL(0.7f, 0, 0.9f).ForearmL(0.6f).ArmR(1.2f, 0, -0.5f).ForearmR(0.8f)
                                       .ThighL(0.5f).ShinL(-0.4f).ThighR(-0.3f).ShinR(-0.2f);
constexpr CPoseRecipe kTwistFall = kReelBack.Body(0.5f, -0.6f).Waist(-0.5f, 0.5f).Head(-0.3f, 0.5f).ArmL(1.6f, 0, 0.6f).ArmR(0.3f, 0, -1.2f);
constexpr CPoseRecipe kBuckle = kSlump.Head(0.3f).Body(-0.3f, -0.3f).ThighL(0.9f, 0, 0.2f).ShinL(-1.6f).ThighR(0.7f, 0, -0.2f).ShinR(-1.4f).ArmL(0.2f, 0, 0.6f).ArmR(0.2f, 0, -0.6f);
constexpr CPoseRecipe kSitBack = CPoseRecipe{}.Head(0.3f).Body(0.3f).Waist(0.6f).ArmL(-0.6f, 0, 0.3f).ForearmL(0.2f).ArmR(-0.6f, 0, -0.3f).ForearmR(0.2f)
                                      .ThighL(1.0f, 0, 0.2f).ShinL(-1.2f).ThighR(1.2f, 0, -0.2f).ShinR(-1.7f);
constexpr CPoseRecipe kLieBack = kSitBack.Body(1.3f).Waist(-0.4f).Head(-0.2f).ArmL(0.5f, 0, 1.2f).ArmR(0.5f, 0, -1.2f).ThighL(0.6f, 0, 0.2f).ShinL(-0.3f).ThighR(0.8f, 0, -0.2f).ShinR(-0.9f);

// ---- Type 32: idles, walk and run ----
// Hands folded at the front, feet together.
constexpr CPoseRecipe kPoised = kStraight.Head(0.1f).ArmL(0.35f, 0, -0.15f).ForearmL(0.9f, 0, -0.5f).ArmR(0.35f, 0, 0.15f).ForearmR(0.9f, 0, 0.5f)
                                     .ThighL(0.05f, 0, -0.03f).ShinL(-0.1f).ThighR(0.05f, 0, 0.03f).ShinR(-0.1f);
constexpr CPoseRecipe Sway(const CPoseRecipe& from, float tilt) { return from.Head(0.1f, 0.0f, -tilt * 1.5f).Body(0.0f, tilt, tilt).Waist(0.0f, -tilt, -tilt); }
constexpr CPoseRecipe kLookAround = kPoised.Head(0.0f, 0.6f).Body(0.0f, 0.15f);
constexpr CPoseRecipe kStretchUp = kBothArmsUp.ForearmL(0.7f).ForearmR(0.7f).Head(-0.3f);
constexpr CPoseRecipe kDaintyContact = pose_base::StrideContact(0.4f, 0.15f, 0.0f, 1.0f).ArmL(0.2f, 0, 0.35f).ArmR(0.2f, 0, -0.35f);
constexpr CPoseRecipe kDaintyPassing = pose_base::StridePassing(0.5f, 0.15f, 0.0f, 1.0f).ArmL(0.2f, 0, 0.35f).ArmR(0.2f, 0, -0.35f);
// Running with the arms flung back behind.
constexpr CPoseRecipe kSprintDrive = pose_base::RunDrive(1.2f, 0.0f, 0.6f).ArmL(-1.1f, 0, 0.3f).ForearmL(0.2f).ArmR(-1.1f, 0, -0.3f).ForearmR(0.2f);
constexpr CPoseRecipe kSprintFloat = pose_base::RunDrive(0.3f, 0.0f, 0.6f).ArmL(-1.2f, 0, 0.3f).ForearmL(0.2f).ArmR(-1.2f, 0, -0.3f).ForearmR(0.2f).ThighR(0.7f).ShinR(-1.9f);

}  // namespace common_finale
