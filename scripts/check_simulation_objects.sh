#!/usr/bin/env bash
# The battle simulation must compute alike on every machine of an online match. This checks its
# built object files (battle/, cpu/, projectile/, pose/, action/; not view/, which only draws)
# for calls that would break that: libm's transcendental functions (each libm rounds its own
# way; the maths module has its own), random generators other than the game's 15-bit one,
# clocks, and hash containers (whose order depends on the library); and reads of the input
# devices or the frame timer outside the few places that gather pads or pace drawing. The
# sources must not use unordered containers either.
# Usage: scripts/check_simulation_objects.sh OBJECT_DIR SOURCE_DIR   (OBJECT_DIR: .../battle.dir)
#        scripts/check_simulation_objects.sh --self-test SOURCE_DIR  (proves the check catches each kind)
set -uo pipefail

folders=(battle cpu projectile pose action)

# libm's transcendental functions in double, float and long double forms.
libm=""
for f in sin cos tan asin acos atan atan2 sinh cosh tanh asinh acosh atanh exp exp2 expm1 log log2 log10 \
         log1p pow cbrt hypot sincos; do
  libm+="$f ${f}f ${f}l __${f}_finite __${f}f_finite "
done
# Random generators and clocks of the C library (plain symbols).
clib="rand srand random srandom rand_r drand48 erand48 lrand48 nrand48 mrand48 jrand48 srand48 \
      clock time gettimeofday clock_gettime times ftime"
# C++ and platform names, matched in demangled symbols.
cxx_forbidden='std::chrono::|std::random_device|mersenne_twister|linear_congruential|subtract_with_carry|_Hashtable|unordered_map|unordered_set|unordered_multi|SysGetTicks|SysGetCalendarSeconds|SysGetLocalTime|SysSleep'
# Reads of the world outside the pads, allowed only where the pads are gathered or drawing is paced.
world='GetKeyStatus|GetJoystickButton|GetMouse|UpdateInput|g_frameTimer|GameSrand'
world_allowed='battle/pad.cpp.o battle/battle.cpp.o battle/battle_rules.cpp.o battle/lockstep_runner.cpp.o battle/battle_runner.cpp.o'

# check OBJECT_DIR SOURCE_DIR: prints one line per finding; exit 1 when there is any.
check() {
  local objdir=$1 srcdir=$2 found=0 objs=()
  for folder in "${folders[@]}"; do
    local dir=$objdir/__/$folder
    [ "$folder" = battle ] && dir=$objdir
    for obj in "$dir"/*.o; do
      [ -e "$obj" ] && objs+=("$obj")
    done
  done
  local count=${#objs[@]}
  if [ "$count" -gt 0 ]; then
    # Object names as folder/file.o, whatever the build folder.
    local rename="s|^$objdir/__/||; s|^$objdir/|battle/|"
    local out
    out=$(nm -A -u "${objs[@]}" | sed "$rename" |
      awk -v bad="$libm $clib" 'BEGIN { n = split(bad, b, " "); for (i = 1; i <= n; ++i) set[b[i]] = 1 }
        { split($1, f, ":"); if ($NF in set) print f[1] " calls " $NF }')
    out+=$'\n'$(nm -A -C "${objs[@]}" | sed "$rename" | grep -E "$cxx_forbidden" |
      awk '{ i = index($0, ":"); f = substr($0, 1, i - 1); r = substr($0, i + 1)
             if (!seen[f]++) { sub(/^[0-9a-f ]*[A-Za-z] /, "", r); print f " uses " r } }')
    out+=$'\n'$(nm -A -u -C "${objs[@]}" | sed "$rename" | grep -E "$world" |
      awk -v ok="$world_allowed" 'BEGIN { n = split(ok, a, " "); for (i = 1; i <= n; ++i) allow[a[i]] = 1 }
        { i = index($0, ":"); f = substr($0, 1, i - 1); r = substr($0, i + 1)
          if (!(f in allow)) { sub(/^ *U /, "", r); print f " reads " r } }')
    out=$(grep -v '^$' <<<"$out")
    if [ -n "$out" ]; then
      echo "$out"
      found=1
    fi
  fi
  # A build folder that moved would otherwise pass with nothing checked.
  if [ "$count" -lt "${MIN_OBJECTS:-40}" ]; then
    echo "only $count object files under $objdir: wrong folder?"
    found=1
  fi
  for folder in "${folders[@]}"; do
    [ -d "$srcdir/$folder" ] || continue
    grep -n -E 'unordered_(map|set|multimap|multiset)' "$srcdir/$folder"/*.cpp "$srcdir/$folder"/*.h 2>/dev/null &&
      found=1
  done
  return $found
}

if [ "${1:-}" = "--self-test" ]; then
  srcdir=${2:-.}
  work=$(mktemp -d)
  trap 'rm -rf "$work"' EXIT
  mkdir -p "$work/obj/__/cpu" "$work/obj/__/view" "$work/src/cpu"
  cat >"$work/src/cpu/bad.cpp" <<'EOF'
#include <cmath>
#include <cstdlib>
#include <ctime>
#include <unordered_map>
float Bend(float x) { return std::sin(x) + std::atan2(x, 2.0f) + float(std::pow(double(x), 3.0)); }
int Roll() { return rand() + int(time(nullptr)); }
int Count(int k) { std::unordered_map<int, int> m; m[k] = 1; return int(m.size()); }
int GetKeyStatus(int key);
int Peek() { return GetKeyStatus(15); }
EOF
  ${CXX:-c++} -std=c++20 -O2 -c "$work/src/cpu/bad.cpp" -o "$work/obj/__/cpu/bad.cpp.o" || exit 2
  # The same calls under view/ are the drawing's business.
  ${CXX:-c++} -std=c++20 -O2 -c "$work/src/cpu/bad.cpp" -o "$work/obj/__/view/ok.cpp.o" || exit 2
  out=$(MIN_OBJECTS=1 check "$work/obj" "$work/src")
  status=$?
  echo "$out"
  fail=0
  [ $status -eq 1 ] || { echo "self-test: the check passed a planted object"; fail=1; }
  for want in "cpu/bad.cpp.o calls sinf" "cpu/bad.cpp.o calls atan2f" "cpu/bad.cpp.o calls pow" \
              "cpu/bad.cpp.o calls rand" "cpu/bad.cpp.o calls time" "cpu/bad.cpp.o uses" "cpu/bad.cpp.o reads GetKeyStatus" \
              "bad.cpp:4:#include <unordered_map>"; do
    grep -q -F "$want" <<<"$out" || { echo "self-test: missing \"$want\""; fail=1; }
  done
  grep -q "view/" <<<"$out" && { echo "self-test: view/ objects were checked"; fail=1; }
  [ $fail -eq 0 ] && echo "self-test: every planted call was caught"
  exit $fail
fi

if [ $# -ne 2 ]; then
  echo "usage: $0 OBJECT_DIR SOURCE_DIR | --self-test SOURCE_DIR" >&2
  exit 2
fi
if check "$1" "$2"; then
  echo "simulation objects: no libm transcendental, random generator, clock or hash container; input read only where pads are gathered"
  exit 0
fi
exit 1
