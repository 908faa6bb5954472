#!/usr/bin/env bash
# Builds the program and saves pictures rendered offscreen: the main window with the PIC16F877A
# selected and a small program loaded (docs/screenshot.png), and the windows of a first start as
# the run command makes it (the board emulator started by the same wrapper, nothing saved yet):
# the emulated part selected, the board found, the board picture beside the main window
# (docs/first-start.png).
# Usage: scripts/screenshot.sh [output.png]   (the first-start picture goes beside it)
set -euo pipefail
cd "$(dirname "$0")/.."
out="${1:-docs/screenshot.png}"
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j3 --target tavrin-window-screenshot tavrin-first-start-screenshot \
  tavrin-board-emu >/dev/null
mkdir -p "$(dirname "$out")"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
# A fresh user: no settings, logs or lock of the person running this.
export QT_QPA_PLATFORM=offscreen XDG_RUNTIME_DIR="$tmp" XDG_CONFIG_HOME="$tmp/config" \
  XDG_DATA_HOME="$tmp/data" HOME="$tmp/home"
unset TAVRIN_DEFAULT_PORT TAVRIN_DEFAULT_PART TAVRIN_EMU_PART
chmod 0700 "$tmp"
build/bin/tavrin-window-screenshot --out "$out" --device PIC16F877A \
  --hex tests/mainwindow/data/blink877a.hex --devices data/device6.ini
first="$(dirname "$out")/first-start.png"
# A desktop-sized screen, so that there is room beside the main window.
printf '{"screens": [{"name": "desk", "x": 0, "y": 0, "width": 1600, "height": 900}]}\n' >"$tmp/screen.json"
QT_QPA_PLATFORM="offscreen:configfile=$tmp/screen.json" scripts/emulated-board.sh \
  build/bin/tavrin-board-emu build/bin/tavrin-first-start-screenshot --out "$first"
echo "wrote $out and $first"

# The memory-usage picture of the same program (docs/memstatus.png), the serial-number window and
# the socket index, when no output was named.
if [[ $# -eq 0 ]]; then
  cmake --build build -j3 --target tavrin-tool-screenshot >/dev/null
  build/bin/tavrin-tool-screenshot --window memstatus --out docs/memstatus.png \
    --device PIC16F877A --hex tests/mainwindow/data/blink877a.hex --devices data/device6.ini
  echo "wrote docs/memstatus.png"
  # The serial-number window part-way through a run, and the socket index.
  build/bin/tavrin-tool-screenshot --window serial --out docs/serial-number-settings.png
  build/bin/tavrin-tool-screenshot --window index --out docs/index-picture.png
  echo "wrote docs/serial-number-settings.png and docs/index-picture.png"
fi
