// The media-event queue. A posted event wakes the SDL event pump with a user event of our own
// type; the pump's listener then runs the handler, on the main thread between frames.
#include "sdl_local.h"
#include "sys_media.h"

namespace {

constexpr int kMaxMediaEvents = 64;   // a movie posts a handful; beyond this the oldest are kept

struct MediaEvent {
    int code;
    long param1, param2;
};
MediaEvent g_queue[kMaxMediaEvents];
int g_head = 0, g_count = 0;
Uint32 g_eventType = (Uint32)-1;
void (*g_handler)() = nullptr;

void Listener(const SDL_Event& e) {
    if (e.type == g_eventType && g_handler) g_handler();
}

}  // namespace

void SysSetMediaEventHandler(void (*handler)()) {
    g_handler = handler;
    if (handler) {
        if (g_eventType == (Uint32)-1) g_eventType = SDL_RegisterEvents(1);
        SdlAddEventListener(Listener);
    } else {
        SdlRemoveEventListener(Listener);
    }
}

void SysPostMediaEvent(int code, long param1, long param2) {
    if (g_count < kMaxMediaEvents) {
        g_queue[(g_head + g_count) % kMaxMediaEvents] = {code, param1, param2};
        ++g_count;
    }
    if (g_eventType != (Uint32)-1 && SDL_WasInit(SDL_INIT_EVENTS)) {
        SDL_Event e = {};
        e.type = g_eventType;
        SDL_PushEvent(&e);
    }
}

int SysGetMediaEvent(int* code, long* param1, long* param2) {
    if (g_count == 0) return 0;
    const MediaEvent& e = g_queue[g_head];
    if (code) *code = e.code;
    if (param1) *param1 = e.param1;
    if (param2) *param2 = e.param2;
    g_head = (g_head + 1) % kMaxMediaEvents;
    --g_count;
    return 1;
}

void SysClearMediaEvents() { g_head = g_count = 0; }
