// A headless player for scene tests: starts the engine as the program does (offscreen window,
// silent audio, a fake clock that never sleeps), plays a script of keys, joystick buttons and
// window events, and reads back what the frames drew. Scenes run their own frame loops
// unchanged: the driver acts from the pump hook, so one pump is one pass of a frame loop.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// A read-back of the 640 x 480 frame, ARGB, top row first.
struct ScreenImage {
    int width = 0, height = 0;
    std::vector<uint32_t> argb;
    uint32_t Pixel(int x, int y) const;  // 0 outside the image
    int SavePng(const std::string& path) const;  // 1 on success
};

class CSceneDriver {
public:
    CSceneDriver();   // fake clock, private lock namespace, log and message boxes captured
    ~CSceneDriver();  // engine down, hooks, clock and quit flags reset
    CSceneDriver(const CSceneDriver&) = delete;
    CSceneDriver& operator=(const CSceneDriver&) = delete;

    // The engine as the program starts it, with these command-line options; 1 on success.
    int Start(std::initializer_list<const char*> options = {});
    // Links the game folder's asset folders into the current (test) folder, so scenes find
    // their pictures and sounds while anything they write stays private to the test.
    int UseGameAssets();

    // ---- Script -------------------------------------------------------------------------------
    // Steps run in order, each at the first pump where the previous step is through and its
    // condition (if any) holds. Pumps count from 1 after Start.
    CSceneDriver& Wait(int pumps);                       // let that many pumps pass
    CSceneDriver& WaitFor(std::function<bool()> holds);  // the next step waits until it holds
    CSceneDriver& Press(int key);                        // down at this pump, up at the next
    CSceneDriver& KeyDown(int key);
    CSceneDriver& KeyUp(int key);
    CSceneDriver& MouseMove(int x, int y);               // frame coordinates
    CSceneDriver& Click(int button);                     // down at this pump, up at the next
    CSceneDriver& Wheel(int notches);
    CSceneDriver& Type(const char* sjis);                // committed text, as after typing
    CSceneDriver& Compose(const char* sjis, int converted);  // an input method's composition
    CSceneDriver& AttachJoystick();                      // a virtual joystick, opened at the next pump
    CSceneDriver& PressJoystick(int entry);              // entry 0..13 as the engine numbers them
    CSceneDriver& Focus(int gained);                     // the window gains or loses the focus
    CSceneDriver& Quit();                                // the desktop asks the program to close
    CSceneDriver& Do(std::function<void()> action);      // any action, taking no pump
    CSceneDriver& Capture(ScreenImage* out);             // the last drawn frame, at this pump
    int ScriptDone() const;                              // every step has run

    // ---- State ---------------------------------------------------------------------------------
    int Pumps() const { return m_pumps; }
    void ResetPumps() { m_pumps = 0; }
    // After this many pumps the window closes, so a loop that never ends still ends the test.
    void SetPumpLimit(int pumps) { m_limit = pumps; }
    int LimitReached() const { return m_limitReached; }
    // Runs at every pump before the script (e.g. to sample state frame by frame).
    void OnEachPump(std::function<void()> fn) { m_eachPump = std::move(fn); }

    ScreenImage ReadFrame() const;  // the back buffer as the last frame left it
    const std::string& Log() const { return m_log; }          // debug log lines (Shift-JIS)
    const std::string& MessageBoxes() const { return m_boxes; }

private:
    struct Step {
        std::function<bool()> condition;
        std::function<void()> action;
        int pumps;  // pumps the step takes before the next may run
    };
    static void PumpHook();
    static void CaptureLog(const char* text);
    static void CaptureBox(const char* title, const char* text);
    void OnPump();
    CSceneDriver& Add(std::function<void()> action, int pumps);

    std::vector<Step> m_steps;
    size_t m_next = 0;
    std::function<bool()> m_pendingCondition;
    int m_readyAt = 0;          // first pump at which the next step may run
    int m_pumps = 0;
    int m_limit = 20000;
    int m_limitReached = 0;
    int m_started = 0;
    std::vector<int> m_releaseKeys;   // keys pressed at the last pump, released at this one
    std::vector<int> m_releaseButtons;
    int m_releaseJoystick = 0;
    int m_joystick = -1;
    int m_wakePipe[2] = {-1, -1};
    std::function<void()> m_eachPump;
    std::string m_log, m_boxes;
};
