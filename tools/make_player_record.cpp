// make_player_record: lays out a new installation's player record in the game folder, written
// by the game's own garage code so it is byte for byte what the garage saves. The build runs it
// every time; a folder that has a record already keeps it.
#include "garage.h"

#include <unistd.h>

#include <cstdio>

int main(int argc, char** argv) {
    if (argc < 2) {
        fprintf(stderr, "usage: make_player_record GAME_DIR\n");
        return 2;
    }
    if (chdir(argv[1]) != 0) {
        fprintf(stderr, "make_player_record: cannot enter %s\n", argv[1]);
        return 1;
    }
    if (!InstallStarterRecord()) {
        fprintf(stderr, "make_player_record: cannot write the player record in %s\n", argv[1]);
        return 1;
    }
    return 0;
}
