// The garage's menus. Each is a frame loop over one of the four columns that first empties its
// own column and those to its right, so the columns always show the path of choices. Every
// frame serves the lobby that opened the garage, if any.
#include "garage.h"

#include "frame_loop.h"
#include "menu_input.h"
#include "robot_presets.h"

#include "graphics.h"

namespace {

const char* const kTopItems[] = {"アセンブル", "テスト出撃", "セーブ", "ロード", "ガレージ終了"};
const char* const kAssembleItems[] = {"素体変更", "パーツ変更", "Ｒ武装変更", "Ｌ武装変更", "カラー変更"};
const char* const kColorItems[] = {"プリセット", "ＲＧＢ指定", "ＲＧＢ４"};
const char* const kChannelItems[kColorChannelCount] = {"MAIN R", "MAIN G", "MAIN B", "SUB  R", "SUB  G", "SUB  B"};
const char* const kChannelValueItems[kColorChannelMax + 1] = {"0", "1", "2", "3", "4", "5", "6", "7"};

template <size_t N>
void AddItems(CMenu* menu, const char* const (&items)[N]) {
    for (const char* item : items) menu->AddItem(item);
}

}  // namespace

CMenu* CGarage::OpenMenu(int slot, const char* title) {
    for (int i = slot - 1; i < kGarageMenuCount; ++i) m_menus[i].Reset();
    CMenu* menu = &m_menus[slot - 1];
    menu->SetTitle(title);
    return menu;
}

int CGarage::RunMenu(CMenu* menu) {
    CMenuInput input;
    int chosen = -1;
    RunFrameLoop([] { return false; },
                 [&] {
                     input.Update();
                     if (input.m_up == 2) menu->CursorPrev();
                     if (input.m_down == 2) menu->CursorNext();
                     PollLobby();
                     if (BeginFrame(0xff000000)) {
                         DrawScreen();
                         DrawLobbyStatus();
                         EndFrame();
                     }
                     if (input.m_confirm == 2) {
                         chosen = menu->m_cursor;
                         return 0;
                     }
                     return 1;
                 });
    return chosen;
}

int CGarage::RunNameMenu(int slot, const char* title, const std::string* names, int count) {
    CMenu* menu = OpenMenu(slot, title);
    int entries[kMenuItemCount] = {};
    for (int i = 0; i < count && menu->m_count < kMenuMaxIndex; ++i) {
        if (names[i].empty()) continue;
        menu->AddItem(names[i]);
        entries[menu->m_count] = i;
    }
    // Nothing to offer (a build of no known type): back at once, as "Cancel".
    if (menu->m_count == 0) return 0;
    const int row = RunMenu(menu);
    return row > 0 && row <= menu->m_count ? entries[row] + 1 : 0;
}

std::string CGarage::GarageTopMenu() {
    CMenu* menu = OpenMenu(1, "> MENU");
    AddItems(menu, kTopItems);
    return RunMenu(menu) < 0 ? "" : menu->GetSelectedText();
}

std::string CGarage::AssembleMenu() {
    CMenu* menu = OpenMenu(2, "> Asen");
    AddItems(menu, kAssembleItems);
    return RunMenu(menu) < 0 ? "" : menu->GetSelectedText();
}

std::string CGarage::ChooseFrameModel(const std::string& fallback) {
    CMenu* menu = OpenMenu(4, "");
    FillRobotSelectMenu(menu);
    // Quitting keeps the build as it was: the code given, never a code of no build.
    if (RunMenu(menu) < 0) return fallback;
    const std::string model = menu->GetSelectedText();
    return model.empty() ? fallback : GetRobotConfigCode(model);
}

int CGarage::PartSlotMenu() { return RunNameMenu(3, "> パーツ変更箇所", m_build.m_groupNames, kVariantGroupCount); }

int CGarage::PartSelectMenu(int slot) {
    if (slot < 0 || slot >= kVariantGroupCount) return 0;
    return RunNameMenu(4, "> パーツ選択", m_build.m_variantNames + slot * kVariantsPerGroup, kVariantsPerGroup);
}

int CGarage::RightWeaponMenu() { return RunNameMenu(3, "> Rwapon", m_build.m_rightWeaponNames, kGarageHandMenuRows); }

int CGarage::LeftWeaponMenu() { return RunNameMenu(3, "> Lwapon", m_build.m_leftItemNames, kGarageHandMenuRows); }

std::string CGarage::ColorMenu() {
    CMenu* menu = OpenMenu(3, "> Color");
    AddItems(menu, kColorItems);
    return RunMenu(menu) < 0 ? "" : menu->GetSelectedText();
}

int CGarage::ColorPresetMenu() {
    CMenu* menu = OpenMenu(4, "> ColorSumple");
    for (const ColorPresetRow& row : kColorPresets) menu->AddItem(row.name);
    const int row = RunMenu(menu);
    return row < 0 ? 0 : row;
}

int CGarage::ColorRgbMenu() {
    CMenu* menu = OpenMenu(4, "> ColorRGB");
    AddItems(menu, kChannelItems);
    const int row = RunMenu(menu);
    return row < 0 ? 0 : row;
}

int CGarage::ColorRgbSetMenu() {
    CMenu* menu = OpenMenu(4, "> ColorRGBset");
    AddItems(menu, kChannelValueItems);
    const int row = RunMenu(menu);
    return row < 0 ? 0 : row;
}

void CGarage::ColorRgbEditor() {
    CMenu* menu = OpenMenu(4, "> ColorRGB");
    AddItems(menu, kChannelItems);
    int edit[kColorChannelCount], saved[kColorChannelCount];
    for (int c = 0; c < kColorChannelCount; ++c) edit[c] = saved[c] = m_build.m_config[kCfgMainRed + c];
    auto apply = [&](const int* values) {
        for (int c = 0; c < kColorChannelCount; ++c) m_build.m_config[kCfgMainRed + c] = values[c];
        m_build.ApplyColors(&m_showroom.m_robot);
    };
    CMenuInput input;
    RunFrameLoop([] { return false; },
                 [&] {
                     input.Update();
                     if (input.m_up == 2) menu->CursorPrev();
                     if (input.m_down == 2) menu->CursorNext();
                     const int channel = menu->m_cursor - 1;
                     if (channel >= 0 && channel < kColorChannelCount && (input.m_right == 2 || input.m_left == 2)) {
                         int& value = edit[channel];
                         if (input.m_right == 2 && value < kColorChannelMax) ++value;
                         if (input.m_left == 2 && value > 0) --value;
                         apply(edit);
                     }
                     PollLobby();
                     if (BeginFrame(0xff000000)) {
                         DrawScreen();
                         DrawChannelBars(edit);
                         DrawLobbyStatus();
                         EndFrame();
                     }
                     if (input.m_confirm == 2) {
                         if (menu->m_cursor == 0) apply(saved);
                         return 0;
                     }
                     return 1;
                 });
}
