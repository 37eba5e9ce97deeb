// Postures that several key-pose families start from: the ready stance, the walking and running
// strides, the aimed arm. Each family's recipes adjust these, so related poses stay alike.
#pragma once

#include "key_pose_recipe.h"

namespace pose_base {

// Standing at ease, every part straight.
constexpr CPoseRecipe kStraight{};

// The ready stance: knees soft, left foot ahead, fists up at the chest.
constexpr CPoseRecipe kReady = CPoseRecipe{}
                                   .Head(0.05)
                                   .Body(-0.08, 0.1)
                                   .Waist(0.08, -0.1)
                                   .ArmL(0.25, 0, 0.25)
                                   .ForearmL(1.1)
                                   .ArmR(0.15, 0, -0.25)
                                   .ForearmR(1.0)
                                   .ThighL(0.35, 0, 0.12)
                                   .ShinL(-0.5)
                                   .ThighR(0.0, 0, -0.14)
                                   .ShinR(-0.25);

// A stride with the left foot planted ahead: reach is the forward swing of the leading thigh,
// swing the arms' counter-swing, lean the forward bow of the body (the legs stay upright).
constexpr CPoseRecipe StrideContact(float reach, float swing, float lean, float elbow) {
    return CPoseRecipe{}
        .Head(lean * 0.6f)
        .Body(-lean)
        .Waist(lean)
        .ArmL(-swing, 0, 0.1f)
        .ForearmL(elbow)
        .ArmR(swing, 0, -0.1f)
        .ForearmR(elbow + swing * 0.5f)
        .ThighL(reach)
        .ShinL(-0.15f)
        .ThighR(-reach * 0.7f)
        .ShinR(-0.4f);
}

// The passing moment after it: the left leg carries the weight, the right knee swings through
// lifted by lift.
constexpr CPoseRecipe StridePassing(float lift, float swing, float lean, float elbow) {
    return CPoseRecipe{}
        .Head(lean * 0.6f)
        .Body(-lean)
        .Waist(lean)
        .ArmL(swing * 0.2f, 0, 0.1f)
        .ForearmL(elbow)
        .ArmR(-swing * 0.2f, 0, -0.1f)
        .ForearmR(elbow)
        .ThighL(-0.1f)
        .ShinL(-0.1f)
        .ThighR(lift)
        .ShinR(-lift * 1.8f);
}

// A running step: the left knee driven up ahead, the right leg pushing off behind.
constexpr CPoseRecipe RunDrive(float drive, float swing, float lean) {
    return CPoseRecipe{}
        .Head(lean * 0.7f)
        .Body(-lean)
        .Waist(lean * 0.6f)
        .ArmL(-swing, 0, 0.15f)
        .ForearmL(1.5f)
        .ArmR(swing, 0, -0.15f)
        .ForearmR(1.5f)
        .ThighL(drive)
        .ShinL(-drive * 1.1f)
        .ThighR(-0.6f)
        .ShinR(-0.5f);
}

// The right arm held straight out at the target.
constexpr CPoseRecipe AimRight(const CPoseRecipe& from) {
    return from.Body(-0.05f, 0.35f).Head(0.0f, -0.35f).ArmR(1.5f, 0, 0.35f).ForearmR(0.05f).ArmL(0.1f, 0, 0.25f).ForearmL(1.0f);
}

}  // namespace pose_base
