#!/usr/bin/env bash
# Installs the system packages, configures and builds into the given folder. It says a line for
# each stage that has work to do and shows the build's progress; cmake's report shows only when
# it fails, its warnings and errors always. One set-up at a time works on a folder; a later one
# says that it waits.
# Usage: scripts/setup.sh BUILD_DIR [extra cmake options...]
#   BUILD_TYPE: Release (default) or Debug; BUILD_TARGETS: what to build (default: everything)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
shift || true

# One set-up at a time builds a folder: a second one's cmake or ninja would write the files the
# first is reading, or relink a tool the first is running. The lock goes with this script and what
# it starts (a build that outlives it still holds it), not with the program run afterwards.
mkdir -p "$build"
exec 9>>"$build/.setup.lock"
if ! flock -n 9; then
  echo "Waiting for another set-up building $build/ to finish"
  flock 9
fi

packages=(
  g++ cmake ninja-build pkg-config
  libsdl2-dev libgl1-mesa-dev libgl1-mesa-dri libglu1-mesa-dev
  libopenal-dev libfluidsynth-dev timgm6mb-soundfont
  libfreetype-dev fonts-ipafont-gothic
  libpng-dev libjpeg-dev zlib1g-dev
  libgtest-dev libgmock-dev libbenchmark-dev
)
scripts/install_packages.sh "${packages[@]}"

[ -f "$build/CMakeCache.txt" ] || echo "Configuring $build/ with cmake; the first build takes a few minutes"
log=$(mktemp)
trap 'rm -f "$log"' EXIT
if ! cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=${BUILD_TYPE:-Release} "$@" >"$log"; then
  cat "$log" >&2
  exit 1
fi
read -r -a targets <<<"${BUILD_TARGETS:-}"
if [ -t 1 ] && [ "${TERM:-dumb}" != dumb ]; then
  # On a terminal the build's progress is one line that rewrites itself and goes when the build
  # is done; what the compilers say stays. A marker tells ninja's status lines apart.
  cols=$(tput cols 2>/dev/null || echo 80)
  show_progress() {
    while IFS= read -r line || [ -n "$line" ]; do
      case $line in
        $'\x1f'*) line=${line#?}; printf '\r\033[K%s' "${line:0:cols-1}" ;;
        "ninja: Entering directory"* | "ninja: no work to do.") ;;
        *) printf '\r\033[K%s\n' "$line" ;;
      esac
    done
    printf '\r\033[K'
  }
  NINJA_STATUS=$'\x1f[%f/%t] ' ninja -C "$build" "${targets[@]}" | show_progress
else
  ninja -C "$build" "${targets[@]}"
fi
