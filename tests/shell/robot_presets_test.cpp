// Model presets: the codes of the table's rows, names that are no model, the saved build behind
// "_LOAD_", the robot select menu's items, the paint of the campaigns' sides and the number
// lookup.
#include "robot_presets.h"

#include "scene_fixture.h"

#include "menu.h"
#include "player_data.h"
#include "robot.h"
#include "robot_catalog.h"

#include <string>

namespace {

using RobotPresets = SceneTest;

std::string Bytes(std::initializer_list<int> values) {
    std::string s;
    for (int v : values) s.push_back((char)v);
    return s;
}

TEST_F(RobotPresets, ModelNamesGiveTheirPresetCodes) {
    struct Case {
        const char* model;
        std::string code;
    };
    const std::string none = kEmptyBuildCode;
    const Case cases[] = {
        {"DID-03", Bytes({0x9D, 0x80, 0x80, 0x80, 0x80, 0xAF, 0xAF, 0xBF})},
        {"DID-03F2", Bytes({0x9D, 0x80, 0x80, 0x8C, 0x85, 0xAF, 0xAF, 0xBF})},
        {"FRX-00", Bytes({0xA4, 0x81, 0x8C, 0x80, 0x80, 0xAA, 0x82, 0x82})},
        {"BOX-321", Bytes({0x95, 0x86, 0x87, 0x84, 0x80, 0xB9, 0xB9, 0x85})},
        {"FART-AB", Bytes({0x89, 0x82, 0x82, 0x95, 0x81, 0x94, 0x90, 0x90})},
        // No menu lists it, yet the lobby resolves it.
        {"WAGNA", Bytes({0x89, 0x84, 0x8A, 0x95, 0x81, 0x94, 0x90, 0x90})},
        // Names that are no model: the catalogue's initial build.
        {"", none},
        {"did-03", none},
        {"DID-03 ", none},
        {"Cancel", none},
    };
    for (const Case& c : cases) EXPECT_EQ(GetRobotConfigCode(c.model), c.code) << c.model;
}

TEST_F(RobotPresets, EveryRowDecodesBackToItsValues) {
    // Rows of the preset table as the rules write them: type, left item, right weapon, the six
    // variants, main and sub colour.
    struct Case {
        const char* model;
        int values[kPresetValueCount];
    };
    const Case cases[] = {
        {"FRX-00", {36, 1, 12, 0, 0, 0, 0, 0, 0, 2, 2, 2, 5, 0, 0}},
        {"DID-03F2", {29, 0, 0, 0, 3, 0, 1, 1, 0, 7, 7, 7, 5, 5, 7}},
        {"BOX-321", {21, 6, 7, 0, 1, 0, 0, 0, 0, 1, 1, 5, 7, 7, 0}},
        {"VNA-3", {32, 0, 9, 1, 1, 0, 0, 0, 0, 7, 7, 7, 7, 3, 3}},
        {"RODUDED", {33, 1, 8, 1, 1, 1, 1, 0, 0, 5, 5, 5, 3, 3, 3}},
        {"WAGNA", {9, 4, 10, 1, 1, 1, 1, 0, 0, 4, 0, 0, 2, 2, 2}},
        {"RT4", {4, 0, 0, 0, 0, 0, 0, 0, 0, 7, 7, 7, 5, 5, 7}},
    };
    for (const Case& c : cases) {
        CRobotCatalog catalog;
        catalog.DecodeConfig(GetRobotConfigCode(c.model));
        for (int i = 0; i < kPresetValueCount; ++i) EXPECT_EQ(catalog.m_config[i], c.values[i]) << c.model << " " << i;
    }
    // Every row survives the build code.
    for (const RobotPresetRow& row : kRobotPresets) {
        CRobotCatalog catalog;
        catalog.DecodeConfig(GetRobotConfigCode(row.model));
        for (int i = 0; i < kPresetValueCount; ++i) EXPECT_EQ(catalog.m_config[i], row.values[i]) << row.model << " " << i;
    }
    // Every selectable model is a row of the table.
    for (const char* model : kSelectableModels) EXPECT_NE(GetRobotConfigCode(model), kEmptyBuildCode) << model;
}

TEST_F(RobotPresets, LoadItemGivesTheSavedBuild) {
    // Nothing saved: the player data's reading of a missing build.
    EXPECT_EQ(GetRobotConfigCode(kLoadItem), kEmptyBuildCode);
    const std::string saved = GetRobotConfigCode("RODUDED");
    CPlayerData data;
    data.m_roboData = saved;
    ASSERT_EQ(data.Save(), 1);
    EXPECT_EQ(GetRobotConfigCode(kLoadItem), saved);
    // A damaged save reads as the all-zero build, never as bytes below 0x80.
    WriteWholeFile("data/dt.ini", "[PR]\r\np_RoboData=abc\r\n");
    EXPECT_EQ(GetRobotConfigCode(kLoadItem), kEmptyBuildCode);
}

TEST_F(RobotPresets, RobotSelectMenuListsTwelveModelsThenLoad) {
    const char* const expected[] = {"DID-03", "DID-03A", "DID-03F2", "FRX-00",  "VFX-331", "BOX-321", "SRX-21",
                                    "FART",   "FART-AB", "VNA-3",    "ACT",     "RODUDED", "_LOAD_"};
    CMenu menu;
    FillRobotSelectMenu(&menu);
    EXPECT_EQ(menu.m_title, "Select Robo");
    EXPECT_EQ(menu.m_count, 12);
    AddLoadItem(&menu);
    ASSERT_EQ(menu.m_count, 13);
    for (int i = 0; i < 13; ++i) EXPECT_EQ(menu.m_items[i + 1].m_text, expected[i]) << i;
}

TEST_F(RobotPresets, ColourWordsPaintNibblesOverSixteen) {
    CRobot robot;
    CRobotCatalog catalog;
    catalog.BuildRobot(&robot, GetRobotConfigCode("DID-03"));
    SetRobotColors(&robot, 0xF08, 0x1C0);
    for (int part = 0; part < kRobotPartCount; ++part) {
        const Color4 main = robot.m_meshes[part].GetMaterial(robot.m_paintSlots[0]).diffuse;
        const Color4 sub = robot.m_meshes[part].GetMaterial(robot.m_paintSlots[1]).diffuse;
        EXPECT_FLOAT_EQ(main.r, 0.9375f) << part;
        EXPECT_FLOAT_EQ(main.g, 0.0f) << part;
        EXPECT_FLOAT_EQ(main.b, 0.5f) << part;
        EXPECT_FLOAT_EQ(main.a, 1.0f) << part;
        EXPECT_FLOAT_EQ(sub.r, 0.0625f) << part;
        EXPECT_FLOAT_EQ(sub.g, 0.75f) << part;
        EXPECT_FLOAT_EQ(sub.b, 0.0f) << part;
        EXPECT_FLOAT_EQ(sub.a, 1.0f) << part;
    }
}

TEST_F(RobotPresets, NumberLookup) {
    const int expected[] = {26, 2901, 2102, 3101, 1201, 904, 1502, 600, 401, 26};
    for (int n = 0; n <= 9; ++n) EXPECT_EQ(SelectCodeByIndex(n), expected[n]) << n;
    EXPECT_EQ(SelectCodeByIndex(-1), 26);
}

}  // namespace
