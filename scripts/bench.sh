#!/usr/bin/env bash
# Builds the benchmarks optimised and without sanitizers, and runs each one.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
bash scripts/setup.sh
[ -f build/bench/build.ninja ] || cmake -S . -B build/bench -G Ninja -DCMAKE_C_COMPILER=clang \
  -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=Release -DTESSEL_SANITIZE=OFF -DTESSEL_FUZZERS=OFF >/dev/null
cmake --build build/bench
for exe in $(find build/bench -type f -name '*_bench' -perm -u+x | sort); do
  echo "== $(basename "$exe")"
  "$exe"
done

# The protocol library's SP throughput through link.dll's simulated adapter,
# under Wine (a Windows program: built in the tree the tests run on).
tree=$("$root/scripts/host-arch.sh")
toolchain=cmake/mingw-x86_64.cmake
[ "$tree" = win32 ] && toolchain=cmake/mingw-i686.cmake
[ -f "build/$tree/build.ninja" ] ||
  cmake -S . -B "build/$tree" -G Ninja -DCMAKE_TOOLCHAIN_FILE=$toolchain -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "build/$tree" --target iserver_link_bench link
echo "== iserver_link_bench (under Wine)"
(cd "build/$tree/bin" && "$root/scripts/wine-run.sh" "$tree" iserver_link_bench.exe)
