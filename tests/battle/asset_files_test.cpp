// Every file the robots and stages load: each robot part, hand and mounted mesh any build can
// name, the shadow, every stage mesh with its textures and every stage tune exists in the
// generated game folder and loads without a failure in the log.
#include "arena_fixture.h"

#include "music.h"
#include "sys_path.h"

#include <set>

namespace {

using AssetFiles = ArenaTest;

// Names the catalogue gives any robot: every type with each variant choice and every hand.
std::set<std::string> RobotFileNames() {
    std::set<std::string> names = {"Shadow.x"};
    CRobot robot;
    CRobotCatalog c;
    const int rightWeapons[] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 50};
    for (int type : kFrameTypes)
        for (int variant = 0; variant < 4; ++variant)
            for (int left = 0; left < 8; ++left)
                for (int right : rightWeapons) {
                    c.SetConfig(type, left, right, variant, variant, variant, variant, variant, variant, 0, 0, 0, 0, 0, 0);
                    c.SetupRobotType(&robot);
                    for (int i = 0; i < kRobotMeshCount; ++i) names.insert(c.m_partFiles[i]);
                }
    return names;
}

TEST_F(AssetFiles, EveryRobotStageAndTuneFileExistsAndLoads) {
    const std::set<std::string> robotFiles = RobotFileNames();
    EXPECT_EQ(robotFiles.count(""), 0u) << "a part without a file name";
    EXPECT_GE(robotFiles.size(), 140u);
    for (const std::string& name : robotFiles) {
        const size_t logStart = driver.Log().size();
        CMesh mesh;
        {
            CFolderGuard x(".\\x");
            EXPECT_EQ(mesh.Load(name.c_str()), 1) << name;
        }
        EXPECT_EQ(driver.Log().find("failed", logStart), std::string::npos) << name << driver.Log().substr(logStart);
        EXPECT_GT(mesh.GetVertexCount(), 0) << name;
    }

    std::set<std::string> tunes;
    for (int number : kStageNumbers) {
        const size_t logStart = driver.Log().size();
        CStage env;
        PlacedStage stage;
        stage.Load(env, number);
        std::string log = driver.Log().substr(logStart);
        // Stage 17 has no weather box: its third mesh loads from the empty name, no file.
        const std::string noFile = "load() ... failed.\n";
        if (number == 17 && log.find(noFile) != std::string::npos) log.erase(log.find(noFile), noFile.size());
        for (const char* trouble : {"failed", "can't", "err"})
            EXPECT_EQ(log.find(trouble), std::string::npos) << "stage " << number << ":\n" << log;
        EXPECT_NE(log.find("ok."), std::string::npos) << "stage " << number;
        for (int k = 0; k < kStageMeshCount; ++k)
            EXPECT_EQ(stage.meshes[k].HasMesh(), number == 17 && k == 2 ? 0 : 1) << "stage " << number << " mesh " << k;
        ASSERT_NE(GetLoadedMidiName(), nullptr);
        tunes.insert(GetLoadedMidiName());
    }
    // Seven tunes, each a file of its own under ".\midi".
    EXPECT_EQ(tunes.size(), 7u);
    for (const std::string& tune : tunes) {
        ASSERT_EQ(tune.rfind("..\\midi\\", 0), 0u) << tune;  // beside ".\map"
        EXPECT_EQ(SysFileExists(tune.substr(3).c_str()), 1) << tune;
    }
}

}  // namespace
