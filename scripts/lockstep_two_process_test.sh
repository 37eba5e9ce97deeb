#!/usr/bin/env bash
# Two processes, one battle: a CPU battle is recorded, then replayed by two battle_run processes
# at once that share nothing but the record: other settings files (graphics level, view type,
# keys), one drawing and one not, other steps per frame, and MALLOC_PERTURB_ set differently so
# a read of uninitialised heap would differ. Their hash streams must be equal, and equal to the
# recorded battle's own; a one-bit change planted in one of them must be reported at its tick
# with the field's name.
# Usage: scripts/lockstep_two_process_test.sh BATTLE_RUN GAME_DIR
set -euo pipefail
run=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
game=$(cd "$2" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
compare=$here/lockstep_compare.sh
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Game folders that see the assets but each hold their own ap.ini.
for side in a b; do
  mkdir "$work/$side"
  for entry in "$game"/*; do
    [ "$(basename "$entry")" = ap.ini ] || ln -s "$entry" "$work/$side/"
  done
done
printf '[GMP]\r\nViewType=    0\r\np_Graphics=    1\r\n[KEY]\r\nKey0= 30\r\nKey1= 17\r\n' >"$work/a/ap.ini"
printf '[GMP]\r\nViewType=    6\r\np_Graphics=    3\r\n' >"$work/b/ap.ini"

battle=(--stage 1 --clock 120 --seed 9 36,1,2:-1 29,0,1:3 9,2,3:5 21,1,0:7 31,3,4:2 32,0,2:20)
"$run" --game "$work/a" --record "$work/battle.pads" "${battle[@]}" >"$work/recorded.txt"
echo "recorded: $(cat "$work/recorded.txt")"

echo "two replays at once:"
"$compare" env MALLOC_PERTURB_=17 "$run" --game "$work/a" --play "$work/battle.pads" -- \
  env MALLOC_PERTURB_=201 "$run" --game "$work/b" --play "$work/battle.pads" --draw --schedule mix:9

echo "the recorded battle against its replay:"
"$compare" "$run" --game "$work/a" "${battle[@]}" -- "$run" --game "$work/b" --play "$work/battle.pads" --schedule 3

echo "a planted one-bit change:"
set +e
out=$("$compare" "$run" --game "$work/a" --play "$work/battle.pads" -- \
  "$run" --game "$work/b" --play "$work/battle.pads" --plant 150 --schedule 2)
status=$?
set -e
echo "$out"
if [ $status -ne 1 ] || ! grep -q "^first difference at tick 150 ([a-z]* [0-9]*): robot\[0\]\.twist: " <<<"$out"; then
  echo "the planted change was not reported at tick 150 with its field" >&2
  exit 1
fi
