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
  exec scripts/emulated-board.sh "$bin/tavrin-board-emu" "$bin/tavrin-writer" "$@"
fi
exec "$bin/tavrin-writer" "$@"
