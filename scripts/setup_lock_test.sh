#!/usr/bin/env bash
# Two set-ups of one build folder take turns: the second says in one line that it waits, runs
# neither cmake nor ninja until the first is done, then does its own set-up. cmake, ninja and the
# package query are stand-ins that log their calls; the first set-up's cmake waits for a gate.
# Usage: scripts/setup_lock_test.sh
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/bin"
cat >"$work/bin/cmake" <<EOF
#!/bin/sh
echo "cmake \$\$ start" >>"$work/calls"
while [ -e "$work/gate" ]; do sleep 0.05; done
touch "$work/build/CMakeCache.txt"
echo "cmake \$\$ end" >>"$work/calls"
EOF
printf '#!/bin/sh\necho ninja >>"%s/calls"\n' "$work" >"$work/bin/ninja"
printf '#!/bin/sh\nprintf "install ok installed"\n' >"$work/bin/dpkg-query"
chmod +x "$work/bin"/*
export PATH="$work/bin:$PATH"
: >"$work/calls"

fail() {
  echo "setup_lock_test: $*" >&2
  echo "calls:" >&2
  cat "$work/calls" >&2
  exit 1
}
# Polls until the command holds, within a backstop far beyond what the scripts need.
wait_for() {
  local i
  for ((i = 0; i < 1200; ++i)); do
    "$@" && return 0
    sleep 0.05
  done
  return 1
}
cmake_starts() { [ "$(grep -c ' start$' "$work/calls")" -ge "$1" ]; }

touch "$work/gate"
"$here/setup.sh" "$work/build" >"$work/first.txt" 2>&1 &
first=$!
wait_for cmake_starts 1 || fail "the first set-up never ran cmake"
"$here/setup.sh" "$work/build" >"$work/second.txt" 2>&1 &
second=$!
waiting() { grep -q "^Waiting for another set-up building $work/build/ to finish$" "$work/second.txt"; }
# The second set-up waits for a flock: the kernel lists its waiters with "->".
blocked() {
  local pid parent
  for pid in $(awk '$2 == "->" { print $6 }' /proc/locks); do
    read -r _ _ _ parent _ 2>/dev/null <"/proc/$pid/stat" && [ "$parent" = "$second" ] && return 0
  done
  return 1
}
wait_for eval 'blocked || cmake_starts 2 || ! kill -0 $second 2>/dev/null' || fail "the second set-up hangs"
cmake_starts 2 && fail "the second set-up ran cmake while the first was running it"
blocked || fail "the second set-up ended while the first was running: $(cat "$work/second.txt")"
waiting || fail "the second set-up did not say it waits: $(cat "$work/second.txt")"
rm "$work/gate"
wait "$first" || fail "the first set-up failed: $(cat "$work/first.txt")"
wait "$second" || fail "the second set-up failed: $(cat "$work/second.txt")"
[ "$(sed 's/ [0-9]* / /' "$work/calls" | tr '\n' ' ')" = "cmake start cmake end ninja cmake start cmake end ninja " ] ||
  fail "the set-ups did not take turns"
[ "$(grep -c . "$work/second.txt")" = 1 ] || fail "the second set-up said more than its one line: $(cat "$work/second.txt")"
echo "setup_lock_test: the second set-up waited, then ran"
