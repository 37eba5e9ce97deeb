// Key poses on a hand-built body: the even-rate slerp toward a row, its end and its edge cases,
// and the tables themselves (names, order, the rows the game's data fixes, unit length, the
// recipes' agreement with the joint writer's turns).
#include "key_pose.h"
#include "key_pose_recipe.h"
#include "node.h"
#include "pose_names.h"
#include "robot.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <set>
#include <string>

namespace {

// Eleven body parts hung like a robot's: body at the top, head, waist and arms under it,
// forearms under the arms, thighs under the waist, shins under the thighs.
struct Body {
    C3DObject parts[kPoseParts];
    Body() {
        const int parent[kPoseParts] = {1, -1, 1, 1, 3, 1, 5, 2, 7, 2, 9};
        for (int i = 0; i < kPoseParts; ++i) {
            parts[i].SetLocalPosition(0.1f * i, -0.2f, 0.0f);
            if (parent[i] >= 0) parts[i].m_parent = &parts[parent[i]];
        }
    }
};

Quat Applied(const CStoredQuat& q) { return Quat(-q.x, -q.y, q.z, q.w); }

// The angle between two rotations (radians), whatever the quaternions' signs.
float ArcBetween(const Quat& a, const Quat& b) {
    float d = std::fabs(QuatDot(QuatNormalize(a), QuatNormalize(b)));
    return 2.0f * std::acos(std::fmin(d, 1.0f));
}

const CKeyPoseRow& Row(const char* name) {
    const CKeyPoseRow* row = FindAnyKeyPose(name);
    EXPECT_NE(row, nullptr) << "no row";
    static CKeyPoseRow none{};
    return row ? *row : none;
}

// Runs the pose update's table pass for `steps` steps of a pose of `duration` steps.
int RunPose(Body& body, const std::string& name, int duration, int steps, int frame = 0) {
    for (int s = 0; s < steps; ++s) {
        frame = AdvanceKeyPoseFrame(frame, duration);
        for (const CKeyPoseTable* table : kKeyPoseTables) ApplyKeyPoseTable(*table, name, frame, duration, body.parts);
    }
    return frame;
}

TEST(KeyPoseStep, BlendCoversTheRemainingArcEvenly) {
    struct Case {
        int frame, duration;
        float blend;
    } cases[] = {
        {1, 10, 0.1f}, {2, 10, 1.0f / 9}, {5, 10, 1.0f / 6}, {10, 10, 1.0f}, {0, 0, 1.0f}, {-3, -3, 1.0f}, {1, 1, 1.0f},
        // Beyond the float range of exact integers the steps left still count right.
        {2147483646, 2147483647, 0.5f},
    };
    for (const Case& c : cases) EXPECT_FLOAT_EQ(KeyPoseBlend(c.frame, c.duration), c.blend) << c.frame << "/" << c.duration;

    struct Advance {
        int frame, duration, next;
    } advances[] = {{0, 10, 1}, {9, 10, 10}, {10, 10, 10}, {0, 0, 0}, {0, -3, -3}, {2147483647, 2147483647, 2147483647}};
    for (const Advance& a : advances) EXPECT_EQ(AdvanceKeyPoseFrame(a.frame, a.duration), a.next);
}

TEST(KeyPoseStep, HalfWayAfterHalfTheStepsAndExactAtTheEnd) {
    Body body;
    const CKeyPoseRow& row = Row("ブレード_10");
    Quat start[kPoseParts];
    for (int i = 0; i < kPoseParts; ++i) start[i] = body.parts[i].GetRotationQuaternion();

    int frame = RunPose(body, "ブレード_10", 10, 5);
    EXPECT_EQ(frame, 5);
    for (int i = 0; i < kPoseParts; ++i) {
        float whole = ArcBetween(start[i], Applied(row.parts[i]));
        EXPECT_NEAR(ArcBetween(start[i], body.parts[i].GetRotationQuaternion()), whole / 2, 2e-3f) << "part " << i;
        EXPECT_NEAR(ArcBetween(body.parts[i].GetRotationQuaternion(), Applied(row.parts[i])), whole / 2, 2e-3f) << "part " << i;
    }
    frame = RunPose(body, "ブレード_10", 10, 5, frame);
    EXPECT_EQ(frame, 10);
    for (int extra = 0; extra < 3; ++extra) {
        for (int i = 0; i < kPoseParts; ++i) EXPECT_LT(ArcBetween(body.parts[i].GetRotationQuaternion(), Applied(row.parts[i])), 1e-3f) << "part " << i;
        frame = RunPose(body, "ブレード_10", 10, 1, frame);
        EXPECT_EQ(frame, 10);
    }
}

TEST(KeyPoseStep, ZeroOrNegativeDurationTakesThePoseAtOnce) {
    for (int duration : {0, -3}) {
        Body body;
        RunPose(body, "h29_ガード_20", duration, 1);
        const CKeyPoseRow& row = Row("h29_ガード_20");
        for (int i = 0; i < kPoseParts; ++i) EXPECT_LT(ArcBetween(body.parts[i].GetRotationQuaternion(), Applied(row.parts[i])), 1e-3f) << duration;
    }
}

TEST(KeyPoseStep, UnknownNamesMoveNothing) {
    for (const char* name : {"", "no such pose", "ブレード_1", "h32b_ラケット1_20", "正面 "}) {
        Body body;
        body.parts[3].RotateX(0.4f);
        Mat4 before[kPoseParts];
        for (int i = 0; i < kPoseParts; ++i) body.parts[i].GetMatrix(&before[i]);
        EXPECT_EQ(FindAnyKeyPose(name), nullptr) << name;
        EXPECT_EQ(RunPose(body, name, 4, 6), 4);  // the counter still runs to the duration
        for (int i = 0; i < kPoseParts; ++i) {
            Mat4 after;
            body.parts[i].GetMatrix(&after);
            EXPECT_TRUE(MatrixEqual(after, before[i])) << name << " part " << i;
        }
    }
    // A NUL inside the name ends nothing early: the whole text must match.
    EXPECT_EQ(FindAnyKeyPose(std::string("正面\0x", sizeof("正面\0x") - 1)), nullptr);
}

TEST(KeyPoseStep, RestartingAReachedPoseLeavesThePartsStill) {
    Body body;
    RunPose(body, "構え_30", 3, 3);
    Quat reached[kPoseParts];
    for (int i = 0; i < kPoseParts; ++i) reached[i] = body.parts[i].GetRotationQuaternion();
    RunPose(body, "構え_30", 6, 2);
    for (int i = 0; i < kPoseParts; ++i) EXPECT_LT(ArcBetween(body.parts[i].GetRotationQuaternion(), reached[i]), 1e-4f) << i;
}

TEST(KeyPoseStep, SlerpTakesTheShortWayAndPicksUpFromWhereThePartStands) {
    // The part stands at 170 degrees about Y; the target is stored with the opposite sign of the
    // nearby rotation at -170 degrees: the short way is 20 degrees through 180, not 340.
    C3DObject part;
    part.SetRotationQuaternion(QuatRotationAxis(Vec3(0, 1, 0), 170.0f * kPi / 180));
    Quat target = QuatRotationAxis(Vec3(0, 1, 0), -170.0f * kPi / 180);
    ASSERT_LT(QuatDot(part.GetRotationQuaternion(), target), 0);
    SlerpPartToward(0.5f, &part, -target.x, -target.y, target.z, target.w);
    EXPECT_LT(ArcBetween(part.GetRotationQuaternion(), QuatRotationAxis(Vec3(0, 1, 0), kPi)), 1e-3f);

    // SetPartRotation applies the stored-sign convention directly.
    SetPartRotation(&part, 0.3f, 0.4f, 0.5f, std::sqrt(1 - 0.5f));
    Quat q = part.GetRotationQuaternion();
    EXPECT_LT(ArcBetween(q, Quat(-0.3f, -0.4f, 0.5f, std::sqrt(1 - 0.5f))), 1e-3f);
}

// The robot's own operations: SetPose stores what it is given, UpdatePose counts to the
// duration and runs the tables over the robot's first eleven frames only.
TEST(KeyPoseStep, RobotStoresThePoseAndStepsItsParts) {
    struct Case {
        const char* name;
        int frames;
        int afterTwo;  // the counter after two steps
        bool moves;
    } cases[] = {{"ブレード_10", 10, 2, true}, {"h32b_ﾗｹｯﾄ4_50", 0, 0, true}, {"", -3, -3, false}, {"no such pose", 5, 2, false}};
    for (const Case& c : cases) {
        CRobot r;
        r.m_poseFrame = 7;
        r.SetPose(c.name, c.frames);
        EXPECT_EQ(r.m_poseName, c.name);
        EXPECT_EQ(r.m_poseFrame, 0);
        EXPECT_EQ(r.m_poseDuration, c.frames);
        Mat4 root, hand;
        r.m_frames[kRootFrame].GetMatrix(&root);
        r.m_frames[kRightHandFrame].GetMatrix(&hand);
        r.UpdatePose();
        r.UpdatePose();
        EXPECT_EQ(r.m_poseFrame, c.afterTwo) << c.name;
        EXPECT_EQ(r.m_frames[kPartThighR].GetRotationQuaternion().w < 0.9999f, c.moves) << c.name;
        Mat4 rootAfter, handAfter;
        r.m_frames[kRootFrame].GetMatrix(&rootAfter);
        r.m_frames[kRightHandFrame].GetMatrix(&handAfter);
        EXPECT_TRUE(MatrixEqual(root, rootAfter) && MatrixEqual(hand, handAfter)) << c.name;
    }
}

TEST(KeyPoseTables, CountsOrderAndDistinctNames) {
    struct Expect {
        const CKeyPoseTable* table;
        const char* const* names;
        int count;
    } expects[] = {
        {&kCommonPoses, kCommonPoseNames, 228},
        {&kH29Poses, kH29PoseNames, 29},
        {&kH21H35Poses, kH21H35PoseNames, 52},
        {&kH32bPoses, kH32bPoseNames, 17},
    };
    std::set<std::string> seen;
    for (int t = 0; t < kKeyPoseTableCount; ++t) {
        const Expect& e = expects[t];
        EXPECT_EQ(kKeyPoseTables[t], e.table) << "look-up order";
        ASSERT_EQ(e.table->count, e.count) << t;
        for (int i = 0; i < e.count; ++i) {
            EXPECT_STREQ(e.table->rows[i].name, e.names[i]) << "table " << t << " row " << i;
            EXPECT_TRUE(seen.insert(e.table->rows[i].name).second) << "repeated name in table " << t << " row " << i;
            EXPECT_EQ(FindKeyPose(*e.table, e.names[i]), &e.table->rows[i]);
        }
    }
    EXPECT_EQ(seen.size(), 326u);
}

TEST(KeyPoseTables, EveryScriptPoseResolves) {
    for (const char* name : kScriptPoseNames) EXPECT_NE(FindAnyKeyPose(name), nullptr) << "row " << (&name - kScriptPoseNames);
}

TEST(KeyPoseTables, TextsMatchByteForByte) {
    // "構" ends in 0x5C in Shift-JIS: the name must still match whole, and only whole.
    std::string stance = "構え_00";
    ASSERT_NE(stance.find('\x5C'), std::string::npos);
    EXPECT_NE(FindAnyKeyPose(stance), nullptr);
    EXPECT_EQ(FindAnyKeyPose(stance.substr(0, stance.find('\x5C') + 1)), nullptr);
    // Half-width katakana rows match their own spelling only.
    EXPECT_NE(FindAnyKeyPose("h32b_ﾗｹｯﾄ1_20"), nullptr);
    EXPECT_NE(FindAnyKeyPose("h32_ﾀﾞｯｼｭ_8"), nullptr);
    EXPECT_EQ(FindAnyKeyPose("h32b_ラケット1_20"), nullptr);
    EXPECT_EQ(FindAnyKeyPose("h32_ダッシュ_8"), nullptr);
}

TEST(KeyPoseTables, FixedRowsKeepTheirNumbers) {
    const CStoredQuat odd{-3e-6f, 0, 0, 1}, even{3e-6f, 0, 0, 1}, straight{0, 0, 0, 1};
    const CStoredQuat front[kPoseParts] = {odd, even, straight, odd, even, odd, even, odd, even, odd, even};
    const CStoredQuat blade[kPoseParts] = {
        {-0.098803f, 0.368555f, 0.044656f, 0.923261f}, {0.145469f, -0.321692f, -0.050089f, 0.934261f},
        {0, 0.557745f, 0, 0.830012f},                  {-0.723649f, -0.365008f, 0.032492f, 0.584846f},
        {0.373338f, 0.507925f, 0.265612f, -0.729439f}, {0.454765f, 0, 0, 0.890611f},
        {-0.845257f, -0.008142f, -0.012885f, 0.534142f}, {0.037332f, 0.223906f, 0.3432f, 0.91142f},
        {0.32954f, 0.078521f, 0.011799f, 0.940797f},   {-0.716136f, -0.292231f, -0.344288f, 0.53218f},
        {0.827572f, 0, 0, 0.561359f}};
    CStoredQuat wing60[kPoseParts], wing80[kPoseParts];
    std::memcpy(wing60, front, sizeof(front));
    std::memcpy(wing80, front, sizeof(front));
    wing60[3] = {-3e-6f, 0.500755f, -1e-6f, 0.865589f};
    wing60[5] = {-3e-6f, -0.505281f, 1e-6f, 0.862955f};
    wing80[3] = {-2e-6f, 0.647455f, -2e-6f, 0.762104f};
    wing80[5] = {-2e-6f, -0.646124f, 2e-6f, 0.763232f};
    struct Fixed {
        const char* name;
        const CStoredQuat* parts;
    } fixed[] = {{"正面", front}, {"可変前進翼60", wing60}, {"可変前進翼80", wing80}, {"ブレード_10", blade}};
    for (const Fixed& f : fixed) {
        const CKeyPoseRow& row = Row(f.name);
        for (int i = 0; i < kPoseParts; ++i) {
            EXPECT_EQ(row.parts[i].x, f.parts[i].x) << f.name << " part " << i;
            EXPECT_EQ(row.parts[i].y, f.parts[i].y) << f.name << " part " << i;
            EXPECT_EQ(row.parts[i].z, f.parts[i].z) << f.name << " part " << i;
            EXPECT_EQ(row.parts[i].w, f.parts[i].w) << f.name << " part " << i;
        }
    }
}

TEST(KeyPoseTables, CouplesAreIdenticalAndRowsAreUnitLength) {
    const char* couples[][2] = {
        {"FARTしゃがみミサイルL_10", "FARTしゃがみレーザーR_10"}, {"FARTしゃがみミサイルL_25", "FARTしゃがみレーザーR_25"},
        {"ボム(遠投)_00", "構え_30"},                            {"構え_00", "敗北１_10"},
        {"h32b_勝利2(2)_30", "h32b_勝利2(2)_50"},                {"h32b_勝利2(2)_60", "h32b_勝利2(2)_62"},
        {"h32b_勝利_30", "h32b_勝利_50"},                        {"h35_突き1_50", "h35_突き1_53"},
    };
    for (const auto& c : couples) EXPECT_EQ(std::memcmp(Row(c[0]).parts, Row(c[1]).parts, sizeof(CKeyPoseRow::parts)), 0) << c[0];

    int straightish = 0;
    for (const CKeyPoseTable* table : kKeyPoseTables)
        for (int r = 0; r < table->count; ++r)
            for (int i = 0; i < kPoseParts; ++i) {
                const CStoredQuat& q = table->rows[r].parts[i];
                float length = std::sqrt(q.x * q.x + q.y * q.y + q.z * q.z + q.w * q.w);
                EXPECT_NEAR(length, 1.0f, 1e-3f) << table->rows[r].name << " part " << i;
                if (std::fabs(q.w) > 0.99999f) ++straightish;
            }
    // Poses are authored, not left straight: only a small share of parts is at rest.
    EXPECT_LT(straightish, 326 * kPoseParts / 5);
}

// The recipe's stored row must be the rotation the joint writer builds from the same angles
// (straight, then X, Y, Z about the part's own axes; the body Y, X, Z), and its mirror the
// rotation seen in a mirror with the sides swapped.
TEST(KeyPoseRecipes, AgreeWithTheJointWritersTurns) {
    constexpr CPoseRecipe recipe = CPoseRecipe{}.Head(0.3f, -0.2f, 0.1f).Body(-0.5f, 0.7f, 0.2f).ArmL(2.2f, 0.4f, 0.6f).ForearmR(1.1f, -0.3f).ThighR(-0.4f, 0.2f, -1.3f).ShinL(-2.0f);
    constexpr CKeyPoseRow row = KeyPose("test", recipe);
    constexpr CKeyPoseRow mirrored = KeyPose("test", recipe.Mirrored());
    const Mat4 mirror = MatrixScaling(-1, 1, 1);
    const int side[kPoseParts] = {0, 1, 2, 5, 6, 3, 4, 9, 10, 7, 8};
    for (int i = 0; i < kPoseParts; ++i) {
        C3DObject part;
        const float* a = recipe.turn[i];
        if (i == kPartBody) {
            part.RotateY(a[1]);
            part.RotateX(a[0]);
        } else {
            part.RotateX(a[0]);
            part.RotateY(a[1]);
        }
        part.RotateZ(a[2]);
        EXPECT_LT(ArcBetween(part.GetRotationQuaternion(), Applied(row.parts[i])), 1e-4f) << "part " << i;

        Mat4 turned;
        part.GetMatrix(&turned);
        C3DObject seen;
        seen.SetMatrix(mirror * turned * mirror);
        EXPECT_LT(ArcBetween(seen.GetRotationQuaternion(), Applied(mirrored.parts[side[i]])), 1e-4f) << "mirrored part " << i;
    }
}

}  // namespace
