#!/usr/bin/env bash
# Sets up, builds and runs the whole test suite headless.
# Usage: scripts/run_tests.sh [--sanitize]   (--sanitize: AddressSanitizer + UBSan build)
set -euo pipefail
cd "$(dirname "$0")/.."
build=build
opts=()
if [ "${1:-}" = "--sanitize" ]; then
  build=build-sanitize
  opts=(-DSANITIZE=ON -DBENCH=OFF)
  export BUILD_TYPE=Debug
  export ASAN_OPTIONS=detect_leaks=0
  export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
fi
scripts/setup.sh "$build" "${opts[@]}"
cd "$build"
ctest -j"$(nproc)" --output-on-failure --timeout 300
