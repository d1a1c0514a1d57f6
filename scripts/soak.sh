#!/usr/bin/env bash
# Soak runs under Wine, never part of the test command: tessel.exe through
# Run -> Terminate cycles and a long stream of console output, and mantle.dll
# through create/delete cycles, each printing its process's handle, object
# and memory counts as it goes and "flat" or "GROWS" at the end.
#   bash scripts/soak.sh [cycles, default 10000] [megabytes of output, default 100]
# (output goes in runs of 64 KB; under Wine the I/O Window takes about
# 1 MB/s, so 100 MB takes a few minutes)
# TESSEL_SOAK_PARTS narrows the run: any of "cycles iserver stwrite mantle".
# Counters are sampled every tenth of the cycles. The runs use a prefix of
# their own in which Wine leaves windows unmanaged: without a window manager
# (Xvfb) Wine waits 2 s for each managed window to be withdrawn on destroy.
set -uo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
source scripts/trees.sh

cycles=${1:-10000}
megabytes=${2:-100}
every=$(( cycles >= 10 ? cycles / 10 : 1 ))
toolchain=cmake/mingw-x86_64.cmake
[ "$wine_tree" = win32 ] && toolchain=cmake/mingw-i686.cmake
[ -f "build/$wine_tree/build.ninja" ] ||
  cmake -S . -B "build/$wine_tree" -G Ninja -DCMAKE_TOOLCHAIN_FILE=$toolchain -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "build/$wine_tree" -j"$jobs" --target tessel_soak mantle_soak >build/soak-build.log 2>&1 ||
  { tail -30 build/soak-build.log; exit 2; }

start_display
trap 'stop_display; WINEPREFIX="$WINEPREFIX" wineserver -k >/dev/null 2>&1' EXIT
# Soaks run side by side need prefixes of their own (each stops its wineserver).
export WINEPREFIX=${TESSEL_SOAK_PREFIX:-$root/build/wineprefix-soak}
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  scripts/wine-prefix.sh "$wine_tree"
  WINEARCH=$wine_tree /usr/lib/wine/wine64 reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f \
    </dev/null >/dev/null 2>&1
  wineserver -w
fi

parts=${TESSEL_SOAK_PARTS:-cycles iserver stwrite mantle}
wants() { [[ " $parts " == *" $1 "* ]]; }
status=0
cd "build/$wine_tree/bin"
if wants cycles; then
  echo "== tessel.exe: $cycles Run -> Terminate cycles (stand-in protocol library)"
  "$root/scripts/wine-run.sh" "$wine_tree" tessel_soak.exe cycles "$cycles" "$every" || status=1
fi
if wants iserver; then
  echo "== tessel.exe: $cycles Run -> Terminate cycles (iserver.dll, link.dll, simulated adapter)"
  "$root/scripts/wine-run.sh" "$wine_tree" tessel_soak.exe iserver "$cycles" "$every" || status=1
fi
if wants stwrite; then
  echo "== tessel.exe: $megabytes MB of STWRITE output into the I/O Window"
  runs=$(( megabytes * 16 ))
  "$root/scripts/wine-run.sh" "$wine_tree" tessel_soak.exe stwrite "$runs" "$(( runs >= 10 ? runs / 10 : 1 ))" || status=1
fi
if wants mantle; then
  echo "== mantle.dll: $cycles create/delete cycles"
  "$root/scripts/wine-run.sh" "$wine_tree" mantle_soak.exe "$cycles" "$every" || status=1
fi
exit $status
