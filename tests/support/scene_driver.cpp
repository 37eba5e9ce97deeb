// The scene driver acts at every pump of the message loop: it releases what it pressed at the
// previous pump, runs the script steps that are due, and closes the window at the pump limit.
// A pipe kept readable and watched by the pump means a loop waiting for a window message while
// inactive comes back at once, so inactive passes are counted as pumps instead of blocking.
#include "scene_driver.h"

#include "fake_clock.h"

#include "engine.h"
#include "graphics.h"

#include "sys_image.h"
#include "sys_info.h"
#include "sys_input.h"
#include "sys_lock.h"
#include "sys_path.h"
#include "sys_text_input.h"
#include "sys_window.h"

#include <unistd.h>

#include <cstring>

#ifndef GAME_DIR
#error "GAME_DIR must name the game folder"
#endif

namespace {

CSceneDriver* g_active = nullptr;
int g_sessions = 0;

// Asset folders the game reads relative to its folder.
const char* const kAssetFolders[] = {"bmp", "wave", "midi", "x", "map", "obj", "res"};

constexpr int kJoystickEntries = 14;  // 0-5 axis directions, 6-13 buttons 0-7

void JoystickState(int entry, int axes[kSysJoystickAxes], unsigned char buttons[kSysJoystickButtons]) {
    for (int a = 0; a < kSysJoystickAxes; ++a) axes[a] = 0;
    for (int b = 0; b < kSysJoystickButtons; ++b) buttons[b] = 0;
    if (entry < 0 || entry >= kJoystickEntries) return;
    if (entry >= 6) {
        buttons[entry - 6] = 0x80;
        return;
    }
    static const int kAxisOf[6] = {1, 1, 0, 0, 2, 2};
    axes[kAxisOf[entry]] = (entry % 2 == 0) ? -kSysAxisRange : kSysAxisRange;
}

}  // namespace

uint32_t ScreenImage::Pixel(int x, int y) const {
    if (x < 0 || y < 0 || x >= width || y >= height) return 0;
    return argb[(size_t)y * width + x];
}

int ScreenImage::SavePng(const std::string& path) const {
    if (width <= 0 || height <= 0) return 0;
    return SysSavePng(path, argb.data(), width, height);
}

CSceneDriver::CSceneDriver() {
    ++g_sessions;
    SysSetLockNamespace(("scene-driver-" + std::to_string(getpid()) + "-" + std::to_string(g_sessions)).c_str());
    SysSetDebugOutputSink(CaptureLog);
    SysSetMessageBoxSink(CaptureBox);
    ResetLogFileName();
    SysClearQuit();
    g_quit = 0;
    g_quitSeen = 0;
    FakeClock::Install();
    g_active = this;
    if (pipe(m_wakePipe) == 0) {
        char byte = 1;
        if (write(m_wakePipe[1], &byte, 1) == 1) SysWatchFd(m_wakePipe[0], 0);
    }
    SysAddPumpHook(PumpHook);
}

CSceneDriver::~CSceneDriver() {
    SysRemovePumpHook(PumpHook);
    if (m_joystick >= 0) SysDetachVirtualJoystick(m_joystick);
    g_engine.Free();
    if (m_wakePipe[0] >= 0) {
        SysUnwatchFd(m_wakePipe[0]);
        close(m_wakePipe[0]);
        close(m_wakePipe[1]);
    }
    g_active = nullptr;
    FakeClock::Uninstall();
    SysClearQuit();
    g_quit = 0;
    g_quitSeen = 0;
    SysSetMessageBoxSink(nullptr);
    SysSetDebugOutputSink(nullptr);
}

int CSceneDriver::Start(std::initializer_list<const char*> options) {
    const char* argv[16] = {"zaumolta"};
    int argc = 1;
    for (const char* o : options)
        if (argc < 16) argv[argc++] = o;
    SetCommandLine(argc, argv);
    m_started = g_engine.Init();
    m_pumps = 0;
    return m_started;
}

int CSceneDriver::UseGameAssets() {
    std::string here = SysGetCurrentDir();
    int ok = 1;
    for (const char* folder : kAssetFolders) {
        std::string from = std::string(GAME_DIR) + "/" + folder;
        if (access(from.c_str(), F_OK) != 0) continue;
        if (symlink(from.c_str(), (here + "/" + folder).c_str()) != 0) ok = 0;
    }
    return ok;
}

CSceneDriver& CSceneDriver::Add(std::function<void()> action, int pumps) {
    m_steps.push_back({std::move(m_pendingCondition), std::move(action), pumps});
    m_pendingCondition = nullptr;
    return *this;
}

CSceneDriver& CSceneDriver::Wait(int pumps) { return Add(nullptr, pumps); }

CSceneDriver& CSceneDriver::WaitFor(std::function<bool()> holds) {
    // Two conditions in a row: the first is met by a step of its own.
    if (m_pendingCondition) Add(nullptr, 0);
    m_pendingCondition = std::move(holds);
    return *this;
}

CSceneDriver& CSceneDriver::Press(int key) {
    return Add(
        [this, key] {
            SysInjectKey(key, 1);
            m_releaseKeys.push_back(key);
        },
        2);
}

CSceneDriver& CSceneDriver::KeyDown(int key) { return Add([key] { SysInjectKey(key, 1); }, 1); }
CSceneDriver& CSceneDriver::KeyUp(int key) { return Add([key] { SysInjectKey(key, 0); }, 1); }

CSceneDriver& CSceneDriver::MouseMove(int x, int y) { return Add([x, y] { SysInjectMouseMove(x, y); }, 1); }

CSceneDriver& CSceneDriver::Click(int button) {
    return Add(
        [this, button] {
            SysInjectMouseButton(button, 1);
            m_releaseButtons.push_back(button);
        },
        2);
}

CSceneDriver& CSceneDriver::Wheel(int notches) { return Add([notches] { SysInjectMouseWheel(notches); }, 1); }

CSceneDriver& CSceneDriver::Type(const char* sjis) {
    std::string text = sjis;
    return Add([text] { SysInjectText(text.c_str()); }, 1);
}

CSceneDriver& CSceneDriver::Compose(const char* sjis, int converted) {
    std::string text = sjis;
    return Add([text, converted] { SysInjectComposition(text.c_str(), converted); }, 1);
}

CSceneDriver& CSceneDriver::AttachJoystick() {
    return Add([this] { m_joystick = SysAttachVirtualJoystick(); }, 1);
}

CSceneDriver& CSceneDriver::PressJoystick(int entry) {
    return Add(
        [this, entry] {
            int axes[kSysJoystickAxes];
            unsigned char buttons[kSysJoystickButtons];
            JoystickState(entry, axes, buttons);
            SysSetVirtualJoystick(m_joystick, axes, buttons);
            m_releaseJoystick = 1;
        },
        2);
}

CSceneDriver& CSceneDriver::Focus(int gained) { return Add([gained] { SysInjectFocus(gained); }, 1); }
CSceneDriver& CSceneDriver::Quit() { return Add([] { SysInjectQuit(); }, 1); }
CSceneDriver& CSceneDriver::Do(std::function<void()> action) { return Add(std::move(action), 0); }

CSceneDriver& CSceneDriver::Capture(ScreenImage* out) {
    return Add([this, out] { *out = ReadFrame(); }, 0);
}

int CSceneDriver::ScriptDone() const { return m_next >= m_steps.size() && !m_pendingCondition ? 1 : 0; }

ScreenImage CSceneDriver::ReadFrame() const {
    ScreenImage image;
    image.width = kScreenWidth;
    image.height = kScreenHeight;
    image.argb.assign((size_t)kScreenWidth * kScreenHeight, 0);
    if (!GfxReadPixels(0, 0, kScreenWidth, kScreenHeight, image.argb.data())) {
        image.width = image.height = 0;
        image.argb.clear();
    }
    return image;
}

void CSceneDriver::PumpHook() {
    if (g_active) g_active->OnPump();
}

void CSceneDriver::CaptureLog(const char* text) {
    if (g_active) g_active->m_log += text;
}

void CSceneDriver::CaptureBox(const char* title, const char* text) {
    if (g_active) g_active->m_boxes += std::string(title) + "|" + text + "\n";
}

void CSceneDriver::OnPump() {
    ++m_pumps;
    for (int key : m_releaseKeys) SysInjectKey(key, 0);
    m_releaseKeys.clear();
    for (int button : m_releaseButtons) SysInjectMouseButton(button, 0);
    m_releaseButtons.clear();
    if (m_releaseJoystick) {
        int axes[kSysJoystickAxes];
        unsigned char buttons[kSysJoystickButtons];
        JoystickState(-1, axes, buttons);
        SysSetVirtualJoystick(m_joystick, axes, buttons);
        m_releaseJoystick = 0;
    }
    if (m_eachPump) m_eachPump();
    while (m_next < m_steps.size() && m_pumps >= m_readyAt) {
        Step& step = m_steps[m_next];
        if (step.condition && !step.condition()) break;
        if (step.action) step.action();
        m_readyAt = m_pumps + step.pumps;
        ++m_next;
    }
    if (m_pumps >= m_limit && !m_limitReached) {
        m_limitReached = 1;
        CloseMainWindow();
    }
}
