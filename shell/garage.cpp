// The garage's flow: the top menu, the assembly branches that change the build, the test
// battle, saving and loading; and the build's way into the showroom robot.
#include "garage.h"

#include "player_data.h"
#include "robot_presets.h"
#include "scenes.h"
#include "test_battle.h"

#include "engine.h"
#include "music.h"
#include "sys_path.h"

namespace {

const char kMusicFile[] = "midi\\VIZI-DUDU_V1.mid";
const char kMenuFont[] = "ＭＳ Ｐゴシック";
constexpr uint32_t kMenuColor = 0xffbbbbbb;
constexpr int kMenuFontSize = 16;
constexpr int kMenuStyle = 1;  // white frames, the selected text pulsing grey
const char kMenuFrame[] = "bmp\\menu_03.png";

}  // namespace

// The "Cancel" case of every assembly menu changes nothing.
const ColorPresetRow kColorPresets[kColorPresetCount] = {
    {"1Pカラー", {7, 7, 7, 3, 3, 7}}, {"2Pカラー", {7, 7, 7, 7, 3, 3}}, {"3Pカラー", {1, 1, 1, 0, 0, 7}},
    {"4Pカラー", {1, 1, 1, 7, 0, 0}}, {"赤-黒", {7, 1, 1, 1, 1, 1}},    {"灰-黄", {2, 2, 2, 6, 6, 0}},
    {"青迷彩", {0, 0, 5, 0, 0, 2}},   {"緑迷彩", {0, 5, 0, 0, 2, 0}},   {"黄-黒", {7, 7, 0, 0, 0, 0}},
    {"ｽｶｲﾌﾞﾙｰ", {3, 3, 7, 5, 5, 7}},
};

CGarage::CGarage() : m_lobby(nullptr) {
    m_labelFont.Load("bmp\\suuji2.png");
    m_digitFont.Load("bmp\\suuji3.png");
    for (CMenu& menu : m_menus) {
        menu.SetFont(kMenuFont, kMenuColor, kMenuFontSize);
        menu.SetStyle(kMenuStyle);
        menu.SetFrameTexture(kMenuFrame);
    }
}

CGarage::~CGarage() {}

void CGarage::Run() {
    // The saved build is where every visit starts.
    if (!g_quit) LoadGarageBuild();
    while (!g_quit) {
        PlayMidiFile(kMusicFile);
        Refresh();
        const std::string choice = GarageTopMenu();
        if (choice == "アセンブル") {
            Assemble();
        } else if (choice == "テスト出撃") {
            RunTestBattle(this);
        } else if (choice == "セーブ") {
            SaveGarageBuild();
        } else if (choice == "ロード") {
            LoadGarageBuild();
        } else {
            break;  // "ガレージ終了", "Cancel" or the quit flag
        }
    }
    StopMusic();
}

void CGarage::Assemble() {
    while (!g_quit) {
        const std::string choice = AssembleMenu();
        if (choice.empty()) break;
        if (choice == "素体変更") {
            TakeBuild(ChooseFrameModel(m_code));
        } else if (choice == "パーツ変更") {
            ChangeParts();
        } else if (choice == "Ｒ武装変更") {
            const int id = RightWeaponMenu() - 1;
            if (id != -1) m_build.m_config[kCfgRightWeapon] = id;
        } else if (choice == "Ｌ武装変更") {
            const int id = LeftWeaponMenu() - 1;
            if (id != -1) m_build.m_config[kCfgLeftItem] = id;
        } else if (choice == "カラー変更") {
            ChangeColors();
        }
        Refresh();
    }
}

void CGarage::ChangeParts() {
    while (!g_quit) {
        const int slot = PartSlotMenu() - 1;
        if (slot < 0) break;
        const int variant = PartSelectMenu(slot) - 1;
        if (variant >= 0) m_build.m_config[kCfgGroup0 + slot] = variant;
        Refresh();
    }
}

void CGarage::ChangeColors() {
    const std::string choice = ColorMenu();
    if (choice == "ＲＧＢ指定") {
        while (!g_quit) {
            const int channel = ColorRgbMenu() - 1;
            if (channel < 0) break;
            const int value = ColorRgbSetMenu() - 1;
            if (value >= 0) SetChannel(channel, value);
        }
    } else if (choice == "プリセット") {
        const int row = ColorPresetMenu() - 1;
        if (row >= 0 && row < kColorPresetCount)
            for (int c = 0; c < kColorChannelCount; ++c) m_build.m_config[kCfgMainRed + c] = kColorPresets[row].channels[c];
    } else if (choice == "ＲＧＢ４") {
        ColorRgbEditor();
    }
}

void CGarage::SetChannel(int channel, int value) {
    if (channel < 0 || channel >= kColorChannelCount) return;
    m_build.m_config[kCfgMainRed + channel] = value;
    m_build.ApplyColors(&m_showroom.m_robot);
}

void CGarage::Refresh() {
    m_code = m_build.EncodeConfig();
    if (m_code == m_lastCode) return;
    m_lastCode = m_code;
    m_showroom.Rebuild(&m_build);
    m_statSheet.Clear();
    m_statSheet.AddLine(m_build.BuildStatsText(&m_showroom.m_robot), kGarageStatColor);
    m_statSheet.RenderDirty();
}

void CGarage::TakeBuild(const std::string& code) {
    // The part menus list the names the type set-up left in the build. Those of another type
    // must go first; those of the same type stay, since a build whose code does not change is
    // not set up again.
    CRobotCatalog incoming;
    incoming.DecodeConfig(code);
    if (incoming.m_config[kCfgType] != m_build.m_config[kCfgType]) m_build.InitNames();
    m_build.DecodeConfig(code);
}

void CGarage::SaveGarageBuild() { SaveBuildRecord(m_build.EncodeConfig()); }

void CGarage::LoadGarageBuild() {
    CPlayerData data;
    data.Load();
    TakeBuild(data.m_roboData);
}

int InstallStarterRecord() {
    const CPlayerData data;
    if (SysFileExists(data.m_path.c_str())) return 1;
    return SaveBuildRecord(GetRobotConfigCode(kSelectableModels[0]));
}

void GarageScene() {
    CGarage garage;
    garage.Run();
}
