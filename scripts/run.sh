#!/usr/bin/env bash
# Builds what is missing and starts tessel.exe under Wine with our protocol
# library (iserver.dll) and link.dll talking to the emulated board
# (t800emu --listen, through TESSEL_SIMULATED_C012), booting the shipped echo
# program: what you type in the I/O Window goes to the transputer, which echoes
# it until you type q. Control > Reset resets the emulated processor.
# Stops the board (and a display it started) when tessel.exe ends.
#   scripts/run.sh [tessel.exe arguments...]   (default: the echo program)
#   TESSEL_RUN_DEMO=script scripts/run.sh      the earlier demo: the scripted
#       stand-in protocol library (tools/iserver_stub) and an echoing c012_peer
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
source scripts/trees.sh
run_setup || exit $?

# The shipped i686 tree, unless this host has no 32-bit Wine (scripts/host-arch.sh).
tree=$wine_tree
if [ "$tree" = win64 ]; then
  echo "No 32-bit Wine on this host: using the x86_64 build (build/win64) under 64-bit Wine."
  toolchain=cmake/mingw-x86_64.cmake
else
  toolchain=cmake/mingw-i686.cmake
fi

# Only the programs this command starts; ninja skips what is up to date.
configure native -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=Debug
configure "$tree" -DCMAKE_TOOLCHAIN_FILE=$toolchain -DCMAKE_BUILD_TYPE=Release
# A tree left limited to some folders (TESSEL_ONLY) gets all of them back.
if grep -q '^TESSEL_ONLY:STRING=.' "build/$tree/CMakeCache.txt" 2>/dev/null; then
  cmake -S . -B "build/$tree" -DTESSEL_ONLY= >/dev/null
fi
demo=${TESSEL_RUN_DEMO:-board}
echo "== building tessel.exe, link.dll, iserver.dll, the stand-in iserver_script.dll, c012_peer, t800emu and the programs"
cmake --build build/native -j"$jobs" --target c012_peer t800emu t800_programs >build/native-run-build.log 2>&1 ||
  { tail -40 build/native-run-build.log; exit 1; }
cmake --build "build/$tree" -j"$jobs" --target tessel link iserver iserver_script >"build/$tree-run-build.log" 2>&1 ||
  { tail -40 "build/$tree-run-build.log"; exit 1; }
# tessel.exe loads "iserver.dll" from its own folder: a folder per demo holds
# tessel.exe, link.dll and the protocol library it uses under that name.
bin="$root/build/$tree/run-$demo"
mkdir -p "$bin"
cp "build/$tree/bin/tessel.exe" "build/$tree/bin/link.dll" "$bin/"
if [ "$demo" = script ]; then
  cp "build/$tree/bin/iserver_script.dll" "$bin/iserver.dll"
else
  cp "build/$tree/bin/iserver.dll" "$bin/iserver.dll"
fi

peer_pid=
cleanup() {
  [ -n "$peer_pid" ] && kill "$peer_pid" 2>/dev/null
  stop_display
}
trap cleanup EXIT

# The project's own prefix, whatever the caller's WINEPREFIX; start_display and
# scripts/wine-run.sh create it when it is missing.
export WINEPREFIX="$root/build/wineprefix-$wine_tree"
if [ -z "${DISPLAY:-}" ]; then
  start_display
  echo "No DISPLAY: started Xvfb on $DISPLAY (look with: import -display $DISPLAY -window root shot.png)."
fi

port=${TESSEL_PEER_PORT:-7012}
export TESSEL_SIMULATED_C012="127.0.0.1:$port"
if [ "$demo" = script ]; then
  build/native/tools/c012_peer/c012_peer --port "$port" --echo &
  peer_pid=$!
  export ISERVER_STUB_LOG="$root/build/run-iserver.log"
  echo "Simulated board: c012_peer echoing on 127.0.0.1:$port. Stand-in log: $ISERVER_STUB_LOG"
  default_boot="$root/tools/iserver_stub/demo.script"
else
  build/native/t800/emu/t800emu --listen "127.0.0.1:$port" &
  peer_pid=$!
  echo "Emulated board: t800emu on 127.0.0.1:$port (a T800 with 2 MiB)."
  default_boot="$root/build/native/t800/programs/echo.btl"
fi

if [ $# -eq 0 ]; then
  set -- "Z:${default_boot//\//\\}"
  echo "Boot file: ${default_boot#$root/}. With a boot file on the command line the server starts"
  echo "minimized and runs it: restore the \"Server\" window to watch the I/O Window, type keys (q ends"
  echo "the echo program), then try Control > Suspend, Continue, Terminate and Reset."
fi
cd "$bin"
"$root/scripts/wine-run.sh" "$tree" tessel.exe "$@"
