#!/usr/bin/env bash
# Builds what is missing and starts tessel.exe under Wine with the stand-in
# protocol library (iserver_script.dll from tools/iserver_stub, installed as
# iserver.dll beside a copy of tessel.exe in build/<tree>/run), a simulated board
# (tools/c012_peer echoing every byte) and tools/iserver_stub/demo.script as
# the boot file. Stops the peer (and a display it started) when tessel.exe ends.
#   scripts/run.sh [tessel.exe arguments...]   (default: the demo script)
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
source scripts/trees.sh
bash scripts/setup.sh

# The shipped i686 tree, unless this host cannot run 32-bit code at all.
tree=$wine_tree
if [ "$tree" = win64 ]; then
  echo "This host cannot run 32-bit x86 code: using the x86_64 build (build/win64) under 64-bit Wine."
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
echo "== building tessel.exe, link.dll, iserver.dll, the stand-in iserver_script.dll and c012_peer"
cmake --build build/native -j"$jobs" --target c012_peer >build/native-run-build.log 2>&1 ||
  { tail -40 build/native-run-build.log; exit 1; }
cmake --build "build/$tree" -j"$jobs" --target tessel link iserver iserver_script >"build/$tree-run-build.log" 2>&1 ||
  { tail -40 "build/$tree-run-build.log"; exit 1; }
# tessel.exe loads "iserver.dll" from its own folder. bin/ holds the real
# protocol library; the demo script needs the stand-in, so it runs from a
# folder of its own with the stand-in under that name.
bin="$root/build/$tree/run"
mkdir -p "$bin"
cp "build/$tree/bin/tessel.exe" "build/$tree/bin/link.dll" "$bin/"
cp "build/$tree/bin/iserver_script.dll" "$bin/iserver.dll"

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
build/native/tools/c012_peer/c012_peer --port "$port" --echo &
peer_pid=$!
export TESSEL_SIMULATED_C012="127.0.0.1:$port"
export ISERVER_STUB_LOG="$root/build/run-iserver.log"
echo "Simulated board: c012_peer echoing on 127.0.0.1:$port. Stand-in log: $ISERVER_STUB_LOG"

if [ $# -eq 0 ]; then
  set -- "Z:${root//\//\\}\\tools\\iserver_stub\\demo.script"
  echo "Boot file: tools/iserver_stub/demo.script. With a boot file on the command line the server starts"
  echo "minimized and runs it: restore the \"Server\" window to watch the I/O Window, then try"
  echo "Control > Suspend, Continue and Terminate."
fi
cd "$bin"
"$root/scripts/wine-run.sh" "$tree" tessel.exe "$@"
