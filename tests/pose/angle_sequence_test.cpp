// Angle-mode sequences on a robot record: which key's targets stand at which frame, how keys
// wrap, hold and stop, the body's order code, the twist on the body's yaw, and the key table.
#include "angle_keys.h"
#include "angle_sequences.h"
#include "joint_writer.h"
#include "key_pose_row.h"
#include "robot.h"

#include <gtest/gtest.h>

#include <set>
#include <utility>
#include <vector>

namespace {

// What CRobot::SetAnimation does to the pose clock.
void Start(CRobot& r, const char* name) {
    r.m_animName = name;
    r.m_animKey = 0;
    r.m_animFrame = 0;
    r.m_twistTarget = 0;
}

float Target(const CRobot& r, int joint, int axis) { return r.m_targetAngles[joint][axis]; }

// The targets a key writes after a reset, for comparing whole target sets.
struct Targets {
    float a[kJointCount][3] = {};
};
Targets KeyTargets(std::initializer_list<EAngleKey> keys) {
    Targets t;
    for (EAngleKey k : keys) ApplyAngleKey(k, t.a);
    return t;
}
bool SameTargets(const CRobot& r, const Targets& t) {
    for (int j = 0; j < kJointCount; ++j)
        for (int k = 0; k < 3; ++k) {
            float expect = t.a[j][k];
            if (j == kPartBody && k == kAxisY) expect += r.m_twistTarget;
            if (r.m_targetAngles[j][k] != expect) return false;
        }
    return true;
}

TEST(AngleSequence, KeysChangeOnTheirFramesAndWrapOrStop) {
    const Targets walkA = KeyTargets({kAngleKeyWalkLegsA, kAngleKeyWalkArmsA});
    const Targets walkB = KeyTargets({kAngleKeyWalkLegsB, kAngleKeyWalkArmsB});
    const Targets w3[4] = {KeyTargets({kAngleKeyWalk3A}), KeyTargets({kAngleKeyWalk3B}), KeyTargets({kAngleKeyWalk3C}),
                           KeyTargets({kAngleKeyWalk3D})};
    const Targets stagger = KeyTargets({kAngleKeyStagger}), staggerEnd = KeyTargets({kAngleKeyStaggerEnd});
    const Targets wreck[3] = {KeyTargets({kAngleKeyWreckA}), KeyTargets({kAngleKeyWreckB}), KeyTargets({kAngleKeyWreckC})};
    struct Step {
        int step;  // 1 = first SelectPose after the start
        int key, frame;
        const Targets* targets;
    };
    struct Case {
        const char* name;
        std::vector<Step> steps;
    } cases[] = {
        {"歩行", {{1, 0, 1, &walkB}, {10, 0, 10, &walkB}, {11, 1, 1, &walkA}, {20, 1, 10, &walkA}, {21, 0, 1, &walkB}, {30, 0, 10, &walkB}}},
        {"歩行３", {{1, 0, 1, &w3[0]}, {5, 0, 5, &w3[0]}, {6, 1, 1, &w3[1]}, {11, 2, 1, &w3[2]}, {16, 3, 1, &w3[3]}, {21, 0, 1, &w3[0]}}},
        {"硬直", {{1, 0, 1, &stagger}, {100, 9, 10, &stagger}, {101, 10, 1, &staggerEnd}, {150, 14, 10, &staggerEnd}}},
        {"撃破", {{1, 0, 1, &wreck[0]}, {15, 1, 5, &wreck[0]}, {21, 2, 1, &wreck[1]}, {31, 3, 1, &wreck[2]}, {200, 19, 10, &wreck[2]}}},
    };
    for (const Case& c : cases) {
        CRobot r;
        Start(r, c.name);
        int step = 0;
        for (const Step& s : c.steps) {
            while (step < s.step) {
                r.SelectPose();
                ++step;
            }
            EXPECT_EQ(r.m_animKey, s.key) << c.name << " step " << s.step;
            EXPECT_EQ(r.m_animFrame, s.frame) << c.name << " step " << s.step;
            EXPECT_TRUE(SameTargets(r, *s.targets)) << c.name << " step " << s.step;
        }
    }

    // "歩行３" runs five frames a key; "撃破" never counts its key past 1000, "硬直" wraps past it.
    CRobot r;
    Start(r, "歩行３");
    r.SelectPose();
    EXPECT_EQ(r.m_animKeyFrames, 5);
    Start(r, "撃破");
    r.m_animKey = 5000;
    r.SelectPose();
    EXPECT_EQ(r.m_animKey, 1000);
    r.m_animFrame = 10;
    r.SelectPose();
    EXPECT_EQ(r.m_animKey, 1000);
    EXPECT_TRUE(SameTargets(r, w3[0]));  // a held key: the last written targets stand
    Start(r, "硬直");
    r.m_animKey = 1000;
    r.m_animFrame = 10;
    r.SelectPose();
    EXPECT_EQ(r.m_animKey, 0);
    EXPECT_TRUE(SameTargets(r, stagger));
}

TEST(AngleSequence, SequencesWriteTheirVariantsOfTheKeys) {
    struct Case {
        const char* name;
        EAngleKey key;
        int joint, axis;
        float value;  // the variant's own write over the key
        int keyFrames;
    } cases[] = {
        {"右歩行", kAngleKeyWalkLegsB, kPartBody, kAxisY, 1.57f, 10},
        {"左歩行", kAngleKeyWalkLegsB, kPartHead, kAxisY, 1.57f, 10},
        {"右斜歩行", kAngleKeyWalkLegsB, kPartHead, kAxisY, -0.785f, 10},
        {"左斜歩行", kAngleKeyWalkLegsB, kPartBody, kAxisY, -0.785f, 10},
        {"右ダッシュ", kAngleKeyDash, kPartBody, kAxisY, 1.57f, 10},
        {"左ダッシュ", kAngleKeyDash, kPartBody, kAxisY, -1.57f, 10},
        {"空中ダッシュ", kAngleKeyDash, kPartHead, kAxisX, 0.8f, 4},
        {"ダッシュ４", kAngleKeyDash4A, kPartThighR, kAxisX, 2.37f, 4},
        {"飛行20", kAngleKeyFlight20, kPartThighL, kAxisZ, 1.57f, 10},
        {"格闘＿キック", kAngleKeyStance, kPartWaist, kAxisY, -0.5f, 10},
    };
    for (const Case& c : cases) {
        CRobot r;
        Start(r, c.name);
        r.SelectPose();
        EXPECT_FLOAT_EQ(Target(r, c.joint, c.axis), c.value) << c.name;
        EXPECT_EQ(r.m_animKeyFrames, c.keyFrames) << c.name;
        const CAngleKey& key = kAngleKeys[c.key];
        for (int i = 0; i < key.count; ++i) {
            const CAngleTarget& t = key.targets[i];
            if (t.joint == c.joint && t.axis == c.axis) continue;
            if (t.joint == kPartBody && t.axis == kAxisY) continue;
            if (t.joint == kPartHead && t.axis == kAxisY && std::string(c.name).find("歩行") != std::string::npos) continue;
            EXPECT_FLOAT_EQ(Target(r, t.joint, t.axis), t.value) << c.name << " joint " << t.joint;
        }
    }
    // "空中ダッシュ" stays at key 0 however long it runs.
    CRobot r;
    Start(r, "空中ダッシュ");
    for (int i = 0; i < 30; ++i) r.SelectPose();
    EXPECT_EQ(r.m_animKey, 0);
}

TEST(AngleSequence, JumpFollowsTheVerticalSpeedAndLeansWithTheForwardSpeed) {
    CRobot r;
    Start(r, "ジャンプ");
    r.m_moveSpeed[0] = -0.25;
    for (int i = 0; i < 10; ++i) r.SelectPose();
    EXPECT_TRUE(SameTargets(r, KeyTargets({kAngleKeyCrouch})));  // key 0: no lean yet
    r.m_velocity[1] = 0.2;
    r.SelectPose();  // key 1 rising: the take-off, leaning by the speed
    Targets takeOff = KeyTargets({kAngleKeyTakeOff});
    takeOff.a[kPartBody][kAxisX] = -0.25f;
    EXPECT_TRUE(SameTargets(r, takeOff));
    for (int i = 0; i < 10; ++i) r.SelectPose();  // key 2 rising: held, only the lean is written
    r.m_moveSpeed[0] = -0.1;
    r.SelectPose();
    takeOff.a[kPartBody][kAxisX] = -0.1f;
    EXPECT_TRUE(SameTargets(r, takeOff));
    r.m_velocity[1] = -0.05;
    r.SelectPose();  // falling: the fall key every step
    Targets fall = KeyTargets({kAngleKeyFall});
    fall.a[kPartBody][kAxisX] = -0.1f;
    EXPECT_TRUE(SameTargets(r, fall));
}

TEST(AngleSequence, WalkTwoKeepsWhatWalkThreeSet) {
    CRobot r;
    Start(r, "歩行３");
    for (int i = 0; i < 3; ++i) r.SelectPose();
    Start(r, "歩行２");
    for (int i = 0; i < 12; ++i) r.SelectPose();
    EXPECT_EQ(r.m_animKeyFrames, 5);
    EXPECT_EQ(r.m_animKey, 2);  // 5 frames a key: step 12 is frame 2 of key 2
    EXPECT_FLOAT_EQ(Target(r, kPartHead, kAxisX), 0.5f);
    EXPECT_FLOAT_EQ(Target(r, kPartBody, kAxisX), -0.5f);
    EXPECT_FLOAT_EQ(Target(r, kPartThighL, kAxisX), 1.0f);  // the B stride of key 2
}

TEST(AngleSequence, UnknownNamesStraightenEverything) {
    for (const char* name : {"", "歩行４", "ブレード２", "no such animation"}) {
        CRobot r;
        Start(r, "構え");
        r.SelectPose();
        r.m_rotationOrder[4] = 6;
        r.m_targetAngles[13][2] = 2.0f;
        Start(r, name);
        r.SelectPose();
        EXPECT_EQ(FindAngleSequence(name), -1) << name;
        for (int j = 0; j < kJointCount; ++j)
            for (int k = 0; k < 3; ++k) EXPECT_EQ(Target(r, j, k), 0.0f) << name << " " << j << "," << k;
        for (int j = 0; j < kRotationOrderCount; ++j) EXPECT_EQ(r.m_rotationOrder[j], j == kPartBody ? 3 : 1) << name << " " << j;
        EXPECT_EQ(r.m_animKeyFrames, 10);
    }
    for (int s = 0; s < kAngleSequenceCount; ++s) EXPECT_EQ(FindAngleSequence(GetAngleSequenceName(s)), s);
}

// A twist held through a held key keeps the body at the key's yaw plus the twist; it must not
// add up step after step.
TEST(AngleSequence, TwistOnAHeldKeyDoesNotAccumulate) {
    struct Case {
        const char* name;
        float keyYaw;
    } cases[] = {{"ダッシュ", 0.0f}, {"右ダッシュ", 1.57f}, {"構え", 0.0f}, {"ショット", -1.0f}, {"歩行２", 0.0f}};
    for (const Case& c : cases) {
        CRobot r;
        Start(r, c.name);
        for (int step = 1; step <= 40; ++step) {
            r.m_twistTarget = step <= 30 ? 0.785f : -2.356f;
            r.SelectPose();
            EXPECT_FLOAT_EQ(Target(r, kPartBody, kAxisY), c.keyYaw + r.m_twistTarget) << c.name << " step " << step;
        }
        r.m_twistTarget = 0;
        r.SelectPose();
        EXPECT_FLOAT_EQ(Target(r, kPartBody, kAxisY), c.keyYaw) << c.name;
        EXPECT_EQ(r.m_rotationOrder[kPartBody], kRotationOrderBody);
    }
}

TEST(AngleKeys, ResetClearAndTheKeyTable) {
    CRobot r;
    for (int j = 0; j < kJointCount; ++j)
        for (int k = 0; k < 3; ++k) r.m_targetAngles[j][k] = 0.5f;
    r.ClearAngleTargets();
    int cleared = 0;
    for (int j = 0; j < kJointCount; ++j)
        for (int k = 0; k < 3; ++k) cleared += r.m_targetAngles[j][k] == 0.0f;
    EXPECT_EQ(cleared, 15);  // exactly the targets the flight key writes
    EXPECT_EQ(Target(r, kPartWaist, kAxisX), 0.0f);
    EXPECT_EQ(Target(r, kPartWaist, kAxisY), 0.5f);

    r.m_rotationOrder[11] = 4;
    r.m_animKeyFrames = 4;
    r.ResetAngleTargets();
    for (int j = 0; j < kRotationOrderCount; ++j) EXPECT_EQ(r.m_rotationOrder[j], 1);
    for (int j = 0; j < kJointCount; ++j)
        for (int k = 0; k < 3; ++k) EXPECT_EQ(Target(r, j, k), 0.0f);
    EXPECT_EQ(r.m_animKeyFrames, 10);

    // Every key writes body-part targets only, each at most once, and its setter writes
    // exactly its span.
    void (CRobot::*setters[kAngleKeyCount])() = {
        &CRobot::SetAngleKeyFlight,     &CRobot::SetAngleKeyWalkLegsA,  &CRobot::SetAngleKeyWalkLegsB,
        &CRobot::SetAngleKeyWalkArmsA,  &CRobot::SetAngleKeyWalkArmsB,  &CRobot::SetAngleKeyStance,
        &CRobot::SetAngleKeyStanceRest, &CRobot::SetAngleKeyCrouch,     &CRobot::SetAngleKeyTakeOff,
        &CRobot::SetAngleKeyFall,       &CRobot::SetAngleKeyTurnRight,  &CRobot::SetAngleKeyTurnLeft,
        &CRobot::SetAngleKeyDash,       &CRobot::SetAngleKeyStagger,    &CRobot::SetAngleKeyStaggerEnd,
        &CRobot::SetAngleKeyShot,       &CRobot::SetAngleKeyShotRecoil, &CRobot::SetAngleKeyDashShotA,
        &CRobot::SetAngleKeyDashShotB,  &CRobot::SetAngleKeyWreckA,     &CRobot::SetAngleKeyWreckB,
        &CRobot::SetAngleKeyWreckC,     &CRobot::SetAngleKeyHitStun,    &CRobot::SetAngleKeySubShot,
        &CRobot::SetAngleKeySubShotRecoil, &CRobot::SetAngleKeyBladeReady, &CRobot::SetAngleKeyBladeSwing,
        &CRobot::SetAngleKeyWalk3A,     &CRobot::SetAngleKeyWalk3B,     &CRobot::SetAngleKeyWalk3C,
        &CRobot::SetAngleKeyWalk3D,     &CRobot::SetAngleKeyDash4A,     &CRobot::SetAngleKeyDash4B,
        &CRobot::SetAngleKeyDash4C,     &CRobot::SetAngleKeyDash4D,     &CRobot::SetAngleKeyDoubleShot,
        &CRobot::SetAngleKeyFlight20,   &CRobot::SetAngleKeyPunch,      &CRobot::SetAngleKeyKickA,
        &CRobot::SetAngleKeyKickB,
    };
    const int counts[kAngleKeyCount] = {15, 4, 4, 4, 4, 13, 8, 14, 14, 15, 18, 18, 11, 17, 13, 15, 15, 12, 12, 9,
                                        10, 11, 12, 15, 15, 15, 17, 11, 10, 11, 10, 11, 10, 11, 10, 13, 19, 13, 16, 14};
    for (int key = 0; key < kAngleKeyCount; ++key) {
        const CAngleKey& k = kAngleKeys[key];
        EXPECT_EQ(k.count, counts[key]) << key;
        std::set<std::pair<int, int>> written;
        CRobot s;
        for (int j = 0; j < kJointCount; ++j)
            for (int a = 0; a < 3; ++a) s.m_targetAngles[j][a] = 9.0f;
        (s.*setters[key])();
        for (int i = 0; i < k.count; ++i) {
            ASSERT_GE(k.targets[i].joint, 0);
            ASSERT_LT(k.targets[i].joint, kRobotPartCount) << key;
            ASSERT_GE(k.targets[i].axis, 0);
            ASSERT_LT(k.targets[i].axis, 3) << key;
            EXPECT_TRUE(written.insert({k.targets[i].joint, k.targets[i].axis}).second) << "key " << key << " item " << i;
            EXPECT_EQ(s.m_targetAngles[k.targets[i].joint][k.targets[i].axis], k.targets[i].value) << key;
        }
        int untouched = 0;
        for (int j = 0; j < kJointCount; ++j)
            for (int a = 0; a < 3; ++a) untouched += s.m_targetAngles[j][a] == 9.0f;
        EXPECT_EQ(untouched, kJointCount * 3 - k.count) << key;
    }

    // A few keys as the rules write them (joint, axis, radians), each whole: the table above
    // is only checked against itself.
    struct SWrite {
        int joint, axis;
        float value;
    };
    struct SKeyCase {
        void (CRobot::*setter)();
        std::vector<SWrite> writes;
    };
    const SKeyCase keyCases[] = {
        {&CRobot::SetAngleKeyWalkLegsA,
         {{kPartThighL, kAxisX, -1}, {kPartShinL, kAxisX, 0}, {kPartThighR, kAxisX, 1}, {kPartShinR, kAxisX, -1}}},
        {&CRobot::SetAngleKeyStanceRest,
         {{kPartUpperArmL, kAxisX, -0.2f}, {kPartUpperArmL, kAxisZ, 0.2f}, {kPartForearmL, kAxisX, 0.6f},
          {kPartUpperArmR, kAxisX, -0.2f}, {kPartUpperArmR, kAxisZ, -0.2f}, {kPartForearmR, kAxisX, 0.6f},
          {kPartThighL, kAxisZ, 0.15f}, {kPartThighR, kAxisZ, -0.15f}}},
        {&CRobot::SetAngleKeyWreckC,
         {{kPartBody, kAxisX, 1.47f}, {kPartBody, kAxisY, -1.47f}, {kPartUpperArmL, kAxisX, 1},
          {kPartForearmL, kAxisX, 1.47f}, {kPartForearmL, kAxisZ, -1.47f}, {kPartUpperArmR, kAxisX, 3.14f},
          {kPartForearmR, kAxisX, 1.47f}, {kPartForearmR, kAxisZ, 1.47f}, {kPartThighR, kAxisX, 0.5f},
          {kPartShinR, kAxisX, -1.47f}, {kPartShinR, kAxisZ, 1.47f}}},
        {&CRobot::SetAngleKeyKickB,
         {{kPartHead, kAxisY, 0}, {kPartBody, kAxisY, 0}, {kPartWaist, kAxisY, -1.57f}, {kPartWaist, kAxisZ, -0.785f},
          {kPartUpperArmL, kAxisX, -0.3f}, {kPartUpperArmL, kAxisZ, 0.8f}, {kPartForearmL, kAxisX, 1.3f},
          {kPartUpperArmR, kAxisX, 0}, {kPartUpperArmR, kAxisZ, -0.8f}, {kPartForearmR, kAxisX, 0},
          {kPartThighL, kAxisX, 0.5f}, {kPartThighL, kAxisZ, 0.785f}, {kPartShinL, kAxisX, -1},
          {kPartThighR, kAxisZ, -0.785f}}},
    };
    for (size_t c = 0; c < sizeof keyCases / sizeof keyCases[0]; ++c) {
        CRobot s;
        for (int j = 0; j < kJointCount; ++j)
            for (int a = 0; a < 3; ++a) s.m_targetAngles[j][a] = 9.0f;
        (s.*keyCases[c].setter)();
        int untouched = 0;
        for (int j = 0; j < kJointCount; ++j)
            for (int a = 0; a < 3; ++a) untouched += s.m_targetAngles[j][a] == 9.0f;
        EXPECT_EQ(untouched, kJointCount * 3 - (int)keyCases[c].writes.size()) << "case " << c;
        for (const SWrite& w : keyCases[c].writes)
            EXPECT_EQ(s.m_targetAngles[w.joint][w.axis], w.value) << "case " << c << " joint " << w.joint << " axis " << w.axis;
    }
}

}  // namespace
