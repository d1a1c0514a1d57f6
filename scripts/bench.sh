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
