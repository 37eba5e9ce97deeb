#!/usr/bin/env bash
# Sets up, builds and runs the whole test suite headless.
# Usage: scripts/run_tests.sh [--sanitize]   (--sanitize: AddressSanitizer + UBSan build)
set -euo pipefail
cd "$(dirname "$0")/.."
build=build
opts=()
skip=()
# The limit ends only a test that hangs: a busy machine (a build beside it, eight processors each
# running something else) makes the heaviest tests take several times as long as on a quiet one.
timeout=600
if [ "${1:-}" = "--sanitize" ]; then
  build=build-sanitize
  opts=(-DSANITIZE=ON -DBENCH=OFF)
  export BUILD_TYPE=Debug
  export ASAN_OPTIONS=detect_leaks=0
  export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
  # Tests that only render pictures for people to look at run in the plain build; their drawing
  # paths are the ones the other tests already run under the sanitizers, many times slower.
  skip=(-E 'Pictures\.')
  # Sanitized code runs two to three times slower, and the suite must still pass on a machine
  # whose processors are three times oversubscribed: the heaviest battle test took 74 s at a load
  # of 10 and passed 300 s at 25 on eight processors. The end-to-end tests scale their own limit
  # the same way (tests/CMakeLists.txt).
  timeout=1200
fi
# The tests whose peer vanishes as a machine does cut an address in a network namespace of
# their own with `ip`.
scripts/install_packages.sh iproute2
scripts/setup.sh "$build" "${opts[@]}"
cd "$build"
ctest -j"$(nproc)" --output-on-failure --timeout "$timeout" "${skip[@]}"
