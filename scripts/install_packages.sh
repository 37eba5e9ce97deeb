#!/usr/bin/env bash
# Installs the Debian packages named on the command line that are not installed yet (through
# sudo when not root); does nothing when all are there, so a set-up machine needs no network.
# Says in one line what it installs; apt's own output is shown only when apt fails.
# Usage: scripts/install_packages.sh PACKAGE...
set -euo pipefail
missing=()
find_missing() {
  missing=()
  for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
}
find_missing "$@"
[ ${#missing[@]} -eq 0 ] && exit 0
# The set-ups of two build folders may install at once, and apt-get update does not wait for
# another one's lock: they take turns, and the later one installs only what is still missing.
lock=/tmp/zaumolta-install-packages.lock
{ exec 8>>"$lock"; } 2>/dev/null || exec 8<"$lock"
if ! flock -n 8; then
  echo "Waiting for another set-up's package install to finish"
  flock 8
  find_missing "$@"
  [ ${#missing[@]} -eq 0 ] && exit 0
fi
sudo=""
if [ "$(id -u)" != 0 ]; then
  sudo="sudo"
  # A password prompt must come before apt's output is put aside.
  sudo true
fi
echo "Installing Debian packages with apt-get (a few minutes on a fresh machine): ${missing[*]}"
log=$(mktemp)
trap 'rm -f "$log"' EXIT
if ! { $sudo apt-get update -q && DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q -o DPkg::Lock::Timeout=600 --no-install-recommends "${missing[@]}"; } >"$log" 2>&1; then
  cat "$log" >&2
  echo "install_packages: apt-get failed (its output above)" >&2
  exit 1
fi
