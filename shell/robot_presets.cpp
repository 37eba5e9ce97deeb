// The preset table and the lookups over it. The table is the only place a model's build is
// written down: menus, campaigns and the lobby all go through GetRobotConfigCode.
#include "robot_presets.h"

#include "menu.h"
#include "player_data.h"
#include "robot.h"
#include "robot_catalog.h"

const char kLoadItem[] = "_LOAD_";

// type, left item, right weapon, variants 1-6, main R G B, sub R G B
const RobotPresetRow kRobotPresets[kRobotPresetCount] = {
    {"FRX-00", {36, 1, 12, 0, 0, 0, 0, 0, 0, 2, 2, 2, 5, 0, 0}},
    {"DID-03", {29, 0, 0, 0, 0, 0, 0, 0, 0, 7, 7, 7, 5, 5, 7}},
    {"DID-03A", {29, 5, 0, 1, 2, 0, 0, 0, 0, 7, 7, 7, 5, 5, 7}},
    {"DID-03F2", {29, 0, 0, 0, 3, 0, 1, 1, 0, 7, 7, 7, 5, 5, 7}},
    {"VFX-331", {31, 6, 11, 0, 0, 0, 0, 0, 0, 7, 7, 7, 5, 5, 7}},
    {"BOX-321", {21, 6, 7, 0, 1, 0, 0, 0, 0, 1, 1, 5, 7, 7, 0}},
    {"SRX-21", {21, 6, 6, 2, 2, 0, 0, 0, 0, 7, 7, 7, 5, 5, 7}},
    {"VNA-3", {32, 0, 9, 1, 1, 0, 0, 0, 0, 7, 7, 7, 7, 3, 3}},
    {"FART", {9, 1, 3, 0, 0, 0, 0, 0, 0, 7, 0, 0, 1, 1, 1}},
    {"FART-AB", {9, 2, 2, 1, 1, 1, 1, 0, 0, 4, 0, 0, 2, 2, 2}},
    {"ACT", {33, 0, 5, 0, 0, 0, 0, 0, 0, 5, 5, 5, 3, 3, 3}},
    {"RODUDED", {33, 1, 8, 1, 1, 1, 1, 0, 0, 5, 5, 5, 3, 3, 3}},
    {"WAGNA", {9, 4, 10, 1, 1, 1, 1, 0, 0, 4, 0, 0, 2, 2, 2}},
    {"ZERO-A", {16, 0, 0, 0, 0, 0, 0, 0, 0, 7, 7, 7, 5, 5, 7}},
    {"EAGLE2", {20, 0, 0, 0, 0, 0, 0, 0, 0, 7, 7, 7, 5, 5, 7}},
    {"BOX3", {12, 0, 0, 0, 0, 0, 0, 0, 0, 7, 7, 7, 5, 5, 7}},
    {"X-6", {6, 0, 0, 0, 0, 0, 0, 0, 0, 7, 7, 7, 5, 5, 7}},
    {"RT4", {4, 0, 0, 0, 0, 0, 0, 0, 0, 7, 7, 7, 5, 5, 7}},
};

const char* const kSelectableModels[kSelectableModelCount] = {
    "DID-03", "DID-03A", "DID-03F2", "FRX-00", "VFX-331", "BOX-321",
    "SRX-21", "FART",    "FART-AB",  "VNA-3",  "ACT",     "RODUDED",
};

std::string GetRobotConfigCode(const std::string& model) {
    CRobotCatalog catalog;
    for (const RobotPresetRow& row : kRobotPresets) {
        if (model != row.model) continue;
        const int* v = row.values;
        catalog.SetConfig(v[0], v[1], v[2], v[3], v[4], v[5], v[6], v[7], v[8], v[9], v[10], v[11], v[12], v[13],
                          v[14]);
    }
    if (model == kLoadItem) {
        CPlayerData data;
        data.Load();
        return data.m_roboData;
    }
    return catalog.EncodeConfig();
}

void FillRobotSelectMenu(CMenu* menu) {
    menu->SetTitle("Select Robo");
    for (const char* model : kSelectableModels) menu->AddItem(model);
}

void AddLoadItem(CMenu* menu) { menu->AddItem(kLoadItem); }

void SetRobotColors(CRobot* robot, int mainColor, int subColor) {
    auto channel = [](int word, int shift) { return float((word >> shift) & 0xF) / 16.0f; };
    robot->SetColors(channel(mainColor, 8), channel(mainColor, 4), channel(mainColor, 0), 1.0f,
                     channel(subColor, 8), channel(subColor, 4), channel(subColor, 0), 1.0f);
}

int SelectCodeByIndex(int n) {
    static const int kCodes[] = {2901, 2102, 3101, 1201, 904, 1502, 600, 401};
    if (n < 1 || n > (int)(sizeof kCodes / sizeof kCodes[0])) return 26;
    return kCodes[n - 1];
}
