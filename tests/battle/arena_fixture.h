// The engine started headless in a private folder that sees the generated assets, for the
// tests of robot and stage loading; with the robot builds and the stage numbers they go over.
#pragma once

#include "robot.h"
#include "robot_catalog.h"
#include "scene_driver.h"
#include "stage.h"
#include "test_folder.h"

#include "mesh.h"
#include "node.h"

#include <gtest/gtest.h>

#include <string>

// Frame types and the stage rows of the stage table.
constexpr int kFrameTypes[] = {36, 29, 9, 21, 31, 32, 33};
constexpr int kStageNumbers[] = {1, 2, 3, 4, 5, 6, 7, 12, 13, 14, 15, 16, 17, 18, 101, 111};

class ArenaTest : public ::testing::Test {
protected:
    CTestFolder folder;
    CSceneDriver driver;

    void SetUp() override {
        ASSERT_EQ(driver.UseGameAssets(), 1);
        ASSERT_EQ(driver.Start(), 1) << driver.Log();
    }

    // The build code of a type with every variant group at `variant` and the given hands/colours.
    static std::string BuildCode(int type, int left, int right, int variant = 0, int mainR = 7, int mainG = 0,
                                 int mainB = 0, int subR = 0, int subG = 0, int subB = 7) {
        CRobotCatalog c;
        c.SetConfig(type, left, right, variant, variant, variant, variant, variant, variant, mainR, mainG, mainB, subR,
                    subG, subB);
        return c.EncodeConfig();
    }
};

// The three stage meshes placed as the battle places them: at the origin, scale 10.
struct PlacedStage {
    CMesh meshes[kStageMeshCount];
    C3DObject nodes[kStageMeshCount];
    uint32_t clear = 0;
    int weather = -1;

    void Load(CStage& env, int stage) {
        env.LoadStage(stage, meshes, &clear, &weather);
        for (int k = 0; k < kStageMeshCount; ++k) nodes[k].Create(&meshes[k], 0, 0, 0, 10.0f);
    }
};
