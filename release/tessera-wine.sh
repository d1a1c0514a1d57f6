#!/bin/sh
# Starts the Tessera server under Wine with the files of this folder.
#   tessera-wine.sh [bootfile [parameters]]   the server (without a boot file: File > Run)
#   tessera-wine.sh --demo                    the hello demo on the emulated board
# The programs are 32-bit Windows programs: Wine needs its 32-bit part (on
# Debian: dpkg --add-architecture i386; apt install wine wine32). WINE names
# another wine command; LINK and TESSEL_SIMULATED_C012 reach the server as set.
set -eu
here=$(cd "$(dirname "$0")" && pwd)
wine=${WINE:-wine}
if ! command -v "$wine" >/dev/null 2>&1; then
  echo "tessera-wine.sh: '$wine' not found; install Wine with its 32-bit part (Debian: wine wine32)" >&2
  exit 1
fi

# Wine reads a Unix path on a program's command line as a path on its current
# drive: an existing file is handed over in its Windows form.
windows_path() {
  if [ -e "$1" ] && command -v winepath >/dev/null 2>&1; then
    winepath -w "$1" 2>/dev/null || printf '%s\n' "$1"
  else
    printf '%s\n' "$1"
  fi
}

if [ "${1:-}" = --demo ]; then
  for f in t800emu.exe demos/hello.btl; do
    [ -f "$here/$f" ] || { echo "tessera-wine.sh: $f is not in $here" >&2; exit 1; }
  done
  board=${TESSERA_DEMO_BOARD:-127.0.0.1:7012}
  "$wine" "$here/t800emu.exe" --listen "$board" &
  board_pid=$!
  trap 'kill "$board_pid" 2>/dev/null || true' EXIT INT TERM
  sleep 1   # the board listens before the server opens the link
  TESSEL_SIMULATED_C012=$board "$wine" "$here/tessel.exe" "$(windows_path "$here/demos/hello.btl")"
  exit $?
fi
if [ $# -gt 0 ]; then
  boot=$(windows_path "$1")
  shift
  exec "$wine" "$here/tessel.exe" "$boot" "$@"
fi
exec "$wine" "$here/tessel.exe"
