#!/usr/bin/env bash
# Two runs of the emulated-board wrapper side by side, as two `scripts/run.sh` would start them:
# each gets a board of its own, and the second ending leaves the first's board in place. Run
# with XDG_RUNTIME_DIR unset, where every user's runs meet in one temporary folder.
# Usage: emulated_board_test.sh WRAPPER EMULATOR
set -euo pipefail
wrapper=$(realpath "$1")
emulator=$(realpath "$2")
work=$(mktemp -d)
first=
cleanup() {
  touch "$work/stop"
  [[ -z "$first" ]] || wait "$first" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
fail() {
  echo "FAIL: $*" >&2
  exit 1
}
unset XDG_RUNTIME_DIR
export TMPDIR="$work"

# The first run holds its board until told to stop, then says whether the board is still there.
env -C "$work" "$wrapper" "$emulator" bash -c '
  echo "$TAVRIN_DEFAULT_PORT" >first.port
  while [[ ! -e stop ]]; do sleep 0.05; done
  if [[ -e "$TAVRIN_DEFAULT_PORT" ]]; then echo kept >first.result; else echo lost >first.result; fi
' &
first=$!
for _ in $(seq 200); do
  [[ -s "$work/first.port" ]] && break
  sleep 0.05
done
[[ -s "$work/first.port" ]] || fail "the first run did not start its board"
first_port=$(cat "$work/first.port")

env -C "$work" "$wrapper" "$emulator" bash -c 'echo "$TAVRIN_DEFAULT_PORT" >second.port'
second_port=$(cat "$work/second.port")
[[ "$first_port" != "$second_port" ]] || fail "both runs got the board $first_port"
[[ ! -e "$second_port" ]] || fail "the second run left its board $second_port behind"
[[ -e "$first_port" ]] || fail "the second run's end removed the first run's board"
[[ "$(stat -c %a "$(dirname "$first_port")")" == 700 ]] ||
  fail "the board's folder is open to other users"

touch "$work/stop"
wait "$first"
first=
[[ "$(cat "$work/first.result")" == kept ]] || fail "the first run lost its board"
[[ ! -e "$first_port" ]] || fail "the first run left its board $first_port behind"
echo "ok: $first_port and $second_port"
