#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test (GUI tests offscreen).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh test

export QT_QPA_PLATFORM=offscreen
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
# Keep tests away from the real home, settings and data folders.
export XDG_RUNTIME_DIR="$tmp/run" XDG_CONFIG_HOME="$tmp/config" XDG_DATA_HOME="$tmp/data" HOME="$tmp/home"
mkdir -m 0700 "$XDG_RUNTIME_DIR"
mkdir -p "$XDG_CONFIG_HOME" "$XDG_DATA_HOME" "$HOME"

build=${BUILD_DIR:-build}
jobs=${JOBS:-$(nproc)}
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build "$build" -j "$jobs"
ctest --test-dir "$build" --output-on-failure --timeout 300 -j "$jobs"

# The fuzz targets need clang and a build folder of their own; a short run of each over its seed
# corpus and a few thousand generated inputs fails the suite when a parser change breaks a
# target or one of its properties. scripts/fuzz.sh runs them for longer.
mkdir -p "${build}-fuzz"
fuzz_log="${build}-fuzz/smoke.log"
if ! FUZZ_BUILD_DIR="${build}-fuzz" FUZZ_RUNS="${FUZZ_RUNS:-10000}" JOBS="$jobs" \
  scripts/fuzz.sh >"$fuzz_log" 2>&1; then
  tail -n 40 "$fuzz_log"
  echo "fuzz smoke run failed: $fuzz_log"
  exit 1
fi
grep -E '^(== fuzz_|stat::number_of_executed_units)' "$fuzz_log"
