#!/usr/bin/env bash
# Runs a Windows program under Wine in the project's private prefix:
#   wine-run.sh win32|win64 program.exe [args...]
# CMake uses it as the cross-compiling emulator, so `ctest` in a Windows tree
# works by itself; scripts/test.sh prepares the prefix and the display first.
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
arch=$1; shift
export WINEARCH=$arch
export WINEPREFIX=${WINEPREFIX:-$here/../build/wineprefix-$arch}
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-"mscoree,mshtml="}
[ -f "$WINEPREFIX/system.reg" ] || "$here/wine-prefix.sh" "$arch" >/dev/null 2>&1
loader=/usr/lib/wine/wine
[ "$arch" = win64 ] && loader=/usr/lib/wine/wine64
# A warm wineserver, with Wine's services started detached, keeps each start
# fast and keeps CTest from waiting on services that hold its output pipe.
if wineserver -p60 </dev/null >/dev/null 2>&1; then
  "$loader" cmd /c exit </dev/null >/dev/null 2>&1
fi
exec "$loader" "$@"
