// Robot select: the models and "_LOAD_" in a menu, the robot under the cursor turning in the
// showroom with its stat sheet. The preview is rebuilt only once the cursor has rested, so
// scrolling through the list never waits for a robot to load.
#include "robot_presets.h"

#include "frame_loop.h"
#include "menu.h"
#include "menu_input.h"
#include "showroom.h"
#include "text_list.h"

#include "graphics.h"

namespace {

constexpr int kRestFrames = 20;  // frames the cursor rests before the preview follows it
constexpr uint32_t kStatColor = 0x77ffffff;

}  // namespace

std::string RobotSelectScene() {
    if (g_quit) return "";
    CShowroom showroom;
    CTextList stats;
    stats.Clear();
    CRobotCatalog catalog;
    CMenu menu;
    FillRobotSelectMenu(&menu);
    AddLoadItem(&menu);
    CMenuInput input;
    std::string code = GetRobotConfigCode(menu.GetSelectedText());
    showroom.SetRobot(code);
    int still = 0;

    std::string chosen;
    RunFrameLoop([] { return false; },
                 [&] {
                     input.Update();
                     if (input.m_up == 2) {
                         menu.CursorPrev();
                         still = 0;
                     }
                     if (input.m_down == 2) {
                         menu.CursorNext();
                         still = 0;
                     }
                     ++still;
                     const std::string selected = menu.GetSelectedText();
                     if (!selected.empty()) code = GetRobotConfigCode(selected);
                     if (input.m_confirm == 2) {
                         chosen = selected.empty() ? std::string() : code;
                         return 0;
                     }
                     if (still == kRestFrames) {
                         showroom.SetRobot(code);
                         stats.Clear();
                         catalog.DecodeConfig(code);
                         stats.AddLine(catalog.BuildStatsText(&showroom.m_robot), kStatColor);
                     }
                     showroom.Update();
                     if (BeginFrame(0xff000000)) {
                         showroom.DrawView();
                         stats.Draw();
                         menu.Draw();
                         EndFrame();
                     }
                     return 1;
                 });
    return chosen;
}
