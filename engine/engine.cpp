// Start-up in a fixed order, shut-down in reverse, and the window's message handling.
#include "engine.h"

#include "graphics.h"
#include "input.h"
#include "music.h"
#include "sound.h"

#include "sys_lock.h"
#include "sys_window.h"

#include <cstring>
#include <string>
#include <vector>

CEngine g_engine;

int g_clientWidth = 0;
int g_clientHeight = 0;
int g_appActive = 0;
unsigned char g_quitSeen = 0;
unsigned char g_quit = 0;
int g_windowed = 0;

namespace {

constexpr const char* kInstanceMutexName = "vav mutex";
std::vector<std::string> g_args;

void OnClose() { SysPostQuit(); }
void OnDisplayChange() { LogPrintf("<ディスプレイモードの変更>\n"); }

const SysWindowHandler kHandler = {OnClose, OnActivateApp, OnSize, OnMove, OnDisplayChange};

}  // namespace

CEngine::~CEngine() { Free(); }

int CEngine::CreateInstanceMutex() {
    // The log file is not chosen yet: this line always goes to the debugger output.
    LogPrintf("多重起動を禁止します.\n");
    m_instanceMutex = SysAcquireNamedLock(kInstanceMutexName);
    return m_instanceMutex >= 0 ? 1 : 0;
}

int CEngine::Init() {
    if (!CreateInstanceMutex()) return 0;
    InitDebugStream();
    if (!CreateMainWindow()) return 0;
    m_windowCreated = 1;
    if (!InitDirect3D()) return 0;
    if (!InitDirectInput()) return 0;
    if (!InitDirectSound()) return 0;
    if (!InitDirectMusic()) return 0;
    g_frameTimer.Init();
    return 1;
}

void CEngine::Free() {
    FreeDirectMusic();
    FreeDirectSound();
    FreeInput();
    FreeDirect3D();
    if (m_windowCreated) {
        SysDestroyWindow();
        SysSetWindowHandler(nullptr);
        m_windowCreated = 0;
    }
    if (m_instanceMutex >= 0) {
        SysReleaseNamedLock(m_instanceMutex);
        m_instanceMutex = -1;
    }
}

void CEngine::RunFrame() {
    UpdateInput();
    if (m_frameCallback) m_frameCallback();
    g_frameTimer.Wait();
}

int CreateMainWindow() {
    SysSetWindowHandler(&kHandler);
    if (!SysCreateWindow("ZAU_MOLTA", kScreenWidth, kScreenHeight)) return 0;
    g_clientWidth = kScreenWidth;
    g_clientHeight = kScreenHeight;
    FitClientArea();
    g_appActive = 1;
    return 1;
}

// The window is created with its client area at the requested size already; nothing to adjust.
void FitClientArea() {}

void CloseMainWindow() { SysCloseWindow(); }

void SetWindowTitle(const char* text) { SysSetWindowCaption(text); }

int PumpMessages() {
    if (SysPumpEvents()) g_quitSeen = 1;
    return g_quitSeen ? 0 : 1;
}

int IsAppActive() { return g_appActive; }

void WaitMessage() { SysWaitEvent(); }

void OnMove() { PlaceVideoWindow(); }

void OnSize(int width, int height) {
    if (!g_windowed) return;
    g_clientWidth = width;
    g_clientHeight = height;
    LogPrintf("<クライアント領域 %d x %d>\n", width, height);
    PlaceVideoWindow();
}

void OnActivateApp(int active) {
    g_appActive = active;
    LogPrintf(active ? "<アクティブ>\n" : "<非アクティブ>\n");
}

void SetCommandLine(int argc, const char* const* argv) {
    g_args.clear();
    for (int i = 1; i < argc; ++i) g_args.emplace_back(argv[i] ? argv[i] : "");
}

int HasCommandLineOption(const char* text) {
    for (const std::string& a : g_args)
        if (a == text) return 1;
    return 0;
}
