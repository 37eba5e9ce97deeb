// The movie player's side of the main window. No movie can be rendered here, so there is never
// a video window; the media-event path still runs: events wake the pump and are drained here.
#include "music.h"

#include "debug_log.h"

#include "sys_media.h"

namespace {

int g_filterGraph = 0;
int g_mediaControl = 0;
int g_mediaEvent = 0;
int g_videoWindow = 0;   // never set: nothing renders a movie
int g_moviePlaying = 0;

}  // namespace

int InitDirectShow() {
    DebugSeparator();
    LogPrintf("InitDirectShow\n");
    g_filterGraph = 1;
    g_mediaControl = 1;
    g_mediaEvent = 1;
    SysClearMediaEvents();
    SysSetMediaEventHandler(OnDirectShowEvent);
    return 1;
}

void FreeDirectShow() {
    DebugSeparator();
    LogPrintf("FreeDirectShow\n");
    StopMovie();
    SysSetMediaEventHandler(nullptr);
    SysClearMediaEvents();
    g_mediaEvent = 0;
    g_mediaControl = 0;
    g_filterGraph = 0;
}

int PlayMovie(const char* path) {
    LogPrintf("play(%s) ... ", path);
    // No decoder stands in for the filter graph: every file fails to render.
    LogPrintf("can't render.\n");
    return 0;
}

void StopMovie() {
    g_moviePlaying = 0;
    g_videoWindow = 0;
}

int IsMoviePlaying() { return g_moviePlaying; }

void OnDirectShowEvent() {
    if (!g_mediaEvent) return;
    int code = 0;
    long p1 = 0, p2 = 0;
    while (SysGetMediaEvent(&code, &p1, &p2)) {
        if (code == kMediaEventComplete || code == kMediaEventUserAbort) {
            StopMovie();
            return;
        }
    }
}

void PlaceVideoWindow() {
    if (!g_videoWindow) return;
}
