// The "h32b_" key-pose table, last in look-up order: type 32's left kick and its racket swings
// (the racket is in the right hand and bats grenades away).
#include "key_pose_bases.h"
#include "key_pose_tables.h"

namespace {

// Left kick: knee chambered high, then the leg snapped straight out ahead.
constexpr CPoseRecipe kKickChamber = CPoseRecipe{}.Head(0.1).Body(0.1, -0.2).Waist(-0.1, 0.2).ArmL(0.5, 0, 0.5).ForearmL(1.5).ArmR(0.3, 0, -0.4).ForearmR(1.6)
                                         .ThighL(1.7, 0, 0.1).ShinL(-2.3).ThighR(0.2, 0, -0.1).ShinR(-0.4);
constexpr CPoseRecipe kKickOut = kKickChamber.Body(0.35, -0.3).Waist(-0.35, 0.3).Head(0.3).ArmL(0.2, 0, 0.9).ForearmL(0.8).ArmR(-0.2, 0, -0.8).ForearmR(0.8)
                                     .ThighL(1.65, 0, 0.05).ShinL(-0.05);
// Forehand: the racket taken back on the right, met ahead, carried across to the left.
constexpr CPoseRecipe kForeBack = CPoseRecipe{}.Head(0.0, -0.8).Body(-0.1, 0.9).Waist(0.1, -0.5).ArmR(0.2, 0, -1.2).ForearmR(0.8).ArmL(0.6, 0, 0.4).ForearmL(1.2)
                                      .ThighR(0.3, 0, -0.3).ShinR(-0.9).ThighL(0.3, 0, 0.2).ShinL(-0.3);
constexpr CPoseRecipe kForeHit = kForeBack.Head(0.0, -0.2).Body(-0.2, 0.2).Waist(0.2, -0.2).ArmR(1.3, 0, -0.7).ForearmR(0.3).ArmL(0.3, 0, 0.6).ForearmL(1.0)
                                     .ThighL(0.6, 0, 0.2).ShinL(-0.8).ThighR(-0.1, 0, -0.2).ShinR(-0.5);
constexpr CPoseRecipe kForeFollow = kForeHit.Head(0.0, 0.3).Body(-0.2, -0.6).Waist(0.2, 0.4).ArmR(1.6, 0, 0.9).ForearmR(0.9).ArmL(-0.2, 0, 0.7).ForearmL(0.9);
// Stepping out to the left, the racket swung low across.
constexpr CPoseRecipe kSideBack = kForeBack.ThighL(0.2, 0, 0.6).ShinL(-0.3).ThighR(0.7, 0, 0.0).ShinR(-1.4).Body(-0.25, 0.7, 0.25).Waist(0.25, -0.4, -0.25);
constexpr CPoseRecipe kSideHit = kForeFollow.ThighL(0.4, 0, 0.6).ShinL(-0.9).ThighR(0.1, 0, -0.1).ShinR(-0.5).Body(-0.3, -0.5, 0.25).Waist(0.3, 0.4, -0.25).ArmR(1.2, 0, 1.0);
// Backhand to the right: the racket drawn across the body, then flung out right.
constexpr CPoseRecipe kBackDraw = CPoseRecipe{}.Head(0.0, 0.7).Body(-0.15, -0.8).Waist(0.15, 0.5).ArmR(1.1, 0, 1.0).ForearmR(1.6).ArmL(0.3, 0, 0.4).ForearmL(1.4)
                                      .ThighR(0.6, 0, -0.5).ShinR(-0.8).ThighL(0.1, 0, 0.1).ShinL(-0.6);
constexpr CPoseRecipe kBackHit = kBackDraw.Head(0.0, -0.3).Body(-0.2, 0.5).Waist(0.2, -0.3).ArmR(1.4, 0, -1.2).ForearmR(0.1).ArmL(-0.3, 0, 0.6).ForearmL(0.8);
// Jumping smash: crouch, spring, racket cocked behind the head, arched back, brought over, the hit,
// the follow-through, the landing.
constexpr CPoseRecipe kSmashCrouch = CPoseRecipe{}.Head(-0.3).Body(-0.45).Waist(0.45).ArmR(-0.6, 0, -0.4).ForearmR(0.9).ArmL(-0.5, 0, 0.4).ForearmL(0.7)
                                         .ThighL(1.2, 0, 0.15).ShinL(-2.0).ThighR(1.2, 0, -0.15).ShinR(-2.0);
constexpr CPoseRecipe kSmashSpring = kSmashCrouch.Body(-0.2).Waist(0.2).ThighL(0.5).ShinL(-0.8).ThighR(0.4).ShinR(-0.7).ArmL(0.8, 0, 0.3);
constexpr CPoseRecipe kSmashCock = CPoseRecipe{}.Head(-0.4, -0.3).Body(0.2, 0.5).Waist(-0.1, -0.3).ArmR(2.7, 0, -0.5).ForearmR(1.8).ArmL(2.2, 0, 0.3).ForearmL(0.3)
                                       .ThighL(1.0).ShinL(-1.6).ThighR(0.3).ShinR(-1.4);
constexpr CPoseRecipe kSmashArch = kSmashCock.Body(0.4, 0.5).ArmR(2.9, 0, -0.4).ForearmR(2.1).ThighR(-0.2).ShinR(-1.8);
constexpr CPoseRecipe kSmashOver = kSmashCock.Body(-0.1, 0.2).Head(-0.2, -0.1).ArmR(2.6, 0, -0.1).ForearmR(0.4).ArmL(0.9, 0, 0.5).ForearmL(0.6).ThighR(0.6).ShinR(-1.5);
constexpr CPoseRecipe kSmashHit = kSmashOver.Body(-0.35, 0.0).Waist(0.2).ArmR(2.0, 0, 0.1).ForearmR(0.05).ThighL(1.2).ShinL(-1.4).ThighR(0.8).ShinR(-1.2);
constexpr CPoseRecipe kSmashThrough = kSmashHit.Body(-0.6, -0.3).Waist(0.4, 0.2).Head(0.2, 0.2).ArmR(0.6, 0, 0.7).ForearmR(0.6).ArmL(-0.3, 0, 0.5).ForearmL(0.8);
constexpr CPoseRecipe kSmashLand = kSmashThrough.Body(-0.4, -0.2).ThighL(0.9, 0, 0.2).ShinL(-1.6).ThighR(1.0, 0, -0.2).ShinR(-1.7);

constexpr CKeyPoseRow kRows[] = {
    KeyPose("h32b_ｹﾘL1_10", kKickChamber),
    KeyPose("h32b_ｹﾘL1_20", kKickOut),
    KeyPose("h32b_ﾗｹｯﾄ1_20", kForeBack),
    KeyPose("h32b_ﾗｹｯﾄ1_30", kForeHit),
    KeyPose("h32b_ﾗｹｯﾄ1_40", kForeFollow),
    KeyPose("h32b_ﾗｹｯﾄ2_20", kSideBack),
    KeyPose("h32b_ﾗｹｯﾄ2_34", kSideHit),
    KeyPose("h32b_ﾗｹｯﾄ3_22", kBackDraw),
    KeyPose("h32b_ﾗｹｯﾄ3_34", kBackHit),
    KeyPose("h32b_ﾗｹｯﾄ4_18", kSmashCrouch),
    KeyPose("h32b_ﾗｹｯﾄ4_20", kSmashSpring),
    KeyPose("h32b_ﾗｹｯﾄ4_28", kSmashCock),
    KeyPose("h32b_ﾗｹｯﾄ4_30", kSmashArch),
    KeyPose("h32b_ﾗｹｯﾄ4_38", kSmashOver),
    KeyPose("h32b_ﾗｹｯﾄ4_40", kSmashHit),
    KeyPose("h32b_ﾗｹｯﾄ4_48", kSmashThrough),
    KeyPose("h32b_ﾗｹｯﾄ4_50", kSmashLand),
};

}  // namespace

extern const CKeyPoseTable kH32bPoses = {kRows, static_cast<int>(sizeof(kRows) / sizeof(kRows[0]))};
