// The garage under the scene driver: every assembly branch and its "Cancel" cases, the part
// menus of a type, colour presets, the RGB editor's clamps and its "Cancel", saving and
// loading, the build's way into the showroom robot, and a lobby served once a menu frame.
#include "garage.h"
#include "garage_lobby.h"

#include "scene_fixture.h"

#include "player_data.h"
#include "robot_presets.h"

#include "sys_path.h"

#include <sys/stat.h>

#include <cstdlib>

#include <array>
#include <functional>
#include <string>
#include <vector>

namespace {

using Config = std::array<int, kConfigCount>;

// Rows of the menus, as the cursor counts them (0 is "Cancel").
enum { kTopAssemble = 1, kTopTest, kTopSave, kTopLoad, kTopLeave };
enum { kAsmFrame = 1, kAsmParts, kAsmRight, kAsmLeft, kAsmColor };
enum { kColPreset = 1, kColRgb, kColEditor };

Config PresetConfig(const char* model) {
    for (const RobotPresetRow& row : kRobotPresets)
        if (std::string(row.model) == model) {
            Config c;
            for (int i = 0; i < kConfigCount; ++i) c[i] = row.values[i];
            return c;
        }
    ADD_FAILURE() << model;
    return {};
}

Config BuildOf(const CGarage& garage) {
    Config c;
    for (int i = 0; i < kConfigCount; ++i) c[i] = garage.m_build.m_config[i];
    return c;
}

std::vector<std::string> Items(const CMenu& menu) {
    std::vector<std::string> items;
    for (int i = 1; i <= menu.m_count; ++i) items.push_back(menu.m_items[i].m_text);
    return items;
}

int Builds(const std::string& log) { return CountOf(log, "load(Shadow.x)"); }

class GarageTest : public SceneTest {
protected:
    // Picks row `row` of a fresh menu (the cursor starts on row 1).
    void Choose(int row) {
        if (row == 0) driver.Press(kKeyUp);
        for (int i = 1; i < row; ++i) driver.Press(kKeyDown);
        driver.Press(kKeyEnter);
    }
    void ChooseAll(std::initializer_list<int> rows) {
        for (int row : rows) Choose(row);
    }
    static void Save(const std::string& code) {
        CPlayerData data;
        data.m_roboData = code;
        ASSERT_EQ(data.Save(), 1);
    }
};

TEST_F(GarageTest, AssemblyBranchesChangeTheBuildAndCancelChangesNothing) {
    struct Case {
        const char* what;
        std::vector<int> rows;  // from the assembly menu on; the menu's "Cancel" and leaving follow
        std::function<void(Config*)> change;
    };
    const Case cases[] = {
        {"frame model FART-AB", {kAsmFrame, 9}, [](Config* c) { *c = PresetConfig("FART-AB"); }},
        {"frame model Cancel", {kAsmFrame, 0}, [](Config*) {}},
        // The same type again keeps the part names: the build is not set up anew.
        {"Cancel, then the core", {kAsmFrame, 0, kAsmParts, 2, 2, 0}, [](Config* c) { (*c)[kCfgGroup0 + 1] = 1; }},
        {"DID-03A again, then the legs", {kAsmFrame, 2, kAsmParts, 5, 2, 0}, [](Config* c) { (*c)[kCfgGroup0 + 4] = 1; }},
        {"core to its third variant", {kAsmParts, 2, 3, 0}, [](Config* c) { (*c)[kCfgGroup0 + 1] = 2; }},
        {"legs to the second", {kAsmParts, 5, 2, 0}, [](Config* c) { (*c)[kCfgGroup0 + 4] = 1; }},
        {"part Cancel", {kAsmParts, 1, 0, 0}, [](Config*) {}},
        {"right weapon 4", {kAsmRight, 4}, [](Config* c) { (*c)[kCfgRightWeapon] = 3; }},
        {"right weapon Cancel", {kAsmRight, 0}, [](Config*) {}},
        {"left item 3", {kAsmLeft, 3}, [](Config* c) { (*c)[kCfgLeftItem] = 2; }},
        {"left item Cancel", {kAsmLeft, 0}, [](Config*) {}},
        {"preset red-black", {kAsmColor, kColPreset, 5},
         [](Config* c) {
             const int v[] = {7, 1, 1, 1, 1, 1};
             for (int i = 0; i < 6; ++i) (*c)[kCfgMainRed + i] = v[i];
         }},
        {"preset sky blue", {kAsmColor, kColPreset, 10},
         [](Config* c) {
             const int v[] = {3, 3, 7, 5, 5, 7};
             for (int i = 0; i < 6; ++i) (*c)[kCfgMainRed + i] = v[i];
         }},
        {"preset Cancel", {kAsmColor, kColPreset, 0}, [](Config*) {}},
        {"sub red 0, then main blue 3", {kAsmColor, kColRgb, 4, 1, 3, 4, 0},
         [](Config* c) {
             (*c)[kCfgSubRed] = 0;
             (*c)[kCfgMainRed + 2] = 3;
         }},
        {"channel value Cancel", {kAsmColor, kColRgb, 2, 0, 0}, [](Config*) {}},
        {"colour menu Cancel", {kAsmColor, 0}, [](Config*) {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Save(GetRobotConfigCode("DID-03A"));
        Config expected = PresetConfig("DID-03A");
        c.change(&expected);
        CGarage garage;
        Choose(kTopAssemble);
        for (int row : c.rows) Choose(row);
        ChooseAll({0, kTopLeave});
        garage.Run();
        EXPECT_TRUE(driver.ScriptDone());
        EXPECT_EQ(BuildOf(garage), expected);
        // The robot on show is the build.
        EXPECT_EQ(garage.m_lastCode, garage.m_build.EncodeConfig());
        EXPECT_EQ(g_quit, 0);
    }
}

TEST_F(GarageTest, PartMenusOfTypeTwentyNineAndItsPictures) {
    Save(GetRobotConfigCode("DID-03"));
    CGarage garage;
    std::vector<std::string> slots, variants, rights, lefts;
    ScreenImage topShot, columnsShot, editorShot;
    driver.Wait(30).Capture(&topShot);
    ChooseAll({kTopAssemble, kAsmParts, 2});
    driver.Press(kKeyDown).Press(kKeyDown).Wait(30).Capture(&columnsShot).Do([&] {
        slots = Items(garage.m_menus[2]);
        variants = Items(garage.m_menus[3]);
    });
    ChooseAll({0, 0, kAsmRight});
    driver.Wait(2).Do([&] { rights = Items(garage.m_menus[2]); });
    ChooseAll({0, kAsmLeft});
    driver.Wait(2).Do([&] { lefts = Items(garage.m_menus[2]); });
    ChooseAll({0, kAsmColor, kColEditor});
    driver.Press(kKeyRight).Press(kKeyDown).Press(kKeyLeft).Press(kKeyLeft).Press(kKeyDown).Press(kKeyDown);
    driver.Press(kKeyDown).Press(kKeyLeft).Wait(30).Capture(&editorShot).Press(kKeyEnter);
    ChooseAll({0, kTopLeave});
    garage.Run();
    EXPECT_TRUE(driver.ScriptDone());

    EXPECT_EQ(slots, (std::vector<std::string>{"頭部", "コア", "腰", "肩アーマー", "脚部"}));
    EXPECT_EQ(variants, (std::vector<std::string>{"基本型", "高機動型", "高火力型", "推力増強型"}));
    EXPECT_EQ(rights.size(), 13u);
    EXPECT_EQ(lefts.size(), 8u);
    if (rights.size() == 13u) {
        EXPECT_EQ(rights[12], "シュバッツァー");
    }
    if (lefts.size() == 8u) {
        EXPECT_EQ(lefts[7], "左手マシンガン");
    }
    // The editor kept its edits: main R at 7 stays 7, main G 7 - 2, sub G 5 - 1.
    EXPECT_EQ(garage.m_build.m_config[kCfgMainRed], 7);
    EXPECT_EQ(garage.m_build.m_config[kCfgMainRed + 1], 5);
    EXPECT_EQ(garage.m_build.m_config[kCfgSubRed + 1], 4);

    ASSERT_EQ(topShot.SavePng(SCREENSHOT_DIR "/garage_top_menu.png"), 1);
    ASSERT_EQ(columnsShot.SavePng(SCREENSHOT_DIR "/garage_part_columns.png"), 1);
    ASSERT_EQ(editorShot.SavePng(SCREENSHOT_DIR "/garage_rgb_editor.png"), 1);
}

TEST_F(GarageTest, RgbEditorClampsAndCancelRestoresAllSix) {
    struct Case {
        const char* what;
        std::vector<int> keys;  // inside the editor, before the confirm
        std::array<int, 6> expected;
    };
    // DID-03: main 7 7 7, sub 5 5 7.
    const int U = kKeyUp, D = kKeyDown, L = kKeyLeft, R = kKeyRight;
    const Case cases[] = {
        {"right at 7 keeps 7", {R, R}, {7, 7, 7, 5, 5, 7}},
        {"left stops at 0", {D, D, L, L, L, L, L, L, L, L, L}, {7, 7, 0, 5, 5, 7}},
        {"sub B up to 7 and past", {D, D, D, D, D, R, R, D, U}, {7, 7, 7, 5, 5, 7}},
        {"sub G up by 2", {D, D, D, D, R, R}, {7, 7, 7, 5, 7, 7}},
        {"Cancel restores all six", {L, D, L, D, L, D, L, D, L, D, L, U, U, U, U, U, U}, {7, 7, 7, 5, 5, 7}},
        {"left and right on Cancel do nothing", {U, L, L, R}, {7, 7, 7, 5, 5, 7}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Save(GetRobotConfigCode("DID-03"));
        CGarage garage;
        ChooseAll({kTopAssemble, kAsmColor, kColEditor});
        for (int key : c.keys) driver.Press(key);
        driver.Press(kKeyEnter);
        ChooseAll({0, kTopLeave});
        garage.Run();
        EXPECT_TRUE(driver.ScriptDone());
        std::array<int, 6> got;
        for (int i = 0; i < 6; ++i) got[i] = garage.m_build.m_config[kCfgMainRed + i];
        EXPECT_EQ(got, c.expected);
        // The robot wears the build's paint: channel v shows as (v + 1) / 8.
        const CRobot& robot = garage.m_showroom.m_robot;
        const Color4 main = robot.m_meshes[1].GetMaterial(robot.m_paintSlots[0]).diffuse;
        const Color4 sub = robot.m_meshes[1].GetMaterial(robot.m_paintSlots[1]).diffuse;
        EXPECT_FLOAT_EQ(main.b, (c.expected[2] + 1) / 8.0f);
        EXPECT_FLOAT_EQ(sub.g, (c.expected[4] + 1) / 8.0f);
    }
}

TEST_F(GarageTest, SaveWritesDefaultsAndTheCodeAndLoadTakesTheSavedType) {
    mkdir("data", 0755);
    WriteWholeFile("data/dt.ini", "[PR]\r\np_st_Name=ace\r\np_st_Money=9999\r\np_RoboData=" +
                                       GetRobotConfigCode("FART") + "\r\n");
    std::vector<std::string> slots, coreVariants;
    {
        CGarage garage;
        // To DID-03 (type 29: five groups, four cores), then load the saved FART (type 9).
        ChooseAll({kTopAssemble, kAsmFrame, 1, 0, kTopLoad, kTopAssemble, kAsmParts});
        driver.Wait(2).Do([&] { slots = Items(garage.m_menus[2]); });
        Choose(2);
        driver.Wait(2).Do([&] { coreVariants = Items(garage.m_menus[3]); });
        ChooseAll({0, 0, 0, kTopLeave});
        garage.Run();
        EXPECT_TRUE(driver.ScriptDone());
        EXPECT_EQ(BuildOf(garage), PresetConfig("FART"));
    }
    EXPECT_EQ(slots, (std::vector<std::string>{"ヘッド", "コア", "アーム", "レッグ"}));
    EXPECT_EQ(coreVariants, (std::vector<std::string>{"基本型", "強襲型"}));

    // Saving writes a new record: every key its default, and the build.
    const std::string before = ReadWholeFile("data/dt.ini");
    {
        CGarage garage;
        ChooseAll({kTopAssemble, kAsmRight, 2, 0, kTopSave, kTopLeave});
        garage.Run();
        EXPECT_TRUE(driver.ScriptDone());
    }
    Config expected = PresetConfig("FART");
    expected[kCfgRightWeapon] = 1;
    CRobotCatalog catalog;
    catalog.SetConfig(expected[0], expected[1], expected[2], expected[3], expected[4], expected[5], expected[6],
                      expected[7], expected[8], expected[9], expected[10], expected[11], expected[12], expected[13],
                      expected[14]);
    const std::string saved = ReadWholeFile("data/dt.ini");
    WriteWholeFile("data/dt.ini", before);
    CPlayerData fresh;
    fresh.m_roboData = catalog.EncodeConfig();
    fresh.Save();
    EXPECT_EQ(saved, ReadWholeFile("data/dt.ini"));
    EXPECT_EQ(saved.find("ace"), std::string::npos);
}

// A new installation: the build lays out the record that the garage saves for the first model,
// so a first visit starts from that robot; a later build keeps what the player saved since.
TEST_F(GarageTest, NewInstallationHasTheFirstModelsRecordAndARebuildKeepsASavedOne) {
    const std::string install = folder.File("install");
    ASSERT_EQ(mkdir(install.c_str(), 0755), 0);
    const std::string record = install + "/data/dt.ini";
    const std::string layOut = std::string(PLAYER_RECORD_TOOL) + " " + install;
    ASSERT_EQ(std::system(layOut.c_str()), 0);
    const std::string starter = ReadWholeFile(record);
    {
        CGarage garage;
        ChooseAll({kTopAssemble, kAsmFrame, 1, 0, kTopSave, kTopLeave});  // DID-03, saved
        garage.Run();
        EXPECT_TRUE(driver.ScriptDone());
    }
    EXPECT_EQ(starter, ReadWholeFile("data/dt.ini"));
    {
        CFolderGuard in(install.c_str());
        EXPECT_EQ(GetRobotConfigCode(kLoadItem), GetRobotConfigCode("DID-03"));
    }

    const std::string saved = "[PR]\r\np_st_Name=ace\r\np_RoboData=" + GetRobotConfigCode("FART") + "\r\n";
    WriteWholeFile(record, saved);
    ASSERT_EQ(std::system(layOut.c_str()), 0);
    EXPECT_EQ(ReadWholeFile(record), saved);
    // The build's own game folder is laid out the same way.
    EXPECT_NE(ReadWholeFile(std::string(GAME_DIR) + "/data/dt.ini").find("p_RoboData="), std::string::npos);
}

TEST_F(GarageTest, NewPlayerQuitInFrameModelAndManyRebuilds) {
    // A new player's first visit: the all-zero build, no robot, nothing to change in the parts.
    {
        CGarage garage;
        std::vector<std::string> slots = {"x"};
        ChooseAll({kTopAssemble, kAsmParts});
        driver.Wait(2).Do([&] { slots = Items(garage.m_menus[2]); });
        ChooseAll({kAsmRight, 3, kAsmColor, kColPreset, 1, 0, kTopLeave});
        garage.Run();
        EXPECT_TRUE(driver.ScriptDone());
        EXPECT_TRUE(slots.empty());
        EXPECT_EQ(garage.m_build.GetTypeName(garage.m_code), "??");
        EXPECT_EQ(garage.m_build.m_config[kCfgRightWeapon], 2);
        EXPECT_EQ(garage.m_build.m_config[kCfgMainRed + 5], 7);
    }
    // Quitting inside the frame model menu keeps the build.
    {
        Save(GetRobotConfigCode("ACT"));
        CGarage garage;
        ChooseAll({kTopAssemble, kAsmFrame});
        driver.Wait(5).Quit();
        garage.Run();
        EXPECT_NE(g_quit, 0);
        EXPECT_EQ(BuildOf(garage), PresetConfig("ACT"));
        EXPECT_EQ(garage.m_build.EncodeConfig(), GetRobotConfigCode("ACT"));
    }
}

TEST_F(GarageTest, RefreshRebuildsOnlyChangedBuildsAndLeavesOneRobotOnTheFloor) {
    CGarage garage;
    garage.TakeBuild(GetRobotConfigCode("DID-03"));
    garage.Refresh();
    int builds = Builds(driver.Log());
    garage.Refresh();
    EXPECT_EQ(Builds(driver.Log()), builds);
    const GarageStatBars bars = GetGarageStatBars(garage.m_showroom.m_robot);
    EXPECT_EQ(bars.of, 100);
    EXPECT_EQ(bars.df, 300);
    EXPECT_EQ(bars.move, 115);

    CRobot& robot = garage.m_showroom.m_robot;
    auto settle = [&] {
        for (int i = 0; i < 45; ++i) garage.m_showroom.Update();
        return robot.m_frames[kRootFrame].GetLocalPosition();
    };
    const Vec3 first = settle();
    const int vertices = robot.m_meshes[1].GetVertexCount();
    const char* const models[] = {"FART", "DID-03", "VNA-3", "DID-03"};
    for (int i = 0; i < 50; ++i) {
        garage.TakeBuild(GetRobotConfigCode(models[i % 4]));
        garage.Refresh();
    }
    EXPECT_EQ(Builds(driver.Log()), builds + 50);
    const Vec3 last = settle();
    // Where its stance has the feet, within a bob of the pose.
    EXPECT_NEAR(last.x, first.x, 1e-4f);
    EXPECT_NEAR(last.y, first.y, 0.01f);
    EXPECT_NEAR(last.z, first.z, 1e-4f);
    EXPECT_LT(first.y, 1.0f);
    EXPECT_EQ(robot.m_meshes[1].GetVertexCount(), vertices);
    EXPECT_EQ(robot.m_frames[1].m_parent, &robot.m_frames[kRootFrame]);
}

struct CFakeLobby : CGarageLobby {
    int updates = 0, draws = 0, outOfOrder = 0;
    void UpdateNet() override {
        if (draws != updates) ++outOfOrder;
        ++updates;
    }
    void DrawStatus() override {
        if (draws + 1 != updates) ++outOfOrder;
        ++draws;
    }
};

TEST_F(GarageTest, TheLobbyIsServedOnceAMenuFrame) {
    Save(GetRobotConfigCode("DID-03"));
    CFakeLobby lobby;
    CGarage garage;
    garage.m_lobby = &lobby;
    ChooseAll({kTopAssemble, kAsmColor, kColEditor});
    driver.Press(kKeyRight).Press(kKeyEnter);
    ChooseAll({0, kTopLeave});
    driver.ResetPumps();
    garage.Run();
    EXPECT_TRUE(driver.ScriptDone());
    EXPECT_EQ(lobby.updates, driver.Pumps());
    EXPECT_EQ(lobby.draws, driver.Pumps());
    EXPECT_EQ(lobby.outOfOrder, 0);
    EXPECT_GT(lobby.updates, 10);
}

}  // namespace
