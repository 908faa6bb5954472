#!/usr/bin/env bash
# Starts the board emulator on a pseudo-terminal and runs a command with TAVRIN_DEFAULT_PORT
# naming it and TAVRIN_DEFAULT_PART naming the part in its socket, so that a first start of the
# program finds the board and opens on that part; the emulator ends when the command does. Every
# run gets its own link in a private folder, so runs side by side (or of other users when
# XDG_RUNTIME_DIR is unset) never share a board or remove each other's.
# Usage: scripts/emulated-board.sh EMULATOR COMMAND [ARGUMENT...]
#   TAVRIN_EMU_PART: the part in the emulated socket (PIC16F877A by default)
set -euo pipefail
emulator=$1
shift
part=${TAVRIN_EMU_PART:-PIC16F877A}
dir=$(mktemp -d -p "${XDG_RUNTIME_DIR:-${TMPDIR:-/tmp}}" tavrin-board.XXXXXX)
link="$dir/board"
"$emulator" --part "$part" --link "$link" &
emu=$!
trap 'kill "$emu" 2>/dev/null || true; wait "$emu" 2>/dev/null || true; rm -rf "$dir"' EXIT
for _ in $(seq 50); do
  [[ -e "$link" ]] && break
  sleep 0.1
done
if [[ ! -e "$link" ]]; then
  echo "the board emulator did not start" >&2
  exit 1
fi
# The emulator takes the part in any case; the device file lists it in upper case.
export TAVRIN_DEFAULT_PORT="$link" TAVRIN_DEFAULT_PART="${part^^}"
"$@"
