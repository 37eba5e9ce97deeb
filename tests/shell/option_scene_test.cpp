// The option scene under the scene driver: key and joystick bindings and the graphics level,
// checked in the bytes of ".\ap.ini", and a wait that the quit key or a closed window ends.
#include "option.h"
#include "pad.h"
#include "scene_fixture.h"
#include "scenes.h"
#include "settings.h"

#include "frame_loop.h"

#include <cstdio>
#include <functional>
#include <string>
#include <sys/stat.h>

#ifndef SCREENSHOT_DIR
#error "SCREENSHOT_DIR names the folder for saved frames"
#endif

namespace {

// Lines a save must leave alone: quick chat and the network buffer are never written.
const char kKeptLines[] = "[QM]\r\nF5=hi there\r\nEND=bye\r\n[NET]\r\nPlayBuff=7\r\n";

constexpr int kKeyX = 45, kKeyZ = 44;

class OptionTest : public SceneTest {
protected:
    // Picks row `row` of a fresh menu (its cursor starts on row 1; row 0 is "Cancel").
    void Choose(int row) {
        if (row == 0) driver.Press(kKeyUp);
        for (int i = 1; i < row; ++i) driver.Press(kKeyDown);
        driver.Press(kKeyEnter);
    }

    // What a save of `before` with these changes writes, for comparing whole files.
    static std::string Expected(const std::string& before, const std::function<void(CSettings*)>& change) {
        WriteWholeFile("ap.ini", before);
        CSettings settings;
        change(&settings);
        settings.Save();
        return ReadWholeFile("ap.ini");
    }

    static bool FileExists(const char* path) {
        struct stat st;
        return stat(path, &st) == 0;
    }
};

TEST_F(OptionTest, KeyboardBindingSkipsTheHeldConfirmAndSavesOnReturn) {
    WriteWholeFile("ap.ini", kKeptLines);
    ScreenImage optionShot, buttonShot, waitShot;
    driver.Wait(30).Capture(&optionShot);
    Choose(kOptionKeySet);
    Choose(kOptionKeyboard);
    driver.Wait(30).Capture(&buttonShot);
    driver.Press(kKeyDown).Press(kKeyDown).KeyDown(kKeyEnter);  // row 3, "Left"
    driver.Wait(2).Capture(&waitShot).KeyUp(kKeyEnter).Press(kKeyX);
    Choose(1);  // "Up"
    driver.Press(kKeyZ);
    Choose(kOptionButtonReturn);
    OptionScene();
    EXPECT_TRUE(driver.ScriptDone());
    EXPECT_EQ(g_quit, 0);

    std::string saved = ReadWholeFile("ap.ini");
    EXPECT_NE(saved.find("Key2= 45\r\n"), std::string::npos) << saved;
    EXPECT_NE(saved.find("Key0= 44\r\n"), std::string::npos) << saved;
    EXPECT_EQ(saved.find(kKeptLines), 0u) << saved;
    EXPECT_EQ(saved, Expected(kKeptLines, [](CSettings* s) {
                  s->m_values[kValueKey0 + 2] = kKeyX;
                  s->m_values[kValueKey0] = kKeyZ;
              }));
    WriteWholeFile("ap.ini", saved);

    // A pad built afterwards steers with the new key: setting index 2 ("Left") is pad slot 3.
    CPad pad;
    EXPECT_EQ(pad.m_keyCodes[2], kKeyX);
    int slot3 = 0, frames = 0;
    driver.KeyDown(kKeyX);
    RunFrameLoop([] { return false; },
                 [&] {
                     pad.SampleConfigured();
                     slot3 = pad.m_values[3];
                     return slot3 == kButtonPressed || ++frames > 5 ? 0 : 1;
                 });
    EXPECT_EQ(slot3, kButtonPressed);

    ASSERT_EQ(optionShot.SavePng(std::string(SCREENSHOT_DIR) + "/option_menu.png"), 1);
    ASSERT_EQ(buttonShot.SavePng(std::string(SCREENSHOT_DIR) + "/option_button_menu.png"), 1);
    ASSERT_EQ(waitShot.SavePng(std::string(SCREENSHOT_DIR) + "/option_wait_key.png"), 1);
    // The prompt stands at the top left of a black screen; the menus draw their strips.
    int ink = 0;
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 160; ++x) ink += waitShot.Pixel(x, y) != 0xff000000u;
    EXPECT_GT(ink, 20);
    EXPECT_EQ(waitShot.Pixel(320, 300), 0xff000000u);
    for (const ScreenImage* shot : {&optionShot, &buttonShot})
        EXPECT_NE(shot->Pixel(100, 15 + 24 + 10), 0xff000000u);
}

TEST_F(OptionTest, JoystickBindingOfTheBoostRow) {
    driver.AttachJoystick().Wait(2);
    Choose(kOptionKeySet);
    Choose(kOptionJoypad);
    Choose(11);  // "1 Bst"
    driver.Wait(2).PressJoystick(9).Wait(2);
    Choose(0);  // "Cancel" also ends the pass and saves
    OptionScene();
    EXPECT_TRUE(driver.ScriptDone());
    std::string saved = ReadWholeFile("ap.ini");
    EXPECT_NE(saved.find("Joy10=  9\r\n"), std::string::npos) << saved;
    EXPECT_EQ(saved, Expected("", [](CSettings* s) { s->m_values[kValueJoy0 + 10] = 9; }));
}

TEST_F(OptionTest, GraphicsLevels) {
    const char kHeld[] = "[GMP]\r\np_Graphics=    2\r\n[KEY]\r\nKey5= 99\r\n";
    struct Case {
        int answer;
        const char* before;  // nullptr: no file
        const char* line;    // expected p_Graphics line
    };
    const Case cases[] = {
        {kOptionLow, nullptr, "p_Graphics=    1\r\n"},
        {kOptionMid, nullptr, "p_Graphics=    2\r\n"},
        {kOptionHi, kHeld, "p_Graphics=    3\r\n"},
        {4, kHeld, "p_Graphics=    2\r\n"},  // "Return": the file's own values again
        {0, kHeld, "p_Graphics=    2\r\n"},  // "Cancel" in the graphics menu saves too
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.answer);
        if (c.before) {
            WriteWholeFile("ap.ini", c.before);
        } else {
            std::remove("ap.ini");
        }
        Choose(kOptionGraphics);
        Choose(c.answer);
        OptionScene();
        EXPECT_TRUE(driver.ScriptDone());
        std::string saved = ReadWholeFile("ap.ini");
        EXPECT_NE(saved.find(c.line), std::string::npos) << saved;
        int level = GraphicsLevelOf(c.answer);
        std::string before = c.before ? c.before : "";
        EXPECT_EQ(saved, Expected(before, [level](CSettings* s) {
                      if (level) s->m_values[kValueGraphics] = level;
                  }));
        if (c.before) {
            EXPECT_NE(saved.find("Key5= 99\r\n"), std::string::npos);
        }
    }
}

TEST_F(OptionTest, CancelInTheFirstMenuWritesNothing) {
    std::remove("ap.ini");
    Choose(0);
    OptionScene();
    EXPECT_TRUE(driver.ScriptDone());
    EXPECT_FALSE(FileExists("ap.ini"));
}

// Escape closes the window from the same poll whose frame runs the wait: it must not become
// the binding. Either way the row keeps its binding, the rows before it are saved, the game ends.
class OptionQuitTest : public OptionTest {
protected:
    void QuitDuringWait(bool escape) {
        std::remove("ap.ini");
        Choose(kOptionKeySet);
        Choose(kOptionKeyboard);
        Choose(1);
        driver.Wait(2).Press(kKeyZ);
        Choose(3);
        driver.Wait(2);
        if (escape) driver.Press(kKeyEscape);
        else driver.Quit();
        OptionScene();
        EXPECT_TRUE(driver.ScriptDone());
        EXPECT_NE(g_quit, 0);
        std::string saved = ReadWholeFile("ap.ini");
        EXPECT_NE(saved.find("Key0= 44\r\n"), std::string::npos) << saved;
        EXPECT_NE(saved.find("Key2= 30\r\n"), std::string::npos) << saved;
        EXPECT_EQ(saved, Expected("", [](CSettings* s) { s->m_values[kValueKey0] = kKeyZ; }));
    }
};

TEST_F(OptionQuitTest, EscapeIsNeverTakenAsTheNewKey) { QuitDuringWait(true); }
TEST_F(OptionQuitTest, ClosedWindowKeepsTheRowsBinding) { QuitDuringWait(false); }

}  // namespace
