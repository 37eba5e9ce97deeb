#!/usr/bin/env bash
# Builds the libFuzzer targets of tests/fuzz with clang++ (build-fuzz/) and runs each for SECONDS
# (default 20) over a temporary copy of its seeds, so new finds stay out of the tree. Fails on any
# crash, sanitizer report, leak, broken invariant, hang or memory blow-up; the input that did it
# is kept in build-fuzz/artifacts/ (add it to tests/fuzz/corpus/<target>/ with the fix).
# Usage: scripts/fuzz.sh [SECONDS]   FUZZ_JOBS: targets run at once (default: one per processor)
#        FUZZ_TARGETS: a space-separated subset (default: every target)
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-20}

# The rest of the build's packages come from scripts/setup.sh.
packages=(clang libclang-rt-14-dev)
scripts/install_packages.sh "${packages[@]}"

# -O1: the fuzz step's time goes to building as much as to running.
build=build-fuzz
CC=clang CXX=clang++ cmake -S . -B "$build" -G Ninja -DFUZZ=ON -DBENCH=OFF -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_CXX_FLAGS_RELEASE=-O1 -DCMAKE_C_FLAGS_RELEASE=-O1 >/dev/null
ninja -C "$build" fuzz
echo "fuzz: built in ${SECONDS}s"

all=$(cd tests/fuzz && ls -- *_fuzz.cpp | sed 's/_fuzz\.cpp$//')
read -r -a targets <<<"${FUZZ_TARGETS:-$(echo $all)}"
jobs=${FUZZ_JOBS:-$(nproc)}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/tmp" "$build/artifacts"
export TMPDIR="$work/tmp"
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1

run_target() {
  local t=$1
  cp -r "tests/fuzz/corpus/$t" "$work/corpus-$t"
  if "$build/tests/fuzz/${t}_fuzz" -max_total_time="$seconds" -timeout=30 -rss_limit_mb=2048 -detect_leaks=1 \
      -artifact_prefix="$work/$t-" -print_final_stats=1 "$work/corpus-$t" >"$work/$t.log" 2>&1; then
    echo "fuzz $t: $(grep -o 'stat::number_of_executed_units: [0-9]*' "$work/$t.log" | grep -o '[0-9]*$') inputs, no fault"
    return 0
  fi
  echo "fuzz $t: FAILED"
  tail -n 60 "$work/$t.log"
  for a in "$work/$t-"*; do
    [ -e "$a" ] && cp "$a" "$build/artifacts/" && echo "fuzz $t: input kept in $build/artifacts/$(basename "$a")"
  done
  return 1
}
export -f run_target
export build seconds work

status=0
printf '%s\n' "${targets[@]}" | xargs -P "$jobs" -I{} bash -c 'run_target {}' || status=1
[ $status = 0 ] && echo "fuzz: every target ran ${seconds}s without a fault (${SECONDS}s with the build)"
exit $status
