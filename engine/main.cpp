// The program's entry: start the engine, run the game, shut down.
#include "engine.h"

int main(int argc, char** argv) {
    SetCommandLine(argc, argv);
    if (g_engine.Init()) GameMain();
    g_engine.Free();
    return 0;
}
