#!/usr/bin/env bash
# Installs what is missing, builds the program and the board emulator (nothing else), starts the
# emulator on a pseudo-terminal and the application with that emulated board as its port and, when
# no part is saved yet, the part in its socket. Extra arguments go to the application.
# When a copy of the program already runs for this user, it says so and ends at once, without
# starting a board for a program that would not run.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh run

build=${BUILD_DIR:-build}
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTAVRIN_FUZZ=OFF >/dev/null
cmake --build "$build" -j "$(nproc)" --target tavrin-writer tavrin-board-emu

bin="$build/bin"
if "$bin/tavrin-writer" --check-running "$@"; then exit 0; fi
exec scripts/emulated-board.sh "$bin/tavrin-board-emu" "$bin/tavrin-writer" "$@"
