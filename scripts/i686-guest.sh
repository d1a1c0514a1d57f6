#!/bin/bash
# Runs inside the i386 root (chroot or virtual machine), started by
# scripts/test-i686.sh: the Windows test programs of the i686 tree under
# 32-bit Wine, one after another, in a fresh Wine prefix on a private Xvfb.
#   /tessera/bin        the i686 tree's bin/ (programs, libraries, data)
#   /tessera/tests.txt  one line per test: "<name> <seconds> <program> [arguments]"
#   /tessera/results/   written here: summary (one line per test), times,
#                       <test>.out, and the tests' screenshots (tx-*.png)
# TESSERA_DISPLAY is the X display number to use. Exit status 5 with a last
# line "guest failed: <reason>" when Xvfb or Wine cannot start; 0 otherwise
# (the summary tells the results).
set -u
export PATH=/usr/sbin:/usr/bin:/sbin:/bin LANG=C HOME=/root
top=/tessera
results=$top/results
mkdir -p "$results"
: >"$results/summary"
: >"$results/times"

now() { date +%s.%N; }
since() { awk -v a="$1" -v b="$(now)" 'BEGIN { printf "%.1f", b - a }'; }
give_up() {
  echo "guest failed: $*"
  exit 5
}

display=${TESSERA_DISPLAY:-99}
Xvfb ":$display" -screen 0 1280x1024x24 -nolisten tcp >/tmp/xvfb.log 2>&1 &
xvfb=$!
for _ in $(seq 100); do [ -e "/tmp/.X11-unix/X$display" ] && break; sleep 0.1; done
[ -e "/tmp/.X11-unix/X$display" ] || give_up "Xvfb did not start: $(tail -1 /tmp/xvfb.log)"
trap 'wineserver -k 2>/dev/null; kill $xvfb 2>/dev/null' EXIT

export DISPLAY=":$display" WINEPREFIX=/tmp/wineprefix WINEARCH=win32 WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
started=$(now)
wineboot --init </dev/null >/tmp/wineboot.log 2>&1 || give_up "wineboot failed: $(tail -1 /tmp/wineboot.log)"
# An unhandled fault must end the process, not hang it in a crash dialog.
wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f </dev/null >/dev/null 2>&1 ||
  give_up "wine cannot run reg.exe"
wineserver -w
echo "wine_start $(since "$started")" >>"$results/times"
# A warm wineserver with its services started keeps each test's start short.
wineserver -p </dev/null >/dev/null 2>&1
wine cmd /c exit </dev/null >/dev/null 2>&1

cd "$top/bin" || give_up "no /tessera/bin"
all=$(now)
while read -r name limit program arguments; do
  [ -n "$name" ] || continue
  begun=$(now)
  TESSEL_SHOTS=$results timeout -k 10 "$limit" wine "$program" $arguments </dev/null >"$results/$name.out" 2>&1
  rc=$?
  detail=$(tr -d '\r' <"$results/$name.out" | grep -E '^\[  (PASSED|FAILED)  \] [0-9]+ tests?' | tr '\n' ' ')
  [ $rc -eq 124 ] || [ $rc -eq 137 ] && detail="timed out after $limit s; $detail"
  if [ $rc -eq 0 ]; then verdict=PASS; else verdict=FAIL; fi
  line="$verdict $name ($(since "$begun") s, exit $rc) $detail"
  echo "$line" | tee -a "$results/summary"
done <"$top/tests.txt"
echo "tests $(since "$all")" >>"$results/times"
exit 0
