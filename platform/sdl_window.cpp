// SDL2 main window and event pump.
#include "sdl_local.h"
#include "sys_text.h"
#include "sys_window.h"

#include <poll.h>

#include <cstdio>

namespace {

constexpr int kMaxListeners = 8;   // input, text input, graphics, tests
constexpr int kMaxPumpHooks = 8;
constexpr int kMaxWatchedFds = 16; // the game holds at most a few sockets at once

SDL_Window* g_window = nullptr;
SysWindowHandler g_handler = {};
bool g_quitPosted = false;
void (*g_listeners[kMaxListeners])(const SDL_Event&) = {};
void (*g_pumpHooks[kMaxPumpHooks])() = {};
struct Watched {
    int fd;
    int wantWrite;
} g_watched[kMaxWatchedFds];
int g_watchedCount = 0;
void (*g_messageBoxSink)(const char*, const char*) = nullptr;

// Registration in a fixed table of callbacks: once each, into the first free slot (dropped
// when the table is full); removal frees every slot holding it.
template <typename Fn, int N>
void AddOnce(Fn* (&slots)[N], Fn* fn) {
    for (Fn*& s : slots)
        if (s == fn) return;
    for (Fn*& s : slots)
        if (!s) {
            s = fn;
            return;
        }
}

template <typename Fn, int N>
void RemoveAll(Fn* (&slots)[N], Fn* fn) {
    for (Fn*& s : slots)
        if (s == fn) s = nullptr;
}

void Dispatch(const SDL_Event& e) {
    for (auto* l : g_listeners)
        if (l) l(e);
    switch (e.type) {
        case SDL_QUIT:
            SysCloseWindow();
            break;
        case SDL_WINDOWEVENT:
            switch (e.window.event) {
                case SDL_WINDOWEVENT_CLOSE:
                    SysCloseWindow();
                    break;
                // The screen saver and monitor power-down are refused while the player is at
                // the game; once another window has the focus the desktop may blank as usual.
                case SDL_WINDOWEVENT_FOCUS_GAINED:
                    SDL_DisableScreenSaver();
                    if (g_handler.onActivate) g_handler.onActivate(1);
                    break;
                case SDL_WINDOWEVENT_FOCUS_LOST:
                    SDL_EnableScreenSaver();
                    if (g_handler.onActivate) g_handler.onActivate(0);
                    break;
                case SDL_WINDOWEVENT_SIZE_CHANGED:
                    if (g_handler.onSize) g_handler.onSize(e.window.data1, e.window.data2);
                    break;
                case SDL_WINDOWEVENT_MOVED:
                    if (g_handler.onMove) g_handler.onMove();
                    break;
                default:
                    break;
            }
            break;
        case SDL_DISPLAYEVENT:
            if (g_handler.onDisplayChange) g_handler.onDisplayChange();
            break;
        default:
            break;
    }
}

bool WatchedReady() {
    if (g_watchedCount == 0) return false;
    pollfd fds[kMaxWatchedFds];
    for (int i = 0; i < g_watchedCount; ++i) {
        fds[i].fd = g_watched[i].fd;
        fds[i].events = (short)(POLLIN | (g_watched[i].wantWrite ? POLLOUT : 0));
        fds[i].revents = 0;
    }
    return poll(fds, (nfds_t)g_watchedCount, 0) > 0;
}

}  // namespace

int SdlInitSubsystem(Uint32 flags) {
    if (SDL_WasInit(flags) == flags) return 1;
    return SDL_InitSubSystem(flags) == 0 ? 1 : 0;
}

SDL_Window* SdlGetWindow() { return g_window; }

void SdlAddEventListener(void (*listener)(const SDL_Event&)) { AddOnce(g_listeners, listener); }
void SdlRemoveEventListener(void (*listener)(const SDL_Event&)) { RemoveAll(g_listeners, listener); }

void SysSetWindowHandler(const SysWindowHandler* handler) { g_handler = handler ? *handler : SysWindowHandler{}; }

int SysCreateWindow(const char* caption, int width, int height) {
    if (g_window) return 1;
    if (!SdlInitSubsystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS)) return 0;
    std::string title = SjisToUtf8(caption ? caption : "");
    g_window = SDL_CreateWindow(title.c_str(), 0, 0, width, height,
                                SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN | SDL_WINDOW_RESIZABLE);
    if (!g_window) return 0;
    // SDL keeps the screen saver off from its start; the game refuses it only while focused.
    SDL_EnableScreenSaver();
    return 1;
}

void SysDestroyWindow() {
    if (g_window) {
        SDL_DestroyWindow(g_window);
        g_window = nullptr;
        SDL_EnableScreenSaver();
    }
}

int SysScreenSaverRefused() { return SDL_WasInit(SDL_INIT_VIDEO) && !SDL_IsScreenSaverEnabled() ? 1 : 0; }

int SysHasWindow() { return g_window ? 1 : 0; }

void SysShowWindow() {
    if (g_window) SDL_ShowWindow(g_window);
}

void SysSetWindowCaption(const char* caption) {
    if (g_window) SDL_SetWindowTitle(g_window, SjisToUtf8(caption ? caption : "").c_str());
}

void SysGetWindowClientSize(int* width, int* height) {
    int w = 0, h = 0;
    if (g_window) SDL_GetWindowSize(g_window, &w, &h);
    if (width) *width = w;
    if (height) *height = h;
}

void SysCloseWindow() {
    if (g_handler.onClose)
        g_handler.onClose();
    else
        SysPostQuit();
}

void SysPostQuit() { g_quitPosted = true; }

void SysClearQuit() { g_quitPosted = false; }

int SysPumpEvents() {
    for (auto* h : g_pumpHooks)
        if (h) h();
    if (SDL_WasInit(SDL_INIT_EVENTS)) {
        SDL_Event e;
        while (SDL_PollEvent(&e)) Dispatch(e);
    }
    return g_quitPosted ? 1 : 0;
}

void SysWaitEvent() {
    if (g_quitPosted) return;
    // SDL cannot wait on descriptors, so wait in short slices and look at the sockets between.
    for (;;) {
        if (WatchedReady()) return;
        if (!SDL_WasInit(SDL_INIT_EVENTS)) return;
        if (SDL_WaitEventTimeout(nullptr, 10)) return;
    }
}

void SysWatchFd(int fd, int wantWrite) {
    for (int i = 0; i < g_watchedCount; ++i)
        if (g_watched[i].fd == fd) {
            g_watched[i].wantWrite = wantWrite;
            return;
        }
    if (g_watchedCount < kMaxWatchedFds) g_watched[g_watchedCount++] = {fd, wantWrite};
}

void SysUnwatchFd(int fd) {
    for (int i = 0; i < g_watchedCount; ++i)
        if (g_watched[i].fd == fd) {
            g_watched[i] = g_watched[--g_watchedCount];
            return;
        }
}

void SysAddPumpHook(void (*hook)()) { AddOnce(g_pumpHooks, hook); }
void SysRemovePumpHook(void (*hook)()) { RemoveAll(g_pumpHooks, hook); }

void SysSetMessageBoxSink(void (*sink)(const char*, const char*)) { g_messageBoxSink = sink; }

void SysMessageBox(const char* title, const char* text) {
    if (g_messageBoxSink) {
        g_messageBoxSink(title ? title : "", text ? text : "");
        return;
    }
    std::string t = SjisToUtf8(title ? title : ""), m = SjisToUtf8(text ? text : "");
    fprintf(stderr, "%s: %s\n", t.c_str(), m.c_str());
    // Without a desktop this fails at once instead of blocking.
    SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, t.c_str(), m.c_str(), g_window);
}

int SysAskYesNo(const char* title, const char* text) {
    if (g_messageBoxSink) {
        g_messageBoxSink(title ? title : "", text ? text : "");
        return 0;
    }
    std::string t = SjisToUtf8(title ? title : ""), m = SjisToUtf8(text ? text : "");
    const SDL_MessageBoxButtonData buttons[] = {
        {SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT, 1, "Yes"},
        {SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, 0, "No"},
    };
    const SDL_MessageBoxData box = {SDL_MESSAGEBOX_INFORMATION, g_window, t.c_str(), m.c_str(), 2, buttons, nullptr};
    int answer = 0;
    if (SDL_ShowMessageBox(&box, &answer) != 0) return 0;
    return answer == 1 ? 1 : 0;
}
