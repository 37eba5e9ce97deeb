// Scene 5, "OPTION": the option menus, the binding pass through a pad record and the graphics
// level through the settings.
#include "option.h"

#include "frame_loop.h"
#include "menu.h"
#include "menu_input.h"
#include "pad.h"
#include "scenes.h"
#include "settings.h"

#include "graphics.h"
#include "input.h"

namespace {

// The last answer of an option menu.
struct COptionMenuRecord {
    int m_unused0 = 0;
    int m_unused1 = 0;
    int m_result = 0;
};
COptionMenuRecord g_optionRecord;

const char* const kButtonRows[] = {"Up",           "Doun",      "Left",     "Right",    "3 Ltoon",
                                   "4 Rtoon",      "8 R-Wepon", "6 Back-Wepon", "7 L-Wepon",
                                   "2 LookCh",     "1 Bst",     "5 null",   "Return"};

// Every option menu is built anew on entry, so it comes back on its first item.
template <size_t N>
int BuildAndRun(const char* title, const char* const (&items)[N]) {
    CMenu menu;
    menu.SetTitle(title);
    for (const char* item : items) menu.AddItem(item);
    return RunOptionMenu(&menu);
}

// Shows the prompt on black until pressed() yields a binding; -1 when the quit flag ends it.
template <typename Pressed>
int WaitForBinding(const char* prompt, Pressed pressed) {
    int chosen = -1;
    RunFrameLoop([] { return false; },
                 [&] {
                     chosen = pressed();
                     if (chosen >= 0) return 0;
                     if (BeginFrame(0xff000000)) {
                         BeginText();
                         DrawTextFormat(0, 0, "%s", prompt);
                         EndText();
                         EndFrame();
                     }
                     return 1;
                 });
    return g_quit ? -1 : chosen;
}

// The binding pass: rows are bound until "Return", "Cancel" or quit, then saved once.
void BindButtons(int kind) {
    CPad pad;
    while (!g_quit) {
        if (kind != kOptionKeyboard && kind != kOptionJoypad) break;
        int row = OptionButtonMenu();
        if (row < 1 || row >= kOptionButtonReturn) break;
        int index = row - 1;
        if (kind == kOptionKeyboard) {
            int key = WaitKeyboardButton();
            if (key >= 0) pad.m_keyCodes[index] = (unsigned char)key;
        } else {
            int entry = WaitJoypadButton();
            if (entry >= 0) pad.m_joyEntries[index] = entry;
        }
    }
    pad.SaveBindings();
}

}  // namespace

int RunOptionMenu(CMenu* menu) {
    CMenuInput input;
    int chosen = -1;
    RunFrameLoop([] { return false; },
                 [&] {
                     input.Update();
                     if (input.m_up == 2) menu->CursorPrev();
                     if (input.m_down == 2) menu->CursorNext();
                     if (input.m_confirm == 2) {
                         chosen = g_optionRecord.m_result = menu->m_cursor;
                         return 0;
                     }
                     if (BeginFrame(0xff000000)) {
                         menu->Draw();
                         EndFrame();
                     }
                     return 1;
                 });
    return chosen;
}

int OptionMenu() {
    static const char* const items[] = {"KeySet", "Graphics", "Return"};
    return BuildAndRun("Option", items);
}

int OptionKeyMenu() {
    static const char* const items[] = {"KeyBood", "JoyPad", "Return"};
    return BuildAndRun("Option>Key", items);
}

int OptionButtonMenu() { return BuildAndRun("Option>Key>Button", kButtonRows); }

int OptionGraphicsMenu() {
    static const char* const items[] = {"Hi", "Mid", "Low", "Return"};
    return BuildAndRun("Option>Grap", items);
}

// The quit key closes the window from the same poll, yet this pass's frame still runs: taking
// it would bind a button that ends the game.
int WaitKeyboardButton() {
    return WaitForBinding("PUSH! KeyBood Button", [] {
        if (GetPressedKey() < 0) return -1;
        int quitKey = GetQuitKey();
        for (int k = 0; k < kKeyCount - 1; ++k)
            if (k != quitKey && GetKeyStatus(k) == kButtonPressed) return k;
        return -1;
    });
}

int WaitJoypadButton() {
    return WaitForBinding("PUSH! JoyPad Button", [] {
        for (int e = 0; e < kJoystickEntryCount; ++e)
            if (GetJoystickButton(0, e) == kButtonPressed) return e;
        return -1;
    });
}

int GraphicsLevelOf(int answer) {
    switch (answer) {
        case kOptionHi: return 3;
        case kOptionMid: return 2;
        case kOptionLow: return 1;
        default: return 0;
    }
}

void OptionScene() {
    int choice = OptionMenu();
    if (choice == kOptionKeySet) {
        BindButtons(OptionKeyMenu());
    } else if (choice == kOptionGraphics) {
        int level = GraphicsLevelOf(OptionGraphicsMenu());
        CSettings settings;
        if (level) settings.m_values[kValueGraphics] = level;
        settings.Save();
    }
}
