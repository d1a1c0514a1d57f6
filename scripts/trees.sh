# Shared by the scripts: set up the machine, configure and build the trees,
# start and stop the test display. Sourced, not run.
jobs=$(nproc)
wine_tree=$("$root/scripts/host-arch.sh")

# Runs setup; on failure says so as a setup failure (not a failed test), with
# apt's last error lines, and returns setup's status. Setup may install the
# 32-bit Wine, so the Windows tree is chosen again afterwards.
run_setup() {
  local rc
  bash "$root/scripts/setup.sh"
  rc=$?
  if [ $rc -ne 0 ]; then
    echo "== setup failed (exit $rc); nothing was built or tested. apt's last errors (build/setup.log):"
    grep -E '^(E|W|Err):' "$root/build/setup.log" 2>/dev/null | tail -8
    return $rc
  fi
  wine_tree=$("$root/scripts/host-arch.sh")
}

configure() {  # tree [cmake args...]: again whenever the arguments change
  local tree=$1; shift
  local stamp="build/$tree/.tessel-configure-args" args="$*"
  if [ -f "build/$tree/build.ninja" ] && [ "$(cat "$stamp" 2>/dev/null)" = "$args" ]; then
    return 0
  fi
  cmake -S . -B "build/$tree" -G Ninja "$@" >/dev/null || return 1
  echo "$args" >"$stamp"
}

build() {  # tree: builds quietly; on failure shows the end of the log
  echo "== building $1"
  if ! cmake --build "build/$1" -j"$jobs" >"build/$1-build.log" 2>&1; then
    tail -40 "build/$1-build.log"
    return 1
  fi
}

build_trees() {
  mkdir -p build
  configure native -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=Debug || return 1
  build native || return 1
  configure win32 -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake -DCMAKE_BUILD_TYPE=Release || return 1
  build win32 || return 1
  if [ "$wine_tree" = win64 ]; then
    configure win64 -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-x86_64.cmake -DCMAKE_BUILD_TYPE=Release || return 1
    build win64 || return 1
  fi
}

xvfb_pid=
start_display() {  # one Xvfb for this run, on the first free display number
  local n=90
  while [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ]; do n=$((n + 1)); done
  Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
  xvfb_pid=$!
  export DISPLAY=":$n"
  for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X$n" ] && break; sleep 0.1; done
  export WINEPREFIX="$root/build/wineprefix-$wine_tree"
  [ -f "$WINEPREFIX/system.reg" ] || "$root/scripts/wine-prefix.sh" "$wine_tree"
}

stop_display() {
  WINEPREFIX="$root/build/wineprefix-$wine_tree" wineserver -k >/dev/null 2>&1
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
  xvfb_pid=
}
