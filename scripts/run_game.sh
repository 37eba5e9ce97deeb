#!/usr/bin/env bash
# Sets up, builds, lays out the game folder and starts the game from it.
# Usage: scripts/run_game.sh [game options: -win -dbf -2nd -3ds /fx]
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh build >/dev/null
cd build/game
exec ./zaumolta "$@"
