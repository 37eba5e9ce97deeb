// The "h29_" key-pose table, second in look-up order: the boosted dash with its brakes, guard,
// knock-down (tumble, lying face down or face up), shoulder missiles, boost jumps and the
// sliding blade swing.
#include "common_recipes_motion.h"
#include "key_pose_tables.h"

namespace {

using pose_base::kReady;

// Brakes: after a dash to the left (stored twist below 0), and after any other dash.
constexpr CPoseRecipe kBrakeLeft = common_motion::kStopLeft.Body(-0.15, 0, 0.4).Waist(0.15, 0, -0.4).ThighL(0.3, 0, 0.9).ThighR(0.8, 0, 0.1).ShinR(-1.6);
constexpr CPoseRecipe kBrakeLeftEase = kReady.Body(-0.1, 0, 0.15).Waist(0.1, 0, -0.15).ThighL(0.2, 0, 0.4);
constexpr CPoseRecipe kBrakeFront = common_motion::kStopFront.Body(0.4).Waist(-0.4).ThighL(1.0).ShinL(-0.3).ThighR(0.5).ShinR(-1.7);
constexpr CPoseRecipe kBrakeFrontEase = kReady.Body(0.05).Waist(-0.05);

// Guard: forearms crossed up before the face, knees bent behind them.
constexpr CPoseRecipe kGuardRise = kReady.Body(-0.15).Waist(0.15).Head(0.2).ArmL(1.0, 0, -0.1).ForearmL(1.6).ArmR(1.0, 0, 0.1).ForearmR(1.6);
constexpr CPoseRecipe kGuardHold = kGuardRise.Body(-0.3).Waist(0.3).Head(0.35).ArmL(1.25, 0, -0.45).ForearmL(1.75, 0, -0.3).ArmR(1.25, 0, 0.45).ForearmR(1.75, 0, 0.3)
                                       .ThighL(0.7, 0, 0.2).ShinL(-1.1).ThighR(0.35, 0, -0.2).ShinR(-0.8);
constexpr CPoseRecipe kGuardLower = kGuardHold.ArmL(0.7, 0, -0.2).ForearmL(1.5).ArmR(0.7, 0, 0.2).ForearmR(1.5).ThighL(0.45, 0, 0.15).ShinL(-0.7);

// Blown away: a backward tumble in three beats (run in reverse when falling on the face).
constexpr CPoseRecipe kTumbleA = CPoseRecipe{}.Head(-0.5).Body(0.7).Waist(-0.1).ArmL(2.2, 0, 0.6).ForearmL(0.4).ArmR(2.0, 0, -0.7).ForearmR(0.5)
                                     .ThighL(1.0).ShinL(-0.6).ThighR(0.6).ShinR(-0.4);
constexpr CPoseRecipe kTumbleB = CPoseRecipe{}.Head(0.3).Body(1.3).Waist(0.2).ArmL(1.2, 0, 1.0).ForearmL(0.8).ArmR(1.0, 0, -1.1).ForearmR(0.9)
                                     .ThighL(1.6).ShinL(-1.6).ThighR(1.3).ShinR(-1.9);
constexpr CPoseRecipe kTumbleC = CPoseRecipe{}.Head(0.4).Body(0.35).Waist(0.3).ArmL(0.4, 0, 1.3).ForearmL(0.3).ArmR(0.3, 0, -1.3).ForearmR(0.4)
                                     .ThighL(1.2).ShinL(-2.2).ThighR(0.9).ShinR(-1.4);

// Lying face down: falling forward onto the hands, the bounce, flat on the ground.
constexpr CPoseRecipe kFaceDownFall = CPoseRecipe{}.Head(-0.6).Body(-1.0).Waist(0.1).ArmL(2.0, 0, 0.4).ForearmL(0.3).ArmR(2.0, 0, -0.4).ForearmR(0.3)
                                          .ThighL(-0.1).ShinL(-0.4).ThighR(0.1).ShinR(-0.6);
constexpr CPoseRecipe kFaceDownBounce = kFaceDownFall.Body(-1.3).Waist(-0.1).ThighL(-0.4).ShinL(-0.9).ThighR(-0.3).ShinR(-1.1).ArmL(2.4, 0, 0.8).ArmR(2.4, 0, -0.8);
constexpr CPoseRecipe kFaceDown = CPoseRecipe{}.Head(-0.4, 0.5).Body(-1.5).ArmL(2.7, 0, 0.6).ForearmL(1.3).ArmR(2.5, 0, -0.8).ForearmR(1.0)
                                      .ThighL(0.0, 0, 0.1).ShinL(-0.1).ThighR(0.05, 0, -0.15).ShinR(-0.3);
// Lying face up: falling back, the bounce, flat on the back.
constexpr CPoseRecipe kFaceUpFall = CPoseRecipe{}.Head(0.4).Body(1.0).Waist(-0.1).ArmL(1.4, 0, 0.9).ForearmL(0.5).ArmR(1.4, 0, -0.9).ForearmR(0.5)
                                        .ThighL(0.9).ShinL(-0.5).ThighR(0.6).ShinR(-0.9);
constexpr CPoseRecipe kFaceUpBounce = kFaceUpFall.Body(1.25).ThighL(1.3).ShinL(-0.8).ThighR(1.0).ShinR(-1.2).ArmL(1.0, 0, 1.3).ArmR(1.0, 0, -1.3);
constexpr CPoseRecipe kFaceUp = CPoseRecipe{}.Head(0.35, -0.4).Body(1.5).ArmL(0.4, 0, 1.0).ForearmL(0.3).ArmR(0.3, 0, -0.9).ForearmR(0.6)
                                    .ThighL(0.1, 0, 0.15).ShinL(-0.2).ThighR(0.35, 0, -0.1).ShinR(-0.8);

// Shoulder missiles: bowed and braced so the launchers point ahead, then the kick of the launch.
constexpr CPoseRecipe kShoulderBrace = kReady.Body(-0.35).Waist(0.35).Head(-0.3).ArmL(0.3, 0, 0.5).ForearmL(1.3).ArmR(0.3, 0, -0.5).ForearmR(1.3)
                                           .ThighL(0.6, 0, 0.25).ShinL(-0.9).ThighR(0.3, 0, -0.25).ShinR(-0.7);
constexpr CPoseRecipe kShoulderKick = kShoulderBrace.Body(-0.1).Waist(0.1).Head(-0.4).ArmL(0.1, 0, 0.6).ArmR(0.1, 0, -0.6);

// Boosted dash: bowed low, skating from one leg to the other, arms trailing.
constexpr CPoseRecipe kSkatePush = CPoseRecipe{}.Head(-0.5).Body(-0.6).Waist(0.35).ArmL(-0.7, 0, 0.35).ForearmL(0.5).ArmR(-0.5, 0, -0.35).ForearmR(0.6)
                                       .ThighL(0.9, 0, 0.1).ShinL(-1.3).ThighR(-0.5, 0, -0.25).ShinR(-0.2);
constexpr CPoseRecipe kSkateGlide = kSkatePush.ThighL(0.8, 0, 0.1).ShinL(-1.1).ThighR(-0.2, 0, -0.1).ShinR(-0.6);
constexpr CPoseRecipe kSkateGather = kSkatePush.ThighL(0.7, 0, 0.05).ShinL(-1.0).ThighR(0.4, 0, -0.05).ShinR(-1.3);

// Boost jumps: shooting straight up with the legs trailing, or dropping with the knees drawn in.
constexpr CPoseRecipe kBoostUp = CPoseRecipe{}.Head(-0.45).Body(0.05).ArmL(-0.45, 0, 0.4).ForearmL(0.15).ArmR(-0.45, 0, -0.4).ForearmR(0.15)
                                     .ThighL(-0.1, 0, 0.05).ShinL(-0.35).ThighR(-0.2, 0, -0.05).ShinR(-0.25);
constexpr CPoseRecipe kBoostDown = CPoseRecipe{}.Head(0.45).Body(-0.2).Waist(0.2).ArmL(1.6, 0, 0.9).ForearmL(0.5).ArmR(1.6, 0, -0.9).ForearmR(0.5)
                                       .ThighL(1.3, 0, 0.1).ShinL(-1.9).ThighR(1.2, 0, -0.1).ShinR(-1.9);

// Sliding swing of the left blade: drawn across to the right, swept out, carried round behind.
constexpr CPoseRecipe kSlideLegs = CPoseRecipe{}.ThighL(0.25, 0, 0.75).ShinL(-0.2).ThighR(1.0, 0, -0.1).ShinR(-1.8);
constexpr CPoseRecipe kSlideDraw = kSlideLegs.Head(0.1, -0.5).Body(-0.3, 0.6, 0.2).Waist(0.3, -0.4, -0.2).ArmL(1.9, 0, -0.8).ForearmL(1.1).ArmR(0.3, 0, -0.5).ForearmR(1.2);
constexpr CPoseRecipe kSlideSweep = kSlideLegs.Head(0.1, 0.0).Body(-0.3, 0.0, 0.2).Waist(0.3, 0.0, -0.2).ArmL(1.5, 0, 0.5).ForearmL(0.1).ArmR(-0.2, 0, -0.5).ForearmR(1.0);
constexpr CPoseRecipe kSlideFollow = kSlideLegs.Head(0.1, 0.5).Body(-0.3, -0.7, 0.2).Waist(0.3, 0.5, -0.2).ArmL(1.0, 0, 1.4).ForearmL(0.1).ArmR(-0.3, 0, -0.4).ForearmR(1.2);

constexpr CKeyPoseRow kRows[] = {
    KeyPose("h29_ブレーキ_10", kBrakeLeft),
    KeyPose("h29_ブレーキ_20", kBrakeLeftEase),
    KeyPose("h29_ブレーキ2_10", kBrakeFront),
    KeyPose("h29_ブレーキ2_20", kBrakeFrontEase),
    KeyPose("h29_ガード_10", kGuardRise),
    KeyPose("h29_ガード_20", kGuardHold),
    KeyPose("h29_ガード_30", kGuardLower),
    KeyPose("h29_吹っ飛び_10", kTumbleA),
    KeyPose("h29_吹っ飛び_20", kTumbleB),
    KeyPose("h29_吹っ飛び_30", kTumbleC),
    KeyPose("h29_うつ伏せ_10", kFaceDownFall),
    KeyPose("h29_うつ伏せ_20", kFaceDownBounce),
    KeyPose("h29_うつ伏せ_30", kFaceDown),
    KeyPose("h29_仰向け_10", kFaceUpFall),
    KeyPose("h29_仰向け_20", kFaceUpBounce),
    KeyPose("h29_仰向け_30", kFaceUp),
    KeyPose("h29_肩武器_20", kShoulderBrace),
    KeyPose("h29_肩武器_30", kShoulderKick),
    KeyPose("h29_ダッシュ2_4", kSkatePush),
    KeyPose("h29_ダッシュ2_8", kSkateGlide),
    KeyPose("h29_ダッシュ2_12", kSkateGather),
    KeyPose("h29_ダッシュ2_16", kSkatePush.Mirrored()),
    KeyPose("h29_ダッシュ2_20", kSkateGlide.Mirrored()),
    KeyPose("h29_ダッシュ2_24", kSkateGather.Mirrored()),
    KeyPose("h29_ブーストジャンプ_20", kBoostUp),
    KeyPose("h29_ブーストジャンプ_40", kBoostDown),
    KeyPose("h29_ブレード左滑り振り_10", kSlideDraw),
    KeyPose("h29_ブレード左滑り振り_20", kSlideSweep),
    KeyPose("h29_ブレード左滑り振り_40", kSlideFollow),
};

}  // namespace

extern const CKeyPoseTable kH29Poses = {kRows, static_cast<int>(sizeof(kRows) / sizeof(kRows[0]))};
