// The "h21_"/"h35_" key-pose table, third in look-up order: type 21's striding walk, idle, hover
// dash and brake; type 33's sword (held in the right hand, steadied by the left): stance,
// thrust, cuts, rising and plunging cuts, walk, run and the curse.
#include "common_recipes_motion.h"
#include "key_pose_tables.h"

namespace {

// ---- Type 21 ----
// A slow, high-kneed stride: lift, knee up, reach, plant (each half mirrored for the right leg).
constexpr CPoseRecipe kStrideLift = CPoseRecipe{}.Head(0.05).Body(-0.1).Waist(0.1).ArmL(-0.1, 0, 0.25).ForearmL(0.6).ArmR(0.2, 0, -0.25).ForearmR(0.6)
                                        .ThighL(0.5).ShinL(-0.9).ThighR(-0.1).ShinR(-0.2);
constexpr CPoseRecipe kStrideKnee = kStrideLift.ThighL(1.3).ShinL(-1.7).ArmL(-0.35, 0, 0.25).ArmR(0.45, 0, -0.25);
constexpr CPoseRecipe kStrideReach = kStrideLift.ThighL(0.9).ShinL(-0.3).ThighR(-0.3).ShinR(-0.3).ArmL(-0.5, 0, 0.25).ArmR(0.6, 0, -0.25);
constexpr CPoseRecipe kStridePlant = kStrideLift.Body(-0.2).Waist(0.2).ThighL(0.45).ShinL(-0.35).ThighR(-0.5).ShinR(-0.4).ArmL(-0.3, 0, 0.25).ArmR(0.4, 0, -0.25);
constexpr CPoseRecipe kIdle21 = pose_base::kReady.ArmL(0.0, 0, 0.35).ForearmL(0.5).ArmR(0.0, 0, -0.35).ForearmR(0.5).ThighL(0.15, 0, 0.2).ThighR(0.0, 0, -0.2);
constexpr CPoseRecipe kIdle21Breath = kIdle21.Body(-0.04).Head(-0.05).ArmL(0.05, 0, 0.42).ArmR(0.05, 0, -0.42);
// Hovering dash: bowed forward, legs together and trailing, arms swept back.
constexpr CPoseRecipe kHover = CPoseRecipe{}.Head(-0.5).Body(-0.6).Waist(0.2).ArmL(-0.8, 0, 0.3).ForearmL(0.3).ArmR(-0.8, 0, -0.3).ForearmR(0.3)
                                   .ThighL(-0.2).ShinL(-0.5).ThighR(-0.3).ShinR(-0.4);
constexpr CPoseRecipe kHoverLow = kHover.Body(-0.75).ThighL(0.2).ShinL(-1.0).ThighR(0.1).ShinR(-0.9);
constexpr CPoseRecipe kHoverBrake = common_motion::kStopFront.Body(0.45).Waist(-0.45).ArmL(1.2, 0, 0.7).ArmR(1.2, 0, -0.7);
constexpr CPoseRecipe kHoverAir = kHover.ArmL(-0.3, 0, 1.1).ArmR(-0.3, 0, -1.1).Body(-0.8);

// ---- Type 33: the sword ----
// Two-handed middle guard, the right foot ahead.
constexpr CPoseRecipe kSwordGuard = CPoseRecipe{}.Head(0.1).Body(-0.1).Waist(0.1).ArmR(0.75, 0, 0.25).ForearmR(1.0).ArmL(0.85, 0, -0.3).ForearmL(1.05)
                                        .ThighR(0.35, 0, -0.1).ShinR(-0.45).ThighL(-0.1, 0, 0.12).ShinL(-0.45);
constexpr CPoseRecipe kSwordGuardRaise = kSwordGuard.ArmR(0.95, 0, 0.25).ArmL(1.05, 0, -0.3).Body(-0.05).Head(0.05);
// Thrust: the blade drawn to the hip, driven out, held, recovered.
constexpr CPoseRecipe kThrustDraw = kSwordGuard.Body(-0.2, -0.5).Waist(0.2, 0.5).Head(0.1, 0.4).ArmR(-0.3, 0, -0.3).ForearmR(1.9).ArmL(0.2, 0, 0.1).ForearmL(1.7)
                                        .ThighR(0.6, 0, -0.1).ShinR(-1.0).ThighL(0.2, 0, 0.15).ShinL(-1.1);
constexpr CPoseRecipe kThrustSnap = kThrustDraw.Body(-0.3, -0.55).ArmR(-0.4, 0, -0.3);
constexpr CPoseRecipe kThrustDrive = kSwordGuard.Body(-0.4, 0.3).Waist(0.4, -0.3).Head(0.2, -0.3).ArmR(1.45, 0, 0.3).ForearmR(0.1).ArmL(1.1, 0, -0.2).ForearmL(0.6)
                                         .ThighR(1.0, 0, -0.1).ShinR(-1.1).ThighL(-0.5, 0, 0.1).ShinL(-0.3);
constexpr CPoseRecipe kThrustFull = kThrustDrive.Body(-0.5, 0.4).ArmR(1.55, 0, 0.4).ForearmR(0.0).ArmL(-0.6, 0, 0.4).ForearmL(0.5);
constexpr CPoseRecipe kThrustHold = kThrustFull.ThighR(1.15, 0, -0.1).ShinR(-1.3).ThighL(-0.6, 0, 0.1);
constexpr CPoseRecipe kThrustRecover = kSwordGuard.ArmR(1.0, 0, 0.25).ForearmR(0.7).Body(-0.15);
// Downward cut: overhead, starting down, finished low.
constexpr CPoseRecipe kCutRaise = kSwordGuard.Head(-0.15).Body(0.05).ArmR(2.6, 0, 0.2).ForearmR(0.9).ArmL(2.6, 0, -0.25).ForearmL(0.9);
constexpr CPoseRecipe kCutStart = kSwordGuard.ArmR(1.8, 0, 0.25).ForearmR(0.3).ArmL(1.8, 0, -0.3).ForearmL(0.3).ThighR(0.6, 0, -0.1).ShinR(-0.7);
constexpr CPoseRecipe kCutLow = kSwordGuard.Body(-0.45).Waist(0.45).Head(0.3).ArmR(0.9, 0, 0.2).ForearmR(0.1).ArmL(0.95, 0, -0.25).ForearmL(0.15)
                                    .ThighR(1.0, 0, -0.15).ShinR(-1.1).ThighL(-0.45, 0, 0.12).ShinL(-0.4);
// Overhead swing: leaning back with the blade behind the head, then the full stroke down.
constexpr CPoseRecipe kSwingBack = kCutRaise.Body(0.25, -0.2).Waist(-0.25, 0.2).Head(-0.3).ForearmR(1.4).ForearmL(1.4).ThighR(0.5, 0, -0.1).ShinR(-0.4);
constexpr CPoseRecipe kSwingPeak = kSwingBack.Body(0.35, -0.25).ArmR(2.9, 0, 0.2).ArmL(2.9, 0, -0.25);
constexpr CPoseRecipe kSwingMid = kCutStart.Body(-0.2).Waist(0.2).ArmR(1.9, 0, 0.25).ArmL(1.9, 0, -0.3).ThighR(0.9, 0, -0.1).ShinR(-1.0).ThighL(-0.3).ShinL(-0.4);
constexpr CPoseRecipe kSwingLow = kCutLow.Body(-0.6).Waist(0.6).ArmR(0.6, 0, 0.2).ArmL(0.65, 0, -0.25).ThighR(1.2, 0, -0.15).ShinR(-1.4);
constexpr CPoseRecipe kSwingThrough = kSwingLow.Body(-0.65, 0.3).ArmR(0.1, 0, 0.4).ForearmR(0.3).ArmL(0.2, 0, -0.1).ForearmL(0.4);
// Rising cut against the air: crouched with the blade low behind, springing, carried overhead.
constexpr CPoseRecipe kRiseCrouch = CPoseRecipe{}.Head(-0.2, -0.3).Body(-0.5, 0.4).Waist(0.5, -0.4).ArmR(-0.7, 0, -0.3).ForearmR(0.3).ArmL(-0.5, 0, 0.1).ForearmL(0.9)
                                        .ThighR(1.2, 0, -0.15).ShinR(-2.0).ThighL(1.0, 0, 0.15).ShinL(-1.9);
constexpr CPoseRecipe kRiseSpring = kRiseCrouch.Body(-0.3, 0.3).Waist(0.3, -0.3).ThighR(0.8, 0, -0.1).ShinR(-1.2).ThighL(0.4).ShinL(-0.8);
constexpr CPoseRecipe kRiseMid = CPoseRecipe{}.Head(-0.4).Body(0.0, 0.0).ArmR(1.6, 0, 0.2).ForearmR(0.2).ArmL(1.4, 0, -0.2).ForearmL(0.5)
                                     .ThighR(0.9).ShinR(-1.3).ThighL(-0.2).ShinL(-0.5);
constexpr CPoseRecipe kRiseHigh = kRiseMid.Head(-0.6).Body(0.3).Waist(-0.1).ArmR(2.8, 0, 0.1).ForearmR(0.1).ArmL(2.6, 0, -0.15).ForearmL(0.3).ThighR(1.2).ShinR(-1.8).ThighL(0.4).ShinL(-1.2);
constexpr CPoseRecipe kRisePeak = kRiseHigh.Body(0.45).ThighR(1.5).ShinR(-2.3).ThighL(1.2).ShinL(-2.2);
// Plunging cut: rising with the blade overhead, then dropping on the foe point down.
constexpr CPoseRecipe kPlungeRaise = kCutRaise.ThighR(0.9).ShinR(-1.5).ThighL(0.5).ShinL(-1.2);
constexpr CPoseRecipe kPlungeDown = CPoseRecipe{}.Head(0.5).Body(-0.5).Waist(0.3).ArmR(0.6, 0, 0.35).ForearmR(-0.2).ArmL(0.7, 0, -0.35).ForearmL(-0.1)
                                        .ThighR(1.4).ShinR(-2.2).ThighL(1.3).ShinL(-2.2);
// Walking and running with the sword held ready.
constexpr CPoseRecipe kSwordWalkContact = pose_base::StrideContact(0.5f, 0.0f, 0.1f, 1.0f).ArmR(0.7, 0, 0.25).ForearmR(1.0).ArmL(0.8, 0, -0.3).ForearmL(1.05);
constexpr CPoseRecipe kSwordWalkPassing = pose_base::StridePassing(0.5f, 0.0f, 0.1f, 1.0f).ArmR(0.7, 0, 0.25).ForearmR(1.0).ArmL(0.8, 0, -0.3).ForearmL(1.05);
constexpr CPoseRecipe kSwordRunDrive = pose_base::RunDrive(1.3f, 0.9f, 0.5f).ArmR(-0.9, 0, -0.3).ForearmR(0.3);
constexpr CPoseRecipe kSwordRunFloat = pose_base::RunDrive(0.3f, 0.3f, 0.5f).ThighR(0.7).ShinR(-1.9).ArmR(-0.9, 0, -0.3).ForearmR(0.3);
// The curse: hands joined before the chest, swaying, then both raised to the sky.
constexpr CPoseRecipe kChant = CPoseRecipe{}.Head(0.25).Body(-0.1).Waist(0.1).ArmL(0.7, 0, -0.35).ForearmL(1.5).ArmR(0.7, 0, 0.35).ForearmR(1.5)
                                   .ThighL(0.1, 0, 0.15).ShinL(-0.2).ThighR(0.1, 0, -0.15).ShinR(-0.2);
constexpr CPoseRecipe kChantSway = kChant.Head(0.35, 0.0, 0.15).Body(-0.15, 0.0, -0.1).Waist(0.15, 0.0, 0.1).ArmL(0.9, 0, -0.3).ArmR(0.9, 0, 0.3);
constexpr CPoseRecipe kCallDown = kChant.Head(-0.5).Body(0.15).Waist(-0.15).ArmL(2.9, 0, -0.15).ForearmL(0.1).ArmR(2.9, 0, 0.15).ForearmR(0.1);

constexpr CKeyPoseRow kRows[] = {
    KeyPose("h21_歩行_5", kStrideLift),
    KeyPose("h21_歩行_15", kStrideKnee),
    KeyPose("h21_歩行_25", kStrideReach),
    KeyPose("h21_歩行_30", kStridePlant),
    KeyPose("h21_歩行_35", kStrideLift.Mirrored()),
    KeyPose("h21_歩行_45", kStrideKnee.Mirrored()),
    KeyPose("h21_歩行_55", kStrideReach.Mirrored()),
    KeyPose("h21_歩行_60", kStridePlant.Mirrored()),
    KeyPose("h21_待機_10", kIdle21),
    KeyPose("h21_待機_30", kIdle21Breath),
    KeyPose("h21_ダッシュ_10", kHover),
    KeyPose("h21_ダッシュ_20", kHoverLow),
    KeyPose("h21_ブレーキ_10", kHoverBrake),
    KeyPose("h21_ブレーキ_30", pose_base::kReady),
    KeyPose("h21_空中ダッシュ_10", kHoverAir),
    KeyPose("h35_構え_10", kSwordGuard),
    KeyPose("h35_構え_17", kSwordGuardRaise),
    KeyPose("h35_構え_30", kSwordGuard.Body(-0.12).Head(0.12)),
    KeyPose("h35_構え_37", kSwordGuardRaise.Body(-0.08)),
    KeyPose("h35_突き1_18", kThrustDraw),
    KeyPose("h35_突き1_20", kThrustSnap),
    KeyPose("h35_突き1_30", kThrustDrive),
    KeyPose("h35_突き1_33", kThrustFull),
    KeyPose("h35_突き1_47", kThrustHold),
    KeyPose("h35_突き1_50", kThrustRecover),
    KeyPose("h35_突き1_53", kThrustRecover),
    KeyPose("h35_切り下ろし1_10", kCutRaise),
    KeyPose("h35_切り下ろし1_17", kCutStart),
    KeyPose("h35_切り下ろし1_30", kCutLow),
    KeyPose("h35_振り下ろし1_15", kSwingBack),
    KeyPose("h35_振り下ろし1_21", kSwingPeak),
    KeyPose("h35_振り下ろし1_31", kSwingMid),
    KeyPose("h35_振り下ろし1_36", kSwingLow),
    KeyPose("h35_振り下ろし1_45", kSwingThrough),
    KeyPose("h35_対空1_16", kRiseCrouch),
    KeyPose("h35_対空1_20", kRiseSpring),
    KeyPose("h35_対空1_30", kRiseMid),
    KeyPose("h35_対空1_40", kRiseHigh),
    KeyPose("h35_対空1_50", kRisePeak),
    KeyPose("h35_対地1_10", kPlungeRaise),
    KeyPose("h35_対地1_30", kPlungeDown),
    KeyPose("h35_歩行_10", kSwordWalkContact),
    KeyPose("h35_歩行_20", kSwordWalkPassing),
    KeyPose("h35_歩行_30", kSwordWalkContact.Mirrored().ArmR(0.7, 0, 0.25).ForearmR(1.0).ArmL(0.8, 0, -0.3).ForearmL(1.05)),
    KeyPose("h35_歩行_40", kSwordWalkPassing.Mirrored().ArmR(0.7, 0, 0.25).ForearmR(1.0).ArmL(0.8, 0, -0.3).ForearmL(1.05)),
    KeyPose("h35_走り_10", kSwordRunDrive),
    KeyPose("h35_走り_20", kSwordRunFloat),
    KeyPose("h35_走り_30", kSwordRunDrive.Mirrored().ArmR(-0.9, 0, -0.3).ForearmR(0.3)),
    KeyPose("h35_走り_40", kSwordRunFloat.Mirrored().ArmR(-0.9, 0, -0.3).ForearmR(0.3)),
    KeyPose("h35_呪い_10", kChant),
    KeyPose("h35_呪い_20", kChantSway),
    KeyPose("h35_呪い_30", kCallDown),
};

}  // namespace

extern const CKeyPoseTable kH21H35Poses = {kRows, static_cast<int>(sizeof(kRows) / sizeof(kRows[0]))};
