// CGarage: where the player assembles a robot. A top menu with up to three cascading menus on
// the left, the build turning in the showroom with its stat sheet and three stat bars, and the
// build saved to or loaded from the player data. The network lobby opens it too and is then
// served every frame through its back-pointer.
#pragma once

#include "digit_font.h"
#include "menu.h"
#include "robot_catalog.h"
#include "showroom.h"
#include "text_list.h"

#include <cstdint>
#include <string>

class CGarageLobby;

constexpr int kGarageMenuCount = 4;    // columns from left to right
constexpr int kColorChannelCount = 6;  // main R, G, B, sub R, G, B
constexpr int kColorPresetCount = 10;
constexpr int kColorChannelMax = 7;
constexpr int kGarageHandMenuRows = 15;  // hand weapon names the weapon menus look at
constexpr uint32_t kGarageStatColor = 0x77ffffff;

// The colour presets of the garage, in menu order: main R G B, sub R G B.
struct ColorPresetRow {
    const char* name;
    int channels[kColorChannelCount];
};
extern const ColorPresetRow kColorPresets[kColorPresetCount];

// The three stat bars of a robot, in pixels: OF (energy), DF (armour), MOVE (mobility).
struct GarageStatBars {
    int of, df, move;
};
GarageStatBars GetGarageStatBars(const CRobot& robot);

class CGarage {
public:
    CGarage();
    ~CGarage();
    CGarage(const CGarage&) = delete;  // the showroom and menus point into themselves
    CGarage& operator=(const CGarage&) = delete;

    void Run();

    // ---- Menus: each resets its own column and those to its right ----
    std::string GarageTopMenu();   // selected text; "" for "Cancel" or on quit
    std::string AssembleMenu();
    std::string ChooseFrameModel(const std::string& fallback);  // fallback on "Cancel" or quit
    // Row menus over a name table: the chosen entry's index + 1 (the cursor, as the tables have
    // no gaps); 0 for "Cancel", on quit or when there is nothing to offer.
    int PartSlotMenu();
    int PartSelectMenu(int slot);
    int RightWeaponMenu();
    int LeftWeaponMenu();
    std::string ColorMenu();
    int ColorPresetMenu();  // cursor: 0 for "Cancel" or on quit
    int ColorRgbMenu();
    int ColorRgbSetMenu();
    void ColorRgbEditor();

    // ---- The build ----
    void Refresh();  // the robot and stat sheet follow the build when its code changed
    void SaveGarageBuild();
    void LoadGarageBuild();
    void TakeBuild(const std::string& code);  // the whole build, names of its type included

    // ---- Drawing and the lobby ----
    void DrawScreen();
    void PollLobby();
    void DrawLobbyStatus();
    static void FillRect(int x1, int y1, int x2, int y2, uint32_t color);
    static void FillRectWithBorder(int x1, int y1, int x2, int y2, uint32_t color);

    CShowroom m_showroom;
    CRobotCatalog m_build;
    CTextList m_statSheet;
    std::string m_code;
    std::string m_lastCode;
    CDigitFont m_labelFont;  // the bar labels
    CDigitFont m_digitFont;
    CMenu m_menus[kGarageMenuCount];
    CGarageLobby* m_lobby;   // null unless the lobby opened the garage

private:
    void Assemble();
    void ChangeParts();
    void ChangeColors();
    void SetChannel(int channel, int value);  // into the build, and the robot repainted
    CMenu* OpenMenu(int slot, const char* title);  // slot 1 to 4
    int RunMenu(CMenu* menu);  // the cursor; -1 when the quit flag ended it
    int RunNameMenu(int slot, const char* title, const std::string* names, int count);
    void DrawStatBars();
    void DrawChannelBars(const int* values);  // the RGB editor's six bars beside menu 4
};

void GarageScene();

// A new installation's player record: the first model of the robot menus, saved as the garage
// saves a build. A record that is there already is a player's and stays as it is. 1 unless
// the record could not be written.
int InstallStarterRecord();
