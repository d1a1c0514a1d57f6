#!/usr/bin/env bash
# Creates a private Wine prefix for the tests and the run command:
#   wine-prefix.sh win32|win64
set -u
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
arch=${1:-win32}
export WINEARCH=$arch WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
export WINEPREFIX=${WINEPREFIX:-$here/../build/wineprefix-$arch}
loader=/usr/lib/wine/wine
[ "$arch" = win64 ] && loader=/usr/lib/wine/wine64
mkdir -p "$WINEPREFIX"
"$loader" wineboot --init </dev/null >/dev/null 2>&1
# An unhandled fault must end the process, not hang it in a crash dialog.
"$loader" reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f </dev/null >/dev/null 2>&1
wineserver -w
