// Scene 3, "NET": the loading picture, then the network lobby.
#include "loading_screen.h"
#include "scenes.h"

void NetLobbyScene() {
    ShowLoadingScreen();
    // TODO: construct the lobby (CLobby) here, run it and destroy it, once network play is
    // built; it is constructed even when the quit flag is set, its own loops leave at once.
}
