// The robots every robot menu offers by model name: the preset table, the model name to build
// code lookup ("_LOAD_" is the saved build), the robot select menu's items and the paint of
// the campaigns' sides.
#pragma once

#include <string>

class CMenu;
class CRobot;

constexpr int kPresetValueCount = 15;  // the build values in CRobotCatalog::SetConfig's order
constexpr int kSelectableModelCount = 12;
extern const char kLoadItem[];  // "_LOAD_": the build saved in the player data

struct RobotPresetRow {
    const char* model;
    int values[kPresetValueCount];
};
constexpr int kRobotPresetCount = 18;
extern const RobotPresetRow kRobotPresets[kRobotPresetCount];
// The models of the robot select menu, in menu order.
extern const char* const kSelectableModels[kSelectableModelCount];

// The build code of a model; "_LOAD_" gives the saved p_RoboData as the player data reads it;
// any other name (the empty one too) gives the code of the catalogue's initial build.
std::string GetRobotConfigCode(const std::string& model);
void FillRobotSelectMenu(CMenu* menu);  // title "Select Robo" and the twelve models
void AddLoadItem(CMenu* menu);          // the item "_LOAD_"
// Paints a built robot from two colour words 0xRGB: each channel is nibble / 16, alpha 1.
void SetRobotColors(CRobot* robot, int mainColor, int subColor);
// The robot select before a campaign: the chosen build code; "" for "Cancel" or on quit.
std::string RobotSelectScene();
// A model's type and variant packed as a number (1 to 8; anything else 26). No scene uses it.
int SelectCodeByIndex(int n);
