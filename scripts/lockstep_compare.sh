#!/usr/bin/env bash
# Runs two battle_run commands at once and compares their per-tick state hashes. When the
# streams part, both run again to the first differing tick with --dump, and the first field
# whose value differs is named. Exit 0 when the streams are equal, 1 when they differ, 2 when a
# run failed.
# Usage: scripts/lockstep_compare.sh COMMAND_A... -- COMMAND_B...
#   (each a battle_run command line, possibly behind env VAR=VALUE; --hashes is added)
set -uo pipefail

a=()
b=()
side=a
for arg in "$@"; do
  if [ "$arg" = "--" ] && [ $side = a ]; then side=b; continue; fi
  if [ $side = a ]; then a+=("$arg"); else b+=("$arg"); fi
done
if [ ${#a[@]} -eq 0 ] || [ ${#b[@]} -eq 0 ]; then
  echo "usage: $0 COMMAND_A... -- COMMAND_B..." >&2
  exit 2
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

"${a[@]}" --hashes >"$work/a" 2>"$work/a.err" &
pid_a=$!
"${b[@]}" --hashes >"$work/b" 2>"$work/b.err" &
pid_b=$!
wait $pid_a; rc_a=$?
wait $pid_b; rc_b=$?
for s in a b; do
  rc=rc_$s
  if [ "${!rc}" -ne 0 ]; then
    echo "run $s failed (exit ${!rc}):" >&2
    cat "$work/$s.err" >&2
    exit 2
  fi
done

grep '^tick ' "$work/a" >"$work/a.ticks"
grep '^tick ' "$work/b" >"$work/b.ticks"
first=$(diff "$work/a.ticks" "$work/b.ticks" | grep -m1 -E '^[<>] tick ' | awk '{print $3}')
if [ -z "$first" ]; then
  if ! cmp -s "$work/a.ticks" "$work/b.ticks"; then
    echo "hash streams differ in length" >&2
    exit 1
  fi
  echo "hash streams equal: $(wc -l <"$work/a.ticks") ticks"
  exit 0
fi
label=$(grep -m1 "^tick $first " "$work/a.ticks" "$work/b.ticks" /dev/null | head -1 | awk '{print $3, $4}')

"${a[@]}" --dump "$first" >"$work/a.dump" 2>>"$work/a.err" &
pid_a=$!
"${b[@]}" --dump "$first" >"$work/b.dump" 2>>"$work/b.err" &
pid_b=$!
wait $pid_a
wait $pid_b
for s in a b; do
  sed -n '/^dump tick /,/^end of dump$/p' "$work/$s.dump" | sed '1d;$d' >"$work/$s.fields"
done
field=$(diff "$work/a.fields" "$work/b.fields" | grep -m1 -E '^[<>] ' | sed 's/^[<>] //; s/ = .*//')
va=$(grep -m1 -F "$field = " "$work/a.fields" | sed 's/^[^=]*= //')
vb=$(grep -m1 -F "$field = " "$work/b.fields" | sed 's/^[^=]*= //')
echo "first difference at tick $first ($label): ${field:-(no field differs)}: ${va:-(none)} / ${vb:-(none)}"
exit 1
