// The program's entry: start the engine, run the game, shut down.
#include "engine.h"

int main(int argc, char** argv) {
    SetCommandLine(argc, argv);
    // A start that failed (another copy running, no window, a device missing) is no success
    // for whoever started the program.
    const int started = g_engine.Init();
    if (started) GameMain();
    g_engine.Free();
    return started ? 0 : 1;
}
