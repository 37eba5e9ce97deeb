// Scene 3, "NET": the loading picture, then the network lobby, which lives on this scene's stack
// for as long as the player stays in it.
#include "lobby.h"
#include "loading_screen.h"
#include "scenes.h"

void NetLobbyScene() {
    ShowLoadingScreen();
    // Constructed even when the quit flag is set: every loop of the lobby then leaves at once,
    // and its destructor still writes the connection settings back.
    CLobby lobby;
    lobby.Run();
}
