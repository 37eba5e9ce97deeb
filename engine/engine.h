// Engine start-up and shut-down, the main window, the message pump and the command line.
#pragma once

#include "debug_log.h"
#include "frame_timer.h"

constexpr int kScreenWidth = 640;   // the game always draws a 640 x 480 back buffer
constexpr int kScreenHeight = 480;

class CEngine {
public:
    CEngine() = default;
    ~CEngine();                    // runs Free at process exit
    int Init();                    // 1 when every device is up; 0 when a step failed
    void Free();                   // reverse order; skips what never started
    int CreateInstanceMutex();     // 1 when this process is the only instance
    void SetFrameCallback(void (*callback)()) { m_frameCallback = callback; }
    void RunFrame();               // input, the frame callback, the frame wait (no scene uses it)

    CEngine(const CEngine&) = delete;
    CEngine& operator=(const CEngine&) = delete;

private:
    int m_instanceMutex = -1;
    int m_windowCreated = 0;
    void (*m_frameCallback)() = nullptr;
};

extern CEngine g_engine;

// Engine globals
extern int g_clientWidth;
extern int g_clientHeight;
extern int g_appActive;
extern unsigned char g_quitSeen;   // a quit message arrived; never cleared
extern unsigned char g_quit;       // the game's quit flag; every loop leaves when it is set
extern int g_windowed;             // running in a window ("-win" accepted by the display)

// Main window
int CreateMainWindow();
void FitClientArea();
void CloseMainWindow();            // as the close box: the pump reports quit from now on
void SetWindowTitle(const char* text);

// Message pump
int PumpMessages();                // 0 once a quit message was seen, else 1
int IsAppActive();
void WaitMessage();                // blocks until the next window message or socket event

// Window message handlers
void OnMove();
void OnSize(int width, int height);
void OnActivateApp(int active);

// Command line: the arguments after the program name.
void SetCommandLine(int argc, const char* const* argv);
int HasCommandLineOption(const char* text);

// The game's entry (the shell provides it).
int GameMain();
