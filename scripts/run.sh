#!/usr/bin/env bash
# Installs what is missing, builds, starts the board emulator on a pseudo-terminal and starts
# the application with that emulated board as its port. Extra arguments go to the application.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh run

build=${BUILD_DIR:-build}
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTAVRIN_FUZZ=OFF >/dev/null
cmake --build "$build" -j "$(nproc)"

bin="$build/bin"
if [[ -x "$bin/tavrin-board-emu" ]]; then
  link="${XDG_RUNTIME_DIR:-/tmp}/tavrin-board"
  part=${TAVRIN_EMU_PART:-PIC16F877A}
  "$bin/tavrin-board-emu" --part "$part" --link "$link" &
  emu=$!
  trap 'kill "$emu" 2>/dev/null || true' EXIT
  for _ in $(seq 50); do [[ -e "$link" ]] && break; sleep 0.1; done
  export TAVRIN_DEFAULT_PORT="$link"
fi
"$bin/tavrin-writer" "$@"
