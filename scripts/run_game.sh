#!/usr/bin/env bash
# Sets up, builds the game folder (the programs, the assets and a new player's record; not the
# tests) and starts the game from it.
# Usage: scripts/run_game.sh [game options: -win -dbf -2nd -3ds /fx]
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD_TARGETS=game scripts/setup.sh build >/dev/null
cd build/game
exec ./zaumolta "$@"
