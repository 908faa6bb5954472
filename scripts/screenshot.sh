#!/usr/bin/env bash
# Builds the program and saves a picture of the main window, rendered offscreen, with the
# PIC16F877A selected and a small program loaded: docs/screenshot.png.
# Usage: scripts/screenshot.sh [output.png]
set -euo pipefail
cd "$(dirname "$0")/.."
out="${1:-docs/screenshot.png}"
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j3 --target tavrin-window-screenshot >/dev/null
mkdir -p "$(dirname "$out")"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
export QT_QPA_PLATFORM=offscreen XDG_RUNTIME_DIR="$tmp" XDG_CONFIG_HOME="$tmp/config"
build/bin/tavrin-window-screenshot --out "$out" --device PIC16F877A \
  --hex tests/mainwindow/data/blink877a.hex --devices data/device6.ini
echo "wrote $out"

# The memory-usage picture of the same program (docs/memstatus.png), when no output was named.
if [[ $# -eq 0 ]]; then
  cmake --build build -j3 --target tavrin-tool-screenshot >/dev/null
  build/bin/tavrin-tool-screenshot --window memstatus --out docs/memstatus.png \
    --device PIC16F877A --hex tests/mainwindow/data/blink877a.hex --devices data/device6.ini
  echo "wrote docs/memstatus.png"
fi
