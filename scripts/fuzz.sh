#!/usr/bin/env bash
# Builds every libFuzzer target with clang in a build folder of its own and runs each for the
# given number of seconds (default 60), starting from its seed corpus. New inputs the fuzzer
# finds go to build-fuzz/corpus/<name>/, crashing inputs to build-fuzz/artifacts/.
# Usage: scripts/fuzz.sh [seconds]      env: FUZZ_BUILD_DIR (build-fuzz), JOBS (nproc),
#   FUZZ_RUNS (a number of runs instead of a time, for a short deterministic smoke run)
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
build=${FUZZ_BUILD_DIR:-build-fuzz}
jobs=${JOBS:-$(nproc)}

cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DTAVRIN_FUZZ=ON >/dev/null
cmake --build "$build" -j "$jobs" --target tavrin_fuzz_all

# ASan keeps 256 MiB of freed memory by default, so every run touches fresh pages and the
# targets run at half speed; 16 MiB still holds far more than one run frees.
export ASAN_OPTIONS=${ASAN_OPTIONS:-quarantine_size_mb=16}
mkdir -p "$build/artifacts"
status=0
for exe in "$build"/bin/fuzz_*; do
  [[ -x "$exe" ]] || continue
  name=${exe##*/fuzz_}
  work="$build/corpus/$name"
  mkdir -p "$work"
  args=(-print_final_stats=1 -artifact_prefix="$build/artifacts/$name-")
  if [[ -n "${FUZZ_RUNS:-}" ]]; then
    args+=(-runs="$FUZZ_RUNS" -seed=1)
    span="$FUZZ_RUNS runs"
  else
    args+=(-max_total_time="$seconds")
    span="${seconds}s"
  fi
  [[ -f "fuzz/$name.dict" ]] && args+=(-dict="fuzz/$name.dict")
  echo "== fuzz_$name for $span"
  if ! "$exe" "${args[@]}" "$work" "fuzz/corpus/$name"; then
    echo "fuzz_$name: FAILED (see $build/artifacts/)"
    status=1
  fi
done
exit $status
