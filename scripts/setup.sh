#!/usr/bin/env bash
# Installs the system packages, configures and builds into the given folder.
# Usage: scripts/setup.sh BUILD_DIR [extra cmake options...]
#   BUILD_TYPE: Release (default) or Debug; BUILD_TARGETS: what to build (default: everything)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
shift || true

packages=(
  g++ cmake ninja-build pkg-config
  libsdl2-dev libgl1-mesa-dev libgl1-mesa-dri libglu1-mesa-dev
  libopenal-dev libfluidsynth-dev timgm6mb-soundfont
  libfreetype-dev fonts-ipafont-gothic
  libpng-dev libjpeg-dev zlib1g-dev
  libgtest-dev libgmock-dev libbenchmark-dev
)
scripts/install_packages.sh "${packages[@]}"

cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=${BUILD_TYPE:-Release} "$@"
read -r -a targets <<<"${BUILD_TARGETS:-}"
ninja -C "$build" "${targets[@]}"
