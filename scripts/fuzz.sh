#!/usr/bin/env bash
# Fuzzing at depth: builds every libFuzzer target in its own optimised tree
# (build/fuzz: clang -O1, AddressSanitizer, UndefinedBehaviorSanitizer), then
# runs each in turn from its seed corpus in the repository
# (<folder>/fuzz/corpus/<target>/) and the work corpus kept outside the tree,
# merges the inputs that found new coverage into that work corpus, and prints
# executions, coverage and findings per target.
#
#   bash scripts/fuzz.sh [minutes per target, default 10] [executions per target]
#
# With an execution count a target stops at whichever limit comes first.
# TESSEL_FUZZ_WORK is the work folder (default /var/tmp/tessera-fuzz);
# TESSEL_FUZZ_TARGETS limits the run to some targets (names, space-separated).
# A finding is kept as <work>/<target>/findings/<kind>-<hash>: fix the bug and
# add the input to <folder>/fuzz/regressions/<target>/, which the test command
# replays (a crash may also join the seeds; a slow input must not).
# Exit status: 0 when no target found anything, 1 otherwise, 2 on a build failure.
set -uo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"

minutes=${1:-10}
runs=${2:-}
work=${TESSEL_FUZZ_WORK:-/var/tmp/tessera-fuzz}
targets=${TESSEL_FUZZ_TARGETS:-"console_putchar_fuzzer console_services_fuzzer mantle_resource_fuzzer
  iserver_serve_fuzz t800asm_fuzzer t800_execute_fuzzer"}
jobs=$(( $(nproc) < 2 ? $(nproc) : 2 ))
# No allocation stacks while fuzzing (they cost more than half of the time of
# the allocating targets); rerun a finding by hand for the full report.
export ASAN_OPTIONS=${ASAN_OPTIONS:-malloc_context_size=0}

echo "== building the fuzz targets (build/fuzz)"
if [ ! -f build/fuzz/build.ninja ]; then
  cmake -S . -B build/fuzz -G Ninja -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
    -DCMAKE_BUILD_TYPE=Fuzz -DCMAKE_CXX_FLAGS="-O1 -g" -DCMAKE_C_FLAGS="-O1 -g" >build/fuzz-configure.log 2>&1 ||
    { tail -20 build/fuzz-configure.log; exit 2; }
fi
# shellcheck disable=SC2086
if ! cmake --build build/fuzz -j"$jobs" --target $targets >build/fuzz-build.log 2>&1; then
  tail -40 build/fuzz-build.log
  exit 2
fi

# The seed corpus of a target: the one folder fuzz/corpus/<target> in the sources.
seeds_of() {
  find . -path ./build -prune -o -type d -path "*/fuzz/corpus/$1" -print | head -1
}

total_findings=0
printf '%-26s %14s %8s %8s %9s %8s\n' target executions cov ft corpus findings
for target in $targets; do
  binary=$(find build/fuzz -type f -name "$target" -perm -u+x | head -1)
  seeds=$(seeds_of "$target")
  if [ -z "$binary" ] || [ -z "$seeds" ]; then
    echo "$target: no binary or no seed corpus"; total_findings=$((total_findings + 1)); continue
  fi
  dir="$work/$target"
  mkdir -p "$dir/corpus" "$dir/findings"
  fresh=$(mktemp -d "$dir/new.XXXXXX")
  log="$dir/last-run.log"
  before=$(find "$dir/findings" -type f | wc -l)
  limit=(-max_total_time=$(awk "BEGIN { printf \"%d\", $minutes * 60 }"))
  [ -n "$runs" ] && limit+=(-runs="$runs")
  # New inputs land in the first folder; the corpus folders after it are read.
  "$binary" "${limit[@]}" -rss_limit_mb=2048 -print_final_stats=1 -artifact_prefix="$dir/findings/" \
    "$fresh" "$dir/corpus" "$seeds" >"$log" 2>&1
  # Only what adds coverage to the work corpus stays.
  "$binary" -merge=1 "$dir/corpus" "$fresh" >"$dir/last-merge.log" 2>&1
  rm -rf "$fresh"
  execs=$(sed -nE 's/^stat::number_of_executed_units: *([0-9]+)/\1/p' "$log" | tail -1)
  cov=$(grep -oE 'cov: [0-9]+' "$log" | tail -1 | cut -d' ' -f2)
  ft=$(grep -oE 'ft: [0-9]+' "$log" | tail -1 | cut -d' ' -f2)
  found=$(( $(find "$dir/findings" -type f | wc -l) - before ))
  total_findings=$((total_findings + found))
  printf '%-26s %14s %8s %8s %9s %8s\n' "$target" "${execs:-?}" "${cov:-?}" "${ft:-?}" \
    "$(find "$dir/corpus" -type f | wc -l)" "$found"
  if [ "$found" -gt 0 ]; then
    grep -E 'ERROR|SUMMARY|Test unit written' "$log" | head -5 | sed 's/^/    /'
  fi
done
echo "findings: $total_findings (work folder: $work)"
[ "$total_findings" -eq 0 ]
