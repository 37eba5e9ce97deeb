#!/usr/bin/env bash
# Sets up, builds the game folder (the programs, the assets and a new player's record; not the
# tests) and starts the game from it. The set-up's and the build's progress show on the terminal
# while they run, and a failure shows why and ends the script.
# Usage: scripts/run_game.sh [game options: -win -dbf -2nd -3ds /fx]
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD_TARGETS=game scripts/setup.sh build
cd build/game
exec ./zaumolta "$@"
