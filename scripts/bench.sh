#!/usr/bin/env bash
# Builds the benchmarks optimised and without sanitizers, and runs each one.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
source scripts/trees.sh
run_setup || exit $?
configure bench -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=Release \
  -DTESSEL_SANITIZE=OFF -DTESSEL_FUZZERS=OFF
cmake --build build/bench
for exe in $(find build/bench -type f -name '*_bench' -perm -u+x | sort); do
  echo "== $(basename "$exe")"
  "$exe"
done

# The Windows benchmarks, under Wine on a display of their own, where Wine is:
# the protocol library's SP throughput through link.dll's simulated adapter,
# and STWRITE into a visible I/O Window.
if [ -x /usr/lib/wine/wine64 ] && command -v Xvfb >/dev/null; then
  toolchain=cmake/mingw-i686.cmake
  [ "$wine_tree" = win64 ] && toolchain=cmake/mingw-x86_64.cmake
  configure "$wine_tree" -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_BUILD_TYPE=Release
  cmake --build "build/$wine_tree" --target iserver_link_bench link console_stwrite_bench
  start_display
  trap 'stop_display' EXIT
  for bench in iserver_link_bench console_stwrite_bench; do
    echo "== $bench (under Wine)"
    (cd "build/$wine_tree/bin" && "$root/scripts/wine-run.sh" "$wine_tree" "$bench.exe")
  done
fi
